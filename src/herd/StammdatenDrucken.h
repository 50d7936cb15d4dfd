#pragma once
// "Drucken" of the animal card: which printouts of the animal to make.

#include <ZRDialog.h>

#include <array>

class QPushButton;
class TAMCheckBox;

// The printouts in the order the card makes them.
enum class TTierDruck {
    Stammdaten,
    Tierarzt,
    MLPDaten,
    Laktationsgrafik,
    Besamungsindex,
    Zwischenkalbezeit
};
constexpr int TierDruckAnzahl = 6;

struct TDruckAuswahl {
    std::array<bool, TierDruckAnzahl> frei{};
    std::array<bool, TierDruckAnzahl> gewaehlt{};
    bool farbig = false;

    bool Frei(TTierDruck d) const { return frei[std::size_t(d)]; }
    bool Gewaehlt(TTierDruck d) const { return gewaehlt[std::size_t(d)]; }
};

// What the card offers on its page seite: the milk-recording and chart printouts only for an
// animal with calvings, and the page's own printout preselected when it is offered (the animal
// sheet on the pages without one).
TDruckAuswahl DruckAuswahlVorbelegen(int seite, bool hatKalbungen);

class TfrmStammdatenDrucken : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 2800;

    explicit TfrmStammdatenDrucken(QWidget* owner = nullptr);

    void Setzen(const TDruckAuswahl& auswahl);
    TDruckAuswahl Auswahl() const;
    TAMCheckBox* Box(TTierDruck d) const { return boxen_[std::size_t(d)]; }
    TAMCheckBox* Farbe() const { return farbe_; }

private:
    // The printer set-up of the process's printer; the dialog stays open.
    void EinrichtenClick();

    std::array<TAMCheckBox*, TierDruckAnzahl> boxen_{};
    TAMCheckBox* farbe_ = nullptr;
    QPushButton* drucken_ = nullptr;
    QPushButton* einrichten_ = nullptr;
    QPushButton* schliessen_ = nullptr;
};
