#pragma once

#include <QString>

namespace Produkt {

inline const QString Titel = QStringLiteral("ZR - Bovantis 3.0");
// The name of the application-instance check and, with the user's name, of the per-user lock.
inline const QString MutexName = QStringLiteral("ZRBovantisMutex");
inline const QString HilfeDatei = QStringLiteral("bovantis.chm");

}  // namespace Produkt
