#include <ZRcxGridLayout.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ZRcxGrid;

namespace {

// Layout files that an editor saved with a UTF-8 byte-order mark before the first section.
class LayoutMitBom : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "\xEF\xBB\xBF[frmA.View1]\r\nKNR=1,80,1\r\nNAME=0,120,0\r\n"
            "[Zustand]\r\nOrt=M\xC3\xBCnchen\r\n");
    }

    QByteArray inhalt() const
    {
        QFile f(datei);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("Bovantis.ini"));
};

TEST_F(LayoutMitBom, TheFirstSectionIsRead)
{
    const Layout erwartet = {{QStringLiteral("KNR"), 1, 80, true},
                             {QStringLiteral("NAME"), 0, 120, false}};
    EXPECT_EQ(LayoutLesen(datei, QStringLiteral("frmA.View1")), erwartet);
    EXPECT_TRUE(LayoutLesen(datei, QStringLiteral("Zustand")).isEmpty());
}

TEST_F(LayoutMitBom, TheFirstSectionIsReplacedNotRepeated)
{
    const Layout neu = {{QStringLiteral("KNR"), 0, 50, true}};
    LayoutSchreiben(datei, QStringLiteral("frmA.View1"), neu);
    EXPECT_EQ(inhalt().count("[frmA.View1]"), 1) << inhalt().toStdString();
    EXPECT_TRUE(inhalt().endsWith("[Zustand]\r\nOrt=M\xC3\xBCnchen\r\n")) << inhalt().toStdString();
    EXPECT_EQ(LayoutLesen(datei, QStringLiteral("frmA.View1")), neu);
}

}  // namespace
