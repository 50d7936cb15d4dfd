#include <DBUpdateFenster.h>
#include <Grundeinstellungen.h>
#include <ProgInit.h>

#include <Database.h>
#include <Protokoll.h>
#include <Zip.h>
#include <Query.h>
#include <Transaction.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>

#include <ProgrammDatenbank.h>
#include <TestDatabase.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DBUpdateStartTest : public ::testing::Test {
protected:
    TProgInit::Umgebung Umgebung(QStringList argumente)
    {
        TProgInit::Umgebung u = TProgInit::StandardUmgebung();
        u.argumente = std::move(argumente);
        u.benutzerName = [] { return QStringLiteral("tester"); };
        u.jetzt = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 0)); };
        return u;
    }
    QString Sql(const QString& sql, bool lesen)
    {
        db::Database d;
        d.Open(TestDatabase::Params(datenbank.pfad));
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, sql);
        QString wert;
        // A result set and an insert's RETURNING values alike.
        q.Execute();
        if (lesen)
            wert = q.Field(0).AsString();
        tr.Commit();
        return wert;
    }

    QTemporaryDir tmp;
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", tmp.path().toLocal8Bit()};
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
    ProgrammDatenbank datenbank{tmp.path()};
};

}  // namespace

// The program's own update archive has no step for data before 1.27: the start stops with the
// name of the missing step and the offer of a program update, and the data stay as they are.
TEST_F(DBUpdateStartTest, AnOutdatedDatabaseStopsTheStartWithTheUpdateOffer)
{
    for (const char* schalter : {"-Hinweise", "-DBUpdate"}) {
        SCOPED_TRACE(schalter);
        Sql("UPDATE T_EINSTELLUNGEN SET WERT = '26' WHERE NAME = 'Unterversion'", false);
        TProgInit prog(Umgebung({schalter}));
        MessageBoxScript script;
        script.AnswerWith(Tools::mrNo);
        EXPECT_FALSE(prog.InitProgramm());
        ASSERT_EQ(script.Shown().size(), 1);
        const Tools::ShownMessage& m = script.Shown()[0];
        EXPECT_TRUE(
            m.text.startsWith("Fehler während des Datenupdates.\rDie Datei "
                              "upd-1-26-1-27-1.sql wurde nicht gefunden.\r"))
            << m.text.toStdString();
        EXPECT_TRUE(
            m.text.endsWith("Wollen Sie das Update jetzt direkt starten? Eine "
                            "Internet-Verbindung\rmuss vorhanden sein!"));
        EXPECT_EQ(m.type, Tools::mtError);
        EXPECT_EQ(m.buttons, Tools::mbYesNo);
        EXPECT_TRUE(prog.UpdateDatei().isEmpty());
        EXPECT_EQ(Sql("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion'", true), "26");
    }
}

// The program's own update archive brings a database as 1.27 left it to the current version: ear
// tags get their printed form, a number kept twice is shown as an appointment, and a booked
// register entry outlives its animal when the program's user deletes it.
TEST_F(DBUpdateStartTest, ADatabaseAtOneTwentySevenIsUpdatedByTheShippedArchiveAtTheStart)
{
    {
        db::Database d;
        d.Open(TestDatabase::Params(datenbank.pfad));
        SchemaVersion127(d);
    }
    const auto tier = [&](const char* nummer, const char* name) {
        return Sql(QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, "
                                  "RASSE) VALUES ('%1', '%2', DATE '2020-03-01', 'W', 1) "
                                  "RETURNING ID")
                       .arg(QLatin1String(nummer), QLatin1String(name)),
                   true);
    };
    tier("DE 01 111 11111", "Anna");
    tier("DE0111111111", "Berta");
    const QString dora = tier("de0122222222", "Dora");
    const QString leistung =
        Sql("INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, ARZNEIMITTEL) "
            "VALUES ('B', 'Penicillin') RETURNING ID",
            true);
    Sql(QStringLiteral("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (%1, %2)")
            .arg(dora, leistung),
        false);
    Sql(QStringLiteral("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM) VALUES (%1, DATE "
                       "'2024-03-02')")
            .arg(leistung),
        false);

    TProgInit prog(Umgebung({"-Hinweise"}));
    MessageBoxScript script;
    ASSERT_TRUE(prog.InitProgramm());
    EXPECT_TRUE(script.Shown().isEmpty());
    EXPECT_EQ(Sql("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion'", true), "29");
    EXPECT_EQ(Sql("SELECT LIST(NUMMER || ' ' || NAME, ', ') FROM (SELECT NUMMER, NAME FROM "
                  "T_STAMMDATEN ORDER BY ID)",
                  true),
              "DE 01 111 11111 Anna, DE0111111111 Berta, DE 01 222 22222 Dora");
    EXPECT_EQ(Sql("SELECT LIST(TEXT) FROM T_TERMINE", true), "Ohrmarke doppelt: DE 01 111 11111");
    EXPECT_EQ(QDir(tmp.filePath("Bovantis")).entryList({"*.vor-update-*"}, QDir::Files),
              QStringList());

    Sql(QStringLiteral("EXECUTE PROCEDURE P_DO_TIER_LOESCHEN(%1)").arg(dora), false);
    EXPECT_EQ(Sql("SELECT LIST(COALESCE(TIERID, 0) || ' ' || NAME || ' ' || IDENTITAET) FROM "
                  "P_GET_BESTANDSBUCH(DATE '2024-03-01', DATE '2024-03-31')",
                  true),
              "0 Dora DE 01 222 22222");
}

TEST_F(DBUpdateStartTest, ACurrentDatabaseGoesOnUnlessOnlyTheUpdateWasAskedFor)
{
    for (const auto& [schalter, weiter] :
         std::vector<std::pair<const char*, bool>>{{"-Hinweise", true}, {"-DBUpdate", false}}) {
        SCOPED_TRACE(schalter);
        TProgInit prog(Umgebung({schalter}));
        MessageBoxScript script;
        EXPECT_EQ(prog.InitProgramm(), weiter);
        EXPECT_TRUE(script.Shown().isEmpty());
    }
}

TEST(DBUpdateFensterTest, TheProgressWindowShowsTheStepAndHowFarTheChainIs)
{
    TfrmDBUpdate fenster;
    fenster.Anzeigen("Schritt 27: Version 1.23 → 1.24, Teil 1 (upd-1-23-1-24-1.sql)", 3, 4);
    EXPECT_TRUE(fenster.isVisible());
    EXPECT_EQ(fenster.Text()->text(),
              "Schritt 27: Version 1.23 → 1.24, Teil 1 (upd-1-23-1-24-1.sql)");
    EXPECT_EQ(fenster.Balken()->maximum(), 4);
    EXPECT_EQ(fenster.Balken()->value(), 3);
    // The whole step text fits.
    EXPECT_GE(fenster.Text()->width(), fenster.Text()->sizeHint().width());
    Bildschirmfoto(fenster, "dbupdate-fortschritt.png");
}

// The program's own way: its connection routine as the administrator, the backup before the
// step, and the failure shown with the protocol of the run.
TEST_F(DBUpdateStartTest, AFailedStepIsShownWithItsProtocolAndTheDataAreAsBefore)
{
    Sql("UPDATE T_EINSTELLUNGEN SET WERT = '26' WHERE NAME = 'Unterversion'", false);
    const QString archiv = tmp.filePath("dbupd.db");
    {
        const QString skript = tmp.filePath("upd-1-26-1-27-1.sql");
        QFile f(skript);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("CREATE TABLE T_NEU (ID INTEGER);\n-=#=-\nINSERT INTO T_FEHLT VALUES (1);\n");
        f.close();
        TZip zip;
        zip.SetFilename(archiv);
        zip.FileList = {skript};
        zip.Add();
    }
    TEinstellungen einstellungen(nullptr, tmp.filePath("Bovantis/"));
    TDMUpdate::Umgebung u = DBUpdateUmgebung(einstellungen);
    u.archiv = archiv;
    TfrmDBUpdate fenster;
    u.fortschritt = [&](const QString& text, int fertig, int gesamt) {
        fenster.Anzeigen(text, fertig, gesamt);
    };
    QStringList protokoll;  // the texts of the protocol windows, each closed at once
    MessageBoxScript protokollSchliessen;
    protokollSchliessen.EveryWindow<TfrmProtokoll>([&](TfrmProtokoll& p) {
        protokoll << p.Memo()->toPlainText();
        p.accept();
    });
    MessageBoxScript script;
    script.AnswerWith(Tools::mrOk);
    TDMUpdate update(u);
    EXPECT_FALSE(update.PruefeDatenbankVersion());
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(script.Shown()[0].type, Tools::mtError);
    EXPECT_TRUE(script.Shown()[0].text.startsWith(
        "Das Datenupdate ist fehlgeschlagen in\rSchritt 30: Version 1.26 → 1.27, Teil 1 "
        "(upd-1-26-1-27-1.sql):\r\rFehler im Skriptblock 2 (Zeile 3):"))
        << script.Shown()[0].text.toStdString();
    for (const char* zeile :
         {"Datenbankversion 1.26, Ziel 1.29", "Sicherung vor Schritt 30", "Block 2 von 2",
          "Datenbank auf den Stand vor Schritt 30 zurücksetzen"})
        EXPECT_TRUE(protokoll.join("\n").contains(zeile)) << zeile << "\n"
                                                          << protokoll.join("\n").toStdString();
    EXPECT_EQ(fenster.Balken()->maximum(), 3);
    EXPECT_EQ(fenster.Balken()->value(), 0);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'T_NEU'", true),
              "0");
    EXPECT_EQ(Sql("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion'", true), "26");
}
