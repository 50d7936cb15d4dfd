#include "LayoutEditorDaten.h"

#include <FListenDesignBildschirm.h>

#include <FListeNormal.h>
#include <FrameInternListeWahl.h>
#include <InternListeWahl.h>

#include <DBAMCheckbox.h>
#include <DBFloatEdit.h>
#include <DBZRBaseEdit.h>
#include <MessageBoxScript.h>
#include <ZRcxGridDBTableView.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

class ListenDesignBildschirmTest : public LayoutEditorTest {
protected:
    void Oeffnen(int liste, const QString& sql = {})
    {
        fenster = std::make_unique<TfrmListenDesignBildschirm>(DM()->Datenbank);
        fenster->Vorbereiten(liste, sql);
        fenster->show();
        fenster->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    }
    void TearDown() override
    {
        fenster.reset();
        LayoutEditorTest::TearDown();
    }
    template <class T>
    T* Kind(const char* name)
    {
        T* w = fenster->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Types into an edit and leaves it with Tab, as a user does.
    void Tippen(const char* name, const QString& text)
    {
        // A message box just closed gives the window back its activation later.
        fenster->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
        QLineEdit* e = Kind<QLineEdit>(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        if (!text.isEmpty())
            QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
    }
    QString Seite() { return Kind<QStackedWidget>("Seiten")->currentWidget()->objectName(); }

    std::unique_ptr<TfrmListenDesignBildschirm> fenster;
};

TEST_F(ListenDesignBildschirmTest, DieSeiteFolgtDemFeld)
{
    Oeffnen(Intern, TestSQL);
    EXPECT_EQ(fenster->windowTitle(), "Listen Design Bildschirm-Ausgabe");
    QTableView* felder = fenster->Felder();
    ASSERT_EQ(felder->model()->rowCount(), 5);
    EXPECT_EQ(felder->model()->data(felder->model()->index(1, 0)).toString(), "Nummer");
    struct Fall {
        int zeile;
        QString seite;
        QString label;
        bool wert;
    };
    for (const Fall& f :
         {Fall{0, "Hinweis", "", false}, Fall{1, "Bearbeiten", "Format:", false},
          Fall{3, "Bearbeiten", "Wert:", true}, Fall{4, "Bearbeiten", "Format:", false}}) {
        SCOPED_TRACE(f.zeile);
        QTest::mouseClick(felder->viewport(), Qt::LeftButton, {},
                          felder->visualRect(felder->model()->index(f.zeile, 0)).center());
        EXPECT_EQ(fenster->QFelder().RecNo(), f.zeile);
        EXPECT_EQ(Seite(), f.seite);
        if (f.seite == "Hinweis") {
            EXPECT_TRUE(Kind<QLabel>("lbHinweis")->isVisible());
            EXPECT_EQ(Kind<QLabel>("lbHinweis")->text(),
                      "Diese Spalte kann nicht bearbeitet werden");
            EXPECT_FALSE(Kind<QWidget>("Titel")->isVisible());
            continue;
        }
        EXPECT_EQ(Kind<QLabel>("lbFormat")->text(), f.label);
        EXPECT_EQ(Kind<QWidget>("Wert")->isVisible(), f.wert);
        EXPECT_EQ(Kind<QWidget>("Wert")->isEnabled(), f.wert);
        EXPECT_EQ(Kind<QWidget>("Format")->isVisible(), !f.wert);
    }
    QTest::mouseClick(felder->viewport(), Qt::LeftButton, {},
                      felder->visualRect(felder->model()->index(1, 0)).center());
    EXPECT_EQ(Kind<QLineEdit>("Titel")->text(), "Nummer");
    EXPECT_EQ(Kind<QLineEdit>("Breite")->text(), "90");
    EXPECT_EQ(Kind<QComboBox>("Ausrichtung")->currentText(), "Links");
    Bildschirmfoto(*fenster, "listendesignbildschirm.png");
}

TEST_F(ListenDesignBildschirmTest, SchliessenSpeichertDieAenderungen)
{
    Oeffnen(Intern, TestSQL);
    fenster->FeldWaehlen(1);
    Tippen("Titel", "Ohrmarke");
    Tippen("Breite", "");
    {
        // 0 and 100 are outside the lines 1 .. 99: refused, the line stays.
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk).AnswerWith(Tools::mrOk);
        Tippen("Zeile", "0");
        EXPECT_EQ(fenster->QFelder().FieldByName("ZEILE").AsInteger(), 1);
        Tippen("Zeile", "100");
        EXPECT_EQ(fenster->QFelder().FieldByName("ZEILE").AsInteger(), 1);
        EXPECT_EQ(boxen.Shown().size(), 2);
    }
    Tippen("Zeile", "2");
    Tippen("Format", "0.00");
    QComboBox* ausrichtung = Kind<QComboBox>("Ausrichtung");
    ausrichtung->setFocus();
    QTest::keyClick(ausrichtung, Qt::Key_Down);
    EXPECT_EQ(ausrichtung->currentText(), "Rechts");
    QTest::mouseClick(Kind<TDBAMCheckbox>("AutoBreite"), Qt::LeftButton);
    QTest::mouseClick(Kind<TDBAMCheckbox>("Ueberschrift"), Qt::LeftButton);
    // Another field: the first one is posted on the way.
    fenster->FeldWaehlen(3);
    Tippen("Wert", "Neu");
    QTest::mouseClick(Kind<TDBAMCheckbox>("Sichtbar"), Qt::LeftButton);
    QTest::mouseClick(Kind<TDBAMCheckbox>("MultiLineShort"), Qt::LeftButton);
    // Nothing is committed before the window closes, here by its frame.
    EXPECT_EQ(Text("SELECT TITEL FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -7 AND FELD = 'Q1.NUMMER'"),
              "Nummer");
    fenster->close();
    EXPECT_FALSE(fenster->isVisible());
    EXPECT_EQ(Text("SELECT TITEL || '|' || COALESCE(BREITE, -1) || '|' || AUTOBREITE || '|' || "
                   "AUSRICHTUNG || '|' || ZEILE || '|' || UEBERSCHRIFT || '|' || DISPLAY_FORMAT "
                   "FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -7 AND FELD = 'Q1.NUMMER'"),
              "Ohrmarke|-1|F|R|2|T|0.00");
    EXPECT_EQ(Text("SELECT WERT || '|' || SICHTBAR FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -7 AND "
                   "FELD = 'S.F1'"),
              "Neu|F");
    EXPECT_EQ(Text("SELECT MULTI_LINE_SHORT_BILDSCHIRM FROM T_LISTEN WHERE ID = -7"), "T");
}

// The column titles of the list window the test shows, and closes it.
QStringList SpaltenUndSchliessen(TfrmListeNormal& liste, int* zeilen)
{
    QStringList titel;
    QTableView* v = liste.Grid()->GetTableView();
    for (int c = 0; c < v->model()->columnCount(); ++c)
        if (!v->isColumnHidden(c))
            titel << v->model()->headerData(c, Qt::Horizontal).toString();
    *zeilen = v->model()->rowCount();
    liste.close();
    return titel;
}

TEST_F(ListenDesignBildschirmTest, TestZeigtDieDatenMitDemBearbeitetenLayout)
{
    Oeffnen(Intern, TestSQL);
    fenster->FeldWaehlen(2);
    Tippen("Titel", "Rufname");
    QStringList titel;
    int zeilen = 0;
    QString fenstertitel;
    MessageBoxScript bedienung;
    bedienung.Window<TfrmListeNormal>([&](TfrmListeNormal& l) {
        fenstertitel = l.windowTitle();
        titel = SpaltenUndSchliessen(l, &zeilen);
    });
    QTest::mouseClick(Kind<QPushButton>("Test"), Qt::LeftButton);
    ASSERT_EQ(bedienung.PendingWindows(), 0);
    EXPECT_EQ(fenstertitel, "Interne Liste");
    EXPECT_TRUE(titel.contains("Rufname")) << titel.join('|').toStdString();
    EXPECT_EQ(zeilen, 2);
    // The test committed what it showed, and the window is still open for more.
    EXPECT_EQ(Text("SELECT TITEL FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -7 AND FELD = 'Q1.NAME'"),
              "Rufname");
    EXPECT_TRUE(fenster->isVisible());
}

TEST_F(ListenDesignBildschirmTest, TestEinerBenutzerlisteLaeuftMitIhrerAbfrage)
{
    Oeffnen(Herde);
    fenster->FeldWaehlen(1);
    Tippen("Titel", "Geburtstag");
    QStringList titel;
    int zeilen = 0;
    MessageBoxScript bedienung;
    bedienung.Window<TfrmListeNormal>(
        [&](TfrmListeNormal& l) { titel = SpaltenUndSchliessen(l, &zeilen); });
    QTest::mouseClick(Kind<QPushButton>("Test"), Qt::LeftButton);
    ASSERT_EQ(bedienung.PendingWindows(), 0);
    EXPECT_TRUE(titel.contains("Geburtstag") && titel.contains("Nummer") &&
                !titel.contains("Geboren"))
        << titel.join('|').toStdString();
    EXPECT_EQ(zeilen, 2);
}

TEST_F(ListenDesignBildschirmTest, DerDesignwahlerDerEingebautenListenOeffnetDenEditor)
{
    // As the program wires it.
    InternListeWahl::ListenDesignBildschirmStarten = ListenDesignBildschirmStarten;
    TframeInternListeWahl frame(DM()->Datenbank);
    frame.ListenTyp = "TESTLISTE";
    frame.DatenSQL = TestSQL;
    frame.Initialisieren(true);
    frame.show();
    QTest::mouseClick(frame.Knopf("Mehr"), Qt::LeftButton);
    QString titel;
    QStringList felder;
    MessageBoxScript bedienung;
    bedienung.Window<TfrmListenDesignBildschirm>([&](TfrmListenDesignBildschirm& d) {
        titel = d.windowTitle();
        for (int r = 0; r < d.Felder()->model()->rowCount(); ++r)
            felder << d.Felder()->model()->data(d.Felder()->model()->index(r, 0)).toString();
        d.close();
    });
    MessageBoxScript boxen;
    QTest::mouseClick(frame.Knopf("BearbeitenBildschirm"), Qt::LeftButton);
    InternListeWahl::ListenDesignBildschirmStarten = nullptr;
    frame.Schliessen();
    ASSERT_EQ(bedienung.PendingWindows(), 0);
    EXPECT_EQ(titel, "Listen Design Bildschirm-Ausgabe");
    EXPECT_EQ(felder, (QStringList{"Status", "Nummer", "Name", "Fest", "Nr."}));
}

}  // namespace
