#include "Grundeinstellungen.h"

#include "ProgDatum.h"
#include "Waehrung.h"

#include <Autostart.h>
#include <BesamungConst.h>
#include <Database.h>
#include <Query.h>
#include <SystemInfo.h>
#include <TerminalServer.h>
#include <Transaction.h>
#include <XdgPaths.h>
#include <ZRDebug.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

const QString AutostartName = QStringLiteral("ZR Bovantis");
const QStringList Zeitraeume = {QStringLiteral("ALLE"), QStringLiteral("10"), QStringLiteral("5"),
                                QStringLiteral("3"),    QStringLiteral("2"),  QStringLiteral("1")};

QString mitTrenner(const QString& ordner)
{
    return ordner.endsWith(QLatin1Char('/')) ? ordner : ordner + QLatin1Char('/');
}

std::unique_ptr<TEinstellungen> programmEinstellungen;

}  // namespace

TEinstellungen* Einstellungen()
{
    return programmEinstellungen.get();
}

void EinstellungenErzeugen(db::Database* datenbank, const QString& datenverzeichnis)
{
    programmEinstellungen.reset();
    programmEinstellungen = std::make_unique<TEinstellungen>(datenbank, datenverzeichnis);
}

void EinstellungenFreigeben()
{
    programmEinstellungen.reset();
}

TEinstellungen::Umgebung TEinstellungen::StandardUmgebung()
{
    Umgebung u;
    u.exeName = QCoreApplication::applicationFilePath();
    u.terminalServer = platform::isTerminalServer();
    u.benutzerName = platform::currentUserName();
    u.heute = [] { return ProgDatum::Heute(); };
    return u;
}

TEinstellungen::TEinstellungen(db::Database* datenbank, const QString& datenverzeichnis,
                               Umgebung umgebung)
    : umgebung_(std::move(umgebung)), datenbank_(datenbank)
{
    programmverzeichnis_ = mitTrenner(QFileInfo(umgebung_.exeName).absolutePath());
    QString ordner;
    if (datenverzeichnis.isEmpty())
        ordner = platform::dataFolder();
    else if (QFileInfo(platform::dataFolderPath()).isDir())
        ordner = platform::dataFolderPath();
    else
        ordner = datenverzeichnis;
    datenverzeichnis_ = mitTrenner(QDir::cleanPath(QFileInfo(ordner).absoluteFilePath()));
    if (!QDir().mkpath(datenverzeichnis_))
        throw std::runtime_error(
            QStringLiteral("Das Datenverzeichnis %1 kann nicht angelegt werden.")
                .arg(QDir::toNativeSeparators(datenverzeichnis_))
                .toStdString());
    iniDatei_ = std::make_unique<TIniDatei>(IniDateipfad());
    // Reads the file: one that cannot be read stops here, before any default is written over it.
    ersterStart_ = !iniDatei_->WertExistiert(QStringLiteral("Datenbank"), QStringLiteral("Name"));
}

TEinstellungen::~TEinstellungen() = default;

QDate TEinstellungen::Heute() const
{
    return umgebung_.heute();
}

QString TEinstellungen::IniDateiname() const
{
    if (!umgebung_.terminalServer)
        return QStringLiteral("Bovantis.ini");
    return QStringLiteral("Bovantis-%1.ini").arg(umgebung_.benutzerName.toLower());
}

QString TEinstellungen::IniDateipfad() const
{
    return datenverzeichnis_ + IniDateiname();
}

QString TEinstellungen::DatenbankDateiname() const
{
    if (!umgebung_.terminalServer)
        return QStringLiteral("Bovantis.fdb");
    return QStringLiteral("Bovantis-%1.fdb").arg(umgebung_.benutzerName.toLower());
}

QString TEinstellungen::StandardDatenbankName() const
{
    return datenverzeichnis_ + DatenbankDateiname();
}

void TEinstellungen::IniSpeichern()
{
    iniDatei_->Speichern();
}

// ---- INI ----

namespace {

// A default that cannot be written back is still returned: reading never fails.
void vorgabeSchreiben(TIniDatei& ini, const QString& sektion, const QString& schluessel,
                      const QString& wert)
{
    try {
        ini.Schreiben(sektion, schluessel, wert);
    } catch (const std::exception& e) {
        ZRDebug::DebugMsg(QString::fromUtf8(e.what()));
    }
}

// The defaults of several settings read together, written in one go when the reading ends
// (dropped when it ends by an exception).
class Vorgaben {
public:
    explicit Vorgaben(TIniDatei& ini) : stapel_(ini) {}
    ~Vorgaben()
    {
        if (std::uncaught_exceptions() > ausnahmen_)
            return;
        try {
            stapel_.Abschliessen();
        } catch (const std::exception& e) {
            ZRDebug::DebugMsg(QString::fromUtf8(e.what()));
        }
    }
    Vorgaben(const Vorgaben&) = delete;
    Vorgaben& operator=(const Vorgaben&) = delete;

private:
    TIniDatei::Stapel stapel_;
    int ausnahmen_ = std::uncaught_exceptions();
};

}  // namespace

QString TEinstellungen::IniLesenString(const QString& sektion, const QString& schluessel,
                                       const QString& vorgabe) const
{
    if (const auto wert = iniDatei_->Lesen(sektion, schluessel))
        return *wert;
    vorgabeSchreiben(*iniDatei_, sektion, schluessel, vorgabe);
    return vorgabe;
}

bool TEinstellungen::IniLesenBool(const QString& sektion, const QString& schluessel,
                                  bool vorgabe) const
{
    if (const auto text = iniDatei_->Lesen(sektion, schluessel))
        if (const auto wert = TIniDatei::AlsBool(*text))
            return *wert;
    vorgabeSchreiben(*iniDatei_, sektion, schluessel, TIniDatei::BoolText(vorgabe));
    return vorgabe;
}

int TEinstellungen::IniLesenInteger(const QString& sektion, const QString& schluessel,
                                    int vorgabe) const
{
    if (const auto text = iniDatei_->Lesen(sektion, schluessel))
        if (const auto wert = TIniDatei::AlsInteger(*text))
            return *wert;
    vorgabeSchreiben(*iniDatei_, sektion, schluessel, QString::number(vorgabe));
    return vorgabe;
}

QDate TEinstellungen::IniLesenDatum(const QString& sektion, const QString& schluessel,
                                    const QDate& vorgabe) const
{
    if (const auto text = iniDatei_->Lesen(sektion, schluessel)) {
        if (text->isEmpty())
            return vorgabe;
        if (const auto wert = TIniDatei::AlsDatum(*text))
            return *wert;
    }
    vorgabeSchreiben(*iniDatei_, sektion, schluessel, TIniDatei::DatumText(vorgabe));
    return vorgabe;
}

QDateTime TEinstellungen::IniLesenDatumZeit(const QString& sektion, const QString& schluessel,
                                            const QDateTime& vorgabe) const
{
    if (const auto text = iniDatei_->Lesen(sektion, schluessel)) {
        if (text->isEmpty())
            return vorgabe;
        if (const auto wert = TIniDatei::AlsDatumZeit(*text))
            return *wert;
    }
    vorgabeSchreiben(*iniDatei_, sektion, schluessel, TIniDatei::DatumZeitText(vorgabe));
    return vorgabe;
}

void TEinstellungen::IniSchreibenString(const QString& sektion, const QString& schluessel,
                                        const QString& wert)
{
    iniDatei_->Schreiben(sektion, schluessel, wert);
}

void TEinstellungen::IniSchreibenBool(const QString& sektion, const QString& schluessel, bool wert)
{
    iniDatei_->Schreiben(sektion, schluessel, TIniDatei::BoolText(wert));
}

void TEinstellungen::IniSchreibenInteger(const QString& sektion, const QString& schluessel,
                                         int wert)
{
    iniDatei_->Schreiben(sektion, schluessel, QString::number(wert));
}

void TEinstellungen::IniSchreibenDatum(const QString& sektion, const QString& schluessel,
                                       const QDate& wert)
{
    iniDatei_->Schreiben(sektion, schluessel, TIniDatei::DatumText(wert));
}

void TEinstellungen::IniSchreibenDatumZeit(const QString& sektion, const QString& schluessel,
                                           const QDateTime& wert)
{
    iniDatei_->Schreiben(sektion, schluessel, TIniDatei::DatumZeitText(wert));
}

// ---- T_EINSTELLUNGEN cache ----

QString TEinstellungen::WertLesenString(const QString& name, const QString& vorgabe) const
{
    const auto it = werte_.constFind(name);
    return it == werte_.constEnd() ? vorgabe : *it;
}

bool TEinstellungen::WertLesenBool(const QString& name, bool vorgabe) const
{
    const auto it = werte_.constFind(name);
    if (it == werte_.constEnd() || it->isEmpty())
        return vorgabe;
    return *it == QLatin1String("T");
}

int TEinstellungen::WertLesenInteger(const QString& name, int vorgabe) const
{
    const auto it = werte_.constFind(name);
    if (it == werte_.constEnd())
        return vorgabe;
    bool ok = false;
    const int wert = it->trimmed().toInt(&ok);
    return ok ? wert : vorgabe;
}

double TEinstellungen::WertLesenFloat(const QString& name, double vorgabe) const
{
    const auto it = werte_.constFind(name);
    if (it == werte_.constEnd())
        return vorgabe;
    // Older workstations wrote the decimal comma of their locale.
    QString text = it->trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double wert = QLocale::c().toDouble(text, &ok);
    return ok ? wert : vorgabe;
}

void TEinstellungen::WertSetzenBool(const QString& name, bool wert)
{
    WertSetzen(name, wert ? QStringLiteral("T") : QStringLiteral("F"), false);
}

void TEinstellungen::WertSetzenInteger(const QString& name, int wert)
{
    WertSetzen(name, QString::number(wert), false);
}

void TEinstellungen::WertSetzenFloat(const QString& name, double wert)
{
    WertSetzen(name, QLocale::c().toString(wert, 'g', QLocale::FloatingPointShortest), false);
}

// ---- plain accessors of the inventory ----

#define BOVANTIS_INI_DEFINITION(Art, Name, Sektion, Schluessel, Vorgabe)                    \
    EinstellungsArt::Art TEinstellungen::Get##Name() const                                  \
    {                                                                                       \
        return IniLesen##Art(QStringLiteral(Sektion), QStringLiteral(Schluessel), Vorgabe); \
    }                                                                                       \
    void TEinstellungen::Set##Name(const EinstellungsArt::Art& wert)                        \
    {                                                                                       \
        IniSchreiben##Art(QStringLiteral(Sektion), QStringLiteral(Schluessel), wert);       \
    }
BOVANTIS_INI_EINSTELLUNGEN(BOVANTIS_INI_DEFINITION)
#undef BOVANTIS_INI_DEFINITION

#define BOVANTIS_DB_DEFINITION(Art, Name, Schluessel, Vorgabe)       \
    EinstellungsArt::Art TEinstellungen::Get##Name() const           \
    {                                                                \
        return WertLesen##Art(QStringLiteral(Schluessel), Vorgabe);  \
    }                                                                \
    void TEinstellungen::Set##Name(const EinstellungsArt::Art& wert) \
    {                                                                \
        WertSetzen##Art(QStringLiteral(Schluessel), wert);           \
    }
BOVANTIS_DB_EINSTELLUNGEN(BOVANTIS_DB_DEFINITION)
#undef BOVANTIS_DB_DEFINITION

// ---- INI settings with rules of their own ----

int TEinstellungen::GetAktBetriebListen() const
{
    return IniLesenInteger(QStringLiteral("Zustand"), QStringLiteral("AktBetriebListen"), 0);
}

void TEinstellungen::SetAktBetriebListen(int wert)
{
    IniSchreibenInteger(QStringLiteral("Zustand"), QStringLiteral("AktBetriebListen"), wert);
    if (OnAktBetriebListenChange)
        OnAktBetriebListenChange(*this);
}

int TEinstellungen::GetListenmuster() const
{
    return std::clamp(IniLesenInteger(QStringLiteral("Farbe"), QStringLiteral("Listenmuster"), 6),
                      0, 14);
}

void TEinstellungen::SetListenmuster(int wert)
{
    IniSchreibenInteger(QStringLiteral("Farbe"), QStringLiteral("Listenmuster"), wert);
}

QString TEinstellungen::GetSicherungVerzeichnis() const
{
    return IniLesenString(QStringLiteral("Sicherung"), QStringLiteral("Verzeichnis"),
                          mitTrenner(QDir::homePath()));
}

void TEinstellungen::SetSicherungVerzeichnis(const QString& wert)
{
    IniSchreibenString(QStringLiteral("Sicherung"), QStringLiteral("Verzeichnis"), wert.trimmed());
}

QString TEinstellungen::GetDatenbankAdminPasswort() const
{
    return IniLesenString(QStringLiteral("Datenbank"), QStringLiteral("AdminPasswort"),
                          QStringLiteral("kuhglocke"));
}

QString TEinstellungen::GetDatenbankName() const
{
    return IniLesenString(QStringLiteral("Datenbank"), QStringLiteral("Name"),
                          StandardDatenbankName());
}

void TEinstellungen::SetDatenbankName(const QString& wert)
{
    IniSchreibenString(QStringLiteral("Datenbank"), QStringLiteral("Name"), wert);
}

QString TEinstellungen::GetAutoSicherungVerzeichnis() const
{
    return IniLesenString(QStringLiteral("AutoSicherung"), QStringLiteral("Verzeichnis"),
                          datenverzeichnis_ + QStringLiteral("sicherung"));
}

void TEinstellungen::SetAutoSicherungVerzeichnis(const QString& wert)
{
    IniSchreibenString(QStringLiteral("AutoSicherung"), QStringLiteral("Verzeichnis"), wert);
}

QDate TEinstellungen::GetBestandslisteParameterAm() const
{
    return IniLesenDatum(QStringLiteral("BestandslisteParameter"), QStringLiteral("Am"), Heute());
}

void TEinstellungen::SetBestandslisteParameterAm(const QDate& wert)
{
    IniSchreibenDatum(QStringLiteral("BestandslisteParameter"), QStringLiteral("Am"), wert);
}

int TEinstellungen::GetUpdateIntervall() const
{
    const int wert =
        IniLesenInteger(QStringLiteral("Update"), QStringLiteral("UpdateIntervall"), 1);
    return wert == 0 || wert == 2 ? wert : 1;
}

void TEinstellungen::SetUpdateIntervall(int wert)
{
    IniSchreibenInteger(QStringLiteral("Update"), QStringLiteral("UpdateIntervall"), wert);
}

// ---- farm-wide settings with rules of their own ----

int TEinstellungen::GetKNRLaenge() const
{
    const int wert = WertLesenInteger(QStringLiteral("KNRLaenge"), 0);
    return wert == 3 || wert == 6 ? wert : 3;
}

void TEinstellungen::SetKNRLaenge(int wert)
{
    WertSetzenInteger(QStringLiteral("KNRLaenge"), wert);
}

int TEinstellungen::GetStandardwaehrung() const
{
    return Waehrung::WaehrungIndex(WertLesenString(QStringLiteral("Standardwährung"), QString()));
}

void TEinstellungen::SetStandardwaehrung(int index)
{
    if (index < 0 || index >= Waehrung::Waehrungen().size())
        throw std::invalid_argument("Standardwährung: unbekannter Index");
    WertSetzen(QStringLiteral("Standardwährung"), Waehrung::Waehrungen()[index], false);
}

int TEinstellungen::GetZeitraumBerechnungen() const
{
    return std::max<int>(
        0, Zeitraeume.indexOf(WertLesenString(QStringLiteral("Zeitraum-Berechnungen"), QString())));
}

void TEinstellungen::SetZeitraumBerechnungen(int index)
{
    if (index < 0 || index >= Zeitraeume.size())
        throw std::invalid_argument("Zeitraum-Berechnungen: unbekannter Index");
    WertSetzen(QStringLiteral("Zeitraum-Berechnungen"), Zeitraeume[index], false);
}

bool TEinstellungen::GetMeldungAuto() const
{
    // Databases of older versions may hold the switch under the key their settings dialog wrote.
    if (!werte_.contains(QStringLiteral("MeldungAuto")))
        return WertLesenBool(QStringLiteral("HIT-Meldung-automatisch"), true);
    return WertLesenBool(QStringLiteral("MeldungAuto"), true);
}

void TEinstellungen::SetMeldungAuto(bool wert)
{
    WertSetzenBool(QStringLiteral("MeldungAuto"), wert);
}

QString TEinstellungen::GetEigenbesamungStationen() const
{
    return WertLesenString(QStringLiteral("Eigenbesamung-Stationen"), QString());
}

void TEinstellungen::SetEigenbesamungStationen(const QString& wert)
{
    QString liste = wert.trimmed();
    while (liste.startsWith(QLatin1Char(';')))
        liste.remove(0, 1);
    while (liste.endsWith(QLatin1Char(';')))
        liste.chop(1);
    WertSetzen(QStringLiteral("Eigenbesamung-Stationen"), liste, true);
}

QString TEinstellungen::EigenbesamungSchluessel(int station, const QString& name)
{
    return QStringLiteral("Eigenbesamung-") + StationsCode(station) + QLatin1Char('-') + name;
}

QString TEinstellungen::StationsCode(int station)
{
    if (station < 0 || station >= BesamungConst::AnzahlStationen)
        throw std::out_of_range("Besamungsstation: unbekannter Index");
    return BesamungConst::Stationen()[station].Code;
}

QString TEinstellungen::GetEigenbesamungString(int station, const QString& name) const
{
    return WertLesenString(EigenbesamungSchluessel(station, name), QString());
}

void TEinstellungen::SetEigenbesamungString(int station, const QString& name, const QString& wert)
{
    WertSetzen(EigenbesamungSchluessel(station, name), wert, true);
}

int TEinstellungen::GetEigenbesamungInteger(int station, const QString& name) const
{
    return WertLesenInteger(EigenbesamungSchluessel(station, name), 0);
}

void TEinstellungen::SetEigenbesamungInteger(int station, const QString& name, int wert)
{
    WertSetzenInteger(EigenbesamungSchluessel(station, name), wert);
}

int TEinstellungen::GetBesamungsscheinNummer(int station) const
{
    return WertLesenInteger(QStringLiteral("Besamungsschein-Nummer-") + StationsCode(station), 0);
}

void TEinstellungen::SetBesamungsscheinNummer(int station, int nummer)
{
    WertSetzenInteger(QStringLiteral("Besamungsschein-Nummer-") + StationsCode(station), nummer);
}

QString TEinstellungen::KraftfutterSchluessel(Kraftfutterwert wert, int art, int betrieb)
{
    QString schluessel = (wert == Kraftfutterwert::Effektivitaet
                              ? QStringLiteral("Kraftfutterliste-Effektivitaet-%1")
                              : QStringLiteral("Kraftfutterliste-Vorhaltung-%1"))
                             .arg(art);
    if (betrieb > 0)
        schluessel += QLatin1Char('-') + QString::number(betrieb);
    return schluessel;
}

double TEinstellungen::GetKraftfutterEffektivitaet(int art, int betrieb) const
{
    const double allgemein = WertLesenFloat(
        KraftfutterSchluessel(Kraftfutterwert::Effektivitaet, art, 0), art == 0 ? 2.0 : 1.0);
    if (betrieb <= 0)
        return allgemein;
    return WertLesenFloat(KraftfutterSchluessel(Kraftfutterwert::Effektivitaet, art, betrieb),
                          allgemein);
}

void TEinstellungen::SetKraftfutterEffektivitaet(int art, int betrieb, double wert)
{
    WertSetzenFloat(KraftfutterSchluessel(Kraftfutterwert::Effektivitaet, art, betrieb), wert);
}

double TEinstellungen::GetKraftfutterVorhaltung(int art, int betrieb) const
{
    const double allgemein =
        WertLesenFloat(KraftfutterSchluessel(Kraftfutterwert::Vorhaltung, art, 0), 0.0);
    if (betrieb <= 0)
        return allgemein;
    return WertLesenFloat(KraftfutterSchluessel(Kraftfutterwert::Vorhaltung, art, betrieb),
                          allgemein);
}

void TEinstellungen::SetKraftfutterVorhaltung(int art, int betrieb, double wert)
{
    WertSetzenFloat(KraftfutterSchluessel(Kraftfutterwert::Vorhaltung, art, betrieb), wert);
}

// ---- derived values ----

QDate TEinstellungen::ZeitraumBeginn() const
{
    static const int Tage[] = {0, 3650, 1825, 1095, 730, 365};
    const int index = GetZeitraumBerechnungen();
    if (index == 0)
        return QDate(1900, 1, 1);
    return Heute().addDays(-Tage[index]);
}

bool TEinstellungen::UpdatePruefungFaellig() const
{
    const Vorgaben vorgaben(*iniDatei_);
    const int intervall = GetUpdateIntervall();
    if (intervall == 0)
        return false;
    const QDateTime letzte = GetUpdateLastCheck();
    if (!letzte.isValid())
        return true;
    return Heute() > letzte.date().addDays(intervall == 1 ? 30 : 180);
}

QString TEinstellungen::AutoSicherungDateiname()
{
    TIniDatei::Stapel stapel(*iniDatei_);
    const QString sektion = QStringLiteral("AutoSicherung");
    const int nummer = std::max(1, IniLesenInteger(sektion, QStringLiteral("Nummer"), 1));
    const QString name =
        mitTrenner(GetAutoSicherungVerzeichnis()) + QStringLiteral("sicherung%1.zip").arg(nummer);
    IniSchreibenInteger(sektion, QStringLiteral("Nummer"),
                        GetAutoSicherungAnzahl() < nummer + 1 ? 1 : nummer + 1);
    stapel.Abschliessen();
    return name;
}

bool TEinstellungen::AutoSicherungFaellig()
{
    TIniDatei::Stapel stapel(*iniDatei_);
    const bool faellig = GetAutoSicherungAktiv() && GetAutoSicherungLetzte() != Heute();
    if (faellig)
        SetAutoSicherungLetzte(Heute());
    stapel.Abschliessen();
    return faellig;
}

bool TEinstellungen::AutostartAktiv() const
{
    return platform::Autostart::isEnabled(AutostartName);
}

void TEinstellungen::AutostartSetzen(bool an)
{
    if (an)
        platform::Autostart::enable(AutostartName, umgebung_.exeName,
                                    {QStringLiteral("-Hinweise")});
    else
        platform::Autostart::disable(AutostartName);
}

// ---- database ----

namespace {

db::TransactionOptions lesen()
{
    db::TransactionOptions o;
    o.isolation = db::TransactionOptions::ReadCommitted;
    o.readOnly = true;
    return o;
}

}  // namespace

db::Database& TEinstellungen::Verbindung() const
{
    if (!datenbank_ || !datenbank_->Connected())
        throw std::runtime_error(
            "Die Einstellungen der Datenbank sind ohne Datenbankverbindung nicht verfügbar.");
    return *datenbank_;
}

void TEinstellungen::Laden()
{
    db::Transaction tr(Verbindung(), QStringLiteral("Einstellungen laden"), lesen());
    tr.Start();
    QHash<QString, QString> werte;
    QStringList rassen, rassenVerwendet, betriebsgruppen;
    {
        db::Query q(tr, QStringLiteral("select * from T_EINSTELLUNGEN"));
        for (q.Open(); !q.Eof(); q.Next())
            werte.insert(q.Field(QStringLiteral("NAME")).AsString(),
                         q.Field(QStringLiteral("WERT")).AsString());
    }
    {
        db::Query q(tr, QStringLiteral("select * from T_RASSEN\norder by id"));
        for (q.Open(); !q.Eof(); q.Next()) {
            const QString zeile = q.Field(QStringLiteral("RASSE_KURZ")).AsString() +
                                  QLatin1Char('=') +
                                  q.Field(QStringLiteral("BEZEICHNUNG")).AsString();
            rassen << zeile;
            if (q.Field(QStringLiteral("VERWENDET")).AsString() == QLatin1String("T"))
                rassenVerwendet << zeile;
        }
    }
    {
        db::Query q(tr, QStringLiteral("select * from T_BETRIEBSGRUPPEN\norder by Nummer"));
        for (q.Open(); !q.Eof(); q.Next())
            betriebsgruppen << q.Field(QStringLiteral("NUMMER")).AsString().trimmed();
    }
    tr.Commit();
    // A bracket that the connection ended (rolled back) leaves nothing pending.
    if (!InBearbeitung())
        ausstehend_.clear();
    for (auto it = ausstehend_.cbegin(); it != ausstehend_.cend(); ++it)
        werte.insert(it.key(), it.value());
    werte_ = std::move(werte);
    rassen_ = std::move(rassen);
    rassenVerwendet_ = std::move(rassenVerwendet);
    betriebsgruppen_ = std::move(betriebsgruppen);
}

bool TEinstellungen::InBearbeitung() const
{
    return taEinstellungen_ && taEinstellungen_->Active();
}

// The bracket's transaction lives only while the bracket is open, so that no transaction of the
// settings outlasts a connection that goes away between brackets.
void TEinstellungen::Bearbeiten()
{
    if (InBearbeitung())
        return;
    auto tr = std::make_unique<db::Transaction>(Verbindung(), QStringLiteral("TAEinstellungen"));
    tr->Start();
    taEinstellungen_ = std::move(tr);
    ausstehend_.clear();
}

void TEinstellungen::Speichern()
{
    if (!InBearbeitung())
        return;
    taEinstellungen_->Commit();
    taEinstellungen_.reset();
    ausstehend_.clear();
}

void TEinstellungen::Verwerfen()
{
    if (InBearbeitung())
        taEinstellungen_->Rollback();
    taEinstellungen_.reset();
    ausstehend_.clear();
    Laden();
}

int TEinstellungen::WertLaenge()
{
    if (wertLaenge_ == 0) {
        db::Query q(*taEinstellungen_, QStringLiteral("select WERT from T_EINSTELLUNGEN"));
        wertLaenge_ = q.Column(0).Size;
    }
    return wertLaenge_;
}

void TEinstellungen::WertSetzen(const QString& name, const QString& wert, bool trimmen)
{
    if (!InBearbeitung())
        throw std::runtime_error(
            QStringLiteral("Die Einstellung >%1< kann nur nach \"Bearbeiten\" geändert werden.")
                .arg(name)
                .toStdString());
    const QString text = trimmen ? wert.trimmed() : wert;
    if (text.size() > WertLaenge())
        throw std::runtime_error(
            QStringLiteral("Der Wert der Einstellung >%1< ist mit %2 Zeichen zu lang; "
                           "gespeichert werden höchstens %3 Zeichen.")
                .arg(name)
                .arg(text.size())
                .arg(WertLaenge())
                .toStdString());
    db::Query q(*taEinstellungen_,
                QStringLiteral("UPDATE OR INSERT INTO T_EINSTELLUNGEN (NAME, WERT)\n"
                               "VALUES (:NAME, :WERT)\nMATCHING (NAME)"));
    q.Param(QStringLiteral("NAME")).SetString(name);
    q.Param(QStringLiteral("WERT")).SetString(text);
    q.Execute();
    werte_.insert(name, text);
    ausstehend_.insert(name, text);
}

void TEinstellungen::BenutzerListenLaden(QStringList& menueListe, QStringList& symbolListe)
{
    db::Transaction tr(Verbindung(), QStringLiteral("Benutzerlisten laden"), lesen());
    tr.Start();
    const auto fuellen = [&tr](const QString& sql) {
        QStringList zeilen;
        db::Query q(tr, sql);
        for (q.Open(); !q.Eof(); q.Next()) {
            const db::Value& symbol = q.Field(QStringLiteral("SYMBOL"));
            zeilen << q.Field(QStringLiteral("ID")).AsString() + QLatin1Char(';') +
                          (symbol.IsNull() ? QString() : symbol.AsString()) + QLatin1Char(';') +
                          q.Field(QStringLiteral("BEZEICHNUNG")).AsString();
        }
        return zeilen;
    };
    QStringList menue =
        fuellen(QStringLiteral("SELECT L.ID, L.BEZEICHNUNG, L.SYMBOL\rFROM T_LISTEN L\r"
                               "WHERE L.ID > 0 AND L.MENUE = 'T'\rORDER BY L.MENUE_REIHUNG"));
    QStringList symbole = fuellen(
        QStringLiteral("SELECT L.ID, L.BEZEICHNUNG, L.SYMBOL\rFROM T_LISTEN L\r"
                       "WHERE L.ID > 0 AND L.SYMBOL IS NOT NULL\rORDER BY L.SYMBOL_REIHUNG"));
    tr.Commit();
    menueListe = std::move(menue);
    symbolListe = std::move(symbole);
}

QStringList TEinstellungen::TerminListenLaden()
{
    db::Transaction tr(Verbindung(), QStringLiteral("Transaktion"), lesen());
    tr.Start();
    QList<int> ids;
    QStringList namen;
    {
        db::Query q(tr,
                    QStringLiteral(
                        "SELECT ID, BEZEICHNUNG FROM T_LISTEN WHERE ID > 0 ORDER BY BEZEICHNUNG"));
        for (q.Open(); !q.Eof(); q.Next()) {
            ids << q.Field(QStringLiteral("ID")).AsInteger();
            namen << q.Field(QStringLiteral("BEZEICHNUNG")).AsString();
        }
    }
    tr.Commit();
    terminListenIDs_ = std::move(ids);
    terminListenNamen_ = std::move(namen);
    return terminListenNamen_;
}

int TEinstellungen::TerminListeIndex() const
{
    if (terminListenIDs_.isEmpty())
        return -1;
    return std::max<int>(0, terminListenIDs_.indexOf(GetTerminListe()));
}

void TEinstellungen::SetTerminListeIndex(int position)
{
    if (position < 0 || position >= terminListenIDs_.size())
        throw std::out_of_range("Termin-Liste: keine Liste an dieser Stelle");
    SetTerminListe(terminListenIDs_[position]);
}
