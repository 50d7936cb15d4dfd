#include "Bestandstatistik.h"

#include <Shell.h>

#include <QMdiArea>

#include <algorithm>

TBestandstatistik::TBestandstatistik(db::Transaction* transaktion) : TStatistik(transaktion) {}

void TBestandstatistik::Init()
{
    if (!AlsDruck)
        PositionenBerechnen();
}

void TBestandstatistik::AlsBildschirm(std::shared_ptr<IMyCanvas> canvas)
{
    Ausgabe = Bildschirm;
    AlsDruck = false;
    Canvas = std::move(canvas);
}

void TBestandstatistik::AlsDruckEinrichten(bool farbig)
{
    Ausgabe = Druckausgabe;
    Farbig = farbig;
    AlsDruck = true;
    Canvas.reset();
}

void TBestandstatistik::PositionenBerechnen()
{
    if (!AlsDruck) {
        QSize flaeche;
        if (TShell* shell = TShell::Aktuell(); shell && shell->MdiArea())
            flaeche = shell->MdiArea()->viewport()->size();
        Breite = std::max(MindestBreite, flaeche.width());
        Hoehe = std::max(MindestHoehe, flaeche.height());
    }
    Links = Ursprung.x();
    Oben = Ursprung.y();
    Rechts = Ursprung.x() + Breite;
    Unten = Ursprung.y() + Hoehe;
}
