#include "WizardData.h"

#include "DatenbankName.h"

#include <DBConnect.h>
#include <DBTools.h>
#include <FGrundeinstellungenDaten.h>
#include <Grundeinstellungen.h>

#include <Field.h>

#include <QFileInfo>

#include <stdexcept>

namespace Einrichtung {

namespace {

QString mitTrenner(const QString& ordner)
{
    return ordner.endsWith(QLatin1Char('/')) ? ordner : ordner + QLatin1Char('/');
}

const QString Sektion = QStringLiteral("Datenbank");
const QString Schluessel = QStringLiteral("Name");

}  // namespace

TWizardData::TWizardData(const QString& programmverzeichnis)
    : programmverzeichnis_(programmverzeichnis.isEmpty() ? QString()
                                                         : mitTrenner(programmverzeichnis)),
      taDBFehler_(datenbank_, QStringLiteral("TADBFehler"),
                  {db::TransactionOptions::ReadCommitted, true}),
      qDBFehler_(taDBFehler_)
{
    qDBFehler_.SetSelectSQL(QStringLiteral("select * from T_DB_FEHLER"));
}

TWizardData::~TWizardData()
{
    try {
        Trennen();
    } catch (const std::exception&) {
        // The connection is gone either way; nothing was committed.
    }
}

void TWizardData::SetProgrammverzeichnis(const QString& ordner)
{
    programmverzeichnis_ = mitTrenner(ordner);
    // The rule of all programs of the suite; the settings object makes the folder.
    if (!einstellungen_)
        einstellungen_ = std::make_unique<TEinstellungen>(nullptr, QString());
    datenverzeichnis_ = einstellungen_->Datenverzeichnis();
}

QString TWizardData::IniDateipfad() const
{
    if (!einstellungen_)
        throw std::logic_error("Das Datenverzeichnis ist noch nicht bestimmt.");
    return einstellungen_->IniDateipfad();
}

void TWizardData::SetDatenbankRechner(const QString& rechner)
{
    if (rechner != rechner_)
        geaendert_ = true;
    rechner_ = rechner;
}

void TWizardData::SetDatenbankDatei(const QString& datei)
{
    if (datei != datei_)
        geaendert_ = true;
    datei_ = datei;
}

QString TWizardData::DatenbankName() const
{
    return DatenbankNameBilden(rechner_, datei_);
}

void TWizardData::DatenbankEinstellungLaden()
{
    const QString standard = einstellungen_ ? einstellungen_->StandardDatenbankName() : QString();
    if (einstellungen_ && QFileInfo::exists(IniDateipfad()) && !geaendert_) {
        const QString wert =
            einstellungen_->IniDatei().Lesen(Sektion, Schluessel).value_or(standard);
        DatenbankOrt ort = DatenbankNameLesen(wert);
        if (ort.rechner.isEmpty() && ort.datei.isEmpty())
            ort.datei = standard;
        SetDatenbankRechner(ort.rechner);
        SetDatenbankDatei(ort.datei);
    } else if (!geladen_) {
        rechner_.clear();
        datei_ = standard;
    }
    geladen_ = true;
}

void TWizardData::Trennen()
{
    if (DBTools::Fehlertabelle() == &qDBFehler_)
        DBTools::FehlertabelleSetzen(nullptr);
    qDBFehler_.Close();
    daten_.reset();
    if (taDBFehler_.Active())
        taDBFehler_.Rollback();
    datenbank_.Close();
    stammdatenGeaendert_ = false;
}

void TWizardData::Verbinden()
{
    if (!einstellungen_)
        throw std::logic_error("Das Datenverzeichnis ist noch nicht bestimmt.");
    const QString name = DatenbankName();
    if (!datenbank_.Connected() || datenbank_.Params().Name != name) {
        Trennen();
        datenbank_.Open({name, DBConnect::Benutzer, DBConnect::Passwort, {}});
    }
    if (!daten_)
        daten_ = std::make_unique<TGrundeinstellungenDaten>(*einstellungen_, datenbank_);
    if (!daten_->Transaktion().Active())
        daten_->Transaktion().Start();
    if (!taDBFehler_.Active())
        taDBFehler_.Start();
    if (!qDBFehler_.Active())
        qDBFehler_.Open();
    DBTools::FehlertabelleSetzen(&qDBFehler_);
}

bool TWizardData::WechselVerwirftAenderungen(const QString& rechner, const QString& datei) const
{
    return stammdatenGeaendert_ && datenbank_.Connected() &&
           datenbank_.Params().Name != DatenbankNameBilden(rechner, datei);
}

void TWizardData::Speichern()
{
    if (!einstellungen_)
        throw std::logic_error("Das Datenverzeichnis ist noch nicht bestimmt.");
    // The farm data first: an INI file naming a database without them would let the main program
    // start on a farm without breeds, holdings or premises.
    if (daten_ && daten_->Transaktion().Active()) {
        daten_->Commit();
        daten_->Transaktion().Start();
    }
    einstellungen_->IniDatei().Schreiben(Sektion, Schluessel, DatenbankName());
    geaendert_ = false;
    stammdatenGeaendert_ = false;
}

void TWizardData::Geaendert()
{
    geaendert_ = true;
    stammdatenGeaendert_ = true;
}

TGrundeinstellungenDaten& TWizardData::Daten()
{
    if (!daten_)
        throw std::logic_error("Die Datenbank ist nicht verbunden.");
    return *daten_;
}

db::Transaction& TWizardData::Transaktion()
{
    return Daten().Transaktion();
}

db::DataSet& TWizardData::Rassen()
{
    return Daten().Rassen();
}

db::DataSet& TWizardData::Betriebsgruppen()
{
    return Daten().Gruppen();
}

db::DataSet& TWizardData::Betriebsstaetten()
{
    return Daten().Staetten();
}

int TWizardData::AktuelleID(db::DataSet& daten)
{
    if (!daten.Active() || daten.IsEmpty())
        return 0;
    return daten.FieldByName(QStringLiteral("ID")).AsInteger();
}

void TWizardData::RassenAktualisieren(int id)
{
    TGrundeinstellungenDaten::Neu(Rassen(), id == -1 ? AktuelleID(Rassen()) : id);
}

void TWizardData::BetriebsgruppenAktualisieren()
{
    TGrundeinstellungenDaten::Neu(Betriebsgruppen(), AktuelleID(Betriebsgruppen()));
}

void TWizardData::BetriebsstaettenAktualisieren()
{
    TGrundeinstellungenDaten::Neu(Betriebsstaetten(), AktuelleID(Betriebsstaetten()));
}

bool TWizardData::RasseEntfernen()
{
    return Daten().RasseNichtVerwenden();
}

bool TWizardData::HatRassen()
{
    return Rassen().Active() && !Rassen().IsEmpty();
}

bool TWizardData::HatBetriebsgruppen()
{
    return Betriebsgruppen().Active() && !Betriebsgruppen().IsEmpty();
}

bool TWizardData::HatBetriebsstaetten()
{
    return Betriebsstaetten().Active() && !Betriebsstaetten().IsEmpty();
}

}  // namespace Einrichtung
