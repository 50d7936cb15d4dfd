#include "FHITKorr.h"

#include "HitProps.h"

#include <Meldung.h>
#include <ZRPropGrid.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

TfrmHITKorr::TfrmHITKorr(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmHITKorr"));
    setWindowTitle(QStringLiteral("Korrigieren der HIT Meldung"));
    setBorderStyle(bsSizeable);

    detailsGrid_ = new TZRPropGrid(this);
    detailsGrid_->setObjectName(QStringLiteral("DetailsGrid"));
    detailsGrid_->SetTitleValues(QStringLiteral("Felder"));
    detailsGrid_->SetTitleData(QStringLiteral("Daten"));
    detailsGrid_->setColumnWidth(0, 135);
    detailsGrid_->setColumnWidth(1, 135);
    detailsGrid_->verticalHeader()->setDefaultSectionSize(17);

    melden_ = new QPushButton(QStringLiteral("Melden"), this);
    melden_->setObjectName(QStringLiteral("Melden"));
    verwerfen_ = new QPushButton(QStringLiteral("Meldung verwerfen"), this);
    verwerfen_->setObjectName(QStringLiteral("Schliesen"));
    melden_->setAutoDefault(false);
    verwerfen_->setAutoDefault(false);
    connect(melden_, &QPushButton::clicked, this, &QDialog::accept);
    connect(verwerfen_, &QPushButton::clicked, this, &TfrmHITKorr::SchliesenClick);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(melden_);
    knoepfe->addWidget(verwerfen_);
    auto* haupt = new QVBoxLayout(this);
    haupt->addWidget(detailsGrid_, 1);
    haupt->addLayout(knoepfe);
    resize(330, 360);
}

void TfrmHITKorr::SchliesenClick()
{
    if (Tools::MeldungConfirm(QStringLiteral("Wollen Sie diese Meldung wirklich verwerfen?"), 1) ==
        Tools::mrYes)
        QDialog::reject();
}

void TfrmHITKorr::reject()
{
    SchliesenClick();
}

bool HITMeldungKorrigieren(QWidget* owner, THITPBefehl& befehl, db::Database& datenbank,
                           const TEinstellungen& einstellungen)
{
    TfrmHITKorr dialog(owner);
    THITProps props(datenbank, einstellungen);
    props.SetGrid(dialog.DetailsGrid());
    props.BefehlZeigen(befehl);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    befehl = props.BefehlLesen();
    return true;
}
