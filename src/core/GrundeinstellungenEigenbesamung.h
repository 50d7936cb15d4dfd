#pragma once

#include "GrundeinstellungenSeite.h"

class QComboBox;
class QPushButton;
class QVBoxLayout;
class TZRPropGrid;

// "Eigenbesamung": the stations the farm inseminates for itself, each with the settings of its
// report layout in a property grid.
class TGrundeinstellungenEigenbesamung : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenEigenbesamung(TGrundeinstellungenDaten& daten);

    void Laden() override { StationLaden(true, false); }
    bool Speichern() override;

private:
    // Shows the chosen station (after filling the list anew: the first or, with `letzte`, the
    // last one).
    void StationLaden(bool neuFuellen, bool letzte);
    void GitterSpeichern();
    void StationGewaehlt(int position);
    void StationHinzufuegen();
    void StationEntfernen();

    QComboBox* stationen_;
    QPushButton* stationEntfernen_;
    QVBoxLayout* ort_;
    TZRPropGrid* gitter_ = nullptr;
    int station_ = -1;  // index into the station table of the station shown
};
