#include "BestandsbuchTestHilfe.h"
#include "../lists/ListenExportLeser.h"

#include <Bestandsbuch.h>
#include <BestandsbuchAktionen.h>

#include <Haupt.h>
#include <ListenExport.h>
#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ZRcxGridDBTableView.h>

#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>

namespace {

using ListenExport::Format;

class BestandsbuchFenster : public BestandsbuchTest {
protected:
    void SetUp() override
    {
        BestandsbuchTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2024, 4, 2));
    }
    // Every update or delete of the treatment `lid` is refused by the database.
    void Sperren(int lid)
    {
        Ausfuehren({"CREATE EXCEPTION E_GESPERRT 'Register gesperrt'",
                    "CREATE TRIGGER T_SPERRE FOR T_TIERARZTLEISTUNG BEFORE UPDATE OR DELETE AS "
                    "BEGIN IF (OLD.ID = " +
                        QString::number(lid) + ") THEN EXCEPTION E_GESPERRT; END"});
    }
};

TEST_F(BestandsbuchFenster, BookingButtonsFollowTheOpenEntriesAndTheRangeIsStoredInOrder)
{
    {
        TfrmBestandsbuch dialog(DM()->Datenbank);
        EXPECT_FALSE(dialog.btnAlleBuchen->isEnabled());
        EXPECT_FALSE(dialog.btnEinzelnBuchen->isEnabled());
        dialog.dtVon->setDate(QDate(2024, 3, 31));
        dialog.dtBis->setDate(QDate(2024, 3, 1));
        dialog.show();
        QTest::mouseClick(dialog.btnSchliessen, Qt::LeftButton);
    }
    EXPECT_EQ(Einstellungen()->GetBestandsbuchVon(), QDate(2024, 3, 1));
    EXPECT_EQ(Einstellungen()->GetBestandsbuchBis(), QDate(2024, 3, 31));
    Behandlung("J", {berta}, QDate(2024, 3, 2));
    TfrmBestandsbuch dialog(DM()->Datenbank);
    EXPECT_EQ(dialog.dtVon->date(), QDate(2024, 3, 1)) << "the stored range comes back";
    EXPECT_TRUE(dialog.btnAlleBuchen->isEnabled());
    EXPECT_TRUE(dialog.btnEinzelnBuchen->isEnabled());
}

TEST_F(BestandsbuchFenster, AllBookingAsksWithTheCountOutsideTheRangeToo)
{
    const int innen = Behandlung("J", {berta}, QDate(2024, 3, 2));
    const int gruppe = Behandlung("J", {berta, lisa}, QDate(2024, 3, 5));
    const int frueher = Behandlung("J", {lisa}, QDate(2023, 11, 5));
    const int spaeter = Behandlung("J", {anna}, QDate(2024, 5, 5));
    Behandlung("B", {anna}, QDate(2024, 3, 5));
    TfrmBestandsbuch dialog(DM()->Datenbank);
    dialog.dtVon->setDate(QDate(2024, 3, 1));
    dialog.dtBis->setDate(QDate(2024, 3, 31));
    dialog.show();
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo);
        QTest::mouseClick(dialog.btnAlleBuchen, Qt::LeftButton);
        ASSERT_EQ(boxen.Shown().size(), 1);
        const QString text = boxen.Shown()[0].text;
        EXPECT_TRUE(text.startsWith("Wollen Sie alle ungebuchten Anwendungen jetzt buchen?"));
        EXPECT_TRUE(text.contains("Es werden 4 Einträge gebucht.")) << text.toStdString();
        EXPECT_TRUE(text.contains("2 davon liegen außerhalb des gewählten Zeitraums."))
            << text.toStdString();
    }
    for (int lid : {innen, gruppe, frueher, spaeter})
        EXPECT_EQ(Zustand(lid), "J") << "No books nothing";
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrYes);
        QTest::mouseClick(dialog.btnAlleBuchen, Qt::LeftButton);
        EXPECT_EQ(boxen.Pending(), 0);
    }
    for (int lid : {innen, gruppe, frueher, spaeter})
        EXPECT_EQ(Zustand(lid), "B");
    EXPECT_FALSE(dialog.btnAlleBuchen->isEnabled());
    EXPECT_FALSE(dialog.btnEinzelnBuchen->isEnabled());
}

TEST_F(BestandsbuchFenster, BookingWindowBooksTheFocusedEntryAndShowsRefusals)
{
    const int a = Behandlung("J", {berta}, QDate(2024, 3, 2), "Erstes Mittel");
    const int b = Behandlung("J", {lisa}, QDate(2024, 3, 3), "Zweites Mittel");
    Behandlung("B", {anna}, QDate(2024, 3, 4));
    Sperren(b);
    TfrmBestandsbuchBuchen fenster(DM()->Datenbank);
    fenster.resize(1200, 600);
    fenster.show();
    fenster.Laden(QDate(2024, 3, 31), QDate(2024, 3, 1));
    EXPECT_EQ(fenster.windowTitle(), "Bestandsbuch, buchen");
    ASSERT_EQ(fenster.GetAnzahl(), 2) << "only open entries";
    EXPECT_EQ(fenster.AktuelleLID(), a);
    QTest::mouseClick(fenster.btnBuchen, Qt::LeftButton);
    EXPECT_EQ(Zustand(a), "B");
    ASSERT_EQ(fenster.GetAnzahl(), 1);
    EXPECT_EQ(fenster.AktuelleLID(), b);

    for (QPushButton* knopf : {fenster.btnBuchen, fenster.btnLoeschen}) {
        MessageBoxScript boxen;
        if (knopf == fenster.btnLoeschen)
            boxen.AnswerWith(Tools::mrYes);
        boxen.AnswerWith(Tools::mrOk);
        QTest::mouseClick(knopf, Qt::LeftButton);
        ASSERT_FALSE(boxen.Shown().empty()) << knopf->text().toStdString();
        EXPECT_EQ(boxen.Shown().back().type, Tools::mtError);
        EXPECT_TRUE(boxen.Shown().back().text.contains("Register gesperrt"))
            << boxen.Shown().back().text.toStdString();
        EXPECT_EQ(Zustand(b), "J");
        EXPECT_EQ(fenster.GetAnzahl(), 1) << "the failed entry stays in the list";
    }
    EXPECT_TRUE(fenster.btnBuchen->isEnabled());
}

TEST_F(BestandsbuchFenster, BookingTheLastEntryDisablesBooking)
{
    const int a = Behandlung("J", {berta}, QDate(2024, 3, 2));
    TfrmBestandsbuchBuchen fenster(DM()->Datenbank);
    fenster.show();
    fenster.Laden(QDate(2024, 3, 1), QDate(2024, 3, 31));
    QTest::mouseClick(fenster.btnBuchen, Qt::LeftButton);
    EXPECT_EQ(Zustand(a), "B");
    EXPECT_EQ(fenster.GetAnzahl(), 0);
    EXPECT_FALSE(fenster.btnBuchen->isEnabled());
}

TEST_F(BestandsbuchFenster, RegisterWindowShowsCancelledEntriesStruckOutOnRed)
{
    const int einzeln = Behandlung("B", {berta}, QDate(2024, 3, 2), "Penicillin", 3);
    const int storno = Behandlung("S", {lisa}, QDate(2024, 3, 3), "Storniertes Mittel");
    const int gruppe = Behandlung("J", {berta, lisa, anna}, QDate(2024, 3, 5), "Gruppenmittel");
    Behandlung("B", {anna}, QDate(2024, 6, 4), "Ausserhalb");
    const int zweites = Behandlung("B", {anna}, QDate(2024, 3, 20), "Zweites Mittel");
    Sperren(einzeln);
    TfrmHaupt haupt;
    haupt.resize(1400, 800);
    haupt.show();
    TfrmListeBestandsbuch* fenster =
        BestandsbuchListeAnzeigen(QDate(2024, 3, 1), QDate(2024, 3, 31), &haupt);
    ASSERT_TRUE(fenster);
    EXPECT_EQ(fenster->windowTitle(), "Bestandsbuch (von 01.03.2024 bis 31.03.2024)");
    ASSERT_EQ(fenster->GetAnzahl(), 4);
    EXPECT_TRUE(fenster->Grid()->Storniert(1));
    EXPECT_FALSE(fenster->Grid()->Storniert(0));
    // The shown texts of each row, column by column as the grid places them.
    const TZRDBcxGridBovantis& grid = *fenster->Grid();
    auto* view = fenster->Grid()->GetTableView();
    auto* modell = view->model();
    QList<int> spalten;
    for (int v = 0; v < view->horizontalHeader()->count(); ++v)
        if (const int c = view->horizontalHeader()->logicalIndex(v); !view->isColumnHidden(c))
            spalten << c;
    const auto zeile = [&](int z) {
        QStringList zellen;
        for (int c : spalten)
            zellen << grid.Anzeigetext(modell->index(z, c));
        return zellen;
    };
    QStringList titel;
    for (int c : spalten)
        titel << modell->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titel, (QStringList{"Anzahl/KNR, Art, Name\nIdentität", "Standort",
                                  "Arzneimittel\nBelegnummer", "Datum der\nAnwendung",
                                  "Art der\nVerabreichung", "verabreichte\nMenge",
                                  "Wartezeit\nin Tagen", "Anwender", " "}));
    ASSERT_EQ(spalten.size(), 9);
    const QStringList erste = zeile(0);
    EXPECT_TRUE(erste[0].contains(QRegularExpression("^007, \\w+, Berta\n.*111")))
        << erste[0].toStdString();
    EXPECT_EQ(erste.mid(1),
              (QStringList{"Stall 1", "Penicillin\nB-17", "02.03.2024\n03.03.2024\n04.03.2024",
                           "i.m.\ni.m.\ni.m.", "10 ml\n11 ml\n12 ml", "M: 5  \nF: 28  ",
                           "Dr. Weber", "2"}));
    const QStringList storniert = zeile(1);
    EXPECT_EQ(storniert.mid(3), (QStringList{"03.03.2024\n04.03.2024", "i.m.\ni.m.", "10 ml\n11 ml",
                                             "M: 5  \nF: 28  ", "Dr. Weber", "3"}));
    const QStringList gruppenZeile = zeile(2);
    EXPECT_TRUE(gruppenZeile[0].startsWith("3, ")) << gruppenZeile[0].toStdString();
    EXPECT_EQ(gruppenZeile[3], "05.03.2024\n06.03.2024");
    EXPECT_EQ(gruppenZeile.last(), "1");

    const int linie = view->fontMetrics().lineSpacing();
    EXPECT_GE(view->rowHeight(0), 3 * linie) << "three applications";
    EXPECT_GE(view->rowHeight(2), 4 * linie) << "the animal text and three ear tags";
    EXPECT_LT(view->rowHeight(3), 3 * linie);

    QApplication::processEvents();
    const int spalte = spalten[2];
    const QImage bild = view->viewport()->grab().toImage();
    const QRect storniertRect = view->visualRect(modell->index(1, spalte));
    const QRect gebucht = view->visualRect(modell->index(3, spalte));
    EXPECT_EQ(bild.pixelColor(storniertRect.right() - 3, storniertRect.bottom() - 3),
              TBestandsbuchGrid::StornoFarbe);
    EXPECT_NE(bild.pixelColor(gebucht.right() - 3, gebucht.bottom() - 3),
              TBestandsbuchGrid::StornoFarbe);
    // Struck-out text has one dark line across the whole word; glyphs alone never reach that far.
    const auto laengsterStrich = [&bild](const QRect& r) {
        int laengste = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(), lauf = 0; x <= r.right(); ++x) {
                lauf = qGray(bild.pixel(x, y)) < 110 ? lauf + 1 : 0;
                laengste = std::max(laengste, lauf);
            }
        return laengste;
    };
    EXPECT_GT(laengsterStrich(storniertRect), 60) << "\"Storniertes Mittel\" is struck out";
    EXPECT_LT(laengsterStrich(gebucht), 25) << "\"Zweites Mittel\" is not";
    // The status column shows the register state's picture: open and booked differ, booked and
    // cancelled share one.
    const auto statusBild = [&](int z) {
        const QRect r = view->visualRect(modell->index(z, spalten.last()));
        QRect mitte(0, 0, 12, 12);
        mitte.moveCenter(r.center());
        return bild.copy(mitte);
    };
    const auto farben = [](const QImage& b) {
        QSet<QRgb> f;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                f.insert(b.pixel(x, y));
        return f.size();
    };
    EXPECT_GT(farben(statusBild(0)), 2) << "a picture, not an empty cell";
    EXPECT_GT(farben(statusBild(2)), 2);
    EXPECT_NE(statusBild(0), statusBild(2)) << "booked and open entries look different";
    EXPECT_EQ(statusBild(0), statusBild(3));
    Bildschirmfoto(haupt, "bestandsbuch.png");

    view->setCurrentIndex(modell->index(0, spalte));
    EXPECT_TRUE(fenster->ZuTierGehenPruefen()) << "a single animal's entry";
    view->setCurrentIndex(modell->index(2, spalte));
    EXPECT_FALSE(fenster->ZuTierGehenPruefen()) << "a group has no animal";
    EXPECT_EQ(fenster->AktuelleLID(), gruppe);

    view->setCurrentIndex(modell->index(0, spalte));
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        fenster->actStornieren->trigger();
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_TRUE(boxen.Shown()[0].text.contains("Register gesperrt"));
    }
    EXPECT_EQ(Zustand(einzeln), "B");
    EXPECT_FALSE(fenster->Grid()->Storniert(0));
    view->setCurrentIndex(modell->index(3, spalte));
    fenster->actStornieren->trigger();
    EXPECT_EQ(Zustand(zweites), "S");
    EXPECT_TRUE(fenster->Grid()->Storniert(3)) << "the list is read anew";
    EXPECT_EQ(grid.Anzeigetext(modell->index(3, spalten.last())), "3");
    EXPECT_EQ(grid.Anzeigetext(modell->index(3, spalten[3])), "20.03.2024\n21.03.2024");
    EXPECT_EQ(Zustand(storno), "S");
}

TEST_F(BestandsbuchFenster, ExportHoldsEveryRowUnderTheDesignTitles)
{
    const int einzeln = Behandlung("B", {berta}, QDate(2024, 3, 2), "Penicillin", 3);
    const int storno = Behandlung("S", {lisa}, QDate(2024, 3, 3), "Storniertes Mittel", 1);
    Behandlung("B", {anna}, QDate(2024, 6, 4), "Ausserhalb");
    TfrmHaupt haupt;
    TfrmListeBestandsbuch* fenster =
        BestandsbuchListeAnzeigen(QDate(2024, 3, 1), QDate(2024, 3, 31), &haupt);
    ASSERT_TRUE(fenster);
    QTemporaryDir ordner;
    const auto exportieren = [&](Format format) {
        const QString datei = ordner.filePath("register." + ListenExport::Dateiendung(format));
        MessageBoxScript skript;
        skript.Window<TfrmListenExport>([format](TfrmListenExport& d) {
            ExportLeser::Anklicken(d.FormatKnopf(format));
            QTest::mouseClick(d.findChild<QPushButton*>("Exportieren"), Qt::LeftButton);
        });
        ListenExport::DateiWaehlen = [datei](QWidget*, const QString&, const QString&,
                                             const QString& vorschlag) {
            EXPECT_EQ(vorschlag.section('.', 0, -2),
                      "Bestandsbuch (von 01.03.2024 bis 31.03.2024)");
            return datei;
        };
        fenster->actExportieren->trigger();
        ListenExport::DateiWaehlen = nullptr;
        return ExportLeser::Zeilen(ExportLeser::Lesen(datei));
    };

    const QList<QStringList> csv = exportieren(Format::CSV);
    ASSERT_EQ(csv.size(), 3) << "the title line and the two rows of the range";
    const QStringList& titel = csv[0];
    const auto spalte = [&titel](const char* name) {
        const int i = titel.indexOf(QString::fromUtf8(name));
        EXPECT_GE(i, 0) << name;
        return i;
    };
    for (const char* name :
         {"Anzahl/KNR, Art, Name", "Identität", "Standort", "Arzneimittel", "Belegnummer",
          "Datum der Anwendung", "Art der Verabreichung", "verabreichte Menge",
          "Wartezeit in Tagen", "Anwender", "BESTANDSBUCH", "LID", "ANW1_DATUM"})
        spalte(name);
    EXPECT_FALSE(titel.contains("F0:1;F1:2")) << "the grid's own columns stay out";
    EXPECT_FALSE(titel.contains("")) << titel.join('|').toStdString();
    const QStringList& erste = csv[1];
    ASSERT_EQ(erste.size(), titel.size());
    EXPECT_EQ(erste[spalte("LID")], QString::number(einzeln));
    EXPECT_TRUE(erste[spalte("Anzahl/KNR, Art, Name")].startsWith("007, "));
    EXPECT_TRUE(erste[spalte("Identität")].contains("111"));
    EXPECT_EQ(erste[spalte("Datum der Anwendung")], "02.03.2024\n03.03.2024\n04.03.2024");
    EXPECT_EQ(erste[spalte("Art der Verabreichung")], "i.m.\ni.m.\ni.m.");
    EXPECT_EQ(erste[spalte("verabreichte Menge")], "10 ml\n11 ml\n12 ml");
    EXPECT_EQ(erste[spalte("Wartezeit in Tagen")], "M: 5  \nF: 28  ");
    EXPECT_EQ(erste[spalte("ANW1_DATUM")], "02.03.2024");
    const QStringList& zweite = csv[2];
    EXPECT_EQ(zweite[spalte("LID")], QString::number(storno));
    EXPECT_EQ(zweite[spalte("BESTANDSBUCH")], "S") << "a cancelled entry stays recognisable";
    EXPECT_EQ(zweite[spalte("Datum der Anwendung")], "03.03.2024");

    const QList<QStringList> excel = exportieren(Format::Excel);
    ASSERT_EQ(excel.size(), 6);
    EXPECT_EQ(excel[0][0], "Bestandsbuch (von 01.03.2024 bis 31.03.2024)");
    EXPECT_EQ(excel[3], titel);
    EXPECT_EQ(excel[4][spalte("Datum der Anwendung")], "02.03.2024\n03.03.2024\n04.03.2024");
    EXPECT_EQ(excel[5][spalte("Arzneimittel")], "Storniertes Mittel");
    fenster->close();
}

TEST_F(BestandsbuchFenster, MainWindowEntryOpensTheDialog)
{
    TfrmHaupt haupt;
    BestandsbuchAktionenVerbinden(haupt);
    bool gesehen = false;
    Bedienen<TfrmBestandsbuch>([&gesehen](TfrmBestandsbuch& d) {
        gesehen = d.windowTitle() == "Bestandsbuch";
        QTest::mouseClick(d.btnSchliessen, Qt::LeftButton);
    });
    haupt.Aktion("actBestandsbuch")->trigger();
    EXPECT_TRUE(gesehen);
}

}  // namespace
