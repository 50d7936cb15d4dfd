#include "FieldDataLink.h"

#include "ZRDateTools.h"

#include <Error.h>

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>

void TFieldDataLink::SetDataSource(db::DataSet* dataSet)
{
    if (dataSet == GetDataSet())
        return;
    SetDataSet(dataSet);
    ActiveChanged();
}

void TFieldDataLink::SetDataField(const QString& name)
{
    if (name == fieldName_)
        return;
    fieldName_ = name;
    modified_ = false;
    EditingNeu();
    DatenGeaendert();
}

db::Field* TFieldDataLink::GetField() const
{
    db::DataSet* ds = GetDataSet();
    if (!ds || fieldName_.isEmpty())
        return nullptr;
    return ds->FindField(fieldName_);
}

void TFieldDataLink::SetReadOnly(bool on)
{
    readOnly_ = on;
    EditingNeu();
}

bool TFieldDataLink::CanModify() const
{
    const db::Field* f = GetField();
    if (readOnly_ || !f || f->ReadOnly || f->Calculated() || !Active())
        return false;
    const db::DataSet& ds = f->GetDataSet();
    // An empty dataset edits by inserting, which it refuses itself when it cannot.
    return ds.Modifiable() || (ds.State() == db::DataSetState::Browse && ds.IsEmpty());
}

bool TFieldDataLink::Edit()
{
    if (!CanModify())
        return false;
    if (!DataLink::Editing())
        DataLink::Edit();
    EditingNeu();
    return editing_;
}

void TFieldDataLink::Reset()
{
    modified_ = false;
    DatenGeaendert();
}

void TFieldDataLink::UpdateRecord()
{
    if (!modified_)
        return;
    if (OnUpdateData)
        OnUpdateData();
    modified_ = false;
}

void TFieldDataLink::ActiveChanged()
{
    modified_ = false;
    EditingNeu();
    if (OnActiveChange)
        OnActiveChange();
    DatenGeaendert();
}

void TFieldDataLink::DataSetChanged()
{
    modified_ = false;
    EditingNeu();
    DatenGeaendert();
}

void TFieldDataLink::DataSetScrolled()
{
    modified_ = false;
    DatenGeaendert();
}

void TFieldDataLink::RecordChanged(db::Field* field)
{
    if (field && field != GetField())
        return;
    // The control's own write comes back here; it is then no longer pending.
    modified_ = false;
    DatenGeaendert();
}

void TFieldDataLink::EditingChanged()
{
    EditingNeu();
}

void TFieldDataLink::UpdateData()
{
    UpdateRecord();
}

void TFieldDataLink::DatenGeaendert()
{
    if (OnDataChange)
        OnDataChange();
}

void TFieldDataLink::EditingNeu()
{
    const bool neu = DataLink::Editing() && CanModify();
    if (neu == editing_)
        return;
    editing_ = neu;
    if (OnEditingChange)
        OnEditingChange();
}

namespace FeldText {

namespace {

QLocale Deutsch()
{
    QLocale l(QLocale::German, QLocale::Germany);
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

[[noreturn]] void Ungueltig(const db::Field& field, const QString& text, const QString& art)
{
    throw db::Error(QStringLiteral("'%1' ist kein gültiger %2 für das Feld '%3'.")
                        .arg(text, art, field.Label()));
}

// A number the column cannot hold would be refused only when the record is posted, with the
// engine's words; tell the user while the entry is still in the control (which keeps the focus,
// so the message need not name the column).
void Pruefen(const db::Field& field, const QString& text, long double wert)
{
    const std::optional<Grenzen> g = ZahlGrenzen(field);
    if (!g || (wert >= g->min && wert <= g->max))
        return;
    const QLocale d = Deutsch();
    const int stellen = field.DataType() == db::FieldType::Numeric ? field.Scale : 0;
    const bool ganz = stellen == 0 && field.DataType() != db::FieldType::Float &&
                      field.DataType() != db::FieldType::Double;
    const auto zahl = [&](long double v) {
        return ganz ? d.toString(qlonglong(v)) : d.toString(double(v), 'f', stellen);
    };
    throw db::Error(
        QStringLiteral(
            "Die Zahl %1 passt nicht in dieses Feld.\rErlaubt sind Zahlen von %2 bis %3.")
            .arg(text, zahl(g->min), zahl(g->max)));
}

}  // namespace

std::optional<Grenzen> ZahlGrenzen(const db::Field& field)
{
    switch (field.DataType()) {
        case db::FieldType::SmallInt:
            return Grenzen{std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()};
        case db::FieldType::Integer:
            return Grenzen{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
        case db::FieldType::BigInt:
            return Grenzen{std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()};
        case db::FieldType::Numeric: {
            const long double teiler = std::pow(10.0L, field.Scale);
            return Grenzen{std::numeric_limits<qint64>::min() / teiler,
                           std::numeric_limits<qint64>::max() / teiler};
        }
        case db::FieldType::Float:
            return Grenzen{-std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
        default:
            return std::nullopt;
    }
}

QString EditText(const db::Field& field)
{
    const db::Value& v = field.AsValue();
    if (v.IsNull())
        return {};
    switch (field.DataType()) {
        case db::FieldType::Char: {
            QString s = v.AsString();
            while (s.endsWith(QLatin1Char(' ')))
                s.chop(1);
            return s;
        }
        case db::FieldType::Date:
            return ZRDateTools::DatumText(v.AsDate());
        default:
            return db::Field::Format(v, field.DataType(), {});
    }
}

void SetText(db::Field& field, const QString& text)
{
    const QString t = field.DataType() == db::FieldType::Char ||
                              field.DataType() == db::FieldType::VarChar ||
                              field.DataType() == db::FieldType::TextBlob
                          ? text
                          : text.trimmed();
    if (t.isEmpty()) {
        field.SetNull();
        return;
    }
    bool ok = false;
    switch (field.DataType()) {
        case db::FieldType::SmallInt:
        case db::FieldType::Integer:
        case db::FieldType::BigInt: {
            const qlonglong n = Deutsch().toLongLong(t, &ok);
            if (!ok) {
                // Digits only, but more than 64 bits hold: a number, just too big.
                const double d = Deutsch().toDouble(t, &ok);
                if (ok && d == std::trunc(d))
                    Pruefen(field, t, d);
                Ungueltig(field, t, QStringLiteral("ganzzahliger Wert"));
            }
            Pruefen(field, t, n);
            field.SetInt64(n);
            return;
        }
        case db::FieldType::Numeric:
        case db::FieldType::Float:
        case db::FieldType::Double: {
            const double d = Deutsch().toDouble(t, &ok);
            if (!ok)
                Ungueltig(field, t, QStringLiteral("Zahlenwert"));
            Pruefen(field, t, d);
            field.SetDouble(d);
            return;
        }
        case db::FieldType::Date: {
            const QDate d = ZRDateTools::DatumAusText(t);
            if (!d.isValid())
                Ungueltig(field, t, QStringLiteral("Datumswert"));
            field.SetDate(d);
            return;
        }
        case db::FieldType::Timestamp: {
            // The edit shows the time whenever there is one, so it must come back in; a date
            // typed alone changes the day and keeps the time the field had.
            static const QRegularExpression aufbau(
                QStringLiteral("^(.+?)(?:\\s+(\\d{1,2}:\\d{2}(?::\\d{2})?))?$"));
            const QRegularExpressionMatch teile = aufbau.match(t);
            const QDate d =
                teile.hasMatch() ? ZRDateTools::DatumAusText(teile.captured(1)) : QDate();
            if (!d.isValid())
                Ungueltig(field, t, QStringLiteral("Zeitpunkt"));
            QTime zeit = field.IsNull() ? QTime(0, 0) : field.AsDateTime().time();
            const QString zeitText = teile.captured(2);
            if (!zeitText.isEmpty()) {
                zeit = QTime::fromString(zeitText, zeitText.count(QLatin1Char(':')) == 2
                                                       ? QStringLiteral("H:mm:ss")
                                                       : QStringLiteral("H:mm"));
                if (!zeit.isValid())
                    Ungueltig(field, t, QStringLiteral("Zeitpunkt"));
            }
            field.SetDateTime(QDateTime(d, zeit));
            return;
        }
        default:
            if (field.Size > 0 && t.size() > field.Size)
                throw db::Error(QStringLiteral("Der Text für das Feld '%1' ist länger als %2 "
                                               "Zeichen.")
                                    .arg(field.Label())
                                    .arg(field.Size));
            field.SetString(t);
    }
}

bool IsValidChar(const db::Field& field, QChar ch)
{
    switch (field.DataType()) {
        case db::FieldType::SmallInt:
        case db::FieldType::Integer:
        case db::FieldType::BigInt:
            return ch.isDigit() || ch == QLatin1Char('+') || ch == QLatin1Char('-');
        case db::FieldType::Numeric:
        case db::FieldType::Float:
        case db::FieldType::Double:
            return ch.isDigit() || QStringLiteral("+-,.eE").contains(ch);
        case db::FieldType::Date:
            return ch.isDigit() || QStringLiteral(".,-/ ").contains(ch);
        case db::FieldType::Timestamp:
            return ch.isDigit() || QStringLiteral(".,-/ :").contains(ch);
        default:
            return true;
    }
}

Qt::Alignment Alignment(const db::Field& field)
{
    return field.IsNumeric() ? Qt::AlignRight : Qt::AlignLeft;
}

}  // namespace FeldText
