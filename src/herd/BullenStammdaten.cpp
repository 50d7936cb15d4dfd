#include "BullenStammdaten.h"

#include "BullenFelder.h"
#include "Stammdaten.h"
#include "StierWahl.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <ProgDatum.h>
#include <SilentAbort.h>

#include <DBAMCheckbox.h>
#include <DBComboBox.h>
#include <DBMemo.h>
#include <DataSetModel.h>
#include <DBZRBaseEdit.h>
#include <DBZRDateEdit.h>
#include <Error.h>
#include <Meldung.h>
#include <Sanduhr.h>
#include <ZRDBcxGrid.h>
#include <ZRFilterEdit.h>
#include <ZRcxGridDBTableView.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

db::Database& Datenbank()
{
    if (!DM())
        throw db::Error(QStringLiteral("Es besteht keine Verbindung zur Datenbank."));
    return DM()->Datenbank;
}

using DBTools::Bearbeitet;

const QString PruefbulleText = QStringLiteral(
    "Geben Sie hier das Datum ein, an dem der Bulle\rden Status \"Prüfbulle\" abgelegt hat.\r\r"
    "Ist kein Datum angegeben, so ist der Bulle ein Prüfbulle,\rist ein Datum angegeben, so ist "
    "der Bulle nach dem Datum\rkein Prüfbulle mehr.\r\rDas Datum kann sowohl in der "
    "Vergangenheit als auch in der\rZukunft liegen.");

}  // namespace

TfrmBullenStammdaten::TfrmBullenStammdaten(QWidget* owner)
    : TZRDialog(owner),
      ta_(Datenbank(), QStringLiteral("TABullenStammdaten")),
      bulle_(ta_),
      liste_(ta_),
      rassen_(ta_)
{
    setObjectName(QStringLiteral("frmBullenStammdaten"));
    setWindowTitle(QStringLiteral("Bullen Stammdaten"));
    setHelpContext(HilfeKontext);

    bulle_.SetSelectSQL(QStringLiteral("select * from T_BULLEN_STAMM where ID = :BULLE"));
    bulle_.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_BULLEN_STAMM (ID, NAME, HBNR, RASSE, GEBDAT, VATER, VATERNR, MUTTER, "
        "MUTTERNR, SICHTBAR, LETZTE_VERWENDUNG, BEMERKUNG, PRUEFBULLE_BIS) VALUES (:ID, :NAME, "
        ":HBNR, :RASSE, :GEBDAT, :VATER, :VATERNR, :MUTTER, :MUTTERNR, :SICHTBAR, "
        ":LETZTE_VERWENDUNG, :BEMERKUNG, :PRUEFBULLE_BIS)"));
    bulle_.SetModifySQL(QStringLiteral(
        "UPDATE T_BULLEN_STAMM SET NAME = :NAME, HBNR = :HBNR, RASSE = :RASSE, GEBDAT = :GEBDAT, "
        "VATER = :VATER, VATERNR = :VATERNR, MUTTER = :MUTTER, MUTTERNR = :MUTTERNR, SICHTBAR = "
        ":SICHTBAR, LETZTE_VERWENDUNG = :LETZTE_VERWENDUNG, BEMERKUNG = :BEMERKUNG, "
        "PRUEFBULLE_BIS = :PRUEFBULLE_BIS WHERE ID = :OLD_ID"));
    bulle_.SetDeleteSQL(QStringLiteral("DELETE FROM T_BULLEN_STAMM WHERE ID = :OLD_ID"));
    bulle_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_BULLEN_STAMM"));
    bulle_.OnNewRecord = [this](db::DataSet& ds) {
        ds.FieldByName(QStringLiteral("SICHTBAR")).SetString(QStringLiteral("T"));
        if (rassen_.Active() && !rassen_.IsEmpty())
            ds.FieldByName(QStringLiteral("RASSE")).SetInteger(rassen_.ValueAt(0, 0).AsInteger());
        ds.FieldByName(QStringLiteral("PRUEFBULLE_BIS")).SetDate(Bullen::KeinPruefbulle());
    };
    bulle_.BeforePost = [this](db::DataSet&) { Pruefen(); };

    liste_.SetSelectSQL(QStringLiteral(
        "SELECT B.HBNR, B.ID, B.LETZTE_VERWENDUNG, B.NAME, B.SICHTBAR,\rR.BEZEICHNUNG RASSE FROM "
        "T_BULLEN_STAMM B JOIN T_RASSEN R\rON B.RASSE = R.ID ORDER BY NAME"));
    liste_.OnFilterRecord = [this](db::DataSet& ds) {
        return Bullen::Passt(suchtext_, ds.FieldByName(QStringLiteral("NAME")).AsString(),
                             ds.FieldByName(QStringLiteral("HBNR")).AsString());
    };
    rassen_.SetSelectSQL(QStringLiteral(
        "SELECT ID, BEZEICHNUNG FROM T_RASSEN WHERE VERWENDET = 'T' ORDER BY BEZEICHNUNG"));

    ta_.Start();
    Aufbauen();
    ListeLaden();
    SpaltenFolge(*ansicht_,
                 {QStringLiteral("SICHTBAR"), QStringLiteral("NAME"), QStringLiteral("HBNR"),
                  QStringLiteral("LETZTE_VERWENDUNG"), QStringLiteral("RASSE")});
    // The list's check box for "T" / "F"; the column is the field's whatever the user's order.
    ansicht_->CellDelegate()->SetOnCustomDrawCell(
        ansicht_->DataModel()->ColumnOfField(QStringLiteral("SICHTBAR")),
        [this](QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index,
               bool& done) {
            QStyleOptionViewItem hinter = option;
            hinter.text.clear();
            QApplication::style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &hinter, p,
                                                 ansicht_);
            QStyleOptionButton box;
            box.rect = TZRcxGridCellDelegate::CheckRect(option);
            box.state = QStyle::State_Enabled |
                        (index.data(Qt::EditRole).toString().trimmed() == QLatin1String("T")
                             ? QStyle::State_On
                             : QStyle::State_Off);
            QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, p, ansicht_);
            done = true;
        });
    RassenLaden();
    BulleNeuLaden(liste_.IsEmpty() ? 0 : liste_.FieldByName(QStringLiteral("ID")).AsInteger(),
                  false);
}

TfrmBullenStammdaten::~TfrmBullenStammdaten()
{
    bulle_.BeforePost = {};
    bulle_.OnNewRecord = {};
}

void TfrmBullenStammdaten::Aufbauen()
{
    listenGruppe_ = new QGroupBox(this);
    suche_ = new TZRFilterEdit(listenGruppe_);
    suche_->setPlaceholderText(QStringLiteral("Suchen"));
    suche_->SetDataSet(&liste_);
    gitter_ = new TZRDBcxGrid(listenGruppe_);
    ansicht_ = qobject_cast<TZRcxGridDBTableView*>(gitter_->ActiveView());
    ansicht_->setObjectName(QStringLiteral("Liste"));
    ansicht_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ansicht_->SetEmptyText(QStringLiteral("< Keine Bullen vorhanden >"));
    gitter_->setMinimumSize(500, 320);

    auto* daten = new QGroupBox(QStringLiteral("Stammdaten"), this);
    name_ = new TDBZRBaseEdit(daten);
    hbnr_ = new TDBZRBaseEdit(daten);
    rasse_ = new TDBComboBox(daten);
    gebdat_ = new TDBZRDateEdit(daten);
    vaterKnopf_ = new QPushButton(QStringLiteral("Vater:"), daten);
    vater_ = new TDBZRBaseEdit(daten);
    vaterNr_ = new TDBZRBaseEdit(daten);
    mutter_ = new TDBZRBaseEdit(daten);
    mutterNr_ = new TDBZRBaseEdit(daten);
    sichtbar_ = new TDBAMCheckbox(daten);
    letzteVerwendung_ = new TDBZRDateEdit(daten);
    pruefbulleBis_ = new TDBZRDateEdit(daten);
    pruefbulleInfo_ = new QToolButton(daten);
    bemerkung_ = new TDBMemo(daten);

    const std::pair<QWidget*, const char*> bindungen[] = {{name_, "NAME"},
                                                          {hbnr_, "HBNR"},
                                                          {gebdat_, "GEBDAT"},
                                                          {vater_, "VATER"},
                                                          {vaterNr_, "VATERNR"},
                                                          {mutter_, "MUTTER"},
                                                          {mutterNr_, "MUTTERNR"},
                                                          {letzteVerwendung_, "LETZTE_VERWENDUNG"},
                                                          {pruefbulleBis_, "PRUEFBULLE_BIS"}};
    for (const auto& [w, feld] : bindungen) {
        auto* edit = static_cast<TDBZRBaseEdit*>(w);
        edit->SetDataSource(&bulle_);
        edit->SetDataField(QString::fromLatin1(feld));
        edit->installEventFilter(this);
    }
    for (TDBZRBaseEdit* gross : {hbnr_, vaterNr_, mutterNr_})
        gross->setValidator(new TGrossschreibung(gross));
    rasse_->SetDataSource(&bulle_);
    rasse_->SetDataField(QStringLiteral("RASSE"));
    rasse_->installEventFilter(this);
    sichtbar_->setText(QStringLiteral("sichtbar"));
    sichtbar_->SetValueChecked(QStringLiteral("T"));
    sichtbar_->SetValueUnchecked(QStringLiteral("F"));
    sichtbar_->SetDataSource(&bulle_);
    sichtbar_->SetDataField(QStringLiteral("SICHTBAR"));
    sichtbar_->installEventFilter(this);
    bemerkung_->SetDataSource(&bulle_);
    bemerkung_->SetDataField(QStringLiteral("BEMERKUNG"));
    pruefbulleInfo_->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    pruefbulleInfo_->setToolTip(QStringLiteral("Prüfbulle"));
    bemerkung_->setMinimumHeight(70);
    name_->setMinimumWidth(150);

    auto* felder = new QGridLayout(daten);
    int zeile = 0;
    auto beschriftet = [&](const QString& text, QWidget* feld, int spalte = 0) {
        auto* label = new QLabel(text, daten);
        label->setBuddy(feld);
        felder->addWidget(label, zeile, spalte);
        felder->addWidget(feld, zeile, spalte + 1);
    };
    beschriftet(QStringLiteral("Name:"), name_);
    beschriftet(QStringLiteral("HB. Nr.:"), hbnr_, 2);
    ++zeile;
    beschriftet(QStringLiteral("Rasse:"), rasse_);
    beschriftet(QStringLiteral("Geb. Dat.:"), gebdat_, 2);
    ++zeile;
    felder->addWidget(vaterKnopf_, zeile, 0);
    felder->addWidget(vater_, zeile, 1);
    beschriftet(QStringLiteral("Nummer:"), vaterNr_, 2);
    ++zeile;
    beschriftet(QStringLiteral("Mutter:"), mutter_);
    beschriftet(QStringLiteral("Nummer:"), mutterNr_, 2);
    ++zeile;
    felder->addWidget(sichtbar_, zeile, 1);
    beschriftet(QStringLiteral("letzte Verwendung"), letzteVerwendung_, 2);
    ++zeile;
    beschriftet(QStringLiteral("Prüfbulle bis"), pruefbulleBis_, 2);
    felder->addWidget(pruefbulleInfo_, zeile, 4);
    ++zeile;
    auto* bemLabel = new QLabel(QStringLiteral("Bemerkung:"), daten);
    bemLabel->setBuddy(bemerkung_);
    felder->addWidget(bemLabel, zeile, 0, Qt::AlignTop);
    felder->addWidget(bemerkung_, zeile, 1, 1, 4);
    felder->setRowStretch(zeile, 1);
    felder->setColumnStretch(1, 1);
    felder->setColumnStretch(3, 1);
    // Down the left column, then down the right one: after "HB. Nr." comes "Geb. Dat.".
    QWidget* folge[] = {
        name_,           rasse_,    vaterKnopf_, vater_,    mutter_,           sichtbar_,
        hbnr_,           gebdat_,   vaterNr_,    mutterNr_, letzteVerwendung_, pruefbulleBis_,
        pruefbulleInfo_, bemerkung_};
    for (std::size_t i = 1; i < std::size(folge); ++i)
        setTabOrder(folge[i - 1], folge[i]);

    neu_ = new QPushButton(QStringLiteral("Neuer Bulle"), this);
    speichern_ = new QPushButton(QStringLiteral("Speichern"), this);
    loeschen_ = new QPushButton(QStringLiteral("Bulle löschen"), this);
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    for (QPushButton* k : {neu_, speichern_, loeschen_, schliessen_})
        k->setAutoDefault(false);

    auto* listenLayout = new QVBoxLayout(listenGruppe_);
    listenLayout->addWidget(suche_);
    listenLayout->addWidget(gitter_);
    auto* oben = new QHBoxLayout;
    oben->addWidget(listenGruppe_, 1);
    oben->addWidget(daten, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(neu_);
    knoepfe->addWidget(speichern_);
    knoepfe->addWidget(loeschen_);
    knoepfe->addStretch();
    knoepfe->addWidget(schliessen_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(oben);
    layout->addLayout(knoepfe);

    liste_.FieldByName(QStringLiteral("SICHTBAR")).DisplayLabel = QStringLiteral("Sichtbar");
    liste_.FieldByName(QStringLiteral("NAME")).DisplayLabel = QStringLiteral("Name");
    liste_.FieldByName(QStringLiteral("HBNR")).DisplayLabel = QStringLiteral("HB Nr.");
    liste_.FieldByName(QStringLiteral("LETZTE_VERWENDUNG")).DisplayLabel =
        QStringLiteral("l. Verwendung");
    liste_.FieldByName(QStringLiteral("RASSE")).DisplayLabel = QStringLiteral("Rasse");
    liste_.FieldByName(QStringLiteral("ID")).Visible = false;
    ansicht_->SetDataSet(&liste_);
    connect(suche_, &TZRFilterEdit::OnBeforeFilter, this,
            [this] { suchtext_ = Bullen::Suchtext(suche_->text()); });
    connect(suche_, &TZRFilterEdit::OnAfterFilter, this, [this] { GruppeBeschriften(); });
    connect(suche_, &TZRFilterEdit::OnSelect, this, [this] {
        DBTools::Sicher([this] {
            if (!liste_.IsEmpty())
                BulleWechseln(liste_.FieldByName(QStringLiteral("ID")).AsInteger());
        });
    });
    connect(ansicht_, &QAbstractItemView::doubleClicked, this, [this] {
        DBTools::Sicher([this] {
            if (!liste_.IsEmpty())
                BulleWechseln(liste_.FieldByName(QStringLiteral("ID")).AsInteger());
        });
    });
    connect(neu_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { NeuerBulle(); }); });
    connect(speichern_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { EingabenSpeichern(false); }); });
    connect(loeschen_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { Loeschen(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &TfrmBullenStammdaten::reject);
    connect(vaterKnopf_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { VaterWaehlen(); }); });
    connect(pruefbulleInfo_, &QToolButton::clicked, this,
            [] { Tools::MeldungInfo(PruefbulleText); });
}

void TfrmBullenStammdaten::RassenLaden()
{
    rassen_.Close();
    rassen_.Open();
    rassen_.RecordCount();
    rasse_->clear();
    for (rassen_.First(); !rassen_.Eof(); rassen_.Next())
        rasse_->Eintrag(rassen_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString().trimmed(),
                        rassen_.FieldByName(QStringLiteral("ID")).AsInteger());
    rassen_.First();
}

void TfrmBullenStammdaten::ListeLaden()
{
    Sanduhr sanduhr;
    const int id = liste_.Active() && !liste_.IsEmpty()
                       ? liste_.FieldByName(QStringLiteral("ID")).AsInteger()
                       : 0;
    liste_.Close();
    liste_.Open();
    liste_.RecordCount();
    if (id > 0)
        DBTools::LocateInteger(liste_, QStringLiteral("ID"), id, true);
    GruppeBeschriften();
}

void TfrmBullenStammdaten::GruppeBeschriften()
{
    listenGruppe_->setTitle(
        QStringLiteral("%1 Bulle(n)").arg(liste_.Active() ? liste_.RecordCount() : 0));
}

int TfrmBullenStammdaten::BulleID()
{
    if (!bulle_.Active() || bulle_.IsEmpty())
        return 0;
    const db::Field& id = bulle_.FieldByName(QStringLiteral("ID"));
    return id.IsNull() ? 0 : id.AsInteger();
}

void TfrmBullenStammdaten::BulleWechseln(int id)
{
    if (id == BulleID() && !(bulle_.State() == db::DataSetState::Insert))
        return;
    EingabenSpeichern(false);
    BulleNeuLaden(id, false);
}

void TfrmBullenStammdaten::BulleNeuLaden(int id, bool commit)
{
    if (id == -1)
        id = BulleID();
    const bool listeOffen = liste_.Active() && !liste_.IsEmpty();
    const int listenID = listeOffen ? liste_.FieldByName(QStringLiteral("ID")).AsInteger() : 0;
    const int zeile = listeOffen ? liste_.RecNo() : 0;
    if (commit) {
        bulle_.Close();
        ta_.Commit();
        ta_.Start();
        RassenLaden();
    }
    bulle_.Close();
    bulle_.Param(QStringLiteral("BULLE")).SetInteger(id);
    bulle_.Open();
    if (commit || !liste_.Active())
        ListeLaden();
    if (liste_.IsEmpty() ||
        (id > 0 && DBTools::LocateInteger(liste_, QStringLiteral("ID"), id, true)))
        return;
    if (listenID <= 0 || !DBTools::LocateInteger(liste_, QStringLiteral("ID"), listenID, true))
        liste_.MoveTo(std::min(zeile, liste_.RecordCount() - 1));
}

void TfrmBullenStammdaten::NeuerBulle()
{
    EingabenSpeichern(false);
    bulle_.Append();
    name_->setFocus();
}

void TfrmBullenStammdaten::EingabenSpeichern(bool schliessen)
{
    if (!Bearbeitet(bulle_))
        return;
    try {
        bulle_.UpdateRecord();
        DBTools::Posten(bulle_);
    } catch (...) {
        if (!schliessen)
            verworfen_ = false;
        throw;
    }
    verworfen_ = false;
    BulleNeuLaden(BulleID(), true);
}

void TfrmBullenStammdaten::Pruefen()
{
    if (pruefungLaeuft_)
        throw SilentAbort();
    pruefungLaeuft_ = true;
    Bullen::TBulle b;
    b.name = bulle_.FieldByName(QStringLiteral("NAME")).AsString();
    b.hbnr = bulle_.FieldByName(QStringLiteral("HBNR")).AsString();
    b.gebdat = bulle_.FieldByName(QStringLiteral("GEBDAT")).AsDate();
    b.letzteVerwendung = bulle_.FieldByName(QStringLiteral("LETZTE_VERWENDUNG")).AsDate();
    if (const auto fehler = Bullen::Pruefen(b, ProgDatum::Heute()))
        PruefFehler(*fehler);
    pruefungLaeuft_ = false;
}

void TfrmBullenStammdaten::PruefFehler(const Bullen::TFehler& fehler)
{
    struct Ende {
        bool& flag;
        ~Ende() { flag = false; }
    } ende{pruefungLaeuft_};
    if (bulle_.State() == db::DataSetState::Insert) {
        if (Tools::MeldungConfirm(
                fehler.text +
                    QStringLiteral("\r\rWollen Sie die Bearbeitung des neuen Bullen rückgängig "
                                   "machen?\rDie eingegebenen Daten werden dann nicht "
                                   "gespeichert!"),
                1) == Tools::mrYes) {
            bulle_.Cancel();
            ta_.RollbackRetaining();
            verworfen_ = true;
            throw SilentAbort();
        }
    } else if (!FMeldungErrorEdit::MeldungErrorEdit(
                   fehler.text + QStringLiteral("\r\rDrücken Sie auf Rückgängig, um die gesamte "
                                                "\rBearbeitung rückgängig zu machen."))) {
        if (Tools::MeldungConfirm(
                QStringLiteral("Wollen Sie wirklich die Bearbeitung des Bullen rückgängig "
                               "machen?\rAlle durchgeführten Änderungen werden dabei verworfen!"),
                1) == Tools::mrYes) {
            bulle_.Cancel();
            ta_.RollbackRetaining();
            verworfen_ = true;
            throw SilentAbort();
        }
    }
    QWidget* feld = Feld(fehler.feld);
    if (feld && feld->isEnabled() && feld->isVisible())
        feld->setFocus();
    throw SilentAbort();
}

QWidget* TfrmBullenStammdaten::Feld(Bullen::TFeld feld) const
{
    switch (feld) {
        case Bullen::TFeld::Name:
            return name_;
        case Bullen::TFeld::HBNR:
            return hbnr_;
        case Bullen::TFeld::GebDat:
            return gebdat_;
        case Bullen::TFeld::LetzteVerwendung:
            return letzteVerwendung_;
    }
    return nullptr;
}

void TfrmBullenStammdaten::Loeschen()
{
    if (!bulle_.Active() || (bulle_.IsEmpty() && bulle_.State() != db::DataSetState::Insert))
        return;
    if (bulle_.State() != db::DataSetState::Insert &&
        DM()->SQLWertInteger(ta_,
                             QStringLiteral("SELECT COUNT(*) FROM T_CONTAINER_PORTION WHERE BULLE "
                                            "= :BULLE"),
                             {{QStringLiteral("BULLE"), BulleID()}}) > 0) {
        Tools::MeldungError(
            QStringLiteral("Sie können den Bullen nicht löschen, da dieser in "
                           "der\rContainer-Verwaltung benötigt wird."));
        return;
    }
    const bool neu = bulle_.State() == db::DataSetState::Insert;
    if (!DBTools::LoeschenMitFrage(bulle_,
                                   QStringLiteral("Wollen Sie den Bullen wirklich löschen?")))
        return;
    if (!neu) {
        bulle_.Close();
        ta_.Commit();
        ta_.Start();
        RassenLaden();
        ListeLaden();
    }
    BulleNeuLaden(liste_.IsEmpty() ? 0 : liste_.FieldByName(QStringLiteral("ID")).AsInteger(),
                  false);
}

void TfrmBullenStammdaten::VaterWaehlen()
{
    if (!bulle_.Active() || (bulle_.IsEmpty() && bulle_.State() != db::DataSetState::Insert))
        return;
    bulle_.UpdateRecord();
    QString stier, nummer;
    if (!FStierWahl::StierWaehlen(this, bulle_.FieldByName(QStringLiteral("VATER")).AsString(),
                                  stier, nummer))
        return;
    bulle_.Edit();
    bulle_.FieldByName(QStringLiteral("VATER")).SetString(stier);
    bulle_.FieldByName(QStringLiteral("VATERNR")).SetString(nummer);
}

void TfrmBullenStammdaten::reject()
{
    if (verworfen_) {
        TZRDialog::reject();
        return;
    }
    try {
        EingabenSpeichern(true);
        bulle_.Close();
        ta_.Commit();
    } catch (const SilentAbort&) {
        if (!verworfen_)
            return;
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
        if (!verworfen_)
            return;
    }
    TZRDialog::reject();
}

void TfrmBullenStammdaten::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

bool TfrmBullenStammdaten::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            // To the next field; the buttons between the fields are left to Tab, so that Enter
            // never opens the sire choice or the note.
            QWidget* w = static_cast<QWidget*>(watched)->nextInFocusChain();
            while (w != watched &&
                   (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(this) ||
                    !w->isEnabled() ||
                    (qobject_cast<QAbstractButton*>(w) && !qobject_cast<QCheckBox*>(w))))
                w = w->nextInFocusChain();
            w->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return TZRDialog::eventFilter(watched, event);
}
