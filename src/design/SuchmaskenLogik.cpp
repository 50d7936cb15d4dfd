#include "SuchmaskenLogik.h"

#include "ListenKodierung.h"

namespace Suchmasken {

QList<QStringList> FilterZeilen(const QString& bedingungen)
{
    using namespace ListenKodierung;
    QList<QStringList> zeilen;
    for (const Bedingung& b : BedingungenLesen(bedingungen)) {
        const QString feld = Lesen(MaskenFelder(), b.feld);
        if (feld.isEmpty())
            continue;
        zeilen << QStringList{feld, Lesen(MaskenOperatoren(), b.operation), b.wert,
                              Lesen(Verknuepfungen(), b.verknuepfung)};
    }
    return zeilen;
}

QString BedingungenErstellen(const QList<QStringList>& zeilen)
{
    using namespace ListenKodierung;
    QList<Bedingung> bedingungen;
    for (const QStringList& z : zeilen)
        bedingungen << Bedingung{Schreiben(MaskenFelder(), z.value(0)),
                                 Schreiben(MaskenOperatoren(), z.value(1)), z.value(2),
                                 Schreiben(Verknuepfungen(), z.value(3))};
    return BedingungenKodieren(bedingungen);
}

QList<Reihung> Tauschen(int a, int b, int c, int d, int frei)
{
    const int zwischen = d > 0 ? -d : frei;
    return {{c, zwischen}, {a, d}, {c, b}};
}

}  // namespace Suchmasken
