#include "Warten.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString restzeitText(int sekunden)
{
    return QStringLiteral("Restzeit: %1 Sekunden").arg(sekunden);
}

}  // namespace

TfrmWarten::TfrmWarten(std::function<bool()> serverLaeuft, QWidget* parent)
    : TZRDialog(parent), serverLaeuft_(std::move(serverLaeuft))
{
    setObjectName(QStringLiteral("frmWarten"));
    setWindowTitle(QStringLiteral("Warte..."));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* lblWarte = new QLabel(QStringLiteral("Warte auf Datenbank-Server ..."), this);
    lblWarte->setObjectName(QStringLiteral("lblWarte"));
    layout->addWidget(lblWarte);
    lblRestzeit_ = new QLabel(restzeitText(restzeit_), this);
    lblRestzeit_->setObjectName(QStringLiteral("lblRestzeit"));
    layout->addWidget(lblRestzeit_);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    auto* btnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    knoepfe->addWidget(btnAbbrechen);
    layout->addLayout(knoepfe);

    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TfrmWarten::Takt);
    timer_->start();
}

void TfrmWarten::Takt()
{
    if (serverLaeuft_()) {
        timer_->stop();
        accept();
        return;
    }
    --restzeit_;
    lblRestzeit_->setText(restzeitText(restzeit_));
    if (restzeit_ < 1) {
        timer_->stop();
        reject();
    }
}
