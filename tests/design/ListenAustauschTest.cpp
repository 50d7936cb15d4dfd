#include <ListenAustausch.h>

#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(ListenAustauschRegeln, EindeutigeBezeichnung)
{
    const QString lang(50, QLatin1Char('x'));
    struct Fall {
        QString name;
        QSet<QString> vorhanden;
        QString erwartet;
    } faelle[] = {
        {"Kühe", {"Rinder"}, "Kühe"},
        {"Kühe", {"Kühe"}, "Kühe (2)"},
        {"Kühe", {"Kühe", "Kühe (2)"}, "Kühe (3)"},
        // Sorted as text, "N (10)" comes before "N (2)": every name in use counts.
        {"N",
         {"N", "N (2)", "N (3)", "N (4)", "N (5)", "N (6)", "N (7)", "N (8)", "N (9)", "N (10)"},
         "N (11)"},
        {"N", {"N (2)"}, "N"},
        {lang, {lang}, QString(46, QLatin1Char('x')) + " (2)"},
        {lang,
         {lang, QString(46, QLatin1Char('x')) + " (2)"},
         QString(46, QLatin1Char('x')) + " (3)"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name.toStdString());
        const QString ergebnis = TListenDesignImExport::EindeutigeBezeichnung(f.name, f.vorhanden);
        EXPECT_EQ(ergebnis, f.erwartet);
        EXPECT_LE(ergebnis.size(), 50);
    }
}

TEST(ListenAustauschRegeln, DateiTextNachKodierung)
{
    const QByteArray umlaute = "<a>K\xc3\xbche \xc3\x9f</a>";
    struct Fall {
        QByteArray inhalt;
        QString text;  // empty: refused
    } faelle[] = {
        {"<?xml version=\"1.0\"?>\n" + umlaute, "<?xml version=\"1.0\"?>\n<a>Kühe ß</a>"},
        // Older files: the Windows code page without a declaration.
        {"<?xml version=\"1.0\"?>\n<a>K\xfc"
         "he \x80</a>",
         "<?xml version=\"1.0\"?>\n<a>Kühe €</a>"},
        {"\xef\xbb\xbf<a>K\xc3\xbc</a>", "<a>Kü</a>"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>K\xfc</a>",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>Kü</a>"},
        {"<?xml version='1.0' encoding='windows-1252'?><a>\x80</a>",
         "<?xml version='1.0' encoding='windows-1252'?><a>€</a>"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>K\xfc</a>", ""},
        {"<?xml version=\"1.0\"?><a>\x81\xff</a>", ""},
        {"<?xml version=\"1.0\" encoding=\"EBCDIC-XY\"?><a/>", ""},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.inhalt.toStdString());
        if (f.text.isEmpty())
            EXPECT_THROW(TListenDesignImExport::DateiText(f.inhalt), std::runtime_error);
        else
            EXPECT_EQ(TListenDesignImExport::DateiText(f.inhalt), f.text);
    }
}

// One design as rows: the list row's columns and values, and the layout rows of each table.
struct Design {
    const char* name;
    QString listenTyp;
    QVariantMap liste;
    QList<QVariantMap> bildschirm;
    QList<QVariantMap> druck;
    QList<QVariantMap> linien;
};

QVariantMap Spalten(std::initializer_list<std::pair<const char*, QVariant>> werte)
{
    QVariantMap m;
    for (const auto& [k, v] : werte)
        m.insert(QLatin1String(k), v);
    return m;
}

// A user list over one source, without restrictions, sort keys, symbol or lines; an unset
// line and texts with the characters XML reserves. The layout rows follow FELDER, as the
// database makes them.
Design EineQuelle()
{
    return {"eine Quelle",
            {},
            Spalten({{"ID", 11},
                     {"BEZEICHNUNG", "Kühe & Färsen"},
                     {"TITEL", "Alle <Kühe> \"jetzt\" & 'später'"},
                     {"QUELLE1", 4},
                     {"DIST", "F"},
                     {"FELDER", "Q1.NUMMER;Q1.NAME;S.N1"},
                     {"MENUE", "T"},
                     {"SCHRIFT", "Arial;12;B"},
                     {"AUSRICHTUNG", "C"},
                     {"STAND", "R"},
                     {"PAPIER_AUSRICHTUNG", "H"},
                     {"RAND_LINKS", 10},
                     {"RAND_RECHTS", 11},
                     {"RAND_OBEN", 12},
                     {"RAND_UNTEN", 15},
                     {"LINIE_UEBER_TITEL", "F"},
                     {"LINIE_UNTER_TITEL", "F"},
                     {"LINIE_ZWISCHEN", "F"},
                     {"LINIE_UNTEN", "F"},
                     {"MULTI_LINE_SHORT_BILDSCHIRM", "F"},
                     {"MULTI_LINE_SHORT_DRUCK", "F"},
                     {"DATUM_VERGANGEN_FETT", "-"}}),
            {Spalten({{"FELD", "Q1.NUMMER"},
                      {"BREITE", 90},
                      {"AUTOBREITE", "F"},
                      {"TITEL", "Ohrmarke <Nr>"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "T"},
                      {"ZEILE", 1},
                      {"UEBERSCHRIFT", "F"},
                      {"DISPLAY_FORMAT", "0"}}),
             Spalten({{"FELD", "Q1.NAME"},
                      {"BREITE", 120},
                      {"AUTOBREITE", "T"},
                      {"TITEL", "Name & Rufname"},
                      {"AUSRICHTUNG", "R"},
                      {"SICHTBAR", "F"},
                      {"ZEILE", QVariant()},
                      {"UEBERSCHRIFT", "T"}}),
             Spalten({{"FELD", "S.N1"},
                      {"BREITE", 30},
                      {"AUTOBREITE", "F"},
                      {"TITEL", "Nr."},
                      {"AUSRICHTUNG", "R"},
                      {"SICHTBAR", "T"},
                      {"ZEILE", 1},
                      {"UEBERSCHRIFT", "F"}})},
            {Spalten({{"FELD", "Q1.NUMMER"},
                      {"L_POSITION", 0},
                      {"ZEILE", 1},
                      {"BREITE", 30},
                      {"SCHRIFT", "Arial;10;"},
                      {"TITEL", "Ohrmarke"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "T"},
                      {"TITEL_SCHRIFT", "Arial;10;BI"},
                      {"ZEILENUMBRUCH", "F"},
                      {"LEERZEILE", "F"},
                      {"SCHRIFTSCHMAL", "F"}}),
             Spalten({{"FELD", "Q1.NAME"},
                      {"L_POSITION", 35},
                      {"ZEILE", 1},
                      {"BREITE", 40},
                      {"TITEL", "Name"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "T"},
                      {"ZEILENUMBRUCH", "T"},
                      {"LEERZEILE", "F"},
                      {"SCHRIFTSCHMAL", "T"}}),
             Spalten({{"FELD", "S.N1"},
                      {"L_POSITION", 80},
                      {"ZEILE", 2},
                      {"BREITE", 10},
                      {"TITEL", "Nr."},
                      {"AUSRICHTUNG", "R"},
                      {"SICHTBAR", "F"},
                      {"ZEILENUMBRUCH", "F"},
                      {"LEERZEILE", "T"},
                      {"SCHRIFTSCHMAL", "F"}})},
            {}};
}

QVariantMap DruckFeld(const char* feld, int position, int zeile, const char* titel,
                      const char* ausrichtung)
{
    return Spalten({{"FELD", feld},
                    {"L_POSITION", position},
                    {"ZEILE", zeile},
                    {"BREITE", 20},
                    {"SCHRIFT", "Arial;9;S"},
                    {"TITEL", titel},
                    {"AUSRICHTUNG", ausrichtung},
                    {"SICHTBAR", "F"},
                    {"ZEILENUMBRUCH", "F"},
                    {"LEERZEILE", "F"},
                    {"SCHRIFTSCHMAL", "F"}});
}

// Three sources, all of them the same catalogue source (self-joins), every print setting,
// a symbol, restrictions, sort keys, every horizontal line and two vertical ones.
Design DreiQuellen()
{
    return {"drei Quellen",
            {},
            Spalten({{"ID", 12},
                     {"BEZEICHNUNG", "Mütter"},
                     {"TITEL", "Mütter und Töchter"},
                     {"QUELLE1", 7},
                     {"QUELLE2", 7},
                     {"QUELLE3", 7},
                     {"FELD12_1", 70},
                     {"FELD12_2", 71},
                     {"FELD23_2", 72},
                     {"FELD23_3", 73},
                     {"SQL", "SELECT 1 FROM RDB$DATABASE"},
                     {"SQL_SW", "SELECT 2 FROM RDB$DATABASE"},
                     {"DIST", "T"},
                     {"FELDER", "Q1.NUMMER;Q2.NUMMER;Q3.NUMMER;S.F1"},
                     {"BEDINGUNGEN", "Q1.GESCHLECHT;=;W;AND;Q2.KNR;>;100;"},
                     {"SORTIERUNG", "Q1.NUMMER;ASC;Q2.NUMMER;DESC"},
                     {"MENUE", "F"},
                     {"SYMBOL", 3},
                     {"SCHRIFT", "Times;14;BIUS"},
                     {"AUSRICHTUNG", "L"},
                     {"STAND", "N"},
                     {"PAPIER_AUSRICHTUNG", "Q"},
                     {"RAND_LINKS", 5},
                     {"RAND_RECHTS", 6},
                     {"RAND_OBEN", 7},
                     {"RAND_UNTEN", 8},
                     {"LINIE_UEBER_TITEL", "T"},
                     {"LINIE_UNTER_TITEL", "T"},
                     {"LINIE_ZWISCHEN", "T"},
                     {"LINIE_UNTEN", "T"},
                     {"LINIE_ZWISCHEN_ZEILEN", 3},
                     {"LINIE_UEBER_TITEL_ART", "D"},
                     {"LINIE_UNTER_TITEL_ART", "P"},
                     {"LINIE_ZWISCHEN_ART", "DP"},
                     {"LINIE_UNTEN_ART", "DPP"},
                     {"LINIE_UEBER_TITEL_BREITE", 50},
                     {"LINIE_UNTER_TITEL_BREITE", 75},
                     {"LINIE_ZWISCHEN_BREITE", 0},
                     {"LINIE_UNTEN_BREITE", 200},
                     {"MULTI_LINE_SHORT_BILDSCHIRM", "T"},
                     {"MULTI_LINE_SHORT_DRUCK", "T"},
                     {"DATUM_VERGANGEN_FETT", "Q3GEBDAT"}}),
            {Spalten({{"FELD", "Q1.NUMMER"},
                      {"BREITE", 80},
                      {"AUTOBREITE", "T"},
                      {"TITEL", "Kuh"},
                      {"AUSRICHTUNG", "C"},
                      {"SICHTBAR", "T"},
                      {"ZEILE", 1},
                      {"UEBERSCHRIFT", "F"},
                      {"DISPLAY_FORMAT", "#,##0"}}),
             Spalten({{"FELD", "Q2.NUMMER"},
                      {"BREITE", 82},
                      {"AUTOBREITE", "F"},
                      {"TITEL", "Mutter"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "F"},
                      {"ZEILE", 1},
                      {"UEBERSCHRIFT", "T"}}),
             Spalten({{"FELD", "Q3.NUMMER"},
                      {"BREITE", 81},
                      {"AUTOBREITE", "F"},
                      {"TITEL", "Enkelin"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "T"},
                      {"ZEILE", 2},
                      {"UEBERSCHRIFT", "F"}}),
             Spalten({{"FELD", "S.F1"},
                      {"BREITE", 40},
                      {"AUTOBREITE", "F"},
                      {"TITEL", "Fest"},
                      {"AUSRICHTUNG", "R"},
                      {"SICHTBAR", "T"},
                      {"ZEILE", 3},
                      {"UEBERSCHRIFT", "F"},
                      {"WERT", "x < y"}})},
            {Spalten({{"FELD", "Q1.NUMMER"},
                      {"L_POSITION", -5},
                      {"ZEILE", 1},
                      {"BREITE", 25},
                      {"SCHRIFT", "Arial;8;"},
                      {"TITEL", "Kuh"},
                      {"AUSRICHTUNG", "R"},
                      {"SICHTBAR", "T"},
                      {"TITEL_SCHRIFT", "Arial;8;U"},
                      {"ZEILENUMBRUCH", "T"},
                      {"LEERZEILE", "T"},
                      {"SCHRIFTSCHMAL", "T"},
                      {"DISPLAY_FORMAT", "0.00"}}),
             DruckFeld("Q2.NUMMER", 30, 2, "Mutter", "C"),
             DruckFeld("Q3.NUMMER", 55, 2, "Enkelin", "L"),
             Spalten({{"FELD", "S.F1"},
                      {"L_POSITION", 60},
                      {"ZEILE", 1},
                      {"BREITE", 10},
                      {"TITEL", "Fest"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "T"},
                      {"ZEILENUMBRUCH", "F"},
                      {"LEERZEILE", "F"},
                      {"SCHRIFTSCHMAL", "F"},
                      {"WERT", "\"ja\""}})},
            {Spalten({{"L_POSITION", -3}, {"BEGINN_TITEL", "T"}, {"ART", "S"}, {"BREITE", 100}}),
             Spalten({{"L_POSITION", 155}, {"BEGINN_TITEL", "F"}, {"ART", "DPP"}, {"BREITE", 0}})}};
}

// A design of the event list's built-in dialog.
Design Intern()
{
    return {"intern",
            "EREIGNISLISTE",
            Spalten({{"ID", -5},
                     {"BEZEICHNUNG", "Ereignisse kurz"},
                     {"TITEL", "Ereignisse"},
                     {"DIST", "F"},
                     {"FELDER", "TIERID;NUMMER;EREIGNIS"},
                     {"BEDINGUNGEN", "EREIGNISLISTE"},
                     {"MENUE", "F"},
                     {"SCHRIFT", "Arial;10;"},
                     {"AUSRICHTUNG", "R"},
                     {"STAND", "L"},
                     {"PAPIER_AUSRICHTUNG", "Q"},
                     {"RAND_LINKS", 20},
                     {"RAND_RECHTS", 20},
                     {"RAND_OBEN", 20},
                     {"RAND_UNTEN", 20},
                     {"LINIE_UEBER_TITEL", "F"},
                     {"LINIE_UNTER_TITEL", "T"},
                     {"LINIE_ZWISCHEN", "F"},
                     {"LINIE_UNTEN", "F"},
                     {"LINIE_UNTER_TITEL_ART", "S"},
                     {"LINIE_UNTER_TITEL_BREITE", 125},
                     {"MULTI_LINE_SHORT_BILDSCHIRM", "F"},
                     {"MULTI_LINE_SHORT_DRUCK", "F"},
                     {"DATUM_VERGANGEN_FETT", "-"}}),
            {Spalten({{"FELD", "NUMMER"},
                      {"AUTOBREITE", "T"},
                      {"TITEL", "Ohrmarke"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "T"},
                      {"ZEILE", 1},
                      {"UEBERSCHRIFT", "F"}}),
             Spalten({{"FELD", "TIERID"},
                      {"BREITE", 10},
                      {"AUTOBREITE", "F"},
                      {"TITEL", "ID"},
                      {"AUSRICHTUNG", "R"},
                      {"SICHTBAR", "F"},
                      {"ZEILE", 1},
                      {"UEBERSCHRIFT", "F"}}),
             Spalten({{"FELD", "EREIGNIS"},
                      {"BREITE", 200},
                      {"AUTOBREITE", "T"},
                      {"TITEL", "Ereignis"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "T"},
                      {"ZEILE", 2},
                      {"UEBERSCHRIFT", "T"}})},
            {Spalten({{"FELD", "EREIGNIS"},
                      {"L_POSITION", 40},
                      {"ZEILE", 1},
                      {"BREITE", 80},
                      {"TITEL", "Ereignis"},
                      {"AUSRICHTUNG", "L"},
                      {"SICHTBAR", "T"},
                      {"ZEILENUMBRUCH", "T"},
                      {"LEERZEILE", "F"},
                      {"SCHRIFTSCHMAL", "F"}})},
            {Spalten({{"L_POSITION", 38}, {"BEGINN_TITEL", "T"}, {"ART", "P"}, {"BREITE", 25}})}};
}

class ListenAustauschTest : public ::testing::Test {
protected:
    // Designs over sources of the test's own: the statement and layout builders, which check
    // the fields against the catalogue, stay off (the reader then makes the layout rows); the
    // shipped lists go.
    ListenAustauschTest()
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query(tr, "DELETE FROM T_LISTEN").Execute();
        db::Query(tr, "ALTER TRIGGER LISTEN_BIU_SQL INACTIVE").Execute();
        db::Query(tr, "ALTER TRIGGER LISTEN_AIU_LAYOUT INACTIVE").Execute();
        tr.Commit();
    }
    void SetUp() override { ASSERT_TRUE(ordner.isValid()); }

    void Ausfuehren(const QString& sql, const QVariantMap& werte = {})
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query q(tr, sql);
        for (auto it = werte.cbegin(); it != werte.cend(); ++it)
            q.Param(it.key()).SetVariant(it.value());
        q.Execute();
        tr.Commit();
    }
    void Einfuegen(const QString& tabelle, const QVariantMap& werte)
    {
        QStringList spalten = werte.keys();
        QStringList parameter;
        for (const QString& s : spalten)
            parameter << ":" + s;
        Ausfuehren(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(tabelle, spalten.join(", "), parameter.join(", ")),
                   werte);
    }
    void Anlegen(const Design& d)
    {
        Einfuegen("T_LISTEN", d.liste);
        const int id = d.liste.value("ID").toInt();
        // The database may give a new design layout rows of its own: the design's are these.
        Ausfuehren("DELETE FROM T_LISTEN_BILDSCHIRM WHERE LISTE = :L", {{"L", id}});
        Ausfuehren("DELETE FROM T_LISTEN_DRUCK WHERE LISTE = :L", {{"L", id}});
        for (const auto& [tabelle, zeilen] :
             {std::pair{"T_LISTEN_BILDSCHIRM", &d.bildschirm},
              std::pair{"T_LISTEN_DRUCK", &d.druck}, std::pair{"T_LISTEN_LINIEN", &d.linien}})
            for (QVariantMap z : *zeilen) {
                z.insert("LISTE", id);
                Einfuegen(tabelle, z);
            }
    }
    // Every row of the table for the list, each as "COLUMN=value" texts without the keys.
    QList<QStringList> Zeilen(const QString& sql, int liste, const QStringList& ohne)
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Param("L").SetInteger(liste);
        QList<QStringList> zeilen;
        for (q.Open(); !q.Eof(); q.Next()) {
            QStringList z;
            for (int i = 0; i < q.FieldCount(); ++i)
                if (!ohne.contains(q.Column(i).Name))
                    z << q.Column(i).Name + "=" +
                             (q.Field(i).IsNull() ? QStringLiteral("<null>")
                                                  : q.Field(i).AsString());
            zeilen << z;
        }
        return zeilen;
    }
    QList<QStringList> Liste(int id)
    {
        return Zeilen("SELECT * FROM T_LISTEN WHERE ID = :L", id,
                      {"ID", "BEZEICHNUNG", "SQL", "SQL_SW", "MENUE_REIHUNG", "SYMBOL_REIHUNG"});
    }
    QList<QStringList> Kinder(const char* tabelle, int id)
    {
        return Zeilen(QStringLiteral("SELECT * FROM %1 WHERE LISTE = :L ORDER BY ID").arg(tabelle),
                      id, {"ID", "LISTE"});
    }
    QString Text(const QString& sql)
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine Zeile>")
                       : (q.Field(0).IsNull() ? QStringLiteral("<null>") : q.Field(0).AsString());
    }
    // Rows of every design table: what a refused file must leave as it was.
    QString Bestand()
    {
        return Text(
            "SELECT (SELECT COUNT(*) FROM T_LISTEN) || '/' || (SELECT COUNT(*) FROM "
            "T_LISTEN_BILDSCHIRM) || '/' || (SELECT COUNT(*) FROM T_LISTEN_DRUCK) || '/' "
            "|| (SELECT COUNT(*) FROM T_LISTEN_LINIEN) || '/' || (SELECT LIST(BEZEICHNUNG, "
            "',') FROM T_LISTEN) FROM RDB$DATABASE");
    }

    QString Datei(const char* name) const { return QDir(ordner.path()).filePath(name); }
    QString Exportieren(int id, const char* name)
    {
        const QString d = Datei(name);
        TListenDesignImExport(datenbank.Db()).ListeExportieren(id, d);
        return d;
    }
    int Importieren(const QString& datei, const QString& typ)
    {
        return TListenDesignImExport(datenbank.Db()).ListeImportieren(datei, typ);
    }
    static QByteArray Lesen(const QString& datei)
    {
        QFile f(datei);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    static void Schreiben(const QString& datei, const QByteArray& inhalt)
    {
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(inhalt);
    }

    TestDatabase datenbank;
    QTemporaryDir ordner;
};

// Python's XML reader, independent of Qt: the declaration line, the comment before the root,
// and one line per element in document order with its attributes in written order and the text
// of elements without children.
QStringList PythonLesen(const QString& datei)
{
    static const char* skript = R"(
import sys, xml.etree.ElementTree as ET
raw = open(sys.argv[1], 'rb').read()
print(raw.split(b'\n', 1)[0].decode('ascii'))
kommentar = '<!-- Listen Austauschformat f\u00fcr ZR Bovantis -->'.encode('utf-8')
print('Kommentar vor der Wurzel:', raw.find(kommentar) != -1 and raw.find(kommentar) < raw.find(b'<Liste'))
def aus(e, pfad):
    p = pfad + '/' + e.tag
    zeile = p + ''.join(' %s=%s' % kv for kv in e.attrib.items())
    if len(e) == 0:
        zeile += ' :' + (e.text or '')
    print(zeile.encode('unicode_escape').decode('ascii'))
    for k in e:
        aus(k, p)
aus(ET.fromstring(raw), '')
)";
    const QString python = QStandardPaths::findExecutable("python3");
    EXPECT_FALSE(python.isEmpty()) << "python3 is needed";
    QProcess p;
    p.start(python, {"-c", QString::fromLatin1(skript), datei});
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QStringList zeilen;
    for (const QByteArray& z : p.readAllStandardOutput().split('\n'))
        if (!z.isEmpty()) {
            // Undo Python's escapes of non-ASCII characters (\xNN, \uNNNN) and backslashes.
            QString s;
            const QString roh = QString::fromLatin1(z);
            for (int i = 0; i < roh.size(); ++i) {
                if (roh[i] == '\\' && i + 1 < roh.size()) {
                    const QChar art = roh[i + 1];
                    const int laenge = art == 'x' ? 2 : art == 'u' ? 4 : 0;
                    if (laenge) {
                        s += QChar(roh.mid(i + 2, laenge).toUShort(nullptr, 16));
                        i += 1 + laenge;
                        continue;
                    }
                    if (art == '\\') {
                        s += '\\';
                        ++i;
                        continue;
                    }
                }
                s += roh[i];
            }
            zeilen << s;
        }
    return zeilen;
}

// The lines PythonLesen gives for a design, built from its rows by the format's rules.
QStringList Erwartet(const Design& d)
{
    const QVariantMap& l = d.liste;
    const auto t = [&l](const char* s) { return l.value(s).toString(); };
    const auto z = [&l](const char* s) { return QString::number(l.value(s).toInt()); };
    QStringList e{
        "<?xml version=\"1.0\"?>", "Kommentar vor der Wurzel: True",
        QStringLiteral("/Liste ListeIntern=%1").arg(l.value("ID").toInt() <= 0 ? "T" : "F"),
        "/Liste/Version :1", "/Liste/Daten Distinct=" + t("DIST")};
    for (int n = 1; n <= 3; ++n)
        if (l.contains(QStringLiteral("QUELLE%1").arg(n)))
            e << QStringLiteral("/Liste/Daten/Quelle Nr=%1 Id=%2 :")
                     .arg(n)
                     .arg(l.value(QStringLiteral("QUELLE%1").arg(n)).toInt());
    if (l.contains("QUELLE2"))
        e << QStringLiteral("/Liste/Daten/Feld QuelleA=%1 QuelleB=%2 FeldA=%3 FeldB=%4 :")
                 .arg(z("QUELLE1"), z("QUELLE2"), z("FELD12_1"), z("FELD12_2"));
    if (l.contains("QUELLE3"))
        e << QStringLiteral("/Liste/Daten/Feld QuelleA=%1 QuelleB=%2 FeldA=%3 FeldB=%4 :")
                 .arg(z("QUELLE2"), z("QUELLE3"), z("FELD23_2"), z("FELD23_3"));
    e << "/Liste/Daten/Felder :" + t("FELDER");
    if (!t("BEDINGUNGEN").isEmpty())
        e << "/Liste/Daten/Bedingungen :" + t("BEDINGUNGEN");
    if (!t("SORTIERUNG").isEmpty())
        e << "/Liste/Daten/Sortierung :" + t("SORTIERUNG");
    e << "/Liste/Daten/SQL :" + t("SQL") << "/Liste/Daten/SQL-SW :" + t("SQL_SW")
      << "/Liste/Verwaltung"
      << "/Liste/Verwaltung/Bezeichnung :" + t("BEZEICHNUNG")
      << "/Liste/Verwaltung/Titel :" + t("TITEL") << "/Liste/Verwaltung/Menue :" + t("MENUE");
    if (l.contains("SYMBOL"))
        e << "/Liste/Verwaltung/Symbol :" + z("SYMBOL");
    e << "/Liste/Bildschirm MultiLineShort=" + t("MULTI_LINE_SHORT_BILDSCHIRM") +
             (d.bildschirm.isEmpty() ? " :" : "");
    for (const QVariantMap& b : d.bildschirm) {
        const auto bt = [&b](const char* s) { return b.value(s).toString(); };
        e << "/Liste/Bildschirm/BildschirmFeld Feld=" + bt("FELD") +
                 (b.contains("BREITE") ? " Breite=" + bt("BREITE") : QString()) +
                 " AutoBreite=" + bt("AUTOBREITE") + " Titel=" + bt("TITEL") +
                 " Ausrichtung=" + bt("AUSRICHTUNG") + " Sichtbar=" + bt("SICHTBAR") +
                 " Zeile=" + QString::number(b.value("ZEILE").toInt()) +
                 " Ueberschrift=" + bt("UEBERSCHRIFT") + " DisplayFormat=" + bt("DISPLAY_FORMAT") +
                 " Wert=" + bt("WERT") + " :";
    }
    e << "/Liste/Druck"
      << "/Liste/Druck/Global Schrift=" + t("SCHRIFT") + " Ausrichtung=" + t("AUSRICHTUNG") +
             " MultiLineShort=" + t("MULTI_LINE_SHORT_DRUCK")
      << "/Liste/Druck/Global/Stand :" + t("STAND")
      << "/Liste/Druck/Global/PapierAusrichtung :" + t("PAPIER_AUSRICHTUNG")
      << "/Liste/Druck/Global/RandLinks :" + z("RAND_LINKS")
      << "/Liste/Druck/Global/RandRechts :" + z("RAND_RECHTS")
      << "/Liste/Druck/Global/RandOben :" + z("RAND_OBEN")
      << "/Liste/Druck/Global/RandUnten :" + z("RAND_UNTEN")
      << "/Liste/Druck/Global/DatumVergangenFett :" + t("DATUM_VERGANGEN_FETT");
    for (const auto& [element, spalte] :
         {std::pair{"LinieUeberTitel", "LINIE_UEBER_TITEL"},
          std::pair{"LinieUnterTitel", "LINIE_UNTER_TITEL"},
          std::pair{"LinieZwischen", "LINIE_ZWISCHEN"}, std::pair{"LinieUnten", "LINIE_UNTEN"}})
        if (t(spalte) == "T")
            e << QStringLiteral("/Liste/Druck/Global/%1 Art=%2 Breite=%3%4 :")
                     .arg(element, l.value(QString(spalte) + "_ART").toString())
                     .arg(l.value(QString(spalte) + "_BREITE").toInt())
                     .arg(QString(spalte) == "LINIE_ZWISCHEN"
                              ? " Zeilen=" + z("LINIE_ZWISCHEN_ZEILEN")
                              : QString());
    for (const QVariantMap& p : d.druck) {
        const auto pt = [&p](const char* s) { return p.value(s).toString(); };
        e << "/Liste/Druck/DruckFeld Feld=" + pt("FELD") +
                 (p.contains("BREITE") ? " Breite=" + pt("BREITE") : QString()) +
                 " Titel=" + pt("TITEL") + " Ausrichtung=" + pt("AUSRICHTUNG") +
                 " Sichtbar=" + pt("SICHTBAR") +
                 " LPosition=" + QString::number(p.value("L_POSITION").toInt()) +
                 " Zeile=" + QString::number(p.value("ZEILE").toInt()) +
                 " Schrift=" + pt("SCHRIFT") + " TitelSchrift=" + pt("TITEL_SCHRIFT") +
                 " Zeilenumbruch=" + pt("ZEILENUMBRUCH") + " Leerzeile=" + pt("LEERZEILE") +
                 " SchriftSchmal=" + pt("SCHRIFTSCHMAL") +
                 " DisplayFormat=" + pt("DISPLAY_FORMAT") + " Wert=" + pt("WERT") + " :";
    }
    for (const QVariantMap& li : d.linien)
        e << QStringLiteral("/Liste/Druck/Linie BeginnTitel=%1 LPosition=%2 Art=%3 Breite=%4 :")
                 .arg(li.value("BEGINN_TITEL").toString())
                 .arg(li.value("L_POSITION").toInt())
                 .arg(li.value("ART").toString())
                 .arg(li.value("BREITE").toInt());
    return e;
}

TEST_F(ListenAustauschTest, RundreiseGibtJedeZeileWiederUndDieDateiFolgtDemFormat)
{
    for (const Design& d : {EineQuelle(), DreiQuellen(), Intern()}) {
        SCOPED_TRACE(d.name);
        Anlegen(d);
        const int id = d.liste.value("ID").toInt();
        const QString datei = Exportieren(id, "liste.xml");

        const QByteArray inhalt = Lesen(datei);
        EXPECT_TRUE(
            inhalt.startsWith("<?xml version=\"1.0\"?>\n<!-- Listen Austauschformat f\xc3\xbcr ZR "
                              "Bovantis -->\n<Liste"))
            << inhalt.left(120).toStdString();
        EXPECT_EQ(PythonLesen(datei), Erwartet(d));

        const int neu = Importieren(datei, d.listenTyp);
        EXPECT_NE(neu, id);
        EXPECT_EQ(neu > 0, id > 0);
        EXPECT_EQ(Text(QStringLiteral("SELECT BEZEICHNUNG FROM T_LISTEN WHERE ID = %1").arg(neu)),
                  d.liste.value("BEZEICHNUNG").toString() + " (2)");
        EXPECT_EQ(Liste(neu), Liste(id));
        for (const char* t : {"T_LISTEN_BILDSCHIRM", "T_LISTEN_DRUCK", "T_LISTEN_LINIEN"})
            EXPECT_EQ(Kinder(t, neu), Kinder(t, id)) << t;
        // The statements are the database's, never the file's.
        if (d.liste.contains("SQL")) {
            EXPECT_NE(Text(QStringLiteral("SELECT SQL FROM T_LISTEN WHERE ID = %1").arg(neu)),
                      d.liste.value("SQL").toString());
        }
    }
    // A second copy takes the next free name.
    const int dritte = Importieren(Datei("liste.xml"), "EREIGNISLISTE");
    EXPECT_EQ(Text(QStringLiteral("SELECT BEZEICHNUNG FROM T_LISTEN WHERE ID = %1").arg(dritte)),
              "Ereignisse kurz (3)");
}

TEST_F(ListenAustauschTest, AlteDateienUndVersionen)
{
    const Design d = EineQuelle();
    Anlegen(d);
    const QString text = QString::fromUtf8(Lesen(Exportieren(11, "neu.xml")));

    // Written by an older version in the Windows code page, version 2, elements without Wert
    // and Breite: read by the same rules.
    QString alt = text;
    alt.replace("<Version>1</Version>", "<Version>2</Version>");
    alt.replace(" Wert=\"\"", "");
    alt.replace("Feld=\"Q1.NAME\" Breite=\"120\"", "Feld=\"Q1.NAME\"");
    ASSERT_NE(alt, text);
    Schreiben(Datei("alt.xml"), alt.toLatin1());
    const int id = Importieren(Datei("alt.xml"), {});
    EXPECT_EQ(Text(QStringLiteral("SELECT BEZEICHNUNG || '|' || TITEL FROM T_LISTEN WHERE ID = %1")
                       .arg(id)),
              "Kühe & Färsen (2)|Alle <Kühe> \"jetzt\" & 'später'");
    EXPECT_EQ(Text(QStringLiteral("SELECT LIST(FELD || ':' || COALESCE(BREITE, -1) || ':' || "
                                  "COALESCE(WERT, '-'), ',') FROM (SELECT * FROM "
                                  "T_LISTEN_BILDSCHIRM WHERE LISTE = %1 ORDER BY ID)")
                       .arg(id)),
              "Q1.NUMMER:90:-,Q1.NAME:-1:-,S.N1:30:-");
}

TEST_F(ListenAustauschTest, VerwechselteDateienWerdenAbgewiesen)
{
    Anlegen(EineQuelle());
    Anlegen(Intern());
    const QString benutzer = Exportieren(11, "benutzer.xml");
    const QString intern = Exportieren(-5, "intern.xml");
    const QString vorher = Bestand();
    struct Fall {
        QString datei;
        QString typ;
        QString meldung;
    } faelle[] = {
        {intern, "", "Dies ist keine gültige Datei"},
        {benutzer, "EREIGNISLISTE", "Dies ist keine gültige Datei"},
        {intern, "KALBEJOURNAL", "Die Datei passt nicht zur Listenart"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.typ.toStdString());
        try {
            Importieren(f.datei, f.typ);
            ADD_FAILURE() << "angenommen";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), f.meldung);
        }
    }
    EXPECT_EQ(Bestand(), vorher);
}

TEST_F(ListenAustauschTest, FehlerhafteDateienAendernNichts)
{
    Anlegen(DreiQuellen());
    const QByteArray gut = Lesen(Exportieren(12, "gut.xml"));
    const QString vorher = Bestand();
    const auto ersetzt = [&gut](const QByteArray& von, const QByteArray& nach) {
        QByteArray b = gut;
        EXPECT_TRUE(b.contains(von)) << von.toStdString();
        return b.replace(von, nach);
    };
    struct Fall {
        const char* name;
        QByteArray inhalt;
        QString meldung;
    } faelle[] = {
        {"Version 0", ersetzt("<Version>1</Version>", "<Version>0</Version>"),
         "Version der Datei ist fehlerhaft oder nicht gültig"},
        {"Version keine Zahl", ersetzt("<Version>1</Version>", "<Version>eins</Version>"),
         "Version der Datei ist fehlerhaft oder nicht gültig"},
        {"Version fehlt", ersetzt("<Version>1</Version>", ""),
         "Der Knoten \"Version\" wurde nicht gefunden"},
        {"interne Datei", ersetzt("ListeIntern=\"F\"", "ListeIntern=\"T\""),
         "Dies ist keine gültige Datei"},
        {"ohne Bezeichnung", ersetzt("<Bezeichnung>Mütter</Bezeichnung>", ""),
         "Der Knoten \"Bezeichnung\" wurde nicht gefunden"},
        {"ohne Attribut", ersetzt(" LPosition=\"30\"", ""),
         "Das Attribut \"LPosition\" des Knotens \"DruckFeld\" wurde nicht gefunden"},
        {"keine Zahl", ersetzt("LPosition=\"30\"", "LPosition=\"3O\""),
         "\"3O\" ist keine gültige ganze Zahl (Attribut \"LPosition\" des Knotens \"DruckFeld\")."},
        {"unbekannter Code",
         ersetzt("Ausrichtung=\"C\" Sichtbar=\"F\"", "Ausrichtung=\"X\" Sichtbar=\"F\""),
         "Der Wert \"X\" (Attribut \"Ausrichtung\" des Knotens \"DruckFeld\") ist nicht zulässig."},
        {"unbekannte Linienart", ersetzt("Art=\"DPP\" Breite=\"0\"", "Art=\"W\" Breite=\"0\""),
         "Der Wert \"W\" (Attribut \"Art\" des Knotens \"Linie\") ist nicht zulässig."},
        {"Spaltenname als SQL", ersetzt("Q3GEBDAT<", "Q3GEBDAT) FROM T_LISTEN; --<"),
         "Der Wert \"Q3GEBDAT) FROM T_LISTEN; --\" (Knoten \"DatumVergangenFett\") ist nicht "
         "zulässig."},
        {"Text zu lang", ersetzt("Mütter und Töchter", QByteArray(51, 'T')),
         "Der Text \"" + QString(51, 'T') + "\" (Knoten \"Titel\") ist länger als 50 Zeichen."},
        {"Zeichen außerhalb Latin-1", ersetzt("Mütter und Töchter", "Mütter für 5 \xe2\x82\xac"),
         "Der Text \"Mütter für 5 €\" (Knoten \"Titel\") enthält das Zeichen \"€\", das die "
         "Datenbank nicht speichern kann."},
        {"UTF-8 fehlerhaft",
         ersetzt("<?xml version=\"1.0\"?>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>")
             .replace("Mütter und", "M\xfctter und"),
         "Die Datei enthält Zeichen, die nicht gültig in UTF-8 kodiert sind."},
        {"Quelle 1 fehlt", ersetzt("<Quelle Nr=\"1\" Id=\"7\"/>", ""),
         "Die Datenquellen der Liste in der Datei sind unvollständig."},
        {"eigene Entitäten",
         ersetzt("<Liste ", "<!DOCTYPE Liste [<!ENTITY x \"xxxxxxxx\">]>\n<Liste "),
         "Fehlerhafte Datei"},
        {"andere Wurzel", ersetzt("<Liste ", "<Design ").replace("</Liste>", "</Design>"),
         "Fehlerhafte Datei"},
        {"abgeschnitten", gut.left(gut.size() - 12), "Die Datei ist keine gültige XML-Datei"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Schreiben(Datei("kaputt.xml"), f.inhalt);
        try {
            Importieren(Datei("kaputt.xml"), {});
            ADD_FAILURE() << "angenommen";
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(f.meldung)) << e.what();
        }
        EXPECT_EQ(Bestand(), vorher);
    }
}

TEST_F(ListenAustauschTest, WasDieDatenbankAbweistLaesstKeineSpur)
{
    Anlegen(DreiQuellen());
    const QString datei = Exportieren(12, "liste.xml");
    // The last vertical line fails: the list and its layout rows written before go with it.
    Ausfuehren("CREATE EXCEPTION E_TEST_LINIE 'Linie abgewiesen'");
    Ausfuehren(
        "CREATE TRIGGER T_TEST_LINIE FOR T_LISTEN_LINIEN ACTIVE BEFORE INSERT AS BEGIN "
        "IF (NEW.L_POSITION = 155 AND NEW.LISTE <> 12) THEN EXCEPTION E_TEST_LINIE; END");
    const QString vorher = Bestand();
    try {
        Importieren(datei, {});
        ADD_FAILURE() << "angenommen";
    } catch (const std::exception& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("Linie abgewiesen")) << e.what();
    }
    EXPECT_EQ(Bestand(), vorher);
}

TEST_F(ListenAustauschTest, BedingungenAusDerDateiSindNurDaten)
{
    Anlegen(DreiQuellen());
    QByteArray inhalt = Lesen(Exportieren(12, "liste.xml"));
    const QByteArray bedingung = "Q1.NAME;=;x' OR '1'='1; DELETE FROM T_LISTEN;;";
    ASSERT_TRUE(
        inhalt.contains("<Bedingungen>Q1.GESCHLECHT;=;W;AND;Q2.KNR;&gt;;100;</Bedingungen>"));
    ASSERT_TRUE(inhalt.contains("<SQL>SELECT 1 FROM RDB$DATABASE</SQL>"));
    inhalt.replace("Q1.GESCHLECHT;=;W;AND;Q2.KNR;&gt;;100;", bedingung);
    inhalt.replace("SELECT 1 FROM RDB$DATABASE", "DELETE FROM T_LISTEN");
    Schreiben(Datei("fremd.xml"), inhalt);
    const int id = Importieren(Datei("fremd.xml"), {});
    EXPECT_EQ(Text(QStringLiteral("SELECT BEDINGUNGEN FROM T_LISTEN WHERE ID = %1").arg(id)),
              QString::fromLatin1(bedingung));
    EXPECT_NE(Text(QStringLiteral("SELECT SQL FROM T_LISTEN WHERE ID = %1").arg(id)),
              "DELETE FROM T_LISTEN");
    EXPECT_EQ(Text("SELECT COUNT(*) FROM T_LISTEN"), "2");
}

TEST_F(ListenAustauschTest, ExportInEinenFehlendenOrdner)
{
    Anlegen(EineQuelle());
    try {
        TListenDesignImExport(datenbank.Db()).ListeExportieren(11, Datei("fehlt/liste.xml"));
        ADD_FAILURE() << "geschrieben";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(
            "Konnte den Export nicht durchführen.\r\rFehlermeldung:\r"))
            << e.what();
    }
    EXPECT_THROW(TListenDesignImExport(datenbank.Db()).ListeExportieren(99, Datei("x.xml")),
                 std::runtime_error);
}

}  // namespace
