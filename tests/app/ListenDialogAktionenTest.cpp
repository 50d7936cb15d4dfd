// The main window's entries of the search masks and the built-in list dialogs open their windows.

#include <Aktionsnamen.h>
#include <Datenmodul.h>
#include <FBestandslisteParameter.h>
#include <FEreignisliste.h>
#include <FGesendeteHITMeldungen.h>
#include <FKalbeJournal.h>
#include <FSuchmasken.h>
#include <FrameInternListeWahl.h>
#include <Grundeinstellungen.h>
#include <Haupt.h>
#include <KernAktionen.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ListenDialogAktionenTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(daten.isValid());
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(TestDatabase::Params(Suite().Path()));
        fenster = std::make_unique<TfrmHaupt>();
        QString updateDatei;
        AlleAktionenVerbinden(*fenster, updateDatei);
    }
    void TearDown() override
    {
        fenster.reset();
        EinstellungenFreigeben();
        DMFreigeben();
    }

    // Triggers the entry and closes the dialog it opened with its own "Schließen".
    template <class D>
    QString Oeffnen(const QString& aktion)
    {
        QString titel;
        MessageBoxScript skript;
        skript.Window<D>([&titel](D& d) {
            titel = d.windowTitle();
            QPushButton* schliessen = nullptr;
            if (auto* wahl = d.template findChild<TframeInternListeWahl*>())
                schliessen = wahl->Knopf("Schliessen");
            else
                schliessen = d.template findChild<QPushButton*>("Schliessen");
            ASSERT_NE(schliessen, nullptr);
            schliessen->click();
        });
        QAction* a = fenster->Aktion(aktion);
        EXPECT_TRUE(a->isEnabled()) << aktion.toStdString();
        a->trigger();
        EXPECT_EQ(skript.PendingWindows(), 0) << aktion.toStdString();
        return titel;
    }

    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    std::unique_ptr<TfrmHaupt> fenster;
};

TEST_F(ListenDialogAktionenTest, DieEintraegeOeffnenIhreFenster)
{
    EXPECT_EQ(Oeffnen<TfrmSuchmasken>(Aktion::Suchmasken), "Suchmasken");
    EXPECT_EQ(Oeffnen<TfrmEreignisliste>(Aktion::Ereignisliste), "Ereignisliste");
    EXPECT_EQ(Oeffnen<TfrmKalbeJournal>(Aktion::KalbeJournal), "Kalbe-Journal");
    EXPECT_EQ(Oeffnen<TfrmGesendeteHITMeldungen>(Aktion::GesendeteHITMeldungen),
              "Gesendete HIT Meldungen");
    EXPECT_EQ(Oeffnen<TfrmBestandslisteParameter>(Aktion::BestandslisteParameter), "Bestandsliste");
}

}  // namespace
