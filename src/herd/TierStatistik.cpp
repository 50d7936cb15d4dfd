#include "TierStatistik.h"

#include <QGuiApplication>
#include <QScreen>

TTierStatistik::TTierStatistik(db::Transaction* transaktion) : TStatistik(transaktion) {}

void TTierStatistik::AlsBildschirm(std::shared_ptr<IMyCanvas> canvas)
{
    AlsDruck = false;
    Beschriftung = true;
    Modus = Bildschirm;
    Canvas = std::move(canvas);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        Faktor = screen->logicalDotsPerInch() / 96.0;
}

void TTierStatistik::AlsMiniatur(std::shared_ptr<IMyCanvas> canvas)
{
    AlsDruck = false;
    Beschriftung = false;
    Modus = Miniatur;
    Canvas = std::move(canvas);
}

void TTierStatistik::AlsDruckEinrichten(bool farbig)
{
    AlsDruck = true;
    Beschriftung = true;
    Modus = Druckmodus;
    Farbig = farbig;
    Canvas.reset();
}

void TTierStatistik::SetTier(int id)
{
    if (id == TierID)
        return;
    TierID = id;
    Aktualisieren();
}

void TTierStatistik::UntertitelZeichnen(const QString& s)
{
    if (s.isEmpty() || Modus == Bildschirm)
        return;
    Canvas->SetzeBrushClear();
    if (Modus == Miniatur) {
        Canvas->SetzeSchrift(QStringLiteral("Liberation Sans"), 8, 0, 0, false);
        Canvas->TextOut(5, 5, s, taLeftJustify, tvaTop, 0);
    } else {
        Canvas->SetzeSchrift(QStringLiteral("Liberation Sans"), 14, fsBold, 0, false);
        Canvas->TextOut(Ursprung.x(), Ursprung.y(), s, taLeftJustify, tvaTop, 0);
    }
}
