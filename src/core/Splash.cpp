#include "Splash.h"

#include "Produkt.h"

#include <SystemInfo.h>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(543, 394);
    bild_.load(platform::programFolder() + QStringLiteral("/Titel.jpg"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!bild_.isNull()) {
        p.drawPixmap(rect(), bild_);
        return;
    }
    p.fillRect(rect(), QColor(0xF4, 0xF1, 0xE8));
    QFont font = p.font();
    font.setPointSize(24);
    font.setBold(true);
    p.setFont(font);
    p.drawText(rect(), Qt::AlignCenter, Produkt::Titel);
}
