#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <map>
#include <optional>
#include <vector>

// One item of a definition line: its data-dictionary number, field length and decimals, and
// where its field begins in the value part of a value line.
struct AdisFeld {
    int item = 0;
    int laenge = 0;
    int dezimalen = 0;
    int start = 0;
};

// One definition line with the value lines that follow it: rows of one entity.
struct AdisAbschnitt {
    int entity = 0;
    QChar status;
    std::vector<AdisFeld> felder;
    std::vector<QString> zeilen;  // the value part of each value line
};

// A file in the agricultural data interchange syntax (ISO 11787): column 1 the line type ("D"
// definition, "V" value, "T" end of a logical file, "Z" end of the physical file, "C" comment and
// the query lines), column 2 the status ("H" header, "N" normal, "S" synchronisation, "F" faulty,
// "D" deletion), columns 3-8 the entity number. A definition line continues with groups of an
// 8-digit item number, a 2-digit field length and a 1-digit number of decimals; a value line
// carries the fields in those widths, a field of "|" being unknown. A value line belongs to the
// last definition of its entity in the same logical file.
class AdisDatei {
public:
    enum class Ergebnis {
        Gelesen,     // an ADIS file, read to its end line
        KeinADIS,    // the first line is no ADIS line: some other kind of file
        Fehlerhaft,  // an ADIS file that is cut short or breaks the syntax; Fehler() says where
    };

    // The item types of the data dictionary (letters of T_ADIS_ITEMS.TYP): "D" items are dates,
    // "N" items numbers; any other item, and one not in the catalogue, is text unless its
    // definition gives decimals.
    void SetTypen(std::map<int, QChar> typen) { typen_ = std::move(typen); }

    Ergebnis Lesen(const QString& datei);
    void Leeren()
    {
        abschnitte_.clear();
        fehler_.clear();
    }
    Ergebnis LesenText(const QByteArray& inhalt);
    const QString& Fehler() const { return fehler_; }

    const std::vector<AdisAbschnitt>& Abschnitte() const { return abschnitte_; }
    // Steps abschnitt (-1 before the first step) to the next section of the entity.
    bool GetAbschnitt(int entity, int& abschnitt) const;
    // The rows of all sections of the entity.
    int Zeilen(int entity) const;
    // The item's value in one row: dates as dd.MM.yyyy, numbers as digits with "." before their
    // decimals, text trimmed. Absent when the section does not define the item or the field is
    // unknown or blank.
    std::optional<QString> GetWert(int abschnitt, int zeile, int item) const;

private:
    Ergebnis Abbruch(int zeile, const QString& text);

    std::map<int, QChar> typen_;
    std::vector<AdisAbschnitt> abschnitte_;
    QString fehler_;
};
