#include "TerminVerwaltung.h"

#include "TerminLogik.h"
#include "TerminSpeicher.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <SilentAbort.h>

#include <DBAMCheckbox.h>
#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBMemo.h>
#include <DBZRBaseEdit.h>
#include <DBZRDateEdit.h>
#include <Database.h>
#include <Error.h>
#include <FieldDataLink.h>
#include <Meldung.h>
#include <ZRDBcxGrid.h>
#include <ZRDateTools.h>
#include <ZRcxGridDBTableView.h>

#include <DataSetModel.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

using DBTools::Bearbeitet;

using DBTools::Sicher;

TDBFloatEdit* Zahlfeld(QWidget* parent, db::DataSet& ds, const char* feld, double min, double max,
                       bool leerErlaubt)
{
    auto* e = new TDBFloatEdit(parent);
    e->setObjectName(QStringLiteral("ed") + QString::fromLatin1(feld));
    e->SetDigits(0);
    e->SetMin(min);
    e->SetMax(max);
    // Without NULL an emptied edit stores 0: the columns are required.
    e->SetAllowNull(leerErlaubt);
    e->SetDataSource(&ds);
    e->SetDataField(QString::fromLatin1(feld));
    e->setMaximumWidth(70);
    return e;
}

QHBoxLayout* Knopfzeile(QWidget* parent, QPushButton*& ok, QPushButton*& abbrechen,
                        QPushButton*& hilfe)
{
    ok = new QPushButton(QStringLiteral("Ok"), parent);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    abbrechen = new QPushButton(QStringLiteral("Abbrechen"), parent);
    hilfe = new QPushButton(QStringLiteral("Hilfe"), parent);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch();
    zeile->addWidget(ok);
    zeile->addWidget(abbrechen);
    zeile->addWidget(hilfe);
    return zeile;
}

// A column of "T"/"F" shown as a check box.
void HakenSpalte(TZRcxGridDBTableView* view, const QString& feld)
{
    const int spalte = view->DataModel()->ColumnOfField(feld);
    view->CellDelegate()->SetOnCustomDrawCell(
        spalte, [view](QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index,
                       bool& done) {
            QStyleOptionViewItem hinten = option;
            hinten.text.clear();
            QStyle* stil = view->style();
            stil->drawPrimitive(QStyle::PE_PanelItemViewItem, &hinten, p, view);
            QStyleOptionButton box;
            box.rect = TZRcxGridCellDelegate::CheckRect(option);
            box.state = QStyle::State_Enabled |
                        (index.data(Qt::EditRole).toString().trimmed() == QLatin1String("T")
                             ? QStyle::State_On
                             : QStyle::State_Off);
            stil->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, p, view);
            done = true;
        });
}

void Spalte(db::DataSet& ds, const QString& feld, const QString& titel)
{
    db::Field& f = ds.FieldByName(feld);
    f.DisplayLabel = titel;
    f.Visible = true;
}

}  // namespace

// ---------------------------------------------------------------------------- TfrmFesterTermin

TfrmFesterTermin::TfrmFesterTermin(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmFesterTermin"));
    setWindowTitle(QStringLiteral("Fester Termin"));
    setHelpContext(HilfeKontext);
}

TfrmFesterTermin::~TfrmFesterTermin() = default;

void TfrmFesterTermin::Initialisieren(db::Transaction& transaktion, int terminID)
{
    qt_ = std::make_unique<db::DataSet>(transaktion);
    db::DataSet& qt = *qt_;
    TerminSpeicher::FesteTermineEinrichten(qt);

    datum_ = new TDBZRDateEdit(this);
    datum_->setObjectName(QStringLiteral("edDatum"));
    datum_->SetDataSource(&qt);
    datum_->SetDataField(QStringLiteral("DATUM"));
    vor_ = Zahlfeld(this, qt, "VOR", 0, 100, false);
    nach_ = Zahlfeld(this, qt, "NACH", 0, 100, false);
    text_ = new TDBComboBox(this, true);
    text_->setObjectName(QStringLiteral("cbText"));
    text_->lineEdit()->setMaxLength(50);
    text_->setMinimumWidth(260);
    bemerkung_ = new TDBMemo(this);
    bemerkung_->setObjectName(QStringLiteral("mmBemerkung"));
    bemerkung_->setMaximumHeight(80);
    erledigen_ = new TDBAMCheckbox(this);
    erledigen_->setObjectName(QStringLiteral("cbErledigen"));
    erledigen_->setText(QStringLiteral("Termin erledigen"));
    erledigen_->SetValueChecked(QStringLiteral("T"));
    erledigen_->SetValueUnchecked(QStringLiteral("F"));
    erledigen_->SetDataSource(&qt);
    erledigen_->SetDataField(QStringLiteral("ERLEDIGEN"));
    wiederholen_ = new QCheckBox(QStringLiteral("Wiederholen"), this);
    wiederholen_->setObjectName(QStringLiteral("cbWiederholen"));
    intervall_ = new QSpinBox(this);
    intervall_->setObjectName(QStringLiteral("seIntervall"));
    intervall_->setRange(0, 999);
    intervallArt_ = new QComboBox(this);
    intervallArt_->setObjectName(QStringLiteral("cbIntervallArt"));
    intervallArt_->addItems(
        {QStringLiteral("Tage"), QStringLiteral("Wochen"), QStringLiteral("Monate")});
    bis_ = new QLineEdit(this);
    bis_->setObjectName(QStringLiteral("edBis"));
    bis_->setMaxLength(10);
    bis_->setFixedWidth(bis_->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);

    text_->SetDataSource(&qt);
    text_->SetDataField(QStringLiteral("TEXT"));
    bemerkung_->SetDataSource(&qt);
    bemerkung_->SetDataField(QStringLiteral("BEMERKUNG"));

    auto* anzeige = new QGroupBox(QStringLiteral("Anzeige Tage"), this);
    auto* tage = new QHBoxLayout(anzeige);
    tage->addWidget(new QLabel(QStringLiteral("vor:"), anzeige));
    tage->addWidget(vor_);
    tage->addSpacing(12);
    tage->addWidget(new QLabel(QStringLiteral("nach:"), anzeige));
    tage->addWidget(nach_);
    tage->addStretch();
    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Datum:"), datum_);
    felder->addRow(anzeige);
    felder->addRow(QStringLiteral("Text:"), text_);
    felder->addRow(QStringLiteral("Bemerkung:"), bemerkung_);
    felder->addRow(erledigen_);
    auto* wiederholung = new QHBoxLayout;
    wiederholung->addWidget(wiederholen_);
    wiederholung->addWidget(new QLabel(QStringLiteral("Intervall"), this));
    wiederholung->addWidget(intervall_);
    wiederholung->addWidget(intervallArt_);
    wiederholung->addWidget(new QLabel(QStringLiteral("bis"), this));
    wiederholung->addWidget(bis_);
    wiederholung->addStretch();
    QPushButton* abbrechen = nullptr;
    QPushButton* hilfe = nullptr;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addLayout(wiederholung);
    layout->addLayout(Knopfzeile(this, ok_, abbrechen, hilfe));
    connect(ok_, &QPushButton::clicked, this, [this] { Sicher([this] { Ok(); }); });
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    connect(wiederholen_, &QCheckBox::clicked, this, [this] { WiederholenUmschalten(); });

    text_->addItems(TerminSpeicher::Texte(transaktion));
    qt.Open();
    wiederholungID_ = 0;
    wiederholen_->setChecked(false);
    if (terminID <= 0) {
        qt.Append();
        qt.FieldByName(QStringLiteral("NACH")).SetInteger(0);
        qt.FieldByName(QStringLiteral("VOR")).SetInteger(7);
        qt.FieldByName(QStringLiteral("ERLEDIGEN")).SetString(QStringLiteral("F"));
    } else {
        DBTools::LocateInteger(qt, QStringLiteral("ID"), terminID, false);
        if (const auto w = TerminSpeicher::WiederholungLesen(transaktion, terminID)) {
            wiederholungID_ = w->id;
            intervall_->setValue(w->intervall);
            intervallArt_->setCurrentIndex(Termin::IntervallArtPosition(w->art));
            bis_->setText(w->bis.isValid() ? Termin::SqlDatum(w->bis) : QString());
            wiederholen_->setChecked(true);
        }
    }
    WiederholenUmschalten();
}

void TfrmFesterTermin::WiederholenUmschalten()
{
    const bool an = wiederholen_->isChecked();
    intervall_->setEnabled(an);
    intervallArt_->setEnabled(an);
    bis_->setEnabled(an);
}

void TfrmFesterTermin::Ok()
{
    db::DataSet& qt = *qt_;
    QDate bis;
    if (wiederholen_->isChecked() && !bis_->text().trimmed().isEmpty()) {
        bis = ZRDateTools::DatumAusText(bis_->text());
        if (!bis.isValid())
            DBTools::DBFehlerMelden(bis_, QStringLiteral("Bitte geben Sie bei \"bis\" ein "
                                                         "gültiges Datum ein."));
    }
    qt.UpdateRecord();
    DBTools::Posten(qt);
    std::optional<TerminSpeicher::TWiederholung> w;
    if (wiederholen_->isChecked())
        w = TerminSpeicher::TWiederholung{wiederholungID_, intervall_->value(),
                                          Termin::IntervallArtCode(intervallArt_->currentIndex()),
                                          bis};
    TerminSpeicher::WiederholungSpeichern(
        qt.GetTransaction(), qt.FieldByName(QStringLiteral("ID")).AsInteger(), wiederholungID_, w);
    qt.Close();
    accept();
}

void TfrmFesterTermin::done(int result)
{
    if (qt_ && Bearbeitet(*qt_))
        qt_->Cancel();
    TZRDialog::done(result);
}

// ------------------------------------------------------------------------------ TfrmTierTermin

TfrmTierTermin::TfrmTierTermin(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmTierTermin"));
    setWindowTitle(QStringLiteral("Tierbezogener Termin"));
    setHelpContext(HilfeKontext);
}

TfrmTierTermin::~TfrmTierTermin()
{
    tageLink_.reset();
}

void TfrmTierTermin::Initialisieren(db::Transaction& transaktion, int einstellungID)
{
    qt_ = std::make_unique<db::DataSet>(transaktion);
    db::DataSet& qt = *qt_;
    TerminSpeicher::TierTermineEinrichten(qt);

    ankerpunkt_ = new TDBComboBox(this);
    ankerpunkt_->setObjectName(QStringLiteral("cbAnkerpunkt"));
    ankerpunkt_->setMaxVisibleItems(20);
    for (const auto& [code, text] : Termin::Ankerpunkte())
        ankerpunkt_->Eintrag(text, code);
    termin_ = Zahlfeld(this, qt, "TERMIN", -10000, 10000, false);
    vor_ = Zahlfeld(this, qt, "VOR", 0, 100, false);
    nach_ = Zahlfeld(this, qt, "NACH", 0, 100, false);
    auto* wochentage = new QHBoxLayout;
    for (int i = 0; i < 7; ++i) {
        tage_[i] = new QCheckBox(Termin::WochentagTitel()[i], this);
        tage_[i]->setObjectName(QStringLiteral("cb") + Termin::WochentagCodes()[i]);
        wochentage->addWidget(tage_[i]);
        connect(tage_[i], &QCheckBox::clicked, this, [this] { TagGeklickt(); });
    }
    wochentage->addStretch();
    betriebsstaette_ = new TDBComboBox(this);
    betriebsstaette_->setObjectName(QStringLiteral("cbBetriebsstaette"));
    betriebsstaette_->Eintrag(QStringLiteral("Alle Betriebsstätten"));
    for (const auto& [id, name] : TerminSpeicher::Betriebsstaetten(transaktion))
        betriebsstaette_->Eintrag(name, id);
    tierklasse_ = new TDBComboBox(this);
    tierklasse_->setObjectName(QStringLiteral("cbTierklasse"));
    for (const auto& [code, text] : Termin::Tierklassen())
        tierklasse_->Eintrag(text, code);
    text_ = new TDBZRBaseEdit(this);
    text_->setObjectName(QStringLiteral("edText"));
    text_->SetDataSource(&qt);
    text_->SetDataField(QStringLiteral("TEXT"));
    text_->setMaxLength(50);
    medikament_ = new TDBComboBox(this, true);
    medikament_->setObjectName(QStringLiteral("cbMedikament"));
    medikament_->lineEdit()->setMaxLength(50);
    medikament_->addItems(TerminSpeicher::Medikamente(transaktion));
    erledigen_ = new TDBAMCheckbox(this);
    erledigen_->setObjectName(QStringLiteral("cbErledigen"));
    erledigen_->setText(QStringLiteral("Termin erledigen"));
    erledigen_->SetValueChecked(QStringLiteral("T"));
    erledigen_->SetValueUnchecked(QStringLiteral("F"));
    erledigen_->SetDataSource(&qt);
    erledigen_->SetDataField(QStringLiteral("ERLEDIGEN"));
    const std::pair<TDBComboBox*, const char*> auswahlen[] = {{ankerpunkt_, "ANKERPUNKT"},
                                                              {betriebsstaette_, "BETRIEBSSTAETTE"},
                                                              {tierklasse_, "TIERKLASSE"},
                                                              {medikament_, "MEDIKAMENT"}};
    for (const auto& [auswahl, feld] : auswahlen) {
        auswahl->SetDataSource(&qt);
        auswahl->SetDataField(QString::fromLatin1(feld));
    }
    tageLink_ = std::make_unique<TFieldDataLink>();
    tageLink_->SetDataSource(&qt);
    tageLink_->SetDataField(QStringLiteral("WOCHENTAGE"));
    tageLink_->OnDataChange = [this] { TageZeigen(); };
    tageLink_->OnActiveChange = [this] { TageZeigen(); };
    tageLink_->OnUpdateData = [this] {
        if (!tageLink_->Modified())
            return;
        std::array<bool, 7> boxen{};
        for (int i = 0; i < 7; ++i)
            boxen[i] = tage_[i]->isChecked();
        tageLink_->GetField()->SetString(Termin::WochentageText(boxen));
    };

    auto* termin = new QHBoxLayout;
    termin->addWidget(termin_);
    termin->addWidget(new QLabel(QStringLiteral("Tage vor/nach Ankerpunkt"), this));
    termin->addWidget(new QLabel(QStringLiteral("(negativ = vor/positiv = nach)"), this));
    termin->addStretch();
    auto* anzeige = new QGroupBox(QStringLiteral("Anzeige Tage"), this);
    auto* tage = new QHBoxLayout(anzeige);
    tage->addWidget(new QLabel(QStringLiteral("vor:"), anzeige));
    tage->addWidget(vor_);
    tage->addSpacing(12);
    tage->addWidget(new QLabel(QStringLiteral("nach:"), anzeige));
    tage->addWidget(nach_);
    tage->addStretch();
    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Ankerpunkt:"), ankerpunkt_);
    felder->addRow(QStringLiteral("Termin:"), termin);
    felder->addRow(anzeige);
    felder->addRow(QStringLiteral("Wochentage:"), wochentage);
    felder->addRow(QStringLiteral("Betriebsstätte:"), betriebsstaette_);
    felder->addRow(QStringLiteral("Tierklasse:"), tierklasse_);
    felder->addRow(QStringLiteral("Text:"), text_);
    felder->addRow(QStringLiteral("Medikament:"), medikament_);
    felder->addRow(erledigen_);
    QPushButton* abbrechen = nullptr;
    QPushButton* hilfe = nullptr;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addLayout(Knopfzeile(this, ok_, abbrechen, hilfe));
    connect(ok_, &QPushButton::clicked, this, [this] { Sicher([this] { Ok(); }); });
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });

    qt.Open();
    if (einstellungID >= 1) {
        DBTools::LocateInteger(qt, QStringLiteral("ID"), einstellungID, false);
    } else {
        qt.Append();
        qt.FieldByName(QStringLiteral("ANKERPUNKT")).SetString(QStringLiteral("GE"));
        qt.FieldByName(QStringLiteral("TERMIN")).SetInteger(0);
        qt.FieldByName(QStringLiteral("VOR")).SetInteger(7);
        qt.FieldByName(QStringLiteral("NACH")).SetInteger(0);
        qt.FieldByName(QStringLiteral("TIERKLASSE")).SetString(QStringLiteral("AL"));
        qt.FieldByName(QStringLiteral("TEXT")).SetString(QStringLiteral("Text"));
        qt.FieldByName(QStringLiteral("ERLEDIGEN")).SetString(QStringLiteral("F"));
    }
    TageZeigen();
}

void TfrmTierTermin::TageZeigen()
{
    db::Field* f = tageLink_->GetField();
    const std::array<bool, 7> boxen = Termin::WochentageLesen(f ? f->AsString() : QString());
    for (int i = 0; i < 7; ++i)
        tage_[i]->setChecked(boxen[i]);
    tageLink_->SetModified(false);
}

void TfrmTierTermin::TagGeklickt()
{
    std::array<bool, 7> boxen{};
    for (int i = 0; i < 7; ++i)
        boxen[i] = tage_[i]->isChecked();
    if (!tageLink_->Edit()) {
        TageZeigen();
        return;
    }
    // Going into edit shows the stored days again; the click stays.
    for (int i = 0; i < 7; ++i)
        tage_[i]->setChecked(boxen[i]);
    tageLink_->SetModified();
}

void TfrmTierTermin::Ok()
{
    qt_->UpdateRecord();
    DBTools::Posten(*qt_);
    qt_->Close();
    accept();
}

void TfrmTierTermin::done(int result)
{
    if (qt_ && Bearbeitet(*qt_))
        qt_->Cancel();
    TZRDialog::done(result);
}

// ------------------------------------------------------------------------- TfrmTerminVerwaltung

TfrmTerminVerwaltung::TfrmTerminVerwaltung(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      transaktion_(datenbank, QStringLiteral("TATermin")),
      feste_(transaktion_),
      tier_(transaktion_),
      seiten_(new QTabWidget(this)),
      vergangene_(new QCheckBox(QStringLiteral("vergangene Termine anzeigen"), this)),
      festeGrid_(new TZRDBcxGrid(this)),
      tierGrid_(new TZRDBcxGrid(this))
{
    setObjectName(QStringLiteral("frmTerminVerwaltung"));
    setWindowTitle(QStringLiteral("Termin Verwaltung"));
    setHelpContext(HilfeKontext);
    setBorderStyle(bsSizeable);
    resize(760, 480);

    TerminSpeicher::TierTermineListeEinrichten(tier_);

    const auto seite = [this](const QString& titel, TZRDBcxGrid* grid, db::DataSet& daten,
                              const char* name, bool mitVergangenen) {
        auto* w = new QWidget(seiten_);
        auto* view = new TZRcxGridDBTableView(grid);
        view->setObjectName(QString::fromLatin1(name));
        grid->SetActiveView(view);
        view->SetDataSet(&daten);
        auto* knoepfe = new QHBoxLayout;
        for (const auto& [text, hinweis, wirkung] :
             {std::tuple{"Hinzufügen", "Termin hinzufügen", &TfrmTerminVerwaltung::Hinzufuegen},
              std::tuple{"Bearbeiten", "Termin bearbeiten", &TfrmTerminVerwaltung::Bearbeiten},
              std::tuple{"Entfernen", "Termin entfernen", &TfrmTerminVerwaltung::Entfernen}}) {
            auto* k = new QPushButton(QString::fromUtf8(text), w);
            k->setObjectName(QStringLiteral("btn") + QString::fromUtf8(text));
            k->setToolTip(QString::fromUtf8(hinweis));
            k->setAutoDefault(false);
            knoepfe->addWidget(k);
            connect(k, &QPushButton::clicked, this,
                    [this, wirkung] { Sicher([this, wirkung] { (this->*wirkung)(); }); });
        }
        knoepfe->addStretch();
        if (mitVergangenen)
            knoepfe->addWidget(vergangene_);
        auto* l = new QVBoxLayout(w);
        l->addLayout(knoepfe);
        l->addWidget(grid, 1);
        seiten_->addTab(w, titel);
        connect(view, &QAbstractItemView::doubleClicked, this,
                [this] { Sicher([this] { Bearbeiten(); }); });
    };
    seite(QStringLiteral("Feste Termine"), festeGrid_, feste_, "FesteTermineView", true);
    seite(QStringLiteral("Tierbezogene Termine"), tierGrid_, tier_, "TierTermineView", false);
    connect(vergangene_, &QCheckBox::clicked, this,
            [this] { Sicher([this] { FesteTermineLaden(); }); });

    QPushButton* ok = nullptr;
    QPushButton* abbrechen = nullptr;
    QPushButton* hilfe = nullptr;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(seiten_, 1);
    layout->addLayout(Knopfzeile(this, ok, abbrechen, hilfe));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });

    transaktion_.Start();
    FesteTermineLaden();
    TierTermineLaden();
}

TfrmTerminVerwaltung::~TfrmTerminVerwaltung()
{
    delete festeGrid_;
    delete tierGrid_;
}

TZRcxGridDBTableView* TfrmTerminVerwaltung::FesteAnsicht() const
{
    return static_cast<TZRcxGridDBTableView*>(festeGrid_->ActiveView());
}

TZRcxGridDBTableView* TfrmTerminVerwaltung::TierAnsicht() const
{
    return static_cast<TZRcxGridDBTableView*>(tierGrid_->ActiveView());
}

void TfrmTerminVerwaltung::FesteTermineLaden()
{
    const int id = feste_.Active() && !feste_.IsEmpty()
                       ? feste_.FieldByName(QStringLiteral("ID")).AsInteger()
                       : 0;
    feste_.DisableControls();
    feste_.Close();
    feste_.SetSelectSQL(Termin::FesteTermineSQL(vergangene_->isChecked()));
    feste_.Open();
    feste_.RecordCount();
    for (int i = 0; i < feste_.FieldCount(); ++i)
        feste_.Fields(i).Visible = false;
    Spalte(feste_, QStringLiteral("ERLEDIGEN"), QStringLiteral("Erledigen"));
    Spalte(feste_, QStringLiteral("WIEDERHOLUNG"), QStringLiteral("Wiederholung"));
    Spalte(feste_, QStringLiteral("DATUM"), QStringLiteral("Datum"));
    Spalte(feste_, QStringLiteral("VOR"), QStringLiteral("vor"));
    Spalte(feste_, QStringLiteral("NACH"), QStringLiteral("nach"));
    Spalte(feste_, QStringLiteral("TEXT"), QStringLiteral("Text"));
    Spalte(feste_, QStringLiteral("ERLEDIGT"), QStringLiteral("Erledigt"));
    Spalte(feste_, QStringLiteral("BEMERKUNG"), QStringLiteral("Bemerkung"));
    if (id > 0)
        DBTools::LocateInteger(feste_, QStringLiteral("ID"), id, false);
    feste_.EnableControls();
    FesteAnsicht()->DataModel()->Reset();
    HakenSpalte(FesteAnsicht(), QStringLiteral("ERLEDIGEN"));
    HakenSpalte(FesteAnsicht(), QStringLiteral("WIEDERHOLUNG"));
}

void TfrmTerminVerwaltung::TierTermineLaden()
{
    const int id = tier_.Active() && !tier_.IsEmpty()
                       ? tier_.FieldByName(QStringLiteral("ID")).AsInteger()
                       : 0;
    tier_.DisableControls();
    tier_.Close();
    tier_.Open();
    tier_.RecordCount();
    tier_.FieldByName(QStringLiteral("ID")).Visible = false;
    Spalte(tier_, QStringLiteral("ERLEDIGEN"), QStringLiteral("E."));
    Spalte(tier_, QStringLiteral("ANKER_TERMIN"), QStringLiteral("Ankerpunkt\nTermin"));
    Spalte(tier_, QStringLiteral("VOR_NACH"), QStringLiteral("Vor\nNach"));
    Spalte(tier_, QStringLiteral("WOCHENTAGE"), QStringLiteral("Wochentage"));
    Spalte(tier_, QStringLiteral("STALL_KLASSE"), QStringLiteral("Betriebsstätte\nTierklasse"));
    Spalte(tier_, QStringLiteral("TEXT_MEDIKAMENT"), QStringLiteral("Text\nMedikament"));
    if (id > 0)
        DBTools::LocateInteger(tier_, QStringLiteral("ID"), id, false);
    tier_.EnableControls();
    TierAnsicht()->DataModel()->Reset();
    HakenSpalte(TierAnsicht(), QStringLiteral("ERLEDIGEN"));
}

bool TfrmTerminVerwaltung::FesteSeite() const
{
    return seiten_->currentIndex() == 0;
}

void TfrmTerminVerwaltung::Hinzufuegen()
{
    if (FesteSeite()) {
        TfrmFesterTermin dlg(this);
        dlg.Initialisieren(transaktion_, -1);
        if (dlg.exec() == QDialog::Accepted)
            FesteTermineLaden();
    } else {
        TfrmTierTermin dlg(this);
        dlg.Initialisieren(transaktion_, -1);
        if (dlg.exec() == QDialog::Accepted)
            TierTermineLaden();
    }
}

void TfrmTerminVerwaltung::Bearbeiten()
{
    db::DataSet& daten = FesteSeite() ? feste_ : tier_;
    if (!daten.Active() || daten.IsEmpty())
        return;
    const int id = daten.FieldByName(QStringLiteral("ID")).AsInteger();
    if (FesteSeite()) {
        TfrmFesterTermin dlg(this);
        dlg.Initialisieren(transaktion_, id);
        if (dlg.exec() == QDialog::Accepted)
            FesteTermineLaden();
    } else {
        TfrmTierTermin dlg(this);
        dlg.Initialisieren(transaktion_, id);
        if (dlg.exec() == QDialog::Accepted)
            TierTermineLaden();
    }
}

void TfrmTerminVerwaltung::Entfernen()
{
    db::DataSet& daten = FesteSeite() ? feste_ : tier_;
    if (!daten.Active() || daten.IsEmpty())
        return;
    if (Tools::MeldungConfirm(QStringLiteral("Wollen Sie diesen Termin wirklich löschen?"), 1) !=
        Tools::mrYes)
        return;
    const int id = daten.FieldByName(QStringLiteral("ID")).AsInteger();
    if (FesteSeite()) {
        TerminSpeicher::FesterTerminLoeschen(transaktion_, id);
        FesteTermineLaden();
    } else {
        TerminSpeicher::TierTerminLoeschen(transaktion_, id);
        TierTermineLaden();
    }
}

void TfrmTerminVerwaltung::done(int result)
{
    feste_.Close();
    tier_.Close();
    DBTools::TransaktionBeenden(transaktion_, result == QDialog::Accepted);
    TZRDialog::done(result);
}
