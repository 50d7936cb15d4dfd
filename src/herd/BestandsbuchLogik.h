#pragma once
// The medicine register apart from its windows: the display values of a register row, the list's
// column design, the statement texts and the state changes of entries.

#include <ListenSpalten.h>

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <vector>

namespace db {
class Database;
}

namespace Bestandsbuch {

// Register states of T_TIERARZTLEISTUNG.BESTANDSBUCH: N not in the register, J open, B booked,
// S cancelled.
int StatusIndex(const QString& zustand);

// Firebird's day-first form, independent of the workstation's locale.
QString DatumText(const QDate& datum);

struct Zeitraum {
    QDate von;
    QDate bis;
};
// Reversed dates are swapped.
Zeitraum Geordnet(const QDate& a, const QDate& b);

// "Anzahl, Art" for groups or entries without a short number, else "KNR, Art"; ", Name" when
// a name is given.
QString AnzahlArtName(int anzahl, const QString& knr, const QString& art, const QString& name);
// The application values one per line, trailing empty lines and blanks removed.
QString Zeilen(const QStringList& werte);
QString Wartezeit(int milch, int fleisch);
// An application's route and amount joined by ", "; an empty part leaves out its comma.
QString VerabreichungMenge(const QString& verabreichung, const QString& menge);

// One row of the design table of the list window.
struct DesignZeile {
    QString feld;
    int breite = 50;
    bool autobreite = true;
    QString titel;
    QString ausrichtung = QStringLiteral("L");
    bool sichtbar = false;
    bool tierId = false;
    int zeile = 1;
};
std::vector<DesignZeile> Design();
// The design as the list grid reads it: its field tokens carry the two-character source alias
// with a dot, which the grid removes again to find the field.
std::vector<ListenSpalten::LayoutZeile> GridLayout(const std::vector<DesignZeile>& design);

// The (field, title) pairs that name the export's columns: the design's titled rows, their
// header lines joined by a blank; untitled fields keep their own names.
QList<QPair<QString, QString>> ExportTitel(const std::vector<DesignZeile>& design);

QString Fenstertitel(const Zeitraum& z);
QString SchnellwahlSQL(const Zeitraum& z);
inline const QString ListeSQL =
    QStringLiteral("SELECT * FROM P_GET_BESTANDSBUCH(:VON, :BIS) ORDER BY DATUMSORT");
inline const QString OffeneSQL = QStringLiteral(
    "SELECT * FROM P_GET_BESTANDSBUCH(:VON, :BIS)\nWHERE BESTANDSBUCH = 'J'\nORDER BY DATUMSORT");

// State changes, each in a transaction of its own that is committed only when it succeeded.
// Database errors pass as db::Error; an entry no longer in the expected state throws
// std::runtime_error with a German message and changes nothing.
int OffeneAnzahl(db::Database& datenbank);
// Books every open entry, whatever its date; gives the number booked.
int AlleBuchen(db::Database& datenbank);
void Buchen(db::Database& datenbank, int lid);
void Stornieren(db::Database& datenbank, int lid);
// Deletes a treatment that is not cancelled, with its applications and animals.
void Loeschen(db::Database& datenbank, int lid);

}  // namespace Bestandsbuch

namespace db {
class Query;
}

namespace Bestandsbuch {

// One row of P_GET_BESTANDSBUCH.
struct Eintrag {
    int lid = 0;
    int tierId = 0;
    int anzahl = 0;
    QString knr, art, name, identitaet, standort, arzneimittel, belegnummer, anwender;
    int wmilch = 0;
    int wfleisch = 0;
    QString zustand;
    QDate datum[5];
    QString menge[5];
    QString verabreichung[5];
};
Eintrag EintragLesen(const db::Query& q);

}  // namespace Bestandsbuch

namespace Bestandsbuch {
// Open entries listed in the range (a treatment counts once).
int OffeneImZeitraum(db::Database& datenbank, const Zeitraum& z);
// The question before all open entries are booked, naming how many lie outside the range.
QString AlleBuchenFrage(int alle, int imZeitraum);
}  // namespace Bestandsbuch
