#include "FloatEditRegeln.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace FloatEditRegeln {

QString ZahlText(long double wert, int digits, QChar sep)
{
    // The C locale gives plain fixed notation; only the separator is the user's.
    QString text = QLocale::c().toString(double(wert), 'f', digits);
    if (text.startsWith(QLatin1Char('-')) && QLocale::c().toDouble(text) == 0)
        text.remove(0, 1);  // no "-0,00"
    text.replace(QLatin1Char('.'), sep);
    return text;
}

Lesung Lesen(const QString& text, const Bereich& b)
{
    const QString t = text.trimmed();
    const bool leer = t.isEmpty() || t == QStringLiteral("-") || t == QString(b.sep);
    if (leer && b.allowNull)
        return {Lesung::Leer, 0};
    long double wert = 0;
    if (!leer) {
        QString c = t;
        // The edit never shows grouping; a "." typed or pasted where "," is the separator is no
        // number rather than a thousand separator.
        if (b.sep != QLatin1Char('.') && c.contains(QLatin1Char('.')))
            return {Lesung::Unlesbar, 0};
        c.replace(b.sep, QLatin1Char('.'));
        bool ok = false;
        const double d = QLocale::c().toDouble(c, &ok);
        if (!ok || !std::isfinite(d))
            return {Lesung::Unlesbar, 0};
        // What the edit shows after leaving is what is stored.
        const QString gerundet = QLocale::c().toString(d, 'f', b.digits);
        wert = QLocale::c().toDouble(gerundet, &ok);
    }
    if (wert < b.min || wert > b.max)
        return {Lesung::Ausserhalb, wert};
    return {Lesung::Zahl, wert};
}

Taste Zeichen(const QString& text, int selStart, int selLen, QChar ch, const Bereich& b)
{
    const QChar minus = QLatin1Char('-');
    if (!ch.isDigit() && ch != b.sep && ch != minus)
        return {};
    if (ch.isDigit() && (ch < QLatin1Char('0') || ch > QLatin1Char('9')))
        return {};
    QString rest = text;
    rest.remove(selStart, selLen);
    QString neu = rest;
    neu.insert(selStart, ch);
    if (ch == b.sep && (rest.contains(b.sep) || b.digits == 0))
        return {};
    if (ch == minus && (rest.contains(minus) || b.min >= 0))
        return {};
    const qsizetype p = neu.indexOf(b.sep);
    if (p >= 0 && neu.size() - p - 1 > b.digits)
        return {};
    if (neu.lastIndexOf(minus) > 0)
        return {};
    if (neu == QString(minus))
        return {Taste::Ersetzen, QStringLiteral("-0"), 1, 1};
    if (neu == QString(b.sep))
        return {Taste::Ersetzen, QStringLiteral("0") + b.sep + QStringLiteral("0"), 2, 1};
    return {Taste::Annehmen, {}, 0, 0};
}

QString Fehlertext(const Lesung& l, const Bereich& b)
{
    const QString von = ZahlText(b.min, b.digits, b.sep);
    const QString bis = ZahlText(b.max, b.digits, b.sep);
    if (l.art == Lesung::Unlesbar)
        return QStringLiteral(
                   "Die Eingabe ist keine gültige Zahl.\rErlaubt sind Zahlen von %1 bis %2.")
            .arg(von, bis);
    return QStringLiteral(
               "Die Zahl liegt außerhalb des erlaubten Bereichs.\rErlaubt sind Zahlen von %1 bis "
               "%2.")
        .arg(von, bis);
}

Bereich InSpalte(const Bereich& b, long double spalteMin, long double spalteMax, long double factor)
{
    const auto [unten, oben] = std::minmax({spalteMin * factor, spalteMax * factor});
    const long double stellen = std::pow(10.0L, b.digits);
    Bereich r = b;
    r.min = std::max(b.min, std::ceil(unten * stellen) / stellen);
    r.max = std::min(b.max, std::floor(oben * stellen) / stellen);
    return r;
}

}  // namespace FloatEditRegeln
