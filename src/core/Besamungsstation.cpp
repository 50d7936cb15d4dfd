#include "Besamungsstation.h"

#include <BesamungConst.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void TBesamungsstationWahl::Vorbereiten(const QString& ausser, bool erzwungen)
{
    eintraege_ = BesamungFunc::StationenListe(ausser, true);
    erzwungen_ = erzwungen;
}

QString TBesamungsstationWahl::Code(int position) const
{
    if (position < 0 || position >= eintraege_.size())
        return {};
    return BesamungConst::Stationen()[eintraege_[position].Index].Code;
}

TfrmBesamungsstation::TfrmBesamungsstation(QWidget* owner)
    : TZRDialog(owner),
      auswahl_(new QComboBox(this)),
      ok_(new QPushButton("Ok", this)),
      abbrechen_(new QPushButton("Abbrechen", this))
{
    setWindowTitle("Besamungsstation");
    auto* label = new QLabel("Besamungsstation", this);
    label->setBuddy(auswahl_);
    auswahl_->setMinimumContentsLength(30);
    ok_->setDefault(true);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(auswahl_);
    layout->addSpacing(8);
    layout->addLayout(knoepfe);

    connect(ok_, &QPushButton::clicked, this, [this] {
        station_ = wahl_.Code(auswahl_->currentIndex());
        accept();
    });
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmBesamungsstation::reject);
}

void TfrmBesamungsstation::Vorbereiten(const QString& ausser, bool erzwungen)
{
    station_.clear();
    wahl_.Vorbereiten(ausser, erzwungen);
    auswahl_->clear();
    for (const BesamungFunc::StationsEintrag& e : wahl_.Eintraege())
        auswahl_->addItem(e.Name);
    auswahl_->setCurrentIndex(wahl_.OkMoeglich() ? 0 : -1);
    ok_->setEnabled(wahl_.OkMoeglich());
    abbrechen_->setEnabled(wahl_.AbbrechenMoeglich());
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (wahl_.AbbrechenMoeglich())
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
}

void TfrmBesamungsstation::reject()
{
    // Escape and the window's close come here as well; a forced choice ignores them.
    if (wahl_.AbbrechenMoeglich())
        TZRDialog::reject();
}

void TfrmBesamungsstation::closeEvent(QCloseEvent* event)
{
    if (wahl_.AbbrechenMoeglich())
        TZRDialog::closeEvent(event);
    else
        event->ignore();
}
