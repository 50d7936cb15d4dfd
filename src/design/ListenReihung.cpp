#include "ListenReihung.h"

#include <DBTools.h>

#include <DataSet.h>

#include <QSet>

namespace ListenReihung {

QString SelectSQL(Art art)
{
    return art == Art::Menue ? QStringLiteral(
                                   "SELECT SYMBOL, BEZEICHNUNG, ID, MENUE, MENUE_REIHUNG\n"
                                   "FROM T_LISTEN WHERE ID > 0 AND MENUE = 'T' ORDER BY "
                                   "MENUE_REIHUNG, ID")
                             : QStringLiteral(
                                   "SELECT SYMBOL, BEZEICHNUNG, ID, SYMBOL_REIHUNG\n"
                                   "FROM T_LISTEN WHERE ID > 0 AND SYMBOL IS NOT NULL ORDER BY "
                                   "SYMBOL_REIHUNG, ID");
}

QString ModifySQL(Art art)
{
    return art == Art::Menue
               ? QStringLiteral("UPDATE T_LISTEN SET MENUE_REIHUNG = :MENUE_REIHUNG WHERE ID = :ID")
               : QStringLiteral(
                     "UPDATE T_LISTEN SET SYMBOL_REIHUNG = :SYMBOL_REIHUNG WHERE ID = :ID");
}

QString Spalte(Art art)
{
    return art == Art::Menue ? QStringLiteral("MENUE_REIHUNG") : QStringLiteral("SYMBOL_REIHUNG");
}

void Durchnummerieren(db::DataSet& ds, Art art)
{
    const int spalte = ds.FieldByName(Spalte(art)).Index();
    const int n = ds.RecordCount();
    QSet<int> werte;
    bool luecke = false;
    for (int r = 0; r < n && !luecke; ++r) {
        const db::Value& w = ds.ValueAt(r, spalte);
        luecke = w.IsNull() || werte.contains(w.AsInteger());
        werte.insert(w.AsInteger());
    }
    if (luecke) {
        for (int r = 0; r < n; ++r) {
            ds.MoveTo(r);
            ds.Edit();
            ds.FieldByName(Spalte(art)).SetInteger(r + 1);
            ds.Post();
        }
    }
    ds.First();
}

bool Verschieben(db::DataSet& ds, Art art, int richtung)
{
    if (ds.IsEmpty())
        return false;
    const int zeile = ds.RecNo();
    const int nachbar = zeile + richtung;
    if (nachbar < 0 || nachbar >= ds.RecordCount())
        return false;
    db::Field& reihung = ds.FieldByName(Spalte(art));
    const int id = ds.FieldByName(QStringLiteral("ID")).AsInteger();
    const int a = reihung.AsInteger();
    ds.MoveTo(nachbar);
    const int c = reihung.AsInteger();
    ds.Edit();
    reihung.SetInteger(a);
    ds.Post();
    ds.MoveTo(zeile);
    ds.Edit();
    reihung.SetInteger(c);
    ds.Post();
    ds.Close();
    ds.Open();
    ds.RecordCount();
    DBTools::LocateInteger(ds, QStringLiteral("ID"), id, true);
    return true;
}

}  // namespace ListenReihung
