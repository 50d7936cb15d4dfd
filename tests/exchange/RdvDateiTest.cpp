#include <RdvDatei.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Tier = QStringLiteral(
    "Z00101DE0912345678  DE0911111111  DE0922222222  "
    "15032004ANNA ET     07       W");
const QString Zugehoerigkeit = QStringLiteral("Z00901DE0912345678          0102200510052008");
const QString Besamung = QStringLiteral("Z00201DE0912345678  07032008 1DE0933333333  ");
const QString Mlp = QStringLiteral("Z00501DE0912345678  07032008        25.3 4.12 3.45 12325.3S ");
const QString Kalbung = QStringLiteral("Z00601DE0912345678   201022008") + QString(87, u' ') + u'2';

class RdvDateiTest : public ::testing::Test {
protected:
    QString Datei(const QByteArray& inhalt)
    {
        const QString pfad = dir.filePath(QStringLiteral("d%1.rdv").arg(++n));
        QFile f(pfad);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
        return pfad;
    }
    QTemporaryDir dir;
    int n = 0;
};

TEST_F(RdvDateiTest, FixtureLinesGiveTheirFields)
{
    ASSERT_EQ(Tier.size(), 78);
    ASSERT_EQ(Zugehoerigkeit.size(), 44);
    ASSERT_EQ(Besamung.size(), 44);
    ASSERT_EQ(Mlp.size(), 60);
    ASSERT_EQ(Kalbung.size(), 118);
    TRDVDatei saetze;
    const QByteArray text =
        (QStringList{Tier, Zugehoerigkeit, Besamung, Mlp, Kalbung}.join("\r\n") + "\r\n")
            .toLatin1();
    ASSERT_TRUE(RDVDateiLesen(Datei(text), saetze));
    ASSERT_EQ(saetze.size(), 5u);
    EXPECT_EQ(saetze[0].Satzart, "Z00101");
    EXPECT_EQ(saetze[0].Daten, Tier.mid(6));
    EXPECT_EQ(RDVSatzAnzahl(saetze, "Z00101"), 1);
    EXPECT_EQ(RDVSatzAnzahl(saetze, "Z00701"), 0);

    struct Fall {
        int satz;
        int feld;
        std::optional<QString> wert;
    };
    const Fall faelle[] = {
        {0, RdvFeld::Ohrmarke, "DE 09 123 45678"},
        {0, RdvFeld::Vater, "DE 09 111 11111"},
        {0, RdvFeld::Mutter, "DE 09 222 22222"},
        {0, RdvFeld::Geburtsdatum, "15.03.2004"},
        {0, RdvFeld::Name, "ANNA ET"},
        {0, RdvFeld::Rasse, "10"},
        {0, RdvFeld::Geschlecht, "W"},
        {1, RdvFeld::Zugang, "01.02.2005"},
        {1, RdvFeld::Abgang, "10.05.2008"},
        {2, RdvFeld::BesamungDatum, "07.03.2008"},
        {2, RdvFeld::BesamungNr, "1"},
        {2, RdvFeld::Bulle, "DE 09 333 33333"},
        {3, RdvFeld::MlpDatum, "07.03.2008"},
        {3, RdvFeld::Milch, "25.3"},
        {3, RdvFeld::Fett, "4.12"},
        {3, RdvFeld::Eiweiss, "3.45"},
        {3, RdvFeld::Zellzahl, "123"},
        {3, RdvFeld::Harnstoff, "25.3"},
        {3, RdvFeld::Melkart, "S"},
        {4, RdvFeld::KalbungNr, "2"},
        {4, RdvFeld::KalbungDatum, "01.02.2008"},
        {4, RdvFeld::Kalbeverlauf, "2"},
        // Past the end of a short line a field is empty.
        {1, RdvFeld::Geschlecht, std::nullopt},
        {2, 47, std::nullopt},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.feld);
        EXPECT_EQ(RDVFeld(saetze[std::size_t(f.satz)].Daten, f.feld), f.wert);
    }
}

TEST_F(RdvDateiTest, ConversionEdges)
{
    const QString leer(80, u' ');
    struct Fall {
        const char* name;
        QString daten;  // from column 7
        int feld;
        std::optional<QString> wert;
    };
    const Fall faelle[] = {
        {"blank breed is code 0", leer, RdvFeld::Rasse, "90"},
        {"breed 07", QString(62, u' ') + "07", RdvFeld::Rasse, "10"},
        {"breed 91", QString(62, u' ') + "91", RdvFeld::Rasse, "91"},
        {"breed not a number", QString(62, u' ') + "XY", RdvFeld::Rasse, "90"},
        {"ear tag the coder refuses", "  ABC-12    ", RdvFeld::Ohrmarke, "ABC-12"},
        {"zero date is not checked", QString(42, u' ') + "00000000", RdvFeld::Geburtsdatum,
         "00.00.0000"},
        {"blank date", leer, RdvFeld::Geburtsdatum, std::nullopt},
        {"unknown field", leer, 48, std::nullopt},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(RDVFeld(f.daten, f.feld), f.wert);
    }
    EXPECT_EQ(RDVRasse(150), 90);
    EXPECT_EQ(RDVRasse(-3), 90);
    EXPECT_EQ(RDVRasse(92), 93);
}

TEST_F(RdvDateiTest, TenLinesWithoutRecordAreNoRdvFile)
{
    const QByteArray neun = QByteArray("Kopfzeile\n").repeated(9);
    const QByteArray z = Tier.toLatin1() + "\n";
    struct Fall {
        const char* name;
        QByteArray text;
        bool rdv;
        std::size_t saetze;
    };
    const Fall faelle[] = {
        {"nine lines between records", z + neun + z, true, 2},
        {"ten lines between records", z + neun + "zehn\n" + z, false, 0},
        {"ten lines before the first record", neun + "zehn\n" + z, false, 0},
        {"empty lines do not count", z + neun + "\n\r\n\r" + z, true, 2},
        {"no record at all", "Kopf\n", true, 0},
        {"empty file", "", true, 0},
        {"line ends CR", (Tier + "\r" + Besamung + "\r").toLatin1(), true, 2},
        {"line ends LF without the last", (Tier + "\n" + Besamung).toLatin1(), true, 2},
        {"an ADIS file",
         QByteArray("DN880005009000801500080002912"
                    "0\n")
                 .repeated(12) +
             "ZN\n",
         false, 0},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        TRDVDatei saetze{{"alt", "alt"}};
        EXPECT_EQ(RDVDateiLesen(Datei(f.text), saetze), f.rdv);
        EXPECT_EQ(saetze.size(), f.saetze);
        if (f.saetze == 2) {
            EXPECT_EQ(saetze[1].Daten.trimmed(),
                      (f.text.contains("07032008") ? Besamung : Tier).mid(6).trimmed());
        }
    }
    TRDVDatei saetze;
    QString fehler;
    EXPECT_FALSE(RDVDateiLesen(dir.filePath("fehlt.rdv"), saetze, &fehler));
    EXPECT_EQ(fehler, QStringLiteral("Die Datei %1 konnte nicht geöffnet werden!")
                          .arg(dir.filePath("fehlt.rdv")));
}

}  // namespace
