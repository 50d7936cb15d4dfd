#include "HitTestServer.h"

#include <HITMeldung.h>
#include <HitCom2.h>

#include <HITConst.h>

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

THITPBefehl Meldung(int typ, const QString& lom)
{
    THITPBefehl b;
    b.Meldung = typ;
    b.Felder = {30, 11, 63};
    b.Werte = {lom, QStringLiteral("276090000000001"), QStringLiteral("01.06.2021")};
    return b;
}

THITPBefehl Anmeldung(const QString& betrieb, const QString& pin)
{
    THITPBefehl b;
    b.Flags[HITFlag::Zaehlen] = 0;
    b.Meldung = 2;
    b.Felder = {11, 51, 44};
    b.Werte = {betrieb, pin, QStringLiteral("4")};
    return b;
}

struct StatusZeile {
    int server;
    int art;
    QString text;
};

class HitCom2Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(server.Port(), 0);
        client.PrimaerIP = QStringLiteral("127.0.0.1");
        client.PortNormal = server.Port();
        client.StandardWartezeit = 5000;
        client.VerbindungsWartezeit = 5000;
        client.OnStatus = [this](int s, int a, const QString& t) { status.push_back({s, a, t}); };
        client.OnDisconnected = [this] { ++getrennt; };
    }

    THITPAntworten Senden(const THITPBefehl& b)
    {
        client.Befehl_senden(b);
        THITPAntworten a;
        EXPECT_TRUE(client.GetData(a, 0));
        return a;
    }

    HitTestServer server;
    THITCom2 client;
    std::vector<StatusZeile> status;
    int getrennt = 0;
};

TEST_F(HitCom2Test, BegruessungZuerst)
{
    ASSERT_TRUE(client.Verbinden());
    EXPECT_TRUE(client.Connected());
    ASSERT_EQ(client.Begruessung().size(), 1);
    EXPECT_EQ(client.Begruessung()[0].Schwere, 0);
    EXPECT_EQ(client.Begruessung()[0].Nummer, 2600);
    EXPECT_TRUE(client.Begruessung()[0].Texte[0].startsWith(QStringLiteral("HitServer bereit.")));
    ASSERT_EQ(status.size(), 3u);
    EXPECT_EQ(status[0].art, THITCom2::Verbinde);
    EXPECT_EQ(status[1].art, THITCom2::Verbunden);
    EXPECT_EQ(status[2].art, THITCom2::Info);
    EXPECT_EQ(status[1].server, 0);
    EXPECT_FALSE(client.TrennungAngefordert());
}

TEST_F(HitCom2Test, AnmeldungMitPinHinweisUndPinFehler)
{
    ASSERT_TRUE(client.Verbinden());
    THITPAntworten a =
        Senden(Anmeldung(QStringLiteral("276090000000001"), QStringLiteral("111111")));
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a[0].Schwere, 1);
    EXPECT_EQ(a[0].Nummer, 2611);
    EXPECT_EQ(a[0].Meldung, 2);
    EXPECT_EQ(a[0].Felder, QList<int>{51});
    EXPECT_EQ(a[0].Texte, QStringList{QStringLiteral("Bitte ändern Sie Ihre PIN")});
    EXPECT_EQ(a[1].Schwere, 0);
    EXPECT_TRUE(client.LetzteAnfrageBefehl());
    EXPECT_EQ(client.BefehlZaehler(), 0) << "a login is no report";

    a = Senden(Anmeldung(QStringLiteral("276090000000001"), QStringLiteral("123456")));
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0].Schwere, 3);
    EXPECT_EQ(a[0].Nummer, 2602);
    EXPECT_TRUE(client.Connected());
}

TEST_F(HitCom2Test, EineMeldungJeSchwere)
{
    ASSERT_TRUE(client.Verbinden());
    const struct {
        const char* lom;
        QList<int> schweren;
    } faelle[] = {
        {"276000912345670", {0}},
        {"276000912345671", {1, 0}},
        {"276000912345672", {2}},
        {"276000912345673", {3, 3}},
    };
    int gesendet = 0;
    for (const auto& f : faelle) {
        const THITPAntworten a = Senden(Meldung(14, QString::fromLatin1(f.lom)));
        QList<int> schweren;
        for (const THITPAntwort& z : a) {
            schweren << z.Schwere;
            EXPECT_EQ(z.Meldung, 14) << f.lom;
        }
        EXPECT_EQ(schweren, f.schweren) << f.lom;
        EXPECT_EQ(client.BefehlZaehler(), ++gesendet);
        EXPECT_EQ(client.LetzterBefehl().Werte[0], QString::fromLatin1(f.lom));
    }

    // The user confirms the queried report: sent again, it is accepted.
    THITPBefehl nochmal = Meldung(14, QStringLiteral("276000912345672"));
    nochmal.Flags[HITFlag::Wiederholung] = HITFlag::Bestaetigt;
    const THITPAntworten a = Senden(nochmal);
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0].Schwere, 0);
    EXPECT_TRUE(server.Mitschrift().contains(
        "*5:XS/B:ZUGANG/LOM;BNR15;ZUGA_DAT:276000912345672;276090000000001;01.06.2021\r\n"));
}

TEST_F(HitCom2Test, AbfrageMitDatenzeilen)
{
    ASSERT_TRUE(client.Verbinden());
    THITPQuery q;
    q.Betreff = 5;
    THITPAuswahl bestand;
    bestand.Int1 = 11;
    bestand.Funktion = 12;
    bestand.Parameter = {QStringLiteral("01.01.2020"), QStringLiteral("31.12.2021")};
    bestand.Spalten = {QStringLiteral("LOM"), QStringLiteral("LOM_X")};
    q.Auswahl = {bestand, THITPAuswahl()};
    q.Bedingungen = {{0, 11, 0, QStringLiteral("276090000000001")}};
    client.Abfrage_senden(q);
    EXPECT_FALSE(client.LetzteAnfrageBefehl());

    THITPAntworten a;
    ASSERT_TRUE(client.GetData(a, 0));
    ASSERT_EQ(a.size(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(a[i].Schwere, -1);
        EXPECT_EQ(a[i].Funktion, QStringLiteral("#BESTREG"));
        ASSERT_EQ(a[i].Felder.size(), 15);
        ASSERT_EQ(a[i].Texte.size(), 15);
        EXPECT_EQ(a[i].Felder[0], HITConst::FeldIndex("LOM"));
        EXPECT_EQ(a[i].Felder[14], HITConst::FeldIndex("BNR15_NB"));
    }
    EXPECT_EQ(a[1].Texte[1], QStringLiteral("DE 09 123 45671"));
    EXPECT_EQ(a[1].Texte[14], QStringLiteral("276090000000077"));
    EXPECT_EQ(a[2].Texte[3], QStringLiteral("%--"));
    EXPECT_EQ(a[3].Schwere, 0);
    EXPECT_EQ(a[3].Texte, QStringList{QStringLiteral("3 Sätze")});
    EXPECT_EQ(client.BefehlZaehler(), 0);
}

TEST_F(HitCom2Test, PinAenderungUndAbmeldungMitDenBausteinen)
{
    ASSERT_TRUE(client.Verbinden());
    const QString betrieb = QStringLiteral("276090000000001");
    EXPECT_EQ(Senden(HITAnAbmeldung(2, betrieb, QStringLiteral("900000")))[0].Schwere, 0);
    THITPAntworten a =
        Senden(HITPinAenderung(betrieb, QStringLiteral("123456"), QStringLiteral("123457")));
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0].Schwere, 3);
    EXPECT_EQ(a[0].Meldung, 16);
    EXPECT_EQ(a[0].Felder, QList<int>{76});
    EXPECT_EQ(
        Senden(HITPinAenderung(betrieb, QStringLiteral("123456"), QStringLiteral("123456")))[0]
            .Schwere,
        0);

    client.Abfrage_senden(HITFehlerhafteVorgaengeAbfrage(betrieb));
    ASSERT_TRUE(client.GetData(a, 0));
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a[0].Schwere, -1);
    EXPECT_EQ(a[0].Funktion, QStringLiteral("VORGANG"));
    EXPECT_EQ(a[0].Texte[1], QStringLiteral("05.06.2021 10:11:12"));

    client.Abfrage_senden(
        HITBestandsregisterAbfrage(betrieb, QDate(2020, 1, 1), QDate(2021, 12, 31)));
    ASSERT_TRUE(client.GetData(a, 0));
    EXPECT_EQ(a.size(), 4);

    a = Senden(HITAnAbmeldung(1, betrieb, QString()));
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0].Meldung, 1);
    EXPECT_EQ(client.BefehlZaehler(), 0);
    THITPAntworten danach;
    EXPECT_FALSE(client.GetData(danach, 2000)) << "the server closes after the logout";
    EXPECT_FALSE(client.Connected());
}

TEST_F(HitCom2Test, ZeitueberschreitungFragtNachAbbruch)
{
    ASSERT_TRUE(client.Verbinden());
    int fragen = 0;
    client.OnAbbruchFrage = [&](bool& abbrechen) { abbrechen = ++fragen == 2; };
    client.Befehl_senden(Meldung(14, QStringLiteral("276000912345675")));
    THITPAntworten a;
    QElapsedTimer uhr;
    uhr.start();
    EXPECT_FALSE(client.GetData(a, 200));
    EXPECT_EQ(fragen, 2);
    EXPECT_GE(uhr.elapsed(), 350);
    EXPECT_TRUE(a.isEmpty());
    EXPECT_TRUE(client.Connected());

    // Time-out 0 waits the default time.
    client.OnAbbruchFrage = nullptr;
    client.StandardWartezeit = 300;
    client.Befehl_senden(Meldung(14, QStringLiteral("276000912345675")));
    uhr.restart();
    EXPECT_FALSE(client.GetData(a, 0));
    EXPECT_GE(uhr.elapsed(), 250);
    EXPECT_LT(uhr.elapsed(), 4000);

    // The connection stays usable after a request was given up on.
    client.StandardWartezeit = 5000;
    const THITPAntworten b = Senden(Meldung(14, QStringLiteral("276000912345671")));
    ASSERT_EQ(b.size(), 2);
    EXPECT_EQ(b[0].Schwere, 1);
}

TEST_F(HitCom2Test, AnmeldungOhneAntwort)
{
    ASSERT_TRUE(client.Verbinden());
    client.Befehl_senden(Anmeldung(QStringLiteral("276090000000009"), QStringLiteral("900000")));
    THITPAntworten a;
    EXPECT_FALSE(client.GetData(a, 200));
}

TEST_F(HitCom2Test, AbgebrocheneVerbindung)
{
    ASSERT_TRUE(client.Verbinden());
    client.Befehl_senden(Meldung(14, QStringLiteral("276000912345676")));
    THITPAntworten a;
    EXPECT_FALSE(client.GetData(a, 0));
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(getrennt, 1);
    EXPECT_EQ(status.back().art, THITCom2::Getrennt);
    EXPECT_FALSE(client.TrennungAngefordert());
    EXPECT_THROW(client.Befehl_senden(Meldung(14, QStringLiteral("276000912345670"))),
                 std::runtime_error);
    EXPECT_FALSE(client.GetData(a, 0));
}

TEST_F(HitCom2Test, SofortigerAbbruchDesServers)
{
    ASSERT_TRUE(client.Verbinden());
    const THITPAntworten a = Senden(Meldung(14, QStringLiteral("276000912345674")));
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0].Schwere, 4);
    THITPAntworten b;
    EXPECT_FALSE(client.GetData(b, 2000));
    EXPECT_FALSE(client.Connected());
}

TEST_F(HitCom2Test, AbgewiesenerPrimaerserverFuehrtZumBackup)
{
    // The whole 127/8 net is this machine; the test server listens on 127.0.0.1 only.
    client.PrimaerAddr = QStringLiteral("nicht-vorhanden.invalid");
    client.PrimaerIP = QStringLiteral("127.0.0.2");
    client.SekundaerIP = QStringLiteral("127.0.0.1");
    ASSERT_TRUE(client.Verbinden());
    EXPECT_EQ(status.front().server, 0);
    int fehlversuche = 0;
    for (const StatusZeile& s : status)
        if (s.art == THITCom2::Fehlgeschlagen) {
            EXPECT_EQ(s.server, 0);
            ++fehlversuche;
        }
    EXPECT_EQ(fehlversuche, 2);
    bool verbundenMitBackup = false;
    for (const StatusZeile& s : status)
        verbundenMitBackup |= s.art == THITCom2::Verbunden && s.server == 1;
    EXPECT_TRUE(verbundenMitBackup);
    EXPECT_EQ(Senden(Meldung(14, QStringLiteral("276000912345670")))[0].Schwere, 0);
}

TEST_F(HitCom2Test, KeinServerErreichbar)
{
    client.PrimaerIP = QStringLiteral("127.0.0.2");
    client.SekundaerIP = QStringLiteral("127.0.0.3");
    EXPECT_FALSE(client.Verbinden());
    EXPECT_FALSE(client.Connected());
    EXPECT_THROW(client.Befehl_senden(Meldung(14, QStringLiteral("276000912345670"))),
                 std::runtime_error);
}

TEST_F(HitCom2Test, TestsystemPort)
{
    client.PortNormal = HitTestServer::FreierPort();
    client.PortTest = server.Port();
    EXPECT_FALSE(client.Verbinden());
    client.NormalServer = false;
    EXPECT_TRUE(client.Verbinden());
}

TEST_F(HitCom2Test, ZeilenAufDerLeitungUndUnsendbareWerte)
{
    ASSERT_TRUE(client.Verbinden());
    Senden(Anmeldung(QStringLiteral("276090000000001"), QStringLiteral("900000")));
    THITPBefehl geburt = Meldung(8, QStringLiteral("276000912345670"));
    geburt.Felder << 74;
    geburt.Werte << QStringLiteral("Mädi");
    Senden(geburt);

    THITPBefehl falsch = Meldung(14, QStringLiteral("276000912345670"));
    falsch.Werte[2] = QStringLiteral("01.06.2021\r\n*9:XS:LOGOFF");
    EXPECT_THROW(client.Befehl_senden(falsch), std::invalid_argument);
    falsch.Werte[2] = QStringLiteral("a;b");
    EXPECT_THROW(client.Befehl_senden(falsch), std::invalid_argument);
    EXPECT_EQ(client.BefehlZaehler(), 1);

    THITPBefehl abmelden;
    abmelden.Flags[HITFlag::Zaehlen] = 0;
    abmelden.Meldung = 1;
    Senden(abmelden);

    EXPECT_EQ(server.Mitschrift(),
              QByteArray("*1:XS:LOGON/BNR15;PIN;MELD_WG:276090000000001;900000;4\r\n"
                         "*2:XS:GEBURT/LOM;BNR15;ZUGA_DAT;TIERNAME:276000912345670;"
                         "276090000000001;01.06.2021;M\xe4"
                         "di\r\n"
                         "*3:XS:LOGOFF\r\n"));
}

}  // namespace
