#include "FHITPinChange.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmHITPinChange::TfrmHITPinChange(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmHITPinChange"));
    setWindowTitle(QStringLiteral("HI Tier - PIN Änderung"));

    bnr_ = new QLabel(this);
    bnr_->setObjectName(QStringLiteral("BNR"));
    pin1_ = new QLineEdit(this);
    pin1_->setObjectName(QStringLiteral("Pin1"));
    pin2_ = new QLineEdit(this);
    pin2_->setObjectName(QStringLiteral("Pin2"));
    for (QLineEdit* e : {pin1_, pin2_}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(50);
    }

    auto* felder = new QGridLayout;
    felder->addWidget(new QLabel(QStringLiteral("Betriebsnummer:"), this), 0, 0);
    felder->addWidget(bnr_, 0, 1);
    auto* l1 = new QLabel(QStringLiteral("Neue PIN:"), this);
    l1->setBuddy(pin1_);
    felder->addWidget(l1, 1, 0);
    felder->addWidget(pin1_, 1, 1);
    auto* l2 = new QLabel(QStringLiteral("PIN wiederholen:"), this);
    l2->setBuddy(pin2_);
    felder->addWidget(l2, 2, 0);
    felder->addWidget(pin2_, 2, 1);
    felder->setColumnStretch(1, 1);

    aendern_ = new QPushButton(QStringLiteral("Ändern"), this);
    aendern_->setObjectName(QStringLiteral("Aendern"));
    aendern_->setDefault(true);
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen_->setObjectName(QStringLiteral("Abbrechen"));
    connect(aendern_, &QPushButton::clicked, this, &QDialog::accept);
    connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(aendern_);
    knoepfe->addWidget(abbrechen_);
    auto* haupt = new QVBoxLayout(this);
    haupt->addLayout(felder);
    haupt->addLayout(knoepfe);
    setMinimumWidth(320);
}
