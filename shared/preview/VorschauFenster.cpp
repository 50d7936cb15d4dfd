#include "VorschauFenster.h"

#include "Seitenspeicher.h"
#include "Tools.h"
#include "Vorschau.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 6> kZoomStufen{200, 150, 100, 75, 50, 25};
constexpr int kSeitenbreite = 6;

// Hourglass while a page renders; restored also when the replay fails.
class Sanduhr {
public:
    Sanduhr() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sanduhr() { QApplication::restoreOverrideCursor(); }
    Sanduhr(const Sanduhr&) = delete;
    Sanduhr& operator=(const Sanduhr&) = delete;
};

QToolButton* knopf(QWidget* parent, QAction* action, Qt::ToolButtonStyle stil)
{
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(stil);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

TPaintPanel::TPaintPanel(TfmPreview& form, QScrollBar& horizontal, QScrollBar& vertical,
                         QWidget* parent)
    : QWidget(parent),
      form_(form),
      horzBar_(horizontal),
      vertBar_(vertical),
      bild_(10, 10, QImage::Format_RGB888)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    bild_.fill(Qt::white);
}

void TPaintPanel::balkenSetzen(QScrollBar& bar, const ScrollAchse& achse)
{
    const QSignalBlocker block(bar);
    bar.setRange(0, achse.Limit());
    bar.setPageStep(std::max(1, achse.PageSize));
    bar.setSingleStep(kPfeilSchritt);
    bar.setValue(achse.Position);
    bar.setEnabled(achse.Enabled);
}

void TPaintPanel::UpdateScrollBars()
{
    const long double s = form_.Preview().Scale() / 100.0L;
    TPaper& paper = form_.Paper();
    if (horz_.Enabled)
        horz_.Position = horzBar_.value();
    if (vert_.Enabled)
        vert_.Position = vertBar_.value();
    AchseAnpassen(horz_, double(paper.Width() * s), width());
    AchseAnpassen(vert_, double(paper.Height() * s), height());
    balkenSetzen(horzBar_, horz_);
    balkenSetzen(vertBar_, vert_);
    update();
}

void TPaintPanel::UpdateScroll()
{
    bool geaendert = false;
    for (auto [achse, bar] : {std::pair{&horz_, &horzBar_}, std::pair{&vert_, &vertBar_}}) {
        if (!achse->Enabled)
            continue;
        achse->Position = std::min(bar->value(), achse->Limit());
        const int offset = -achse->Position;
        if (offset != achse->Offset) {
            achse->Offset = offset;
            geaendert = true;
        }
    }
    if (geaendert)
        update();
}

void TPaintPanel::Taste(int key)
{
    TPreview& preview = form_.Preview();
    const Blickpunkt jetzt{preview.CurrentPage(), horzBar_.value(), vertBar_.value()};
    const Blickpunkt neu =
        TasteAnwenden(key, jetzt, horz_.Enabled ? horz_.Limit() : 0,
                      vert_.Enabled ? vert_.Limit() : 0, preview.MinPage(), preview.MaxPage());
    if (neu.Seite != jetzt.Seite)
        preview.SetCurrentPage(std::int16_t(neu.Seite));
    if (horz_.Enabled)
        horzBar_.setValue(neu.X);
    if (vert_.Enabled)
        vertBar_.setValue(neu.Y);
    UpdateScroll();
}

void TPaintPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor grund = palette().color(QPalette::Window);
    const QRect seite(Offset(), bild_.size());
    const QRect r = rect();
    painter.drawImage(seite.topLeft(), bild_);
    painter.fillRect(QRect(0, 0, std::max(0, seite.left()), r.height()), grund);
    painter.fillRect(
        QRect(seite.right() + 1, 0, std::max(0, r.width() - seite.right() - 1), r.height()), grund);
    painter.fillRect(QRect(0, 0, r.width(), std::max(0, seite.top())), grund);
    painter.fillRect(
        QRect(0, seite.bottom() + 1, r.width(), std::max(0, r.height() - seite.bottom() - 1)),
        grund);
}

void TPaintPanel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            Taste(event->key());
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void TPaintPanel::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0) {
        const int key = delta < 0 ? Qt::Key_Down : Qt::Key_Up;
        Taste(key);
        Taste(key);
    }
    event->accept();
}

bool TPaintPanel::ueberSeite(const QPoint& p) const
{
    return QRect(Offset(), bild_.size()).contains(p);
}

void TPaintPanel::mousePressEvent(QMouseEvent* event)
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    ziehen_ = true;
    zugStart_ = event->position().toPoint();
    zugX_ = horzBar_.value();
    zugY_ = vertBar_.value();
}

void TPaintPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!ueberSeite(p) || (!horz_.Enabled && !vert_.Enabled)) {
        ziehen_ = false;
        unsetCursor();
        return;
    }
    setCursor(ziehen_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    if (!ziehen_)
        return;
    if (horz_.Enabled)
        horzBar_.setValue(std::clamp(zugX_ + zugStart_.x() - p.x(), 0, horz_.Limit()));
    if (vert_.Enabled)
        vertBar_.setValue(std::clamp(zugY_ + zugStart_.y() - p.y(), 0, vert_.Limit()));
    UpdateScroll();
}

void TPaintPanel::mouseReleaseEvent(QMouseEvent*)
{
    ziehen_ = false;
    if (cursor().shape() == Qt::ClosedHandCursor)
        setCursor(Qt::OpenHandCursor);
}

void TPaintPanel::resizeEvent(QResizeEvent*)
{
    UpdateScrollBars();
}

TfmPreview::TfmPreview(TPreview& preview) : preview_(preview)
{
    setWindowTitle(QStringLiteral("Vorschau"));
    resize(558, 392);
    setSizeGripEnabled(false);

    auto* haupt = new QVBoxLayout(this);
    haupt->setContentsMargins(0, 0, 0, 0);
    haupt->setSpacing(0);

    auto* leiste = new QWidget(this);
    leiste->setObjectName(QStringLiteral("Werkzeugleiste"));
    auto* reihe = new QHBoxLayout(leiste);
    reihe->setContentsMargins(4, 2, 4, 2);
    reihe->setSpacing(4);
    reihe->addWidget(new QLabel(QStringLiteral("Zoom:"), leiste));
    zoom_ = new QComboBox(leiste);
    zoom_->setObjectName(QStringLiteral("Zoom"));
    zoom_->addItems({QStringLiteral("200%"), QStringLiteral("150%"), QStringLiteral("100%"),
                     QStringLiteral("75%"), QStringLiteral("50%"), QStringLiteral("25%"),
                     QStringLiteral("Seitenbreite"), QStringLiteral("Seitenhöhe"),
                     QStringLiteral("Einpassen")});
    zoom_->setMaxVisibleItems(10);
    zoom_->setFocusPolicy(Qt::ClickFocus);
    reihe->addWidget(zoom_);
    reihe->addSpacing(8);

    auto aktion = [this](QStyle::StandardPixmap icon, const QString& hint, Qt::Key key) {
        auto* action = new QAction(style()->standardIcon(icon), hint, this);
        action->setToolTip(hint);
        if (key != Qt::Key_unknown) {
            action->setShortcut(QKeySequence(key));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        addAction(action);
        return action;
    };
    actErste_ = aktion(QStyle::SP_MediaSkipBackward, QStringLiteral("Erste"), Qt::Key_F5);
    actVorherige_ = aktion(QStyle::SP_MediaSeekBackward, QStringLiteral("Vorherige"), Qt::Key_F6);
    actNaechste_ = aktion(QStyle::SP_MediaSeekForward, QStringLiteral("Nächste"), Qt::Key_F7);
    actLetzte_ = aktion(QStyle::SP_MediaSkipForward, QStringLiteral("Letzte"), Qt::Key_F8);
    actDruckEinrichten_ = aktion(QStyle::SP_FileDialogDetailedView,
                                 QStringLiteral("Druck einrichten"), Qt::Key_unknown);
    actDrucken_ = new QAction(QIcon::fromTheme(QStringLiteral("document-print"),
                                               style()->standardIcon(QStyle::SP_DialogSaveButton)),
                              QStringLiteral("Drucken"), this);
    actDrucken_->setToolTip(QStringLiteral("Drucken"));
    addAction(actDrucken_);

    reihe->addWidget(knopf(leiste, actErste_, Qt::ToolButtonIconOnly));
    reihe->addWidget(knopf(leiste, actVorherige_, Qt::ToolButtonIconOnly));
    seiten_ = new QLabel(QStringLiteral("Seite: ---"), leiste);
    seiten_->setObjectName(QStringLiteral("Seiten"));
    seiten_->setAlignment(Qt::AlignCenter);
    seiten_->setMinimumWidth(
        seiten_->fontMetrics().horizontalAdvance(QStringLiteral("Seite 8888 / 8888")) + 12);
    reihe->addWidget(seiten_);
    reihe->addWidget(knopf(leiste, actNaechste_, Qt::ToolButtonIconOnly));
    reihe->addWidget(knopf(leiste, actLetzte_, Qt::ToolButtonIconOnly));
    reihe->addSpacing(12);
    reihe->addWidget(knopf(leiste, actDruckEinrichten_, Qt::ToolButtonTextBesideIcon));
    reihe->addWidget(knopf(leiste, actDrucken_, Qt::ToolButtonTextBesideIcon));
    reihe->addSpacing(12);
    schliessen_ = new QPushButton(QStringLiteral("Schliessen"), leiste);
    schliessen_->setToolTip(QStringLiteral("Vorschau beenden"));
    schliessen_->setAutoDefault(false);
    schliessen_->setFocusPolicy(Qt::NoFocus);
    reihe->addWidget(schliessen_);
    reihe->addStretch(1);
    fortschritt_ = new QProgressBar(leiste);
    fortschritt_->setRange(0, 100);
    fortschritt_->setTextVisible(false);
    fortschritt_->setMaximumWidth(160);
    fortschritt_->setVisible(false);
    reihe->addWidget(fortschritt_);
    haupt->addWidget(leiste);

    auto* flaeche = new QWidget(this);
    auto* raster = new QGridLayout(flaeche);
    raster->setContentsMargins(0, 0, 0, 0);
    raster->setSpacing(0);
    horzBar_ = new QScrollBar(Qt::Horizontal, flaeche);
    vertBar_ = new QScrollBar(Qt::Vertical, flaeche);
    horzBar_->setFocusPolicy(Qt::NoFocus);
    vertBar_->setFocusPolicy(Qt::NoFocus);
    panel_ = new TPaintPanel(*this, *horzBar_, *vertBar_, flaeche);
    panel_->setObjectName(QStringLiteral("PaintPanel"));
    raster->addWidget(panel_, 0, 0);
    raster->addWidget(vertBar_, 0, 1);
    raster->addWidget(horzBar_, 1, 0);
    haupt->addWidget(flaeche, 1);

    connect(horzBar_, &QScrollBar::valueChanged, panel_, &TPaintPanel::UpdateScroll);
    connect(vertBar_, &QScrollBar::valueChanged, panel_, &TPaintPanel::UpdateScroll);
    connect(zoom_, &QComboBox::activated, this, &TfmPreview::zoomChange);
    connect(actErste_, &QAction::triggered, this,
            [this] { preview_.SetCurrentPage(preview_.MinPage()); });
    connect(actVorherige_, &QAction::triggered, this, [this] {
        if (preview_.CurrentPage() > preview_.MinPage())
            preview_.SetCurrentPage(std::int16_t(preview_.CurrentPage() - 1));
    });
    connect(actNaechste_, &QAction::triggered, this, [this] {
        if (preview_.CurrentPage() < preview_.MaxPage())
            preview_.SetCurrentPage(std::int16_t(preview_.CurrentPage() + 1));
    });
    connect(actLetzte_, &QAction::triggered, this,
            [this] { preview_.SetCurrentPage(preview_.MaxPage()); });
    connect(actDruckEinrichten_, &QAction::triggered, this, &TfmPreview::einrichtenClick);
    connect(actDrucken_, &QAction::triggered, this, &TfmPreview::druckenClick);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::reject);
    aktionenAktualisieren();
}

TfmPreview::~TfmPreview() = default;

TPaper& TfmPreview::Paper()
{
    return preview_.Paper();
}

QRect TfmPreview::PaintRect() const
{
    return panel_->rect();
}

void TfmPreview::Zuruecksetzen()
{
    erstesMal_ = true;
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TfmPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!erstesMal_)
        return;
    erstesMal_ = false;
    // After the window manager has given the maximised size, so that the page width fits it.
    QTimer::singleShot(0, this, &TfmPreview::erstesAktivieren);
}

void TfmPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // A fit shown in the zoom box stays true when the window changes size (maximising included).
    if (!erstesMal_ && preview_.PreviewVisible() && zoom_->currentIndex() >= kSeitenbreite)
        zoomChange(zoom_->currentIndex());
}

void TfmPreview::erstesAktivieren()
{
    try {
        layout()->activate();
        if (preview_.OnPrint)
            preview_.OnPrint(this);
        horzBar_->setValue(0);
        vertBar_->setValue(0);
        preview_.OnChangeScale = [this](TPreview&) { Rescale(); };
        preview_.OnChangePage = [this](TPreview&) { UpdatePage(); };
        Paper().OnDrawObject = [this](std::uint16_t, std::int32_t index) { drawItems(index); };
        actDruckEinrichten_->setEnabled(bool(preview_.OnShowSetting));
        Paper().Update();
        const int vorher = preview_.Scale();
        preview_.FitPage(TFitScale::fitPageWidth);
        zoom_->setCurrentIndex(kSeitenbreite);
        if (preview_.Scale() == vorher)
            Rescale();
        panel_->setFocus(Qt::OtherFocusReason);
    } catch (const std::exception& e) {
        fehler(e);
    }
}

void TfmPreview::Rescale()
{
    panel_->UpdateScrollBars();
    const long double s = preview_.Scale() / 100.0L;
    const int w = int(Tools::Round(Paper().Width() * s)) + 2;
    const int h = int(Tools::Round(Paper().Height() * s)) + 2;
    panel_->Bild() = QImage(w, h, QImage::Format_RGB32);
    UpdatePage();
}

void TfmPreview::aktionenAktualisieren()
{
    const bool zurueck = preview_.CurrentPage() > preview_.MinPage();
    const bool vor = preview_.CurrentPage() < preview_.MaxPage();
    actErste_->setEnabled(zurueck);
    actVorherige_->setEnabled(zurueck);
    actNaechste_->setEnabled(vor);
    actLetzte_->setEnabled(vor);
}

void TfmPreview::drawShadows(QPainter& painter)
{
    const QImage& bild = panel_->Bild();
    const int w = bild.width();
    const int h = bild.height();
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(0, 0, w - 1, h - 1);
    painter.fillRect(QRect(w - 2, 0, 2, h), Qt::black);
    painter.fillRect(QRect(0, h - 2, w, 2), Qt::black);
}

void TfmPreview::drawIdentions(QPainter& painter)
{
    TPaper& paper = Paper();
    const TIndentions& rand = paper.Indentions();
    if (!rand.Visible)
        return;
    long double sx = 0;
    long double sy = 0;
    paper.GetScale(false, sx, sy);
    const long double s = preview_.Scale() / 100.0L;
    const long double fx = paper.Zoom() * sx * paper.CurrUnits() * s;
    const long double fy = paper.Zoom() * sy * paper.CurrUnits() * s;
    const long double breite = paper.PrinterSetup().PaperWidth_MM() / paper.CurrUnits();
    const long double hoehe = paper.PrinterSetup().PaperHeight_MM() / paper.CurrUnits();
    const QPoint links(int(Tools::Round(rand.Left * fx)), int(Tools::Round(rand.Top * fy)));
    const QPoint rechts(int(Tools::Round((breite - rand.Right) * fx)),
                        int(Tools::Round((hoehe - rand.Bottom) * fy)));
    QPen pen(QColor(0xC0, 0xC0, 0xC0), 1, Qt::DashDotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(links, rechts));
}

void TfmPreview::UpdatePage()
{
    Sanduhr sanduhr;
    seiten_->setText(
        QStringLiteral("Seite %1 / %2").arg(preview_.CurrentPage()).arg(preview_.MaxPage()));
    aktionenAktualisieren();
    QImage& bild = panel_->Bild();
    {
        QPainter painter(&bild);
        painter.setRenderHint(QPainter::Antialiasing, false);
        drawShadows(painter);
        drawIdentions(painter);
        itemsAufSeite_ = Paper().GetItemsCountOnPage(preview_.CurrentPage());
        fortschritt_->setMaximum(std::max(1, itemsAufSeite_));
        fortschritt_->setValue(0);
        fortschritt_->setVisible(true);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        try {
            Paper().DrawToCanvas(painter, preview_.Scale(), preview_.CurrentPage(), false);
        } catch (const std::exception& e) {
            WriteToLog(QStringLiteral("Unit <PreviewForm>: %1").arg(QString::fromUtf8(e.what())));
        }
    }
    fortschritt_->reset();
    fortschritt_->setVisible(false);
    panel_->update();
}

void TfmPreview::drawItems(std::int32_t index)
{
    fortschritt_->setValue(index);
    if (index + 1 >= itemsAufSeite_)
        fortschritt_->reset();
}

void TfmPreview::zoomChange(int index)
{
    try {
        if (index >= 0 && index < int(kZoomStufen.size())) {
            preview_.SetScale(kZoomStufen[std::size_t(index)]);
            return;
        }
        switch (index) {
            case kSeitenbreite:
                preview_.FitPage(TFitScale::fitPageWidth);
                break;
            case kSeitenbreite + 1:
                preview_.FitPage(TFitScale::fitPageHeight);
                break;
            case kSeitenbreite + 2:
                preview_.FitPage(TFitScale::fitWholePage);
                break;
            default:
                break;
        }
    } catch (const std::exception& e) {
        fehler(e);
    }
}

void TfmPreview::einrichtenClick()
{
    try {
        bool changed = true;
        if (preview_.OnShowSetting)
            preview_.OnShowSetting(this, changed);
        if (changed && preview_.OnPrint) {
            preview_.OnPrint(this);
            Paper().Update();
            Rescale();
        }
    } catch (const std::exception& e) {
        fehler(e);
    }
}

void TfmPreview::druckenClick()
{
    try {
        preview_.PrintSet();
    } catch (const std::exception& e) {
        fehler(e);
    }
}

void TfmPreview::fehler(const std::exception& e)
{
    const QString text = QString::fromUtf8(e.what());
    WriteToLog(QStringLiteral("Unit <PreviewForm>: %1").arg(text));
    QMessageBox::critical(this, windowTitle(), text);
}

void TfmPreview::done(int result)
{
    // A maximised page at high zoom holds many megabytes; the closed window does not need them.
    panel_->Bild() = QImage(10, 10, QImage::Format_RGB888);
    QDialog::done(result);
}
