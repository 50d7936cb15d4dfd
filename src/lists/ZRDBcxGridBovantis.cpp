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
        kopf->setSectionResizeMode(logisch, s.groesseVeraenderbar ? QHeaderView::Interactive
                                                                  : QHeaderView::Fixed);
        zeilen = std::max(zeilen, s.zeilen);
    }
    for (int c = 0; c < view_->DataModel()->columnCount(); ++c)
        view_->CellDelegate()->SetOnCustomDrawCell(
            c, [this](QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i, bool& done) {
                Zeichnen(p, o, i, done);
            });
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
                const QSize g = option.decorationSize.isValid() ? option.decorationSize : QSize(16, 16);
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
        // The style breaks lines only at the line separator.
        if (quellen_.count(feld))
            o.text = Anzeige(Text(feld, index.row())).replace(QLatin1Char('\n'), QChar::LineSeparator);
        o.displayAlignment = (s.ausrichtung == 'C'   ? Qt::AlignHCenter
                              : s.ausrichtung == 'R' ? Qt::AlignRight
                                                     : Qt::AlignLeft) |
                             Qt::AlignTop;
        o.features |= QStyleOptionViewItem::WrapText;
        stil->drawControl(QStyle::CE_ItemViewItem, &o, painter, view_);
        done = true;
        return;
    }
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
