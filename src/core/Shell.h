#pragma once

#include <QString>

#include <functional>

class QAction;
class QIcon;
class QMdiArea;
class QMdiSubWindow;
class QWidget;

// An MDI child that "Drucken" prints: the list and statistic windows.
class TDruckbaresFenster {
public:
    virtual ~TDruckbaresFenster() = default;
    virtual void Drucken() = 0;
    // The main window's "Drucken": the window's own print unless it shows a preview first.
    virtual void HauptfensterDrucken() { Drucken(); }
};

// A list window as the main window sees it: its row count for the status bar and its export.
class TListenFensterSchnittstelle : public TDruckbaresFenster {
public:
    virtual int GetAnzahl() const = 0;
    virtual void Exportieren() = 0;
};

// The main window as every other window sees it. Windows reach the frame only through this
// interface, so that they can be shown and tested without the program's top.
class TShell {
public:
    static inline const QString NichtVerfuegbar =
        QStringLiteral("Diese Funktion ist in dieser Version noch nicht verfügbar.");

    // The running program's main window, or none (tests, windows shown on their own).
    static TShell* Aktuell();

    virtual QWidget* Fenster() = 0;
    virtual QMdiArea* MdiArea() const = 0;
    // Status panel 0 from a hint text (empty: the active list's row count, if any).
    virtual void ZeigeHinweis(const QString& hinweis = {}) = 0;
    // Gives a list view the lists' look: the background colour of the workstation's setting.
    virtual void ListenStyleSheet(QWidget& liste) const = 0;
    virtual void SchliesseAlleFenster() = 0;
    // The database was replaced under the windows (a restore): the premises of the lists, the
    // list menu and the actions' states are read anew.
    virtual void DatenbankErneuert() = 0;
    // Rebuilds the list menu and the toolbar's list buttons from the stored lists; after a list
    // design was stored or deleted.
    virtual void ErzeugeListenMenue() = 0;

    // Shows a window as a maximised MDI child of the shell, or on its own with the given parent
    // when there is no shell. The child and the window are deleted on close.
    static QMdiSubWindow* Zeigen(TShell* shell, QWidget* fenster, QWidget* parent);

protected:
    TShell();
    virtual ~TShell();
    TShell(const TShell&) = delete;
    TShell& operator=(const TShell&) = delete;
};

// The picture with this index of the program's image list (none for an unknown index).
QIcon Symbolbild(int index);
// The number of pictures in that list (indexes 0 to SymbolbildAnzahl() - 1).
int SymbolbildAnzahl();
