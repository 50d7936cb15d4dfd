#pragma once

#include "HitDaten.h"

#include <ZRDialog.h>

class QPushButton;
class TEinstellungen;
class TZRPropGrid;

namespace db {
class Database;
}

// The correction of a report the server rejected: its fields in a property grid, "Melden" sends
// it as edited, "Meldung verwerfen" drops it after asking.
class TfrmHITKorr : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmHITKorr(QWidget* owner = nullptr);

    TZRPropGrid* DetailsGrid() const { return detailsGrid_; }
    QPushButton* MeldenKnopf() const { return melden_; }
    QPushButton* VerwerfenKnopf() const { return verwerfen_; }

    // Asks before the report is dropped; Esc and closing the window ask too.
    void SchliesenClick();
    void reject() override;

private:
    TZRPropGrid* detailsGrid_;
    QPushButton* melden_;
    QPushButton* verwerfen_;
};

// True when the user pressed "Melden"; the command then holds the edited values.
bool HITMeldungKorrigieren(QWidget* owner, THITPBefehl& befehl, db::Database& datenbank,
                           const TEinstellungen& einstellungen);
