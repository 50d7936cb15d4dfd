// The livestock register: its rows, averages and livestock units on a herd built by hand, the
// dialog against a real database, and its page printed to PDF and read back with pdftotext.

#include "../preview/DruckTestHilfe.h"

#include <Vorschau.h>

#include <DViehverzeichnis.h>
#include <FViehverzeichnis.h>
#include <Viehverzeichnis.h>

#include <DBZRDateEdit.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QDate Heute{2025, 6, 15};

int T(const QDate& d)
{
    return int(d.toJulianDay());
}

// Two cows for ever, and whatever a test adds.
class Herde final : public TPrognoseDatenquelle {
public:
    Herde()
    {
        Kuh(1);
        Kuh(2);
    }
    int Heute() override { return T(::Heute); }
    TPrognoseEinstellungen Einstellungen() override { return {}; }
    TGVFaktoren GVFaktoren() override { return {}; }
    std::vector<TPrognoseTier> Tiere(int, int) override { return tiere; }
    std::map<int, std::vector<TAufenthalt>> Aufenthalte(int, int, int) override
    {
        return aufenthalte;
    }
    std::map<int, std::vector<TKalbungNr>> Kalbungen(int, int) override { return {}; }

    void Kuh(int id)
    {
        TPrognoseTier t;
        t.ID = id;
        t.Geburt = T(QDate(1998, 1, 1));
        t.Geschlecht = QStringLiteral("W");
        t.Status = QStringLiteral("L");
        t.StatusExt = QStringLiteral("N");
        t.KuhSeit = T(QDate(2000, 1, 1));
        t.Tragezeit = 281;
        tiere.push_back(t);
        aufenthalte[id].push_back({t.Geburt, 0});
    }
    void Kalb(int id, const QDate& geburt)
    {
        TPrognoseTier t;
        t.ID = id;
        t.Geburt = T(geburt);
        t.Geschlecht = QStringLiteral("M");
        t.Status = QStringLiteral("J");
        t.StatusExt = QStringLiteral("N");
        t.Tragezeit = 281;
        tiere.push_back(t);
        aufenthalte[id].push_back({t.Geburt, 0});
    }

    std::vector<TPrognoseTier> tiere;
    std::map<int, std::vector<TAufenthalt>> aufenthalte;
};

TGVFaktoren Schluessel()
{
    TGVFaktoren f;
    f.Bovantis = 1.0;
    f.Kalb6M = 0.3;
    f.Mutterkuh = 0.9;
    return f;
}

TEST(ViehverzeichnisRechnung, AverageOverTheYearAndUnitsOfTheKey)
{
    Herde herde;
    // Born on 15 July 2004: a calf of up to six months on the 170 remaining days of 2004.
    herde.Kalb(3, QDate(2004, 7, 15));
    TPrognoseTierbestand engine(herde);
    TViehverzeichnisRechnung r;
    r.Berechnen(engine, QDate(2004, 12, 31), QDate(2004, 1, 1), QDate(2004, 12, 31), true, Heute,
                Schluessel());
    EXPECT_DOUBLE_EQ(r.BestandAm[0], 2);
    EXPECT_DOUBLE_EQ(r.BestandAm[1], 1);
    EXPECT_DOUBLE_EQ(r.BestandAm[12], 3);
    EXPECT_DOUBLE_EQ(r.Durchschnitt[0], 2.0);
    EXPECT_DOUBLE_EQ(r.Durchschnitt[1], 170.0 / 366.0);
    EXPECT_DOUBLE_EQ(r.Durchschnitt[12], 2.0 + 170.0 / 366.0);
    EXPECT_DOUBLE_EQ(r.Faktor[0], 1.0);
    EXPECT_DOUBLE_EQ(r.Faktor[1], 0.3);
    EXPECT_DOUBLE_EQ(r.Faktor[11], 0.9);
    EXPECT_DOUBLE_EQ(r.GVE[1], 0.3 * 170.0 / 366.0);
    EXPECT_DOUBLE_EQ(r.GVE[12], 2.0 + 0.3 * 170.0 / 366.0);
    for (int z = 2; z < 12; ++z)
        EXPECT_EQ(r.Durchschnitt[std::size_t(z)], 0) << z;

    // Without a key: no factors, no units; without a reference date: no stock column.
    r.Berechnen(engine, QDate(), QDate(2004, 1, 1), QDate(2004, 12, 31), true, Heute, {});
    EXPECT_EQ(r.BestandAm, TViehverzeichnisRechnung::TSpalte{});
    EXPECT_EQ(r.GVE, TViehverzeichnisRechnung::TSpalte{});
    EXPECT_DOUBLE_EQ(r.Durchschnitt[0], 2.0);
}

TEST(ViehverzeichnisRechnung, WithoutForecastThePeriodEndsToday)
{
    Herde herde;
    herde.Kalb(3, QDate(2025, 6, 11));
    TPrognoseTierbestand engine(herde);
    TViehverzeichnisRechnung r;
    // 1 to 15 June: the calf on 5 of 15 days.
    r.Berechnen(engine, QDate(), QDate(2025, 6, 1), QDate(2025, 6, 30), false, Heute, {});
    EXPECT_EQ(engine.Bis(), Heute);
    EXPECT_DOUBLE_EQ(r.Durchschnitt[1], 5.0 / 15.0);
    // With the forecast the calf stays to the end of June: 20 of 30 days.
    r.Berechnen(engine, QDate(), QDate(2025, 6, 1), QDate(2025, 6, 30), true, Heute, {});
    EXPECT_DOUBLE_EQ(r.Durchschnitt[1], 20.0 / 30.0);
}

TEST(ViehverzeichnisDruck, RowsOutsideTheTableReadZero)
{
    TDruckViehverzeichnis d;
    d.SetFaktor(0, 5);
    d.SetFaktor(13, 5);
    d.SetFaktor(12, 0.9);
    EXPECT_EQ(d.GetFaktor(0), 0);
    EXPECT_EQ(d.GetFaktor(13), 0);
    EXPECT_EQ(d.GetFaktor(12), 0.9);
}

class ViehverzeichnisDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(daten.isValid());
        ProgDatum::HeuteSetzen(Heute);
        db::Transaction tr(t.Db());
        tr.Start();
        for (const char* sql :
             {"INSERT INTO T_GV_SCHLUESSEL (ID, BEZEICHNUNG, BOVANTIS) VALUES (7, 'Zweiter', 1.2)",
              "INSERT INTO T_GV_SCHLUESSEL (ID, BEZEICHNUNG) VALUES (8, 'Erster')",
              "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (11, 'Hof', "
              "'276090000000011')",
              "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)",
              "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, STATUS, RASSE) "
              "VALUES (1, 'DE 01 000 0001', 'Alma', DATE '2018-01-01', 'W', 'L', 1)",
              "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (1, DATE '2020-03-01', "
              "'W')",
              "INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (1, DATE '2018-01-01', 21)"})
            db::Query(tr, QString::fromUtf8(sql)).Execute();
        tr.Commit();
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(t.Params());
    }
    void TearDown() override
    {
        EinstellungenFreigeben();
        DMFreigeben();
        ProgDatum::HeuteSetzen(QDate());
    }

    TestDatabase t;
    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
};

TEST_F(ViehverzeichnisDialogTest, ComputedShownAndPrinted)
{
    TEinstellungen& e = *Einstellungen();
    e.SetViehverzeichnisGVSchluessel(7);
    e.Bearbeiten();
    e.SetBetriebName(QStringLiteral("Hof Sonnenwiese"));
    e.SetBetriebFlaeche(4.0);
    e.Speichern();
    TfrmViehverzeichnis d(e, DM()->Datenbank);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(d.GVSchluessel()->currentText(), QStringLiteral("Zweiter")) << "the stored key";
    EXPECT_FALSE(d.Drucken()->isEnabled());
    const auto label = [&](const char* name) {
        QLabel* l = d.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(l, nullptr) << name;
        return l ? l->text() : QString();
    };
    EXPECT_EQ(label("tam"), QStringLiteral("am Stichtag"));

    d.VonEdit()->SetDate(QDate(2022, 1, 1));
    d.BisEdit()->SetDate(QDate(2025, 1, 1));
    d.vonChange();
    EXPECT_EQ(d.BisEdit()->Date(), QDate(2023, 12, 31)) << "at most two years";
    d.AmEdit()->SetDate(QDate(2024, 6, 1));
    d.VonEdit()->SetDate(QDate(2024, 1, 1));
    d.BisEdit()->SetDate(QDate(2024, 12, 31));
    QTest::mouseClick(d.Berechnen(), Qt::LeftButton);
    EXPECT_TRUE(d.Drucken()->isEnabled());
    EXPECT_EQ(label("tam"), QStringLiteral("am 01.06.2024"));
    EXPECT_EQ(label("takuh"), QStringLiteral("1,00"));
    EXPECT_EQ(label("tdkuh"), QStringLiteral("1,00"));
    EXPECT_EQ(label("gkuh"), QStringLiteral("1,20"));
    EXPECT_EQ(label("gvkuh"), QStringLiteral("1,20"));
    EXPECT_EQ(label("tdkb6"), QString()) << "0 shows nothing";
    EXPECT_EQ(label("gvsum"), QStringLiteral("1,20"));
    EXPECT_EQ(label("gvha"), QStringLiteral("0,30"));
    EXPECT_EQ(e.GetViehverzeichnisVon(), QDate(2024, 1, 1));
    Bildschirmfoto(d, "viehverzeichnis.png");

    // Another key chosen after the computation: the paper names the key the figures used.
    d.GVSchluessel()->setCurrentIndex(0);
    auto druck = d.DruckErstellen();
    EXPECT_EQ(druck->GVSchluessel, QStringLiteral("Zweiter"));

    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    ASSERT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed (scripts/install-deps.sh)";
    QTemporaryDir ordner;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrinterGeraet geraet(printer);
    auto ausgabe = std::make_unique<QPrinterOutput>(printer);
    ausgabe->FileNameQuery = [&](const QString&) {
        return QDir(ordner.path()).filePath("viehverzeichnis");
    };
    TDruckViehverzeichnis papier(geraet, std::move(ausgabe));
    papier.Am = druck->Am;
    papier.Von = druck->Von;
    papier.Bis = druck->Bis;
    for (int z = 1; z <= 12; ++z) {
        papier.SetFaktor(z, druck->GetFaktor(z));
        papier.SetBestandAm(z, druck->GetBestandAm(z));
        papier.SetDurchschnitt(z, druck->GetDurchschnitt(z));
        papier.SetGVEBetrieb(z, druck->GetGVEBetrieb(z));
    }
    papier.GVEjeHektar = druck->GVEjeHektar;
    papier.SummeBestand = druck->SummeBestand;
    papier.SummeDurchschnitt = druck->SummeDurchschnitt;
    papier.SummeGVE = druck->SummeGVE;
    papier.GVSchluessel = druck->GVSchluessel;
    papier.BetriebName = druck->BetriebName;
    papier.Flaeche = druck->Flaeche;
    papier.DruckeInhalt(nullptr);
    EXPECT_EQ(papier.Preview->Title(), QStringLiteral("ZR Bovantis - Viehverzeichnis"));
    QImage seite(papier.Paper().Width(), papier.Paper().Height(), QImage::Format_RGB32);
    seite.fill(Qt::white);
    {
        QPainter maler(&seite);
        papier.Paper().DrawToCanvas(maler, 100, 1, false);
    }
    BildSpeichern(seite, "viehverzeichnis_druck.png");
    papier.Preview->Print();
    QProcess leser;
    leser.start(pdftotext, {"-layout", QDir(ordner.path()).filePath("viehverzeichnis.pdf"), "-"});
    ASSERT_TRUE(leser.waitForFinished(30000));
    const QString text = QString::fromUtf8(leser.readAllStandardOutput());
    for (const char* s :
         {"Viehverzeichnis", "Hof Sonnenwiese", "Landw. Nutzfläche: 4,00 ha", "am 01.06.2024",
          "01.01.24 - 31.12.24", "GV Schlüssel: Zweiter", "GVE/ha: 0,30", "1,20", "0,30",
          "Mutter- und Ammenkühe zur Kälbererzeugung", "Pensionsvieh", "Summe"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
}

}  // namespace
