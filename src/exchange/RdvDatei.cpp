#include "RdvDatei.h"

#include <LomCoder.h>

#include <QFile>

#include <algorithm>
#include <array>

namespace {

struct Feld {
    int spalte;
    int laenge;
    int typ;
};

enum Typ { Text = 0, Ohrmarke = 1, Datum = 2, Code = 4 };

// Columns count in the whole line from 1; Daten begins at column 7.
constexpr std::array<Feld, RdvFeld::Anzahl> Felder{{
    {1, 6, Text},       {7, 14, Ohrmarke}, {21, 14, Ohrmarke}, {35, 14, Ohrmarke}, {49, 8, Datum},
    {57, 12, Text},     {69, 2, Code},     {71, 2, Code},      {73, 5, Text},      {78, 1, Text},
    {21, 8, Datum},     {29, 8, Text},     {37, 4, Text},      {41, 5, Text},      {46, 5, Text},
    {51, 4, Text},      {55, 4, Text},     {59, 1, Text},      {60, 1, Text},      {21, 8, Text},
    {29, 8, Datum},     {37, 8, Datum},    {21, 2, Text},      {23, 8, Datum},     {31, 8, Datum},
    {39, 4, Text},      {43, 5, Text},     {48, 5, Text},      {53, 5, Text},      {58, 4, Text},
    {62, 4, Text},      {66, 5, Text},     {71, 4, Text},      {75, 4, Text},      {79, 5, Text},
    {84, 4, Text},      {88, 4, Text},     {92, 5, Text},      {97, 4, Text},      {101, 4, Text},
    {105, 4, Text},     {114, 4, Text},    {118, 1, Text},     {21, 8, Datum},     {29, 2, Text},
    {31, 14, Ohrmarke}, {45, 4, Text},     {49, 1, Text},
}};

constexpr std::array<int, 100> Rassen{
    90, 11, 4,  18, 12, 13, 55, 10, 1,  2,  85, 42, 5,  90, 19, 88, 24, 90, 54, 21,
    32, 41, 90, 90, 90, 90, 47, 90, 90, 90, 43, 45, 14, 3,  90, 90, 90, 22, 50, 90,
    90, 27, 90, 90, 31, 90, 71, 33, 26, 44, 90, 61, 53, 90, 16, 90, 87, 23, 89, 75,
    15, 6,  9,  17, 20, 25, 28, 34, 35, 46, 48, 49, 51, 52, 54, 56, 57, 58, 59, 60,
    65, 66, 67, 69, 70, 72, 73, 83, 84, 86, 90, 91, 93, 90, 90, 90, 90, 90, 90, 90,
};

constexpr int NichtRdvNach = 10;

}  // namespace

bool RDVDateiLesen(const QString& datei, TRDVDatei& saetze, QString* fehler)
{
    saetze.clear();
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly)) {
        if (fehler)
            *fehler = QStringLiteral("Die Datei %1 konnte nicht geöffnet werden!").arg(datei);
        return false;
    }
    const QString text = QString::fromLatin1(f.readAll());
    int ohneSatz = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype j = i;
        while (j < text.size() && text[j] != u'\r' && text[j] != u'\n')
            ++j;
        const QStringView zeile = QStringView(text).mid(i, j - i);
        i = j + 1;
        if (zeile.isEmpty())
            continue;
        if (zeile.startsWith(u'Z')) {
            ohneSatz = 0;
            saetze.push_back({zeile.left(6).toString(), zeile.mid(6).toString()});
        } else if (++ohneSatz >= NichtRdvNach) {
            saetze.clear();
            return false;
        }
    }
    return true;
}

int RDVRasse(int code)
{
    return Rassen[std::size_t(std::clamp(code, 0, 99))];
}

std::optional<QString> RDVFeld(const QString& daten, int feld)
{
    if (feld < 0 || feld >= RdvFeld::Anzahl)
        return std::nullopt;
    const Feld& f = Felder[std::size_t(feld)];
    const qsizetype von = f.spalte - 7;
    const QString wert =
        von < 0 || von >= daten.size() ? QString() : daten.mid(von, f.laenge).trimmed();
    switch (f.typ) {
        case Code: {
            bool ok = false;
            const int code = wert.toInt(&ok);
            return QString::number(RDVRasse(ok ? code : 0));
        }
        case Ohrmarke: {
            if (wert.isEmpty())
                return std::nullopt;
            int64_t nummer = 0;
            if (Lom::EncodeLom(wert.toStdString(), nummer) == 0)
                return QString::fromStdString(Lom::DecodeLom(nummer));
            return wert;
        }
        case Datum:
            if (wert.isEmpty())
                return std::nullopt;
            return wert.left(2) + u'.' + wert.mid(2, 2) + u'.' + wert.mid(4);
        default:
            if (wert.isEmpty())
                return std::nullopt;
            return wert;
    }
}

int RDVSatzAnzahl(const TRDVDatei& saetze, const QString& satzart)
{
    return int(std::count_if(saetze.begin(), saetze.end(),
                             [&](const TRDVEintrag& e) { return e.Satzart == satzart; }));
}
