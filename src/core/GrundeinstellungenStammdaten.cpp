#include "GrundeinstellungenStammdaten.h"

#include "Betriebsgruppe.h"
#include "Betriebsstaette.h"
#include "DBTools.h"
#include "Rasse.h"

#include <Field.h>
#include <Meldung.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

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

}  // namespace

TGrundeinstellungenZeilenSeite::TGrundeinstellungenZeilenSeite(TGrundKat kategorie,
                                                               TGrundeinstellungenDaten& daten,
                                                               db::DataSet& datensatz,
                                                               const QString& gitterName)
    : TGrundeinstellungenSeite(kategorie, daten), datensatz_(datensatz)
{
    modell_.SetDataSet(&datensatz_);
    gitter_ = new QTableView(this);
    gitter_->setObjectName(gitterName);
    gitter_->setModel(&modell_);
    gitter_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gitter_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gitter_->setSelectionMode(QAbstractItemView::SingleSelection);
    gitter_->verticalHeader()->hide();
    gitter_->setWordWrap(false);
    gitter_->horizontalHeader()->setStretchLastSection(true);
    // The dataset follows the grid's row, the grid the dataset's record.
    connect(gitter_->selectionModel(), &QItemSelectionModel::currentRowChanged, gitter_,
            [this](const QModelIndex& aktuell) {
                if (datensatz_.Active() && aktuell.isValid() && datensatz_.RecNo() != aktuell.row())
                    datensatz_.MoveTo(aktuell.row());
            });
    connect(&modell_, &db::DataSetModel::CurrentRowChanged, gitter_, [this](int zeile) {
        if (zeile >= 0 && gitter_->currentIndex().row() != zeile)
            gitter_->setCurrentIndex(
                modell_.index(zeile, std::max(0, gitter_->currentIndex().column())));
    });
}

void TGrundeinstellungenZeilenSeite::Aufbauen(const QString& titel,
                                              const std::vector<TZeilenKnopf>& knoepfe)
{
    auto* leiste = new QHBoxLayout;
    for (const TZeilenKnopf& k : knoepfe) {
        auto* knopf = Knopf(k.text, k.name, k.hinweis);
        connect(knopf, &QPushButton::clicked, this, k.aktion);
        leiste->addWidget(knopf);
    }
    leiste->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Beschriftung(titel));
    layout->addWidget(gitter_, 1);
    layout->addLayout(leiste);
}

void TGrundeinstellungenZeilenSeite::Oeffnen(int id,
                                             const QList<std::pair<QString, QString>>& felder,
                                             const QStringList& haken)
{
    datensatz_.Close();
    datensatz_.Open();
    for (int i = 0; i < datensatz_.FieldCount(); ++i)
        datensatz_.Fields(i).Visible = false;
    for (const auto& [feld, titel] : felder) {
        datensatz_.FieldByName(feld).Visible = true;
        datensatz_.FieldByName(feld).DisplayLabel = titel;
    }
    modell_.Reset();
    QHeaderView* kopf = gitter_->horizontalHeader();
    for (int ziel = 0; ziel < felder.size(); ++ziel) {
        const int spalte = modell_.ColumnOfField(felder[ziel].first);
        kopf->moveSection(kopf->visualIndex(spalte), ziel);
    }
    // The view's own delegate is a QStyledItemDelegate too: find ours by its name.
    auto* delegat = gitter_->findChild<QStyledItemDelegate*>(QStringLiteral("JaNein"),
                                                             Qt::FindDirectChildrenOnly);
    if (!delegat) {
        delegat = new JaNeinDelegate(gitter_);
        delegat->setObjectName(QStringLiteral("JaNein"));
    }
    for (int spalte = 0; spalte < modell_.columnCount(); ++spalte)
        gitter_->setItemDelegateForColumn(spalte, nullptr);
    for (const QString& feld : haken)
        gitter_->setItemDelegateForColumn(modell_.ColumnOfField(feld), delegat);
    gitter_->resizeColumnsToContents();
    if (id > 0)
        DBTools::LocateInteger(datensatz_, QStringLiteral("ID"), id, false);
}

int TGrundeinstellungenZeilenSeite::AktuelleID() const
{
    return datensatz_.IsEmpty() ? 0 : datensatz_.FieldByName(QStringLiteral("ID")).AsInteger();
}

// ---- holdings ----

TGrundeinstellungenBetriebsgruppen::TGrundeinstellungenBetriebsgruppen(
    TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenZeilenSeite(TGrundKat::gkBetriebsgruppen, daten, daten.Gruppen(),
                                     QStringLiteral("grdBetriebsgruppen"))
{
    Aufbauen(QStringLiteral("Betriebsgruppen"),
             {{QStringLiteral("Hinzufügen"), QStringLiteral("btnGruppeNeu"),
               QStringLiteral("Betriebsgruppe hinzufügen"), [this] { GruppeBearbeiten(true); }},
              {QStringLiteral("Entfernen"), QStringLiteral("btnGruppeEntfernen"),
               QStringLiteral("Betriebsgruppe entfernen"), [this] { GruppeEntfernen(); }},
              {QStringLiteral("Bearbeiten"), QStringLiteral("btnGruppeBearbeiten"),
               QStringLiteral("Betriebsgruppe bearbeiten"), [this] { GruppeBearbeiten(false); }}});
    connect(gitter_, &QTableView::doubleClicked, this, [this] { GruppeBearbeiten(false); });
}

void TGrundeinstellungenBetriebsgruppen::GruppenOeffnen(int id)
{
    Oeffnen(id,
            {{QStringLiteral("GV"), QStringLiteral("GV")},
             {QStringLiteral("BEZEICHNUNG"), QStringLiteral("Bezeichnung")},
             {QStringLiteral("BNR"), QStringLiteral("Betriebsnummer")}},
            {QStringLiteral("GV")});
}

void TGrundeinstellungenBetriebsgruppen::GruppeBearbeiten(bool neu)
{
    TfrmBetriebsgruppe dlg(Daten().Transaktion(), neu ? 0 : AktuelleID(), window());
    if (dlg.exec() != QDialog::Accepted)
        return;
    GruppenOeffnen(dlg.Daten().Daten().FieldByName(QStringLiteral("ID")).AsInteger());
    emit GruppenGeaendert();
}

void TGrundeinstellungenBetriebsgruppen::GruppeEntfernen()
{
    if (DBTools::LoeschenMitFrage(datensatz_,
                                  QStringLiteral("Wollen Sie diese Gruppe wirklich löschen?")))
        GruppenOeffnen(0);
}

// ---- premises ----

TGrundeinstellungenBetriebsstaetten::TGrundeinstellungenBetriebsstaetten(
    TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenZeilenSeite(TGrundKat::gkBetriebsstaetten, daten, daten.Staetten(),
                                     QStringLiteral("grdBetriebsstaetten"))
{
    Aufbauen(QStringLiteral("Betriebsstätten"),
             {{QStringLiteral("Hinzufügen"), QStringLiteral("btnStaetteNeu"),
               QStringLiteral("Betriebsstätte hinzufügen"), [this] { StaetteBearbeiten(true); }},
              {QStringLiteral("Entfernen"), QStringLiteral("btnStaetteEntfernen"),
               QStringLiteral("Betriebsstätte entfernen"), [this] { StaetteEntfernen(); }},
              {QStringLiteral("Bearbeiten"), QStringLiteral("btnStaetteBearbeiten"),
               QStringLiteral("Betriebsstätte bearbeiten"), [this] { StaetteBearbeiten(false); }}});
    connect(gitter_, &QTableView::doubleClicked, this, [this] { StaetteBearbeiten(false); });
}

void TGrundeinstellungenBetriebsstaetten::StaettenOeffnen(int id)
{
    Oeffnen(id,
            {{QStringLiteral("STANDARD"), QStringLiteral("Standard-Betriebsstätte")},
             {QStringLiteral("BEZEICHNUNG"), QStringLiteral("Bezeichnung")},
             {QStringLiteral("BNR"), QStringLiteral("Betriebsnummer")},
             {QStringLiteral("GRP_BEZEICHNUNG"), QStringLiteral("Gruppe")},
             {QStringLiteral("GV"), QStringLiteral("GV")}},
            {QStringLiteral("STANDARD"), QStringLiteral("GV")});
}

void TGrundeinstellungenBetriebsstaetten::StaetteBearbeiten(bool neu)
{
    TfrmBetriebsstaette dlg(Daten().Transaktion(), Daten().Gruppen(), neu ? 0 : AktuelleID(),
                            window());
    if (dlg.exec() != QDialog::Accepted)
        return;
    StaettenOeffnen(dlg.Daten().Daten().FieldByName(QStringLiteral("ID")).AsInteger());
}

void TGrundeinstellungenBetriebsstaetten::StaetteEntfernen()
{
    if (DBTools::LoeschenMitFrage(
            datensatz_, QStringLiteral("Wollen Sie diese Betriebsstätte wirklich löschen?")))
        StaettenOeffnen(0);
}

// ---- breeds ----

TGrundeinstellungenRassen::TGrundeinstellungenRassen(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenZeilenSeite(TGrundKat::gkRassen, daten, daten.Rassen(),
                                     QStringLiteral("grdRassen"))
{
    auto* leer = new QLabel(QStringLiteral("< Keine Rasse eingestellt >"), gitter_->viewport());
    leer->setObjectName(QStringLiteral("lblKeineRasse"));
    leer->move(8, 8);
    const auto leerZeigen = [this, leer] { leer->setVisible(modell_.rowCount() == 0); };
    connect(&modell_, &QAbstractItemModel::modelReset, leer, leerZeigen);
    connect(&modell_, &QAbstractItemModel::rowsInserted, leer, leerZeigen);
    connect(&modell_, &QAbstractItemModel::rowsRemoved, leer, leerZeigen);
    Aufbauen(QStringLiteral("Im Programm verwendbare Rassen"),
             {{QStringLiteral("Hinzufügen"), QStringLiteral("btnRasseNeu"),
               QStringLiteral("Rasse hinzufügen"), [this] { RasseHinzufuegen(); }},
              {QStringLiteral("Entfernen"), QStringLiteral("btnRasseEntfernen"),
               QStringLiteral("Rasse entfernen"), [this] { RasseEntfernen(); }}});
}

void TGrundeinstellungenRassen::RassenOeffnen(int id)
{
    Oeffnen(id, {{QStringLiteral("BEZEICHNUNG"), QStringLiteral("Rasse")},
                 {QStringLiteral("RASSE_KURZ"), QStringLiteral("Kürzel")}});
    emit RassenGeaendert();
}

void TGrundeinstellungenRassen::RasseHinzufuegen()
{
    const int id = TfrmRasse::Oeffnen(Daten().Transaktion(), window());
    if (id > 0)
        RassenOeffnen(id);
}

void TGrundeinstellungenRassen::RasseEntfernen()
{
    if (datensatz_.IsEmpty() || Tools::MeldungConfirm(QStringLiteral(
                                    "Wollen Sie diese Rasse wirklich löschen?")) != Tools::mrYes)
        return;
    if (Daten().RasseNichtVerwenden())
        RassenOeffnen(0);
}
