#include "Medikamente.h"

#include "Stammdaten.h"

#include <DBTools.h>
#include <SilentAbort.h>

#include <DBAMCheckbox.h>
#include <DBFloatEdit.h>
#include <DBZRBaseEdit.h>
#include <Error.h>
#include <Meldung.h>
#include <Sanduhr.h>
#include <ZRFilterEdit.h>

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace Medikamente {

QString Suchform(const QString& text)
{
    return text.toUpper().remove(QLatin1Char(' '));
}

bool PasstZurSuche(const QString& suche, const QString& bezeichnung)
{
    return Suchform(bezeichnung).contains(Suchform(suche));
}

}  // namespace Medikamente

namespace {

const QString LeererName =
    QStringLiteral("Sie müssen eine Bezeichnung für das Medikament eingeben.");

// The list's flag column as a check box instead of its letters.
class SichtbarSpalte : public QIdentityProxyModel {
public:
    SichtbarSpalte(db::DataSetModel* quelle, QObject* parent) : QIdentityProxyModel(parent)
    {
        setSourceModel(quelle);
        spalte_ = quelle->ColumnOfField(QStringLiteral("ANZEIGEN"));
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (index.column() != spalte_)
            return QIdentityProxyModel::data(index, role);
        if (role == Qt::CheckStateRole)
            return QIdentityProxyModel::data(index, Qt::EditRole).toString() == QLatin1String("T")
                       ? Qt::Checked
                       : Qt::Unchecked;
        if (role == Qt::DisplayRole)
            return {};
        return QIdentityProxyModel::data(index, role);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QIdentityProxyModel::flags(index) & ~Qt::ItemIsEditable & ~Qt::ItemIsUserCheckable;
    }

private:
    int spalte_ = -1;
};

using DBTools::Bearbeitet;

QPushButton* Knopf(const QString& text, QWidget* parent)
{
    auto* k = new QPushButton(text, parent);
    k->setMinimumSize(84, 44);
    return k;
}

}  // namespace

TfrmMedikamente::TfrmMedikamente(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      TAMedikamente(datenbank, QStringLiteral("TAMedikamente")),
      liste_daten_(TAMedikamente),
      medikament_(TAMedikamente),
      listengruppe_(new QGroupBox(this)),
      liste_(new QTableView(listengruppe_)),
      suche_(new TZRFilterEdit(listengruppe_)),
      bezeichnung_(new TDBZRBaseEdit(this)),
      wMilch_(new TDBFloatEdit(this)),
      wFleisch_(new TDBFloatEdit(this)),
      sichtbar_(new TDBAMCheckbox(this)),
      neu_(Knopf(QStringLiteral("Neues\nMedika."), this)),
      loeschen_(Knopf(QStringLiteral("Medika.\nlöschen"), this)),
      speichern_(Knopf(QStringLiteral("Speichern"), this)),
      schliessen_(Knopf(QStringLiteral("Schließen"), this)),
      hilfe_(Knopf(QStringLiteral("Hilfe"), this))
{
    setWindowTitle(QStringLiteral("Medikamente"));
    setHelpContext(HilfeKontext);
    TAMedikamente.Start();

    liste_daten_.SetSelectSQL(
        QStringLiteral("SELECT ID, BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN FROM T_MEDIKAMENTE "
                       "ORDER BY BEZEICHNUNG"));
    liste_daten_.OnFilterRecord = [this](db::DataSet& ds) {
        return Medikamente::Suchform(ds.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString())
            .contains(suchform_);
    };
    medikament_.SetSelectSQL(QStringLiteral("select * from T_MEDIKAMENTE where ID = :MEDIKAMENT"));
    medikament_.SetInsertSQL(
        QStringLiteral("INSERT INTO T_MEDIKAMENTE (ID, BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) "
                       "VALUES (:ID, :BEZEICHNUNG, :WMILCH, :WFLEISCH, :ANZEIGEN)"));
    medikament_.SetModifySQL(
        QStringLiteral("UPDATE T_MEDIKAMENTE SET BEZEICHNUNG = :BEZEICHNUNG, WMILCH = :WMILCH, "
                       "WFLEISCH = :WFLEISCH, ANZEIGEN = :ANZEIGEN WHERE ID = :OLD_ID"));
    medikament_.SetDeleteSQL(QStringLiteral("DELETE FROM T_MEDIKAMENTE WHERE ID = :OLD_ID"));
    medikament_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_MEDIKAMENTE"));
    medikament_.OnNewRecord = [](db::DataSet& ds) {
        ds.FieldByName(QStringLiteral("WMILCH")).SetInteger(0);
        ds.FieldByName(QStringLiteral("WFLEISCH")).SetInteger(0);
        ds.FieldByName(QStringLiteral("ANZEIGEN")).SetString(QStringLiteral("T"));
    };
    medikament_.BeforePost = [this](db::DataSet&) { VorDemPosten(); };
    // Dropping a new medicine lets the window close unsaved only until the next edit.
    medikament_.BeforeEdit = [this](db::DataSet&) { neuVerworfen_ = false; };

    // The list.
    modell_.SetDataSet(&liste_daten_);
    liste_daten_.Open();
    liste_daten_.FieldByName(QStringLiteral("ID")).Visible = false;
    liste_daten_.FieldByName(QStringLiteral("BEZEICHNUNG")).DisplayLabel =
        QStringLiteral("Bezeichnung");
    liste_daten_.FieldByName(QStringLiteral("WMILCH")).DisplayLabel = QStringLiteral("W. Milch");
    liste_daten_.FieldByName(QStringLiteral("WFLEISCH")).DisplayLabel =
        QStringLiteral("W. Fleisch");
    liste_daten_.FieldByName(QStringLiteral("ANZEIGEN")).DisplayLabel = QStringLiteral("Sichtbar");
    modell_.Reset();
    liste_->setModel(new SichtbarSpalte(&modell_, liste_));
    liste_->setSelectionBehavior(QAbstractItemView::SelectRows);
    liste_->setSelectionMode(QAbstractItemView::SingleSelection);
    liste_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste_->verticalHeader()->hide();
    liste_->verticalHeader()->setDefaultSectionSize(liste_->fontMetrics().height() + 6);
    // The list's columns are set again whenever it is read anew (the model is reset then).
    auto spaltenSetzen = [this] {
        QHeaderView* kopf = liste_->horizontalHeader();
        const int sichtbar = modell_.ColumnOfField(QStringLiteral("ANZEIGEN"));
        kopf->moveSection(kopf->visualIndex(sichtbar), 0);
        kopf->setSectionResizeMode(modell_.ColumnOfField(QStringLiteral("BEZEICHNUNG")),
                                   QHeaderView::Stretch);
        liste_->setColumnWidth(sichtbar, 64);
        liste_->setColumnWidth(modell_.ColumnOfField(QStringLiteral("WMILCH")), 76);
        liste_->setColumnWidth(modell_.ColumnOfField(QStringLiteral("WFLEISCH")), 82);
    };
    connect(liste_->model(), &QAbstractItemModel::modelReset, liste_, spaltenSetzen,
            Qt::QueuedConnection);
    spaltenSetzen();
    liste_->setMinimumWidth(420);
    connect(&modell_, &db::DataSetModel::CurrentRowChanged, liste_, [this](int zeile) {
        if (zeile >= 0)
            liste_->setCurrentIndex(liste_->model()->index(
                zeile, modell_.ColumnOfField(QStringLiteral("BEZEICHNUNG"))));
    });
    connect(liste_, &QTableView::doubleClicked, this,
            [this] { DBTools::Sicher([this] { ZeileWaehlen(); }); });
    connect(liste_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& jetzt) {
                if (jetzt.isValid() && liste_daten_.RecNo() != jetzt.row())
                    liste_daten_.MoveTo(jetzt.row());
            });

    suche_->SetDataSet(&liste_daten_);
    connect(suche_, &TZRFilterEdit::OnBeforeFilter, this,
            [this](TZRFilterEdit* e) { suchform_ = Medikamente::Suchform(e->text()); });
    connect(suche_, &TZRFilterEdit::OnSelect, this,
            [this] { DBTools::Sicher([this] { ZeileWaehlen(); }); });

    // The edited medicine.
    bezeichnung_->SetDataSource(&medikament_);
    bezeichnung_->SetDataField(QStringLiteral("BEZEICHNUNG"));
    bezeichnung_->setMaxLength(50);
    for (TDBFloatEdit* e : {wMilch_, wFleisch_}) {
        e->SetDigits(0);
        e->SetMin(0);
        e->SetMax(250);
        e->SetAllowNull(false);
        e->SetDataSource(&medikament_);
        e->setMaximumWidth(70);
    }
    wMilch_->SetDataField(QStringLiteral("WMILCH"));
    wFleisch_->SetDataField(QStringLiteral("WFLEISCH"));
    sichtbar_->setText(QStringLiteral("sichtbar"));
    sichtbar_->SetValueChecked(QStringLiteral("T"));
    sichtbar_->SetValueUnchecked(QStringLiteral("F"));
    sichtbar_->SetDataSource(&medikament_);
    sichtbar_->SetDataField(QStringLiteral("ANZEIGEN"));
    for (QWidget* w : {static_cast<QWidget*>(bezeichnung_), static_cast<QWidget*>(wMilch_),
                       static_cast<QWidget*>(wFleisch_), static_cast<QWidget*>(sichtbar_)})
        w->installEventFilter(this);

    auto* suchzeile = new QHBoxLayout;
    suchzeile->addWidget(new QLabel(QStringLiteral("Suche:"), listengruppe_));
    suchzeile->addWidget(suche_);
    auto* links = new QVBoxLayout(listengruppe_);
    links->addLayout(suchzeile);
    links->addWidget(liste_);

    auto* bearbeitung = new QGroupBox(QStringLiteral("Medikament"), this);
    auto* felder = new QGridLayout(bearbeitung);
    felder->addWidget(new QLabel(QStringLiteral("Bezeichnung"), bearbeitung), 0, 0, 1, 4);
    felder->addWidget(bezeichnung_, 1, 0, 1, 4);
    felder->addWidget(new QLabel(QStringLiteral("Wartezeit Milch:"), bearbeitung), 2, 0);
    felder->addWidget(wMilch_, 2, 1);
    felder->addWidget(new QLabel(QStringLiteral("Fleisch:"), bearbeitung), 2, 2);
    felder->addWidget(wFleisch_, 2, 3);
    felder->addWidget(sichtbar_, 3, 0, 1, 4);
    felder->setRowStretch(4, 1);
    bezeichnung_->setMinimumWidth(240);

    auto* knoepfe = new QGridLayout;
    knoepfe->addWidget(neu_, 0, 0);
    knoepfe->addWidget(loeschen_, 0, 1);
    knoepfe->addWidget(speichern_, 0, 2);
    knoepfe->addWidget(schliessen_, 1, 0);
    knoepfe->addWidget(hilfe_, 1, 2);
    auto* rechts = new QVBoxLayout;
    rechts->addWidget(bearbeitung, 1);
    rechts->addLayout(knoepfe);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(listengruppe_, 1);
    layout->addLayout(rechts);
    resize(760, 460);

    connect(neu_, &QPushButton::clicked, this, [this] { DBTools::Sicher([this] { Neu(); }); });
    connect(loeschen_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { Loeschen(); }); });
    connect(speichern_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { Speichern(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &TfrmMedikamente::reject);
    connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });

    ListeLaden(0);
    MedikamentLaden(
        liste_daten_.IsEmpty() ? 0 : liste_daten_.FieldByName(QStringLiteral("ID")).AsInteger());
}

TfrmMedikamente::~TfrmMedikamente()
{
    liste_->setModel(nullptr);
}

void TfrmMedikamente::Oeffnen(db::Database& datenbank, QWidget* owner)
{
    TfrmMedikamente fenster(datenbank, owner);
    fenster.exec();
}

void TfrmMedikamente::ListeLaden(int id)
{
    Sanduhr sanduhr;
    liste_daten_.Close();
    liste_daten_.Open();
    const int anzahl = liste_daten_.RecordCount();
    listengruppe_->setTitle(QStringLiteral("%1 Medikament(e)").arg(anzahl));
    if (id > 0)
        DBTools::LocateInteger(liste_daten_, QStringLiteral("ID"), id, true);
}

void TfrmMedikamente::MedikamentLaden(int id)
{
    medikament_.Close();
    medikament_.Param(QStringLiteral("MEDIKAMENT")).SetInteger(id);
    medikament_.Open();
}

int TfrmMedikamente::BearbeiteteID()
{
    if (!medikament_.Active() || medikament_.IsEmpty())
        return 0;
    return medikament_.FieldByName(QStringLiteral("ID")).AsInteger();
}

void TfrmMedikamente::ZeileWaehlen()
{
    if (liste_daten_.IsEmpty())
        return;
    const int gewaehlt = liste_daten_.FieldByName(QStringLiteral("ID")).AsInteger();
    if (gewaehlt == BearbeiteteID() && medikament_.State() != db::DataSetState::Insert)
        return;
    if (Bearbeitet(medikament_) && !Speichern())
        return;
    MedikamentLaden(gewaehlt);
    DBTools::LocateInteger(liste_daten_, QStringLiteral("ID"), gewaehlt, true);
}

void TfrmMedikamente::Neu()
{
    if (Bearbeitet(medikament_) && !Speichern())
        return;
    if (!medikament_.Active())
        MedikamentLaden(0);
    neuVerworfen_ = false;
    medikament_.Append();
    bezeichnung_->setFocus();
}

void TfrmMedikamente::Loeschen()
{
    if (medikament_.State() == db::DataSetState::Insert) {
        medikament_.Cancel();
    } else {
        if (!DBTools::LoeschenMitFrage(
                medikament_, QStringLiteral("Wollen Sie das Medikament wirklich löschen?")))
            return;
        // A confirmed delete is kept even when a new medicine is dropped later by a rollback.
        TAMedikamente.CommitRetaining();
    }
    ListeLaden(0);
    MedikamentLaden(
        liste_daten_.IsEmpty() ? 0 : liste_daten_.FieldByName(QStringLiteral("ID")).AsInteger());
}

bool TfrmMedikamente::Speichern()
{
    medikament_.UpdateRecord();
    if (!Bearbeitet(medikament_))
        return true;
    if (!DBTools::Posten(medikament_))
        return false;
    NachDemPosten();
    return true;
}

void TfrmMedikamente::VorDemPosten()
{
    if (pruefungLaeuft_)
        throw SilentAbort();
    if (!medikament_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString().trimmed().isEmpty())
        return;
    pruefungLaeuft_ = true;
    struct Ende {
        bool& laeuft;
        ~Ende() { laeuft = false; }
    } ende{pruefungLaeuft_};
    QApplication::beep();
    if (medikament_.State() == db::DataSetState::Insert) {
        if (Tools::Meldung(LeererName + QStringLiteral("\r\rWollen Sie die Bearbeitung des neuen "
                                                       "Medikaments rückgängig machen?\rDie "
                                                       "eingegebenen Daten werden dann nicht "
                                                       "gespeichert!"),
                           Tools::mtConfirmation, Tools::mbYesNo, 0,
                           Tools::DefaultButton(1)) == Tools::mrYes) {
            medikament_.Cancel();
            TAMedikamente.RollbackRetaining();
            neuVerworfen_ = true;
        }
    } else if (!FMeldungErrorEdit::MeldungErrorEdit(
                   LeererName + QStringLiteral("\r\rDrücken Sie auf Rückgängig, um die gesamte "
                                               "\rBearbeitung rückgängig zu machen.")) &&
               Tools::Meldung(QStringLiteral("Wollen Sie wirklich die Bearbeitung des "
                                             "Medikaments rückgängig machen?\rAlle "
                                             "durchgeführten Änderungen werden dabei verworfen!"),
                              Tools::mtConfirmation, Tools::mbYesNo, 0,
                              Tools::DefaultButton(1)) == Tools::mrYes) {
        medikament_.Cancel();
        TAMedikamente.RollbackRetaining();
    }
    bezeichnung_->setFocus();
    throw SilentAbort();
}

void TfrmMedikamente::NachDemPosten()
{
    const int gepostet = BearbeiteteID();
    const int vorher =
        liste_daten_.IsEmpty() ? 0 : liste_daten_.FieldByName(QStringLiteral("ID")).AsInteger();
    TAMedikamente.Commit();
    TAMedikamente.Start();
    MedikamentLaden(gepostet);
    ListeLaden(0);
    if (!DBTools::LocateInteger(liste_daten_, QStringLiteral("ID"), gepostet, true))
        DBTools::LocateInteger(liste_daten_, QStringLiteral("ID"), vorher, true);
}

bool TfrmMedikamente::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::KeyPress) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter) {
            if (objekt == sichtbar_)
                speichern_->setFocus();
            else
                focusNextChild();
            return true;
        }
    }
    return TZRDialog::eventFilter(objekt, ereignis);
}

void TfrmMedikamente::done(int result)
{
    if (!neuVerworfen_) {
        bool gespeichert = false;
        DBTools::Sicher([this, &gespeichert] {
            gespeichert = Speichern();
            if (gespeichert && TAMedikamente.Active())
                TAMedikamente.Commit();
        });
        if (!gespeichert)
            return;
    }
    TZRDialog::done(result);
}
