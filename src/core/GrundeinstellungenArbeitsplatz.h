#pragma once

#include "GrundeinstellungenSeite.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The pages of the workstation's own settings, kept in its INI file.

// "Farben": the list colour and printing status symbols in black and white; hiding the toolbar's
// background is a farm-wide setting.
class TGrundeinstellungenFarben : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenFarben(TGrundeinstellungenDaten& daten);

    void IniLaden() override;
    void Laden() override;
    bool Speichern() override;
    void IniSpeichern() override;

private:
    QComboBox* listenfarbe_;
    QCheckBox* statusSW_;
    QCheckBox* symbolHintergrund_;
};

// "Sicherung": the folders of manual and automatic backups and how many automatic ones to keep.
class TGrundeinstellungenSicherung : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenSicherung(TGrundeinstellungenDaten& daten);

    void IniLaden() override;
    void IniSpeichern() override;

private:
    void VerzeichnisWaehlen(QLineEdit* edit);

    QLineEdit* verzeichnis_;
    QCheckBox* autoSicherung_;
    QLineEdit* autoVerzeichnis_;
    TDBFloatEdit* autoAnzahl_;
};

// "Updates": how often the program looks for an update, and when it last did.
class TGrundeinstellungenUpdates : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenUpdates(TGrundeinstellungenDaten& daten);

    void IniLaden() override;
    void IniSpeichern() override;

private:
    QComboBox* intervall_;
    QLabel* letztePruefung_;
};
