#include "GrundeinstellungenSeite.h"

#include <Meldung.h>
#include <ZRPropGrid.h>

#include <AMCbRb.h>

#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TGrundeinstellungenSeite::TGrundeinstellungenSeite(TGrundKat kategorie,
                                                   TGrundeinstellungenDaten& daten)
    : kategorie_(kategorie), daten_(daten)
{
}

bool TGrundeinstellungenSeite::Pruefen()
{
    return ZahlenPruefen();
}

TDBFloatEdit* TGrundeinstellungenSeite::Zahl(const QString& name, const QString& feldname,
                                             int digits, long double min, long double max)
{
    auto* edit = new TDBFloatEdit(this);
    edit->setObjectName(name);
    edit->SetDigits(digits);
    edit->SetMax(max);
    edit->SetMin(min);
    edit->SetAllowNull(false);
    edit->setMaximumWidth(110);
    zahlen_.push_back({edit, feldname});
    return edit;
}

bool TGrundeinstellungenSeite::ZahlenPruefen()
{
    for (const ZahlFeld& z : zahlen_) {
        const QString fehler = z.edit->Fehlertext();
        if (fehler.isEmpty())
            continue;
        Zeigen();
        Tools::MeldungError(QStringLiteral("%1:\r%2").arg(z.name, fehler));
        z.edit->setFocus();
        z.edit->selectAll();
        return false;
    }
    return true;
}

QPushButton* TGrundeinstellungenSeite::Knopf(const QString& text, const QString& name,
                                             const QString& hinweis)
{
    auto* k = new QPushButton(text, this);
    k->setObjectName(name);
    if (!hinweis.isEmpty())
        k->setToolTip(hinweis);
    return k;
}

QCheckBox* TGrundeinstellungenSeite::Schalter(const QString& text, const QString& name)
{
    auto* c = new TAMCheckBox(this);
    c->setText(text);
    c->setObjectName(name);
    return c;
}

QLineEdit* TGrundeinstellungenSeite::Text(const QString& name)
{
    auto* t = new QLineEdit(this);
    t->setObjectName(name);
    return t;
}

QComboBox* TGrundeinstellungenSeite::Auswahl(const QString& name, const QStringList& eintraege)
{
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->addItems(eintraege);
    return c;
}

QLabel* TGrundeinstellungenSeite::Beschriftung(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent ? parent : this);
    l->setWordWrap(false);
    return l;
}

TZRPropGrid* TGrundeinstellungenSeite::NeuesGitter(QVBoxLayout* ort, TZRPropGrid* altes,
                                                   const QString& name, const QString& titel,
                                                   const QString& werte)
{
    auto* gitter = new TZRPropGrid;
    gitter->setObjectName(name);
    gitter->SetTitleValues(titel);
    gitter->SetTitleData(werte);
    if (altes) {
        // The layout hands back the old grid's item, which is the caller's.
        delete ort->replaceWidget(altes, gitter);
        altes->setObjectName(QString());
        altes->hide();
        altes->deleteLater();
    } else {
        ort->addWidget(gitter, 1);
    }
    return gitter;
}

int TGrundeinstellungenSeite::Zahlwert(const TDBFloatEdit* edit)
{
    return int(edit->Value().value_or(0));
}
