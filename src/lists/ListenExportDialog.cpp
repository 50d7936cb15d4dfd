#include "ListenExportDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmListenExport::TfrmListenExport(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmListenExport"));
    setWindowTitle(QStringLiteral("Exportiere Liste"));
    auto* layout = new QVBoxLayout(this);

    auto* formate = new QGroupBox(QStringLiteral("E&xport Formate:"), this);
    formate->setObjectName(QStringLiteral("Formate"));
    auto* formatLayout = new QVBoxLayout(formate);
    auto* gruppe = new QButtonGroup(this);
    for (ListenExport::Format f : ListenExport::AlleFormate()) {
        auto* knopf = new QRadioButton(ListenExport::Formatname(f), formate);
        knopf->setObjectName(QStringLiteral("Format%1").arg(int(f)));
        gruppe->addButton(knopf);
        formatLayout->addWidget(knopf);
        formate_ << knopf;
        connect(knopf, &QRadioButton::toggled, this, [this] { ZielPruefen(); });
    }
    layout->addWidget(formate);

    auto* ziel = new QGroupBox(this);
    ziel->setObjectName(QStringLiteral("Ziel"));
    auto* zielLayout = new QVBoxLayout(ziel);
    inDatei_ = new QRadioButton(QStringLiteral("Export &in Datei"), ziel);
    inDatei_->setObjectName(QStringLiteral("InDatei"));
    nurAnsicht_ = new QRadioButton(QStringLiteral("&Nur Ansicht"), ziel);
    nurAnsicht_->setObjectName(QStringLiteral("NurAnsicht"));
    zielLayout->addWidget(inDatei_);
    zielLayout->addWidget(nurAnsicht_);
    inDatei_->setChecked(true);
    layout->addWidget(ziel);

    auto* knoepfe = new QDialogButtonBox(this);
    QPushButton* exportieren =
        knoepfe->addButton(QStringLiteral("&Export"), QDialogButtonBox::AcceptRole);
    exportieren->setObjectName(QStringLiteral("Exportieren"));
    exportieren->setDefault(true);
    QPushButton* abbrechen =
        knoepfe->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole);
    abbrechen->setObjectName(QStringLiteral("Abbrechen"));
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(knoepfe);

    FormatKnopf(ListenExport::Format::Excel)->setChecked(true);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QRadioButton* TfrmListenExport::FormatKnopf(ListenExport::Format format) const
{
    return formate_.value(int(ListenExport::AlleFormate().indexOf(format)));
}

ListenExport::Auswahl TfrmListenExport::GewaehlteAuswahl() const
{
    ListenExport::Auswahl a;
    for (int i = 0; i < formate_.size(); ++i)
        if (formate_[i]->isChecked())
            a.format = ListenExport::AlleFormate()[i];
    a.ziel = nurAnsicht_->isChecked() ? ListenExport::Ziel::Ansicht : ListenExport::Ziel::Datei;
    return a;
}

void TfrmListenExport::ZielPruefen()
{
    // The clipboard is a target of its own.
    const bool datei = !FormatKnopf(ListenExport::Format::Zwischenablage)->isChecked();
    inDatei_->setEnabled(datei);
    nurAnsicht_->setEnabled(datei);
}

std::optional<ListenExport::Auswahl> TfrmListenExport::Waehlen(QWidget* parent)
{
    TfrmListenExport dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.GewaehlteAuswahl();
}
