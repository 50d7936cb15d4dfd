#include "FZwischenkalbezeitStatistik.h"

#include <Leinwand.h>
#include <Shell.h>

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

TfrmZwischenkalbezeitStatistik::TfrmZwischenkalbezeitStatistik(db::Database& datenbank,
                                                               QWidget* owner)
    : TfrmGesamtbestandStatistik(datenbank, owner)
{
    setObjectName(QStringLiteral("frmZwischenkalbezeitStatistik"));
    setProperty("HelpContext", HilfeKontext);
    Statistik()->setMouseTracking(true);
}

TfrmZwischenkalbezeitStatistik::~TfrmZwischenkalbezeitStatistik() = default;

void TfrmZwischenkalbezeitStatistik::Drucken()
{
    if (!Chart)
        return;
    CreateDruck<TZwischenkalbezeitBestand>(&Transaktion, true)->Drucken();
}

void TfrmZwischenkalbezeitStatistik::StatistikMouseMove(QPoint p)
{
    if (!Chart)
        return;
    const int jahr = Chart->JahrAnPosition(p.x(), p.y());
    if (jahr == letztesJahr_)
        return;
    letztesJahr_ = jahr;
    QPixmap bild = Statistik()->pixmap();
    {
        QPainter maler(&bild);
        Chart->SetCanvas(std::make_shared<TMyGDICanvas>(maler));
        Chart->JahrZeigen(jahr);
        Chart->SetCanvas(nullptr);
    }
    Statistik()->setPixmap(bild);
}

bool TfrmZwischenkalbezeitStatistik::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == Statistik() && ereignis->type() == QEvent::MouseMove)
        StatistikMouseMove(static_cast<QMouseEvent*>(ereignis)->position().toPoint());
    return TfrmGesamtbestandStatistik::eventFilter(objekt, ereignis);
}

TfrmZwischenkalbezeitStatistik* ZwischenkalbezeitStatistikAnzeigen(TShell* shell, QWidget* owner,
                                                                   db::Database& datenbank)
{
    return StatistikFensterZeigen<TfrmZwischenkalbezeitStatistik>(
        shell, owner, datenbank, [](TZwischenkalbezeitBestand&) {},
        [](const TZwischenkalbezeitBestand&) { return QStringLiteral("Zwischenkalbezeit"); });
}
