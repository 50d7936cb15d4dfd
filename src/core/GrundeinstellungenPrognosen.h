#pragma once

#include "GrundeinstellungenSeite.h"

class QCheckBox;
class QComboBox;

// "Prognosen": the herd forecast's figures, each but the cow count with "Berechnen" from the
// herd's data, and the livestock-unit key the forecast uses.
class TGrundeinstellungenPrognosen : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenPrognosen(TGrundeinstellungenDaten& daten);

    void Laden() override;
    bool Speichern() override;

    // The livestock-unit keys were read anew: the choice shows them, the chosen key staying
    // chosen (at first the stored one).
    void GVSchluesselZeigen();

private:
    TDBFloatEdit* maxKuhzahl_;
    TDBFloatEdit* mKalbVerkaufen_;
    TDBFloatEdit* kalbBesamen_;
    TDBFloatEdit* kuhBesamen_;
    TDBFloatEdit* mastVerkaufen_;
    QComboBox* gv_;
    QCheckBox* gvLinie_;
};
