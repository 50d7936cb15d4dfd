#include <Grundeinstellungen.h>

#include <Database.h>
#include <Error.h>
#include <EventListener.h>
#include <Query.h>
#include <Transaction.h>

#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QCoreApplication>
#include <QTest>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QDate Heute(2026, 12, 10);

void ausfuehren(db::Database& datenbank, const QString& sql)
{
    db::Transaction tr(datenbank);
    tr.Start();
    {
        db::Query q(tr, sql);
        q.Execute();
    }
    tr.Commit();
}

void einfuegen(db::Database& datenbank, const std::vector<std::pair<QString, QString>>& zeilen)
{
    db::Transaction tr(datenbank);
    tr.Start();
    {
        db::Query q(tr, "INSERT INTO T_EINSTELLUNGEN (NAME, WERT) VALUES (:NAME, :WERT)");
        for (const auto& [name, wert] : zeilen) {
            q.Param("NAME").SetString(name);
            q.Param("WERT").SetString(wert);
            q.Execute();
        }
    }
    tr.Commit();
}

// The committed value of a row as another workstation sees it; nothing when the row is missing.
std::optional<QString> gespeichert(db::Database& datenbank, const QString& name)
{
    db::Transaction tr(datenbank);
    tr.Start();
    db::Query q(tr, "SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = :NAME");
    q.Param("NAME").SetString(name);
    q.Open();
    if (q.Eof())
        return std::nullopt;
    return q.Field(0).AsString();
}

class EinstellungenDatenbankTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.filePath("xdg-data").toLocal8Bit()};
    TestDatabase t;
    db::Database zweite;  // another workstation

    void SetUp() override { zweite.Open(t.Params()); }

    std::unique_ptr<TEinstellungen> neu(db::Database& datenbank, const QString& ordner = "a")
    {
        TEinstellungen::Umgebung u;
        u.exeName = "/opt/bovantis/ZR_Bovantis";
        u.benutzerName = "maier";
        u.heute = [] { return Heute; };
        auto e = std::make_unique<TEinstellungen>(&datenbank, tmp.filePath(ordner), u);
        e->Laden();
        return e;
    }
};

}  // namespace

TEST_F(EinstellungenDatenbankTest, SettingsRoundTripThroughTheBracketAndVerwerfenDiscards)
{
    auto e = neu(t.Db());
    EXPECT_EQ(e->Werte().value("Unterversion"), "29");
    EXPECT_EQ(e->GetBetriebName(), "");

    e->Bearbeiten();
    e->SetBetriebName("  Hof Müller  ");
    e->SetBetriebFlaeche(12.75);
    e->SetGVLinie(false);
    e->SetKNRLaenge(6);
    e->SetStandardwaehrung(2);
    e->SetZeitraumBerechnungen(2);
    e->SetMeldungAuto(false);
    e->SetEigenbesamungStationen(" ;GRUB;RUW; ");
    e->SetTerminTraechtigUntersuchenVorher(9);
    e->SetEigenbesamungString(8, "Kunde", "  K-17 ");
    e->SetEigenbesamungInteger(4, "Zaehler", 3);
    e->SetBesamungsscheinNummer(4, 1234);
    // The settings dialog opens the bracket a second time: it stays open and keeps the values.
    e->Bearbeiten();
    EXPECT_EQ(e->GetBetriebName(), "Hof Müller");
    EXPECT_EQ(gespeichert(zweite, "Betrieb-Name"), std::nullopt);
    e->Speichern();
    EXPECT_FALSE(e->InBearbeitung());

    auto andere = neu(zweite, "b");
    EXPECT_EQ(andere->GetBetriebName(), "Hof Müller");
    EXPECT_EQ(andere->GetBetriebFlaeche(), 12.75);
    EXPECT_FALSE(andere->GetGVLinie());
    EXPECT_EQ(andere->GetKNRLaenge(), 6);
    EXPECT_EQ(andere->GetStandardwaehrung(), 2);
    EXPECT_EQ(andere->ZeitraumBeginn(), Heute.addDays(-1825));
    EXPECT_FALSE(andere->GetMeldungAuto());
    EXPECT_EQ(andere->GetEigenbesamungStationen(), "GRUB;RUW");
    EXPECT_EQ(andere->GetTerminTraechtigUntersuchenVorher(), 9);
    EXPECT_EQ(andere->GetEigenbesamungString(8, "Kunde"), "K-17");
    EXPECT_EQ(andere->GetEigenbesamungInteger(4, "Zaehler"), 3);
    EXPECT_EQ(andere->GetBesamungsscheinNummer(4), 1234);
    EXPECT_EQ(gespeichert(zweite, "Eigenbesamung-RUW-Kunde"), "K-17");
    EXPECT_EQ(gespeichert(zweite, "Besamungsschein-Nummer-MEGGLE"), "1234");
    // Stored as every workstation reads it, whatever its locale.
    EXPECT_EQ(gespeichert(zweite, "Betrieb-Fläche"), "12.75");
    EXPECT_EQ(gespeichert(zweite, "GV-Linie"), "F");
    EXPECT_EQ(gespeichert(zweite, "Standardwährung"), "ATS");
    EXPECT_EQ(gespeichert(zweite, "Zeitraum-Berechnungen"), "5");
    EXPECT_EQ(gespeichert(zweite, "MeldungAuto"), "F");

    e->Bearbeiten();
    e->SetBetriebName("Anders");
    e->SetBetriebPLZ("12345");
    EXPECT_EQ(e->GetBetriebName(), "Anders");
    e->Verwerfen();
    EXPECT_FALSE(e->InBearbeitung());
    EXPECT_EQ(e->GetBetriebName(), "Hof Müller");
    EXPECT_EQ(e->GetBetriebPLZ(), "");
    EXPECT_EQ(gespeichert(zweite, "Betrieb-Name"), "Hof Müller");
    EXPECT_EQ(gespeichert(zweite, "Betrieb-PLZ"), std::nullopt);

    // An object that goes away with an open bracket rolls it back.
    e->Bearbeiten();
    e->SetBetriebOrt("Nirgendwo");
    e.reset();
    EXPECT_EQ(gespeichert(zweite, "Betrieb-Ort"), std::nullopt);
}

TEST_F(EinstellungenDatenbankTest, AChangeOnAnotherWorkstationReloadsAndKeepsTheOpenBracket)
{
    auto e = neu(t.Db());
    // The data module's wiring: CHANGE_EINSTELLUNGEN reloads the settings.
    db::EventListener ereignisse(t.Db());
    ereignisse.SetEvents({"CHANGE_EINSTELLUNGEN"});
    QObject::connect(&ereignisse, &db::EventListener::EventAlert, [&] { e->Laden(); });
    ereignisse.Register();

    e->Bearbeiten();
    e->SetBetriebOrt("Noch offen");

    auto andere = neu(zweite, "b");
    andere->Bearbeiten();
    andere->SetBetriebName("Von nebenan");
    andere->Speichern();

    EXPECT_TRUE(QTest::qWaitFor([&] { return e->GetBetriebName() == "Von nebenan"; }, 10000));
    EXPECT_EQ(e->GetBetriebName(), "Von nebenan");
    EXPECT_EQ(e->GetBetriebOrt(), "Noch offen");
    EXPECT_TRUE(e->InBearbeitung());
    EXPECT_EQ(gespeichert(zweite, "Betrieb-Ort"), std::nullopt);

    e->Verwerfen();
    EXPECT_EQ(e->GetBetriebOrt(), "");
    EXPECT_EQ(e->GetBetriebName(), "Von nebenan");
    EXPECT_EQ(gespeichert(zweite, "Betrieb-Ort"), std::nullopt);
}

TEST_F(EinstellungenDatenbankTest, ValuesAsOlderWorkstationsStoredThemReadByTheirRules)
{
    // A new database names its appointment list; these values stand in its place.
    ausfuehren(t.Db(), "DELETE FROM T_EINSTELLUNGEN WHERE NAME = 'Termin-Liste'");
    einfuegen(t.Db(), {{"KNRLaenge", "4"},
                       {"Standardwährung", "CHF"},
                       {"Zeitraum-Berechnungen", "7"},
                       {"GV-Linie", "t"},
                       {"Status-Trocken-Setzen", ""},
                       {"Betrieb-Fläche", "4,5"},
                       {"Kraftfutterliste-Fettgrenzwert", "viel"},
                       {"HIT-Meldung-automatisch", "F"},
                       {"Kraftfutterliste-Effektivitaet-1", "1.5"},
                       {"Kraftfutterliste-Vorhaltung-0-3", "0,8"},
                       {"Termin-Liste", "x"}});
    auto e = neu(t.Db());
    EXPECT_EQ(e->GetKNRLaenge(), 3);
    EXPECT_EQ(e->GetStandardwaehrung(), 0);
    EXPECT_EQ(e->GetZeitraumBerechnungen(), 0);
    EXPECT_EQ(e->ZeitraumBeginn(), QDate(1900, 1, 1));
    EXPECT_FALSE(e->GetGVLinie());
    EXPECT_TRUE(e->GetStatusTrockenSetzen());
    EXPECT_EQ(e->GetBetriebFlaeche(), 4.5);
    EXPECT_EQ(e->GetKraftfutterlisteFettgrenzwert(), 4.5);
    EXPECT_EQ(e->GetTerminListe(), 0);
    // The switch of older settings dialogs counts until the one key is written.
    EXPECT_FALSE(e->GetMeldungAuto());
    e->Bearbeiten();
    e->SetMeldungAuto(true);
    e->Speichern();
    EXPECT_TRUE(e->GetMeldungAuto());
    // A premises without a value of its own takes the general one of its kind.
    EXPECT_EQ(e->GetKraftfutterEffektivitaet(1, 7), 1.5);
    EXPECT_EQ(e->GetKraftfutterEffektivitaet(0, 7), 2.0);
    EXPECT_EQ(e->GetKraftfutterVorhaltung(0, 3), 0.8);
    EXPECT_EQ(e->GetKraftfutterVorhaltung(0, 4), 0.0);
}

TEST_F(EinstellungenDatenbankTest, WhatTheDatabaseCannotStoreIsRefusedAndChangesNothing)
{
    auto e = neu(t.Db());
    EXPECT_THROW(e->SetStandardListen("1;2"), std::runtime_error);
    e->Bearbeiten();
    e->SetStandardListen("1;2");
    try {
        e->SetStandardListen(QString(1001, '7'));
        FAIL() << "no exception";
    } catch (const std::runtime_error& ex) {
        EXPECT_EQ(QString::fromUtf8(ex.what()),
                  "Der Wert der Einstellung >Standard-Listen< ist mit 1001 Zeichen zu lang; "
                  "gespeichert werden höchstens 1000 Zeichen.");
    }
    EXPECT_THROW(e->SetBetriebName("Hof €"), db::Error);
    EXPECT_EQ(e->GetStandardListen(), "1;2");
    EXPECT_EQ(e->GetBetriebName(), "");
    e->Speichern();
    EXPECT_EQ(gespeichert(zweite, "Standard-Listen"), "1;2");
}

TEST_F(EinstellungenDatenbankTest, BreedsHoldingsAndStoredListsForTheWindows)
{
    // The lists of this test instead of the standard lists of a new database.
    ausfuehren(t.Db(), "DELETE FROM T_LISTEN WHERE ID > 0");
    ausfuehren(t.Db(), "DELETE FROM T_EINSTELLUNGEN WHERE NAME = 'Termin-Liste'");
    ausfuehren(t.Db(), "UPDATE T_RASSEN SET VERWENDET = 'F'");
    ausfuehren(t.Db(),
               "INSERT INTO T_RASSEN (ID, BEZEICHNUNG, VERWENDET, RASSE_KURZ) "
               "VALUES (9001, 'Rotes Höhenvieh', 'T', 'RHV')");
    ausfuehren(t.Db(), "UPDATE T_BETRIEBSGRUPPEN SET NUMMER = '276090000000003'");
    ausfuehren(t.Db(),
               "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) "
               "VALUES (901, 'Stall B', '276090000000002')");
    ausfuehren(t.Db(),
               "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) "
               "VALUES (902, 'Stall A', '276090000000001')");
    for (const char* werte :
         {"11, 'Trockensteher', 'T', 2, NULL, NULL", "12, 'Abkalbungen', 'T', 1, 4, 2",
          "13, 'Zellzahl', 'F', NULL, 7, 1", "-5, 'Intern', 'T', 0, 1, 0"})
        ausfuehren(t.Db(), QStringLiteral("INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE, "
                                          "MENUE_REIHUNG, SYMBOL, SYMBOL_REIHUNG) VALUES (%1)")
                               .arg(QLatin1String(werte)));
    auto e = neu(t.Db());
    ASSERT_FALSE(e->Rassen().isEmpty());
    EXPECT_EQ(e->Rassen().last(), "RHV=Rotes Höhenvieh");
    EXPECT_EQ(e->RassenVerwendet(), QStringList{"RHV=Rotes Höhenvieh"});
    EXPECT_EQ(e->Betriebsgruppen(),
              (QStringList{"276090000000001", "276090000000002", "276090000000003"}));

    QStringList menue, symbole;
    e->BenutzerListenLaden(menue, symbole);
    EXPECT_EQ(menue, (QStringList{"12;4;Abkalbungen", "11;;Trockensteher"}));
    EXPECT_EQ(symbole, (QStringList{"13;7;Zellzahl", "12;4;Abkalbungen"}));

    EXPECT_EQ(e->TerminListeIndex(), -1);
    EXPECT_EQ(e->TerminListenLaden(), (QStringList{"Abkalbungen", "Trockensteher", "Zellzahl"}));
    EXPECT_EQ(e->TerminListenIDs(), (QList<int>{12, 11, 13}));
    EXPECT_EQ(e->TerminListeIndex(), 0);
    e->Bearbeiten();
    e->SetTerminListeIndex(2);
    e->Speichern();
    EXPECT_EQ(e->GetTerminListe(), 13);
    EXPECT_EQ(e->TerminListeIndex(), 2);
    EXPECT_THROW(e->SetTerminListeIndex(3), std::out_of_range);
}
