#include "ScriptRunner.h"

#include "Database.h"
#include "Error.h"
#include "Query.h"
#include "Transaction.h"

#include <QRegularExpression>

namespace db {

QList<ScriptStatement> SplitScript(const QString& script)
{
    static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QList<ScriptStatement> result;
    QString terminator = QStringLiteral(";");
    QString current;
    QString bare;  // the statement without its comments, for recognising isql's commands
    int line = 1;
    int startLine = 0;  // 0 while the statement holds nothing but blanks and comments
    const qsizetype n = script.size();
    qsizetype i = 0;
    auto take = [&](qsizetype to, bool comment = false) {
        for (qsizetype k = i; k < to; ++k) {
            if (script[k] == QLatin1Char('\n'))
                ++line;
        }
        // Comments before a statement's first word are not part of it.
        if (startLine || !comment)
            current += script.mid(i, to - i);
        bare += comment ? QStringLiteral(" ") : script.mid(i, to - i);
        i = to;
    };
    while (i < n) {
        const QChar c = script[i];
        if (c == QLatin1Char('-') && i + 1 < n && script[i + 1] == QLatin1Char('-')) {
            const qsizetype e = script.indexOf(QLatin1Char('\n'), i);
            take(e < 0 ? n : e, true);
        } else if (c == QLatin1Char('/') && i + 1 < n && script[i + 1] == QLatin1Char('*')) {
            const qsizetype e = script.indexOf(QLatin1String("*/"), i + 2);
            take(e < 0 ? n : e + 2, true);
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            if (!startLine)
                startLine = line;
            const qsizetype e = script.indexOf(c, i + 1);
            take(e < 0 ? n : e + 1);
        } else if (QStringView(script).mid(i, terminator.size()) == terminator) {
            const qsizetype length = terminator.size();
            const QString text = current.trimmed();
            const auto m = setTerm.match(bare.trimmed());
            if (m.hasMatch())
                terminator = m.captured(1);
            else if (startLine)
                result.append({text, startLine});
            current.clear();
            bare.clear();
            startLine = 0;
            i += length;
        } else {
            if (!startLine && !c.isSpace())
                startLine = line;
            take(i + 1);
        }
    }
    if (startLine)
        result.append({current.trimmed(), startLine});
    return result;
}

namespace {

bool IsIgnoredSetting(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^SET\\s+(SQL\\s+DIALECT|NAMES|AUTODDL|ECHO|BAIL|WARNINGS|LIST|HEADING|"
                       "COUNT|STATS|TIME|PLAN|PLANONLY|BLOB|ROWCOUNT)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(text).hasMatch();
}

bool Is(const QString& text, const char* pattern)
{
    return QRegularExpression(QString::fromLatin1(pattern),
                              QRegularExpression::CaseInsensitiveOption)
        .match(text)
        .hasMatch();
}

}  // namespace

void ScriptRunner::Run(const QString& script)
{
    const QList<ScriptStatement> statements = SplitScript(script);
    Transaction tr(database_, QStringLiteral("Skript"));
    tr.Start();
    for (int k = 0; k < statements.size(); ++k) {
        const ScriptStatement& s = statements[k];
        if (OnProgress)
            OnProgress(k, int(statements.size()));
        try {
            if (IsIgnoredSetting(s.Text))
                continue;
            if (Is(s.Text, "^COMMIT(\\s+WORK)?$")) {
                tr.Commit();
                tr.Start();
            } else if (Is(s.Text, "^ROLLBACK(\\s+WORK)?$")) {
                tr.Rollback();
                tr.Start();
            } else if (Is(s.Text, "^(CREATE\\s+DATABASE|CREATE\\s+SCHEMA|CONNECT)\\b")) {
                throw Error(
                    QStringLiteral("Ein Skript kann keine Datenbank anlegen oder "
                                   "verbinden."));
            } else {
                Query q(tr, s.Text);
                q.SetParamCheck(false);
                q.Execute();
                if (q.IsDdl()) {
                    tr.Commit();
                    tr.Start();
                }
            }
        } catch (const Error& e) {
            if (tr.Active())
                tr.Rollback();
            throw Error(
                QStringLiteral("%1\n\nZeile %2:\n%3").arg(e.Message()).arg(s.Line).arg(s.Text),
                e.SqlCode(), e.EngineCode(), e.Constraint());
        }
    }
    if (OnProgress)
        OnProgress(int(statements.size()), int(statements.size()));
    tr.Commit();
}

}  // namespace db
