#include "FHintergrundjob.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TfrmHintergrundjob::TfrmHintergrundjob(THintergrundjob& job, const QString& titel,
                                       const QString& text, QWidget* parent)
    : TZRDialog(parent), job_(job)
{
    setWindowTitle(titel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text, this));
    info_ = new QLabel(this);
    info_->setObjectName(QStringLiteral("Info"));
    layout->addWidget(info_);
    balken_ = new QProgressBar(this);
    balken_->setMinimumWidth(320);
    balken_->setRange(0, 0);
    layout->addWidget(balken_);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    knopf_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    knopf_->setObjectName(QStringLiteral("Knopf"));
    unten->addWidget(knopf_);
    layout->addLayout(unten);
    connect(knopf_, &QPushButton::clicked, this, &TfrmHintergrundjob::reject);
    connect(&job_, &THintergrundjob::Fortschritt, this,
            [this](qint64 fertig, qint64 gesamt, const QString& stand) {
                if (!stand.isEmpty())
                    info_->setText(stand);
                // Kilobytes or items: the bar counts in int.
                const int teiler = gesamt > (1 << 30) ? 1024 : 1;
                if (gesamt > 0) {
                    balken_->setRange(0, int(gesamt / teiler));
                    balken_->setValue(int(fertig / teiler));
                }
            });
    connect(&job_, &THintergrundjob::Beendet, this, [this](THintergrundjob::Ende ende) {
        done(ende == THintergrundjob::Ende::Fertig ? Accepted : Rejected);
    });
}

THintergrundjob::Ende TfrmHintergrundjob::Ausfuehren()
{
    job_.Starten();
    if (job_.Ergebnis() == THintergrundjob::Ende::Laeuft)
        exec();
    // The dialog may have been closed before the work stopped.
    return job_.Warten();
}

void TfrmHintergrundjob::reject()
{
    if (job_.Ergebnis() != THintergrundjob::Ende::Laeuft) {
        TZRDialog::reject();
        return;
    }
    // Stays open until the work has stopped: what it holds must not go away under it.
    job_.Abbrechen();
    knopf_->setEnabled(false);
    info_->setText(QStringLiteral("Wird abgebrochen..."));
}
