#include "ListenExportFormate.h"

#include <Field.h>

#include <QDate>
#include <QTime>

#include <zip.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace ListenExport {

namespace {

const QString DatumFormat = QStringLiteral("dd.MM.yyyy");
const QString ZeitFormat = QStringLiteral("hh:mm");
const QString DatumZeitFormat = QStringLiteral("hh:mm dd.MM.yyyy");

QString ErstelltText(const Tabelle& t)
{
    return QStringLiteral("Erstellt: ") + t.erstellt.toString(DatumZeitFormat);
}

bool MitKopf(const Tabelle& t, const Optionen& o)
{
    return o.ueberschrift && !t.kopf.isEmpty();
}

bool MitDatum(const Tabelle& t, const Optionen& o)
{
    return o.exportdatum && t.erstellt.isValid();
}

// XML 1.0 allows no control characters but tab, line feed and carriage return.
void XmlText(QString& aus, const QString& text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '&':
                aus += QLatin1String("&amp;");
                break;
            case '<':
                aus += QLatin1String("&lt;");
                break;
            case '>':
                aus += QLatin1String("&gt;");
                break;
            case '"':
                aus += QLatin1String("&quot;");
                break;
            default:
                if (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r')
                    aus += c;
        }
    }
}

QString Xml(const QString& text)
{
    QString aus;
    aus.reserve(text.size());
    XmlText(aus, text);
    return aus;
}

// ---------------------------------------------------------------- CSV and tab-separated text

void Trennfeld(QString& aus, const QString& text, QChar trenner)
{
    const bool quoten = text.contains(trenner) || text.contains(u'"') || text.contains(u'\n') ||
                        text.contains(u'\r');
    if (!quoten) {
        aus += text;
        return;
    }
    aus += u'"';
    for (const QChar c : text) {
        if (c == u'"')
            aus += u'"';
        aus += c;
    }
    aus += u'"';
}

QByteArray Getrennt(const Tabelle& t, const Optionen& o, QChar trenner, bool bom)
{
    QString aus;
    aus.reserve(t.Zeilen() * int(t.spalten.size()) * 8 + 64);
    const auto zeile = [&](auto text) {
        for (std::size_t s = 0; s < t.spalten.size(); ++s) {
            if (s)
                aus += trenner;
            Trennfeld(aus, text(s), trenner);
        }
        aus += QLatin1String("\r\n");
    };
    if (o.kopfzeile)
        zeile([&](std::size_t s) { return t.spalten[s].titel; });
    for (int z = 0; z < t.Zeilen(); ++z)
        zeile([&](std::size_t s) { return ZellText(t.spalten[s], t.Wert(z, int(s))); });
    QByteArray bytes = aus.toUtf8();
    if (bom)
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
}

// ---------------------------------------------------------------- plain text

QString Gekuerzt(const QString& text)
{
    QString einzeilig = text;
    einzeilig.replace(QLatin1String("\r\n"), QLatin1String(" "));
    einzeilig.replace(u'\r', u' ');
    einzeilig.replace(u'\n', u' ');
    if (einzeilig.size() <= TextSpalteMaximal)
        return einzeilig;
    return einzeilig.left(TextSpalteMaximal - 3) + QLatin1String("...");
}

QByteArray Klartext(const Tabelle& t, const Optionen& o)
{
    const std::size_t n = t.spalten.size();
    std::vector<QStringList> texte(n);
    std::vector<int> breite(n, 0);
    for (std::size_t s = 0; s < n; ++s) {
        QStringList& spalte = texte[s];
        spalte.reserve(t.Zeilen());
        if (o.kopfzeile)
            breite[s] = int(Gekuerzt(t.spalten[s].titel).size());
        for (int z = 0; z < t.Zeilen(); ++z) {
            spalte << Gekuerzt(ZellText(t.spalten[s], t.Wert(z, int(s))));
            breite[s] = std::max(breite[s], int(spalte.back().size()));
        }
    }
    int gesamt = 0;
    for (std::size_t s = 0; s < n; ++s)
        gesamt += breite[s] + (s ? 2 : 0);
    QString aus;
    aus.reserve((gesamt + 1) * (t.Zeilen() + 6) + 64);
    const auto zeile = [&](auto text, bool rechtsErlaubt) {
        QString z;
        for (std::size_t s = 0; s < n; ++s) {
            if (s)
                z += QLatin1String("  ");
            const QString x = text(s);
            if (rechtsErlaubt && o.ausrichtung && Rechtsbuendig(t.spalten[s]))
                z += x.rightJustified(breite[s]);
            else
                z += x.leftJustified(breite[s]);
        }
        while (z.endsWith(u' '))
            z.chop(1);
        aus += z;
        aus += u'\n';
    };
    if (MitKopf(t, o))
        aus += t.kopf + u'\n';
    if (MitDatum(t, o))
        aus += ErstelltText(t) + u'\n';
    if (MitKopf(t, o) || MitDatum(t, o))
        aus += u'\n';
    const QString linie = QString(gesamt, u'-') + u'\n';
    if (o.kopfzeile) {
        zeile([&](std::size_t s) { return Gekuerzt(t.spalten[s].titel); }, false);
        aus += linie;
    }
    for (int z = 0; z < t.Zeilen(); ++z)
        zeile([&](std::size_t s) { return texte[s][z]; }, true);
    if (o.fusszeile)
        aus += linie;
    return aus.toUtf8();
}

// ---------------------------------------------------------------- HTML

QByteArray Html(const Tabelle& t, const Optionen& o)
{
    QString aus;
    aus.reserve(t.Zeilen() * int(t.spalten.size()) * 20 + 1024);
    aus += QLatin1String(
        "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
    aus += Xml(t.kopf);
    aus += QLatin1String(
        "</title>\n<style>\n"
        "body { font-family: Arial,Helvetica,sans-serif; font-size: 10pt; }\n"
        "table { border-collapse: collapse; }\n"
        "th, td { border: 1px solid #808080; padding: 2px 6px; }\n"
        "th { font-weight: bold; background-color: #d8d8d8; text-align: left; }\n"
        "tr.ungerade td { background-color: #ffffff; }\n"
        "tr.gerade td { background-color: #eef2f8; }\n"
        "td.r { text-align: right; }\n"
        "</style>\n</head>\n<body>\n");
    if (MitKopf(t, o))
        aus += QLatin1String("<h1>") + Xml(t.kopf) + QLatin1String("</h1>\n");
    if (MitDatum(t, o))
        aus += QLatin1String("<p>") + Xml(ErstelltText(t)) + QLatin1String("</p>\n");
    aus += QLatin1String("<table>\n");
    if (o.kopfzeile) {
        aus += QLatin1String("<thead><tr>");
        for (const Spalte& s : t.spalten)
            aus += QLatin1String("<th>") + Xml(s.titel) + QLatin1String("</th>");
        aus += QLatin1String("</tr></thead>\n");
    }
    aus += QLatin1String("<tbody>\n");
    for (int z = 0; z < t.Zeilen(); ++z) {
        aus += z % 2 ? QLatin1String("<tr class=\"gerade\">")
                     : QLatin1String("<tr class=\"ungerade\">");
        for (std::size_t s = 0; s < t.spalten.size(); ++s) {
            aus += o.ausrichtung && Rechtsbuendig(t.spalten[s]) ? QLatin1String("<td class=\"r\">")
                                                                : QLatin1String("<td>");
            QString text = Xml(ZellText(t.spalten[s], t.Wert(z, int(s))));
            text.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
            text.replace(u'\r', QLatin1String("<br>"));
            text.replace(u'\n', QLatin1String("<br>"));
            aus += text;
            aus += QLatin1String("</td>");
        }
        aus += QLatin1String("</tr>\n");
    }
    aus += QLatin1String("</tbody>\n</table>\n</body>\n</html>\n");
    return aus.toUtf8();
}

// ---------------------------------------------------------------- RTF

// The code page 1252 byte of a character, '?' where it has none.
unsigned char Cp1252(char16_t u)
{
    if (u >= 0xA0 && u <= 0xFF)
        return static_cast<unsigned char>(u);
    static const char16_t obere[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        if (obere[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

// 7-bit text with every other character as \uN and its code page 1252 byte as \'xx (readers
// without Unicode show that).
void RtfText(QByteArray& aus, const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            aus += '\\';
            aus += char(u);
        } else if (u == '\r' || u == '\n') {
            if (u == '\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            aus += "\\line ";
        } else if (u == '\t') {
            aus += "\\tab ";
        } else if (u < 0x20) {
            continue;
        } else if (u < 0x80) {
            aus += char(u);
        } else {
            aus += "\\u";
            aus += QByteArray::number(int(qint16(u)));
            aus += "\\'";
            aus += QByteArray::number(Cp1252(u), 16).rightJustified(2, '0');
        }
    }
}

QByteArray Rtf(const Tabelle& t, const Optionen& o)
{
    QByteArray aus;
    aus.reserve(t.Zeilen() * int(t.spalten.size()) * 24 + 1024);
    // A4 landscape, margins of 1 cm.
    const int seitenbreite = 16838, rand = 567;
    aus +=
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
        "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fswiss\\fcharset0 Tahoma;}}\n"
        "\\paperw16838\\paperh11906\\landscape\\margl567\\margr567\\margt567\\margb567\n";
    if (MitKopf(t, o)) {
        aus += "\\pard\\plain\\f0\\fs28\\b ";
        RtfText(aus, t.kopf);
        aus += "\\par\n";
    }
    if (MitDatum(t, o)) {
        aus += "\\pard\\plain\\f0\\fs18 ";
        RtfText(aus, ErstelltText(t));
        aus += "\\par\n";
    }
    const int n = std::max<int>(1, int(t.spalten.size()));
    const int spaltenbreite = (seitenbreite - 2 * rand) / n;
    QByteArray zeilenkopf = "\\trowd\\trgaph70\\trleft0";
    for (int s = 0; s < int(t.spalten.size()); ++s) {
        zeilenkopf +=
            "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
            "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx";
        zeilenkopf += QByteArray::number((s + 1) * spaltenbreite);
    }
    if (o.kopfzeile) {
        aus += zeilenkopf;
        aus += "\\trhdr\n";
        for (const Spalte& s : t.spalten) {
            // Tahoma at 11 pixels: 8 points.
            aus += "\\pard\\intbl\\plain\\f1\\fs16\\b ";
            RtfText(aus, s.titel);
            aus += "\\cell\n";
        }
        aus += "\\row\n";
    }
    for (int z = 0; z < t.Zeilen(); ++z) {
        aus += zeilenkopf;
        aus += '\n';
        for (std::size_t s = 0; s < t.spalten.size(); ++s) {
            aus += o.ausrichtung && Rechtsbuendig(t.spalten[s])
                       ? "\\pard\\intbl\\qr\\plain\\f0\\fs18 "
                       : "\\pard\\intbl\\plain\\f0\\fs18 ";
            RtfText(aus, ZellText(t.spalten[s], t.Wert(z, int(s))));
            aus += "\\cell\n";
        }
        aus += "\\row\n";
    }
    aus += "\\pard\\par\n}\n";
    return aus;
}

// ---------------------------------------------------------------- zip packages (xlsx, docx)

struct ZipQuelleFrei {
    void operator()(zip_source_t* q) const { zip_source_free(q); }
};
struct ZipVerwerfen {
    void operator()(zip_t* z) const { zip_discard(z); }
};

[[noreturn]] void ZipFehler(const char* was, zip_error_t* fehler)
{
    const QString text = QString::fromUtf8(zip_error_strerror(fehler));
    throw std::runtime_error(
        QStringLiteral("Die Exportdatei konnte nicht erstellt werden (%1: %2).")
            .arg(QString::fromLatin1(was), text)
            .toStdString());
}

// The members in their order, compressed in memory.
QByteArray Paket(const std::vector<QPair<const char*, QByteArray>>& teile)
{
    zip_error_t fehler;
    zip_error_init(&fehler);
    std::unique_ptr<zip_source_t, ZipQuelleFrei> puffer(
        zip_source_buffer_create(nullptr, 0, 0, &fehler));
    if (!puffer)
        ZipFehler("Puffer", &fehler);
    // The archive's close frees a source it owns; the buffer is read after it.
    zip_source_keep(puffer.get());
    std::unique_ptr<zip_t, ZipVerwerfen> archiv(
        zip_open_from_source(puffer.get(), ZIP_TRUNCATE, &fehler));
    if (!archiv) {
        zip_source_free(puffer.get());
        ZipFehler("Archiv", &fehler);
    }
    for (const auto& [name, inhalt] : teile) {
        zip_source_t* q =
            zip_source_buffer(archiv.get(), inhalt.constData(), zip_uint64_t(inhalt.size()), 0);
        if (!q)
            ZipFehler(name, zip_get_error(archiv.get()));
        const zip_int64_t index = zip_file_add(archiv.get(), name, q, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(q);
            ZipFehler(name, zip_get_error(archiv.get()));
        }
        // A fast level: office files of a list are small once compressed either way.
        if (zip_set_file_compression(archiv.get(), zip_uint64_t(index), ZIP_CM_DEFLATE, 1) != 0)
            ZipFehler(name, zip_get_error(archiv.get()));
    }
    if (zip_close(archiv.get()) != 0)
        ZipFehler("Schliessen", zip_get_error(archiv.get()));
    archiv.release();
    if (zip_source_open(puffer.get()) != 0)
        ZipFehler("Lesen", zip_source_error(puffer.get()));
    QByteArray bytes;
    char block[65536];
    for (;;) {
        const zip_int64_t n = zip_source_read(puffer.get(), block, sizeof block);
        if (n < 0) {
            zip_source_close(puffer.get());
            ZipFehler("Lesen", zip_source_error(puffer.get()));
        }
        if (n == 0)
            break;
        bytes.append(block, qsizetype(n));
    }
    zip_source_close(puffer.get());
    return bytes;
}

const char XmlKopf[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// ---------------------------------------------------------------- Excel (xlsx)

QString SpaltenBuchstaben(int spalte)
{
    QString s;
    for (int n = spalte + 1; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

enum XlsxStil { StilNormal = 0, StilFett = 1, StilDatum = 2, StilZeit = 3, StilDatumZeit = 4 };

double Seriell(const QDate& d)
{
    return double(QDate(1899, 12, 30).daysTo(d));
}

double Tagesanteil(const QTime& t)
{
    return t.msecsSinceStartOfDay() / 86400000.0;
}

void XlsxText(QString& aus, const QString& ref, const QString& text, int stil)
{
    aus += QLatin1String("<c r=\"") + ref + QLatin1Char('"');
    if (stil)
        aus += QLatin1String(" s=\"") + QString::number(stil) + QLatin1Char('"');
    aus += QLatin1String(" t=\"inlineStr\"><is><t xml:space=\"preserve\">");
    XmlText(aus, text);
    aus += QLatin1String("</t></is></c>");
}

void XlsxZahl(QString& aus, const QString& ref, double wert, int stil)
{
    aus += QLatin1String("<c r=\"") + ref + QLatin1Char('"');
    if (stil)
        aus += QLatin1String(" s=\"") + QString::number(stil) + QLatin1Char('"');
    aus += QLatin1String("><v>") + QString::number(wert, 'g', 17) + QLatin1String("</v></c>");
}

void XlsxZelle(QString& aus, const QString& ref, const Spalte& spalte, const QVariant& wert)
{
    switch (spalte.typ) {
        case Typ::Ganzzahl:
            aus += QLatin1String("<c r=\"") + ref + QLatin1String("\"><v>") +
                   QString::number(wert.toLongLong()) + QLatin1String("</v></c>");
            return;
        case Typ::Zahl:
            XlsxZahl(aus, ref, wert.toDouble(), StilNormal);
            return;
        case Typ::Datum:
            XlsxZahl(aus, ref, Seriell(wert.toDate()), StilDatum);
            return;
        case Typ::Zeit:
            XlsxZahl(aus, ref, Tagesanteil(wert.toTime()), StilZeit);
            return;
        case Typ::DatumZeit: {
            const QDateTime dt = wert.toDateTime();
            XlsxZahl(aus, ref, Seriell(dt.date()) + Tagesanteil(dt.time()), StilDatumZeit);
            return;
        }
        default:
            XlsxText(aus, ref, ZellText(spalte, wert), StilNormal);
    }
}

QByteArray Xlsx(const Tabelle& t, const Optionen& o)
{
    const int n = int(t.spalten.size());
    std::vector<QString> buchstaben(std::size_t(std::max(n, 1)));
    for (int s = 0; s < n; ++s)
        buchstaben[std::size_t(s)] = SpaltenBuchstaben(s);
    QString blatt;
    blatt.reserve(t.Zeilen() * n * 40 + 2048);
    blatt += QLatin1String(XmlKopf);
    blatt += QLatin1String(
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
    if (n > 0)
        blatt += QStringLiteral(
                     "<cols><col min=\"1\" max=\"%1\" width=\"20\" customWidth=\"1\"/></cols>")
                     .arg(n);
    blatt += QLatin1String("<sheetData>");
    int zeile = 0;
    const auto zeileBeginnen = [&] {
        ++zeile;
        blatt += QLatin1String("<row r=\"") + QString::number(zeile) + QLatin1String("\">");
    };
    if (MitKopf(t, o)) {
        zeileBeginnen();
        XlsxText(blatt, QStringLiteral("A%1").arg(zeile), t.kopf, StilFett);
        blatt += QLatin1String("</row>");
    }
    if (MitDatum(t, o)) {
        zeileBeginnen();
        XlsxText(blatt, QStringLiteral("A%1").arg(zeile), ErstelltText(t), StilNormal);
        blatt += QLatin1String("</row>");
    }
    if (zeile > 0)
        ++zeile;
    if (o.kopfzeile) {
        zeileBeginnen();
        for (int s = 0; s < n; ++s)
            XlsxText(blatt, buchstaben[std::size_t(s)] + QString::number(zeile),
                     t.spalten[std::size_t(s)].titel, StilFett);
        blatt += QLatin1String("</row>");
    }
    for (int z = 0; z < t.Zeilen(); ++z) {
        zeileBeginnen();
        const QString nummer = QString::number(zeile);
        for (int s = 0; s < n; ++s) {
            const QVariant& wert = t.Wert(z, s);
            if (!wert.isValid() || wert.isNull())
                continue;
            XlsxZelle(blatt, buchstaben[std::size_t(s)] + nummer, t.spalten[std::size_t(s)], wert);
        }
        blatt += QLatin1String("</row>");
    }
    blatt += QLatin1String(
        "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
        "header=\"0.3\" footer=\"0.3\"/><headerFooter><oddFooter>&amp;C&amp;P</oddFooter>"
        "</headerFooter></worksheet>");

    const QByteArray typen =
        QByteArray(XmlKopf) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/"
        ">"
        "<Override PartName=\"/xl/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
        "</Types>";
    const QByteArray rels =
        QByteArray(XmlKopf) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"xl/workbook.xml\"/>"
        "</Relationships>";
    const QByteArray mappe =
        QByteArray(XmlKopf) +
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets><sheet name=\"Liste\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    const QByteArray mappeRels =
        QByteArray(XmlKopf) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
        "Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
        "Target=\"styles.xml\"/>"
        "</Relationships>";
    // Arial at 13 pixels: 10 points.
    const QByteArray stile =
        QByteArray(XmlKopf) +
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<numFmts count=\"3\">"
        "<numFmt numFmtId=\"164\" formatCode=\"dd\\.mm\\.yyyy\"/>"
        "<numFmt numFmtId=\"165\" formatCode=\"hh:mm\"/>"
        "<numFmt numFmtId=\"166\" formatCode=\"hh:mm\\ dd\\.mm\\.yyyy\"/>"
        "</numFmts>"
        "<fonts count=\"2\"><font><sz val=\"10\"/><name val=\"Arial\"/></font>"
        "<font><b/><sz val=\"10\"/><name val=\"Arial\"/></font></fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
        "borderId=\"0\"/></cellStyleXfs>"
        "<cellXfs count=\"5\">"
        "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
        "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
        "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
        "applyNumberFormat=\"1\"/>"
        "<xf numFmtId=\"165\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
        "applyNumberFormat=\"1\"/>"
        "<xf numFmtId=\"166\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
        "applyNumberFormat=\"1\"/>"
        "</cellXfs>"
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
        "builtinId=\"0\"/></cellStyles>"
        "</styleSheet>";
    return Paket({{"[Content_Types].xml", typen},
                  {"_rels/.rels", rels},
                  {"xl/workbook.xml", mappe},
                  {"xl/_rels/workbook.xml.rels", mappeRels},
                  {"xl/styles.xml", stile},
                  {"xl/worksheets/sheet1.xml", blatt.toUtf8()}});
}

// ---------------------------------------------------------------- Word (docx)

// A run in the document's default font (Arial, 9 points, see the styles part); eigenschaften
// are the run properties that differ from it.
void DocxLauf(QString& aus, const QString& text, QLatin1String eigenschaften)
{
    aus += QLatin1String("<w:r>");
    aus += eigenschaften;
    qsizetype anfang = 0;
    const auto ausgeben = [&](qsizetype ende) {
        aus += QLatin1String("<w:t xml:space=\"preserve\">");
        XmlText(aus, text.mid(anfang, ende - anfang));
        aus += QLatin1String("</w:t>");
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        ausgeben(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        aus += QLatin1String("<w:br/>");
        anfang = i + 1;
    }
    ausgeben(text.size());
    aus += QLatin1String("</w:r>");
}

void DocxAbsatz(QString& aus, const QString& text, QLatin1String eigenschaften, bool rechts = false)
{
    aus += rechts ? QLatin1String("<w:p><w:pPr><w:jc w:val=\"right\"/></w:pPr>")
                  : QLatin1String("<w:p>");
    if (!text.isEmpty())
        DocxLauf(aus, text, eigenschaften);
    aus += QLatin1String("</w:p>");
}

const QLatin1String Normal("");
const QLatin1String Fett("<w:rPr><w:b/></w:rPr>");
const QLatin1String Ueberschrift("<w:rPr><w:b/><w:sz w:val=\"28\"/></w:rPr>");

QByteArray Docx(const Tabelle& t, const Optionen& o)
{
    const int n = int(t.spalten.size());
    // A4 landscape, margins of 1 cm; the table fills the width between them.
    const int breite = 16838 - 2 * 567;
    const int spaltenbreite = n > 0 ? breite / n : breite;
    QString dok;
    dok.reserve(t.Zeilen() * n * 200 + 4096);
    dok += QLatin1String(XmlKopf);
    dok += QLatin1String(
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:body>");
    if (MitKopf(t, o))
        DocxAbsatz(dok, t.kopf, Ueberschrift);
    if (MitDatum(t, o))
        DocxAbsatz(dok, ErstelltText(t), Normal);
    if (n > 0) {
        dok += QLatin1String(
            "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblBorders>"
            "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"808080\"/>"
            "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"808080\"/>"
            "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"808080\"/>"
            "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"808080\"/>"
            "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"808080\"/>"
            "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"808080\"/>"
            "</w:tblBorders></w:tblPr><w:tblGrid>");
        const QString gitter = QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(spaltenbreite);
        for (int s = 0; s < n; ++s)
            dok += gitter;
        dok += QLatin1String("</w:tblGrid>");
        const QLatin1String zelleAnfang("<w:tc>");
        if (o.kopfzeile) {
            // Repeated at the top of every page.
            dok += QLatin1String("<w:tr><w:trPr><w:tblHeader/></w:trPr>");
            for (const Spalte& s : t.spalten) {
                dok += zelleAnfang;
                DocxAbsatz(dok, s.titel, Fett);
                dok += QLatin1String("</w:tc>");
            }
            dok += QLatin1String("</w:tr>");
        }
        for (int z = 0; z < t.Zeilen(); ++z) {
            dok += QLatin1String("<w:tr>");
            for (int s = 0; s < n; ++s) {
                const Spalte& spalte = t.spalten[std::size_t(s)];
                dok += zelleAnfang;
                DocxAbsatz(dok, ZellText(spalte, t.Wert(z, s)), Normal,
                           o.ausrichtung && Rechtsbuendig(spalte));
                dok += QLatin1String("</w:tc>");
            }
            dok += QLatin1String("</w:tr>");
        }
        dok += QLatin1String("</w:tbl><w:p/>");
    }
    dok += QLatin1String(
        "<w:sectPr><w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>"
        "<w:pgMar w:top=\"567\" w:right=\"567\" w:bottom=\"567\" w:left=\"567\" w:header=\"284\" "
        "w:footer=\"284\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>");

    const QByteArray typen =
        QByteArray(XmlKopf) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
        "<Override PartName=\"/word/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/"
        ">"
        "</Types>";
    const QByteArray rels =
        QByteArray(XmlKopf) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"word/document.xml\"/>"
        "</Relationships>";
    const QByteArray dokRels =
        QByteArray(XmlKopf) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
        "Target=\"styles.xml\"/>"
        "</Relationships>";
    const QByteArray stile =
        QByteArray(XmlKopf) +
        "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:docDefaults><w:rPrDefault><w:rPr>"
        "<w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\" w:cs=\"Arial\"/><w:sz w:val=\"18\"/>"
        "</w:rPr></w:rPrDefault></w:docDefaults></w:styles>";
    return Paket({{"[Content_Types].xml", typen},
                  {"_rels/.rels", rels},
                  {"word/_rels/document.xml.rels", dokRels},
                  {"word/styles.xml", stile},
                  {"word/document.xml", dok.toUtf8()}});
}

}  // namespace

const QList<Format>& AlleFormate()
{
    static const QList<Format> alle{
        Format::CSV, Format::Zwischenablage, Format::Excel, Format::HTML,
        Format::RTF, Format::TabText,        Format::Text,  Format::Word};
    return alle;
}

QString Formatname(Format format)
{
    switch (format) {
        case Format::CSV:
            return QStringLiteral("CSV (Komma-getrennte Datei)");
        case Format::Zwischenablage:
            return QStringLiteral("Zwischenablage");
        case Format::Excel:
            return QStringLiteral("Excel Dateien");
        case Format::HTML:
            return QStringLiteral("HTML Dokument");
        case Format::RTF:
            return QStringLiteral("Rich Text Format");
        case Format::TabText:
            return QStringLiteral("Text (Tabulator getrennt)");
        case Format::Text:
            return QStringLiteral("Text Dateien");
        case Format::Word:
            return QStringLiteral("Word Dokumente");
    }
    return {};
}

QString Dateiendung(Format format)
{
    switch (format) {
        case Format::CSV:
            return QStringLiteral("csv");
        case Format::Zwischenablage:
            return {};
        case Format::Excel:
            return QStringLiteral("xlsx");
        case Format::HTML:
            return QStringLiteral("html");
        case Format::RTF:
            return QStringLiteral("rtf");
        case Format::TabText:
            return QStringLiteral("tsv");
        case Format::Text:
            return QStringLiteral("txt");
        case Format::Word:
            return QStringLiteral("docx");
    }
    return {};
}

QString Dateifilter(Format format)
{
    const QString endung = Dateiendung(format);
    if (endung.isEmpty())
        return {};
    QString muster = QStringLiteral("*.") + endung;
    if (format == Format::HTML)
        muster += QStringLiteral(" *.htm");
    return Formatname(format) + QStringLiteral(" (") + muster + QLatin1Char(')');
}

bool Rechtsbuendig(const Spalte& spalte)
{
    return spalte.typ == Typ::Ganzzahl || spalte.typ == Typ::Zahl;
}

QString ZellText(const Spalte& spalte, const QVariant& wert)
{
    if (!wert.isValid() || wert.isNull())
        return {};
    switch (spalte.typ) {
        case Typ::Datum:
            return wert.toDate().toString(DatumFormat);
        case Typ::Zeit:
            return wert.toTime().toString(ZeitFormat);
        case Typ::DatumZeit:
            return wert.toDateTime().toString(DatumZeitFormat);
        case Typ::Wahrheitswert:
            return wert.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
        case Typ::Ganzzahl:
            return db::Field::Format(db::Value(wert), db::FieldType::BigInt, spalte.displayFormat);
        case Typ::Zahl:
            return db::Field::Format(db::Value(wert), db::FieldType::Double, spalte.displayFormat);
        case Typ::Text:
            return wert.toString();
    }
    return wert.toString();
}

QStringList Spaltentitel(const QStringList& datenfelder,
                         const QList<QPair<QString, QString>>& layoutFelder)
{
    QStringList titel;
    titel.reserve(datenfelder.size());
    for (const QString& feld : datenfelder) {
        QString gefunden = feld;
        for (const auto& [token, text] : layoutFelder) {
            QString name = token;
            const qsizetype punkt = name.indexOf(u'.');
            if (punkt >= 0)
                name.remove(punkt, 1);
            if (name == feld) {
                gefunden = text;
                break;
            }
        }
        titel << gefunden;
    }
    return titel;
}

QByteArray Schreiben(Format format, const Tabelle& tabelle, const Optionen& optionen)
{
    switch (format) {
        case Format::CSV:
            return Getrennt(tabelle, optionen, u',', true);
        case Format::TabText:
            return Getrennt(tabelle, optionen, u'\t', true);
        case Format::Zwischenablage:
            return Getrennt(tabelle, optionen, u'\t', false);
        case Format::Text:
            return Klartext(tabelle, optionen);
        case Format::HTML:
            return Html(tabelle, optionen);
        case Format::RTF:
            return Rtf(tabelle, optionen);
        case Format::Excel:
            return Xlsx(tabelle, optionen);
        case Format::Word:
            return Docx(tabelle, optionen);
    }
    throw std::logic_error("unbekanntes Exportformat");
}

}  // namespace ListenExport
