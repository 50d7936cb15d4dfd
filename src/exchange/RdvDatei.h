#pragma once

#include <QString>

#include <optional>
#include <vector>

// One record of an RDV file: its kind (the first six characters, e.g. "Z00101") and the rest of
// the line from column 7, untrimmed.
struct TRDVEintrag {
    QString Satzart;
    QString Daten;
};

using TRDVDatei = std::vector<TRDVEintrag>;

// Fields of the fixed-column records, by their index in the field table.
namespace RdvFeld {
inline constexpr int Ohrmarke = 1;
inline constexpr int Vater = 2;
inline constexpr int Mutter = 3;
inline constexpr int Geburtsdatum = 4;
inline constexpr int Name = 5;
inline constexpr int Rasse = 6;
inline constexpr int Geschlecht = 9;
inline constexpr int MlpDatum = 10;
inline constexpr int Milch = 12;
inline constexpr int Fett = 13;
inline constexpr int Eiweiss = 14;
inline constexpr int Zellzahl = 15;
inline constexpr int Harnstoff = 16;
inline constexpr int Melkart = 17;
inline constexpr int Zugang = 20;
inline constexpr int Abgang = 21;
inline constexpr int KalbungNr = 22;
inline constexpr int KalbungDatum = 23;
inline constexpr int Kalbeverlauf = 42;
inline constexpr int BesamungDatum = 43;
inline constexpr int BesamungNr = 44;
inline constexpr int Bulle = 45;
inline constexpr int Anzahl = 48;
}  // namespace RdvFeld

// Reads an RDV file (Latin-1 text; CR, LF or CR LF end a line; empty lines do not count): lines
// beginning with "Z" are records. Ten lines in a row without one mean the file is no RDV file:
// the records are emptied and the result is false. A file that cannot be opened gives false and
// the message "Die Datei %s konnte nicht geöffnet werden!" in fehler.
bool RDVDateiLesen(const QString& datei, TRDVDatei& saetze, QString* fehler = nullptr);

// Cuts one field from a record's Daten, trims and converts it: ear tags to their printed form
// when the coder accepts them, dates DDMMYYYY to "DD.MM.YYYY", breed codes through the code map
// (a blank code is code 0). Absent when the field is empty (a breed field never is).
std::optional<QString> RDVFeld(const QString& daten, int feld);

// The breed key of an RDV breed code 0..99 (other codes are clamped into that range).
int RDVRasse(int code);

// The number of records of one kind.
int RDVSatzAnzahl(const TRDVDatei& saetze, const QString& satzart);
