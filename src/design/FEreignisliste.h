#pragma once

#include "InternListeDialog.h"

class QCheckBox;

// "Ereignisliste": the herd's events of a period (arrivals, departures, inseminations, dry-offs,
// calvings, treatments) through the designs of the built-in list "EREIGNISLISTE".
class TfrmEreignisliste : public TfrmInternListeDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 10600;
    static inline const QString ListenTyp = QStringLiteral("EREIGNISLISTE");
    static inline const QString Felder =
        QStringLiteral("ART;KNRDISPLAY;NAME;NUMMER;DATUM;TEXT;TIERID");

    explicit TfrmEreignisliste(db::Database& datenbank, QWidget* owner = nullptr);

    QLineEdit* Von() const { return von_; }
    QLineEdit* Bis() const { return bis_; }
    QCheckBox* Ereignis(const QString& name) const;

protected:
    void EinstellungenSpeichern() override;
    void TexteErstellen(QString& daten, QString& schnellwahl, QString& titel) override;

private:
    QLineEdit* von_;
    QLineEdit* bis_;
    QCheckBox* zugang_;
    QCheckBox* abgang_;
    QCheckBox* besamung_;
    QCheckBox* kalbung_;
    QCheckBox* behandlung_;
    QCheckBox* trockenstellen_;
};
