#include "../preview/DruckTestHilfe.h"

#include <ListenDruck.h>
#include <StatusSymbole.h>

#include <Datenmodul.h>
#include <FListeNormal.h>
#include <VorschauFenster.h>
#include <Grundeinstellungen.h>

#include <DataSet.h>
#include <MessageBoxScript.h>
#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <QApplication>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A stored design with its print layout over a herd of 120 animals: a third due (bold), a third
// due later, a third without a due date.
class ListenDruckDatenbankTest : public DatabaseTest {
public:
    static constexpr int Liste = 41;
    static constexpr int OhnePlatzhalter = 42;
    static constexpr int Tiere = 120;
    static inline const QDate Heute{2026, 12, 11};

    static QString Name(int i)
    {
        switch (i % 3) {
            case 0:
                return QStringLiteral("Ohne %1").arg(i);
            case 1:
                return QStringLiteral("Fällig %1").arg(i);
            default:
                return QStringLiteral("Später %1").arg(i);
        }
    }
    static QString Nummer(int i) { return QStringLiteral("DE %1").arg(i, 4, 10, QLatin1Char('0')); }

    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::Transaction tr(Db());
        tr.Start();
        db::Query tier(tr,
                       "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                       "VALUES (:NUMMER, :NAME, :GEBDAT, 'W', 1)");
        for (int i = 1; i <= Tiere; ++i) {
            tier.Param("NUMMER").SetString(Nummer(i));
            tier.Param("NAME").SetString(Name(i));
            tier.Param("GEBDAT").SetDate(i % 3 == 2 ? QDate(2030, 1, 1).addDays(i)
                                                    : QDate(2020, 1, 1).addDays(i));
            tier.Execute();
        }
        const QString sql = QStringLiteral(
            "SELECT Q1.NUMMER AS Q1NUMMER, Q1.NAME AS Q1NAME, Q1.GEBDAT AS Q1GEBDAT, "
            "CASE WHEN Q1.NAME STARTING WITH 'Ohne' THEN NULL ELSE Q1.GEBDAT END AS Q1FAELLIG "
            "FROM T_STAMMDATEN Q1 WHERE %1 ORDER BY Q1.NUMMER");
        db::Query l(tr,
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, SQL, SCHRIFT, AUSRICHTUNG, "
                    "STAND, RAND_LINKS, RAND_RECHTS, RAND_OBEN, RAND_UNTEN, LINIE_UNTER_TITEL, "
                    "LINIE_UNTEN, DATUM_VERGANGEN_FETT) VALUES (:ID, 'Herde', 'Herdenliste', "
                    ":SQL, 'DejaVu Sans;14;', 'L', 'R', 15, 15, 15, 20, 'T', 'T', 'Q1FAELLIG')");
        l.Param("ID").SetInteger(Liste);
        l.Param("SQL").SetString(sql.arg(QStringLiteral("(#Q1.ID#)")));
        l.Execute();
        l.Param("ID").SetInteger(OhnePlatzhalter);
        l.Param("SQL").SetString(sql.arg(QStringLiteral("1=1")));
        l.Execute();
        db::Query f(tr,
                    "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL, L_POSITION, ZEILE, BREITE, "
                    "SCHRIFT, TITEL_SCHRIFT, AUSRICHTUNG, SICHTBAR) VALUES (:LISTE, :FELD, "
                    ":TITEL, :POS, :ZEILE, :BREITE, 'DejaVu Sans;10;', 'DejaVu Sans;10;I', "
                    ":AUSRICHTUNG, :SICHTBAR)");
        struct Feld {
            const char* feld;
            const char* titel;
            int pos;
            int zeile;
            int breite;
            const char* ausrichtung;
            const char* sichtbar;
        } felder[] = {{"S.N1", "Nr.", 0, 5, 10, "R", "T"},
                      {"Q1.NUMMER", "Nummer", 15, 5, 30, "L", "T"},
                      {"Q1.NAME", "Name", 50, 5, 40, "L", "T"},
                      {"Q1.GEBDAT", "Geboren", 95, 5, 25, "R", "T"},
                      {"Q1.FAELLIG", "Versteckt", 130, 9, 25, "L", "F"}};
        for (int liste : {Liste, OhnePlatzhalter})
            for (const Feld& x : felder) {
                f.Param("LISTE").SetInteger(liste);
                f.Param("FELD").SetString(x.feld);
                f.Param("TITEL").SetString(x.titel);
                f.Param("POS").SetInteger(x.pos);
                f.Param("ZEILE").SetInteger(x.zeile);
                f.Param("BREITE").SetInteger(x.breite);
                f.Param("AUSRICHTUNG").SetString(x.ausrichtung);
                f.Param("SICHTBAR").SetString(x.sichtbar);
                f.Execute();
            }
        db::Query b(tr,
                    "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, BREITE, TITEL, SICHTBAR, "
                    "ZEILE, AUSRICHTUNG, AUTOBREITE, UEBERSCHRIFT) VALUES (41, :FELD, 100, "
                    ":FELD, 'T', 1, 'L', 'F', 'F')");
        for (const char* feld : {"Q1.NUMMER", "Q1.NAME"}) {
            b.Param("FELD").SetString(feld);
            b.Execute();
        }
        db::Query(tr,
                  "INSERT INTO T_LISTEN_LINIEN (LISTE, L_POSITION, BEGINN_TITEL, ART, BREITE) "
                  "VALUES (41, 47, 'T', 'P', 20)")
            .Execute();
        tr.Commit();
    }

protected:
    // A design printed through the PDF printer, as "Drucken" does it.
    struct PdfDruck {
        QPrinter printer{QPrinter::HighResolution};
        std::unique_ptr<QPrinterGeraet> geraet;
        std::unique_ptr<TListenDruck> druck;
        QString vorschlag;

        PdfDruck(int liste, const QString& datei)
        {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setPageSize(QPageSize(QPageSize::A4));
            geraet = std::make_unique<QPrinterGeraet>(printer);
            auto ausgabe = std::make_unique<QPrinterOutput>(printer);
            ausgabe->FileNameQuery = [this, datei](const QString& v) {
                vorschlag = v;
                return datei;
            };
            druck = TListenDruck::CreateMitSQL(DM()->Datenbank, liste, 0, QStringLiteral("Nord"),
                                               *geraet, std::move(ausgabe));
            druck->Heute = Heute;
            druck->DruckeInhalt(nullptr);
            druck->Preview->Print();
        }
    };

    void SetUp() override
    {
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(TestDatabase::Params(Suite().Path()));
    }
    void TearDown() override
    {
        EinstellungenFreigeben();
        DMFreigeben();
    }
};

TEST_F(ListenDruckDatenbankTest, ListPrintedToPdfShowsTitlesRowsPageBreaksAndFooters)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdffonts = QStandardPaths::findExecutable("pdffonts");
    ASSERT_FALSE(pdftotext.isEmpty() || pdffonts.isEmpty())
        << "poppler-utils is needed (scripts/install-deps.sh)";
    QTemporaryDir ordner;
    const QString datei = QDir(ordner.path()).filePath("liste.pdf");
    PdfDruck pdf(Liste, datei);
    auto& druck = pdf.druck;
    EXPECT_EQ(druck->Preview->Title(), QStringLiteral("ZR Bovantis - Herdenliste"));
    const int seiten = druck->AktSeite();
    ASSERT_GE(seiten, 2);
    ASSERT_TRUE(QFileInfo::exists(datei)) << pdf.vorschlag.toStdString();

    QProcess leser;
    leser.start(pdftotext, {"-layout", datei, "-"});
    ASSERT_TRUE(leser.waitForFinished(30000));
    ASSERT_EQ(leser.exitCode(), 0) << leser.readAllStandardError().toStdString();
    QStringList pdfSeiten = QString::fromUtf8(leser.readAllStandardOutput()).split('\f');
    if (!pdfSeiten.isEmpty() && pdfSeiten.back().trimmed().isEmpty())
        pdfSeiten.removeLast();
    ASSERT_EQ(pdfSeiten.size(), seiten);

    int naechstes = 1;
    for (int s = 0; s < seiten; ++s) {
        const QString& seite = pdfSeiten[s];
        const QStringList zeilen = seite.split('\n');
        const auto zeileMit = [&](const QString& text) {
            for (int i = 0; i < zeilen.size(); ++i)
                if (zeilen[i].contains(text))
                    return i;
            return -1;
        };
        const int titel = zeileMit(QStringLiteral("Herdenliste (Nord)"));
        const int kopf = zeileMit(QStringLiteral("Nummer"));
        EXPECT_GE(titel, 0) << "page " << s + 1;
        EXPECT_TRUE(zeilen.value(titel).contains("Stand: 11.12.2026")) << "on the title's line";
        EXPECT_GT(kopf, titel) << "page " << s + 1;
        for (const char* t : {"Nr.", "Name", "Geboren"})
            EXPECT_TRUE(zeilen.value(kopf).contains(t)) << t << " page " << s + 1;
        EXPECT_FALSE(seite.contains("Versteckt"));
        const int fuss = zeileMit(QStringLiteral("Seite %1").arg(s + 1));
        EXPECT_GT(fuss, kopf) << "page " << s + 1;
        EXPECT_TRUE(seite.contains(TDrucken::Produkthinweis())) << "page " << s + 1;
        EXPECT_TRUE(seite.contains(QStringLiteral("Alle Betriebsstätten"))) << "page " << s + 1;

        // The rows continue where the page before stopped, each between the titles and footer.
        const int erstes = naechstes;
        while (naechstes <= Tiere) {
            const int z = zeileMit(Nummer(naechstes));
            if (z < 0)
                break;
            EXPECT_GT(z, kopf);
            EXPECT_LT(z, fuss);
            const QString zeile = zeilen[z].simplified();
            const QDate geboren = naechstes % 3 == 2 ? QDate(2030, 1, 1).addDays(naechstes)
                                                     : QDate(2020, 1, 1).addDays(naechstes);
            EXPECT_EQ(zeile,
                      QStringLiteral("%1 %2 %3 %4")
                          .arg(naechstes)
                          .arg(Nummer(naechstes), Name(naechstes), geboren.toString("dd.MM.yyyy")));
            ++naechstes;
        }
        EXPECT_GT(naechstes, erstes) << "rows on page " << s + 1;
    }
    EXPECT_EQ(naechstes, Tiere + 1) << "every row once, in order";

    QProcess schriften;
    schriften.start(pdffonts, {datei});
    ASSERT_TRUE(schriften.waitForFinished(30000));
    const QString fonts = QString::fromUtf8(schriften.readAllStandardOutput());
    EXPECT_TRUE(fonts.contains("Bold")) << "due rows are the only bold text\n"
                                        << fonts.toStdString();

    int fett = 0;
    for (const TextEintrag& t : Texte(druck->Paper()))
        for (int i = 1; i <= Tiere; ++i)
            if (t.text == Name(i)) {
                ++fett;
                EXPECT_EQ(bool(t.stil & fsBold), i % 3 == 1) << t.text.toStdString();
            }
    EXPECT_EQ(fett, Tiere);
}

TEST_F(ListenDruckDatenbankTest, PremisesNamePrintsOnlyForAListWithAPlaceholder)
{
    struct Fall {
        int liste;
        int betrieb;
        bool name;
    } faelle[] = {{Liste, 0, true}, {Liste, -1, true}, {OhnePlatzhalter, 0, false}};
    for (const Fall& f : faelle) {
        FakeDrucker drucker;
        auto druck = TListenDruck::CreateMitSQL(DM()->Datenbank, f.liste, f.betrieb, QString(),
                                                drucker, std::make_unique<AufzeichnendeAusgabe>());
        druck->DruckeInhalt(nullptr);
        int namen = 0;
        for (const TextEintrag& t : Texte(druck->Paper()))
            namen += t.text == QStringLiteral("Alle Betriebsstätten");
        EXPECT_EQ(namen, f.name ? druck->AktSeite() : 0) << f.liste << " " << f.betrieb;
        EXPECT_TRUE(Finde(Texte(druck->Paper()), QStringLiteral("Herdenliste")));
    }
}

TEST_F(ListenDruckDatenbankTest, CallersRowsStayOpenOnTheirRow)
{
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    db::DataSet daten(tr);
    daten.SetSelectSQL(
        QStringLiteral("SELECT Q1.NUMMER AS Q1NUMMER, Q1.NAME AS Q1NAME, Q1.GEBDAT AS Q1GEBDAT, "
                       "Q1.GEBDAT AS Q1FAELLIG FROM T_STAMMDATEN Q1 WHERE Q1.NUMMER <= 'DE 0010' "
                       "ORDER BY Q1.NUMMER DESC"));
    daten.Open();
    daten.MoveTo(4);
    FakeDrucker drucker;
    auto druck = TListenDruck::CreateMitDaten(DM()->Datenbank, Liste, 0, QString(), daten, drucker,
                                              std::make_unique<AufzeichnendeAusgabe>());
    druck->DruckeInhalt(nullptr);
    EXPECT_TRUE(daten.Active());
    EXPECT_EQ(daten.RecNo(), 4);
    EXPECT_FALSE(daten.ControlsDisabled());
    const auto texte = Texte(druck->Paper());
    ASSERT_TRUE(Finde(texte, Nummer(10)) && Finde(texte, Nummer(1)));
    EXPECT_LT(Finde(texte, Nummer(10))->y, Finde(texte, Nummer(1))->y) << "in the caller's order";
    EXPECT_FALSE(Finde(texte, Nummer(11)));
    EXPECT_FALSE(Finde(texte, QStringLiteral("Alle Betriebsstätten")))
        << "the caller decides on the premises name";
}

TEST_F(ListenDruckDatenbankTest, ListWindowShowsItsRowsInThePrintPreview)
{
    QPointer<TfrmListeNormal> fenster =
        FListeNormal::ListeAnzeigenEx(nullptr, Liste, 0, QStringLiteral("Nord"), QString(),
                                      QString(), true, false, {}, false, {});
    ASSERT_TRUE(fenster);
    fenster->QDaten().MoveTo(7);
    QString seiten;
    MessageBoxScript vorschau;
    vorschau.Window<TfmPreview>([&](TfmPreview& form) {
        seiten = form.Seiten().text();
        form.reject();
    });
    fenster->actDruckVorschau->trigger();
    EXPECT_TRUE(seiten.startsWith(QStringLiteral("Seite 1 / "))) << seiten.toStdString();
    EXPECT_NE(seiten, QStringLiteral("Seite 1 / 1")) << "120 rows take more than one page";
    EXPECT_EQ(fenster->QDaten().RecNo(), 7) << "the window keeps its row";
    delete fenster.data();
}

TEST_F(ListenDruckDatenbankTest, StatusColumnPrintsTheStatusPicturesIntoThePdf)
{
    const QString pdfimages = QStandardPaths::findExecutable("pdfimages");
    ASSERT_FALSE(pdfimages.isEmpty()) << "poppler-utils is needed (scripts/install-deps.sh)";
    {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        db::Query(tr,
                  "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, SQL, SCHRIFT, AUSRICHTUNG, "
                  "RAND_LINKS, RAND_RECHTS, RAND_OBEN, RAND_UNTEN) VALUES (43, 'Status', "
                  "'Statusliste', 'SELECT (SELECT STATUSIDX FROM P_STATUS_INDEX(Q1.ID)) AS "
                  "Q1STATUSIDX, Q1.NUMMER AS Q1NUMMER FROM T_STAMMDATEN Q1 WHERE Q1.NUMMER "
                  "<= ''DE 0010'' ORDER BY Q1.NUMMER', 'DejaVu Sans;14;', 'L', 15, 15, 15, 20)")
            .Execute();
        db::Query(tr,
                  "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL, L_POSITION, ZEILE, BREITE, "
                  "SCHRIFT, TITEL_SCHRIFT, AUSRICHTUNG, SICHTBAR) SELECT 43, F, F, P, 1, 20, "
                  "'DejaVu Sans;10;', 'DejaVu Sans;10;', 'L', 'T' FROM (SELECT 'Q1.STATUSIDX' "
                  "AS F, 0 AS P FROM RDB$DATABASE UNION ALL SELECT 'Q1.NUMMER', 10 FROM "
                  "RDB$DATABASE)")
            .Execute();
        db::Query(tr, "UPDATE T_STAMMDATEN SET STATUS = 'T' WHERE NUMMER <= 'DE 0004'").Execute();
        tr.Commit();
    }
    const auto farbe = [](const QImage& bild) {
        return bild.pixelColor(bild.width() / 2, bild.height() * 7 / 32);  // disc, above the letter
    };
    // Black and white is the setting's default; colour prints the status's colour.
    for (bool schwarzWeiss : {true, false}) {
        Einstellungen()->SetStatusIconSW(schwarzWeiss);
        QTemporaryDir ordner;
        const QString datei = QDir(ordner.path()).filePath("status.pdf");
        PdfDruck pdf(43, datei);
        ASSERT_TRUE(QFileInfo::exists(datei));
        // The pictures as the PDF holds them, in row order: the served animals' status first.
        QProcess leser;
        leser.start(pdfimages, {"-png", datei, QDir(ordner.path()).filePath("bild")});
        ASSERT_TRUE(leser.waitForFinished(30000));
        ASSERT_EQ(leser.exitCode(), 0) << leser.readAllStandardError().toStdString();
        const QStringList bilder =
            QDir(ordner.path()).entryList({"bild-*.png"}, QDir::Files, QDir::Name);
        ASSERT_EQ(bilder.size(), 10) << "one picture per animal";
        for (int i = 0; i < bilder.size(); ++i) {
            const QImage bild(QDir(ordner.path()).filePath(bilder[i]));
            ASSERT_FALSE(bild.isNull()) << bilder[i].toStdString();
            const QColor soll = farbe(StatusSymbole::Gross(i < 4 ? 4 : 0, schwarzWeiss));
            const QColor ist = farbe(bild.scaled(32, 32));
            EXPECT_LT(std::abs(ist.red() - soll.red()) + std::abs(ist.green() - soll.green()) +
                          std::abs(ist.blue() - soll.blue()),
                      60)
                << "row " << i + 1 << " black and white " << schwarzWeiss << ": "
                << ist.name().toStdString() << " for " << soll.name().toStdString();
        }
    }
}

TEST_F(ListenDruckDatenbankTest, UnknownDesignIsRefusedWithAMessage)
{
    FakeDrucker drucker;
    try {
        TListenDruck::CreateMitSQL(DM()->Datenbank, 999, 0, QString(), drucker);
        FAIL() << "no design 999";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Die Liste 999 ist nicht vorhanden.");
    }
}

}  // namespace
