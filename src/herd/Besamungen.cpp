#include "Besamungen.h"

#include "BesamungPortionWahl.h"

#include <BesamungConst.h>
#include <DBTools.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>
#include <SilentAbort.h>

#include <AMCbRb.h>
#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBMemo.h>
#include <DBZRBaseEdit.h>
#include <DBZRDateEdit.h>
#include <Error.h>
#include <Field.h>
#include <Meldung.h>
#include <Transaction.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

TDBComboBox* neinJa(QWidget* parent)
{
    auto* c = new TDBComboBox(parent);
    c->Eintrag(QStringLiteral("Nein"), QStringLiteral("F"));
    c->Eintrag(QStringLiteral("Ja"), QStringLiteral("T"));
    return c;
}

TDBFloatEdit* zahlEdit(QWidget* parent, const char* name, const char* feld, int max, bool leer)
{
    auto* e = new TDBFloatEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->SetDigits(0);
    e->SetMin(leer ? 0 : 1);
    e->SetMax(max);
    e->SetAllowNull(leer);
    e->setMaxLength(QString::number(max).size());
    e->SetDataField(QString::fromLatin1(feld));
    return e;
}

// Disabled fields show the button face instead of the window colour, disabled captions the
// button shadow.
void Farben(QWidget* w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Button));
    p.setColor(QPalette::Disabled, QPalette::WindowText, p.color(QPalette::Active, QPalette::Dark));
    p.setColor(QPalette::Disabled, QPalette::Text, p.color(QPalette::Active, QPalette::Dark));
    w->setPalette(p);
}

}  // namespace

TfrmBesamungen::TfrmBesamungen(QWidget* owner)
    : TZRDialog(owner),
      transaktion_(&DM()->TAStammdaten),
      daten_(DM()->TAStammdaten),
      stiere_(DM()->TAStammdaten),
      fremd_(new TAMRadioButton(this)),
      eigen_(new TAMRadioButton(this)),
      datum_(new TDBZRDateEdit(this)),
      nr_(zahlEdit(this, "edNr", "NR", 99, false)),
      nrInfo_(new QPushButton(QStringLiteral("?"), this)),
      portionLabel_(new QLabel(QStringLiteral("Portion:"), this)),
      portion_(new QLineEdit(this)),
      portionKnopf_(new QPushButton(QStringLiteral("..."), this)),
      teilungLabel_(new QLabel(QStringLiteral("Portionsteilung:"), this)),
      teilung_(new QComboBox(this)),
      stierLabel_(new QLabel(QStringLiteral("Stier:"), this)),
      stier_(new TDBZRBaseEdit(this)),
      hbnrLabel_(new QLabel(QStringLiteral("HB Nr.:"), this)),
      hbnr_(new TDBZRBaseEdit(this)),
      stierGruppe_(new QGroupBox(this)),
      stierGrid_(new TZRDBcxGrid(stierGruppe_)),
      besNrBYLabel_(new QLabel(QStringLiteral("Besamungs-Nr.:"), this)),
      besNrBY_(zahlEdit(this, "edBesNrBY", "BES_NR_BY", 9, true)),
      besNrBYInfo_(new QPushButton(QStringLiteral("?"), this)),
      doppelLabel_(new QLabel(QStringLiteral("Doppelbesamung:"), this)),
      doppel_(neinJa(this)),
      ejakulatLabel_(new QLabel(QStringLiteral("Ejakulat-Nr.:"), this)),
      ejakulat_(zahlEdit(this, "edEjakulat", "EJAKULAT_NR", 99999, true)),
      pruefbulleLabel_(new QLabel(QStringLiteral("Prüfbulle:"), this)),
      pruefbulle_(neinJa(this)),
      scheinLabel_(new QLabel(QStringLiteral("Besamungsschein-Nr.:"), this)),
      schein_(zahlEdit(this, "edSchein", "BESAMUNGSSCHEIN_NR", 9999999, true)),
      bemerkungWahl_(new QComboBox(this)),
      bemerkung_(new TDBMemo(this)),
      naechste_(new QPushButton(QStringLiteral("n. Bes."), this)),
      ok_(new QPushButton(QStringLiteral("Ok"), this)),
      abbrechen_(new QPushButton(QStringLiteral("Abbrechen"), this))
{
    setObjectName(QStringLiteral("frmBesamungen"));
    setWindowTitle(QStringLiteral("Besamungen"));
    setHelpContext(HilfeKontext);

    fremd_->setObjectName(QStringLiteral("rbFremd"));
    fremd_->setText(QStringLiteral("Fremdbesamung"));
    eigen_->setObjectName(QStringLiteral("rbEigen"));
    eigen_->setText(QStringLiteral("Eigenbesamung"));
    datum_->setObjectName(QStringLiteral("edDatum"));
    datum_->SetDataField(QStringLiteral("DATUM"));
    nrInfo_->setObjectName(QStringLiteral("btnNrInfo"));
    besNrBYInfo_->setObjectName(QStringLiteral("btnBesNrBYInfo"));
    for (QPushButton* info : {nrInfo_, besNrBYInfo_}) {
        info->setFixedWidth(info->sizeHint().height());
        info->setAutoDefault(false);
    }
    portion_->setObjectName(QStringLiteral("edPortion"));
    portion_->setReadOnly(true);
    portion_->setMinimumWidth(360);
    portion_->installEventFilter(this);
    portionKnopf_->setObjectName(QStringLiteral("btnPortion"));
    portionKnopf_->setFixedWidth(portionKnopf_->sizeHint().height() + 8);
    portionKnopf_->setAutoDefault(false);
    teilung_->setObjectName(QStringLiteral("cbTeilung"));
    teilung_->addItems(
        {QStringLiteral("Nein"), QStringLiteral("1. Hälfte"), QStringLiteral("2. Hälfte")});
    stier_->setObjectName(QStringLiteral("edStier"));
    stier_->SetDataField(QStringLiteral("STIER"));
    stier_->setMaxLength(15);
    stier_->installEventFilter(this);
    hbnr_->setObjectName(QStringLiteral("edHBNr"));
    hbnr_->SetDataField(QStringLiteral("NUMMER"));
    hbnr_->setMaxLength(15);
    stierGruppe_->setObjectName(QStringLiteral("gbStiere"));
    stierAnsicht_ = stierGrid_->CreateView<TZRcxGridDBTableView>(QStringLiteral("tvStiere"));
    stierAnsicht_->SetEmptyText(QStringLiteral("< Keine Stiere in der Auswahl >"));
    stierAnsicht_->setMinimumHeight(140);
    doppel_->setObjectName(QStringLiteral("cbDoppelbesamung"));
    doppel_->SetDataField(QStringLiteral("DOPPELBESAMUNG"));
    pruefbulle_->setObjectName(QStringLiteral("cbPruefbulle"));
    pruefbulle_->SetDataField(QStringLiteral("PRUEFBULLE"));
    bemerkungWahl_->setObjectName(QStringLiteral("cbBemerkungen"));
    bemerkungWahl_->setPlaceholderText(QStringLiteral("Bemerkung wählen ..."));
    bemerkung_->setObjectName(QStringLiteral("mmBemerkung"));
    bemerkung_->SetDataField(QStringLiteral("BEMERKUNG"));
    bemerkung_->setFixedHeight(bemerkung_->fontMetrics().lineSpacing() * 4 + 12);
    naechste_->setObjectName(QStringLiteral("btnNaechste"));
    naechste_->setAutoDefault(false);
    naechste_->hide();
    ok_->setObjectName(QStringLiteral("btnOk"));
    ok_->setDefault(true);
    abbrechen_->setObjectName(QStringLiteral("btnAbbrechen"));
    abbrechen_->setAutoDefault(false);

    for (QWidget* w : std::initializer_list<QWidget*>{
             datum_,           nr_,           portion_,      teilung_,
             stier_,           hbnr_,         besNrBY_,      doppel_,
             ejakulat_,        pruefbulle_,   schein_,       bemerkungWahl_,
             bemerkung_,       portionLabel_, teilungLabel_, stierLabel_,
             hbnrLabel_,       besNrBYLabel_, doppelLabel_,  ejakulatLabel_,
             pruefbulleLabel_, scheinLabel_})
        Farben(w);

    auto* art = new QHBoxLayout;
    art->addWidget(fremd_);
    art->addSpacing(16);
    art->addWidget(eigen_);
    art->addStretch();

    auto* oben = new QGridLayout;
    auto* datumZeile = new QHBoxLayout;
    datumZeile->addWidget(datum_);
    datumZeile->addSpacing(16);
    datumZeile->addWidget(new QLabel(QStringLiteral("Nummer:"), this));
    datumZeile->addWidget(nr_);
    nr_->setFixedWidth(40);
    datumZeile->addWidget(nrInfo_);
    datumZeile->addStretch();
    oben->addWidget(new QLabel(QStringLiteral("Datum:"), this), 0, 0);
    oben->addLayout(datumZeile, 0, 1);
    auto* portionZeile = new QHBoxLayout;
    portionZeile->addWidget(portion_, 1);
    portionZeile->addWidget(portionKnopf_);
    oben->addWidget(portionLabel_, 1, 0);
    oben->addLayout(portionZeile, 1, 1);
    auto* teilungZeile = new QHBoxLayout;
    teilungZeile->addWidget(teilung_);
    teilungZeile->addStretch();
    oben->addWidget(teilungLabel_, 2, 0);
    oben->addLayout(teilungZeile, 2, 1);
    auto* stierZeile = new QHBoxLayout;
    stierZeile->addWidget(stier_, 1);
    stierZeile->addSpacing(16);
    stierZeile->addWidget(hbnrLabel_);
    stierZeile->addWidget(hbnr_, 1);
    oben->addWidget(stierLabel_, 3, 0);
    oben->addLayout(stierZeile, 3, 1);
    oben->setColumnStretch(1, 1);

    auto* stierLayout = new QVBoxLayout(stierGruppe_);
    stierLayout->addWidget(stierGrid_);

    auto* details = new QGridLayout;
    auto* besNrZeile = new QHBoxLayout;
    besNrZeile->addWidget(besNrBY_);
    besNrBY_->setFixedWidth(40);
    besNrZeile->addWidget(besNrBYInfo_);
    besNrZeile->addStretch();
    details->addWidget(besNrBYLabel_, 0, 0);
    details->addLayout(besNrZeile, 0, 1);
    details->addWidget(doppelLabel_, 0, 2);
    details->addWidget(doppel_, 0, 3);
    details->addWidget(ejakulatLabel_, 1, 0);
    details->addWidget(ejakulat_, 1, 1);
    details->addWidget(pruefbulleLabel_, 1, 2);
    details->addWidget(pruefbulle_, 1, 3);
    details->addWidget(scheinLabel_, 2, 0);
    details->addWidget(schein_, 2, 1);
    ejakulat_->setFixedWidth(80);
    schein_->setFixedWidth(80);
    details->setColumnStretch(1, 1);
    details->setColumnStretch(3, 1);

    auto* bemerkungZeile = new QHBoxLayout;
    bemerkungZeile->addWidget(new QLabel(QStringLiteral("Bemerkung:"), this));
    bemerkungZeile->addWidget(bemerkungWahl_, 1);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(naechste_);
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(art);
    layout->addLayout(oben);
    layout->addWidget(stierGruppe_, 1);
    layout->addLayout(details);
    layout->addLayout(bemerkungZeile);
    layout->addWidget(bemerkung_);
    layout->addSpacing(4);
    layout->addLayout(knoepfe);

    connect(fremd_, &QRadioButton::toggled, this, [this] {
        daten_.SetEigenbesamung(eigen_->isChecked());
        EigenbesamungFreigeben();
    });
    connect(portionKnopf_, &QPushButton::clicked, this, &TfrmBesamungen::PortionWaehlen);
    connect(teilung_, &QComboBox::activated, this,
            [this](int position) { daten_.SetTeilung(static_cast<Besamung::TTeilung>(position)); });
    connect(stier_, &QLineEdit::textEdited, this, &TfrmBesamungen::StierSuchen);
    connect(stierAnsicht_, &QAbstractItemView::doubleClicked, this, [this] {
        if (daten_.Daten().State() == db::DataSetState::Browse)
            daten_.Daten().Edit();
        StierUebernehmen();
    });
    connect(bemerkungWahl_, &QComboBox::activated, this, [this](int position) {
        db::DataSet& d = daten_.Daten();
        if (d.State() == db::DataSetState::Browse)
            d.Edit();
        d.FieldByName(QStringLiteral("BEMERKUNG"))
            .SetString(bemerkungWahl_->itemData(position).toString());
    });
    connect(nrInfo_, &QPushButton::clicked, this, [] {
        Tools::MeldungInfo(QStringLiteral(
            "Geben Sie im Feld \"Nummer\" die Nummer der Besamung ein.\rWenn es sich um eine "
            "Doppelbesamung ( = weitere Besamung\ran einem der nächsten Tage) handelt,\rgeben Sie "
            "die Nummer der vorherigen Besamung ein.\rDie Nummer muss zwischen 1 und 99 sein."));
    });
    connect(besNrBYInfo_, &QPushButton::clicked, this, [this] {
        if (daten_.StationIndex() == BesamungConst::StationRUW)
            Tools::MeldungInfo(QStringLiteral(
                "Geben Sie im Feld \"Besamungs-Nr.\" die Nummer der Besamung ein.\rDie Nummer "
                "muss zwischen 1 und 9 sein, nach 9 kommt wieder die 1."));
        else
            Tools::MeldungInfo(QStringLiteral(
                "Geben Sie im Feld \"Besamungs-Nr.\" die Nummer der Besamung ein.\rWenn es sich "
                "um eine Doppelbesamung ( = weitere Besamung\ran einem der nächsten Tage) "
                "handelt,\rgeben Sie die Nummer der vorherigen Besamung ein.\rDie Nummer muss "
                "zwischen 1 und 3 sein."));
    });
    connect(naechste_, &QPushButton::clicked, this, &TfrmBesamungen::NaechsteBesamung);
    connect(ok_, &QPushButton::clicked, this, &TfrmBesamungen::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmBesamungen::reject);
}

TfrmBesamungen::~TfrmBesamungen()
{
    stierAnsicht_->SetDataSet(nullptr);
}

void TfrmBesamungen::TransaktionSetzen(db::Transaction& transaktion)
{
    transaktion_ = &transaktion;
    daten_.TransaktionSetzen(transaktion);
    stiere_.SetTransaction(transaktion);
}

void TfrmBesamungen::BesamungOeffnen(int tierID, int kalbungID, const QDate& gebdat, int modus,
                                     int besamungID, int nr)
{
    datum_->setFocus();
    daten_.Oeffnen(tierID, kalbungID, gebdat, static_cast<Besamung::TModus>(modus), besamungID, nr,
                   Einstellungen() ? Einstellungen()->GetEigenbesamungStationen() : QString());
    // The fields exist once the transaction runs.
    for (TDBZRBaseEdit* e : std::initializer_list<TDBZRBaseEdit*>{datum_, nr_, stier_, hbnr_,
                                                                  besNrBY_, ejakulat_, schein_})
        e->SetDataSource(&daten_.Daten());
    doppel_->SetDataSource(&daten_.Daten());
    pruefbulle_->SetDataSource(&daten_.Daten());
    bemerkung_->SetDataSource(&daten_.Daten());
    naechste_->setVisible(modus == Besamung::Erste);
    naechste_->setEnabled(modus == Besamung::Erste);

    stiere_.SetSelectSQL(QStringLiteral("SELECT * FROM V_STIER_WAHL ORDER BY STIER, NUMMER"));
    stiere_.FieldByName(QStringLiteral("STIER")).DisplayLabel = QStringLiteral("Stier");
    stiere_.FieldByName(QStringLiteral("NUMMER")).DisplayLabel = QStringLiteral("HB Nr.");
    db::Field& letzte = stiere_.FieldByName(QStringLiteral("LETZTE_VERWENDUNG"));
    letzte.DisplayLabel = QStringLiteral("l. Verwendung");
    letzte.DisplayFormat = QStringLiteral("dd.mm.yyyy");
    BemerkungenAktualisieren();

    {
        const QSignalBlocker sperre(fremd_);
        const QSignalBlocker sperre2(eigen_);
        eigen_->setChecked(daten_.Eigenbesamung());
        fremd_->setChecked(!daten_.Eigenbesamung());
    }
    fremd_->setEnabled(modus != Besamung::Aendern);
    eigen_->setEnabled(modus != Besamung::Aendern);
    teilung_->setCurrentIndex(static_cast<int>(daten_.Teilung()));
    PortionAnzeigen();
    EigenbesamungFreigeben();
    stierAnsicht_->SetDataSet(&stiere_);
}

void TfrmBesamungen::BemerkungenAktualisieren()
{
    bemerkungWahl_->clear();
    for (const QString& text : daten_.Bemerkungen())
        bemerkungWahl_->addItem(Besamung::BemerkungKurz(text), text);
    bemerkungWahl_->setCurrentIndex(-1);
}

void TfrmBesamungen::EigenbesamungFreigeben()
{
    const bool eigen = daten_.EigenUndNeu();
    for (QWidget* w : std::initializer_list<QWidget*>{portionLabel_, portion_, portionKnopf_,
                                                      teilungLabel_, teilung_})
        w->setEnabled(eigen);
    for (QWidget* w : std::initializer_list<QWidget*>{stierLabel_, stier_, hbnrLabel_, hbnr_})
        w->setEnabled(!eigen);
    StierlisteAktualisieren();
    const bool details = daten_.Eigenbesamung() || daten_.Modus() == Besamung::Aendern;
    for (QWidget* w : std::initializer_list<QWidget*>{besNrBYLabel_, besNrBY_, besNrBYInfo_,
                                                      doppelLabel_, doppel_, ejakulatLabel_,
                                                      ejakulat_, pruefbulleLabel_, pruefbulle_})
        w->setEnabled(details);
    scheinLabel_->setEnabled(details && daten_.PortionGewaehlt());
    schein_->setEnabled(details && daten_.PortionGewaehlt());
}

void TfrmBesamungen::StierlisteAktualisieren()
{
    if (!daten_.EigenUndNeu()) {
        stiere_.Close();
        stiere_.Open();
        stierGruppe_->setTitle(QStringLiteral("%1 Stiere gefunden").arg(stiere_.RecordCount()));
        stierGrid_->setEnabled(true);
        stierAnsicht_->setStyleSheet(QString());
        return;
    }
    stiere_.Close();
    stierGruppe_->setTitle(QStringLiteral("vorhandene Stiere"));
    stierGrid_->setEnabled(false);
    stierAnsicht_->setStyleSheet(
        QStringLiteral("QTableView { background-color: %1; }")
            .arg(palette().color(QPalette::Active, QPalette::Button).name()));
}

void TfrmBesamungen::PortionAnzeigen()
{
    portion_->setText(daten_.PortionGewaehlt() ? daten_.Portion().Text() : QString());
    portion_->setCursorPosition(0);
}

void TfrmBesamungen::PortionWaehlen()
{
    if (!daten_.EigenUndNeu())
        return;
    DBTools::Sicher([&] {
        TfrmPortionWahl wahl(this);
        wahl.PortionenOeffnen(transaktion_->GetDatabase(), daten_.Portion().id, daten_.IstNeu());
        if (wahl.exec() != QDialog::Accepted)
            return;
        const QString warnung = daten_.PortionWaehlen(wahl.Portion(), ProgDatum::Heute());
        PortionAnzeigen();
        EigenbesamungFreigeben();
        if (!warnung.isEmpty())
            Tools::MeldungWarning(warnung);
    });
}

void TfrmBesamungen::StierSuchen(const QString& text)
{
    if (uebernimmt_ || !stiere_.Active() || stiere_.IsEmpty() || text.isEmpty())
        return;
    stiere_.Locate(QStringLiteral("STIER"), {text}, true, true);
}

void TfrmBesamungen::StierUebernehmen()
{
    if (!stiere_.Active() || stiere_.IsEmpty())
        return;
    db::DataSet& d = daten_.Daten();
    if (d.State() == db::DataSetState::Browse)
        d.Edit();
    uebernimmt_ = true;
    d.FieldByName(QStringLiteral("STIER"))
        .SetString(stiere_.FieldByName(QStringLiteral("STIER")).AsString());
    d.FieldByName(QStringLiteral("NUMMER"))
        .SetString(stiere_.FieldByName(QStringLiteral("NUMMER")).AsString());
    stier_->Reset();
    hbnr_->Reset();
    uebernimmt_ = false;
}

bool TfrmBesamungen::eventFilter(QObject* objekt, QEvent* event)
{
    if (objekt == stier_ && event->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(event)->key();
        if ((taste == Qt::Key_Up || taste == Qt::Key_Down) && stiere_.Active() &&
            !stiere_.IsEmpty()) {
            if (taste == Qt::Key_Up)
                stiere_.Prior();
            else
                stiere_.Next();
            return true;
        }
        if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
            if (stier_->isEnabled() && stiere_.Active() && !stiere_.IsEmpty()) {
                if (daten_.Daten().State() == db::DataSetState::Browse)
                    daten_.Daten().Edit();
                StierUebernehmen();
                return true;
            }
        }
    }
    if (objekt == portion_ && event->type() == QEvent::MouseButtonDblClick &&
        portion_->isEnabled()) {
        PortionWaehlen();
        return true;
    }
    return TZRDialog::eventFilter(objekt, event);
}

void TfrmBesamungen::BesamungPruefen()
{
    const auto control = [this](Besamung::TPruefFeld feld) -> QWidget* {
        return feld == Besamung::TPruefFeld::Portion ? static_cast<QWidget*>(portionKnopf_)
                                                     : datum_;
    };
    Besamung::TPruefung p = daten_.Pruefen(ProgDatum::Heute());
    if (p.art == Besamung::TPruefung::Frage) {
        if (Tools::MeldungConfirm(p.text, 1) != Tools::mrYes) {
            datum_->setFocus();
            throw SilentAbort();
        }
        p = daten_.Pruefen(ProgDatum::Heute(), true);
    }
    if (p.art == Besamung::TPruefung::Fehler)
        DBTools::DBFehlerMelden(control(p.feld), p.text);
}

bool TfrmBesamungen::Speichern()
{
    try {
        db::DataSet& d = daten_.Daten();
        d.UpdateRecord();
        if (d.State() == db::DataSetState::Browse)
            return true;
        BesamungPruefen();
        daten_.Speichern();
    } catch (const SilentAbort&) {
        return false;
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
        return false;
    } catch (const std::runtime_error& e) {
        Tools::MeldungError(QString::fromUtf8(e.what()));
        return false;
    }
    if (OnGeaendert)
        OnGeaendert(this);
    return true;
}

void TfrmBesamungen::Ok()
{
    if (Speichern())
        accept();
}

void TfrmBesamungen::NaechsteBesamung()
{
    if (!Speichern())
        return;
    DBTools::Sicher([&] {
        BemerkungenAktualisieren();
        daten_.NeuerSatz();
        teilung_->setCurrentIndex(static_cast<int>(daten_.Teilung()));
        PortionAnzeigen();
        EigenbesamungFreigeben();
        datum_->setFocus();
    });
}

void TfrmBesamungen::done(int result)
{
    db::DataSet& d = daten_.Daten();
    if (d.State() == db::DataSetState::Edit || d.State() == db::DataSetState::Insert)
        d.Cancel();
    TZRDialog::done(result);
}
