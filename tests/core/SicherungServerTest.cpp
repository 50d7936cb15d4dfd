#include "FirebirdTestServer.h"

#include <BackupRestore.h>

#include <TestDatabase.h>

#include <Error.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Rows of the test table through the server; empty when the database has no such table or cannot
// be opened.
std::optional<int> Zeilen(const FirebirdTestServer& server, const QString& datei)
{
    try {
        db::Database d;
        d.Open({server.Name(datei), "SYSDBA", FirebirdTestServer::AdminPasswort, {}});
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, "SELECT COUNT(*) FROM T_PRUEF");
        q.Open();
        const int n = q.Field(0).AsInteger();
        tr.Commit();
        return n;
    } catch (const db::Error&) {
        return std::nullopt;
    }
}

void Ausfuehren(const FirebirdTestServer& server, const QString& datei, const QString& sql)
{
    db::Database d;
    d.Open({server.Name(datei), "SYSDBA", FirebirdTestServer::AdminPasswort, {}});
    db::ScriptRunner(d).Run(sql);
    d.Close();
}

// A server killed at any moment of a restore leaves the database either as it was or restored
// whole, never dropped or half restored.
TEST(SicherungServerTest, ServerKilledDuringTheRestoreLeavesTheDatabaseWhole)
{
    FirebirdTestServer server;
    if (!server.Laeuft())
        GTEST_SKIP() << "Kein Datenbank-Server für den Test: " << server.Grund().toStdString();
    QTemporaryDir tmp;
    const QString datei = server.Ordner() + "/herde.fdb";
    {
        TestDatabase vorlage;
        QString skript =
            "CREATE TABLE T_PRUEF (ID INTEGER NOT NULL PRIMARY KEY, NAME "
            "VARCHAR(40));\n";
        for (int i = 1; i <= 500; ++i)
            skript += QStringLiteral("INSERT INTO T_PRUEF VALUES (%1, 'Kuh %1');\n").arg(i);
        db::ScriptRunner(vorlage.Db()).Run(skript);
        vorlage.Db().Close();
        ASSERT_TRUE(QFile::copy(vorlage.Path(), datei));
    }
    const QString ini = tmp.filePath("Bovantis.ini");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Palm]\nHotsyncAction=1\n");
    }
    const auto sicherung = [&] {
        TBackupRestore br;
        br.SetDatenbank(server.Name(datei));
        br.AdminPasswort = FirebirdTestServer::AdminPasswort;
        br.IniDatei = ini;
        br.IniDateiname = "Bovantis.ini";
        return br;
    };
    TBackupRestore br = sicherung();
    br.Archiv = tmp.filePath("herde.zip");
    br.Sichern();

    // How many progress dots one whole restore makes, into a new file.
    const QString probe = server.Ordner() + "/probe.fdb";
    int punkteEinesLaufs = 0;
    {
        TBackupRestore r = sicherung();
        r.SetDatenbank(server.Name(probe));
        r.Archiv = br.Archiv;
        r.OnFortschritt = [&](const QString& text) { punkteEinesLaufs += text == "..."; };
        r.Ruecksichern(false);
    }
    ASSERT_GE(punkteEinesLaufs, 4);

    ASSERT_EQ(Zeilen(server, probe), 500);
    // Killed in the middle of the restore, and where a second restore over the database would be
    // half done.
    for (const int beiPunkt : {punkteEinesLaufs / 2, punkteEinesLaufs + punkteEinesLaufs / 2}) {
        SCOPED_TRACE(beiPunkt);
        Ausfuehren(server, datei, "DELETE FROM T_PRUEF WHERE ID > 100;\n");
        ASSERT_EQ(Zeilen(server, datei), 100);
        TBackupRestore r = sicherung();
        r.Archiv = br.Archiv;
        int punkte = 0;
        bool abgeschossen = false;
        r.OnFortschritt = [&](const QString& text) {
            if (text == "..." && ++punkte == beiPunkt) {
                server.Abschiessen();
                abgeschossen = true;
            }
        };
        bool zurueck = true;
        try {
            r.Ruecksichern(false);
        } catch (const EBackupError& e) {
            zurueck = false;
            EXPECT_FALSE(e.Beenden) << e.what();
        }
        if (abgeschossen) {
            ASSERT_TRUE(server.Starten());
        }
        if (beiPunkt < punkteEinesLaufs) {
            EXPECT_TRUE(abgeschossen && !zurueck);
        }
        EXPECT_EQ(Zeilen(server, datei), zurueck ? 500 : 100);
        EXPECT_EQ(QDir(server.Ordner()).entryList({"herde.rueckladen-*"}, QDir::Files),
                  QStringList());
    }
}

}  // namespace
