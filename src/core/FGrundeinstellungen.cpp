#include "FGrundeinstellungen.h"

#include "Besamungsstation.h"
#include "Betriebsgruppe.h"
#include "Betriebsstaette.h"
#include "DBTools.h"
#include "Datenmodul.h"
#include "Grundeinstellungen.h"
#include "Rasse.h"
#include "SilentAbort.h"

#include <BesamungConst.h>
#include <BesamungFunc.h>
#include <Error.h>
#include <Field.h>
#include <FloatEditRegeln.h>
#include <Meldung.h>
#include <ZRPropGrid.h>

#include <AMCbRb.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>
#include <iterator>
#include <limits>
#include <stdexcept>

using namespace GrundeinstellungenDaten;

namespace {

constexpr int KategorieRolle = Qt::UserRole;
constexpr int BildRolle = Qt::UserRole + 1;

QIcon KategorieBild(int index)
{
    struct Bild {
        const char* thema;
        QStyle::StandardPixmap ersatz;
    };
    static const Bild bilder[] = {
        {"go-home", QStyle::SP_DirHomeIcon},                            // 0 farm
        {"office-chart-line", QStyle::SP_FileDialogContentsView},       // 1 forecasts
        {"emblem-favorite", QStyle::SP_DialogYesButton},                // 2 fertility
        {"preferences-desktop-color", QStyle::SP_DesktopIcon},          // 3 colours
        {"drive-harddisk", QStyle::SP_DriveHDIcon},                     // 4 backup, updates
        {"view-list-details", QStyle::SP_FileDialogListView},           // 5 breeds
        {"appointment-new", QStyle::SP_FileDialogInfoView},             // 6 appointments
        {"text-x-generic", QStyle::SP_FileIcon},                        // 7
        {"network-transmit", QStyle::SP_DriveNetIcon},                  // 8 national database
        {"folder", QStyle::SP_DirIcon},                                 // 9 holdings, premises
        {"accessories-calculator", QStyle::SP_FileDialogDetailedView},  // 10 livestock units
    };
    const Bild& b = bilder[std::clamp(index, 0, int(std::size(bilder)) - 1)];
    return QIcon::fromTheme(QString::fromLatin1(b.thema),
                            QApplication::style()->standardIcon(b.ersatz));
}

// The category list: icon at 2 pixels from the left, caption at 22; the selected entry bold.
class KategorieDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool gewaehlt = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(option.rect, gewaehlt ? option.palette.highlight() : option.palette.base());
        const QIcon bild = KategorieBild(index.data(BildRolle).toInt());
        const int seite = 16;
        bild.paint(p, QRect(option.rect.left() + 2,
                            option.rect.top() + (option.rect.height() - seite) / 2, seite, seite));
        QFont f = option.font;
        f.setBold(gewaehlt);
        p->setFont(f);
        p->setPen(gewaehlt ? option.palette.highlightedText().color()
                           : option.palette.text().color());
        p->drawText(option.rect.adjusted(22, 2, -2, 0), Qt::AlignLeft | Qt::AlignTop,
                    index.data(Qt::DisplayRole).toString());
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QFont f = option.font;
        f.setBold(true);
        const QFontMetrics fm(f);
        return {22 + fm.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 8,
                std::max(18, fm.boundingRect(QStringLiteral("A")).height() + 4)};
    }
};

// A "T"/"F" column shown as a check box.
class JaNeinDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasCheckIndicator;
        option->checkState = index.data(Qt::DisplayRole).toString() == QLatin1String("T")
                                 ? Qt::Checked
                                 : Qt::Unchecked;
        option->text.clear();
    }
};

// The list colours, Windows colour values ($BBGGRR).
constexpr unsigned Listenfarben[15] = {0xFFFFFF, 0xC0C0C0, 0x00FF00, 0x00FFFF, 0xFF00FF,
                                       0xFFFF00, 0x91C8FF, 0x8080FF, 0x80FFFF, 0x80FF80,
                                       0x80FF00, 0xFFFF80, 0xFFAE5E, 0xFF80FF, 0x3399FF};

QColor WindowsFarbe(unsigned bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QPixmap Farbfeld(unsigned bgr, const QSize& groesse)
{
    QPixmap bild(groesse);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    const QRect innen = QRect(QPoint(0, 0), groesse).adjusted(3, 3, -4, -4);
    p.fillRect(innen, WindowsFarbe(bgr));
    p.setPen(Qt::black);
    p.drawRect(innen);
    return bild;
}

QTableView* NeuesDatenGitter(QWidget* parent, db::DataSetModel& modell, const QString& name)
{
    auto* g = new QTableView(parent);
    g->setObjectName(name);
    g->setModel(&modell);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->verticalHeader()->hide();
    g->setWordWrap(false);
    g->horizontalHeader()->setStretchLastSection(true);
    // The dataset follows the grid's row, the grid the dataset's record.
    QObject::connect(g->selectionModel(), &QItemSelectionModel::currentRowChanged, g,
                     [&modell](const QModelIndex& aktuell) {
                         db::DataSet* d = modell.GetDataSet();
                         if (d && d->Active() && aktuell.isValid() && d->RecNo() != aktuell.row())
                             d->MoveTo(aktuell.row());
                     });
    QObject::connect(&modell, &db::DataSetModel::CurrentRowChanged, g, [g](int zeile) {
        if (zeile >= 0 && g->currentIndex().row() != zeile)
            g->setCurrentIndex(g->model()->index(zeile, std::max(0, g->currentIndex().column())));
    });
    return g;
}

// Puts the grid's columns in the given field order, hiding every other field; the "T"/"F" fields
// named in `haken` show as check boxes.
void Spalten(db::DataSet& d, db::DataSetModel& m, QTableView* g,
             const QList<std::pair<QString, QString>>& felder, const QStringList& haken = {})
{
    for (int i = 0; i < d.FieldCount(); ++i)
        d.Fields(i).Visible = false;
    for (const auto& [feld, titel] : felder) {
        d.FieldByName(feld).Visible = true;
        d.FieldByName(feld).DisplayLabel = titel;
    }
    m.Reset();
    QHeaderView* kopf = g->horizontalHeader();
    for (int ziel = 0; ziel < felder.size(); ++ziel) {
        const int spalte = m.ColumnOfField(felder[ziel].first);
        kopf->moveSection(kopf->visualIndex(spalte), ziel);
    }
    // The view's own delegate is a QStyledItemDelegate too: find ours by its name.
    auto* delegat = g->findChild<QStyledItemDelegate*>(QStringLiteral("JaNein"),
                                                       Qt::FindDirectChildrenOnly);
    if (!delegat) {
        delegat = new JaNeinDelegate(g);
        delegat->setObjectName(QStringLiteral("JaNein"));
    }
    for (int spalte = 0; spalte < m.columnCount(); ++spalte)
        g->setItemDelegateForColumn(spalte, nullptr);
    for (const QString& feld : haken)
        g->setItemDelegateForColumn(m.ColumnOfField(feld), delegat);
    g->resizeColumnsToContents();
}

QPushButton* Knopf(QWidget* parent, const QString& text, const QString& name,
                   const QString& hinweis = {})
{
    auto* k = new QPushButton(text, parent);
    k->setObjectName(name);
    if (!hinweis.isEmpty())
        k->setToolTip(hinweis);
    return k;
}

QCheckBox* Schalter(QWidget* parent, const QString& text, const QString& name)
{
    auto* c = new TAMCheckBox(parent);
    c->setText(text);
    c->setObjectName(name);
    return c;
}

QLineEdit* Text(QWidget* parent, const QString& name)
{
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    return t;
}

QComboBox* Auswahl(QWidget* parent, const QString& name, const QStringList& eintraege = {})
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(eintraege);
    return c;
}

QLabel* Beschriftung(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(false);
    return l;
}

struct TZeilenKnopf {
    QString text, name, hinweis;
    std::function<void()> aktion;
};

// The pages of master rows share one look: a title, the grid, and their buttons below it.
void ZeilenSeiteAufbauen(QWidget* seite, QTableView* gitter, const QString& titel,
                         const std::vector<TZeilenKnopf>& knoepfe)
{
    auto* leiste = new QHBoxLayout;
    for (const TZeilenKnopf& k : knoepfe) {
        auto* knopf = Knopf(seite, k.text, k.name, k.hinweis);
        QObject::connect(knopf, &QPushButton::clicked, seite, k.aktion);
        leiste->addWidget(knopf);
    }
    leiste->addStretch();
    auto* layout = new QVBoxLayout(seite);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Beschriftung(seite, titel));
    layout->addWidget(gitter, 1);
    layout->addLayout(leiste);
}

int Zahlwert(const TZahlEdit* edit)
{
    return int(edit->Value().value_or(0));
}

}  // namespace

TZahlEdit::TZahlEdit(QWidget* parent) : QLineEdit(parent)
{
    bereich_.allowNull = false;
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TZahlEdit::SetDigits(int digits)
{
    const std::optional<long double> wert = Value();
    bereich_.digits = std::clamp(digits, 0, FloatEditRegeln::MaxDigits);
    SetValue(wert);
}

void TZahlEdit::SetMin(long double min)
{
    bereich_.min = std::min(min, bereich_.max);
}

void TZahlEdit::SetMax(long double max)
{
    bereich_.max = std::max(max, bereich_.min);
}

FloatEditRegeln::Lesung TZahlEdit::Lesen() const
{
    return FloatEditRegeln::Lesen(text(), bereich_);
}

std::optional<long double> TZahlEdit::Value() const
{
    FloatEditRegeln::Bereich offen = bereich_;
    offen.min = -std::numeric_limits<long double>::max();
    offen.max = std::numeric_limits<long double>::max();
    offen.allowNull = true;
    const FloatEditRegeln::Lesung l = FloatEditRegeln::Lesen(text(), offen);
    if (l.art != FloatEditRegeln::Lesung::Zahl)
        return std::nullopt;
    return l.wert;
}

void TZahlEdit::SetValue(std::optional<long double> value)
{
    setText(value ? FloatEditRegeln::ZahlText(*value, bereich_.digits, bereich_.sep) : QString());
}

void TZahlEdit::keyPressEvent(QKeyEvent* event)
{
    const QString zeichen = event->text();
    if (zeichen.isEmpty() || !zeichen.at(0).isPrint() ||
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    using Taste = FloatEditRegeln::Taste;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int laenge = hasSelectedText() ? int(selectedText().size()) : 0;
    const Taste t = FloatEditRegeln::Zeichen(text(), start, laenge, zeichen.at(0), bereich_);
    event->accept();
    if (t.art == Taste::Ablehnen) {
        QApplication::beep();
        return;
    }
    if (t.art == Taste::Ersetzen) {
        setText(t.text);
        setSelection(t.selStart, t.selLen);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

TfrmGrundeinstellungen::TfrmGrundeinstellungen(TEinstellungen& einstellungen,
                                               db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      e_(einstellungen),
      taGrund_(datenbank, QStringLiteral("TAGrundeinstellungen")),
      gruppen_(taGrund_),
      staetten_(taGrund_),
      rassen_(taGrund_),
      gvSchluessel_(taGrund_)
{
    setWindowTitle(QStringLiteral("Grundeinstellungen"));
    setHelpContext(13100);
    setObjectName(QStringLiteral("frmGrundeinstellungen"));

    gruppen_.SetSelectSQL(QStringLiteral(
        "select G.*, CASE WHEN NUMMER IS NULL THEN NULL ELSE ZRNV_FORMATBNR(NUMMER) END BNR "
        "from T_BETRIEBSGRUPPEN G"));
    gruppen_.SetDeleteSQL(QStringLiteral("DELETE FROM T_BETRIEBSGRUPPEN WHERE ID = :OLD_ID"));
    staetten_.SetSelectSQL(QStringLiteral("select * from V_BETRIEBSSTAETTEN_GRUPPEN"));
    staetten_.SetDeleteSQL(QStringLiteral("DELETE FROM T_BETRIEBSSTAETTEN WHERE ID = :OLD_ID"));
    rassen_.SetSelectSQL(QStringLiteral("select * from T_RASSEN where verwendet = 'T'"));
    rassen_.SetModifySQL(QStringLiteral(
        "UPDATE T_RASSEN SET VERWENDET = :VERWENDET, "
        "TRAECHTIG_UNTERSUCHUNG = :TRAECHTIG_UNTERSUCHUNG, TROCKENSTELLEN = :TROCKENSTELLEN, "
        "SOLL_KALBEN = :SOLL_KALBEN, NAECHSTES_RINDERN = :NAECHSTES_RINDERN, "
        "KALB_BESAMEN_ANZEIGEN = :KALB_BESAMEN_ANZEIGEN, "
        "KUH_BESAMEN_ANZEIGEN = :KUH_BESAMEN_ANZEIGEN WHERE ID = :OLD_ID"));
    QStringList faktoren;
    for (const GVFaktor& f : GVFaktoren())
        faktoren << f.feld;
    gvSchluessel_.SetSelectSQL(
        QStringLiteral("select * from T_GV_SCHLUESSEL order by BEZEICHNUNG"));
    gvSchluessel_.SetInsertSQL(
        QStringLiteral("INSERT INTO T_GV_SCHLUESSEL (ID, BEZEICHNUNG, %1) "
                       "VALUES (:ID, :BEZEICHNUNG, :%2)")
            .arg(faktoren.join(QStringLiteral(", ")), faktoren.join(QStringLiteral(", :"))));
    QStringList setzen{QStringLiteral("BEZEICHNUNG = :BEZEICHNUNG")};
    for (const QString& f : faktoren)
        setzen << f + QStringLiteral(" = :") + f;
    gvSchluessel_.SetModifySQL(QStringLiteral("UPDATE T_GV_SCHLUESSEL SET %1 WHERE ID = :OLD_ID")
                                   .arg(setzen.join(QStringLiteral(", "))));
    gvSchluessel_.SetDeleteSQL(QStringLiteral("DELETE FROM T_GV_SCHLUESSEL WHERE ID = :OLD_ID"));
    gvSchluessel_.SetGenerator(QStringLiteral("ID"), QStringLiteral("GEN_T_GV_SCHLUESSEL_ID"));
    gruppenModell_.SetDataSet(&gruppen_);
    staettenModell_.SetDataSet(&staetten_);
    rassenModell_.SetDataSet(&rassen_);

    kategorien_ = new QListWidget(this);
    kategorien_->setObjectName(QStringLiteral("lbKategorien"));
    kategorien_->setItemDelegate(new KategorieDelegate(kategorien_));
    seiten_ = new QStackedWidget(this);
    ok_ = Knopf(this, QStringLiteral("Ok"), QStringLiteral("btnOk"));
    abbrechen_ = Knopf(this, QStringLiteral("Abbrechen"), QStringLiteral("btnAbbrechen"));
    hilfe_ = Knopf(this, QStringLiteral("Hilfe"), QStringLiteral("btnHilfe"));
    ok_->setDefault(true);

    // Pages in the order of the categories.
    seiten_->addWidget(SeiteBetrieb());
    seiten_->addWidget(SeiteBetriebsgruppen());
    seiten_->addWidget(SeiteBetriebsstaetten());
    seiten_->addWidget(SeiteRassen());
    seiten_->addWidget(SeiteFruchtbarkeit());
    seiten_->addWidget(SeiteEigenbesamung());
    seiten_->addWidget(SeiteTermine());
    seiten_->addWidget(SeitePrognosen());
    seiten_->addWidget(SeiteGV());
    seiten_->addWidget(SeiteHIT());
    seiten_->addWidget(SeiteHITSystem());
    seiten_->addWidget(SeiteFarben());
    seiten_->addWidget(SeiteSicherung());
    seiten_->addWidget(SeiteUpdates());
    KategorienAnlegen();

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    knoepfe->addWidget(hilfe_);
    auto* oben = new QHBoxLayout;
    oben->addWidget(kategorien_);
    oben->addWidget(seiten_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(oben, 1);
    layout->addLayout(knoepfe);

    connect(ok_, &QPushButton::clicked, this, &TfrmGrundeinstellungen::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmGrundeinstellungen::reject);
    connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });

    EinstellungenLaden();
    KategorieZeigen(TGrundKat::gkBetrieb);
    resize(sizeHint().expandedTo(QSize(860, 560)));
}

TfrmGrundeinstellungen::~TfrmGrundeinstellungen() = default;

void TfrmGrundeinstellungen::KategorienAnlegen()
{
    int breite = 0;
    for (const Kategorie& k : Kategorien()) {
        auto* eintrag = new QListWidgetItem(k.text, kategorien_);
        eintrag->setData(KategorieRolle, int(k.wert));
        eintrag->setData(BildRolle, k.bild);
        QStyleOptionViewItem option;
        option.initFrom(kategorien_);
        breite = std::max(
            breite, kategorien_->itemDelegate()
                        ->sizeHint(option, kategorien_->model()->index(kategorien_->count() - 1, 0))
                        .width());
    }
    kategorien_->setFixedWidth(breite + 2 * kategorien_->frameWidth() + 4);
    connect(kategorien_, &QListWidget::currentRowChanged, this, [this](int zeile) {
        if (zeile < 0)
            return;
        // The breed's values go into its record before another page may move the breeds.
        if (zeile != seiten_->currentIndex() &&
            seiten_->currentIndex() == int(TGrundKat::gkFruchtbarkeit) && !RasseUebernehmen()) {
            const QSignalBlocker sperre(kategorien_);
            kategorien_->setCurrentRow(int(TGrundKat::gkFruchtbarkeit));
            return;
        }
        seiten_->setCurrentIndex(zeile);
        const Kategorie& k = Kategorien()[std::size_t(zeile)];
        setHelpContext(k.hilfe);
        if (k.wert == TGrundKat::gkFruchtbarkeit) {
            RassenwahlFuellen();
            RasseZeigen();
        }
    });
}

QWidget* TfrmGrundeinstellungen::Seite(TGrundKat kategorie) const
{
    return seiten_->widget(int(kategorie));
}

void TfrmGrundeinstellungen::KategorieZeigen(TGrundKat kategorie)
{
    kategorien_->setCurrentRow(int(kategorie));
}

TZahlEdit* TfrmGrundeinstellungen::Zahl(const QString& name, TGrundKat seite,
                                        const QString& feldname, int digits, long double min,
                                        long double max)
{
    auto* edit = new TZahlEdit(this);
    edit->setObjectName(name);
    edit->SetDigits(digits);
    edit->SetMax(max);
    edit->SetMin(min);
    edit->setMaximumWidth(110);
    zahlen_.push_back({edit, seite, feldname});
    return edit;
}

TZRPropGrid* TfrmGrundeinstellungen::NeuesGitter(QVBoxLayout* ort, TZRPropGrid* altes,
                                                 const QString& name, const QString& titel,
                                                 const QString& werte)
{
    // The grid's rows cannot be removed: another set of rows gets a grid of its own.
    auto* gitter = new TZRPropGrid;
    gitter->setObjectName(name);
    gitter->SetTitleValues(titel);
    gitter->SetTitleData(werte);
    if (altes) {
        // The layout hands back the old grid's item, which is the caller's.
        delete ort->replaceWidget(altes, gitter);
        altes->setObjectName(QString());
        altes->hide();
        altes->deleteLater();
    } else {
        ort->addWidget(gitter, 1);
    }
    return gitter;
}

// ---- pages ----

QWidget* TfrmGrundeinstellungen::SeiteBetrieb()
{
    auto* seite = new QWidget;
    name_ = Text(seite, QStringLiteral("edName"));
    adresse_ = Text(seite, QStringLiteral("edAdresse"));
    plz_ = Text(seite, QStringLiteral("edPLZ"));
    plz_->setMaxLength(5);
    plz_->setMaximumWidth(70);
    ort_ = Text(seite, QStringLiteral("edOrt"));
    flaeche_ = Zahl(QStringLiteral("edFlaeche"), TGrundKat::gkBetrieb, QStringLiteral("Fläche"), 2,
                    0, 10000);
    waehrung_ = Auswahl(seite, QStringLiteral("cbWaehrung"),
                        {QStringLiteral("EUR"), QStringLiteral("DEM"), QStringLiteral("ATS")});
    zeitraum_ = Auswahl(seite, QStringLiteral("cbZeitraum"),
                        {QStringLiteral("alle Daten verwenden"), QStringLiteral("letzten 10 Jahre"),
                         QStringLiteral("letzten 5 Jahre"), QStringLiteral("letzten 3 Jahre"),
                         QStringLiteral("letzten 2 Jahre"), QStringLiteral("letztes Jahr")});
    knr_ =
        Auswahl(seite, QStringLiteral("cbKNR"), {QStringLiteral("123"), QStringLiteral("123456")});

    auto* plzOrt = new QHBoxLayout;
    plzOrt->addWidget(plz_);
    plzOrt->addWidget(ort_, 1);
    auto* flaeche = new QHBoxLayout;
    flaeche->addWidget(flaeche_);
    flaeche->addWidget(Beschriftung(seite, QStringLiteral("ha")));
    flaeche->addStretch();
    auto* form = new QFormLayout(seite);
    form->addRow(QStringLiteral("Name:"), name_);
    form->addRow(QStringLiteral("Adresse:"), adresse_);
    form->addRow(QStringLiteral("PLZ/Ort:"), plzOrt);
    form->addRow(QStringLiteral("Fläche:"), flaeche);
    form->addRow(QStringLiteral("Standardwährung"), waehrung_);
    form->addRow(QStringLiteral("Zeitraum für Berechnungen"), zeitraum_);
    form->addRow(QStringLiteral("KNR Anzeige"), knr_);
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteBetriebsgruppen()
{
    auto* seite = new QWidget;
    gruppenGitter_ = NeuesDatenGitter(seite, gruppenModell_, QStringLiteral("grdBetriebsgruppen"));
    ZeilenSeiteAufbauen(
        seite, gruppenGitter_, QStringLiteral("Betriebsgruppen"),
        {{QStringLiteral("Hinzufügen"), QStringLiteral("btnGruppeNeu"),
          QStringLiteral("Betriebsgruppe hinzufügen"), [this] { GruppeBearbeiten(true); }},
         {QStringLiteral("Entfernen"), QStringLiteral("btnGruppeEntfernen"),
          QStringLiteral("Betriebsgruppe entfernen"), [this] { GruppeEntfernen(); }},
         {QStringLiteral("Bearbeiten"), QStringLiteral("btnGruppeBearbeiten"),
          QStringLiteral("Betriebsgruppe bearbeiten"), [this] { GruppeBearbeiten(false); }}});
    connect(gruppenGitter_, &QTableView::doubleClicked, this, [this] { GruppeBearbeiten(false); });
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteBetriebsstaetten()
{
    auto* seite = new QWidget;
    staettenGitter_ =
        NeuesDatenGitter(seite, staettenModell_, QStringLiteral("grdBetriebsstaetten"));
    ZeilenSeiteAufbauen(
        seite, staettenGitter_, QStringLiteral("Betriebsstätten"),
        {{QStringLiteral("Hinzufügen"), QStringLiteral("btnStaetteNeu"),
          QStringLiteral("Betriebsstätte hinzufügen"), [this] { StaetteBearbeiten(true); }},
         {QStringLiteral("Entfernen"), QStringLiteral("btnStaetteEntfernen"),
          QStringLiteral("Betriebsstätte entfernen"), [this] { StaetteEntfernen(); }},
         {QStringLiteral("Bearbeiten"), QStringLiteral("btnStaetteBearbeiten"),
          QStringLiteral("Betriebsstätte bearbeiten"), [this] { StaetteBearbeiten(false); }}});
    connect(staettenGitter_, &QTableView::doubleClicked, this,
            [this] { StaetteBearbeiten(false); });
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteRassen()
{
    auto* seite = new QWidget;
    rassenGitter_ = NeuesDatenGitter(seite, rassenModell_, QStringLiteral("grdRassen"));
    auto* leer =
        new QLabel(QStringLiteral("< Keine Rasse eingestellt >"), rassenGitter_->viewport());
    leer->setObjectName(QStringLiteral("lblKeineRasse"));
    leer->move(8, 8);
    const auto leerZeigen = [this, leer] { leer->setVisible(rassenModell_.rowCount() == 0); };
    connect(&rassenModell_, &QAbstractItemModel::modelReset, leer, leerZeigen);
    connect(&rassenModell_, &QAbstractItemModel::rowsInserted, leer, leerZeigen);
    connect(&rassenModell_, &QAbstractItemModel::rowsRemoved, leer, leerZeigen);
    ZeilenSeiteAufbauen(seite, rassenGitter_, QStringLiteral("Im Programm verwendbare Rassen"),
                        {{QStringLiteral("Hinzufügen"), QStringLiteral("btnRasseNeu"),
                          QStringLiteral("Rasse hinzufügen"), [this] { RasseHinzufuegen(); }},
                         {QStringLiteral("Entfernen"), QStringLiteral("btnRasseEntfernen"),
                          QStringLiteral("Rasse entfernen"), [this] { RasseEntfernen(); }}});
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteFruchtbarkeit()
{
    auto* seite = new QWidget;
    rassenWahl_ = Auswahl(seite, QStringLiteral("cbRasse"));
    rassenWahl_->setMinimumContentsLength(24);
    connect(rassenWahl_, &QComboBox::activated, this, &TfrmGrundeinstellungen::RasseGewaehlt);

    struct Zeile {
        const char* vor;
        const char* feld;
        const char* nach;
        int max;
    };
    static const Zeile zeilen[] = {
        {"Kälber mit", "KALB_BESAMEN_ANZEIGEN", "Tagen zum besamen anzeigen", 1000},
        {"nächstes Rindern", "NAECHSTES_RINDERN", "Tage nach Besamung", 50},
        {"Trächtigkeitsuntersuchung", "TRAECHTIG_UNTERSUCHUNG", "Tage nach Besamung", 300},
        {"trockenstellen mit", "TROCKENSTELLEN", "Tagen nach Besamung", 500},
        {"soll kalben mit", "SOLL_KALBEN", "Tagen nach Besamung", 600},
        {"Kühe mit", "KUH_BESAMEN_ANZEIGEN", "Tagen nach Kalbung zum bes. anzeigen", 300},
    };
    auto* raster = new QGridLayout;
    raster->addWidget(Beschriftung(seite, QStringLiteral("Rasse:")), 0, 0);
    raster->addWidget(rassenWahl_, 0, 1, 1, 3);
    int r = 1;
    for (const Zeile& z : zeilen) {
        const QString feld = QString::fromLatin1(z.feld);
        TZahlEdit* edit = Zahl(QStringLiteral("ed") + feld, TGrundKat::gkFruchtbarkeit,
                               QString::fromUtf8(z.vor), 0, 1, z.max);
        fruchtbarkeit_.push_back({edit, feld});
        raster->addWidget(Beschriftung(seite, QString::fromUtf8(z.vor)), r, 0);
        raster->addWidget(edit, r, 1);
        raster->addWidget(Beschriftung(seite, QString::fromUtf8(z.nach)), r, 2);
        if (feld == QLatin1String("SOLL_KALBEN")) {
            sollKalben_ = edit;
            auto* berechnen =
                Knopf(seite, QStringLiteral("Berechnen"), QStringLiteral("btnSollKalbenBerechnen"));
            connect(berechnen, &QPushButton::clicked, this,
                    &TfrmGrundeinstellungen::SollKalbenBerechnen);
            raster->addWidget(berechnen, r, 3);
        }
        ++r;
    }
    raster->setColumnStretch(4, 1);
    auto* layout = new QVBoxLayout(seite);
    layout->addLayout(raster);
    layout->addStretch();
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteEigenbesamung()
{
    auto* seite = new QWidget;
    stationen_ = Auswahl(seite, QStringLiteral("cbStation"));
    stationen_->setMinimumContentsLength(30);
    auto* neu = Knopf(seite, QStringLiteral("Besamungsstation hinzufügen"),
                      QStringLiteral("btnStationNeu"));
    stationEntfernen_ = Knopf(seite, QStringLiteral("Besamungsstation entfernen"),
                              QStringLiteral("btnStationEntfernen"));
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(neu);
    knoepfe->addWidget(stationEntfernen_);
    knoepfe->addStretch();
    stationOrt_ = new QVBoxLayout(seite);
    stationOrt_->setContentsMargins(0, 0, 0, 0);
    stationOrt_->addWidget(Beschriftung(seite, QStringLiteral("Besamungsstation")));
    stationOrt_->addWidget(stationen_);
    stationOrt_->addLayout(knoepfe);
    connect(stationen_, &QComboBox::activated, this, &TfrmGrundeinstellungen::StationGewaehlt);
    connect(neu, &QPushButton::clicked, this, &TfrmGrundeinstellungen::StationHinzufuegen);
    connect(stationEntfernen_, &QPushButton::clicked, this,
            &TfrmGrundeinstellungen::StationEntfernen);
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteTermine()
{
    auto* seite = new QWidget;
    terminListe_ = Auswahl(seite, QStringLiteral("cbTerminliste"));
    terminListe_->setMinimumContentsLength(24);
    terminStart_ = Schalter(seite, QStringLiteral("Termine bei Programmstart anzeigen"),
                            QStringLiteral("cbTermineStart"));
    autostart_ = Schalter(seite, QStringLiteral("Termine bei Start des Computers anzeigen"),
                          QStringLiteral("cbAutostart"));
    auto* liste = new QHBoxLayout;
    liste->addWidget(Beschriftung(seite, QStringLiteral("Terminliste:")));
    liste->addWidget(terminListe_);
    liste->addStretch();
    auto* layout = new QVBoxLayout(seite);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(liste);
    layout->addWidget(terminStart_);
    layout->addWidget(autostart_);
    terminGitter_ = NeuesGitter(layout, nullptr, QStringLiteral("grdTermine"),
                                QStringLiteral("Parameter"), QStringLiteral("Werte"));
    terminGitter_->setColumnWidth(
        0, terminGitter_->fontMetrics().horizontalAdvance(
               QStringLiteral("Anfüttern x Tage vor voraussichtlicher Kalbung beginnen")) +
               10);
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeitePrognosen()
{
    auto* seite = new QWidget;
    const TGrundKat p = TGrundKat::gkPrognosen;
    maxKuhzahl_ =
        Zahl(QStringLiteral("edMaxKuhzahl"), p, QStringLiteral("max. Kuhzahl"), 0, 0, 1000);
    mKalbVerkaufen_ =
        Zahl(QStringLiteral("edMKalbVerkaufen"), p, QStringLiteral("m. Kälber mit"), 0, 0, 1000);
    kalbBesamen_ =
        Zahl(QStringLiteral("edKalbBesamen"), p, QStringLiteral("Kälber mit"), 0, 0, 1000);
    kuhBesamen_ = Zahl(QStringLiteral("edKuhBesamen"), p, QStringLiteral("1. Besamung"), 0, 0, 400);
    mastVerkaufen_ =
        Zahl(QStringLiteral("edMastVerkaufen"), p, QStringLiteral("Masttiere mit"), 0, 0, 1000);
    prognoseGV_ = Auswahl(seite, QStringLiteral("cbPrognoseGV"));
    prognoseGV_->setMinimumContentsLength(20);
    gvLinie_ = Schalter(seite, QStringLiteral("GV in Tierbestandsgrafik anzeigen"),
                        QStringLiteral("cbGVLinie"));

    auto* raster = new QGridLayout;
    raster->addWidget(Beschriftung(seite, QStringLiteral("max. Kuhzahl:")), 0, 0);
    raster->addWidget(maxKuhzahl_, 0, 1);
    struct Zeile {
        const char* vor;
        TZahlEdit* edit;
        const char* nach;
        const char* knopf;
        std::function<std::optional<int>(db::Transaction&, const QDate&)> rechnen;
    };
    const Zeile zeilen[] = {
        {"m. Kälber mit", mKalbVerkaufen_, "Tagen verkaufen", "btnMKalbBerechnen",
         Berechnen::MKaelberVerkaufen},
        {"Kälber mit", kalbBesamen_, "Tagen besamen", "btnKalbBerechnen", Berechnen::KalbBesamen},
        {"1. Besamung", kuhBesamen_, "Tage nach Kalbung", "btnKuhBerechnen", Berechnen::KuhBesamen},
        {"Masttiere mit", mastVerkaufen_, "Tagen verkaufen", "btnMastBerechnen",
         Berechnen::MastVerkaufen},
    };
    int r = 1;
    for (const Zeile& z : zeilen) {
        raster->addWidget(Beschriftung(seite, QString::fromUtf8(z.vor)), r, 0);
        raster->addWidget(z.edit, r, 1);
        raster->addWidget(Beschriftung(seite, QString::fromUtf8(z.nach)), r, 2);
        auto* k = Knopf(seite, QStringLiteral("Berechnen"), QString::fromLatin1(z.knopf));
        raster->addWidget(k, r, 3);
        connect(k, &QPushButton::clicked, this, [this, edit = z.edit, rechnen = z.rechnen] {
            BerechnetSetzen(edit, rechnen(taGrund_, e_.ZeitraumBeginn()));
        });
        ++r;
    }
    raster->setColumnStretch(4, 1);
    auto* gv = new QHBoxLayout;
    gv->addWidget(Beschriftung(seite, QStringLiteral("zu verwendender GV - Schlüssel")));
    gv->addWidget(prognoseGV_);
    gv->addStretch();
    auto* layout = new QVBoxLayout(seite);
    layout->addLayout(raster);
    layout->addSpacing(12);
    layout->addLayout(gv);
    layout->addWidget(gvLinie_);
    layout->addStretch();
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteGV()
{
    auto* seite = new QWidget;
    gvWahl_ = Auswahl(seite, QStringLiteral("cbGVSchluessel"));
    gvWahl_->setMinimumContentsLength(24);
    auto* neu = Knopf(seite, QStringLiteral("Schlüssel hinzufügen"), QStringLiteral("btnGVNeu"));
    auto* weg =
        Knopf(seite, QStringLiteral("Schlüssel entfernen"), QStringLiteral("btnGVEntfernen"));
    auto* wahl = new QHBoxLayout;
    wahl->addWidget(gvWahl_);
    wahl->addWidget(neu);
    wahl->addWidget(weg);
    wahl->addStretch();
    gvOrt_ = new QVBoxLayout(seite);
    gvOrt_->setContentsMargins(0, 0, 0, 0);
    gvOrt_->addWidget(Beschriftung(seite, QStringLiteral("GV Schlüssel:")));
    gvOrt_->addLayout(wahl);
    connect(gvWahl_, &QComboBox::activated, this, &TfrmGrundeinstellungen::GVSchluesselGewaehlt);
    connect(neu, &QPushButton::clicked, this, &TfrmGrundeinstellungen::GVSchluesselHinzufuegen);
    connect(weg, &QPushButton::clicked, this, &TfrmGrundeinstellungen::GVSchluesselEntfernen);
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteHIT()
{
    auto* seite = new QWidget;
    meldefrist_ = Zahl(QStringLiteral("edMeldefrist"), TGrundKat::gkHIT,
                       QStringLiteral("Meldefrist"), 0, 0, 10);
    meldungAuto_ = Schalter(
        seite, QStringLiteral("Meldepflichtige Aktionen automatisch in die Meldungsliste stellen"),
        QStringLiteral("cbMeldungAuto"));
    frageEnde_ = Schalter(
        seite, QStringLiteral("Beim Programmende auf ausstehende HIT - Meldungen hinweisen"),
        QStringLiteral("cbFrageEnde"));
    dfue_ = Schalter(seite, QStringLiteral("DFÜ Netzwerk verwenden"), QStringLiteral("cbDFUE"));
    geburtVerlauf_ = Schalter(seite, QStringLiteral("Geburtsverlauf"), QStringLiteral("cbVerlauf"));
    geburtVerbleib_ = Schalter(seite, QStringLiteral("Verbleib"), QStringLiteral("cbVerbleib"));
    geburtET_ = Schalter(seite, QStringLiteral("Embryotransfer"), QStringLiteral("cbET"));
    geburtName_ = Schalter(seite, QStringLiteral("Tiername"), QStringLiteral("cbTiername"));

    auto* frist = new QHBoxLayout;
    frist->addWidget(Beschriftung(seite, QStringLiteral("Meldefrist:")));
    frist->addWidget(meldefrist_);
    frist->addWidget(Beschriftung(seite, QStringLiteral("Tage")));
    frist->addStretch();
    auto* geburt = new QGroupBox(QStringLiteral("Optionale Felder für die Geburtsmeldung:"), seite);
    auto* felder = new QVBoxLayout(geburt);
    for (QCheckBox* c : {geburtVerlauf_, geburtVerbleib_, geburtET_, geburtName_})
        felder->addWidget(c);
    auto* layout = new QVBoxLayout(seite);
    layout->addLayout(frist);
    layout->addWidget(meldungAuto_);
    layout->addWidget(frageEnde_);
    layout->addWidget(dfue_);
    layout->addWidget(geburt);
    layout->addStretch();
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteHITSystem()
{
    auto* seite = new QWidget;
    const TGrundKat s = TGrundKat::gkHITSystem;
    primaerAddr_ = Text(seite, QStringLiteral("edPrimaerAddr"));
    primaerIP_ = Text(seite, QStringLiteral("edPrimaerIP"));
    sekundaerAddr_ = Text(seite, QStringLiteral("edSekundaerAddr"));
    sekundaerIP_ = Text(seite, QStringLiteral("edSekundaerIP"));
    portNormal_ =
        Zahl(QStringLiteral("edPortNormal"), s, QStringLiteral("Normalsystem"), 0, 0, 65535);
    portTest_ = Zahl(QStringLiteral("edPortTest"), s, QStringLiteral("Testsystem"), 0, 0, 65535);
    systemart_ = Auswahl(seite, QStringLiteral("cbSystemart"),
                         {QStringLiteral("Normalsystem"), QStringLiteral("Testsystem")});
    auto* standard =
        Knopf(seite, QStringLiteral("Standardwerte setzen"), QStringLiteral("btnHITStandard"));
    connect(standard, &QPushButton::clicked, this, &TfrmGrundeinstellungen::HITStandardSetzen);

    auto* warnung = new QLabel(
        QStringLiteral("Diese Werte nur ändern, wenn Sie wissen, was Sie damit bezwecken wollen!"),
        seite);
    warnung->setWordWrap(true);
    QFont fett = warnung->font();
    fett.setBold(true);
    warnung->setFont(fett);
    const auto server = [seite](const QString& titel, QLineEdit* addr, QLineEdit* ip) {
        auto* box = new QGroupBox(titel, seite);
        auto* form = new QFormLayout(box);
        form->addRow(QStringLiteral("Adresse:"), addr);
        form->addRow(QStringLiteral("oder IP:"), ip);
        return box;
    };
    auto* ports = new QGroupBox(QStringLiteral("Server Port"), seite);
    auto* portForm = new QFormLayout(ports);
    portForm->addRow(QStringLiteral("Normalsystem:"), portNormal_);
    portForm->addRow(QStringLiteral("Testsystem:"), portTest_);
    auto* art = new QGroupBox(QStringLiteral("Systemart"), seite);
    auto* artLayout = new QVBoxLayout(art);
    artLayout->addWidget(systemart_);
    artLayout->addStretch();
    auto* unten = new QHBoxLayout;
    unten->addWidget(ports);
    unten->addWidget(art);
    auto* knopf = new QHBoxLayout;
    knopf->addStretch();
    knopf->addWidget(standard);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(warnung);
    layout->addWidget(server(QStringLiteral("Primary Server"), primaerAddr_, primaerIP_));
    layout->addWidget(server(QStringLiteral("Backup Server"), sekundaerAddr_, sekundaerIP_));
    layout->addLayout(unten);
    layout->addLayout(knopf);
    layout->addStretch();
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteFarben()
{
    auto* seite = new QWidget;
    listenfarbe_ = Auswahl(seite, QStringLiteral("cbListenfarbe"));
    const QSize feld(120, 18);
    listenfarbe_->setIconSize(feld);
    for (unsigned farbe : Listenfarben)
        listenfarbe_->addItem(QIcon(Farbfeld(farbe, feld)), QString());
    statusSW_ = Schalter(seite, QStringLiteral("Status-Symbole bei Druck in Schwarz/Weiß drucken"),
                         QStringLiteral("cbStatusSW"));
    symbolHintergrund_ = Schalter(seite, QStringLiteral("Hintergrund bei Symbolleiste ausblenden"),
                                  QStringLiteral("cbSymbolHintergrund"));
    auto* farbe = new QHBoxLayout;
    farbe->addWidget(Beschriftung(seite, QStringLiteral("Listenfarbe:")));
    farbe->addWidget(listenfarbe_);
    farbe->addStretch();
    auto* layout = new QVBoxLayout(seite);
    layout->addLayout(farbe);
    layout->addWidget(statusSW_);
    layout->addWidget(symbolHintergrund_);
    layout->addStretch();
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteSicherung()
{
    auto* seite = new QWidget;
    const auto ordner = [this, seite](QLineEdit*& edit, const QString& name) {
        edit = Text(seite, name);
        auto* waehlen = new QToolButton(seite);
        waehlen->setObjectName(name + QStringLiteral("Waehlen"));
        waehlen->setText(QStringLiteral("..."));
        waehlen->setToolTip(QStringLiteral("Wählen Sie das Sicherungsverzeichnis aus"));
        connect(waehlen, &QToolButton::clicked, this, [this, e = edit] { VerzeichnisWaehlen(e); });
        auto* zeile = new QHBoxLayout;
        zeile->addWidget(edit, 1);
        zeile->addWidget(waehlen);
        return zeile;
    };
    autoSicherung_ =
        Schalter(seite, QStringLiteral("automatische Sicherung am Programmende (1 mal täglich)"),
                 QStringLiteral("cbAutoSicherung"));
    autoAnzahl_ = Zahl(QStringLiteral("edAutoAnzahl"), TGrundKat::gkSicherung,
                       QStringLiteral("Max. Anzahl der zu verwendenden Sicherungen"), 0, 2, 100);
    auto* manuell =
        new QGroupBox(QStringLiteral("Sicherungsverzeichnis (manuelle Sicherung)"), seite);
    auto* manuellLayout = new QVBoxLayout(manuell);
    manuellLayout->addLayout(
        ordner(sicherungVerzeichnis_, QStringLiteral("edSicherungVerzeichnis")));
    auto* automatisch = new QGroupBox(QStringLiteral("Automatische Sicherung"), seite);
    auto* autoLayout = new QVBoxLayout(automatisch);
    autoLayout->addWidget(autoSicherung_);
    autoLayout->addWidget(Beschriftung(automatisch, QStringLiteral("Sicherungsverzeichnis")));
    autoLayout->addLayout(ordner(autoVerzeichnis_, QStringLiteral("edAutoVerzeichnis")));
    auto* anzahl = new QHBoxLayout;
    anzahl->addWidget(
        Beschriftung(automatisch, QStringLiteral("Max. Anzahl der zu verwendenden Sicherungen")));
    anzahl->addWidget(autoAnzahl_);
    anzahl->addStretch();
    autoLayout->addLayout(anzahl);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(manuell);
    layout->addWidget(automatisch);
    layout->addStretch();
    return seite;
}

QWidget* TfrmGrundeinstellungen::SeiteUpdates()
{
    auto* seite = new QWidget;
    updateIntervall_ = Auswahl(
        seite, QStringLiteral("cbUpdateIntervall"),
        {QStringLiteral("Nie"), QStringLiteral("Jedes Monat"), QStringLiteral("Jedes halbe Jahr")});
    letztePruefung_ = Beschriftung(seite, QString());
    letztePruefung_->setObjectName(QStringLiteral("lblLetztePruefung"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Automatische Prüfung auf Updates:"), updateIntervall_);
    form->addRow(QStringLiteral("Letzte Prüfung:"), letztePruefung_);
    auto* layout = new QVBoxLayout(seite);
    layout->addLayout(form);
    layout->addStretch();
    return seite;
}

// ---- loading and storing ----

void TfrmGrundeinstellungen::EinstellungenLaden()
{
    taGrund_.Start();
    {
        // Reading an INI key that is missing writes its default; this bracket is never finished,
        // so that opening and cancelling the dialog leaves the file as it was.
        TIniDatei::Stapel nurLesen(e_.IniDatei());
        dfue_->setChecked(e_.GetDFUEVerwenden());
        listenfarbe_->setCurrentIndex(e_.GetListenmuster());
        statusSW_->setChecked(e_.GetStatusIconSW());
        sicherungVerzeichnis_->setText(e_.GetSicherungVerzeichnis());
        autoSicherung_->setChecked(e_.GetAutoSicherungAktiv());
        autoVerzeichnis_->setText(e_.GetAutoSicherungVerzeichnis());
        autoAnzahl_->SetValue(e_.GetAutoSicherungAnzahl());
        updateIntervall_->setCurrentIndex(e_.GetUpdateIntervall());
        const QDateTime letzte = e_.GetUpdateLastCheck();
        letztePruefung_->setText(letzte.isValid()
                                     ? letzte.date().toString(QStringLiteral("dd.MM.yyyy"))
                                     : QStringLiteral("Noch nie"));
    }

    name_->setText(e_.GetBetriebName());
    adresse_->setText(e_.GetBetriebAdresse());
    plz_->setText(e_.GetBetriebPLZ());
    ort_->setText(e_.GetBetriebOrt());
    flaeche_->SetValue(e_.GetBetriebFlaeche());
    waehrung_->setCurrentIndex(e_.GetStandardwaehrung());
    zeitraum_->setCurrentIndex(e_.GetZeitraumBerechnungen());
    knr_->setCurrentIndex(e_.GetKNRLaenge() == 6 ? 1 : 0);

    maxKuhzahl_->SetValue(e_.GetPrognoseMaxKuhzahl());
    mKalbVerkaufen_->SetValue(e_.GetPrognoseMKalbVerkaufen());
    kalbBesamen_->SetValue(e_.GetPrognoseKalbBesamen());
    kuhBesamen_->SetValue(e_.GetPrognoseKuhBesamen());
    mastVerkaufen_->SetValue(e_.GetPrognoseMastVerkaufen());
    gvLinie_->setChecked(e_.GetGVLinie());

    meldefrist_->SetValue(e_.GetHITMeldefrist());
    meldungAuto_->setChecked(e_.GetMeldungAuto());
    frageEnde_->setChecked(e_.GetHITFrageProgrammEnde());
    geburtVerlauf_->setChecked(e_.GetHITGeburtVerlauf());
    geburtVerbleib_->setChecked(e_.GetHITGeburtVerbleib());
    geburtET_->setChecked(e_.GetHITGeburtET());
    geburtName_->setChecked(e_.GetHITGeburtTiername());

    primaerAddr_->setText(e_.GetHITPrimaerAddr());
    primaerIP_->setText(e_.GetHITPrimaerIP());
    sekundaerAddr_->setText(e_.GetHITSekundaerAddr());
    sekundaerIP_->setText(e_.GetHITSekundaerIP());
    portNormal_->SetValue(e_.GetHITPortNormal());
    portTest_->SetValue(e_.GetHITPortTest());
    systemart_->setCurrentIndex(e_.GetHITNormalServer() ? 0 : 1);
    symbolHintergrund_->setChecked(e_.GetVersteckeSymbolHintergrund());

    TermineLaden();
    GruppenOeffnen(0);
    StaettenOeffnen(0);
    RassenOeffnen(0);
    EigenbesamungLaden(true, false);
    GVSchluesselLaden(-1);
}

void TfrmGrundeinstellungen::TermineLaden()
{
    terminListe_->clear();
    terminListe_->addItems(e_.TerminListenLaden());
    terminListe_->setCurrentIndex(e_.TerminListeIndex());
    terminStart_->setChecked(e_.GetTerminProgStartAnzeigen());
    autostart_->setChecked(e_.AutostartAktiv());

    terminGitter_->BeginUpdate();
    for (const TerminZeile& z : TerminZeilen()) {
        TZRPropertiesItem& p = terminGitter_->Properties().Add();
        p.SetCaption(z.text);
        const int wert = z.lesen(e_);
        switch (z.art) {
            case TerminZeile::Zahl:
                p.SetEditType(2);
                p.SetDigits(0);
                p.SetMin(0);
                p.SetMax(z.max);
                p.SetValue(QString::number(wert));
                break;
            case TerminZeile::JaNein:
                p.SetEditType(5);
                p.PickList().Add(QStringLiteral("1"), QStringLiteral("Ja"));
                p.PickList().Add(QStringLiteral("0"), QStringLiteral("Nein"));
                p.SetValue(JaNeinSchluessel(wert == 1));
                break;
            case TerminZeile::NeinJa:
                p.SetEditType(5);
                p.PickList().Add(QStringLiteral("0"), QStringLiteral("Nein"));
                p.PickList().Add(QStringLiteral("1"), QStringLiteral("Ja"));
                p.SetValue(JaNeinSchluessel(wert == 1));
                break;
            case TerminZeile::Harnstoff:
                p.SetEditType(5);
                p.PickList().Add(QStringLiteral("0"), QStringLiteral("ppm"));
                p.PickList().Add(QStringLiteral("1"), QStringLiteral("mg / dl"));
                p.SetValue(JaNeinSchluessel(wert == 1));
                break;
        }
    }
    terminGitter_->EndUpdate();
}

void TfrmGrundeinstellungen::TermineSpeichern()
{
    if (terminListe_->currentIndex() >= 0)
        e_.SetTerminListeIndex(terminListe_->currentIndex());
    e_.SetTerminProgStartAnzeigen(terminStart_->isChecked());
    const std::vector<TerminZeile>& zeilen = TerminZeilen();
    for (std::size_t i = 0; i < zeilen.size(); ++i)
        zeilen[i].schreiben(e_, ZeilenWert(terminGitter_->Properties().GetItem(int(i)).Value()));
}

bool TfrmGrundeinstellungen::EingabenPruefen()
{
    return ZahlenPruefen(std::nullopt) && GVNamePruefen();
}

bool TfrmGrundeinstellungen::ZahlenPruefen(std::optional<TGrundKat> nurSeite)
{
    for (const ZahlFeld& z : zahlen_) {
        if (nurSeite && z.seite != *nurSeite)
            continue;
        // The fertility values belong to the breed shown; without a breed there are none.
        if (z.seite == TGrundKat::gkFruchtbarkeit && rasseID_ <= 0)
            continue;
        FloatEditRegeln::Bereich b;
        b.digits = z.edit->Digits();
        b.min = z.edit->Min();
        b.max = z.edit->Max();
        b.allowNull = false;
        const FloatEditRegeln::Lesung l = FloatEditRegeln::Lesen(z.edit->text(), b);
        if (l.art == FloatEditRegeln::Lesung::Zahl)
            continue;
        KategorieZeigen(z.seite);
        Tools::MeldungError(
            QStringLiteral("%1:\r%2").arg(z.name, FloatEditRegeln::Fehlertext(l, b)));
        z.edit->setFocus();
        z.edit->selectAll();
        return false;
    }
    return true;
}

bool TfrmGrundeinstellungen::GVNamePruefen()
{
    if (!gvGitter_ || gvID_ < 0)
        return true;
    const QString name = gvGitter_->Properties().GetItem(0).Value().trimmed();
    if (!name.isEmpty() && name.size() <= 50)
        return true;
    KategorieZeigen(TGrundKat::gkGV);
    Tools::MeldungError(name.isEmpty() ? QStringLiteral("Bitte geben Sie eine Bezeichnung für den "
                                                        "GV - Schlüssel ein.")
                                       : QStringLiteral("Die Bezeichnung des GV - Schlüssels darf "
                                                        "höchstens 50 Zeichen lang sein."));
    gvGitter_->setFocus();
    gvGitter_->SetCell(1, 1);
    return false;
}

bool TfrmGrundeinstellungen::EinstellungenSpeichern()
{
    if (!EingabenPruefen())
        return false;
    e_.Bearbeiten();
    e_.SetBetriebName(name_->text());
    e_.SetBetriebAdresse(adresse_->text());
    e_.SetBetriebPLZ(plz_->text());
    e_.SetBetriebOrt(ort_->text());
    e_.SetBetriebFlaeche(double(flaeche_->Value().value_or(0)));
    e_.SetStandardwaehrung(waehrung_->currentIndex());
    e_.SetZeitraumBerechnungen(zeitraum_->currentIndex());
    e_.SetKNRLaenge(knr_->currentIndex() == 1 ? 6 : 3);
    if (!RasseUebernehmen())
        return false;
    EigenbesamungSpeichern();
    TermineSpeichern();
    e_.SetHITMeldefrist(Zahlwert(meldefrist_));
    e_.SetMeldungAuto(meldungAuto_->isChecked());
    e_.SetHITFrageProgrammEnde(frageEnde_->isChecked());
    e_.SetHITGeburtVerlauf(geburtVerlauf_->isChecked());
    e_.SetHITGeburtVerbleib(geburtVerbleib_->isChecked());
    e_.SetHITGeburtET(geburtET_->isChecked());
    e_.SetHITGeburtTiername(geburtName_->isChecked());
    e_.SetHITPrimaerAddr(primaerAddr_->text());
    e_.SetHITPrimaerIP(primaerIP_->text());
    e_.SetHITSekundaerAddr(sekundaerAddr_->text());
    e_.SetHITSekundaerIP(sekundaerIP_->text());
    e_.SetHITPortNormal(Zahlwert(portNormal_));
    e_.SetHITPortTest(Zahlwert(portTest_));
    e_.SetHITNormalServer(systemart_->currentIndex() == 0);
    e_.SetPrognoseMaxKuhzahl(Zahlwert(maxKuhzahl_));
    e_.SetPrognoseMKalbVerkaufen(Zahlwert(mKalbVerkaufen_));
    e_.SetPrognoseKalbBesamen(Zahlwert(kalbBesamen_));
    e_.SetPrognoseKuhBesamen(Zahlwert(kuhBesamen_));
    e_.SetPrognoseMastVerkaufen(Zahlwert(mastVerkaufen_));
    if (prognoseGV_->currentIndex() >= 0)
        e_.SetGVSchluessel(prognoseGV_->currentData().toInt());
    e_.SetGVLinie(gvLinie_->isChecked());
    if (!GVSchluesselSpeichern())
        return false;
    e_.SetVersteckeSymbolHintergrund(symbolHintergrund_->isChecked());

    taGrund_.Commit();
    e_.Speichern();

    // The workstation's settings last, in one write of the file: a failure in the database above
    // leaves the file untouched.
    TIniDatei::Stapel ini(e_.IniDatei());
    e_.SetDFUEVerwenden(dfue_->isChecked());
    e_.SetSicherungVerzeichnis(sicherungVerzeichnis_->text());
    e_.SetAutoSicherungAktiv(autoSicherung_->isChecked());
    e_.SetAutoSicherungVerzeichnis(autoVerzeichnis_->text().trimmed());
    e_.SetAutoSicherungAnzahl(Zahlwert(autoAnzahl_));
    e_.SetListenmuster(listenfarbe_->currentIndex());
    e_.SetStatusIconSW(statusSW_->isChecked());
    e_.SetUpdateIntervall(updateIntervall_->currentIndex());
    ini.Abschliessen();
    if (autostart_->isChecked() != e_.AutostartAktiv())
        e_.AutostartSetzen(autostart_->isChecked());
    return true;
}

void TfrmGrundeinstellungen::Ok()
{
    // Leaving the grid cell in use hands what was typed into it to its row.
    ok_->setFocus(Qt::OtherFocusReason);
    try {
        if (EinstellungenSpeichern())
            accept();
    } catch (const SilentAbort&) {
        // The constraint's text was shown; the user corrects the input.
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
    } catch (const std::exception& e) {
        Tools::MeldungError(QString::fromUtf8(e.what()));
    }
}

void TfrmGrundeinstellungen::done(int result)
{
    if (e_.InBearbeitung())
        e_.Verwerfen();
    if (taGrund_.Active())
        taGrund_.Rollback();
    TZRDialog::done(result);
}

// ---- holdings, premises, breeds ----

void TfrmGrundeinstellungen::GruppenOeffnen(int id)
{
    gruppen_.Close();
    gruppen_.Open();
    Spalten(gruppen_, gruppenModell_, gruppenGitter_,
            {{QStringLiteral("GV"), QStringLiteral("GV")},
             {QStringLiteral("BEZEICHNUNG"), QStringLiteral("Bezeichnung")},
             {QStringLiteral("BNR"), QStringLiteral("Betriebsnummer")}},
            {QStringLiteral("GV")});
    if (id > 0)
        DBTools::LocateInteger(gruppen_, QStringLiteral("ID"), id, false);
}

void TfrmGrundeinstellungen::GruppeBearbeiten(bool neu)
{
    const int id =
        neu || gruppen_.IsEmpty() ? 0 : gruppen_.FieldByName(QStringLiteral("ID")).AsInteger();
    TfrmBetriebsgruppe dlg(taGrund_, id, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    GruppenOeffnen(dlg.Daten().Daten().FieldByName(QStringLiteral("ID")).AsInteger());
    StaettenOeffnen(staetten_.IsEmpty() ? 0
                                        : staetten_.FieldByName(QStringLiteral("ID")).AsInteger());
}

void TfrmGrundeinstellungen::GruppeEntfernen()
{
    if (DBTools::LoeschenMitFrage(gruppen_,
                                  QStringLiteral("Wollen Sie diese Gruppe wirklich löschen?")))
        GruppenOeffnen(0);
}

void TfrmGrundeinstellungen::StaettenOeffnen(int id)
{
    staetten_.Close();
    staetten_.Open();
    Spalten(staetten_, staettenModell_, staettenGitter_,
            {{QStringLiteral("STANDARD"), QStringLiteral("Standard-Betriebsstätte")},
             {QStringLiteral("BEZEICHNUNG"), QStringLiteral("Bezeichnung")},
             {QStringLiteral("BNR"), QStringLiteral("Betriebsnummer")},
             {QStringLiteral("GRP_BEZEICHNUNG"), QStringLiteral("Gruppe")},
             {QStringLiteral("GV"), QStringLiteral("GV")}},
            {QStringLiteral("STANDARD"), QStringLiteral("GV")});
    if (id > 0)
        DBTools::LocateInteger(staetten_, QStringLiteral("ID"), id, false);
}

void TfrmGrundeinstellungen::StaetteBearbeiten(bool neu)
{
    const int id =
        neu || staetten_.IsEmpty() ? 0 : staetten_.FieldByName(QStringLiteral("ID")).AsInteger();
    TfrmBetriebsstaette dlg(taGrund_, gruppen_, id, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    StaettenOeffnen(dlg.Daten().Daten().FieldByName(QStringLiteral("ID")).AsInteger());
}

void TfrmGrundeinstellungen::StaetteEntfernen()
{
    if (DBTools::LoeschenMitFrage(
            staetten_, QStringLiteral("Wollen Sie diese Betriebsstätte wirklich löschen?")))
        StaettenOeffnen(0);
}

void TfrmGrundeinstellungen::RassenOeffnen(int id)
{
    rassen_.Close();
    rassen_.Open();
    Spalten(rassen_, rassenModell_, rassenGitter_,
            {{QStringLiteral("BEZEICHNUNG"), QStringLiteral("Rasse")},
             {QStringLiteral("RASSE_KURZ"), QStringLiteral("Kürzel")}});
    if (id > 0)
        DBTools::LocateInteger(rassen_, QStringLiteral("ID"), id, false);
    RassenwahlFuellen();
    RasseZeigen();
}

void TfrmGrundeinstellungen::RasseHinzufuegen()
{
    const int id = TfrmRasse::Oeffnen(taGrund_, this);
    if (id > 0)
        RassenOeffnen(id);
}

void TfrmGrundeinstellungen::RasseEntfernen()
{
    if (rassen_.IsEmpty() || Tools::MeldungConfirm(QStringLiteral(
                                 "Wollen Sie diese Rasse wirklich löschen?")) != Tools::mrYes)
        return;
    rassen_.Edit();
    rassen_.FieldByName(QStringLiteral("VERWENDET")).SetString(QStringLiteral("F"));
    if (DBTools::Posten(rassen_))
        RassenOeffnen(0);
}

void TfrmGrundeinstellungen::RassenwahlFuellen()
{
    rassenWahl_->clear();
    if (!rassen_.Active())
        return;
    const int bezeichnung = rassen_.FieldByName(QStringLiteral("BEZEICHNUNG")).Index();
    for (int i = 0; i < rassen_.RecordCount(); ++i)
        rassenWahl_->addItem(rassen_.ValueAt(i, bezeichnung).AsString());
    rassenWahl_->setCurrentIndex(rassen_.RecNo());
}

void TfrmGrundeinstellungen::RasseGewaehlt(int position)
{
    if (position < 0)
        return;
    if (!RasseUebernehmen()) {
        rassenWahl_->setCurrentIndex(rassen_.RecNo());
        return;
    }
    rassen_.Locate(QStringLiteral("BEZEICHNUNG"), {rassenWahl_->itemText(position)});
    RasseZeigen();
}

void TfrmGrundeinstellungen::RasseZeigen()
{
    const bool da = rassen_.Active() && !rassen_.IsEmpty();
    rasseID_ = da ? rassen_.FieldByName(QStringLiteral("ID")).AsInteger() : 0;
    for (const auto& [edit, feld] : fruchtbarkeit_) {
        edit->setEnabled(da);
        edit->SetValue(da ? std::optional<long double>(rassen_.FieldByName(feld).AsInteger())
                          : std::nullopt);
    }
}

bool TfrmGrundeinstellungen::RasseUebernehmen()
{
    if (rasseID_ <= 0)
        return true;
    if (!ZahlenPruefen(TGrundKat::gkFruchtbarkeit))
        return false;
    const int aktuell =
        rassen_.IsEmpty() ? 0 : rassen_.FieldByName(QStringLiteral("ID")).AsInteger();
    if (!DBTools::LocateInteger(rassen_, QStringLiteral("ID"), rasseID_, false))
        throw std::runtime_error("Die Rasse ist nicht mehr vorhanden.");
    bool geaendert = false;
    for (const auto& [edit, feld] : fruchtbarkeit_)
        geaendert = geaendert || rassen_.FieldByName(feld).AsInteger() != Zahlwert(edit);
    if (geaendert) {
        rassen_.Edit();
        for (const auto& [edit, feld] : fruchtbarkeit_)
            rassen_.FieldByName(feld).SetInteger(Zahlwert(edit));
        if (!DBTools::Posten(rassen_))
            return false;
    }
    DBTools::LocateInteger(rassen_, QStringLiteral("ID"), aktuell, false);
    return true;
}

void TfrmGrundeinstellungen::SollKalbenBerechnen()
{
    if (rasseID_ <= 0)
        return;
    BerechnetSetzen(sollKalben_, Berechnen::SollKalben(taGrund_, rasseID_, e_.ZeitraumBeginn()));
}

void TfrmGrundeinstellungen::BerechnetSetzen(TZahlEdit* edit, std::optional<int> wert)
{
    if (wert)
        edit->SetValue(*wert);
}

// ---- own insemination ----

void TfrmGrundeinstellungen::EigenbesamungLaden(bool neuFuellen, bool letzte)
{
    if (neuFuellen) {
        stationen_->clear();
        for (const BesamungFunc::StationsEintrag& s :
             BesamungFunc::StationenListe(e_.GetEigenbesamungStationen(), false))
            stationen_->addItem(s.Name, s.Index);
        stationen_->setCurrentIndex(stationen_->count() == 0 ? -1
                                    : letzte                 ? stationen_->count() - 1
                                                             : 0);
    }
    const int station = stationen_->currentIndex() < 0 ? -1 : stationen_->currentData().toInt();
    if (station == station_ && stationGitter_)
        return;
    station_ = station;
    stationen_->setEnabled(stationen_->count() > 0);
    stationEntfernen_->setEnabled(stationen_->count() > 0);
    stationGitter_ = NeuesGitter(stationOrt_, stationGitter_, QStringLiteral("grdEigenbesamung"),
                                 QStringLiteral("Parameter"), QStringLiteral("Werte"));
    stationGitter_->setColumnWidth(0, stationGitter_->fontMetrics().horizontalAdvance(
                                          QStringLiteral("Passwort vor senden abfragen")) +
                                          16);
    if (station_ < 0)
        return;
    stationGitter_->BeginUpdate();
    for (const EigenbesamungZeile& z : EigenbesamungZeilen(station_)) {
        TZRPropertiesItem& p = stationGitter_->Properties().Add();
        p.SetCaption(z.text);
        switch (z.art) {
            case EigenbesamungZeile::Zahl:
                p.SetEditType(2);
                p.SetDigits(0);
                p.SetMin(0);
                p.SetMax(z.max);
                p.SetValue(QString::number(e_.GetEigenbesamungInteger(station_, z.name)));
                break;
            case EigenbesamungZeile::Text:
                p.SetEditType(1);
                p.SetValue(e_.GetEigenbesamungString(station_, z.name));
                break;
            case EigenbesamungZeile::JaNein:
                p.SetEditType(5);
                p.PickList().Add(QStringLiteral("1"), QStringLiteral("Ja"));
                p.PickList().Add(QStringLiteral("0"), QStringLiteral("Nein"));
                p.SetValue(e_.GetEigenbesamungString(station_, z.name));
                break;
        }
    }
    stationGitter_->EndUpdate();
}

void TfrmGrundeinstellungen::EigenbesamungSpeichern()
{
    if (station_ < 0 || !stationGitter_)
        return;
    const std::vector<EigenbesamungZeile> zeilen = EigenbesamungZeilen(station_);
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const QString wert = stationGitter_->Properties().GetItem(int(i)).Value();
        if (zeilen[i].art == EigenbesamungZeile::Zahl)
            e_.SetEigenbesamungInteger(station_, zeilen[i].name, ZeilenWert(wert));
        else
            e_.SetEigenbesamungString(station_, zeilen[i].name, wert);
    }
}

void TfrmGrundeinstellungen::StationGewaehlt(int position)
{
    if (position < 0 || stationen_->itemData(position).toInt() == station_)
        return;
    // The values shown go into the dialog's one settings bracket (Bearbeiten keeps an open one):
    // "Abbrechen" takes them back with everything else.
    e_.Bearbeiten();
    EigenbesamungSpeichern();
    EigenbesamungLaden(false, false);
}

void TfrmGrundeinstellungen::StationHinzufuegen()
{
    TfrmBesamungsstation dlg(this);
    dlg.Vorbereiten(e_.GetEigenbesamungStationen(), false);
    if (dlg.exec() != QDialog::Accepted || dlg.Station().isEmpty())
        return;
    e_.Bearbeiten();
    EigenbesamungSpeichern();
    e_.SetEigenbesamungStationen(StationAnhaengen(e_.GetEigenbesamungStationen(), dlg.Station()));
    EigenbesamungLaden(true, true);
}

void TfrmGrundeinstellungen::StationEntfernen()
{
    if (station_ < 0)
        return;
    const QString code = BesamungConst::Stationen()[std::size_t(station_)].Code;
    if (StationPortionen(taGrund_, code) > 0) {
        Tools::MeldungInfo(QStringLiteral(
            "Diese Besamungsstation wird verwendet.\rSie können sie deshalb nicht löschen!"));
        return;
    }
    if (Tools::MeldungConfirm(
            QStringLiteral("Wollen Sie diese Besamungsstation wirklich löschen?")) != Tools::mrYes)
        return;
    e_.Bearbeiten();
    e_.SetEigenbesamungStationen(
        GrundeinstellungenDaten::StationEntfernen(e_.GetEigenbesamungStationen(), code));
    station_ = -1;
    EigenbesamungLaden(true, false);
}

// ---- livestock-unit keys ----

void TfrmGrundeinstellungen::GVSchluesselLaden(int id)
{
    const int gewaehlt = id == -1 ? gvID_ : id;
    const int prognose = prognoseGV_->currentIndex() >= 0 ? prognoseGV_->currentData().toInt()
                                                          : e_.GetGVSchluessel();
    gvSchluessel_.Close();
    gvSchluessel_.Open();
    gvWahl_->clear();
    prognoseGV_->clear();
    gvIDs_.clear();
    const int idFeld = gvSchluessel_.FieldByName(QStringLiteral("ID")).Index();
    const int nameFeld = gvSchluessel_.FieldByName(QStringLiteral("BEZEICHNUNG")).Index();
    for (int i = 0; i < gvSchluessel_.RecordCount(); ++i) {
        const int schluessel = gvSchluessel_.ValueAt(i, idFeld).AsInteger();
        const QString name = gvSchluessel_.ValueAt(i, nameFeld).AsString();
        gvIDs_ << schluessel;
        gvWahl_->addItem(name, schluessel);
        prognoseGV_->addItem(name, schluessel);
    }
    const auto stelle = [this](int schluessel) {
        return gvIDs_.isEmpty() ? -1 : std::max<int>(0, int(gvIDs_.indexOf(schluessel)));
    };
    gvWahl_->setCurrentIndex(stelle(gewaehlt));
    prognoseGV_->setCurrentIndex(stelle(prognose));
    gvID_ = gvWahl_->currentIndex() < 0 ? -1 : gvWahl_->currentData().toInt();

    gvGitter_ = NeuesGitter(gvOrt_, gvGitter_, QStringLiteral("grdGVSchluessel"),
                            QStringLiteral("Bezeichnung"), QStringLiteral("Werte"));
    gvGitter_->setColumnWidth(0, gvGitter_->fontMetrics().horizontalAdvance(
                                     QStringLiteral("Weibl. Rinder ü. 6 M. - 1 J. Pension")) +
                                     16);
    if (gvID_ < 0)
        return;
    DBTools::LocateInteger(gvSchluessel_, QStringLiteral("ID"), gvID_, false);
    gvGitter_->BeginUpdate();
    TZRPropertiesItem& name = gvGitter_->Properties().Add();
    name.SetCaption(QStringLiteral("Bezeichnung"));
    name.SetEditType(1);
    name.SetValue(gvSchluessel_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString());
    for (const GVFaktor& f : GVFaktoren()) {
        TZRPropertiesItem& p = gvGitter_->Properties().Add();
        p.SetCaption(f.text);
        p.SetEditType(2);
        p.SetDigits(2);
        p.SetMin(0);
        p.SetMax(2.5L);
        p.SetValue(FloatEditRegeln::ZahlText(gvSchluessel_.FieldByName(f.feld).AsDouble(), 2,
                                             QLatin1Char(',')));
    }
    gvGitter_->EndUpdate();
}

bool TfrmGrundeinstellungen::GVSchluesselSpeichern()
{
    if (gvID_ < 0 || !gvGitter_)
        return true;
    if (!GVNamePruefen())
        return false;
    if (!DBTools::LocateInteger(gvSchluessel_, QStringLiteral("ID"), gvID_, false))
        throw std::runtime_error("Der GV - Schlüssel ist nicht mehr vorhanden.");
    gvSchluessel_.Edit();
    gvSchluessel_.FieldByName(QStringLiteral("BEZEICHNUNG"))
        .SetString(gvGitter_->Properties().GetItem(0).Value().trimmed());
    const std::vector<GVFaktor>& faktoren = GVFaktoren();
    for (std::size_t i = 0; i < faktoren.size(); ++i) {
        QString text = gvGitter_->Properties().GetItem(int(i) + 1).Value().trimmed();
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double wert = QLocale::c().toDouble(text, &ok);
        gvSchluessel_.FieldByName(faktoren[i].feld)
            .SetDouble(ok ? std::round(wert * 100.0) / 100.0 : 0.0);
    }
    return DBTools::Posten(gvSchluessel_);
}

void TfrmGrundeinstellungen::GVSchluesselGewaehlt(int position)
{
    if (position < 0 || gvWahl_->itemData(position).toInt() == gvID_)
        return;
    const int neu = gvWahl_->itemData(position).toInt();
    if (!GVSchluesselSpeichern()) {
        gvWahl_->setCurrentIndex(int(gvIDs_.indexOf(gvID_)));
        return;
    }
    GVSchluesselLaden(neu);
}

void TfrmGrundeinstellungen::GVSchluesselHinzufuegen()
{
    if (!GVSchluesselSpeichern())
        return;
    gvSchluessel_.Append();
    gvSchluessel_.FieldByName(QStringLiteral("BEZEICHNUNG"))
        .SetString(NeuerGVSchluesselName(int(gvIDs_.size())));
    for (const GVFaktor& f : GVFaktoren())
        gvSchluessel_.FieldByName(f.feld).SetDouble(f.vorgabe);
    if (!DBTools::Posten(gvSchluessel_))
        return;
    GVSchluesselLaden(gvSchluessel_.FieldByName(QStringLiteral("ID")).AsInteger());
    gvGitter_->setFocus();
    gvGitter_->SetCell(1, 2);
}

void TfrmGrundeinstellungen::GVSchluesselEntfernen()
{
    if (gvID_ < 0 || !DBTools::LocateInteger(gvSchluessel_, QStringLiteral("ID"), gvID_, false))
        return;
    if (!DBTools::LoeschenMitFrage(
            gvSchluessel_, QStringLiteral("Wollen Sie diesen GV - Schlüssel wirklich löschen?")))
        return;
    gvID_ = -1;
    GVSchluesselLaden(-1);
}

// ---- national database, backup ----

void TfrmGrundeinstellungen::HITStandardSetzen()
{
    const HITStandard s = HITStandardwerte();
    primaerAddr_->setText(s.primaerAddr);
    primaerIP_->setText(s.primaerIP);
    sekundaerAddr_->setText(s.sekundaerAddr);
    sekundaerIP_->setText(s.sekundaerIP);
    portNormal_->SetValue(s.portNormal);
    portTest_->SetValue(s.portTest);
    systemart_->setCurrentIndex(0);
}

void TfrmGrundeinstellungen::VerzeichnisWaehlen(QLineEdit* edit)
{
    const QString ordner = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Wählen Sie das Sicherungsverzeichnis aus"), edit->text());
    if (!ordner.isEmpty())
        edit->setText(ordner);
}
