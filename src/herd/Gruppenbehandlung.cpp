#include "Gruppenbehandlung.h"

#include "Tierarzt.h"
#include "TierarztLogik.h"

#include <Meldung.h>

#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TfrmGruppenbehandlung::TfrmGruppenbehandlung(QWidget* owner)
    : TZRDialog(owner),
      rahmen_(new TframeTierarzt(this)),
      schliessen_(new QPushButton(QStringLiteral("Schließen"), this)),
      hilfe_(new QPushButton(QStringLiteral("Hilfe"), this))
{
    setWindowTitle(QStringLiteral("Gruppenbehandlung erfassen"));
    setHelpContext(HilfeKontext);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    for (QPushButton* k : {schliessen_, hilfe_}) {
        k->setAutoDefault(false);
        k->setMinimumWidth(90);
        knoepfe->addWidget(k);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rahmen_, 1);
    layout->addLayout(knoepfe);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    resize(860, 420);
}

void TfrmGruppenbehandlung::TiereSetzen(const QList<int>* tiere)
{
    tiere_ = tiere;
    rahmen_->Initialisieren(tiere);
}

void TfrmGruppenbehandlung::showEvent(QShowEvent* event)
{
    TZRDialog::showEvent(event);
    if (angezeigt_)
        return;
    angezeigt_ = true;
    QTimer::singleShot(0, this, [this] { ErsteAnzeige(); });
}

void TfrmGruppenbehandlung::ErsteAnzeige()
{
    const QString hinweis = Tierarzt::GruppenHinweis(tiere_ ? int(tiere_->size()) : 0);
    if (!hinweis.isEmpty())
        Tools::MeldungInfo(hinweis);
    rahmen_->NeuKnopf()->click();
}
