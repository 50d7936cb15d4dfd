#include "ZRcxGridTableView.h"

#include "ZRStdGridPopupMenu.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <stdexcept>

namespace {

// The row indicator: a narrow bar in front of the rows that marks the current one and opens the
// layout popup.
class TZRcxGridIndicator : public QHeaderView {
public:
    explicit TZRcxGridIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setFixedWidth(12);
        setContextMenuPolicy(Qt::CustomContextMenu);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = rect;
        opt.section = logicalIndex;
        style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
        const auto* view = qobject_cast<const QAbstractItemView*>(parentWidget());
        if (view && view->currentIndex().isValid() && view->currentIndex().row() == logicalIndex) {
            const QPoint c = rect.center();
            const QPoint dreieck[3] = {
                {c.x() - 2, c.y() - 4}, {c.x() + 2, c.y()}, {c.x() - 2, c.y() + 4}};
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setBrush(palette().color(QPalette::WindowText));
            painter->setPen(Qt::NoPen);
            painter->drawPolygon(dreieck, 3);
            painter->restore();
        }
    }
};

// A cell that is nothing but a check box (an unbound Boolean column).
bool NurKaestchen(const QModelIndex& index)
{
    return (index.flags() & Qt::ItemIsUserCheckable) && index.data(Qt::CheckStateRole).isValid() &&
           !index.data(Qt::DisplayRole).isValid();
}

}  // namespace

TZRcxGridCellDelegate::TZRcxGridCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void TZRcxGridCellDelegate::SetOnCustomDrawCell(int column, CustomDraw handler)
{
    if (handler)
        handlers_.insert(column, std::move(handler));
    else
        handlers_.remove(column);
}

void TZRcxGridCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                            const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!focusRect_)
        option->state &= ~QStyle::State_HasFocus;
}

void TZRcxGridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    const auto it = handlers_.find(index.column());
    if (it != handlers_.end()) {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        bool done = false;
        (*it)(painter, opt, index, done);
        if (done)
            return;
    }
    if (NurKaestchen(index)) {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        QStyleOptionViewItem box = opt;
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        box.rect = CheckRect(box);
        box.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange |
                       QStyle::State_HasFocus);
        box.state |= box.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
}

QRect TZRcxGridCellDelegate::CheckRect(const QStyleOptionViewItem& option)
{
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QSize groesse(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget),
                        style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget));
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, groesse, option.rect);
}

bool TZRcxGridCellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                        const QStyleOptionViewItem& option,
                                        const QModelIndex& index)
{
    if (!NurKaestchen(index) || !(index.flags() & Qt::ItemIsEnabled))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    switch (event->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            // The press is left to the view, so that the row becomes current as with any click.
            const auto* maus = static_cast<QMouseEvent*>(event);
            if (maus->button() != Qt::LeftButton ||
                !CheckRect(option).contains(maus->position().toPoint()))
                return false;
            // The second click of a double click toggles on its release; the double click
            // itself neither toggles nor opens the record.
            if (event->type() == QEvent::MouseButtonDblClick)
                return true;
            break;
        }
        case QEvent::KeyPress: {
            const int taste = static_cast<QKeyEvent*>(event)->key();
            if (taste != Qt::Key_Space && taste != Qt::Key_Select)
                return false;
            break;
        }
        default:
            return false;
    }
    const bool an = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, an ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

TZRcxGridTableView::TZRcxGridTableView(QWidget* parent)
    : QTableView(parent), delegate_(new TZRcxGridCellDelegate(this))
{
    setItemDelegate(delegate_);
    setVerticalHeader(new TZRcxGridIndicator(this));
    connect(verticalHeader(), &QWidget::customContextMenuRequested, this,
            &TZRcxGridTableView::IndikatorMenue);
    SetKopf(horizontalHeader());
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

TZRcxGridTableView::~TZRcxGridTableView() = default;

void TZRcxGridTableView::SetKopf(QHeaderView* kopf)
{
    if (kopf != horizontalHeader())
        setHorizontalHeader(kopf);
    kopf->setSectionsMovable(true);
    kopf->setHighlightSections(false);
    connect(kopf, &QHeaderView::sectionMoved, this, &TZRcxGridTableView::SpalteVerschoben);
    connect(kopf, &QHeaderView::sectionResized, this, [this](int logical) {
        if (optionsView_.ColumnAutoWidth && !einpassen_)
            SpaltenEinpassen(logical);
        ZeilenhoehenPlanen();
    });
    OptionenAnwenden();
}

QString TZRcxGridTableView::StandardLeertext()
{
    return QStringLiteral("<Keine Daten vorhanden>");
}

void TZRcxGridTableView::SetOptionsView(const TZRcxGridTableOptionsView& options)
{
    optionsView_ = options;
    OptionenAnwenden();
}

void TZRcxGridTableView::SetOptionsBehavior(const TZRcxGridTableOptionsBehavior& options)
{
    optionsBehavior_ = options;
}

void TZRcxGridTableView::SetEmptyText(const QString& text)
{
    if (optionsView_.EmptyText == text)
        return;
    optionsView_.EmptyText = text;
    viewport()->update();
}

void TZRcxGridTableView::SetEnterToDblClick(bool on)
{
    optionsBehavior_.EnterToDblClick = on;
}

void TZRcxGridTableView::OptionenAnwenden()
{
    setWordWrap(optionsView_.CellAutoHeight);
    setTextElideMode(optionsView_.CellEndEllipsis ? Qt::ElideRight : Qt::ElideNone);
    horizontalHeader()->setTextElideMode(optionsView_.HeaderEndEllipsis ? Qt::ElideRight
                                                                        : Qt::ElideNone);
    delegate_->SetFocusRect(optionsView_.FocusRect);
    setShowGrid(optionsView_.GridLines != TcxGridLines::None);
    switch (optionsView_.GridLines) {
        case TcxGridLines::All:
        case TcxGridLines::None:
            setGridStyle(Qt::SolidLine);
            break;
        case TcxGridLines::Horz:
        case TcxGridLines::Vert:
            // Qt draws both directions or none; one direction alone shows as dotted lines.
            setGridStyle(Qt::DotLine);
            break;
    }
    verticalHeader()->setVisible(optionsView_.Indicator);
    setHorizontalScrollBarPolicy(optionsView_.ColumnAutoWidth ? Qt::ScrollBarAlwaysOff
                                                              : Qt::ScrollBarAsNeeded);
    if (optionsView_.ColumnAutoWidth)
        SpaltenEinpassen();
    ZeilenhoehenPlanen();
    viewport()->update();
}

void TZRcxGridTableView::setModel(QAbstractItemModel* m)
{
    for (const QMetaObject::Connection& c : std::as_const(modellVerbindungen_))
        disconnect(c);
    modellVerbindungen_.clear();
    QTableView::setModel(m);
    if (!m)
        return;
    const auto neuEinpassen = [this] {
        if (optionsView_.ColumnAutoWidth)
            SpaltenEinpassen();
        ZeilenhoehenPlanen();
    };
    modellVerbindungen_ = {
        connect(m, &QAbstractItemModel::modelReset, this, neuEinpassen),
        connect(m, &QAbstractItemModel::layoutChanged, this, neuEinpassen),
        connect(m, &QAbstractItemModel::rowsInserted, this,
                &TZRcxGridTableView::ZeilenhoehenPlanen),
        connect(m, &QAbstractItemModel::dataChanged, this, &TZRcxGridTableView::ZeilenhoehenPlanen),
        connect(m, &QAbstractItemModel::columnsInserted, this,
                [this] {
                    if (optionsView_.ColumnAutoWidth)
                        SpaltenEinpassen();
                }),
    };
    if (optionsView_.ColumnAutoWidth)
        SpaltenEinpassen();
    ZeilenhoehenPlanen();
}

void TZRcxGridTableView::SpaltenEinpassen(int festeSpalte)
{
    QHeaderView* h = horizontalHeader();
    const int verfuegbar = viewport()->width();
    if (einpassen_ || !model() || verfuegbar <= 0)
        return;
    QList<int> spalten;
    int summe = 0;
    for (int v = 0; v < h->count(); ++v) {
        const int l = h->logicalIndex(v);
        if (h->isSectionHidden(l) || l == festeSpalte)
            continue;
        spalten.append(l);
        summe += std::max(1, h->sectionSize(l));
    }
    int rest = verfuegbar - (festeSpalte >= 0 ? h->sectionSize(festeSpalte) : 0);
    if (spalten.isEmpty() || summe <= 0 || rest < int(spalten.size()) * 8)
        return;
    einpassen_ = true;
    int vergeben = 0;
    for (qsizetype i = 0; i < spalten.size(); ++i) {
        const int l = spalten[i];
        const int breite = i + 1 == spalten.size()
                               ? rest - vergeben
                               : int(qint64(std::max(1, h->sectionSize(l))) * rest / summe);
        h->resizeSection(l, std::max(8, breite));
        vergeben += std::max(8, breite);
    }
    einpassen_ = false;
}

void TZRcxGridTableView::SpaltenNachInhalt()
{
    QHeaderView* h = horizontalHeader();
    if (!model() || einpassen_)
        return;
    // Measured row by row: the view may not be shown yet, so its visible rows tell nothing.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int zeilen = std::min(model()->rowCount(rootIndex()), 1000);
    einpassen_ = true;
    for (int l = 0; l < h->count(); ++l) {
        if (h->isSectionHidden(l))
            continue;
        int breite = h->sectionSizeHint(l);
        for (int r = 0; r < zeilen; ++r) {
            const QModelIndex i = model()->index(r, l, rootIndex());
            breite = std::max(breite, itemDelegateForIndex(i)->sizeHint(option, i).width() + 1);
        }
        h->resizeSection(l, breite);
    }
    einpassen_ = false;
    // A view not shown yet has no width of its own; its first resize shares it out.
    if (optionsView_.ColumnAutoWidth && isVisible())
        SpaltenEinpassen();
}

void TZRcxGridTableView::ZeilenhoehenPlanen()
{
    if (hoehenGeplant_ || !optionsView_.CellAutoHeight)
        return;
    hoehenGeplant_ = true;
    QTimer::singleShot(0, this, &TZRcxGridTableView::ZeilenhoehenAnpassen);
}

void TZRcxGridTableView::ZeilenhoehenAnpassen()
{
    hoehenGeplant_ = false;
    if (!model() || !optionsView_.CellAutoHeight)
        return;
    // Only the rows in sight: measuring every row of a long list would read all of them.
    for (int runde = 0; runde < 2; ++runde) {
        const int erste = rowAt(0);
        if (erste < 0)
            return;
        int letzte = rowAt(viewport()->height() - 1);
        if (letzte < 0)
            letzte = model()->rowCount(rootIndex()) - 1;
        for (int r = erste; r <= letzte; ++r)
            resizeRowToContents(r);
    }
}

void TZRcxGridTableView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (optionsView_.ColumnAutoWidth)
        SpaltenEinpassen();
    ZeilenhoehenPlanen();
}

void TZRcxGridTableView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dy != 0)
        ZeilenhoehenPlanen();
}

QString TZRcxGridTableView::Leertext() const
{
    if (!model() || model()->rowCount(rootIndex()) > 0)
        return {};
    return optionsView_.EmptyText.trimmed().isEmpty() ? StandardLeertext() : optionsView_.EmptyText;
}

void TZRcxGridTableView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    const QString text = Leertext();
    if (text.isEmpty())
        return;
    QPainter p(viewport());
    p.setPen(palette().color(QPalette::Active, QPalette::Text));
    p.setFont(font());
    p.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void TZRcxGridTableView::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && optionsBehavior_.EnterToDblClick && currentIndex().isValid() &&
        state() != QAbstractItemView::EditingState) {
        event->accept();
        emit doubleClicked(currentIndex());
        return;
    }
    QTableView::keyPressEvent(event);
}

bool TZRcxGridTableView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && optionsBehavior_.CellHints) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid() && !index.data(Qt::ToolTipRole).isValid()) {
            const QString text = index.data(Qt::DisplayRole).toString();
            const QRect rect = visualRect(index);
            const int rand =
                2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
            if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) > rect.width() - rand)
                QToolTip::showText(help->globalPos(), text, viewport(), rect);
            else
                QToolTip::hideText();
            return true;
        }
    }
    return QTableView::viewportEvent(event);
}

void TZRcxGridTableView::SpalteVerschoben(int, int, int)
{
    if (optionsView_.ColumnAutoWidth)
        SpaltenEinpassen();
}

QString TZRcxGridTableView::LayoutName() const
{
    if (objectName().isEmpty())
        throw std::logic_error("Eine Tabellenansicht ohne Namen kann ihr Layout nicht speichern.");
    const QWidget* fenster = window();
    if (fenster && fenster != this && !fenster->objectName().isEmpty())
        return fenster->objectName() + QLatin1Char('.') + objectName();
    return objectName();
}

QString TZRcxGridTableView::SpaltenName(int section) const
{
    const QVariant feld = model()->headerData(section, Qt::Horizontal, Qt::UserRole);
    if (feld.isValid() && !feld.toString().isEmpty())
        return feld.toString();
    return model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
}

ZRcxGrid::Layout TZRcxGridTableView::AktuellesLayout() const
{
    ZRcxGrid::Layout layout;
    if (!model())
        return layout;
    const QHeaderView* h = horizontalHeader();
    for (int l = 0; l < h->count(); ++l)
        layout.append(
            {SpaltenName(l), h->visualIndex(l), h->sectionSize(l), !h->isSectionHidden(l)});
    return layout;
}

void TZRcxGridTableView::LayoutAnwenden(const ZRcxGrid::Layout& layout)
{
    if (!model())
        return;
    QHeaderView* h = horizontalHeader();
    QHash<QString, int> spalten;
    for (int l = 0; l < h->count(); ++l)
        spalten.insert(SpaltenName(l).toUpper(), l);
    ZRcxGrid::Layout sortiert = layout;
    std::stable_sort(sortiert.begin(), sortiert.end(),
                     [](const auto& a, const auto& b) { return a.position < b.position; });
    einpassen_ = true;
    for (const ZRcxGrid::SpaltenLayout& s : sortiert) {
        const auto it = spalten.constFind(s.name.toUpper());
        if (it == spalten.constEnd())
            continue;  // a column the design no longer has
        h->setSectionHidden(*it, !s.sichtbar);
        if (s.breite > 0)
            h->resizeSection(*it, s.breite);
        h->moveSection(h->visualIndex(*it), std::min(s.position, h->count() - 1));
    }
    einpassen_ = false;
    if (optionsView_.ColumnAutoWidth)
        SpaltenEinpassen();
    ZeilenhoehenPlanen();
}

void TZRcxGridTableView::SaveInternalLayout()
{
    if (!internesLayout_)
        internesLayout_ = AktuellesLayout();
}

void TZRcxGridTableView::RestoreInternalLayout()
{
    if (internesLayout_)
        LayoutAnwenden(*internesLayout_);
}

void TZRcxGridTableView::RestoreLayout()
{
    SaveInternalLayout();
    const ZRcxGrid::Layout gespeichert =
        ZRcxGrid::LayoutLesen(ZRcxGrid::ZRcxGridLayoutIniFile(), LayoutName());
    if (!gespeichert.isEmpty())
        LayoutAnwenden(gespeichert);
}

void TZRcxGridTableView::StoreLayout()
{
    ZRcxGrid::LayoutSchreiben(ZRcxGrid::ZRcxGridLayoutIniFile(), LayoutName(), AktuellesLayout());
}

void TZRcxGridTableView::IndikatorMenue(const QPoint& pos)
{
    auto* menue = new TZRStdGridPopupMenu(this);
    menue->setAttribute(Qt::WA_DeleteOnClose);
    menue->popup(verticalHeader()->mapToGlobal(pos));
}
