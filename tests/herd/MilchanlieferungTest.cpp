#include "HerdeTest.h"
#include <Bildschirmfoto.h>

#include <Milchanlieferung.h>
#include <MilchanlieferungLogik.h>

#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBMemo.h>
#include <MessageBoxScript.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

using namespace Milchanlieferung;

// ------------------------------------------------------------------- quota year without windows

TEST(MilchanlieferungLogik, QuotenjahrNachMonat)
{
    struct Fall {
        QDate heute;
        QDate start;
        QDate ende;
    };
    const Fall faelle[] = {
        {QDate(2024, 4, 10), QDate(2023, 4, 1), QDate(2024, 3, 1)},
        {QDate(2024, 5, 1), QDate(2024, 4, 1), QDate(2024, 4, 1)},
        {QDate(2024, 1, 20), QDate(2023, 4, 1), QDate(2023, 12, 1)},
        {QDate(2024, 3, 31), QDate(2023, 4, 1), QDate(2024, 2, 1)},
        {QDate(2024, 12, 5), QDate(2024, 4, 1), QDate(2024, 11, 1)},
    };
    for (const Fall& f : faelle) {
        const Zeitraum z = Quotenjahr(f.heute);
        EXPECT_EQ(z.start, f.start) << f.heute.toString().toStdString();
        EXPECT_EQ(z.ende, f.ende) << f.heute.toString().toStdString();
    }
}

TEST(MilchanlieferungLogik, RestTageBisEndeDesQuotenjahres)
{
    EXPECT_EQ(RestTage(QDate(2024, 1, 1)), 60);   // 1.2. to 31.3.2024 (leap year)
    EXPECT_EQ(RestTage(QDate(2023, 4, 1)), 336);  // 1.5.2023 to 31.3.2024 (leap year)
    EXPECT_EQ(RestTage(QDate(2024, 2, 1)), 31);   // March only
    EXPECT_EQ(RestTage(QDate(2024, 3, 1)), 365);  // April to March: a whole year
    EXPECT_EQ(RestTage(QDate(2023, 12, 1)), 91);  // January to March 2024
}

// Months of a quota year with their fat and the results the display must show.
TEST(MilchanlieferungLogik, BerechnungTabelle)
{
    struct Fall {
        const char* name;
        QList<Monat> monate;
        double fett;
        double schnitt;
        std::int64_t korrektur;
        std::int64_t rest;
        bool ueber;
        std::int64_t proTag;
        std::int64_t proTagBeiFett;
    };
    const QDate apr(2024, 4, 1), mai(2024, 5, 1);
    // 2500 kg × -0,01 % × 0,18 = -4,5 kg: half a kg rounds away from zero, below the reference as
    // above it.
    const Fall faelle[] = {
        {"0,2 über Referenz",
         {{apr, 100000, 4.20, 400000, 4.00}},
         4.20,
         4.20,
         1800,
         298200,
         false,
         890,
         848},
        {"0,2 unter Referenz",
         {{apr, 100000, 3.80, 400000, 4.00}},
         3.80,
         3.80,
         -3600,
         303600,
         false,
         906,
         954},
        {"halbes kg unter Referenz",
         {{apr, 2500, 3.99, 400000, 4.00}},
         3.99,
         3.99,
         -5,
         397505,
         false,
         1187,
         1190},
        {"halbes kg über Referenz",
         {{apr, 5000, 4.01, 400000, 4.00}},
         4.01,
         4.01,
         5,
         394995,
         false,
         1179,
         1176},
        {"Überlieferung", {{apr, 310000, 4.00, 300000, 4.00}}, 4.00, 4.00, 0, -10000, true, 0, 0},
        {"gewichteter Schnitt",
         {{apr, 50000, 4.00, 400000, 4.10}, {mai, 150000, 4.40, 400000, 4.20}},
         4.40,
         4.30,
         1800,
         198200,
         false,
         652,
         622},
        {"letzter Monat ohne Menge",
         {{apr, 100000, 4.00, 400000, 4.00}, {mai, 0, 0, 500000, 4.00}},
         4.00,
         4.00,
         0,
         400000,
         false,
         1194,
         1194},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const Summen s = Summieren(f.monate);
        ASSERT_TRUE(s.HatLieferung());
        const Ergebnis e = Berechnen(s, RestTage(s.letzterLiefermonat), f.fett);
        EXPECT_DOUBLE_EQ(e.durchschnittFett, f.schnitt);
        EXPECT_EQ(e.korrektur, f.korrektur);
        EXPECT_EQ(e.korrigiert, s.geliefert + f.korrektur);
        EXPECT_EQ(e.rest, f.rest);
        EXPECT_EQ(e.ueberlieferung, f.ueber);
        EXPECT_EQ(e.proTag, f.proTag);
        EXPECT_EQ(e.proTagBeiFett, f.proTagBeiFett);
    }
}

TEST(MilchanlieferungLogik, OhneLieferungKeineBerechnung)
{
    EXPECT_FALSE(Summieren({}).HatLieferung());
    EXPECT_FALSE(Summieren({{QDate(2024, 4, 1), 0, 4.1, 300000, 4.0}}).HatLieferung());
}

TEST(MilchanlieferungLogik, FettNullTeiltNicht)
{
    const Summen s = Summieren({{QDate(2024, 4, 1), 100000, 4.0, 400000, 4.0}});
    const Ergebnis null = Berechnen(s, 100, 0.0);
    EXPECT_EQ(null.proTagBeiFett, Berechnen(s, 100, FettMinimum).proTagBeiFett);
    EXPECT_GT(null.proTagBeiFett, 0);
}

TEST(MilchanlieferungLogik, FreieMonate)
{
    const QList<QDate> frei =
        FreieMonate({QDate(1985, 1, 1), QDate(2023, 11, 1)}, QDate(2024, 1, 15));
    EXPECT_EQ(frei.first(), QDate(1985, 2, 1));
    EXPECT_EQ(frei.last(), QDate(2023, 12, 1));
    EXPECT_FALSE(frei.contains(QDate(2023, 11, 1)));
    EXPECT_EQ(frei.size(), (2023 - 1985 + 1) * 12 - 2);
    EXPECT_EQ(MonatText(frei.last()), "12/2023");
}

// ------------------------------------------------------------------------------- the window

class MilchanlieferungTest : public HerdeTest {
protected:
    // A month with its values; currency EUR unless given.
    void Monat(const QDate& monat, qint64 menge, double fett, qint64 referenz, double refFett,
               double preis = 35.5, const char* waehrung = "EUR")
    {
        Ausfuehren(
            {QStringLiteral("INSERT INTO T_MILCHANLIEFERUNG (ID, MONAT, MENGE, FETT, EIWEIS, "
                            "KEIMZAHL, ZELLZAHL, GEFRIERPUNKT, PREIS37, PREISEIGEN, "
                            "MILCHGELD, REFERENZMENGE, REFERENZFETT, WAEHRUNG) VALUES "
                            "(GEN_ID(G_MILCHANLIEFERUNG, 1), '%1', %2, %3, 3.4, 20, 150, "
                            "-0.52, %4, %5, 1234.56, %6, %7, '%8')")
                 .arg(monat.toString("yyyy-MM-dd"))
                 .arg(menge)
                 .arg(fett)
                 .arg(preis)
                 .arg(preis + 1)
                 .arg(referenz)
                 .arg(refFett)
                 .arg(QLatin1String(waehrung))});
    }
    QString Wert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine>") : q.Field(0).AsString();
    }
    static QString Text(TfrmMilchanlieferung& f, const char* name)
    {
        return f.Anzeige(QString::fromLatin1(name))->text();
    }
    static void Tippen(TDBFloatEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
    }
};

TEST_F(MilchanlieferungTest, ZeigtDenLetztenMonatUndDasQuotenjahr)
{
    ProgDatum::HeuteSetzen(QDate(2024, 6, 10));
    Monat(QDate(2024, 3, 1), 90000, 4.0, 400000, 4.0);  // previous quota year
    Monat(QDate(2024, 4, 1), 100000, 4.2, 400000, 4.0);
    Monat(QDate(2024, 5, 1), 0, 0, 400000, 4.0);
    TfrmMilchanlieferung f(DM()->Datenbank);
    f.show();
    EXPECT_EQ(f.MonatAuswahl()->currentText(), "05/2024");
    EXPECT_EQ(f.MonatAuswahl()->count(), 3);
    EXPECT_EQ(Text(f, "lbAnlieferung"), "100000 ");
    EXPECT_EQ(Text(f, "lbAnlieferungFett"), " 4,20 ");
    EXPECT_EQ(Text(f, "lbFettDifferenz"), " 0,20 ");
    EXPECT_EQ(Text(f, "lbKorrektur"), "1800 ");
    EXPECT_EQ(Text(f, "lbKorrigiert"), "101800 ");
    EXPECT_EQ(Text(f, "lbLieferbar"), "298200 ");
    EXPECT_EQ(Text(f, "lbLieferbarTitel"), "noch lieferbar bei Ref.-Fett:");
    // 1.5.2024 to 31.3.2025: 335 days; the chosen fat starts at the last delivering month's.
    EXPECT_DOUBLE_EQ(f.FettWahl()->value(), 4.2);
    EXPECT_EQ(Text(f, "lbLieferbarTag"), "890 ");
    EXPECT_EQ(Text(f, "lbLieferbarFettTag"), "848 ");
    EXPECT_EQ(f.GeldEinheit()->text(), "Euro");
    EXPECT_EQ(f.PreisEinheit37()->text(), "Cent");
    Bildschirmfoto(f, "milchanlieferung.png");
}

TEST_F(MilchanlieferungTest, ImAprilZaehltDasVorjahr)
{
    ProgDatum::HeuteSetzen(QDate(2024, 4, 15));
    Monat(QDate(2023, 4, 1), 100000, 4.0, 300000, 4.0);
    Monat(QDate(2024, 3, 1), 210000, 4.0, 300000, 4.0);
    Monat(QDate(2024, 4, 1), 999999, 4.0, 300000, 4.0);  // not yet in the year
    TfrmMilchanlieferung f(DM()->Datenbank);
    EXPECT_EQ(Text(f, "lbAnlieferung"), "310000 ");
    EXPECT_EQ(Text(f, "lbLieferbarTitel"), "Überlieferung");
    EXPECT_TRUE(f.Anzeige("lbLieferbarTitel")->styleSheet().contains("underline"));
    EXPECT_EQ(Text(f, "lbLieferbar"), "-10000 ");
    EXPECT_EQ(Text(f, "lbLieferbarTag"), "-- ");
    EXPECT_EQ(Text(f, "lbLieferbarFettTag"), "-- ");
    EXPECT_FALSE(f.FettWahl()->isEnabled());
    // A whole quota year is left after March: no fat difference is shown.
    EXPECT_EQ(Text(f, "lbFettDifferenz"), "");
}

TEST_F(MilchanlieferungTest, FettWahlBleibtUeberNull)
{
    ProgDatum::HeuteSetzen(QDate(2024, 6, 10));
    Monat(QDate(2024, 4, 1), 100000, 0.10, 400000, 4.0);
    TfrmMilchanlieferung f(DM()->Datenbank);
    f.show();
    QDoubleSpinBox* fett = f.FettWahl();
    fett->setFocus();
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(fett, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(fett->value(), FettMinimum);
    const Summen s = Summieren({{QDate(2024, 4, 1), 100000, 0.10, 400000, 4.0}});
    EXPECT_EQ(Text(f, "lbLieferbarFettTag").trimmed().toLongLong(),
              Berechnen(s, 335, FettMinimum).proTagBeiFett);
    fett->setValue(2.0);
    QTest::keyClick(fett, Qt::Key_Up);
    EXPECT_EQ(fett->text(), "2,05");
}

TEST_F(MilchanlieferungTest, AtsMultipliziertPreiseImBearbeitetenSatz)
{
    ProgDatum::HeuteSetzen(QDate(2024, 6, 10));
    Monat(QDate(2024, 4, 1), 100000, 4.0, 400000, 4.0, 35.5);
    TfrmMilchanlieferung f(DM()->Datenbank);
    f.show();
    QComboBox* w = f.WaehrungAuswahl();
    EXPECT_EQ(w->currentText(), "EUR");
    EXPECT_EQ(f.Feld("PREIS37")->Digits(), 2);
    // Switching to ATS while editing: the prices move into the small unit and are stored so.
    w->setCurrentIndex(2);
    emit w->activated(2);
    EXPECT_EQ(f.Feld("PREIS37")->Digits(), 0);
    EXPECT_EQ(f.PreisEinheit37()->text(), "g");
    EXPECT_EQ(f.GeldEinheit()->text(), "ÖS");
    EXPECT_DOUBLE_EQ(f.Daten().FieldByName("PREIS37").AsDouble(), 3550);
    EXPECT_DOUBLE_EQ(f.Daten().FieldByName("PREISEIGEN").AsDouble(), 3650);
    // Back to EUR before saving restores them.
    w->setCurrentIndex(0);
    emit w->activated(0);
    EXPECT_DOUBLE_EQ(f.Daten().FieldByName("PREIS37").AsDouble(), 35.5);
    w->setCurrentIndex(2);
    emit w->activated(2);
    QTest::mouseClick(f.SpeichernKnopf(), Qt::LeftButton);
    EXPECT_EQ(Wert("SELECT WAEHRUNG || ' ' || PREIS37 || ' ' || PREISEIGEN || ' ' || MILCHGELD "
                   "FROM T_MILCHANLIEFERUNG"),
              "ATS 3550.00 3650.00 1234.56");
}

TEST_F(MilchanlieferungTest, GespeicherterAtsSatzBehaeltSeineWerte)
{
    ProgDatum::HeuteSetzen(QDate(2024, 6, 10));
    Monat(QDate(2024, 4, 1), 100000, 4.0, 400000, 4.0, 3550, "ATS");
    Monat(QDate(2024, 5, 1), 100000, 4.0, 400000, 4.0, 35.5, "EUR");
    TfrmMilchanlieferung f(DM()->Datenbank);
    f.show();
    // Shown months switch the display only.
    QComboBox* m = f.MonatAuswahl();
    m->setCurrentIndex(0);
    emit m->activated(0);
    EXPECT_EQ(f.Feld("PREIS37")->Digits(), 0);
    EXPECT_EQ(f.Feld("PREIS37")->text(), "3550");
    EXPECT_EQ(f.Daten().State(), db::DataSetState::Browse);
    m->setCurrentIndex(1);
    emit m->activated(1);
    EXPECT_EQ(f.Feld("PREIS37")->Digits(), 2);
    EXPECT_EQ(f.Feld("PREIS37")->text(), "35,50");
    m->setCurrentIndex(0);
    emit m->activated(0);
    EXPECT_TRUE(f.Speichern());
    EXPECT_EQ(Wert("SELECT LIST(WAEHRUNG || ' ' || PREIS37, '; ') FROM (SELECT * FROM "
                   "T_MILCHANLIEFERUNG ORDER BY MONAT)"),
              "ATS 3550.00; EUR 35.50");
}

TEST_F(MilchanlieferungTest, MonatswechselFragtNachGeaendertenDaten)
{
    ProgDatum::HeuteSetzen(QDate(2024, 6, 10));
    Monat(QDate(2024, 4, 1), 100000, 4.0, 400000, 4.0);
    Monat(QDate(2024, 5, 1), 80000, 4.0, 400000, 4.0);
    TfrmMilchanlieferung f(DM()->Datenbank);
    f.show();
    QComboBox* m = f.MonatAuswahl();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrCancel).AnswerWith(Tools::mrNo).AnswerWith(Tools::mrYes);

    Tippen(f.Feld("MENGE"), "81000");
    m->setCurrentIndex(0);
    emit m->activated(0);
    EXPECT_EQ(m->currentText(), "05/2024");  // Cancel stays
    EXPECT_EQ(f.Daten().State(), db::DataSetState::Edit);

    m->setCurrentIndex(0);
    emit m->activated(0);  // No drops the edit
    EXPECT_EQ(m->currentText(), "04/2024");
    EXPECT_EQ(Wert("SELECT MENGE FROM T_MILCHANLIEFERUNG WHERE MONAT = '2024-05-01'"), "80000");

    Tippen(f.Feld("MENGE"), "120000");
    m->setCurrentIndex(1);
    emit m->activated(1);  // Yes saves
    EXPECT_EQ(m->currentText(), "05/2024");
    EXPECT_EQ(Wert("SELECT MENGE FROM T_MILCHANLIEFERUNG WHERE MONAT = '2024-04-01'"), "120000");
    EXPECT_EQ(boxen.Pending(), 0);
    ASSERT_EQ(boxen.Shown().size(), 3);
    EXPECT_EQ(boxen.Shown()[0].text,
              "Die Daten des Monats wurden geändert.\rWollen Sie diese nun speichern?");
}

TEST_F(MilchanlieferungTest, NeuerMonatUebernimmtAlleWerte)
{
    ProgDatum::HeuteSetzen(QDate(2024, 1, 20));
    Monat(QDate(2023, 11, 1), 100000, 4.1, 400000, 4.0, 3550, "ATS");
    TfrmMilchanlieferung f(DM()->Datenbank);
    f.show();
    Bedienen<TfrmMilchanlieferungNeu>([](TfrmMilchanlieferungNeu& d) {
        // December of the previous year is the latest month offered.
        EXPECT_EQ(d.Auswahl()->currentText(), "12/2023");
        d.accept();
    });
    QTest::mouseClick(f.NeuKnopf(), Qt::LeftButton);
    EXPECT_EQ(f.MonatAuswahl()->currentText(), "12/2023");
    EXPECT_EQ(f.Daten().State(), db::DataSetState::Insert);
    EXPECT_TRUE(f.Speichern());
    EXPECT_EQ(Wert("SELECT MENGE || ' ' || FETT || ' ' || EIWEIS || ' ' || KEIMZAHL || ' ' || "
                   "ZELLZAHL || ' ' || GEFRIERPUNKT || ' ' || PREIS37 || ' ' || PREISEIGEN || "
                   "' ' || MILCHGELD || ' ' || REFERENZMENGE || ' ' || REFERENZFETT || ' ' || "
                   "WAEHRUNG FROM T_MILCHANLIEFERUNG WHERE MONAT = '2023-12-01'"),
              "100000 4.10 3.40 20 150 -0.520 3550.00 3551.00 1234.56 400000 4.00 ATS");
    EXPECT_EQ(f.MonatAuswahl()->count(), 2);
}

TEST_F(MilchanlieferungTest, OhneMonateSindDieFelderGesperrt)
{
    ProgDatum::HeuteSetzen(QDate(2024, 6, 10));
    TfrmMilchanlieferung f(DM()->Datenbank);
    EXPECT_FALSE(f.Feld("MENGE")->isEnabled());
    EXPECT_FALSE(f.SpeichernKnopf()->isEnabled());
    EXPECT_EQ(Text(f, "lbAnlieferung"), "");
}

}  // namespace
