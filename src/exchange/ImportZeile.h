#pragma once

#include <QString>
#include <QVariant>

#include <map>
#include <optional>

namespace db {
class Transaction;
enum class FieldType;
}  // namespace db

// One row of a table that an import fills. The row is read by its ID (0: a new row); a value
// from a file goes only into a column that is empty (NULL) in the stored row, and saving writes
// just those columns, as an update of the stored row or an insert of the new one.
class ImportZeile {
public:
    ImportZeile(db::Transaction& tr, const QString& tabelle, const QString& generator);

    // Reads the row with this ID; 0 or a missing row starts a new row.
    void Laden(int id);
    int Id() const { return id_; }
    db::Transaction& GetTransaction() const { return tr_; }
    bool Neu() const { return id_ == 0; }

    // The column holds no value, neither stored nor set since Laden.
    bool Leer(const QString& spalte) const;
    // The column's value, stored or set.
    QVariant Wert(const QString& spalte) const;
    // Sets the column whatever it holds (the rules of a pass decide).
    void Setzen(const QString& spalte, const QVariant& wert);

    // The setters of the fill-empty rule: each does nothing when the column holds a value, the
    // value is absent or it does not convert.
    void TextSetzen(const QString& spalte, const std::optional<QString>& wert, bool name = false);
    // A parent's or bull's number: from ADIS in ear-tag form, from RDV (already converted by the
    // field) without leading zeros.
    void OhrmarkeSetzen(const QString& spalte, const std::optional<QString>& wert, bool rdv);
    void ZahlSetzen(const QString& spalte, const std::optional<QString>& wert, bool nullLeer);
    // A 64-bit column; only values of the 32-bit range are taken.
    void GrosszahlSetzen(const QString& spalte, const std::optional<QString>& wert, bool nullLeer);
    void DezimalSetzen(const QString& spalte, const std::optional<QString>& wert, bool nullLeer);
    void DatumSetzen(const QString& spalte, const std::optional<QString>& wert);

    // Writes the set columns (a new row takes its ID from the generator). A database error leaves
    // the row unsaved: false, with the stored user text of a violated constraint (else empty) in
    // fehlertext. Other errors are thrown.
    bool Sichern(QString& fehlertext);
    // Forgets the set values.
    void Verwerfen() { gesetzt_.clear(); }

private:
    struct Spalte {
        db::FieldType typ;
        int laenge = 0;
        QVariant gespeichert;
    };
    const Spalte& Info(const QString& spalte) const;

    db::Transaction& tr_;
    QString tabelle_;
    QString generator_;
    int id_ = 0;
    std::map<QString, Spalte> spalten_;
    std::map<QString, QVariant> gesetzt_;
};
