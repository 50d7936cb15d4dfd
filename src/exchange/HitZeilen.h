#pragma once

#include "HitDaten.h"

#include <QByteArray>
#include <QString>

// The lines of the HIT protocol (HITP): text lines in ISO 8859-1 over one TCP connection.
//
// Requests of the client, numbered n from 1 on (the server's greeting is answer 0):
//   command  "*n:XS:MELDUNG/FELD1;FELD2:wert1;wert2"  (a report, login, logout, PIN change)
//            "*n:XS/B:..." sends a report again that the user confirmed after a query-back
//   query    "*n:RS:ENTITAET/AUSGABE1;AUSGABE2:BEDINGUNG"
//            an output is a field or a function "$MAX(SYS_VON)", "#BESTREG(BNR15,von,bis)"
//            followed by the columns wanted of its result; conditions "FELD=wert" are joined
//            by their connective ("BNR15=276090000000001 AND GEB_DATR>01.01.2020").
// Answers of the server, one or more lines per request, the last one starting with "=", the
// others with "+":
//   "=n:schwere/nummer:MELDUNG/FELD:text"  a result, notice or error (FELD or both may be empty)
//   "+n:-1/0:ENTITAET/SPALTE1;SPALTE2:wert1;wert2"  a data row of a query
// An empty value is sent and received as an empty text.
namespace HitZeilen {

// The request line without its line end. Throws std::invalid_argument with a German message
// for a value that would break the line (";", a line break, a character outside ISO 8859-1).
QString BefehlZeile(int nummer, const THITPBefehl& befehl);
QString AbfrageZeile(int nummer, const THITPQuery& query);
// The bytes on the wire, line end included.
QByteArray Kodieren(const QString& zeile);

struct Antwortzeile {
    int anfrage = 0;      // number of the request it answers
    bool letzte = false;  // "=": the answer is complete
    THITPAntwort antwort;
};
// False for a line that is no answer line.
bool AntwortLesen(const QString& zeile, Antwortzeile& ergebnis);

}  // namespace HitZeilen
