#include "ImportWerte.h"

#include <LomCoder.h>

#include <QRegularExpression>

namespace ImportWerte {

QString NameNormalisieren(const QString& name)
{
    QString s = name.toLower();
    bool wortanfang = true;
    for (QChar& c : s) {
        if (wortanfang)
            c = c.toUpper();
        wortanfang = c == u' ';
    }
    if (s.size() > 3 && s.right(3).toUpper() == QLatin1String(" ET"))
        s.replace(s.size() - 2, 2, QStringLiteral("ET"));
    while (s.contains(QLatin1String("  ")))
        s.replace(QLatin1String("  "), QLatin1String(" "));
    return s;
}

std::optional<qint64> Ganzzahl(const QString& text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

std::optional<double> Dezimal(const QString& text)
{
    static const QRegularExpression zahl(QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    QString t = text.trimmed();
    if (!zahl.match(t).hasMatch())
        return std::nullopt;
    t.replace(u',', u'.');
    bool ok = false;
    const double d = t.toDouble(&ok);
    return ok ? std::optional(d) : std::nullopt;
}

std::optional<QDate> Datum(const QString& text)
{
    const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("dd.MM.yyyy"));
    return d.isValid() ? std::optional(d) : std::nullopt;
}

QString OhneFuehrendeNullen(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'0')
        ++i;
    return text.mid(i);
}

QString Ohrmarke(const QString& text)
{
    int64_t nummer = 0;
    if (Lom::EncodeLom(text.trimmed().toStdString(), nummer) == 0)
        return QString::fromStdString(Lom::DecodeLom(nummer));
    return OhneFuehrendeNullen(text.trimmed());
}

}  // namespace ImportWerte
