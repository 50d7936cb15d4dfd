#pragma once

#include "InternListeDialog.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

// "Bestandsliste": the animals of the herd on a day, optionally limited by age and animal class,
// through the designs of the built-in list "BESTANDSLISTEPARAMETER"; the premises filter of the
// lists limits them to one premises.
class TfrmBestandslisteParameter : public TfrmInternListeDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 10800;
    static inline const QString ListenTyp = QStringLiteral("BESTANDSLISTEPARAMETER");
    static inline const QString Felder = QStringLiteral(
        "Q1STATUSIDX;Q1KNR;Q1KNRDISPLAY;Q1NAME;Q1NUMMER;Q1GESCHLECHT;Q1GEBDAT;"
        "Q1T_ALTER;Q1TAGEINFO;Q1AKT_BETRIEB;TIERID");

    explicit TfrmBestandslisteParameter(db::Database& datenbank, QWidget* owner = nullptr);

    QLineEdit* Am() const { return am_; }
    QCheckBox* AlterVon() const { return alterVon_; }
    QCheckBox* AlterBis() const { return alterBis_; }
    QSpinBox* WertVon() const { return wertVon_; }
    QSpinBox* WertBis() const { return wertBis_; }
    QComboBox* EinheitVon() const { return einheitVon_; }
    QComboBox* EinheitBis() const { return einheitBis_; }
    QComboBox* Tierklasse() const { return tierklasse_; }

protected:
    void EinstellungenSpeichern() override;
    void TexteErstellen(QString& daten, QString& schnellwahl, QString& titel) override;

private:
    void FreigabeAktualisieren();

    QLineEdit* am_;
    QCheckBox* alterVon_;
    QCheckBox* alterBis_;
    QSpinBox* wertVon_;
    QSpinBox* wertBis_;
    QComboBox* einheitVon_;
    QComboBox* einheitBis_;
    QComboBox* tierklasse_;
};
