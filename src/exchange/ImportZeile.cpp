#include "ImportZeile.h"

#include "ImportWerte.h"

#include <DBTools.h>
#include <Error.h>
#include <Query.h>
#include <Transaction.h>

#include <limits>
#include <stdexcept>

ImportZeile::ImportZeile(db::Transaction& tr, const QString& tabelle, const QString& generator)
    : tr_(tr), tabelle_(tabelle), generator_(generator)
{
}

void ImportZeile::Laden(int id)
{
    gesetzt_.clear();
    spalten_.clear();
    id_ = 0;
    db::Query q(tr_, QStringLiteral("SELECT * FROM %1 WHERE ID = :ID").arg(tabelle_));
    q.Param(QStringLiteral("ID")).SetInteger(id);
    q.Open();
    const bool gefunden = id > 0 && !q.Eof();
    for (int i = 0; i < q.FieldCount(); ++i) {
        const db::ColumnInfo& c = q.Column(i);
        spalten_[c.Name.toUpper()] = {c.Type, c.Size,
                                      gefunden ? q.Field(i).AsVariant() : QVariant()};
    }
    if (gefunden)
        id_ = id;
}

const ImportZeile::Spalte& ImportZeile::Info(const QString& spalte) const
{
    const auto it = spalten_.find(spalte.toUpper());
    if (it == spalten_.end())
        throw std::logic_error(
            QStringLiteral("%1 hat keine Spalte %2").arg(tabelle_, spalte).toStdString());
    return it->second;
}

bool ImportZeile::Leer(const QString& spalte) const
{
    return Info(spalte).gespeichert.isNull() && !gesetzt_.count(spalte.toUpper());
}

QVariant ImportZeile::Wert(const QString& spalte) const
{
    const auto g = gesetzt_.find(spalte.toUpper());
    return g != gesetzt_.end() ? g->second : Info(spalte).gespeichert;
}

void ImportZeile::Setzen(const QString& spalte, const QVariant& wert)
{
    const Spalte& s = Info(spalte);
    // A text longer than its column is cut to it, as the dataset's text fields did.
    const bool text = s.typ == db::FieldType::Char || s.typ == db::FieldType::VarChar;
    if (text && s.laenge > 0 && wert.typeId() == QMetaType::QString)
        gesetzt_[spalte.toUpper()] = wert.toString().left(s.laenge);
    else
        gesetzt_[spalte.toUpper()] = wert;
}

void ImportZeile::TextSetzen(const QString& spalte, const std::optional<QString>& wert, bool name)
{
    if (!Leer(spalte) || !wert)
        return;
    QString text = name ? ImportWerte::NameNormalisieren(wert->trimmed()) : wert->trimmed();
    if (!text.isEmpty())
        Setzen(spalte, text);
}

void ImportZeile::OhrmarkeSetzen(const QString& spalte, const std::optional<QString>& wert,
                                 bool rdv)
{
    if (!Leer(spalte) || !wert)
        return;
    const QString text =
        rdv ? ImportWerte::OhneFuehrendeNullen(wert->trimmed()) : ImportWerte::Ohrmarke(*wert);
    if (!text.isEmpty())
        Setzen(spalte, text);
}

void ImportZeile::ZahlSetzen(const QString& spalte, const std::optional<QString>& wert,
                             bool nullLeer)
{
    if (!Leer(spalte) || !wert)
        return;
    const auto n = ImportWerte::Ganzzahl(*wert);
    if (!n || *n < std::numeric_limits<int>::min() || *n > std::numeric_limits<int>::max() ||
        (nullLeer && *n == 0))
        return;
    Setzen(spalte, int(*n));
}

void ImportZeile::GrosszahlSetzen(const QString& spalte, const std::optional<QString>& wert,
                                  bool nullLeer)
{
    if (!Leer(spalte) || !wert)
        return;
    const auto n = ImportWerte::Ganzzahl(*wert);
    if (!n || *n < std::numeric_limits<int>::min() || *n > std::numeric_limits<int>::max() ||
        (nullLeer && *n == 0))
        return;
    Setzen(spalte, qint64(*n));
}

void ImportZeile::DezimalSetzen(const QString& spalte, const std::optional<QString>& wert,
                                bool nullLeer)
{
    if (!Leer(spalte) || !wert)
        return;
    const auto d = ImportWerte::Dezimal(*wert);
    if (!d || (nullLeer && *d == 0))
        return;
    Setzen(spalte, *d);
}

void ImportZeile::DatumSetzen(const QString& spalte, const std::optional<QString>& wert)
{
    if (!Leer(spalte) || !wert)
        return;
    if (const auto d = ImportWerte::Datum(*wert))
        Setzen(spalte, *d);
}

bool ImportZeile::Sichern(QString& fehlertext)
{
    fehlertext.clear();
    if (gesetzt_.empty() && !Neu())
        return true;
    QStringList namen;
    for (const auto& [name, wert] : gesetzt_)
        namen << name;
    try {
        int id = id_;
        if (Neu()) {
            db::Query g(tr_,
                        QStringLiteral("SELECT GEN_ID(%1, 1) FROM RDB$DATABASE").arg(generator_));
            g.Open();
            id = g.Field(0).AsInteger();
            QStringList platzhalter;
            for (const QString& n : namen)
                platzhalter << QStringLiteral(":") + n;
            db::Query q(
                tr_,
                QStringLiteral("INSERT INTO %1 (ID%2) VALUES (:ID%3)")
                    .arg(tabelle_,
                         namen.isEmpty() ? QString() : QStringLiteral(", ") + namen.join(u", "),
                         platzhalter.isEmpty() ? QString()
                                               : QStringLiteral(", ") + platzhalter.join(u", ")));
            q.Param(QStringLiteral("ID")).SetInteger(id);
            for (const auto& [name, wert] : gesetzt_)
                q.Param(name).SetVariant(wert);
            q.Execute();
        } else {
            QStringList zuweisungen;
            for (const QString& n : namen)
                zuweisungen << n + QStringLiteral(" = :") + n;
            db::Query q(tr_, QStringLiteral("UPDATE %1 SET %2 WHERE ID = :ID")
                                 .arg(tabelle_, zuweisungen.join(u", ")));
            q.Param(QStringLiteral("ID")).SetInteger(id);
            for (const auto& [name, wert] : gesetzt_)
                q.Param(name).SetVariant(wert);
            q.Execute();
        }
        for (const auto& [name, wert] : gesetzt_)
            spalten_[name].gespeichert = wert;
        gesetzt_.clear();
        id_ = id;
        return true;
    } catch (const db::Error& e) {
        gesetzt_.clear();
        DBTools::DBFehlerText(e, fehlertext);
        return false;
    }
}
