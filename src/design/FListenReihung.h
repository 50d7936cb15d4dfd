#pragma once

#include "ListenReihung.h"

#include <DataSet.h>
#include <Transaction.h>
#include <ZRDialog.h>

class QPushButton;
class TZRcxGridDBTableView;

namespace db {
class Database;
}

// "Sortierung": the order of the user lists in the main window's list menu or on its toolbar.
// The moves are kept in the dialog's transaction: "Ok" commits them, "Abbrechen" and closing
// drop them.
class TfrmSortierung : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 11300;

    TfrmSortierung(db::Database& datenbank, ListenReihung::Art art, QWidget* owner = nullptr);
    ~TfrmSortierung() override;

    db::DataSet& QSortierung() { return sortierung_; }
    TZRcxGridDBTableView* ListeView() const { return view_; }
    QPushButton* Auf() const { return auf_; }
    QPushButton* Ab() const { return ab_; }

    void accept() override;

private:
    void Verschieben(int richtung);
    void SymbolSpalteSetzen();

    db::Transaction transaktion_;
    db::DataSet sortierung_;
    ListenReihung::Art art_;
    TZRcxGridDBTableView* view_;
    QPushButton* auf_;
    QPushButton* ab_;
};

// Shows the ordering of the menu entries (menue) or the toolbar buttons; true after "Ok".
bool SortierungStarten(QWidget* owner, bool menue);
