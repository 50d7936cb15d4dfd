#include "ProgrammEnde.h"

#include <EndeSignal.h>
#include <EngineSignals.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <ZRDebug.h>

TProgrammEnde::TProgrammEnde(std::function<QWidget*()> hauptfenster, QObject* parent)
    : QObject(parent),
      hauptfenster_(std::move(hauptfenster)),
      signal_(std::make_unique<platform::EndeSignal>()),
      timer_(new QTimer(this))
{
    db::KeepEngineOnSignal(&platform::EndeSignal::Anfordern);
    // Dialogs may open after the signal (a question on the way out): they are closed as well.
    timer_->setInterval(50);
    connect(timer_, &QTimer::timeout, this, &TProgrammEnde::Schliessen);
    connect(signal_.get(), &platform::EndeSignal::Beenden, this, [this] {
        ZRDebug::DebugMsg(QStringLiteral("Programmende durch Signal angefordert"));
        // First: closing the main window may itself open a question, which the timer then
        // answers from inside its loop.
        timer_->start();
        Schliessen();
    });
}

TProgrammEnde::~TProgrammEnde() = default;

bool TProgrammEnde::Angefordert()
{
    return platform::EndeSignal::Angefordert();
}

void TProgrammEnde::Schliessen()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
            dialog->reject();
    }
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    if (QWidget* fenster = hauptfenster_(); fenster && fenster->isVisible())
        fenster->close();
    QCoreApplication::quit();
}
