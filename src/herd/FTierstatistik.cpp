#include "FTierstatistik.h"

#include "Stammdaten.h"

#include <Shell.h>
#include <ProgrammFehler.h>

#include <QAbstractTableModel>
#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <stdexcept>

namespace {
const QColor Aqua(0, 255, 255);
const QColor Grau(0x80, 0x80, 0x80);
const QColor Weiss(255, 255, 255);
}  // namespace

// Positions of the grid; those beyond the last cell can be neither selected nor opened.
class TTierstatistikModell : public QAbstractTableModel {
public:
    TTierstatistikModell(const TTierstatistikZellen& zellen, QObject* parent)
        : QAbstractTableModel(parent), zellen_(zellen)
    {
    }

    void Setzen(TTierstatistikRaster raster)
    {
        beginResetModel();
        raster_ = raster;
        endResetModel();
    }
    // The cell at a position, -1 for an empty one.
    int Zelle(const QModelIndex& i) const
    {
        if (!i.isValid())
            return -1;
        const int n = i.column() + i.row() * raster_.spalten;
        return n < zellen_.Anzahl() ? n : -1;
    }
    QModelIndex Position(int zelle) const
    {
        return index(zelle / raster_.spalten, zelle % raster_.spalten);
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : raster_.zeilen;
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : raster_.spalten;
    }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    Qt::ItemFlags flags(const QModelIndex& i) const override
    {
        return Zelle(i) < 0 ? Qt::NoItemFlags : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

private:
    const TTierstatistikZellen& zellen_;
    TTierstatistikRaster raster_;
};

namespace {

// A cell: its picture and a frame one pixel inside, sunken for the selected cell and in the
// background colour for the others.
class TZellenZeichner : public QStyledItemDelegate {
public:
    TZellenZeichner(const TTierstatistikZellen& zellen, const TTierstatistikModell& modell,
                    QObject* parent)
        : QStyledItemDelegate(parent), zellen_(zellen), modell_(modell)
    {
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const int n = modell_.Zelle(index);
        if (n < 0)
            return;
        p->save();
        p->drawImage(option.rect.topLeft(), zellen_.Zelle(n).Bitmap);
        const QRect r = option.rect.adjusted(1, 1, -1, -1);
        const bool gewaehlt = option.state & QStyle::State_Selected;
        p->setPen(gewaehlt ? Grau : Aqua);
        p->drawLine(r.topLeft(), r.topRight());
        p->drawLine(r.topLeft(), r.bottomLeft());
        p->setPen(gewaehlt ? Weiss : Aqua);
        p->drawLine(r.bottomLeft(), r.bottomRight());
        p->drawLine(r.topRight(), r.bottomRight());
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {TTierstatistikZellen::Breite, TTierstatistikZellen::Hoehe};
    }

private:
    const TTierstatistikZellen& zellen_;
    const TTierstatistikModell& modell_;
};

}  // namespace

TTierstatistikGrid::TTierstatistikGrid(QWidget* parent) : QTableView(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(TTierstatistikZellen::Breite);
    verticalHeader()->setDefaultSectionSize(TTierstatistikZellen::Hoehe);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    QPalette p = palette();
    p.setColor(QPalette::Base, Aqua);
    setPalette(p);
}

void TTierstatistikGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit ZuTier();
        return;
    }
    QTableView::keyPressEvent(event);
}

TfrmTierstatistik::TfrmTierstatistik(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTierstatistik"));
    setWindowTitle(QStringLiteral("Tierstatistik"));
    setProperty("HelpContext", HilfeKontext);

    liste_ = new TTierstatistikGrid(this);
    liste_->setObjectName(QStringLiteral("Liste"));
    modell_ = new TTierstatistikModell(zellen_, this);
    modell_->Setzen(raster_);
    liste_->setModel(modell_);
    liste_->setItemDelegate(new TZellenZeichner(zellen_, *modell_, this));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(liste_);

    popup_ = new QMenu(this);
    zuTier_ = popup_->addAction(QStringLiteral("Zu Tier gehen"));
    zuTier_->setObjectName(QStringLiteral("ZuTiergehen1"));
    popup_->setDefaultAction(zuTier_);
    popup_->addSeparator();
    entfernen_ = popup_->addAction(QStringLiteral("Grafik entfernen"));
    entfernen_->setObjectName(QStringLiteral("Grafikentfernen1"));
    liste_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(liste_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { popup_->popup(liste_->viewport()->mapToGlobal(p)); });

    const auto zuTier = [this] { ProgrammFehler::Abfangen([this] { ZuTierGehen(); }); };
    connect(zuTier_, &QAction::triggered, this, zuTier);
    connect(liste_, &TTierstatistikGrid::ZuTier, this, zuTier);
    connect(liste_, &QAbstractItemView::doubleClicked, this, zuTier);
    connect(entfernen_, &QAction::triggered, this, &TfrmTierstatistik::GrafikEntfernen);
}

TfrmTierstatistik::~TfrmTierstatistik() = default;

int TfrmTierstatistik::BildschirmBreite() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : TTierstatistikZellen::Breite;
}

void TfrmTierstatistik::Anordnen(int auswahl)
{
    raster_ = TierstatistikRaster(zellen_.Anzahl(), BildschirmBreite());
    modell_->Setzen(raster_);
    if (auswahl >= 0)
        Auswaehlen(auswahl);
}

void TfrmTierstatistik::Auswaehlen(int zelle)
{
    const QModelIndex i = modell_->Position(zelle);
    liste_->setCurrentIndex(i);
    liste_->scrollTo(i);
}

void TfrmTierstatistik::NachVorn()
{
    if (auto* kind = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* mdi = kind->mdiArea())
            mdi->setActiveSubWindow(kind);
        kind->raise();
    } else {
        raise();
        activateWindow();
    }
}

QImage& TfrmTierstatistik::GrafikHinzufuegen(int tierID, std::uint8_t art)
{
    NachVorn();
    bool neu = false;
    const int n = zellen_.Hinzufuegen(tierID, art, neu);
    if (neu)
        Anordnen(n);
    else
        Auswaehlen(n);
    return zellen_.Zelle(n).Bitmap;
}

void TfrmTierstatistik::Neuzeichnen()
{
    liste_->viewport()->update();
}

int TfrmTierstatistik::Auswahl() const
{
    return modell_->Zelle(liste_->currentIndex());
}

void TfrmTierstatistik::ZuTierGehen()
{
    const int n = Auswahl();
    if (n < 0)
        return;
    const int tier = zellen_.Zelle(n).TierID;
    TfrmStammdaten karte(this);
    karte.TierAnzeigen(tier, 0, {});
    karte.exec();
}

void TfrmTierstatistik::GrafikEntfernen()
{
    const int n = Auswahl();
    if (n < 0)
        return;
    const int naechste = zellen_.Entfernen(n);
    if (naechste < 0) {
        if (auto* kind = qobject_cast<QMdiSubWindow*>(parentWidget()))
            kind->close();
        else
            close();
        return;
    }
    Anordnen(naechste);
}

void TfrmTierstatistik::Status()
{
    if (OnStatus)
        OnStatus(this);
}

bool TfrmTierstatistik::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        Status();
    return QWidget::event(e);
}

void TfrmTierstatistik::closeEvent(QCloseEvent* e)
{
    geschlossen_ = true;
    QWidget::closeEvent(e);
}

TfrmTierstatistik* TierstatistikFenster()
{
    TShell* shell = TShell::Aktuell();
    if (!shell)
        throw std::runtime_error("Das Fenster \"Tierstatistik\" gibt es nur im Hauptfenster.");
    const auto status = [shell](TfrmTierstatistik*) { shell->ZeigeHinweis(); };
    for (QMdiSubWindow* kind : shell->MdiArea()->subWindowList())
        if (auto* f = qobject_cast<TfrmTierstatistik*>(kind->widget()); f && !f->Geschlossen()) {
            f->OnStatus = status;
            f->NachVorn();
            f->Status();
            return f;
        }
    auto* f = new TfrmTierstatistik;
    f->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* kind = shell->MdiArea()->addSubWindow(f);
    kind->setAttribute(Qt::WA_DeleteOnClose);
    f->OnStatus = status;
    kind->showMaximized();
    f->Status();
    return f;
}
