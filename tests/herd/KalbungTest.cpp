#include "BesamungTest.h"

#include <Kalbung.h>
#include <Stammdaten.h>

#include <AMCbRb.h>
#include <DBComboBox.h>
#include <DBMemo.h>
#include <DBZRDateEdit.h>
#include <ZRcxGridDBTableView.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

// New calvings entered from the animal card, as the user does it, on the test herd.
class KalbungTest : public BesamungTest {
protected:
    void SetUp() override
    {
        BesamungTest::SetUp();
        Ausfuehren({QString("UPDATE T_STAMMDATEN SET STATUS = 'R' WHERE ID = %1").arg(berta)});
        karte = std::make_unique<TfrmStammdaten>();
        karte->TierAnzeigen(berta, 0, {});
        karte->show();
        QApplication::setActiveWindow(karte.get());
    }
    void TearDown() override
    {
        karte.reset();
        BesamungTest::TearDown();
    }

    static void Tippen(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }

    QString Kalbungen()
    {
        return Lesen(QString("SELECT LIST(NUMMER || '/' || GESCHLECHT || '/' || DATUM || '/' || "
                             "COALESCE(VERLAUF, '-'), ';') FROM T_KALBUNGEN WHERE TIER = %1")
                         .arg(berta));
    }
    QString Kaelber()
    {
        return Lesen(
            "SELECT LIST(S.NUMMER || '/' || S.GESCHLECHT || '/' || S.GEBDAT || '/' || "
            "S.MUTTER, ';') FROM (SELECT * FROM T_STAMMDATEN WHERE MUTTER = 'Berta' "
            "ORDER BY NUMMER) S");
    }
    QString Geburtsmeldungen()
    {
        return Lesen(
            "SELECT LIST(S.NUMMER || '/' || H.DATUM || '/' || H.DATEN, ';') FROM "
            "(SELECT * FROM T_HITMELDUNGEN WHERE MELDUNG = 8 ORDER BY TIER) H JOIN "
            "T_STAMMDATEN S ON S.ID = H.TIER");
    }

    std::unique_ptr<TfrmStammdaten> karte;
};

TEST_F(KalbungTest, ZwickeMitVorgeschlagenenOhrmarkenUndGeburtsmeldungen)
{
    ASSERT_TRUE(karte->KalbungenKnopf()->isEnabled());
    QString vorschlag1, vorschlag2;
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrYes);
    Bedienen<TfrmKalbungNeu>([&](TfrmKalbungNeu& d) {
        EXPECT_EQ(d.DatumEdit()->Date(), QDate(2025, 6, 15));
        vorschlag1 = d.Kalb(0).nummer->text();
        EXPECT_FALSE(d.Kalb(1).gruppe->isEnabled());
        d.AnzahlFeld()->setFocus();
        QTest::keyClick(d.AnzahlFeld(), Qt::Key_Up);
        EXPECT_TRUE(d.Kalb(1).gruppe->isEnabled());
        EXPECT_FALSE(d.Kalb(2).gruppe->isEnabled());
        vorschlag2 = d.Kalb(1).nummer->text();
        QTest::mouseClick(d.Kalb(0).weiblich, Qt::LeftButton);
        d.VerlaufWahl()->setFocus();
        d.VerlaufWahl()->lineEdit()->selectAll();
        QTest::keyClicks(d.VerlaufWahl()->lineEdit(),
                         "EIN HELFER ODER LEICHTER EINSATZ MECH. ZUGHILFE");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QTest::keyClick(karte.get(), Qt::Key_F4);
    // The last tag given on the farm is the youngest animal's; the calves follow it.
    EXPECT_EQ(vorschlag1, "DE 01 444 44445");
    EXPECT_EQ(vorschlag2, "DE 01 444 44446");
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[0].text,
              "Soll eine Geburtsmeldung für das Kalb\r    DE 01 444 "
              "44445\ran HI - Tier vorbereitet werden?");
    EXPECT_EQ(Kalbungen(), "ZWICKE/MW/2025-06-15/ein Helfer oder leichter Einsatz mech. Zughilfe");
    EXPECT_EQ(Kaelber(), "DE 01 444 44445/W/2025-06-15/Berta;DE 01 444 44446/M/2025-06-15/Berta");
    EXPECT_EQ(Geburtsmeldungen(),
              "DE 01 444 44445/2025-06-15/MEHRLING=2;VERLAUF=2;"
              "DE 01 444 44446/2025-06-15/MEHRLING=2;VERLAUF=2");
    EXPECT_EQ(karte->Kalbungen().RecordCount(), 1);
    EXPECT_TRUE(karte->Seitenknopf(0)->isChecked());

    // With two calves the jump to a calf lets the user choose.
    karte->Kalbungen().First();
    ASSERT_TRUE(karte->ZumKalbEintrag()->isEnabled());
    int angeboten = 0;
    Bedienen<TfrmKalbWaehlen>([&angeboten](TfrmKalbWaehlen& w) {
        angeboten = w.Liste().RecordCount();
        w.Liste().Locate("NUMMER", QVariantList{"DE 01 444 44446"});
        QTest::mouseClick(w.OkKnopf(), Qt::LeftButton);
    });
    karte->ZumKalbEintrag()->trigger();
    EXPECT_EQ(angeboten, 2);
    EXPECT_EQ(Lesen(QString("SELECT NUMMER FROM T_STAMMDATEN WHERE ID = %1").arg(karte->TierID())),
              "DE 01 444 44446");
}

TEST_F(KalbungTest, AbgelehntesKalbHinterlaesstNachKorrekturGenauEineKalbung)
{
    MessageBoxScript boxen;
    // Calf 1 is created and its report asked for, then calf 2's tag is taken.
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    bool offen = false;
    Bedienen<TfrmKalbungNeu>([&](TfrmKalbungNeu& d) {
        d.AnzahlFeld()->setValue(2);
        Tippen(d.Kalb(1).nummer, "DE 01 222 22222");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        offen = d.isVisible();
        EXPECT_EQ(Kalbungen(), "<NULL>");
        // Corrected, the next OK stores the calving once.
        boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrYes);
        Tippen(d.Kalb(1).nummer, "DE 01 444 44499");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(karte->KalbungenKnopf(), Qt::LeftButton);
    EXPECT_TRUE(offen);
    ASSERT_EQ(boxen.Shown().size(), 4);
    EXPECT_TRUE(
        boxen.Shown()[1].text.startsWith("Es gibt bereits ein Tier mit dieser "
                                         "Ohrmarkennummer."))
        << boxen.Shown()[1].text.toStdString();
    EXPECT_EQ(Lesen(QString("SELECT COUNT(*) FROM T_KALBUNGEN WHERE TIER = %1").arg(berta)), "1");
    EXPECT_EQ(Kaelber(), "DE 01 444 44445/M/2025-06-15/Berta;DE 01 444 44499/M/2025-06-15/Berta");
    EXPECT_EQ(Lesen("SELECT COUNT(*) FROM T_HITMELDUNGEN WHERE MELDUNG = 8"), "2");
}

// The date is typed as the user types it, short; a future one is refused first.
TEST_F(KalbungTest, GetipptesDatumNachAbgelehntemZukunftsdatum)
{
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk).AnswerWith(Tools::mrNo);
    bool offen = false;
    Bedienen<TfrmKalbungNeu>([&](TfrmKalbungNeu& d) {
        Tippen(d.DatumEdit(), "16.6.2025");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        offen = d.isVisible();
        Tippen(d.DatumEdit(), "10.6");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(karte->KalbungenKnopf(), Qt::LeftButton);
    EXPECT_TRUE(offen);
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[0].text, "Das Kalbungsdatum darf nicht in der Zukunft liegen");
    EXPECT_EQ(Kalbungen(), "DE 01 444 44445/M/2025-06-10/keine Angabe");
}

TEST_F(KalbungTest, TotgeburtOhneDatensatzUndFreierVerlauf)
{
    MessageBoxScript boxen;
    Bedienen<TfrmKalbungNeu>([&](TfrmKalbungNeu& d) {
        Tippen(d.Kalb(0).nummer, "totgeburt");
        d.Kalb(0).erstellen->setChecked(false);
        d.VerlaufWahl()->setFocus();
        d.VerlaufWahl()->lineEdit()->selectAll();
        QTest::keyClicks(d.VerlaufWahl()->lineEdit(), "Steißlage");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(karte->KalbungenKnopf(), Qt::LeftButton);
    EXPECT_TRUE(boxen.Shown().isEmpty());
    EXPECT_EQ(Kalbungen(), "TOTGEBURT/M/2025-06-15/Steißlage");
    EXPECT_EQ(Kaelber(), "<NULL>");
    EXPECT_EQ(Lesen("SELECT COUNT(*) FROM T_HITMELDUNGEN"), "0");
}

TEST_F(KalbungTest, OhneBesamungNurFuerDeckfaehige)
{
    Ausfuehren({QString("UPDATE T_STAMMDATEN SET STATUS = 'J' WHERE ID = %1").arg(lisa)});
    karte->TierAnzeigen(lisa, 0, {});
    ASSERT_TRUE(karte->KalbungOhneBesamungEintrag()->isEnabled());
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    karte->KalbungOhneBesamungEintrag()->trigger();
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Der Status muß \"deckfähig\" sein!");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(KalbungTest, Bildschirmfoto)
{
    TfrmKalbungNeu d;
    d.KalbungOeffnen(false, berta, QDate(2024, 1, 1), {});
    d.AnzahlFeld()->setValue(3);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    Bildschirmfoto(d, "Kalbung.png");
    EXPECT_GT(QImage(Bildschirmfotoordner() + "/Kalbung.png").width(), 300);
}

}  // namespace
