#include "BesamungTest.h"

#include <BesamungConst.h>
#include <BesamungFunc.h>
#include <BesamungLogik.h>

#include <Error.h>
#include <Field.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using Besamung::TBesamungDaten;
using Besamung::TFenster;
using Besamung::TPruefFeld;
using Besamung::TPruefung;

TEST(BesamungRegelnTest, StationszaehlungNachStation)
{
    struct Fall {
        int station, nr, anzahl, erwartet;
    };
    const Fall faelle[] = {
        {BesamungConst::StationMeggle, 1, 1, 1}, {BesamungConst::StationMeggle, 3, 3, 3},
        {BesamungConst::StationMeggle, 4, 4, 1}, {BesamungConst::StationMeggle, 7, 1, 1},
        {BesamungConst::StationBVN, 2, 9, 2},    {BesamungConst::StationRUW, 4, 4, 4},
        {BesamungConst::StationRUW, 1, 9, 9},    {BesamungConst::StationRUW, 1, 10, 1},
        {BesamungConst::StationRUW, 5, 0, 1},    {-1, 5, 5, 2},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(BesamungFunc::BesNrBY(f.station, f.nr, f.anzahl), f.erwartet)
            << f.station << " " << f.nr << " " << f.anzahl;
}

TEST(BesamungRegelnTest, StandardstationIstDieErsteBekannteOderMeggle)
{
    const std::pair<QString, int> faelle[] = {
        {"", BesamungConst::StationMeggle},        {"RUW", BesamungConst::StationRUW},
        {"RUW;MEGGLE", BesamungConst::StationRUW}, {"BVN;RUW", BesamungConst::StationBVN},
        {"XYZ;RUW", BesamungConst::StationMeggle}, {";RUW", BesamungConst::StationMeggle},
        {"ruw", BesamungConst::StationMeggle},
    };
    for (const auto& [codes, station] : faelle)
        EXPECT_EQ(BesamungFunc::StandardStation(codes), station) << codes.toStdString();
}

TEST(BesamungRegelnTest, NurDieErsteBesamungBeimBVNHatEinenEigenenSchein)
{
    EXPECT_TRUE(BesamungFunc::EigenerBesamungsschein(BesamungConst::StationBVN, 1));
    EXPECT_FALSE(BesamungFunc::EigenerBesamungsschein(BesamungConst::StationBVN, 2));
    EXPECT_FALSE(BesamungFunc::EigenerBesamungsschein(BesamungConst::StationBVN, 0));
    EXPECT_TRUE(BesamungFunc::EigenerBesamungsschein(BesamungConst::StationRUW, 2));
}

TEST(BesamungRegelnTest, FensterGrenzenGehoerenDazu)
{
    const QDate v(2025, 3, 1), b(2025, 5, 1);
    struct Fall {
        TFenster fenster;
        QDate datum;
        bool drin;
    };
    const Fall faelle[] = {
        {{}, QDate(1990, 1, 1), true},   {{v, {}}, v, true},
        {{v, {}}, v.addDays(-1), false}, {{v, b}, b, true},
        {{v, b}, b.addDays(1), false},   {{{}, b}, QDate(2000, 1, 1), true},
        {{{}, b}, b.addDays(1), false},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(Besamung::ImFenster(f.datum, f.fenster), f.drin)
            << f.datum.toString().toStdString();
}

TEST(BesamungRegelnTest, PruefbulleBisZumEnddatum)
{
    const QDate heute(2025, 6, 15);
    EXPECT_EQ(Besamung::Pruefbulle(QDate(), heute), "T");
    EXPECT_EQ(Besamung::Pruefbulle(heute.addDays(1), heute), "T");
    EXPECT_EQ(Besamung::Pruefbulle(heute, heute), "F");
    // The bulls' "no test bull" date.
    EXPECT_EQ(Besamung::Pruefbulle(QDate(1900, 1, 1), heute), "F");
}

TEST(BesamungRegelnTest, BemerkungKurzZeigtDieErsteZeile)
{
    EXPECT_EQ(Besamung::BemerkungKurz("unruhig"), "unruhig");
    EXPECT_EQ(Besamung::BemerkungKurz("unruhig\r\nzweite"), "unruhig ...");
    EXPECT_EQ(Besamung::BemerkungKurz("a\nb\nc"), "a ...");
    EXPECT_EQ(Besamung::BemerkungKurz("a\rb"), "a ...");
}

TEST(BesamungRegelnTest, TeilungCodes)
{
    for (auto teilung : {Besamung::TTeilung::Nein, Besamung::TTeilung::ErsteHaelfte,
                         Besamung::TTeilung::ZweiteHaelfte})
        EXPECT_EQ(Besamung::TeilungAusCode(Besamung::TeilungCode(teilung)), teilung);
    EXPECT_EQ(Besamung::TeilungCode(Besamung::TTeilung::Nein), "F");
    EXPECT_EQ(Besamung::TeilungAusCode("x"), Besamung::TTeilung::ZweiteHaelfte);
}

TEST(BesamungRegelnTest, PruefungenInIhrerReihenfolge)
{
    const QDate heute(2025, 6, 15), geb(2024, 1, 1);
    const TFenster fenster{QDate(2025, 3, 1), {}};
    struct Fall {
        const char* name;
        QDate datum;
        bool neuEigen, portion;
        TPruefung::TArt art;
        const char* text;
        TPruefFeld feld;
    };
    const Fall faelle[] = {
        {"ohne Datum", QDate(), true, false, TPruefung::Fehler,
         "Sie müssen ein Datum für die Besamung eingeben", TPruefFeld::Datum},
        {"Zukunft", heute.addDays(1), true, true, TPruefung::Fehler,
         "Das Besamungsdatum darf nicht in der Zukunft liegen", TPruefFeld::Datum},
        {"vor Geburt", geb.addDays(-1), true, true, TPruefung::Fehler,
         "Das Besamungsdatum darf nicht vor dem Geburtsdatum sein", TPruefFeld::Datum},
        {"vor Laktation", QDate(2025, 2, 28), true, false, TPruefung::Frage,
         "Das Besamungsdatum ist nicht in der Laktation\rSoll diese trotzdem eingetragen werden?",
         TPruefFeld::Datum},
        {"ohne Portion", QDate(2025, 3, 1), true, false, TPruefung::Fehler,
         "Wählen Sie die verwendete Portion für die Besamung aus", TPruefFeld::Portion},
        {"fremd ohne Portion", QDate(2025, 3, 1), false, false, TPruefung::Ok, "",
         TPruefFeld::Keins},
        {"heute mit Portion", heute, true, true, TPruefung::Ok, "", TPruefFeld::Keins},
    };
    for (const Fall& f : faelle) {
        const TPruefung p = Besamung::Pruefen(f.datum, heute, geb, fenster, f.neuEigen, f.portion);
        EXPECT_EQ(p.art, f.art) << f.name;
        EXPECT_EQ(p.text, QString::fromUtf8(f.text)) << f.name;
        EXPECT_EQ(p.feld, f.feld) << f.name;
    }
    // Yes to the lactation question goes on to the remaining checks.
    const TPruefung weiter =
        Besamung::Pruefen(QDate(2025, 2, 28), heute, geb, fenster, true, false, true);
    EXPECT_EQ(weiter.feld, TPruefFeld::Portion);
}

class BesamungDatenTest : public BesamungTest {
protected:
    std::unique_ptr<TBesamungDaten> Oeffnen(int tier, int modus = Besamung::Neu, int kalbung = 0,
                                            const QString& stationen = "MEGGLE;RUW")
    {
        auto d = std::make_unique<TBesamungDaten>(DM()->TAStammdaten);
        d->Oeffnen(tier, kalbung, QDate(2024, 1, 1), static_cast<Besamung::TModus>(modus), -1, 1,
                   stationen);
        return d;
    }
    static int Feld(TBesamungDaten& d, const char* name)
    {
        return d.Daten().FieldByName(name).IsNull() ? -1 : d.Daten().FieldByName(name).AsInteger();
    }
};

TEST_F(BesamungDatenTest, NummerUndStationszaehlungZaehlenInDerLaktation)
{
    struct Fall {
        const char* name;
        const char* stationen;
        int vorher;      // inseminations since the last calving
        int vorKalbung;  // inseminations before it, which must not count
        int nr, besNrBY;
    };
    const Fall faelle[] = {
        {"erste", "MEGGLE", 0, 2, 1, 1},    {"dritte", "MEGGLE", 2, 0, 3, 3},
        {"vierte", "MEGGLE", 3, 4, 4, 1},   {"RUW vierte", "RUW;MEGGLE", 3, 0, 4, 4},
        {"RUW zehnte", "RUW", 9, 3, 10, 1},
    };
    int i = 0;
    for (const Fall& f : faelle) {
        const int tier = Tier(QString("DE 01 555 0000%1").arg(++i), 0, f.name, 21);
        Besamungen(tier, QDate(2024, 6, 1), f.vorKalbung);
        Kalbung(tier, QDate(2025, 1, 1));
        Besamungen(tier, QDate(2025, 1, 1), f.vorher);
        auto d = Oeffnen(tier, Besamung::Neu, 0, f.stationen);
        EXPECT_EQ(Feld(*d, "NR"), f.nr) << f.name;
        EXPECT_EQ(Feld(*d, "BES_NR_BY"), f.besNrBY) << f.name;
        EXPECT_EQ(d->Daten().FieldByName("DOPPELBESAMUNG").AsString(), "F") << f.name;
    }
}

TEST_F(BesamungDatenTest, FensterEinerFruherenKalbung)
{
    const int k1 = Kalbung(berta, QDate(2024, 6, 1));
    const int k2 = Kalbung(berta, QDate(2025, 3, 1));
    Besamung(berta, QDate(2024, 5, 1), 1);
    Besamung(berta, QDate(2024, 8, 1), 1);
    Besamung(berta, QDate(2024, 9, 1), 2);
    Besamung(berta, QDate(2025, 4, 1), 1);
    auto d = Oeffnen(berta, Besamung::Neu, k2);
    EXPECT_EQ(d->Fenster().von, QDate(2024, 6, 1));
    EXPECT_EQ(d->Fenster().bis, QDate(2025, 3, 1));
    EXPECT_EQ(Feld(*d, "NR"), 3);
    auto erste = Oeffnen(berta, Besamung::Neu, k1);
    EXPECT_FALSE(erste->Fenster().von.isValid());
    EXPECT_EQ(Feld(*erste, "NR"), 2);
    auto aktuell = Oeffnen(berta);
    EXPECT_EQ(aktuell->Fenster().von, QDate(2025, 3, 1));
    EXPECT_FALSE(aktuell->Fenster().bis.isValid());
    EXPECT_EQ(Feld(*aktuell, "NR"), 2);
}

// The station count follows the station of the chosen portion, not the default one.
TEST_F(BesamungDatenTest, PortionEinerAnderenStationZaehltNachDerenRegel)
{
    struct Fall {
        const char* stationen;
        const char* portionStation;
        int vorher;
        int vorgabe, nachWahl;
    };
    const Fall faelle[] = {
        {"MEGGLE;RUW", "RUW", 3, 1, 4}, {"RUW;MEGGLE", "MEGGLE", 3, 4, 1},
        {"MEGGLE", "MEGGLE", 3, 1, 1},  {"MEGGLE", "RUW", 9, 1, 1},
        {"MEGGLE", "RUW", 7, 2, 8},
    };
    int i = 0;
    for (const Fall& f : faelle) {
        const int tier = Tier(QString("DE 01 666 0000%1").arg(++i), 0, "Kuh", 21);
        Besamungen(tier, QDate(2025, 1, 1), f.vorher);
        const int portion = Portion(hanno, f.portionStation, 5);
        auto d = Oeffnen(tier, Besamung::Neu, 0, f.stationen);
        EXPECT_EQ(Feld(*d, "BES_NR_BY"), f.vorgabe) << f.stationen << " " << f.portionStation;
        EXPECT_TRUE(d->PortionWaehlen(portion, ProgDatum::Heute()).isEmpty());
        EXPECT_EQ(Feld(*d, "BES_NR_BY"), f.nachWahl) << f.stationen << " " << f.portionStation;
    }
}

TEST_F(BesamungDatenTest, PortionGibtStierEjakulatUndPruefbulle)
{
    const int p1 = Portion(hanno, "MEGGLE", 5, 4711);
    const int p2 = Portion(ruben, "MEGGLE", 5);
    auto d = Oeffnen(berta);
    d->PortionWaehlen(p1, ProgDatum::Heute());
    EXPECT_EQ(d->Daten().FieldByName("STIER").AsString(), "Hanno");
    EXPECT_EQ(d->Daten().FieldByName("NUMMER").AsString(), "DE 09 111");
    EXPECT_EQ(Feld(*d, "EJAKULAT_NR"), 4711);
    EXPECT_EQ(d->Daten().FieldByName("PRUEFBULLE").AsString(), "T");
    EXPECT_EQ(d->Portion().Text(), "Lieferung: 01.03.2025, Bulle: Hanno, DE 09 111, Meggle");
    d->PortionWaehlen(p2, ProgDatum::Heute());
    EXPECT_EQ(d->Daten().FieldByName("STIER").AsString(), "Ruben");
    EXPECT_EQ(Feld(*d, "EJAKULAT_NR"), -1);
    EXPECT_EQ(d->Daten().FieldByName("PRUEFBULLE").AsString(), "F");
}

TEST_F(BesamungDatenTest, ScheinnummerVorschlagNachStation)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "41");
    Einstellung("Besamungsschein-Nummer-BVN", "900");
    struct Fall {
        const char* name;
        const char* station;
        int vorher;     // inseminations of the animal in the lactation
        int altSchein;  // certificate of an earlier insemination; 0 none
        int vorschlag;  // -1 empty
        bool warnung;
    };
    const Fall faelle[] = {
        {"Meggle", "MEGGLE", 0, 0, 42, false},
        {"Meggle ohne gespeicherte Nummer", "RUW", 0, 0, -1, false},
        {"BVN erste", "BVN", 0, 555, 901, false},
        {"BVN Folgebesamung", "BVN", 1, 555, 555, false},
        {"BVN Folgebesamung ohne Schein", "BVN", 1, 0, 901, true},
        {"unbekannte Station", "XYZ", 0, 0, -1, false},
    };
    int i = 0;
    for (const Fall& f : faelle) {
        const int tier = Tier(QString("DE 01 777 0000%1").arg(++i), 0, "Kuh", 21);
        if (f.altSchein > 0)
            Besamung(tier, QDate(2024, 3, 1), 1, f.altSchein);
        Kalbung(tier, QDate(2025, 1, 1));
        Besamungen(tier, QDate(2025, 1, 1), f.vorher);
        auto d = Oeffnen(tier, Besamung::Neu, 0, f.station);
        const QString warnung = d->PortionWaehlen(Portion(hanno, f.station, 5), ProgDatum::Heute());
        EXPECT_EQ(Feld(*d, "BESAMUNGSSCHEIN_NR"), f.vorschlag) << f.name;
        EXPECT_EQ(warnung.isEmpty(), !f.warnung) << f.name;
    }
    auto d = Oeffnen(berta);
    d->PortionWaehlen(Portion(hanno, "XYZ", 5), ProgDatum::Heute());
    EXPECT_TRUE(d->Portion().Text().endsWith(", Fehler!"));
}

// Two workstations with the same station open at once both see the same proposal; the one that
// stores second gets the next number, even while the first still holds its transaction open.
TEST_F(BesamungDatenTest, ZweiArbeitsplaetzeVergebenVerschiedeneScheinnummern)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "100");
    const int portion = Portion(hanno, "MEGGLE", 10);
    db::Database zweite;
    zweite.Open(t.Params());
    db::Transaction ta(DM()->Datenbank), tb(zweite);
    TBesamungDaten a(ta), b(tb);
    a.Oeffnen(berta, 0, QDate(2024, 1, 1), Besamung::Neu, -1, 1, "MEGGLE");
    b.Oeffnen(lisa, 0, QDate(2024, 1, 1), Besamung::Neu, -1, 1, "MEGGLE");
    a.PortionWaehlen(portion, ProgDatum::Heute());
    b.PortionWaehlen(portion, ProgDatum::Heute());
    EXPECT_EQ(a.Daten().FieldByName("BESAMUNGSSCHEIN_NR").AsInteger(), 101);
    EXPECT_EQ(b.Daten().FieldByName("BESAMUNGSSCHEIN_NR").AsInteger(), 101);
    a.Daten().FieldByName("DATUM").SetDate(QDate(2025, 6, 1));
    b.Daten().FieldByName("DATUM").SetDate(QDate(2025, 6, 2));

    a.Speichern();
    // b waits for a's lock; a commits while b waits.
    auto zweiterSpeichert = std::async(std::launch::async, [&b] { b.Speichern(); });
    EXPECT_EQ(zweiterSpeichert.wait_for(std::chrono::milliseconds(300)),
              std::future_status::timeout);
    ta.Commit();
    zweiterSpeichert.get();
    tb.Commit();

    EXPECT_EQ(
        Lesen(QString("SELECT BESAMUNGSSCHEIN_NR FROM T_BESAMUNGEN WHERE TIER = %1").arg(berta)),
        "101");
    EXPECT_EQ(
        Lesen(QString("SELECT BESAMUNGSSCHEIN_NR FROM T_BESAMUNGEN WHERE TIER = %1").arg(lisa)),
        "102");
    EXPECT_EQ(Schein("MEGGLE"), "102");
    EXPECT_EQ(Lesen("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), "2");
}

// A workstation that holds the station's number longer than the lock time-out makes the other
// one stop with a message, with its input kept and nothing of it written.
TEST_F(BesamungDatenTest, GesperrteScheinnummerMeldetSichNachDerWartezeit)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "20");
    const int portion = Portion(hanno, "MEGGLE", 10);
    db::Database zweite;
    zweite.Open(t.Params());
    db::Transaction ta(DM()->Datenbank), tb(zweite);
    db::TransactionOptions kurz;
    kurz.lockTimeout = 1;
    tb.SetOptions(kurz);
    TBesamungDaten a(ta), b(tb);
    for (auto [d, tier] : {std::pair{&a, berta}, std::pair{&b, lisa}}) {
        d->Oeffnen(tier, 0, QDate(2024, 1, 1), Besamung::Neu, -1, 1, "MEGGLE");
        d->PortionWaehlen(portion, ProgDatum::Heute());
        d->Daten().FieldByName("DATUM").SetDate(QDate(2025, 6, 1));
    }
    a.Speichern();
    try {
        b.Speichern();
        ADD_FAILURE() << "gespeichert trotz Sperre";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(
            "Die Besamungsschein-Nummer der Station wird gerade an einem anderen Arbeitsplatz "
            "vergeben."))
            << e.what();
    }
    EXPECT_EQ(b.Daten().State(), db::DataSetState::Insert);
    EXPECT_EQ(b.Daten().FieldByName("BESAMUNGSSCHEIN_NR").AsInteger(), 21);
    ta.Commit();
    // Once the other has finished, storing again takes the next number.
    b.Speichern();
    tb.Commit();
    EXPECT_EQ(
        Lesen(QString("SELECT BESAMUNGSSCHEIN_NR FROM T_BESAMUNGEN WHERE TIER = %1").arg(lisa)),
        "22");
    EXPECT_EQ(Lesen("SELECT COUNT(*) FROM T_BESAMUNGEN"), "2");
}

// The same without waiting: the first has committed before the second stores.
TEST_F(BesamungDatenTest, ScheinnummerDesAnderenArbeitsplatzesWirdUebersprungen)
{
    Einstellung("Besamungsschein-Nummer-RUW", "7");
    const int portion = Portion(hanno, "RUW", 10);
    db::Database zweite;
    zweite.Open(t.Params());
    db::Transaction ta(DM()->Datenbank), tb(zweite);
    TBesamungDaten a(ta), b(tb);
    for (auto [d, tier] : {std::pair{&a, berta}, std::pair{&b, lisa}}) {
        d->Oeffnen(tier, 0, QDate(2024, 1, 1), Besamung::Neu, -1, 1, "RUW");
        d->PortionWaehlen(portion, ProgDatum::Heute());
        d->Daten().FieldByName("DATUM").SetDate(QDate(2025, 6, 1));
    }
    a.Speichern();
    ta.Commit();
    b.Speichern();
    tb.Commit();
    EXPECT_EQ(
        Lesen(QString("SELECT BESAMUNGSSCHEIN_NR FROM T_BESAMUNGEN WHERE TIER = %1").arg(lisa)),
        "9");
    EXPECT_EQ(Schein("RUW"), "9");
}

// In the calving edit's transaction the certificate number is only taken when that transaction
// commits.
TEST_F(BesamungDatenTest, ZurueckgerollteBesamungVerbrauchtKeineNummer)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "50");
    const int portion = Portion(hanno, "MEGGLE", 10);
    db::Transaction kalbung(DM()->Datenbank, "TAKalbungEdit");
    kalbung.Start();
    {
        TBesamungDaten d(kalbung);
        d.Oeffnen(berta, 0, QDate(2024, 1, 1), Besamung::Neu, -1, 1, "MEGGLE");
        d.PortionWaehlen(portion, ProgDatum::Heute());
        d.Daten().FieldByName("DATUM").SetDate(QDate(2025, 6, 1));
        d.Speichern();
        EXPECT_EQ(d.ScheinNummerVorschlagen(), 52);
    }
    EXPECT_EQ(Schein("MEGGLE"), "50");
    kalbung.Rollback();
    EXPECT_EQ(Schein("MEGGLE"), "50");
    EXPECT_EQ(Lesen("SELECT COUNT(*) FROM T_BESAMUNGEN"), "0");
    auto d = Oeffnen(lisa, Besamung::Neu, 0, "MEGGLE");
    d->PortionWaehlen(portion, ProgDatum::Heute());
    EXPECT_EQ(Feld(*d, "BESAMUNGSSCHEIN_NR"), 51);
}

// A booking that fails after the insemination was written takes everything back and keeps the
// user's input for another try.
TEST_F(BesamungDatenTest, FehlgeschlageneBuchungNimmtAllesZurueck)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "10");
    const int portion = Portion(hanno, "MEGGLE", 10);
    auto d = Oeffnen(berta, Besamung::Neu, 0, "MEGGLE");
    d->PortionWaehlen(portion, ProgDatum::Heute());
    d->Daten().FieldByName("DATUM").SetDate(QDate(2025, 6, 1));
    // The portion goes away under the dialog: its use cannot be booked.
    Wert(QString("DELETE FROM T_CONTAINER_PORTION WHERE ID = %1").arg(portion));
    EXPECT_THROW(d->Speichern(), db::Error);
    EXPECT_EQ(d->Daten().State(), db::DataSetState::Insert);
    EXPECT_EQ(d->Daten().FieldByName("DATUM").AsDate(), QDate(2025, 6, 1));
    EXPECT_EQ(d->Daten().FieldByName("STIER").AsString(), "Hanno");
    DM()->TAStammdaten.Commit();
    EXPECT_EQ(Lesen("SELECT COUNT(*) FROM T_BESAMUNGEN"), "0");
    EXPECT_EQ(Schein("MEGGLE"), "10");
}

}  // namespace
