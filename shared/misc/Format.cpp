#include "Format.h"

#include <QRegularExpression>

#include <cmath>

namespace Tools {

namespace {

[[noreturn]] void fail(const QString& format)
{
    throw EFormatError(QStringLiteral("Format '%1' ungültig oder mit Argument unverträglich")
                           .arg(format)
                           .toStdString());
}

bool isInteger(const QVariant& v)
{
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return true;
        default:
            return false;
    }
}

bool isNumber(const QVariant& v)
{
    return isInteger(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

// Groups thousands with "." as the German convention has it.
QString groupThousands(const QString& digits)
{
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char('.');
        out += digits[i];
    }
    return out;
}

QString fixed(double value, int precision, bool grouped)
{
    QString s = QString::number(std::fabs(value), 'f', precision);
    QString intPart = s.section(QLatin1Char('.'), 0, 0);
    const QString frac = s.section(QLatin1Char('.'), 1);
    if (grouped)
        intPart = groupThousands(intPart);
    QString out = intPart;
    if (!frac.isEmpty())
        out += QLatin1Char(',') + frac;
    const bool negative = value < 0 && out.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return negative ? QLatin1Char('-') + out : out;
}

}  // namespace

QString Format(const QString& format, const QVariantList& args)
{
    QString out;
    int argIndex = 0;
    const int n = format.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (++i >= n)
            fail(format);
        if (format[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        bool leftAlign = false;
        if (format[i] == QLatin1Char('-')) {
            leftAlign = true;
            ++i;
        }
        int width = -1, precision = -1;
        auto readNumber = [&](int& target) {
            int start = i;
            while (i < n && format[i].isDigit())
                ++i;
            if (i > start)
                target = format.mid(start, i - start).toInt();
        };
        readNumber(width);
        if (i < n && format[i] == QLatin1Char('.')) {
            ++i;
            precision = 0;
            readNumber(precision);
        }
        if (i >= n || argIndex >= args.size())
            fail(format);
        const QVariant& arg = args[argIndex++];
        const QChar conv = format[i].toLower();
        QString piece;
        switch (conv.toLatin1()) {
            case 's':
                if (arg.typeId() != QMetaType::QString && arg.typeId() != QMetaType::QChar)
                    fail(format);
                piece = arg.toString();
                if (precision >= 0)
                    piece = piece.left(precision);
                break;
            case 'd':
            case 'u':
                if (!isInteger(arg))
                    fail(format);
                piece = QString::number(std::llabs(arg.toLongLong()));
                if (precision > piece.size())
                    piece = piece.rightJustified(precision, QLatin1Char('0'));
                if (arg.toLongLong() < 0)
                    piece.prepend(QLatin1Char('-'));
                break;
            case 'x':
                if (!isInteger(arg))
                    fail(format);
                piece = QString::number(arg.toULongLong(), 16).toUpper();
                if (precision > piece.size())
                    piece = piece.rightJustified(precision, QLatin1Char('0'));
                break;
            case 'f':
            case 'n':
            case 'm':
                if (!isNumber(arg))
                    fail(format);
                piece =
                    fixed(arg.toDouble(), precision < 0 ? 2 : precision, conv != QLatin1Char('f'));
                break;
            case 'e':
                if (!isNumber(arg))
                    fail(format);
                piece = QString::number(arg.toDouble(), 'E', precision < 0 ? 15 : precision - 1);
                piece.replace(QLatin1Char('.'), QLatin1Char(','));
                break;
            case 'g':
                if (!isNumber(arg))
                    fail(format);
                piece = QString::number(arg.toDouble(), 'G', precision < 0 ? 15 : precision);
                piece.replace(QLatin1Char('.'), QLatin1Char(','));
                break;
            default:
                fail(format);
        }
        if (width > piece.size())
            piece = leftAlign ? piece.leftJustified(width) : piece.rightJustified(width);
        out += piece;
    }
    return out;
}

}  // namespace Tools
