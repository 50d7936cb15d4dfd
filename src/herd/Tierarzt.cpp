#include "Tierarzt.h"

#include "BehandlungEdit.h"
#include "TierarztLogik.h"

#include <DBTools.h>
#include <Datenmodul.h>

#include <Error.h>
#include <Meldung.h>
#include <Query.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QColor StornoFarbe(255, 160, 160);
constexpr int Zeilenhoehe = 33;

// Cancelled rows struck out on light red; the register column as a check box (ticked for "J",
// ticked and greyed for booked or cancelled) with a group mark below it for group treatments.
class TTierarztDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QModelIndex erste = index.siblingAtColumn(TframeTierarzt::SpBestandsbuch);
        const QString status = erste.data(TframeTierarzt::BestandsbuchRolle).toString();
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        if (status == QLatin1String("S")) {
            opt.backgroundBrush = StornoFarbe;
            opt.font.setStrikeOut(true);
        }
        if (index.column() != TframeTierarzt::SpBestandsbuch) {
            QStyle* stil = opt.widget ? opt.widget->style() : QApplication::style();
            stil->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
            return;
        }
        opt.text.clear();
        QStyle* stil = opt.widget ? opt.widget->style() : QApplication::style();
        stil->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        QStyleOptionButton box;
        box.rect = QRect(opt.rect.center().x() - 7, opt.rect.top() + 2, 14, 14);
        box.state = QStyle::State_Enabled;
        if (status == QLatin1String("J"))
            box.state |= QStyle::State_On;
        else if (status == QLatin1String("B") || status == QLatin1String("S"))
            box.state = QStyle::State_On;
        else
            box.state |= QStyle::State_Off;
        stil->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, opt.widget);
        if (erste.data(TframeTierarzt::GruppeRolle).toInt() > 0) {
            const QIcon gruppe = stil->standardIcon(QStyle::SP_DirIcon);
            gruppe.paint(painter,
                         QRect(opt.rect.center().x() - 7, opt.rect.top() + 2 + 16, 14, 14));
        }
    }
};

QPushButton* Knopf(const QString& text, QWidget* parent)
{
    auto* k = new QPushButton(text, parent);
    k->setMinimumSize(90, 30);
    return k;
}

}  // namespace

TframeTierarzt::TframeTierarzt(QWidget* parent)
    : QWidget(parent),
      liste_(new QTableView(this)),
      neu_(Knopf(QStringLiteral("Neu"), this)),
      bearbeiten_(Knopf(QStringLiteral("Bearbeiten"), this)),
      buchen_(Knopf(QStringLiteral("Buchen"), this)),
      loeschen_(Knopf(QStringLiteral("Löschen"), this))
{
    modell_.setColumnCount(Spaltenzahl);
    modell_.setHorizontalHeaderLabels({QStringLiteral("BB"), QStringLiteral("Datum"),
                                       QStringLiteral("Verabr."), QStringLiteral("Menge"),
                                       QStringLiteral("Arzneimittelbezeichnung\nBelegnummer"),
                                       QStringLiteral("M.\nF."), QStringLiteral("Grund\nAnwender"),
                                       QStringLiteral("Standort\nKategorie")});
    liste_->setModel(&modell_);
    liste_->setItemDelegate(new TTierarztDelegate(liste_));
    liste_->setSelectionBehavior(QAbstractItemView::SelectRows);
    liste_->setSelectionMode(QAbstractItemView::SingleSelection);
    liste_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste_->setWordWrap(false);
    liste_->verticalHeader()->hide();
    liste_->horizontalHeader()->setStretchLastSection(true);
    const int breiten[] = {34, 80, 62, 62, 190, 40, 150, 150};
    for (int s = 0; s < Spaltenzahl; ++s)
        liste_->setColumnWidth(s, breiten[s]);

    auto* knoepfe = new QHBoxLayout;
    for (QPushButton* k : {neu_, bearbeiten_, buchen_, loeschen_})
        knoepfe->addWidget(k);
    knoepfe->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(liste_, 1);
    layout->addLayout(knoepfe);

    connect(liste_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { KnoepfeSetzen(); });
    connect(liste_, &QTableView::doubleClicked, this, [this] {
        if (bearbeiten_->isEnabled())
            DBTools::Sicher([this] { BehandlungBearbeiten(false); });
    });
    connect(neu_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { BehandlungBearbeiten(true); }); });
    connect(bearbeiten_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { BehandlungBearbeiten(false); }); });
    connect(buchen_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { Buchen(); }); });
    connect(loeschen_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { Loeschen(); }); });
    KnoepfeSetzen();
}

TframeTierarzt::~TframeTierarzt()
{
    if (TDM* dm = DM()) {
        if (dm->TATierarzt.Active()) {
            try {
                dm->TATierarzt.Commit();
            } catch (const db::Error&) {
                // A read transaction: nothing of the user's is lost with it.
            }
        }
    }
}

void TframeTierarzt::Initialisieren(const QList<int>* tiere)
{
    disconnect(aenderung_);
    aenderung_ = connect(DM(), &TDM::ChangeTierarzt, this, [this] { Aktualisieren(true); });
    tiere_ = tiere;
    erzeugte_.clear();
    tierTexte_.clear();
    if (Gruppenmodus()) {
        tier_ = tiere_->first();
        db::Transaction& tr = DM()->TATierarzt;
        if (!tr.Active())
            tr.Start();
        for (int tier : *tiere_)
            tierTexte_.insert(tier, Tierarzt::TierText(tr, tier));
    }
    Aktualisieren(false);
}

void TframeTierarzt::SetTier(int id)
{
    tier_ = id;
    Aktualisieren(false);
}

int TframeTierarzt::AktuelleID() const
{
    const QModelIndex i = liste_->currentIndex();
    return i.isValid() ? modell_.index(i.row(), SpBestandsbuch).data(IDRolle).toInt() : 0;
}

QString TframeTierarzt::AktuellerStatus() const
{
    const QModelIndex i = liste_->currentIndex();
    return i.isValid() ? modell_.index(i.row(), SpBestandsbuch).data(BestandsbuchRolle).toString()
                       : QString();
}

void TframeTierarzt::Zeile(const QList<QVariant>& werte, const QStringList& namen)
{
    auto wert = [&](const char* name) { return werte.value(namen.indexOf(QLatin1String(name))); };
    auto text = [&](const char* name) { return wert(name).toString().trimmed(); };
    QList<QStandardItem*> zeile;
    for (int s = 0; s < Spaltenzahl; ++s)
        zeile << new QStandardItem;
    zeile[SpBestandsbuch]->setData(wert("ID").toInt(), IDRolle);
    zeile[SpBestandsbuch]->setData(text("BESTANDSBUCH"), BestandsbuchRolle);
    zeile[SpBestandsbuch]->setData(Gruppenmodus() ? 1 : wert("GRUPPE").toInt(), GruppeRolle);
    zeile[SpDatum]->setText(text("DATUM"));
    zeile[SpVerabreichung]->setText(text("VERABREICHUNG"));
    zeile[SpMenge]->setText(text("MENGE"));
    zeile[SpArzneimittel]->setText(Tierarzt::ZweiZeilen(text("ARZNEIMITTEL"), text("BELEGNUMMER")));
    zeile[SpWartezeit]->setText(
        Tierarzt::WartezeitText(wert("WMILCH").toInt(), wert("WFLEISCH").toInt()));
    zeile[SpGrund]->setText(Tierarzt::ZweiZeilen(text("GRUND"), text("ANWENDER")));
    zeile[SpStandort]->setText(Tierarzt::ZweiZeilen(text("STANDORT"), text("KATEGORIE")));
    modell_.appendRow(zeile);
}

void TframeTierarzt::Aktualisieren(bool commit)
{
    const int gemerkt = AktuelleID();
    db::Transaction& tr = DM()->TATierarzt;
    if (commit && tr.Active())
        tr.Commit();
    if (!tr.Active())
        tr.Start();
    modell_.removeRows(0, modell_.rowCount());
    db::Query q(
        tr,
        Gruppenmodus()
            ? QStringLiteral("select * from P_get_behandlungen_gruppen order by datumsort")
            : QStringLiteral("select * from P_get_behandlungen_tier(:tier_id) order by datumsort"));
    if (!Gruppenmodus())
        q.Param(QStringLiteral("TIER_ID")).SetInteger(tier_);
    QStringList namen;
    for (int i = 0; i < q.FieldCount(); ++i)
        namen << q.Column(i).Name.toUpper();
    const int idSpalte = namen.indexOf(QStringLiteral("ID"));
    for (q.Open(); !q.Eof(); q.Next()) {
        QList<QVariant> werte;
        for (int i = 0; i < namen.size(); ++i)
            werte << (q.Field(i).IsNull() ? QVariant() : QVariant(q.Field(i).AsString()));
        if (Gruppenmodus() && !erzeugte_.contains(werte[idSpalte].toInt()))
            continue;
        Zeile(werte, namen);
    }
    liste_->setEnabled(modell_.rowCount() > 0);
    liste_->resizeRowsToContents();
    for (int z = 0; z < modell_.rowCount(); ++z)
        liste_->setRowHeight(z, std::max(liste_->rowHeight(z), Zeilenhoehe));
    int zeile = modell_.rowCount() > 0 ? 0 : -1;
    for (int z = 0; z < modell_.rowCount(); ++z)
        if (modell_.index(z, 0).data(IDRolle).toInt() == gemerkt)
            zeile = z;
    if (zeile >= 0)
        liste_->setCurrentIndex(modell_.index(zeile, SpDatum));
    KnoepfeSetzen();
}

void TframeTierarzt::KnoepfeSetzen()
{
    const Tierarzt::TKnoepfe k =
        Tierarzt::Knoepfe(AktuellerStatus(), modell_.rowCount() == 0 || AktuelleID() == 0);
    bearbeiten_->setEnabled(k.bearbeiten);
    buchen_->setEnabled(k.buchen);
    loeschen_->setEnabled(k.loeschen);
    loeschen_->setText(k.loeschenText);
}

bool TframeTierarzt::BehandlungBearbeiten(bool neu)
{
    db::Transaction& tr = DM()->TATierarztEdit;
    tr.Start();
    struct Zurueck {
        db::Transaction& tr;
        ~Zurueck()
        {
            if (tr.Active())
                tr.Rollback();
        }
    } zurueck{tr};
    int id = neu ? 0 : AktuelleID();
    const QModelIndex aktuell = liste_->currentIndex();
    const bool gruppenWarnung =
        !neu && !Gruppenmodus() && aktuell.isValid() &&
        modell_.index(aktuell.row(), SpBestandsbuch).data(GruppeRolle).toInt() > 0;
    TfrmBehandlungEdit dialog(tr, this);
    if (!neu)
        dialog.setWindowTitle(QStringLiteral("Behandlung bearbeiten"));
    dialog.Initialisieren(id, tier_, gruppenWarnung);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (neu) {
        Tierarzt::TiereZuordnen(tr, id, Gruppenmodus() ? *tiere_ : QList<int>{tier_}, tierTexte_);
    }
    tr.Commit();
    if (neu)
        erzeugte_ << id;
    Aktualisieren(true);
    if (neu)
        for (int z = 0; z < modell_.rowCount(); ++z)
            if (modell_.index(z, 0).data(IDRolle).toInt() == id)
                liste_->setCurrentIndex(modell_.index(z, SpDatum));
    return true;
}

void TframeTierarzt::Buchen()
{
    const int id = AktuelleID();
    if (id <= 0)
        return;
    Tierarzt::Buchen(DM()->TATierarztEdit, id);
    Aktualisieren(true);
}

void TframeTierarzt::Loeschen()
{
    const int id = AktuelleID();
    const QString status = AktuellerStatus();
    if (id <= 0 || status == QLatin1String("S"))
        return;
    const bool gruppe =
        modell_.index(liste_->currentIndex().row(), SpBestandsbuch).data(GruppeRolle).toInt() > 0;
    if (Tools::Meldung(Tierarzt::LoeschFrage(status, gruppe), Tools::mtConfirmation, Tools::mbYesNo,
                       0, Tools::DefaultButton(1)) != Tools::mrYes)
        return;
    if (status == QLatin1String("B"))
        Tierarzt::Stornieren(DM()->TATierarztEdit, id);
    else
        Tierarzt::Loeschen(DM()->TATierarztEdit, id);
    Aktualisieren(true);
}
