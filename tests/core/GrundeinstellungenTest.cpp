#include <Grundeinstellungen.h>

#include <Autostart.h>
#include <ProgDatum.h>
#include <TerminalServer.h>

#include <ScopedEnv.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QDate Heute(2026, 12, 10);

class GrundeinstellungenTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.filePath("xdg-data").toLocal8Bit()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", tmp.filePath("xdg-config").toLocal8Bit()};
    QString daten = tmp.filePath("daten") + "/";

    TEinstellungen::Umgebung umgebung(bool terminalServer = false)
    {
        TEinstellungen::Umgebung u;
        u.exeName = "/opt/bovantis/bin/ZR_Bovantis";
        u.terminalServer = terminalServer;
        u.benutzerName = "Maier";
        u.heute = [] { return Heute; };
        return u;
    }
    std::unique_ptr<TEinstellungen> neu(bool terminalServer = false)
    {
        return std::make_unique<TEinstellungen>(nullptr, daten, umgebung(terminalServer));
    }
    QString iniText(const TEinstellungen& e)
    {
        QFile f(e.IniDateipfad());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

QString text(int v)
{
    return QString::number(v);
}
QString text(bool v)
{
    return TIniDatei::BoolText(v);
}
QString text(const QString& v)
{
    return v;
}
QString text(const QDate& v)
{
    return TIniDatei::DatumText(v);
}
QString text(const QDateTime& v)
{
    return TIniDatei::DatumZeitText(v);
}

}  // namespace

TEST_F(GrundeinstellungenTest, DataFolderAndFileNames)
{
    {
        auto e = neu();
        EXPECT_FALSE(QFile::exists(daten + "Bovantis.ini"));
        e->IniSpeichern();
        EXPECT_TRUE(QFile::exists(daten + "Bovantis.ini"));
        EXPECT_EQ(e->Datenverzeichnis(), daten);
        EXPECT_EQ(e->Programmverzeichnis(), "/opt/bovantis/bin/");
        EXPECT_EQ(e->IniDateipfad(), daten + "Bovantis.ini");
        EXPECT_EQ(e->GetDatenbankName(), daten + "Bovantis.fdb");
    }
    {
        // A terminal server gives every user files of his own.
        auto e = neu(true);
        EXPECT_TRUE(e->IsTerminalServer());
        EXPECT_EQ(e->IniDateiname(), "Bovantis-maier.ini");
        EXPECT_EQ(e->DatenbankDateiname(), "Bovantis-maier.fdb");
        EXPECT_EQ(e->GetDatenbankName(), daten + "Bovantis-maier.fdb");
        EXPECT_TRUE(QFile::exists(daten + "Bovantis-maier.ini"));
    }
    {
        // Without a folder the system's data folder is taken and created.
        TEinstellungen e(nullptr, QString(), umgebung());
        EXPECT_EQ(e.Datenverzeichnis(), tmp.filePath("xdg-data/Bovantis/"));
        EXPECT_TRUE(QDir(e.Datenverzeichnis()).exists());
    }
    {
        // Once the system's data folder exists, it takes the place of a given folder.
        TEinstellungen e(nullptr, tmp.filePath("programm"), umgebung());
        EXPECT_EQ(e.Datenverzeichnis(), tmp.filePath("xdg-data/Bovantis/"));
    }
}

TEST_F(GrundeinstellungenTest, ReadingEverySettingOnAFreshFileWritesItsDefault)
{
    struct Zeile {
        QString sektion, schluessel, vorgabe;
        std::function<QString(TEinstellungen&)> lesen;
    };
#define Z(Sektion, Schluessel, Vorgabe, Getter)                                          \
    Zeile                                                                                \
    {                                                                                    \
        Sektion, Schluessel, Vorgabe, [](TEinstellungen& e) { return text(e.Getter()); } \
    }
    const std::vector<Zeile> zeilen = {
        Z("Zustand", "AktBetriebEinzeltier", "0", GetAktBetriebEinzeltier),
        Z("Zustand", "LetzteMaske", "0", GetLetzteMaske),
        Z("Zustand", "LetzteMehrereListen", "1", GetLetzteMehrereListen),
        Z("Zustand", "AktBetriebListen", "0", GetAktBetriebListen),
        Z("Farbe", "Listenmuster", "6", GetListenmuster),
        Z("Farbe", "StatusIconSW", "1", GetStatusIconSW),
        Z("DFÜ", "verwenden", "0", GetDFUEVerwenden),
        Z("DFÜ", "AutoTrennen", "1", GetDFUEAutoTrennen),
        Z("DFÜ", "AutoVerbinden", "1", GetDFUEAutoVerbinden),
        Z("DFÜ", "Verbindung", "", GetDFUEVerbindung),
        Z("Sicherung", "Verzeichnis", QDir::homePath() + "/", GetSicherungVerzeichnis),
        Z("Datenbank", "AdminPasswort", "kuhglocke", GetDatenbankAdminPasswort),
        Z("Datenbank", "Name", daten + "Bovantis.fdb", GetDatenbankName),
        Z("AutoSicherung", "Letzte", "", GetAutoSicherungLetzte),
        Z("AutoSicherung", "AutoSicherung", "1", GetAutoSicherungAktiv),
        Z("AutoSicherung", "Anzahl", "5", GetAutoSicherungAnzahl),
        Z("AutoSicherung", "Verzeichnis", daten + "sicherung", GetAutoSicherungVerzeichnis),
        Z("Milchanlieferung-Statistik", "37Preis", "1", GetMilchanlieferungStatistik37Preis),
        Z("Milchanlieferung-Statistik", "Bis", "", GetMilchanlieferungStatistikBis),
        Z("Milchanlieferung-Statistik", "Eigenpreis", "1", GetMilchanlieferungStatistikEigenpreis),
        Z("Milchanlieferung-Statistik", "Inhaltsstoffe", "1",
          GetMilchanlieferungStatistikInhaltsstoffe),
        Z("Milchanlieferung-Statistik", "Menge", "1", GetMilchanlieferungStatistikMenge),
        Z("Milchanlieferung-Statistik", "Milchgeld", "1", GetMilchanlieferungStatistikMilchgeld),
        Z("Milchanlieferung-Statistik", "Von", "", GetMilchanlieferungStatistikVon),
        Z("Tierbestand-Statistik", "Art", "0", GetTierbestandStatistikArt),
        Z("Tierbestand-Statistik", "Bis", "", GetTierbestandStatistikBis),
        Z("Tierbestand-Statistik", "Prognose", "1", GetTierbestandStatistikPrognose),
        Z("Tierbestand-Statistik", "Von", "", GetTierbestandStatistikVon),
        Z("Besamungsindex-Statistik", "Bis", "", GetBesamungsindexStatistikBis),
        Z("Besamungsindex-Statistik", "Von", "", GetBesamungsindexStatistikVon),
        Z("Viehverzeichnis", "Am", "", GetViehverzeichnisAm),
        Z("Viehverzeichnis", "Bis", "", GetViehverzeichnisBis),
        Z("Viehverzeichnis", "Von", "", GetViehverzeichnisVon),
        Z("Viehverzeichnis", "GV-Schluessel", "-1", GetViehverzeichnisGVSchluessel),
        Z("Viehverzeichnis", "Prognose", "1", GetViehverzeichnisPrognose),
        Z("Kraftfutterliste", "AktBetrieb", "0", GetKraftfutterlisteAktBetrieb),
        Z("Ereignisliste", "Ereignisliste-Abgang", "1", GetEreignislisteAbgang),
        Z("Ereignisliste", "Ereignisliste-Behandlung", "1", GetEreignislisteBehandlung),
        Z("Ereignisliste", "Ereignisliste-Besamung", "1", GetEreignislisteBesamung),
        Z("Ereignisliste", "Ereignisliste-Bis", "", GetEreignislisteBis),
        Z("Ereignisliste", "Ereignisliste-Kalbung", "1", GetEreignislisteKalbung),
        Z("Ereignisliste", "Ereignisliste-Von", "", GetEreignislisteVon),
        Z("Ereignisliste", "Ereignisliste-Zugang", "1", GetEreignislisteZugang),
        Z("Ereignisliste", "Ereignisliste-StandardDesigns", "", GetEreignislisteStandardDesigns),
        Z("Ereignisliste", "Ereignisliste-Trockenstellen", "1", GetEreignislisteTrockenstellen),
        Z("KalbeJournal", "KalbeJournal-Bis", "", GetKalbeJournalBis),
        Z("KalbeJournal", "KalbeJournal-StandardDesigns", "", GetKalbeJournalStandardDesigns),
        Z("KalbeJournal", "KalbeJournal-Von", "", GetKalbeJournalVon),
        Z("Bestandsbuch", "Bestandsbuch-Bis", "", GetBestandsbuchBis),
        Z("Bestandsbuch", "Bestandsbuch-Von", "", GetBestandsbuchVon),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-Abgang", "1",
          GetGesendeteHITMeldungenAbgang),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-Ausfuhr", "1",
          GetGesendeteHITMeldungenAusfuhr),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-Bis", "", GetGesendeteHITMeldungenBis),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-Geburt", "1",
          GetGesendeteHITMeldungenGeburt),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-Importmarkierung", "1",
          GetGesendeteHITMeldungenImportmarkierung),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-OhrmarkenNachbestellung", "1",
          GetGesendeteHITMeldungenOhrmarkenNachbestellung),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-Tod", "1", GetGesendeteHITMeldungenTod),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-Von", "", GetGesendeteHITMeldungenVon),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-Zugang", "1",
          GetGesendeteHITMeldungenZugang),
        Z("GesendeteHITMeldungen", "GesendeteHITMeldungen-StandardDesigns", "",
          GetGesendeteHITMeldungenStandardDesigns),
        Z("BestandslisteParameter", "Alter-Bis", "0", GetBestandslisteParameterAlterBis),
        Z("BestandslisteParameter", "Alter-Von", "0", GetBestandslisteParameterAlterVon),
        Z("BestandslisteParameter", "Einheit-Bis", "1", GetBestandslisteParameterEinheitBis),
        Z("BestandslisteParameter", "Einheit-Von", "1", GetBestandslisteParameterEinheitVon),
        Z("BestandslisteParameter", "Wert-Bis", "1000", GetBestandslisteParameterWertBis),
        Z("BestandslisteParameter", "Wert-Von", "0", GetBestandslisteParameterWertVon),
        Z("BestandslisteParameter", "Standard-Designs", "",
          GetBestandslisteParameterStandardDesigns),
        Z("BestandslisteParameter", "Tierklasse", "0", GetBestandslisteParameterTierklasse),
        Z("BestandslisteParameter", "Am", "10.12.2026", GetBestandslisteParameterAm),
        Z("ErledigteTermine", "Tierbezogen", "1", GetErledigteTermineTierbezogen),
        Z("ErledigteTermine", "Standard-Designs", "", GetErledigteTermineStandardDesigns),
        Z("ErledigteTermine", "Feste", "1", GetErledigteTermineFeste),
        Z("ErledigteTermine", "Bis", "", GetErledigteTermineBis),
        Z("ErledigteTermine", "Von", "", GetErledigteTermineVon),
        Z("GesendeteBesamungsmeldungen", "GesendeteBesamungsmeldungen-StandardDesigns", "",
          GetGesendeteBesamungsmeldungenStandardDesigns),
        Z("GesendeteBesamungsmeldungen", "GesendeteBesamungsmeldungen-Bis", "",
          GetGesendeteBesamungsmeldungenBis),
        Z("GesendeteBesamungsmeldungen", "GesendeteBesamungsmeldungen-Von", "",
          GetGesendeteBesamungsmeldungenVon),
        Z("Eigenbesamung", "Meldungsart", "0", GetEigenbesamungMeldungsart),
        Z("Palm", "HotsyncAction", "3", GetPalmHotsyncAction),
        Z("Palm", "User", "", GetPalmUser),
        Z("Update", "LastCheck", "", GetUpdateLastCheck),
        Z("Update", "UpdateIntervall", "1", GetUpdateIntervall),
    };
#undef Z
    auto e = neu();
    for (const Zeile& z : zeilen) {
        SCOPED_TRACE((z.sektion + "/" + z.schluessel).toStdString());
        EXPECT_FALSE(e->IniDatei().WertExistiert(z.sektion, z.schluessel));
        EXPECT_EQ(z.lesen(*e), z.vorgabe);
        EXPECT_EQ(e->IniDatei().Lesen(z.sektion, z.schluessel), z.vorgabe);
    }
    // A second object on the same file reads what the first one wrote.
    auto zweites = neu();
    for (const Zeile& z : zeilen)
        EXPECT_EQ(z.lesen(*zweites), z.vorgabe) << z.schluessel.toStdString();
}

TEST_F(GrundeinstellungenTest, SettersStoreWhatTheGettersReadInTheFileFormOfTheirKind)
{
    {
        auto e = neu();
        e->SetDFUEVerbindung("Büro-Anschluß");
        e->SetDFUEVerwenden(true);
        e->SetAutoSicherungAnzahl(-2);
        e->SetMilchanlieferungStatistikVon(QDate(2026, 3, 4));
        e->SetUpdateLastCheck(QDateTime(QDate(2026, 3, 4), QTime(17, 30, 5)));
        e->SetSicherungVerzeichnis("  /mnt/usb/sicherung  ");
        e->SetDatenbankName("server:/srv/firebird/bovantis.fdb");
    }
    auto e = neu();
    EXPECT_EQ(e->GetDFUEVerbindung(), "Büro-Anschluß");
    EXPECT_TRUE(e->GetDFUEVerwenden());
    EXPECT_EQ(e->GetAutoSicherungAnzahl(), -2);
    EXPECT_EQ(e->GetMilchanlieferungStatistikVon(), QDate(2026, 3, 4));
    EXPECT_EQ(e->GetUpdateLastCheck(), QDateTime(QDate(2026, 3, 4), QTime(17, 30, 5)));
    EXPECT_EQ(e->GetSicherungVerzeichnis(), "/mnt/usb/sicherung");
    EXPECT_EQ(e->GetDatenbankName(), "server:/srv/firebird/bovantis.fdb");
    const QString ini = iniText(*e);
    EXPECT_TRUE(ini.contains("[DFÜ]\nVerbindung=Büro-Anschluß\nverwenden=1\n"))
        << ini.toStdString();
    EXPECT_TRUE(ini.contains("Von=04.03.2026\n"));
    EXPECT_TRUE(ini.contains("LastCheck=04.03.2026 17:30:05\n"));
}

TEST_F(GrundeinstellungenTest, InvalidAndOutOfRangeValuesReadAsTheirRules)
{
    QDir().mkpath(daten);
    QFile f(daten + "Bovantis.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "[Farbe]\nListenmuster=15\n[AutoSicherung]\nAnzahl=viele\nLetzte=31.02.2026\n"
        "[Update]\nUpdateIntervall=3\n[BestandslisteParameter]\nAm=\n");
    f.close();
    auto e = neu();
    EXPECT_EQ(e->GetListenmuster(), 14);
    EXPECT_EQ(e->GetAutoSicherungAnzahl(), 5);
    EXPECT_EQ(e->GetAutoSicherungLetzte(), QDate());
    EXPECT_EQ(e->GetUpdateIntervall(), 1);
    EXPECT_EQ(e->GetBestandslisteParameterAm(), Heute);
    // Unreadable values are replaced by their defaults; clamped ones stay as stored.
    EXPECT_EQ(e->IniDatei().Lesen("AutoSicherung", "Anzahl"), QStringLiteral("5"));
    EXPECT_EQ(e->IniDatei().Lesen("AutoSicherung", "Letzte"), QStringLiteral(""));
    EXPECT_EQ(e->IniDatei().Lesen("Farbe", "Listenmuster"), QStringLiteral("15"));

    struct Fall {
        int gespeichert, gelesen;
    };
    for (const Fall& fall : std::vector<Fall>{{-1, 0}, {0, 0}, {7, 7}, {14, 14}, {99, 14}}) {
        e->SetListenmuster(fall.gespeichert);
        EXPECT_EQ(e->GetListenmuster(), fall.gelesen) << fall.gespeichert;
    }
    for (const Fall& fall : std::vector<Fall>{{0, 0}, {1, 1}, {2, 2}, {3, 1}, {-1, 1}}) {
        e->SetUpdateIntervall(fall.gespeichert);
        EXPECT_EQ(e->GetUpdateIntervall(), fall.gelesen) << fall.gespeichert;
    }
}

TEST_F(GrundeinstellungenTest, UpdateCheckIsDueAfterItsInterval)
{
    struct Fall {
        int intervall;
        QDateTime letzte;
        bool faellig;
    };
    const std::vector<Fall> faelle = {
        {0, QDateTime(), false},
        {1, QDateTime(), true},
        {1, QDateTime(Heute.addDays(-30), QTime(23, 0)), false},
        {1, QDateTime(Heute.addDays(-31), QTime(8, 0)), true},
        {2, QDateTime(Heute.addDays(-100), QTime(8, 0)), false},
        {2, QDateTime(Heute.addDays(-181), QTime(8, 0)), true},
    };
    auto e = neu();
    for (const Fall& f : faelle) {
        e->SetUpdateIntervall(f.intervall);
        e->SetUpdateLastCheck(f.letzte);
        EXPECT_EQ(e->UpdatePruefungFaellig(), f.faellig)
            << f.intervall << " " << f.letzte.toString().toStdString();
    }
}

TEST_F(GrundeinstellungenTest, AutomaticBackupsRunInARingAndOncePerDay)
{
    auto e = neu();
    const QString ordner = daten + "sicherung/";
    QStringList namen;
    for (int i = 0; i < 6; ++i)
        namen << e->AutoSicherungDateiname();
    EXPECT_EQ(namen, (QStringList{ordner + "sicherung1.zip", ordner + "sicherung2.zip",
                                  ordner + "sicherung3.zip", ordner + "sicherung4.zip",
                                  ordner + "sicherung5.zip", ordner + "sicherung1.zip"}));

    // The ring shrinks from 5 to 3 while number 4 is next: 4 is still used, then it wraps.
    e->IniSchreibenInteger("AutoSicherung", "Nummer", 4);
    e->SetAutoSicherungAnzahl(3);
    EXPECT_EQ(e->AutoSicherungDateiname(), ordner + "sicherung4.zip");
    EXPECT_EQ(e->AutoSicherungDateiname(), ordner + "sicherung1.zip");
    e->IniSchreibenInteger("AutoSicherung", "Nummer", 0);
    EXPECT_EQ(e->AutoSicherungDateiname(), ordner + "sicherung1.zip");

    e->SetAutoSicherungLetzte(Heute.addDays(-1));
    EXPECT_TRUE(e->AutoSicherungFaellig());
    EXPECT_EQ(e->GetAutoSicherungLetzte(), Heute);
    EXPECT_FALSE(e->AutoSicherungFaellig());
    e->SetAutoSicherungLetzte(Heute.addDays(-1));
    e->SetAutoSicherungAktiv(false);
    EXPECT_FALSE(e->AutoSicherungFaellig());
}

TEST_F(GrundeinstellungenTest, TodayIsTheProgramsToday)
{
    ProgDatum::HeuteSetzen(QDate(2027, 1, 5));
    TEinstellungen e(nullptr, daten, TEinstellungen::StandardUmgebung());
    EXPECT_EQ(e.GetBestandslisteParameterAm(), QDate(2027, 1, 5));
    ProgDatum::HeuteSetzen(QDate());
}

TEST_F(GrundeinstellungenTest, ChangingThePremisesForListsTellsTheMainWindow)
{
    auto e = neu();
    int gemeldet = -1;
    e->OnAktBetriebListenChange = [&](TEinstellungen& s) { gemeldet = s.GetAktBetriebListen(); };
    e->SetAktBetriebListen(3);
    EXPECT_EQ(gemeldet, 3);
}

TEST_F(GrundeinstellungenTest, FarmWideSettingsReadTheirDefaultsWithoutRows)
{
    auto e = neu();
    EXPECT_EQ(e->GetBetriebFlaeche(), 10.0);
    EXPECT_EQ(e->GetKraftfutterlisteFettgrenzwert(), 4.5);
    EXPECT_EQ(e->GetKraftfutterlisteGrundfutterleistung(), 15.0);
    EXPECT_EQ(e->GetHITPortNormal(), 2222);
    EXPECT_EQ(e->GetHITPortTest(), 2223);
    EXPECT_EQ(e->GetHITMeldefrist(), 7);
    EXPECT_EQ(e->GetGVSchluessel(), -1);
    EXPECT_TRUE(e->GetMeldungAuto());
    EXPECT_FALSE(e->GetHITGeburtTiername());
    EXPECT_FALSE(e->GetVersteckeSymbolHintergrund());
    EXPECT_EQ(e->GetPrognoseKalbBesamen(), 600);
    EXPECT_EQ(e->GetPrognoseMastVerkaufen(), 500);
    EXPECT_EQ(e->GetHarnstoffMaximal(), 300);
    EXPECT_EQ(e->GetHarnstoffMinimal(), 150);
    EXPECT_EQ(e->GetZellzahlMaximal(), 100);
    EXPECT_EQ(e->GetTerminKalbenVorher(), 14);
    EXPECT_EQ(e->GetTerminRindernNachher(), 3);
    EXPECT_EQ(e->GetKNRLaenge(), 3);
    EXPECT_EQ(e->GetStandardwaehrung(), 0);
    EXPECT_EQ(e->GetZeitraumBerechnungen(), 0);
    EXPECT_EQ(e->ZeitraumBeginn(), QDate(1900, 1, 1));
    EXPECT_EQ(e->GetKraftfutterEffektivitaet(0, 0), 2.0);
    EXPECT_EQ(e->GetKraftfutterEffektivitaet(1, 5), 1.0);
    EXPECT_EQ(e->GetKraftfutterVorhaltung(2, 5), 0.0);
    EXPECT_EQ(
        TEinstellungen::KraftfutterSchluessel(TEinstellungen::Kraftfutterwert::Vorhaltung, 2, 5),
        "Kraftfutterliste-Vorhaltung-2-5");
    EXPECT_EQ(
        TEinstellungen::KraftfutterSchluessel(TEinstellungen::Kraftfutterwert::Effektivitaet, 0, 0),
        "Kraftfutterliste-Effektivitaet-0");
}

TEST_F(GrundeinstellungenTest, WritingFarmWideSettingsWithoutADatabaseFailsClearly)
{
    auto e = neu();
    EXPECT_FALSE(e->InBearbeitung());
    EXPECT_THROW(e->Bearbeiten(), std::runtime_error);
    EXPECT_THROW(e->SetBetriebName("Hof"), std::runtime_error);
    EXPECT_EQ(e->GetBetriebName(), "");
}

TEST_F(GrundeinstellungenTest, AutostartIsAnXdgEntryInReminderMode)
{
    TEinstellungen::Umgebung u = umgebung();
    u.exeName = "/opt/Bovantis 3/ZR_Bovantis";
    TEinstellungen e(nullptr, daten, u);
    EXPECT_FALSE(e.AutostartAktiv());
    e.AutostartSetzen(true);
    EXPECT_TRUE(e.AutostartAktiv());
    const QString eintrag = tmp.filePath("xdg-config/autostart/zr-bovantis.desktop");
    QFile f(eintrag);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString inhalt = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(inhalt.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(inhalt.contains("\nExec=\"/opt/Bovantis 3/ZR_Bovantis\" -Hinweise\n"))
        << inhalt.toStdString();
    f.close();
    e.AutostartSetzen(false);
    EXPECT_FALSE(e.AutostartAktiv());
    EXPECT_FALSE(QFile::exists(eintrag));
    e.AutostartSetzen(false);

    EXPECT_EQ(platform::Autostart::execLine("/a/b$c", {"50%", "x\\y"}),
              "\"/a/b\\\\$c\" 50%% \"x\\\\\\\\y\"");
}

TEST_F(GrundeinstellungenTest, TerminalServerFlagComesFromTheSystemConfiguration)
{
    struct Fall {
        QByteArray inhalt;
        bool terminalServer;
    };
    const std::vector<Fall> faelle = {
        {"IsTerminalServer=1\n", true},   {"# Kommentar\n  isterminalserver = yes\n", true},
        {"IsTerminalServer=0\n", false},  {"# IsTerminalServer=1\n", false},
        {"AndererSchluessel=1\n", false},
    };
    const QString datei = tmp.filePath("zrbovantis.conf");
    for (const Fall& fall : faelle) {
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(fall.inhalt);
        f.close();
        EXPECT_EQ(platform::isTerminalServer(datei), fall.terminalServer) << fall.inhalt.data();
    }
    EXPECT_FALSE(platform::isTerminalServer(tmp.filePath("fehlt.conf")));
}

TEST_F(GrundeinstellungenTest, AWindowReadingManySettingsWritesTheirDefaultsInOneGo)
{
    auto e = neu();
    {
        TIniDatei::Stapel stapel(e->IniDatei());
        EXPECT_EQ(e->GetListenmuster(), 6);
        EXPECT_EQ(e->GetDatenbankAdminPasswort(), "kuhglocke");
        EXPECT_EQ(e->GetAutoSicherungAnzahl(), 5);
        EXPECT_TRUE(e->UpdatePruefungFaellig());
        EXPECT_FALSE(QFile::exists(e->IniDateipfad()));
        stapel.Abschliessen();
    }
    const QString ini = iniText(*e);
    for (const char* zeile : {"Listenmuster=6\n", "AdminPasswort=kuhglocke\n", "Anzahl=5\n",
                              "UpdateIntervall=1\n", "LastCheck=\n"})
        EXPECT_TRUE(ini.contains(zeile)) << zeile << "\n" << ini.toStdString();
}

TEST_F(GrundeinstellungenTest, TheFirstStartIsTheOneWhoseIniFileNamesNoDatabase)
{
    struct Fall {
        const char* name;
        QByteArray ini;  // none when empty
        bool ersterStart;
    };
    const std::vector<Fall> faelle = {
        {"no INI file", QByteArray(), true},
        {"an INI file without a database", "[Zustand]\nLetzteMaske=1\n", true},
        {"a database named", "[Datenbank]\nName=/media/stick/Bovantis.fdb\n", false},
        {"an empty database name", "[datenbank]\nname=\n", false},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        QFile::remove(daten + "Bovantis.ini");
        if (!fall.ini.isEmpty()) {
            ASSERT_TRUE(QDir().mkpath(daten));
            QFile f(daten + "Bovantis.ini");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(fall.ini);
        }
        auto e = neu();
        EXPECT_EQ(e->ErsterStart(), fall.ersterStart);
        EXPECT_EQ(e->StandardDatenbankName(), daten + "Bovantis.fdb");
        // Once the name is read (and its default written), later starts are no first ones.
        e->GetDatenbankName();
        EXPECT_FALSE(neu()->ErsterStart());
    }
}
