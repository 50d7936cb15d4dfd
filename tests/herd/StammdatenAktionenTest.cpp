#include "BesamungTest.h"

#include <Besamungen.h>
#include <Stammdaten.h>
#include <StierWahl.h>

#include <AMCbRb.h>
#include <DBZRDateEdit.h>
#include <ZRcxGridDBTableView.h>

#include <MessageBoxScript.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

// The card's breeding actions on the semen-stock herd, driven through the card's own controls.
class StammdatenAktionenTest : public BesamungTest {
protected:
    void SetUp() override
    {
        BesamungTest::SetUp();
        karte = std::make_unique<TfrmStammdaten>();
    }
    void TearDown() override
    {
        karte.reset();
        BesamungTest::TearDown();
    }

    void Zeigen(int tier)
    {
        karte->TierAnzeigen(tier, 0, {});
        karte->show();
        QApplication::setActiveWindow(karte.get());
    }

    QLineEdit* Zeile(const char* name)
    {
        auto* e = karte->findChild<QLineEdit*>(name);
        EXPECT_TRUE(e) << name;
        return e;
    }

    static void Tippen(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }

    void Status(int tier, const char* status)
    {
        Ausfuehren({QString("UPDATE T_STAMMDATEN SET STATUS = '%1' WHERE ID = %2")
                        .arg(QLatin1String(status))
                        .arg(tier)});
    }

    std::unique_ptr<TfrmStammdaten> karte;
};

TEST_F(StammdatenAktionenTest, VaterAusDerStierwahlWirdMitDerKarteGespeichert)
{
    Zeigen(berta);
    Tippen(Zeile("edVater"), "rUB");
    ASSERT_TRUE(karte->VaterKnopf()->isEnabled());
    QString angeboten;
    Bedienen<TfrmStierWahl>([&angeboten](TfrmStierWahl& d) {
        angeboten = d.Stier();
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(karte->VaterKnopf(), Qt::LeftButton);
    EXPECT_EQ(angeboten, "Ruben");
    EXPECT_EQ(Zeile("edVater")->text(), "Ruben");
    EXPECT_EQ(Zeile("edVaterNr")->text(), "DE 09 222");
    QTest::mouseClick(karte->SchliessenKnopf(), Qt::LeftButton);
    EXPECT_FALSE(karte->isVisible());
    EXPECT_EQ(
        Lesen(QString("SELECT VATER || '/' || VATERNR FROM T_STAMMDATEN WHERE ID = %1").arg(berta)),
        "Ruben/DE 09 222");
}

TEST_F(StammdatenAktionenTest, VaterwahlAbbrechenLaesstDenVater)
{
    Zeigen(berta);
    Tippen(Zeile("edVater"), "Hanno");
    Bedienen<TfrmStierWahl>(
        [](TfrmStierWahl& d) { QTest::mouseClick(d.AbbrechenKnopf(), Qt::LeftButton); });
    QTest::mouseClick(karte->VaterKnopf(), Qt::LeftButton);
    EXPECT_EQ(Zeile("edVater")->text(), "Hanno");
    EXPECT_EQ(Zeile("edVaterNr")->text(), "");
}

TEST_F(StammdatenAktionenTest, NeueBesamungUeberF3ErscheintGespeichertInDerKarte)
{
    Status(berta, "D");
    Zeigen(berta);
    ASSERT_TRUE(karte->BesamungenKnopf()->isEnabled());
    EXPECT_TRUE(karte->AktuelleBesamungen().IsEmpty());
    Bedienen<TfrmBesamungen>([](TfrmBesamungen& d) {
        QTest::mouseClick(d.FremdKnopf(), Qt::LeftButton);
        Tippen(d.DatumEdit(), "1.6.2025");
        Tippen(d.StierEdit(), "Hanno");
        QTest::keyClick(d.StierEdit(), Qt::Key_Return);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QTest::keyClick(karte.get(), Qt::Key_F3);
    // Stored and committed: another transaction sees it, and the card shows it.
    EXPECT_EQ(
        Lesen(QString("SELECT STIER || '/' || NR FROM T_BESAMUNGEN WHERE TIER = %1").arg(berta)),
        "Hanno/1");
    EXPECT_EQ(karte->AktuelleBesamungen().RecordCount(), 1);
    EXPECT_TRUE(karte->Seitenknopf(0)->isChecked());
    EXPECT_TRUE(karte->BesamungBearbeitenEintrag()->isEnabled());
}

TEST_F(StammdatenAktionenTest, BesamungBearbeitenOeffnetDieGewaehlte)
{
    Status(berta, "B");
    Besamung(berta, QDate(2025, 5, 1), 1);
    const int zweite = Besamung(berta, QDate(2025, 5, 22), 2);
    Zeigen(berta);
    ASSERT_EQ(karte->AktuelleBesamungen().RecordCount(), 2);
    karte->AktuelleBesamungen().Locate("ID", QVariantList{zweite});
    ASSERT_TRUE(karte->BesamungBearbeitenEintrag()->isEnabled());
    QString datum;
    Bedienen<TfrmBesamungen>([&datum](TfrmBesamungen& d) {
        datum = d.DatumEdit()->text();
        Tippen(d.DatumEdit(), "23.5.2025");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    karte->BesamungBearbeitenEintrag()->trigger();
    EXPECT_EQ(datum, "22.05.2025");
    EXPECT_EQ(Lesen(QString("SELECT DATUM FROM T_BESAMUNGEN WHERE ID = %1").arg(zweite)),
              "23.05.2025");
}

TEST_F(StammdatenAktionenTest, BesamungLoeschenNurNachJa)
{
    Status(berta, "B");
    const int erste = Besamung(berta, QDate(2025, 5, 1), 1);
    const int zweite = Besamung(berta, QDate(2025, 5, 22), 2);
    Zeigen(berta);
    karte->AktuelleBesamungen().Locate("ID", QVariantList{erste});
    {
        MessageBoxScript boxen;
        boxen.Answer(MessageBoxScript::Enter());  // No is the default
        karte->BesamungLoeschenEintrag()->trigger();
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, "Wollen Sie die Besamung wirklich löschen?");
    }
    EXPECT_EQ(Lesen(QString("SELECT COUNT(*) FROM T_BESAMUNGEN WHERE TIER = %1").arg(berta)), "2");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    karte->BesamungLoeschenEintrag()->trigger();
    // The later one moves up and the card shows what is committed.
    EXPECT_EQ(
        Lesen(QString("SELECT LIST(ID || ':' || NR) FROM T_BESAMUNGEN WHERE TIER = %1").arg(berta)),
        QString("%1:1").arg(zweite));
    EXPECT_EQ(karte->AktuelleBesamungen().RecordCount(), 1);
}

TEST_F(StammdatenAktionenTest, KalbungLoeschenNurNachJa)
{
    const int alt = Kalbung(berta, QDate(2024, 9, 1));
    const int neu = Kalbung(berta, QDate(2025, 5, 1));
    Ausfuehren({QString("UPDATE T_KALBUNGEN SET NR = 1 WHERE ID = %1").arg(alt),
                QString("UPDATE T_KALBUNGEN SET NR = 2 WHERE ID = %1").arg(neu)});
    Zeigen(berta);
    ASSERT_EQ(karte->Kalbungen().RecordCount(), 2);
    karte->Kalbungen().Locate("ID", QVariantList{alt});
    ASSERT_TRUE(karte->KalbungLoeschenEintrag()->isEnabled());
    {
        MessageBoxScript boxen;
        boxen.Answer(MessageBoxScript::Enter());
        karte->KalbungLoeschenEintrag()->trigger();
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, "Wollen Sie die Kalbung wirklich löschen?");
    }
    EXPECT_EQ(Lesen(QString("SELECT COUNT(*) FROM T_KALBUNGEN WHERE TIER = %1").arg(berta)), "2");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    karte->KalbungLoeschenEintrag()->trigger();
    EXPECT_EQ(
        Lesen(QString("SELECT LIST(ID || ':' || NR) FROM T_KALBUNGEN WHERE TIER = %1").arg(berta)),
        QString("%1:1").arg(neu));
    EXPECT_EQ(karte->Kalbungen().RecordCount(), 1);
}

}  // namespace
