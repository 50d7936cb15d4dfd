#pragma once

#include <DataSet.h>
#include <Transaction.h>
#include <ZRDialog.h>

#include <QList>

#include <functional>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QStackedWidget;
class TEinstellungen;
class TZRcxGridDBTableView;

namespace db {
class Database;
}

// "Listen-Auswahl": the user's door to the stored user lists. Page "Listen" shows, previews or
// prints one or several of them and stores the ticked ones as the default selection ("Als
// Standard"); page "Bearbeiten" opens the designer, the layout editors and the ordering of the
// list menu and toolbar for the current list, and saves it to or reads one from an exchange file.
// After every change that can alter the lists it emits ListenGeaendert, on which the main window
// rebuilds its list menu and toolbar.
class TfrmListenAuswahl : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontextListen = 10100;
    static constexpr int HilfeKontextBearbeiten = 11300;

    TfrmListenAuswahl(db::Database& datenbank, TEinstellungen& einstellungen,
                      QWidget* owner = nullptr);
    // With the program's database and settings.
    explicit TfrmListenAuswahl(QWidget* owner = nullptr);
    ~TfrmListenAuswahl() override;

    // The list designer (0: a new list; returns the stored list's ID, 0 or less when none was
    // stored) and the screen and print layout editors of a list; set by the program's top.
    std::function<int(QWidget* owner, int listeId)> ListenDesignStarten;
    std::function<void(QWidget* owner, int listeId)> ListenDesignBildschirmStarten;
    std::function<void(QWidget* owner, int listeId)> ListenDesignDruckStarten;

    // Reloads the lists keeping the ticks and makes the list with the ID current (0 or not
    // there: the first).
    void ListenLaden(int id);
    // 0 show, 1 preview, 2 print.
    void ListenAusgeben(int art);
    // 0 "Listen", 1 "Bearbeiten".
    void SeiteSetzen(int seite);
    int Seite() const;

    db::DataSet& QListen() { return listen_; }
    TZRcxGridDBTableView* ListenView() const { return view_; }
    int AuswahlSpalte() const { return auswahl_; }
    QCheckBox* MehrereListen() const { return mehrere_; }
    QLabel* ListeName() const { return listeName_; }
    QAction* Aktion(const QString& name) const;
    // The button of an action, by the action's name without "act".
    QPushButton* Knopf(const QString& name) const;
    // The current list; 0 when there is none.
    int AktuelleID();

    void done(int r) override;

signals:
    void ListenGeaendert();

private:
    QAction* NeueAktion(const char* name, const QString& text,
                        void (TfrmListenAuswahl::*wirkung)());
    QPushButton* NeuerKnopf(QAction* aktion, QWidget* eltern);
    void AktionenAktualisieren();
    QList<int> IDs();
    std::vector<bool> Haken();
    void HakenSetzen(const QList<int>& angekreuzt);
    void MehrereListenClick();

    void Anzeigen() { ListenAusgeben(0); }
    void Vorschau() { ListenAusgeben(1); }
    void Drucken() { ListenAusgeben(2); }
    void Standard();
    void Neu();
    void Loeschen();
    void Grundstruktur();
    void BildschirmAusgabe();
    void DruckAusgabe();
    void SortMenue();
    void SortSymbol();
    void DateiSpeichern();
    void DateiLaden();

    db::Database& datenbank_;
    TEinstellungen& einstellungen_;
    db::Transaction transaktion_;
    db::DataSet listen_;
    QStackedWidget* seiten_;
    QCheckBox* mehrere_;
    TZRcxGridDBTableView* view_;
    QLabel* listeName_;
    QFrame* bevel_;
    int auswahl_ = -1;
    bool geschlossen_ = false;
};
