#include <Besamungsstation.h>

#include <BesamungConst.h>

#include <Bildschirmfoto.h>

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList Codes(const TBesamungsstationWahl& wahl)
{
    QStringList codes;
    for (int i = 0; i < wahl.Eintraege().size(); ++i)
        codes << wahl.Code(i);
    return codes;
}

QStringList AlleCodes()
{
    QStringList codes;
    for (const BesamungConst::Station& s : BesamungConst::Stationen())
        codes << s.Code;
    return codes;
}

TEST(BesamungsstationWahl, LaesstGenauDieGenanntenCodesAusInTabellenfolge)
{
    struct Fall {
        QString ausser;
        QStringList fehlen;
    };
    const QList<Fall> faelle = {
        {"", {}},
        {"GRUB", {"GRUB"}},
        {"RUW;HUBER", {"RUW", "HUBER"}},
        // Parts of codes and unknown codes exclude nothing.
        {"UB;RU;XYZ", {}},
        {";;GRUB;;", {"GRUB"}},
    };
    for (const Fall& f : faelle) {
        TBesamungsstationWahl wahl;
        wahl.Vorbereiten(f.ausser, false);
        QStringList erwartet = AlleCodes();
        for (const QString& c : f.fehlen)
            erwartet.removeAll(c);
        EXPECT_EQ(Codes(wahl), erwartet) << f.ausser.toStdString();
        EXPECT_TRUE(wahl.OkMoeglich());
        EXPECT_TRUE(wahl.AbbrechenMoeglich());
    }
}

TEST(BesamungsstationWahl, ErzwungenOhneStationenBleibtAbbrechbar)
{
    TBesamungsstationWahl wahl;
    wahl.Vorbereiten("GRUB", true);
    EXPECT_FALSE(wahl.AbbrechenMoeglich());
    wahl.Vorbereiten(AlleCodes().join(';'), true);
    EXPECT_FALSE(wahl.OkMoeglich());
    EXPECT_TRUE(wahl.AbbrechenMoeglich());
    EXPECT_EQ(wahl.Code(0), QString());
}

TEST(BesamungsstationDialog, OkLiefertDieGewaehlteStation)
{
    TfrmBesamungsstation dlg;
    dlg.Vorbereiten("HUBER;GRUB", false);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    Bildschirmfoto(dlg, "Besamungsstation.png");
    EXPECT_EQ(dlg.Auswahl()->currentText(), "Höchstädt");
    EXPECT_TRUE(dlg.AbbrechenKnopf()->isEnabled());
    dlg.Auswahl()->setFocus();
    QTest::keyClick(dlg.Auswahl(), Qt::Key_Down);
    EXPECT_EQ(dlg.Station(), QString());
    QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Station(), "LANDSHUT");

    // Prepared again, the previous choice is gone.
    dlg.Vorbereiten("", false);
    EXPECT_EQ(dlg.Station(), QString());
}

TEST(BesamungsstationDialog, AbbrechenLaesstDieStationLeer)
{
    TfrmBesamungsstation dlg;
    dlg.Vorbereiten("", false);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.AbbrechenKnopf(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Station(), QString());
}

TEST(BesamungsstationDialog, ErzwungenLaesstSichNurMitOkVerlassen)
{
    TfrmBesamungsstation dlg;
    dlg.Vorbereiten("", true);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_FALSE(dlg.AbbrechenKnopf()->isEnabled());
    EXPECT_FALSE(dlg.windowFlags() & Qt::WindowCloseButtonHint);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Station(), "HUBER");
}

TEST(BesamungsstationDialog, ErzwungenOhneAuswahlLaesstSichSchliessen)
{
    TfrmBesamungsstation dlg;
    dlg.Vorbereiten(AlleCodes().join(';'), true);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    Bildschirmfoto(dlg, "BesamungsstationLeer.png");
    EXPECT_EQ(dlg.Auswahl()->count(), 0);
    EXPECT_FALSE(dlg.OkKnopf()->isEnabled());
    EXPECT_TRUE(dlg.AbbrechenKnopf()->isEnabled());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.Station(), QString());
}

}  // namespace
