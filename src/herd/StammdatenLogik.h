#pragma once

#include <QDate>
#include <QPoint>
#include <QSize>
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
enum class TFeld {
    Nummer,
    Gebdat,
    Gekauft,
    Verkauft,
    Maennlich,
    Art,
    Rindern,
    Trocken,
    Status,
    Rasse,
    Von,
    Bis
};

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

// What the period check looked at: equal keys mean an accepted failure still stands.
QString ZeitraumSchluessel(const QList<TZeitraum>& zeitraeume, const QDate& gebdat,
                           const QDate& gekauft, const QDate& verkauft);

// The remark as the remarks list shows it in its room of 200 characters: a remark of several
// lines shows its first line, cut to 190 characters, and " ..."; a single line longer than the
// room is cut the same way.
QString BemerkungListe(const QString& bemerkung);

// The pages of the card.
constexpr int SeitenAnzahl = 8;
enum TSeite {
    sStammdaten,
    sBetriebsstaetten,
    sTierarzt,
    sMLP,
    sBemerkungen,
    sLaktation,
    sBesamungsindex,
    sZwischenkalbezeit
};
QString SeitenTitel(int seite);
int SeitenHilfe(int seite);
QString SeitenHinweis(int seite);

// What the card enables for the shown animal.
struct TFreigabeEingang {
    bool neu = false;  // mode 1
    QString geschlecht;
    QString status;
    bool hatBesamungen = false;
    bool hatKalbungen = false;
    bool kalbungenVorhanden = false;   // the calvings list is not empty
    bool besamungenVorhanden = false;  // the current-inseminations list is not empty
    int seite = 0;
};
struct TFreigabe {
    bool kalbungenMenue = false;
    bool kalbungBearbeiten = false;  // "&Bearbeiten", "Löschen", "zum &Kalb wechseln"
    bool kalbungOhneBesamung = false;
    bool besamungenMenue = false;  // and the inseminations grid
    bool rindern = false;
    bool seiten[SeitenAnzahl] = {};
    bool ubernehmen = false;
    bool besamungenKnopf = false;
    bool kalbungenKnopf = false;
};
TFreigabe SchalterFreigeben(const TFreigabeEingang& e);

struct TTrockenFreigabe {
    bool trocken = false;     // the button "trocken:" and the dry-off date
    bool sollKalben = false;  // the label "soll kalben:"
};
TTrockenFreigabe TrockenFreigeben(const QString& status, bool hatKalbungen);

// The animal part of the caption: short number, name and ear tag joined by " - ", the empty ones
// left out; empty while a new record is being inserted.
QString TierBezeichnung(bool einfuegen, const QString& knrText, const QString& name,
                        const QString& nummer);
// The whole caption: the animal part, " - " and the page title.
QString Titel(const QString& tierBezeichnung, int seite);

// A press on the quick-list step button at pos steps back when it lies in the upper-left part.
bool SchnellZurueck(const QSize& knopf, const QSize& glyphe, const QPoint& pos);

// What a key does on the card.
struct TTaste {
    enum TAktion { Keine, Zurueck, Weiter, Seite, Besamung, Kalbung, Kurven, Leistungen };
    TAktion aktion = Keine;
    int seite = -1;
};
TTaste TasteAuswerten(int taste, Qt::KeyboardModifiers umschalt, int aktuelleSeite);

// The next heat moved on by whole cycles until it is today or later; unchanged when it is not
// before today or the cycle is not positive.
QDate NaechstesRindern(const QDate& rindern, const QDate& heute, int zyklus);

// The milk-recording row's text across the value cells for a row kind; empty for a normal row.
QString MLPErsatztext(const QString& typ);
// The urea value as the column shows it.
QString HarnstoffText(int wert, int teiler);

}  // namespace Stammdaten
