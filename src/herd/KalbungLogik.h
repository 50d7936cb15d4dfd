#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// The rules of the calving dialogs that need no window.
namespace Kalbung {

// The proposed ear tag after nummer, in its country's print form: the next number the coder
// accepts back unchanged, so a check digit is right. Empty when the coder refuses nummer or
// no valid successor lies within 100,000 numbers.
QString NachfolgeNummer(const QString& nummer);

// The courses of a calving in the order of the choice; the index is reported with the birth.
const QStringList& Verlaeufe();
// The course item the text names (letter case ignored); -1 for free text.
int VerlaufIndex(const QString& text);

struct TKalb {
    QString nummer;
    bool maennlich = true;
    bool erstellen = true;  // an animal is created for it
};

// One letter per calf, the male ones first: w and m give "MW".
QString GeschlechtCode(const QList<TKalb>& kaelber);
// The ear tag of a single calf, else the word for the multiple birth.
QString KalbungNummer(const QList<TKalb>& kaelber);

// The earliest calving date: the dam's last calving brought into [birth, today]; without one her
// birth.
QDate FruehestesDatum(const QDate& letzteKalbung, const QDate& gebdat, const QDate& heute);

struct TFehler {
    int kalb = 0;  // 0: the date, 1..3: that calf's number
    QString text;
};
// The first failed check of a new calving.
std::optional<TFehler> KalbungPruefen(const QDate& datum, const QList<TKalb>& kaelber,
                                      const QDate& gebdat, const QDate& fruehestes,
                                      const QDate& heute);

// The sex codes of a calving as the edit dialog offers them: caption and stored code.
const QList<std::pair<QString, QString>>& Geschlechter();

// The first failed check of a changed calving; none when it may be stored.
std::optional<QString> KalbungEditPruefen(const QDate& datum, const QDate& gebdat,
                                          const QDate& heute);

}  // namespace Kalbung
