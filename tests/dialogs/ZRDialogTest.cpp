#include <Hilfe.h>
#include <ZRDialog.h>
#include <ZRVCLUtils.h>

#include <MessageBoxScript.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A dialog as the programs derive them: a layout with an OK and a "Hilfe" button.
class TTestDialog : public TZRDialog {
public:
    explicit TTestDialog(QWidget* owner = nullptr) : TZRDialog(owner)
    {
        auto* layout = new QVBoxLayout(this);
        ok = new QPushButton(QStringLiteral("OK"), this);
        hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
        layout->addWidget(ok);
        layout->addWidget(hilfe);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
        resize(240, 120);
    }
    QPushButton* ok;
    QPushButton* hilfe;
};

// Recording help system for the duration of a test.
class HilfeRecorder {
public:
    explicit HilfeRecorder(bool answer = true)
    {
        Tools::SetHilfeSystem([this, answer](int context) {
            contexts.push_back(context);
            return answer;
        });
    }
    ~HilfeRecorder() { Tools::SetHilfeSystem({}); }
    std::vector<int> contexts;
};

QPoint centre(const QRect& r)
{
    return QPoint(r.left() + r.width() / 2, r.top() + r.height() / 2);
}

}  // namespace

TEST(TZRDialog, FrameBorderAndCentreOnTheOwner)
{
    QWidget owner;
    owner.setGeometry(150, 120, 800, 600);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    TTestDialog dialog(&owner);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dialog.contentsMargins(), QMargins(8, 8, 8, 8));

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint diff = centre(dialog.frameGeometry()) - centre(owner.frameGeometry());
    EXPECT_LE(diff.manhattanLength(), 2) << diff.x() << "," << diff.y();
    // A fixed dialog frame, and the controls inside the 8-pixel border.
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_GE(dialog.ok->geometry().left(), 8);
    EXPECT_GE(dialog.ok->geometry().top(), 8);
    EXPECT_LE(dialog.hilfe->geometry().bottom(), dialog.height() - 8);

    // It opens centred again after the owner moved.
    dialog.hide();
    owner.move(40, 30);
    dialog.show();
    EXPECT_LE((centre(dialog.frameGeometry()) - centre(owner.frameGeometry())).manhattanLength(),
              2);
}

TEST(TZRDialog, DesignValuesOfTheDerivedDialogWin)
{
    class TEigen : public TTestDialog {
    public:
        explicit TEigen(QWidget* owner) : TTestDialog(owner)
        {
            setContentsMargins(2, 2, 2, 2);
            setPosition(poScreenCenter);
            setBorderStyle(bsSizeable);
        }
    };
    QWidget owner;
    owner.setGeometry(0, 0, 300, 200);
    owner.show();
    TEigen dialog(&owner);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.contentsMargins(), QMargins(2, 2, 2, 2));
    const QRect screen = owner.screen()->availableGeometry();
    EXPECT_LE((centre(dialog.frameGeometry()) - centre(screen)).manhattanLength(), 2);
    EXPECT_NE(dialog.minimumSize(), dialog.maximumSize());

    // Without an owner a dialog opens in the middle of the screen.
    TTestDialog alone;
    alone.show();
    EXPECT_LE((centre(alone.frameGeometry()) - centre(screen)).manhattanLength(), 2);
}

TEST(TZRDialog, F1AndTheHilfeButtonShowTheHelpContext)
{
    HilfeRecorder recorder;
    TTestDialog dialog;
    dialog.setHelpContext(4711);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.ok->setFocus();
    QTest::keyClick(dialog.ok, Qt::Key_F1);
    QTest::mouseClick(dialog.hilfe, Qt::LeftButton);
    EXPECT_EQ(recorder.contexts, (std::vector<int>{4711, 4711}));
    EXPECT_TRUE(dialog.isVisible());

    // Context 0 is asked for like any other.
    TTestDialog ohne;
    EXPECT_TRUE(ohne.HilfeAnzeigen());
    EXPECT_EQ(recorder.contexts.back(), 0);
}

TEST(TZRDialog, MissingHelpIsToldToTheUser)
{
    HilfeRecorder recorder(false);
    MessageBoxScript script;
    script.Answer(MessageBoxScript::Enter());
    TTestDialog dialog;
    dialog.setHelpContext(12);
    EXPECT_FALSE(dialog.HilfeAnzeigen());
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(script.Shown()[0].text,
              QStringLiteral("Für dieses Programm ist keine Hilfe installiert."));
    EXPECT_EQ(recorder.contexts, std::vector<int>{12});
}

TEST(TZRDialog, ShowDialogShowsModallyAndFrees)
{
    static int alive = 0;
    class TSelbstschliessend : public TTestDialog {
    public:
        explicit TSelbstschliessend(QWidget* owner) : TTestDialog(owner)
        {
            ++alive;
            QTimer::singleShot(0, ok, [this] { QTest::mouseClick(ok, Qt::LeftButton); });
        }
        ~TSelbstschliessend() override { --alive; }
    };
    QWidget owner;
    EXPECT_EQ(ZRVCLUtils::ShowDialog<TSelbstschliessend>(&owner), int(QDialog::Accepted));
    EXPECT_EQ(alive, 0);
}
