#pragma once

#include "InternListeDialog.h"

// "Kalbe-Journal": the calvings of a period with the inseminations that led to them, through the
// designs of the built-in list "KALBEJOURNAL".
class TfrmKalbeJournal : public TfrmInternListeDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 10700;
    static inline const QString ListenTyp = QStringLiteral("KALBEJOURNAL");
    static inline const QString Felder = QStringLiteral(
        "TIERID;KNRDISPLAY;NAME;NUMMER;GEBDAT;NR;DATUM;GESCHLECHT;KALBNUMMER;VERLAUF;BEMERKUNG;"
        "BES1_DATUM;BES2_DATUM;BES3_DATUM;BES4_DATUM;BES5_DATUM;BES6_DATUM;L_STIER;TROCKEN;"
        "SOLL_KALBEN");

    explicit TfrmKalbeJournal(db::Database& datenbank, QWidget* owner = nullptr);

    QLineEdit* Von() const { return von_; }
    QLineEdit* Bis() const { return bis_; }

protected:
    void EinstellungenSpeichern() override;
    void TexteErstellen(QString& daten, QString& schnellwahl, QString& titel) override;

private:
    QLineEdit* von_;
    QLineEdit* bis_;
};
