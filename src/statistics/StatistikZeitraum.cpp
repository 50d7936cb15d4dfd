#include "StatistikZeitraum.h"

#include <DBZRDateEdit.h>
#include <Meldung.h>

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace StatistikZeitraum {

QGroupBox* Gruppe(QWidget* parent, TDBZRDateEdit*& von, TDBZRDateEdit*& bis)
{
    auto* zeitraum = new QGroupBox(QStringLiteral("Berechnungszeitraum"), parent);
    von = new TDBZRDateEdit(zeitraum);
    von->setObjectName(QStringLiteral("von"));
    bis = new TDBZRDateEdit(zeitraum);
    bis->setObjectName(QStringLiteral("bis"));
    auto* vonText = new QLabel(QStringLiteral("von:"), zeitraum);
    vonText->setBuddy(von);
    auto* bisText = new QLabel(QStringLiteral("bis:"), zeitraum);
    bisText->setBuddy(bis);
    auto* raster = new QGridLayout(zeitraum);
    raster->addWidget(vonText, 0, 0);
    raster->addWidget(von, 0, 1);
    raster->addWidget(bisText, 1, 0);
    raster->addWidget(bis, 1, 1);
    return zeitraum;
}

bool Gueltig(TDBZRDateEdit* von, TDBZRDateEdit* bis)
{
    if (!von->Date().isValid()) {
        Tools::MeldungInfo(QStringLiteral("Geben Sie ein gültiges 'Von'-Datum ein"));
        von->setFocus();
        return false;
    }
    if (!bis->Date().isValid()) {
        Tools::MeldungInfo(QStringLiteral("Geben Sie ein gültiges 'Bis'-Datum ein"));
        bis->setFocus();
        return false;
    }
    return true;
}

}  // namespace StatistikZeitraum
