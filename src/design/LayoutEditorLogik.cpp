#include "LayoutEditorLogik.h"

#include "ListenDruckCodes.h"

#include <ListenTools.h>

#include <Query.h>
#include <Transaction.h>

#include <exception>

namespace LayoutEditor {

bool IstStatusSpalte(const QString& feld)
{
    return feld.contains(QLatin1String("STATUSIDX"));
}

bool ZeigtWert(const QString& feld)
{
    return ListenTools::IstFesterWert(feld.trimmed());
}

QList<RDatumWahl> DatumWahlen(const QList<QPair<QString, QString>>& katalog,
                              const QStringList& datumSpalten)
{
    QList<RDatumWahl> wahlen{{ListenDruckCodes::DatumAusText, ListenDruckCodes::DatumAus}};
    for (const auto& [kombi, feld] : katalog) {
        QString spalte = feld.trimmed();
        const int punkt = spalte.indexOf(QLatin1Char('.'));
        if (punkt >= 0)
            spalte.remove(punkt, 1);
        if (datumSpalten.contains(spalte, Qt::CaseInsensitive))
            wahlen.append({kombi, spalte});
    }
    return wahlen;
}

QStringList DatumSpalten(db::Transaction& tr, const QString& sql)
{
    db::Query q(tr, sql);
    QStringList spalten;
    for (int i = 0; i < q.FieldCount(); ++i)
        if (q.Column(i).Type == db::FieldType::Date)
            spalten << q.Column(i).Name;
    return spalten;
}

RDatumFelder DatumFelderLaden(db::Transaction& tr, int listeId, int quelle1, int quelle2,
                              int quelle3, const QString& sql)
{
    RDatumFelder ergebnis;
    ergebnis.Wahlen = DatumWahlen({}, {});
    if (listeId <= 0)
        return ergebnis;
    if (sql.trimmed().isEmpty()) {
        ergebnis.Fehler = QStringLiteral("Die Liste hat keine Abfrage.");
        return ergebnis;
    }
    try {
        QList<QPair<QString, QString>> katalog;
        db::Query q(
            tr, QStringLiteral(
                    "SELECT KOMBI, FELD FROM P_GET_DESIGN_FELDER(:QUELLE1, :QUELLE2, :QUELLE3)"));
        q.Param(QStringLiteral("QUELLE1")).SetInteger(quelle1);
        q.Param(QStringLiteral("QUELLE2")).SetInteger(quelle2);
        q.Param(QStringLiteral("QUELLE3")).SetInteger(quelle3);
        for (q.Open(); !q.Eof(); q.Next())
            katalog.append({q.Field(0).AsString().trimmed(), q.Field(1).AsString().trimmed()});
        q.Close();
        ergebnis.Wahlen =
            DatumWahlen(katalog, DatumSpalten(tr, ListenTools::BetriebsstaetteEinsetzen(sql, 0)));
    } catch (const std::exception& e) {
        ergebnis.Fehler = QString::fromUtf8(e.what());
    }
    return ergebnis;
}

void SchriftFuerAlleSetzen(db::Transaction& tr, int listeId, const QString& schrift,
                           const QString& schmal)
{
    db::Query q(tr, QStringLiteral("update t_listen_druck\n"
                                   "set SCHRIFT = :SCHRIFT, SCHRIFTSCHMAL = :SCHRIFTSCHMAL\n"
                                   "where LISTE = :LISTE"));
    if (schrift.isNull())
        q.Param(QStringLiteral("SCHRIFT")).SetNull();
    else
        q.Param(QStringLiteral("SCHRIFT")).SetString(schrift);
    q.Param(QStringLiteral("SCHRIFTSCHMAL"))
        .SetString(schmal.trimmed().isEmpty() ? QStringLiteral("F") : schmal.trimmed());
    q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    q.Execute();
}

void TitelSchriftFuerAlleSetzen(db::Transaction& tr, int listeId, const QString& schrift)
{
    db::Query q(tr, QStringLiteral("update t_listen_druck\n"
                                   "set TITEL_SCHRIFT = :SCHRIFT\n"
                                   "where LISTE = :LISTE"));
    if (schrift.isNull())
        q.Param(QStringLiteral("SCHRIFT")).SetNull();
    else
        q.Param(QStringLiteral("SCHRIFT")).SetString(schrift);
    q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    q.Execute();
}

}  // namespace LayoutEditor
