#pragma once

#include "TierSpeicher.h"

#include <ZRDialog.h>

#include <QList>
#include <QMap>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace FMeldungErrorEdit {
// The error box with OK and "Rückgängig"; true when OK was chosen.
bool MeldungErrorEdit(const QString& text);
}  // namespace FMeldungErrorEdit

// "Tieransicht - Stammdaten": the master data of one animal (mode 0: the animals of a quick
// list, mode 1: new animals). Opened modally by its caller after TierAnzeigen.
class TfrmStammdaten : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 2200;

    explicit TfrmStammdaten(QWidget* owner = nullptr);
    ~TfrmStammdaten() override;

    void TierAnzeigen(int tierID, int modus, const QString& schnellwahlSQL);
    // Stores the open edits; false when a check failed (its message was shown) and the card
    // keeps the edit.
    bool EingabenSpeichern();
    // Steps through the quick list after storing the open edits.
    void Schritt(int richtung);

    int TierID() const { return satz_.id; }
    int Modus() const { return modus_; }
    QWidget* Feld(Stammdaten::TFeld feld) const;
    QLineEdit* NummerFeld() const { return nummer_; }
    QPushButton* SpeichernKnopf() const { return speichern_; }
    QPushButton* NeuKnopf() const { return neu_; }
    QPushButton* SchliessenKnopf() const { return schliessen_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void Zeigen();
    // The fields into satz_; false (after a message) when a date cannot be read.
    bool Lesen();
    void StatuslistenAufbauen();
    void PruefFehler(const Stammdaten::TFehler& fehler);
    void Laden(int id);
    void NeuesTier();
    void Geaendert();

    std::unique_ptr<TTierSpeicher> speicher_;
    TTierSatz satz_;
    int modus_ = 0;
    bool hatBesamungen_ = false;
    bool hatKalbungen_ = false;
    bool geaendert_ = false;
    bool fuellt_ = false;
    bool verworfen_ = false;
    QList<int> schnellliste_;

    QLineEdit* nummer_ = nullptr;
    QLineEdit* knr_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* gebdat_ = nullptr;
    QRadioButton* weiblich_ = nullptr;
    QRadioButton* maennlich_ = nullptr;
    QComboBox* rasse_ = nullptr;
    QComboBox* status_ = nullptr;
    QComboBox* art_ = nullptr;
    QLineEdit* vater_ = nullptr;
    QLineEdit* vaterNr_ = nullptr;
    QLineEdit* mutter_ = nullptr;
    QLineEdit* mutterNr_ = nullptr;
    QLineEdit* gekauft_ = nullptr;
    QComboBox* gekauftBem_ = nullptr;
    QLineEdit* verkauft_ = nullptr;
    QComboBox* verkauftBem_ = nullptr;
    QComboBox* abgangsgrund_ = nullptr;
    QLineEdit* rindern_ = nullptr;
    QLineEdit* trocken_ = nullptr;
    QLabel* alter_ = nullptr;
    QLabel* betrieb_ = nullptr;
    QPushButton* zurueck_ = nullptr;
    QPushButton* weiter_ = nullptr;
    QPushButton* speichern_ = nullptr;
    QPushButton* neu_ = nullptr;
    QPushButton* schliessen_ = nullptr;
};
