#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// How the list grid turns the screen layout of a stored list design (one row per list field, in
// display order) into columns, apart from the widget.
namespace ListenSpalten {

// One row of P_GET_LISTE_BILDSCHIRM_FELDER.
struct LayoutZeile {
    QString feld;  // token: [two-character source alias "."] column name; or a pseudo field
    std::optional<int> breite;
    bool autobreite = false;
    QString titel;
    QString ausrichtung;  // "C" centred, "R" right, else left
    bool sichtbar = true;
    bool tierId = false;
    int zeile = 1;
    bool ueberschrift = false;
    QString displayFormat;
    QString wert;
};

enum class Art { Normal, StatusIcon, Ueberschrift };

struct Spalte {
    // A dataset field, or "key[:line];key:line…" of a computed column (keys in Werte).
    QString datenfeld;
    QString titel;    // "\r" between header lines
    int breite = -1;  // -1: the grid's own width
    char ausrichtung = 'L';
    bool groesseVeraenderbar = false;
    bool sortierbar = true;
    bool gestapelt = false;
    Art art = Art::Normal;
    int zeilen = 1;  // lines of the cells
};

struct Ergebnis {
    std::vector<Spalte> spalten;           // in display order; the heading column is hidden
    QList<QPair<QString, QString>> werte;  // key -> source entry
    QString tierIdFeld;
    QString terminIdFeld;
    QString terminFeld;
    QString erledigenFeld;
    bool terminmodus = false;
    int ueberschriftSpalte = -1;  // index into spalten
    bool gestapelteKoepfe = false;
    bool autoBreite = false;
    QList<QPair<QString, QString>> displayFormate;  // field -> format
};

struct Umgebung {
    QStringList datenfelder;  // the fields of the list's data, in order
    int dpi = 96;             // 96 when the grid sits in no window
    int clientBreite = 0;     // the grid's client width
};

// Whether a field name is one of the grid's computed columns (a pseudo field, or the keys of a
// stacked column): the grid adds those to the data itself and fills them when it draws, so they
// hold no value of the list. Calculated fields the data computes itself are list fields.
bool IstBerechneteSpalte(const QString& feld);

// Smallest width a column is clamped to when the grid is narrow.
constexpr int MindestBreite = 50;

int Skaliert(int breite, int dpi);

// Throws std::runtime_error with a German message when a field token's source alias is not two
// characters long (the token rules rely on it); a token without alias is a plain column name.
Ergebnis SpaltenAnlegen(const std::vector<LayoutZeile>& layout, const Umgebung& umgebung);

// The source entries of a computed column, by line (index 0 = line 1; empty where no entry).
QStringList Quellen(const QString& datenfeld, const QList<QPair<QString, QString>>& werte);

// The text of a computed column in one record: line by line, "S.N…" gives the record number,
// a field name that field's display text, "S.F<n>=text" the text, anything else an empty line;
// lines are joined with "\r". With kurzeZeilen trailing blanks and empty lines are cut.
// feldText gives nothing for a name that is no field of the data.
QString BerechneterText(const QStringList& quellen, int satzNummer,
                        const std::function<std::optional<QString>(const QString&)>& feldText,
                        bool kurzeZeilen);

}  // namespace ListenSpalten
