#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <utility>

// Rules of the milk-recording window that need no widget.
namespace MLP {

// The test kinds (TYP): code and the text of the choice "Art".
const QList<std::pair<QString, QString>>& Typen();

// The urea unit by the setting Harnstoff-Anzeige: 1 is mg/dl (the stored ppm value divided by
// 10, one decimal), anything else ppm as stored.
struct HarnstoffEinheit {
    double faktor;  // shown = stored × faktor
    int stellen;
    QString einheit;
};
HarnstoffEinheit Harnstoff(int harnstoffAnzeige);
// The stored ppm value as shown; empty for none.
QString HarnstoffText(std::optional<int> ppm, int harnstoffAnzeige);

// What a band shows across its columns in place of values for a test of this kind; empty for a
// test with values.
QString BandErsatz(const QString& typ);

// The ORDER BY of the cows by a column of P_GET_MLP_EINZELWERTE: the last calving by its date,
// the short number numerically with empty or non-positive numbers last, the others by value.
QString Sortierung(const QString& feld, bool absteigend);

// The title of a cow's values: the short number, name and ear tag that are present, joined with
// " - ", then " - Einzelwerte bearbeiten".
QString EinzelTitel(const QString& knr, const QString& name, const QString& nummer);

// Which buttons of the window can act.
struct Knoepfe {
    bool pmEntfernen = false;
    bool herdeNeu = false;
    bool herdeBearbeiten = false;
    bool herdeLoeschen = false;
    bool einzelBearbeiten = false;
    bool zurKuh = false;
};
Knoepfe KnoepfeFreigeben(bool hatProbemelken, bool hatHerde, bool hatKuh);

}  // namespace MLP
