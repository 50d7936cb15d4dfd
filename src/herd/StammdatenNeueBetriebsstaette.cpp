#include "StammdatenNeueBetriebsstaette.h"

#include "TierSpeicher.h"

#include <DBZRDateEdit.h>
#include <Datenmodul.h>
#include <Meldung.h>
#include <ProgDatum.h>
#include <ZRDateTools.h>

#include <Transaction.h>

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TfrmNeueBetriebsstaette::TfrmNeueBetriebsstaette(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmNeueBetriebsstaette"));
    setWindowTitle(QStringLiteral("Neue Betriebsstätte"));
    setHelpContext(HilfeKontext);
    datum_ = new TDBZRDateEdit(this);
    datum_->setObjectName(QStringLiteral("edDatum"));
    datum_->setText(ZRDateTools::DatumText(ProgDatum::Heute()));
    stall_ = new QComboBox(this);
    stall_->setObjectName(QStringLiteral("cbBetriebsstaette"));
    stall_->setMinimumWidth(stall_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 28);

    db::Transaction tr(DM()->Datenbank, QStringLiteral("TANeueBetriebsstaette"));
    tr.Start();
    for (const auto& [id, name] : TTierSpeicher::Betriebsstaetten(tr))
        stall_->addItem(name, id);
    const int vorgabe = stall_->findData(TTierSpeicher::StandardBetriebsstaette(tr));
    tr.Commit();
    stall_->setCurrentIndex(stall_->count() ? std::max(vorgabe, 0) : -1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Datum des Wechsels:"), datum_);
    form->addRow(QStringLiteral("Betriebsstätte"), stall_);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addLayout(knoepfe);
    connect(ok, &QPushButton::clicked, this, &TfrmNeueBetriebsstaette::accept);
    connect(abbrechen, &QPushButton::clicked, this, &TfrmNeueBetriebsstaette::reject);
}

QDate TfrmNeueBetriebsstaette::Datum() const
{
    return result() == QDialog::Accepted ? gewaehlt_ : datum_->Date();
}

int TfrmNeueBetriebsstaette::Betriebsstaette() const
{
    return stall_->currentData().toInt();
}

void TfrmNeueBetriebsstaette::accept()
{
    const QDate d = datum_->Date();
    QString fehler;
    if (!d.isValid())
        fehler = QStringLiteral("Sie müssen ein Datum angeben!");
    else if (d > ProgDatum::Heute())
        fehler = QStringLiteral("Das Datum darf nicht in der Zukunft sein!");
    else if (stall_->currentIndex() < 0)
        fehler = QStringLiteral("Sie müssen eine Betriebsstätte auswählen!");
    if (!fehler.isEmpty()) {
        Tools::MeldungError(fehler);
        (stall_->currentIndex() < 0 && d.isValid() ? static_cast<QWidget*>(stall_) : datum_)
            ->setFocus();
        return;
    }
    gewaehlt_ = d;
    TZRDialog::accept();
}

namespace FNeueBetriebsstaette {

bool NeueBetriebsstaetteWaehlen(QWidget* owner, QDate& datum, int& stall)
{
    TfrmNeueBetriebsstaette d(owner);
    if (d.exec() != QDialog::Accepted)
        return false;
    datum = d.Datum();
    stall = d.Betriebsstaette();
    return true;
}

}  // namespace FNeueBetriebsstaette
