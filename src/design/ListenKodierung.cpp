#include "ListenKodierung.h"

namespace ListenKodierung {

namespace {

const QChar Trenner = QLatin1Char(';');

void TokenPruefen(const QString& token)
{
    if (token.contains(Trenner))
        throw EKodierung(SemikolonMeldung(token).toStdString());
}

}  // namespace

QStringList Tokens(const QString& text)
{
    QStringList tokens;
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype p = rest.indexOf(Trenner);
        if (p < 0) {
            tokens << rest;
            break;
        }
        tokens << rest.left(p);
        rest = rest.mid(p + 1);
    }
    return tokens;
}

const Codetabelle& DesignerOperatoren()
{
    static const Codetabelle t{
        {QStringLiteral("gleich"), QStringLiteral("=")},
        {QStringLiteral("kleiner als"), QStringLiteral("<")},
        {QStringLiteral("größer als"), QStringLiteral(">")},
        {QStringLiteral("kleiner o. gleich"), QStringLiteral("<=")},
        {QStringLiteral("größer o. gleich"), QStringLiteral(">=")},
        {QStringLiteral("nicht gleich"), QStringLiteral("<>")},
        {QStringLiteral("in Liste"), QStringLiteral("IN")},
        {QStringLiteral("nicht in Liste"), QStringLiteral("NOT IN")},
        {QStringLiteral("leer"), QStringLiteral("IS NULL")},
        {QStringLiteral("nicht leer"), QStringLiteral("IS NOT NULL")},
    };
    return t;
}

const Codetabelle& MaskenOperatoren()
{
    static const Codetabelle t{
        {QStringLiteral("gleich"), QStringLiteral("=")},
        {QStringLiteral("nicht gleich"), QStringLiteral("<>")},
        {QStringLiteral("in Liste"), QStringLiteral("IN")},
        {QStringLiteral("nicht in Liste"), QStringLiteral("NOT IN")},
    };
    return t;
}

const Codetabelle& Verknuepfungen()
{
    static const Codetabelle t{
        {QString(), QString()},
        {QStringLiteral("und"), QStringLiteral("AND")},
        {QStringLiteral("oder"), QStringLiteral("OR")},
    };
    return t;
}

const Codetabelle& Sortierrichtungen()
{
    static const Codetabelle t{
        {QStringLiteral("aufsteigend"), QStringLiteral("ASC")},
        {QStringLiteral("absteigend"), QStringLiteral("DESC")},
    };
    return t;
}

const Codetabelle& MaskenFelder()
{
    static const Codetabelle t{
        {QStringLiteral("Geschlecht"), QStringLiteral("GESCHLECHT")},
        {QStringLiteral("Status"), QStringLiteral("STATUS")},
        {QStringLiteral("Art"), QStringLiteral("STATUSEXT")},
    };
    return t;
}

QStringList Angezeigt(const Codetabelle& tabelle)
{
    QStringList r;
    for (const Code& c : tabelle)
        r << c.angezeigt;
    return r;
}

QString Schreiben(const Codetabelle& tabelle, const QString& angezeigt)
{
    for (const Code& c : tabelle)
        if (c.angezeigt == angezeigt)
            return c.gespeichert;
    return angezeigt;
}

QString Lesen(const Codetabelle& tabelle, const QString& gespeichert)
{
    for (const Code& c : tabelle)
        if (c.gespeichert == gespeichert)
            return c.angezeigt;
    return {};
}

QString BedingungenKodieren(const QList<Bedingung>& bedingungen)
{
    QStringList tokens;
    for (qsizetype i = 0; i < bedingungen.size(); ++i) {
        const Bedingung& b = bedingungen.at(i);
        const QString verknuepfung = i + 1 < bedingungen.size() ? b.verknuepfung : QString();
        for (const QString& t : {b.feld, b.operation, b.wert, verknuepfung})
            TokenPruefen(t);
        tokens << b.feld << b.operation << b.wert << verknuepfung;
    }
    return tokens.join(Trenner);
}

QList<Bedingung> BedingungenLesen(const QString& text)
{
    const QStringList t = Tokens(text);
    QList<Bedingung> r;
    for (qsizetype i = 0; i < t.size(); i += 4)
        r << Bedingung{t.value(i), t.value(i + 1), t.value(i + 2), t.value(i + 3)};
    return r;
}

QString SortierungKodieren(const QList<Sortierung>& sortierungen)
{
    QStringList tokens;
    for (const Sortierung& s : sortierungen) {
        TokenPruefen(s.feld);
        TokenPruefen(s.richtung);
        tokens << s.feld << s.richtung;
    }
    return tokens.join(Trenner);
}

QList<Sortierung> SortierungLesen(const QString& text)
{
    const QStringList t = Tokens(text);
    QList<Sortierung> r;
    for (qsizetype i = 0; i < t.size(); i += 2)
        r << Sortierung{t.value(i), t.value(i + 1)};
    return r;
}

QString FelderKodieren(const QStringList& tokens)
{
    for (const QString& t : tokens)
        TokenPruefen(t);
    return tokens.join(Trenner);
}

QStringList FelderLesen(const QString& text)
{
    return Tokens(text);
}

FeldEintrag FeldEintrag::AusText(const QString& eintrag)
{
    const QStringList t = eintrag.split(Trenner);
    return {t.value(0), t.value(1), t.value(2), t.value(3), t.value(4)};
}

QString FeldToken(const QList<FeldEintrag>& felder, const QString& kombi)
{
    for (const FeldEintrag& f : felder)
        if (f.kombi == kombi)
            return f.feld;
    return kombi;
}

QString FeldKombi(const QList<FeldEintrag>& felder, const QString& token)
{
    for (const FeldEintrag& f : felder)
        if (f.feld == token)
            return f.kombi;
    return {};
}

QString SemikolonMeldung(const QString& wert)
{
    return QStringLiteral(
               "Der Wert \"%1\" enthält ein Semikolon (;).\r"
               "Ein Semikolon trennt die gespeicherten Angaben der Liste und darf "
               "in keinem Wert stehen.")
        .arg(wert);
}

}  // namespace ListenKodierung
