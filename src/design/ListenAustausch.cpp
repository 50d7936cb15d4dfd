#include "ListenAustausch.h"

#include <Database.h>
#include <Query.h>
#include <Transaction.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <array>
#include <climits>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void Fehler(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

const QString Kommentar = QStringLiteral(" Listen Austauschformat für ZR Bovantis ");
// Design files are a few kilobytes; anything near this is no design.
constexpr qint64 HoechsteDateigroesse = 16 * 1024 * 1024;
// The format nests four deep; a deeper file is no design and must not exhaust the stack.
constexpr int HoechsteTiefe = 16;

// The horizontal lines of the print header: element, flag column, column prefix.
struct HorizontaleLinie {
    const char* element;
    const char* spalte;
};
const std::array<HorizontaleLinie, 4> HorizontaleLinien = {{
    {"LinieUeberTitel", "LINIE_UEBER_TITEL"},
    {"LinieUnterTitel", "LINIE_UNTER_TITEL"},
    {"LinieZwischen", "LINIE_ZWISCHEN"},
    {"LinieUnten", "LINIE_UNTEN"},
}};

const QStringList JaNein{QStringLiteral("T"), QStringLiteral("F")};
const QStringList Ausrichtungen{QStringLiteral("L"), QStringLiteral("R"), QStringLiteral("C")};
const QStringList Linienarten{QStringLiteral("S"), QStringLiteral("D"), QStringLiteral("P"),
                              QStringLiteral("DP"), QStringLiteral("DPP")};

// ---------------------------------------------------------------- writing

class Schreiber {
public:
    explicit Schreiber(QXmlStreamWriter& x) : x_(x) {}

    void Attribut(const char* name, const db::Value& wert)
    {
        x_.writeAttribute(QLatin1String(name), wert.AsString());
    }
    // Integers always written: a null column gives "0".
    void AttributInt(const char* name, const db::Value& wert)
    {
        x_.writeAttribute(QLatin1String(name), QString::number(wert.AsInteger()));
    }
    void Element(const char* name, const db::Value& wert)
    {
        x_.writeTextElement(QLatin1String(name), wert.AsString());
    }
    void ElementInt(const char* name, const db::Value& wert)
    {
        x_.writeTextElement(QLatin1String(name), QString::number(wert.AsInteger()));
    }

private:
    QXmlStreamWriter& x_;
};

// ---------------------------------------------------------------- the file as a tree

struct Knoten {
    QString name;
    QXmlStreamAttributes attribute;
    QString text;  // the element's own text nodes, in document order
    std::vector<Knoten> kinder;

    const Knoten* Kind(const QString& n) const
    {
        for (const Knoten& k : kinder)
            if (k.name == n)
                return &k;
        return nullptr;
    }
};

void Einlesen(QXmlStreamReader& x, Knoten& knoten, int tiefe)
{
    if (tiefe > HoechsteTiefe)
        Fehler(QStringLiteral("Fehlerhafte Datei"));
    knoten.name = x.name().toString();
    knoten.attribute = x.attributes();
    while (!x.atEnd()) {
        switch (x.readNext()) {
            case QXmlStreamReader::StartElement:
                knoten.kinder.emplace_back();
                Einlesen(x, knoten.kinder.back(), tiefe + 1);
                break;
            case QXmlStreamReader::Characters:
                knoten.text += x.text();
                break;
            case QXmlStreamReader::EndElement:
                return;
            case QXmlStreamReader::EntityReference:
                Fehler(QStringLiteral("Fehlerhafte Datei"));
            default:
                break;
        }
    }
}

Knoten Dokument(const QString& text)
{
    QXmlStreamReader x(text);
    Knoten wurzel;
    bool gefunden = false;
    while (!x.atEnd()) {
        const QXmlStreamReader::TokenType t = x.readNext();
        // Entities declared by the file itself are no part of the format.
        if (t == QXmlStreamReader::DTD)
            Fehler(QStringLiteral("Fehlerhafte Datei"));
        if (t == QXmlStreamReader::StartElement) {
            Einlesen(x, wurzel, 1);
            gefunden = true;
        }
    }
    if (x.hasError())
        Fehler(QStringLiteral("Die Datei ist keine gültige XML-Datei (Zeile %1, Spalte %2): %3")
                   .arg(x.lineNumber())
                   .arg(x.columnNumber())
                   .arg(x.errorString()));
    if (!gefunden)
        Fehler(QStringLiteral("Fehlerhafte Datei"));
    return wurzel;
}

// ---------------------------------------------------------------- reading values

// A value from the file and where it stood, for the messages.
struct Wert {
    QVariant wert;
    QString herkunft;
};
using Zeile = std::vector<std::pair<QString, Wert>>;

QString AttributHerkunft(const QString& attribut, const Knoten& k)
{
    return QStringLiteral("Attribut \"%1\" des Knotens \"%2\"").arg(attribut, k.name);
}

QString KnotenHerkunft(const QString& name)
{
    return QStringLiteral("Knoten \"%1\"").arg(name);
}

// The database speaks ISO 8859-1: a character beyond it cannot be stored.
QString Latin1(const QString& text, const QString& herkunft)
{
    for (const QChar c : text)
        if (c.unicode() > 0xFF)
            Fehler(QStringLiteral("Der Text \"%1\" (%2) enthält das Zeichen \"%3\", das die "
                                  "Datenbank nicht speichern kann.")
                       .arg(text, herkunft, QString(c)));
    return text;
}

const Knoten& KnotenSuchen(const Knoten& eltern, const char* name)
{
    const Knoten* k = eltern.Kind(QLatin1String(name));
    if (!k)
        Fehler(QStringLiteral("Der Knoten \"%1\" wurde nicht gefunden").arg(QLatin1String(name)));
    return *k;
}

Wert KnotenText(const Knoten& eltern, const char* name)
{
    const Knoten& k = KnotenSuchen(eltern, name);
    return {Latin1(k.text, KnotenHerkunft(k.name)), KnotenHerkunft(k.name)};
}

std::optional<Wert> AttributLesen(const Knoten& k, const char* name, bool erforderlich)
{
    const QString n = QLatin1String(name);
    if (!k.attribute.hasAttribute(n)) {
        if (erforderlich)
            Fehler(QStringLiteral("Das Attribut \"%1\" des Knotens \"%2\" wurde nicht gefunden")
                       .arg(n, k.name));
        return std::nullopt;
    }
    const QString herkunft = AttributHerkunft(n, k);
    return Wert{Latin1(k.attribute.value(n).toString(), herkunft), herkunft};
}

Wert Attribut(const Knoten& k, const char* name)
{
    return *AttributLesen(k, name, true);
}

int Ganzzahl(const Wert& w, int von, int bis)
{
    const QString text = w.wert.toString();
    static const QRegularExpression dezimal(QStringLiteral("^\\s*[-+]?[0-9]+\\s*$"));
    bool ok = dezimal.match(text).hasMatch();
    const int zahl = ok ? text.trimmed().toInt(&ok, 10) : 0;
    if (!ok)
        Fehler(QStringLiteral("\"%1\" ist keine gültige ganze Zahl (%2).").arg(text, w.herkunft));
    if (zahl < von || zahl > bis)
        Fehler(QStringLiteral("Der Wert %1 (%2) liegt nicht zwischen %3 und %4.")
                   .arg(zahl)
                   .arg(w.herkunft)
                   .arg(von)
                   .arg(bis));
    return zahl;
}

Wert Zahl(const Wert& w, int von, int bis)
{
    return {Ganzzahl(w, von, bis), w.herkunft};
}

// A code of one of the design's code tables; empty only where the column may stay unset.
Wert Code(const Wert& w, const QStringList& codes, bool leerErlaubt = false)
{
    const QString text = w.wert.toString();
    if (!codes.contains(text) && !(leerErlaubt && text.isEmpty()))
        Fehler(QStringLiteral("Der Wert \"%1\" (%2) ist nicht zulässig.").arg(text, w.herkunft));
    return w;
}

// A result column of the list, by name, or "-" for none.
Wert Datumsspalte(const Wert& w)
{
    static const QRegularExpression name(QStringLiteral("^(-|[A-Za-z][A-Za-z0-9_$]{0,30})$"));
    if (!name.match(w.wert.toString()).hasMatch())
        Fehler(QStringLiteral("Der Wert \"%1\" (%2) ist nicht zulässig.")
                   .arg(w.wert.toString(), w.herkunft));
    return w;
}

// What a file holds, checked against the format, before anything is stored.
struct Design {
    bool intern = false;
    QString bezeichnung;
    QStringList felder;
    Zeile liste;
    std::vector<Zeile> bildschirm;
    std::vector<Zeile> druck;
    std::vector<Zeile> linien;
};

void QuellenLesen(const Knoten& daten, Design& d)
{
    std::array<std::optional<int>, 3> quellen;
    for (const Knoten& k : daten.kinder) {
        if (k.name != QLatin1String("Quelle"))
            continue;
        const int nr = Ganzzahl(Attribut(k, "Nr"), INT_MIN, INT_MAX);
        const int id = Ganzzahl(Attribut(k, "Id"), INT_MIN, INT_MAX);
        if (nr >= 1 && nr <= 3 && !quellen[std::size_t(nr - 1)])
            quellen[std::size_t(nr - 1)] = id;
    }
    // A later source stands only beside the earlier ones, as the designer sets them.
    if ((quellen[1] && !quellen[0]) || (quellen[2] && !quellen[1]))
        Fehler(QStringLiteral("Die Datenquellen der Liste in der Datei sind unvollständig."));
    for (int n = 0; n < 3; ++n)
        d.liste.push_back(
            {QStringLiteral("QUELLE%1").arg(n + 1),
             {quellen[std::size_t(n)] ? QVariant(*quellen[std::size_t(n)]) : QVariant(),
              KnotenHerkunft(QStringLiteral("Quelle"))}});

    // Each pair takes the first join of its two sources that no earlier pair took: with a
    // source repeated (a self-join) the writer's order gives every pair its own join back.
    struct Verbindung {
        int quelleA, quelleB, feldA, feldB;
        bool vergeben = false;
    };
    std::vector<Verbindung> verbindungen;
    for (const Knoten& k : daten.kinder)
        if (k.name == QLatin1String("Feld"))
            verbindungen.push_back({Ganzzahl(Attribut(k, "QuelleA"), INT_MIN, INT_MAX),
                                    Ganzzahl(Attribut(k, "QuelleB"), INT_MIN, INT_MAX),
                                    Ganzzahl(Attribut(k, "FeldA"), INT_MIN, INT_MAX),
                                    Ganzzahl(Attribut(k, "FeldB"), INT_MIN, INT_MAX)});
    const auto paar = [&](int a, int b, const char* spalteA, const char* spalteB) {
        QVariant feldA, feldB;
        for (Verbindung& v : verbindungen)
            if (!v.vergeben && v.quelleA == a && v.quelleB == b) {
                v.vergeben = true;
                feldA = v.feldA;
                feldB = v.feldB;
                break;
            }
        const QString herkunft = KnotenHerkunft(QStringLiteral("Feld"));
        d.liste.push_back({QLatin1String(spalteA), {feldA, herkunft}});
        d.liste.push_back({QLatin1String(spalteB), {feldB, herkunft}});
    };
    paar(quellen[0].value_or(0), quellen[1].value_or(0), "FELD12_1", "FELD12_2");
    paar(quellen[1].value_or(0), quellen[2].value_or(0), "FELD23_2", "FELD23_3");
}

Design DesignLesen(const Knoten& wurzel, const QString& listenTyp)
{
    if (wurzel.name != QLatin1String("Liste") || wurzel.kinder.empty())
        Fehler(QStringLiteral("Fehlerhafte Datei"));
    const Wert version = KnotenText(wurzel, "Version");
    bool ok = false;
    const int v = version.wert.toString().trimmed().toInt(&ok, 10);
    if (!ok || v < 1)
        Fehler(QStringLiteral("Version der Datei ist fehlerhaft oder nicht gültig"));

    Design d;
    const QString intern = Attribut(wurzel, "ListeIntern").wert.toString();
    if (!JaNein.contains(intern) || (intern == QLatin1String("T")) == listenTyp.isEmpty())
        Fehler(QStringLiteral("Dies ist keine gültige Datei"));
    d.intern = intern == QLatin1String("T");
    if (d.intern) {
        const Knoten* bedingungen =
            KnotenSuchen(wurzel, "Daten").Kind(QStringLiteral("Bedingungen"));
        if (!bedingungen || bedingungen->text != listenTyp)
            Fehler(QStringLiteral("Die Datei passt nicht zur Listenart"));
    }
    const auto setzen = [&d](const char* spalte, Wert w) {
        d.liste.push_back({QLatin1String(spalte), std::move(w)});
    };

    const Knoten& daten = KnotenSuchen(wurzel, "Daten");
    setzen("DIST", Code(Attribut(daten, "Distinct"), JaNein));
    QuellenLesen(daten, d);
    const Wert felder = KnotenText(daten, "Felder");
    d.felder = felder.wert.toString().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    setzen("FELDER", felder);
    for (const auto& [element, spalte] :
         {std::pair{"Bedingungen", "BEDINGUNGEN"}, std::pair{"Sortierung", "SORTIERUNG"}})
        if (const Knoten* k = daten.Kind(QLatin1String(element)))
            setzen(spalte, {Latin1(k->text, KnotenHerkunft(k->name)), KnotenHerkunft(k->name)});
    // The statements come from the database, never from a file.

    const Knoten& verwaltung = KnotenSuchen(wurzel, "Verwaltung");
    d.bezeichnung = KnotenText(verwaltung, "Bezeichnung").wert.toString();
    if (d.bezeichnung.trimmed().isEmpty())
        Fehler(QStringLiteral("Die Liste in der Datei hat keine Bezeichnung."));
    if (d.bezeichnung.size() > TListenDesignImExport::BezeichnungLaenge)
        Fehler(QStringLiteral("Die Bezeichnung \"%1\" ist länger als %2 Zeichen.")
                   .arg(d.bezeichnung)
                   .arg(TListenDesignImExport::BezeichnungLaenge));
    setzen("TITEL", KnotenText(verwaltung, "Titel"));
    setzen("MENUE", Code(KnotenText(verwaltung, "Menue"), JaNein));
    if (verwaltung.Kind(QStringLiteral("Symbol")))
        setzen("SYMBOL", Zahl(KnotenText(verwaltung, "Symbol"), 0, 999));

    const Knoten& druck = KnotenSuchen(wurzel, "Druck");
    const Knoten& global = KnotenSuchen(druck, "Global");
    setzen("SCHRIFT", Attribut(global, "Schrift"));
    setzen("AUSRICHTUNG", Code(Attribut(global, "Ausrichtung"), Ausrichtungen, true));
    setzen("MULTI_LINE_SHORT_DRUCK", Code(Attribut(global, "MultiLineShort"), JaNein));
    setzen("STAND", Code(KnotenText(global, "Stand"),
                         {QStringLiteral("N"), QStringLiteral("L"), QStringLiteral("R")}, true));
    setzen("PAPIER_AUSRICHTUNG", Code(KnotenText(global, "PapierAusrichtung"),
                                      {QStringLiteral("H"), QStringLiteral("Q")}, true));
    for (const auto& [element, spalte] :
         {std::pair{"RandLinks", "RAND_LINKS"}, std::pair{"RandRechts", "RAND_RECHTS"},
          std::pair{"RandOben", "RAND_OBEN"}, std::pair{"RandUnten", "RAND_UNTEN"}})
        setzen(spalte, Zahl(KnotenText(global, element), 0, 999));
    setzen("DATUM_VERGANGEN_FETT", Datumsspalte(KnotenText(global, "DatumVergangenFett")));
    for (const HorizontaleLinie& l : HorizontaleLinien) {
        const QString spalte = QLatin1String(l.spalte);
        const Knoten* k = global.Kind(QLatin1String(l.element));
        const QString herkunft = KnotenHerkunft(QLatin1String(l.element));
        d.liste.push_back({spalte, {k ? QStringLiteral("T") : QStringLiteral("F"), herkunft}});
        if (!k)
            continue;
        d.liste.push_back(
            {spalte + QStringLiteral("_ART"), Code(Attribut(*k, "Art"), Linienarten)});
        d.liste.push_back(
            {spalte + QStringLiteral("_BREITE"), Zahl(Attribut(*k, "Breite"), 0, 200)});
        if (spalte == QLatin1String("LINIE_ZWISCHEN"))
            setzen("LINIE_ZWISCHEN_ZEILEN", Zahl(Attribut(*k, "Zeilen"), 1, 99));
    }

    const Knoten& bildschirm = KnotenSuchen(wurzel, "Bildschirm");
    setzen("MULTI_LINE_SHORT_BILDSCHIRM", Code(Attribut(bildschirm, "MultiLineShort"), JaNein));

    // A line of 0 is how the format writes an unset line; no field stands on line 0.
    const auto zeile = [](const Knoten& k) {
        Wert w = Zahl(Attribut(k, "Zeile"), 0, 99);
        if (w.wert.toInt() == 0)
            w.wert = QVariant();
        return w;
    };
    for (const Knoten& k : bildschirm.kinder) {
        if (k.name != QLatin1String("BildschirmFeld"))
            continue;
        Zeile z{{QStringLiteral("FELD"), Attribut(k, "Feld")}};
        if (const auto breite = AttributLesen(k, "Breite", false))
            z.push_back({QStringLiteral("BREITE"), Zahl(*breite, 0, 999)});
        z.push_back({QStringLiteral("AUTOBREITE"), Code(Attribut(k, "AutoBreite"), JaNein)});
        z.push_back({QStringLiteral("TITEL"), Attribut(k, "Titel")});
        z.push_back(
            {QStringLiteral("AUSRICHTUNG"), Code(Attribut(k, "Ausrichtung"), Ausrichtungen, true)});
        z.push_back({QStringLiteral("SICHTBAR"), Code(Attribut(k, "Sichtbar"), JaNein)});
        z.push_back({QStringLiteral("ZEILE"), zeile(k)});
        z.push_back({QStringLiteral("UEBERSCHRIFT"), Code(Attribut(k, "Ueberschrift"), JaNein)});
        z.push_back({QStringLiteral("DISPLAY_FORMAT"), Attribut(k, "DisplayFormat")});
        z.push_back(
            {QStringLiteral("WERT"), AttributLesen(k, "Wert", false)
                                         .value_or(Wert{QString(), AttributHerkunft("Wert", k)})});
        d.bildschirm.push_back(std::move(z));
    }
    for (const Knoten& k : druck.kinder) {
        if (k.name == QLatin1String("DruckFeld")) {
            Zeile z{{QStringLiteral("FELD"), Attribut(k, "Feld")}};
            if (const auto breite = AttributLesen(k, "Breite", false))
                z.push_back({QStringLiteral("BREITE"), Zahl(*breite, 0, 9999)});
            z.push_back({QStringLiteral("TITEL"), Attribut(k, "Titel")});
            z.push_back({QStringLiteral("AUSRICHTUNG"),
                         Code(Attribut(k, "Ausrichtung"), Ausrichtungen, true)});
            z.push_back({QStringLiteral("SICHTBAR"), Code(Attribut(k, "Sichtbar"), JaNein)});
            z.push_back({QStringLiteral("L_POSITION"), Zahl(Attribut(k, "LPosition"), -999, 9999)});
            z.push_back({QStringLiteral("ZEILE"), zeile(k)});
            z.push_back({QStringLiteral("SCHRIFT"), Attribut(k, "Schrift")});
            z.push_back({QStringLiteral("TITEL_SCHRIFT"), Attribut(k, "TitelSchrift")});
            z.push_back(
                {QStringLiteral("ZEILENUMBRUCH"), Code(Attribut(k, "Zeilenumbruch"), JaNein)});
            z.push_back({QStringLiteral("LEERZEILE"), Code(Attribut(k, "Leerzeile"), JaNein)});
            z.push_back(
                {QStringLiteral("SCHRIFTSCHMAL"), Code(Attribut(k, "SchriftSchmal"), JaNein)});
            z.push_back({QStringLiteral("DISPLAY_FORMAT"), Attribut(k, "DisplayFormat")});
            z.push_back({QStringLiteral("WERT"),
                         AttributLesen(k, "Wert", false)
                             .value_or(Wert{QString(), AttributHerkunft("Wert", k)})});
            d.druck.push_back(std::move(z));
        } else if (k.name == QLatin1String("Linie")) {
            d.linien.push_back(
                {{QStringLiteral("BEGINN_TITEL"), Code(Attribut(k, "BeginnTitel"), JaNein)},
                 {QStringLiteral("L_POSITION"), Zahl(Attribut(k, "LPosition"), -999, 9999)},
                 {QStringLiteral("ART"), Code(Attribut(k, "Art"), Linienarten)},
                 {QStringLiteral("BREITE"), Zahl(Attribut(k, "Breite"), 0, 200)}});
        }
    }
    return d;
}

// ---------------------------------------------------------------- storing

// The columns of a table as the database describes them: a text value longer than its column
// is refused with a message, an empty text of a column that may be unset is stored unset.
class Tabelle {
public:
    Tabelle(db::Transaction& tr, const QString& name)
    {
        db::Query q(tr, QStringLiteral("SELECT * FROM ") + name);
        for (int i = 0; i < q.FieldCount(); ++i)
            spalten_.insert(q.Column(i).Name, q.Column(i));
    }

    QVariant Pruefen(const QString& spalte, const Wert& w) const
    {
        const auto it = spalten_.constFind(spalte);
        if (it == spalten_.cend())
            throw std::logic_error("Unbekannte Spalte " + spalte.toStdString());
        if (w.wert.typeId() != QMetaType::QString)
            return w.wert;
        const QString text = w.wert.toString();
        if (text.isEmpty() && it->Nullable)
            return QVariant();
        if ((it->Type == db::FieldType::Char || it->Type == db::FieldType::VarChar) &&
            text.size() > it->Size)
            Fehler(QStringLiteral("Der Text \"%1\" (%2) ist länger als %3 Zeichen.")
                       .arg(text, w.herkunft)
                       .arg(it->Size));
        return text;
    }

private:
    QHash<QString, db::ColumnInfo> spalten_;
};

int NeueID(db::Transaction& tr, bool intern)
{
    db::Query q(tr, intern
                        ? QStringLiteral("SELECT GEN_ID(G_LISTEN_ID_INTERN, -1) FROM RDB$DATABASE")
                        : QStringLiteral("SELECT GEN_ID(G_LISTEN_ID, 1) FROM RDB$DATABASE"));
    q.Open();
    const int id = q.Field(0).AsInteger();
    if (intern ? id >= 0 : id <= 0)
        Fehler(QStringLiteral("Der Zähler der Listen liefert keine gültige Nummer (%1).").arg(id));
    return id;
}

// The layout rows of the new design: a row the database made for a field is updated, a field
// of the design without one gets its row; an element for a field the design does not show is
// passed over.
void LayoutSpeichern(db::Transaction& tr, const QString& tabelle, int liste,
                     const QStringList& felder, const std::vector<Zeile>& zeilen,
                     const std::vector<std::pair<QString, QString>>& neueZeile)
{
    const Tabelle spalten(tr, tabelle);
    QHash<QString, int> ids;
    {
        db::Query q(tr, QStringLiteral("SELECT ID, FELD FROM %1 WHERE LISTE = :LISTE ORDER BY ID")
                            .arg(tabelle));
        q.Param(QStringLiteral("LISTE")).SetInteger(liste);
        for (q.Open(); !q.Eof(); q.Next())
            if (!ids.contains(q.Field(1).AsString()))
                ids.insert(q.Field(1).AsString(), q.Field(0).AsInteger());
    }
    QStringList spaltenNeu{QStringLiteral("LISTE"), QStringLiteral("FELD")};
    QStringList werteNeu{QStringLiteral(":LISTE"), QStringLiteral(":FELD")};
    for (const auto& [spalte, wert] : neueZeile) {
        spaltenNeu << spalte;
        werteNeu << QLatin1Char('\'') + wert + QLatin1Char('\'');
    }
    db::Query einfuegen(tr, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING ID")
                                .arg(tabelle, spaltenNeu.join(QStringLiteral(", ")),
                                     werteNeu.join(QStringLiteral(", "))));
    for (const Zeile& z : zeilen) {
        const QString feld = spalten.Pruefen(z.front().first, z.front().second).toString();
        int id = ids.value(feld, 0);
        if (id == 0) {
            if (!felder.contains(feld))
                continue;
            einfuegen.Param(QStringLiteral("LISTE")).SetInteger(liste);
            einfuegen.Param(QStringLiteral("FELD")).SetString(feld);
            einfuegen.Execute();
            id = einfuegen.Field(0).AsInteger();
            ids.insert(feld, id);
        }
        QStringList setzen;
        for (std::size_t i = 1; i < z.size(); ++i)
            setzen << z[i].first + QStringLiteral(" = :") + z[i].first;
        db::Query aendern(tr, QStringLiteral("UPDATE %1 SET %2 WHERE ID = :ID")
                                  .arg(tabelle, setzen.join(QStringLiteral(", "))));
        for (std::size_t i = 1; i < z.size(); ++i)
            aendern.Param(z[i].first).SetVariant(spalten.Pruefen(z[i].first, z[i].second));
        aendern.Param(QStringLiteral("ID")).SetInteger(id);
        aendern.Execute();
    }
}

// Windows-1252: Latin-1 but for 0x80 to 0x9F; the five unused codes are no text.
bool Cp1252(const QByteArray& inhalt, QString& text)
{
    static constexpr char16_t Mitte[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    text.clear();
    text.reserve(inhalt.size());
    for (const char c : inhalt) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0) {
            if (Mitte[b - 0x80] == 0)
                return false;
            text += QChar(Mitte[b - 0x80]);
        } else {
            text += QChar(b);
        }
    }
    return true;
}

bool Utf8(const QByteArray& inhalt, QString& text)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    text = decoder(inhalt);
    return !decoder.hasError();
}

}  // namespace

TListenDesignImExport::TListenDesignImExport(db::Database& datenbank) : datenbank_(datenbank) {}

QString TListenDesignImExport::EindeutigeBezeichnung(const QString& name,
                                                     const QSet<QString>& vorhanden, int maxLaenge)
{
    if (!vorhanden.contains(name))
        return name;
    for (int k = 2;; ++k) {
        const QString zusatz = QStringLiteral(" (%1)").arg(k);
        const QString kandidat = name.left(maxLaenge - int(zusatz.size())) + zusatz;
        if (!vorhanden.contains(kandidat))
            return kandidat;
    }
}

QString TListenDesignImExport::DateiText(const QByteArray& inhalt)
{
    QString text;
    if (const std::optional<QStringConverter::Encoding> bom =
            QStringConverter::encodingForData(inhalt)) {
        QStringDecoder decoder(*bom, QStringConverter::Flag::Stateless);
        text = decoder(inhalt);
        if (decoder.hasError())
            Fehler(QStringLiteral("Die Datei enthält Zeichen, die nicht gültig kodiert sind."));
        return text;
    }
    static const QRegularExpression deklaration(
        QStringLiteral("^\\s*<\\?xml\\s[^>]*?encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
    const QRegularExpressionMatch m = deklaration.match(QString::fromLatin1(inhalt.left(512)));
    const QString kodierung = m.hasMatch() ? m.captured(1).toLower() : QString();
    if (kodierung.isEmpty()) {
        // Older versions wrote the Windows code page without saying so.
        if (Utf8(inhalt, text) || Cp1252(inhalt, text))
            return text;
        Fehler(QStringLiteral("Die Datei ist weder in UTF-8 noch in Windows-1252 kodiert."));
    }
    if (kodierung == QLatin1String("utf-8") || kodierung == QLatin1String("utf8") ||
        kodierung == QLatin1String("us-ascii")) {
        if (!Utf8(inhalt, text))
            Fehler(
                QStringLiteral("Die Datei enthält Zeichen, die nicht gültig in UTF-8 kodiert "
                               "sind."));
        return text;
    }
    if (kodierung == QLatin1String("windows-1252") || kodierung == QLatin1String("cp1252")) {
        if (!Cp1252(inhalt, text))
            Fehler(
                QStringLiteral("Die Datei enthält Zeichen, die nicht gültig in Windows-1252 "
                               "kodiert sind."));
        return text;
    }
    if (kodierung == QLatin1String("iso-8859-1") || kodierung == QLatin1String("latin1") ||
        kodierung == QLatin1String("iso8859-1") || kodierung == QLatin1String("latin-1"))
        return QString::fromLatin1(inhalt);
    Fehler(QStringLiteral("Die Zeichenkodierung \"%1\" der Datei wird nicht unterstützt.")
               .arg(m.captured(1)));
}

void TListenDesignImExport::ListeExportieren(int listeId, const QString& datei)
{
    QString xml;
    {
        db::Transaction tr(datenbank_, QStringLiteral("TListenDesignImExport"));
        tr.Start();
        db::Query l(tr, QStringLiteral("select * from T_LISTEN where ID = :LISTE"));
        l.Param(QStringLiteral("LISTE")).SetInteger(listeId);
        l.Open();
        if (l.Eof())
            Fehler(QStringLiteral("Die Liste %1 gibt es nicht.").arg(listeId));
        const auto f = [&l](const char* spalte) -> const db::Value& {
            return l.Field(QLatin1String(spalte));
        };

        QXmlStreamWriter x(&xml);
        x.setAutoFormatting(true);
        x.setAutoFormattingIndent(2);
        Schreiber s(x);
        // Written to text, the declaration names the version only.
        x.writeStartDocument();
        x.writeComment(Kommentar);
        x.writeStartElement(QStringLiteral("Liste"));
        x.writeAttribute(QStringLiteral("ListeIntern"),
                         listeId <= 0 ? QStringLiteral("T") : QStringLiteral("F"));
        x.writeTextElement(QStringLiteral("Version"), QStringLiteral("1"));

        x.writeStartElement(QStringLiteral("Daten"));
        s.Attribut("Distinct", f("DIST"));
        for (int n = 1; n <= 3; ++n) {
            const db::Value& quelle = l.Field(QStringLiteral("QUELLE%1").arg(n));
            if (quelle.IsNull())
                continue;
            x.writeStartElement(QStringLiteral("Quelle"));
            x.writeAttribute(QStringLiteral("Nr"), QString::number(n));
            s.AttributInt("Id", quelle);
            x.writeEndElement();
        }
        const auto verbindung = [&](const char* a, const char* b, const char* feldA,
                                    const char* feldB) {
            x.writeStartElement(QStringLiteral("Feld"));
            s.AttributInt("QuelleA", f(a));
            s.AttributInt("QuelleB", f(b));
            s.AttributInt("FeldA", f(feldA));
            s.AttributInt("FeldB", f(feldB));
            x.writeEndElement();
        };
        if (!f("QUELLE2").IsNull())
            verbindung("QUELLE1", "QUELLE2", "FELD12_1", "FELD12_2");
        if (!f("QUELLE3").IsNull())
            verbindung("QUELLE2", "QUELLE3", "FELD23_2", "FELD23_3");
        s.Element("Felder", f("FELDER"));
        if (!f("BEDINGUNGEN").AsString().isEmpty())
            s.Element("Bedingungen", f("BEDINGUNGEN"));
        if (!f("SORTIERUNG").AsString().isEmpty())
            s.Element("Sortierung", f("SORTIERUNG"));
        s.Element("SQL", f("SQL"));
        s.Element("SQL-SW", f("SQL_SW"));
        x.writeEndElement();

        x.writeStartElement(QStringLiteral("Verwaltung"));
        s.Element("Bezeichnung", f("BEZEICHNUNG"));
        s.Element("Titel", f("TITEL"));
        s.Element("Menue", f("MENUE"));
        if (!f("SYMBOL").IsNull())
            s.ElementInt("Symbol", f("SYMBOL"));
        x.writeEndElement();

        x.writeStartElement(QStringLiteral("Bildschirm"));
        s.Attribut("MultiLineShort", f("MULTI_LINE_SHORT_BILDSCHIRM"));
        {
            db::Query b(tr,
                        QStringLiteral(
                            "select * from T_LISTEN_BILDSCHIRM WHERE LISTE = :LISTE ORDER BY ID"));
            b.Param(QStringLiteral("LISTE")).SetInteger(listeId);
            for (b.Open(); !b.Eof(); b.Next()) {
                const auto g = [&b](const char* spalte) -> const db::Value& {
                    return b.Field(QLatin1String(spalte));
                };
                x.writeStartElement(QStringLiteral("BildschirmFeld"));
                s.Attribut("Feld", g("FELD"));
                if (!g("BREITE").IsNull())
                    s.AttributInt("Breite", g("BREITE"));
                s.Attribut("AutoBreite", g("AUTOBREITE"));
                s.Attribut("Titel", g("TITEL"));
                s.Attribut("Ausrichtung", g("AUSRICHTUNG"));
                s.Attribut("Sichtbar", g("SICHTBAR"));
                s.AttributInt("Zeile", g("ZEILE"));
                s.Attribut("Ueberschrift", g("UEBERSCHRIFT"));
                s.Attribut("DisplayFormat", g("DISPLAY_FORMAT"));
                s.Attribut("Wert", g("WERT"));
                x.writeEndElement();
            }
        }
        x.writeEndElement();

        x.writeStartElement(QStringLiteral("Druck"));
        x.writeStartElement(QStringLiteral("Global"));
        s.Attribut("Schrift", f("SCHRIFT"));
        s.Attribut("Ausrichtung", f("AUSRICHTUNG"));
        s.Attribut("MultiLineShort", f("MULTI_LINE_SHORT_DRUCK"));
        s.Element("Stand", f("STAND"));
        s.Element("PapierAusrichtung", f("PAPIER_AUSRICHTUNG"));
        s.ElementInt("RandLinks", f("RAND_LINKS"));
        s.ElementInt("RandRechts", f("RAND_RECHTS"));
        s.ElementInt("RandOben", f("RAND_OBEN"));
        s.ElementInt("RandUnten", f("RAND_UNTEN"));
        s.Element("DatumVergangenFett", f("DATUM_VERGANGEN_FETT"));
        for (const HorizontaleLinie& linie : HorizontaleLinien) {
            const QString spalte = QLatin1String(linie.spalte);
            if (l.Field(spalte).AsString() != QLatin1String("T"))
                continue;
            x.writeStartElement(QLatin1String(linie.element));
            x.writeAttribute(QStringLiteral("Art"),
                             l.Field(spalte + QStringLiteral("_ART")).AsString());
            x.writeAttribute(
                QStringLiteral("Breite"),
                QString::number(l.Field(spalte + QStringLiteral("_BREITE")).AsInteger()));
            if (spalte == QLatin1String("LINIE_ZWISCHEN"))
                s.AttributInt("Zeilen", f("LINIE_ZWISCHEN_ZEILEN"));
            x.writeEndElement();
        }
        x.writeEndElement();
        {
            db::Query d(tr, QStringLiteral(
                                "select * from T_LISTEN_DRUCK WHERE LISTE = :LISTE ORDER BY ID"));
            d.Param(QStringLiteral("LISTE")).SetInteger(listeId);
            for (d.Open(); !d.Eof(); d.Next()) {
                const auto g = [&d](const char* spalte) -> const db::Value& {
                    return d.Field(QLatin1String(spalte));
                };
                x.writeStartElement(QStringLiteral("DruckFeld"));
                s.Attribut("Feld", g("FELD"));
                if (!g("BREITE").IsNull())
                    s.AttributInt("Breite", g("BREITE"));
                s.Attribut("Titel", g("TITEL"));
                s.Attribut("Ausrichtung", g("AUSRICHTUNG"));
                s.Attribut("Sichtbar", g("SICHTBAR"));
                s.AttributInt("LPosition", g("L_POSITION"));
                s.AttributInt("Zeile", g("ZEILE"));
                s.Attribut("Schrift", g("SCHRIFT"));
                s.Attribut("TitelSchrift", g("TITEL_SCHRIFT"));
                s.Attribut("Zeilenumbruch", g("ZEILENUMBRUCH"));
                s.Attribut("Leerzeile", g("LEERZEILE"));
                s.Attribut("SchriftSchmal", g("SCHRIFTSCHMAL"));
                s.Attribut("DisplayFormat", g("DISPLAY_FORMAT"));
                s.Attribut("Wert", g("WERT"));
                x.writeEndElement();
            }
        }
        {
            db::Query li(tr, QStringLiteral(
                                 "select * from T_LISTEN_LINIEN where LISTE = :LISTE ORDER BY ID"));
            li.Param(QStringLiteral("LISTE")).SetInteger(listeId);
            for (li.Open(); !li.Eof(); li.Next()) {
                x.writeStartElement(QStringLiteral("Linie"));
                x.writeAttribute(QStringLiteral("BeginnTitel"),
                                 li.Field(QStringLiteral("BEGINN_TITEL")).AsString());
                x.writeAttribute(
                    QStringLiteral("LPosition"),
                    QString::number(li.Field(QStringLiteral("L_POSITION")).AsInteger()));
                x.writeAttribute(QStringLiteral("Art"), li.Field(QStringLiteral("ART")).AsString());
                x.writeAttribute(QStringLiteral("Breite"),
                                 QString::number(li.Field(QStringLiteral("BREITE")).AsInteger()));
                x.writeEndElement();
            }
        }
        x.writeEndElement();
        x.writeEndDocument();
        l.Close();
        tr.Commit();
    }

    QSaveFile datei_(datei);
    const QByteArray inhalt = xml.toUtf8();
    if (!datei_.open(QIODevice::WriteOnly) || datei_.write(inhalt) != inhalt.size() ||
        !datei_.commit())
        Fehler(QStringLiteral("Konnte den Export nicht durchführen.\r\rFehlermeldung:\r") +
               datei_.errorString());
}

int TListenDesignImExport::ListeImportieren(const QString& datei, const QString& listenTyp)
{
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly))
        Fehler(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                   .arg(datei, f.errorString()));
    if (f.size() > HoechsteDateigroesse)
        Fehler(QStringLiteral("Die Datei \"%1\" ist zu groß für eine Liste.").arg(datei));
    const Design d = DesignLesen(Dokument(DateiText(f.readAll())), listenTyp);

    db::Transaction tr(datenbank_, QStringLiteral("TListenDesignImExport"));
    tr.Start();
    const int id = NeueID(tr, d.intern);
    QSet<QString> namen;
    {
        db::Query q(
            tr, QStringLiteral("select distinct BEZEICHNUNG from T_LISTEN order by BEZEICHNUNG"));
        for (q.Open(); !q.Eof(); q.Next())
            namen.insert(q.Field(0).AsString());
    }

    // What the file does not carry (the statements, the order in the menu, the style of a line
    // that is off) the database sets as for any new design.
    const Tabelle listen(tr, QStringLiteral("T_LISTEN"));
    QStringList spalten{QStringLiteral("ID"), QStringLiteral("BEZEICHNUNG")};
    QVariantList werte{id, EindeutigeBezeichnung(d.bezeichnung, namen)};
    for (const auto& [spalte, wert] : d.liste) {
        spalten << spalte;
        werte << listen.Pruefen(spalte, wert);
    }
    QStringList parameter;
    for (const QString& spalte : spalten)
        parameter << QLatin1Char(':') + spalte;
    db::Query einfuegen(
        tr, QStringLiteral("INSERT INTO T_LISTEN (%1)\nVALUES (%2)")
                .arg(spalten.join(QStringLiteral(", ")), parameter.join(QStringLiteral(", "))));
    for (int i = 0; i < spalten.size(); ++i)
        einfuegen.Param(spalten[i]).SetVariant(werte[i]);
    einfuegen.Execute();

    LayoutSpeichern(tr, QStringLiteral("T_LISTEN_BILDSCHIRM"), id, d.felder, d.bildschirm,
                    {{QStringLiteral("AUSRICHTUNG"), QStringLiteral("L")},
                     {QStringLiteral("SICHTBAR"), QStringLiteral("F")},
                     {QStringLiteral("AUTOBREITE"), QStringLiteral("T")},
                     {QStringLiteral("UEBERSCHRIFT"), QStringLiteral("F")}});
    LayoutSpeichern(tr, QStringLiteral("T_LISTEN_DRUCK"), id, d.felder, d.druck,
                    {{QStringLiteral("AUSRICHTUNG"), QStringLiteral("L")},
                     {QStringLiteral("SICHTBAR"), QStringLiteral("F")},
                     {QStringLiteral("ZEILENUMBRUCH"), QStringLiteral("F")},
                     {QStringLiteral("LEERZEILE"), QStringLiteral("F")},
                     {QStringLiteral("SCHRIFTSCHMAL"), QStringLiteral("F")}});
    const Tabelle linien(tr, QStringLiteral("T_LISTEN_LINIEN"));
    db::Query linie(tr,
                    QStringLiteral("INSERT INTO T_LISTEN_LINIEN (LISTE, L_POSITION, "
                                   "BEGINN_TITEL, ART, BREITE)\n"
                                   "VALUES (:LISTE, :L_POSITION, :BEGINN_TITEL, :ART, :BREITE)"));
    for (const Zeile& z : d.linien) {
        linie.Param(QStringLiteral("LISTE")).SetInteger(id);
        for (const auto& [spalte, wert] : z)
            linie.Param(spalte).SetVariant(linien.Pruefen(spalte, wert));
        linie.Execute();
    }
    tr.Commit();
    return id;
}
