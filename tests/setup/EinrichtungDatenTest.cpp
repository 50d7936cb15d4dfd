#include "EinrichtungTestHilfe.h"

#include <Pruefungen.h>
#include <WizardData.h>

#include <IniDatei.h>
#include <SystemInfo.h>

#include <QDir>
#include <QFile>

#include <deque>
#include <stdexcept>
#include <vector>

using Einrichtung::TPingTest;
using Einrichtung::TWizardData;
using platform::EchoReply;

TEST(PingTest, OnlyAnEchoAnswerIsASuccessAndEveryTryReportsALine)
{
    using S = EchoReply::Status;
    const EchoReply antwort{S::Reply, "10.0.0.5", 8, 3, 64};
    struct Fall {
        const char* name;
        std::vector<EchoReply> antworten;  // a source "!" throws instead
        bool ergebnis;
        QStringList zeilen;
    };
    const std::vector<Fall> faelle = {
        {"all answered",
         {antwort, antwort},
         true,
         {"Antwort von 10.0.0.5: Bytes 8, Zeit 3, TTL 64",
          "Antwort von 10.0.0.5: Bytes 8, Zeit 3, TTL 64"}},
        {"the last timed out",
         {antwort, EchoReply{S::TimeOut, "", 0, 0, 0}},
         false,
         {"Antwort von 10.0.0.5: Bytes 8, Zeit 3, TTL 64", "Zeitüberschreitung"}},
        {"unreachable",
         {EchoReply{S::Unreachable, "10.0.0.1", 36, 2, 63}},
         false,
         {"Antwort von 10.0.0.1: Nicht erreichbar, Bytes 36, Zeit 2, TTL 63"}},
        {"TTL exceeded",
         {EchoReply{S::TtlExceeded, "10.0.0.1", 36, 2, 63}},
         false,
         {"Antwort von 10.0.0.1: TTL Überschritten, Bytes 36, Zeit 2, TTL 63"}},
        {"an error answer",
         {EchoReply{S::Error, "10.0.0.1", 36, 2, 63}},
         false,
         {"Antwort von 10.0.0.1: Fehler, Bytes 36, Zeit 2, TTL 63"}},
        {"the last could not be sent",
         {antwort, EchoReply{S::Reply, "!", 0, 0, 0}},
         false,
         {"Antwort von 10.0.0.5: Bytes 8, Zeit 3, TTL 64", "Fehler: Netz nicht erreichbar"}},
        {"a time-out before an answer",
         {EchoReply{S::TimeOut, "", 0, 0, 0}, antwort},
         true,
         {"Zeitüberschreitung", "Antwort von 10.0.0.5: Bytes 8, Zeit 3, TTL 64"}},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        std::deque<EchoReply> offen(fall.antworten.begin(), fall.antworten.end());
        QStringList hosts;
        QList<int> pausen;
        TPingTest test(
            [&](const QString& host, int ms) {
                hosts << host;
                EXPECT_EQ(ms, 1000);
                const EchoReply r = offen.front();
                offen.pop_front();
                if (r.source == "!")
                    throw std::runtime_error("Netz nicht erreichbar");
                return r;
            },
            [&](int ms) { pausen << ms; });
        QStringList zeilen;
        test.OnZeile = [&](const QString& z) { zeilen << z; };
        EXPECT_EQ(test.Testen("server1/3051", int(fall.antworten.size())), fall.ergebnis);
        EXPECT_EQ(zeilen, fall.zeilen);
        EXPECT_EQ(hosts, QStringList(fall.antworten.size(), "server1"));
        EXPECT_EQ(pausen, QList<int>(fall.antworten.size() - 1, 500));
    }

    // No tries: no request and no success; an empty host is this machine.
    int gesendet = 0;
    QString host;
    TPingTest test(
        [&](const QString& h, int) {
            ++gesendet;
            host = h;
            return antwort;
        },
        [](int) {});
    EXPECT_FALSE(test.Testen("server1", 0));
    EXPECT_EQ(gesendet, 0);
    EXPECT_TRUE(test.Testen("", 1));
    EXPECT_EQ(host, "127.0.0.1");
}

TEST_F(EinrichtungTest, TheDatabaseSettingComesFromTheIniFileOrIsTheEmbeddedDefault)
{
    struct Fall {
        const char* name;
        const char* ini;  // no INI file when null
        QString rechner, datei;
        bool geaendert;
        // What Finish writes; %1 is the data folder.
        QString geschrieben;
    };
    const std::vector<Fall> faelle = {
        {"no INI file", nullptr, "", "%1Bovantis.fdb", false, "%1Bovantis.fdb"},
        {"no database in it", "[Zustand]\nLetzteMaske=1\n", "", "%1Bovantis.fdb", true,
         "%1Bovantis.fdb"},
        {"a server on Linux", "[Datenbank]\nName=server1:/daten/herde.fdb\n", "server1",
         "/daten/herde.fdb", true, "server1:/daten/herde.fdb"},
        {"a Windows server", "[Datenbank]\nName=server1:C:\\Daten\\herde.fdb\n", "server1",
         "C:\\Daten\\herde.fdb", true, "server1:C:\\Daten\\herde.fdb"},
        {"a Windows path of an old INI file", "[Datenbank]\nName=C:\\Daten\\herde.fdb\n", "",
         "C:\\Daten\\herde.fdb", true, "C:\\Daten\\herde.fdb"},
        {"the embedded file", "[Datenbank]\nName=/home/bauer/herde.fdb\n", "",
         "/home/bauer/herde.fdb", true, "/home/bauer/herde.fdb"},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        QDir(datenordner).removeRecursively();
        if (fall.ini) {
            ASSERT_TRUE(QDir().mkpath(datenordner));
            QFile ini(datenordner + "Bovantis.ini");
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(fall.ini);
        }
        TWizardData daten(platform::programFolder());
        EXPECT_FALSE(daten.IstGeladen());
        daten.SetProgrammverzeichnis(platform::programFolder());
        EXPECT_EQ(daten.Datenverzeichnis(), datenordner);
        daten.DatenbankEinstellungLaden();
        EXPECT_TRUE(daten.IstGeladen());
        EXPECT_EQ(daten.DatenbankRechner(), fall.rechner);
        EXPECT_EQ(daten.DatenbankDatei(), QString(fall.datei).replace("%1", datenordner));
        EXPECT_EQ(daten.IstGeaendert(), fall.geaendert);

        // A host the user changed stays over a reload.
        daten.SetDatenbankRechner("anderer");
        EXPECT_TRUE(daten.IstGeaendert());
        daten.DatenbankEinstellungLaden();
        EXPECT_EQ(daten.DatenbankRechner(), "anderer");
        daten.SetDatenbankRechner(fall.rechner);

        // Finish without a connection writes the name and clears the flag.
        daten.Speichern();
        EXPECT_FALSE(daten.IstGeaendert());
        EXPECT_EQ(TIniDatei(datenordner + "Bovantis.ini").Lesen("Datenbank", "Name"),
                  QString(fall.geschrieben).replace("%1", datenordner));
    }
}
