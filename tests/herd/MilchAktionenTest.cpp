#include "HerdeTest.h"

#include <Haupt.h>
#include <MLPEdit.h>
#include <MilchAktionen.h>
#include <Milchanlieferung.h>
#include <TerminListe.h>
#include <TerminVerwaltung.h>

#include <FListeNormal.h>
#include <FrameInternListeWahl.h>
#include <MessageBoxScript.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class MilchAktionenTest : public HerdeTest {
protected:
    void TearDown() override
    {
        FListeNormal::TerminErledigenDialog = nullptr;
        HerdeTest::TearDown();
    }
};

TEST_F(MilchAktionenTest, AktionenOeffnenIhreFenster)
{
    TfrmHaupt haupt;
    MilchTerminAktionenVerbinden(haupt);
    bool mlp = false, milch = false, termine = false;
    Bedienen<TfrmMLPEdit>([&mlp](TfrmMLPEdit& f) {
        mlp = f.windowTitle() == "MLP-Daten";
        f.reject();
    });
    haupt.Aktion("actMLPBearbeiten")->trigger();
    Bedienen<TfrmMilchanlieferung>([&milch](TfrmMilchanlieferung& f) {
        milch = f.windowTitle() == "Milchanlieferung";
        f.reject();
    });
    haupt.Aktion("actMilchanlieferung")->trigger();
    Bedienen<TfrmTerminVerwaltung>([&termine](TfrmTerminVerwaltung& f) {
        termine = f.windowTitle() == "Termin Verwaltung";
        f.reject();
    });
    haupt.Aktion("actTerminVerwaltung")->trigger();
    EXPECT_TRUE(mlp);
    EXPECT_TRUE(milch);
    EXPECT_TRUE(termine);
    EXPECT_TRUE(FListeNormal::TerminErledigenDialog != nullptr);

    // The completed appointments come with the design chooser of the built-in lists.
    bool wahl = false;
    Bedienen<TfrmErledigteTermine>([&wahl](TfrmErledigteTermine& d) {
        auto* frame = d.findChild<TframeInternListeWahl*>();
        wahl = frame && frame->ListenTyp == TfrmErledigteTermine::ListenTyp;
        d.reject();
    });
    haupt.Aktion("actErledigteTermine")->trigger();
    EXPECT_TRUE(wahl);
}

TEST_F(MilchAktionenTest, ErledigenUeberDieListenfenster)
{
    TfrmHaupt haupt;
    MilchTerminAktionenVerbinden(haupt);
    Ausfuehren(
        {"INSERT INTO T_TERMINE (ID, DATUM, VOR, NACH, TEXT, ERLEDIGEN) VALUES (3, "
         "'2024-05-03', 0, 0, 'Zaun', 'T')"});
    Bedienen<TfrmTerminErledigen>([](TfrmTerminErledigen& d) {
        EXPECT_EQ(d.Termin()->text(), "03.05.2024: Zaun");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    EXPECT_TRUE(FListeNormal::TerminErledigenDialog(&haupt, 3, QDate(2024, 5, 3), 0));
    EXPECT_EQ(Ids("SELECT ID FROM T_TERMINE WHERE ERLEDIGT IS NOT NULL"), QList<int>{3});
}

TEST_F(MilchAktionenTest, ErinnerungsstartOhneListeStartetNicht)
{
    // A new database points the reminder at its shipped appointment list: here it names none.
    Einstellungen()->Bearbeiten();
    Einstellungen()->SetTerminListe(0);
    Einstellungen()->Speichern();
    MessageBoxScript boxen;
    EXPECT_FALSE(TerminfensterZeigen(nullptr));
    EXPECT_TRUE(boxen.Shown().isEmpty());
    // A list that cannot be loaded is reported.
    Einstellungen()->Bearbeiten();
    Einstellungen()->SetTerminListe(77);
    Einstellungen()->Speichern();
    boxen.AnswerWith(Tools::mrOk);
    EXPECT_FALSE(TerminfensterZeigen(nullptr));
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(
        boxen.Shown()[0].text.startsWith("Es ist ein Fehler bei der Anzeige der Hinweisliste"));
}

TEST_F(MilchAktionenTest, ErinnerungsstartMitListe)
{
    Ausfuehren(
        {"INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, MENUE, MENUE_REIHUNG, SQL) VALUES "
         "(41, 'Termine', 'Termine', 'F', 1, 'SELECT F.TEXT AS Q1TEXT FROM "
         "V_TERMINE_FAELLIG F')"});
    Einstellungen()->Bearbeiten();
    Einstellungen()->SetTerminListe(41);
    Einstellungen()->Speichern();
    const auto antworten = [](bool starten) {
        Bedienen<TfrmTerminListe>([starten](TfrmTerminListe& liste) {
            QTest::mouseClick(starten ? liste.StartenKnopf() : liste.SchliessenKnopf(),
                              Qt::LeftButton);
        });
    };
    antworten(true);
    EXPECT_TRUE(TerminfensterZeigen(nullptr));
    antworten(false);
    EXPECT_FALSE(TerminfensterZeigen(nullptr));
}

}  // namespace
