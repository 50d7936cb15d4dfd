#include "GrundeinstellungenSeite.h"

#include <Meldung.h>
#include <ZRPropGrid.h>

#include <AMCbRb.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

TZahlEdit::TZahlEdit(QWidget* parent) : QLineEdit(parent)
{
    bereich_.allowNull = false;
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TZahlEdit::SetDigits(int digits)
{
    const std::optional<long double> wert = Value();
    bereich_.digits = std::clamp(digits, 0, FloatEditRegeln::MaxDigits);
    SetValue(wert);
}

void TZahlEdit::SetMin(long double min)
{
    bereich_.min = std::min(min, bereich_.max);
}

void TZahlEdit::SetMax(long double max)
{
    bereich_.max = std::max(max, bereich_.min);
}

FloatEditRegeln::Lesung TZahlEdit::Lesen() const
{
    return FloatEditRegeln::Lesen(text(), bereich_);
}

std::optional<long double> TZahlEdit::Value() const
{
    FloatEditRegeln::Bereich offen = bereich_;
    offen.min = -std::numeric_limits<long double>::max();
    offen.max = std::numeric_limits<long double>::max();
    offen.allowNull = true;
    const FloatEditRegeln::Lesung l = FloatEditRegeln::Lesen(text(), offen);
    if (l.art != FloatEditRegeln::Lesung::Zahl)
        return std::nullopt;
    return l.wert;
}

void TZahlEdit::SetValue(std::optional<long double> value)
{
    setText(value ? FloatEditRegeln::ZahlText(*value, bereich_.digits, bereich_.sep) : QString());
}

void TZahlEdit::keyPressEvent(QKeyEvent* event)
{
    const QString zeichen = event->text();
    if (zeichen.isEmpty() || !zeichen.at(0).isPrint() ||
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    using Taste = FloatEditRegeln::Taste;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int laenge = hasSelectedText() ? int(selectedText().size()) : 0;
    const Taste t = FloatEditRegeln::Zeichen(text(), start, laenge, zeichen.at(0), bereich_);
    event->accept();
    if (t.art == Taste::Ablehnen) {
        QApplication::beep();
        return;
    }
    if (t.art == Taste::Ersetzen) {
        setText(t.text);
        setSelection(t.selStart, t.selLen);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

TGrundeinstellungenSeite::TGrundeinstellungenSeite(TGrundKat kategorie,
                                                   TGrundeinstellungenDaten& daten)
    : kategorie_(kategorie), daten_(daten)
{
}

bool TGrundeinstellungenSeite::Pruefen()
{
    return ZahlenPruefen();
}

TZahlEdit* TGrundeinstellungenSeite::Zahl(const QString& name, const QString& feldname, int digits,
                                          long double min, long double max)
{
    auto* edit = new TZahlEdit(this);
    edit->setObjectName(name);
    edit->SetDigits(digits);
    edit->SetMax(max);
    edit->SetMin(min);
    edit->setMaximumWidth(110);
    zahlen_.push_back({edit, feldname});
    return edit;
}

bool TGrundeinstellungenSeite::ZahlenPruefen()
{
    for (const ZahlFeld& z : zahlen_) {
        FloatEditRegeln::Bereich b;
        b.digits = z.edit->Digits();
        b.min = z.edit->Min();
        b.max = z.edit->Max();
        b.allowNull = false;
        const FloatEditRegeln::Lesung l = FloatEditRegeln::Lesen(z.edit->text(), b);
        if (l.art == FloatEditRegeln::Lesung::Zahl)
            continue;
        Zeigen();
        Tools::MeldungError(
            QStringLiteral("%1:\r%2").arg(z.name, FloatEditRegeln::Fehlertext(l, b)));
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

int TGrundeinstellungenSeite::Zahlwert(const TZahlEdit* edit)
{
    return int(edit->Value().value_or(0));
}
