#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// The records the HIT client sends and receives. Report types, field codes and functions are
// indexes into the vocabulary tables of HITConst.

// Flag bytes of a command (the first and third are not used).
namespace HITFlag {
// Second byte: 1 for a report, which the client counts; 0 for the session commands (login,
// logout, PIN change).
constexpr int Zaehlen = 1;
// Fourth byte: how a report is sent again after the server's query-back.
constexpr int Wiederholung = 3;
constexpr std::uint8_t Bestaetigt = 1;  // the user confirms the report as it stands
constexpr std::uint8_t Beenden = 5;     // the user ends the connection: the report is dropped
}  // namespace HITFlag

struct THITPBefehl {
    std::array<std::uint8_t, 4> Flags{0, 1, 0, 0};
    int Meldung = 0;
    QList<int> Felder;
    QStringList Werte;  // parallel to Felder
};
void LeerHITBefehl(THITPBefehl& befehl);

// A selection element: a field of the function's subject (Int1), a field selected on its own
// (Int2), a function with its parameters, and the columns of the function's result.
struct THITPAuswahl {
    int Int1 = 0;
    int Int2 = 0;
    int Funktion = 0;
    QStringList Parameter;
    QStringList Spalten;
};

// A condition: connective to the previous one (index into cVerknuepfung), field, comparison
// (index into cVergleich) and value.
struct THITPBedingung {
    int Verknuepfung = 0;
    int Feld = 0;
    int Vergleich = 0;
    QString Wert;
};

struct THITPQuery {
    int Betreff = 0;
    QList<THITPAuswahl> Auswahl;
    QList<THITPBedingung> Bedingungen;
};
void LeerHITQuery(THITPQuery& query);

// One answer line. Schwere: 0 OK, 1 notice, 2 query-back, 3 error, 4 immediate abort,
// -3 transfer error (made by the client), -1 and -2 data rows.
struct THITPAntwort {
    std::int8_t Schwere = 0;
    int Nummer = 0;
    int Meldung = 0;
    QString Funktion;  // entity of a data row, "#BESTREG" for herd-register rows
    QList<int> Felder;
    QStringList Texte;
};
using THITPAntworten = QList<THITPAntwort>;
