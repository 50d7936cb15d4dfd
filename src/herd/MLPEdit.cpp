#include "MLPEdit.h"

#include "MLPLogik.h"
#include "Stammdaten.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <SilentAbort.h>

#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBZRDateEdit.h>
#include <DataSetModel.h>
#include <Database.h>
#include <Error.h>
#include <Meldung.h>
#include <Query.h>
#include <ZRBandedHeader.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using DBTools::Bearbeitet;

using DBTools::Sicher;

int HarnstoffAnzeige()
{
    const TEinstellungen* e = Einstellungen();
    return e ? e->GetHarnstoffAnzeige() : 0;
}

int Id(db::DataSet& d, const QString& feld = QStringLiteral("ID"))
{
    return d.Active() && !d.IsEmpty() && !d.FieldByName(feld).IsNull()
               ? d.FieldByName(feld).AsInteger()
               : 0;
}

TDBFloatEdit* Zahlfeld(QWidget* parent, db::DataSet& ds, const QString& feld, int stellen,
                       double min, double max)
{
    auto* e = new TDBFloatEdit(parent);
    e->setObjectName(QStringLiteral("ed") + feld);
    e->SetDigits(stellen);
    e->SetMin(min);
    e->SetMax(max);
    e->SetAllowNull(true);
    e->SetDataSource(&ds);
    e->SetDataField(feld);
    e->setMaximumWidth(90);
    return e;
}

QHBoxLayout* OkAbbrechen(QDialog* dlg, QPushButton*& ok, std::function<void()> okWirkung)
{
    ok = new QPushButton(QStringLiteral("Ok"), dlg);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), dlg);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch();
    zeile->addWidget(ok);
    zeile->addWidget(abbrechen);
    QObject::connect(ok, &QPushButton::clicked, dlg, [w = std::move(okWirkung)] { Sicher(w); });
    QObject::connect(abbrechen, &QPushButton::clicked, dlg, &QDialog::reject);
    return zeile;
}

void Spalten(db::DataSet& d, const QList<std::pair<QString, QString>>& sichtbar)
{
    for (int i = 0; i < d.FieldCount(); ++i)
        d.Fields(i).Visible = false;
    for (const auto& [feld, titel] : sichtbar) {
        db::Field& f = d.FieldByName(feld);
        f.Visible = true;
        f.DisplayLabel = titel;
    }
}

TZRcxGridDBTableView* Ansicht(TZRDBcxGrid* grid)
{
    return static_cast<TZRcxGridDBTableView*>(grid->ActiveView());
}

}  // namespace

// --------------------------------------------------------------------------------- TfrmMLPPMEdit

TfrmMLPPMEdit::TfrmMLPPMEdit(db::Database& datenbank, int id, QWidget* owner)
    : TZRDialog(owner), transaktion_(datenbank, QStringLiteral("TAEdit")), daten_(transaktion_)
{
    setObjectName(QStringLiteral("frmMLPPMEdit"));
    setWindowTitle(QStringLiteral("Probemelken"));
    daten_.SetSelectSQL(QStringLiteral("select * from T_PROBEMELKEN where ID = :ID"));
    daten_.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_PROBEMELKEN (ID, NUMMER, DATUM) VALUES (:ID, :NUMMER, :DATUM)"));
    daten_.SetModifySQL(QStringLiteral(
        "UPDATE T_PROBEMELKEN SET NUMMER = :NUMMER, DATUM = :DATUM WHERE ID = :OLD_ID"));
    daten_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_PROBEMELKEN"));
    transaktion_.Start();
    nummer_ = Zahlfeld(this, daten_, QStringLiteral("NUMMER"), 0, 0, 99999999);
    datum_ = new TDBZRDateEdit(this);
    datum_->setObjectName(QStringLiteral("edDatum"));
    datum_->SetDataSource(&daten_);
    datum_->SetDataField(QStringLiteral("DATUM"));
    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Nr.:"), nummer_);
    felder->addRow(QStringLiteral("Datum:"), datum_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addLayout(OkAbbrechen(this, ok_, [this] {
        daten_.UpdateRecord();
        if (DBTools::Posten(daten_))
            accept();
    }));
    daten_.Param(QStringLiteral("ID")).SetInteger(id);
    daten_.Open();
    if (id <= 0)
        daten_.Append();
}

void TfrmMLPPMEdit::done(int result)
{
    if (Bearbeitet(daten_))
        daten_.Cancel();
    id_ = result == QDialog::Accepted ? Id(daten_) : 0;
    daten_.Close();
    DBTools::TransaktionBeenden(transaktion_, result == QDialog::Accepted);
    TZRDialog::done(result);
}

// ------------------------------------------------------------------------------ TfrmMLPHerdeEdit

TfrmMLPHerdeEdit::TfrmMLPHerdeEdit(db::Database& datenbank, int id, int probemelken, QWidget* owner)
    : TZRDialog(owner),
      transaktion_(datenbank, QStringLiteral("TAEdit")),
      daten_(transaktion_),
      betrieb_(new TDBComboBox(this, true))
{
    setObjectName(QStringLiteral("frmMLPHerdeEdit"));
    setWindowTitle(id <= 0 ? QStringLiteral("Neuer Herdendurchschnitt")
                           : QStringLiteral("Herdendurchschnitt bearbeiten"));
    daten_.SetSelectSQL(QStringLiteral("select * from T_PROBEMELKEN_HERDE where ID = :ID"));
    daten_.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_PROBEMELKEN_HERDE (ID, PROBEMELKEN, BETRIEB, MILCH, FETTKG, EIWEISKG, "
        "FETTPRO, EIWEISPRO) VALUES (:ID, :PROBEMELKEN, :BETRIEB, :MILCH, :FETTKG, :EIWEISKG, "
        ":FETTPRO, :EIWEISPRO)"));
    daten_.SetModifySQL(QStringLiteral(
        "UPDATE T_PROBEMELKEN_HERDE SET BETRIEB = :BETRIEB, MILCH = :MILCH, FETTKG = :FETTKG, "
        "EIWEISKG = :EIWEISKG, FETTPRO = :FETTPRO, EIWEISPRO = :EIWEISPRO WHERE ID = :OLD_ID"));
    daten_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_PROBEMELKEN_HERDE"));
    transaktion_.Start();
    betrieb_->setObjectName(QStringLiteral("cbBetrieb"));
    betrieb_->lineEdit()->setMaxLength(15);
    betrieb_->setMinimumWidth(160);

    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Betriebsnummer:"), betrieb_);
    for (const auto& [feld, titel, stellen, max] :
         {std::tuple{"MILCH", "Milch (kg):", 0, 99999.0},
          std::tuple{"FETTKG", "Fett (kg):", 0, 2000.0},
          std::tuple{"FETTPRO", "Fett (%):", 2, 100.0},
          std::tuple{"EIWEISKG", "Eiweis (kg):", 0, 2000.0},
          std::tuple{"EIWEISPRO", "Eiweis (%):", 2, 100.0}}) {
        TDBFloatEdit* e = Zahlfeld(this, daten_, QString::fromLatin1(feld), stellen, 0, max);
        felder_ << e;
        felder->addRow(QString::fromUtf8(titel), e);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addLayout(OkAbbrechen(this, ok_, [this] {
        daten_.UpdateRecord();
        if (daten_.FieldByName(QStringLiteral("BETRIEB")).AsString().trimmed().isEmpty())
            DBTools::DBFehlerMelden(betrieb_,
                                    QStringLiteral("Bitte geben Sie die Betriebsnummer ein."));
        if (DBTools::Posten(daten_))
            accept();
    }));

    db::Query betriebe(transaktion_, QStringLiteral("SELECT DISTINCT BETRIEB FROM "
                                                    "T_PROBEMELKEN_HERDE ORDER BY BETRIEB"));
    for (betriebe.Open(); !betriebe.Eof(); betriebe.Next())
        betrieb_->Eintrag(betriebe.Field(0).AsString().trimmed());
    daten_.Param(QStringLiteral("ID")).SetInteger(id);
    daten_.Open();
    if (id <= 0) {
        daten_.Append();
        daten_.FieldByName(QStringLiteral("PROBEMELKEN")).SetInteger(probemelken);
    }
    betrieb_->SetDataSource(&daten_);
    betrieb_->SetDataField(QStringLiteral("BETRIEB"));
}

TDBFloatEdit* TfrmMLPHerdeEdit::Feld(const QString& feldname) const
{
    for (TDBFloatEdit* e : felder_)
        if (e->DataField() == feldname)
            return e;
    return nullptr;
}

void TfrmMLPHerdeEdit::done(int result)
{
    if (Bearbeitet(daten_))
        daten_.Cancel();
    daten_.Close();
    DBTools::TransaktionBeenden(transaktion_, result == QDialog::Accepted);
    TZRDialog::done(result);
}

// ----------------------------------------------------------------------------- TfrmMLPEinzelEdit

TfrmMLPEinzelEdit::TfrmMLPEinzelEdit(db::Database& datenbank, TfrmMLPEdit& fenster)
    : TZRDialog(&fenster),
      fenster_(fenster),
      transaktion_(datenbank, QStringLiteral("TAEdit")),
      daten_(transaktion_),
      art_(new TDBComboBox(this)),
      blaettern_(new QToolButton(this))
{
    setObjectName(QStringLiteral("frmMLPEinzelEdit"));
    setHelpContext(HilfeKontext);
    daten_.SetSelectSQL(QStringLiteral("select * from T_PROBEMELKEN_WERTE where ID = :ID"));
    daten_.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_PROBEMELKEN_WERTE (ID, TIER, PROBEMELKEN, TYP, MILCH, FETT, EIWEIS, "
        "ZELLZAHL, HARNSTOFF, LACTOSE, TROCKENMASSE, MILCHWERT, LTAGE, LMILCH, LFETT, LEIWEIS) "
        "VALUES (:ID, :TIER, :PROBEMELKEN, :TYP, :MILCH, :FETT, :EIWEIS, :ZELLZAHL, :HARNSTOFF, "
        ":LACTOSE, :TROCKENMASSE, :MILCHWERT, :LTAGE, :LMILCH, :LFETT, :LEIWEIS)"));
    daten_.SetModifySQL(QStringLiteral(
        "UPDATE T_PROBEMELKEN_WERTE SET TYP = :TYP, MILCH = :MILCH, FETT = :FETT, EIWEIS = "
        ":EIWEIS, ZELLZAHL = :ZELLZAHL, HARNSTOFF = :HARNSTOFF, LACTOSE = :LACTOSE, TROCKENMASSE "
        "= :TROCKENMASSE, MILCHWERT = :MILCHWERT, LTAGE = :LTAGE, LMILCH = :LMILCH, LFETT = "
        ":LFETT, LEIWEIS = :LEIWEIS WHERE ID = :OLD_ID"));
    daten_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_PROBEMELKEN_WERTE"));
    transaktion_.Start();

    art_->setObjectName(QStringLiteral("cbArt"));
    for (const auto& [code, text] : MLP::Typen())
        art_->Eintrag(text, code);
    const MLP::HarnstoffEinheit harnstoff = MLP::Harnstoff(HarnstoffAnzeige());
    auto* pm = new QGroupBox(QStringLiteral("Probemelken"), this);
    auto* pmFelder = new QGridLayout(pm);
    int zeile = 0;
    for (const auto& [feld, titel, stellen, max] :
         {std::tuple{"MILCH", "Milch", 1, 99.9}, std::tuple{"FETT", "Fett", 2, 100.0},
          std::tuple{"EIWEIS", "Eiweis", 2, 100.0}, std::tuple{"ZELLZAHL", "Zellzahl", 0, 99999.0},
          std::tuple{"HARNSTOFF", "Harnstoff", 0, 9999.0},
          std::tuple{"LACTOSE", "Laktose", 2, 999.0},
          std::tuple{"TROCKENMASSE", "Trockenmasse", 2, 9999.0},
          std::tuple{"MILCHWERT", "Milchwert", 0, 999.0}}) {
        TDBFloatEdit* e = Zahlfeld(pm, daten_, QString::fromLatin1(feld), stellen, 0, max);
        if (QLatin1String(feld) == QLatin1String("HARNSTOFF")) {
            // The edit shows and takes the setting's unit; the field keeps ppm.
            e->SetFactor(harnstoff.faktor);
            e->SetDigits(harnstoff.stellen);
            e->SetMax(max * harnstoff.faktor);
        }
        felder_ << e;
        pmFelder->addWidget(new QLabel(QString::fromLatin1(titel), pm), zeile, 0);
        pmFelder->addWidget(e, zeile, 1);
        if (QLatin1String(feld) == QLatin1String("HARNSTOFF"))
            pmFelder->addWidget(new QLabel(harnstoff.einheit, pm), zeile, 2);
        ++zeile;
    }
    auto* lak = new QGroupBox(QStringLiteral("aufgerechnete Laktation"), this);
    auto* lakFelder = new QGridLayout(lak);
    zeile = 0;
    for (const auto& [feld, titel, stellen, max] :
         {std::tuple{"LTAGE", "Tage", 0, 9999.0}, std::tuple{"LMILCH", "Milch", 0, 999999.0},
          std::tuple{"LFETT", "Fett", 2, 100.0}, std::tuple{"LEIWEIS", "Eiweis", 2, 100.0}}) {
        TDBFloatEdit* e = Zahlfeld(lak, daten_, QString::fromLatin1(feld), stellen, 0, max);
        felder_ << e;
        lakFelder->addWidget(new QLabel(QString::fromLatin1(titel), lak), zeile, 0);
        lakFelder->addWidget(e, zeile, 1);
        ++zeile;
    }
    lakFelder->setRowStretch(zeile, 1);
    art_->SetDataSource(&daten_);
    art_->SetDataField(QStringLiteral("TYP"));
    connect(art_, &QComboBox::activated, this, [this] { Farben(); });

    blaettern_->setObjectName(QStringLiteral("btnBlaettern"));
    blaettern_->setText(QStringLiteral("◀ ▶"));
    blaettern_->setToolTip(QStringLiteral("Bild auf: voriges Tier, Bild ab: nächstes Tier"));
    blaettern_->installEventFilter(this);
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });

    auto* kopf = new QHBoxLayout;
    kopf->addWidget(new QLabel(QStringLiteral("Art"), this));
    kopf->addWidget(art_);
    kopf->addStretch();
    kopf->addWidget(blaettern_);
    auto* gruppen = new QHBoxLayout;
    gruppen->addWidget(pm);
    gruppen->addWidget(lak);
    QPushButton* ok = nullptr;
    QHBoxLayout* knoepfe = OkAbbrechen(this, ok, [this] {
        Speichern();
        accept();
    });
    ok_ = ok;
    knoepfe->insertWidget(0, hilfe);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kopf);
    layout->addLayout(gruppen);
    layout->addLayout(knoepfe);
    for (QWidget* w : std::initializer_list<QWidget*>{art_})
        w->installEventFilter(this);
    for (TDBFloatEdit* e : felder_)
        e->installEventFilter(this);
    Laden();
}

TDBFloatEdit* TfrmMLPEinzelEdit::Feld(const QString& feldname) const
{
    for (TDBFloatEdit* e : felder_)
        if (e->DataField() == feldname)
            return e;
    return nullptr;
}

void TfrmMLPEinzelEdit::Laden()
{
    db::DataSet& kuh = fenster_.Einzelwerte();
    if (!kuh.Active() || kuh.IsEmpty())
        throw std::runtime_error("Es ist keine Kuh ausgewählt.");
    const int tier = kuh.FieldByName(QStringLiteral("TIER")).AsInteger();
    const int werte = Id(kuh);
    daten_.Close();
    if (!transaktion_.Active())
        transaktion_.Start();
    daten_.Param(QStringLiteral("ID")).SetInteger(werte > 0 ? werte : -1);
    daten_.Open();
    if (werte <= 0) {
        daten_.Append();
        daten_.FieldByName(QStringLiteral("TIER")).SetInteger(tier);
        daten_.FieldByName(QStringLiteral("PROBEMELKEN")).SetInteger(Id(fenster_.Probemelken()));
        daten_.FieldByName(QStringLiteral("TYP")).SetString(QStringLiteral("1N"));
    }
    db::Query stamm(transaktion_, QStringLiteral("SELECT KNR, NAME, NUMMER\n"
                                                 "FROM T_STAMMDATEN\n"
                                                 "WHERE ID = :ID"));
    stamm.Param(QStringLiteral("ID")).SetInteger(tier);
    stamm.Open();
    if (!stamm.Eof())
        setWindowTitle(MLP::EinzelTitel(
            stamm.Field(0).IsNull() ? QString() : KNRFormatieren(stamm.Field(0).AsInteger()),
            stamm.Field(1).AsString(), stamm.Field(2).AsString()));
    Farben();
    art_->setFocus();
}

void TfrmMLPEinzelEdit::Farben()
{
    const bool normal =
        daten_.Active() &&
        daten_.FieldByName(QStringLiteral("TYP")).AsString().trimmed() == QLatin1String("1N");
    const QColor farbe = palette().color(normal ? QPalette::Base : QPalette::Button);
    for (int i = 0; i < 8; ++i) {
        QPalette p = felder_[i]->palette();
        p.setColor(QPalette::Base, farbe);
        felder_[i]->setPalette(p);
    }
}

void TfrmMLPEinzelEdit::Speichern()
{
    daten_.UpdateRecord();
    DBTools::Posten(daten_);
    daten_.Close();
    transaktion_.Commit();
}

void TfrmMLPEinzelEdit::Schritt(int richtung)
{
    Speichern();
    db::DataSet& kuh = fenster_.Einzelwerte();
    const int tier = kuh.FieldByName(QStringLiteral("TIER")).AsInteger();
    fenster_.Aktualisieren();
    DBTools::LocateInteger(kuh, QStringLiteral("TIER"), tier, false);
    const int vorher = kuh.RecNo();
    kuh.MoveBy(richtung);
    if (kuh.RecNo() == vorher)
        Tools::MeldungInfo(richtung > 0 ? QStringLiteral("Sie sind am Ende der Liste")
                                        : QStringLiteral("Sie sind am Anfang der Liste"));
    Laden();
}

void TfrmMLPEinzelEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_PageDown || e->key() == Qt::Key_PageUp) {
        const int richtung = e->key() == Qt::Key_PageDown ? 1 : -1;
        Sicher([this, richtung] { Schritt(richtung); });
        return;
    }
    TZRDialog::keyPressEvent(e);
}

bool TfrmMLPEinzelEdit::eventFilter(QObject* objekt, QEvent* e)
{
    if (objekt == blaettern_ && e->type() == QEvent::MouseButtonRelease) {
        auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::LeftButton && blaettern_->rect().contains(m->position().toPoint())) {
            const bool zurueck = m->position().x() < 16 && m->position().y() < 16;
            Sicher([this, zurueck] { Schritt(zurueck ? -1 : 1); });
        }
    }
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            if (objekt == art_ && art_->currentData().toString() != QLatin1String("1N")) {
                Feld(QStringLiteral("LTAGE"))->setFocus();
                return true;
            }
            if (objekt == art_ || felder_.contains(static_cast<TDBFloatEdit*>(objekt))) {
                focusNextChild();
                return true;
            }
        }
    }
    return TZRDialog::eventFilter(objekt, e);
}

void TfrmMLPEinzelEdit::done(int result)
{
    if (result != QDialog::Accepted && Bearbeitet(daten_))
        daten_.Cancel();
    daten_.Close();
    DBTools::TransaktionBeenden(transaktion_, result == QDialog::Accepted);
    TZRDialog::done(result);
}

// ----------------------------------------------------------------------------------- TfrmMLPEdit

TfrmMLPEdit::TfrmMLPEdit(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      transaktion_(datenbank, QStringLiteral("TAMLP")),
      pm_(transaktion_),
      herde_(transaktion_),
      werte_(transaktion_),
      pmGrid_(new TZRDBcxGrid(this)),
      herdeGrid_(new TZRDBcxGrid(this)),
      werteGrid_(new TZRDBcxGrid(this)),
      popup_(new QMenu(this))
{
    setObjectName(QStringLiteral("frmMLPEdit"));
    setWindowTitle(QStringLiteral("MLP-Daten"));
    setHelpContext(HilfeKontext);
    setBorderStyle(bsSizeable);
    resize(1100, 640);

    pm_.SetSelectSQL(QStringLiteral("select * from T_PROBEMELKEN order by datum"));
    herde_.SetSelectSQL(
        QStringLiteral("select * from T_PROBEMELKEN_HERDE\n"
                       "where PROBEMELKEN = :ID\n"
                       "order by Betrieb"));
    werte_.SetSelectSQL(QStringLiteral("SELECT * FROM P_GET_MLP_EINZELWERTE(:ID) ORDER BY KNR"));
    transaktion_.Start();

    auto* pmView = pmGrid_->CreateView<TZRcxGridDBTableView>(QStringLiteral("PMView"));
    pmView->SetDataSet(&pm_);
    auto* herdeView = herdeGrid_->CreateView<TZRcxGridDBTableView>(QStringLiteral("HerdeView"));
    herdeView->SetDataSet(&herde_);
    auto* werteView =
        werteGrid_->CreateView<TZRcxGridDBBandedTableView>(QStringLiteral("EinzelView"));
    werteView->SetDataSet(&werte_);
    TZRcxGridTableOptionsView optionen = werteView->OptionsView();
    optionen.ColumnAutoWidth = false;
    werteView->SetOptionsView(optionen);

    const auto knopf = [this](const char* name, const QString& text, void (TfrmMLPEdit::*w)()) {
        auto* k = new QPushButton(text, this);
        k->setObjectName(QString::fromLatin1(name));
        k->setAutoDefault(false);
        knoepfe_ << k;
        connect(k, &QPushButton::clicked, this, [this, w] { Sicher([this, w] { (this->*w)(); }); });
        return k;
    };
    auto* pmGruppe = new QGroupBox(QStringLiteral("Probemelken"), this);
    auto* pmKnoepfe = new QHBoxLayout;
    pmKnoepfe->addWidget(knopf("btnPMNeu", QStringLiteral("Neu"), &TfrmMLPEdit::PMNeu));
    pmKnoepfe->addWidget(
        knopf("btnPMBearbeiten", QStringLiteral("Bearbeiten"), &TfrmMLPEdit::PMBearbeiten));
    pmKnoepfe->addWidget(
        knopf("btnPMEntfernen", QStringLiteral("Entfernen"), &TfrmMLPEdit::PMEntfernen));
    auto* pmLayout = new QVBoxLayout(pmGruppe);
    pmLayout->addWidget(pmGrid_);
    pmLayout->addLayout(pmKnoepfe);
    auto* herdeGruppe = new QGroupBox(QStringLiteral("gleitender Herdendurchschnitt"), this);
    auto* herdeKnoepfe = new QHBoxLayout;
    herdeKnoepfe->addWidget(knopf("btnHerdeNeu", QStringLiteral("Neu"), &TfrmMLPEdit::HerdeNeu));
    herdeKnoepfe->addWidget(
        knopf("btnHerdeBearbeiten", QStringLiteral("Bearbeiten"), &TfrmMLPEdit::HerdeBearbeiten));
    herdeKnoepfe->addWidget(
        knopf("btnHerdeLoeschen", QStringLiteral("Löschen"), &TfrmMLPEdit::HerdeLoeschen));
    herdeKnoepfe->addStretch();
    auto* herdeLayout = new QVBoxLayout(herdeGruppe);
    herdeLayout->addWidget(herdeGrid_);
    herdeLayout->addLayout(herdeKnoepfe);
    auto* einzelGruppe = new QGroupBox(QStringLiteral("Einzelwerte"), this);
    auto* einzelKnoepfe = new QHBoxLayout;
    einzelKnoepfe->addWidget(
        knopf("btnEinzelBearbeiten", QStringLiteral("Bearbeiten"), &TfrmMLPEdit::EinzelBearbeiten));
    einzelKnoepfe->addWidget(knopf("btnZurKuh", QStringLiteral("zur Kuh"), &TfrmMLPEdit::ZurKuh));
    einzelKnoepfe->addStretch();
    auto* einzelLayout = new QVBoxLayout(einzelGruppe);
    einzelLayout->addWidget(werteGrid_);
    einzelLayout->addLayout(einzelKnoepfe);
    auto* oben = new QHBoxLayout;
    oben->addWidget(pmGruppe, 1);
    oben->addWidget(herdeGruppe, 3);
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen->setAutoDefault(false);
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    hilfe->setAutoDefault(false);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(schliessen);
    unten->addWidget(hilfe);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(oben, 2);
    layout->addWidget(einzelGruppe, 5);
    layout->addLayout(unten);
    connect(schliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });

    QAction* bearbeiten = popup_->addAction(QStringLiteral("Bearbeiten"));
    QAction* zurKuh = popup_->addAction(QStringLiteral("zur Kuh"));
    popup_->setDefaultAction(bearbeiten);
    connect(bearbeiten, &QAction::triggered, this,
            [this] { Sicher([this] { EinzelBearbeiten(); }); });
    connect(zurKuh, &QAction::triggered, this, [this] { Sicher([this] { ZurKuh(); }); });
    werteView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(werteView, &QWidget::customContextMenuRequested, this,
            [this, werteView](QPoint p) { popup_->popup(werteView->viewport()->mapToGlobal(p)); });
    connect(werteView, &QAbstractItemView::doubleClicked, this,
            [this] { Sicher([this] { EinzelBearbeiten(); }); });
    connect(herdeView, &QAbstractItemView::doubleClicked, this,
            [this] { Sicher([this] { HerdeBearbeiten(); }); });
    connect(werteView->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int s) {
        const int feld = EinzelAnsicht()->DataModel()->FieldIndex(s);
        if (feld >= 0)
            Sicher([this, feld] { Sortieren(werte_.Fields(feld).FieldName()); });
    });
    pm_.AfterScroll = [this](db::DataSet&) {
        if (!laedt_)
            Sicher([this] { DetailsLaden(0, 0); });
    };

    if (DM())
        aenderung_ =
            connect(DM(), &TDM::ChangeMLP, this, [this] { Sicher([this] { Aktualisieren(); }); });
    Aktualisieren();
    pmView->RestoreLayout();
    herdeView->RestoreLayout();
    werteView->RestoreLayout();
}

TfrmMLPEdit::~TfrmMLPEdit()
{
    disconnect(aenderung_);
    pm_.AfterScroll = nullptr;
    delete pmGrid_;
    delete herdeGrid_;
    delete werteGrid_;
}

TZRcxGridDBTableView* TfrmMLPEdit::PMAnsicht() const
{
    return Ansicht(pmGrid_);
}

TZRcxGridDBTableView* TfrmMLPEdit::HerdeAnsicht() const
{
    return Ansicht(herdeGrid_);
}

TZRcxGridDBBandedTableView* TfrmMLPEdit::EinzelAnsicht() const
{
    return static_cast<TZRcxGridDBBandedTableView*>(werteGrid_->ActiveView());
}

QPushButton* TfrmMLPEdit::Knopf(const QString& name) const
{
    for (QPushButton* k : knoepfe_)
        if (k->objectName() == name)
            return k;
    return nullptr;
}

void TfrmMLPEdit::Merken()
{
    if (!pm_.Active())
        return;
    gemerktPM_ = Id(pm_);
    gemerktHerde_ = Id(herde_);
    gemerktTier_ = Id(werte_, QStringLiteral("TIER"));
}

void TfrmMLPEdit::Aktualisieren()
{
    const bool erstes = erstesLaden_;
    Merken();
    const int pm = gemerktPM_;
    const int herde = gemerktHerde_;
    const int tier = gemerktTier_;
    laedt_ = true;
    struct Ende {
        bool& laedt;
        ~Ende() { laedt = false; }
    } ende{laedt_};
    werte_.Close();
    herde_.Close();
    pm_.Close();
    if (transaktion_.Active())
        transaktion_.Commit();
    transaktion_.Start();
    pm_.Open();
    pm_.RecordCount();
    Spalten(pm_, {{QStringLiteral("NUMMER"), QStringLiteral("Nr.")},
                  {QStringLiteral("DATUM"), QStringLiteral("Datum")}});
    PMAnsicht()->DataModel()->Reset();
    if (erstes)
        pm_.Last();
    else if (pm > 0)
        DBTools::LocateInteger(pm_, QStringLiteral("ID"), pm, false);
    erstesLaden_ = false;
    DetailsLaden(herde, tier);
}

void TfrmMLPEdit::DetailsLaden(int herdeID, int tierID)
{
    const int pm = Id(pm_);
    herde_.Close();
    herde_.Param(QStringLiteral("ID")).SetInteger(pm);
    herde_.Open();
    herde_.RecordCount();
    Spalten(herde_, {{QStringLiteral("BETRIEB"), QStringLiteral("Betriebsnummer")},
                     {QStringLiteral("MILCH"), QStringLiteral("Milch (kg)")},
                     {QStringLiteral("FETTKG"), QStringLiteral("Fett (kg)")},
                     {QStringLiteral("FETTPRO"), QStringLiteral("Fett (%)")},
                     {QStringLiteral("EIWEISKG"), QStringLiteral("Eiweis (kg)")},
                     {QStringLiteral("EIWEISPRO"), QStringLiteral("Eiweis (%)")}});
    HerdeAnsicht()->DataModel()->Reset();
    if (herdeID > 0)
        DBTools::LocateInteger(herde_, QStringLiteral("ID"), herdeID, false);

    werte_.Close();
    if (!sortFeld_.isEmpty())
        werte_.SetSelectSQL(QStringLiteral("SELECT * FROM P_GET_MLP_EINZELWERTE(:ID) ORDER BY ") +
                            MLP::Sortierung(sortFeld_, absteigend_));
    werte_.Param(QStringLiteral("ID")).SetInteger(pm);
    werte_.Open();
    werte_.RecordCount();
    if (tierID > 0)
        DBTools::LocateInteger(werte_, QStringLiteral("TIER"), tierID, false);
    EinzelZeichnen();
    KnoepfeSetzen();
}

void TfrmMLPEdit::EinzelZeichnen()
{
    TZRcxGridDBBandedTableView* view = EinzelAnsicht();
    const QList<std::pair<QString, QList<std::pair<QString, QString>>>> baender = {
        {QStringLiteral("Tier"),
         {{"KNRDISPLAY", "KNR"}, {"NAME", "Name"}, {"LKALBUNG", "l. Kalbung"}}},
        {QStringLiteral("altes PM"),
         {{"AMILCH", "Milch"},
          {"AFETT", "Fett"},
          {"AEIWEIS", "Eiweiß"},
          {"AZELLZAHL", "Zellzahl"}}},
        {QStringLiteral("aktuelles PM"),
         {{"MILCH", "Milch"},
          {"FETT", "Fett"},
          {"EIWEIS", "Eiweiß"},
          {"ZELLZAHL", "Zellzahl"},
          {"HARNSTOFF", "Harnstoff"},
          {"LAKTOSE", "Laktose"},
          {"TROCKENMASSE", "Trockenmasse"},
          {"MILCHWERT", "Milchwert"}}},
        {QStringLiteral("aufgerechnete Laktation"),
         {{"LTAGE", "Tage"}, {"LMILCH", "Milch"}, {"LFETT", "Fett"}, {"LEIWEIS", "Eiweiß"}}}};
    QList<std::pair<QString, QString>> sichtbar;
    for (const auto& band : baender)
        sichtbar += band.second;
    Spalten(werte_, sichtbar);
    for (const char* f : {"AMILCH", "MILCH"})
        werte_.FieldByName(QString::fromLatin1(f)).DisplayFormat = QStringLiteral("0.0");
    for (const char* f : {"AFETT", "AEIWEIS", "FETT", "EIWEIS", "LFETT", "LEIWEIS"})
        werte_.FieldByName(QString::fromLatin1(f)).DisplayFormat = QStringLiteral("0.00");
    view->DataModel()->Reset();
    TZRBandedHeader* kopf = view->Bands();
    const bool neu = kopf->BandCount() == 0;
    const int harnstoffAnzeige = HarnstoffAnzeige();
    const int atyp = werte_.FieldByName(QStringLiteral("ATYP")).Index();
    const int typ = werte_.FieldByName(QStringLiteral("TYP")).Index();
    const int harnstoff = werte_.FieldByName(QStringLiteral("HARNSTOFF")).Index();
    for (int b = 0; b < baender.size(); ++b) {
        const int band = neu ? kopf->AddBand(baender[b].first) : b;
        for (const auto& [feld, titel] : baender[b].second) {
            const int spalte = view->DataModel()->ColumnOfField(feld);
            kopf->SetColumnBand(spalte, band);
            const int breite = kopf->fontMetrics().horizontalAdvance(titel) + 16;
            view->setColumnWidth(spalte, b == 0 && feld != QLatin1String("KNRDISPLAY")
                                             ? std::max(breite, 100)
                                             : std::max(breite, 58));
            // Tests without values show their kind across the band; urea in the setting's unit.
            const int typFeld = b == 1 ? atyp : b == 2 ? typ : -1;
            const bool istHarnstoff = feld == QLatin1String("HARNSTOFF");
            if (typFeld < 0 && !istHarnstoff)
                continue;
            view->CellDelegate()->SetOnCustomDrawCell(
                spalte, [this, view, kopf, band, typFeld, istHarnstoff, harnstoff,
                         harnstoffAnzeige](QPainter* p, const QStyleOptionViewItem& option,
                                           const QModelIndex& index, bool& done) {
                    const QString ersatz =
                        typFeld >= 0
                            ? MLP::BandErsatz(werte_.ValueAt(index.row(), typFeld).AsString())
                            : QString();
                    if (ersatz.isEmpty() && !istHarnstoff)
                        return;
                    QStyleOptionViewItem hinten = option;
                    hinten.text.clear();
                    view->style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &hinten, p, view);
                    p->save();
                    p->setPen(option.palette.color(option.state & QStyle::State_Selected
                                                       ? QPalette::HighlightedText
                                                       : QPalette::Text));
                    if (!ersatz.isEmpty()) {
                        p->setClipRect(option.rect);
                        const QRect b = kopf->BandRect(band);
                        p->drawText(
                            QRect(b.left(), option.rect.top(), b.width(), option.rect.height()),
                            Qt::AlignCenter, ersatz);
                    } else {
                        const db::Value& wert = werte_.ValueAt(index.row(), harnstoff);
                        p->drawText(
                            option.rect.adjusted(2, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter,
                            MLP::HarnstoffText(
                                wert.IsNull() ? std::nullopt : std::optional<int>(wert.AsInteger()),
                                harnstoffAnzeige));
                    }
                    p->restore();
                    done = true;
                });
        }
    }
}

void TfrmMLPEdit::KnoepfeSetzen()
{
    const MLP::Knoepfe k =
        MLP::KnoepfeFreigeben(pm_.Active() && !pm_.IsEmpty(), herde_.Active() && !herde_.IsEmpty(),
                              werte_.Active() && !werte_.IsEmpty());
    Knopf(QStringLiteral("btnPMBearbeiten"))->setEnabled(k.pmEntfernen);
    Knopf(QStringLiteral("btnPMEntfernen"))->setEnabled(k.pmEntfernen);
    Knopf(QStringLiteral("btnHerdeNeu"))->setEnabled(k.herdeNeu);
    Knopf(QStringLiteral("btnHerdeBearbeiten"))->setEnabled(k.herdeBearbeiten);
    Knopf(QStringLiteral("btnHerdeLoeschen"))->setEnabled(k.herdeLoeschen);
    Knopf(QStringLiteral("btnEinzelBearbeiten"))->setEnabled(k.einzelBearbeiten);
    Knopf(QStringLiteral("btnZurKuh"))->setEnabled(k.zurKuh);
    popup_->actions().at(0)->setEnabled(k.einzelBearbeiten);
    popup_->actions().at(1)->setEnabled(k.zurKuh);
}

void TfrmMLPEdit::PMNeu()
{
    TfrmMLPPMEdit dlg(transaktion_.GetDatabase(), 0, this);
    if (dlg.exec() == QDialog::Accepted) {
        const int id = dlg.ID();
        Aktualisieren();
        if (id > 0)
            DBTools::LocateInteger(pm_, QStringLiteral("ID"), id, false);
    }
}

void TfrmMLPEdit::PMBearbeiten()
{
    const int id = Id(pm_);
    if (id <= 0)
        return;
    TfrmMLPPMEdit dlg(transaktion_.GetDatabase(), id, this);
    if (dlg.exec() == QDialog::Accepted)
        Aktualisieren();
}

void TfrmMLPEdit::PMEntfernen()
{
    Loeschen(QStringLiteral("Wollen Sie wirklich dieses Probemelken mit allen Werten löschen?"),
             QStringLiteral("DELETE FROM T_PROBEMELKEN WHERE ID = :ID"), Id(pm_));
}

void TfrmMLPEdit::HerdeNeu()
{
    const int pm = Id(pm_);
    if (pm <= 0)
        return;
    TfrmMLPHerdeEdit dlg(transaktion_.GetDatabase(), 0, pm, this);
    if (dlg.exec() == QDialog::Accepted)
        Aktualisieren();
}

void TfrmMLPEdit::HerdeBearbeiten()
{
    const int id = Id(herde_);
    if (id <= 0)
        return;
    TfrmMLPHerdeEdit dlg(transaktion_.GetDatabase(), id, Id(pm_), this);
    if (dlg.exec() == QDialog::Accepted)
        Aktualisieren();
}

void TfrmMLPEdit::HerdeLoeschen()
{
    Loeschen(QStringLiteral("Wollen Sie wirklich diesen Herdendurchschnitt löschen?"),
             QStringLiteral("DELETE FROM T_PROBEMELKEN_HERDE WHERE ID = :ID"), Id(herde_));
}

void TfrmMLPEdit::Loeschen(const QString& frage, const QString& sql, int id)
{
    if (id <= 0 || Tools::MeldungConfirm(frage, 1) != Tools::mrYes)
        return;
    // A failed statement ends the transaction and closes the lists: their positions first.
    Merken();
    try {
        db::Query q(transaktion_, sql);
        q.Param(QStringLiteral("ID")).SetInteger(id);
        q.Execute();
        transaktion_.Commit();
    } catch (const db::Error& e) {
        // The user learns why nothing was deleted; the lists show what is stored.
        if (transaktion_.Active())
            transaktion_.Rollback();
        QString text;
        Tools::MeldungError(DBTools::DBFehlerText(e, text) ? text : e.Message());
    }
    Aktualisieren();
}

void TfrmMLPEdit::EinzelBearbeiten()
{
    if (!werte_.Active() || werte_.IsEmpty())
        return;
    TfrmMLPEinzelEdit dlg(transaktion_.GetDatabase(), *this);
    dlg.exec();
    Aktualisieren();
}

void TfrmMLPEdit::ZurKuh()
{
    const int tier = Id(werte_, QStringLiteral("TIER"));
    if (tier <= 0)
        return;
    {
        TfrmStammdaten karte(this);
        karte.TierAnzeigen(tier, 0,
                           QStringLiteral("SELECT TIER ID, NAME, NUMMER \rFROM "
                                          "P_GET_MLP_EINZELWERTE(%1)")
                               .arg(Id(pm_)));
        karte.exec();
    }
    Aktualisieren();
}

void TfrmMLPEdit::Sortieren(const QString& feld)
{
    absteigend_ = feld == sortFeld_ && !absteigend_;
    sortFeld_ = feld;
    DetailsLaden(Id(herde_), Id(werte_, QStringLiteral("TIER")));
}

void TfrmMLPEdit::done(int result)
{
    disconnect(aenderung_);
    pm_.AfterScroll = nullptr;
    werte_.Close();
    herde_.Close();
    pm_.Close();
    try {
        if (transaktion_.Active())
            transaktion_.Commit();
    } catch (const db::Error&) {
        // Only reads were open.
    }
    TZRDialog::done(result);
}
