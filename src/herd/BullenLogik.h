#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The rules of the bulls' master data and of the bull searches, without a window.
namespace Bullen {

// "Prüfbulle bis" of a bull that is no test bull: a date long past, so the bull counts as
// having left the test status before any insemination.
inline QDate KeinPruefbulle()
{
    return QDate(1900, 1, 1);
}

// The fields a failed check names, in the order they are checked.
enum class TFeld { Name, HBNR, GebDat, LetzteVerwendung };

struct TFehler {
    TFeld feld;
    QString text;
};

struct TBulle {
    QString name;
    QString hbnr;
    QDate gebdat;
    QDate letzteVerwendung;
};

// The first check the bull fails; none when it may be stored. Blank texts count as empty.
std::optional<TFehler> Pruefen(const TBulle& bulle, const QDate& heute);

// Search texts and the values they are compared with: upper case without any blanks.
QString Suchtext(const QString& text);
// Whether a row passes the search: the normalised text occurs in the name, else in the
// herd-book number. An empty search text lets every row pass.
bool Passt(const QString& suchtext, const QString& name, const QString& nummer);

}  // namespace Bullen
