#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

// What the main window decides without a window: the stored-list entries of its menu and
// toolbar, the midnight timer, the status hint and the close question.
namespace HauptModell {

// One stored list of the "Listen" menu or the toolbar, from a line "ID;SYMBOL;BEZEICHNUNG".
struct ListenEintrag {
    int id = 0;
    int symbol = -1;  // -1: no picture
    QString bezeichnung;
};
QList<ListenEintrag> ListenEintraege(const QStringList& zeilen);

// One element of the toolbar in its order, at its x position: a button for an action (by its
// name) or a stored list, or a separator.
struct Symbolleistenelement {
    enum Art { Aktion, Liste, Trenner };
    Art art = Trenner;
    QString aktion;
    ListenEintrag liste;
    int x = 0;
};
// The fixed head that is made once and kept when the toolbar is rebuilt.
constexpr int KopfAnzahl = 11;
constexpr int KnopfBreite = 36;
constexpr int TrennerBreite = 10;
constexpr int ErstesX = 4;
// The whole toolbar for these stored lists: the head, one button per list, the statistics and
// the premises choice.
QList<Symbolleistenelement> Symbolleiste(const QStringList& symbolListe);

// Milliseconds from now to 10 seconds after the next midnight.
int MitternachtIntervall(const QTime& jetzt);

// Status panel 0: the hint, or the row count of the active list window when there is no hint
// (anzahlInListe below 1: no list window or an empty one).
QString Hinweistext(const QString& hinweis, int anzahlInListe);

// The background colour of the lists; the stored index is clamped to the table.
QColor Listenfarbe(int index);

// The close question about prepared reports that were not sent.
enum class Schliessen { Erlaubt, Fragen };
Schliessen MeldungenPruefen(bool updateWartet, bool fragenBeimEnde, int offeneMeldungen);

}  // namespace HauptModell
