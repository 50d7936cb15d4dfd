#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

namespace db {

// A parameter or column value: NULL or one of the engine's types.
// What the layer delivers: INTEGER and SMALLINT as int, BIGINT as qlonglong, NUMERIC/DECIMAL and
// floating point as double, CHAR/VARCHAR and text blobs as QString (CHAR keeps its padding),
// binary blobs and OCTETS text as QByteArray, DATE as QDate, TIME as QTime, TIMESTAMP as QDateTime,
// BOOLEAN as bool. What a parameter takes: any of these; it is converted to the parameter's type.
// The As… readers give 0, "", false or an invalid date for NULL.
class Value {
public:
    Value() = default;
    Value(QVariant v) : v_(std::move(v)) {}

    bool IsNull() const { return v_.isNull(); }
    int AsInteger() const;
    qint64 AsInt64() const;
    double AsDouble() const;
    QString AsString() const;
    QDate AsDate() const;
    QTime AsTime() const;
    QDateTime AsDateTime() const;
    bool AsBoolean() const;
    const QVariant& AsVariant() const { return v_; }

    void SetNull() { v_ = QVariant(); }
    void SetInteger(int v) { v_ = v; }
    void SetInt64(qint64 v) { v_ = QVariant::fromValue(v); }
    void SetDouble(double v) { v_ = v; }
    void SetString(const QString& v) { v_ = v; }
    void SetDate(const QDate& v) { v_ = v.isValid() ? QVariant(v) : QVariant(); }
    void SetTime(const QTime& v) { v_ = v.isValid() ? QVariant(v) : QVariant(); }
    void SetDateTime(const QDateTime& v) { v_ = v.isValid() ? QVariant(v) : QVariant(); }
    void SetBoolean(bool v) { v_ = v; }
    void SetVariant(const QVariant& v) { v_ = v; }
    Value& operator=(const QVariant& v)
    {
        v_ = v;
        return *this;
    }
    Value& operator=(QVariant&& v)
    {
        v_ = std::move(v);
        return *this;
    }

    bool operator==(const Value& other) const { return v_ == other.v_; }

private:
    QVariant v_;
};

}  // namespace db
