#pragma once

#include <QString>

namespace db {
class DataSet;
}

// The order of the user lists in the main window's list menu (MENUE_REIHUNG) or on its toolbar
// (SYMBOL_REIHUNG): the rows a dataset of the ordering dialog holds and the swap of two
// neighbours. Internal lists stay out, as they stay out of the menu.
namespace ListenReihung {

enum class Art { Menue, Symbol };

QString SelectSQL(Art art);
QString ModifySQL(Art art);
QString Spalte(Art art);

// Gives the rows the order values 1..n in their present order when two share a value or one
// has none, so that every move changes the order. Leaves the first row current.
void Durchnummerieren(db::DataSet& ds, Art art);
// Swaps the order values of the current row and its neighbour above (richtung -1) or below (1);
// nothing at the top or bottom. The dataset is reopened on the moved row. True when moved.
bool Verschieben(db::DataSet& ds, Art art, int richtung);

}  // namespace ListenReihung
