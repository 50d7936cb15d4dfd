#include "TerminListe.h"

#include "TerminLogik.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <FrameInternListeWahl.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <Database.h>
#include <Error.h>
#include <Meldung.h>
#include <Query.h>
#include <ZRDateTools.h>
#include <ZRcxGridDBTableView.h>

#include <Hilfe.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

QLineEdit* Datumsfeld(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(10);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    QObject::connect(e, &QLineEdit::editingFinished, e,
                     [e] { e->setText(ZRDateTools::FormatDateNice(e->text())); });
    return e;
}

}  // namespace

// ----------------------------------------------------------------------------- TfrmTerminListe

TfrmTerminListe::TfrmTerminListe(db::Database& datenbank, QWidget* owner)
    : TfrmListeNormal(datenbank, owner)
{
    setObjectName(QStringLiteral("frmTerminListe"));
    setWindowFlag(Qt::Window);
    auto* drucken = new QPushButton(QStringLiteral("Drucken"), this);
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    starten_ = new QPushButton(QStringLiteral("Bovantis\r\nstarten"), this);
    starten_->setObjectName(QStringLiteral("btnStarten"));
    starten_->setMinimumHeight(starten_->fontMetrics().height() * 2 + 12);
    auto* panel = new QHBoxLayout;
    panel->setContentsMargins(8, 6, 8, 8);
    panel->addWidget(drucken);
    panel->addStretch();
    panel->addWidget(starten_);
    panel->addWidget(schliessen_);
    panel->addWidget(hilfe);
    static_cast<QVBoxLayout*>(layout())->addLayout(panel);
    connect(drucken, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([&] { DruckVorschau(); }); });
    connect(schliessen_, &QPushButton::clicked, this, [this] { Beenden(Tools::mrCancel); });
    connect(starten_, &QPushButton::clicked, this, [this] { Beenden(Tools::mrYes); });
    connect(hilfe, &QPushButton::clicked, this, [] { Tools::HilfeAnzeigen(HilfeKontext); });
    // The reminder window is no MDI child, yet its appointments are marked done here too.
    Grid()->OnTerminErledigen = [this](TZRDBcxGridBovantis*, int termin, const QDate& datum,
                                       int tier) {
        DBTools::Sicher([&] {
            if (FListeNormal::TerminErledigenDialog &&
                FListeNormal::TerminErledigenDialog(this, termin, datum, tier))
                ListeAktualisieren();
        });
    };

    Ladefehler = false;
    try {
        // The grid fits the design's column widths to its own width, which it has only once
        // laid out; the window is laid out unseen before it is shown.
        resize(900, 560);
        setAttribute(Qt::WA_DontShowOnScreen);
        show();
        layout()->activate();
        const TEinstellungen* e = Einstellungen();
        if (!e)
            throw std::runtime_error("Die Einstellungen sind nicht geladen.");
        ListeLaden(false, e->GetTerminListe(), e->GetAktBetriebListen(), {}, {}, {});
        hide();
        setAttribute(Qt::WA_DontShowOnScreen, false);
        Grid()->GetTableView()->setFocus();
    } catch (const std::exception& e) {
        hide();
        setAttribute(Qt::WA_DontShowOnScreen, false);
        Tools::MeldungError(
            QStringLiteral("Es ist ein Fehler bei der Anzeige der Hinweisliste aufgetreten\r\r") +
            (dynamic_cast<const db::Error*>(&e) ? QStringLiteral("EDatenbankFehler")
                                                : QStringLiteral("Exception")) +
            QStringLiteral(": ") +
            (dynamic_cast<const db::Error*>(&e) ? static_cast<const db::Error&>(e).Message()
                                                : QString::fromUtf8(e.what())));
        Ladefehler = true;
    }
}

int TfrmTerminListe::Zeigen()
{
    ergebnis_ = Tools::mrCancel;
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop schleife;
    beenden_ = [&schleife] { schleife.quit(); };
    schleife.exec();
    beenden_ = nullptr;
    return ergebnis_;
}

void TfrmTerminListe::Beenden(int ergebnis)
{
    ergebnis_ = ergebnis;
    close();
}

void TfrmTerminListe::closeEvent(QCloseEvent* e)
{
    TfrmListeNormal::closeEvent(e);
    if (e->isAccepted() && beenden_)
        beenden_();
}

// ------------------------------------------------------------------------- TfrmTerminErledigen

TfrmTerminErledigen::TfrmTerminErledigen(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      transaktion_(datenbank, QStringLiteral("TAErledigen")),
      tier_(new QLabel(this)),
      termin_(new QLabel(this)),
      erledigt_(Datumsfeld(this, "edErledigt")),
      bemerkungen_(new QComboBox(this)),
      bemerkung_(new QPlainTextEdit(this)),
      ok_(new QPushButton(QStringLiteral("Ok"), this))
{
    setObjectName(QStringLiteral("frmTerminErledigen"));
    setWindowTitle(QStringLiteral("Termin erledigen"));
    tier_->setObjectName(QStringLiteral("lbTier"));
    termin_->setObjectName(QStringLiteral("lbTermin"));
    tier_->setMinimumWidth(320);
    bemerkungen_->setObjectName(QStringLiteral("cbBemerkungen"));
    bemerkungen_->setMaxVisibleItems(10);
    bemerkung_->setObjectName(QStringLiteral("mmBemerkung"));
    bemerkung_->setMaximumHeight(90);
    ok_->setObjectName(QStringLiteral("btnOk"));
    ok_->setDefault(true);
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);

    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Tier:"), tier_);
    felder->addRow(QStringLiteral("Termin:"), termin_);
    felder->addRow(QStringLiteral("Erledigt:"), erledigt_);
    auto* gruppe = new QGroupBox(QStringLiteral("Bemerkung"), this);
    auto* g = new QVBoxLayout(gruppe);
    g->addWidget(bemerkungen_);
    g->addWidget(bemerkung_);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(hilfe);
    knoepfe->addStretch();
    knoepfe->addWidget(abbrechen);
    knoepfe->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addWidget(gruppe);
    layout->addLayout(knoepfe);

    connect(bemerkungen_, &QComboBox::activated, this, [this](int position) {
        if (position >= 0 && position < texte_.size())
            bemerkung_->setPlainText(texte_[position]);
    });
    connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
}

void TfrmTerminErledigen::Initialisieren(int terminID, int tierID, const QDate& termin)
{
    terminID_ = terminID;
    tierID_ = tierID;
    datum_ = termin;
    erledigt_->setText(Termin::SqlDatum(ProgDatum::Heute()));
    bemerkung_->clear();
    if (transaktion_.Active())
        transaktion_.Rollback();
    transaktion_.Start();
    BemerkungenLaden();
    LabelsSetzen();
}

void TfrmTerminErledigen::BemerkungenLaden()
{
    bemerkungen_->clear();
    texte_.clear();
    for (const char* sql : {"SELECT BEMERKUNG FROM T_TERMINE_ERLEDIGEN\r"
                            "WHERE BEMERKUNG IS NOT NULL ORDER BY BEMERKUNG",
                            "SELECT BEMERKUNG FROM T_TERMINE\r"
                            "WHERE BEMERKUNG IS NOT NULL ORDER BY BEMERKUNG"}) {
        db::Query q(transaktion_, QString::fromLatin1(sql));
        for (q.Open(); !q.Eof(); q.Next()) {
            const QString text = q.Field(0).AsString();
            if (texte_.contains(text))
                continue;
            texte_ << text;
            bemerkungen_->addItem(Termin::BemerkungKurz(text));
        }
    }
    bemerkungen_->setCurrentIndex(-1);
}

void TfrmTerminErledigen::LabelsSetzen()
{
    if (tierID_ <= 0) {
        tier_->clear();
        db::Query q(transaktion_,
                    QStringLiteral("SELECT TEXT FROM T_TERMINE WHERE ID = %1").arg(terminID_));
        q.Open();
        text_ = q.Eof() ? QString() : q.Field(0).AsString();
    } else {
        db::Query t(transaktion_, QStringLiteral("SELECT KNRDISPLAY, NAME, NUMMER FROM "
                                                 "V_STAMMDATEN_EX WHERE ID = %1")
                                      .arg(tierID_));
        t.Open();
        QStringList teile;
        if (!t.Eof())
            for (int i = 0; i < 3; ++i)
                teile << t.Field(i).AsString().trimmed();
        tier_->setText(teile.join(QStringLiteral(", ")));
        db::Query q(transaktion_, QStringLiteral("SELECT TEXT FROM T_TERMINE_EINSTELLUNG WHERE "
                                                 "ID = %1")
                                      .arg(terminID_));
        q.Open();
        text_ = q.Eof() ? QString() : q.Field(0).AsString();
    }
    termin_->setText(Termin::TerminAnzeige(datum_, ProgDatum::Heute(), text_));
}

void TfrmTerminErledigen::Speichern()
{
    const QDate erledigt = ZRDateTools::DatumAusText(erledigt_->text());
    if (!erledigt.isValid())
        throw std::runtime_error(
            "Bitte geben Sie das Datum ein, an dem der Termin erledigt wurde.");
    db::Query q(transaktion_,
                tierID_ <= 0
                    ? QStringLiteral("UPDATE T_TERMINE SET ERLEDIGT = :ERLEDIGT, BEMERKUNG = "
                                     ":BEMERKUNG\rWHERE ID = :TERMIN_ID")
                    : QStringLiteral("UPDATE T_TERMINE_ERLEDIGEN SET ERLEDIGT = :ERLEDIGT, TEXT = "
                                     ":TEXT,\rBEMERKUNG = :BEMERKUNG WHERE TERMIN_ID = :TERMIN_ID "
                                     "AND\rTERMIN = :TERMIN AND TIER = :TIER"));
    q.Param(QStringLiteral("TERMIN_ID")).SetInteger(terminID_);
    q.Param(QStringLiteral("ERLEDIGT")).SetDate(erledigt);
    const QString bemerkung = bemerkung_->toPlainText().trimmed();
    if (bemerkung.isEmpty())
        q.Param(QStringLiteral("BEMERKUNG")).SetNull();
    else
        q.Param(QStringLiteral("BEMERKUNG")).SetString(bemerkung);
    if (tierID_ > 0) {
        q.Param(QStringLiteral("TEXT")).SetString(text_);
        q.Param(QStringLiteral("TERMIN")).SetDate(datum_);
        q.Param(QStringLiteral("TIER")).SetInteger(tierID_);
    }
    q.Execute();
    // A row that is gone (deleted meanwhile, or never created for this day) must not pass for
    // a completed appointment.
    if (q.RowsAffected() == 0) {
        transaktion_.Rollback();
        transaktion_.Start();
        throw std::runtime_error(
            "Der Termin wurde nicht gefunden und konnte daher nicht als "
            "erledigt markiert werden.");
    }
    transaktion_.Commit();
}

void TfrmTerminErledigen::Ok()
{
    DBTools::Sicher([&] {
        Speichern();
        accept();
    });
}

void TfrmTerminErledigen::done(int result)
{
    if (transaktion_.Active())
        transaktion_.Rollback();
    TZRDialog::done(result);
}

// ------------------------------------------------------------------- TfrmListeErledigteTermine

TfrmListeErledigteTermine::TfrmListeErledigteTermine(db::Database& datenbank, QWidget* parent)
    : TfrmListeNormal(datenbank, parent)
{
    setObjectName(QStringLiteral("frmListeErledigteTermine"));
    actEintragLoeschen = new QAction(QStringLiteral("Eintrag löschen"), this);
    actEintragLoeschen->setObjectName(QStringLiteral("actEintragLoeschen"));
    actAlleEintraegeLoeschen = new QAction(QStringLiteral("Alle Einträge löschen"), this);
    actAlleEintraegeLoeschen->setObjectName(QStringLiteral("actAlleEintraegeLoeschen"));
    addActions({actEintragLoeschen, actAlleEintraegeLoeschen});
    ListePopup()->addSeparator();
    ListePopup()->addActions({actEintragLoeschen, actAlleEintraegeLoeschen});
    connect(ListePopup(), &QMenu::aboutToShow, this, [this] { AktionenAktualisieren(); });
    const auto sicher = [this](void (TfrmListeErledigteTermine::*wirkung)()) {
        return [this, wirkung] { DBTools::Sicher([&] { (this->*wirkung)(); }); };
    };
    connect(actEintragLoeschen, &QAction::triggered, this,
            sicher(&TfrmListeErledigteTermine::EintragLoeschen));
    connect(actAlleEintraegeLoeschen, &QAction::triggered, this,
            sicher(&TfrmListeErledigteTermine::AlleEintraegeLoeschen));
}

void TfrmListeErledigteTermine::AktionenAktualisieren()
{
    const bool zeilen = QDaten().Active() && !QDaten().IsEmpty();
    actEintragLoeschen->setEnabled(zeilen);
    actAlleEintraegeLoeschen->setEnabled(zeilen);
}

void TfrmListeErledigteTermine::Entfernen(bool fest, int id)
{
    // The entry of a fixed appointment is its completion; the appointment itself stays.
    db::Query q(TAListe(), fest ? QStringLiteral("UPDATE T_TERMINE SET ERLEDIGT = NULL, "
                                                 "BEMERKUNG = NULL WHERE ID = :ID")
                                : QStringLiteral("DELETE FROM T_TERMINE_ERLEDIGEN WHERE ID = :ID"));
    q.Param(QStringLiteral("ID")).SetInteger(id);
    q.Execute();
}

void TfrmListeErledigteTermine::EintragLoeschen()
{
    if (!QDaten().Active() || QDaten().IsEmpty())
        return;
    try {
        Entfernen(QDaten().FieldByName(QStringLiteral("TIERID")).IsNull(),
                  QDaten().FieldByName(QStringLiteral("ID")).AsInteger());
        TAListe().Commit();
    } catch (...) {
        if (TAListe().Active())
            TAListe().Rollback();
        ListeAktualisieren();
        throw;
    }
    ListeAktualisieren();
}

void TfrmListeErledigteTermine::AlleEintraegeLoeschen()
{
    if (!QDaten().Active() || QDaten().IsEmpty())
        return;
    if (Tools::MeldungConfirm(QStringLiteral("Sollen wirklich alle Einträge gelöscht werden?"),
                              1) != Tools::mrYes)
        return;
    QList<int> feste;
    QList<int> tierbezogene;
    const int id = QDaten().FieldByName(QStringLiteral("ID")).Index();
    const int tier = QDaten().FieldByName(QStringLiteral("TIERID")).Index();
    for (int i = 0; i < QDaten().RecordCount(); ++i)
        (QDaten().ValueAt(i, tier).IsNull() ? feste : tierbezogene)
            << QDaten().ValueAt(i, id).AsInteger();
    QDaten().DisableControls();
    try {
        for (int termin : feste)
            Entfernen(true, termin);
        for (int eintrag : tierbezogene)
            Entfernen(false, eintrag);
        TAListe().Commit();
    } catch (...) {
        if (TAListe().Active())
            TAListe().Rollback();
        QDaten().EnableControls();
        ListeAktualisieren();
        throw;
    }
    ListeAktualisieren();
    QDaten().EnableControls();
}

// ------------------------------------------------------------------------ TfrmErledigteTermine

QWidget* InternListeWahlErzeugen(TfrmErledigteTermine& dialog, QWidget* platz)
{
    auto* wahl = new TframeInternListeWahl(dialog.TAErledigteTermine().GetDatabase(), platz);
    wahl->ListenTyp = TfrmErledigteTermine::ListenTyp;
    wahl->Felder = TfrmErledigteTermine::Felder;
    wahl->StandardDesigns = dialog.StandardDesigns;
    wahl->Daten = &dialog.QDaten();
    wahl->Betriebsstaette = dialog.Betriebsstaette();
    wahl->BetriebsstaetteDrucken = dialog.BetriebsstaetteDrucken();
    wahl->OnBildschirmFelderAnlegen = [](TframeInternListeWahl& f, int listeId) {
        for (const TfrmErledigteTermine::NeuesFeld& n : TfrmErledigteTermine::NeueFelder())
            f.BildschirmFeldAnlegen(listeId, n.feld, n.titel, n.breite);
    };
    wahl->OnDruckFelderAnlegen = [](TframeInternListeWahl& f, int listeId) {
        int position = 0;
        for (const TfrmErledigteTermine::NeuesFeld& n : TfrmErledigteTermine::NeueFelder()) {
            f.DruckFeldAnlegen(listeId, n.feld, n.titel, position, n.breite);
            position += n.breite;
        }
    };
    wahl->OnVorAusgabe = [&dialog](TframeInternListeWahl& f) {
        dialog.StandardDesigns = f.StandardDesigns;
        dialog.VorAusgabe();
        f.DatenSQL = dialog.DatenSQL;
        f.SchnellwahlSQL = dialog.SchnellwahlSQL;
        f.Titelzusatz = dialog.Titelzusatz;
    };
    wahl->OnNachAusgabe = [&dialog](TframeInternListeWahl&) { dialog.NachAusgabe(); };
    wahl->OnHilfe = [&dialog](TframeInternListeWahl&) { dialog.HilfeAnzeigen(); };
    wahl->OnFensterklasse = [](TframeInternListeWahl&, FListeNormal::Fensterklasse& klasse) {
        klasse = TfrmErledigteTermine::Fensterklasse();
    };
    wahl->Initialisieren(true);
    return wahl;
}

TfrmErledigteTermine::TfrmErledigteTermine(db::Database& datenbank, QWidget* owner,
                                           const ListenWahl& wahl)
    : TZRDialog(owner),
      transaktion_(datenbank, QStringLiteral("TAErledigteTermine")),
      daten_(transaktion_),
      von_(Datumsfeld(this, "edVon")),
      bis_(Datumsfeld(this, "edBis")),
      tierbezogene_(new QCheckBox(QStringLiteral("Tierbezogene"), this)),
      feste_(new QCheckBox(QStringLiteral("Feste"), this))
{
    setObjectName(QStringLiteral("frmErledigteTermine"));
    setWindowTitle(QStringLiteral("Erledigte Termine"));
    setHelpContext(HilfeKontext);
    tierbezogene_->setObjectName(QStringLiteral("cbTierbezogene"));
    feste_->setObjectName(QStringLiteral("cbFeste"));

    const TEinstellungen* e = Einstellungen();
    if (!e)
        throw std::runtime_error("Die Einstellungen sind nicht geladen.");
    const auto datum = [](const QDate& d) { return d.isValid() ? Termin::SqlDatum(d) : QString(); };
    von_->setText(datum(e->GetErledigteTermineVon()));
    bis_->setText(datum(e->GetErledigteTermineBis()));
    tierbezogene_->setChecked(e->GetErledigteTermineTierbezogen());
    feste_->setChecked(e->GetErledigteTermineFeste());
    StandardDesigns = e->GetErledigteTermineStandardDesigns();

    auto* zeitraum = new QHBoxLayout;
    zeitraum->addWidget(new QLabel(QStringLiteral("von"), this));
    zeitraum->addWidget(von_);
    zeitraum->addSpacing(12);
    zeitraum->addWidget(new QLabel(QStringLiteral("bis"), this));
    zeitraum->addWidget(bis_);
    zeitraum->addStretch();
    auto* termine = new QGroupBox(QStringLiteral("Termine"), this);
    auto* t = new QHBoxLayout(termine);
    t->addWidget(tierbezogene_);
    t->addWidget(feste_);
    t->addStretch();
    auto* platz = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(zeitraum);
    layout->addWidget(termine);
    layout->addWidget(platz, 1);
    auto* p = new QVBoxLayout(platz);
    p->setContentsMargins(0, 0, 0, 0);
    wahl_ = wahl(*this, platz);
    if (wahl_)
        p->addWidget(wahl_);
}

TfrmErledigteTermine::~TfrmErledigteTermine()
{
    daten_.Close();
}

QList<TfrmErledigteTermine::NeuesFeld> TfrmErledigteTermine::NeueFelder()
{
    return {{"ID", "ID", 50},     {"TIERID", "Tier-ID", 50},    {"KNR", "KNR", 50},
            {"NAME", "Name", 50}, {"NUMMER", "Nummer", 50},     {"DATUM", "Datum", 50},
            {"TEXT", "Text", 50}, {"ERLEDIGT", "Erledigt", 50}, {"BEMERKUNG", "Bemerkung", 50}};
}

void TfrmErledigteTermine::EinstellungenSpeichern()
{
    TEinstellungen* e = Einstellungen();
    const QDate von = ZRDateTools::DatumAusText(von_->text());
    const QDate bis = ZRDateTools::DatumAusText(bis_->text());
    const auto [frueh, spaet] = Termin::ZeitraumOrdnen(von, bis);
    e->SetErledigteTermineVon(frueh);
    e->SetErledigteTermineBis(spaet);
    e->SetErledigteTermineTierbezogen(tierbezogene_->isChecked());
    e->SetErledigteTermineFeste(feste_->isChecked());
    e->SetErledigteTermineStandardDesigns(StandardDesigns);
}

void TfrmErledigteTermine::VorAusgabe()
{
    EinstellungenSpeichern();
    const TEinstellungen* e = Einstellungen();
    const QDate von = e->GetErledigteTermineVon();
    const QDate bis = e->GetErledigteTermineBis();
    if (!von.isValid() || !bis.isValid())
        throw std::runtime_error("Bitte geben Sie bei \"von\" und \"bis\" gültige Daten ein.");
    DatenSQL = Termin::ErledigteDatenSQL(von, bis, tierbezogene_->isChecked(), feste_->isChecked());
    SchnellwahlSQL = Termin::ErledigteSchnellwahlSQL(von, bis, tierbezogene_->isChecked());
    Titelzusatz = Termin::ErledigteTitelzusatz(von, bis);
    daten_.Close();
    if (transaktion_.Active())
        transaktion_.Commit();
    transaktion_.Start();
    daten_.SetSelectSQL(DatenSQL);
}

void TfrmErledigteTermine::NachAusgabe()
{
    accept();
}

FListeNormal::Fensterklasse TfrmErledigteTermine::Fensterklasse()
{
    return [](db::Database& datenbank, QWidget* parent) -> TfrmListeNormal* {
        return new TfrmListeErledigteTermine(datenbank, parent);
    };
}

void TfrmErledigteTermine::done(int result)
{
    if (auto* wahl = qobject_cast<TframeInternListeWahl*>(wahl_)) {
        StandardDesigns = wahl->StandardDesigns;
        wahl->Schliessen();
    }
    daten_.Close();
    if (transaktion_.Active())
        transaktion_.Commit();
    EinstellungenSpeichern();
    TZRDialog::done(result);
}
