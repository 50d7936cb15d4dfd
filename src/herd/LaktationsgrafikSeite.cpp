#include "LaktationsgrafikSeite.h"

#include <AMCbRb.h>
#include <DBIndexImage.h>
#include <DBTools.h>
#include <Shell.h>
#include <ZRcxGridDBTableView.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

// How long the hint of a mark stays, so that a long treatment text can be read.
constexpr int SymbolHinweisDauer = 30000;

const std::array<const char*, lmAnzahl> BoxTexte{"Menge",     "Fett",    "Eiweiß", "Zellzahl",
                                                 "Harnstoff", "Laktose", "TM"};

QPixmap SymbolBild(const QColor& farbe, const std::function<void(QPainter&)>& malen)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter m(&p);
    m.setRenderHint(QPainter::Antialiasing);
    m.setPen(QPen(Qt::black, 1));
    m.setBrush(farbe);
    malen(m);
    return p;
}

}  // namespace

QList<QPixmap> TLaktationsgrafikSeite::SymbolBilder()
{
    // Insemination: a blue drop; treatment: a red cross; dry-off: a yellow "T".
    const QPixmap besamung = SymbolBild(QColor(0x1f, 0x4e, 0xc8), [](QPainter& m) {
        QPainterPath tropfen;
        tropfen.moveTo(8, 1);
        tropfen.cubicTo(12, 6, 14, 9, 14, 11);
        tropfen.arcTo(2, 5, 12, 10, 0, -180);
        tropfen.cubicTo(2, 9, 4, 6, 8, 1);
        m.drawPath(tropfen);
    });
    const QPixmap behandlung = SymbolBild(QColor(0xd0, 0x10, 0x10), [](QPainter& m) {
        m.drawPolygon(QPolygon({QPoint(5, 1), QPoint(10, 1), QPoint(10, 5), QPoint(14, 5),
                                QPoint(14, 10), QPoint(10, 10), QPoint(10, 14), QPoint(5, 14),
                                QPoint(5, 10), QPoint(1, 10), QPoint(1, 5), QPoint(5, 5)}));
    });
    const QPixmap trocken = SymbolBild(QColor(0xf0, 0xc8, 0x20), [](QPainter& m) {
        m.drawRect(1, 1, 13, 13);
        QFont f = m.font();
        f.setBold(true);
        f.setPixelSize(11);
        m.setFont(f);
        m.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("T"));
    });
    return {besamung, behandlung, trocken};
}

QPixmap TLaktationsgrafikSeite::LegendenBild(int messgroesse, bool grau)
{
    QPixmap p(28, 14);
    p.fill(ColorRefToQColor(0xEAEA00));
    QPainter m(&p);
    m.setRenderHint(QPainter::Antialiasing);
    m.translate(0.5, 0.5);
    TMyGDICanvas c(m);
    const TColor farbe = grau ? 0x808080 : LaktInfo(messgroesse).farbe;
    c.SetzePen(farbe, 2, psSolid);
    c.Line(2, 7, 25, 7);
    LaktSymbolMalen(c, LaktInfo(messgroesse).symbol, 14, 7, 4, farbe);
    c.SetzePen(0x808080, 1, psSolid);
    c.Rectangle(0, 0, 28, 14);
    return p;
}

TLaktationsgrafikSeite::TLaktationsgrafikSeite(db::Transaction& transaktion, QWidget* parent)
    : QWidget(parent), leistungen_(transaktion)
{
    setObjectName(QStringLiteral("LaktationsgrafikSeite"));
    leistungen_.SetSelectSQL(QStringLiteral("SELECT * FROM P_GET_MLP_TIER_LAKT_LEI(:TIER_ID)"));
    const std::pair<const char*, const char*> spalten[] = {
        {"LAK", "Lak."},          {"KALBUNG", "Kalbung"},     {"TROCKEN", "Trocken"},
        {"TAGE", "Tage"},         {"LMILCH", "Milch"},        {"LFETT", "Fett (kg)"},
        {"LFETTPRO", "Fett (%)"}, {"LEIWEIS", "Eiweis (kg)"}, {"LEIWEISPRO", "Eiweis (%)"}};
    for (const auto& [name, text] : spalten)
        leistungen_.FieldByName(QString::fromLatin1(name)).DisplayLabel = QString::fromUtf8(text);
    leistungen_.FieldByName(QStringLiteral("KALBUNG")).DisplayFormat = QStringLiteral("dd.mm.yyyy");
    leistungen_.FieldByName(QStringLiteral("TROCKEN")).DisplayFormat = QStringLiteral("dd.mm.yyyy");
    for (const char* f : {"LFETT", "LFETTPRO", "LEIWEIS", "LEIWEISPRO"})
        leistungen_.FieldByName(QString::fromLatin1(f)).DisplayFormat = QStringLiteral("0.00");

    laktation_ = new QComboBox(this);
    laktation_->setObjectName(QStringLiteral("cbLaktation"));
    laktation_->setMinimumWidth(90);
    kurven_ = new QToolButton(this);
    kurven_->setObjectName(QStringLiteral("btnLaktationskurven"));
    kurven_->setText(QStringLiteral("Laktationskurven"));
    kurven_->setToolTip(QStringLiteral("Laktationskurven (Strg-K)"));
    balken_ = new QToolButton(this);
    balken_->setObjectName(QStringLiteral("btnLaktationsleistungen"));
    balken_->setText(QStringLiteral("Laktationsleistungen"));
    balken_->setToolTip(QStringLiteral("Laktationsleistungen (Strg-L)"));
    auto* modus = new QButtonGroup(this);
    for (QToolButton* k : {kurven_, balken_}) {
        k->setCheckable(true);
        k->setToolButtonStyle(Qt::ToolButtonTextOnly);
        modus->addButton(k);
    }
    kurven_->setChecked(true);

    // The choice and the modes on one line, the measures on the next: both fit the card.
    auto* oben = new QHBoxLayout;
    oben->addWidget(laktation_);
    oben->addWidget(kurven_);
    oben->addWidget(balken_);
    oben->addStretch(1);
    auto* messgroessen = new QHBoxLayout;
    for (int m = 0; m < lmAnzahl; ++m) {
        marken_[m] = new QLabel(this);
        marken_[m]->setObjectName(QStringLiteral("imgLegende%1").arg(m));
        marken_[m]->setPixmap(LegendenBild(m, false));
        boxen_[m] = new TAMCheckBox(this);
        boxen_[m]->setObjectName(QStringLiteral("cb%1").arg(QString::fromUtf8(LaktInfo(m).spalte)));
        boxen_[m]->setText(QString::fromUtf8(BoxTexte[m]));
        boxen_[m]->setChecked(true);
        messgroessen->addWidget(marken_[m]);
        messgroessen->addWidget(boxen_[m]);
        messgroessen->addSpacing(8);
    }
    messgroessen->addStretch(1);
    status_ = new TDBIndexImage(this);
    status_->setObjectName(QStringLiteral("imgStatus"));
    status_->setToolTip(QStringLiteral("aktueller Status"));
    status_->setFixedSize(32, 32);
    oben->addWidget(status_);

    // The marks are placed over the picture in its own parent.
    auto* flaeche = new QWidget(this);
    flaeche->setObjectName(QStringLiteral("pnlLaktationsgrafik"));
    bild_ = new QLabel(flaeche);
    bild_->setObjectName(QStringLiteral("imgLaktationsgrafik"));
    bild_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    bild_->setMinimumSize(300, 200);
    auto* flaecheLayout = new QVBoxLayout(flaeche);
    flaecheLayout->setContentsMargins(0, 0, 0, 0);
    flaecheLayout->addWidget(bild_);
    bild_->installEventFilter(this);

    auto* gruppe = new QGroupBox(QStringLiteral("Laktationsleistungen"), this);
    gruppe->setObjectName(QStringLiteral("gbLaktationsleistungen"));
    ansicht_ = new TZRcxGridDBTableView(gruppe);
    ansicht_->setObjectName(QStringLiteral("ViewLaktationsleistungen"));
    TZRcxGridTableOptionsView o = ansicht_->OptionsView();
    o.GridLines = TcxGridLines::All;
    ansicht_->SetOptionsView(o);
    ansicht_->setSelectionBehavior(QAbstractItemView::SelectRows);
    ansicht_->setSelectionMode(QAbstractItemView::SingleSelection);
    ansicht_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ansicht_->SetDataSet(&leistungen_);
    ansicht_->setMinimumHeight(110);
    ansicht_->setMaximumHeight(150);
    (new QVBoxLayout(gruppe))->addWidget(ansicht_);

    auto* haupt = new QVBoxLayout(this);
    haupt->setContentsMargins(0, 0, 0, 0);
    haupt->addLayout(oben);
    haupt->addLayout(messgroessen);
    haupt->addWidget(flaeche, 1);
    haupt->addWidget(gruppe);

    grafik_ =
        TLaktationsgrafikTier::CreateBildschirm(bild_, &transaktion, SymbolBilder(), &leistungen_);

    const auto neuZeichnen = [this] {
        DBTools::Sicher([this] { LaktationsgrafikZeichnen(false); });
    };
    connect(laktation_, &QComboBox::activated, this, neuZeichnen);
    connect(kurven_, &QToolButton::clicked, this, neuZeichnen);
    connect(balken_, &QToolButton::clicked, this, neuZeichnen);
    for (TAMCheckBox* b : boxen_)
        connect(b, &QCheckBox::clicked, this, neuZeichnen);
    // Shortcuts of a hidden page do not fire: they work while the card shows this page.
    const auto kuerzel = [this, neuZeichnen](const QKeySequence& taste, QToolButton* knopf) {
        auto* s = new QShortcut(taste, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [knopf, neuZeichnen] {
            knopf->setChecked(true);
            neuZeichnen();
        });
    };
    kuerzel(QKeySequence(Qt::CTRL | Qt::Key_K), kurven_);
    kuerzel(QKeySequence(Qt::CTRL | Qt::Key_L), balken_);
    Freigaben();
}

TLaktationsgrafikSeite::~TLaktationsgrafikSeite()
{
    // The marks live in a child of this page: the chart frees them while they exist. The grid
    // goes before the performances it shows.
    grafik_.reset();
    delete ansicht_;
}

void TLaktationsgrafikSeite::SetTier(int id)
{
    tierId_ = id;
    LaktationsgrafikZeichnen(true);
}

void TLaktationsgrafikSeite::LaktationsgrafikZeichnen(bool neuAufbauen)
{
    if (neuAufbauen) {
        leistungen_.DisableControls();
        struct Freigeben {
            db::DataSet& d;
            ~Freigeben() { d.EnableControls(); }
        } freigeben{leistungen_};
        leistungen_.Close();
        leistungen_.Param(QStringLiteral("TIER_ID")).SetInteger(tierId_);
        leistungen_.Open();
        // One entry per calving, named by its number: a bought cow may start with a later one.
        laktation_->clear();
        const int lak = leistungen_.FieldByName(QStringLiteral("LAK")).Index();
        for (int i = 0; i < leistungen_.RecordCount(); ++i) {
            const db::Value& v = leistungen_.ValueAt(i, lak);
            if (!v.IsNull())
                laktation_->addItem(QStringLiteral("%1. Lak").arg(v.AsInteger()), v.AsInteger());
        }
        laktation_->setCurrentIndex(laktation_->count() - 1);
        leistungen_.Last();
    }

    // Inside the bracket the setters only mark a change; EndUpdate draws once.
    TLaktationsgrafikTier& g = *grafik_;
    const QSize groesse = bild_->size();
    g.BeginUpdate();
    if (neuAufbauen || groesse != QSize(g.Breite, g.Hoehe))
        g.Aktualisieren();
    g.Breite = groesse.width();
    g.Hoehe = groesse.height();
    g.SetTier(tierId_);
    g.SetLaktation(laktation_->currentIndex() >= 0 ? laktation_->currentData().toInt() : 1);
    g.SetBalken(balken_->isChecked());
    g.SetMenge(boxen_[lmMilch]->isChecked());
    g.SetFett(boxen_[lmFett]->isChecked());
    g.SetEiweiss(boxen_[lmEiweiss]->isChecked());
    g.SetZellzahl(boxen_[lmZellzahl]->isChecked());
    g.SetHarnstoff(boxen_[lmHarnstoff]->isChecked());
    g.SetLaktose(boxen_[lmLaktose]->isChecked());
    g.SetTrockenmasse(boxen_[lmTrockenmasse]->isChecked());
    g.EndUpdate();
    for (QLabel* s :
         bild_->parentWidget()->findChildren<QLabel*>(QStringLiteral("LaktationsSymbol")))
        if (g.IstEreignisSymbol(s))
            s->installEventFilter(this);
    Freigaben();
}

void TLaktationsgrafikSeite::Freigaben()
{
    const bool balken = balken_->isChecked();
    for (int m = lmZellzahl; m < lmAnzahl; ++m) {
        boxen_[m]->setEnabled(!balken);
        marken_[m]->setPixmap(LegendenBild(m, balken));
    }
    laktation_->setEnabled(!balken);
    QPalette p = laktation_->palette();
    p.setColor(QPalette::Base,
               balken ? palette().color(QPalette::Button) : palette().color(QPalette::Base));
    laktation_->setPalette(p);
}

bool TLaktationsgrafikSeite::event(QEvent* e)
{
    // The card is a window of its own: the long hints of the marks go to the main window here.
    if (e->type() == QEvent::StatusTip) {
        if (TShell* shell = TShell::Aktuell())
            shell->ZeigeHinweis(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QWidget::event(e);
}

bool TLaktationsgrafikSeite::eventFilter(QObject* objekt, QEvent* e)
{
    if (objekt == bild_ && e->type() == QEvent::Resize && tierId_ != 0) {
        DBTools::Sicher([this] { LaktationsgrafikZeichnen(false); });
        return false;
    }
    if (e->type() == QEvent::ToolTip && grafik_->IstEreignisSymbol(objekt)) {
        auto* w = static_cast<QWidget*>(objekt);
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), w->toolTip(), w, QRect(),
                           SymbolHinweisDauer);
        return true;
    }
    return QWidget::eventFilter(objekt, e);
}
