#include "BullenTestHilfe.h"

#include <BullenStammdaten.h>
#include <StierWahl.h>

#include <DBZRBaseEdit.h>

#include <AMCbRb.h>
#include <ZRFilterEdit.h>
#include <ZRcxGridDBTableView.h>

#include <QPushButton>

namespace {

class StierWahlTest : public BullenTest {};

TEST_F(StierWahlTest, ZeigtBullenUndBesamungsstiereUndStehtAufDemVorgegebenen)
{
    Bulle("Rambo", "DE 0581");
    Bulle("Versteckt", "DE 3", false);
    Eintragen(QString("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER, NUMMER, NR) VALUES (%1, "
                      "'01.02.2026', 'Fremder', 'AT 9', 1)")
                  .arg(berta));
    TfrmStierWahl wahl;
    EXPECT_EQ(wahl.Liste().RecordCount(), 2);
    wahl.Positionieren("fREM");
    EXPECT_EQ(wahl.Stier(), "Fremder");
    EXPECT_EQ(wahl.Nummer(), "AT 9");
    wahl.Positionieren("Unbekannt");
    EXPECT_EQ(wahl.Stier(), "Fremder");

    QString stier = "alt", nummer = "alt";
    HerdeTest::Bedienen<TfrmStierWahl>(
        [](TfrmStierWahl& d) { QTest::mouseClick(d.AbbrechenKnopf(), Qt::LeftButton); });
    EXPECT_FALSE(FStierWahl::StierWaehlen(nullptr, "ram", stier, nummer));
    EXPECT_EQ(stier, "alt");
    HerdeTest::Bedienen<TfrmStierWahl>(
        [](TfrmStierWahl& d) { QTest::keyClick(d.Ansicht(), Qt::Key_Return); });
    EXPECT_TRUE(FStierWahl::StierWaehlen(nullptr, "ram", stier, nummer));
    EXPECT_EQ(stier, "Rambo");
    EXPECT_EQ(nummer, "DE 0581");
}

TEST_F(StierWahlTest, SucheImStierWahlFeldWaehltMitEnter)
{
    Bulle("Rambo", "DE 0581");
    Bulle("Balu", "AT 77");
    QString stier, nummer;
    HerdeTest::Bedienen<TfrmStierWahl>([](TfrmStierWahl& d) {
        d.Suche()->setFocus();
        QTest::keyClicks(d.Suche(), "a t 7");
        EXPECT_EQ(d.Liste().RecordCount(), 1);
        QTest::keyClick(d.Suche(), Qt::Key_Return);
    });
    ASSERT_TRUE(FStierWahl::StierWaehlen(nullptr, QString(), stier, nummer));
    EXPECT_EQ(stier, "Balu");
}

TEST_F(StierWahlTest, BullenWahlZeigtUnsichtbareNurAufWunschUndBleibtAufDemBullen)
{
    const int rambo = Bulle("Rambo", "DE 0581");
    const int versteckt = Bulle("Aaron", "DE 3", false);
    Bulle("Zorro", "DE 5");
    TfrmBullenWahl wahl;
    EXPECT_EQ(wahl.Liste().RecordCount(), 2);
    EXPECT_FALSE(wahl.Positionieren(versteckt));
    ASSERT_TRUE(wahl.Positionieren(rambo));

    QTest::mouseClick(wahl.UnsichtbareBox(), Qt::LeftButton);
    ASSERT_TRUE(wahl.UnsichtbareBox()->isChecked());
    EXPECT_EQ(wahl.Liste().RecordCount(), 3);
    EXPECT_EQ(wahl.BulleID(), rambo);
    EXPECT_TRUE(wahl.Positionieren(versteckt));

    QTest::mouseClick(wahl.UnsichtbareBox(), Qt::LeftButton);
    EXPECT_EQ(wahl.Liste().RecordCount(), 2);
    EXPECT_NE(wahl.BulleID(), versteckt);
}

TEST_F(StierWahlTest, BullenWahlNimmtNeueBullenAusDenStammdatenAuf)
{
    Bulle("Rambo", "DE 0581");
    TfrmBullenWahl wahl;
    ASSERT_EQ(wahl.Liste().RecordCount(), 1);
    HerdeTest::Bedienen<TfrmBullenStammdaten>([](TfrmBullenStammdaten& d) {
        QTest::mouseClick(d.NeuKnopf(), Qt::LeftButton);
        Tippen(d.NameEdit(), "Neuling");
        Tippen(d.HBNREdit(), "DE 7");
        QTest::mouseClick(d.SchliessenKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(wahl.StammdatenKnopf(), Qt::LeftButton);
    EXPECT_EQ(wahl.Liste().RecordCount(), 2);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BULLEN_STAMM"), "2");
}

TEST_F(StierWahlTest, BulleWaehlenGibtDieIDZurueck)
{
    Bulle("Rambo", "DE 0581");
    const int zorro = Bulle("Zorro", "DE 5");
    int id = zorro;
    int gezeigt = 0;
    HerdeTest::Bedienen<TfrmBullenWahl>([&gezeigt](TfrmBullenWahl& d) {
        gezeigt = d.BulleID();
        d.Liste().First();
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    ASSERT_TRUE(FBullenWahl::BulleWaehlen(nullptr, id));
    EXPECT_EQ(gezeigt, zorro);
    EXPECT_NE(id, zorro);
    EXPECT_EQ(Wert(QString("SELECT NAME FROM T_BULLEN_STAMM WHERE ID = %1").arg(id)), "Rambo");
}

}  // namespace
