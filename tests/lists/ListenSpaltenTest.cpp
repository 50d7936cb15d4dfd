#include <ListenLayout.h>
#include <ListenSpalten.h>

#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ListenSpalten;

namespace {

LayoutZeile Feld(const QString& feld, const QString& titel, int zeile = 1)
{
    LayoutZeile z;
    z.feld = feld;
    z.titel = titel;
    z.zeile = zeile;
    return z;
}

Umgebung Daten(const QStringList& felder, int clientBreite = 800, int dpi = 96)
{
    return {felder, dpi, clientBreite};
}

QStringList Titel(const Ergebnis& e)
{
    QStringList t;
    for (const Spalte& s : e.spalten)
        t << s.titel;
    return t;
}

QStringList Datenfelder(const Ergebnis& e)
{
    QStringList t;
    for (const Spalte& s : e.spalten)
        t << s.datenfeld;
    return t;
}

TEST(ListenSpaltenTest, ZweiZeiligeSpalten)
{
    const Ergebnis e =
        SpaltenAnlegen({Feld("Q1.NUMMER", "Nummer", 1), Feld("Q1.NAME", "Name", 2),
                        Feld("Q1.GEBDAT", "Geboren", 1), Feld("Q2.RASSE", "Rasse", 2)},
                       Daten({"Q1NUMMER", "Q1NAME", "Q1GEBDAT", "Q2RASSE"}));
    EXPECT_EQ(Datenfelder(e), QStringList({"F0:1;F1:2", "F2:1;F3:2"}));
    EXPECT_EQ(Titel(e), QStringList({"Nummer\rName", "Geboren\rRasse"}));
    ASSERT_EQ(e.werte.size(), 4);
    EXPECT_EQ(e.werte[0], qMakePair(QString("F0"), QString("Q1NUMMER")));
    EXPECT_EQ(e.werte[1], qMakePair(QString("F1"), QString("Q1NAME")));
    EXPECT_EQ(e.werte[3], qMakePair(QString("F3"), QString("Q2RASSE")));
    for (const Spalte& s : e.spalten) {
        EXPECT_FALSE(s.sortierbar);
        EXPECT_EQ(s.zeilen, 2);
    }
    EXPECT_TRUE(e.gestapelteKoepfe);
    EXPECT_EQ(Quellen(e.spalten[1].datenfeld, e.werte), QStringList({"Q1GEBDAT", "Q2RASSE"}));
}

TEST(ListenSpaltenTest, TitelAufDerZweitenKopfzeile)
{
    const Ergebnis e = SpaltenAnlegen({Feld("Q1.NAME", "Name", 2), Feld("Q1.NUMMER", "Nummer")},
                                      Daten({"Q1NAME", "Q1NUMMER"}));
    EXPECT_EQ(Titel(e), QStringList({"\rName", "Nummer"}));
    EXPECT_EQ(Datenfelder(e), QStringList({"Q1NAME", "Q1NUMMER"}));
    EXPECT_TRUE(e.spalten[0].sortierbar);
    EXPECT_FALSE(e.gestapelteKoepfe);
}

TEST(ListenSpaltenTest, PseudoFelder)
{
    LayoutZeile fest = Feld("S.F1", "Hinweis");
    fest.wert = "prüfen";
    LayoutZeile festUnten = Feld("S.F2", "", 2);
    festUnten.wert = "Stall";
    const Ergebnis e = SpaltenAnlegen(
        {Feld("S.N", "Nr."), fest, Feld("Q1.NUMMER", "Nummer"), festUnten, Feld("S.N3", "", 2)},
        Daten({"Q1NUMMER"}));
    // A second line-2 field after a line-2 field starts a column of its own, its title on line 2.
    EXPECT_EQ(Datenfelder(e), QStringList({"S.N", "S.F1", "F3:1;F4:2", "S.N3"}));
    EXPECT_EQ(Titel(e), QStringList({"Nr.", "Hinweis", "Nummer\r", "\r"}));
    EXPECT_EQ(Quellen("S.N", e.werte), QStringList({"S.N"}));
    EXPECT_EQ(Quellen("S.F1", e.werte), QStringList({"S.F1=prüfen"}));
    EXPECT_EQ(Quellen(e.spalten[2].datenfeld, e.werte), QStringList({"Q1NUMMER", "S.F2=Stall"}));
    EXPECT_EQ(Quellen("S.N3", e.werte), QStringList({"S.N3"}));
}

TEST(ListenSpaltenTest, StatusUeberschriftUndVerborgen)
{
    LayoutZeile status = Feld("Q1.STATUSIDX", "Status");
    status.sichtbar = false;
    status.breite = 80;
    LayoutZeile kopf = Feld("Q1.GRUPPE", "Gruppe");
    kopf.ueberschrift = true;
    LayoutZeile tier = Feld("Q1.TIERID", "ID");
    tier.sichtbar = false;
    tier.tierId = true;
    const Ergebnis e =
        SpaltenAnlegen({status, kopf, tier, Feld("Q1.NUMMER", "Nummer")},
                       Daten({"Q1STATUSIDX", "Q1GRUPPE", "Q1TIERID", "Q1NUMMER"}, 800, 120));
    EXPECT_EQ(Datenfelder(e), QStringList({"Q1STATUSIDX", "Q1GRUPPE", "Q1NUMMER"}));
    EXPECT_EQ(e.spalten[0].art, Art::StatusIcon);
    EXPECT_EQ(e.spalten[0].titel, "");
    EXPECT_EQ(e.spalten[0].breite, 25);
    EXPECT_FALSE(e.spalten[0].groesseVeraenderbar);
    EXPECT_EQ(e.ueberschriftSpalte, 1);
    // A built-in list's statement names the column with its source and no dot.
    const Ergebnis eingebaut =
        SpaltenAnlegen({Feld("Q1STATUSIDX", "Status"), Feld("Q1NUMMER", "N")},
                       Daten({"Q1STATUSIDX", "Q1NUMMER"}, 800, 120));
    EXPECT_EQ(eingebaut.spalten[0].art, Art::StatusIcon);
    EXPECT_EQ(eingebaut.spalten[1].art, Art::Normal);
    EXPECT_EQ(e.spalten[1].art, Art::Ueberschrift);
    EXPECT_EQ(e.tierIdFeld, "Q1TIERID");
    EXPECT_FALSE(e.autoBreite);
    EXPECT_TRUE(e.spalten[2].groesseVeraenderbar) << "without automatic width";
}

TEST(ListenSpaltenTest, Breiten)
{
    struct Fall {
        int breite;
        int client;
        int dpi;
        int erwartet;
    };
    const Fall faelle[] = {{100, 800, 96, 100}, {100, 800, 120, 125}, {2000, 800, 96, 750},
                           {750, 800, 96, 750}, {751, 800, 96, 750},  {100, 30, 96, 50},
                           {100, 0, 96, 50},    {100, 120, 96, 70}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.breite << " " << f.client << " " << f.dpi);
        LayoutZeile z = Feld("Q1.NUMMER", "Nummer");
        z.breite = f.breite;
        const Ergebnis e = SpaltenAnlegen({z, Feld("Q1.NAME", "Name")},
                                          Daten({"Q1NUMMER", "Q1NAME"}, f.client, f.dpi));
        EXPECT_EQ(e.spalten[0].breite, f.erwartet);
        EXPECT_EQ(e.spalten[1].breite, -1) << "no width in the layout";
    }
    // A stacked column keeps the larger width.
    LayoutZeile oben = Feld("Q1.NUMMER", "Nummer");
    oben.breite = 60;
    LayoutZeile unten = Feld("Q1.NAME", "Name", 2);
    unten.breite = 90;
    EXPECT_EQ(SpaltenAnlegen({oben, unten}, Daten({"Q1NUMMER", "Q1NAME"})).spalten[0].breite, 90);
    unten.breite = 40;
    EXPECT_EQ(SpaltenAnlegen({oben, unten}, Daten({"Q1NUMMER", "Q1NAME"})).spalten[0].breite, 60);
}

TEST(ListenSpaltenTest, Terminmodus)
{
    const std::vector<LayoutZeile> alle = {Feld("Q1.ERLEDIGEN", "Erl."), Feld("Q1.TERMIN_ID", "ID"),
                                           Feld("Q1.TERMIN", "Termin")};
    const Ergebnis e = SpaltenAnlegen(alle, Daten({"Q1ERLEDIGEN", "Q1TERMIN_ID", "Q1TERMIN"}));
    EXPECT_TRUE(e.terminmodus);
    EXPECT_EQ(e.erledigenFeld, "Q1ERLEDIGEN");
    EXPECT_EQ(e.terminIdFeld, "Q1TERMIN_ID");
    EXPECT_EQ(e.terminFeld, "Q1TERMIN");
    const std::vector<LayoutZeile> zwei(alle.begin(), alle.begin() + 2);
    EXPECT_FALSE(SpaltenAnlegen(zwei, Daten({"Q1ERLEDIGEN", "Q1TERMIN_ID"})).terminmodus);
}

TEST(ListenSpaltenTest, UebrigeFelderUndFormate)
{
    LayoutZeile milch = Feld("Q1.MILCH", "Milch");
    milch.displayFormat = " 0.0 ";
    milch.ausrichtung = "R";
    milch.autobreite = true;
    const Ergebnis e = SpaltenAnlegen({milch}, Daten({"Q1EXTRA", "Q1MILCH"}));
    EXPECT_EQ(Datenfelder(e), QStringList({"Q1MILCH", "Q1EXTRA"}));
    EXPECT_EQ(e.spalten[0].ausrichtung, 'R');
    EXPECT_TRUE(e.autoBreite);
    EXPECT_FALSE(e.spalten[1].groesseVeraenderbar);
    ASSERT_EQ(e.displayFormate.size(), 1);
    EXPECT_EQ(e.displayFormate[0], qMakePair(QString("Q1MILCH"), QString("0.0")));
}

TEST(ListenSpaltenTest, QuellnamenMitMehrAlsZweiZeichenWerdenAbgewiesen)
{
    for (const char* feld : {"Q12.NUMMER", "Q.NUMMER", "1Q.NUMMER", "Q1.", ""}) {
        SCOPED_TRACE(feld);
        try {
            SpaltenAnlegen({Feld(feld, "Nummer")}, Daten({"Q12NUMMER"}));
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& f) {
            EXPECT_TRUE(QString::fromStdString(f.what()).contains(QString("\"%1\"").arg(feld)))
                << f.what();
        }
    }
}

// The built-in lists store their fields as the data SQL names the columns, without alias.
TEST(ListenSpaltenTest, FelderOhneQuellnamenSindSpaltenDerDaten)
{
    LayoutZeile tier = Feld("TIERID", "Tier-ID");
    tier.tierId = true;
    LayoutZeile status = Feld("STATUSIDX", "Status");
    const Ergebnis e = SpaltenAnlegen(
        {Feld("NUMMER", "Nummer"), tier, status, Feld("ERLEDIGEN", "Erl."), Feld("TERMIN_ID", "Id"),
         Feld("TERMIN", "Termin")},
        Daten({"TIERID", "NUMMER", "STATUSIDX", "ERLEDIGEN", "TERMIN_ID", "TERMIN"}));
    EXPECT_EQ(Datenfelder(e),
              QStringList({"NUMMER", "TIERID", "STATUSIDX", "ERLEDIGEN", "TERMIN_ID", "TERMIN"}));
    EXPECT_EQ(Titel(e)[1], "Tier-ID");
    EXPECT_EQ(e.tierIdFeld, "TIERID");
    EXPECT_EQ(e.spalten[2].art, Art::StatusIcon);
    EXPECT_TRUE(e.terminmodus);
    EXPECT_EQ(e.erledigenFeld, "ERLEDIGEN");
}

TEST(ListenSpaltenTest, BerechneterText)
{
    const auto feld = [](const QString& name) -> std::optional<QString> {
        if (name == "Q1NUMMER")
            return QString("DE 01");
        if (name == "Q1NAME")
            return QString("Berta");
        if (name == "Q1LEER")
            return QString("  ");
        return std::nullopt;
    };
    struct Fall {
        QStringList quellen;
        bool kurz;
        const char* text;
    };
    const Fall faelle[] = {
        {{"S.N"}, false, "7"},
        {{"S.N2"}, false, "7"},
        {{"Q1NUMMER", "Q1NAME"}, false, "DE 01\rBerta"},
        {{"S.F1=a=b"}, false, "a=b"},
        {{"S.F1"}, false, ""},
        {{"XYZ"}, false, ""},
        {{"Q1NUMMER", "XYZ"}, false, "DE 01\r"},
        {{"Q1NUMMER", "XYZ"}, true, "DE 01"},
        {{"Q1NUMMER", "Q1LEER"}, true, "DE 01"},
        {{"", "Q1NAME"}, true, "\rBerta"},
        {{"Q1NUMMER", "S.F2=Stall ", ""}, true, "DE 01\rStall"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.quellen.join('|').toStdString());
        EXPECT_EQ(BerechneterText(f.quellen, 7, feld, f.kurz), f.text);
    }
}

// A design stored through the tables the list designer writes.
class ListenLayoutTest : public DatabaseTest {};

TEST_F(ListenLayoutTest, LayoutAusDerDatenbank)
{
    db::Transaction tr(Db());
    tr.Start();
    db::Query(tr, "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL) VALUES (7, 'Kühe', 'Kühe')")
        .Execute();
    db::Query ins(
        tr,
        "INSERT INTO T_LISTEN_BILDSCHIRM (ID, LISTE, FELD, BREITE, TITEL, SICHTBAR, ZEILE, "
        "WERT) VALUES (:ID, 7, :FELD, :BREITE, :TITEL, :SICHTBAR, :ZEILE, :WERT)");
    const struct {
        int id;
        const char* feld;
        int breite;
        const char* titel;
        const char* sichtbar;
        int zeile;
        const char* wert;
    } zeilen[] = {{1, "Q1.TIERID", 0, "ID", "F", 1, nullptr},
                  {2, "Q1.NUMMER", 120, "Nummer", "T", 1, nullptr},
                  {3, "Q1.NAME", 0, "Name", "T", 2, nullptr},
                  {4, "S.F1", 0, "Hinweis", "T", 1, "prüfen"}};
    for (const auto& z : zeilen) {
        ins.Param("ID").SetInteger(z.id);
        ins.Param("FELD").SetString(z.feld);
        if (z.breite)
            ins.Param("BREITE").SetInteger(z.breite);
        else
            ins.Param("BREITE").SetNull();
        ins.Param("TITEL").SetString(z.titel);
        ins.Param("SICHTBAR").SetString(z.sichtbar);
        ins.Param("ZEILE").SetInteger(z.zeile);
        if (z.wert)
            ins.Param("WERT").SetString(z.wert);
        else
            ins.Param("WERT").SetNull();
        ins.Execute();
    }
    const std::vector<LayoutZeile> layout = BildschirmLayoutLaden(tr, 7);
    ASSERT_EQ(layout.size(), 4u);
    EXPECT_TRUE(layout[0].tierId);
    EXPECT_FALSE(layout[0].sichtbar);
    EXPECT_FALSE(layout[1].tierId);
    EXPECT_EQ(layout[1].breite, 120);
    EXPECT_FALSE(layout[2].breite.has_value());
    const Ergebnis e = SpaltenAnlegen(layout, Daten({"Q1TIERID", "Q1NUMMER", "Q1NAME"}));
    EXPECT_EQ(e.tierIdFeld, "Q1TIERID");
    EXPECT_EQ(Datenfelder(e), QStringList({"F0:1;F1:2", "S.F1"}));
    EXPECT_EQ(Titel(e), QStringList({"Nummer\rName", "Hinweis"}));
    EXPECT_EQ(Quellen("S.F1", e.werte), QStringList({"S.F1=prüfen"}));
    tr.Rollback();
}

}  // namespace
