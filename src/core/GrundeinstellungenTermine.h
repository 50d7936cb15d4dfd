#pragma once

#include "GrundeinstellungenSeite.h"

class QCheckBox;
class QComboBox;
class TZRPropGrid;

// "Termine global": the appointment list shown at start, the computer's autostart and the
// appointment intervals in a property grid.
class TGrundeinstellungenTermine : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenTermine(TGrundeinstellungenDaten& daten);

    void Laden() override;
    bool Speichern() override;
    void AusserhalbSpeichern() override;

private:
    QComboBox* liste_;
    QCheckBox* start_;
    QCheckBox* autostart_;
    TZRPropGrid* gitter_;
};
