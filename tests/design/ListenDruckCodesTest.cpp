#include <LayoutEditorLogik.h>
#include <ListenDruckCodes.h>

#include <QFont>

#include <gtest/gtest.h>

namespace {

using namespace ListenDruckCodes;

TEST(ListenDruckCodes, SchriftTexteLesenUndBeschreiben)
{
    struct Fall {
        QString text;
        QString name;
        int groesse;
        bool fett, kursiv, unterstrichen, durchgestrichen;
        QString beschreibung;
    };
    const Fall faelle[] = {
        {"Arial;10;B", "Arial", 10, true, false, false, false, "Arial, Größe 10, fett"},
        {"Arial;10;BI", "Arial", 10, true, true, false, false, "Arial, Größe 10, fett, kursiv"},
        {"Arial;;B", "Arial", 10, true, false, false, false, "Arial, Größe 10, fett"},
        {"Arial;12;", "Arial", 12, false, false, false, false, "Arial, Größe 12"},
        {"Arial;zwölf;U", "Arial", 10, false, false, true, false, "Arial, Größe 10, unterstrichen"},
        // The letters count anywhere after the size, in any order, also behind another ";".
        {"Courier New;8;SUIB", "Courier New", 8, true, true, true, true,
         "Courier New, Größe 8, fett, kursiv, unterstrichen, durchgestrichen"},
        {"Arial;9;x;S", "Arial", 9, false, false, false, true, "Arial, Größe 9, durchgestrichen"},
        // No name: the standard font.
        {"", StandardSchriftName, 10, false, false, false, false, "Arial, Größe 10"},
        {";14;I", StandardSchriftName, 14, false, true, false, false, "Arial, Größe 14, kursiv"},
        {"Arial", "Arial", 10, false, false, false, false, "Arial, Größe 10"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.text.toStdString());
        EXPECT_EQ(SchriftBeschreibung(f.text), f.beschreibung);
        const QFont s = SchriftAusText(f.text);
        EXPECT_EQ(s.family(), f.name);
        EXPECT_EQ(s.pointSize(), f.groesse);
        EXPECT_EQ(s.bold(), f.fett);
        EXPECT_EQ(s.italic(), f.kursiv);
        EXPECT_EQ(s.underline(), f.unterstrichen);
        EXPECT_EQ(s.strikeOut(), f.durchgestrichen);
    }
}

TEST(ListenDruckCodes, SchriftZuTextSchreibtDieStilbuchstabenInFesterFolge)
{
    QFont times(QStringLiteral("Times New Roman"));
    times.setPointSize(12);
    times.setItalic(true);
    EXPECT_EQ(SchriftZuText(times), "Times New Roman;12;I");
    QFont alle(QStringLiteral("Arial"));
    alle.setPointSize(8);
    alle.setStrikeOut(true);
    alle.setUnderline(true);
    alle.setItalic(true);
    alle.setBold(true);
    EXPECT_EQ(SchriftZuText(alle), "Arial;8;BIUS");
    QFont schlicht(QStringLiteral("Arial"));
    schlicht.setPointSize(9);
    EXPECT_EQ(SchriftZuText(schlicht), "Arial;9;");
    // Read and written again, a stored text stays as it was.
    for (const char* t : {"Arial;10;B", "DejaVu Sans;14;IU", "Liberation Serif;7;S"})
        EXPECT_EQ(SchriftZuText(SchriftAusText(QString::fromUtf8(t))), QString::fromUtf8(t));
}

TEST(ListenDruckCodes, CodetabellenInAuswahlfolge)
{
    const auto codes = [](const QList<RCode>& t) {
        QStringList c;
        for (const RCode& e : t)
            c << e.Code + "=" + e.Text;
        return c.join(',');
    };
    EXPECT_EQ(codes(LinienArten()),
              "S=durchgezogen,D=strichliert,P=punktiert,DP=Strich Punkt,"
              "DPP=Strich Punkt Punkt");
    EXPECT_EQ(codes(Ausrichtungen()), "L=Links,R=Rechts,C=Zentriert");
    EXPECT_EQ(codes(StandCodes()), "N=nicht anzeigen,L=Links,R=Rechts");
    EXPECT_EQ(codes(PapierAusrichtungen()), "H=Hochformat,Q=Querformat");
    EXPECT_EQ(codes(BeginnTitelCodes()), "T=Titel,F=1. Zeile");
    QStringList breiten;
    for (const RBreite& b : LinienBreiten())
        breiten << QString::number(b.Code) + "=" + b.Text;
    EXPECT_EQ(breiten.join(','),
              "0=Haarlinie,50=0,50,75=0,75,100=1,00,125=1,25,150=1,50,"
              "175=1,75,200=2,00");
    EXPECT_EQ(Text(LinienArten(), "DP"), "Strich Punkt");
    EXPECT_EQ(Text(StandCodes(), "R "), "Rechts");
    EXPECT_EQ(Text(Ausrichtungen(), "X"), "");
    EXPECT_EQ(LinienBreiteText(125), "1,25");
    EXPECT_EQ(LinienBreiteText(60), "");
}

TEST(LayoutEditorRegeln, SeitenUndDatumsauswahl)
{
    EXPECT_TRUE(LayoutEditor::IstStatusSpalte("Q1.STATUSIDX"));
    EXPECT_TRUE(LayoutEditor::IstStatusSpalte("STATUSIDX"));
    EXPECT_FALSE(LayoutEditor::IstStatusSpalte("Q1.STATUS"));
    EXPECT_TRUE(LayoutEditor::ZeigtWert("S.F"));
    EXPECT_TRUE(LayoutEditor::ZeigtWert("S.F12"));
    EXPECT_FALSE(LayoutEditor::ZeigtWert("S.N1"));
    EXPECT_FALSE(LayoutEditor::ZeigtWert("SF1"));
    EXPECT_FALSE(LayoutEditor::ZeigtWert("Q1.KNR"));

    const QList<QPair<QString, QString>> katalog{{"Tier: Nummer", "Q1.NUMMER"},
                                                 {"Tier: Geburt", "Q1.GEBDAT"},
                                                 {"Kalbung: Datum", "Q2.DATUM"},
                                                 {"Tier: Abgang", "Q1.ABGANG"}};
    QStringList wahlen;
    for (const LayoutEditor::RDatumWahl& w :
         LayoutEditor::DatumWahlen(katalog, {"Q2DATUM", "q1gebdat", "ANDERS"}))
        wahlen << w.Text + "=" + w.Wert;
    EXPECT_EQ(wahlen,
              (QStringList{"Deaktiviert=-", "Tier: Geburt=Q1GEBDAT", "Kalbung: Datum=Q2DATUM"}));
    ASSERT_EQ(LayoutEditor::DatumWahlen(katalog, {}).size(), 1);
}

}  // namespace
