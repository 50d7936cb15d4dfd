#include <DatenbankName.h>

#include <gtest/gtest.h>

#include <vector>

using Einrichtung::DatenbankNameBilden;
using Einrichtung::DatenbankNameLesen;
using Einrichtung::DatenbankOrt;

TEST(DatenbankNameTest, StoredNamesSplitIntoHostAndFileAndAreWrittenBack)
{
    struct Fall {
        const char* wert;
        DatenbankOrt ort;
        // What Finish writes back; the value itself when null.
        const char* geschrieben = nullptr;
    };
    const std::vector<Fall> faelle = {
        // The embedded database on this machine: no host.
        {"/home/bauer/.local/share/Bovantis/Bovantis.fdb",
         {"", "/home/bauer/.local/share/Bovantis/Bovantis.fdb"}},
        {"Bovantis.fdb", {"", "Bovantis.fdb"}},
        {"", {"", ""}},
        // A server: the first colon ends the host, on Linux and Windows servers alike.
        {"server1:/daten/herde.fdb", {"server1", "/daten/herde.fdb"}},
        {"localhost:/var/lib/bovantis/herde.fdb", {"localhost", "/var/lib/bovantis/herde.fdb"}},
        {"192.168.1.5:/daten/herde.fdb", {"192.168.1.5", "/daten/herde.fdb"}},
        {"server1/3051:/daten/herde.fdb", {"server1/3051", "/daten/herde.fdb"}},
        {"server1:C:\\Daten\\herde.fdb", {"server1", "C:\\Daten\\herde.fdb"}},
        // Windows paths of an old INI file are files on this machine.
        {"C:\\Daten\\herde.fdb", {"", "C:\\Daten\\herde.fdb"}},
        {"c:/Daten/herde.fdb", {"", "c:/Daten/herde.fdb"}},
        {":C:\\Daten\\herde.fdb", {"", "C:\\Daten\\herde.fdb"}, "C:\\Daten\\herde.fdb"},
        // A local path holding a colon is still a path.
        {"/daten/zwei:teile.fdb", {"", "/daten/zwei:teile.fdb"}},
        // A host without a file keeps its host; the file is left to the user.
        {"server1:", {"server1", ""}},
        // Blanks around the parts are dropped.
        {"  server1 : /daten/herde.fdb ",
         {"server1", "/daten/herde.fdb"},
         "server1:/daten/herde.fdb"},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.wert);
        const DatenbankOrt ort = DatenbankNameLesen(QString::fromUtf8(fall.wert));
        EXPECT_EQ(ort.rechner, fall.ort.rechner);
        EXPECT_EQ(ort.datei, fall.ort.datei);
        EXPECT_EQ(DatenbankNameBilden(ort.rechner, ort.datei),
                  QString::fromUtf8(fall.geschrieben ? fall.geschrieben : fall.wert));
    }
}

TEST(DatenbankNameTest, AnEmptyHostWritesTheFileAloneAndPingsTheMachineWithoutItsPort)
{
    EXPECT_EQ(DatenbankNameBilden("  ", "/daten/herde.fdb"), "/daten/herde.fdb");
    EXPECT_EQ(DatenbankNameBilden("server1", "/daten/herde.fdb"), "server1:/daten/herde.fdb");
    EXPECT_EQ(Einrichtung::PingRechner("server1/3051"), "server1");
    EXPECT_EQ(Einrichtung::PingRechner("192.168.1.5"), "192.168.1.5");
}
