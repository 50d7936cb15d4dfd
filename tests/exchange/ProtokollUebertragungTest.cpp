#include <ProtokollUebertragung.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList DateiZeilen(const QString& pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return {QStringLiteral("<nicht lesbar>")};
    return QString::fromUtf8(datei.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class ProtokollUebertragungTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ordner.isValid()); }

    TProtokoll Protokoll()
    {
        TProtokoll p(ordner.path() + QLatin1Char('/'), [this] { return jetzt; });
        p.Titel = QStringLiteral("HIT Protokoll");
        return p;
    }

    QTemporaryDir ordner;
    QDateTime jetzt{QDate(2008, 3, 7), QTime(14, 5, 9)};
};

TEST_F(ProtokollUebertragungTest, DateiNachTitelUndStartzeitImNeuenOrdnerProtokolle)
{
    TProtokoll p = Protokoll();
    p.Beginnen();
    EXPECT_EQ(p.Dateiname(),
              ordner.path() + QStringLiteral("/Protokolle/HIT Protokoll 07.03.2008 14-05-09.txt"));
    EXPECT_FALSE(QDir(ordner.path() + QStringLiteral("/Protokolle")).exists());

    p.Schreiben(QStringLiteral("Verbindung aufgebaut"), 0);
    jetzt = jetzt.addSecs(65);
    p.Schreiben(QStringLiteral("Geburt 276 09 123 45678 gemeldet (ä)"), 2);

    EXPECT_EQ(
        DateiZeilen(p.Dateiname()),
        (QStringList{QStringLiteral("07.03.2008 14:05:09 Verbindung aufgebaut"),
                     QStringLiteral("07.03.2008 14:06:14 Geburt 276 09 123 45678 gemeldet (ä)")}));
    ASSERT_EQ(p.Eintraege().size(), 2);
    EXPECT_EQ(p.Eintraege()[1].Text, QStringLiteral("Geburt 276 09 123 45678 gemeldet (ä)"));
    EXPECT_EQ(p.Eintraege()[1].Level, 2);
}

TEST_F(ProtokollUebertragungTest, ZweiUebertragungenInDerselbenSekundeHaengenAn)
{
    TProtokoll p = Protokoll();
    p.Beginnen();
    p.Schreiben(QStringLiteral("erste"), 0);
    p.Beginnen();
    EXPECT_TRUE(p.Eintraege().isEmpty());
    p.Schreiben(QStringLiteral("zweite"), 1);
    EXPECT_EQ(DateiZeilen(p.Dateiname()),
              (QStringList{QStringLiteral("07.03.2008 14:05:09 erste"),
                           QStringLiteral("07.03.2008 14:05:09 zweite")}));
}

TEST_F(ProtokollUebertragungTest, ZeilenVorDemStartNurInListeUndSpeicher)
{
    QListWidget liste;
    TProtokoll p = Protokoll();
    p.SetListBox(&liste);
    p.Schreiben(QStringLiteral("vorher"), 0);
    EXPECT_TRUE(p.Dateiname().isEmpty());
    EXPECT_EQ(p.Eintraege().size(), 1);
    EXPECT_EQ(liste.count(), 1);
    EXPECT_FALSE(QDir(ordner.path() + QStringLiteral("/Protokolle")).exists());
}

TEST_F(ProtokollUebertragungTest, StartLeertUndSperrtDieListeBisZurErstenZeile)
{
    QListWidget liste;
    TProtokoll p = Protokoll();
    p.SetListBox(&liste);
    p.Schreiben(QStringLiteral("alt"), 0);
    p.Beginnen();
    EXPECT_EQ(liste.count(), 0);
    EXPECT_FALSE(liste.isEnabled());

    p.Schreiben(QStringLiteral("eins"), 0);
    p.Schreiben(QStringLiteral("zwei"), 3);
    EXPECT_TRUE(liste.isEnabled());
    ASSERT_EQ(liste.count(), 2);
    EXPECT_EQ(liste.currentRow(), 1);
    EXPECT_EQ(liste.item(1)->foreground().color(), QColor(Qt::red));
}

TEST_F(ProtokollUebertragungTest,
       NichtSchreibbareDateiWirdEinmalGemeldetUndDieUebertragungLaeuftWeiter)
{
    // A plain file where the folder should be: no user, root included, can create the log.
    QFile sperre(ordner.path() + QStringLiteral("/Protokolle"));
    ASSERT_TRUE(sperre.open(QIODevice::WriteOnly));
    sperre.close();

    QListWidget liste;
    TProtokoll p = Protokoll();
    p.SetListBox(&liste);
    p.Beginnen();
    p.Schreiben(QStringLiteral("eins"), 0);
    p.Schreiben(QStringLiteral("zwei"), 2);

    ASSERT_EQ(p.Eintraege().size(), 3);
    EXPECT_EQ(p.Eintraege()[0].Level, 3);
    EXPECT_TRUE(p.Eintraege()[0].Text.contains(QStringLiteral("kann nicht geschrieben werden")));
    EXPECT_EQ(p.Eintraege()[1].Text, QStringLiteral("eins"));
    EXPECT_EQ(p.Eintraege()[2].Text, QStringLiteral("zwei"));
    EXPECT_EQ(liste.count(), 3);

    // The next transfer reports its own failure again.
    p.Beginnen();
    p.Schreiben(QStringLiteral("drei"), 0);
    EXPECT_EQ(p.Eintraege().size(), 2);
}

TEST(ProtokollFarbeTest, FarbeNachLevel)
{
    const struct {
        int level;
        QColor farbe;
    } faelle[] = {{0, Qt::black}, {1, Qt::darkGreen}, {2, Qt::blue},
                  {3, Qt::red},   {5, Qt::red},       {-1, Qt::black}};
    for (const auto& f : faelle)
        EXPECT_EQ(ProtokollFarbe(f.level), f.farbe) << f.level;
}

int RotePixel(const QImage& bild, const QRect& bereich)
{
    int n = 0;
    for (int y = bereich.top(); y <= bereich.bottom(); ++y)
        for (int x = bereich.left(); x <= bereich.right(); ++x) {
            const QColor c = bild.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 80 && c.blue() < 80)
                ++n;
        }
    return n;
}

TEST(ProtokollFarbeTest, AuswahlfarbeGehtVorDerLevelfarbe)
{
    QTemporaryDir ordner;
    QListWidget liste;
    liste.resize(300, 120);
    TProtokoll p(ordner.path() + QLatin1Char('/'));
    p.SetListBox(&liste);
    p.Schreiben(QStringLiteral("Fehler ohne Auswahl"), 5);
    p.Schreiben(QStringLiteral("Fehler mit Auswahl"), 3);
    liste.show();
    QApplication::processEvents();

    const QImage bild = liste.viewport()->grab().toImage();
    const QRect ohne = liste.visualItemRect(liste.item(0));
    const QRect mit = liste.visualItemRect(liste.item(1));
    EXPECT_GT(RotePixel(bild, ohne), 0);
    EXPECT_EQ(RotePixel(bild, mit), 0);
}

}  // namespace
