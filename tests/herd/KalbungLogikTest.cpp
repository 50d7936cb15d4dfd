#include <KalbungLogik.h>

#include <LomCoder.h>

#include <gtest/gtest.h>

#include <cstdint>

using namespace Kalbung;

namespace {

int64_t Zahl(const QString& text)
{
    int64_t n = 0;
    EXPECT_EQ(Lom::EncodeLom(text.toStdString(), n), 0) << text.toStdString();
    return n;
}

TEST(KalbungLogik, NachfolgerBehaeltLandUndDruckform)
{
    const QString nach = NachfolgeNummer(QStringLiteral("de 01 234 56789"));
    EXPECT_EQ(nach, QString::fromStdString(Lom::DecodeLom(Zahl("DE 01 234 56789") + 1)));
    EXPECT_TRUE(nach.startsWith("DE "));
    EXPECT_EQ(NachfolgeNummer(nach), QString::fromStdString(Lom::DecodeLom(Zahl(nach) + 1)));
}

TEST(KalbungLogik, NachfolgerMitPruefzifferIstDieNaechsteGueltigeNummer)
{
    // An Austrian tag: its check digit sits at the seventh of nine places.
    QString tag;
    for (char pz = '1'; pz <= '9' && tag.isEmpty(); ++pz) {
        const QString versuch = QStringLiteral("AT 123 456 ") + QLatin1Char(pz) + "89";
        int64_t n = 0;
        if (Lom::EncodeLom(versuch.toStdString(), n) == 0)
            tag = versuch;
    }
    ASSERT_FALSE(tag.isEmpty());
    const int64_t n = Zahl(tag);
    const QString nach = NachfolgeNummer(tag);
    ASSERT_FALSE(nach.isEmpty());
    const int64_t m = Zahl(nach);
    EXPECT_GT(m, n + 1);  // the plain successor has a wrong check digit
    for (int64_t k = n + 1; k < m; ++k) {
        int64_t zurueck = 0;
        EXPECT_TRUE(Lom::EncodeLom(Lom::DecodeLom(k), zurueck) != 0 || zurueck != k) << k;
    }
}

TEST(KalbungLogik, UnlesbareNummerGibtKeinenVorschlag)
{
    for (const char* text : {"", "TOTGEBURT", "XX 12"})
        EXPECT_EQ(NachfolgeNummer(QString::fromLatin1(text)), "") << text;
}

TEST(KalbungLogik, GeschlechtUndNummerDerKalbung)
{
    struct Fall {
        QList<TKalb> kaelber;
        const char* geschlecht;
        const char* nummer;
    };
    const TKalb m{"DE 1", true, true}, w{"DE 2", false, true};
    const Fall faelle[] = {
        {{m}, "M", "DE 1"},
        {{w}, "W", "DE 2"},
        {{w, m}, "MW", "ZWICKE"},
        {{m, w}, "MW", "ZWICKE"},
        {{w, w}, "WW", "ZWILLINGE"},
        {{m, m}, "MM", "ZWILLINGE"},
        {{w, m, w}, "MWW", "DRILLINGE"},
        {{w, w, m}, "MWW", "DRILLINGE"},
        {{m, w, m}, "MMW", "DRILLINGE"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(GeschlechtCode(f.kaelber), f.geschlecht) << f.nummer;
        EXPECT_EQ(KalbungNummer(f.kaelber), f.nummer) << f.geschlecht;
    }
}

TEST(KalbungLogik, VerlaufOhneGrossKleinschreibungSonstFreitext)
{
    EXPECT_EQ(VerlaufIndex("KEINE ANGABE"), 0);
    EXPECT_EQ(VerlaufIndex(" operation (kaiserschnitt, fetotomie) "), 4);
    EXPECT_EQ(VerlaufIndex(Verlaeufe()[2]), 2);
    EXPECT_EQ(VerlaufIndex("Steißlage"), -1);
    EXPECT_EQ(VerlaufIndex(""), -1);
}

TEST(KalbungLogik, FruehestesDatumZwischenGeburtUndHeute)
{
    const QDate geb(2022, 1, 1), heute(2025, 6, 15);
    EXPECT_EQ(FruehestesDatum({}, geb, heute), geb);
    EXPECT_EQ(FruehestesDatum(QDate(2024, 3, 1), geb, heute), QDate(2024, 3, 1));
    EXPECT_EQ(FruehestesDatum(QDate(2021, 3, 1), geb, heute), geb);
    EXPECT_EQ(FruehestesDatum(QDate(2026, 3, 1), geb, heute), heute);
}

TEST(KalbungLogik, PruefungenInIhrerReihenfolge)
{
    const QDate geb(2022, 1, 1), frueh(2024, 3, 1), heute(2025, 6, 15);
    const TKalb gut{"DE 1", true, true}, leer{"  ", true, true}, tot{"", false, false};
    struct Fall {
        QDate datum;
        QList<TKalb> kaelber;
        int kalb;  // -1: accepted
        const char* text;
    };
    const Fall faelle[] = {
        {{}, {leer}, 0, "Sie müssen ein Datum für die Kalbung eingeben"},
        {heute, {gut, leer}, 2, "Sie müssen eine Nummer für das Kalb angeben"},
        {heute.addDays(1), {gut}, 0, "Das Kalbungsdatum darf nicht in der Zukunft liegen"},
        {geb.addDays(-1), {gut}, 0, "Das Kalbungsdatum darf nicht vor dem Geburtsdatum sein"},
        {frueh.addDays(-1),
         {gut},
         0,
         "Das Kalbungsdatum darf nicht vor einer anderen Kalbung sein"},
        {frueh, {gut}, -1, ""},
        {heute, {gut, tot}, -1, ""},
    };
    for (const Fall& f : faelle) {
        const auto fehler = KalbungPruefen(f.datum, f.kaelber, geb, frueh, heute);
        if (f.kalb < 0) {
            EXPECT_FALSE(fehler) << f.datum.toString().toStdString();
            continue;
        }
        ASSERT_TRUE(fehler) << f.text;
        EXPECT_EQ(fehler->kalb, f.kalb) << f.text;
        EXPECT_EQ(fehler->text, QString::fromUtf8(f.text));
    }
}

}  // namespace
