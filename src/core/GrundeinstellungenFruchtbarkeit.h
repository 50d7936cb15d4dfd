#pragma once

#include "GrundeinstellungenSeite.h"

#include <utility>
#include <vector>

class QComboBox;

// "Fruchtbarkeit": the fertility intervals of one breed in use at a time. The values shown go
// into their breed's record when another breed or page is chosen and when the dialog stores.
class TGrundeinstellungenFruchtbarkeit : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenFruchtbarkeit(TGrundeinstellungenDaten& daten);

    void Laden() override { RassenZeigen(); }
    bool Pruefen() override;
    bool Speichern() override { return RasseUebernehmen(); }
    void Gezeigt() override { RassenZeigen(); }
    bool Verlassen() override { return RasseUebernehmen(); }

    // The breeds in use were read anew: fills the choice and shows the current breed.
    void RassenZeigen();

private:
    void RasseGewaehlt(int position);
    // Shows the current breed's fertility values.
    void RasseZeigen();
    // Checks the shown fertility values and posts them into their breed; false when refused.
    bool RasseUebernehmen();
    void SollKalbenBerechnen();

    QComboBox* rassenWahl_;
    TDBFloatEdit* sollKalben_ = nullptr;
    std::vector<std::pair<TDBFloatEdit*, QString>> werte_;  // edit and its column
    int rasseID_ = 0;                                       // the breed whose values the edits show
};
