#include "Skript.h"

#include <Error.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

namespace ZRDBScript {

namespace {

const QString Trenner = QStringLiteral("-=#=-");
const QString Test = QStringLiteral("TEST:");
const QString TestThen = QStringLiteral("TESTTHEN:");
const QString TestElse = QStringLiteral("TESTELSE:");
const QString GetGenerator = QStringLiteral("GETGENERATOR(");
const QString GetValue = QStringLiteral("GETVALUE(");

// A piece of the script that knows where it stands, for the line numbers of the messages.
struct Stueck {
    QString text;
    qsizetype pos = 0;

    Stueck mid(qsizetype von, qsizetype laenge = -1) const
    {
        return {text.mid(von, laenge), pos + von};
    }
    Stueck trimmed() const
    {
        qsizetype a = 0;
        while (a < text.size() && text[a].isSpace())
            ++a;
        qsizetype e = text.size();
        while (e > a && text[e - 1].isSpace())
            --e;
        return mid(a, e - a);
    }
};

// A failure of a statement inside a block, with the script line it starts on.
class EAnweisung : public db::Error {
public:
    EAnweisung(const db::Error& e, int zeile)
        : db::Error(e.Message(), e.SqlCode(), e.EngineCode(), e.Constraint()), Zeile(zeile)
    {
    }
    int Zeile;
};

// A mistake in the script's own language.
class ESyntax : public std::runtime_error {
public:
    explicit ESyntax(const QString& text) : std::runtime_error(text.toStdString()) {}
};

QString Quote(const QString& name)
{
    return QLatin1Char('\'') + QString(name).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// Table and condition of an existence test.
QPair<QString, QString> TestBedingung(const QString& art, const QString& argument)
{
    static const QList<std::tuple<QString, QString, QString>> systemtabellen = {
        {"DOMAIN", "RDB$FIELDS", "RDB$FIELD_NAME"},
        {"FUNCTION", "RDB$FUNCTIONS", "RDB$FUNCTION_NAME"},
        {"GENERATOR", "RDB$GENERATORS", "RDB$GENERATOR_NAME"},
        {"TABLE", "RDB$RELATIONS", "RDB$RELATION_NAME"},
        {"INDEX", "RDB$INDICES", "RDB$INDEX_NAME"},
        {"REFCONS", "RDB$REF_CONSTRAINTS", "RDB$CONSTRAINT_NAME"},
        {"RELCONS", "RDB$RELATION_CONSTRAINTS", "RDB$CONSTRAINT_NAME"},
        {"TRIGGER", "RDB$TRIGGERS", "RDB$TRIGGER_NAME"},
        {"PROCEDURE", "RDB$PROCEDURES", "RDB$PROCEDURE_NAME"},
    };
    if (art == QStringLiteral("TABLEFIELD")) {
        const qsizetype komma = argument.indexOf(QLatin1Char(','));
        if (komma < 0)
            throw ESyntax(QStringLiteral("TEST:TABLEFIELD erwartet \"Tabelle,Feld\", nicht \"%1\".")
                              .arg(argument));
        return {QStringLiteral("RDB$RELATION_FIELDS"),
                QStringLiteral("RDB$RELATION_NAME=%1 AND RDB$FIELD_NAME=%2")
                    .arg(Quote(argument.left(komma).trimmed()),
                         Quote(argument.mid(komma + 1).trimmed()))};
    }
    for (const auto& [name, tabelle, feld] : systemtabellen) {
        if (art == name)
            return {tabelle, feld + QLatin1Char('=') + Quote(argument)};
    }
    return {art, argument};
}

// The text between the command's "(" and the next ")", and what follows.
QPair<QString, Stueck> Klammer(const Stueck& block, qsizetype start, qsizetype nach)
{
    const qsizetype zu = block.text.indexOf(QLatin1Char(')'), nach);
    if (zu < 0)
        throw ESyntax(QStringLiteral("Die Klammer nach \"%1\" wird nicht geschlossen.")
                          .arg(block.text.left(start)));
    return {block.text.mid(start, zu - start), block.mid(zu + 1)};
}

// A variable set again takes the new value.
void Setzen(Variablen& variablen, const QString& name, const QString& wert)
{
    for (auto& v : variablen) {
        if (v.first.compare(name, Qt::CaseInsensitive) == 0) {
            v.second = wert;
            return;
        }
    }
    variablen.append({name, wert});
}

}  // namespace

void ErsetzeScriptVariablen(QString& text, const Variablen& variablen)
{
    for (const auto& [name, wert] : variablen)
        text.replace(QLatin1Char('%') + name + QLatin1Char('%'), wert, Qt::CaseInsensitive);
}

ESkriptFehler::ESkriptFehler(int block, int zeile, const QString& ursache,
                             QList<int> festgeschrieben)
    : std::runtime_error(ursache.toStdString()),
      Block(block),
      Zeile(zeile),
      Ursache(ursache),
      Festgeschrieben(std::move(festgeschrieben))
{
    QStringList bloecke;
    for (int b : Festgeschrieben)
        bloecke << QString::number(b);
    meldung_ =
        QStringLiteral("Fehler im Skriptblock %1 (Zeile %2):\r%3\r\r")
            .arg(block)
            .arg(zeile)
            .arg(ursache) +
        (bloecke.isEmpty() ? QStringLiteral("Kein früherer Block ist festgeschrieben worden.")
                           : QStringLiteral("Bereits festgeschrieben sind die Blöcke %1.")
                                 .arg(bloecke.join(QStringLiteral(", "))));
}

QList<int> FuehreDBScriptAus(ISkriptDatenbank& datenbank, const QString& skript,
                             const std::function<void(int, int)>& fortschritt)
{
    const auto zeileVon = [&skript](qsizetype pos) {
        return 1 + int(QStringView(skript).left(pos).count(QLatin1Char('\n')));
    };
    QList<Stueck> bloecke;
    for (qsizetype von = 0;;) {
        const qsizetype bis = skript.indexOf(Trenner, von);
        bloecke.append(Stueck{skript.mid(von, bis < 0 ? -1 : bis - von), von}.trimmed());
        if (bis < 0)
            break;
        von = bis + Trenner.size();
    }

    Variablen variablen;
    QList<int> ausgefuehrt;
    for (int nr = 1; nr <= bloecke.size(); ++nr) {
        if (fortschritt)
            fortschritt(nr - 1, int(bloecke.size()));
        Stueck block = bloecke[nr - 1];
        try {
            if (block.text.startsWith(Test)) {
                const Stueck rest = block.mid(Test.size()).trimmed();
                const qsizetype auf = rest.text.indexOf(QLatin1Char('('));
                if (auf < 0)
                    throw ESyntax(QStringLiteral("Nach \"TEST:\" fehlt \"(\"."));
                const QString art = rest.text.left(auf).trimmed();
                const auto [argument, tail] = Klammer(rest, auf + 1, auf + 1);
                auto [tabelle, bedingung] = TestBedingung(art, argument.trimmed());
                ErsetzeScriptVariablen(bedingung, variablen);
                const QString anzahl = datenbank.Wert(
                    QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(tabelle, bedingung));
                if (anzahl.toLongLong() != 0) {
                    const qsizetype sonst = tail.text.indexOf(TestElse);
                    block = sonst < 0 ? Stueck{QString(), tail.pos + tail.text.size()}
                                      : tail.mid(sonst + TestElse.size());
                } else {
                    Stueck t = tail;
                    const qsizetype dann = t.text.indexOf(TestThen);
                    if (dann >= 0)
                        t = t.mid(dann + TestThen.size());
                    t = t.trimmed();
                    const qsizetype sonst = t.text.indexOf(TestElse);
                    block = sonst < 0 ? t : t.mid(0, sonst);
                }
            }
            for (block = block.trimmed();; block = block.trimmed()) {
                if (block.text.startsWith(GetGenerator)) {
                    const auto [innen, rest] =
                        Klammer(block, GetGenerator.size(), GetGenerator.size());
                    const QStringList teile = innen.split(QLatin1Char(','));
                    if (teile.size() != 3)
                        throw ESyntax(
                            QStringLiteral("GETGENERATOR erwartet "
                                           "\"(Generator,Schritt,Variable)\"."));
                    const QString wert =
                        datenbank.Wert(QStringLiteral("SELECT GEN_ID(%1, %2) FROM RDB$DATABASE")
                                           .arg(teile[0].trimmed(), teile[1].trimmed()));
                    Setzen(variablen, teile[2].trimmed(), wert);
                    block = rest;
                } else if (block.text.startsWith(GetValue)) {
                    const qsizetype semikolon =
                        block.text.indexOf(QLatin1Char(';'), GetValue.size());
                    if (semikolon < 0)
                        throw ESyntax(QStringLiteral("GETVALUE erwartet \"(SQL;Variable)\"."));
                    const auto [innen, rest] = Klammer(block, GetValue.size(), semikolon);
                    const QString sql = innen.left(semikolon - GetValue.size()).trimmed();
                    const QString name = innen.mid(semikolon - GetValue.size() + 1).trimmed();
                    Setzen(variablen, name, datenbank.Wert(sql));
                    block = rest;
                } else {
                    break;
                }
            }
            QString text = block.text;
            ErsetzeScriptVariablen(text, variablen);
            const Stueck ausfuehren = Stueck{text, block.pos}.trimmed();
            if (!ausfuehren.text.isEmpty()) {
                datenbank.Ausfuehren(ausfuehren.text, zeileVon(ausfuehren.pos));
                datenbank.BlockAbschliessen();
                ausgefuehrt.append(nr);
            }
        } catch (const EAnweisung& e) {
            throw ESkriptFehler(nr, e.Zeile, e.Message(), ausgefuehrt);
        } catch (const db::Error& e) {
            throw ESkriptFehler(nr, zeileVon(block.pos), e.Message(), ausgefuehrt);
        } catch (const std::exception& e) {
            throw ESkriptFehler(nr, zeileVon(block.pos), QString::fromUtf8(e.what()), ausgefuehrt);
        }
    }
    if (fortschritt)
        fortschritt(int(bloecke.size()), int(bloecke.size()));
    return ausgefuehrt;
}

QString TSkriptDatenbank::Wert(const QString& sql)
{
    db::Query q(tr_, sql);
    q.SetParamCheck(false);
    q.Open();
    return q.Eof() || q.Field(0).IsNull() ? QString() : q.Field(0).AsString();
}

void TSkriptDatenbank::Ausfuehren(const QString& statements, int ersteZeile)
{
    for (const db::ScriptStatement& s : db::SplitScript(statements)) {
        try {
            db::Query q(tr_, s.Text);
            q.SetParamCheck(false);
            q.Execute();
        } catch (const db::Error& e) {
            throw EAnweisung(e, ersteZeile + s.Line - 1);
        }
    }
}

void TSkriptDatenbank::BlockAbschliessen()
{
    tr_.Commit();
    tr_.Start();
}

}  // namespace ZRDBScript
