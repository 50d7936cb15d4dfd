#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// The window-free rules of the animal card: which statuses fit an animal, the checks before an
// animal or a premises period is stored, and when a report to the national database is due.
namespace Stammdaten {

// The stored columns the checks look at; an invalid date is an empty one.
struct TTier {
    QString nummer;
    QDate gebdat;
    QString geschlecht;  // "W" or "M"
    QString status;      // status letter
    QString statusExt;   // kind: "N", "P", "M"
    QDate gekauft;
    QDate verkauft;
    QDate rindern;
    QDate trocken;
};

// The control a failed check focuses.
enum class TFeld { Nummer, Gebdat, Gekauft, Verkauft, Maennlich, Art, Rindern, Trocken, Status, Rasse, Von, Bis };

struct TFehler {
    int nr = 0;  // row of the check table, 1-based
    QString text;
    TFeld feld = TFeld::Nummer;
};

// The word the status combo shows for a status letter; empty for an unknown letter.
QString StatusWort(const QString& buchstabe);

// Item text and stored letter of the kind and status combos, in the order shown.
using TListe = QList<std::pair<QString, QString>>;
struct TStatuslisten {
    TListe arten;
    TListe status;
};
TStatuslisten StatuslistenAufbauen(const QString& geschlecht, bool hatKalbungen,
                                   bool hatBesamungen);

// A dry-off date in the future becomes today for status "R"; true when it changed.
bool TrockenAnpassen(TTier& tier, const QDate& heute);

// The first failed check of the animal, none when it may be stored.
std::optional<TFehler> TierPruefen(const TTier& tier, bool hatBesamungen, bool hatKalbungen,
                                   const QDate& heute);

// One premises period before it is stored.
std::optional<TFehler> BetriebsstaettePruefen(const QDate& von, const QDate& bis,
                                              const QDate& heute);

struct TZeitraum {
    int id = 0;
    QDate von;
    QDate bis;
};
struct TZeitraumFehler {
    int id = 0;  // the period the failure was found at
    QString text;
};
// The animal's periods in order of their start: each end meets the next start, only the last
// is open, none ends before the birth or purchase nor begins after the sale.
std::optional<TZeitraumFehler> BetriebsstaettenPruefen(const QList<TZeitraum>& zeitraeume,
                                                       const QDate& gebdat, const QDate& gekauft,
                                                       const QDate& verkauft);

// Whether a store is to offer an arrival and a departure report. For a changed record the
// stored dates are compared; gespeichertGelesen false (reading them failed) marks nothing.
struct TMeldungen {
    bool zugang = false;
    bool abgang = false;
};
TMeldungen MeldungenBestimmen(bool neu, const TTier& tier, const QDate& gespeichertGekauft,
                              const QDate& gespeichertVerkauft, bool gespeichertGelesen,
                              bool meldungAuto);

QString DatumText(const QDate& datum);

}  // namespace Stammdaten
