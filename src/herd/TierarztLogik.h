#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

namespace db {
class Transaction;
}

// What the treatment windows decide without a window: texts, button states, the copy of an
// application and the writes of the treatments list.
namespace Tierarzt {

constexpr int MaxAnwendungen = 5;
// More animals than this cannot be listed one by one in the medicine register.
constexpr int MaxTiereImBestandsbuch = 10;

// The amounts used most recently. Firebird refuses ORDER BY on a column outside a DISTINCT list,
// so the duplicates are folded by GROUP BY and ordered by their latest use.
extern const QString MengenSQL;

struct TKnoepfe {
    bool bearbeiten = false;
    bool buchen = false;
    bool loeschen = false;
    QString loeschenText;
};
// By the register state of the current row; an empty state counts as "N".
TKnoepfe Knoepfe(const QString& bestandsbuch, bool listeLeer);

struct TAnwendung {
    int id = 0;
    QDate datum;
    QString verabreichung;
    QString menge;
};
// A further application: the day after, same route and amount, not yet stored.
TAnwendung Folgeanwendung(const TAnwendung& letzte);

// Display texts of a list row; the lines are separated by '\n'.
QString ZweiZeilen(const QString& oben, const QString& unten);
QString WartezeitText(int milch, int fleisch);

QString LoeschFrage(const QString& bestandsbuch, bool gruppe);
QString GruppenHinweis(int anzahl);
QString PflichtfeldFrage(const QString& feld);
QString MaximalAnwendungen();

// The animal as the user knows it: ear tag and name, or its ID when it is not found.
QString TierText(db::Transaction& tr, int tier);

// Each of these runs in tr (started here), commits, and on failure rolls back and throws a
// db::Error whose message is the user text of a violated constraint or the database's message.
void Buchen(db::Transaction& tr, int leistung);
void Stornieren(db::Transaction& tr, int leistung);
// The treatment with its applications and its animals.
void Loeschen(db::Transaction& tr, int leistung);

// Assigns the treatment to every animal in the open transaction tr. The first failing animal
// ends it with a db::Error naming the animal and the cause; the caller rolls tr back, so the
// treatment is stored for all animals or for none. texte names the animals as they were when
// they were chosen, for one that has been deleted since.
void TiereZuordnen(db::Transaction& tr, int leistung, const QList<int>& tiere,
                   const QHash<int, QString>& texte = {});

}  // namespace Tierarzt
