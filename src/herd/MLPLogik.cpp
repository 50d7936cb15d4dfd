#include "MLPLogik.h"

#include <Format.h>

#include <QStringList>

namespace MLP {

const QList<std::pair<QString, QString>>& Typen()
{
    static const QList<std::pair<QString, QString>> typen = {
        {"1N", "normal"}, {"2T", "trocken"}, {"2K", "kalb"}, {"2A", "ausgefallen"}};
    return typen;
}

HarnstoffEinheit Harnstoff(int harnstoffAnzeige)
{
    if (harnstoffAnzeige == 1)
        return {0.1, 1, QStringLiteral("mg/dl")};
    return {1, 0, QStringLiteral("ppm")};
}

QString HarnstoffText(std::optional<int> ppm, int harnstoffAnzeige)
{
    if (!ppm)
        return {};
    if (harnstoffAnzeige == 1)
        return Tools::Format(QStringLiteral("%.1f"), {*ppm / 10.0});
    return Tools::Format(QStringLiteral("%.0f"), {double(*ppm)});
}

QString BandErsatz(const QString& typ)
{
    const QString t = typ.trimmed();
    if (t == QLatin1String("2T"))
        return QStringLiteral("--   --   trocken   --   --");
    if (t == QLatin1String("2A"))
        return QStringLiteral("--   --   ausgefallen  --   --");
    if (t == QLatin1String("2K"))
        return QStringLiteral("--   --   kalb   --   --");
    return {};
}

QString Sortierung(const QString& feld, bool absteigend)
{
    const QString richtung = absteigend ? QStringLiteral(" DESC") : QString();
    if (feld == QLatin1String("LKALBUNG"))
        return QStringLiteral("KALBSORT") + richtung;
    if (feld == QLatin1String("KNR") || feld == QLatin1String("KNRDISPLAY"))
        return QStringLiteral("IIF(KNR > 0, 0, 1), KNR") + richtung;
    return feld + richtung;
}

QString EinzelTitel(const QString& knr, const QString& name, const QString& nummer)
{
    QStringList teile;
    for (const QString& t : {knr, name, nummer})
        if (!t.trimmed().isEmpty())
            teile << t.trimmed();
    teile << QStringLiteral("Einzelwerte bearbeiten");
    return teile.join(QStringLiteral(" - "));
}

Knoepfe KnoepfeFreigeben(bool hatProbemelken, bool hatHerde, bool hatKuh)
{
    Knoepfe k;
    k.pmEntfernen = hatProbemelken;
    k.herdeNeu = hatProbemelken;
    k.herdeBearbeiten = hatHerde;
    k.herdeLoeschen = hatHerde;
    k.einzelBearbeiten = hatKuh;
    k.zurKuh = hatKuh;
    return k;
}

}  // namespace MLP
