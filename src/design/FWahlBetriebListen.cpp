#include "FWahlBetriebListen.h"

#include <Datenmodul.h>
#include <Grundeinstellungen.h>

#include <Transaction.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

TDM& Datenmodul()
{
    if (!DM() || !DM()->Verbunden())
        throw std::runtime_error(
            "Die Betriebsstätten sind ohne Datenbankverbindung nicht "
            "verfügbar.");
    return *DM();
}

TEinstellungen& ProgrammEinstellungen()
{
    if (!Einstellungen())
        throw std::runtime_error("Die Einstellungen des Programms fehlen.");
    return *Einstellungen();
}

}  // namespace

TfrmWahlBetriebListen::TfrmWahlBetriebListen(QWidget* owner)
    : TfrmWahlBetriebListen(Datenmodul(), ProgrammEinstellungen(), owner)
{
}

TfrmWahlBetriebListen::TfrmWahlBetriebListen(TDM& dm, TEinstellungen& einstellungen, QWidget* owner)
    : TZRDialog(owner), einstellungen_(einstellungen)
{
    setObjectName(QStringLiteral("frmWahlBetriebListen"));
    setWindowTitle(QStringLiteral("Betriebsstätte auswählen"));
    setHelpContext(HilfeKontext);

    auto* text =
        new QLabel(QStringLiteral("Wählen Sie die aktive Betriebsstätte für Listen aus:"), this);
    text->setObjectName(QStringLiteral("Label1"));
    liste_ = new QListWidget(this);
    liste_->setObjectName(QStringLiteral("Liste"));
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("Abbrechen"));
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(liste_, 1);
    layout->addLayout(knoepfe);
    resize(sizeHint().expandedTo(QSize(340, 300)));

    connect(ok, &QPushButton::clicked, this, &TfrmWahlBetriebListen::accept);
    connect(abbrechen, &QPushButton::clicked, this, &TfrmWahlBetriebListen::reject);
    connect(liste_, &QListWidget::itemDoubleClicked, this, &TfrmWahlBetriebListen::accept);

    QStringList namen;
    {
        db::Transaction tr(dm.Datenbank, QStringLiteral("TABetriebswahl"));
        tr.Start();
        dm.BetriebsstaettenListe(tr, namen, &ids_);
        tr.Commit();
    }
    liste_->addItems(namen);
    const int index = ids_.indexOf(einstellungen_.GetAktBetriebListen());
    liste_->setCurrentRow(index < 0 ? 0 : index);
}

void TfrmWahlBetriebListen::accept()
{
    const int zeile = liste_->currentRow();
    if (zeile >= 0 && zeile < ids_.size())
        einstellungen_.SetAktBetriebListen(ids_[zeile]);
    TZRDialog::accept();
}
