#pragma once

#include "GrundeinstellungenSeite.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// "HI Tier": reporting to the national cattle database (deadline, automatic report list, the
// optional fields of the birth report; the dial-up network is the workstation's).
class TGrundeinstellungenHIT : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenHIT(TGrundeinstellungenDaten& daten);

    void IniLaden() override;
    void Laden() override;
    bool Speichern() override;
    void IniSpeichern() override;

private:
    TDBFloatEdit* meldefrist_;
    QCheckBox* meldungAuto_;
    QCheckBox* frageEnde_;
    QCheckBox* dfue_;
    QCheckBox* geburtVerlauf_;
    QCheckBox* geburtVerbleib_;
    QCheckBox* geburtET_;
    QCheckBox* geburtName_;
};

// "HI Tier System": the national database's servers and ports.
class TGrundeinstellungenHITSystem : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenHITSystem(TGrundeinstellungenDaten& daten);

    void Laden() override;
    bool Speichern() override;

private:
    void StandardSetzen();

    QLineEdit* primaerAddr_;
    QLineEdit* primaerIP_;
    QLineEdit* sekundaerAddr_;
    QLineEdit* sekundaerIP_;
    TDBFloatEdit* portNormal_;
    TDBFloatEdit* portTest_;
    QComboBox* systemart_;
};
