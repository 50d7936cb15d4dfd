#pragma once

#include "GrundeinstellungenSeite.h"

#include <QList>

class QComboBox;
class QVBoxLayout;
class TZRPropGrid;

// "GV Schlüssel": the livestock-unit keys, one at a time in a property grid (its name and
// twelve factors), posted into the dialog's transaction when another key is chosen, one is
// added and when the dialog stores.
class TGrundeinstellungenGV : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenGV(TGrundeinstellungenDaten& daten);

    void Laden() override { SchluesselLaden(-1); }
    bool Pruefen() override;
    bool Speichern() override;

signals:
    // The keys were read anew.
    void SchluesselGelesen();

private:
    // Reads the keys anew and shows the one of that ID (-1: the one shown, if still there).
    void SchluesselLaden(int id);
    bool NamePruefen();
    void SchluesselGewaehlt(int position);
    void SchluesselHinzufuegen();
    void SchluesselEntfernen();

    QComboBox* wahl_;
    QVBoxLayout* ort_;
    TZRPropGrid* gitter_ = nullptr;
    QList<int> ids_;
    int id_ = -1;  // the key shown
};
