#include "KalbungEdit.h"

#include "Besamungen.h"
#include "KalbungLogik.h"

#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBMemo.h>
#include <DBTools.h>
#include <DBZRDateEdit.h>
#include <Datenmodul.h>
#include <Meldung.h>
#include <ProgDatum.h>
#include <ZRcxGridDBTableView.h>

#include <Query.h>

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

TfrmKalbungEdit::TfrmKalbungEdit(QWidget* owner)
    : TZRDialog(owner),
      taKalbungEdit_(DM()->Datenbank, QStringLiteral("TAKalbungEdit")),
      kalbung_(taKalbungEdit_),
      besamungen_(taKalbungEdit_),
      datum_(new TDBZRDateEdit(this)),
      nummer_(new TDBZRBaseEdit(this)),
      geschlecht_(new TDBComboBox(this)),
      verlauf_(new TDBComboBox(this, true)),
      trocken_(new TDBZRDateEdit(this)),
      nr_(new TDBFloatEdit(this)),
      bemerkung_(new TDBMemo(this)),
      ansicht_(new TZRcxGridDBTableView(this)),
      menue_(new QMenu(ansicht_)),
      ok_(new QPushButton(QStringLiteral("Ok"), this)),
      abbrechen_(new QPushButton(QStringLiteral("Abbrechen"), this))
{
    setObjectName(QStringLiteral("frmKalbungEdit"));
    setWindowTitle(QStringLiteral("Kalbung bearbeiten"));

    kalbung_.SetSelectSQL(QStringLiteral("select * from T_KALBUNGEN where id = :KALBUNG"));
    kalbung_.SetInsertSQL(QStringLiteral(
        "insert into T_KALBUNGEN (ID, TIER, DATUM, NUMMER, GESCHLECHT, VERLAUF, TROCKEN, NR, "
        "BEMERKUNG) values (:ID, :TIER, :DATUM, :NUMMER, :GESCHLECHT, :VERLAUF, :TROCKEN, :NR, "
        ":BEMERKUNG)"));
    kalbung_.SetModifySQL(QStringLiteral(
        "update T_KALBUNGEN set TIER = :TIER, DATUM = :DATUM, NUMMER = :NUMMER, GESCHLECHT = "
        ":GESCHLECHT, VERLAUF = :VERLAUF, TROCKEN = :TROCKEN, NR = :NR, BEMERKUNG = :BEMERKUNG "
        "where ID = :OLD_ID"));
    kalbung_.SetDeleteSQL(QStringLiteral("delete from T_KALBUNGEN where ID = :OLD_ID"));
    kalbung_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_KALBUNGEN"));
    kalbung_.BeforePost = [this](db::DataSet&) {
        if (!anlegen_)
            KalbungPruefen();
    };
    besamungen_.SetSelectSQL(QStringLiteral("SELECT * FROM P_GET_BESAMUNGEN_KALBUNG(:ID)"));

    datum_->setObjectName(QStringLiteral("edDatum"));
    datum_->SetDataField(QStringLiteral("DATUM"));
    nummer_->setObjectName(QStringLiteral("edNummer"));
    nummer_->SetDataField(QStringLiteral("NUMMER"));
    nummer_->setMaxLength(20);
    geschlecht_->setObjectName(QStringLiteral("cbGeschlecht"));
    for (const auto& [text, code] : Kalbung::Geschlechter())
        geschlecht_->Eintrag(text, code);
    geschlecht_->SetDataField(QStringLiteral("GESCHLECHT"));
    verlauf_->setObjectName(QStringLiteral("cbVerlauf"));
    verlauf_->setInsertPolicy(QComboBox::NoInsert);
    verlauf_->addItems(Kalbung::Verlaeufe());
    verlauf_->lineEdit()->setMaxLength(50);
    verlauf_->SetDataField(QStringLiteral("VERLAUF"));
    trocken_->setObjectName(QStringLiteral("edTrocken"));
    trocken_->SetDataField(QStringLiteral("TROCKEN"));
    nr_->setObjectName(QStringLiteral("edNr"));
    nr_->SetDigits(0);
    nr_->SetMin(1);
    nr_->SetMax(99);
    nr_->SetAllowNull(false);
    nr_->setFixedWidth(nr_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    nr_->SetDataField(QStringLiteral("NR"));
    bemerkung_->setObjectName(QStringLiteral("meBemerkung"));
    bemerkung_->setFixedHeight(bemerkung_->fontMetrics().lineSpacing() * 4 + 12);
    bemerkung_->SetDataField(QStringLiteral("BEMERKUNG"));

    ansicht_->setObjectName(QStringLiteral("ViewBesamungenKalbung"));
    TZRcxGridTableOptionsView o = ansicht_->OptionsView();
    o.GridLines = TcxGridLines::All;
    o.EmptyText = QStringLiteral("< keine Besamungen vorhanden >");
    ansicht_->SetOptionsView(o);
    ansicht_->setSelectionBehavior(QAbstractItemView::SelectRows);
    ansicht_->setSelectionMode(QAbstractItemView::SingleSelection);
    ansicht_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ansicht_->setMinimumSize(420, 130);
    bearbeiten_ = menue_->addAction(QStringLiteral("&Bearbeiten"));
    menue_->setDefaultAction(bearbeiten_);
    neu_ = menue_->addAction(QStringLiteral("&Neu"));
    loeschen_ = menue_->addAction(QStringLiteral("&Löschen"));
    ansicht_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ansicht_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        EintraegeFreigeben();
        menue_->popup(ansicht_->viewport()->mapToGlobal(pos));
    });
    connect(bearbeiten_, &QAction::triggered, this,
            [this] { DBTools::Sicher([&] { BesamungBearbeiten(false); }); });
    connect(neu_, &QAction::triggered, this,
            [this] { DBTools::Sicher([&] { BesamungBearbeiten(true); }); });
    connect(loeschen_, &QAction::triggered, this,
            [this] { DBTools::Sicher([&] { BesamungLoeschen(); }); });
    connect(ansicht_, &QAbstractItemView::doubleClicked, this, [this] {
        EintraegeFreigeben();
        if (bearbeiten_->isEnabled())
            bearbeiten_->trigger();
    });

    auto* felder = new QFormLayout;
    auto* datumZeile = new QHBoxLayout;
    datumZeile->addWidget(datum_);
    datumZeile->addSpacing(16);
    datumZeile->addWidget(new QLabel(QStringLiteral("Nr."), this));
    datumZeile->addWidget(nr_);
    datumZeile->addStretch(1);
    felder->addRow(QStringLiteral("Datum"), datumZeile);
    felder->addRow(QStringLiteral("Ohrmarke"), nummer_);
    felder->addRow(QStringLiteral("Geschlecht"), geschlecht_);
    felder->addRow(QStringLiteral("Verlauf"), verlauf_);
    auto* trockenZeile = new QHBoxLayout;
    trockenZeile->addWidget(trocken_);
    trockenZeile->addStretch(1);
    felder->addRow(QStringLiteral("trockengestellt"), trockenZeile);
    felder->addRow(QStringLiteral("Bemerkung:"), bemerkung_);

    auto* gruppe = new QGroupBox(QStringLiteral("Besamungen"), this);
    (new QVBoxLayout(gruppe))->addWidget(ansicht_);

    ok_->setObjectName(QStringLiteral("btnOk"));
    ok_->setDefault(true);
    abbrechen_->setObjectName(QStringLiteral("btnAbbrechen"));
    abbrechen_->setAutoDefault(false);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);

    auto* v = new QVBoxLayout(this);
    v->addLayout(felder);
    v->addWidget(gruppe, 1);
    v->addLayout(knoepfe);

    connect(ok_, &QPushButton::clicked, this, &TfrmKalbungEdit::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmKalbungEdit::reject);
}

TfrmKalbungEdit::~TfrmKalbungEdit()
{
    ansicht_->SetDataSet(nullptr);
    // The transaction rolls back when it is destroyed still active; the controls let go first.
    for (TDBZRBaseEdit* e : std::initializer_list<TDBZRBaseEdit*>{datum_, nummer_, trocken_, nr_})
        e->SetDataSource(nullptr);
    geschlecht_->SetDataSource(nullptr);
    verlauf_->SetDataSource(nullptr);
    bemerkung_->SetDataSource(nullptr);
}

void TfrmKalbungEdit::KalbungOeffnen(int kalbungID, int nr, int tierID, const QDate& gebdat)
{
    tierID_ = tierID;
    gebdat_ = gebdat;
    if (!taKalbungEdit_.Active())
        taKalbungEdit_.Start();
    const bool neu = kalbungID == 0;
    if (neu) {
        kalbung_.Close();
        kalbung_.Param(QStringLiteral("KALBUNG")).SetInteger(-1);
        kalbung_.Open();
        kalbung_.Append();
        kalbung_.FieldByName(QStringLiteral("DATUM")).SetDate(QDate(1899, 12, 30));
        kalbung_.FieldByName(QStringLiteral("GESCHLECHT")).SetString(QStringLiteral("M"));
        kalbung_.FieldByName(QStringLiteral("TIER")).SetInteger(tierID);
        // Without a number the database numbers it after the calvings before it.
        if (nr > 0)
            kalbung_.FieldByName(QStringLiteral("NR")).SetInteger(nr);
        anlegen_ = true;
        try {
            kalbung_.Post();
        } catch (...) {
            anlegen_ = false;
            kalbung_.Cancel();
            throw;
        }
        anlegen_ = false;
        kalbungID = kalbung_.FieldByName(QStringLiteral("ID")).AsInteger();
    }
    kalbungID_ = kalbungID;
    kalbung_.Close();
    kalbung_.Param(QStringLiteral("KALBUNG")).SetInteger(kalbungID);
    kalbung_.Open();
    if (kalbung_.IsEmpty())
        throw std::runtime_error("Die Kalbung gibt es nicht mehr.");
    // The controls show the stored calving before anything can check it.
    for (TDBZRBaseEdit* e : std::initializer_list<TDBZRBaseEdit*>{datum_, nummer_, trocken_, nr_})
        e->SetDataSource(&kalbung_);
    geschlecht_->SetDataSource(&kalbung_);
    verlauf_->SetDataSource(&kalbung_);
    bemerkung_->SetDataSource(&kalbung_);
    if (neu) {
        kalbung_.Edit();
        kalbung_.FieldByName(QStringLiteral("DATUM")).SetNull();
    }

    besamungen_.Close();
    besamungen_.Param(QStringLiteral("ID")).SetInteger(kalbungID);
    besamungen_.Open();
    besamungen_.RecordCount();
    for (int i = 0; i < besamungen_.FieldCount(); ++i)
        besamungen_.Fields(i).Visible = false;
    for (const auto& [feld, titel] :
         {std::pair{"DATUM", "Datum"}, std::pair{"STIER", "Stier"}, std::pair{"NUMMER", "HB Nr"},
          std::pair{"BEMERKUNG", "Bemerkung"}}) {
        db::Field& f = besamungen_.FieldByName(QString::fromLatin1(feld));
        f.Visible = true;
        f.DisplayLabel = QString::fromUtf8(titel);
    }
    ansicht_->SetDataSet(&besamungen_);
    ansicht_->RestoreLayout();
    EintraegeFreigeben();
}

void TfrmKalbungEdit::KalbungPruefen()
{
    const QDate datum = kalbung_.FieldByName(QStringLiteral("DATUM")).AsDate();
    if (const auto fehler = Kalbung::KalbungEditPruefen(datum, gebdat_, ProgDatum::Heute()))
        DBTools::DBFehlerMelden(datum_, *fehler);
}

void TfrmKalbungEdit::EintraegeFreigeben()
{
    const bool zeilen = besamungen_.Active() && !besamungen_.IsEmpty();
    bearbeiten_->setEnabled(zeilen);
    loeschen_->setEnabled(zeilen);
    neu_->setEnabled(kalbung_.Active());
}

void TfrmKalbungEdit::BesamungenNeuLaden()
{
    const db::Field* id = besamungen_.Active() && !besamungen_.IsEmpty()
                              ? &besamungen_.FieldByName(QStringLiteral("ID"))
                              : nullptr;
    const int vorher = id && !id->IsNull() ? id->AsInteger() : 0;
    besamungen_.Close();
    besamungen_.Open();
    besamungen_.RecordCount();
    if (vorher > 0)
        DBTools::LocateInteger(besamungen_, QStringLiteral("ID"), vorher, true);
    EintraegeFreigeben();
}

void TfrmKalbungEdit::BesamungBearbeiten(bool neu)
{
    if (!DBTools::Posten(kalbung_))
        return;
    int besamungID = -1;
    int nr = 0;
    if (!neu) {
        if (!besamungen_.Active() || besamungen_.IsEmpty())
            return;
        const db::Field& id = besamungen_.FieldByName(QStringLiteral("ID"));
        besamungID = id.IsNull() ? -1 : id.AsInteger();
        nr = besamungen_.FieldByName(QStringLiteral("NR")).AsInteger();
    }
    TfrmBesamungen dialog(this);
    dialog.TransaktionSetzen(taKalbungEdit_);
    dialog.OnGeaendert = [this](TfrmBesamungen*) { BesamungenNeuLaden(); };
    dialog.BesamungOeffnen(tierID_, kalbungID_, gebdat_, neu ? 1 : 0, besamungID, nr);
    dialog.exec();
}

void TfrmKalbungEdit::BesamungLoeschen()
{
    if (!besamungen_.Active() || besamungen_.IsEmpty())
        return;
    if (Tools::MeldungConfirm(QStringLiteral("Wollen Sie die Besamung wirklich löschen?"), 1) !=
        Tools::mrYes)
        return;
    // In the dialog's transaction: Cancel gives the insemination back.
    db::Query q(taKalbungEdit_,
                QStringLiteral("EXECUTE PROCEDURE P_DO_BESAMUNG_LOESCHEN(:TIER_ID, :BESAMUNG_ID, "
                               ":KALBUNG_ID, :BESAMUNG_NR)"));
    const db::Field& id = besamungen_.FieldByName(QStringLiteral("ID"));
    q.Param(QStringLiteral("TIER_ID")).SetNull();
    if (id.IsNull())
        q.Param(QStringLiteral("BESAMUNG_ID")).SetNull();
    else
        q.Param(QStringLiteral("BESAMUNG_ID")).SetInteger(id.AsInteger());
    q.Param(QStringLiteral("KALBUNG_ID")).SetInteger(kalbungID_);
    q.Param(QStringLiteral("BESAMUNG_NR"))
        .SetInteger(besamungen_.FieldByName(QStringLiteral("NR")).AsInteger());
    q.Execute();
    BesamungenNeuLaden();
}

void TfrmKalbungEdit::Ok()
{
    DBTools::Sicher([&] {
        if (DBTools::Posten(kalbung_))
            accept();
    });
}

void TfrmKalbungEdit::done(int result)
{
    if (DBTools::Bearbeitet(kalbung_))
        kalbung_.Cancel();
    TZRDialog::done(result);
}
