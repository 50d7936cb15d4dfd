#include "ZRDateTools.h"

#include <QRegularExpression>
#include <QStringList>

namespace ZRDateTools {

namespace {

std::function<QDate()>& HeuteQuelle()
{
    static std::function<QDate()> quelle;
    return quelle;
}

int VierstelligesJahr(int jahr, int stellen, const QDate& heute)
{
    if (stellen == 4)
        return jahr;
    // Window [today - 80, today + 19] for two-digit years.
    const int oberes = heute.year() + 19;
    int kandidat = (oberes / 100) * 100 + jahr;
    if (kandidat > oberes)
        kandidat -= 100;
    return kandidat;
}

QString Ergebnis(int tag, int monat, int jahr)
{
    const QDate d(jahr, monat, tag);
    return d.isValid() ? DatumText(d) : QString();
}

QString AusTeilen(const QStringList& teile, const QDate& heute)
{
    if (teile.isEmpty() || teile.size() > 3)
        return {};
    for (const QString& t : teile)
        if (t.isEmpty() || t.size() > 4)
            return {};
    if (teile[0].size() > 2 || (teile.size() > 1 && teile[1].size() > 2))
        return {};
    const int tag = teile[0].toInt();
    const int monat = teile.size() > 1 ? teile[1].toInt() : heute.month();
    int jahr = heute.year();
    if (teile.size() == 3) {
        const int stellen = int(teile[2].size());
        if (stellen != 2 && stellen != 4)
            return {};
        jahr = VierstelligesJahr(teile[2].toInt(), stellen, heute);
    }
    return Ergebnis(tag, monat, jahr);
}

QString AusZiffern(const QString& ziffern, const QDate& heute)
{
    switch (ziffern.size()) {
        case 1:
        case 2:
            return AusTeilen({ziffern}, heute);
        case 4:
            return AusTeilen({ziffern.left(2), ziffern.mid(2, 2)}, heute);
        case 6:
        case 8:
            return AusTeilen({ziffern.left(2), ziffern.mid(2, 2), ziffern.mid(4)}, heute);
        default:
            return {};
    }
}

}  // namespace

QString FormatDateNice(const QString& text, const QDate& heute)
{
    const QString eingabe = text.trimmed();
    if (eingabe.isEmpty())
        return eingabe;
    static const QRegularExpression nurZiffern(QStringLiteral("^\\d+$"));
    static const QRegularExpression zeichen(QStringLiteral("^[\\d.,/\\- ]+$"));
    static const QRegularExpression trenner(QStringLiteral("[.,/\\- ]+"));
    QString ergebnis;
    if (nurZiffern.match(eingabe).hasMatch()) {
        ergebnis = AusZiffern(eingabe, heute);
    } else if (zeichen.match(eingabe).hasMatch()) {
        // A trailing separator ("1.2.") ends the entry; one in front makes no date.
        QStringList teile = eingabe.split(trenner);
        if (!teile.isEmpty() && teile.last().isEmpty())
            teile.removeLast();
        ergebnis = AusTeilen(teile, heute);
    }
    return ergebnis.isEmpty() ? eingabe : ergebnis;
}

QString FormatDateNice(const QString& text)
{
    return FormatDateNice(text, Heute());
}

QDate DatumAusText(const QString& text, const QDate& heute)
{
    return QDate::fromString(FormatDateNice(text, heute), QStringLiteral("dd.MM.yyyy"));
}

QDate DatumAusText(const QString& text)
{
    return DatumAusText(text, Heute());
}

QString DatumText(const QDate& datum)
{
    return datum.isValid() ? datum.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QDate Heute()
{
    const auto& quelle = HeuteQuelle();
    return quelle ? quelle() : QDate::currentDate();
}

void SetHeuteQuelle(std::function<QDate()> quelle)
{
    HeuteQuelle() = std::move(quelle);
}

}  // namespace ZRDateTools
