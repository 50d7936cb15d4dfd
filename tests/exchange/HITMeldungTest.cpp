#include <HITMeldung.h>
#include <HitZeilen.h>

#include <gtest/gtest.h>

namespace {

class HITMeldungTest : public ::testing::Test {
protected:
    THITMeldung Meldung()
    {
        return THITMeldung([this] { return vorgaben; });
    }
    static THITMeldung::Werte Liste(const QString& daten, const THITMeldung::Werte& spalten)
    {
        THITMeldung::Werte l = spalten;
        l.append({QStringLiteral("DATEN"), daten});
        return l;
    }

    THITVorgaben vorgaben{
        QStringLiteral("276090000000001"), QStringLiteral("SBT"), true, true, true, false};
};

TEST_F(HITMeldungTest, VorbelegungInIhrerReihenfolge)
{
    THITMeldung m = Meldung();
    m.DatenLesen(QStringLiteral("X=1"));
    m.Vorbelegen();
    QStringList schluessel;
    for (const auto& p : m.Liste())
        schluessel << p.first + QLatin1Char('=') + p.second;
    EXPECT_EQ(schluessel.join(QLatin1Char(';')),
              QStringLiteral("BESTELLGRUND=1;BESTELLZAHL=1;BETRIEB=276090000000001;ET=0;"
                             "GESCHLECHT=1;LAND_GEB=276;LAND_URS=276;LAND_ZIEL=276;MEHRLING=1;"
                             "RASSE=SBT;TOD_ART=1;VERBLEIB=0;VERLAUF=0"));
}

TEST_F(HITMeldungTest, DatenLesenUndDatenText)
{
    THITMeldung m = Meldung();
    m.Vorbelegen();
    m.DatenLesen(QStringLiteral("A=1;B;C=x=y;A=2"));
    EXPECT_EQ(m.GetWert(QStringLiteral("A")), QStringLiteral("2"));
    EXPECT_EQ(m.GetWert(QStringLiteral("C")), QStringLiteral("x=y"));
    EXPECT_EQ(m.GetWert(QStringLiteral("B")), QString());
    EXPECT_EQ(m.GetWert(QStringLiteral("TOD_ART")), QStringLiteral("1"));
    const int anzahl = int(m.Liste().size());
    m.DatenLesen(QString());
    EXPECT_EQ(m.Liste().size(), anzahl);

    THITMeldung d = Meldung();
    d.DatenLesen(QStringLiteral("B=2"));
    EXPECT_EQ(d.DatenText(QStringLiteral("A;B")), QStringLiteral("B=2"));
    d.DatenLesen(QStringLiteral("B="));
    EXPECT_EQ(d.DatenText(QStringLiteral("A;B")), QString());
    d.DatenLesen(QStringLiteral("MEHRLING=2;VERLAUF=1"));
    EXPECT_EQ(d.DatenText(QStringLiteral("VERLAUF;MEHRLING")),
              QStringLiteral("VERLAUF=1;MEHRLING=2"));
}

TEST_F(HITMeldungTest, LadenUebernimmtNurGefuellteSpalten)
{
    THITMeldung m = Meldung();
    m.Laden(Liste(QStringLiteral("MEHRLING=2;VERLAUF=1;GESCHLECHT=1"),
                  {{QStringLiteral("MELDUNG"), QStringLiteral("8")},
                   {QStringLiteral("BETRIEB"), QString()},
                   {QStringLiteral("GESCHLECHT"), QStringLiteral("2")},
                   {QStringLiteral("LOM"), QStringLiteral("276000912345670")},
                   {QStringLiteral("TIERNAME"), QStringLiteral("nicht übernommen")}}));
    EXPECT_EQ(m.GetWert(QStringLiteral("BETRIEB")), QStringLiteral("276090000000001"));
    EXPECT_EQ(m.GetWert(QStringLiteral("GESCHLECHT")), QStringLiteral("2"));
    EXPECT_EQ(m.GetWert(QStringLiteral("MEHRLING")), QStringLiteral("2"));
    EXPECT_EQ(m.GetWert(QStringLiteral("VERLAUF")), QStringLiteral("1"));
    EXPECT_EQ(m.GetWert(QStringLiteral("TIERNAME")), QString());
    EXPECT_EQ(m.GetWert(QStringLiteral("MELDUNG")), QStringLiteral("8"));
}

// Each report type as the line the client sends.
TEST_F(HITMeldungTest, ZeilenJeMeldungsart)
{
    const THITMeldung::Werte spalten = {
        {QStringLiteral("LOM"), QStringLiteral("276000912345670")},
        {QStringLiteral("DATUM"), QStringLiteral("03.04.2021")},
        {QStringLiteral("GEBDAT"), QStringLiteral("01.01.2021")},
        {QStringLiteral("LOM_MUTTER"), QStringLiteral("276000912300001")},
    };
    const struct {
        int typ;
        const char* daten;
        const char* zeile;
    } faelle[] = {
        {3, "", "*1:XS:ABGANG/LOM;BNR15;ABGA_DAT:276000912345670;276090000000001;03.04.2021"},
        {4, "LAND_ZIEL=040",
         "*1:XS:AUSFUHR/LOM;BNR15;AUSF_DAT;LAND_ZIE:276000912345670;276090000000001;03.04.2021;"
         "040"},
        {8, "MEHRLING=2;VERLAUF=3;TIERNAME=Berta",
         "*1:XS:GEBURT/"
         "LOM;BNR15;GEB_DATR;RASSE;GESCHL_R;MEHRLADR;LOM_MUT;GEB_VERL;VERBLEIB;ET_KALB:"
         "276000912345670;276090000000001;03.04.2021;SBT;1;2;276000912300001;3;0;0"},
        {10, "LOM_A=AT123;LAND_URS=040",
         "*1:XS:IMPMARK/LOM;BNR15;MARK_DAT;LOM_A;GEB_DATR;RASSE;GESCHL_R;LAND_GEB;LAND_URS:"
         "276000912345670;276090000000001;03.04.2021;AT123;01.01.2021;SBT;1;276;040"},
        {11, "BESTELLZAHL=2;BESTELLGRUND=3",
         "*1:XS:LOMNACHB/LOM;BNR15;NACH_DAT;BESTZAHL;BESTGRND:276000912345670;276090000000001;"
         "03.04.2021;2;3"},
        {13, "TOD_ART=2",
         "*1:XS:TOD/LOM;BNR15;TOD_DAT;TOD_ART:276000912345670;276090000000001;03.04.2021;2"},
        {14, "", "*1:XS:ZUGANG/LOM;BNR15;ZUGA_DAT:276000912345670;276090000000001;03.04.2021"},
        {5, "", "*1:XS:BETRD"},
    };
    for (const auto& f : faelle) {
        THITMeldung::Werte liste = spalten;
        liste.append({QStringLiteral("MELDUNG"), QString::number(f.typ)});
        THITMeldung m = Meldung();
        m.Laden(Liste(QString::fromUtf8(f.daten), liste));
        THITPBefehl b;
        m.AlsBefehl(b);
        EXPECT_EQ(HitZeilen::BefehlZeile(1, b), QString::fromUtf8(f.zeile)) << f.typ;
        EXPECT_EQ(b.Flags[HITFlag::Zaehlen], 1);

        // And back: every key the type sends returns.
        THITMeldung zurueck = Meldung();
        zurueck.AusBefehl(b);
        THITPBefehl nochmal;
        zurueck.AlsBefehl(nochmal);
        EXPECT_EQ(nochmal.Felder, b.Felder) << f.typ;
        EXPECT_EQ(nochmal.Werte, b.Werte) << f.typ;
    }
}

TEST_F(HITMeldungTest, GeburtMitUndOhneWahlfelder)
{
    THITMeldung m = Meldung();
    m.Vorbelegen();
    m.DatenLesen(QStringLiteral("MELDUNG=8;MEHRLING=3;TIERNAME=Berta"));
    THITPBefehl b;
    vorgaben.GeburtVerlauf = vorgaben.GeburtVerbleib = vorgaben.GeburtET = false;
    m.AlsBefehl(b);
    EXPECT_EQ(b.Felder, (QList<int>{30, 11, 20, 53, 22, 64, 32}));
    EXPECT_EQ(HITFeldIndex(b, 40), -1) << "multiple birth goes to MEHRLADR only";
    EXPECT_EQ(HITFeldWert(b, 64), QStringLiteral("3"));

    vorgaben.GeburtVerlauf = vorgaben.GeburtVerbleib = vorgaben.GeburtET = true;
    vorgaben.GeburtTiername = true;
    m.AlsBefehl(b);
    EXPECT_EQ(b.Felder, (QList<int>{30, 11, 20, 53, 22, 64, 32, 21, 61, 19, 74}));
    EXPECT_EQ(HITFeldWert(b, 74), QStringLiteral("Berta"));
    EXPECT_EQ(b.Werte.size(), 11);
}

TEST_F(HITMeldungTest, UnbekannteMeldungsart)
{
    THITMeldung m = Meldung();
    m.Vorbelegen();
    m.SetWert(QStringLiteral("MELDUNG"), QStringLiteral("abc"));
    THITPBefehl b;
    m.AlsBefehl(b);
    EXPECT_EQ(b.Meldung, 0);
    EXPECT_TRUE(b.Felder.isEmpty());
}

TEST_F(HITMeldungTest, AusBefehlEinerImportmarkierung)
{
    THITPBefehl b;
    b.Meldung = 10;
    b.Felder = {30, 11, 39, 20, 31};
    b.Werte = {QStringLiteral("L"), QStringLiteral("B"), QStringLiteral("05.05.2021"),
               QStringLiteral("01.01.2021"), QStringLiteral("ALT")};
    THITMeldung m = Meldung();
    m.AusBefehl(b);
    EXPECT_EQ(m.GetWert(QStringLiteral("MELDUNG")), QStringLiteral("10"));
    EXPECT_EQ(m.GetWert(QStringLiteral("DATUM")), QStringLiteral("05.05.2021"));
    EXPECT_EQ(m.GetWert(QStringLiteral("GEBDAT")), QStringLiteral("01.01.2021"));
    EXPECT_EQ(m.GetWert(QStringLiteral("LOM_A")), QStringLiteral("ALT"));
    EXPECT_EQ(m.GetWert(QStringLiteral("TOD_ART")), QStringLiteral("1"));
}

TEST(HITBefehleTest, SitzungsbefehleUndAbfragen)
{
    const struct {
        THITPBefehl befehl;
        const char* zeile;
        QString schluessel;
    } faelle[] = {
        {HITAnAbmeldung(2, QStringLiteral("276090000000001"), QStringLiteral("900000")),
         "*1:XS:LOGON/BNR15;PIN;MELD_WG:276090000000001;900000;4",
         QStringLiteral("276090000000001")},
        {HITAnAbmeldung(1, QStringLiteral("276090000000001"), QStringLiteral("900000")),
         "*1:XS:LOGOFF", QString()},
        {HITPinAenderung(QStringLiteral("276090000000001"), QStringLiteral("123456"),
                         QStringLiteral("123457")),
         "*1:XS:BTR_H/BNR15;MBN;PIN;PIN2:276090000000001;0;123456;123457", QString()},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(HitZeilen::BefehlZeile(1, f.befehl), QString::fromLatin1(f.zeile));
        EXPECT_EQ(f.befehl.Flags[HITFlag::Zaehlen], 0) << f.zeile;
        EXPECT_EQ(HITSchluessel(f.befehl), f.schluessel) << f.zeile;
    }
    const THITPBefehl anderer = HITAnAbmeldung(14, QStringLiteral("x"), QStringLiteral("y"));
    EXPECT_EQ(anderer.Meldung, 14);
    EXPECT_TRUE(anderer.Felder.isEmpty());
    EXPECT_EQ(anderer.Flags[HITFlag::Zaehlen], 1);

    EXPECT_EQ(HitZeilen::AbfrageZeile(
                  4, HITBestandsregisterAbfrage(QStringLiteral("276090000000001"),
                                                QDate(2020, 1, 1), QDate(2021, 12, 31))),
              QStringLiteral("*4:RS:BETRD/#BESTREG(BNR15,01.01.2020,31.12.2021);LOM;LOM_X;"
                             "GEB_DATR;RASSE;GESCHL_X;BNR15;LOM_MUT;LOM_MUTX;LOM_A;TIER_EINX;"
                             "DAT_EIN;BNR15_VB;TIER_AUSX;DAT_AUS;BNR15_NB:BNR15=276090000000001"));
    const THITPQuery v = HITFehlerhafteVorgaengeAbfrage(QStringLiteral("276090000000001"));
    EXPECT_EQ(v.Auswahl.size(), 2);
    EXPECT_EQ(HitZeilen::AbfrageZeile(5, v),
              QStringLiteral("*5:RS:VORGANG/*;$MAX(SYS_VON):BNR15=276090000000001"));
}

TEST(HITBefehleTest, SchluesselJeMeldungsart)
{
    THITPBefehl b;
    b.Felder = {30, 11};
    b.Werte = {QStringLiteral("LOM1"), QStringLiteral("BNR1")};
    for (int typ : {3, 4, 8, 10, 13, 14}) {
        b.Meldung = typ;
        EXPECT_EQ(HITSchluessel(b), QStringLiteral("LOM1")) << typ;
    }
    for (int typ : {0, 1, 5, 11, 15, 16}) {
        b.Meldung = typ;
        EXPECT_EQ(HITSchluessel(b), QString()) << typ;
    }
    b.Meldung = 2;
    EXPECT_EQ(HITSchluessel(b), QStringLiteral("BNR1"));
    EXPECT_EQ(HITFeldWert(b, 51), QString());
    EXPECT_EQ(HITFeldIndex(b, 11), 1);
}

}  // namespace
