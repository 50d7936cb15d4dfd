#include "Stammdaten.h"

#include "BullenFelder.h"
#include "Besamungen.h"
#include "BesamungsindexTier.h"
#include "DruckMLPDatenTier.h"
#include "DruckStammdatenblatt.h"
#include "DruckTierarztTier.h"
#include "Kalbung.h"
#include "KalbungEdit.h"
#include "LaktationsgrafikSeite.h"
#include "StierWahl.h"
#include "Tierarzt.h"

#include "StammdatenDrucken.h"
#include "StammdatenNeueBetriebsstaette.h"
#include "TierWahl.h"
#include "ZwischenkalbezeitTier.h"

#include "BesamungsindexTier.h"
#include "TierStatistikAnzeige.h"
#include "TierstatistikZellen.h"
#include "ZwischenkalbezeitTier.h"

#include <DBTools.h>
#include <DBIndexImage.h>
#include <DBZRDateEdit.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Meldung.h>
#include <MeldungDialog.h>
#include <ProgDatum.h>
#include <SilentAbort.h>
#include <StatusSymbole.h>
#include <ZRcxGridDBTableView.h>

#include <DataSetModel.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

#include <stdexcept>

using namespace Stammdaten;

namespace FMeldungErrorEdit {

bool MeldungErrorEdit(const QString& text)
{
    QApplication::beep();
    Tools::TMeldungDialog box(text, Tools::mtError,
                              Tools::Btn(Tools::mbOK) | Tools::Btn(Tools::mbAbort), 0);
    box.pushButtons().at(1)->setText(QStringLiteral("Rückgängig"));
    return box.run() == Tools::mrOk;
}

}  // namespace FMeldungErrorEdit

namespace {

// Exit reasons in the order the list shows them.
const std::pair<int, const char*> Abgangsgruende[] = {
    {0, ""},
    {1, "Verkauf zur Zucht"},
    {2, "Alter"},
    {3, "geringe Leistung"},
    {4, "Unfruchtbarkeit"},
    {5, "sonstige Krankheiten"},
    {6, "Euterkrankheiten"},
    {7, "Melkbarkeit"},
    {8, "Klauen und Gliedmaßen"},
    {10, "Stoffwechselkrankheiten"},
    {11, "Abgang des Betriebes"},
    {9, "sonstige Gründe"},
};

QDate DatumLesen(const QString& text, bool& ok)
{
    const QString t = text.trimmed();
    ok = true;
    if (t.isEmpty())
        return {};
    for (const char* format : {"d.M.yyyy", "d.M.yy"}) {
        QDate d = QDate::fromString(t, QString::fromLatin1(format));
        if (d.isValid()) {
            if (d.year() < 1950)
                d = d.addYears(100);
            return d;
        }
    }
    ok = false;
    return {};
}

QLineEdit* Datumsfeld(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    e->setMaxLength(10);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 14);
    return e;
}

void Waehlen(QComboBox* c, const QVariant& wert)
{
    c->setCurrentIndex(c->findData(wert));
}

QLabel* Beschriftung(const char* text)
{
    return new QLabel(QString::fromUtf8(text));
}

// A read-only value in a sunken frame.
QLabel* Anzeige(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumHeight(l->fontMetrics().height() + 8);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

TZRcxGridDBTableView* Ansicht(QWidget* parent, const char* name, db::DataSet& daten,
                              const char* leer)
{
    auto* v = new TZRcxGridDBTableView(parent);
    v->setObjectName(QString::fromLatin1(name));
    TZRcxGridTableOptionsView o = v->OptionsView();
    o.GridLines = TcxGridLines::All;
    o.EmptyText = QString::fromUtf8(leer);
    v->SetOptionsView(o);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->SetDataSet(&daten);
    return v;
}

// Labels, formats and hidden columns of a dataset's fields; fields not named are hidden.
void Spalten(db::DataSet& d, std::initializer_list<std::pair<const char*, const char*>> sichtbar)
{
    for (int i = 0; i < d.FieldCount(); ++i)
        d.Fields(i).Visible = false;
    for (const auto& [name, label] : sichtbar) {
        db::Field& f = d.FieldByName(QString::fromLatin1(name));
        f.Visible = true;
        f.DisplayLabel = QString::fromUtf8(label);
    }
}

void Format(db::DataSet& d, const char* name, const char* format)
{
    d.FieldByName(QString::fromLatin1(name)).DisplayFormat = QString::fromLatin1(format);
}

// The glyph of the step button: back up-left, forward down-right.
QIcon SchnellGlyphe()
{
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter m(&p);
    m.setRenderHint(QPainter::Antialiasing);
    m.setPen(Qt::NoPen);
    m.setBrush(QColor(0x1f, 0x4e, 0x9a));
    QPainterPath hoch;
    hoch.moveTo(8, 3);
    hoch.lineTo(15, 13);
    hoch.lineTo(1, 13);
    hoch.closeSubpath();
    m.drawPath(hoch);
    QPainterPath runter;
    runter.moveTo(24, 29);
    runter.lineTo(31, 19);
    runter.lineTo(17, 19);
    runter.closeSubpath();
    m.drawPath(runter);
    return QIcon(p);
}

}  // namespace

TSchnellKnopf::TSchnellKnopf(QWidget* parent) : QToolButton(parent)
{
    setIcon(SchnellGlyphe());
    setIconSize(QSize(32, 32));
    setToolTip(QStringLiteral("Schnelle Weiterschaltung: oben links zurück, sonst weiter"));
}

void TSchnellKnopf::mousePressEvent(QMouseEvent* event)
{
    zurueck_ = SchnellZurueck(size(), iconSize(), event->position().toPoint());
    QToolButton::mousePressEvent(event);
}

void TSchnellKnopf::mouseReleaseEvent(QMouseEvent* event)
{
    const bool treffer = isDown() && rect().contains(event->position().toPoint());
    QToolButton::mouseReleaseEvent(event);
    if (treffer && event->button() == Qt::LeftButton)
        emit Schritt(zurueck_);
}

TfrmStammdaten::TfrmStammdaten(QWidget* owner)
    : TZRDialog(owner),
      lookup_(DM()->Datenbank, QStringLiteral("TAStammdatenLookup")),
      zeitraeume_(DM()->TAStammdaten),
      besamungen_(DM()->TAStammdaten),
      kalbungen_(DM()->TAStammdaten),
      bemerkungen_(DM()->TAStammdaten),
      mlp_(DM()->TAStammdaten),
      schnell_(DM()->TAStammdaten)
{
    setObjectName(QStringLiteral("frmStammdaten"));
    setWindowTitle(QStringLiteral("Tieransicht - Stammdaten"));
    setHelpContext(SeitenHilfe(sStammdaten));
    setPosition(poScreenCenter);
    if (TEinstellungen* e = Einstellungen())
        harnstoffTeiler_ =
            e->WertLesenInteger(QStringLiteral("Harnstoff-Anzeige"), 0) == 1 ? 10 : 1;
    speicher_ = std::make_unique<TTierSpeicher>(*DM());
    // The grids ask for their columns at once; the fields come from the prepared statements.
    if (!DM()->TAStammdaten.Active())
        DM()->TAStammdaten.Start();
    DatenmengenEinrichten();
    Aufbauen();
    FelderEinrichten();
    connect(DM(), &TDM::ChangeStammdaten, this, [this] { StammdatenGeaendert(); });
    tierarzt_->Initialisieren();
    qApp->installEventFilter(this);
}

TfrmStammdaten::~TfrmStammdaten()
{
    qApp->removeEventFilter(this);
    if (TDM* dm = DM()) {
        if (dm->TAStammdaten.Active())
            dm->TAStammdaten.Commit();
    }
    if (lookup_.Active())
        lookup_.Commit();
}

void TfrmStammdaten::Sicher(const std::function<void()>& aktion)
{
    try {
        aktion();
    } catch (const SilentAbort&) {
    }
}

void TfrmStammdaten::DatenmengenEinrichten()
{
    TTierSpeicher::ListenEinrichten({zeitraeume_, besamungen_, kalbungen_, bemerkungen_, mlp_});
    zeitraeume_.BeforePost = [this](db::DataSet& d) {
        if (pruefungLaeuft_)
            return;
        const auto f = BetriebsstaettePruefen(d.FieldByName(QStringLiteral("VON")).AsDate(),
                                              d.FieldByName(QStringLiteral("BIS")).AsDate(),
                                              ProgDatum::Heute());
        if (f)
            throw TPruefAbbruch(sBetriebsstaetten, Feld(f->feld), &zeitraeume_, f->text);
    };
    zeitraeume_.AfterPost = [this](db::DataSet&) {
        DM()->TAStammdaten.CommitRetaining();
        betriebsstaettenGeprueft_ = false;
    };
    zeitraeume_.AfterDelete = [this](db::DataSet&) { betriebsstaettenGeprueft_ = false; };
}

void TfrmStammdaten::FelderEinrichten()
{
    Spalten(zeitraeume_, {{"BEZEICHNUNG", "Betriebsstätte"},
                          {"VON", "von"},
                          {"BIS", "bis"},
                          {"GRUPPE", "Gruppe"},
                          {"BNR", "Betriebsnummer"},
                          {"GV", "GV"}});
    Spalten(
        besamungen_,
        {{"DATUM", "Datum"}, {"STIER", "Stier"}, {"NUMMER", "HB Nr."}, {"BEMERKUNG", "Bemerkung"}});
    Spalten(kalbungen_, {{"DATUM", "Datum"},
                         {"GESCHLECHT", "Geschlecht"},
                         {"NUMMER", "Nummer"},
                         {"VERLAUF", "Verlauf"},
                         {"STIER", "Stier"},
                         {"HBNR", "HB Nr."},
                         {"ANZAHL_BES", "Besamungen"},
                         {"BEMERKUNG", "Bemerkung"}});
    Format(kalbungen_, "DATUM", "dd.mm.yyyy");

    bemerkungen_.AddCalculatedField(QStringLiteral("BEMERKUNGLISTE"), db::FieldType::VarChar, 200);
    bemerkungen_.OnCalcFields = [](db::DataSet& d) {
        d.FieldByName(QStringLiteral("BEMERKUNGLISTE"))
            .SetString(BemerkungListe(d.FieldByName(QStringLiteral("BEMERKUNG")).AsString()));
    };
    Spalten(bemerkungen_, {{"DATUM", "Datum"}, {"BEMERKUNGLISTE", "Bemerkung"}});
    Format(bemerkungen_, "DATUM", "dd.mm.yyyy");

    Spalten(mlp_, {{"NUMMER", "PM"},
                   {"DATUM", "Datum"},
                   {"MILCHWERT", "Milchwert"},
                   {"MILCH", "Milch"},
                   {"FETT", "Fett"},
                   {"EIWEIS", "Eiweiß"},
                   {"ZELLZAHL", "Zellzahl"},
                   {"HARNSTOFF", "Harnstoff"},
                   {"LACTOSE", "Lactose"},
                   {"TROCKENMASSE", "Trockenmasse"},
                   {"LTAGE", "L. Tage"},
                   {"LMILCH", "L. Milch"},
                   {"LFETT", "L. Fett"},
                   {"LEIWEIS", "L. Eiweiß"}});
    Format(mlp_, "DATUM", "dd.mm.yyyy");
    Format(mlp_, "MILCH", "0.0");
    for (const char* f : {"FETT", "EIWEIS", "LACTOSE", "TROCKENMASSE", "LFETT", "LEIWEIS"})
        Format(mlp_, f, "0.00");

    for (TZRcxGridDBTableView* v : {zeitraeumeAnsicht_, besamungenAnsicht_, kalbungenAnsicht_,
                                    bemerkungenAnsicht_, mlpAnsicht_})
        v->DataModel()->Reset();
}

// The model knows its columns once its dataset was open; the painters go by column.
void TfrmStammdaten::ZeichnerSetzen()
{
    const int gv = zeitraeumeAnsicht_->DataModel()->ColumnOfField(QStringLiteral("GV"));
    zeitraeumeAnsicht_->CellDelegate()->SetOnCustomDrawCell(
        gv,
        [](QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index, bool& done) {
            QStyleOptionViewItem o = option;
            o.text.clear();
            const QWidget* w = option.widget;
            QStyle* s = w ? w->style() : QApplication::style();
            s->drawControl(QStyle::CE_ItemViewItem, &o, p, w);
            QStyleOptionViewItem kasten = option;
            kasten.rect = TZRcxGridCellDelegate::CheckRect(option);
            kasten.state = QStyle::State_Enabled |
                           (index.data().toString() == QLatin1String("T") ? QStyle::State_On
                                                                          : QStyle::State_Off);
            s->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &kasten, p, w);
            done = true;
        });
    db::DataSetModel* m = mlpAnsicht_->DataModel();
    const int kalbText = mlp_.FieldByName(QStringLiteral("KALBTEXT")).Index();
    const int typ = mlp_.FieldByName(QStringLiteral("TYP")).Index();
    auto zeichnen = [this, kalbText, typ](QPainter* p, const QStyleOptionViewItem& option,
                                          const QModelIndex& index, bool& done, bool kopf) {
        const QString kalb = mlp_.ValueAt(index.row(), kalbText).AsString().trimmed();
        const QString ersatz = MLPErsatztext(mlp_.ValueAt(index.row(), typ).AsString().trimmed());
        const QWidget* w = option.widget;
        QStyle* s = w ? w->style() : QApplication::style();
        QStyleOptionViewItem o = option;
        o.text.clear();
        if (kopf && !kalb.isEmpty()) {
            s->drawControl(QStyle::CE_ItemViewItem, &o, p, w);
            p->save();
            QFont f = option.font;
            f.setBold(true);
            p->setFont(f);
            p->setPen(option.palette.color(option.state & QStyle::State_Selected
                                               ? QPalette::HighlightedText
                                               : QPalette::Text));
            p->drawText(option.rect.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, kalb);
            p->restore();
            done = true;
        } else if (!kopf && kalb.isEmpty() && !ersatz.isEmpty()) {
            s->drawControl(QStyle::CE_ItemViewItem, &o, p, w);
            p->setPen(option.palette.color(option.state & QStyle::State_Selected
                                               ? QPalette::HighlightedText
                                               : QPalette::Text));
            p->drawText(option.rect, Qt::AlignCenter, ersatz);
            done = true;
        }
    };
    // A calving heading spans from "PM", a replacement text from "Milch".
    mlpAnsicht_->CellDelegate()->SetOnCustomDrawCell(
        m->ColumnOfField(QStringLiteral("NUMMER")),
        [zeichnen](QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i, bool& done) {
            zeichnen(p, o, i, done, true);
        });
    mlpAnsicht_->CellDelegate()->SetOnCustomDrawCell(
        m->ColumnOfField(QStringLiteral("MILCH")),
        [zeichnen](QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i, bool& done) {
            zeichnen(p, o, i, done, false);
        });
    if (harnstoffTeiler_ != 1) {
        const int harnstoff = mlp_.FieldByName(QStringLiteral("HARNSTOFF")).Index();
        mlpAnsicht_->CellDelegate()->SetOnCustomDrawCell(
            m->ColumnOfField(QStringLiteral("HARNSTOFF")),
            [this, harnstoff](QPainter* p, const QStyleOptionViewItem& option,
                              const QModelIndex& index, bool& done) {
                const db::Value& v = mlp_.ValueAt(index.row(), harnstoff);
                if (v.IsNull())
                    return;
                QStyleOptionViewItem o = option;
                o.text = HarnstoffText(v.AsInteger(), harnstoffTeiler_);
                const QWidget* w = option.widget;
                (w ? w->style() : QApplication::style())
                    ->drawControl(QStyle::CE_ItemViewItem, &o, p, w);
                done = true;
            });
    }
}

void TfrmStammdaten::Aufbauen()
{
    auto* knopfSpalte = new QVBoxLayout;
    knopfSpalte->setSpacing(2);
    auto* gruppe = new QButtonGroup(this);
    gruppe->setExclusive(true);
    const QStyle::StandardPixmap bilder[SeitenAnzahl] = {QStyle::SP_FileDialogDetailedView,
                                                         QStyle::SP_DirHomeIcon,
                                                         QStyle::SP_DialogHelpButton,
                                                         QStyle::SP_FileDialogListView,
                                                         QStyle::SP_FileDialogInfoView,
                                                         QStyle::SP_ArrowUp,
                                                         QStyle::SP_ArrowRight,
                                                         QStyle::SP_BrowserReload};
    const char* kurz[SeitenAnzahl] = {"Stammdaten",  "Betriebsst.", "Tierarzt",   "MLP",
                                      "Bemerkungen", "Laktation",   "Bes.-Index", "ZKZ"};
    auto knopf = [this, knopfSpalte](const QString& text, const QString& hinweis,
                                     const QIcon& bild) {
        auto* k = new QToolButton(this);
        k->setText(text);
        k->setToolTip(hinweis);
        k->setIcon(bild);
        k->setIconSize(QSize(20, 20));
        k->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        k->setFixedSize(86, 48);
        k->setAutoRaise(false);
        knopfSpalte->addWidget(k);
        return k;
    };
    for (int s = 0; s < SeitenAnzahl; ++s) {
        QToolButton* k =
            knopf(QString::fromUtf8(kurz[s]), SeitenHinweis(s), style()->standardIcon(bilder[s]));
        k->setObjectName(QStringLiteral("btnSeite%1").arg(s));
        k->setCheckable(true);
        gruppe->addButton(k, s);
        seitenKnoepfe_ << k;
        connect(k, &QToolButton::clicked, this, [this, s] {
            Sicher([&] { SeiteWechseln(s); });
            seitenKnoepfe_[seite_]->setChecked(true);
        });
        if (s == sStammdaten) {
            // The two dialogs of the page-0 data sit right below its button.
            besamungenKnopf_ =
                knopf(QStringLiteral("Besamungen"), QStringLiteral("Besamungen (F3)"),
                      style()->standardIcon(QStyle::SP_FileDialogNewFolder));
            kalbungenKnopf_ = knopf(QStringLiteral("Kalbungen"), QStringLiteral("Kalbungen (F4)"),
                                    style()->standardIcon(QStyle::SP_FileIcon));
        }
    }
    knopfSpalte->addStretch(1);
    seitenKnoepfe_[0]->setChecked(true);

    seiten_ = new QStackedWidget(this);
    seiten_->addWidget(Seite0Aufbauen());
    seiten_->addWidget(Seite1Aufbauen());
    tierarzt_ = new TframeTierarzt(this);
    seiten_->addWidget(tierarzt_);
    seiten_->addWidget(Seite3Aufbauen());
    seiten_->addWidget(Seite4Aufbauen());
    laktation_ = new TLaktationsgrafikSeite(DM()->TAStammdaten, this);
    // Not shown: it draws the page's chart, with the page's settings, as a thumbnail.
    (new TTierStatistikAnzeige(
         artLaktation,
         [this] {
             auto g = std::make_unique<TLaktationsgrafikTier>(&DM()->TAStammdaten);
             g->OptionenUebernehmen(laktation_->Grafik());
             g->Leistungen = &laktation_->Leistungen();
             return std::unique_ptr<TTierStatistik>(std::move(g));
         },
         laktation_))
        ->hide();
    seiten_->addWidget(laktation_);
    seiten_->addWidget(new TTierStatistikAnzeige(
        artBesamungsindex,
        [] { return std::make_unique<TBesamungsindexTier>(&DM()->TAStammdaten); }, this));
    seiten_->addWidget(new TTierStatistikAnzeige(
        artZwischenkalbezeit,
        [] { return std::make_unique<TZwischenkalbezeitTier>(&DM()->TAStammdaten); }, this));

    neu_ = new QToolButton(this);
    neu_->setObjectName(QStringLiteral("btnNeu"));
    neu_->setText(QStringLiteral("Neu"));
    neu_->setToolTip(QStringLiteral("Neues Tier"));
    neu_->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    neu_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    schnellW_ = new TSchnellKnopf(this);
    schnellW_->setObjectName(QStringLiteral("SchnellW"));
    schnellW_->setFixedSize(56, 40);
    ubernehmen_ = new QToolButton(this);
    ubernehmen_->setObjectName(QStringLiteral("Ubernehmen"));
    ubernehmen_->setText(QStringLiteral("Übernehmen"));
    connect(ubernehmen_, &QToolButton::clicked, this, [this] {
        if (TTierStatistikAnzeige* a = TTierStatistikAnzeige::Auf(seiten_->currentWidget()))
            a->Uebernehmen(satz_.id, TierBezeichnung());
    });
    auswahl_ = new QPushButton(QStringLiteral("Auswahl"), this);
    auswahl_->setObjectName(QStringLiteral("btnAuswahl"));
    drucken_ = new QPushButton(QStringLiteral("Drucken"), this);
    drucken_->setObjectName(QStringLiteral("btnDrucken"));
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen_->setObjectName(QStringLiteral("btnSchliessen"));
    connect(kalbungenKnopf_, &QToolButton::clicked, this,
            [this] { Sicher([&] { KalbungEingeben(true); }); });
    connect(besamungenKnopf_, &QToolButton::clicked, this,
            [this] { Sicher([&] { BesamungBearbeiten(true); }); });
    for (QPushButton* k : findChildren<QPushButton*>())
        k->setAutoDefault(false);

    auto* unten = new QHBoxLayout;
    unten->addWidget(neu_);
    unten->addWidget(schnellW_);
    unten->addWidget(ubernehmen_);
    unten->addStretch(1);
    for (QPushButton* k : {auswahl_, drucken_, hilfe, schliessen_}) {
        k->setMinimumWidth(96);
        unten->addWidget(k);
    }

    seiten_->setMinimumSize(1000, 600);
    auto* mitte = new QHBoxLayout;
    mitte->addLayout(knopfSpalte);
    mitte->addWidget(seiten_, 1);
    auto* haupt = new QVBoxLayout(this);
    haupt->addLayout(mitte, 1);
    haupt->addLayout(unten);

    connect(neu_, &QToolButton::clicked, this, [this] {
        Sicher([&] {
            if (EingabenSpeichern(true, false))
                TierAnzeigen(0, 1, {});
        });
    });
    connect(schnellW_, &TSchnellKnopf::Schritt, this,
            [this](bool zurueck) { Sicher([&] { SchnellWeiterschalten(true, zurueck); }); });
    connect(auswahl_, &QPushButton::clicked, this, [this] { Sicher([&] { Auswahl(); }); });
    connect(drucken_, &QPushButton::clicked, this, [this] { DBTools::Sicher([&] { Drucken(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &TfrmStammdaten::reject);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    for (QLineEdit* e : seiten_->widget(sStammdaten)->findChildren<QLineEdit*>())
        connect(e, &QLineEdit::textEdited, this, &TfrmStammdaten::Geaendert);
    for (QComboBox* c : {rasse_, status_, art_, gekauftBem_, verkauftBem_, abgangsgrund_})
        connect(c, &QComboBox::currentIndexChanged, this, &TfrmStammdaten::Geaendert);
    connect(gekauftBem_, &QComboBox::editTextChanged, this, &TfrmStammdaten::Geaendert);
    connect(verkauftBem_, &QComboBox::editTextChanged, this, &TfrmStammdaten::Geaendert);
    connect(weiblich_, &QRadioButton::toggled, this, [this] {
        Geaendert();
        if (!fuellt_) {
            satz_.tier.geschlecht =
                weiblich_->isChecked() ? QStringLiteral("W") : QStringLiteral("M");
            StatuslistenAufbauen();
        }
    });
    // A status chosen with the mouse is stored at once; one changed with the keys when the
    // combo is left.
    connect(status_, &QComboBox::activated, this, [this] {
        if (fuellt_ || status_->currentData().toString() == satz_.tier.status)
            return;
        if (statusTasten_) {
            statusGeaendert_ = true;
            return;
        }
        statusGeaendert_ = false;
        EingabenSpeichern(false, false);
    });
    connect(status_, &QComboBox::currentIndexChanged, this, [this] {
        if (fuellt_)
            return;
        const TTrockenFreigabe t =
            TrockenFreigeben(status_->currentData().toString(), hatKalbungen_);
        trockenKnopf_->setEnabled(t.trocken);
        trocken_->setEnabled(t.trocken);
        sollKalbenLabel_->setEnabled(t.sollKalben);
    });
}

QWidget* TfrmStammdaten::Seite0Aufbauen()
{
    auto* seite = new QWidget(this);
    auto zeile = [seite](const char* name, int laenge) {
        auto* e = new QLineEdit(seite);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(laenge);
        return e;
    };
    nummer_ = zeile("edNummer", 20);
    nummer_->setValidator(new TGrossschreibung(nummer_));
    nummer_->setMinimumWidth(
        nummer_->fontMetrics().horizontalAdvance(QStringLiteral("DE 00 000 000000")) + 14);
    knr_ = zeile("edKNR", 6);
    knr_->setValidator(new QIntValidator(0, 999999, knr_));
    knr_->setFixedWidth(knr_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 14);
    name_ = zeile("edName", 15);
    gebdat_ = Datumsfeld(seite, "edGebDat");
    weiblich_ = new QRadioButton(QStringLiteral("w"), seite);
    weiblich_->setObjectName(QStringLiteral("rbWeiblich"));
    maennlich_ = new QRadioButton(QStringLiteral("m"), seite);
    maennlich_->setObjectName(QStringLiteral("rbMaennlich"));
    auto* geschlecht = new QButtonGroup(seite);
    geschlecht->addButton(weiblich_);
    geschlecht->addButton(maennlich_);
    rasse_ = new QComboBox(seite);
    rasse_->setObjectName(QStringLiteral("cbRasse"));
    rasse_->setMaxVisibleItems(10);
    status_ = new QComboBox(seite);
    status_->setObjectName(QStringLiteral("cbStatus"));
    status_->setMaxVisibleItems(15);
    art_ = new QComboBox(seite);
    art_->setObjectName(QStringLiteral("cbArt"));
    vater_ = zeile("edVater", 15);
    vaterNr_ = zeile("edVaterNr", 15);
    mutter_ = zeile("edMutter", 15);
    mutterNr_ = zeile("edMutterNr", 20);
    auto flach = [seite](const char* text, const char* hinweis, const char* name) {
        auto* k = new QToolButton(seite);
        k->setObjectName(QString::fromLatin1(name));
        k->setText(QString::fromUtf8(text));
        k->setToolTip(QString::fromUtf8(hinweis));
        k->setAutoRaise(true);
        k->setMinimumWidth(64);
        return k;
    };
    vaterKnopf_ = flach("Vater:", "Vater auswählen", "btnVater");
    // The bull choice it opens belongs to the bulls' windows, which this version does not have.
    mutterKnopf_ = flach("Mutter:", "zur Mutter wechseln", "btnMutter");
    gekauft_ = Datumsfeld(seite, "edGekauft");
    gekauftBem_ = new QComboBox(seite);
    gekauftBem_->setObjectName(QStringLiteral("cbGekauftBem"));
    gekauftBem_->setEditable(true);
    verkauft_ = Datumsfeld(seite, "edVerkauft");
    verkauftBem_ = new QComboBox(seite);
    verkauftBem_->setObjectName(QStringLiteral("cbVerkauftBem"));
    verkauftBem_->setEditable(true);
    for (QComboBox* c : {gekauftBem_, verkauftBem_})
        c->lineEdit()->setMaxLength(50);
    abgangsgrund_ = new QComboBox(seite);
    abgangsgrund_->setObjectName(QStringLiteral("cbGrund"));
    for (const auto& [code, text] : Abgangsgruende)
        abgangsgrund_->addItem(QString::fromUtf8(text), code);
    rindern_ = Datumsfeld(seite, "edRindern");
    trocken_ = Datumsfeld(seite, "edTrocken");
    trockenKnopf_ = new QPushButton(QStringLiteral("trocken:"), seite);
    trockenKnopf_->setObjectName(QStringLiteral("btnTrocken"));
    trockenKnopf_->setToolTip(QStringLiteral("Trockenstelldatum berechnen"));
    sollKalbenLabel_ = Beschriftung("soll kalben:");
    sollKalben_ = Anzeige(seite, "lblSollKalben");
    alter_ = Anzeige(seite, "lblAlter");
    tageInfo_ = Anzeige(seite, "lblTageInfo");
    tageInfo_->setToolTip(
        QStringLiteral("Anzahl der Tage\n- seit der letzten Kalbung,\n- trächtig,\n"
                       "- zum voraussichtlichem Kalbetermin"));
    betrieb_ = Anzeige(seite, "lblBetrieb");
    statusBild_ = new QLabel(seite);
    statusBild_->setObjectName(QStringLiteral("imgStatusTier"));
    statusBild_->setFixedSize(32, 32);
    statusBild_->setToolTip(QStringLiteral("aktueller Status"));
    wechseln_ = new QPushButton(QStringLiteral("Wechseln"), seite);
    wechseln_->setObjectName(QStringLiteral("btnWechseln"));
    wechseln_->setToolTip(QStringLiteral("Wechsel der Betriebsstätte"));

    auto* tier = new QGroupBox(QStringLiteral("Tier"), seite);
    auto* g = new QGridLayout(tier);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    int r = 0;
    g->addWidget(Beschriftung("KNR:"), r, 0);
    g->addWidget(knr_, r, 1, Qt::AlignLeft);
    g->addWidget(Beschriftung("Alter:"), r, 2);
    g->addWidget(alter_, r, 3);
    ++r;
    g->addWidget(Beschriftung("Name:"), r, 0);
    g->addWidget(name_, r, 1);
    g->addWidget(Beschriftung("Tg. s K/t/b K:"), r, 2);
    g->addWidget(tageInfo_, r, 3);
    ++r;
    g->addWidget(Beschriftung("Nummer:"), r, 0);
    g->addWidget(nummer_, r, 1);
    g->addWidget(Beschriftung("Betriebsstätte:"), r, 2);
    auto* bs = new QHBoxLayout;
    bs->addWidget(betrieb_, 1);
    bs->addWidget(wechseln_);
    g->addLayout(bs, r, 3);
    ++r;
    g->addWidget(statusBild_, 0, 4, 2, 1, Qt::AlignTop | Qt::AlignRight);
    g->addWidget(Beschriftung("Geb. Dat.:"), r, 0);
    g->addWidget(gebdat_, r, 1, Qt::AlignLeft);
    g->addWidget(Beschriftung("Geschlecht:"), r, 2);
    auto* gs = new QHBoxLayout;
    gs->addWidget(maennlich_);
    gs->addWidget(weiblich_);
    gs->addStretch(1);
    g->addLayout(gs, r, 3);
    ++r;
    g->addWidget(Beschriftung("Rasse:"), r, 0);
    g->addWidget(rasse_, r, 1);
    g->addWidget(Beschriftung("Art:"), r, 2);
    g->addWidget(art_, r, 3);
    ++r;
    g->addWidget(vaterKnopf_, r, 0);
    g->addWidget(vater_, r, 1);
    g->addWidget(Beschriftung("HB Nr.:"), r, 2);
    g->addWidget(vaterNr_, r, 3);
    ++r;
    g->addWidget(mutterKnopf_, r, 0);
    g->addWidget(mutter_, r, 1);
    g->addWidget(Beschriftung("Nummer:"), r, 2);
    g->addWidget(mutterNr_, r, 3);
    ++r;
    g->addWidget(Beschriftung("gekauft:"), r, 0);
    g->addWidget(gekauft_, r, 1, Qt::AlignLeft);
    g->addWidget(Beschriftung("Bem.:"), r, 2);
    g->addWidget(gekauftBem_, r, 3);
    ++r;
    g->addWidget(Beschriftung("verkauft:"), r, 0);
    g->addWidget(verkauft_, r, 1, Qt::AlignLeft);
    g->addWidget(Beschriftung("Bem.:"), r, 2);
    g->addWidget(verkauftBem_, r, 3);
    ++r;
    g->addWidget(Beschriftung("Grund:"), r, 0);
    g->addWidget(abgangsgrund_, r, 1, 1, 3);
    g->setRowStretch(r + 1, 1);

    besamungenGruppe_ = new QGroupBox(QStringLiteral("Besamungen"), seite);
    besamungenAnsicht_ = Ansicht(besamungenGruppe_, "ViewBesamungen", besamungen_,
                                 "< keine aktuellen Besamungen vorhanden >");
    auto* b = new QGridLayout(besamungenGruppe_);
    b->addWidget(besamungenAnsicht_, 0, 0, 1, 4);
    b->addWidget(Beschriftung("n. Rindern:"), 1, 0);
    b->addWidget(rindern_, 1, 1);
    b->addWidget(Beschriftung("Status:"), 1, 2);
    b->addWidget(status_, 1, 3);
    b->addWidget(trockenKnopf_, 2, 0);
    b->addWidget(trocken_, 2, 1);
    b->addWidget(sollKalbenLabel_, 2, 2);
    b->addWidget(sollKalben_, 2, 3);
    b->setColumnStretch(3, 1);
    b->setRowStretch(0, 1);

    kalbungenGruppe_ = new QGroupBox(QStringLiteral("Kalbungen"), seite);
    kalbungenAnsicht_ =
        Ansicht(kalbungenGruppe_, "ViewKalbungen", kalbungen_, "< keine Kalbungen vorhanden >");
    TZRcxGridTableOptionsView ko = kalbungenAnsicht_->OptionsView();
    ko.ColumnAutoWidth = false;
    kalbungenAnsicht_->SetOptionsView(ko);
    kalbungenAnsicht_->horizontalHeader()->setStretchLastSection(true);
    (new QVBoxLayout(kalbungenGruppe_))->addWidget(kalbungenAnsicht_);
    kalbungenMenue_ = new QMenu(kalbungenAnsicht_);
    kalbungBearbeiten_ = kalbungenMenue_->addAction(QStringLiteral("&Bearbeiten"));
    kalbungenMenue_->setDefaultAction(kalbungBearbeiten_);
    zumKalb_ = kalbungenMenue_->addAction(QStringLiteral("zum &Kalb wechseln"));
    kalbungLoeschen_ = kalbungenMenue_->addAction(QStringLiteral("Löschen"));
    kalbungOhneBesamung_ =
        kalbungenMenue_->addAction(QStringLiteral("Kalbung ohne Besamung eingeben"));
    kalbungenAnsicht_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(kalbungenAnsicht_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) {
                if (kalbungenMenue_->isEnabled())
                    kalbungenMenue_->popup(kalbungenAnsicht_->viewport()->mapToGlobal(pos));
            });
    connect(kalbungBearbeiten_, &QAction::triggered, this,
            [this] { Sicher([&] { KalbungBearbeiten(); }); });
    connect(kalbungenAnsicht_, &QAbstractItemView::doubleClicked, this, [this] {
        if (kalbungenMenue_->isEnabled() && kalbungBearbeiten_->isEnabled())
            Sicher([&] { KalbungBearbeiten(); });
    });
    connect(zumKalb_, &QAction::triggered, this, [this] { Sicher([&] { KalbZeigen(); }); });
    connect(kalbungLoeschen_, &QAction::triggered, this,
            [this] { Sicher([&] { KalbungLoeschen(); }); });
    connect(kalbungOhneBesamung_, &QAction::triggered, this,
            [this] { Sicher([&] { KalbungEingeben(false); }); });
    besamungenMenue_ = new QMenu(besamungenAnsicht_);
    besamungBearbeiten_ = besamungenMenue_->addAction(QStringLiteral("&Bearbeiten"));
    besamungLoeschen_ = besamungenMenue_->addAction(QStringLiteral("&Löschen"));
    connect(besamungBearbeiten_, &QAction::triggered, this,
            [this] { Sicher([&] { BesamungBearbeiten(false); }); });
    connect(besamungLoeschen_, &QAction::triggered, this,
            [this] { Sicher([&] { BesamungLoeschen(); }); });
    connect(besamungenAnsicht_, &QAbstractItemView::doubleClicked, this, [this] {
        if (besamungBearbeiten_->isEnabled())
            Sicher([&] { BesamungBearbeiten(false); });
    });
    besamungenAnsicht_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(besamungenAnsicht_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) {
                if (besamungenMenue_->isEnabled())
                    besamungenMenue_->popup(besamungenAnsicht_->viewport()->mapToGlobal(pos));
            });

    auto* schnell = new QGroupBox(QStringLiteral("Schnelle Weiterschaltung"), seite);
    schnellAnsicht_ =
        Ansicht(schnell, "ViewSchnellwahl", schnell_, "< Keine Tiere in der Auswahl >");
    (new QVBoxLayout(schnell))->addWidget(schnellAnsicht_);
    connect(schnellAnsicht_, &QAbstractItemView::doubleClicked, this, [this] {
        Sicher([&] {
            if (!schnell_.IsEmpty())
                TierWechseln(schnell_.FieldByName(QStringLiteral("ID")).AsInteger());
        });
    });

    auto* gitter = new QGridLayout(seite);
    gitter->setContentsMargins(0, 0, 0, 0);
    gitter->addWidget(tier, 0, 0);
    gitter->addWidget(besamungenGruppe_, 0, 1);
    gitter->addWidget(kalbungenGruppe_, 1, 0);
    gitter->addWidget(schnell, 1, 1);
    gitter->setColumnStretch(0, 3);
    gitter->setColumnStretch(1, 2);
    gitter->setRowStretch(0, 3);
    gitter->setRowStretch(1, 2);

    connect(vaterKnopf_, &QToolButton::clicked, this, [this] { Sicher([&] { VaterWaehlen(); }); });
    connect(mutterKnopf_, &QToolButton::clicked, this, [this] { Sicher([&] { MutterZeigen(); }); });
    connect(wechseln_, &QPushButton::clicked, this,
            [this] { Sicher([&] { BetriebsstaetteWechseln(); }); });
    connect(trockenKnopf_, &QPushButton::clicked, this,
            [this] { Sicher([&] { TrockenBerechnen(); }); });
    for (QWidget* w :
         {static_cast<QWidget*>(knr_), static_cast<QWidget*>(name_), static_cast<QWidget*>(nummer_),
          static_cast<QWidget*>(gebdat_), static_cast<QWidget*>(maennlich_),
          static_cast<QWidget*>(weiblich_), static_cast<QWidget*>(rasse_),
          static_cast<QWidget*>(art_), static_cast<QWidget*>(vater_),
          static_cast<QWidget*>(vaterNr_), static_cast<QWidget*>(mutter_),
          static_cast<QWidget*>(mutterNr_), static_cast<QWidget*>(gekauft_),
          static_cast<QWidget*>(gekauftBem_), static_cast<QWidget*>(verkauft_),
          static_cast<QWidget*>(verkauftBem_), static_cast<QWidget*>(abgangsgrund_)})
        w->setProperty("enterWeiter", true);
    setTabOrder(knr_, name_);
    setTabOrder(name_, nummer_);
    setTabOrder(nummer_, gebdat_);
    setTabOrder(gebdat_, maennlich_);
    setTabOrder(maennlich_, weiblich_);
    setTabOrder(weiblich_, rasse_);
    setTabOrder(rasse_, art_);
    setTabOrder(art_, vater_);
    setTabOrder(vater_, vaterNr_);
    setTabOrder(vaterNr_, mutter_);
    setTabOrder(mutter_, mutterNr_);
    setTabOrder(mutterNr_, gekauft_);
    setTabOrder(gekauft_, gekauftBem_);
    setTabOrder(gekauftBem_, verkauft_);
    setTabOrder(verkauft_, verkauftBem_);
    setTabOrder(verkauftBem_, abgangsgrund_);
    return seite;
}

QWidget* TfrmStammdaten::Seite1Aufbauen()
{
    auto* seite = new QWidget(this);
    auto* gruppe = new QGroupBox(QStringLiteral("Betriebsstätten des Tieres"), seite);
    zeitraeumeAnsicht_ =
        Ansicht(gruppe, "ViewBetriebsstaetten", zeitraeume_, "< Keine Betriebsstätten vorhanden >");
    zeitraumStall_ = new QComboBox(gruppe);
    zeitraumStall_->setObjectName(QStringLiteral("cbZeitraumStall"));
    zeitraumVon_ = new TDBZRDateEdit(gruppe);
    zeitraumVon_->setObjectName(QStringLiteral("edZeitraumVon"));
    zeitraumVon_->SetDataSource(&zeitraeume_);
    zeitraumVon_->SetDataField(QStringLiteral("VON"));
    zeitraumBis_ = new TDBZRDateEdit(gruppe);
    zeitraumBis_->setObjectName(QStringLiteral("edZeitraumBis"));
    zeitraumBis_->SetDataSource(&zeitraeume_);
    zeitraumBis_->SetDataField(QStringLiteral("BIS"));
    auto* einfuegen =
        new QPushButton(QStringLiteral("Wechsel der Betriebsstätte einfügen"), gruppe);
    einfuegen->setObjectName(QStringLiteral("btnZeitraumEinfuegen"));
    auto* entfernen = new QPushButton(QStringLiteral("Betriebsstätte entfernen"), gruppe);
    entfernen->setObjectName(QStringLiteral("btnZeitraumEntfernen"));
    auto* speichern = new QPushButton(QStringLiteral("Betriebsstättenwechsel speichern"), gruppe);
    speichern->setObjectName(QStringLiteral("btnZeitraumSpeichern"));
    for (QPushButton* k : {einfuegen, entfernen, speichern})
        k->setAutoDefault(false);

    auto* felder = new QGridLayout;
    felder->addWidget(Beschriftung("Betriebsstätte:"), 0, 0);
    felder->addWidget(zeitraumStall_, 0, 1);
    felder->addWidget(Beschriftung("von:"), 0, 2);
    felder->addWidget(zeitraumVon_, 0, 3);
    felder->addWidget(Beschriftung("bis:"), 0, 4);
    felder->addWidget(zeitraumBis_, 0, 5);
    felder->setColumnStretch(1, 1);
    felder->setColumnStretch(6, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(einfuegen);
    knoepfe->addWidget(entfernen);
    knoepfe->addWidget(speichern);
    knoepfe->addStretch(1);
    auto* v = new QVBoxLayout(gruppe);
    v->addWidget(zeitraeumeAnsicht_, 1);
    v->addLayout(felder);
    v->addLayout(knoepfe);
    (new QVBoxLayout(seite))->addWidget(gruppe);
    seite->layout()->setContentsMargins(0, 0, 0, 0);

    auto stallZeigen = [this] {
        const bool alt = fuellt_;
        fuellt_ = true;
        if (zeitraeume_.Active() && !zeitraeume_.IsEmpty())
            Waehlen(zeitraumStall_, zeitraeume_.FieldByName(QStringLiteral("STALL")).AsInteger());
        else
            zeitraumStall_->setCurrentIndex(-1);
        zeitraumStall_->setEnabled(zeitraeume_.Active() && !zeitraeume_.IsEmpty());
        fuellt_ = alt;
    };
    zeitraeume_.AfterScroll = [stallZeigen](db::DataSet&) { stallZeigen(); };
    zeitraeume_.AfterOpen = [stallZeigen](db::DataSet&) { stallZeigen(); };
    zeitraeume_.AfterCancel = [stallZeigen](db::DataSet&) { stallZeigen(); };
    connect(&zeitraeume_, &db::DataSet::StateChanged, this, [this] {
        // While a period is edited the list stays where it is: the edit is stored or dropped
        // by its buttons, the page change or the step, where a failed check can be reported.
        zeitraeumeAnsicht_->setEnabled(zeitraeume_.State() == db::DataSetState::Browse);
    });
    connect(zeitraumStall_, &QComboBox::activated, this, [this] {
        if (fuellt_ || zeitraeume_.IsEmpty())
            return;
        if (zeitraeume_.State() == db::DataSetState::Browse)
            zeitraeume_.Edit();
        zeitraeume_.FieldByName(QStringLiteral("STALL"))
            .SetInteger(zeitraumStall_->currentData().toInt());
        zeitraeume_.FieldByName(QStringLiteral("BEZEICHNUNG"))
            .SetString(zeitraumStall_->currentText());
    });
    connect(zeitraeumeAnsicht_, &QAbstractItemView::doubleClicked, this, [this] {
        if (zeitraumStall_->isEnabled())
            zeitraumStall_->setFocus();
    });
    connect(einfuegen, &QPushButton::clicked, this,
            [this] { Sicher([&] { BetriebsstaetteWechseln(); }); });
    connect(entfernen, &QPushButton::clicked, this,
            [this] { Sicher([&] { ZeitraumEntfernen(); }); });
    connect(speichern, &QPushButton::clicked, this,
            [this] { Sicher([&] { ZeitraumSpeichern(); }); });
    return seite;
}

QWidget* TfrmStammdaten::Seite3Aufbauen()
{
    auto* seite = new QWidget(this);
    mlpAnsicht_ = Ansicht(seite, "ViewMLP", mlp_, "< Keine MLP Daten vorhanden >");
    TZRcxGridTableOptionsView o = mlpAnsicht_->OptionsView();
    o.ColumnAutoWidth = false;
    mlpAnsicht_->SetOptionsView(o);
    (new QVBoxLayout(seite))->addWidget(mlpAnsicht_);
    seite->layout()->setContentsMargins(0, 0, 0, 0);

    return seite;
}

QWidget* TfrmStammdaten::Seite4Aufbauen()
{
    auto* seite = new QWidget(this);
    bemerkungenAnsicht_ =
        Ansicht(seite, "ViewBemerkungen", bemerkungen_, "< Keine Bemerkungen vorhanden >");
    TZRcxGridTableOptionsView bo = bemerkungenAnsicht_->OptionsView();
    bo.ColumnAutoWidth = false;
    bemerkungenAnsicht_->SetOptionsView(bo);
    bemerkungenAnsicht_->horizontalHeader()->setStretchLastSection(true);
    bemerkungDatum_ = new TDBZRDateEdit(seite);
    bemerkungDatum_->setObjectName(QStringLiteral("edBemerkungDatum"));
    bemerkungDatum_->SetDataSource(&bemerkungen_);
    bemerkungDatum_->SetDataField(QStringLiteral("DATUM"));
    bemerkung_ = new QPlainTextEdit(seite);
    bemerkung_->setObjectName(QStringLiteral("memBemerkung"));
    auto* hinzufuegen = new QPushButton(QStringLiteral("Hinzufügen"), seite);
    hinzufuegen->setObjectName(QStringLiteral("btnBemerkungHinzufuegen"));
    auto* entfernen = new QPushButton(QStringLiteral("Entfernen"), seite);
    entfernen->setObjectName(QStringLiteral("btnBemerkungEntfernen"));
    for (QPushButton* k : {hinzufuegen, entfernen})
        k->setAutoDefault(false);
    auto* g = new QGridLayout(seite);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(bemerkungenAnsicht_, 0, 0, 1, 4);
    g->addWidget(Beschriftung("Datum:"), 1, 0);
    g->addWidget(bemerkungDatum_, 1, 1);
    g->addWidget(hinzufuegen, 1, 2, Qt::AlignRight);
    g->addWidget(entfernen, 1, 3);
    g->addWidget(bemerkung_, 2, 0, 1, 4);
    g->setColumnStretch(2, 1);
    g->setRowStretch(0, 3);
    g->setRowStretch(2, 2);

    bemerkungen_.AfterScroll = [this](db::DataSet&) { BemerkungZeigen(); };
    bemerkungen_.AfterOpen = [this](db::DataSet&) { BemerkungZeigen(); };
    bemerkungen_.AfterCancel = [this](db::DataSet&) { BemerkungZeigen(); };
    connect(bemerkung_, &QPlainTextEdit::textChanged, this, [this] {
        if (bemerkungZeigt_ || !bemerkungen_.Active())
            return;
        if (bemerkungen_.State() == db::DataSetState::Browse) {
            if (bemerkungen_.IsEmpty())
                return;
            bemerkungen_.Edit();
        }
        bemerkungen_.FieldByName(QStringLiteral("BEMERKUNG")).SetString(bemerkung_->toPlainText());
    });
    connect(hinzufuegen, &QPushButton::clicked, this,
            [this] { Sicher([&] { BemerkungHinzufuegen(); }); });
    connect(entfernen, &QPushButton::clicked, this,
            [this] { Sicher([&] { BemerkungEntfernen(); }); });
    return seite;
}

void TfrmStammdaten::BemerkungZeigen()
{
    const bool alt = bemerkungZeigt_;
    bemerkungZeigt_ = true;
    const bool da = bemerkungen_.Active() && !bemerkungen_.IsEmpty();
    const QString text =
        da ? bemerkungen_.FieldByName(QStringLiteral("BEMERKUNG")).AsString() : QString();
    if (bemerkung_->toPlainText() != text)
        bemerkung_->setPlainText(text);
    bemerkung_->setEnabled(da);
    bemerkungDatum_->setEnabled(da);
    bemerkungZeigt_ = alt;
}

void TfrmStammdaten::Geaendert()
{
    if (!fuellt_)
        geaendert_ = true;
}

QWidget* TfrmStammdaten::Feld(TFeld feld) const
{
    switch (feld) {
        case TFeld::Nummer:
            return nummer_;
        case TFeld::Gebdat:
            return gebdat_;
        case TFeld::Gekauft:
            return gekauft_;
        case TFeld::Verkauft:
            return verkauft_;
        case TFeld::Maennlich:
            return maennlich_;
        case TFeld::Art:
            return art_;
        case TFeld::Rindern:
            return rindern_;
        case TFeld::Trocken:
            return trocken_;
        case TFeld::Status:
            return status_;
        case TFeld::Rasse:
            return rasse_;
        case TFeld::Von:
            return zeitraumVon_;
        case TFeld::Bis:
            return zeitraumBis_;
    }
    return nullptr;
}

void TfrmStammdaten::TierAnzeigen(int tierID, int modus, const QString& schnellwahlSQL)
{
    modus_ = modus;
    TDM& dm = *DM();
    if (!lookup_.Active())
        lookup_.Start();
    if (!dm.TAStammdaten.Active())
        dm.TAStammdaten.Start();
    aktualisierungLaeuft_ = pruefungLaeuft_ = datenGeaendert_ = false;
    fuellt_ = true;
    if (rasse_->count() == 0) {
        for (const auto& [id, name] : TTierSpeicher::Rassen(lookup_))
            rasse_->addItem(name, id);
        for (const auto& [id, name] : TTierSpeicher::Betriebsstaetten(lookup_))
            zeitraumStall_->addItem(name, id);
    }
    for (auto [box, spalte] : {std::pair{gekauftBem_, TTierSpeicher::TBemerkung::Gekauft},
                               {verkauftBem_, TTierSpeicher::TBemerkung::Verkauft}}) {
        box->clear();
        box->addItems(speicher_->BisherigeBemerkungen(spalte));
    }
    fuellt_ = false;
    const bool neu = modus == 1;
    auswahl_->setText(neu ? QStringLiteral("Speichern") : QStringLiteral("Auswahl"));
    schnellW_->setVisible(!neu);
    schnellW_->setEnabled(!neu);
    neu_->setVisible(neu);
    neu_->setEnabled(neu);
    schnell_.DisableControls();
    if (neu) {
        SchnellwahlSetzen(TTierSpeicher::SchnellwahlAktuelle());
        NeuesTier();
    } else {
        SchnellwahlSetzen(schnellwahlSQL.isEmpty() ? TTierSpeicher::SchnellwahlTier(tierID)
                                                   : schnellwahlSQL);
        satz_.id = 0;
        TierNeuLaden(false, tierID);
    }
    schnell_.EnableControls();
}

void TfrmStammdaten::SchnellwahlSetzen(const QString& sql)
{
    schnellSQL_ = sql;
    schnell_.Close();
    schnell_.SetSelectSQL(sql);
    schnell_.Open();
    schnell_.RecordCount();
    Spalten(schnell_, {{"NAME", "Name"}, {"NUMMER", "Nummer"}});
    schnellAnsicht_->DataModel()->Reset();
}

void TfrmStammdaten::SchnellwahlAktualisieren()
{
    const int id = schnell_.Active() && !schnell_.IsEmpty()
                       ? schnell_.FieldByName(QStringLiteral("ID")).AsInteger()
                       : 0;
    schnell_.DisableControls();
    schnell_.Close();
    schnell_.Open();
    schnell_.RecordCount();
    if (id > 0)
        DBTools::LocateInteger(schnell_, QStringLiteral("ID"), id, false);
    schnell_.EnableControls();
}

void TfrmStammdaten::TierDatenmengenOeffnen()
{
    for (db::DataSet* d : {&zeitraeume_, &besamungen_, &kalbungen_}) {
        d->Close();
        d->Param(QStringLiteral("ID")).SetInteger(satz_.id);
        d->Open();
        d->RecordCount();
    }
    // The remark, last, takes what the others leave.
    kalbungenAnsicht_->resizeColumnsToContents();
    if (const int n = kalbungenAnsicht_->model()->columnCount(); n > 0)
        kalbungenAnsicht_->setColumnWidth(n - 1, 40);
    ZeichnerSetzen();
}

void TfrmStammdaten::TierNeuLaden(bool mitCommit, int tierID)
{
    TDM& dm = *DM();
    const int id = tierID == -1 ? satz_.id : tierID;
    const int schnellID = schnell_.Active() && !schnell_.IsEmpty()
                              ? schnell_.FieldByName(QStringLiteral("ID")).AsInteger()
                              : 0;
    if (mitCommit || datenGeaendert_) {
        dm.TAStammdaten.Commit();
        dm.TAStammdaten.Start();
        schnell_.DisableControls();
        schnell_.Open();
        schnell_.RecordCount();
        if (schnellID > 0)
            DBTools::LocateInteger(schnell_, QStringLiteral("ID"), schnellID, false);
        schnell_.EnableControls();
        for (auto [box, spalte] : {std::pair{gekauftBem_, TTierSpeicher::TBemerkung::Gekauft},
                                   {verkauftBem_, TTierSpeicher::TBemerkung::Verkauft}}) {
            const QStringList werte = speicher_->BisherigeBemerkungen(spalte);
            fuellt_ = true;
            const QString text = box->currentText();
            box->clear();
            box->addItems(werte);
            box->setEditText(text);
            fuellt_ = false;
        }
        datenGeaendert_ = false;
    }
    satz_ = speicher_->Laden(id);
    TierDatenmengenOeffnen();
    if (modus_ == 0 && !schnell_.IsEmpty() &&
        schnell_.FieldByName(QStringLiteral("ID")).AsInteger() != id &&
        !DBTools::LocateInteger(schnell_, QStringLiteral("ID"), id, true) && schnellID > 0)
        DBTools::LocateInteger(schnell_, QStringLiteral("ID"), schnellID, true);
    Zeigen();
    AnzeigeAktualisieren(true);
}

bool TfrmStammdaten::TierWechseln(int tierID)
{
    if (tierID == satz_.id)
        return true;
    if (!EingabenSpeichern(true, false))
        return false;
    TierNeuLaden(false, tierID);
    return true;
}

void TfrmStammdaten::NeuesTier()
{
    satz_ = speicher_->Neu();
    TierDatenmengenOeffnen();
    Zeigen();
    AnzeigeAktualisieren(true);
    SeiteZeigen(sStammdaten);
    nummer_->setFocus();
}

void TfrmStammdaten::StatuslistenAufbauen()
{
    const bool alt = fuellt_;
    fuellt_ = true;
    const TStatuslisten l =
        Stammdaten::StatuslistenAufbauen(satz_.tier.geschlecht, hatKalbungen_, hatBesamungen_);
    const QString status = status_->count() ? status_->currentData().toString() : satz_.tier.status;
    const QString art = art_->count() ? art_->currentData().toString() : satz_.tier.statusExt;
    status_->clear();
    for (const auto& [text, buchstabe] : l.status)
        status_->addItem(text, buchstabe);
    art_->clear();
    for (const auto& [text, buchstabe] : l.arten)
        art_->addItem(text, buchstabe);
    // A value the lists do not offer stays visible, so the check can name it.
    if (!status.isEmpty() && status_->findData(status) < 0)
        status_->addItem(StatusWort(status), status);
    if (!art.isEmpty() && art_->findData(art) < 0)
        art_->addItem(art == QLatin1String("M") ? QStringLiteral("Mutterkuh") : art, art);
    Waehlen(status_, status);
    Waehlen(art_, art);
    fuellt_ = alt;
}

void TfrmStammdaten::Zeigen()
{
    fuellt_ = true;
    const TTier& t = satz_.tier;
    nummer_->setText(t.nummer);
    knr_->setText(satz_.knr > 0 ? QString::number(satz_.knr) : QString());
    name_->setText(satz_.name);
    gebdat_->setText(DatumText(t.gebdat));
    weiblich_->setChecked(t.geschlecht != QLatin1String("M"));
    maennlich_->setChecked(t.geschlecht == QLatin1String("M"));
    if (rasse_->findData(satz_.rasse) < 0 && satz_.rasse > 0)
        rasse_->addItem(TTierSpeicher::RasseName(lookup_, satz_.rasse), satz_.rasse);
    Waehlen(rasse_, satz_.rasse);
    vater_->setText(satz_.vater);
    vaterNr_->setText(satz_.vaterNr);
    mutter_->setText(satz_.mutter);
    mutterNr_->setText(satz_.mutterNr);
    gekauft_->setText(DatumText(t.gekauft));
    gekauftBem_->setEditText(satz_.gekauftBem);
    verkauft_->setText(DatumText(t.verkauft));
    verkauftBem_->setEditText(satz_.verkauftBem);
    Waehlen(abgangsgrund_, satz_.abgangsgrund < 0 ? 0 : satz_.abgangsgrund);
    rindern_->setText(DatumText(t.rindern));
    trocken_->setText(DatumText(t.trocken));
    status_->clear();
    art_->clear();
    InfoLaden();
    geaendert_ = false;
    fuellt_ = false;
}

void TfrmStammdaten::InfoLaden()
{
    for (QLabel* l : std::initializer_list<QLabel*>{alter_, tageInfo_, betrieb_, sollKalben_,
                                                    statusBild_, laktation_->StatusBild()})
        l->clear();
    if (satz_.id <= 0)
        return;
    const auto info = speicher_->Info(satz_.id);
    if (!info)
        return;
    alter_->setText(info->alter);
    betrieb_->setText(info->betriebsstaette);
    tageInfo_->setText(info->tage);
    sollKalben_->setText(DatumText(info->sollKalben));
    if (info->statusIndex) {
        const QPixmap bild = QPixmap::fromImage(StatusSymbole::Gross(*info->statusIndex, false));
        statusBild_->setPixmap(bild);
        laktation_->StatusBild()->setPixmap(bild);
    }
}

void TfrmStammdaten::AnzeigeAktualisieren(bool erzwingen)
{
    if (aktualisierungLaeuft_)
        return;
    aktualisierungLaeuft_ = true;
    struct Ende {
        bool& b;
        ~Ende() { b = false; }
    } ende{aktualisierungLaeuft_};
    statusGeaendert_ = statusTasten_ = false;
    if (erzwingen || satz_.id != letzteTierID_) {
        letzteTierID_ = satz_.id;
        const int nb = besamungen_.RecordCount();
        const int nk = kalbungen_.RecordCount();
        besamungenGruppe_->setTitle(nb == 0   ? QStringLiteral("Besamungen")
                                    : nb == 1 ? QStringLiteral("1 Besamung")
                                              : QStringLiteral("%1 Besamungen").arg(nb));
        kalbungenGruppe_->setTitle(nk == 0   ? QStringLiteral("Kalbungen")
                                   : nk == 1 ? QStringLiteral("1 Kalbung")
                                             : QStringLiteral("%1 Kalbungen").arg(nk));
        const bool weiblich = satz_.tier.geschlecht == QLatin1String("W");
        hatBesamungen_ = weiblich && nb > 0;
        hatKalbungen_ = weiblich && nk > 0;
        for (TTierStatistikAnzeige* a : seiten_->findChildren<TTierStatistikAnzeige*>())
            a->GrafikNeu = true;
    }
    StatuslistenAufbauen();
    SchalterFreigeben();
    TitelSetzen(false);
    SeiteAktualisieren(seite_);
}

void TfrmStammdaten::SeiteAktualisieren(int seite)
{
    if (seite == sTierarzt)
        tierarzt_->SetTier(satz_.id);
    else if (seite == sMLP)
        MLPDatenLaden();
    else if (seite == sBemerkungen)
        BemerkungenLaden();
    else if (seite == sLaktation)
        laktation_->SetTier(satz_.id);
    else if (TTierStatistikAnzeige* a = TTierStatistikAnzeige::Auf(seiten_->widget(seite)))
        a->Zeichnen(satz_.id);
}

void TfrmStammdaten::MLPDatenLaden()
{
    mlp_.DisableControls();
    mlp_.Close();
    mlp_.Param(QStringLiteral("TIER")).SetInteger(satz_.id);
    mlp_.Open();
    mlp_.Last();
    mlp_.EnableControls();
    ZeichnerSetzen();
    MLPSpannen();
}

void TfrmStammdaten::MLPSpannen()
{
    mlpAnsicht_->clearSpans();
    db::DataSetModel* m = mlpAnsicht_->DataModel();
    const int kalbText = mlp_.FieldByName(QStringLiteral("KALBTEXT")).Index();
    const int typ = mlp_.FieldByName(QStringLiteral("TYP")).Index();
    const int pm = m->ColumnOfField(QStringLiteral("NUMMER"));
    const int leiweis = m->ColumnOfField(QStringLiteral("LEIWEIS"));
    const int milch = m->ColumnOfField(QStringLiteral("MILCH"));
    const int tm = m->ColumnOfField(QStringLiteral("TROCKENMASSE"));
    for (int r = 0; r < mlp_.FetchedCount(); ++r) {
        if (!mlp_.ValueAt(r, kalbText).AsString().trimmed().isEmpty())
            mlpAnsicht_->setSpan(r, pm, 1, leiweis - pm + 1);
        else if (!MLPErsatztext(mlp_.ValueAt(r, typ).AsString().trimmed()).isEmpty())
            mlpAnsicht_->setSpan(r, milch, 1, tm - milch + 1);
    }
    mlpAnsicht_->resizeColumnsToContents();
    const int pmBreite = mlpAnsicht_->columnWidth(pm);
    mlpAnsicht_->setColumnWidth(
        pm, std::max(pmBreite,
                     mlpAnsicht_->fontMetrics().horizontalAdvance(QStringLiteral("PM")) + 16));
}

void TfrmStammdaten::BemerkungenLaden()
{
    bemerkungen_.Close();
    bemerkungen_.Param(QStringLiteral("TIER")).SetInteger(satz_.id);
    bemerkungen_.Open();
    bemerkungenAnsicht_->setColumnWidth(
        0,
        bemerkungenAnsicht_->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 16);
}

void TfrmStammdaten::SchalterFreigeben()
{
    TFreigabeEingang e;
    e.neu = modus_ == 1;
    e.geschlecht = satz_.tier.geschlecht;
    e.status = status_->currentData().toString();
    e.hatBesamungen = hatBesamungen_;
    e.hatKalbungen = hatKalbungen_;
    e.kalbungenVorhanden = !kalbungen_.IsEmpty();
    e.besamungenVorhanden = !besamungen_.IsEmpty();
    e.seite = seite_;
    const TFreigabe f = Stammdaten::SchalterFreigeben(e);
    for (int s = 0; s < SeitenAnzahl; ++s)
        seitenKnoepfe_[s]->setEnabled(f.seiten[s]);
    besamungenAnsicht_->setEnabled(f.besamungenMenue);
    besamungenMenue_->setEnabled(f.besamungenMenue);
    kalbungenMenue_->setEnabled(f.kalbungenMenue);
    kalbungBearbeiten_->setEnabled(f.kalbungBearbeiten);
    zumKalb_->setEnabled(f.kalbungBearbeiten);
    kalbungLoeschen_->setEnabled(f.kalbungBearbeiten);
    besamungBearbeiten_->setEnabled(f.besamungenMenue && e.besamungenVorhanden);
    besamungLoeschen_->setEnabled(f.besamungenMenue && e.besamungenVorhanden);
    besamungenKnopf_->setEnabled(f.besamungenKnopf);
    kalbungenKnopf_->setEnabled(f.kalbungenKnopf);
    kalbungOhneBesamung_->setEnabled(f.kalbungOhneBesamung);
    rindern_->setEnabled(f.rindern);
    ubernehmen_->setVisible(f.ubernehmen);
    const TTrockenFreigabe t = TrockenFreigeben(e.status, hatKalbungen_);
    trockenKnopf_->setEnabled(t.trocken);
    trocken_->setEnabled(t.trocken);
    sollKalbenLabel_->setEnabled(t.sollKalben);
    wechseln_->setEnabled(satz_.id > 0);
    mutterKnopf_->setEnabled(satz_.id > 0 || modus_ == 0);
    if (!seitenKnoepfe_[seite_]->isEnabled())
        SeiteZeigen(sStammdaten);
}

QString TfrmStammdaten::TierBezeichnung() const
{
    return Stammdaten::TierBezeichnung(satz_.id <= 0,
                                       satz_.knr > 0 ? KNRFormatieren(satz_.knr) : QString(),
                                       satz_.name, satz_.tier.nummer);
}

void TfrmStammdaten::TitelSetzen(bool fokus)
{
    if (fokus && isVisible()) {
        QWidget* ziel = nullptr;
        switch (seite_) {
            case sStammdaten:
                ziel = knr_;
                break;
            case sBetriebsstaetten:
                ziel = zeitraeumeAnsicht_;
                break;
            case sTierarzt:
                ziel = tierarzt_->Liste();
                break;
            case sMLP:
                ziel = mlpAnsicht_;
                break;
            case sBemerkungen:
                ziel = bemerkungenAnsicht_;
                break;
            default:
                break;
        }
        if (ziel && ziel->isEnabled())
            ziel->setFocus();
    }
    setWindowTitle(Titel(TierBezeichnung(), seite_));
}

void TfrmStammdaten::SeiteZeigen(int seite)
{
    seite_ = seite;
    seiten_->setCurrentIndex(seite);
    seitenKnoepfe_[seite]->setChecked(true);
    ubernehmen_->setVisible(seite >= sLaktation);
    setHelpContext(SeitenHilfe(seite));
}

bool TfrmStammdaten::SeiteWechseln(int seite)
{
    if (seite == seite_) {
        setHelpContext(SeitenHilfe(seite));
        return true;
    }
    if (seite > 0 && !seitenKnoepfe_[seite]->isEnabled())
        return false;
    if (!EingabenSpeichern(false, false))
        return false;
    if (seite > 0 && !seitenKnoepfe_[seite]->isEnabled())
        return false;
    SeiteZeigen(seite);
    AnzeigeAktualisieren(false);
    TitelSetzen(true);
    return true;
}

bool TfrmStammdaten::Lesen()
{
    TTier& t = satz_.tier;
    const std::pair<QLineEdit*, QDate*> daten[] = {{gebdat_, &t.gebdat},
                                                   {gekauft_, &t.gekauft},
                                                   {verkauft_, &t.verkauft},
                                                   {rindern_, &t.rindern},
                                                   {trocken_, &t.trocken}};
    for (const auto& [feld, ziel] : daten) {
        bool ok = false;
        const QDate d = DatumLesen(feld->text(), ok);
        if (!ok) {
            SeiteZeigen(sStammdaten);
            Tools::MeldungError(
                QStringLiteral("\"%1\" ist kein gültiges Datum.\rBitte geben Sie das "
                               "Datum als TT.MM.JJJJ ein.")
                    .arg(feld->text()));
            feld->setFocus();
            return false;
        }
        *ziel = d;
    }
    t.nummer = nummer_->text().trimmed().toUpper();
    satz_.knr = knr_->text().toInt();
    satz_.name = name_->text().trimmed();
    t.geschlecht = maennlich_->isChecked() ? QStringLiteral("M") : QStringLiteral("W");
    t.status = status_->currentData().toString();
    t.statusExt = art_->currentData().toString();
    satz_.rasse = rasse_->currentData().toInt();
    satz_.vater = vater_->text().trimmed();
    satz_.vaterNr = vaterNr_->text().trimmed().toUpper();
    satz_.mutter = mutter_->text().trimmed();
    satz_.mutterNr = mutterNr_->text().trimmed().toUpper();
    satz_.gekauftBem = gekauftBem_->currentText().trimmed();
    satz_.verkauftBem = verkauftBem_->currentText().trimmed();
    const int grund = abgangsgrund_->currentData().toInt();
    satz_.abgangsgrund = grund > 0 ? grund : -1;
    return true;
}

void TfrmStammdaten::PruefFehler(int seite, QWidget* feld, db::DataSet* daten, const QString& text)
{
    if (seitenKnoepfe_[seite]->isEnabled())
        SeiteZeigen(seite);
    if (modus_ == 1 && !daten && satz_.id <= 0) {
        if (Tools::MeldungConfirm(
                text + QStringLiteral("\r\rWollen Sie die Bearbeitung des neuen Tieres "
                                      "rückgängig machen?\rDie eingegebenen Daten "
                                      "werden dann nicht gespeichert!"),
                1) == Tools::mrYes) {
            DM()->TAStammdaten.RollbackRetaining();
            verworfen_ = true;
            NeuesTier();
            pruefungLaeuft_ = false;
            throw SilentAbort();
        }
    } else if (!FMeldungErrorEdit::MeldungErrorEdit(
                   text + QStringLiteral("\r\rDrücken Sie auf Rückgängig, um die gesamte "
                                         "\rBearbeitung rückgängig zu machen."))) {
        if (Tools::MeldungConfirm(QStringLiteral("Wollen Sie wirklich die Bearbeitung des Tieres "
                                                 "rückgängig machen?\rAlle durchgeführten "
                                                 "Änderungen werden dabei verworfen!"),
                                  1) == Tools::mrYes) {
            for (db::DataSet* d : {&zeitraeume_, &bemerkungen_})
                if (d->Active() && d->State() != db::DataSetState::Browse)
                    d->Cancel();
            DM()->TAStammdaten.RollbackRetaining();
            pruefungLaeuft_ = false;
            TierNeuLaden(false);
            throw SilentAbort();
        }
    }
    if (feld && feld->isEnabled() && feld->isVisible())
        feld->setFocus();
    pruefungLaeuft_ = false;
    throw SilentAbort();
}

bool TfrmStammdaten::EingabenSpeichern(bool mitBetriebsstaetten, bool schliessenErlaubt)
{
    try {
        Speichern(mitBetriebsstaetten);
        return true;
    } catch (const SilentAbort&) {
        if (!schliessenErlaubt)
            verworfen_ = false;
        return false;
    }
}

void TfrmStammdaten::Speichern(bool mitBetriebsstaetten)
{
    if (seite_ == sStammdaten)
        TierPosten();
    else if (seite_ == sBetriebsstaetten)
        BetriebsstaettenPruefen();
    else if (seite_ == sBemerkungen)
        Posten(bemerkungen_);
    if (mitBetriebsstaetten && seite_ != sBetriebsstaetten)
        BetriebsstaettenPruefen();
}

void TfrmStammdaten::Posten(db::DataSet& daten)
{
    try {
        DBTools::Posten(daten);
    } catch (const TPruefAbbruch& f) {
        PruefFehler(f.seite, f.feld, f.daten, f.text);
    }
}

void TfrmStammdaten::TierPosten()
{
    if (!geaendert_ && (satz_.id > 0 || modus_ == 0))
        return;
    if (!Lesen())
        throw SilentAbort();
    TEinstellungen* e = Einstellungen();
    const bool meldungAuto = e ? e->GetMeldungAuto() : true;
    TTierSpeicher::TErgebnis erg =
        speicher_->Speichern(satz_, ProgDatum::Heute(), meldungAuto, akzeptierteZeitraeume_);
    if (erg.fehler)
        PruefFehler(sStammdaten, Feld(erg.fehler->feld), nullptr, erg.fehler->text);
    if (erg.zeitraumFehler) {
        ZeitraumFehlerMelden(*erg.zeitraumFehler, erg.zeitraumSchluessel);
        erg = speicher_->Speichern(satz_, ProgDatum::Heute(), meldungAuto, akzeptierteZeitraeume_);
        if (erg.fehler || erg.zeitraumFehler)
            throw SilentAbort();
    }
    if (erg.neuLaden) {
        // Changed at another workstation: the user chose to see what is stored there.
        geaendert_ = false;
        TierNeuLaden(false);
        throw SilentAbort();
    }
    verworfen_ = false;
    geaendert_ = false;
    TierNeuLaden(true);
    if (modus_ == 0)
        SchnellwahlAktualisieren();
    if (erg.meldungen.zugang &&
        Tools::MeldungConfirm(QStringLiteral(
            "Soll eine Zugangsmeldung an HI - Tier vorbereitet werden?")) == Tools::mrYes)
        speicher_->MeldungAnlegen(satz_.id, 14, satz_.tier.gekauft);
    if (erg.meldungen.abgang &&
        Tools::MeldungConfirm(QStringLiteral(
            "Soll eine Abgangsmeldung an HI - Tier vorbereitet werden?")) == Tools::mrYes)
        speicher_->MeldungAnlegen(satz_.id, 3, satz_.tier.verkauft);
    BetriebsstaettenNeuLaden();
}

void TfrmStammdaten::BetriebsstaettenNeuLaden()
{
    const int id =
        !zeitraeume_.IsEmpty() ? zeitraeume_.FieldByName(QStringLiteral("ID")).AsInteger() : 0;
    zeitraeume_.DisableControls();
    zeitraeume_.Close();
    zeitraeume_.Param(QStringLiteral("ID")).SetInteger(satz_.id);
    zeitraeume_.Open();
    zeitraeume_.RecordCount();
    if (id > 0)
        DBTools::LocateInteger(zeitraeume_, QStringLiteral("ID"), id, false);
    zeitraeume_.EnableControls();
}

void TfrmStammdaten::BetriebsstaettenPruefen()
{
    Posten(zeitraeume_);
    if (betriebsstaettenGeprueft_ || pruefungLaeuft_ || satz_.id <= 0)
        return;
    QString schluessel;
    const auto fehler = speicher_->ZeitraeumePruefen(satz_, schluessel);
    if (!fehler || schluessel == akzeptierteZeitraeume_) {
        betriebsstaettenGeprueft_ = true;
        return;
    }
    ZeitraumFehlerMelden(*fehler, schluessel);
    betriebsstaettenGeprueft_ = true;
}

void TfrmStammdaten::ZeitraumFehlerMelden(const TZeitraumFehler& fehler, const QString& schluessel)
{
    // A failure blocks every store until the periods are mended or the user keeps them as they
    // are; kept periods are asked about again once they or the animal's dates change.
    if (seitenKnoepfe_[sBetriebsstaetten]->isEnabled())
        SeiteZeigen(sBetriebsstaetten);
    if (zeitraeume_.Active())
        DBTools::LocateInteger(zeitraeume_, QStringLiteral("ID"), fehler.id, false);
    if (Tools::MeldungConfirm(fehler.text + QStringLiteral("\r\rWollen Sie die Betriebsstätten "
                                                           "trotzdem so speichern?"),
                              1) == Tools::mrYes) {
        akzeptierteZeitraeume_ = schluessel;
        return;
    }
    betriebsstaettenGeprueft_ = false;
    if (seite_ == sBetriebsstaetten && isVisible() && zeitraeumeAnsicht_->isEnabled())
        zeitraeumeAnsicht_->setFocus();
    throw SilentAbort();
}

void TfrmStammdaten::ZeitraumSpeichern()
{
    Posten(zeitraeume_);
    BetriebsstaettenNeuLaden();
}

void TfrmStammdaten::ZeitraumEntfernen()
{
    if (speicher_->ZeitraumAnzahl(satz_.id) < 2) {
        Tools::MeldungInfo(QStringLiteral("Es muß mindestens ein Zeitraum vorhanden sein!"));
        return;
    }
    if (DBTools::LoeschenMitFrage(zeitraeume_,
                                  QStringLiteral("Wollen Sie wirklich diesen Zeitraum löschen?")))
        DM()->TAStammdaten.CommitRetaining();
}

void TfrmStammdaten::BetriebsstaetteWechseln()
{
    if (!EingabenSpeichern(true, false))
        return;
    QDate datum;
    int stall = 0;
    if (!FNeueBetriebsstaette::NeueBetriebsstaetteWaehlen(parentWidget() ? parentWidget() : this,
                                                          datum, stall))
        return;
    bool alleJa = false;
    const TTier& t = satz_.tier;
    DM()->BetriebsstaetteWechseln(DM()->TAStammdaten, true, satz_.id, satz_.name, t.nummer,
                                  t.gebdat, t.gekauft, t.verkauft, datum, stall, alleJa);
    betriebsstaettenGeprueft_ = false;
    TierNeuLaden(true);
    BetriebsstaettenNeuLaden();
}

void TfrmStammdaten::BemerkungHinzufuegen()
{
    if (!EingabenSpeichern(false, false))
        return;
    bemerkungen_.Append();
    bemerkungen_.FieldByName(QStringLiteral("TIER")).SetInteger(satz_.id);
    bemerkungen_.FieldByName(QStringLiteral("DATUM")).SetDate(QDate::currentDate());
    bemerkung_->setEnabled(true);
    bemerkungDatum_->setEnabled(true);
    bemerkung_->setFocus();
}

void TfrmStammdaten::BemerkungEntfernen()
{
    DBTools::LoeschenMitFrage(bemerkungen_,
                              QStringLiteral("Wollen Sie diese Bemerkung wirklich löschen?"));
    BemerkungZeigen();
}

void TfrmStammdaten::MutterZeigen()
{
    if (!EingabenSpeichern(true, false))
        return;
    const int mutter = speicher_->MutterSuchen(satz_);
    if (mutter == 0) {
        Tools::MeldungError(QStringLiteral("Mutter nicht gefunden!"));
        return;
    }
    TierWechseln(mutter);
}

void TfrmStammdaten::VaterWaehlen()
{
    QString stier;
    QString nummer;
    if (!FStierWahl::StierWaehlen(this, vater_->text().trimmed(), stier, nummer))
        return;
    vater_->setText(stier);
    vaterNr_->setText(nummer);
    geaendert_ = true;
}

void TfrmStammdaten::BesamungenGeaendert()
{
    TierNeuLaden(true);
}

void TfrmStammdaten::BesamungBearbeiten(bool neu)
{
    struct Seite0 {
        QToolButton* knopf;
        ~Seite0() { knopf->setChecked(true); }
    } seite0{seitenKnoepfe_[sStammdaten]};
    if (!EingabenSpeichern(false, false))
        return;
    int modus = 0;
    int besamungID = -1;
    int nr = 0;
    if (neu)
        modus = modus_ == 1 && besamungen_.IsEmpty() ? 2 : 1;
    else {
        if (besamungen_.IsEmpty())
            return;
        const db::Field& id = besamungen_.FieldByName(QStringLiteral("ID"));
        besamungID = id.IsNull() ? -1 : id.AsInteger();
        nr = besamungen_.FieldByName(QStringLiteral("NR")).AsInteger();
    }
    TfrmBesamungen dialog(this);
    dialog.OnGeaendert = [this](TfrmBesamungen*) { BesamungenGeaendert(); };
    dialog.BesamungOeffnen(satz_.id, 0, satz_.tier.gebdat, modus, besamungID, nr);
    dialog.exec();
}

void TfrmStammdaten::KalbungEingeben(bool mitBesamung)
{
    struct Seite0 {
        QToolButton* knopf;
        ~Seite0() { knopf->setChecked(true); }
    } seite0{seitenKnoepfe_[sStammdaten]};
    if (!EingabenSpeichern(false, false))
        return;
    if (!mitBesamung && status_->currentData().toString() != QLatin1String("D")) {
        Tools::MeldungInfo(QStringLiteral("Der Status muß \"deckfähig\" sein!"));
        return;
    }
    bool gespeichert = false;
    {
        TfrmKalbungNeu dialog(this);
        dialog.KalbungOeffnen(modus_ == 1, satz_.id, satz_.tier.gebdat, satz_.tier.trocken);
        gespeichert = dialog.exec() == QDialog::Accepted;
    }
    if (gespeichert)
        TierNeuLaden(true);
}

void TfrmStammdaten::BesamungLoeschen()
{
    ZuchtdatenLoeschen(besamungen_, QStringLiteral("Wollen Sie die Besamung wirklich löschen?"),
                       &TTierSpeicher::BesamungLoeschen);
}

void TfrmStammdaten::KalbungLoeschen()
{
    ZuchtdatenLoeschen(kalbungen_, QStringLiteral("Wollen Sie die Kalbung wirklich löschen?"),
                       &TTierSpeicher::KalbungLoeschen);
}

// Deletes the breeding data of the list's row after asking and shows the result.
void TfrmStammdaten::ZuchtdatenLoeschen(db::DataSet& zeilen, const QString& frage,
                                        TZuchtdatenLoeschen loeschen)
{
    if (!EingabenSpeichern(false, false) || zeilen.IsEmpty())
        return;
    if (Tools::MeldungConfirm(frage, 1) != Tools::mrYes)
        return;
    const db::Field& id = zeilen.FieldByName(QStringLiteral("ID"));
    (speicher_.get()->*loeschen)(satz_.id,
                                 id.IsNull() ? std::nullopt : std::optional<int>(id.AsInteger()),
                                 zeilen.FieldByName(QStringLiteral("NR")).AsInteger());
    TierNeuLaden(true);
}

void TfrmStammdaten::KalbungBearbeiten()
{
    if (!EingabenSpeichern(false, false) || kalbungen_.IsEmpty())
        return;
    const db::Field& id = kalbungen_.FieldByName(QStringLiteral("ID"));
    {
        TfrmKalbungEdit dialog(this);
        dialog.KalbungOeffnen(id.IsNull() ? 0 : id.AsInteger(),
                              kalbungen_.FieldByName(QStringLiteral("NR")).AsInteger(), satz_.id,
                              satz_.tier.gebdat);
        // Only OK makes the dialog's work final; leaving the dialog rolls back what is left.
        const bool ok = dialog.exec() == QDialog::Accepted;
        DBTools::TransaktionBeenden(dialog.Transaktion(), ok);
    }
    TierNeuLaden(true);
}

void TfrmStammdaten::KalbZeigen()
{
    if (!EingabenSpeichern(true, false) || kalbungen_.IsEmpty())
        return;
    const int kalbung = kalbungen_.FieldByName(QStringLiteral("ID")).AsInteger();
    const QList<int> kaelber = speicher_->Kaelber(kalbung);
    if (kaelber.isEmpty()) {
        Tools::MeldungError(QStringLiteral("Kein Kalb gefunden!"));
        return;
    }
    if (kaelber.size() == 1) {
        TierWechseln(kaelber.first());
        return;
    }
    int kalb = 0;
    {
        TfrmKalbWaehlen wahl(this);
        wahl.KaelberOeffnen(kalbung);
        if (wahl.exec() != QDialog::Accepted)
            return;
        kalb = wahl.KalbID();
    }
    if (kalb > 0)
        TierWechseln(kalb);
}

void TfrmStammdaten::RindernVerlassen()
{
    bool ok = false;
    const QDate d = DatumLesen(rindern_->text(), ok);
    const QDate heute = ProgDatum::Heute();
    if (!ok || !d.isValid() || d >= heute)
        return;
    rindernFragt_ = true;
    struct Ende {
        bool& b;
        ~Ende() { b = false; }
    } ende{rindernFragt_};
    if (Tools::MeldungConfirm(
            QStringLiteral("Nächstes Rindern ist vor heutigem Datum.\rSoll es auf "
                           "nächstes Datum geändert werden?"),
            0) != Tools::mrYes)
        return;
    const int zyklus = speicher_->RindernZyklus(rasse_->currentData().toInt());
    if (zyklus <= 0) {
        Tools::MeldungInfo(
            QStringLiteral("Für die Rasse des Tieres ist kein Zyklus bis zum "
                           "nächsten Rindern eingetragen.\rDas Datum bleibt "
                           "unverändert."));
        return;
    }
    rindern_->setText(DatumText(NaechstesRindern(d, heute, zyklus)));
    geaendert_ = true;
}

void TfrmStammdaten::TrockenBerechnen()
{
    trocken_->setText(DatumText(speicher_->TrockenBerechnen(satz_.id)));
    geaendert_ = true;
}

void TfrmStammdaten::SchnellWeiterschalten(bool bewegen, bool zurueck)
{
    if (!EingabenSpeichern(true, false))
        return;
    if (schnell_.IsEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Cursor {
        ~Cursor() { QApplication::restoreOverrideCursor(); }
    } cursor;
    if (bewegen) {
        if (zurueck)
            schnell_.Prior();
        else
            schnell_.Next();
    }
    const int id = schnell_.FieldByName(QStringLiteral("ID")).AsInteger();
    if (id != satz_.id)
        TierWechseln(id);
}

void TfrmStammdaten::Auswahl()
{
    if (modus_ == 1) {
        if (!EingabenSpeichern(true, true) && verworfen_)
            TZRDialog::reject();
        return;
    }
    if (!EingabenSpeichern(true, false))
        return;
    int id = 0;
    QString sql;
    if (FTierWahl::TierWaehlen(this, 0, id, sql) && id > 0) {
        TierAnzeigen(id, 0, sql);
        return;
    }
    DM()->TAStammdaten.Commit();
    TZRDialog::reject();
}

bool TfrmStammdaten::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == status_) {
        if (event->type() == QEvent::KeyPress)
            statusTasten_ = true;
        else if (event->type() == QEvent::KeyRelease)
            statusTasten_ = false;
        else if (event->type() == QEvent::FocusOut && statusGeaendert_ &&
                 !QApplication::activePopupWidget()) {
            statusGeaendert_ = false;
            EingabenSpeichern(false, false);
        }
    }
    if (watched == rindern_ && event->type() == QEvent::FocusOut && !rindernFragt_ &&
        !QApplication::activePopupWidget())
        RindernVerlassen();
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return TZRDialog::eventFilter(watched, event);
    auto* w = static_cast<QWidget*>(watched);
    if (w->window() != this || QApplication::activePopupWidget())
        return false;
    auto* k = static_cast<QKeyEvent*>(event);
    const TTaste t = TasteAuswerten(k->key(), k->modifiers(), seite_);
    switch (t.aktion) {
        case TTaste::Zurueck:
        case TTaste::Weiter:
            if (modus_ == 0)
                Sicher([&] { SchnellWeiterschalten(true, t.aktion == TTaste::Zurueck); });
            return true;
        case TTaste::Seite:
            Sicher([&] { SeiteWechseln(t.seite); });
            return true;
        case TTaste::Besamung:
            if (besamungenKnopf_->isEnabled())
                Sicher([&] { BesamungBearbeiten(true); });
            return true;
        case TTaste::Kalbung:
            if (kalbungenKnopf_->isEnabled())
                Sicher([&] { KalbungEingeben(true); });
            return true;
        case TTaste::Kurven:
        case TTaste::Leistungen:
            // Their buttons stay disabled until the chart windows exist.
            return true;
        case TTaste::Keine:
            break;
    }
    if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
        k->modifiers() == Qt::NoModifier) {
        QWidget* feld = w;
        while (feld && !feld->property("enterWeiter").toBool() && feld != this)
            feld = feld->parentWidget();
        if (!feld || feld == this)
            return false;
        if (feld == gebdat_)
            (maennlich_->isChecked() ? static_cast<QWidget*>(maennlich_) : weiblich_)->setFocus();
        else if (feld == maennlich_ || feld == weiblich_)
            rasse_->setFocus();
        else
            focusNextChild();
        return true;
    }
    return false;
}

void TfrmStammdaten::reject()
{
    if (verworfen_ && !geaendert_) {
        TZRDialog::reject();
        return;
    }
    if (modus_ == 1 && satz_.id <= 0 && !geaendert_) {
        TZRDialog::reject();
        return;
    }
    bool ok = EingabenSpeichern(true, true);
    if (ok)
        DM()->TAStammdaten.Commit();
    if (ok || verworfen_)
        TZRDialog::reject();
}

void TfrmStammdaten::Drucken()
{
    if (!EingabenSpeichern(true, false) || satz_.id <= 0)
        return;
    TDM& dm = *DM();
    // The printouts read in transactions of their own: they see what the card stored once it is
    // committed.
    if (dm.TAStammdaten.Active())
        dm.TAStammdaten.CommitRetaining();
    TfrmStammdatenDrucken dialog(this);
    dialog.Setzen(DruckAuswahlVorbelegen(seite_, hatKalbungen_));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TDruckAuswahl auswahl = dialog.Auswahl();
    const int id = satz_.id;
    const auto bericht = [id](auto&& druck) {
        druck.TierID = id;
        druck.Vorschau();
    };
    if (auswahl.Gewaehlt(TTierDruck::Stammdaten))
        bericht(TDruckStammdatenblatt(dm.Datenbank));
    if (auswahl.Gewaehlt(TTierDruck::Tierarzt))
        bericht(TDruckTierarztTier(dm.Datenbank));
    if (auswahl.Gewaehlt(TTierDruck::MLPDaten))
        bericht(TDruckMLPDatenTier(dm.Datenbank));
    const auto grafik = [&](auto g) {
        g->TierID = id;
        g->Drucken();
    };
    if (auswahl.Gewaehlt(TTierDruck::Laktationsgrafik)) {
        SeiteAktualisieren(sLaktation);
        auto g = TLaktationsgrafikTier::CreateDruck(&dm.TAStammdaten, &laktation_->Leistungen(),
                                                    TierBezeichnung(), auswahl.farbig);
        g->OptionenUebernehmen(laktation_->Grafik());
        grafik(std::move(g));
    }
    if (auswahl.Gewaehlt(TTierDruck::Besamungsindex)) {
        SeiteAktualisieren(sBesamungsindex);
        grafik(TierGrafikDruck<TBesamungsindexTier>(&dm.TAStammdaten, TierBezeichnung(),
                                                    auswahl.farbig));
    }
    if (auswahl.Gewaehlt(TTierDruck::Zwischenkalbezeit)) {
        SeiteAktualisieren(sZwischenkalbezeit);
        grafik(TierGrafikDruck<TZwischenkalbezeitTier>(&dm.TAStammdaten, TierBezeichnung(),
                                                       auswahl.farbig));
    }
}
