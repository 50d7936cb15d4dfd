#include "DBComboBox.h"

#include "DBControlTools.h"

#include <QStylePainter>

TDBComboBox::TDBComboBox(QWidget* parent, bool freierText) : QComboBox(parent)
{
    setEditable(freierText);
    link_.OnActiveChange = [this] { Zeigen(); };
    link_.OnDataChange = [this] { Zeigen(); };
    connect(this, &QComboBox::activated, this, &TDBComboBox::Gewaehlt);
    connect(this, &QComboBox::editTextChanged, this, &TDBComboBox::TextGeaendert);
    // The first entry of an empty list becomes the current one, and an editable box takes its
    // text: that is no choice of the user's, and the field is shown again after it.
    connect(model(), &QAbstractItemModel::rowsAboutToBeInserted, this, [this] { zeigt_ = true; });
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] {
        zeigt_ = false;
        Zeigen();
    });
}

TDBComboBox::~TDBComboBox()
{
    link_.OnActiveChange = {};
    link_.OnDataChange = {};
}

void TDBComboBox::paintEvent(QPaintEvent*)
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

int TDBComboBox::Position(const db::Field& f) const
{
    const QString text = f.IsNull() ? QString() : f.AsString().trimmed();
    for (int i = 0; i < count(); ++i) {
        const QVariant wert = itemData(i);
        if (f.IsNull() ? !wert.isValid()
                       : wert.isValid() && (wert.typeId() == QMetaType::QString
                                                ? wert.toString().trimmed() == text
                                                : wert == f.AsVariant()))
            return i;
    }
    return -1;
}

void TDBComboBox::Zeigen()
{
    // Without a dataset the box is the form's; its own write must not be shown over.
    if (schreibt_ || !DataSource())
        return;
    const bool hatSatz = DBControlTools::HatSatz(link_);
    const db::Field* f = Field();
    zeigt_ = true;
    if (isEditable())
        setEditText(hatSatz && !f->IsNull() ? f->AsString().trimmed() : QString());
    else
        setCurrentIndex(hatSatz ? Position(*f) : -1);
    zeigt_ = false;
}

void TDBComboBox::Gewaehlt(int index)
{
    // An editable box hears of the chosen entry through its text.
    if (zeigt_ || !DataSource() || index < 0 || isEditable())
        return;
    const QVariant wert = itemData(index);
    const bool ok = DBControlTools::Schreiben(link_, schreibt_, [&](db::Field& f) {
        if (wert.isValid())
            f.SetValue(wert);
        else
            f.SetNull();
    });
    Zeigen();
    if (ok)
        emit Geschrieben();
}

void TDBComboBox::TextGeaendert(const QString& text)
{
    if (zeigt_ || !DataSource() || !isEditable())
        return;
    if (DBControlTools::Schreiben(
            link_, schreibt_, [&](db::Field& f) { DBControlTools::TextSetzen(f, text.trimmed()); }))
        emit Geschrieben();
    else
        Zeigen();
}
