#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// The export of a list's rows to the formats users open in their office programs, apart from the
// database and the windows: a table of typed values in memory goes in, the file's bytes come out.
namespace ListenExport {

// In the order the export dialog offers them.
enum class Format { CSV, Zwischenablage, Excel, HTML, RTF, TabText, Text, Word };
const QList<Format>& AlleFormate();

enum class Typ { Text, Ganzzahl, Zahl, Datum, Zeit, DatumZeit, Wahrheitswert };

struct Spalte {
    QString titel;
    Typ typ = Typ::Text;
    // Numbers only: the field's display format ("0.00", "#,##0" ...); empty for the plain value.
    QString displayFormat;
};

// Values row by row; an invalid QVariant is an empty cell. Dates are QDate, times QTime,
// date-times QDateTime, Booleans bool, numbers int/qlonglong/double.
struct Tabelle {
    QString kopf;
    QDateTime erstellt;
    std::vector<Spalte> spalten;
    std::vector<QVariant> werte;

    int Zeilen() const { return spalten.empty() ? 0 : int(werte.size() / spalten.size()); }
    const QVariant& Wert(int zeile, int spalte) const
    {
        return werte[std::size_t(zeile) * spalten.size() + std::size_t(spalte)];
    }
};

// The parts around the rows; every file format but CSV and tab-separated text (which stay plain
// tables for other programs to read in) shows the heading and the export date.
struct Optionen {
    bool ueberschrift = true;
    bool exportdatum = true;
    bool kopfzeile = true;    // the column titles
    bool fusszeile = true;    // a closing rule under the rows of the plain text
    bool ausrichtung = true;  // numbers right-aligned
};

// "Data Interchange Format" and "SYLK Files" are named by the file dialog's types only; no
// format writes them.
QString Formatname(Format format);
// The file dialog's type, for example "Excel Dateien (*.xlsx)"; empty for the clipboard.
QString Dateifilter(Format format);
// "xlsx", "docx" ...; empty for the clipboard.
QString Dateiendung(Format format);

// A cell as text: date "dd.MM.yyyy", time "hh:mm", date-time "hh:mm dd.MM.yyyy", Booleans
// "Wahr"/"Falsch", numbers German with the column's display format; empty for an empty cell.
QString ZellText(const Spalte& spalte, const QVariant& wert);
bool Rechtsbuendig(const Spalte& spalte);

// The column titles of the data fields: for each field the first layout row whose field token,
// without its first ".", is the field name gives its title; a field no row names keeps its name.
QStringList Spaltentitel(const QStringList& datenfelder,
                         const QList<QPair<QString, QString>>& layoutFelder);

// The file's content. The clipboard gets the tab-separated text as a string (UTF-8 here).
// Text formats are UTF-8; CSV and tab-separated text begin with a byte order mark so that
// spreadsheet programs recognise the umlauts.
QByteArray Schreiben(Format format, const Tabelle& tabelle, const Optionen& optionen = {});

// The plain text format cuts longer values to this many characters, ending them with "...".
constexpr int TextSpalteMaximal = 40;

}  // namespace ListenExport
