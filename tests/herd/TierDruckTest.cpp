#include "HerdeTest.h"
#include "../preview/DruckTestHilfe.h"

#include <DruckMLPDatenTier.h>
#include <DruckStammdatenblatt.h>
#include <DruckTierarztTier.h>
#include <TierDruck.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstring>

namespace {

struct Rechteck {
    int seite;
    QRect r;
};

// The rectangles a page store holds, as recorded (left, top, right, bottom).
std::vector<Rechteck> Rechtecke(const TPaper& paper)
{
    std::vector<Rechteck> ergebnis;
    const QByteArray& stream = paper.Stream();
    for (const TSizeEntry& e : paper.SizeList()) {
        if (e.ItemType != 14)
            continue;
        std::int32_t v[4];
        std::memcpy(v, stream.constData() + e.DataPos, sizeof v);
        ergebnis.push_back({e.Page, QRect(QPoint(v[0], v[1]), QPoint(v[2], v[3]))});
    }
    return ergebnis;
}

std::vector<TextEintrag> Mit(const std::vector<TextEintrag>& texte, const QString& teil)
{
    std::vector<TextEintrag> treffer;
    for (const TextEintrag& t : texte)
        if (t.text.contains(teil))
            treffer.push_back(t);
    return treffer;
}

// The herd of HerdeTest with the records of an animal's life written straight into the tables,
// and its printouts made to PDF files read back by pdftotext.
class TierDruckTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2025, 6, 15));
    }

    int Einfuegen(const QString& sql, const QVariantMap& werte)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        for (auto it = werte.begin(); it != werte.end(); ++it)
            q.Param(it.key()).SetVariant(it.value());
        q.Execute();
        const int id = sql.contains("RETURNING") ? q.Field(0).AsInteger() : 0;
        tr.Commit();
        return id;
    }

    int Kalbung(int tier, const QDate& datum, int nr, const QString& nummer,
                const QString& bemerkung = {})
    {
        return Einfuegen(
            "INSERT INTO T_KALBUNGEN (TIER, DATUM, NUMMER, GESCHLECHT, VERLAUF, NR, "
            "BEMERKUNG) VALUES (:T, :D, :N, 'W', 'leicht', :NR, :B) RETURNING ID",
            {{"T", tier},
             {"D", datum},
             {"N", nummer},
             {"NR", nr},
             {"B", bemerkung.isEmpty() ? QVariant() : QVariant(bemerkung)}});
    }

    void Besamung(int tier, const QDate& datum, int nr, const QString& stier,
                  const QString& bemerkung = {})
    {
        Einfuegen(
            "INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER, NUMMER, NR, BEMERKUNG) VALUES "
            "(:T, :D, :S, '276000123', :NR, :B)",
            {{"T", tier},
             {"D", datum},
             {"S", stier},
             {"NR", nr},
             {"B", bemerkung.isEmpty() ? QVariant() : QVariant(bemerkung)}});
    }

    void Bemerkung(int tier, const QDate& datum, const QString& text)
    {
        Einfuegen("INSERT INTO T_BEMERKUNGEN (TIER, DATUM, BEMERKUNG) VALUES (:T, :D, :B)",
                  {{"T", tier}, {"D", datum}, {"B", text}});
    }

    // A treatment with one application a day from datum on.
    int Behandlung(const char* zustand, std::initializer_list<int> tiere, const QDate& datum,
                   const QString& mittel, int anwendungen = 1)
    {
        const int id = Einfuegen(
            "INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, GRUND, KATEGORIE, ARZNEIMITTEL, "
            "BELEGNUMMER, STANDORT, ANWENDER, WMILCH, WFLEISCH) VALUES (:Z, 'Mastitis', "
            "'Euter', :M, 'B-17', 'Stall 1', 'Dr. Weber', 5, 28) RETURNING ID",
            {{"Z", QString::fromLatin1(zustand)}, {"M", mittel}});
        for (int tier : tiere)
            Einfuegen("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (:T, :L)",
                      {{"T", tier}, {"L", id}});
        for (int tag = 0; tag < anwendungen; ++tag)
            Einfuegen(
                "INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE, VERABREICHUNG) "
                "VALUES (:L, :D, :M, 'i.m.')",
                {{"L", id}, {"D", datum.addDays(tag)}, {"M", QString("%1 ml").arg(10 + tag)}});
        return id;
    }

    // One test day of the animal (a test-day row of its own per call).
    void Probe(int tier, int nummer, const QDate& datum, const char* typ, QVariant milch = 31.4,
               QVariant harnstoff = 253)
    {
        const int pm = Einfuegen(
            "INSERT INTO T_PROBEMELKEN (NUMMER, DATUM) VALUES (:N, :D) "
            "RETURNING ID",
            {{"N", nummer}, {"D", datum}});
        Einfuegen(
            "INSERT INTO T_PROBEMELKEN_WERTE (TIER, PROBEMELKEN, TYP, MILCH, FETT, EIWEIS, "
            "ZELLZAHL, HARNSTOFF, LACTOSE, TROCKENMASSE, MILCHWERT, LTAGE, LMILCH, LFETT, "
            "LEIWEIS) VALUES (:T, :P, :TYP, :MILCH, 4.12, 3.45, 120, :H, 4.8, 12.6, 95, "
            ":LT, 3456, 4.05, 3.41)",
            {{"T", tier},
             {"P", pm},
             {"TYP", QString::fromLatin1(typ)},
             {"MILCH", milch},
             {"H", harnstoff},
             {"LT", nummer * 30}});
    }

    // The printout made to a PDF file on A4 and read back page by page.
    template <class D>
    QStringList Pdf(int tier, QPageLayout::Orientation erwartet)
    {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        EXPECT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed";
        QTemporaryDir ordner;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QPrinterGeraet geraet(printer);
        auto ausgabe = std::make_unique<QPrinterOutput>(printer);
        ausgabe->FileNameQuery = [&](const QString&) {
            return QDir(ordner.path()).filePath("druck");
        };
        D druck(DM()->Datenbank, geraet, std::move(ausgabe));
        druck.TierID = tier;
        druck.DruckeInhalt(nullptr);
        seiten = druck.AktSeite();
        EXPECT_EQ(printer.pageLayout().orientation(), erwartet);
        druck.Preview->Print();
        const QString datei = QDir(ordner.path()).filePath("druck.pdf");
        EXPECT_TRUE(QFileInfo::exists(datei));
        QProcess leser;
        leser.start(pdftotext, {"-layout", datei, "-"});
        EXPECT_TRUE(leser.waitForFinished(30000));
        QStringList s = QString::fromUtf8(leser.readAllStandardOutput()).split('\f');
        if (!s.isEmpty() && s.back().trimmed().isEmpty())
            s.removeLast();
        EXPECT_EQ(s.size(), seiten) << "every page in the file";
        return s;
    }

    // The printout recorded on a printer of known geometry.
    template <class D>
    std::unique_ptr<D> Aufzeichnen(int tier)
    {
        auto druck =
            std::make_unique<D>(DM()->Datenbank, drucker, std::make_unique<AufzeichnendeAusgabe>());
        druck->TierID = tier;
        druck->DruckeInhalt(nullptr);
        return druck;
    }

    static bool Zeile(const QString& seite, const QString& muster)
    {
        return seite.contains(QRegularExpression(muster));
    }

    FakeDrucker drucker;
    int seiten = 0;
};

TEST_F(TierDruckTest, AnimalSheetOfACowHoldsEverySectionWithItsValues)
{
    Ausfuehren(
        {"INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER, GV) VALUES (12, 'Alm', "
         "'276090000000012', 'F')",
         "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (23, 'Sommerweide', 12)",
         QString("UPDATE T_STAELLE SET BIS = DATE '2024-05-31' WHERE TIER = %1").arg(berta),
         QString("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, DATE '2024-06-01', 23)")
             .arg(berta),
         QString("UPDATE T_STAMMDATEN SET STATUS = 'B', STATUSEXT = 'P', VATER = 'BOSS', "
                 "VATERNR = '123456', MUTTER = 'Rosi', MUTTERNR = 'DE 01 000 12345', "
                 "GEKAUFT = DATE '2024-03-01', GEKAUFTBEM = 'Markt', RINDERN = DATE '2025-07-01' "
                 "WHERE ID = %1")
             .arg(berta)});
    Besamung(berta, QDate(2024, 3, 20), 1, "ALFONS");
    Besamung(berta, QDate(2024, 4, 12), 2, "BERND", "nachbesamt");
    Kalbung(berta, QDate(2025, 1, 10), 1, "DE 01 777 77777", "Steisslage");
    Besamung(berta, QDate(2025, 4, 2), 3, "CARLO");
    Besamung(berta, QDate(2025, 4, 3), 3, "CARLO", "Doppelbesamung");
    Probe(berta, 1, QDate(2025, 2, 1), "1N");
    Behandlung("B", {berta}, QDate(2025, 3, 1), "Penicillin");
    Bemerkung(berta, QDate(2025, 2, 3), "Klauenschnitt hinten links");

    const QStringList pdf = Pdf<TDruckStammdatenblatt>(berta, QPageLayout::Portrait);
    ASSERT_EQ(seiten, 1);
    const QString& s = pdf[0];
    EXPECT_TRUE(Zeile(s, "Stammdaten-Blatt +Stand: 15\\.06\\.2025")) << s.toStdString();
    EXPECT_TRUE(Zeile(s, "Seite 1")) << s.toStdString();
    for (const char* muster : {"KNR: +007 +Vater: +BOSS +HB-Nr: +123456",
                               "Name: +Berta +Mutter: +Rosi +Nummer: +DE 01 000 12345",
                               "Nummer: +DE 01 111 11111 +gekauft: +01\\.03\\.2024 +Bem: +Markt",
                               "Geb\\. Dat\\.: +01\\.01\\.2024",
                               "Geschlecht: *weiblich",
                               "Rasse: +Holstein-Schwarzbunt",
                               "Art: +Pension",
                               "Tage seit Kalbung / trächtig / vorauss\\. Kalbetermin:",
                               "Betriebsstätte: +Sommerweide",
                               "Betriebsstätten:",
                               "Betriebsstätte +von +bis +Gruppe +Betriebsnummer +GV",
                               "Nord +01\\.01\\.2024 +31\\.05\\.2024 +Hof .*☑",
                               "Sommerweide +01\\.06\\.2024 +Alm .*☐",
                               "Aktuelle Laktation:",
                               "nächstes Rindern: 01\\.07\\.2025 *Status: besamt",
                               "3 +02\\.04\\.2025 +CARLO +276000123",
                               "03\\.04\\.2025 +CARLO +276000123 +Doppelbesamung",
                               "Frühere Laktationen:",
                               "1 +20\\.03\\.2024 +ALFONS",
                               "2 +12\\.04\\.2024 +BERND +276000123 +nachbesamt",
                               "Nr +Datum +G\\. +Nummer +Verlauf +Bemerkung",
                               "1 +10\\.01\\.2025 +W +DE 01 777 77777 *leicht +Steisslage",
                               "Es sind MLP Daten vorhanden",
                               "Es sind tierärztliche Behandlungen vorhanden",
                               "Bemerkungen:",
                               "03\\.02\\.2025 +Klauenschnitt hinten links"})
        EXPECT_TRUE(Zeile(s, QString::fromUtf8(muster))) << muster << "\n" << s.toStdString();
    EXPECT_FALSE(s.contains("Status:  ")) << "the bull's status line is not there";
    // Inseminations of one heat print their number once.
    const auto druck = Aufzeichnen<TDruckStammdatenblatt>(berta);
    const auto texte = Texte(druck->Paper());
    int dreien = 0;
    for (const TextEintrag& t : texte)
        dreien += t.text == "3" && t.x == 200 + 15;
    EXPECT_EQ(dreien, 1);
}

TEST_F(TierDruckTest, BullSheetHasTheStatusLineButNoLactationOrMilkRecording)
{
    Ausfuehren({QString("UPDATE T_STAMMDATEN SET GESCHLECHT = 'M', STATUS = 'Z', STATUSEXT = 'M' "
                        "WHERE ID = %1")
                    .arg(lisa)});
    Behandlung("J", {lisa}, QDate(2025, 3, 1), "Penicillin");
    const QStringList pdf = Pdf<TDruckStammdatenblatt>(lisa, QPageLayout::Portrait);
    ASSERT_EQ(seiten, 1);
    const QString& s = pdf[0];
    for (const char* muster :
         {"Geschlecht: *männlich", "Art: +Mutterkuh", "Betriebsstätten:", "Status: +Zuchtstier",
          "Es sind tierärztliche Behandlungen vorhanden", "Es sind keine Bemerkungen vorhanden"})
        EXPECT_TRUE(Zeile(s, QString::fromUtf8(muster))) << muster << "\n" << s.toStdString();
    for (const char* fehlt : {"Laktation", "Kalbungen", "Besamungen", "MLP"})
        EXPECT_FALSE(s.contains(QString::fromUtf8(fehlt))) << fehlt;
}

TEST_F(TierDruckTest, CowWithoutHistoryPrintsWhatIsMissing)
{
    const QStringList pdf = Pdf<TDruckStammdatenblatt>(lisa, QPageLayout::Portrait);
    ASSERT_EQ(seiten, 1);
    for (const char* text :
         {"Es sind keine Besamungen vorhanden", "Es sind keine Kalbungen vorhanden",
          "Es sind keine MLP Daten vorhanden", "Es sind keine tierärztliche Behandlungen vorhanden",
          "Es sind keine Bemerkungen vorhanden"})
        EXPECT_TRUE(pdf[0].contains(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(pdf[0].contains("Frühere Laktationen:"));
    // Every section is framed: master data, premises, current and earlier lactations, milk
    // recording, treatments and remarks.
    const auto druck = Aufzeichnen<TDruckStammdatenblatt>(lisa);
    const auto rahmen = Rechtecke(druck->Paper());
    ASSERT_EQ(rahmen.size(), 7u);
    for (std::size_t i = 0; i < rahmen.size(); ++i) {
        EXPECT_EQ(rahmen[i].r.left(), 200);
        EXPECT_EQ(rahmen[i].r.right(), 2100 - 200);
        if (i > 0) {
            EXPECT_EQ(rahmen[i].r.top(), rahmen[i - 1].r.bottom()) << "sections follow closely";
        }
    }
}

TEST_F(TierDruckTest, LongSheetContinuesWithTheAnimalLineAndContinuationHeaders)
{
    // Neither name nor herd number: the continuation pages name the animal by its ear tag.
    const int ohne = Tier("DE 01 555 55555", 0, QString(), 21);
    for (int i = 0; i < 40; ++i)
        Bemerkung(ohne, QDate(2024, 2, 1).addDays(i),
                  QString("Bemerkung %1 zur Fütterung").arg(i, 2, 10, QChar('0')));
    QString lang;
    for (int i = 0; i < 60; ++i)
        lang += QString("Wort%1 ").arg(i) + (i % 10 == 9 ? "\r\n" : "");
    Bemerkung(ohne, QDate(2024, 4, 1), lang.trimmed());
    const QStringList pdf = Pdf<TDruckStammdatenblatt>(ohne, QPageLayout::Portrait);
    ASSERT_GE(seiten, 2);
    EXPECT_FALSE(pdf[0].contains("Tier: ")) << "the first page shows the master data instead";
    for (int i = 1; i < seiten; ++i) {
        EXPECT_TRUE(Zeile(pdf[i], "Tier: DE 01 555 55555\\s*\\n")) << pdf[i].toStdString();
        EXPECT_TRUE(Zeile(pdf[i], "Stammdaten-Blatt +Stand: 15\\.06\\.2025")) << i;
        EXPECT_TRUE(pdf[i].contains(QString("Seite %1").arg(i + 1))) << i;
    }
    const QString alles = pdf.join('\n');
    EXPECT_EQ(alles.count("Bemerkungen: (Fortsetzung)"), seiten - 1) << alles.toStdString();
    for (int i = 0; i < 40; ++i)
        EXPECT_TRUE(
            alles.contains(QString("Bemerkung %1 zur Fütterung").arg(i, 2, 10, QChar('0'))));
    EXPECT_TRUE(alles.contains("Wort0 Wort1")) << "the long remark wraps into the frame";
    EXPECT_TRUE(alles.contains("Wort59"));

    const auto druck = Aufzeichnen<TDruckStammdatenblatt>(ohne);
    const int unten = 2970 - 200;
    const auto texte = Texte(druck->Paper());
    for (const TextEintrag& t : Mit(texte, "Wort")) {
        EXPECT_GE(t.x, 200 + 235);
        EXPECT_LE(t.y, unten);
    }
    // The frame of the old page closes at the break, and the new page opens its own.
    for (const Rechteck& r : Rechtecke(druck->Paper())) {
        EXPECT_LE(r.r.bottom(), unten) << "page " << r.seite;
        EXPECT_GT(r.r.height(), 16);
    }
    int letzteSeite = 0;
    for (const Rechteck& r : Rechtecke(druck->Paper()))
        letzteSeite = std::max(letzteSeite, r.seite);
    EXPECT_EQ(letzteSeite, druck->AktSeite());
}

// Breeds can be deleted in databases that lost the constraint, and a status letter may have no
// row: the sheet still prints the animal itself, leaving only that text empty.
TEST_F(TierDruckTest, AnimalWithDeletedBreedOrUnknownStatusStillPrints)
{
    Ausfuehren({"ALTER TABLE T_STAMMDATEN DROP CONSTRAINT I_STAMMDATEN_RASSE"});
    Ausfuehren({"INSERT INTO T_RASSEN (ID, BEZEICHNUNG, RASSE_KURZ) VALUES (777, 'Weg', '77')",
                QString("UPDATE T_STAMMDATEN SET RASSE = 777 WHERE ID = %1").arg(berta),
                "DELETE FROM T_RASSEN WHERE ID = 777",
                QString("UPDATE T_STAMMDATEN SET STATUS = 'O' WHERE ID = %1").arg(lisa),
                "DELETE FROM T_STATUS_IDX WHERE STATUS = 'O'"});
    for (const auto& [tier, nummer, name] : {std::tuple{berta, "DE 01 111 11111", "Berta"},
                                             std::tuple{lisa, "DE 01 222 22222", "Lisa"}}) {
        const QStringList pdf = Pdf<TDruckStammdatenblatt>(tier, QPageLayout::Portrait);
        ASSERT_EQ(pdf.size(), 1) << name;
        EXPECT_TRUE(Zeile(pdf[0], QString("Name: +%1").arg(name))) << pdf[0].toStdString();
        EXPECT_TRUE(Zeile(pdf[0], QString("Nummer: +%1").arg(nummer))) << name;
        EXPECT_TRUE(Zeile(pdf[0], "Geb\\. Dat\\.: +01\\.01\\.2024")) << name;
        EXPECT_TRUE(pdf[0].contains("Es sind keine Bemerkungen vorhanden")) << name;
    }
}

TEST_F(TierDruckTest, VanishedAnimalIsReportedAndLeavesNoTransactionOpen)
{
    TDruckStammdatenblatt druck(DM()->Datenbank, drucker, std::make_unique<AufzeichnendeAusgabe>());
    druck.TierID = 9999;
    try {
        druck.DruckeInhalt(nullptr);
        FAIL() << "no animal 9999";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Das Tier 9999 ist nicht mehr vorhanden.");
    }
    druck.TierID = berta;
    druck.DruckeInhalt(nullptr);
    EXPECT_TRUE(Finde(Texte(druck.Paper()), "Berta"))
        << "a second run works in a fresh transaction";
}

TEST_F(TierDruckTest, TreatmentListWithDatesBelowEachOtherAndCancelledEntriesStruckOut)
{
    const int drei = Behandlung("B", {berta}, QDate(2025, 3, 1), "Penicillin", 3);
    Behandlung("S", {berta}, QDate(2025, 3, 10), "Storniertes Mittel");
    Behandlung("N", {berta, lisa}, QDate(2025, 3, 20), "Gruppenmittel");
    Behandlung("J", {lisa}, QDate(2025, 3, 25), "Fremdes Mittel");
    const QStringList pdf = Pdf<TDruckTierarztTier>(berta, QPageLayout::Landscape);
    ASSERT_EQ(seiten, 1);
    const QString& s = pdf[0];
    for (const char* muster :
         {"Tierärztliche Behandlungen Tier +Stand: 15\\.06\\.2025",
          "Tier: 007 - Berta - DE 01 111 11111",
          "Bestandsb\\. +Standort +Grund +Arzneimittel +W\\. Milch +Datum +Verabr\\. +Menge",
          "Gruppe +Kategorie +Anwender +Belegnummer +W\\. Fleisch",
          "gebucht +Stall 1 +Mastitis +Penicillin +5 +01\\.03\\.2025 *i\\.m\\. +10 ml",
          "02\\.03\\.2025 *i\\.m\\. +11 ml", "03\\.03\\.2025 *i\\.m\\. +12 ml",
          "Euter +Dr\\. Weber +B-17 +28", "storniert +Stall 1 +Mastitis +Storniertes Mittel",
          "nein +Stall 1 +Mastitis +Gruppenmittel", "Gruppenbeh\\.", "Seite 1"})
        EXPECT_TRUE(Zeile(s, QString::fromUtf8(muster))) << muster << "\n" << s.toStdString();
    EXPECT_FALSE(s.contains("Fremdes Mittel"));
    (void)drei;

    const auto druck = Aufzeichnen<TDruckTierarztTier>(berta);
    const auto texte = Texte(druck->Paper());
    const int h = druck->Zeilenhoehe();
    const TextEintrag* d1 = Finde(texte, "01.03.2025");
    const TextEintrag* d3 = Finde(texte, "03.03.2025");
    const TextEintrag* storno = Finde(texte, "Storniertes Mittel");
    const TextEintrag* gruppe = Finde(texte, "Gruppenmittel");
    ASSERT_TRUE(d1 && d3 && storno && gruppe);
    EXPECT_EQ(d1->x, 200 + 1990);
    EXPECT_EQ(d3->x, d1->x);
    EXPECT_EQ(d3->y, d1->y + 2 * h) << "one date below the other";
    EXPECT_GT(storno->y, d3->y) << "the next treatment starts below the dates";
    EXPECT_TRUE(storno->stil & fsStrikeOut);
    EXPECT_TRUE(Finde(texte, "storniert")->stil & fsStrikeOut);
    for (const TextEintrag& t : texte)
        if (t.y > storno->y && t.y < gruppe->y) {
            EXPECT_TRUE(t.stil & fsStrikeOut) << "the whole treatment: " << t.text.toStdString();
        }
    EXPECT_FALSE(gruppe->stil & fsStrikeOut) << "the next treatment is plain";
    const TextEintrag* gruppenbeh = Finde(texte, "Gruppenbeh.");
    ASSERT_TRUE(gruppenbeh);
    EXPECT_FALSE(gruppenbeh->stil & fsStrikeOut);
    EXPECT_EQ(gruppenbeh->x, 200);
    EXPECT_EQ(gruppenbeh->y, gruppe->y + h) << "on the treatment's second line";
}

TEST_F(TierDruckTest, TreatmentListRepeatsItsHeadOnEveryPage)
{
    for (int i = 0; i < 30; ++i)
        Behandlung("B", {berta}, QDate(2025, 1, 1).addDays(i * 3),
                   QString("Mittel %1").arg(i, 2, 10, QChar('0')), 1 + i % 3);
    const QStringList pdf = Pdf<TDruckTierarztTier>(berta, QPageLayout::Landscape);
    ASSERT_GE(seiten, 2);
    for (int i = 0; i < seiten; ++i) {
        EXPECT_TRUE(pdf[i].contains("Tier: 007 - Berta - DE 01 111 11111")) << i;
        EXPECT_TRUE(Zeile(pdf[i], "Gruppe +Kategorie +Anwender")) << i;
        EXPECT_TRUE(pdf[i].contains(QString("Seite %1").arg(i + 1))) << i;
    }
    const QString alles = pdf.join('\n');
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(alles.count(QString("Mittel %1").arg(i, 2, 10, QChar('0'))), 1) << i;

    // No treatment is split: its lines stand on one page above the bottom margin.
    const auto druck = Aufzeichnen<TDruckTierarztTier>(berta);
    const int unten = 2100 - 200;
    for (const TextEintrag& t : Texte(druck->Paper()))
        if (!t.text.startsWith("Seite ") && t.text != TDrucken::Produkthinweis()) {
            EXPECT_LE(t.y + druck->Zeilenhoehe(), unten + druck->Zeilenhoehe() / 2)
                << t.text.toStdString();
        }
}

TEST_F(TierDruckTest, MilkRecordingListWithCalvingLinesTestDaysAndTotals)
{
    Kalbung(berta, QDate(2024, 11, 1), 1, "DE 01 777 77777");
    Probe(berta, 1, QDate(2024, 11, 20), "1N");
    Probe(berta, 2, QDate(2024, 12, 20), "2T");
    Probe(berta, 3, QDate(2025, 1, 20), "1N", 0.5, QVariant());
    Probe(berta, 4, QDate(2025, 2, 20), "2A");
    const QStringList pdf = Pdf<TDruckMLPDatenTier>(berta, QPageLayout::Landscape);
    ASSERT_EQ(seiten, 1);
    const QString& s = pdf[0];
    for (const char* muster :
         {"MLP Daten Tier +Stand: 15\\.06\\.2025", "Tier: 007 - Berta - DE 01 111 11111",
          "PM +Datum +MW +Milch +Fett +Eiweis +Zellzahl +Harnsto.* +Laktose +TM +L\\. Tage "
          "+L\\. Milch +L\\. Fett +L\\. Eiweis",
          "1\\. Kalbung am 01\\.11\\.2024",
          "1 +20\\.11\\.2024 +95 +31,4 +4,12 +3,45 +120 +253 +4,80 +12,60 +30 +3456 +4,05 +3,41",
          "2 +20\\.12\\.2024 +95 +-- +-- +trocken +-- +-- +60 +3456 +4,05 +3,41",
          "3 +20\\.01\\.2025 +95 +,5 +4,12 +3,45 +120 +4,80 +12,60 +90",
          "4 +20\\.02\\.2025 +95 +-- +-- +ausgefallen +-- +-- +120"})
        EXPECT_TRUE(Zeile(s, QString::fromUtf8(muster))) << muster << "\n" << s.toStdString();

    const auto druck = Aufzeichnen<TDruckMLPDatenTier>(berta);
    const auto texte = Texte(druck->Paper());
    const TextEintrag* kalbung = Finde(texte, "1. Kalbung am 01.11.2024");
    ASSERT_TRUE(kalbung);
    EXPECT_TRUE(kalbung->stil & fsBold);
    EXPECT_EQ(kalbung->x, 200);
}

TEST_F(TierDruckTest, UreaFollowsTheFarmSetting)
{
    Probe(berta, 1, QDate(2024, 11, 20), "1N", 31.4, 253);
    for (const auto& [anzeige, text] : {std::pair{1, "25,3"}, std::pair{0, "253"}}) {
        Einstellungen()->Bearbeiten();
        Einstellungen()->SetHarnstoffAnzeige(anzeige);
        Einstellungen()->Speichern();
        const auto druck = Aufzeichnen<TDruckMLPDatenTier>(berta);
        const auto texte = Texte(druck->Paper());
        const TextEintrag* harnstoff = nullptr;
        for (const TextEintrag& t : texte)
            if (t.x == 200 + 1320 && t.text != "Harnstoff")
                harnstoff = &t;
        ASSERT_TRUE(harnstoff) << anzeige;
        EXPECT_EQ(harnstoff->text, QString::fromLatin1(text)) << anzeige;
    }
    EXPECT_EQ(TDruckMLPDatenTier::HarnstoffText(0, 0), "");
    EXPECT_EQ(TDruckMLPDatenTier::HarnstoffText(5, 1), ",5");
}

TEST_F(TierDruckTest, CalvingLineNeverStandsInTheLastTwoLinesOfAPage)
{
    for (int k = 0; k < 10; ++k) {
        const QDate kalbung = QDate(2015, 1, 1).addYears(k);
        Kalbung(berta, kalbung, k + 1, QString("DE 01 700 000%1").arg(k, 2, 10, QChar('0')));
        for (int p = 0; p < 3 + k % 4; ++p)
            Probe(berta, k * 10 + p + 1, kalbung.addDays(20 + 30 * p), "1N");
    }
    const QStringList pdf = Pdf<TDruckMLPDatenTier>(berta, QPageLayout::Landscape);
    ASSERT_GE(seiten, 2);
    for (int i = 0; i < seiten; ++i)
        EXPECT_TRUE(Zeile(pdf[i], "PM +Datum +MW")) << "heads on page " << i + 1;
    const auto druck = Aufzeichnen<TDruckMLPDatenTier>(berta);
    const int h = druck->Zeilenhoehe();
    const int unten = 2100 - 200;
    const auto kalbungen = Mit(Texte(druck->Paper()), "Kalbung am");
    ASSERT_EQ(kalbungen.size(), 10u);
    for (const TextEintrag& t : kalbungen)
        EXPECT_LE(t.y + 3 * h, unten) << t.text.toStdString();
}

TEST(TierDruckZahl, NumbersAsTheColumnsPrintThem)
{
    const struct {
        double wert;
        int stellen;
        const char* text;
    } faelle[] = {{31.44, 1, "31,4"}, {0.5, 1, ",5"},        {4.1, 2, "4,10"}, {0, 2, ",00"},
                  {-0.25, 2, "-,25"}, {1234.5, 1, "1234,5"}, {253, 0, "253"},  {0, 0, ""}};
    for (const auto& f : faelle)
        EXPECT_EQ(TierDruck::Zahl(f.wert, f.stellen), QString::fromLatin1(f.text)) << f.wert;
    EXPECT_EQ(TierDruck::Zeilen("a\r\nb\nc"), "a\rb\rc");
}

}  // namespace
