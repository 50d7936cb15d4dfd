#include "Value.h"

#include "Error.h"

#include <cmath>

namespace db {

namespace {

[[noreturn]] void NotConvertible(const QVariant& v, const char* type)
{
    throw Error(QStringLiteral("Der Wert \"%1\" ist kein gültiger %2.")
                    .arg(v.toString(), QString::fromLatin1(type)));
}

}  // namespace

qint64 Value::AsInt64() const
{
    switch (v_.typeId()) {
        case QMetaType::UnknownType:
            return 0;
        case QMetaType::Int:
            return *static_cast<const int*>(v_.constData());
        case QMetaType::LongLong:
            return *static_cast<const qlonglong*>(v_.constData());
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::UInt:
            return v_.toLongLong();
        case QMetaType::Double:
        case QMetaType::Float: {
            // Beyond 64 bits (and for NaN) rounding has no result; it must not become some number.
            const double d = v_.toDouble();
            if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0))
                NotConvertible(v_, "Ganzzahlwert");
            return std::llround(d);
        }
        case QMetaType::Bool:
            return v_.toBool() ? 1 : 0;
        default:
            break;
    }
    if (v_.isNull())
        return 0;
    bool ok = false;
    const qint64 r = v_.toString().trimmed().toLongLong(&ok);
    if (!ok)
        NotConvertible(v_, "Ganzzahlwert");
    return r;
}

int Value::AsInteger() const
{
    const qint64 r = AsInt64();
    if (r < std::numeric_limits<int>::min() || r > std::numeric_limits<int>::max())
        NotConvertible(v_, "Ganzzahlwert");
    return int(r);
}

double Value::AsDouble() const
{
    if (v_.typeId() == QMetaType::Double)
        return *static_cast<const double*>(v_.constData());
    if (v_.isNull())
        return 0;
    bool ok = false;
    const double r =
        v_.typeId() == QMetaType::QString
            ? v_.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok)
            : v_.toDouble(&ok);
    if (!ok)
        NotConvertible(v_, "Zahlenwert");
    return r;
}

QString Value::AsString() const
{
    switch (v_.typeId()) {
        case QMetaType::UnknownType:
            return {};
        case QMetaType::QDate:
            return v_.toDate().toString(QStringLiteral("dd.MM.yyyy"));
        case QMetaType::QDateTime:
            return v_.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        case QMetaType::QByteArray:
            return QString::fromLatin1(v_.toByteArray());
        case QMetaType::Bool:
            return v_.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        default:
            return v_.isNull() ? QString() : v_.toString();
    }
}

QDate Value::AsDate() const
{
    if (v_.typeId() == QMetaType::QDate)
        return *static_cast<const QDate*>(v_.constData());
    if (v_.isNull())
        return {};
    if (v_.typeId() == QMetaType::QDateTime)
        return v_.toDateTime().date();
    const QString s = v_.toString().trimmed();
    for (const char* format : {"dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(s, QString::fromLatin1(format));
        if (d.isValid())
            return d;
    }
    NotConvertible(v_, "Datumswert");
}

QTime Value::AsTime() const
{
    if (v_.typeId() == QMetaType::QTime)
        return *static_cast<const QTime*>(v_.constData());
    if (v_.isNull())
        return {};
    if (v_.typeId() == QMetaType::QDateTime)
        return v_.toDateTime().time();
    const QTime t = QTime::fromString(v_.toString().trimmed(), Qt::ISODateWithMs);
    if (!t.isValid())
        NotConvertible(v_, "Zeitwert");
    return t;
}

QDateTime Value::AsDateTime() const
{
    if (v_.typeId() == QMetaType::QDateTime)
        return *static_cast<const QDateTime*>(v_.constData());
    if (v_.isNull())
        return {};
    if (v_.typeId() == QMetaType::QDate)
        return QDateTime(v_.toDate(), QTime(0, 0));
    const QString s = v_.toString().trimmed();
    for (const char* format : {"dd.MM.yyyy hh:mm:ss", "dd.MM.yyyy hh:mm", "dd.MM.yyyy"}) {
        const QDateTime d = QDateTime::fromString(s, QString::fromLatin1(format));
        if (d.isValid())
            return d;
    }
    const QDateTime iso = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!iso.isValid())
        NotConvertible(v_, "Zeitpunkt");
    return iso;
}

bool Value::AsBoolean() const
{
    if (v_.isNull())
        return false;
    if (v_.typeId() == QMetaType::QString) {
        const QString s = v_.toString().trimmed().toUpper();
        return s == QLatin1String("T") || s == QLatin1String("TRUE") || s == QLatin1String("1");
    }
    return v_.toBool();
}

}  // namespace db
