#include "FHintergrundjob.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TFortschrittsanzeige FortschrittsanzeigeAufbauen(QDialog& dialog, const QString& text)
{
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(text, &dialog));
    TFortschrittsanzeige a;
    a.info = new QLabel(&dialog);
    a.info->setObjectName(QStringLiteral("Info"));
    layout->addWidget(a.info);
    a.balken = new QProgressBar(&dialog);
    a.balken->setMinimumWidth(320);
    a.balken->setRange(0, 0);
    layout->addWidget(a.balken);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    a.knopf = new QPushButton(QStringLiteral("Abbrechen"), &dialog);
    a.knopf->setObjectName(QStringLiteral("Knopf"));
    unten->addWidget(a.knopf);
    layout->addLayout(unten);
    return a;
}

TfrmHintergrundjob::TfrmHintergrundjob(THintergrundjob& job, const QString& titel,
                                       const QString& text, QWidget* parent)
    : TZRDialog(parent), job_(job)
{
    setWindowTitle(titel);
    const TFortschrittsanzeige anzeige = FortschrittsanzeigeAufbauen(*this, text);
    info_ = anzeige.info;
    balken_ = anzeige.balken;
    knopf_ = anzeige.knopf;
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
