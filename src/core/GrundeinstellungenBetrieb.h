#pragma once

#include "GrundeinstellungenSeite.h"

class QComboBox;
class QLineEdit;

// "Betrieb": the farm's name, address, area, currency, calculation period and ear-tag display.
class TGrundeinstellungenBetrieb : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenBetrieb(TGrundeinstellungenDaten& daten);

    void Laden() override;
    bool Speichern() override;

private:
    QLineEdit* name_;
    QLineEdit* adresse_;
    QLineEdit* plz_;
    QLineEdit* ort_;
    TDBFloatEdit* flaeche_;
    QComboBox* waehrung_;
    QComboBox* zeitraum_;
    QComboBox* knr_;
};
