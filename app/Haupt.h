#pragma once

#include <QDate>
#include <QIcon>
#include <QList>
#include <QMainWindow>

#include <Shell.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class QWidget;

// The main program's MDI frame: menus, toolbar with the stored lists, status bar, the midnight
// date, the close check for unsent reports. Every action exists from the start; an action whose
// window is not part of this version stays disabled and says so in its hint, until the window's
// code gives it its effect (Verbinden).
class TfrmHaupt : public QMainWindow, public TShell {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 3000;

    explicit TfrmHaupt(QWidget* parent = nullptr);
    ~TfrmHaupt() override;

    QAction* Aktion(const QString& name) const;
    // Gives an action its effect. A failure inside goes to the program's exception handler.
    void Verbinden(const QString& name, std::function<void()> wirkung);
    // Shows a stored list (its ID) for the premises of the lists; until set, the stored-list
    // entries stay disabled.
    void SetListeAnzeigen(std::function<void(int listeId, int betrieb)> anzeigen);
    // Where the end phase finds a downloaded installer; a pending one lets the window close.
    void SetUpdateDatei(std::function<QString()> updateDatei);

    void ErzeugeListenMenue() override;
    QWidget* Fenster() override { return this; }
    void ZeigeHinweis(const QString& hinweis = {}) override;
    void DatenbankErneuert() override;
    void AktBetriebListeChange();
    void GetClientGroesse(int& breite, int& hoehe) const;
    void DatumAnzeigen();
    // Enables every action by its rule; runs on every change that can matter.
    void AktionenAktualisieren();
    // The activation handler: the tiled picture behind the toolbar unless switched off.
    void Aktivieren();
    // The premises change of several animals: the animal choice gives their IDs (empty:
    // cancelled), the premises dialog the date and the new premises (false: cancelled).
    using TiereWaehlen = std::function<QList<int>()>;
    using BetriebsstaetteWaehlen = std::function<bool(QDate& datum, int& betriebsstaette)>;
    void BetriebWechsel(const TiereWaehlen& waehlen, const BetriebsstaetteWaehlen& neue);
    // Deletes the chosen animals after the question.
    void TierLoeschen(const TiereWaehlen& waehlen);
    // Closes the MDI children after asking; false when the user keeps them (no restore then).
    bool RuecksicherungVorbereiten();
    void SchliesseAlleFenster() override;
    bool SitzungEndet() const { return sitzungEndet_; }
    // The background colour of the lists, by the setting of the workstation.
    QColor HintergrundMuster() const { return hintergrundMuster_; }
    void HintergrundMusterSetzen();
    void ListenStyleSheet(QWidget& liste) const override;

    QMdiArea* MdiArea() const override { return mdiArea_; }
    QMenu* MenueListen() const { return menueListen_; }
    QWidget* Panel1() const { return panel1_; }
    QTimer* Timer1() const { return timer1_; }
    QLabel* Statusfeld(int index) const;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    struct Aktionseintrag {
        QAction* aktion = nullptr;
        bool datenbank = false;
        std::function<void()> wirkung;
        // A rule of its own in place of "needs the database".
        std::function<bool()> regel;
    };

    QAction* NeueAktion(const QString& name, const QString& text, const QString& kategorie,
                        int bild, bool datenbank);
    void AktionenAnlegen();
    void MenuesAnlegen();
    void Ausfuehren(const QString& name);
    bool DatenbankVerbunden() const;
    QWidget* AktivesKind() const;
    bool HITMeldungenOffen();
    void ListeAnzeigenClick(int listeId);
    void SetzeMitternachtTimer();

    std::map<QString, Aktionseintrag> aktionen_;
    std::function<void(int, int)> listeAnzeigen_;
    std::function<QString()> updateDatei_;
    bool sitzungEndet_ = false;
    QColor hintergrundMuster_;
    QMdiArea* mdiArea_;
    QMenu* menueListen_ = nullptr;
    QToolBar* symbolleisteLeiste_;
    QWidget* panel1_;
    QLabel* image1_;
    QTimer* timer1_;
    QTimer* aktualisieren_;
    QLabel* status_[3];
    // The toolbar's buttons and separators in creation order; the first ones are the fixed head.
    std::unique_ptr<std::vector<QWidget*>> symbolleiste_;
    std::vector<QAction*> listenEintraege_;
};
