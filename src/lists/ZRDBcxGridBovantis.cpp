#include "ZRDBcxGridBovantis.h"

#include <DataSet.h>
#include <DataSetModel.h>
#include <Field.h>
#include <ZRcxGridDBTableView.h>

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextOption>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

bool Numerisch(db::FieldType t)
{
    switch (t) {
        case db::FieldType::SmallInt:
        case db::FieldType::Integer:
        case db::FieldType::BigInt:
        case db::FieldType::Numeric:
        case db::FieldType::Float:
        case db::FieldType::Double:
            return true;
        default:
            return false;
    }
}

QString Anzeige(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

TZRDBcxGridBovantis::TZRDBcxGridBovantis(QWidget* parent)
    : TZRDBcxGrid(parent), view_(CreateView<TZRcxGridDBTableView>(QStringLiteral("TableView")))
{
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(view_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { ZelleDoppelklick(index); });
}

db::DataSet* TZRDBcxGridBovantis::GetDatenmenge() const
{
    return view_->DataSet();
}

void TZRDBcxGridBovantis::SetDatenmenge(db::DataSet* daten)
{
    view_->SetDataSet(daten);
}

void TZRDBcxGridBovantis::ListeOeffnen(const std::vector<ListenSpalten::LayoutZeile>& layout)
{
    db::DataSet* d = GetDatenmenge();
    if (!d)
        throw std::runtime_error("Die Liste hat keine Datenmenge.");
    d->Close();
    ListenSpalten::Umgebung u;
    for (int i = 0; i < d->FieldCount(); ++i)
        if (!ListenSpalten::IstBerechneteSpalte(d->Fields(i).FieldName()))
            u.datenfelder << d->Fields(i).FieldName();
    // Layout widths are meant for 96 pixels per inch once the grid sits in a window.
    u.dpi = window() != this ? logicalDpiX() : 96;
    u.clientBreite = view_->viewport()->width();
    spalten_ = ListenSpalten::SpaltenAnlegen(layout, u);

    quellen_.clear();
    ueberschriftFeld_.clear();
    for (const ListenSpalten::Spalte& s : spalten_.spalten) {
        if (u.datenfelder.contains(s.datenfeld))
            continue;
        quellen_[s.datenfeld] = ListenSpalten::Quellen(s.datenfeld, spalten_.werte);
        if (!d->FindField(s.datenfeld))
            d->AddCalculatedField(s.datenfeld, db::FieldType::VarChar, 500);
    }
    for (int i = 0; i < d->FieldCount(); ++i)
        d->Fields(i).Visible = false;
    for (const ListenSpalten::Spalte& s : spalten_.spalten) {
        db::Field& f = d->FieldByName(s.datenfeld);
        if (s.art == ListenSpalten::Art::Ueberschrift) {
            ueberschriftFeld_ = s.datenfeld;
            continue;
        }
        f.Visible = true;
        // A status picture has no title; the field's name would show in its place.
        f.DisplayLabel = s.art == ListenSpalten::Art::StatusIcon && s.titel.isEmpty()
                             ? QStringLiteral(" ")
                             : Anzeige(s.titel);
    }
    for (const auto& [feld, format] : spalten_.displayFormate) {
        db::Field* f = d->FindField(feld);
        if (f && Numerisch(f->DataType()))
            f->DisplayFormat = format;
        if (OnDisplayFormat)
            OnDisplayFormat(this, feld, format);
    }
    d->Open();
    gesetzt_.clear();
    view_->DataModel()->Reset();

    TZRcxGridTableOptionsView optionen = view_->OptionsView();
    optionen.ColumnAutoWidth = spalten_.autoBreite;
    // Computed cells are drawn here, so their height comes from their lines.
    optionen.CellAutoHeight = false;
    view_->SetOptionsView(optionen);
    int zeilen = 1;
    QHeaderView* kopf = view_->horizontalHeader();
    int sichtbar = 0;
    for (const ListenSpalten::Spalte& s : spalten_.spalten) {
        if (s.art == ListenSpalten::Art::Ueberschrift)
            continue;
        const int logisch = view_->DataModel()->ColumnOfField(s.datenfeld);
        if (logisch < 0)
            continue;
        kopf->moveSection(kopf->visualIndex(logisch), sichtbar++);
        if (s.breite >= 0)
            view_->setColumnWidth(logisch, s.breite);
        kopf->setSectionResizeMode(
            logisch, s.groesseVeraenderbar ? QHeaderView::Interactive : QHeaderView::Fixed);
        zeilen = std::max(zeilen, s.zeilen);
    }
    for (int c = 0; c < view_->DataModel()->columnCount(); ++c)
        view_->CellDelegate()->SetOnCustomDrawCell(
            c, [this](QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i,
                      bool& done) { Zeichnen(p, o, i, done); });
    view_->verticalHeader()->setDefaultSectionSize(zeilen * view_->fontMetrics().lineSpacing() + 6);
}

QString TZRDBcxGridBovantis::Text(const QString& feld, int satz) const
{
    const auto q = quellen_.find(feld);
    if (q != quellen_.end())
        return Berechnet(feld, satz);
    db::DataSet* d = GetDatenmenge();
    db::Field* f = d->FindField(feld);
    if (!f)
        return {};
    return db::Field::Format(d->ValueAt(satz, f->Index()), f->DataType(), f->DisplayFormat);
}

QString TZRDBcxGridBovantis::Berechnet(const QString& feld, int satz) const
{
    db::DataSet* d = GetDatenmenge();
    return ListenSpalten::BerechneterText(
        quellen_.at(feld), satz + 1,
        [d, satz](const QString& name) -> std::optional<QString> {
            db::Field* f = d->FindField(name);
            if (!f || ListenSpalten::IstBerechneteSpalte(name))
                return std::nullopt;
            return db::Field::Format(d->ValueAt(satz, f->Index()), f->DataType(), f->DisplayFormat);
        },
        KurzeZeilen);
}

QString TZRDBcxGridBovantis::Anzeigetext(const QModelIndex& index) const
{
    const QString feld = FeldAnZeile(index);
    return feld.isEmpty() ? QString() : Anzeige(Text(feld, index.row()));
}

QString TZRDBcxGridBovantis::Ueberschrift(int satz) const
{
    if (ueberschriftFeld_.isEmpty())
        return {};
    return Text(ueberschriftFeld_, satz);
}

QString TZRDBcxGridBovantis::FeldAnZeile(const QModelIndex& index) const
{
    const int feld = view_->DataModel()->FieldIndex(index.column());
    return feld >= 0 ? GetDatenmenge()->Fields(feld).FieldName() : QString();
}

void TZRDBcxGridBovantis::Zeichnen(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index, bool& done) const
{
    QStyle* stil = view_->style();
    const QString kopf = Ueberschrift(index.row());
    if (!kopf.isEmpty()) {
        // One band across the visible columns: each cell draws its part of it.
        const QHeaderView* h = view_->horizontalHeader();
        const int links = h->sectionViewportPosition(h->logicalIndex(0));
        const int rechts = h->sectionViewportPosition(h->logicalIndex(h->count() - 1)) +
                           h->sectionSize(h->logicalIndex(h->count() - 1));
        const QRect band(links, option.rect.top(), rechts - links, option.rect.height());
        painter->save();
        painter->setClipRect(option.rect);
        QStyleOptionViewItem o = option;
        o.rect = band;
        o.text.clear();
        stil->drawControl(QStyle::CE_ItemViewItem, &o, painter, view_);
        QFont fett = option.font;
        fett.setBold(true);
        painter->setFont(fett);
        const QRect textRect = band.adjusted(3, 0, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          QFontMetrics(fett).elidedText(kopf, Qt::ElideRight, textRect.width()));
        painter->restore();
        done = true;
        return;
    }
    const QString feld = FeldAnZeile(index);
    for (const ListenSpalten::Spalte& s : spalten_.spalten) {
        if (s.datenfeld != feld)
            continue;
        if (s.art == ListenSpalten::Art::StatusIcon) {
            QStyleOptionViewItem o = option;
            o.text.clear();
            stil->drawControl(QStyle::CE_ItemViewItem, &o, painter, view_);
            bool zahl = false;
            const int bild = Text(feld, index.row()).toInt(&zahl);
            if (zahl && bild >= 0 && bild < StatusIcons.size()) {
                const QSize g =
                    option.decorationSize.isValid() ? option.decorationSize : QSize(16, 16);
                QRect r(QPoint(), g);
                r.moveCenter(option.rect.center());
                StatusIcons.at(bild).paint(painter, r);
            }
            done = true;
            return;
        }
        if (spalten_.terminmodus && feld == spalten_.erledigenFeld &&
            Text(feld, index.row()) == QLatin1String("T")) {
            QStyleOptionViewItem o = option;
            o.text.clear();
            stil->drawControl(QStyle::CE_ItemViewItem, &o, painter, view_);
            QStyleOptionButton box;
            box.rect = TZRcxGridCellDelegate::CheckRect(option);
            box.state = QStyle::State_Enabled | QStyle::State_On;
            stil->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, view_);
            done = true;
            return;
        }
        QStyleOptionViewItem o = option;
        // Lines break only at the line separator.
        if (quellen_.count(feld))
            o.text =
                Anzeige(Text(feld, index.row())).replace(QLatin1Char('\n'), QChar::LineSeparator);
        o.displayAlignment = (s.ausrichtung == 'C'   ? Qt::AlignHCenter
                              : s.ausrichtung == 'R' ? Qt::AlignRight
                                                     : Qt::AlignLeft) |
                             Qt::AlignTop;
        if (s.zeilen > 1)
            o.features |= QStyleOptionViewItem::WrapText;
        const QString text = o.text;
        o.text.clear();
        stil->drawControl(QStyle::CE_ItemViewItem, &o, painter, view_);
        if (!text.isEmpty())
            TextZeichnen(painter, o, text);
        done = true;
        return;
    }
}

const TZRDBcxGridBovantis::Gesetzt& TZRDBcxGridBovantis::Setzen(const QStyleOptionViewItem& o,
                                                                const QString& text,
                                                                const QRect& textRect) const
{
    SatzSchluessel schluessel{text,
                              o.font,
                              textRect.width(),
                              textRect.height(),
                              int(o.displayAlignment),
                              bool(o.features & QStyleOptionViewItem::WrapText),
                              int(o.direction),
                              int(o.textElideMode)};
    const auto it = gesetzt_.constFind(schluessel);
    if (it != gesetzt_.cend())
        return **it;
    // Each distinct text of a column is shaped once; a bound keeps a long scroll from hoarding.
    if (gesetzt_.size() >= 20000)
        gesetzt_.clear();
    QTextOption option;
    option.setWrapMode(schluessel.umbruch ? QTextOption::WordWrap : QTextOption::ManualWrap);
    option.setTextDirection(o.direction);
    option.setAlignment(QStyle::visualAlignment(o.direction, o.displayAlignment));
    const auto zeilenSetzen = [&](QTextLayout& layout) {
        layout.setTextOption(option);
        layout.beginLayout();
        qreal y = 0;
        for (QTextLine zeile = layout.createLine(); zeile.isValid(); zeile = layout.createLine()) {
            zeile.setLineWidth(textRect.width());
            zeile.setPosition(QPointF(0, y));
            y += zeile.height();
        }
        layout.endLayout();
    };
    auto satz = std::make_shared<Gesetzt>();
    satz->layout.setText(text);
    satz->layout.setFont(o.font);
    zeilenSetzen(satz->layout);
    // As the item views elide: a line wider than the cell, and the last line of which at least
    // half of the next one does not fit.
    QString sichtbar;
    bool gekuerzt = false;
    qreal hoehe = 0;
    const int zeilen = satz->layout.lineCount();
    for (int i = 0; i < zeilen; ++i) {
        const QTextLine zeile = satz->layout.lineAt(i);
        hoehe += zeile.height();
        const bool zuBreit = zeile.naturalTextWidth() > textRect.width();
        bool letzte = false;
        if (!zuBreit && i + 1 < zeilen)
            letzte = hoehe + satz->layout.lineAt(i + 1).height() / 2 > textRect.height();
        QString teil = text.mid(zeile.textStart(), zeile.textLength());
        if (zuBreit || letzte) {
            gekuerzt = true;
            if (letzte) {
                if (teil.endsWith(QChar::LineSeparator))
                    teil.chop(1);
                teil += QChar(0x2026);
            }
            sichtbar += QFontMetrics(o.font).elidedText(teil, o.textElideMode, textRect.width());
            if (i < zeilen - 1 && !sichtbar.endsWith(QChar::LineSeparator))
                sichtbar += QChar::LineSeparator;
        } else {
            sichtbar += teil;
        }
        if (hoehe >= textRect.height() - 1)
            break;
    }
    if (gekuerzt) {
        satz->layout.setText(sichtbar);
        zeilenSetzen(satz->layout);
    }
    return **gesetzt_.insert(std::move(schluessel), std::move(satz));
}

void TZRDBcxGridBovantis::TextZeichnen(QPainter* painter, const QStyleOptionViewItem& o,
                                       const QString& text) const
{
    // The item views' margins and colours, with the text set once per distinct text and cell size.
    const int rand = view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1;
    const QRect textRect = o.rect.adjusted(rand, 0, -rand, 0);
    if (textRect.width() <= 0 || textRect.height() <= 0)
        return;
    QPalette::ColorGroup gruppe =
        o.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (gruppe == QPalette::Normal && !(o.state & QStyle::State_Active))
        gruppe = QPalette::Inactive;
    painter->save();
    painter->setClipRect(o.rect, Qt::IntersectClip);
    painter->setPen(o.palette.color(
        gruppe, o.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    Setzen(o, text, textRect).layout.draw(painter, textRect.topLeft());
    painter->restore();
}

bool TZRDBcxGridBovantis::TierAnzeigen()
{
    db::DataSet* d = GetDatenmenge();
    if (!OnTierAnzeigen || spalten_.tierIdFeld.isEmpty() || !d || d->RecNo() < 0)
        return false;
    const db::Field* f = d->FindField(spalten_.tierIdFeld);
    if (!f || f->IsNull() || f->AsValue().AsInteger() <= 0)
        return false;
    OnTierAnzeigen(this, f->AsValue().AsInteger());
    return true;
}

bool TZRDBcxGridBovantis::TerminErledigenMoeglich() const
{
    db::DataSet* d = GetDatenmenge();
    if (!spalten_.terminmodus || !d || d->RecNo() < 0)
        return false;
    const db::Field* f = d->FindField(spalten_.erledigenFeld);
    return f && f->AsValue().AsString() == QLatin1String("T");
}

void TZRDBcxGridBovantis::TerminErledigen()
{
    db::DataSet* d = GetDatenmenge();
    if (!OnTerminErledigen || !d || !d->FindField(spalten_.terminIdFeld) ||
        !d->FindField(spalten_.terminFeld) || !TerminErledigenMoeglich())
        return;
    const db::Field* tier =
        spalten_.tierIdFeld.isEmpty() ? nullptr : d->FindField(spalten_.tierIdFeld);
    OnTerminErledigen(this, d->FieldByName(spalten_.terminIdFeld).AsValue().AsInteger(),
                      d->FieldByName(spalten_.terminFeld).AsValue().AsDate(),
                      tier && !tier->IsNull() ? tier->AsValue().AsInteger() : 0);
}

void TZRDBcxGridBovantis::ZelleDoppelklick(const QModelIndex& index)
{
    if (spalten_.terminmodus && FeldAnZeile(index) == spalten_.erledigenFeld &&
        TerminErledigenMoeglich())
        TerminErledigen();
    else
        TierAnzeigen();
}
