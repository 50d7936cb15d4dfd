#include <FGrundeinstellungenDaten.h>
#include <Grundeinstellungen.h>

#include <Field.h>
#include <Query.h>
#include <Transaction.h>

#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace GrundeinstellungenDaten;

namespace {

TEST(GrundeinstellungenStationsliste, EntfernenNimmtGenauDenCode)
{
    struct Fall {
        const char* liste;
        const char* code;
        const char* ergebnis;
    };
    const Fall faelle[] = {
        {"HUBER;RUW;MEGGLE", "RUW", "HUBER;MEGGLE"},
        // A code from an older version that contains the station's code stays whole.
        {"XRUWX;RUW", "RUW", "XRUWX"},
        {"RUWA;RUW;GRUB", "RUW", "RUWA;GRUB"},
        {"RUW;RUW", "RUW", "RUW"},
        {"MEGGLE", "MEGGLE", ""},
        {";MEGGLE;;GRUB;", "MEGGLE", "GRUB"},
        {"GRUB", "RUW", "GRUB"},
        {"", "RUW", ""},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.liste);
        EXPECT_EQ(StationEntfernen(f.liste, f.code), f.ergebnis);
    }
}

TEST(GrundeinstellungenStationsliste, AnhaengenMitSemikolon)
{
    EXPECT_EQ(StationAnhaengen("", "RUW"), "RUW");
    EXPECT_EQ(StationAnhaengen("GRUB", "RUW"), "GRUB;RUW");
    EXPECT_EQ(StationAnhaengen("GRUB;;", "RUW"), "GRUB;RUW");
}

TEST(GrundeinstellungenRegeln, MittelWirdHalbAufGerundet)
{
    EXPECT_FALSE(MittelGerundet({}).has_value());
    EXPECT_EQ(MittelGerundet({280, 281}), 281);  // 280.5
    EXPECT_EQ(MittelGerundet({280, 280, 281}), 280);
    EXPECT_EQ(MittelGerundet({280, 281, 281}), 281);
    EXPECT_EQ(MittelGerundet({7}), 7);
}

TEST(GrundeinstellungenRegeln, ZeilenwerteSindGanzzahlen)
{
    EXPECT_EQ(ZeilenWert("300"), 300);
    EXPECT_EQ(ZeilenWert("12,7"), 12);
    EXPECT_EQ(ZeilenWert(""), 0);
    EXPECT_EQ(ZeilenWert("abc"), 0);
    EXPECT_TRUE(JaNeinWert("1"));
    EXPECT_FALSE(JaNeinWert("0"));
    EXPECT_FALSE(JaNeinWert(""));
}

TEST(GrundeinstellungenRegeln, EigenbesamungZeilenNachMeldeart)
{
    // Index 2 and 9 report like Höchstädt, 8 like RUW, the others like Triesdorf.
    const auto namen = [](int station) {
        QStringList n;
        for (const EigenbesamungZeile& z : EigenbesamungZeilen(station))
            n << z.name;
        return n;
    };
    const QStringList email{"EMail-From",     "EMail-To",       "EMail-Host",
                            "EMail-Username", "EMail-Password", "EMail-PromtUser"};
    EXPECT_EQ(namen(2), QStringList({"Betriebsnummer", "Besamer"}) + email);
    EXPECT_EQ(namen(9), QStringList({"Betriebsnummer", "Besamer"}) + email);
    EXPECT_EQ(namen(8), QStringList({"Betriebsnummer", "EBBPersNr", "RegionalNr"}) + email);
    EXPECT_EQ(namen(4), QStringList({"Betriebsnummer", "Computeraussenstelle", "StaendigerBesamer",
                                     "TatsVertreter", "Vertragsbesamer"}) +
                            email);
    EXPECT_EQ(EigenbesamungZeilen(8)[0].max, 999999);
    EXPECT_EQ(EigenbesamungZeilen(4)[0].max, 999999999);
}

// The "Berechnen" queries on a small herd.
class GrundeinstellungenBerechnenTest : public ::testing::Test {
protected:
    void SetUp() override { tr.Start(); }

    void Ausfuehren(const QString& sql)
    {
        db::Query q(tr, sql);
        q.Execute();
    }
    void Tier(int id, const char* geschlecht, const char* gebdat, const char* status = "J",
              const char* verkauft = nullptr)
    {
        Ausfuehren(QStringLiteral("INSERT INTO T_STAMMDATEN (ID, NUMMER, GEBDAT, GESCHLECHT, "
                                  "STATUS, RASSE, VERKAUFT) VALUES (%1, 'DE %1', '%2', '%3', '%4', "
                                  "1, %5)")
                       .arg(id)
                       .arg(gebdat, geschlecht, status,
                            verkauft ? QStringLiteral("'%1'").arg(verkauft) : "NULL"));
    }
    void Besamung(int id, int tier, const char* datum)
    {
        Ausfuehren(QStringLiteral("INSERT INTO T_BESAMUNGEN (ID, TIER, DATUM, NR) "
                                  "VALUES (%1, %2, '%3', 1)")
                       .arg(id)
                       .arg(tier)
                       .arg(datum));
    }
    void Kalbung(int id, int tier, const char* datum)
    {
        Ausfuehren(QStringLiteral("INSERT INTO T_KALBUNGEN (ID, TIER, DATUM, GESCHLECHT) "
                                  "VALUES (%1, %2, '%3', 'W')")
                       .arg(id)
                       .arg(tier)
                       .arg(datum));
    }

    TestDatabase t;
    db::Transaction tr{t.Db()};
    const QDate ab{2020, 1, 1};
};

TEST_F(GrundeinstellungenBerechnenTest, OhneDatenKeinWert)
{
    EXPECT_FALSE(Berechnen::SollKalben(tr, 1, ab).has_value());
    EXPECT_FALSE(Berechnen::MKaelberVerkaufen(tr, ab).has_value());
    EXPECT_FALSE(Berechnen::KalbBesamen(tr, ab).has_value());
    EXPECT_FALSE(Berechnen::KuhBesamen(tr, ab).has_value());
    EXPECT_FALSE(Berechnen::MastVerkaufen(tr, ab).has_value());
}

TEST_F(GrundeinstellungenBerechnenTest, SollKalbenNimmtDieLetzteBesamungImFenster)
{
    Tier(1, "W", "2018-01-01");
    // Two inseminations 300 and 280 days before the calving: the later one took.
    Besamung(1, 1, "2020-03-06");  // 300 days before
    Besamung(2, 1, "2020-03-26");  // 280 days before
    Kalbung(1, 1, "2020-12-31");
    Tier(2, "W", "2018-01-01");
    Besamung(3, 2, "2020-03-20");  // 283 days before
    Kalbung(2, 2, "2020-12-28");
    // (280 + 283) / 2 = 281.5, half up.
    EXPECT_EQ(Berechnen::SollKalben(tr, 1, ab), 282);
    EXPECT_FALSE(Berechnen::SollKalben(tr, 2, ab).has_value());
    EXPECT_FALSE(Berechnen::SollKalben(tr, 1, QDate(2021, 1, 1)).has_value());
}

TEST_F(GrundeinstellungenBerechnenTest, VerkaufUndErsteBesamung)
{
    Tier(1, "M", "2020-01-01", "J", "2020-02-12");  // 42 days
    Tier(2, "M", "2020-01-01", "J", "2020-02-15");  // 45 days
    Tier(3, "M", "2020-01-01", "M", "2021-05-15");  // fattening: 500 days
    Tier(4, "W", "2020-01-01");
    Besamung(1, 4, "2021-05-01");  // 486 days after birth
    Besamung(2, 4, "2021-05-20");
    Kalbung(1, 4, "2022-02-10");
    Besamung(3, 4, "2022-03-27");  // 45 days after calving
    EXPECT_EQ(Berechnen::MKaelberVerkaufen(tr, ab), 43);
    EXPECT_EQ(Berechnen::MastVerkaufen(tr, ab), 500);
    EXPECT_EQ(Berechnen::KalbBesamen(tr, ab), 486);
    EXPECT_EQ(Berechnen::KuhBesamen(tr, ab), 45);
}

TEST_F(GrundeinstellungenBerechnenTest, StationMitPortionen)
{
    Ausfuehren("INSERT INTO T_BULLEN_STAMM (ID, NAME, RASSE) VALUES (1, 'Bulle', 1)");
    Ausfuehren("INSERT INTO T_CONTAINER_LIEFERUNG (ID, DATUM) VALUES (1, '2021-01-01')");
    Ausfuehren(
        "INSERT INTO T_CONTAINER_PORTION (ID, LIEFERUNG, BULLE, STATION) "
        "VALUES (1, 1, 1, 'RUW')");
    EXPECT_EQ(StationPortionen(tr, "RUW"), 1);
    EXPECT_EQ(StationPortionen(tr, "GRUB"), 0);
}

// The dialog's data object on its own: what it posts stays in its transaction until Commit.
class GrundeinstellungenDatenObjektTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TEinstellungen::Umgebung u;
        u.exeName = "/opt/bovantis/ZR_Bovantis";
        u.benutzerName = "maier";
        e = std::make_unique<TEinstellungen>(&t.Db(), tmp.filePath("daten"), u);
        e->Laden();
    }
    // What another workstation reads: committed rows only.
    QString Wert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine>") : q.Field(0).AsString().trimmed();
    }

    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.filePath("xdg-data").toLocal8Bit()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", tmp.filePath("xdg-config").toLocal8Bit()};
    TestDatabase t;
    std::unique_ptr<TEinstellungen> e;
};

TEST_F(GrundeinstellungenDatenObjektTest, SchluesselGiltErstNachCommit)
{
    const QString alle =
        "SELECT LIST(BEZEICHNUNG || '/' || BOVANTIS || '/' || KALB6M || '/' || "
        "M6M1J || '/' || MUTTERKUH, ',') FROM (SELECT * FROM T_GV_SCHLUESSEL "
        "ORDER BY ID)";
    const QString vorher = Wert(alle);
    {
        TGrundeinstellungenDaten d(*e, t.Db());
        TGrundeinstellungenDaten::Neu(d.GVSchluessel(), 0);
        ASSERT_TRUE(d.GVSchluesselAnhaengen(1).has_value());
    }
    EXPECT_EQ(Wert(alle), vorher);

    TGrundeinstellungenDaten d(*e, t.Db());
    TGrundeinstellungenDaten::Neu(d.GVSchluessel(), 0);
    const std::optional<int> id = d.GVSchluesselAnhaengen(1);
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(d.GVSchluessel().FieldByName("BEZEICHNUNG").AsString(), "Neuer Eintrag 2");
    // Decimal comma or point, two places; what is no number counts 0; missing factors 0 too.
    ASSERT_TRUE(d.GVSchluesselSetzen(*id, "Mast", {" 1,237", "abc", "0.5"}));
    EXPECT_EQ(Wert(alle), vorher);
    d.Commit();
    EXPECT_EQ(Wert(alle).toStdString(), (vorher + ",Mast/1.24/0.00/0.50/0.00").toStdString());
}

TEST_F(GrundeinstellungenDatenObjektTest, RassenwerteLassenDenAktuellenDatensatz)
{
    TGrundeinstellungenDaten d(*e, t.Db());
    TGrundeinstellungenDaten::Neu(d.Rassen(), 0);
    ASSERT_FALSE(d.Rassen().IsEmpty());
    const int id = d.Rassen().FieldByName("ID").AsInteger();
    EXPECT_THROW(d.RasseWerteSetzen(-7, {{"SOLL_KALBEN", 290}}), std::runtime_error);
    ASSERT_TRUE(d.RasseWerteSetzen(id, {{"SOLL_KALBEN", 290}, {"NAECHSTES_RINDERN", 22}}));
    EXPECT_EQ(d.Rassen().FieldByName("ID").AsInteger(), id);
    const QString werte =
        QStringLiteral("SELECT SOLL_KALBEN || '/' || NAECHSTES_RINDERN FROM T_RASSEN WHERE ID = %1")
            .arg(id);
    EXPECT_EQ(Wert(werte), "281/21");
    d.Commit();
    EXPECT_EQ(Wert(werte), "290/22");
}

}  // namespace
