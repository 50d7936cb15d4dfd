#include "BestandsbuchTestHilfe.h"
#include "../preview/DruckTestHilfe.h"

#include <BestandsbuchDruck.h>
#include <BestandsbuchLogik.h>

#include <Error.h>

#include <QDir>
#include <QRegularExpression>
#include <QProcess>
#include <QStandardPaths>

namespace {

using namespace Bestandsbuch;

TEST(BestandsbuchWerte, RowDisplayValues)
{
    struct Fall {
        int anzahl;
        const char* knr;
        const char* art;
        const char* name;
        const char* erwartet;
    } faelle[] = {{1, "007", "Kuh", "Berta", "007, Kuh, Berta"},
                  {1, "", "Kuh", "Berta", "1, Kuh, Berta"},
                  {1, "  ", "Kuh", "  ", "1, Kuh"},
                  {3, "007", "Rinder", "", "3, Rinder"},
                  {0, "", "Tiere", "", "0, Tiere"}};
    for (const Fall& f : faelle)
        EXPECT_EQ(AnzahlArtName(f.anzahl, f.knr, f.art, f.name), QString::fromUtf8(f.erwartet))
            << f.erwartet;

    EXPECT_EQ(Zeilen({"01.03.2024", "02.03.2024", "", "", ""}), "01.03.2024\n02.03.2024");
    EXPECT_EQ(Zeilen({"", "", "", "", ""}), "");
    EXPECT_EQ(Zeilen({"", "5 ml", "", " ", ""}), "\n5 ml") << "leading gaps stay";
    EXPECT_EQ(Wartezeit(5, 28), "M: 5  \nF: 28  ");
    EXPECT_EQ(VerabreichungMenge("i.m.", "10 ml"), "i.m., 10 ml");
    EXPECT_EQ(VerabreichungMenge("", "10 ml"), "10 ml");
    EXPECT_EQ(VerabreichungMenge("i.m.", " "), "i.m.");
    EXPECT_EQ(VerabreichungMenge("", ""), "");
    for (auto [z, i] :
         std::vector<std::pair<const char*, int>>{{"N", 0}, {"J", 1}, {"B", 2}, {"S", 3}, {"", 0}})
        EXPECT_EQ(StatusIndex(z), i) << z;
}

TEST(BestandsbuchWerte, ReversedRangeIsSwapped)
{
    const QDate a(2024, 3, 1), b(2024, 3, 31);
    EXPECT_EQ(Geordnet(b, a).von, a);
    EXPECT_EQ(Geordnet(b, a).bis, b);
    EXPECT_EQ(Geordnet(a, b).von, a);
    EXPECT_EQ(Geordnet(a, a).bis, a);
}

TEST(BestandsbuchWerte, DatesInStatementTextsIgnoreTheLocale)
{
    const QLocale vorher;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const Zeitraum z{QDate(2024, 3, 1), QDate(2024, 12, 31)};
    const QString sql = SchnellwahlSQL(z);
    const QString titel = Fenstertitel(z);
    QLocale::setDefault(vorher);
    EXPECT_TRUE(sql.contains("P_GET_BESTANDSBUCH('01.03.2024', '31.12.2024')"))
        << sql.toStdString();
    EXPECT_EQ(titel, "Bestandsbuch (von 01.03.2024 bis 31.12.2024)");
}

TEST(BestandsbuchWerte, DesignGivesTheGridItsColumnsAndHidesTheRest)
{
    QStringList felder = {"LID",      "TIERID",     "ANZAHL",   "KNR",          "ART",
                          "NAME",     "IDENTITAET", "STANDORT", "ARZNEIMITTEL", "BELEGNUMMER",
                          "ANWENDER", "WMILCH",     "WFLEISCH", "BESTANDSBUCH", "DATUMSORT"};
    for (const char* art : {"DATUM", "MENGE", "VERAB"})
        for (int i = 1; i <= 5; ++i)
            felder << QStringLiteral("ANW%1_%2").arg(i).arg(art);
    felder << "ANZAHLARTNAME"
           << "ANWDATUM"
           << "ANWMENGE"
           << "ANWVERABREICHUNG"
           << "WARTEZEIT"
           << "AASTATUSIDX";
    const ListenSpalten::Ergebnis e =
        ListenSpalten::SpaltenAnlegen(GridLayout(Design()), {felder, 96, 2000});
    QStringList spalten;
    for (const ListenSpalten::Spalte& s : e.spalten)
        spalten << s.datenfeld.section(':', 0, 0) + "|" + s.titel;
    EXPECT_EQ(spalten.size(), 9) << spalten.join(", ").toStdString();
    EXPECT_EQ(e.tierIdFeld, "TIERID");
    ASSERT_FALSE(e.spalten.empty());
    EXPECT_EQ(e.spalten.back().art, ListenSpalten::Art::StatusIcon);
    EXPECT_TRUE(e.spalten.front().gestapelt) << "identity under the animal text";
    EXPECT_EQ(ListenSpalten::Quellen(e.spalten.front().datenfeld, e.werte),
              QStringList({"ANZAHLARTNAME", "IDENTITAET"}));
}

class BestandsbuchBuchung : public BestandsbuchTest {};

TEST_F(BestandsbuchBuchung, QuickListStatementFindsTheAnimalsOfTheRangeUnderAnyLocale)
{
    // Day and month both below 13: a month-first text would ask for other days.
    Behandlung("B", {lisa}, QDate(2024, 3, 2));
    Behandlung("B", {anna}, QDate(2024, 2, 3));
    const QLocale vorher;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString sql = SchnellwahlSQL({QDate(2024, 3, 1), QDate(2024, 3, 5)});
    QLocale::setDefault(vorher);
    EXPECT_EQ(Ids(sql), QList<int>{lisa});
}

TEST_F(BestandsbuchBuchung, BookingCancellingAndDeletingMoveOnlyForward)
{
    auto& datenbank = DM()->Datenbank;
    const int offen = Behandlung("J", {berta}, QDate(2024, 3, 2));
    const int alt = Behandlung("J", {lisa}, QDate(2023, 1, 5));
    const int gruppe = Behandlung("J", {berta, lisa}, QDate(2024, 3, 5));
    Behandlung("N", {anna}, QDate(2024, 3, 6));
    EXPECT_EQ(OffeneAnzahl(datenbank), 3);

    Buchen(datenbank, offen);
    EXPECT_EQ(Zustand(offen), "B");
    EXPECT_THROW(Buchen(datenbank, offen), std::runtime_error) << "booking is final";
    Stornieren(datenbank, offen);
    EXPECT_EQ(Zustand(offen), "S");
    EXPECT_THROW(Stornieren(datenbank, offen), std::runtime_error);
    EXPECT_THROW(Stornieren(datenbank, alt), std::runtime_error) << "an open entry is not booked";
    EXPECT_EQ(Zustand(alt), "J");
    EXPECT_THROW(Loeschen(datenbank, offen), std::runtime_error) << "cancelled entries stay";
    EXPECT_EQ(Zustand(offen), "S");

    Loeschen(datenbank, gruppe);
    EXPECT_EQ(Zustand(gruppe), "-");
    EXPECT_EQ(Anzahl(QStringLiteral("SELECT COUNT(*) FROM T_TIERARZTANWENDUNG WHERE LEISTUNG = %1")
                         .arg(gruppe)),
              0);
    EXPECT_EQ(Anzahl(QStringLiteral("SELECT COUNT(*) FROM T_TIERARZTGRUPPE WHERE LEISTUNG = %1")
                         .arg(gruppe)),
              0);
    EXPECT_EQ(AlleBuchen(datenbank), 1) << "the open entry of 2023 too";
    EXPECT_EQ(Zustand(alt), "B");
    EXPECT_EQ(OffeneAnzahl(datenbank), 0);
}

TEST_F(BestandsbuchBuchung, DatabaseRefusalPassesOnAndChangesNothing)
{
    auto& datenbank = DM()->Datenbank;
    const int a = Behandlung("J", {berta}, QDate(2024, 3, 2));
    const int b = Behandlung("J", {lisa}, QDate(2024, 3, 3));
    Ausfuehren({"CREATE EXCEPTION E_GESPERRT 'Register gesperrt'",
                "CREATE TRIGGER T_SPERRE FOR T_TIERARZTLEISTUNG BEFORE UPDATE OR DELETE AS "
                "BEGIN IF (OLD.ID = " +
                    QString::number(b) + ") THEN EXCEPTION E_GESPERRT; END"});
    EXPECT_THROW(AlleBuchen(datenbank), db::Error);
    EXPECT_EQ(Zustand(a), "J") << "all or nothing";
    EXPECT_THROW(Loeschen(datenbank, b), db::Error);
    EXPECT_EQ(
        Anzahl(
            QStringLiteral("SELECT COUNT(*) FROM T_TIERARZTANWENDUNG WHERE LEISTUNG = %1").arg(b)),
        2)
        << "the applications stay with their treatment";
}

// The printout to a PDF file, read back by pdftotext.
class BestandsbuchDruckTest : public BestandsbuchTest {
protected:
    QStringList Drucken(const Zeitraum& z)
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
            return QDir(ordner.path()).filePath("bestandsbuch");
        };
        TDruckBestandsbuch druck(DM()->Datenbank, z, geraet, std::move(ausgabe));
        druck.DruckeInhalt(nullptr);
        seiten = druck.AktSeite();
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
        druck.Preview->Print();
        const QString datei = QDir(ordner.path()).filePath("bestandsbuch.pdf");
        EXPECT_TRUE(QFileInfo::exists(datei));
        QProcess leser;
        leser.start(pdftotext, {"-layout", datei, "-"});
        EXPECT_TRUE(leser.waitForFinished(30000));
        QStringList s = QString::fromUtf8(leser.readAllStandardOutput()).split('\f');
        if (!s.isEmpty() && s.back().trimmed().isEmpty())
            s.removeLast();
        return s;
    }
    int seiten = 0;
};

TEST_F(BestandsbuchDruckTest, EntriesWithTheirStateOnEveryPage)
{
    ProgDatum::HeuteSetzen(QDate(2024, 4, 2));
    const QDate start(2024, 3, 1);
    for (int i = 0; i < 40; ++i)
        Behandlung(i % 3 == 0 ? "J" : "B", {berta}, start.addDays(i % 28),
                   QStringLiteral("Mittel %1").arg(i, 2, 10, QChar('0')), 1 + i % 5);
    const int storno = Behandlung("S", {lisa}, QDate(2024, 3, 29), "Storniertes Mittel");
    Behandlung("B", {lisa}, QDate(2024, 5, 1), "Ausserhalb");
    const QStringList pdf = Drucken({QDate(2024, 3, 1), QDate(2024, 3, 31)});
    ASSERT_GE(seiten, 2);
    ASSERT_EQ(pdf.size(), seiten);
    for (int i = 0; i < seiten; ++i) {
        const QString& seite = pdf[i];
        EXPECT_TRUE(seite.contains("Bestandsbuch über die Anwendung von Arzneimitteln")) << i;
        EXPECT_TRUE(seite.contains("Stand: 02.04.2024")) << i;
        EXPECT_TRUE(seite.contains(QStringLiteral("Seite %1").arg(i + 1))) << i;
        EXPECT_TRUE(seite.contains("Wartezeit: M: Milch, F: Fleisch in Tagen")) << i;
        EXPECT_TRUE(seite.contains("Nicht gebuchte Einträge können noch bearbeitet werden!")) << i;
        EXPECT_TRUE(seite.contains("Arzneimittelbezeichnung")) << i;
    }
    const QString alles = pdf.join('\n');
    for (int i = 0; i < 40; ++i)
        EXPECT_TRUE(alles.contains(QStringLiteral("Mittel %1").arg(i, 2, 10, QChar('0')))) << i;
    EXPECT_FALSE(alles.contains("Ausserhalb"));
    EXPECT_EQ(alles.count("Eintrag nicht gebucht"), 14);
    EXPECT_EQ(alles.count("Eintrag storniert"), 1);
    EXPECT_TRUE(alles.contains(QRegularExpression("007, \\w+, Berta"))) << alles.toStdString();
    EXPECT_TRUE(alles.contains("i.m., 10 ml"));
    EXPECT_TRUE(alles.contains("01.03.2024"));
    (void)storno;
}

TEST_F(BestandsbuchDruckTest, StruckOutCancelledEntryAndIdentityLines)
{
    ProgDatum::HeuteSetzen(QDate(2024, 4, 2));
    Behandlung("S", {lisa}, QDate(2024, 3, 29), "Storniertes Mittel");
    Behandlung("B", {berta, lisa, anna}, QDate(2024, 3, 10), "Gruppenmittel");
    FakeDrucker drucker;
    TDruckBestandsbuch druck(DM()->Datenbank, {QDate(2024, 3, 1), QDate(2024, 3, 31)}, drucker,
                             std::make_unique<AufzeichnendeAusgabe>());
    druck.DruckeInhalt(nullptr);
    const auto texte = Texte(druck.Paper());
    const TextEintrag* storno = Finde(texte, "Storniertes Mittel");
    ASSERT_TRUE(storno);
    EXPECT_TRUE(storno->stil & fsStrikeOut);
    const TextEintrag* gruppe = Finde(texte, "Gruppenmittel");
    ASSERT_TRUE(gruppe);
    EXPECT_FALSE(gruppe->stil & fsStrikeOut);
    EXPECT_EQ(gruppe->x, 200 + 570);
    const TextEintrag* vermerk = Finde(texte, "Eintrag storniert");
    ASSERT_TRUE(vermerk);
    EXPECT_TRUE(vermerk->stil & fsBold);

    // The group's identity takes three lines; the next entry starts below all of them.
    const auto mit = [&texte](const char* teil) -> const TextEintrag* {
        for (const TextEintrag& t : texte)
            if (t.text.contains(teil))
                return &t;
        return nullptr;
    };
    const TextEintrag* letzte = mit("333");
    const TextEintrag* erste = mit("111");
    ASSERT_TRUE(letzte && erste);
    EXPECT_EQ(erste->y, gruppe->y + druck.Zeilenhoehe());
    EXPECT_GT(letzte->y, erste->y);
    EXPECT_GT(storno->y, letzte->y + druck.Zeilenhoehe()) << "no overlap with the next entry";
}

}  // namespace
