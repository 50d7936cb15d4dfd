#include "KalbungLogik.h"

#include <LomCoder.h>

#include <cstdint>

namespace Kalbung {

QString NachfolgeNummer(const QString& nummer)
{
    int64_t n = 0;
    if (Lom::EncodeLom(nummer.toStdString(), n) != 0)
        return {};
    // Numbers with a wrong check digit are skipped. A check digit in the last places is right
    // again within a few hundred steps; one in the leading places is not, and the user types.
    for (int schritt = 1; schritt <= 100000; ++schritt) {
        const std::string text = Lom::DecodeLom(n + schritt);
        int64_t zurueck = 0;
        if (Lom::EncodeLom(text, zurueck) == 0 && zurueck == n + schritt)
            return QString::fromStdString(text);
    }
    return {};
}

const QStringList& Verlaeufe()
{
    static const QStringList liste{
        QStringLiteral("keine Angabe"),
        QStringLiteral("ohne Hilfe oder Hilfe nicht nötig"),
        QStringLiteral("ein Helfer oder leichter Einsatz mech. Zughilfe"),
        QStringLiteral("mehrere Helfer, mech. Zughilfe und/oder Tierarzt"),
        QStringLiteral("Operation (Kaiserschnitt, Fetotomie)"),
    };
    return liste;
}

int VerlaufIndex(const QString& text)
{
    const QStringList& liste = Verlaeufe();
    for (int i = 0; i < liste.size(); ++i)
        if (liste[i].compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString GeschlechtCode(const QList<TKalb>& kaelber)
{
    QString m, w;
    for (const TKalb& k : kaelber)
        (k.maennlich ? m : w) += k.maennlich ? QLatin1Char('M') : QLatin1Char('W');
    return m + w;
}

QString KalbungNummer(const QList<TKalb>& kaelber)
{
    switch (kaelber.size()) {
        case 1:
            return kaelber[0].nummer.trimmed();
        case 2:
            return kaelber[0].maennlich == kaelber[1].maennlich ? QStringLiteral("ZWILLINGE")
                                                                : QStringLiteral("ZWICKE");
        case 3:
            return QStringLiteral("DRILLINGE");
        default:
            return {};
    }
}

QDate FruehestesDatum(const QDate& letzteKalbung, const QDate& gebdat, const QDate& heute)
{
    if (!letzteKalbung.isValid())
        return gebdat;
    QDate d = letzteKalbung;
    if (gebdat.isValid() && d < gebdat)
        d = gebdat;
    if (heute.isValid() && d > heute)
        d = heute;
    return d;
}

std::optional<TFehler> KalbungPruefen(const QDate& datum, const QList<TKalb>& kaelber,
                                      const QDate& gebdat, const QDate& fruehestes,
                                      const QDate& heute)
{
    if (!datum.isValid())
        return TFehler{0, QStringLiteral("Sie müssen ein Datum für die Kalbung eingeben")};
    for (int i = 0; i < kaelber.size(); ++i)
        if (kaelber[i].erstellen && kaelber[i].nummer.trimmed().isEmpty())
            return TFehler{i + 1, QStringLiteral("Sie müssen eine Nummer für das Kalb angeben")};
    if (datum > heute)
        return TFehler{0, QStringLiteral("Das Kalbungsdatum darf nicht in der Zukunft liegen")};
    if (gebdat.isValid() && datum < gebdat)
        return TFehler{0, QStringLiteral("Das Kalbungsdatum darf nicht vor dem Geburtsdatum sein")};
    if (fruehestes.isValid() && datum < fruehestes)
        return TFehler{
            0, QStringLiteral("Das Kalbungsdatum darf nicht vor einer anderen Kalbung sein")};
    return std::nullopt;
}

const QList<std::pair<QString, QString>>& Geschlechter()
{
    static const QList<std::pair<QString, QString>> liste{
        {QStringLiteral("männlich"), QStringLiteral("M")},
        {QStringLiteral("weiblich"), QStringLiteral("W")},
        {QStringLiteral("Zwilling m/m"), QStringLiteral("MM")},
        {QStringLiteral("Zwilling w/w"), QStringLiteral("WW")},
        {QStringLiteral("Zwilling m/w"), QStringLiteral("MW")},
        {QStringLiteral("Drilling m/m/m"), QStringLiteral("MMM")},
        {QStringLiteral("Drilling w/w/w"), QStringLiteral("WWW")},
        {QStringLiteral("Drilling m/m/w"), QStringLiteral("MMW")},
        {QStringLiteral("Drilling m/w/w"), QStringLiteral("MWW")},
        {QStringLiteral("Mehrling"), QStringLiteral("MER")},
    };
    return liste;
}

std::optional<QString> KalbungEditPruefen(const QDate& datum, const QDate& gebdat,
                                          const QDate& heute)
{
    if (!datum.isValid())
        return QStringLiteral("Sie müssen ein Datum für die Kalbung eingeben");
    if (datum > heute)
        return QStringLiteral("Das Kalbungsdatum darf nicht in der Zukunft liegen");
    if (gebdat.isValid() && datum < gebdat)
        return QStringLiteral("Das Kalbungsdatum darf nicht vor dem Geburtsdatum sein");
    return std::nullopt;
}

}  // namespace Kalbung
