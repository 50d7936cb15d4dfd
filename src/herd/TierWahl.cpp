#include "TierWahl.h"

#include "TierWahlLogik.h"

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Meldung.h>
#include <Sanduhr.h>
#include <StatusSymbole.h>

#include <Query.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString Zustand = QStringLiteral("Zustand");
const QString LetzteMaske = QStringLiteral("LetzteMaske");
const QString AktBetriebEinzeltier = QStringLiteral("AktBetriebEinzeltier");

}  // namespace

int TTierWahlModell::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(zeilen_.size());
}

int TTierWahlModell::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Spaltenzahl;
}

QVariant TTierWahlModell::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const TTierWahlZeile& z = zeilen_[index.row()];
    const int spalte = index.column();
    if (role == Qt::CheckStateRole && spalte == Markierung)
        return z.markiert ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DecorationRole && spalte == Status)
        return QPixmap::fromImage(StatusSymbole::Bild(z.statusIdx, 16));
    if (role == Qt::DisplayRole || role == SortRolle) {
        switch (spalte) {
            case Knr:
                return role == SortRolle ? QVariant(TierWahl::KnrSortwert(z.knrDisplay))
                                         : QVariant(z.knrDisplay);
            case Name:
                return z.name;
            case Nummer:
                return z.nummer;
            case Gebdat:
                if (role == SortRolle)
                    return z.gebdat;
                return z.gebdat.isValid() ? z.gebdat.toString(QStringLiteral("dd.MM.yyyy"))
                                          : QString();
            case Betrieb:
                return z.betrieb;
            case Status:
                return role == SortRolle ? QVariant(z.statusIdx) : QVariant();
            default:
                return {};
        }
    }
    return {};
}

bool TTierWahlModell::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != Markierung || role != Qt::CheckStateRole)
        return false;
    Markieren(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags TTierWahlModell::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Markierung)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant TTierWahlModell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titel[] = {"",       "Status",    "KNR",           "Name",
                                        "Nummer", "Geb. Dat.", "Betriebsstätte"};
    return QString::fromUtf8(titel[section]);
}

void TTierWahlModell::Setzen(QList<TTierWahlZeile> zeilen)
{
    beginResetModel();
    zeilen_ = std::move(zeilen);
    endResetModel();
}

void TTierWahlModell::Markieren(int zeile, bool an)
{
    zeilen_[zeile].markiert = an;
    const QModelIndex i = index(zeile, Markierung);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

void TTierWahlFilter::SetSuchtext(const QString& text)
{
    suchtext_ = TierWahl::Suchtext(text);
    invalidateFilter();
}

bool TTierWahlFilter::filterAcceptsRow(int row, const QModelIndex&) const
{
    const auto* m = static_cast<const TTierWahlModell*>(sourceModel());
    const TTierWahlZeile& z = m->Zeilen()[row];
    return TierWahl::ZeilePasst(suchtext_, z.knrDisplay, z.nummer, z.name);
}

bool TTierWahlFilter::lessThan(const QModelIndex& links, const QModelIndex& rechts) const
{
    const QVariant a = links.data(TTierWahlModell::SortRolle);
    const QVariant b = rechts.data(TTierWahlModell::SortRolle);
    if (links.column() == TTierWahlModell::Knr)
        return a.toInt() < b.toInt();
    // Empty values after all others, in either direction of the user's choice they stay apart.
    const bool aLeer = a.isNull() || a.toString().isEmpty();
    const bool bLeer = b.isNull() || b.toString().isEmpty();
    if (aLeer || bLeer)
        return !aLeer && bLeer;
    return QVariant::compare(a, b) == QPartialOrdering::Less;
}

void TLeerTextTabelle::SetLeerText(const QString& text)
{
    leerText_ = text;
    viewport()->update();
}

void TLeerTextTabelle::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (model() && model()->rowCount() == 0) {
        QPainter p(viewport());
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(viewport()->rect().adjusted(4, 8, -4, -4), Qt::AlignHCenter | Qt::AlignTop,
                   leerText_);
    }
}

TfrmTierWahl::TfrmTierWahl(QWidget* owner, int modus, int mindestanzahl)
    : TZRDialog(owner),
      modus_(modus),
      mindestanzahl_(mindestanzahl),
      tatierwahl_(DM()->Datenbank, QStringLiteral("TATierwahl"))
{
    const TierWahl::TModus& art = TierWahl::Modus(modus);
    setObjectName(QStringLiteral("frmTierWahl"));
    setWindowTitle(art.titel);
    setHelpContext(HilfeKontext);
    setBorderStyle(bsSizeable);

    masken_ = new QListWidget(this);
    masken_->setObjectName(QStringLiteral("lbMasken"));
    betriebe_ = new QComboBox(this);
    betriebe_->setObjectName(QStringLiteral("cbBetrieb"));
    betriebe_->setMaxVisibleItems(10);
    QFont fett = betriebe_->font();
    fett.setBold(true);
    betriebe_->setFont(fett);
    einlesen_ = new QPushButton(QStringLiteral("Einlesen"), this);
    suche_ = new QLineEdit(this);
    suche_->setObjectName(QStringLiteral("edSuche"));
    suche_->setPlaceholderText(QStringLiteral("Suchen (KNR, Nummer, Name)"));

    gruppe_ = new QGroupBox(this);
    tabelle_ = new TLeerTextTabelle(gruppe_);
    tabelle_->setObjectName(QStringLiteral("grdTiere"));
    filter_.setSourceModel(&modell_);
    tabelle_->setModel(&filter_);
    tabelle_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabelle_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabelle_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabelle_->setSortingEnabled(true);
    tabelle_->sortByColumn(-1, Qt::AscendingOrder);
    tabelle_->verticalHeader()->hide();
    tabelle_->horizontalHeader()->setStretchLastSection(true);
    tabelle_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tabelle_->setColumnHidden(TTierWahlModell::Markierung, !art.mehrfach);
    tabelle_->SetLeerText(LeerText);
    auto* gruppenLayout = new QVBoxLayout(gruppe_);
    gruppenLayout->addWidget(tabelle_);

    umschalten_ = new QPushButton(QStringLiteral("Umschalten"), this);
    umschalten_->setVisible(art.mehrfach);
    umschalten_->setEnabled(art.mehrfach);
    ok_ = new QPushButton(art.okText, this);
    ok_->setDefault(true);
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);

    // The masks and premises keep a narrow column; the animals' grid takes the width.
    for (QWidget* w : std::initializer_list<QWidget*>{masken_, betriebe_, einlesen_})
        w->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Jungrinder weiblich")) *
                           3 / 2);
    auto* links = new QVBoxLayout;
    links->addWidget(new QLabel(QStringLiteral("Betriebsstätte:"), this));
    links->addWidget(betriebe_);
    links->addWidget(new QLabel(QStringLiteral("Suchmasken:"), this));
    links->addWidget(masken_, 1);
    links->addWidget(einlesen_);
    auto* mitte = new QVBoxLayout;
    mitte->addWidget(suche_);
    mitte->addWidget(gruppe_, 1);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(umschalten_);
    knoepfe->addStretch(1);
    knoepfe->addWidget(schliessen_);
    knoepfe->addWidget(hilfe);
    auto* haupt = new QHBoxLayout(this);
    haupt->addLayout(links);
    haupt->addLayout(mitte, 1);
    haupt->addLayout(knoepfe);
    resize(900, 480);

    connect(einlesen_, &QPushButton::clicked, this, &TfrmTierWahl::EinlesenMeldend);
    connect(masken_, &QListWidget::itemDoubleClicked, this, &TfrmTierWahl::EinlesenMeldend);
    connect(suche_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_.SetSuchtext(text);
        FreigabeAktualisieren();
    });
    connect(suche_, &QLineEdit::returnPressed, this, [this] {
        if (!TierWahl::Modus(modus_).mehrfach)
            Bestaetigen();
    });
    connect(tabelle_, &QTableView::doubleClicked, this, [this] {
        if (!TierWahl::Modus(modus_).mehrfach)
            Bestaetigen();
    });
    connect(ok_, &QPushButton::clicked, this, &TfrmTierWahl::Bestaetigen);
    connect(umschalten_, &QPushButton::clicked, this, &TfrmTierWahl::Umschalten);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::reject);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    masken_->installEventFilter(this);
    betriebe_->installEventFilter(this);
    suche_->installEventFilter(this);

    tatierwahl_.Start();
    DM()->BetriebsstaettenListe(tatierwahl_, betriebsNamen_);
    betriebe_->addItems(betriebsNamen_);
    MaskenLaden();
    suche_->setFocus();
}

TfrmTierWahl::~TfrmTierWahl() = default;

void TfrmTierWahl::MaskenLaden()
{
    masken_->clear();
    maskenIDs_.clear();
    db::Query q(tatierwahl_, QStringLiteral("select * from T_MASKEN order by REIHUNG"));
    for (q.Open(); !q.Eof(); q.Next()) {
        maskenIDs_ << q.Field(QStringLiteral("ID")).AsInteger();
        masken_->addItem(q.Field(QStringLiteral("NAME")).AsString());
    }
    tabelle_->SetLeerText(maskenIDs_.isEmpty() ? KeineMaskeText : LeerText);
}

int TfrmTierWahl::Maske() const
{
    return masken_->currentRow();
}

void TfrmTierWahl::SetMaske(int index)
{
    masken_->setCurrentRow(std::clamp(index, -1, int(maskenIDs_.size()) - 1));
}

int TfrmTierWahl::Betrieb() const
{
    return betriebe_->currentIndex();
}

void TfrmTierWahl::SetBetrieb(int index)
{
    betriebe_->setCurrentIndex(std::clamp(index, 0, int(betriebsNamen_.size()) - 1));
}

QStringList TfrmTierWahl::AuswahlSQL()
{
    const int maske = Maske();
    if (maske < 0)
        return {};
    const QString query = DM()->SQLWertString(
        tatierwahl_, QStringLiteral("SELECT QUERY FROM T_MASKEN WHERE ID = :Maske"),
        {{QStringLiteral("Maske"), maskenIDs_[maske]}});
    const int betrieb = Betrieb();
    return TierWahl::AuswahlSQL(query, betrieb > 0 ? betriebsNamen_[betrieb] : QString());
}

void TfrmTierWahl::Einlesen()
{
    Sanduhr sanduhr;
    QList<TTierWahlZeile> zeilen;
    const QStringList teil = AuswahlSQL();
    if (!teil.isEmpty()) {
        db::Query q(tatierwahl_, TierWahl::ErgebnisSQL(teil));
        for (q.Open(); !q.Eof(); q.Next()) {
            TTierWahlZeile z;
            z.id = q.Field(0).AsInteger();
            z.statusIdx = q.Field(1).IsNull() ? -1 : q.Field(1).AsInteger();
            z.knr = q.Field(2).AsInteger();
            z.knrDisplay = q.Field(3).AsString();
            z.name = q.Field(4).AsString();
            z.nummer = q.Field(5).AsString();
            z.gebdat = q.Field(6).AsDate();
            z.betrieb = q.Field(7).AsString();
            zeilen << z;
        }
    }
    const int anzahl = int(zeilen.size());
    modell_.Setzen(std::move(zeilen));
    gruppe_->setTitle(QString::number(anzahl) + QStringLiteral(" Tier(e)"));
    tabelle_->resizeColumnsToContents();
    if (filter_.rowCount() > 0)
        tabelle_->setCurrentIndex(filter_.index(0, TTierWahlModell::Knr));
    FreigabeAktualisieren();
}

void TfrmTierWahl::EinlesenMeldend()
{
    try {
        Einlesen();
    } catch (const std::exception& e) {
        modell_.Setzen({});
        gruppe_->setTitle(QStringLiteral("0 Tier(e)"));
        FreigabeAktualisieren();
        Tools::MeldungError(QString::fromUtf8(e.what()));
    }
}

void TfrmTierWahl::FreigabeAktualisieren()
{
    ok_->setEnabled(!maskenIDs_.isEmpty());
    tabelle_->setEnabled(modell_.rowCount() > 0);
}

QList<int> TfrmTierWahl::Ergebnis() const
{
    QList<int> ids;
    if (!TierWahl::Modus(modus_).mehrfach) {
        const QModelIndex i = tabelle_->currentIndex();
        if (i.isValid())
            ids << modell_.Zeilen()[filter_.mapToSource(i).row()].id;
        return ids;
    }
    for (const TTierWahlZeile& z : modell_.Zeilen())
        if (z.markiert)
            ids << z.id;
    return ids;
}

void TfrmTierWahl::Bestaetigen()
{
    if (!TierWahl::Modus(modus_).mehrfach) {
        if (filter_.rowCount() == 0)
            return;
        if (!tabelle_->currentIndex().isValid())
            tabelle_->setCurrentIndex(filter_.index(0, TTierWahlModell::Knr));
        accept();
        return;
    }
    if (Ergebnis().size() >= std::max(mindestanzahl_, 1))
        accept();
    else
        Tools::MeldungInfo(TierWahl::MindestanzahlText(mindestanzahl_));
}

void TfrmTierWahl::Umschalten()
{
    for (int zeile = 0; zeile < filter_.rowCount(); ++zeile) {
        const int quelle = filter_.mapToSource(filter_.index(zeile, 0)).row();
        modell_.Markieren(quelle, !modell_.Zeilen()[quelle].markiert);
    }
}

bool TfrmTierWahl::eventFilter(QObject* objekt, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(event)->key();
        const bool enter = taste == Qt::Key_Return || taste == Qt::Key_Enter;
        if (objekt == masken_ && enter) {
            EinlesenMeldend();
            if (tabelle_->isEnabled())
                tabelle_->setFocus();
            return true;
        }
        if (objekt == betriebe_ && enter) {
            masken_->setFocus();
            return true;
        }
        if (objekt == suche_ && (taste == Qt::Key_Up || taste == Qt::Key_Down) &&
            filter_.rowCount() > 0) {
            const int jetzt = tabelle_->currentIndex().row();
            const int neu =
                std::clamp(jetzt + (taste == Qt::Key_Up ? -1 : 1), 0, filter_.rowCount() - 1);
            tabelle_->setCurrentIndex(filter_.index(neu, TTierWahlModell::Knr));
            return true;
        }
    }
    return TZRDialog::eventFilter(objekt, event);
}

namespace FTierWahl {

bool TiereWaehlen(QWidget* owner, int modus, QList<int>& ids, QString& schnellliste,
                  int mindestanzahl)
{
    ids.clear();
    schnellliste.clear();
    TfrmTierWahl dialog(owner, modus, mindestanzahl);
    TEinstellungen* e = Einstellungen();
    dialog.SetMaske(e ? e->IniLesenInteger(Zustand, LetzteMaske, 0) : 0);
    dialog.SetBetrieb(e ? e->IniLesenInteger(Zustand, AktBetriebEinzeltier, 0) : 0);
    struct Merken {
        TfrmTierWahl& d;
        TEinstellungen* e;
        ~Merken()
        {
            if (e) {
                e->IniSchreibenInteger(Zustand, AktBetriebEinzeltier, d.Betrieb());
                e->IniSchreibenInteger(Zustand, LetzteMaske, d.Maske());
            }
        }
    } merken{dialog, e};
    dialog.Einlesen();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ids = dialog.Ergebnis();
    if (modus == 0)
        schnellliste = TierWahl::SchnelllisteSQL(dialog.AuswahlSQL());
    return true;
}

bool TierWaehlen(QWidget* owner, int modus, int& id, QString& schnellliste)
{
    QList<int> ids;
    const bool ok = TiereWaehlen(owner, modus, ids, schnellliste, 2);
    id = ids.isEmpty() ? 0 : ids.first();
    return ok;
}

}  // namespace FTierWahl
