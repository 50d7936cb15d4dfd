#include "DruckTestHilfe.h"
#include "VorschauFenster.h"

#include <gtest/gtest.h>

#include <Bildschirmfoto.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace {

class VorschauFenster : public ::testing::Test {
protected:
    FakeDrucker drucker;
    AufzeichnendeAusgabe* ausgabe = nullptr;
    std::unique_ptr<TestDruck> druck;
    int seiten = 3;

    void SetUp() override
    {
        auto a = std::make_unique<AufzeichnendeAusgabe>();
        ausgabe = a.get();
        druck = std::make_unique<TestDruck>(drucker, std::move(a));
        druck->Paper().SetScreenDpi(96);
        druck->Inhalt = [this](TestDruck& d) {
            d.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, 0, 0, false);
            for (int seite = 1; seite <= seiten; ++seite) {
                if (seite > 1)
                    d.NeueSeite();
                d.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, 0, 0, false);
                for (int zeile = 1; zeile <= 30; ++zeile)
                    d.PrintText(
                        0, QStringLiteral("Seite %1, Kuh %2: 31,4 kg Milch").arg(seite).arg(zeile),
                        true);
            }
        };
    }

    // Runs the body once the window has produced and shown its pages, then closes it.
    void imFenster(const std::function<void(TfmPreview&)>& body)
    {
        TfmPreview& form = druck->Preview->Form();
        QTimer::singleShot(0, &form, [&] {
            QTimer::singleShot(0, &form, [&] {
                body(form);
                form.reject();
            });
        });
        druck->Vorschau();
    }

    static void taste(TfmPreview& f, Qt::Key key) { QTest::keyClick(&f.PaintPanel(), key); }
    static int y(TfmPreview& f) { return f.PaintPanel().Vertikal().Position; }
};

TEST_F(VorschauFenster, FirstShowingProducesThePagesAtPageWidth)
{
    imFenster([&](TfmPreview& f) {
        EXPECT_TRUE(druck->Preview->PreviewVisible());
        EXPECT_EQ(druck->Preview->MaxPage(), 3);
        EXPECT_EQ(f.Seiten().text(), "Seite 1 / 3");
        EXPECT_EQ(f.Zoom().currentText(), "Seitenbreite");
        const QRect area = f.PaintRect();
        EXPECT_EQ(druck->Preview->Scale(),
                  EinpassSkalierung(TFitScale::fitPageWidth, area.width(), area.height(),
                                    druck->Paper().Width(), druck->Paper().Height()));
        EXPECT_FALSE(f.PaintPanel().Horizontal().Enabled);
        EXPECT_TRUE(f.PaintPanel().Vertikal().Enabled);
        EXPECT_EQ(f.PaintPanel().Bild().width(),
                  qRound(druck->Paper().Width() * druck->Preview->Scale() / 100.0) + 2);
        EXPECT_TRUE(f.PaintPanel().hasFocus());
    });
    EXPECT_FALSE(druck->Preview->PreviewVisible());
}

TEST_F(VorschauFenster, PageButtonsFollowThePage)
{
    imFenster([&](TfmPreview& f) {
        const auto zustand = [&] {
            return std::vector<bool>{f.ActErste().isEnabled(), f.ActVorherige().isEnabled(),
                                     f.ActNaechste().isEnabled(), f.ActLetzte().isEnabled()};
        };
        EXPECT_EQ(zustand(), (std::vector<bool>{false, false, true, true}));
        QTest::keyClick(&f, Qt::Key_F7);
        EXPECT_EQ(druck->Preview->CurrentPage(), 2);
        EXPECT_EQ(zustand(), (std::vector<bool>{true, true, true, true}));
        EXPECT_EQ(f.Seiten().text(), "Seite 2 / 3");
        QTest::keyClick(&f, Qt::Key_F8);
        EXPECT_EQ(druck->Preview->CurrentPage(), 3);
        EXPECT_EQ(zustand(), (std::vector<bool>{true, true, false, false}));
        QTest::keyClick(&f, Qt::Key_F6);
        EXPECT_EQ(druck->Preview->CurrentPage(), 2);
        QTest::keyClick(&f, Qt::Key_F5);
        EXPECT_EQ(druck->Preview->CurrentPage(), 1);
        EXPECT_EQ(zustand(), (std::vector<bool>{false, false, true, true}));
    });
}

TEST_F(VorschauFenster, ArrowKeysScrollAndFlipPagesAtTheEdges)
{
    imFenster([&](TfmPreview& f) {
        const int unten = f.PaintPanel().Vertikal().Limit();
        ASSERT_GT(unten, 40);
        taste(f, Qt::Key_Down);
        EXPECT_EQ(y(f), 20);
        EXPECT_EQ(f.PaintPanel().Offset().y(), -20);
        taste(f, Qt::Key_Up);
        taste(f, Qt::Key_Up);  // at the top of the first page: nothing before it
        EXPECT_EQ(y(f), 0);
        EXPECT_EQ(druck->Preview->CurrentPage(), 1);

        taste(f, Qt::Key_PageDown);
        EXPECT_EQ(druck->Preview->CurrentPage(), 2);
        taste(f, Qt::Key_Up);  // top of page 2: bottom of page 1
        EXPECT_EQ(druck->Preview->CurrentPage(), 1);
        EXPECT_EQ(y(f), unten);
        taste(f, Qt::Key_Down);  // bottom of page 1: top of page 2
        EXPECT_EQ(druck->Preview->CurrentPage(), 2);
        EXPECT_EQ(y(f), 0);

        taste(f, Qt::Key_End);
        EXPECT_EQ(druck->Preview->CurrentPage(), 3);
        while (y(f) < unten)
            taste(f, Qt::Key_Down);
        taste(f, Qt::Key_Down);  // bottom of the last page stays
        EXPECT_EQ(druck->Preview->CurrentPage(), 3);
        EXPECT_EQ(y(f), unten);
        taste(f, Qt::Key_Home);
        EXPECT_EQ(druck->Preview->CurrentPage(), 1);
        taste(f, Qt::Key_PageUp);
        EXPECT_EQ(druck->Preview->CurrentPage(), 1);
    });
}

TEST_F(VorschauFenster, WheelStepsTwoArrows)
{
    imFenster([&](TfmPreview& f) {
        TPaintPanel& panel = f.PaintPanel();
        const QPointF mitte(panel.width() / 2.0, panel.height() / 2.0);
        QWheelEvent runter(mitte, panel.mapToGlobal(mitte), QPoint(), QPoint(0, -120), Qt::NoButton,
                           Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&panel, &runter);
        EXPECT_EQ(y(f), 40);
        EXPECT_TRUE(runter.isAccepted());
        QWheelEvent hoch(mitte, panel.mapToGlobal(mitte), QPoint(), QPoint(0, 120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&panel, &hoch);
        EXPECT_EQ(y(f), 0);
    });
}

TEST_F(VorschauFenster, ZoomBoxScalesCentresAndKeepsTheRelativePosition)
{
    imFenster([&](TfmPreview& f) {
        TPaintPanel& panel = f.PaintPanel();
        const auto waehle = [&](const QString& text) {
            f.Zoom().setCurrentIndex(f.Zoom().findText(text));
            emit f.Zoom().activated(f.Zoom().currentIndex());
        };
        waehle("25%");
        EXPECT_EQ(druck->Preview->Scale(), 25);
        const int e = qRound(druck->Paper().Width() * 0.25);
        EXPECT_FALSE(panel.Horizontal().Enabled);
        EXPECT_EQ(panel.Offset().x(), qRound((panel.width() - e) / 2.0))
            << "a narrow page is centred";

        waehle("200%");
        EXPECT_EQ(druck->Preview->Scale(), 200);
        ASSERT_TRUE(panel.Horizontal().Enabled);
        ASSERT_TRUE(panel.Vertikal().Enabled);
        for (int i = 0; i < 30; ++i)
            taste(f, Qt::Key_Down);
        const double relativ = double(y(f)) / panel.Vertikal().Limit();
        waehle("150%");
        EXPECT_NEAR(double(y(f)) / panel.Vertikal().Limit(), relativ, 0.01);

        waehle("Einpassen");
        EXPECT_FALSE(panel.Horizontal().Enabled);
        EXPECT_FALSE(panel.Vertikal().Enabled);
        EXPECT_LE(panel.Bild().height(), panel.height());
        waehle("Seitenhöhe");
        EXPECT_EQ(druck->Preview->Scale(),
                  EinpassSkalierung(TFitScale::fitPageHeight, panel.width(), panel.height(),
                                    druck->Paper().Width(), druck->Paper().Height()));
    });
}

TEST_F(VorschauFenster, ConfirmedSetupRebuildsThePagesACancelledOneDoesNot)
{
    imFenster([&](TfmPreview& f) {
        ASSERT_TRUE(f.ActDruckEinrichten().isEnabled());
        const int vorher = druck->Rahmen;
        ausgabe->einrichtungBestaetigt = false;
        f.ActDruckEinrichten().trigger();
        EXPECT_EQ(druck->Rahmen, vorher);
        seiten = 5;
        ausgabe->einrichtungBestaetigt = true;
        f.ActDruckEinrichten().trigger();
        EXPECT_GT(druck->Rahmen, vorher);
        EXPECT_EQ(ausgabe->einrichtungen, 2);
        QTest::keyClick(&f, Qt::Key_F8);
        EXPECT_EQ(f.Seiten().text(), "Seite 5 / 5");
    });
}

TEST_F(VorschauFenster, PrintButtonPrintsThroughTheDialogWhileThePreviewStaysOpen)
{
    imFenster([&](TfmPreview& f) {
        f.ActDrucken().trigger();
        ASSERT_EQ(ausgabe->auftraege.size(), 1u);
        EXPECT_EQ(ausgabe->auftraege[0].seiten, 3);
        EXPECT_TRUE(f.isVisible());
    });
}

TEST_F(VorschauFenster, DraggingMovesThePage)
{
    imFenster([&](TfmPreview& f) {
        TPaintPanel& panel = f.PaintPanel();
        const QPoint start(panel.width() / 2, panel.height() / 2);
        QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(&panel, start - QPoint(0, 100));
        EXPECT_EQ(panel.cursor().shape(), Qt::ClosedHandCursor);
        EXPECT_EQ(y(f), 100);
        QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, start - QPoint(0, 100));
        EXPECT_FALSE(panel.Zieht());
    });
}

TEST_F(VorschauFenster, TwoPageReportAtPageWidthLooksLikeAPrintPreview)
{
    seiten = 2;
    druck->Inhalt = [](TestDruck& d) {
        for (int seite = 1; seite <= 2; ++seite) {
            if (seite > 1)
                d.NeueSeite();
            d.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, fsBold, 0, false);
            d.PrintText(0, QStringLiteral("Tierliste Betrieb Sonnenhof"), true);
            d.Linie(0, d.Pos, d.GetPosRandRechts(), d.Pos);
            d.IncPos(20);
            d.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, 0, 0, false);
            for (int zeile = 1; zeile <= 45; ++zeile) {
                d.PrintText(0, QStringLiteral("DE 09 %1").arg(1000000 + seite * 100 + zeile),
                            false);
                d.PrintText(500, QStringLiteral("Berta %1").arg(zeile), false);
                d.PrintText(1600, QStringLiteral("%1,%2 kg").arg(20 + zeile % 9).arg(zeile % 10),
                            true, taRightJustify);
            }
        }
    };
    imFenster([&](TfmPreview& f) {
        EXPECT_EQ(f.Seiten().text(), "Seite 1 / 2");
        const QImage bild = f.PaintPanel().Bild();
        EXPECT_EQ(bild.pixelColor(bild.width() - 1, bild.height() / 2), QColor(Qt::black))
            << "shadow";
        EXPECT_EQ(bild.pixelColor(0, bild.height() / 2), QColor(0x80, 0x80, 0x80)) << "frame";
        EXPECT_EQ(bild.pixelColor(5, bild.height() / 2), QColor(Qt::white)) << "paper";
        Bildschirmfoto(f, "vorschau_seitenbreite.png");
    });
}

}  // namespace
