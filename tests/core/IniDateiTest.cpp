#include <IniDatei.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class IniDateiTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString pfad = dir.filePath(QStringLiteral("Bovantis.ini"));

    void schreibeRoh(const QByteArray& inhalt)
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    QByteArray leseRoh()
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

}  // namespace

TEST_F(IniDateiTest, ReadsAFileOfAnOlderWorkstationAsItsProfileFunctionsDid)
{
    // ISO-8859-1, CRLF, comments, blanks around "=", quotes, a duplicate section and key.
    schreibeRoh(
        QByteArray("Verwaist=ohne Abschnitt\r\n"
                   "; Kommentar\r\n"
                   "[Zustand]\r\n"
                   "  AktBetriebListen = 4 \r\n"
                   "LetzteMaske=\"7\"\r\n"
                   "aktbetrieblisten=9\r\n"
                   "\r\n"
                   "[DF\xDC]\r\n"
                   "Verbindung=M\xFCller Netz\r\n"
                   "[zustand]\r\n"
                   "LetzteMaske=99\r\n"));
    TIniDatei ini(pfad);
    EXPECT_EQ(ini.Lesen("ZUSTAND", "aktBetriebListen"), QStringLiteral("4"));
    EXPECT_EQ(ini.Lesen("Zustand", "LetzteMaske"), QStringLiteral("\"7\""));
    EXPECT_EQ(ini.Lesen("dfü", "verbindung"), QStringLiteral("Müller Netz"));
    EXPECT_FALSE(ini.Lesen("Zustand", "Verwaist").has_value());
    EXPECT_FALSE(ini.Lesen("Zustand", "Fehlt").has_value());
    EXPECT_EQ(ini.Sektionen(), (QStringList{"Zustand", "DFÜ"}));
    EXPECT_EQ(ini.Schluessel("zustand"), (QStringList{"AktBetriebListen", "LetzteMaske"}));
}

TEST_F(IniDateiTest, AChangeKeepsEveryOtherLineAndIsWrittenAtOnceAsUtf8)
{
    schreibeRoh(
        QByteArray("; Kommentar\r\n[Zustand]\r\nA=1\r\nB = 2\r\n\r\n[DF\xDC]\r\nX=\xE4\r\n"));
    TIniDatei ini(pfad);
    ini.Schreiben("zustand", "b", "3");
    ini.Schreiben("Zustand", "C", "4");
    ini.Schreiben("Neu", "Schlüssel", "Wert mit Ä");
    EXPECT_EQ(leseRoh(), QStringLiteral("; Kommentar\n[Zustand]\nA=1\nB=3\nC=4\n\n[DFÜ]\nX=ä\n\n"
                                        "[Neu]\nSchlüssel=Wert mit Ä\n")
                             .toUtf8());
    TIniDatei wieder(pfad);
    EXPECT_EQ(wieder.Lesen("NEU", "SCHLÜSSEL"), QStringLiteral("Wert mit Ä"));
    EXPECT_EQ(wieder.Lesen("dfü", "x"), QStringLiteral("ä"));
}

TEST_F(IniDateiTest, TwoProgramsOnOneFileKeepEachOthersChanges)
{
    TIniDatei hauptprogramm(pfad);
    TIniDatei einrichtung(pfad);
    hauptprogramm.Schreiben("Zustand", "LetzteMaske", "1");
    einrichtung.Schreiben("Datenbank", "Name", "server:/daten/bovantis.fdb");
    hauptprogramm.Schreiben("Zustand", "AktBetriebListen", "2");
    EXPECT_EQ(hauptprogramm.Lesen("Datenbank", "Name"),
              QStringLiteral("server:/daten/bovantis.fdb"));
    TIniDatei dritter(pfad);
    EXPECT_EQ(dritter.Lesen("Zustand", "LetzteMaske"), QStringLiteral("1"));
    EXPECT_EQ(dritter.Lesen("Zustand", "AktBetriebListen"), QStringLiteral("2"));
}

TEST_F(IniDateiTest, NamesAndValuesThatWouldBreakTheFileAreRefusedAndChangeNothing)
{
    TIniDatei ini(pfad);
    ini.Schreiben("Zustand", "A", "1");
    const QByteArray vorher = leseRoh();
    EXPECT_THROW(ini.Schreiben("Zustand", "B", "zwei\nZeilen"), std::runtime_error);
    EXPECT_THROW(ini.Schreiben("Zustand", "B=C", "1"), std::runtime_error);
    EXPECT_THROW(ini.Schreiben("Zu]stand", "B", "1"), std::runtime_error);
    EXPECT_THROW(ini.Schreiben("", "B", "1"), std::runtime_error);
    EXPECT_EQ(leseRoh(), vorher);
}

TEST_F(IniDateiTest, AFileThatCannotBeWrittenFailsWithAMessageAndKeepsTheOldState)
{
    QFile sperre(dir.filePath("keinordner"));
    ASSERT_TRUE(sperre.open(QIODevice::WriteOnly));
    sperre.close();
    TIniDatei ini(dir.filePath("keinordner/Bovantis.ini"));
    try {
        ini.Schreiben("Zustand", "A", "1");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith("Die Einstellungsdatei"));
    }
    EXPECT_FALSE(ini.Lesen("Zustand", "A").has_value());
}

TEST_F(IniDateiTest, TypedValuesReadAsTheOlderWorkstationsWroteThem)
{
    struct Fall {
        QString text;
        std::optional<int> zahl;
    };
    for (const Fall& f : std::vector<Fall>{{"12", 12},
                                           {" -3 ", -3},
                                           {"$1F", 31},
                                           {"0x10", 16},
                                           {"abc", std::nullopt},
                                           {"", std::nullopt},
                                           {"1.5", std::nullopt},
                                           {"--1", std::nullopt},
                                           {"99999999999", std::nullopt}}) {
        SCOPED_TRACE(f.text.toStdString());
        EXPECT_EQ(TIniDatei::AlsInteger(f.text), f.zahl);
        EXPECT_EQ(TIniDatei::AlsBool(f.text),
                  f.zahl ? std::optional<bool>(*f.zahl != 0) : std::nullopt);
    }

    EXPECT_EQ(TIniDatei::AlsDatum("01.02.2026"), QDate(2026, 2, 1));
    EXPECT_EQ(TIniDatei::AlsDatum("1.2.2026"), QDate(2026, 2, 1));
    EXPECT_EQ(TIniDatei::AlsDatum("30.12.1899"), QDate());
    EXPECT_EQ(TIniDatei::AlsDatum(""), QDate());
    EXPECT_EQ(TIniDatei::AlsDatum("31.02.2026"), std::nullopt);
    EXPECT_EQ(TIniDatei::AlsDatum("2026-02-01"), std::nullopt);
    EXPECT_EQ(TIniDatei::AlsDatumZeit("01.02.2026 13:45:10"),
              QDateTime(QDate(2026, 2, 1), QTime(13, 45, 10)));
    EXPECT_EQ(TIniDatei::AlsDatumZeit("01.02.2026"), QDateTime(QDate(2026, 2, 1), QTime(0, 0)));
    EXPECT_EQ(TIniDatei::AlsDatumZeit("01.02.2026 25:00"), std::nullopt);

    EXPECT_EQ(TIniDatei::DatumText(QDate(2026, 2, 1)), "01.02.2026");
    EXPECT_EQ(TIniDatei::DatumText(QDate()), "");
    EXPECT_EQ(TIniDatei::DatumZeitText(QDateTime(QDate(2026, 2, 1), QTime(8, 5))),
              "01.02.2026 08:05:00");
    EXPECT_EQ(TIniDatei::BoolText(true), "1");
}
