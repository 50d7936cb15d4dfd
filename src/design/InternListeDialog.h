#pragma once

#include "ListenDialogeLogik.h"

#include <FListeNormal.h>
#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QDate>
#include <QString>

#include <utility>

class QLineEdit;
class QVBoxLayout;
class TframeInternListeWahl;

namespace db {
class Database;
}

// The build of the built-in list dialogs: the dialog's own controls above, the design chooser of
// the built-in lists (component "Designs") below, the data query in the dialog's transaction.
// Before every output the dialog stores its controls and gives the chooser the SQL texts and the
// title suffix; closing stores them too.
class TfrmInternListeDialog : public TZRDialog {
    Q_OBJECT
public:
    TframeInternListeWahl* Designs() const { return designs_; }
    db::DataSet& QDaten() { return daten_; }
    db::Transaction& Transaktion() { return transaktion_; }

    // Stores the controls and builds the texts; throws std::runtime_error for input that makes
    // no list (a missing date).
    void VorAusgabe();
    const QString& DatenSQL() const { return datenSQL_; }
    const QString& SchnellwahlSQL() const { return schnellwahlSQL_; }
    const QString& Titelzusatz() const { return titelzusatz_; }

    void done(int result) override;

protected:
    struct Einrichtung {
        QString listenTyp;
        QString felder;
        QString standardDesigns;
        int betriebsstaette = -1;
        bool betriebsstaetteDrucken = false;
        QList<ListenDialoge::NeuesFeld> bildschirm;
        QList<ListenDialoge::NeuesFeld> druck;
        bool querformat = false;
        FListeNormal::Fensterklasse fensterklasse;
    };

    TfrmInternListeDialog(db::Database& datenbank, QWidget* owner, const QString& transaktion);
    ~TfrmInternListeDialog() override;

    // The layout the dialog puts its controls into, above the chooser.
    QVBoxLayout* Oben() const { return oben_; }
    // Builds the chooser; the derived dialog calls it once its controls are there.
    void DesignsEinrichten(const Einrichtung& e);
    // The chooser's ticked designs, for the dialog's setting.
    QString StandardDesigns() const;

    // A date edit that completes what was typed ("1.6" becomes the date in full).
    QLineEdit* Datumsfeld(const char* name);
    static QString DatumText(const QDate& datum);
    static QDate Datum(const QLineEdit* feld);
    // Reads the dates of the two edits: both must be dates; stored earlier first.
    static std::pair<QDate, QDate> Zeitraum(const QLineEdit* von, const QLineEdit* bis);

    virtual void EinstellungenSpeichern() = 0;
    // From the stored settings: the data SQL, the quick list and the title suffix.
    virtual void TexteErstellen(QString& daten, QString& schnellwahl, QString& titel) = 0;

private:
    db::Transaction transaktion_;
    db::DataSet daten_;
    QVBoxLayout* oben_;
    TframeInternListeWahl* designs_ = nullptr;
    QString datenSQL_;
    QString schnellwahlSQL_;
    QString titelzusatz_;
};
