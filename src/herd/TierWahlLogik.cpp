#include "TierWahlLogik.h"

#include <Query.h>

#include <QRegularExpression>

#include <climits>
#include <stdexcept>

namespace TierWahl {

const TModus& Modus(int modus)
{
    static const TModus modi[] = {
        {QStringLiteral("Einzeltier-Auswahl"), QStringLiteral("Auswählen"), false},
        {QStringLiteral("Tiere löschen"), QStringLiteral("Löschen"), true},
        {QStringLiteral("Betriebsstätten - Wechsel"), QStringLiteral("Wechseln"), true},
        {QStringLiteral("Tier-Gruppen behandeln"), QStringLiteral("Behandlung\neingeben"), true},
    };
    if (modus < 0 || modus > 3)
        throw std::invalid_argument("Unbekannte Art der Tier-Auswahl: " + std::to_string(modus));
    return modi[modus];
}

namespace {

bool IstWortzeichen(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

}  // namespace

bool HatAeussereWhere(const QString& sql)
{
    int tiefe = 0;
    const int n = int(sql.size());
    for (int i = 0; i < n;) {
        const QChar c = sql[i];
        if (const int ende = int(db::SqlTextOrCommentEnd(sql, i)); ende > i) {
            i = ende;
        } else if (c == u'(') {
            ++tiefe;
            ++i;
        } else if (c == u')') {
            --tiefe;
            ++i;
        } else if (IstWortzeichen(c)) {
            const int anfang = i;
            while (i < n && IstWortzeichen(sql[i]))
                ++i;
            if (tiefe == 0 &&
                QStringView(sql).mid(anfang, i - anfang).compare(u"WHERE", Qt::CaseInsensitive) ==
                    0)
                return true;
        } else {
            ++i;
        }
    }
    return false;
}

QStringList AuswahlSQL(const QString& maskenQuery, const QString& betrieb)
{
    QStringList zeilen = maskenQuery.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!betrieb.isEmpty()) {
        zeilen << (HatAeussereWhere(maskenQuery) ? QStringLiteral("AND") : QStringLiteral("WHERE"));
        QString literal = betrieb;
        literal.replace(u'\'', QStringLiteral("''"));
        zeilen << QStringLiteral("(BETRIEB = '") + literal + QStringLiteral("')");
    }
    zeilen << QStringLiteral("ORDER BY T.KNR, T.GEBDAT");
    return zeilen;
}

QString SchnelllisteSQL(const QStringList& teil)
{
    QString sql = QStringLiteral("SELECT T.ID, T.NAME, T.NUMMER ");
    for (const QString& zeile : teil)
        sql += zeile + u'\n';
    return sql;
}

QString ErgebnisSQL(const QStringList& teil)
{
    return QStringLiteral(
               "SELECT T.ID, T.STATUSIDX, T.KNR, T.KNRDISPLAY, T.NAME, T.NUMMER,\n"
               "T.GEBDAT, T.BETRIEB\n") +
           teil.join(u'\n');
}

QString Suchtext(const QString& text)
{
    QString r = text.toUpper();
    r.remove(u' ');
    return r;
}

bool ZeilePasst(const QString& suchtext, const QString& knrDisplay, const QString& nummer,
                const QString& name)
{
    return suchtext.isEmpty() || knrDisplay.contains(suchtext) ||
           Suchtext(nummer).contains(suchtext) || Suchtext(name).contains(suchtext);
}

int KnrSortwert(const QString& knr)
{
    bool ok = false;
    const int wert = knr.trimmed().toInt(&ok);
    return ok && wert > 0 ? wert : INT_MAX;
}

QString MindestanzahlText(int mindestanzahl)
{
    if (mindestanzahl <= 1)
        return QStringLiteral("Es muss mindestens 1 Tier ausgewählt werden.");
    return QStringLiteral("Es müssen mindestens %1 Tiere ausgewählt werden.").arg(mindestanzahl);
}

}  // namespace TierWahl
