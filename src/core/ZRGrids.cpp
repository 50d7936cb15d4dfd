#include "ZRGrids.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTimer>

namespace {

QChar Dezimaltrenner()
{
    return QLocale().decimalPoint().at(0);
}

}  // namespace

TPopupListbox::TPopupListbox(TZRGridInplaceEdit* editor) : QListWidget(editor), editor_(editor)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::Box);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    hide();
}

void TPopupListbox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (editor_->DroppedDown())
        editor_->CloseUp(rect().contains(event->position().toPoint()));
}

TZRGridInplaceEdit::TZRGridInplaceEdit(TZRCustomGrid* grid, QWidget* parent)
    : QLineEdit(parent),
      grid_(grid),
      knopfBreite_(style()->pixelMetric(QStyle::PM_ScrollBarExtent)),
      bereich_(ZRGridRegeln::StandardBereich(Dezimaltrenner()))
{
    setFrame(false);
    setMouseTracking(true);
    grid_->EditorGeschaffen(this);
}

TZRGridInplaceEdit::~TZRGridInplaceEdit()
{
    grid_->EditorWeg(this);
}

void TZRGridInplaceEdit::SetEditStyle(ZRGridRegeln::EditStyle stil)
{
    if (stil == ZRGridRegeln::Auswahlliste) {
        if (!eigeneListe_)
            eigeneListe_ = new TPopupListbox(this);
        aktiveListe_ = eigeneListe_;
    } else {
        if (droppedDown_)
            CloseUp(false);
        aktiveListe_ = nullptr;
    }
    setReadOnly(grid_->GetEditorReadOnly());
    if (stil != editStyle_) {
        editStyle_ = stil;
        setTextMargins(0, 0, stil == ZRGridRegeln::KeinKnopf ? 0 : knopfBreite_, 0);
        update();
    }
}

void TZRGridInplaceEdit::NeuSchreiben()
{
    if (zahlenmodus_)
        SetWert(GetWert());
}

void TZRGridInplaceEdit::SetDigits(int d)
{
    ZRGridRegeln::DigitsSetzen(bereich_, d);
    NeuSchreiben();
}

void TZRGridInplaceEdit::SetMin(long double m)
{
    ZRGridRegeln::MinSetzen(bereich_, m);
    NeuSchreiben();
}

void TZRGridInplaceEdit::SetMax(long double m)
{
    ZRGridRegeln::MaxSetzen(bereich_, m);
    NeuSchreiben();
}

long double TZRGridInplaceEdit::GetWert() const
{
    return ZRGridRegeln::Wert(text(), bereich_);
}

void TZRGridInplaceEdit::SetWert(long double x)
{
    const QString t = ZRGridRegeln::WertText(x, bereich_);
    if (t != text())
        setText(t);
}

void TZRGridInplaceEdit::Betreten()
{
    eingangswert_ = GetWert();
    deselect();
}

bool TZRGridInplaceEdit::VerlassenPruefen()
{
    if (!zahlenmodus_)
        return true;
    // One refused attempt to leave (a click both moves the focus and presses on a cell) stays
    // refused until the user types again, although the text was put back to a valid one.
    if (abgewiesen_)
        return false;
    const ZRGridRegeln::Verlassen v =
        ZRGridRegeln::VerlassenPruefen(text(), eingangswert_, bereich_);
    if (v.text != text())
        setText(v.text);
    if (!v.erlaubt) {
        selectAll();
        abgewiesen_ = true;
        return false;
    }
    return true;
}

void TZRGridInplaceEdit::DropDown()
{
    if (droppedDown_ || !aktiveListe_)
        return;
    TPopupListbox& liste = *aktiveListe_;
    liste.clear();
    liste.setFont(font());
    liste.setPalette(palette());
    int zeilen = 10;
    GetDropDownRows(liste, zeilen);
    if (grid_->OnPicklistDropdown) {
        QStringList eintraege;
        for (int i = 0; i < liste.count(); ++i)
            eintraege << liste.item(i)->text();
        grid_->OnPicklistDropdown(this, grid_->Col(), grid_->Row(), eintraege);
        liste.clear();
        liste.addItems(eintraege);
    }
    const int zeilenHoehe = grid_->verticalHeader()->defaultSectionSize();
    for (int i = 0; i < liste.count(); ++i)
        liste.item(i)->setSizeHint(QSize(0, zeilenHoehe));
    int breite = width();
    const QFontMetrics fm(liste.font());
    for (int i = 0; i < liste.count(); ++i)
        breite = std::max(breite, fm.horizontalAdvance(liste.item(i)->text()) + 10 + 4);
    const int hoehe = ZRGridRegeln::ListenHoehe(liste.count(), zeilen, zeilenHoehe);
    liste.setVerticalScrollBarPolicy(liste.count() > zeilen ? Qt::ScrollBarAlwaysOn
                                                            : Qt::ScrollBarAlwaysOff);
    if (liste.count() > zeilen)
        breite += liste.verticalScrollBar()->sizeHint().width();
    liste.resize(breite, hoehe);
    liste.setCurrentRow(-1);
    int markiert = -1;
    for (int i = 0; i < liste.count(); ++i)
        if (liste.item(i)->text() == text()) {
            markiert = i;
            break;
        }
    if (markiert >= 0)
        liste.setCurrentRow(markiert);
    const QRect editor(mapToGlobal(QPoint(0, 0)), size());
    const QScreen* bildschirm = screen();
    const QRect flaeche = bildschirm ? bildschirm->geometry() : QRect(0, 0, 1024, 768);
    liste.move(ZRGridRegeln::ListenPosition(editor, hoehe, flaeche));
    liste.show();
    liste.verticalScrollBar()->setValue(
        ZRGridRegeln::ErsteSichtbareZeile(markiert, liste.count(), zeilen));
    droppedDown_ = true;
    setFocus();
    update();
}

void TZRGridInplaceEdit::CloseUp(bool accept)
{
    if (!droppedDown_ || !aktiveListe_)
        return;
    const QListWidgetItem* gewaehlt = aktiveListe_->currentItem();
    const QString wahl = gewaehlt ? gewaehlt->text() : QString();
    aktiveListe_->hide();
    droppedDown_ = false;
    tracking_ = false;
    knopfGedrueckt_ = false;
    update();
    if (accept && !wahl.isEmpty() && grid_->CanEdit(grid_->Col(), grid_->Row()) && wahl != text()) {
        setText(wahl);
        ListeGewaehlt(wahl);
    }
}

bool TZRGridInplaceEdit::SondertastenBehandeln(QKeyEvent* event)
{
    abgewiesen_ = false;
    const bool alt = event->modifiers() & Qt::AltModifier;
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (editStyle_ == ZRGridRegeln::Ellipse && alt && enter) {
        if (grid_->OnElippsisclicked)
            grid_->OnElippsisclicked(grid_, grid_->Col(), grid_->Row());
        return true;
    }
    if (editStyle_ != ZRGridRegeln::Auswahlliste)
        return false;
    if (!alt && (enter || key == Qt::Key_Escape) && droppedDown_) {
        CloseUp(enter);
        return true;
    }
    if (alt && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        if (droppedDown_)
            CloseUp(true);
        else
            DropDown();
        return true;
    }
    if (droppedDown_ && aktiveListe_) {
        QKeyEvent kopie(event->type(), key, event->modifiers(), event->text());
        QApplication::sendEvent(aktiveListe_, &kopie);
        return true;
    }
    return false;
}

void TZRGridInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (!zahlenmodus_ || isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        // Characters a read-only cell refuses must not reach the grid's keyboard search.
        if (!event->text().isEmpty() && event->text().at(0).isPrint())
            event->accept();
        return;
    }
    const QString zeichen = event->text();
    if (zeichen.size() != 1 || zeichen.at(0).unicode() < 32 ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLen = hasSelectedText() ? int(selectedText().size()) : 0;
    const FloatEditRegeln::Taste t =
        FloatEditRegeln::Zeichen(text(), selStart, selLen, zeichen.at(0), bereich_);
    switch (t.art) {
        case FloatEditRegeln::Taste::Annehmen:
            QLineEdit::keyPressEvent(event);
            break;
        case FloatEditRegeln::Taste::Ersetzen:
            setText(t.text);
            setSelection(t.selStart, t.selLen);
            event->accept();
            break;
        case FloatEditRegeln::Taste::Ablehnen:
            event->accept();
            break;
    }
}

QRect TZRGridInplaceEdit::KnopfRechteck() const
{
    return QRect(width() - knopfBreite_, 0, knopfBreite_, height());
}

bool TZRGridInplaceEdit::AufKnopf(const QPoint& p) const
{
    return editStyle_ != ZRGridRegeln::KeinKnopf && KnopfRechteck().contains(p);
}

void TZRGridInplaceEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && AufKnopf(event->position().toPoint())) {
        if (droppedDown_) {
            CloseUp(false);
        } else {
            tracking_ = true;
            knopfGedrueckt_ = true;
            update();
            if (editStyle_ == ZRGridRegeln::Auswahlliste)
                DropDown();
        }
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TZRGridInplaceEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (tracking_) {
        const bool drauf = AufKnopf(event->position().toPoint());
        if (drauf != knopfGedrueckt_) {
            knopfGedrueckt_ = drauf;
            update();
        }
        return;
    }
    setCursor(AufKnopf(event->position().toPoint()) ? Qt::ArrowCursor : Qt::IBeamCursor);
    QLineEdit::mouseMoveEvent(event);
}

void TZRGridInplaceEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (tracking_) {
        const bool gedrueckt = knopfGedrueckt_;
        tracking_ = false;
        knopfGedrueckt_ = false;
        update();
        if (editStyle_ == ZRGridRegeln::Ellipse && gedrueckt &&
            AufKnopf(event->position().toPoint()) && grid_->OnElippsisclicked)
            grid_->OnElippsisclicked(grid_, grid_->Col(), grid_->Row());
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TZRGridInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (AufKnopf(event->position().toPoint()))
        return;
    QLineEdit::mouseDoubleClickEvent(event);
}

void TZRGridInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    CloseUp(false);
    QLineEdit::focusOutEvent(event);
}

void TZRGridInplaceEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (editStyle_ == ZRGridRegeln::KeinKnopf)
        return;
    QPainter p(this);
    QStyleOptionButton knopf;
    knopf.initFrom(this);
    knopf.rect = KnopfRechteck();
    knopf.state |= knopfGedrueckt_ || droppedDown_ ? QStyle::State_Sunken : QStyle::State_Raised;
    if (editStyle_ == ZRGridRegeln::Auswahlliste && !aktiveListe_)
        knopf.state &= ~QStyle::State_Enabled;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &knopf, &p, this);
    if (editStyle_ == ZRGridRegeln::Ellipse) {
        knopf.text = QStringLiteral("…");
        style()->drawControl(QStyle::CE_PushButtonLabel, &knopf, &p, this);
    } else {
        QStyleOption pfeil = knopf;
        const int m = knopf.rect.width() / 4;
        pfeil.rect = knopf.rect.adjusted(m, m, -m, -m);
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &pfeil, &p, this);
    }
}

ZRGridDelegate::ZRGridDelegate(TZRCustomGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* ZRGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex&) const
{
    return grid_->CreateEditor(parent);
}

void ZRGridDelegate::setEditorData(QWidget* editor, const QModelIndex&) const
{
    auto* e = static_cast<TZRGridInplaceEdit*>(editor);
    e->InhaltAktualisieren();
    e->Betreten();
}

void ZRGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                  const QModelIndex& index) const
{
    auto* e = static_cast<TZRGridInplaceEdit*>(editor);
    // Leaving a cell unchanged stores and reports nothing.
    if (e->isReadOnly() || !grid_->CanEdit(index.column(), index.row() + 1) ||
        e->text() == index.data().toString())
        return;
    grid_->SetEditText(index.column(), index.row() + 1, e->text());
}

void ZRGridDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // Captions are not selectable but read as normal text.
    option->state |= QStyle::State_Enabled;
}

bool ZRGridDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* e = qobject_cast<TZRGridInplaceEdit*>(object);
    if (!e)
        return QStyledItemDelegate::eventFilter(object, event);
    if (event->type() == QEvent::KeyPress) {
        auto* taste = static_cast<QKeyEvent*>(event);
        if (e->SondertastenBehandeln(taste))
            return true;
        if (grid_->OnKeyPress && grid_->OnKeyPress(grid_, taste))
            return true;
        const int key = taste->key();
        const bool verlassen = key == Qt::Key_Tab || key == Qt::Key_Backtab ||
                               key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up ||
                               key == Qt::Key_Down || key == Qt::Key_PageUp ||
                               key == Qt::Key_PageDown;
        if (verlassen && !e->VerlassenPruefen())
            return true;
    } else if (event->type() == QEvent::FocusOut) {
        QWidget* neu = QApplication::focusWidget();
        if (neu && (neu == e->Liste() || neu == e))
            return false;
        if (!e->VerlassenPruefen()) {
            QTimer::singleShot(0, e, [e] { e->setFocus(); });
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

TZRCustomGrid::TZRCustomGrid(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new ZRGridDelegate(this));
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // The grid opens the editor itself: it is always shown on the current cell.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(17);
    verticalHeader()->setMinimumSectionSize(1);
    setTabKeyNavigation(true);
}

TZRCustomGrid::~TZRCustomGrid()
{
    // The editors are children of the viewport, which QWidget's destructor deletes after this
    // object has stopped being a grid; they go now, while their calls back into it are sound,
    // and without the delegate committing their text on the way out.
    editorImmer_ = false;
    for (TZRGridInplaceEdit* e : viewport()->findChildren<TZRGridInplaceEdit*>()) {
        e->removeEventFilter(itemDelegate());
        delete e;
    }
}

void TZRCustomGrid::EditorWeg(TZRGridInplaceEdit* e)
{
    if (editor_ == e)
        editor_ = nullptr;
}

void TZRCustomGrid::BeginUpdate()
{
    updatesErlaubt_ = false;
    editorImmer_ = false;
}

void TZRCustomGrid::EndUpdate(bool force)
{
    updatesErlaubt_ = true;
    editorImmer_ = true;
    if (force || aenderungOffen_)
        UpdateGrid();
    else
        EditorZeigen();
}

int TZRCustomGrid::Col() const
{
    return currentIndex().isValid() ? currentIndex().column() : 0;
}

int TZRCustomGrid::Row() const
{
    return currentIndex().isValid() ? currentIndex().row() + 1 : 1;
}

void TZRCustomGrid::SetCell(int col, int row)
{
    if (model())
        setCurrentIndex(model()->index(row - 1, col));
}

void TZRCustomGrid::SetDroppedDown(bool offen)
{
    if (!editor_)
        return;
    if (offen)
        editor_->DropDown();
    else
        editor_->CloseUp(true);
}

void TZRCustomGrid::NachNeuaufbau(int col)
{
    aenderungOffen_ = false;
    if (model() && model()->rowCount() > 0) {
        const int zeile = std::clamp(currentIndex().isValid() ? currentIndex().row() : 0, 0,
                                     model()->rowCount() - 1);
        const QModelIndex ziel = model()->index(zeile, std::min(col, model()->columnCount() - 1));
        if (ziel != currentIndex())
            setCurrentIndex(ziel);
    }
    if (editor_)
        editor_->InhaltAktualisieren();
    else
        EditorZeigen();
    viewport()->update();
    emit Neuaufgebaut();
}

void TZRCustomGrid::EditorZeigen()
{
    if (zeigenGeplant_)
        return;
    zeigenGeplant_ = true;
    QTimer::singleShot(0, this, [this] {
        zeigenGeplant_ = false;
        const QModelIndex i = currentIndex();
        if (editorImmer_ && isEnabled() && i.isValid() && state() != EditingState &&
            (model()->flags(i) & Qt::ItemIsEditable) && edit(i, AllEditTriggers, nullptr) &&
            editor_)
            editor_->deselect();
    });
}

void TZRCustomGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    EditorZeigen();
}

void TZRCustomGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == editor_)
        editor_ = nullptr;
    QTableView::closeEditor(editor, hint);
    EditorZeigen();
}

void TZRCustomGrid::reset()
{
    editor_ = nullptr;
    QTableView::reset();
}

void TZRCustomGrid::mousePressEvent(QMouseEvent* event)
{
    if (editor_ && !editor_->VerlassenPruefen()) {
        editor_->setFocus();
        return;
    }
    QTableView::mousePressEvent(event);
}
