#include "BullenFelder.h"

#include <Error.h>
#include <Meldung.h>

#include <ZRcxGridDBTableView.h>

#include <DataSetModel.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QStylePainter>

namespace {

// A value the field refuses is reported and leaves the field as it was.
template <class F>
void Schreiben(TFieldDataLink& link, F&& setzen)
{
    db::Field* f = link.GetField();
    if (!f || !link.Edit())
        return;
    try {
        setzen(*f);
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
    }
}

}  // namespace

TFeldMemo::TFeldMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    link_.OnActiveChange = [this] { DataChange(); };
    link_.OnDataChange = [this] { DataChange(); };
    link_.OnEditingChange = [this] { setReadOnly(!link_.CanModify()); };
    connect(this, &QPlainTextEdit::textChanged, this, &TFeldMemo::Geaendert);
}

TFeldMemo::~TFeldMemo()
{
    link_.OnActiveChange = {};
    link_.OnDataChange = {};
    link_.OnEditingChange = {};
}

void TFeldMemo::DataChange()
{
    if (schreibt_)
        return;
    const db::Field* f = link_.GetField();
    const QString text = f && link_.Active() ? f->AsString() : QString();
    setReadOnly(!link_.CanModify());
    if (text == toPlainText())
        return;
    zeigt_ = true;
    setPlainText(text);
    zeigt_ = false;
}

void TFeldMemo::Geaendert()
{
    if (zeigt_)
        return;
    const QString text = toPlainText();
    schreibt_ = true;
    Schreiben(link_, [&](db::Field& f) {
        if (text.isEmpty())
            f.SetNull();
        else
            f.SetString(text);
    });
    schreibt_ = false;
    setReadOnly(!link_.CanModify());
}

TFeldAuswahl::TFeldAuswahl(QWidget* parent, bool freierText) : QComboBox(parent)
{
    setEditable(freierText);
    link_.OnActiveChange = [this] { DataChange(); };
    link_.OnDataChange = [this] { DataChange(); };
    connect(this, &QComboBox::activated, this, &TFeldAuswahl::Gewaehlt);
    if (freierText)
        connect(lineEdit(), &QLineEdit::textEdited, this, &TFeldAuswahl::TextGeaendert);
}

TFeldAuswahl::~TFeldAuswahl()
{
    link_.OnActiveChange = {};
    link_.OnDataChange = {};
}

void TFeldAuswahl::paintEvent(QPaintEvent*)
{
    // The style marks a focused drop-down list only after a focus change by keyboard, and then
    // barely; reached by Enter or the mouse it must still show the focus as the edits do.
    QStylePainter p(this);
    p.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    if (hasFocus() && !isEditable()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 2, 2);
    }
    p.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

void TFeldAuswahl::DataChange()
{
    if (schreibt_)
        return;
    const db::Field* f = link_.GetField();
    zeigt_ = true;
    if (!f || !link_.Active() || f->IsNull()) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText({});
    } else if (isEditable()) {
        const QString text = f->AsString().trimmed();
        if (text != currentText().trimmed())
            setEditText(text);
    } else {
        setCurrentIndex(findData(f->AsVariant()));
    }
    zeigt_ = false;
}

void TFeldAuswahl::Gewaehlt(int index)
{
    if (zeigt_ || index < 0)
        return;
    const QVariant wert = isEditable() ? QVariant(itemText(index)) : itemData(index);
    Schreiben(link_, [&](db::Field& f) { f.SetValue(wert); });
    DataChange();
}

void TFeldAuswahl::TextGeaendert(const QString& text)
{
    if (zeigt_)
        return;
    schreibt_ = true;
    Schreiben(link_, [&](db::Field& f) {
        if (text.trimmed().isEmpty())
            f.SetNull();
        else
            f.SetString(text.trimmed());
    });
    schreibt_ = false;
}

QValidator::State TGrossschreibung::validate(QString& input, int&) const
{
    input = input.toUpper();
    return Acceptable;
}

void SpaltenFolge(TZRcxGridDBTableView& ansicht, const QStringList& felder)
{
    const auto anwenden = [&ansicht, felder] {
        db::DataSetModel* modell = ansicht.DataModel();
        if (modell->columnCount() == 0)
            return;
        QHeaderView* kopf = ansicht.horizontalHeader();
        int ziel = 0;
        for (const QString& feld : felder) {
            const int spalte = modell->ColumnOfField(feld);
            if (spalte >= 0)
                kopf->moveSection(kopf->visualIndex(spalte), ziel++);
        }
        ansicht.SpaltenNachInhalt();
        ansicht.RestoreLayout();
    };
    QObject::connect(ansicht.DataModel(), &QAbstractItemModel::modelReset, &ansicht, anwenden);
    anwenden();
}
