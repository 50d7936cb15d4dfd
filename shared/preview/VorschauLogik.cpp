#include "VorschauLogik.h"

#include "Tools.h"

#include <Qt>

#include <algorithm>

void AchseAnpassen(ScrollAchse& achse, double extent, int client)
{
    if (extent > client) {
        const int alterRest = achse.Max - client;
        const long double relativ =
            alterRest <= 0 ? 0.0L : static_cast<long double>(achse.Position) / alterRest;
        achse.Max = int(Tools::Round(extent));
        achse.PageSize = client;
        achse.Position = int(Tools::Round((achse.Max - client) * relativ));
        achse.Position = std::clamp(achse.Position, 0, achse.Limit());
        achse.Enabled = true;
        achse.Offset = -achse.Position;
    } else {
        achse.Max = 0;
        achse.PageSize = client;
        achse.Position = 0;
        achse.Enabled = false;
        achse.Offset = int(Tools::Round((client - extent) / 2));
    }
}

Blickpunkt TasteAnwenden(int key, Blickpunkt jetzt, int limitX, int limitY, int minSeite,
                         int maxSeite)
{
    Blickpunkt neu = jetzt;
    neu.X = std::clamp(neu.X, 0, limitX);
    neu.Y = std::clamp(neu.Y, 0, limitY);
    switch (key) {
        case Qt::Key_PageUp:
            --neu.Seite;
            break;
        case Qt::Key_PageDown:
            ++neu.Seite;
            break;
        case Qt::Key_Home:
            neu.Seite = minSeite;
            break;
        case Qt::Key_End:
            neu.Seite = maxSeite;
            break;
        case Qt::Key_Left:
            neu.X -= kPfeilSchritt;
            break;
        case Qt::Key_Right:
            neu.X += kPfeilSchritt;
            break;
        case Qt::Key_Up:
            if (neu.Y <= 0 && neu.Seite > minSeite) {
                --neu.Seite;
                neu.Y = limitY;
            } else {
                neu.Y -= kPfeilSchritt;
            }
            break;
        case Qt::Key_Down:
            if (neu.Y >= limitY && neu.Seite < maxSeite) {
                ++neu.Seite;
                neu.Y = 0;
            } else {
                neu.Y += kPfeilSchritt;
            }
            break;
        default:
            break;
    }
    neu.Seite = std::clamp(neu.Seite, minSeite, std::max(minSeite, maxSeite));
    neu.X = std::clamp(neu.X, 0, limitX);
    neu.Y = std::clamp(neu.Y, 0, limitY);
    return neu;
}

int ZoomInSchritt(int scale, int step, int maxScale)
{
    if (step <= 0)
        return scale;
    const int kandidat = scale + step;
    return kandidat > maxScale ? maxScale : kandidat / step * step;
}

int ZoomOutSchritt(int scale, int step, int minScale)
{
    if (step <= 0)
        return scale;
    const int kandidat = scale - step;
    if (kandidat < minScale)
        return minScale;
    return int(Tools::Round(static_cast<long double>(kandidat) / step + 0.49L)) * step;
}

int SkalierungsGrenze(int maximumSize, int pw, int ph)
{
    if (pw <= 0 || ph <= 0)
        return 0;
    const long double x = static_cast<long double>(maximumSize) / pw;
    const long double y = static_cast<long double>(maximumSize) / ph;
    return int(Tools::Round(std::min(x, y) * 100));
}

int EinpassSkalierung(TFitScale fit, int areaW, int areaH, int pw, int ph)
{
    if (pw <= 0 || ph <= 0)
        return 0;
    const int breite = int(Tools::Round(static_cast<long double>(areaW - 6) / pw * 100));
    const int hoehe = int(Tools::Round(static_cast<long double>(areaH - 6) / ph * 100));
    switch (fit) {
        case TFitScale::fitPageWidth:
            return breite;
        case TFitScale::fitPageHeight:
            return hoehe;
        case TFitScale::fitWholePage:
            break;
    }
    return std::min(breite, hoehe);
}
