#include "Field.h"

#include "DataSet.h"
#include "Error.h"

#include <QLocale>

namespace db {

namespace {

const QLocale& German()
{
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

// A date format of the form the field settings use ("dd.mm.yyyy hh:nn") in Qt's notation: "nn"
// and an "mm" right after the hour are minutes, other "m" runs are months.
QString QtDateFormat(const QString& f)
{
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < f.size();) {
        const QChar quote = f[i];
        if (quote == QLatin1Char('\'') || quote == QLatin1Char('"')) {
            const qsizetype e = f.indexOf(quote, i + 1);
            const qsizetype stop = e < 0 ? f.size() : e;
            out += QLatin1Char('\'') + f.mid(i + 1, stop - i - 1) + QLatin1Char('\'');
            i = stop + 1;
            continue;
        }
        const QChar c = f[i].toLower();
        qsizetype n = 1;
        while (i + n < f.size() && f[i + n].toLower() == c)
            ++n;
        const QString run(n, c);
        if (c == QLatin1Char('m'))
            out += afterHour && n <= 2 ? run : run.toUpper();
        else if (c == QLatin1Char('n'))
            out += QString(n, QLatin1Char('m'));
        else if (QStringLiteral("ydhsz").contains(c))
            out += run;
        else if (c.isLetter())
            out += QLatin1Char('\'') + f.mid(i, n) + QLatin1Char('\'');
        else
            out += f.mid(i, n);
        if (c.isLetter())
            afterHour = c == QLatin1Char('h');
        i += n;
    }
    return out;
}

// A number format "prefix #,##0.00 suffix" (first section of "pos;neg;zero").
QString FormatNumber(double v, const QString& format)
{
    const QString f = format.section(QLatin1Char(';'), 0, 0);
    qsizetype start = -1, end = -1;
    for (qsizetype i = 0; i < f.size(); ++i) {
        if (QStringLiteral("#0,.").contains(f[i])) {
            if (start < 0)
                start = i;
            end = i + 1;
        }
    }
    if (start < 0)
        return f;
    const QString pattern = f.mid(start, end - start);
    auto literal = [](QString s) {
        s.remove(QLatin1Char('"'));
        s.remove(QLatin1Char('\''));
        return s;
    };
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const QString decimals = dot < 0 ? QString() : pattern.mid(dot + 1);
    const int maxDecimals =
        int(decimals.count(QLatin1Char('0')) + decimals.count(QLatin1Char('#')));
    const int minDecimals = int(decimals.count(QLatin1Char('0')));
    QLocale locale = German();
    if (!pattern.contains(QLatin1Char(',')))
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(v, 'f', maxDecimals);
    if (maxDecimals > minDecimals) {
        const QChar comma = locale.decimalPoint().at(0);
        int drop = 0;
        while (drop < maxDecimals - minDecimals && text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
            ++drop;
        }
        if (text.endsWith(comma))
            text.chop(1);
    }
    return literal(f.left(start)) + text + literal(f.mid(end));
}

bool IsText(FieldType t)
{
    return t == FieldType::Char || t == FieldType::VarChar || t == FieldType::TextBlob;
}

}  // namespace

Field::Field(DataSet& dataSet, const QString& name, FieldType type, int size, bool calculated)
    : Size(size), dataSet_(dataSet), name_(name), type_(type), calculated_(calculated)
{
}

bool Field::IsNumeric() const
{
    switch (type_) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::BigInt:
        case FieldType::Numeric:
        case FieldType::Float:
        case FieldType::Double:
            return true;
        default:
            return false;
    }
}

int Field::Index() const
{
    return index_;
}

const Value& Field::AsValue() const
{
    static const Value null;
    const auto& row = dataSet_.CurrentBuffer();
    return index_ < row.size() ? row[index_] : null;
}

Value Field::OldValue() const
{
    if (dataSet_.State() == DataSetState::Edit)
        return dataSet_.old_.value(index_);
    return AsValue();
}

QString Field::DisplayText() const
{
    return Format(AsValue(), type_, DisplayFormat);
}

QString Field::Format(const Value& value, FieldType type, const QString& displayFormat)
{
    if (value.IsNull())
        return {};
    const QVariant& v = value.AsVariant();
    switch (type) {
        case FieldType::Date:
            return German().toString(value.AsDate(), displayFormat.isEmpty()
                                                         ? QStringLiteral("dd.MM.yyyy")
                                                         : QtDateFormat(displayFormat));
        case FieldType::Time:
            return German().toString(value.AsTime(), displayFormat.isEmpty()
                                                         ? QStringLiteral("hh:mm:ss")
                                                         : QtDateFormat(displayFormat));
        case FieldType::Timestamp: {
            const QDateTime dt = value.AsDateTime();
            if (!displayFormat.isEmpty())
                return German().toString(dt, QtDateFormat(displayFormat));
            return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("dd.MM.yyyy"))
                                            : dt.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        }
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::BigInt:
            if (displayFormat.isEmpty())
                return QString::number(value.AsInt64());
            return FormatNumber(value.AsDouble(), displayFormat);
        case FieldType::Numeric:
        case FieldType::Float:
        case FieldType::Double:
            if (displayFormat.isEmpty()) {
                QLocale locale = German();
                locale.setNumberOptions(QLocale::OmitGroupSeparator);
                return locale.toString(value.AsDouble(), 'g', 15);
            }
            return FormatNumber(value.AsDouble(), displayFormat);
        default:
            if (v.typeId() == QMetaType::Double && !displayFormat.isEmpty())
                return FormatNumber(v.toDouble(), displayFormat);
            return value.AsString();
    }
}

void Field::SetValue(QVariant value)
{
    // An empty text clears a field that does not hold text.
    if (!IsText(type_) && value.typeId() == QMetaType::QString &&
        value.toString().trimmed().isEmpty())
        value = QVariant();
    dataSet_.SetFieldValue(*this, std::move(value));
}

void Field::Store(QVariant&& value)
{
    dataSet_.SetFieldValue(*this, std::move(value));
}

}  // namespace db
