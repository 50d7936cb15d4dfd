#pragma once

#include "ListenExportDialog.h"
#include "ListenExportFormate.h"

#include <DataSet.h>
#include <Query.h>
#include <Transaction.h>

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

class QWidget;

namespace db {
class Database;
}

namespace ListenExport {

Typ TypVon(db::FieldType typ);

// Every record of the open dataset (the rest is read first), one column per field that is no
// computed column of the list grid (ListenSpalten::IstBerechneteSpalte), in field order, with
// the given titles; the dataset keeps its current record.
Tabelle AusDatenmenge(db::DataSet& daten, const QStringList& titel, const QString& kopf,
                      const QDateTime& erstellt);

// Opens a file in the program the desktop names for its kind ("Nur Ansicht"); false when none
// could be started. Tests replace it.
inline std::function<bool(const QString& datei)> DateiZeigen;
// Asks for the target file ("Speichere Datei"); empty when the user cancels. Tests replace it.
inline std::function<QString(QWidget* owner, const QString& filter, const QString& endung,
                             const QString& vorschlag)>
    DateiWaehlen;

}  // namespace ListenExport

// One export of a list's rows: the data (the caller's or the design's stored SQL), the column
// titles of the design's screen layout, the heading, the user's format and target.
class TdmListenExport {
public:
    explicit TdmListenExport(db::Database& datenbank, QWidget* owner = nullptr);
    TdmListenExport(const TdmListenExport&) = delete;
    TdmListenExport& operator=(const TdmListenExport&) = delete;

    // Daten: the rows to export, or null for the design's SQL with the premises filled in.
    // Felder: (FELD, TITEL) pairs for the titles, or null for the design's screen layout.
    // Kopf: the heading, or empty for the design's title. Failures pass to the caller; the
    // export's transaction rolls back then.
    void ListeExportieren(int listeId, db::DataSet* daten,
                          const QList<QPair<QString, QString>>* felder, int betriebsstaette,
                          const QString& kopf);

    QString ExportListeGetHeader() const;
    // Asks before an existing file is replaced; true to replace it.
    bool ExportListeFileExist(const QString& datei) const;

    // The export of a prepared table as the user chose; the dialog's part without the database.
    void Ausfuehren(const ListenExport::Auswahl& auswahl, ListenExport::Tabelle& tabelle);

private:
    void DateiSchreiben(const QString& datei, const QByteArray& inhalt) const;
    // The file name the save dialog starts with: the heading without the characters file
    // systems refuse.
    QString Vorschlag(const ListenExport::Auswahl& auswahl) const;

    QWidget* owner_;
    db::Transaction TAExport;
    db::DataSet QDaten;
    QString kopf_;
    QString listenTitel_;
};

namespace ListenExport {

// A design's stored rows under its screen titles; the heading is Kopf or the design's title.
void ListeExportieren(int listeId, int betriebsstaette, const QString& kopf,
                      QWidget* owner = nullptr);
// The caller's rows under the design's screen titles.
void ListeExportierenMitDaten(int listeId, int betriebsstaette, db::DataSet& daten,
                              const QString& kopf, QWidget* owner = nullptr);

}  // namespace ListenExport
