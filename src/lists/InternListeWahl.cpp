#include "InternListeWahl.h"

#include <Query.h>
#include <Transaction.h>

#include <QStringList>

#include <stdexcept>

namespace InternListeWahl {

QList<int> StandardIDs(const QString& standardDesigns)
{
    QList<int> ids;
    for (const QString& eintrag : standardDesigns.split(u';')) {
        bool ok = false;
        const int id = eintrag.trimmed().toInt(&ok);
        ids << (ok ? id : -1);
    }
    return ids;
}

std::vector<bool> Haken(const QList<int>& ids, const QString& standardDesigns)
{
    std::vector<bool> haken(std::size_t(ids.size()), false);
    if (standardDesigns.isEmpty()) {
        if (!haken.empty())
            haken[0] = true;
        return haken;
    }
    const QList<int> standard = StandardIDs(standardDesigns);
    for (int i = 0; i < ids.size(); ++i)
        haken[std::size_t(i)] = standard.contains(ids[i]);
    return haken;
}

QString StandardText(const QList<int>& ids, const std::vector<bool>& haken)
{
    QStringList teile;
    for (int i = 0; i < ids.size() && i < int(haken.size()); ++i)
        if (haken[std::size_t(i)])
            teile << QString::number(ids[i]);
    return teile.join(u';');
}

int DesignAnlegen(db::Transaction& tr, const QString& bezeichnung, const QString& titel,
                  const QString& felder, const QString& listenTyp)
{
    db::Query generator(
        tr, QStringLiteral("SELECT FIRST 1 GEN_ID(G_LISTEN_ID_INTERN, -1) FROM RDB$DATABASE"));
    generator.Open();
    const int id = generator.Field(0).AsInteger();
    if (id >= 0)
        throw std::runtime_error(
            "Der Zähler G_LISTEN_ID_INTERN liefert keine negative Nummer für ein neues Design.");
    db::Query insert(tr, QStringLiteral("INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, FELDER, "
                                        "BEDINGUNGEN,\n"
                                        "LINIE_UEBER_TITEL, LINIE_UNTER_TITEL, LINIE_ZWISCHEN, "
                                        "LINIE_UNTEN)\n"
                                        "VALUES (:ID, :BEZEICHNUNG, :TITEL, :FELDER,\n"
                                        ":INTERNART, 'F', 'F', 'F', 'F')"));
    insert.Param(QStringLiteral("ID")).SetInteger(id);
    insert.Param(QStringLiteral("BEZEICHNUNG")).SetString(bezeichnung);
    insert.Param(QStringLiteral("TITEL")).SetString(titel);
    insert.Param(QStringLiteral("FELDER")).SetString(felder);
    insert.Param(QStringLiteral("INTERNART")).SetString(listenTyp);
    insert.Execute();
    // A database that makes the fields of user lists itself would double the host's fields.
    KindzeilenLoeschen(tr, id);
    return id;
}

void KindzeilenLoeschen(db::Transaction& tr, int listeId)
{
    for (const char* tabelle : {"T_LISTEN_BILDSCHIRM", "T_LISTEN_DRUCK", "T_LISTEN_LINIEN"}) {
        db::Query q(
            tr, QStringLiteral("DELETE FROM %1 WHERE LISTE = :LISTE").arg(QLatin1String(tabelle)));
        q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
        q.Execute();
    }
}

}  // namespace InternListeWahl
