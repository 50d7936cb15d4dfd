#include "FrameInternListeWahl.h"

#include "InternListeWahl.h"
#include "ListenDruck.h"
#include "ListenExport.h"

#include <DBTools.h>
#include <Shell.h>
#include <ProgrammFehler.h>
#include <SilentAbort.h>

#include <Database.h>
#include <Meldung.h>
#include <NeuWert.h>
#include <Query.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <DataSetModel.h>

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>
#include <stdexcept>

namespace {

const char* const ErweiterteKnoepfe[] = {"Neu",
                                         "BearbeitenBildschirm",
                                         "BearbeitenDruck",
                                         "Umbenennen",
                                         "Loeschen",
                                         "Laden",
                                         "Speichern",
                                         "Standard"};
const QString DateiFilter = QStringLiteral("Listen Austauschformat (*.xml)");

// Undoes what a step wrote in the frame's transaction when it fails, as the step never ran.
class Sicherungspunkt {
public:
    Sicherungspunkt(db::Transaction& tr, const char* name) : tr_(tr), name_(QLatin1String(name))
    {
        db::Query(tr_, QStringLiteral("SAVEPOINT ") + name_).Execute();
    }
    ~Sicherungspunkt()
    {
        if (offen_ && tr_.Active()) {
            try {
                db::Query(tr_, QStringLiteral("ROLLBACK TO SAVEPOINT ") + name_).Execute();
            } catch (...) {
                // The failure that brought us here is the one the user must see.
            }
        }
    }
    void Freigeben()
    {
        db::Query(tr_, QStringLiteral("RELEASE SAVEPOINT ") + name_ + QStringLiteral(" ONLY"))
            .Execute();
        offen_ = false;
    }
    Sicherungspunkt(const Sicherungspunkt&) = delete;
    Sicherungspunkt& operator=(const Sicherungspunkt&) = delete;

private:
    db::Transaction& tr_;
    QString name_;
    bool offen_ = true;
};

}  // namespace

TframeInternListeWahl::TframeInternListeWahl(db::Database& datenbank, QWidget* parent)
    : QWidget(parent),
      transaktion_(datenbank, QStringLiteral("TAInternListeWahl")),
      listen_(transaktion_),
      listenEdit_(transaktion_)
{
    setObjectName(QStringLiteral("frameInternListeWahl"));
    setFocusPolicy(Qt::TabFocus);
    listen_.SetSelectSQL(
        QStringLiteral("SELECT BEZEICHNUNG, TITEL, ID FROM T_LISTEN\n"
                       "WHERE ID < 0\n"
                       "AND BEDINGUNGEN IS NOT NULL\n"
                       "AND BEDINGUNGEN = :LISTENTYP\n"
                       "ORDER BY BEZEICHNUNG"));
    listenEdit_.SetSelectSQL(
        QStringLiteral("SELECT BEZEICHNUNG, TITEL, ID FROM T_LISTEN\n"
                       "WHERE ID = :ID"));
    listenEdit_.SetModifySQL(
        QStringLiteral("UPDATE T_LISTEN SET BEZEICHNUNG = :BEZEICHNUNG, TITEL = :TITEL, ID = :ID "
                       "WHERE ID = :OLD_ID"));
    listenEdit_.SetDeleteSQL(QStringLiteral("DELETE FROM T_LISTEN WHERE ID = :OLD_ID"));

    auto* layout = new QHBoxLayout(this);
    gruppe_ = new QGroupBox(QStringLiteral("Listen-Designs"), this);
    gruppe_->setObjectName(QStringLiteral("GroupBox"));
    auto* gruppenLayout = new QVBoxLayout(gruppe_);
    grid_ = new TZRDBcxGrid(gruppe_);
    grid_->setObjectName(QStringLiteral("ListeGrid"));
    view_ = grid_->CreateView<TZRcxGridDBTableView>(QStringLiteral("ListeView"));
    view_->SetEmptyText(QStringLiteral("< Keine Listen-Designs vorhanden >"));
    gruppenLayout->addWidget(grid_);
    layout->addWidget(gruppe_, 1);

    // Two columns that do not share rows: the extended buttons appear beside the others.
    auto* knoepfe = new QVBoxLayout;
    for (const auto& [name, text] :
         {std::pair{"Anzeigen", "Anzeigen"}, std::pair{"Vorschau", "Vorschau"},
          std::pair{"Drucken", "Drucken"}, std::pair{"Exportieren", "Exportieren"}})
        knoepfe->addWidget(NeuerKnopf(name, QString::fromUtf8(text)));
    knoepfe->addStretch(1);
    knoepfe->addWidget(NeuerKnopf("Mehr", QStringLiteral("Mehr >>")));
    knoepfe->addWidget(NeuerKnopf("Hilfe", QStringLiteral("Hilfe")));
    knoepfe->addWidget(NeuerKnopf("Schliessen", QStringLiteral("Schließen")));
    layout->addLayout(knoepfe);
    auto* erweitert = new QVBoxLayout;
    const QStringList texte{QStringLiteral("Neu"),       QStringLiteral("B. Bildschirm"),
                            QStringLiteral("B. Druck"),  QStringLiteral("Umbenennen"),
                            QStringLiteral("Löschen"),   QStringLiteral("Laden"),
                            QStringLiteral("Speichern"), QStringLiteral("Als Standard")};
    for (int i = 0; i < texte.size(); ++i) {
        QPushButton* k = NeuerKnopf(ErweiterteKnoepfe[i], texte[i]);
        k->hide();
        k->setEnabled(false);
        erweitert->addWidget(k);
    }
    erweitert->addStretch(1);
    Knopf(QStringLiteral("BearbeitenBildschirm"))
        ->setToolTip(QStringLiteral("Bearbeiten der Bildschirmanzeige"));
    Knopf(QStringLiteral("BearbeitenDruck"))
        ->setToolTip(QStringLiteral("Bearbeiten der Druckausgabe"));
    layout->addLayout(erweitert);

    const auto verbinden = [this](const char* name, auto handler) {
        connect(Knopf(QLatin1String(name)), &QPushButton::clicked, this,
                [this, handler] { Sicher([this, handler] { (this->*handler)(); }); });
    };
    connect(Knopf(QStringLiteral("Anzeigen")), &QPushButton::clicked, this,
            [this] { Sicher([this] { Ausgeben(0); }); });
    connect(Knopf(QStringLiteral("Vorschau")), &QPushButton::clicked, this,
            [this] { Sicher([this] { Ausgeben(1); }); });
    connect(Knopf(QStringLiteral("Drucken")), &QPushButton::clicked, this,
            [this] { Sicher([this] { Ausgeben(2); }); });
    connect(Knopf(QStringLiteral("Exportieren")), &QPushButton::clicked, this,
            [this] { Sicher([this] { Ausgeben(3); }); });
    connect(Knopf(QStringLiteral("Hilfe")), &QPushButton::clicked, this, [this] {
        if (OnHilfe)
            Sicher([this] { OnHilfe(*this); });
    });
    connect(Knopf(QStringLiteral("Schliessen")), &QPushButton::clicked, this, [this] {
        if (OnNachAusgabe)
            Sicher([this] { OnNachAusgabe(*this); });
    });
    verbinden("Mehr", &TframeInternListeWahl::MehrClick);
    verbinden("Neu", &TframeInternListeWahl::NeuClick);
    verbinden("BearbeitenBildschirm", &TframeInternListeWahl::BearbeitenBildschirmClick);
    verbinden("BearbeitenDruck", &TframeInternListeWahl::BearbeitenDruckClick);
    verbinden("Umbenennen", &TframeInternListeWahl::UmbenennenClick);
    verbinden("Loeschen", &TframeInternListeWahl::LoeschenClick);
    verbinden("Laden", &TframeInternListeWahl::LadenClick);
    verbinden("Speichern", &TframeInternListeWahl::SpeichernClick);
    verbinden("Standard", &TframeInternListeWahl::StandardClick);
}

TframeInternListeWahl::~TframeInternListeWahl()
{
    view_->SetDataSet(nullptr);
    listen_.Close();
    listenEdit_.Close();
}

QPushButton* TframeInternListeWahl::NeuerKnopf(const char* name, const QString& text)
{
    auto* k = new QPushButton(text, this);
    k->setObjectName(QLatin1String(name));
    return k;
}

QPushButton* TframeInternListeWahl::Knopf(const QString& name) const
{
    return findChild<QPushButton*>(name, Qt::FindDirectChildrenOnly);
}

void TframeInternListeWahl::Sicher(const std::function<void()>& aktion)
{
    ProgrammFehler::Abfangen([&] {
        try {
            aktion();
        } catch (const SilentAbort&) {
            // The user has been told already.
        }
    });
}

void TframeInternListeWahl::Starten()
{
    if (!transaktion_.Active())
        transaktion_.Start();
}

void TframeInternListeWahl::Initialisieren(bool mitBildschirm)
{
    const QStringList weg = mitBildschirm ? QStringList{QStringLiteral("Exportieren")}
                                          : QStringList{QStringLiteral("Anzeigen"),
                                                        QStringLiteral("BearbeitenBildschirm")};
    for (const QString& name : weg)
        delete Knopf(name);
    view_->SetDataSet(&listen_);
    DesignsLaden(0);
}

void TframeInternListeWahl::DesignsLaden(int id)
{
    Starten();
    listen_.Close();
    listen_.Param(QStringLiteral("LISTENTYP")).SetString(ListenTyp);
    listen_.Open();
    listen_.RecordCount();
    db::Field& bezeichnung = listen_.FieldByName(QStringLiteral("BEZEICHNUNG"));
    bezeichnung.DisplayLabel = QStringLiteral("Bezeichnung");
    bezeichnung.ReadOnly = true;
    listen_.FieldByName(QStringLiteral("TITEL")).Visible = false;
    listen_.FieldByName(QStringLiteral("ID")).Visible = false;
    view_->DataModel()->Reset();
    if (auswahl_ < 0)
        auswahl_ = view_->CreateCheckColumn(QStringLiteral("ListeViewAuswahl"), QString(), 0);

    if (id == 0 || !DBTools::LocateInteger(listen_, QStringLiteral("ID"), id, false))
        listen_.First();

    QList<int> ids;
    for (int r = 0; r < listen_.RecordCount(); ++r)
        ids << listen_.ValueAt(r, listen_.FieldByName(QStringLiteral("ID")).Index()).AsInteger();
    const std::vector<bool> haken = InternListeWahl::Haken(ids, StandardDesigns);
    view_->setUpdatesEnabled(false);
    for (int r = 0; r < ids.size(); ++r)
        view_->DataController()->SetValues(r, auswahl_, bool(haken[std::size_t(r)]));
    view_->setUpdatesEnabled(true);
    // The tick column as narrow as its box, the names with the rest: their title stays whole.
    view_->SpaltenNachInhalt();
    KnoepfePruefen();
}

void TframeInternListeWahl::KnoepfePruefen()
{
    const bool designs = listen_.Active() && !listen_.IsEmpty();
    for (const char* name : {"Vorschau", "Drucken", "Exportieren", "Anzeigen"})
        if (QPushButton* k = Knopf(QLatin1String(name)))
            k->setEnabled(designs);
    for (const char* name : {"BearbeitenBildschirm", "BearbeitenDruck", "Umbenennen", "Loeschen",
                             "Speichern", "Standard"})
        if (QPushButton* k = Knopf(QLatin1String(name)))
            k->setEnabled(designs && mehr_);
}

void TframeInternListeWahl::MehrClick()
{
    mehr_ = true;
    Knopf(QStringLiteral("Mehr"))->setEnabled(false);
    for (const char* name : ErweiterteKnoepfe)
        if (QPushButton* k = Knopf(QLatin1String(name)))
            k->show();
    Knopf(QStringLiteral("Neu"))->setEnabled(true);
    Knopf(QStringLiteral("Laden"))->setEnabled(true);
    KnoepfePruefen();
    Knopf(QStringLiteral("Neu"))->setFocus();
}

int TframeInternListeWahl::FokusID()
{
    if (!listen_.Active() || listen_.IsEmpty())
        return 0;
    return listen_.FieldByName(QStringLiteral("ID")).AsInteger();
}

void TframeInternListeWahl::Ausgeben(int art)
{
    if (OnVorAusgabe)
        OnVorAusgabe(*this);
    QList<int> ids;
    const int idSpalte = listen_.FieldByName(QStringLiteral("ID")).Index();
    for (int r = 0; r < listen_.RecordCount(); ++r)
        if (view_->DataController()->Values(r, auswahl_).toBool())
            ids << listen_.ValueAt(r, idSpalte).AsInteger();
    if (ids.isEmpty()) {
        Tools::MeldungInfo(QStringLiteral("Wählen Sie ein Design aus"));
        return;
    }
    FListeNormal::Fensterklasse klasse;
    if (art == 0 && OnFensterklasse)
        OnFensterklasse(*this, klasse);
    for (int id : ids) {
        switch (art) {
            case 0: {
                TShell* shell = TShell::Aktuell();
                std::function<void(TfrmListe*)> status;
                if (shell)
                    status = [shell](TfrmListe*) { shell->ZeigeHinweis(); };
                FListeNormal::ListeAnzeigenEx(
                    shell ? shell->Fenster() : nullptr, id, Betriebsstaette, Titelzusatz, DatenSQL,
                    SchnellwahlSQL, BetriebsstaetteDrucken, false, klasse, true, std::move(status));
                break;
            }
            case 1:
            case 2:
                if (Daten)
                    ListenDruck::ListeDruckenMitDaten(id, Betriebsstaette, Titelzusatz, *Daten,
                                                      art == 1, BetriebsstaetteDrucken);
                else
                    ListenDruck::ListeDrucken(id, Betriebsstaette, Titelzusatz, art == 1);
                break;
            case 3:
                if (!Daten)
                    throw std::runtime_error("Die Daten der Liste fehlen für den Export.");
                ListenExport::ListeExportierenMitDaten(id, Betriebsstaette, *Daten, Titelzusatz,
                                                       window());
                break;
        }
    }
    if ((art == 0 || art == 2) && OnNachAusgabe)
        OnNachAusgabe(*this);
}

void TframeInternListeWahl::BildschirmFeldAnlegen(int listeId, const QString& feld,
                                                  const QString& titel, int breite)
{
    if (!bildschirmInsert_)
        throw std::logic_error("BildschirmFeldAnlegen gilt nur beim Anlegen eines Designs.");
    bildschirmInsert_->Param(QStringLiteral("LISTE")).SetInteger(listeId);
    bildschirmInsert_->Param(QStringLiteral("FELD")).SetString(feld);
    bildschirmInsert_->Param(QStringLiteral("BREITE")).SetInteger(breite);
    bildschirmInsert_->Param(QStringLiteral("TITEL")).SetString(titel);
    bildschirmInsert_->Execute();
}

void TframeInternListeWahl::DruckFeldAnlegen(int listeId, const QString& feld, const QString& titel,
                                             int position, int breite)
{
    if (!druckInsert_)
        throw std::logic_error("DruckFeldAnlegen gilt nur beim Anlegen eines Designs.");
    druckInsert_->Param(QStringLiteral("LISTE")).SetInteger(listeId);
    druckInsert_->Param(QStringLiteral("FELD")).SetString(feld);
    druckInsert_->Param(QStringLiteral("L_POSITION")).SetInteger(position);
    druckInsert_->Param(QStringLiteral("BREITE")).SetInteger(breite);
    druckInsert_->Param(QStringLiteral("TITEL")).SetString(titel);
    druckInsert_->Execute();
}

void TframeInternListeWahl::NeuClick()
{
    QStringList werte{QString(), QString()};
    if (!GetNeueWerte({QStringLiteral("Bezeichnung"), QStringLiteral("Titel")}, werte,
                      QStringLiteral("Neues Design"), QString()))
        return;
    Starten();
    int id = 0;
    {
        Sicherungspunkt punkt(transaktion_, "DESIGN_NEU");
        id = InternListeWahl::DesignAnlegen(transaktion_, werte[0], werte[1], Felder, ListenTyp);
        // The prepared statements live only while the host's events run.
        struct Vorbereitet {
            db::Query*& zeiger;
            std::unique_ptr<db::Query> query;
            ~Vorbereitet() { zeiger = nullptr; }
        };
        if (OnBildschirmFelderAnlegen) {
            Vorbereitet v{bildschirmInsert_,
                          std::make_unique<db::Query>(
                              transaktion_,
                              QStringLiteral("INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, ZEILE, "
                                             "BREITE, TITEL,\n"
                                             "SICHTBAR, AUTOBREITE, UEBERSCHRIFT) VALUES (:LISTE, "
                                             ":FELD, 1, :BREITE,\n"
                                             ":TITEL, 'T', 'T', 'F')"))};
            bildschirmInsert_ = v.query.get();
            OnBildschirmFelderAnlegen(*this, id);
        }
        if (OnDruckFelderAnlegen) {
            Vorbereitet v{druckInsert_,
                          std::make_unique<db::Query>(
                              transaktion_,
                              QStringLiteral("INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, L_POSITION, "
                                             "ZEILE, BREITE,\n"
                                             "TITEL, SICHTBAR, ZEILENUMBRUCH, LEERZEILE, "
                                             "SCHRIFTSCHMAL)\n"
                                             "VALUES (:LISTE, :FELD, :L_POSITION, 1, :BREITE, "
                                             ":TITEL, 'T', 'F', 'F', 'F')"))};
            druckInsert_ = v.query.get();
            OnDruckFelderAnlegen(*this, id);
        }
        punkt.Freigeben();
    }
    transaktion_.Commit();
    DesignsLaden(id);
    if (Knopf(QStringLiteral("BearbeitenBildschirm")))
        BearbeitenBildschirmClick();
    else
        BearbeitenDruckClick();
}

void TframeInternListeWahl::BearbeitenBildschirmClick()
{
    if (OnVorAusgabe)
        OnVorAusgabe(*this);
    InternListeWahl::ListenDesignBildschirmStarten(window(), FokusID(), DatenSQL);
}

void TframeInternListeWahl::BearbeitenDruckClick()
{
    if (OnVorAusgabe)
        OnVorAusgabe(*this);
    InternListeWahl::ListenDesignDruckStarten(window(), FokusID(), Daten);
}

void TframeInternListeWahl::DesignOeffnen(int id)
{
    if (listenEdit_.Active()) {
        listenEdit_.Cancel();
        listenEdit_.Close();
    }
    Starten();
    listenEdit_.Param(QStringLiteral("ID")).SetInteger(id);
    listenEdit_.Open();
}

void TframeInternListeWahl::UmbenennenClick()
{
    const int id = FokusID();
    if (id == 0)
        return;
    DesignOeffnen(id);
    if (listenEdit_.IsEmpty())
        return;
    QStringList werte{listenEdit_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString(),
                      listenEdit_.FieldByName(QStringLiteral("TITEL")).AsString()};
    if (!GetNeueWerte({QStringLiteral("Bezeichnung"), QStringLiteral("Titel")}, werte,
                      QStringLiteral("Umbenennen"), QString()))
        return;
    listenEdit_.Edit();
    listenEdit_.FieldByName(QStringLiteral("BEZEICHNUNG")).SetString(werte[0]);
    listenEdit_.FieldByName(QStringLiteral("TITEL")).SetString(werte[1]);
    listenEdit_.Post();
    transaktion_.Commit();
    DesignsLaden(id);
}

void TframeInternListeWahl::LoeschenClick()
{
    const int id = FokusID();
    if (id == 0)
        return;
    DesignOeffnen(id);
    // The design's rows go with it in the same step, whatever the schema cascades.
    std::unique_ptr<Sicherungspunkt> punkt;
    listenEdit_.BeforeDelete = [&](db::DataSet&) {
        punkt = std::make_unique<Sicherungspunkt>(transaktion_, "DESIGN_LOESCHEN");
        InternListeWahl::KindzeilenLoeschen(transaktion_, id);
    };
    struct Zuruecksetzen {
        db::DataSet& ds;
        ~Zuruecksetzen() { ds.BeforeDelete = nullptr; }
    } zuruecksetzen{listenEdit_};
    const bool geloescht = DBTools::LoeschenMitFrage(
        listenEdit_, QStringLiteral("Wollen Sie das Design wirklich löschen?"));
    if (punkt)
        punkt->Freigeben();
    if (geloescht)
        DesignsLaden(0);
}

void TframeInternListeWahl::LadenClick()
{
    QFileDialog dialog(window(), QStringLiteral("Liste aus Datei laden"), QString(), DateiFilter);
    dialog.setObjectName(QStringLiteral("ListeLaden"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString datei = dialog.selectedFiles().constFirst();
    const int id = InternListeWahl::ListeAusDateiLaden(datei, ListenTyp);
    if (transaktion_.Active())
        transaktion_.Commit();
    DesignsLaden(id);
    Tools::MeldungInfo(
        QStringLiteral("Die Liste \"%1\" wurde aus der Datei\r\"%2\"\reingelesen.")
            .arg(listen_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString(), datei));
}

void TframeInternListeWahl::SpeichernClick()
{
    const int id = FokusID();
    if (id == 0)
        return;
    const QString bezeichnung = listen_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString();
    QFileDialog dialog(window(), QStringLiteral("Liste in Datei speichern"), QString(),
                       DateiFilter);
    dialog.setObjectName(QStringLiteral("ListeSpeichern"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    dialog.selectFile(bezeichnung);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString datei = dialog.selectedFiles().constFirst();
    InternListeWahl::ListeInDateiSpeichern(id, datei);
    Tools::MeldungInfo(QStringLiteral("Die Liste \"%1\" wurde in die Datei\r\"%2\"\rgespeichert.")
                           .arg(bezeichnung, datei));
}

void TframeInternListeWahl::StandardClick()
{
    QList<int> ids;
    std::vector<bool> haken;
    const int idSpalte = listen_.FieldByName(QStringLiteral("ID")).Index();
    for (int r = 0; r < listen_.RecordCount(); ++r) {
        ids << listen_.ValueAt(r, idSpalte).AsInteger();
        haken.push_back(view_->DataController()->Values(r, auswahl_).toBool());
    }
    StandardDesigns = InternListeWahl::StandardText(ids, haken);
}

void TframeInternListeWahl::Schliessen()
{
    listen_.Close();
    if (listenEdit_.Active()) {
        listenEdit_.Cancel();
        listenEdit_.Close();
    }
    if (transaktion_.Active())
        transaktion_.Commit();
}
