#pragma once

#include "InternListeDialog.h"

class QCheckBox;

// "Gesendete HIT Meldungen": the log of the reports sent to HIT in a period, of the chosen report
// types, through the designs of the built-in list "GESENDETEHITMELDUNGEN".
class TfrmGesendeteHITMeldungen : public TfrmInternListeDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 11100;
    static inline const QString ListenTyp = QStringLiteral("GESENDETEHITMELDUNGEN");
    static inline const QString Felder =
        QStringLiteral("ID;GESENDET;MELDUNG;TIER;BETRIEB;SCHWERE;ERGEBNIS;WERTE;TIERID");

    explicit TfrmGesendeteHITMeldungen(db::Database& datenbank, QWidget* owner = nullptr);

    QLineEdit* Von() const { return von_; }
    QLineEdit* Bis() const { return bis_; }
    QCheckBox* Meldung(const QString& name) const;

protected:
    void EinstellungenSpeichern() override;
    void TexteErstellen(QString& daten, QString& schnellwahl, QString& titel) override;

private:
    QLineEdit* von_;
    QLineEdit* bis_;
    QCheckBox* geburt_;
    QCheckBox* zugang_;
    QCheckBox* abgang_;
    QCheckBox* ausfuhr_;
    QCheckBox* tod_;
    QCheckBox* importmarkierung_;
    QCheckBox* ohrmarken_;
};
