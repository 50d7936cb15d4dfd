#include <HitZeilen.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(HitZeilenTest, BefehlsZeilen)
{
    THITPBefehl anmelden;
    anmelden.Meldung = 2;
    anmelden.Felder = {11, 51, 44};
    anmelden.Werte = {QStringLiteral("276090000000001"), QStringLiteral("900000"),
                      QStringLiteral("4")};
    THITPBefehl abmelden;
    abmelden.Meldung = 1;
    THITPBefehl leerwert;
    leerwert.Meldung = 3;
    leerwert.Felder = {30, 11, 2};
    leerwert.Werte = {QStringLiteral("276000912345670"), QString(), QStringLiteral("01.02.2021")};
    THITPBefehl bestaetigt = leerwert;
    bestaetigt.Flags[HITFlag::Wiederholung] = HITFlag::Bestaetigt;
    THITPBefehl kurz = leerwert;
    kurz.Werte.removeLast();

    const struct {
        THITPBefehl befehl;
        int nummer;
        const char* zeile;
    } faelle[] = {
        {anmelden, 1, "*1:XS:LOGON/BNR15;PIN;MELD_WG:276090000000001;900000;4"},
        {abmelden, 7, "*7:XS:LOGOFF"},
        {leerwert, 2, "*2:XS:ABGANG/LOM;BNR15;ABGA_DAT:276000912345670;;01.02.2021"},
        {bestaetigt, 3, "*3:XS/B:ABGANG/LOM;BNR15;ABGA_DAT:276000912345670;;01.02.2021"},
        {kurz, 4, "*4:XS:ABGANG/LOM;BNR15;ABGA_DAT:276000912345670;;"},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(HitZeilen::BefehlZeile(f.nummer, f.befehl), QString::fromLatin1(f.zeile));
    }
    EXPECT_EQ(HitZeilen::Kodieren(QStringLiteral("*1:XS:GEBURT/TIERNAME:Mädi")),
              QByteArray("*1:XS:GEBURT/TIERNAME:M\xe4"
                         "di\r\n"));
}

TEST(HitZeilenTest, UnsendbareWerteUndSchluessel)
{
    THITPBefehl b;
    b.Meldung = 14;
    b.Felder = {30};
    for (const char* wert : {"a;b", "a\nb", "a\rb"}) {
        b.Werte = {QString::fromLatin1(wert)};
        EXPECT_THROW(HitZeilen::BefehlZeile(1, b), std::invalid_argument) << wert;
    }
    b.Werte = {QStringLiteral("Łucja")};
    EXPECT_THROW(HitZeilen::BefehlZeile(1, b), std::invalid_argument);
    b.Werte = {QStringLiteral("a:b=c")};
    EXPECT_NO_THROW(HitZeilen::BefehlZeile(1, b));
    b.Felder = {78};
    EXPECT_THROW(HitZeilen::BefehlZeile(1, b), std::invalid_argument);
}

TEST(HitZeilenTest, AbfrageZeilen)
{
    THITPQuery register_;
    register_.Betreff = 5;
    THITPAuswahl a;
    a.Int1 = 11;
    a.Funktion = 12;
    a.Parameter = {QStringLiteral("01.01.2020"), QStringLiteral("31.12.2020")};
    a.Spalten = {QStringLiteral("LOM"), QStringLiteral("LOM_X")};
    register_.Auswahl = {a, THITPAuswahl()};
    register_.Bedingungen = {{0, 11, 0, QStringLiteral("276090000000001")}};

    THITPQuery vorgang;
    vorgang.Betreff = 15;
    THITPAuswahl m;
    m.Int2 = 1;
    m.Funktion = 3;
    m.Parameter = {QStringLiteral("SYS_VON")};
    vorgang.Auswahl = {m, THITPAuswahl()};
    vorgang.Bedingungen = {{0, 11, 0, QStringLiteral("276090000000001")},
                           {1, 20, 5, QStringLiteral("01.01.2020")},
                           {2, 22, 6, QStringLiteral("(1,2)")}};

    EXPECT_EQ(HitZeilen::AbfrageZeile(2, register_),
              QStringLiteral("*2:RS:BETRD/#BESTREG(BNR15,01.01.2020,31.12.2020);LOM;LOM_X:"
                             "BNR15=276090000000001"));
    EXPECT_EQ(HitZeilen::AbfrageZeile(3, vorgang),
              QStringLiteral("*3:RS:VORGANG/*;$MAX(SYS_VON):BNR15=276090000000001 AND "
                             "GEB_DATR>=01.01.2020 OR GESCHL_R IN (1,2)"));
}

TEST(HitZeilenTest, AntwortZeilen)
{
    struct Fall {
        const char* zeile;
        int anfrage;
        bool letzte;
        int schwere;
        int nummer;
        int meldung;
        QList<int> felder;
        QStringList texte;
        QString funktion;
    };
    const Fall faelle[] = {
        {"=0:0/2600::HitServer bereit. 6438108607920216050\r\n",
         0,
         true,
         0,
         2600,
         0,
         {},
         {QStringLiteral("HitServer bereit. 6438108607920216050")},
         {}},
        {"+1:1/2611:LOGON/PIN:Bitte PIN ändern",
         1,
         false,
         1,
         2611,
         2,
         {51},
         {QStringLiteral("Bitte PIN ändern")},
         {}},
        {"=4:2/1220:ZUGANG/LOM:Trotzdem melden? Ja: erneut senden",
         4,
         true,
         2,
         1220,
         14,
         {30},
         {QStringLiteral("Trotzdem melden? Ja: erneut senden")},
         {}},
        {"=5:3/1306:GEBURT:abgelehnt", 5, true, 3, 1306, 8, {}, {QStringLiteral("abgelehnt")}, {}},
        {"=6:4/9999::Abbruch", 6, true, 4, 9999, 0, {}, {QStringLiteral("Abbruch")}, {}},
        {"+7:-1/0:#BESTREG/LOM;LOM_X;RASSE:276000912345670;DE 09 123 45670;",
         7,
         false,
         -1,
         0,
         0,
         {30, 65, 53},
         {QStringLiteral("276000912345670"), QStringLiteral("DE 09 123 45670"), QString()},
         QStringLiteral("#BESTREG")},
        {"+8:-2/0:VORGANG/SYS_VON:05.06.2021",
         8,
         false,
         -2,
         0,
         15,
         {58},
         {QStringLiteral("05.06.2021")},
         QStringLiteral("VORGANG")},
        {"=9:1:BETRD/XYZ:ohne Nummer", 9, true, 1, 0, 5, {-1}, {QStringLiteral("ohne Nummer")}, {}},
    };
    for (const Fall& f : faelle) {
        HitZeilen::Antwortzeile z;
        ASSERT_TRUE(HitZeilen::AntwortLesen(QString::fromUtf8(f.zeile), z)) << f.zeile;
        EXPECT_EQ(z.anfrage, f.anfrage) << f.zeile;
        EXPECT_EQ(z.letzte, f.letzte) << f.zeile;
        EXPECT_EQ(z.antwort.Schwere, f.schwere) << f.zeile;
        EXPECT_EQ(z.antwort.Nummer, f.nummer) << f.zeile;
        EXPECT_EQ(z.antwort.Meldung, f.meldung) << f.zeile;
        EXPECT_EQ(z.antwort.Felder, f.felder) << f.zeile;
        EXPECT_EQ(z.antwort.Texte, f.texte) << f.zeile;
        EXPECT_EQ(z.antwort.Funktion, f.funktion) << f.zeile;
    }
    for (const char* falsch :
         {"", "*1:XS:LOGOFF", "=x:0/0::a", "=1:0/0:nur drei", "=1:7/0::a", "=1:a/0::b", "hallo"}) {
        HitZeilen::Antwortzeile z;
        EXPECT_FALSE(HitZeilen::AntwortLesen(QString::fromLatin1(falsch), z)) << falsch;
    }
}

}  // namespace
