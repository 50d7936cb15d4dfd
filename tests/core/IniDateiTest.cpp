#include <IniDatei.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include <sys/resource.h>

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

TEST_F(IniDateiTest, EachLineIsReadInItsOwnEncodingAndTheFileIsWrittenAsUtf8)
{
    struct Fall {
        const char* name;
        QByteArray roh;
    };
    // One line of an older workstation (ISO-8859-1) among UTF-8 ones.
    const std::vector<Fall> faelle = {
        {"LF",
         "[Datenbank]\nName=/home/J\xC3\xBCrgen/Bovantis.fdb\n"
         "[DF\xC3\x9C]\nVerbindung=M\xFCller Netz\n"},
        {"CRLF with byte-order mark",
         "\xEF\xBB\xBF[Datenbank]\r\nName=/home/J\xC3\xBCrgen/Bovantis.fdb\r\n"
         "[DF\xC3\x9C]\r\nVerbindung=M\xFCller Netz\r\n"},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        schreibeRoh(fall.roh);
        TIniDatei ini(pfad);
        EXPECT_EQ(ini.Lesen("Datenbank", "Name"), QStringLiteral("/home/Jürgen/Bovantis.fdb"));
        EXPECT_EQ(ini.Lesen("DFÜ", "Verbindung"), QStringLiteral("Müller Netz"));
        ini.Schreiben("Zustand", "LetzteMaske", "1");
        const QByteArray geschrieben = leseRoh();
        EXPECT_EQ(geschrieben, QStringLiteral("[Datenbank]\nName=/home/Jürgen/Bovantis.fdb\n"
                                              "[DFÜ]\nVerbindung=Müller Netz\n\n"
                                              "[Zustand]\nLetzteMaske=1\n")
                                   .toUtf8());
        EXPECT_EQ(TIniDatei(pfad).Lesen("Datenbank", "Name"),
                  QStringLiteral("/home/Jürgen/Bovantis.fdb"));
    }
}

TEST_F(IniDateiTest, AStapelWritesItsChangesOnceAndKeepsWhatOthersWroteMeanwhile)
{
    schreibeRoh("[Zustand]\nA=1\n");
    TIniDatei ini(pfad);
    TIniDatei anderesProgramm(pfad);
    QByteArray erwartet = "[Zustand]\nA=1\nB=2\nC=3\n\n[Vorgaben]\n";
    {
        TIniDatei::Stapel stapel(ini);
        for (int i = 0; i < 34; ++i) {
            ini.Schreiben("Vorgaben", QStringLiteral("K%1").arg(i), QString::number(i));
            erwartet += QStringLiteral("K%1=%1\n").arg(i).toUtf8();
        }
        EXPECT_EQ(ini.Lesen("Vorgaben", "K5"), QStringLiteral("5"));
        EXPECT_EQ(leseRoh(), "[Zustand]\nA=1\n");

        anderesProgramm.Schreiben("Zustand", "B", "2");
        EXPECT_EQ(ini.Lesen("Zustand", "B"), QStringLiteral("2"));
        EXPECT_EQ(ini.Lesen("Vorgaben", "K33"), QStringLiteral("33"));
        {
            // A nested bracket leaves the writing to the outer one.
            TIniDatei::Stapel innen(ini);
            ini.Schreiben("Zustand", "C", "3");
            innen.Abschliessen();
        }
        EXPECT_EQ(leseRoh(), "[Zustand]\nA=1\nB=2\n");
        stapel.Abschliessen();
    }
    EXPECT_EQ(leseRoh(), erwartet);

    // A bracket that ends without Abschliessen (an error on the way) undoes its changes.
    {
        TIniDatei::Stapel stapel(ini);
        ini.Schreiben("Zustand", "A", "9");
        ini.SchluesselLoeschen("Zustand", "B");
        ini.SektionLoeschen("Vorgaben");
        EXPECT_FALSE(ini.SektionExistiert("Vorgaben"));
    }
    EXPECT_EQ(ini.Lesen("Zustand", "A"), QStringLiteral("1"));
    EXPECT_EQ(ini.Lesen("Zustand", "B"), QStringLiteral("2"));
    EXPECT_EQ(ini.Lesen("Vorgaben", "K0"), QStringLiteral("0"));
    EXPECT_EQ(leseRoh(), erwartet);
}

namespace {

// Files of this process may grow to `bytes` only while it lives: a write beyond fails as on a
// full disk (with "file too large" in place of "no space left on device").
class Dateigrenze {
public:
    explicit Dateigrenze(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &vorher_);
        struct sigaction ignorieren {};
        ignorieren.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignorieren, &signalVorher_);
        const rlimit grenze{bytes, vorher_.rlim_max};
        gesetzt_ = ::setrlimit(RLIMIT_FSIZE, &grenze) == 0;
    }
    ~Dateigrenze()
    {
        ::setrlimit(RLIMIT_FSIZE, &vorher_);
        ::sigaction(SIGXFSZ, &signalVorher_, nullptr);
    }
    Dateigrenze(const Dateigrenze&) = delete;
    Dateigrenze& operator=(const Dateigrenze&) = delete;
    bool gesetzt() const { return gesetzt_; }

private:
    rlimit vorher_{};
    struct sigaction signalVorher_ {};
    bool gesetzt_ = false;
};

}  // namespace

TEST_F(IniDateiTest, AWriteThatFailsNamesTheSystemsReasonAndLeavesTheFileAsItWas)
{
    schreibeRoh("[Zustand]\nA=1\n");
    TIniDatei ini(pfad);
    {
        Dateigrenze grenze(16);
        ASSERT_TRUE(grenze.gesetzt());
        try {
            ini.Schreiben("Zustand", "B", "ein Wert, der nicht mehr passt");
            ADD_FAILURE() << "the failed write went unnoticed";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()),
                      "Die Einstellungsdatei " + pfad + " kann nicht geschrieben werden: " +
                          QString::fromLocal8Bit(std::strerror(EFBIG)));
        }
    }
    EXPECT_EQ(leseRoh(), "[Zustand]\nA=1\n");
    EXPECT_FALSE(ini.Lesen("Zustand", "B").has_value());

    // The same for the changes of a bracket.
    {
        TIniDatei::Stapel stapel(ini);
        ini.Schreiben("Zustand", "B", "2");
        ini.Schreiben("Zustand", "C", "3");
        Dateigrenze grenze(16);
        EXPECT_THROW(stapel.Abschliessen(), std::runtime_error);
        EXPECT_FALSE(ini.Lesen("Zustand", "B").has_value());
    }
    EXPECT_EQ(leseRoh(), "[Zustand]\nA=1\n");
    EXPECT_FALSE(ini.Lesen("Zustand", "C").has_value());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Bovantis.ini"});
}
