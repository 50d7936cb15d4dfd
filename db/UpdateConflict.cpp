#include "UpdateConflict.h"

#include "Error.h"
#include "Query.h"

#include <utility>
#include <vector>

namespace db {

namespace {

ConflictHandler& Handler()
{
    static ConflictHandler handler;
    return handler;
}

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

struct Token {
    enum Kind { Word, Comma, Equals, Quoted, Other } kind;
    QString text;  // words upper-case
    qsizetype begin;
    qsizetype end;
    int depth;
};

// The statement's tokens with their nesting in parentheses; strings and comments are skipped.
std::vector<Token> Tokens(const QString& sql)
{
    std::vector<Token> tokens;
    int depth = 0;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql[i];
        const qsizetype begin = i;
        if (c.isSpace()) {
            ++i;
        } else if (const qsizetype ende = SqlTextOrCommentEnd(sql, i); ende > i) {
            i = ende;
            // Comments are skipped; texts and quoted names are tokens.
            if (c == QLatin1Char('\''))
                tokens.push_back({Token::Other, {}, begin, i, depth});
            else if (c == QLatin1Char('"'))
                tokens.push_back({Token::Quoted, {}, begin, i, depth});
        } else if (IsWordChar(c)) {
            while (i < n && IsWordChar(sql[i]))
                ++i;
            tokens.push_back({Token::Word, sql.mid(begin, i - begin).toUpper(), begin, i, depth});
        } else {
            ++i;
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            const Token::Kind kind = c == QLatin1Char(',')   ? Token::Comma
                                     : c == QLatin1Char('=') ? Token::Equals
                                                             : Token::Other;
            tokens.push_back({kind, QString(c), begin, i, depth});
        }
    }
    return tokens;
}

bool IsName(const Token& t)
{
    return t.kind == Token::Word && !t.text.front().isDigit();
}

}  // namespace

void SetConflictHandler(ConflictHandler handler)
{
    Handler() = std::move(handler);
}

ConflictAnswer AskConflict(const UpdateConflict& conflict)
{
    const QString was = conflict.deleted ? QStringLiteral("gelöscht") : QStringLiteral("geändert");
    const ConflictHandler& handler = Handler();
    if (!handler)
        throw Error(QStringLiteral("Der Datensatz wurde nicht gespeichert: er wurde inzwischen an "
                                   "einem anderen Arbeitsplatz %1.")
                        .arg(was));
    const ConflictAnswer answer = handler(conflict);
    if (answer == ConflictAnswer::Overwrite && !conflict.overwritable)
        throw Error(QStringLiteral("Der Datensatz kann nicht überschrieben werden: er wurde "
                                   "inzwischen an einem anderen Arbeitsplatz %1.")
                        .arg(was));
    return answer;
}

bool IsUpdateConflict(const Error& error)
{
    // isc_deadlock comes first in the engine's report of an update conflict.
    return error.EngineCode() == 335544336L || error.EngineCode() == 335544451L;
}

UpdateStatement::UpdateStatement(const QString& sql) : sql_(sql)
{
    const std::vector<Token> t = Tokens(sql);
    if (t.size() < 4 || t[0].kind != Token::Word || t[0].text != QLatin1String("UPDATE") ||
        !IsName(t[1]) || t[2].kind != Token::Word || t[2].text != QLatin1String("SET"))
        return;
    size_t where = 0;
    for (size_t i = 3; i < t.size(); ++i) {
        if (t[i].kind == Token::Quoted)
            return;
        if (t[i].kind != Token::Word || t[i].depth != 0)
            continue;
        if (t[i].text == QLatin1String("RETURNING") || t[i].text == QLatin1String("PLAN") ||
            t[i].text == QLatin1String("ORDER") || t[i].text == QLatin1String("ROWS"))
            return;
        if (t[i].text == QLatin1String("WHERE") && where == 0)
            where = i;
    }
    if (where == 0 || where + 1 >= t.size())
        return;
    QStringList columns;
    for (size_t i = 3; i < where;) {
        if (!IsName(t[i]) || i + 1 >= where || t[i + 1].kind != Token::Equals)
            return;
        columns << t[i].text;
        while (i < where && !(t[i].kind == Token::Comma && t[i].depth == 0))
            ++i;
        ++i;
    }
    if (columns.isEmpty())
        return;
    table_ = t[1].text;
    columns_ = columns;
    whereAt_ = t[where].begin;
    where_ = sql.mid(t[where].end).trimmed();
}

QString UpdateStatement::Guarded(const QStringList& compared) const
{
    QString sql = sql_.left(whereAt_) + QStringLiteral("WHERE (") + where_ + QLatin1Char(')');
    for (const QString& c : compared)
        sql += QStringLiteral(" AND %1 IS NOT DISTINCT FROM :OLD_%1").arg(c);
    return sql;
}

QString UpdateStatement::Differences(const QStringList& compared) const
{
    QStringList columns;
    for (const QString& c : compared)
        columns << QStringLiteral("IIF(%1 IS NOT DISTINCT FROM :OLD_%1, 0, 1)").arg(c);
    if (columns.isEmpty())
        columns << QStringLiteral("0");
    return QStringLiteral("SELECT %1 FROM %2 WHERE (%3)")
        .arg(columns.join(QStringLiteral(", ")), table_, where_);
}

}  // namespace db
