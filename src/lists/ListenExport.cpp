#include "ListenExport.h"

#include "ListenSpalten.h"
#include "ListenTools.h"

#include <Datenmodul.h>
#include <Sanduhr.h>

#include <Database.h>
#include <Meldung.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <stdexcept>

namespace ListenExport {

Typ TypVon(db::FieldType typ)
{
    switch (typ) {
        case db::FieldType::SmallInt:
        case db::FieldType::Integer:
        case db::FieldType::BigInt:
            return Typ::Ganzzahl;
        case db::FieldType::Numeric:
        case db::FieldType::Float:
        case db::FieldType::Double:
            return Typ::Zahl;
        case db::FieldType::Date:
            return Typ::Datum;
        case db::FieldType::Time:
            return Typ::Zeit;
        case db::FieldType::Timestamp:
            return Typ::DatumZeit;
        case db::FieldType::Boolean:
            return Typ::Wahrheitswert;
        default:
            return Typ::Text;
    }
}

Tabelle AusDatenmenge(db::DataSet& daten, const QStringList& titel, const QString& kopf,
                      const QDateTime& erstellt)
{
    Tabelle t;
    t.kopf = kopf;
    t.erstellt = erstellt;
    // The grid's computed columns hold nothing of the list; fields the data calculates do.
    std::vector<int> felder;
    for (int f = 0; f < daten.FieldCount(); ++f)
        if (!ListenSpalten::IstBerechneteSpalte(daten.Fields(f).FieldName()))
            felder.push_back(f);
    std::vector<bool> fest;
    for (std::size_t i = 0; i < felder.size(); ++i) {
        db::Field& feld = daten.Fields(felder[i]);
        Spalte s;
        s.titel = titel.value(int(i), feld.FieldName());
        s.typ = TypVon(feld.DataType());
        if (s.typ == Typ::Ganzzahl || s.typ == Typ::Zahl)
            s.displayFormat = feld.DisplayFormat;
        fest.push_back(feld.DataType() == db::FieldType::Char);
        t.spalten.push_back(s);
    }
    const int zeilen = daten.RecordCount();
    QProgressDialog fortschritt(QStringLiteral("Exportiere..."), QString(), 0, zeilen,
                                QApplication::activeWindow());
    fortschritt.setWindowTitle(QStringLiteral("Exportiere Liste"));
    fortschritt.setWindowModality(Qt::ApplicationModal);
    fortschritt.setMinimumDuration(500);
    t.werte.reserve(std::size_t(zeilen) * felder.size());
    for (int z = 0; z < zeilen; ++z) {
        if (z % 512 == 0)
            fortschritt.setValue(z);
        for (std::size_t i = 0; i < felder.size(); ++i) {
            QVariant wert = daten.ValueAt(z, felder[i]).AsVariant();
            // CHAR columns come padded.
            if (fest[i] && wert.typeId() == QMetaType::QString) {
                QString text = wert.toString();
                while (text.endsWith(u' '))
                    text.chop(1);
                wert = text;
            }
            t.werte.push_back(std::move(wert));
        }
    }
    fortschritt.setValue(zeilen);
    return t;
}

}  // namespace ListenExport

namespace {

bool DesktopZeigen(const QString& datei)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(datei));
}

QString SpeicherDialog(QWidget* owner, const QString& filter, const QString& endung,
                       const QString& vorschlag)
{
    QFileDialog dialog(owner, QStringLiteral("Speichere Datei"), QDir::homePath(), filter);
    dialog.setObjectName(QStringLiteral("SpeichereDatei"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The export asks its own question before replacing a file.
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(endung);
    dialog.selectFile(vorschlag);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

TdmListenExport::TdmListenExport(db::Database& datenbank, QWidget* owner)
    : owner_(owner ? owner : QApplication::activeWindow()),
      TAExport(datenbank, QStringLiteral("TAExport")),
      QDaten(TAExport)
{
}

void TdmListenExport::ListeExportieren(int listeId, db::DataSet* daten,
                                       const QList<QPair<QString, QString>>* felder,
                                       int betriebsstaette, const QString& kopf)
{
    kopf_ = kopf;
    TAExport.Start();
    QList<QPair<QString, QString>> layout;
    if (felder) {
        layout = *felder;
    } else {
        db::Query q(TAExport, QStringLiteral("SELECT FELD, TITEL\n"
                                             "FROM P_GET_LISTE_BILDSCHIRM_FELDER(:LISTE)"));
        q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
        for (q.Open(); !q.Eof(); q.Next())
            layout.append({q.Field(QStringLiteral("FELD")).AsString().trimmed(),
                           q.Field(QStringLiteral("TITEL")).AsString()});
    }
    db::Query liste(TAExport, QStringLiteral("SELECT TITEL, SQL FROM T_LISTEN WHERE ID = :LISTE"));
    liste.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    liste.Open();
    listenTitel_ = liste.Eof() ? QString() : liste.Field(QStringLiteral("TITEL")).AsString();
    if (!daten) {
        if (liste.Eof())
            throw std::runtime_error(
                QStringLiteral("Die Liste %1 ist nicht gespeichert.").arg(listeId).toStdString());
        QDaten.SetSelectSQL(ListenTools::BetriebsstaetteEinsetzen(
            liste.Field(QStringLiteral("SQL")).AsString(), betriebsstaette));
        daten = &QDaten;
    }
    if (!daten->Active())
        daten->Open();
    QStringList namen;
    for (int f = 0; f < daten->FieldCount(); ++f)
        if (!ListenSpalten::IstBerechneteSpalte(daten->Fields(f).FieldName()))
            namen << daten->Fields(f).FieldName();
    const QStringList titel = ListenExport::Spaltentitel(namen, layout);

    if (const std::optional<ListenExport::Auswahl> auswahl = TfrmListenExport::Waehlen(owner_)) {
        ListenExport::Tabelle tabelle = [&] {
            Sanduhr sanduhr;
            return ListenExport::AusDatenmenge(*daten, titel, ExportListeGetHeader(),
                                               QDateTime::currentDateTime());
        }();
        Ausfuehren(*auswahl, tabelle);
    }
    QDaten.Close();
    TAExport.Commit();
}

QString TdmListenExport::ExportListeGetHeader() const
{
    return kopf_.isEmpty() ? listenTitel_ : kopf_;
}

bool TdmListenExport::ExportListeFileExist(const QString& datei) const
{
    return Tools::MeldungConfirm(
               QStringLiteral("Die Datei %1 existiert bereits.\rSoll diese Datei überschrieben "
                              "werden?")
                   .arg(datei)) == Tools::mrYes;
}

QString TdmListenExport::Vorschlag(const ListenExport::Auswahl& auswahl) const
{
    QString name = ExportListeGetHeader();
    static const QString verboten = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (verboten.contains(c) || c.unicode() < 0x20)
            c = u'_';
    name = name.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Liste");
    return name + QLatin1Char('.') + ListenExport::Dateiendung(auswahl.format);
}

void TdmListenExport::DateiSchreiben(const QString& datei, const QByteArray& inhalt) const
{
    // The old file stays whole until the new one is complete.
    QSaveFile f(datei);
    if (!f.open(QIODevice::WriteOnly) || f.write(inhalt) != inhalt.size() || !f.commit())
        throw std::runtime_error(QStringLiteral("Die Datei %1 konnte nicht geschrieben werden:\r%2")
                                     .arg(QDir::toNativeSeparators(datei), f.errorString())
                                     .toStdString());
}

void TdmListenExport::Ausfuehren(const ListenExport::Auswahl& auswahl,
                                 ListenExport::Tabelle& tabelle)
{
    using ListenExport::Format;
    if (auswahl.format == Format::Zwischenablage) {
        const QByteArray text = ListenExport::Schreiben(auswahl.format, tabelle);
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        Tools::MeldungInfo(QStringLiteral("Daten wurden in die Zwischenablage kopiert"));
        return;
    }
    if (auswahl.ziel == ListenExport::Ziel::Ansicht) {
        const QString ordner = QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
                               QStringLiteral("/bovantis-ansicht-") +
                               QString::number(QCoreApplication::applicationPid());
        if (!QDir().mkpath(ordner))
            throw std::runtime_error(QStringLiteral("Der Ordner %1 konnte nicht angelegt werden.")
                                         .arg(ordner)
                                         .toStdString());
        const QString datei = QDir(ordner).filePath(Vorschlag(auswahl));
        DateiSchreiben(datei, ListenExport::Schreiben(auswahl.format, tabelle));
        const std::function<bool(const QString&)> zeigen =
            ListenExport::DateiZeigen ? ListenExport::DateiZeigen : DesktopZeigen;
        if (!zeigen(datei))
            throw std::runtime_error(
                QStringLiteral("Für die Datei %1 ist kein Programm zum Anzeigen eingerichtet.")
                    .arg(QDir::toNativeSeparators(datei))
                    .toStdString());
        return;
    }
    const auto waehlen = ListenExport::DateiWaehlen ? ListenExport::DateiWaehlen : SpeicherDialog;
    const QString datei = waehlen(owner_, ListenExport::Dateifilter(auswahl.format),
                                  ListenExport::Dateiendung(auswahl.format), Vorschlag(auswahl));
    if (datei.isEmpty())
        return;
    if (QFileInfo::exists(datei) && !ExportListeFileExist(datei))
        return;
    Sanduhr sanduhr;
    DateiSchreiben(datei, ListenExport::Schreiben(auswahl.format, tabelle));
}

namespace ListenExport {

namespace {

db::Database& Datenbank()
{
    if (!DM())
        throw std::runtime_error("Die Liste kann ohne Datenbank nicht exportiert werden.");
    return DM()->Datenbank;
}

}  // namespace

void ListeExportieren(int listeId, int betriebsstaette, const QString& kopf, QWidget* owner)
{
    TdmListenExport modul(Datenbank(), owner);
    modul.ListeExportieren(listeId, nullptr, nullptr, betriebsstaette, kopf);
}

void ListeExportierenMitDaten(int listeId, int betriebsstaette, db::DataSet& daten,
                              const QString& kopf, QWidget* owner)
{
    TdmListenExport modul(Datenbank(), owner);
    modul.ListeExportieren(listeId, &daten, nullptr, betriebsstaette, kopf);
}

}  // namespace ListenExport
