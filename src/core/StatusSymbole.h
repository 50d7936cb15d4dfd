#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

// The pictures of an animal's status index (P_STATUS_INDEX): the status letter on a disc in the
// status's colour. Lists and the animal chooser show the small ones, the animal card and printed
// lists the large ones on grey; the black-and-white variant keeps prints legible without colour.
namespace StatusSymbole {

// Number of status indexes with a picture (0 to Anzahl - 1).
int Anzahl();

// The picture of an index in a square of the given size; a null image for unknown indexes.
QImage Bild(int index, int groesse, bool schwarzWeiss = false);

// The small status icons (16 x 16) by index, as list grids take them.
QList<QIcon> Icons();

// The large status picture (32 x 32 on grey), colour or black and white.
QImage Gross(int index, bool schwarzWeiss);

}  // namespace StatusSymbole
