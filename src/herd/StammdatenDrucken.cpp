#include "StammdatenDrucken.h"

#include <DBTools.h>

#include <AMCbRb.h>
#include <Druckereinrichtung.h>
#include <Meldung.h>
#include <Vorschau.h>

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

TDruckAuswahl DruckAuswahlVorbelegen(int seite, bool hatKalbungen)
{
    TDruckAuswahl a;
    const auto frei = [&a](TTierDruck d, bool b) { a.frei[std::size_t(d)] = b; };
    frei(TTierDruck::Stammdaten, true);
    frei(TTierDruck::Tierarzt, true);
    frei(TTierDruck::MLPDaten, hatKalbungen);
    frei(TTierDruck::Laktationsgrafik, hatKalbungen);
    frei(TTierDruck::Besamungsindex, hatKalbungen);
    frei(TTierDruck::Zwischenkalbezeit, hatKalbungen);
    const auto waehlen = [&a](TTierDruck d) { a.gewaehlt[std::size_t(d)] = a.Frei(d); };
    switch (seite) {
        case 2:
            waehlen(TTierDruck::Tierarzt);
            break;
        case 3:
            waehlen(TTierDruck::MLPDaten);
            break;
        case 5:
            waehlen(TTierDruck::Laktationsgrafik);
            break;
        case 6:
            waehlen(TTierDruck::Besamungsindex);
            break;
        case 7:
            waehlen(TTierDruck::Zwischenkalbezeit);
            break;
        default:
            waehlen(TTierDruck::Stammdaten);
            break;
    }
    return a;
}

TfrmStammdatenDrucken::TfrmStammdatenDrucken(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmStammdatenDrucken"));
    setWindowTitle(QStringLiteral("Drucken"));
    setHelpContext(HilfeKontext);

    auto* gruppe = new QGroupBox(QStringLiteral("Auswahl"), this);
    auto* spalte = new QVBoxLayout(gruppe);
    const struct {
        const char* name;
        const char* text;
    } boxen[] = {{"Stammdaten", "Stammdaten-Blatt"},
                 {"Tierarzt", "Tierärztliche Behandl."},
                 {"MLPDaten", "MLP-Daten"},
                 {"Laktationsgrafik", "Laktationsgrafik"},
                 {"Besamungsindex", "Besamungsindex"},
                 {"Zwischenkalbezeit", "Zwischenkalbezeit"}};
    for (int i = 0; i < TierDruckAnzahl; ++i) {
        if (i == int(TTierDruck::Laktationsgrafik)) {
            auto* linie = new QFrame(gruppe);
            linie->setFrameShape(QFrame::HLine);
            linie->setFrameShadow(QFrame::Sunken);
            spalte->addWidget(linie);
        }
        auto* box = new TAMCheckBox(gruppe);
        box->setObjectName(QLatin1String(boxen[i].name));
        box->setText(QString::fromUtf8(boxen[i].text));
        spalte->addWidget(box);
        boxen_[std::size_t(i)] = box;
    }
    farbe_ = new TAMCheckBox(this);
    farbe_->setObjectName(QStringLiteral("Farbe"));
    farbe_->setText(QStringLiteral("Farbdruck"));

    drucken_ = new QPushButton(QStringLiteral("Drucken"), this);
    drucken_->setObjectName(QStringLiteral("Drucken"));
    drucken_->setDefault(true);
    einrichten_ = new QPushButton(QStringLiteral("Drucker\neinrichten"), this);
    einrichten_->setObjectName(QStringLiteral("Einrichten"));
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen_->setObjectName(QStringLiteral("Schliessen"));
    for (QPushButton* k : {drucken_, einrichten_, schliessen_})
        k->setMinimumWidth(96);
    einrichten_->setMinimumHeight(einrichten_->sizeHint().height());

    auto* links = new QVBoxLayout;
    links->addWidget(gruppe);
    links->addWidget(farbe_);
    links->addStretch(1);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(drucken_);
    knoepfe->addWidget(einrichten_);
    knoepfe->addWidget(schliessen_);
    knoepfe->addStretch(1);
    auto* haupt = new QHBoxLayout(this);
    haupt->addLayout(links, 1);
    haupt->addLayout(knoepfe);
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    connect(drucken_, &QPushButton::clicked, this, &QDialog::accept);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::reject);
    connect(einrichten_, &QPushButton::clicked, this, &TfrmStammdatenDrucken::EinrichtenClick);
}

void TfrmStammdatenDrucken::Setzen(const TDruckAuswahl& auswahl)
{
    for (std::size_t i = 0; i < boxen_.size(); ++i) {
        boxen_[i]->setEnabled(auswahl.frei[i]);
        boxen_[i]->setChecked(auswahl.gewaehlt[i]);
    }
    farbe_->setChecked(auswahl.farbig);
}

TDruckAuswahl TfrmStammdatenDrucken::Auswahl() const
{
    TDruckAuswahl a;
    for (std::size_t i = 0; i < boxen_.size(); ++i) {
        a.frei[i] = boxen_[i]->isEnabled();
        a.gewaehlt[i] = a.frei[i] && boxen_[i]->isChecked();
    }
    a.farbig = farbe_->isChecked();
    return a;
}

void TfrmStammdatenDrucken::EinrichtenClick()
{
    DBTools::Sicher([&] {
        QPrinterOutput drucker(SystemPrinter().printer());
        drucker.Setup(this);
    });
}
