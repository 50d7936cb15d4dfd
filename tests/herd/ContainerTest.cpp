#include "BullenTestHilfe.h"

#include <BullenStammdaten.h>
#include <Container.h>
#include <ContainerDialoge.h>
#include <ContainerLogik.h>
#include <BullenFelder.h>
#include <Stammdaten.h>
#include <StierWahl.h>

#include <Haupt.h>
#include <HerdeAktionen.h>

#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBMemo.h>
#include <DBPanel.h>
#include <DBZRDateEdit.h>
#include <ZRcxGridDBTableView.h>

#include <MessageBoxScript.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <memory>

namespace {

// Chooses an entry of a drop-down list with the keyboard, as a user does.
void Waehlen(QComboBox* liste, const QString& text)
{
    const int ziel = liste->findText(text);
    ASSERT_GE(ziel, 0) << text.toStdString();
    liste->setFocus();
    for (int i = 0; i < 10 && liste->currentIndex() != ziel; ++i)
        QTest::keyClick(liste, liste->currentIndex() < ziel ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(liste->currentIndex(), ziel);
}

class ContainerTest : public BullenTest {
protected:
    void SetUp() override
    {
        BullenTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2026, 5, 10));
        Stationen("MEGGLE;RUW");
        rambo = Bulle("Rambo", "DE 0581");
    }

    static void Stationen(const QString& codes)
    {
        Einstellungen()->Bearbeiten();
        Einstellungen()->SetEigenbesamungStationen(codes);
        Einstellungen()->Speichern();
    }

    int Lieferung(const QString& datum = "01.03.2026")
    {
        return Eintragen(
            QString("INSERT INTO T_CONTAINER_LIEFERUNG (DATUM) VALUES ('%1')").arg(datum));
    }
    int Portion(int lieferung, int anzahl, const QString& station = "MEGGLE")
    {
        return Eintragen(QString("INSERT INTO T_CONTAINER_PORTION (LIEFERUNG, BULLE, "
                                 "ANZAHL_GESAMT, STATION) VALUES (%1, %2, %3, '%4')")
                             .arg(lieferung)
                             .arg(rambo)
                             .arg(anzahl)
                             .arg(station));
    }
    int Verwendung(int portion, const QString& art, const QString& teilung = "F", int besamung = 0,
                   const QString& datum = "02.03.2026")
    {
        return Eintragen(QString("INSERT INTO T_CONTAINER_VERWENDUNG (ART, BESAMUNG, DATUM, "
                                 "PORTION, PORTIONSTEILUNG) VALUES ('%1', %2, '%3', %4, '%5')")
                             .arg(art, besamung > 0 ? QString::number(besamung) : "NULL", datum)
                             .arg(portion)
                             .arg(teilung));
    }
    int Besamung(int tier, const QString& datum = "05.03.2026")
    {
        return Eintragen(QString("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER, NUMMER, NR, "
                                 "BESAMUNGSSCHEIN_NR) VALUES (%1, '%2', 'Rambo', 'DE 0581', 1, "
                                 "4711)")
                             .arg(tier)
                             .arg(datum));
    }

    void Oeffnen()
    {
        fenster = std::make_unique<TfrmContainer>();
        fenster->show();
        fenster->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    }
    void Klick(const QString& knopf)
    {
        QPushButton* k = fenster->Knopf(knopf);
        ASSERT_TRUE(k) << knopf.toStdString();
        ASSERT_TRUE(k->isEnabled()) << knopf.toStdString();
        QTest::mouseClick(k, Qt::LeftButton);
    }
    double Vorhanden() { return fenster->Portionen().FieldByName("ANZAHL_VORHANDEN").AsDouble(); }

    int rambo = 0;
    std::unique_ptr<TfrmContainer> fenster;
};

TEST_F(ContainerTest, LieferungMitPortionErfassen)
{
    Oeffnen();
    EXPECT_FALSE(fenster->Knopf("PortionNeu")->isEnabled());
    EXPECT_FALSE(fenster->Knopf("LieferungLoeschen")->isEnabled());
    HerdeTest::Bedienen<TfrmContainerLieferung>([](TfrmContainerLieferung& d) {
        EXPECT_EQ(d.DatumEdit()->text(), "10.05.2026");
        d.BemerkungEdit()->setFocus();
        QTest::keyClicks(d.BemerkungEdit(), "Lieferung April");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("LieferungNeu");
    EXPECT_EQ(
        Wert("SELECT DATUM || ' ' || CAST(BEMERKUNG AS VARCHAR(100)) FROM T_CONTAINER_LIEFERUNG"),
        "2026-05-10 Lieferung April");
    ASSERT_EQ(fenster->Lieferungen().RecordCount(), 1);
    EXPECT_TRUE(fenster->Knopf("PortionNeu")->isEnabled());
    EXPECT_FALSE(fenster->Knopf("VerwendungNeu")->isEnabled());

    HerdeTest::Bedienen<TfrmContainerPortion>([](TfrmContainerPortion& d) {
        EXPECT_EQ(d.AnzahlEdit()->text(), "1");
        EXPECT_EQ(d.StationAuswahl()->count(), 2);
        EXPECT_EQ(d.StationAuswahl()->currentText(), "Meggle");
        HerdeTest::Bedienen<TfrmBullenWahl>(
            [](TfrmBullenWahl& w) { QTest::mouseClick(w.OkKnopf(), Qt::LeftButton); });
        QTest::mouseClick(d.BulleKnopf(), Qt::LeftButton);
        EXPECT_EQ(d.BullePanel()->Caption(), "Rambo    DE 0581");
        Waehlen(d.StationAuswahl(), "Rinder Union West");
        Tippen(d.AnzahlEdit(), "10");
        Tippen(d.EjakulatEdit(), "123");
        Tippen(d.KostenEdit(), "12,5");
        Tippen(d.BehaelterAuswahl()->lineEdit(), "K1");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("PortionNeu");
    EXPECT_EQ(Wert("SELECT BULLE || '/' || ANZAHL_GESAMT || '/' || EJAKULAT_NR || '/' || "
                   "CAST(KOSTEN AS NUMERIC(9,2)) || '/' || STATION || '/' || BEHAELTER FROM "
                   "T_CONTAINER_PORTION"),
              QString("%1/10/123/12.50/RUW/K1").arg(rambo));
    ASSERT_EQ(fenster->Portionen().RecordCount(), 1);
    EXPECT_EQ(fenster->Portionen().FieldByName("STATION_TEXT").AsString(), "RUW");
    EXPECT_EQ(fenster->Portionen().FieldByName("ANZAHL_VORHANDEN").DisplayText(), "10,0");
    EXPECT_TRUE(fenster->Knopf("VerwendungNeu")->isEnabled());
}

TEST_F(ContainerTest, PortionOhneBullenBleibtOffen)
{
    Lieferung();
    Oeffnen();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    bool offen = false;
    HerdeTest::Bedienen<TfrmContainerPortion>([&offen](TfrmContainerPortion& d) {
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        offen = d.isVisible();
        QTest::mouseClick(d.AbbrechenKnopf(), Qt::LeftButton);
    });
    Klick("PortionNeu");
    EXPECT_TRUE(offen);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Wählen Sie einen Bullen vor dem abspeichern aus.");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_PORTION"), "0");
}

TEST_F(ContainerTest, BestandNachVerwendungen)
{
    const int portion = Portion(Lieferung(), 10);
    const int besamung = Besamung(berta);
    Verwendung(portion, "L");
    Verwendung(portion, "N", "1");
    Oeffnen();
    EXPECT_DOUBLE_EQ(Vorhanden(), 8.5);

    // An insemination chosen in "Besamung Wahl", shown in the panel.
    HerdeTest::Bedienen<TfrmContainerVerwendung>([besamung](TfrmContainerVerwendung& d) {
        Waehlen(d.ArtAuswahl(), "Besamung");
        EXPECT_FALSE(d.AnzahlEdit()->isEnabled());
        EXPECT_TRUE(d.BesamungKnopf()->isEnabled());
        HerdeTest::Bedienen<TfrmBesamungWahl>([besamung](TfrmBesamungWahl& w) {
            EXPECT_EQ(w.BesamungID(), besamung);
            QTest::mouseClick(w.OkKnopf(), Qt::LeftButton);
        });
        QTest::mouseClick(d.BesamungKnopf(), Qt::LeftButton);
        EXPECT_EQ(d.BesamungPanel()->text(),
                  "05.03.2026,  Rambo  DE 0581\n4711\n007  Berta  DE 01 111 11111");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("VerwendungNeu");
    EXPECT_EQ(Wert(QString("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG WHERE BESAMUNG = %1")
                       .arg(besamung)),
              "1");
    EXPECT_DOUBLE_EQ(Vorhanden(), 7.5);

    HerdeTest::Bedienen<TfrmContainerVerwendung>([](TfrmContainerVerwendung& d) {
        Waehlen(d.TeilungAuswahl(), "2. Hälfte");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("VerwendungNeu");
    EXPECT_DOUBLE_EQ(Vorhanden(), 7.0);
    EXPECT_EQ(fenster->Portionen().FieldByName("ANZAHL_VORHANDEN").DisplayText(), "7,0");
    Verwendung(portion, "R", "2");
    fenster->Aktualisieren(-1, -1, -1);
    EXPECT_DOUBLE_EQ(Vorhanden(), 6.5);
    EXPECT_EQ(Wert(QString("SELECT CAST(ANZAHL_VORHANDEN AS VARCHAR(20)) FROM V_CONTAINER_INHALT "
                           "WHERE ID = %1")
                       .arg(portion)),
              "6.5");
}

struct MehrfachFall {
    const char* art;
    int anzahl;
    int zeilen;
};

class ContainerMehrfachTest : public ContainerTest,
                              public ::testing::WithParamInterface<MehrfachFall> {};

TEST_P(ContainerMehrfachTest, AnzahlLegtSovieleVerwendungenAn)
{
    const MehrfachFall f = GetParam();
    const int portion = Portion(Lieferung(), 10);
    const int besamung = Besamung(berta);
    Oeffnen();
    HerdeTest::Bedienen<TfrmContainerVerwendung>([f, besamung](TfrmContainerVerwendung& d) {
        Waehlen(d.ArtAuswahl(), Container::ArtText(f.art));
        if (QString(f.art) == "B") {
            EXPECT_FALSE(d.AnzahlEdit()->isEnabled());
            HerdeTest::Bedienen<TfrmBesamungWahl>(
                [](TfrmBesamungWahl& w) { QTest::mouseClick(w.OkKnopf(), Qt::LeftButton); });
            QTest::mouseClick(d.BesamungKnopf(), Qt::LeftButton);
        }
        d.AnzahlEdit()->setValue(f.anzahl);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("VerwendungNeu");
    EXPECT_EQ(Wert(QString("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG WHERE PORTION = %1 AND "
                           "ART = '%2' AND DATUM = '10.05.2026'")
                       .arg(portion)
                       .arg(f.art)),
              QString::number(f.zeilen));
    EXPECT_EQ(Wert(QString("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG WHERE BESAMUNG = %1")
                       .arg(besamung)),
              QString(f.art) == "B" ? "1" : "0");
    EXPECT_DOUBLE_EQ(Vorhanden(), 10 - f.zeilen);
}

INSTANTIATE_TEST_SUITE_P(Faelle, ContainerMehrfachTest,
                         ::testing::Values(MehrfachFall{"N", 3, 3}, MehrfachFall{"N", 0, 1},
                                           MehrfachFall{"N", 1, 1}, MehrfachFall{"L", 2, 2},
                                           MehrfachFall{"B", 0, 1}));

TEST_F(ContainerTest, MehrVerwendungenAlsHalmeWarnen)
{
    const int portion = Portion(Lieferung(), 1);
    Oeffnen();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    HerdeTest::Bedienen<TfrmContainerVerwendung>([](TfrmContainerVerwendung& d) {
        d.AnzahlEdit()->setValue(2);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("VerwendungNeu");
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].type, Tools::mtWarning);
    EXPECT_TRUE(boxen.Shown()[0].text.contains("-1,0")) << boxen.Shown()[0].text.toStdString();
    EXPECT_EQ(
        Wert(
            QString("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG WHERE PORTION = %1").arg(portion)),
        "2");
    EXPECT_DOUBLE_EQ(Vorhanden(), -1.0);
}

TEST_F(ContainerTest, BesamungBleibtBeimWechselDerArtBisSieEntferntWird)
{
    const int portion = Portion(Lieferung(), 10);
    const int besamung = Besamung(berta);
    const int verwendung = Verwendung(portion, "B", "F", besamung);
    Oeffnen();
    HerdeTest::Bedienen<TfrmContainerVerwendung>([](TfrmContainerVerwendung& d) {
        EXPECT_TRUE(d.BesamungPanel()->isEnabled());
        EXPECT_FALSE(d.AnzahlEdit()->isEnabled());
        Waehlen(d.ArtAuswahl(), "Verlust");
        EXPECT_FALSE(d.BesamungPanel()->isEnabled());
        EXPECT_FALSE(d.EntfernenKnopf()->isEnabled());
        EXPECT_FALSE(d.AnzahlEdit()->isEnabled());
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("VerwendungBearbeiten");
    const QString sql =
        QString(
            "SELECT ART || '/' || COALESCE(BESAMUNG, 0) FROM T_CONTAINER_VERWENDUNG WHERE ID = %1")
            .arg(verwendung);
    EXPECT_EQ(Wert(sql), QString("L/%1").arg(besamung));

    HerdeTest::Bedienen<TfrmContainerVerwendung>([](TfrmContainerVerwendung& d) {
        Waehlen(d.ArtAuswahl(), "Besamung");
        QTest::mouseClick(d.EntfernenKnopf(), Qt::LeftButton);
        EXPECT_EQ(d.BesamungPanel()->text(), "");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("VerwendungBearbeiten");
    EXPECT_EQ(Wert(sql), "B/0");
}

TEST_F(ContainerTest, LieferungLoeschenFragtEinmalUndEntferntAlles)
{
    const int erste = Lieferung("01.01.2026");
    const int portion = Portion(erste, 5);
    Verwendung(portion, "L");
    Verwendung(portion, "N");
    Portion(Lieferung("01.02.2026"), 3);
    Oeffnen();
    ASSERT_TRUE(fenster->Lieferungen().Locate("ID", {erste}));
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    Klick("LieferungLoeschen");
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text,
              "Wollen Sie wirklich diese Lieferung mit\rallen Portionen und Verwendungen löschen?");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_LIEFERUNG"), "1");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_PORTION"), "1");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), "0");
    EXPECT_EQ(fenster->Lieferungen().RecordCount(), 1);
    EXPECT_EQ(fenster->Portionen().RecordCount(), 1);
}

TEST_F(ContainerTest, VerwendungUndPortionLoeschen)
{
    const int lieferung = Lieferung();
    const int portion = Portion(lieferung, 5);
    Verwendung(portion, "L", "F", 0, "01.03.2026");
    Verwendung(portion, "N", "F", 0, "02.03.2026");
    Portion(lieferung, 3);
    Oeffnen();
    ASSERT_TRUE(fenster->Portionen().Locate("ID", {portion}));
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrNo).AnswerWith(Tools::mrYes);
    Klick("VerwendungLoeschen");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), "2");
    Klick("VerwendungLoeschen");
    EXPECT_EQ(boxen.Shown()[1].text, "Wollen Sie wirklich diese Verwendung löschen?");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), "1");
    EXPECT_EQ(fenster->Verwendungen().RecordCount(), 1);
    EXPECT_DOUBLE_EQ(Vorhanden(), 4.0);

    boxen.AnswerWith(Tools::mrYes);
    Klick("PortionLoeschen");
    EXPECT_EQ(boxen.Shown()[2].text,
              "Wollen Sie wirklich diese Portion mit\rallen Verwendungen löschen?");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_PORTION"), "1");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), "0");
    EXPECT_EQ(fenster->Portionen().RecordCount(), 1);
    EXPECT_EQ(fenster->Verwendungen().RecordCount(), 0);
    EXPECT_FALSE(fenster->Knopf("VerwendungLoeschen")->isEnabled());
}

TEST_F(ContainerTest, FehlgeschlagenesLoeschenWirdGezeigt)
{
    const int portion = Portion(Lieferung(), 5);
    Verwendung(portion, "L");
    Ausfuehren({"CREATE EXCEPTION E_GESPERRT 'Die Verwendung ist gesperrt.'",
                "CREATE TRIGGER T_SPERRE FOR T_CONTAINER_VERWENDUNG BEFORE DELETE AS BEGIN "
                "EXCEPTION E_GESPERRT; END"});
    Oeffnen();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Klick("VerwendungLoeschen");
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].type, Tools::mtError);
    EXPECT_TRUE(boxen.Shown()[1].text.startsWith("Die Verwendung konnte nicht gelöscht werden."));
    EXPECT_TRUE(boxen.Shown()[1].text.contains("Die Verwendung ist gesperrt."));
    EXPECT_EQ(fenster->Verwendungen().RecordCount(), 1);

    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Klick("PortionLoeschen");
    ASSERT_EQ(boxen.Shown().size(), 4);
    EXPECT_TRUE(boxen.Shown()[3].text.startsWith("Die Portion konnte nicht gelöscht werden."));
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_CONTAINER_PORTION"), "1");
    EXPECT_EQ(fenster->Portionen().RecordCount(), 1);
}

TEST_F(ContainerTest, ZumTierZeigtDieKarteMitDenTierenDerPortion)
{
    const int portion = Portion(Lieferung(), 5);
    Verwendung(portion, "B", "F", Besamung(lisa, "01.03.2026"), "01.03.2026");
    const int verlust = Verwendung(portion, "L", "F", 0, "02.03.2026");
    Verwendung(portion, "B", "F", Besamung(berta, "06.03.2026"), "06.03.2026");

    EXPECT_EQ(Ids(Container::ZumTierSQL(portion)), (QList<int>{lisa, berta}));

    Oeffnen();
    ASSERT_TRUE(fenster->Verwendungen().Locate("ID", {verlust}));
    EXPECT_FALSE(fenster->Knopf("ZumTier")->isEnabled());
    fenster->Verwendungen().Last();
    EXPECT_TRUE(fenster->Knopf("ZumTier")->isEnabled());
    int gezeigt = 0;
    HerdeTest::Bedienen<TfrmStammdaten>([&gezeigt](TfrmStammdaten& karte) {
        gezeigt = karte.TierID();
        QTest::mouseClick(karte.SchliessenKnopf(), Qt::LeftButton);
    });
    Klick("ZumTier");
    EXPECT_EQ(gezeigt, berta);
    EXPECT_EQ(fenster->Verwendungen().RecordCount(), 3);
}

TEST_F(ContainerTest, UnbekannteStationZeigtFehler)
{
    Portion(Lieferung(), 5, "XYZ");
    Oeffnen();
    EXPECT_EQ(fenster->Portionen().FieldByName("STATION_TEXT").AsString(), "Fehler!");
}

TEST_F(ContainerTest, OhneStationOeffnetSichDasFensterNicht)
{
    Stationen("");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    FContainer::ContainerOeffnen(nullptr);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(
        boxen.Shown()[0].text.startsWith("Sie haben bislang keine Besamungsstation eingestellt."));

    Stationen("RUW");
    bool offen = false;
    HerdeTest::Bedienen<TfrmContainer>([&offen](TfrmContainer& f) {
        offen = true;
        f.accept();
    });
    FContainer::ContainerOeffnen(nullptr);
    EXPECT_TRUE(offen);
}

TEST_F(ContainerTest, PortionZeigtIhreStationUndDieBehaelter)
{
    const int lieferung = Lieferung();
    Portion(lieferung, 4, "RUW");
    Eintragen(QString("INSERT INTO T_CONTAINER_PORTION (LIEFERUNG, BULLE, ANZAHL_GESAMT, "
                      "STATION, BEHAELTER) VALUES (%1, %2, 2, 'MEGGLE', 'Kanister 2')")
                  .arg(lieferung)
                  .arg(rambo));
    Oeffnen();
    fenster->Portionen().First();
    HerdeTest::Bedienen<TfrmContainerPortion>([](TfrmContainerPortion& d) {
        EXPECT_EQ(d.StationAuswahl()->currentText(), "Rinder Union West");
        EXPECT_EQ(d.BullePanel()->Caption(), "Rambo    DE 0581");
        EXPECT_EQ(d.BehaelterAuswahl()->findText("Kanister 2"), 0);
        Waehlen(d.StationAuswahl(), "Meggle");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick("PortionBearbeiten");
    EXPECT_EQ(Wert(QString("SELECT STATION FROM T_CONTAINER_PORTION WHERE LIEFERUNG = %1 AND "
                           "ANZAHL_GESAMT = 4")
                       .arg(lieferung)),
              "MEGGLE");
}

TEST_F(ContainerTest, HauptfensterOeffnetBullenUndContainer)
{
    TfrmHaupt haupt;
    HerdeAktionenVerbinden(haupt);
    bool bullen = false, container = false;
    HerdeTest::Bedienen<TfrmBullenStammdaten>([&bullen](TfrmBullenStammdaten& d) {
        bullen = d.Liste().RecordCount() == 1;
        QTest::mouseClick(d.SchliessenKnopf(), Qt::LeftButton);
    });
    haupt.Aktion("actBullenStammdaten")->trigger();
    EXPECT_TRUE(bullen);
    HerdeTest::Bedienen<TfrmContainer>([&container](TfrmContainer& f) {
        container = true;
        f.accept();
    });
    haupt.Aktion("actBesamungscontainer")->trigger();
    EXPECT_TRUE(container);
}

TEST_F(ContainerTest, Bildschirmfoto)
{
    const int portion = Portion(Lieferung("01.02.2026"), 10, "RUW");
    Portion(Lieferung("01.03.2026"), 4);
    Verwendung(portion, "B", "F", Besamung(berta));
    Verwendung(portion, "L", "1");
    Verwendung(portion, "N", "2");
    Oeffnen();
    fenster->Lieferungen().First();
    Bild(*fenster, "Besamungscontainer.png");
    EXPECT_EQ(fenster->Verwendungen().RecordCount(), 3);
}

}  // namespace
