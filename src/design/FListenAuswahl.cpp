#include "FListenAuswahl.h"

#include "FListenReihung.h"
#include "ListenAustausch.h"
#include "ListenAuswahl.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <FListeNormal.h>
#include <Grundeinstellungen.h>
#include <InternListeWahl.h>
#include <ListenDruck.h>
#include <Shell.h>

#include <DataSetModel.h>
#include <Database.h>
#include <Meldung.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>
#include <ZRcxGridDataController.h>

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

const QString DateiFilter = QStringLiteral("Listen Austauschformat (*.xml)");
constexpr int SchmaleSpalte = 28;

db::Database& ProgrammDatenbank()
{
    if (!DM() || !DM()->Verbunden())
        throw std::runtime_error("Die Listen sind ohne Datenbankverbindung nicht verfügbar.");
    return DM()->Datenbank;
}

TEinstellungen& ProgrammEinstellungen()
{
    if (!Einstellungen())
        throw std::runtime_error("Die Einstellungen des Programms fehlen.");
    return *Einstellungen();
}

// A list name as a file name: without the characters that separate folders.
QString Dateiname(const QString& bezeichnung)
{
    QString name = bezeichnung;
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            c = QLatin1Char('_');
    return name;
}

template <class Hook, class... Args>
auto Aufrufen(const Hook& hook, Args&&... args)
{
    if (!hook)
        throw std::runtime_error(TShell::NichtVerfuegbar.toStdString());
    return hook(std::forward<Args>(args)...);
}

}  // namespace

TfrmListenAuswahl::TfrmListenAuswahl(QWidget* owner)
    : TfrmListenAuswahl(ProgrammDatenbank(), ProgrammEinstellungen(), owner)
{
}

TfrmListenAuswahl::TfrmListenAuswahl(db::Database& datenbank, TEinstellungen& einstellungen,
                                     QWidget* owner)
    : TZRDialog(owner),
      datenbank_(datenbank),
      einstellungen_(einstellungen),
      transaktion_(datenbank, QStringLiteral("TAListen")),
      listen_(transaktion_)
{
    setObjectName(QStringLiteral("frmListenAuswahl"));
    listen_.SetSelectSQL(
        QStringLiteral("select BEZEICHNUNG, ID from T_LISTEN where ID > 0 order by Bezeichnung"));

    QAction* anzeigen =
        NeueAktion("actAnzeigen", QStringLiteral("Anzeigen"), &TfrmListenAuswahl::Anzeigen);
    QAction* vorschau =
        NeueAktion("actVorschau", QStringLiteral("Vorschau"), &TfrmListenAuswahl::Vorschau);
    QAction* drucken =
        NeueAktion("actDrucken", QStringLiteral("Drucken"), &TfrmListenAuswahl::Drucken);
    QAction* standard =
        NeueAktion("actStandard", QStringLiteral("Als Standard"), &TfrmListenAuswahl::Standard);
    QAction* neu = NeueAktion("actNeu", QStringLiteral("Neu"), &TfrmListenAuswahl::Neu);
    QAction* bearbeiten = NeueAktion("actBearbeiten", QStringLiteral("Bearbeiten"), nullptr);
    connect(bearbeiten, &QAction::triggered, this, [this] { SeiteSetzen(1); });
    QAction* loeschen =
        NeueAktion("actLoeschen", QStringLiteral("Löschen"), &TfrmListenAuswahl::Loeschen);
    QAction* zurueck = NeueAktion("actZurueck", QStringLiteral("Zurück"), nullptr);
    connect(zurueck, &QAction::triggered, this, [this] { SeiteSetzen(0); });
    QAction* grundstruktur = NeueAktion("actGrundstruktur", QStringLiteral("Grundstruktur"),
                                        &TfrmListenAuswahl::Grundstruktur);
    QAction* bildschirm = NeueAktion("actBildschirmAusgabe", QStringLiteral("Bildschirm-Ausgabe"),
                                     &TfrmListenAuswahl::BildschirmAusgabe);
    QAction* druck = NeueAktion("actDruckAusgabe", QStringLiteral("Druck-Ausgabe"),
                                &TfrmListenAuswahl::DruckAusgabe);
    QAction* sortMenue =
        NeueAktion("actSortMenue", QStringLiteral("Menü-Einträge"), &TfrmListenAuswahl::SortMenue);
    QAction* sortSymbol = NeueAktion("actSortSymbol", QStringLiteral("Symbol-Leiste"),
                                     &TfrmListenAuswahl::SortSymbol);
    QAction* speichern = NeueAktion("actDateiSpeichern", QStringLiteral("in Datei speichern"),
                                    &TfrmListenAuswahl::DateiSpeichern);
    QAction* laden = NeueAktion("actDateiLaden", QStringLiteral("aus Datei laden"),
                                &TfrmListenAuswahl::DateiLaden);
    QAction* hilfe = NeueAktion("actHilfe", QStringLiteral("Hilfe"), nullptr);
    connect(hilfe, &QAction::triggered, this, [this] { HilfeAnzeigen(); });
    QAction* schliessen = NeueAktion("actSchliessen", QStringLiteral("Schließen"), nullptr);
    connect(schliessen, &QAction::triggered, this, &TfrmListenAuswahl::accept);

    // Page 0: the lists with their check marks.
    seiten_ = new QStackedWidget(this);
    seiten_->setObjectName(QStringLiteral("Seiten"));
    auto* listenSeite = new QWidget(seiten_);
    listenSeite->setObjectName(QStringLiteral("SeiteListen"));
    mehrere_ = new QCheckBox(QStringLiteral("Mehrere Listen"), listenSeite);
    mehrere_->setObjectName(QStringLiteral("MehrereListen"));
    auto* grid = new TZRDBcxGrid(listenSeite);
    grid->setObjectName(QStringLiteral("ListenGrid"));
    view_ = grid->CreateView<TZRcxGridDBTableView>(QStringLiteral("ListenView"));
    view_->SetEmptyText(QStringLiteral("< Keine Listen vorhanden >"));
    TZRcxGridTableOptionsView optionen = view_->OptionsView();
    optionen.ColumnAutoWidth = false;
    view_->SetOptionsView(optionen);
    view_->horizontalHeader()->setStretchLastSection(true);
    auto* listenLayout = new QVBoxLayout(listenSeite);
    listenLayout->setContentsMargins(0, 0, 0, 0);
    listenLayout->addWidget(mehrere_);
    listenLayout->addWidget(grid, 1);
    seiten_->addWidget(listenSeite);

    // Page 1: what can be done with the current list.
    auto* bearbeitenSeite = new QWidget(seiten_);
    bearbeitenSeite->setObjectName(QStringLiteral("SeiteBearbeiten"));
    auto* listeText = new QLabel(QStringLiteral("Liste:"), bearbeitenSeite);
    listeName_ = new QLabel(bearbeitenSeite);
    listeName_->setObjectName(QStringLiteral("lbListe"));
    QFont fett = listeName_->font();
    fett.setBold(true);
    listeName_->setFont(fett);
    auto* kopf = new QHBoxLayout;
    kopf->addWidget(listeText);
    kopf->addWidget(listeName_, 1);
    auto* schritte = new QGridLayout;
    int zeile = 0;
    for (QAction* a : {grundstruktur, bildschirm, druck}) {
        schritte->addWidget(new QLabel(QStringLiteral("%1.").arg(zeile + 1), bearbeitenSeite),
                            zeile, 0);
        QPushButton* k = NeuerKnopf(a, bearbeitenSeite);
        k->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        schritte->addWidget(k, zeile, 1);
        ++zeile;
    }
    schritte->setColumnStretch(2, 1);
    schritte->setColumnMinimumWidth(1, 160);
    auto* allgemein = new QGroupBox(QStringLiteral("Allgemein:"), bearbeitenSeite);
    allgemein->setObjectName(QStringLiteral("Allgemein"));
    auto* allgemeinLayout = new QGridLayout(allgemein);
    allgemeinLayout->addWidget(new QLabel(QStringLiteral("Sortierung:"), allgemein), 0, 0);
    allgemeinLayout->addWidget(NeuerKnopf(sortMenue, allgemein), 0, 1);
    allgemeinLayout->addWidget(NeuerKnopf(sortSymbol, allgemein), 0, 2);
    allgemeinLayout->addWidget(new QLabel(QStringLiteral("Speicherung:"), allgemein), 1, 0);
    allgemeinLayout->addWidget(NeuerKnopf(speichern, allgemein), 1, 1);
    allgemeinLayout->addWidget(NeuerKnopf(laden, allgemein), 1, 2);
    auto* bearbeitenLayout = new QVBoxLayout(bearbeitenSeite);
    bearbeitenLayout->setContentsMargins(0, 0, 0, 0);
    bearbeitenLayout->addLayout(kopf);
    bearbeitenLayout->addSpacing(8);
    bearbeitenLayout->addLayout(schritte);
    bearbeitenLayout->addSpacing(8);
    bearbeitenLayout->addWidget(allgemein);
    bearbeitenLayout->addStretch(1);
    seiten_->addWidget(bearbeitenSeite);

    // The buttons beside the pages; those of page 0 leave with it.
    auto* rechts = new QVBoxLayout;
    for (QAction* a : {anzeigen, vorschau, drucken, standard})
        rechts->addWidget(NeuerKnopf(a, this));
    bevel_ = new QFrame(this);
    bevel_->setObjectName(QStringLiteral("Bevel1"));
    bevel_->setFrameShape(QFrame::HLine);
    bevel_->setFrameShadow(QFrame::Sunken);
    rechts->addWidget(bevel_);
    for (QAction* a : {neu, bearbeiten, loeschen, zurueck})
        rechts->addWidget(NeuerKnopf(a, this));
    rechts->addStretch(1);
    rechts->addWidget(NeuerKnopf(hilfe, this));
    rechts->addWidget(NeuerKnopf(schliessen, this));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(seiten_, 1);
    layout->addLayout(rechts);
    resize(sizeHint().expandedTo(QSize(520, 400)));

    connect(mehrere_, &QCheckBox::clicked, this, &TfrmListenAuswahl::MehrereListenClick);

    view_->SetDataSet(&listen_);
    ListenLaden(0);
    SeiteSetzen(0);
    mehrere_->setChecked(einstellungen_.GetLetzteMehrereListen());
    MehrereListenClick();
    HakenSetzen(InternListeWahl::StandardIDs(einstellungen_.GetStandardListen()));
}

TfrmListenAuswahl::~TfrmListenAuswahl()
{
    view_->SetDataSet(nullptr);
    listen_.Close();
}

QAction* TfrmListenAuswahl::NeueAktion(const char* name, const QString& text,
                                       void (TfrmListenAuswahl::*wirkung)())
{
    auto* a = new QAction(text, this);
    a->setObjectName(QLatin1String(name));
    if (wirkung)
        connect(a, &QAction::triggered, this, [this, wirkung] {
            DBTools::Sicher([this, wirkung] { (this->*wirkung)(); });
            AktionenAktualisieren();
        });
    return a;
}

QPushButton* TfrmListenAuswahl::NeuerKnopf(QAction* aktion, QWidget* eltern)
{
    auto* k = new QPushButton(aktion->text(), eltern);
    k->setObjectName(aktion->objectName().mid(3));
    connect(k, &QPushButton::clicked, aktion, &QAction::trigger);
    const auto folgen = [k, aktion] {
        k->setEnabled(aktion->isEnabled());
        k->setVisible(aktion->isVisible());
    };
    connect(aktion, &QAction::changed, k, folgen);
    folgen();
    return k;
}

QAction* TfrmListenAuswahl::Aktion(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

QPushButton* TfrmListenAuswahl::Knopf(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

int TfrmListenAuswahl::AktuelleID()
{
    if (!listen_.Active() || listen_.IsEmpty())
        return 0;
    return listen_.FieldByName(QStringLiteral("ID")).AsInteger();
}

QList<int> TfrmListenAuswahl::IDs()
{
    QList<int> ids;
    if (!listen_.Active())
        return ids;
    const int spalte = listen_.FieldByName(QStringLiteral("ID")).Index();
    for (int r = 0; r < listen_.RecordCount(); ++r)
        ids << listen_.ValueAt(r, spalte).AsInteger();
    return ids;
}

std::vector<bool> TfrmListenAuswahl::Haken()
{
    std::vector<bool> haken;
    const int n = listen_.Active() ? listen_.RecordCount() : 0;
    for (int r = 0; r < n; ++r)
        haken.push_back(view_->DataController()->Values(r, auswahl_).toBool());
    return haken;
}

void TfrmListenAuswahl::HakenSetzen(const QList<int>& angekreuzt)
{
    const std::vector<bool> haken = ListenAuswahl::Haken(IDs(), angekreuzt);
    for (int r = 0; r < int(haken.size()); ++r)
        view_->DataController()->SetValues(r, auswahl_, bool(haken[std::size_t(r)]));
    AktionenAktualisieren();
}

void TfrmListenAuswahl::ListenLaden(int id)
{
    const QList<int> gemerkt = ListenAuswahl::Angekreuzt(IDs(), Haken());
    if (transaktion_.Active())
        transaktion_.Commit();
    transaktion_.Start();
    listen_.Close();
    listen_.Open();
    listen_.RecordCount();
    db::Field& bezeichnung = listen_.FieldByName(QStringLiteral("BEZEICHNUNG"));
    bezeichnung.DisplayLabel = QStringLiteral("Bezeichnung");
    bezeichnung.ReadOnly = true;
    listen_.FieldByName(QStringLiteral("ID")).Visible = false;
    view_->DataModel()->Reset();
    if (auswahl_ < 0) {
        auswahl_ = view_->CreateCheckColumn(QStringLiteral("ListenViewAuswahl"), QString(), 0);
        view_->setColumnHidden(auswahl_, !mehrere_->isChecked());
    }
    if (id <= 0 || !DBTools::LocateInteger(listen_, QStringLiteral("ID"), id, false))
        listen_.First();
    HakenSetzen(gemerkt);
    // The tick column as narrow as its box, the names with the rest.
    view_->setColumnWidth(auswahl_, SchmaleSpalte);
    emit ListenGeaendert();
}

void TfrmListenAuswahl::SeiteSetzen(int seite)
{
    seiten_->setCurrentIndex(seite);
    const bool listen = seite == 0;
    setWindowTitle(listen ? QStringLiteral("Listen-Auswahl") : QStringLiteral("Liste-Bearbeiten"));
    setHelpContext(listen ? HilfeKontextListen : HilfeKontextBearbeiten);
    for (const char* name : {"actAnzeigen", "actVorschau", "actDrucken", "actStandard", "actNeu",
                             "actBearbeiten", "actLoeschen"})
        Aktion(QLatin1String(name))->setVisible(listen);
    Aktion(QStringLiteral("actZurueck"))->setVisible(!listen);
    bevel_->setVisible(listen);
    bevel_->setEnabled(listen);
    AktionenAktualisieren();
}

int TfrmListenAuswahl::Seite() const
{
    return seiten_->currentIndex();
}

void TfrmListenAuswahl::AktionenAktualisieren()
{
    const bool listen = listen_.Active() && !listen_.IsEmpty();
    for (const char* name : {"actAnzeigen", "actVorschau", "actDrucken", "actLoeschen",
                             "actGrundstruktur", "actBildschirmAusgabe", "actDruckAusgabe",
                             "actSortMenue", "actSortSymbol", "actDateiSpeichern"})
        Aktion(QLatin1String(name))->setEnabled(listen);
    Aktion(QStringLiteral("actStandard"))->setEnabled(listen && mehrere_->isChecked());
    listeName_->setText(listen ? listen_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString()
                               : QString());
}

void TfrmListenAuswahl::MehrereListenClick()
{
    view_->setColumnHidden(auswahl_, !mehrere_->isChecked());
    AktionenAktualisieren();
}

void TfrmListenAuswahl::ListenAusgeben(int art)
{
    const QList<int> ids =
        ListenAuswahl::Ausgabe(mehrere_->isChecked(), IDs(), Haken(), AktuelleID());
    if (ids.isEmpty()) {
        Tools::MeldungInfo(QStringLiteral("Wählen Sie eine Liste aus"));
        return;
    }
    const int betrieb = einstellungen_.GetAktBetriebListen();
    for (int id : ids) {
        if (art == 0) {
            TShell* shell = TShell::Aktuell();
            std::function<void(TfrmListe*)> status;
            if (shell)
                status = [shell](TfrmListe*) { shell->ZeigeHinweis(); };
            FListeNormal::ListeAnzeigen(shell ? shell->Fenster() : parentWidget(), id, betrieb, {},
                                        false, std::move(status));
        } else {
            ListenDruck::ListeDrucken(id, betrieb, {}, art == 1);
        }
    }
    if (art != 1)
        accept();
}

void TfrmListenAuswahl::Standard()
{
    const QString text = InternListeWahl::StandardText(IDs(), Haken());
    einstellungen_.Bearbeiten();
    try {
        einstellungen_.SetStandardListen(text);
        einstellungen_.Speichern();
    } catch (...) {
        einstellungen_.Verwerfen();
        throw;
    }
}

void TfrmListenAuswahl::Neu()
{
    const int id = Aufrufen(ListenDesignStarten, this, 0);
    if (id > 0) {
        SeiteSetzen(1);
        ListenLaden(id);
    }
}

void TfrmListenAuswahl::Loeschen()
{
    const int id = AktuelleID();
    if (id == 0)
        return;
    if (DBTools::SQLAusfuehrenMitFrage(listen_,
                                       QStringLiteral("DELETE FROM T_LISTEN WHERE ID = %1").arg(id),
                                       QStringLiteral("Wollen Sie die Liste wirklich löschen?")))
        ListenLaden(0);
}

void TfrmListenAuswahl::Grundstruktur()
{
    const int id = AktuelleID();
    Aufrufen(ListenDesignStarten, this, id);
    ListenLaden(id);
}

void TfrmListenAuswahl::BildschirmAusgabe()
{
    const int id = AktuelleID();
    Aufrufen(ListenDesignBildschirmStarten, this, id);
    ListenLaden(id);
}

void TfrmListenAuswahl::DruckAusgabe()
{
    const int id = AktuelleID();
    Aufrufen(ListenDesignDruckStarten, this, id);
    ListenLaden(id);
}

void TfrmListenAuswahl::SortMenue()
{
    TfrmSortierung dialog(datenbank_, ListenReihung::Art::Menue, this);
    if (dialog.exec() == QDialog::Accepted)
        emit ListenGeaendert();
}

void TfrmListenAuswahl::SortSymbol()
{
    TfrmSortierung dialog(datenbank_, ListenReihung::Art::Symbol, this);
    if (dialog.exec() == QDialog::Accepted)
        emit ListenGeaendert();
}

void TfrmListenAuswahl::DateiSpeichern()
{
    const int id = AktuelleID();
    if (id == 0)
        return;
    const QString bezeichnung = listen_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString();
    QFileDialog dialog(this, QStringLiteral("Liste in Datei speichern"), QString(), DateiFilter);
    dialog.setObjectName(QStringLiteral("ListeSpeichern"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    dialog.selectFile(Dateiname(bezeichnung));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString datei = dialog.selectedFiles().constFirst();
    TListenDesignImExport(datenbank_).ListeExportieren(id, datei);
    Tools::MeldungInfo(QStringLiteral("Die Liste \"%1\" wurde in die Datei\r\"%2\"\rgespeichert.")
                           .arg(bezeichnung, datei));
}

void TfrmListenAuswahl::DateiLaden()
{
    QFileDialog dialog(this, QStringLiteral("Liste aus Datei laden"), QString(), DateiFilter);
    dialog.setObjectName(QStringLiteral("ListeLaden"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString datei = dialog.selectedFiles().constFirst();
    const int id = TListenDesignImExport(datenbank_).ListeImportieren(datei, QString());
    ListenLaden(id);
    Tools::MeldungInfo(
        QStringLiteral("Die Liste \"%1\" wurde aus der Datei\r\"%2\"\reingelesen.")
            .arg(listen_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString(), datei));
}

void TfrmListenAuswahl::done(int r)
{
    if (!geschlossen_) {
        geschlossen_ = true;
        DBTools::Sicher([this] {
            einstellungen_.SetLetzteMehrereListen(mehrere_->isChecked());
            listen_.Close();
            if (transaktion_.Active())
                transaktion_.Commit();
        });
        emit ListenGeaendert();
    }
    TZRDialog::done(r);
}
