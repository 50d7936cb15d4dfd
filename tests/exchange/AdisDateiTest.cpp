#include <AdisDatei.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Files written by hand to the interchange syntax: a header entity, animals with an unknown
// row, test-day values with implied decimals, and a second logical file that defines the animal
// entity anew.
const char* const Beispiel =
    "DH990001009000030800090000610"
    "0\r\n"
    "VH99000120261211LKV Test  \r\n"
    "CN Kommentarzeile\r\n"
    "DN880005009000801500080002912000900053080008000300"
    "20\r\n"
    "VN880005DE0912345678   ANNA ET     2004031507\r\n"
    "VN880005276000912345679||||||||||||||||||||||\r\n"
    "DN880006009000801500090003208000800044041009000770320090004705"
    "0\r\n"
    "VN880006DE0912345678   200803070253412-0012\r\n"
    "FN880006 a faulty row is no data\r\n"
    "VF880006DE0912345678   200803070253412-0012\r\n"
    "VD880006DE0912345678   200803070253412-0012\r\n"
    "VN880006DE0912345678   20081307 3,5 4100123\r\n"
    "TN\r\n"
    "DN880005009000801500080002904"
    "0\r\n"
    "VN880005DE0922222222   BERT\r\n"
    "ZN\r\n"
    "VN880005this line lies behind the end\r\n";

AdisDatei Gelesen(const QByteArray& text)
{
    AdisDatei d;
    d.SetTypen({{900053, u'D'},
                {900032, u'D'},
                {900003, u'D'},
                {800030, u'N'},
                {800044, u'N'},
                {900077, u'N'},
                {900047, u'N'},
                {900080, u'A'}});
    EXPECT_EQ(d.LesenText(text), AdisDatei::Ergebnis::Gelesen) << d.Fehler().toStdString();
    return d;
}

TEST(AdisDatei, SectionsRowsAndValues)
{
    const AdisDatei d = Gelesen(Beispiel);
    ASSERT_EQ(d.Abschnitte().size(), 4u);
    int a = -1;
    ASSERT_TRUE(d.GetAbschnitt(990001, a));
    EXPECT_EQ(a, 0);
    EXPECT_EQ(d.Abschnitte()[0].status, u'H');
    EXPECT_EQ(d.GetWert(a, 0, 900003), "11.12.2026");
    EXPECT_EQ(d.GetWert(a, 0, 900006), "LKV Test");
    EXPECT_FALSE(d.GetAbschnitt(990001, a));

    a = -1;
    ASSERT_TRUE(d.GetAbschnitt(880005, a));
    EXPECT_EQ(d.GetWert(a, 0, 900080), "DE0912345678");
    EXPECT_EQ(d.GetWert(a, 0, 800029), "ANNA ET");
    EXPECT_EQ(d.GetWert(a, 0, 900053), "15.03.2004");
    EXPECT_EQ(d.GetWert(a, 0, 800030), "7");
    // Unknown fields and items the section does not define are absent.
    EXPECT_EQ(d.GetWert(a, 1, 900080), "276000912345679");
    EXPECT_EQ(d.GetWert(a, 1, 800029), std::nullopt);
    EXPECT_EQ(d.GetWert(a, 1, 900053), std::nullopt);
    EXPECT_EQ(d.GetWert(a, 0, 900070), std::nullopt);
    EXPECT_EQ(d.GetWert(a, 2, 900080), std::nullopt);
    // The second logical file's definition is a section of its own.
    ASSERT_TRUE(d.GetAbschnitt(880005, a));
    EXPECT_EQ(a, 3);
    EXPECT_EQ(d.GetWert(a, 0, 800029), "BERT");
    EXPECT_EQ(d.GetWert(a, 0, 900053), std::nullopt);
    EXPECT_FALSE(d.GetAbschnitt(880005, a));
    EXPECT_EQ(d.Zeilen(880005), 3);

    // Faulty and deleted rows are left out; numbers get their implied decimals.
    a = -1;
    ASSERT_TRUE(d.GetAbschnitt(880006, a));
    EXPECT_EQ(d.Zeilen(880006), 2);
    EXPECT_EQ(d.GetWert(a, 0, 900032), "07.03.2008");
    EXPECT_EQ(d.GetWert(a, 0, 800044), "25.3");
    EXPECT_EQ(d.GetWert(a, 0, 900077), "4.12");
    EXPECT_EQ(d.GetWert(a, 0, 900047), "-12");
    // A date that is none stays as written for the caller to refuse; a written decimal sign
    // stands.
    EXPECT_EQ(d.GetWert(a, 1, 900032), "20081307");
    EXPECT_EQ(d.GetWert(a, 1, 800044), "3.5");
    EXPECT_EQ(d.GetWert(a, 1, 900077), "0.41");
    EXPECT_EQ(d.GetWert(a, 1, 900047), "123");
}

TEST(AdisDatei, LineEndsReadAlike)
{
    const QByteArray crlf(Beispiel);
    for (const QByteArray& ende : {QByteArray("\n"), QByteArray("\r")}) {
        QByteArray text = crlf;
        text.replace("\r\n", ende);
        const AdisDatei d = Gelesen(text);
        ASSERT_EQ(d.Abschnitte().size(), 4u);
        EXPECT_EQ(d.GetWert(1, 0, 800029), "ANNA ET");
        EXPECT_EQ(d.Zeilen(880006), 2);
    }
}

TEST(AdisDatei, BrokenFilesAreRefusedWithTheirLine)
{
    struct Fall {
        const char* name;
        QByteArray text;
        AdisDatei::Ergebnis ergebnis;
        const char* fehler;
    };
    const QByteArray d =
        "DN880005009000801500080002904"
        "0\n";
    const Fall faelle[] = {
        {"empty file", "", AdisDatei::Ergebnis::KeinADIS, "Die Datei ist keine ADIS-Datei."},
        {"a read-me text", "Diese Datei enthält die Daten vom Dezember.\nZN\n",
         AdisDatei::Ergebnis::KeinADIS, "Die Datei ist keine ADIS-Datei."},
        {"an RDV file", "Z00101DE0912345678  DE0911111111\n", AdisDatei::Ergebnis::KeinADIS,
         "Die Datei ist keine ADIS-Datei."},
        {"cut short", d + "VN880005DE0922222222   BERT\n", AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 3: Die Datei endet ohne Endezeile, sie ist unvollständig."},
        {"value line too short", d + "VN880005DE0922222222   BER\nZN\n",
         AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 2: Die Wertzeile von Entity 880005 hat 18 statt 19 Zeichen."},
        {"value line too long", d + "VN880005DE0922222222   BERTA\nZN\n",
         AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 2: Die Wertzeile von Entity 880005 hat 20 statt 19 Zeichen."},
        {"value line without definition", "VN880005DE0922222222   BERT\nZN\n",
         AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 1: Wertzeile ohne Definitionszeile für Entity 880005."},
        {"definition of the previous logical file", d + "TN\nVN880005DE0922222222   BERT\nZN\n",
         AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 3: Wertzeile ohne Definitionszeile für Entity 880005."},
        {"incomplete item group", "DN88000500900080150008000\nZN\n",
         AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 1: Die Definitionszeile von Entity 880005 hat keine vollständigen Feldangaben."},
        {"field of length 0",
         "DN880005009000800000080002904"
         "0\nZN\n",
         AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 1: Das Feld 900080 hat die Länge 0 mit 0 "
         "Dezimalstellen."},
        {"letters in an item group", "DN88000500900080X50\nZN\n", AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 1: Die Feldangabe \"00900080X50\" ist nicht numerisch."},
        {"foreign line inside", d + "Hallo\nZN\n", AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 2: Die Zeile ist keine ADIS-Zeile."},
        {"bad status", d + "VX880005DE0922222222   BERT\nZN\n", AdisDatei::Ergebnis::Fehlerhaft,
         "Zeile 2: Die Zeile ist keine ADIS-Zeile."},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        AdisDatei datei;
        EXPECT_EQ(datei.LesenText(f.text), f.ergebnis);
        EXPECT_EQ(datei.Fehler(), QString::fromUtf8(f.fehler));
        EXPECT_TRUE(datei.Abschnitte().empty());
    }
}

TEST(AdisDatei, FileOnDisk)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("mlp.ads");
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Latin-1, as the organisations write it.
        f.write(
            "DN880005009000801500080002912"
            "0\nVN880005DE0912345678   M\xdcLLER      \nZN\n");
    }
    AdisDatei d;
    ASSERT_EQ(d.Lesen(pfad), AdisDatei::Ergebnis::Gelesen);
    EXPECT_EQ(d.GetWert(0, 0, 800029), QStringLiteral("MÜLLER"));
    EXPECT_EQ(d.Lesen(dir.filePath("fehlt.ads")), AdisDatei::Ergebnis::Fehlerhaft);
    EXPECT_EQ(d.Fehler(), QStringLiteral("Die Datei %1 konnte nicht geöffnet werden!")
                              .arg(dir.filePath("fehlt.ads")));
    EXPECT_TRUE(d.Abschnitte().empty());
}

}  // namespace
