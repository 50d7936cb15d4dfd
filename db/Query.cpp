#include "Query.h"

#include "Database.h"
#include "FbApi.h"
#include "Transaction.h"

#include <QHash>
#include <QPointer>

#include <ibase.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace db {

using namespace Firebird;

qsizetype SqlTextOrCommentEnd(const QString& sql, qsizetype i)
{
    const qsizetype n = sql.size();
    if (i >= n)
        return i;
    const QChar c = sql[i];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        for (++i; i < n; ++i) {
            if (sql[i] == c) {
                if (i + 1 < n && sql[i + 1] == c)
                    ++i;
                else
                    return i + 1;
            }
        }
        return n;
    }
    if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
        while (i < n && sql[i] != QLatin1Char('\n') && sql[i] != QLatin1Char('\r'))
            ++i;
        return i;
    }
    if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
        const qsizetype close = sql.indexOf(QLatin1String("*/"), i + 2);
        return close < 0 ? n : close + 2;
    }
    return i;
}

ParsedSql ParseParams(const QString& sql)
{
    ParsedSql r;
    r.Sql.reserve(sql.size());
    const qsizetype n = sql.size();
    auto isNameChar = [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        if (const qsizetype ende = SqlTextOrCommentEnd(sql, i); ende > i) {
            r.Sql += sql.mid(i, ende - i);
            i = ende;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameChar(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql[j]))
                ++j;
            r.Positions.append(sql.mid(i + 1, j - i - 1).toUpper());
            r.Sql += QLatin1Char('?');
            i = j;
        } else {
            r.Sql += c;
            ++i;
        }
    }
    return r;
}

namespace {

constexpr unsigned charSetOctets = 1;

FieldType TypeOf(unsigned type, int scale, int subType, unsigned charSet)
{
    switch (type) {
        case SQL_SHORT:
            return scale < 0 ? FieldType::Numeric : FieldType::SmallInt;
        case SQL_LONG:
            return scale < 0 ? FieldType::Numeric : FieldType::Integer;
        case SQL_INT64:
            return scale < 0 ? FieldType::Numeric : FieldType::BigInt;
        case SQL_FLOAT:
            return FieldType::Float;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            return FieldType::Double;
        case SQL_TEXT:
            return charSet == charSetOctets ? FieldType::Blob : FieldType::Char;
        case SQL_VARYING:
            return charSet == charSetOctets ? FieldType::Blob : FieldType::VarChar;
        case SQL_TYPE_DATE:
            return FieldType::Date;
        case SQL_TYPE_TIME:
            return FieldType::Time;
        case SQL_TIMESTAMP:
            return FieldType::Timestamp;
        case SQL_BLOB:
            return subType == 1 ? FieldType::TextBlob : FieldType::Blob;
        case SQL_BOOLEAN:
            return FieldType::Boolean;
        default:
            return FieldType::Unknown;
    }
}

const double powers[] = {1,    10,   100,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                         1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

double Power10(int scale)
{
    return powers[std::min(-scale, 18)];
}

// A column or parameter slot of a message buffer.
struct Slot {
    unsigned type = 0;
    int subType = 0;
    int scale = 0;
    unsigned charSet = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};

std::vector<Slot> Slots(fb::Status& st, IMessageMetadata* meta)
{
    std::vector<Slot> result(meta->getCount(&st));
    for (unsigned i = 0; i < result.size(); ++i) {
        Slot& s = result[i];
        s.type = meta->getType(&st, i);
        s.subType = meta->getSubType(&st, i);
        s.scale = meta->getScale(&st, i);
        s.charSet = meta->getCharSet(&st, i);
        s.length = meta->getLength(&st, i);
        s.offset = meta->getOffset(&st, i);
        s.nullOffset = meta->getNullOffset(&st, i);
    }
    return result;
}

QByteArray ReadBlob(fb::Status& st, IAttachment* att, ITransaction* tra, ISC_QUAD id)
{
    IBlob* blob = att->openBlob(&st, tra, &id, 0, nullptr);
    QByteArray data;
    char chunk[32768];
    try {
        for (;;) {
            unsigned got = 0;
            const int r = blob->getSegment(&st, sizeof chunk, chunk, &got);
            if (r == IStatus::RESULT_NO_DATA)
                break;
            data.append(chunk, got);
        }
        blob->close(&st);
    } catch (...) {
        blob->release();
        throw;
    }
    return data;
}

ISC_QUAD WriteBlob(fb::Status& st, IAttachment* att, ITransaction* tra, const QByteArray& data)
{
    ISC_QUAD id{};
    IBlob* blob = att->createBlob(&st, tra, &id, 0, nullptr);
    try {
        for (qsizetype pos = 0; pos < data.size(); pos += 32768) {
            const qsizetype len = std::min<qsizetype>(32768, data.size() - pos);
            blob->putSegment(&st, unsigned(len), data.constData() + pos);
        }
        blob->close(&st);
    } catch (...) {
        blob->release();
        throw;
    }
    return id;
}

// The engine counts days from 17 November 1858 (Julian day 2400001) in the Gregorian calendar,
// also before 1582, and the time of day in 1/10,000 s.
constexpr qint64 julianDayOfDayZero = 2400001;

// Years 1 to 9999.
bool InDateRange(const QDate& d)
{
    static const qint64 first = QDate(1, 1, 1).toJulianDay();
    static const qint64 last = QDate(9999, 12, 31).toJulianDay();
    const qint64 day = d.toJulianDay();
    return d.isValid() && day >= first && day <= last;
}

ISC_DATE ToIscDate(const QDate& d)
{
    return ISC_DATE(d.toJulianDay() - julianDayOfDayZero);
}

QDate FromIscDate(ISC_DATE x)
{
    return QDate::fromJulianDay(qint64(x) + julianDayOfDayZero);
}

ISC_TIME ToIscTime(const QTime& t)
{
    return ISC_TIME(t.msecsSinceStartOfDay()) * 10;
}

QTime FromIscTime(ISC_TIME x)
{
    return QTime::fromMSecsSinceStartOfDay(int(x / 10));
}

// A number of a NUMERIC/DECIMAL column in its scaled integer form; false beyond 64 bits.
bool ToScaled(double d, int scale, qint64& n)
{
    const double scaled = d * Power10(scale);
    if (!(std::fabs(scaled) < 9.2e18))
        return false;
    n = std::llround(scaled);
    return true;
}

// NaN and infinity are no measurement, and a FLOAT column cannot hold more than FLT_MAX.
bool FitsFloat(double d)
{
    return std::isfinite(d) && std::fabs(d) <= double(std::numeric_limits<float>::max());
}

// Writes an integer into a SMALLINT, INTEGER or BIGINT slot; false when it does not fit.
bool PutInteger(unsigned type, qint64 n, unsigned char* p)
{
    if (type == SQL_SHORT) {
        if (n < SHRT_MIN || n > SHRT_MAX)
            return false;
        const auto y = static_cast<short>(n);
        std::memcpy(p, &y, sizeof y);
    } else if (type == SQL_LONG) {
        if (n < INT_MIN || n > INT_MAX)
            return false;
        const auto y = static_cast<ISC_LONG>(n);
        std::memcpy(p, &y, sizeof y);
    } else {
        std::memcpy(p, &n, sizeof n);
    }
    return true;
}

// Write DATE, TIME and TIMESTAMP slots; false for dates outside years 1 to 9999.
bool PutDate(const QDate& d, unsigned char* p)
{
    if (!InDateRange(d))
        return false;
    const ISC_DATE y = ToIscDate(d);
    std::memcpy(p, &y, sizeof y);
    return true;
}

void PutTime(const QTime& t, unsigned char* p)
{
    const ISC_TIME y = ToIscTime(t);
    std::memcpy(p, &y, sizeof y);
}

bool PutTimestamp(const QDateTime& dt, unsigned char* p)
{
    const QDate d = dt.date();
    if (!InDateRange(d))
        return false;
    const ISC_TIMESTAMP y{ToIscDate(d), ToIscTime(dt.time())};
    std::memcpy(p, &y, sizeof y);
    return true;
}

constexpr qsizetype maxVaryingLength = 32765;

[[noreturn]] void OutOfRange(const QString& name, const Value& v)
{
    throw Error(QStringLiteral("Der Wert \"%1\" des Parameters %2 liegt außerhalb des "
                               "erlaubten Bereichs.")
                    .arg(v.AsString(), name),
                -802);
}

}  // namespace

struct Query::Impl {
    QPointer<Transaction> transaction;
    QString sql;
    bool paramCheck = true;

    ParsedSql parsed;
    QStringList names;    // distinct, in order of first occurrence
    QList<Value> values;  // parallel to names
    QHash<QString, int> nameIndex;
    const std::vector<const Value*>* borrowed = nullptr;  // parallel to names
    std::vector<int> positionIndex;                       // each "?" of the text to its name

    IStatement* statement = nullptr;
    unsigned statementType = 0;
    bool hasCursor = false;
    IMessageMetadata* inMeta = nullptr;
    std::vector<Slot> inSlots;
    std::vector<unsigned char> inBuffer;
    // The text parameters of the execution being bound: lengths, and the text of values that
    // are neither text nor octets.
    std::vector<QString> texts;
    std::vector<unsigned> textLengths;
    IMessageMetadata* outMeta = nullptr;
    std::vector<Slot> outSlots;
    std::vector<unsigned char> outBuffer;
    std::vector<ColumnInfo> columns;
    QHash<QString, int> columnIndex;

    IResultSet* cursor = nullptr;
    bool eof = true;
    QList<Value> row;
    quint64 affected = 0;
    bool affectedKnown = true;  // asked of the engine only when wanted

    QMetaObject::Connection onEnding;
    QMetaObject::Connection onDetaching;

    Transaction& Tr() const
    {
        if (!transaction)
            throw Error(QStringLiteral("Der Abfrage ist keine Transaktion zugeordnet."));
        return *transaction;
    }

    void Bind(Transaction& t)
    {
        QObject::disconnect(onEnding);
        QObject::disconnect(onDetaching);
        transaction = &t;
        onEnding = QObject::connect(&t, &Transaction::Ending, [this] { CloseCursor(); });
        onDetaching =
            QObject::connect(&t.GetDatabase(), &Database::Detaching, [this] { Unprepare(); });
    }

    void CloseCursor()
    {
        if (!cursor)
            return;
        IResultSet* c = cursor;
        cursor = nullptr;
        eof = true;
        try {
            fb::Call([&](fb::Status& st) { c->close(&st); });
        } catch (const Error&) {
            c->release();
        }
    }

    void Unprepare()
    {
        CloseCursor();
        if (inMeta)
            inMeta->release();
        if (outMeta)
            outMeta->release();
        inMeta = outMeta = nullptr;
        if (statement) {
            IStatement* s = statement;
            statement = nullptr;
            try {
                fb::Call([&](fb::Status& st) { s->free(&st); });
            } catch (const Error&) {
                s->release();
            }
        }
        inSlots.clear();
        outSlots.clear();
        inBuffer.clear();
        outBuffer.clear();
        columns.clear();
        columnIndex.clear();
        row.clear();
        eof = true;
    }

    void Prepare()
    {
        if (statement)
            return;
        // A statement prepared but not described (the parameters do not match, the engine fails
        // half-way) would otherwise count as prepared with stale slots.
        try {
            PrepareStatement();
        } catch (...) {
            Unprepare();
            throw;
        }
    }

    void PrepareStatement()
    {
        Transaction& t = Tr();
        IAttachment* att = t.GetDatabase().Handle();
        parsed = paramCheck ? ParseParams(sql) : ParsedSql{sql, {}};
        // Values set before (another transaction, a new prepare) stay with their names.
        const QStringList oldNames = names;
        const QList<Value> oldValues = values;
        names.clear();
        values.clear();
        nameIndex.clear();
        positionIndex.clear();
        for (const QString& n : parsed.Positions) {
            auto it = nameIndex.find(n);
            if (it == nameIndex.end()) {
                it = nameIndex.insert(n, int(names.size()));
                names.append(n);
                const qsizetype old = oldNames.indexOf(n);
                values.append(old < 0 ? Value() : oldValues[old]);
            }
            positionIndex.push_back(*it);
        }
        const QByteArray text = fb::ToLatin1(parsed.Sql);
        fb::Call([&](fb::Status& st) {
            statement = att->prepare(&st, t.Handle(), text.size(), text.constData(), 3,
                                     IStatement::PREPARE_PREFETCH_METADATA);
            statementType = statement->getType(&st);
            hasCursor = statement->getFlags(&st) & IStatement::FLAG_HAS_CURSOR;

            IMessageMetadata* described = statement->getInputMetadata(&st);
            const unsigned count = described->getCount(&st);
            if (count != unsigned(parsed.Positions.size())) {
                described->release();
                throw Error(QStringLiteral("Die Anweisung hat %1 Parameter, benannt sind %2:\n%3")
                                .arg(count)
                                .arg(parsed.Positions.size())
                                .arg(sql));
            }
            // Text parameters travel as VARCHAR of the text's length; parameters of no type
            // ("? IS NULL") as text too.
            IMetadataBuilder* b = described->getBuilder(&st);
            for (unsigned i = 0; i < count; ++i) {
                const unsigned type = described->getType(&st, i);
                if (type == SQL_TEXT || type == SQL_NULL) {
                    b->setType(&st, i, SQL_VARYING);
                    b->setLength(&st, i, std::max(1u, described->getLength(&st, i)));
                }
            }
            inMeta = b->getMetadata(&st);
            b->release();
            described->release();
            inSlots = Slots(st, inMeta);
            inBuffer.assign(inMeta->getMessageLength(&st), 0);

            outMeta = statement->getOutputMetadata(&st);
            outSlots = Slots(st, outMeta);
            outBuffer.assign(outMeta->getMessageLength(&st), 0);
            columns.clear();
            columnIndex.clear();
            for (unsigned i = 0; i < outSlots.size(); ++i) {
                const Slot& s = outSlots[i];
                ColumnInfo c;
                c.Name = QString::fromLatin1(outMeta->getAlias(&st, i));
                c.Relation = QString::fromLatin1(outMeta->getRelation(&st, i));
                c.Origin = QString::fromLatin1(outMeta->getField(&st, i));
                c.Type = TypeOf(s.type, s.scale, s.subType, s.charSet);
                c.Scale = -s.scale;
                c.Size = s.type == SQL_TEXT || s.type == SQL_VARYING ? int(s.length) : 0;
                c.Nullable = outMeta->isNullable(&st, i);
                columnIndex.insert(c.Name.toUpper(), int(i));
                columns.push_back(c);
            }
        });
        row = QList<Value>(columns.size());
    }

    // Grows the text slots to the texts' lengths; rebuilds the message when one does not fit.
    void FitTexts(fb::Status& st, const std::vector<unsigned>& lengths)
    {
        bool fits = true;
        for (size_t i = 0; i < inSlots.size(); ++i)
            fits = fits && (inSlots[i].type != SQL_VARYING || lengths[i] <= inSlots[i].length);
        if (fits)
            return;
        IMetadataBuilder* b = inMeta->getBuilder(&st);
        for (size_t i = 0; i < inSlots.size(); ++i) {
            if (inSlots[i].type == SQL_VARYING && lengths[i] > inSlots[i].length)
                b->setLength(&st, unsigned(i), lengths[i]);
        }
        IMessageMetadata* grown = b->getMetadata(&st);
        b->release();
        inMeta->release();
        inMeta = grown;
        inSlots = Slots(st, inMeta);
        inBuffer.assign(inMeta->getMessageLength(&st), 0);
    }

    // The value for a "?" of the text: the caller's while an execution borrows them.
    const Value& ParamValue(size_t position) const
    {
        const int k = positionIndex[position];
        return borrowed ? *(*borrowed)[size_t(k)] : values[k];
    }

    void BindInput(fb::Status& st)
    {
        const size_t n = inSlots.size();
        texts.resize(n);
        textLengths.assign(n, 0);
        for (size_t i = 0; i < n; ++i) {
            const Value& v = ParamValue(i);
            if (inSlots[i].type != SQL_VARYING || v.IsNull())
                continue;
            const QVariant& x = v.AsVariant();
            qsizetype len = 0;
            if (x.typeId() == QMetaType::QByteArray) {
                len = static_cast<const QByteArray*>(x.constData())->size();
            } else if (x.typeId() == QMetaType::QString) {
                len = static_cast<const QString*>(x.constData())->size();
            } else {
                texts[i] = v.AsString();
                len = texts[i].size();
            }
            // The length travels in two bytes; the engine's limit for a VARCHAR is below that.
            if (len > maxVaryingLength)
                throw Error(QStringLiteral("Der Text für den Parameter %1 ist zu lang (%2 Zeichen, "
                                           "höchstens %3).")
                                .arg(names[positionIndex[i]])
                                .arg(len)
                                .arg(maxVaryingLength));
            textLengths[i] = unsigned(len);
        }
        FitTexts(st, textLengths);
        IAttachment* att = Tr().GetDatabase().Handle();
        unsigned char* buf = inBuffer.data();
        for (size_t i = 0; i < n; ++i) {
            const Slot& s = inSlots[i];
            const QString& name = names[positionIndex[i]];
            const Value& v = ParamValue(i);
            const bool null = v.IsNull();
            *reinterpret_cast<short*>(buf + s.nullOffset) = null ? -1 : 0;
            if (null)
                continue;
            unsigned char* p = buf + s.offset;
            switch (s.type) {
                case SQL_VARYING: {
                    const auto len = static_cast<unsigned short>(textLengths[i]);
                    std::memcpy(p, &len, sizeof len);
                    auto* chars = reinterpret_cast<char*>(p + sizeof len);
                    const QVariant& x = v.AsVariant();
                    if (x.typeId() == QMetaType::QByteArray)
                        std::memcpy(
                            chars, static_cast<const QByteArray*>(x.constData())->constData(), len);
                    else if (x.typeId() == QMetaType::QString)
                        fb::ToLatin1(*static_cast<const QString*>(x.constData()), chars);
                    else
                        fb::ToLatin1(texts[i], chars);
                    break;
                }
                case SQL_SHORT:
                case SQL_LONG:
                case SQL_INT64: {
                    qint64 x = 0;
                    if (s.scale == 0)
                        x = v.AsInt64();
                    else if (!ToScaled(v.AsDouble(), s.scale, x))
                        OutOfRange(name, v);
                    if (!PutInteger(s.type, x, p))
                        OutOfRange(name, v);
                    break;
                }
                case SQL_FLOAT: {
                    const double d = v.AsDouble();
                    if (!FitsFloat(d))
                        OutOfRange(name, v);
                    const auto y = static_cast<float>(d);
                    std::memcpy(p, &y, sizeof y);
                    break;
                }
                case SQL_DOUBLE:
                case SQL_D_FLOAT: {
                    const double y = v.AsDouble();
                    if (!std::isfinite(y))
                        OutOfRange(name, v);
                    std::memcpy(p, &y, sizeof y);
                    break;
                }
                case SQL_TYPE_DATE:
                    if (!PutDate(v.AsDate(), p))
                        OutOfRange(name, v);
                    break;
                case SQL_TYPE_TIME:
                    PutTime(v.AsTime(), p);
                    break;
                case SQL_TIMESTAMP:
                    // Columns read back as local time, so another zone is stored as that instant.
                    if (!PutTimestamp(v.AsDateTime().toLocalTime(), p))
                        OutOfRange(name, v);
                    break;
                case SQL_BLOB: {
                    const QByteArray data = v.AsVariant().typeId() == QMetaType::QByteArray
                                                ? v.AsVariant().toByteArray()
                                                : fb::ToLatin1(v.AsString());
                    const ISC_QUAD id = WriteBlob(st, att, Tr().Handle(), data);
                    std::memcpy(p, &id, sizeof id);
                    break;
                }
                case SQL_BOOLEAN:
                    *p = v.AsBoolean() ? FB_TRUE : FB_FALSE;
                    break;
                default:
                    throw Error(QStringLiteral("Der Parameter %1 hat einen Typ, den das Programm "
                                               "nicht unterstützt.")
                                    .arg(name));
            }
        }
    }

    void DecodeRow(fb::Status& st)
    {
        QList<Value> next(qsizetype(outSlots.size()));
        DecodeInto(st, outBuffer.data(), next);
        row = std::move(next);
    }

    void DecodeInto(fb::Status& st, const unsigned char* buf, QList<Value>& values)
    {
        IAttachment* att = nullptr;
        for (size_t i = 0; i < outSlots.size(); ++i) {
            const Slot& s = outSlots[i];
            Value& out = values[qsizetype(i)];
            if (*reinterpret_cast<const short*>(buf + s.nullOffset)) {
                out.SetNull();
                continue;
            }
            const unsigned char* p = buf + s.offset;
            switch (s.type) {
                case SQL_TEXT: {
                    const auto* c = reinterpret_cast<const char*>(p);
                    if (s.charSet == charSetOctets)
                        out = QByteArray(c, s.length);
                    else
                        out = fb::FromLatin1(c, s.length);
                    break;
                }
                case SQL_VARYING: {
                    unsigned short len;
                    std::memcpy(&len, p, sizeof len);
                    const auto* c = reinterpret_cast<const char*>(p + sizeof len);
                    if (s.charSet == charSetOctets)
                        out = QByteArray(c, len);
                    else
                        out = fb::FromLatin1(c, len);
                    break;
                }
                case SQL_SHORT: {
                    short x;
                    std::memcpy(&x, p, sizeof x);
                    out = s.scale ? QVariant(x / Power10(s.scale)) : QVariant(int(x));
                    break;
                }
                case SQL_LONG: {
                    ISC_LONG x;
                    std::memcpy(&x, p, sizeof x);
                    out = s.scale ? QVariant(x / Power10(s.scale)) : QVariant(int(x));
                    break;
                }
                case SQL_INT64: {
                    qint64 x;
                    std::memcpy(&x, p, sizeof x);
                    out = s.scale ? QVariant(double(x) / Power10(s.scale)) : QVariant(qlonglong(x));
                    break;
                }
                case SQL_FLOAT: {
                    float x;
                    std::memcpy(&x, p, sizeof x);
                    out = QVariant(double(x));
                    break;
                }
                case SQL_DOUBLE:
                case SQL_D_FLOAT: {
                    double x;
                    std::memcpy(&x, p, sizeof x);
                    out = QVariant(x);
                    break;
                }
                case SQL_TYPE_DATE: {
                    ISC_DATE x;
                    std::memcpy(&x, p, sizeof x);
                    out = QVariant(FromIscDate(x));
                    break;
                }
                case SQL_TYPE_TIME: {
                    ISC_TIME x;
                    std::memcpy(&x, p, sizeof x);
                    out = QVariant(FromIscTime(x));
                    break;
                }
                case SQL_TIMESTAMP: {
                    ISC_TIMESTAMP x;
                    std::memcpy(&x, p, sizeof x);
                    out = QVariant(
                        QDateTime(FromIscDate(x.timestamp_date), FromIscTime(x.timestamp_time)));
                    break;
                }
                case SQL_BLOB: {
                    ISC_QUAD id;
                    std::memcpy(&id, p, sizeof id);
                    if (!att)
                        att = Tr().GetDatabase().Handle();
                    const QByteArray data = ReadBlob(st, att, Tr().Handle(), id);
                    if (s.subType == 1)
                        out = QString::fromLatin1(data);
                    else
                        out = data;
                    break;
                }
                case SQL_BOOLEAN:
                    out = QVariant(*p != FB_FALSE);
                    break;
                default:
                    throw Error(QStringLiteral("Die Spalte %1 hat einen Typ, den das Programm "
                                               "nicht unterstützt.")
                                    .arg(columns[i].Name));
            }
        }
    }

    // Writes values into a row of the output message as the engine would deliver them; false
    // when a value would not read back as it is (text longer than its column, a blob, another
    // type than the column delivers, a number the column rounds).
    bool EncodeInto(const QList<Value>& values, unsigned char* buf) const
    {
        if (size_t(values.size()) < outSlots.size())
            return false;
        for (size_t i = 0; i < outSlots.size(); ++i) {
            const Slot& s = outSlots[i];
            const QVariant& x = values[qsizetype(i)].AsVariant();
            const bool null = x.isNull();
            *reinterpret_cast<short*>(buf + s.nullOffset) = null ? -1 : 0;
            if (null)
                continue;
            unsigned char* p = buf + s.offset;
            const int type = x.typeId();
            switch (s.type) {
                case SQL_TEXT:
                case SQL_VARYING: {
                    const bool octets = s.charSet == charSetOctets;
                    if (type != (octets ? QMetaType::QByteArray : QMetaType::QString))
                        return false;
                    const qsizetype len =
                        octets ? static_cast<const QByteArray*>(x.constData())->size()
                               : static_cast<const QString*>(x.constData())->size();
                    // CHAR reads back padded to its length.
                    if (s.type == SQL_TEXT ? len != qsizetype(s.length) : len > qsizetype(s.length))
                        return false;
                    char* chars = reinterpret_cast<char*>(p);
                    if (s.type == SQL_VARYING) {
                        const auto l = static_cast<unsigned short>(len);
                        std::memcpy(p, &l, sizeof l);
                        chars += sizeof l;
                    }
                    if (octets)
                        std::memcpy(chars,
                                    static_cast<const QByteArray*>(x.constData())->constData(),
                                    size_t(len));
                    else if (!fb::Latin1Into(*static_cast<const QString*>(x.constData()), chars))
                        return false;
                    break;
                }
                case SQL_SHORT:
                case SQL_LONG:
                case SQL_INT64: {
                    qint64 n = 0;
                    if (s.scale == 0) {
                        if (type == QMetaType::Int && s.type != SQL_INT64)
                            n = *static_cast<const int*>(x.constData());
                        else if (type == QMetaType::LongLong && s.type == SQL_INT64)
                            n = *static_cast<const qlonglong*>(x.constData());
                        else
                            return false;
                    } else {
                        if (type != QMetaType::Double)
                            return false;
                        // Decoding divides the same way, so equality means it reads back as set.
                        const double d = *static_cast<const double*>(x.constData());
                        if (!ToScaled(d, s.scale, n) || double(n) / Power10(s.scale) != d)
                            return false;
                    }
                    if (!PutInteger(s.type, n, p))
                        return false;
                    break;
                }
                case SQL_FLOAT: {
                    if (type != QMetaType::Double)
                        return false;
                    const double d = *static_cast<const double*>(x.constData());
                    if (!FitsFloat(d))
                        return false;
                    const auto y = static_cast<float>(d);
                    if (double(y) != d)
                        return false;
                    std::memcpy(p, &y, sizeof y);
                    break;
                }
                case SQL_DOUBLE:
                case SQL_D_FLOAT:
                    if (type != QMetaType::Double ||
                        !std::isfinite(*static_cast<const double*>(x.constData())))
                        return false;
                    std::memcpy(p, x.constData(), sizeof(double));
                    break;
                case SQL_TYPE_DATE:
                    if (type != QMetaType::QDate ||
                        !PutDate(*static_cast<const QDate*>(x.constData()), p))
                        return false;
                    break;
                case SQL_TYPE_TIME:
                    if (type != QMetaType::QTime)
                        return false;
                    PutTime(*static_cast<const QTime*>(x.constData()), p);
                    break;
                case SQL_TIMESTAMP: {
                    if (type != QMetaType::QDateTime)
                        return false;
                    const auto& dt = *static_cast<const QDateTime*>(x.constData());
                    // Read back as local time; another zone would come back shifted.
                    if (dt.timeSpec() != Qt::LocalTime || !PutTimestamp(dt, p))
                        return false;
                    break;
                }
                case SQL_BOOLEAN:
                    if (type != QMetaType::Bool)
                        return false;
                    *p = *static_cast<const bool*>(x.constData()) ? FB_TRUE : FB_FALSE;
                    break;
                default:
                    return false;
            }
        }
        return true;
    }

    bool Fetch()
    {
        return fb::Call([&](fb::Status& st) {
            if (cursor->fetchNext(&st, outBuffer.data()) == IStatus::RESULT_OK) {
                DecodeRow(st);
                eof = false;
            } else {
                eof = true;
            }
            return !eof;
        });
    }

    void OpenCursor()
    {
        Prepare();
        if (!hasCursor)
            throw Error(QStringLiteral("Die Anweisung liefert keine Datenmenge:\n%1").arg(sql));
        CloseCursor();
        Transaction& t = Tr();
        fb::Call([&](fb::Status& st) {
            BindInput(st);
            cursor = statement->openCursor(&st, t.Handle(), inMeta, inBuffer.data(), outMeta, 0);
        });
        eof = false;
    }

    void Open()
    {
        OpenCursor();
        Fetch();
    }

    void Execute()
    {
        Prepare();
        if (hasCursor) {
            Open();
            return;
        }
        CloseCursor();
        Transaction& t = Tr();
        fb::Call([&](fb::Status& st) {
            BindInput(st);
            const bool output = !outSlots.empty();
            statement->execute(&st, t.Handle(), inMeta, inBuffer.data(), output ? outMeta : nullptr,
                               output ? outBuffer.data() : nullptr);
            affectedKnown = false;
            if (output) {
                DecodeRow(st);
                eof = false;
            }
        });
    }
};

Query::Query(Transaction& transaction, const QString& sql) : d(std::make_unique<Impl>())
{
    d->sql = sql;
    d->Bind(transaction);
}

Query::~Query()
{
    QObject::disconnect(d->onEnding);
    QObject::disconnect(d->onDetaching);
    d->Unprepare();
}

Transaction& Query::GetTransaction() const
{
    return d->Tr();
}

void Query::SetTransaction(Transaction& transaction)
{
    if (d->transaction == &transaction)
        return;
    d->Unprepare();
    d->Bind(transaction);
}

const QString& Query::SQL() const
{
    return d->sql;
}

void Query::SetSQL(const QString& sql)
{
    d->Unprepare();
    d->sql = sql;
    d->names.clear();
    d->values.clear();
}

void Query::SetParamCheck(bool on)
{
    d->Unprepare();
    d->paramCheck = on;
}

void Query::Prepare()
{
    d->Prepare();
}

bool Query::Prepared() const
{
    return d->statement != nullptr;
}

QString Query::Plan()
{
    d->Prepare();
    QString plan;
    fb::Call([&](fb::Status& st) {
        const char* text = d->statement->getPlan(&st, false);
        plan = QString::fromLatin1(text ? text : "").trimmed();
    });
    return plan;
}

bool Query::IsDdl()
{
    d->Prepare();
    return d->statementType == isc_info_sql_stmt_ddl;
}

QStringList Query::ParamNames()
{
    d->Prepare();
    return d->names;
}

int Query::ParamIndex(const QString& name)
{
    d->Prepare();
    return d->nameIndex.value(name.toUpper(), -1);
}

Value& Query::Param(int index)
{
    d->Prepare();
    if (index < 0 || index >= d->values.size())
        throw Error(QStringLiteral("Die Anweisung hat keinen Parameter %1.").arg(index));
    return d->values[index];
}

bool Query::HasParam(const QString& name)
{
    d->Prepare();
    return d->nameIndex.contains(name.toUpper());
}

Value& Query::Param(const QString& name)
{
    d->Prepare();
    const int i = ParamIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("Der Parameter %1 kommt in der Anweisung nicht vor:\n%2")
                        .arg(name, d->sql));
    return d->values[i];
}

void Query::Execute()
{
    d->Execute();
}

void Query::Execute(const std::vector<const Value*>& params)
{
    d->Prepare();
    if (params.size() != size_t(d->values.size()))
        throw Error(QStringLiteral("Die Anweisung hat %1 Parameter, übergeben sind %2:\n%3")
                        .arg(d->values.size())
                        .arg(params.size())
                        .arg(d->sql));
    struct Lend {
        const std::vector<const Value*>*& borrowed;
        ~Lend() { borrowed = nullptr; }
    } lend{d->borrowed};
    d->borrowed = &params;
    d->Execute();
}

void Query::Open()
{
    d->Open();
}

bool Query::Next()
{
    if (!d->cursor || d->eof)
        return false;
    return d->Fetch();
}

bool Query::Eof() const
{
    return d->eof;
}

void Query::OpenCursor()
{
    d->OpenCursor();
}

bool Query::FetchRaw(QByteArray& row)
{
    if (!d->cursor || d->eof)
        return false;
    return fb::Call([&](fb::Status& st) {
        if (d->cursor->fetchNext(&st, d->outBuffer.data()) != IStatus::RESULT_OK) {
            d->eof = true;
            return false;
        }
        row = QByteArray(reinterpret_cast<const char*>(d->outBuffer.data()),
                         qsizetype(d->outBuffer.size()));
        return true;
    });
}

QList<Value> Query::Decode(const QByteArray& row)
{
    d->Prepare();
    if (size_t(row.size()) != d->outBuffer.size())
        throw Error(QStringLiteral("Die Zeile passt nicht zur Anweisung:\n%1").arg(d->sql));
    QList<Value> values(qsizetype(d->outSlots.size()));
    fb::Call([&](fb::Status& st) {
        d->DecodeInto(st, reinterpret_cast<const unsigned char*>(row.constData()), values);
    });
    return values;
}

bool Query::Encode(const QList<Value>& values, QByteArray& row)
{
    d->Prepare();
    QByteArray encoded(qsizetype(d->outBuffer.size()), '\0');
    if (!d->EncodeInto(values, reinterpret_cast<unsigned char*>(encoded.data())))
        return false;
    row = std::move(encoded);
    return true;
}

bool Query::Active() const
{
    return d->cursor != nullptr;
}

void Query::Close()
{
    d->CloseCursor();
}

quint64 Query::RowsAffected() const
{
    if (!d->affectedKnown && d->statement) {
        d->affected =
            fb::Call([&](fb::Status& st) { return d->statement->getAffectedRecords(&st); });
        d->affectedKnown = true;
    }
    return d->affected;
}

int Query::FieldCount()
{
    d->Prepare();
    return int(d->columns.size());
}

const ColumnInfo& Query::Column(int index)
{
    d->Prepare();
    return d->columns.at(size_t(index));
}

int Query::FieldIndex(const QString& name)
{
    d->Prepare();
    return d->columnIndex.value(name.toUpper(), -1);
}

const Value& Query::Field(int index) const
{
    if (index < 0 || index >= d->row.size())
        throw Error(QStringLiteral("Die Abfrage hat keine Spalte %1.").arg(index));
    return d->row[index];
}

const Value& Query::Field(const QString& name) const
{
    const int i = d->columnIndex.value(name.toUpper(), -1);
    if (i < 0)
        throw Error(QStringLiteral("Die Abfrage hat keine Spalte %1.").arg(name));
    return d->row[i];
}

const QList<Value>& Query::Row() const
{
    return d->row;
}

}  // namespace db
