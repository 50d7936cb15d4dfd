#include "FEinrichtung.h"

#include "FDBTests.h"
#include "Pruefungen.h"
#include "WizardData.h"

#include <Betriebsgruppe.h>
#include <Betriebsstaette.h>
#include <DBTools.h>
#include <DatenbankAnlegen.h>
#include <Rasse.h>

#include <DataSetModel.h>
#include <Field.h>
#include <Icmp.h>
#include <Meldung.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace Einrichtung {

namespace {

// A page whose handlers the window sets: entering it forward, Next (may keep the page), and
// leaving it backwards.
class TSeite : public QWizardPage {
public:
    TSeite(const QString& name, const QString& titel, const QString& untertitel)
    {
        setObjectName(name);
        setTitle(titel);
        setSubTitle(untertitel);
    }

    std::function<void()> betreten;
    std::function<bool()> weiter;
    std::function<void()> zurueck;

    void initializePage() override
    {
        if (betreten)
            betreten();
    }
    bool validatePage() override { return !weiter || weiter(); }
    void cleanupPage() override
    {
        if (zurueck)
            zurueck();
    }
};

QLabel* Text(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QPushButton* Knopf(const QString& text, const QString& name, const QString& hinweis,
                   QWidget* parent)
{
    auto* knopf = new QPushButton(text, parent);
    knopf->setObjectName(name);
    if (!hinweis.isEmpty())
        knopf->setToolTip(hinweis);
    return knopf;
}

QToolButton* Durchsuchen(const QString& name, const QString& hinweis, QWidget* parent)
{
    auto* knopf = new QToolButton(parent);
    knopf->setObjectName(name);
    knopf->setText(QStringLiteral("..."));
    knopf->setToolTip(hinweis);
    return knopf;
}

TZRcxGridDBTableView* Gitter(const QString& name, const QString& leer, QWidget* parent)
{
    auto* grid = new TZRDBcxGrid(parent);
    grid->setObjectName(name + QStringLiteral("Grid"));
    auto* view = grid->CreateView<TZRcxGridDBTableView>(name);
    view->SetEmptyText(leer);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    return view;
}

// A "T"/"F" column shown as a check box that is ticked for "T".
void HakenZeichnen(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                   bool& fertig)
{
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    QStyleOptionViewItem zelle = option;
    zelle.text.clear();
    zelle.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    style->drawControl(QStyle::CE_ItemViewItem, &zelle, painter, widget);
    QStyleOptionViewItem kasten = option;
    kasten.rect = TZRcxGridCellDelegate::CheckRect(option);
    kasten.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_HasFocus);
    kasten.state |= index.data(Qt::DisplayRole).toString() == QLatin1String("T")
                        ? QStyle::State_On
                        : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &kasten, painter, widget);
    fertig = true;
}

// Binds the view to the dataset and shows the fields in this order with these titles.
void Spalten(TZRcxGridDBTableView* view, db::DataSet& daten,
             const QList<std::pair<QString, QString>>& felder, const QStringList& haken = {})
{
    if (view->DataSet() != &daten)
        view->SetDataSet(&daten);
    if (!daten.Active())
        return;
    for (int i = 0; i < daten.FieldCount(); ++i)
        daten.Fields(i).Visible = false;
    for (const auto& [feld, titel] : felder) {
        daten.FieldByName(feld).Visible = true;
        daten.FieldByName(feld).DisplayLabel = titel;
    }
    db::DataSetModel* modell = view->DataModel();
    modell->Reset();
    QHeaderView* kopf = view->horizontalHeader();
    for (int ziel = 0; ziel < felder.size(); ++ziel)
        kopf->moveSection(kopf->visualIndex(modell->ColumnOfField(felder[ziel].first)), ziel);
    for (int spalte = 0; spalte < modell->columnCount(); ++spalte)
        view->CellDelegate()->SetOnCustomDrawCell(spalte, {});
    for (const QString& feld : haken)
        view->CellDelegate()->SetOnCustomDrawCell(modell->ColumnOfField(feld), HakenZeichnen);
    view->SpaltenNachInhalt();
    if (daten.RecNo() >= 0)
        view->setCurrentIndex(view->model()->index(daten.RecNo(), 0));
}

int AktuelleID(db::DataSet& daten)
{
    return daten.FieldByName(QStringLiteral("ID")).AsInteger();
}

}  // namespace

TfrmHaupt::TfrmHaupt(const QString& programmverzeichnis, QWidget* parent)
    : QWizard(parent), daten_(std::make_unique<TWizardData>(programmverzeichnis))
{
    setObjectName(QStringLiteral("frmHaupt"));
    setWindowTitle(QStringLiteral("Einrichtungs-Assistent für ZR Bovantis"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWizardStyle(QWizard::ModernStyle);
    setOption(QWizard::NoCancelButtonOnLastPage, true);
    setOption(QWizard::NoBackButtonOnStartPage, false);
    setButtonText(QWizard::BackButton, QStringLiteral("&Zurück"));
    setButtonText(QWizard::NextButton, QStringLiteral("&Weiter"));
    setButtonText(QWizard::FinishButton, QStringLiteral("&Fertigstellen"));
    setButtonText(QWizard::CancelButton, QStringLiteral("Abbrechen"));

    setPage(Willkommen, SeiteWillkommen());
    setPage(Allgemein, SeiteAllgemein());
    setPage(Datenbankverbindung, SeiteDatenbankverbindung());
    setPage(Rassen, SeiteRassen());
    setPage(Betriebsgruppen, SeiteBetriebsgruppen());
    setPage(Betriebsstaetten, SeiteBetriebsstaetten());
    setPage(Fertig, SeiteFertig());

    // The route map: where the user is; its entries cannot be clicked.
    wegweiser_ = new QListWidget;
    wegweiser_->setObjectName(QStringLiteral("Wegweiser"));
    wegweiser_->setFocusPolicy(Qt::NoFocus);
    wegweiser_->setSelectionMode(QAbstractItemView::NoSelection);
    wegweiser_->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (int id : pageIds()) {
        auto* eintrag = new QListWidgetItem(page(id)->title(), wegweiser_);
        eintrag->setFlags(Qt::ItemIsEnabled);
    }
    wegweiser_->setFixedWidth(wegweiser_->sizeHintForColumn(0) + 24);
    setSideWidget(wegweiser_);
    connect(this, &QWizard::currentIdChanged, this, &TfrmHaupt::WegweiserZeigen);
    WegweiserZeigen(Willkommen);
    setMinimumSize(760, 520);
}

TfrmHaupt::~TfrmHaupt()
{
    // The views let go of the datasets before the data module frees them.
    for (TZRcxGridDBTableView* view : {rassen_, gruppen_, staetten_})
        view->SetDataSet(nullptr);
}

void TfrmHaupt::WegweiserZeigen(int seite)
{
    const QList<int> ids = pageIds();
    for (int i = 0; i < wegweiser_->count(); ++i) {
        QFont schrift = wegweiser_->font();
        schrift.setBold(ids.value(i) == seite);
        wegweiser_->item(i)->setFont(schrift);
    }
}

// ---- pages ----

QWizardPage* TfrmHaupt::SeiteWillkommen()
{
    auto* seite = new TSeite(QStringLiteral("Willkommen"), QStringLiteral("Willkommen"),
                             QStringLiteral("Die wichtigsten Einstellungen von ZR Bovantis"));
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(Text(QStringLiteral("Stellen Sie auf den folgenden Seiten die wichtigsten "
                                          "Einstellungen von ZR Bovantis ein."),
                           seite));
    layout->addStretch();
    return seite;
}

QWizardPage* TfrmHaupt::SeiteAllgemein()
{
    auto* seite =
        new TSeite(QStringLiteral("Allgemein"), QStringLiteral("Allgemeines"),
                   QStringLiteral("Allgemeine Angaben über die Installation von ZR Bovantis"));
    programmverzeichnis_ = new QLineEdit(seite);
    programmverzeichnis_->setObjectName(QStringLiteral("Programmverzeichnis"));
    auto* waehlen = Durchsuchen(QStringLiteral("ProgrammverzeichnisWaehlen"),
                                QStringLiteral("Wählen Sie das Programmverzeichnis von ZR "
                                               "Bovantis aus"),
                                seite);
    connect(waehlen, &QToolButton::clicked, this, [this] {
        const QString ordner = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Programmverzeichnis auswählen"), programmverzeichnis_->text());
        if (!ordner.isEmpty())
            programmverzeichnis_->setText(ordner);
    });
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(programmverzeichnis_, 1);
    zeile->addWidget(waehlen);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(
        Text(QStringLiteral("Verzeichnis, in dem ZR Bovantis installiert ist:"), seite));
    layout->addLayout(zeile);
    layout->addStretch();
    seite->betreten = [this] { programmverzeichnis_->setText(daten_->Programmverzeichnis()); };
    seite->weiter = [this] { return AllgemeinNextButtonClick(); };
    seite->zurueck = [this] { AllgemeinExitPage(); };
    return seite;
}

QWizardPage* TfrmHaupt::SeiteDatenbankverbindung()
{
    auto* seite = new TSeite(QStringLiteral("Datenbankverbindung"), QStringLiteral("Datenbank"),
                             QStringLiteral("Verbindung zur Datenbank"));
    dbRechner_ = new QLineEdit(seite);
    dbRechner_->setObjectName(QStringLiteral("DBRechner"));
    auto* erreichbar = Knopf(QStringLiteral("Erreichbarkeit testen"),
                             QStringLiteral("TestErreichbar"), QString(), seite);
    connect(erreichbar, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { ErreichbarkeitTesten(); }); });
    dbDatei_ = new QLineEdit(seite);
    dbDatei_->setObjectName(QStringLiteral("DBDatei"));
    auto* waehlen = Durchsuchen(QStringLiteral("DBDateiWaehlen"),
                                QStringLiteral("Wählen Sie die Datenbankdatei aus"), seite);
    connect(waehlen, &QToolButton::clicked, this, [this] {
        const QString datei = QFileDialog::getOpenFileName(
            this, QStringLiteral("Datenbankdatei auswählen"), dbDatei_->text(),
            QStringLiteral("Datenbankdateien (*.fdb);;Alle Dateien (*)"));
        if (!datei.isEmpty())
            dbDatei_->setText(datei);
    });
    auto* testDB =
        Knopf(QStringLiteral("Verbindung testen"), QStringLiteral("TestDB"), QString(), seite);
    connect(testDB, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { DatenbankTesten(true); }); });
    fortschritt_ = new QProgressBar(seite);
    fortschritt_->setObjectName(QStringLiteral("Fortschritt"));
    fortschritt_->setFormat(QStringLiteral("Datenbank wird angelegt: %p %"));
    fortschritt_->hide();

    auto* layout = new QGridLayout(seite);
    layout->addWidget(
        Text(QStringLiteral("Name oder IP-Adresse des Rechners mit der Datenbank:"), seite), 0, 0,
        1, 3);
    layout->addWidget(dbRechner_, 1, 0, 1, 2);
    layout->addWidget(erreichbar, 1, 2);
    layout->addWidget(Text(QStringLiteral("(leer für die Datenbank-Datei auf diesem Rechner, "
                                          "Localhost oder 127.0.0.1 für den Datenbank-Server "
                                          "dieses Rechners)"),
                           seite),
                      2, 0, 1, 3);
    layout->addItem(new QSpacerItem(0, 12), 3, 0);
    layout->addWidget(Text(QStringLiteral("Datenbank-Datei auf dem Rechner"), seite), 4, 0, 1, 3);
    layout->addWidget(dbDatei_, 5, 0);
    layout->addWidget(waehlen, 5, 1);
    layout->addWidget(testDB, 5, 2);
    layout->addWidget(fortschritt_, 6, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(7, 1);
    seite->betreten = [this] { DatenbankverbindungEnterPage(); };
    seite->weiter = [this] { return DatenbankverbindungNextButtonClick(); };
    seite->zurueck = [this] { DatenbankverbindungExitPage(); };
    return seite;
}

QWizardPage* TfrmHaupt::SeiteRassen()
{
    auto* seite = new TSeite(QStringLiteral("Rassen"), QStringLiteral("Rassen"),
                             QStringLiteral("Im Betrieb verwendete Rassen"));
    rassen_ =
        Gitter(QStringLiteral("RassenView"), QStringLiteral("< Keine Rassen vorhanden >"), seite);
    auto* hinzu =
        Knopf(QStringLiteral("Hinzufügen"), QStringLiteral("RasseHinzu"), QString(), seite);
    auto* entf = Knopf(QStringLiteral("Entfernen"), QStringLiteral("RasseEntf"), QString(), seite);
    connect(hinzu, &QPushButton::clicked, this, [this] { RasseHinzuClick(); });
    connect(entf, &QPushButton::clicked, this, [this] { RasseEntfClick(); });
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(hinzu);
    knoepfe->addWidget(entf);
    knoepfe->addStretch();
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(rassen_->parentWidget(), 1);
    zeile->addLayout(knoepfe);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(Text(QStringLiteral("Im Programm verwendbare Rassen"), seite));
    layout->addLayout(zeile, 1);
    seite->betreten = [this] { RassenEnterPage(); };
    seite->weiter = [this] {
        if (daten_->HatRassen())
            return true;
        Tools::MeldungError(QStringLiteral("Es muß mindestens eine Rasse aktiviert sein."));
        return false;
    };
    return seite;
}

QWizardPage* TfrmHaupt::SeiteBetriebsgruppen()
{
    auto* seite = new TSeite(QStringLiteral("Betriebsgruppen"), QStringLiteral("Betriebsgruppen"),
                             QStringLiteral("Ihre Betriebsnummern"));
    gruppen_ = Gitter(QStringLiteral("BetriebsgruppenView"),
                      QStringLiteral("< Keine Betriebsgruppe vorhanden >"), seite);
    auto* hinzu = Knopf(QStringLiteral("Hinzufügen"), QStringLiteral("GruppeHinzu"),
                        QStringLiteral("Betriebsgruppe hinzufügen"), seite);
    auto* bearbeiten = Knopf(QStringLiteral("Bearbeiten"), QStringLiteral("GruppeBearbeiten"),
                             QStringLiteral("Betriebsgruppe bearbeiten"), seite);
    auto* entf = Knopf(QStringLiteral("Entfernen"), QStringLiteral("GruppeEntf"),
                       QStringLiteral("Betriebsgruppe entfernen"), seite);
    connect(hinzu, &QPushButton::clicked, this, [this] { BetriebsgruppeBearbeiten(-1); });
    connect(bearbeiten, &QPushButton::clicked, this, [this] {
        BetriebsgruppeBearbeiten(
            daten_->HatBetriebsgruppen() ? AktuelleID(daten_->Betriebsgruppen()) : -1);
    });
    connect(entf, &QPushButton::clicked, this, [this] { GruppeEntfClick(); });
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(hinzu);
    knoepfe->addWidget(bearbeiten);
    knoepfe->addWidget(entf);
    knoepfe->addStretch();
    auto* layout = new QHBoxLayout(seite);
    layout->addWidget(gruppen_->parentWidget(), 1);
    layout->addLayout(knoepfe);
    seite->betreten = [this] { BetriebsgruppenEnterPage(); };
    seite->weiter = [this] {
        if (daten_->HatBetriebsgruppen())
            return true;
        Tools::MeldungError(
            QStringLiteral("Es muß mindestens eine Betriebsgruppe vorhanden sein."));
        return false;
    };
    return seite;
}

QWizardPage* TfrmHaupt::SeiteBetriebsstaetten()
{
    auto* seite = new TSeite(QStringLiteral("Betriebsstaetten"), QStringLiteral("Betriebsstätten"),
                             QStringLiteral("Ihre Ställe oder Weiden"));
    staetten_ = Gitter(QStringLiteral("BetriebsstaettenView"),
                       QStringLiteral("< Keine Betriebsstätte vorhanden >"), seite);
    auto* neu = Knopf(QStringLiteral("Hinzufügen"), QStringLiteral("BetriebNeu"),
                      QStringLiteral("Betriebsstätte hinzufügen"), seite);
    auto* bearbeiten = Knopf(QStringLiteral("Bearbeiten"), QStringLiteral("BetriebBearbeiten"),
                             QStringLiteral("Betriebsstätte bearbeiten"), seite);
    auto* entf = Knopf(QStringLiteral("Entfernen"), QStringLiteral("BetriebEntf"),
                       QStringLiteral("Betriebsstätte entfernen"), seite);
    connect(neu, &QPushButton::clicked, this, [this] { BetriebsstaetteBearbeiten(-1); });
    connect(bearbeiten, &QPushButton::clicked, this, [this] {
        BetriebsstaetteBearbeiten(
            daten_->HatBetriebsstaetten() ? AktuelleID(daten_->Betriebsstaetten()) : -1);
    });
    connect(entf, &QPushButton::clicked, this, [this] { BetriebEntfClick(); });
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(neu);
    knoepfe->addWidget(bearbeiten);
    knoepfe->addWidget(entf);
    knoepfe->addStretch();
    auto* layout = new QHBoxLayout(seite);
    layout->addWidget(staetten_->parentWidget(), 1);
    layout->addLayout(knoepfe);
    seite->betreten = [this] { BetriebsstaettenEnterPage(); };
    seite->weiter = [this] {
        if (daten_->HatBetriebsstaetten())
            return true;
        Tools::MeldungError(
            QStringLiteral("Es muß mindestens eine Betriebsstätte vorhanden sein."));
        return false;
    };
    return seite;
}

QWizardPage* TfrmHaupt::SeiteFertig()
{
    auto* seite = new TSeite(QStringLiteral("Fertig"), QStringLiteral("Fertig"), QString());
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(Text(QStringLiteral("Sie haben nun die wichtigsten Einstellungen von ZR "
                                          "Bovantis durchgeführt. Weitere Einstellungen finden "
                                          "Sie im Programm ZR Bovantis unter dem Menüpunkt "
                                          "Setup-Grundeinstellungen."),
                           seite));
    layout->addWidget(Text(QStringLiteral("Drücken Sie nun auf Fertigstellen, um die "
                                          "vorgenommenen Einstellungen abzuspeichern."),
                           seite));
    layout->addStretch();
    return seite;
}

// ---- program folder ----

bool TfrmHaupt::AllgemeinNextButtonClick()
{
    const QString ordner = programmverzeichnis_->text().trimmed();
    if (ordner.isEmpty() || !QFileInfo(ordner).isDir()) {
        Tools::MeldungError(QStringLiteral("Das Verzeichnis\r\r%1\r\rexistiert nicht.\rGeben Sie "
                                           "ein gültiges Programmverzeichnis an")
                                .arg(programmverzeichnis_->text()));
        return false;
    }
    return DBTools::Sicher([this] { AllgemeinExitPage(); });
}

void TfrmHaupt::AllgemeinExitPage()
{
    daten_->SetProgrammverzeichnis(programmverzeichnis_->text().trimmed());
}

// ---- database ----

void TfrmHaupt::DatenbankverbindungEnterPage()
{
    DBTools::Sicher([this] {
        daten_->DatenbankEinstellungLaden();
        dbRechner_->setText(daten_->DatenbankRechner());
        dbDatei_->setText(daten_->DatenbankDatei());
    });
}

bool TfrmHaupt::DatenbankverbindungNextButtonClick()
{
    const QString rechner = dbRechner_->text().trimmed();
    const QString datei = dbDatei_->text().trimmed();
    if (daten_->WechselVerwirftAenderungen(rechner, datei) &&
        Tools::MeldungConfirm(
            QStringLiteral("Sie haben eine andere Datenbank angegeben.\r\rDie Rassen, "
                           "Betriebsgruppen und Betriebsstätten, die Sie in der bisherigen "
                           "Datenbank geändert haben, sind noch nicht gespeichert und gehen "
                           "verloren.\r\rSoll trotzdem die andere Datenbank verwendet werden?"),
            1) != Tools::mrYes)
        return false;
    // A new installation's embedded database: made from the create scripts on request.
    if (rechner.isEmpty() && QDir::isAbsolutePath(datei) && !QFileInfo::exists(datei) &&
        !DatenbankAnlegenFragen(datei))
        return false;
    if (!DatenbankTesten(false)) {
        Tools::MeldungError(
            QStringLiteral("Die Angaben zur Datenbank stimmen nicht,\roder die Datenbank ist "
                           "nicht erreichbar\rEine Fortsetzung ist nur mit Datenbank-Anbindung "
                           "möglich"));
        return false;
    }
    DatenbankverbindungExitPage();
    return true;
}

bool TfrmHaupt::DatenbankAnlegenFragen(const QString& datei)
{
    if (Tools::MeldungConfirm(QStringLiteral("Die Datenbank-Datei\r\r%1\r\rgibt es noch nicht.\r"
                                             "Soll eine neue, leere Datenbank angelegt werden?")
                                  .arg(datei)) != Tools::mrYes)
        return false;
    fortschritt_->setValue(0);
    fortschritt_->show();
    const bool angelegt = DBTools::Sicher([this, &datei] {
        DatenbankAnlegen::FehlendeAnlegen(
            datei, daten_->Programmverzeichnis() + QStringLiteral("sql/create"),
            [this](int fertig, int gesamt) {
                fortschritt_->setMaximum(gesamt);
                fortschritt_->setValue(fertig);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
    });
    fortschritt_->hide();
    return angelegt;
}

void TfrmHaupt::DatenbankverbindungExitPage()
{
    daten_->SetDatenbankRechner(dbRechner_->text().trimmed());
    daten_->SetDatenbankDatei(dbDatei_->text().trimmed());
}

bool TfrmHaupt::DatenbankTesten(bool mitDialog)
{
    TDBTest test;
    const QString rechner = dbRechner_->text().trimmed();
    const QString datei = dbDatei_->text().trimmed();
    if (!mitDialog)
        return test.Testen(rechner, datei);
    TfrmDBTests dialog(this);
    test.OnZeile = [&dialog](const QString& zeile) { dialog.ZeileHinzufuegen(zeile); };
    dialog.OnTest = [&test, rechner, datei](TfrmDBTests&) { return test.Testen(rechner, datei); };
    dialog.exec();
    return dialog.Ergebnis();
}

bool TfrmHaupt::ErreichbarkeitTesten()
{
    if (!platform::IcmpEcho::available(platform::IcmpEcho::Method::Automatic)) {
        Tools::MeldungInfo(
            QStringLiteral("Dieser Test (Ping-Test) ist nur mit Administrator-Rechten möglich"));
        return true;
    }
    TPingTest test;
    TfrmDBTests dialog(this);
    test.OnZeile = [&dialog](const QString& zeile) { dialog.ZeileHinzufuegen(zeile); };
    const QString rechner = dbRechner_->text().trimmed();
    dialog.OnTest = [&test, rechner](TfrmDBTests&) { return test.Testen(rechner, 4); };
    dialog.exec();
    return dialog.Ergebnis();
}

// ---- farm data ----

void TfrmHaupt::GitterZeigen()
{
    Spalten(rassen_, daten_->Rassen(),
            {{QStringLiteral("BEZEICHNUNG"), QStringLiteral("Bezeichnung")}});
    Spalten(gruppen_, daten_->Betriebsgruppen(),
            {{QStringLiteral("GV"), QStringLiteral("GV")},
             {QStringLiteral("BEZEICHNUNG"), QStringLiteral("Bezeichnung")},
             {QStringLiteral("BNR"), QStringLiteral("Betriebsnummer")}},
            {QStringLiteral("GV")});
    Spalten(staetten_, daten_->Betriebsstaetten(),
            {{QStringLiteral("STANDARD"), QStringLiteral("Standardbetrieb")},
             {QStringLiteral("BEZEICHNUNG"), QStringLiteral("Bezeichnung")},
             {QStringLiteral("BNR"), QStringLiteral("Betriebsnummer")},
             {QStringLiteral("GRP_BEZEICHNUNG"), QStringLiteral("Gruppe")},
             {QStringLiteral("GV"), QStringLiteral("GV")}},
            {QStringLiteral("STANDARD"), QStringLiteral("GV")});
}

void TfrmHaupt::RassenEnterPage()
{
    // A new connection frees the datasets the views show.
    for (TZRcxGridDBTableView* view : {rassen_, gruppen_, staetten_})
        view->SetDataSet(nullptr);
    const bool verbunden = DBTools::Sicher([this] {
        daten_->Verbinden();
        daten_->RassenAktualisieren(-1);
        GitterZeigen();
    });
    if (!verbunden) {
        QTimer::singleShot(0, this, [this] {
            if (currentId() == Rassen)
                back();
        });
        return;
    }
    if (!daten_->HatRassen())
        QTimer::singleShot(0, this, [this] {
            if (currentId() == Rassen)
                RasseHinzuClick();
        });
}

void TfrmHaupt::RasseHinzuClick()
{
    DBTools::Sicher([this] {
        const int id = TfrmRasse::Oeffnen(daten_->Transaktion(), this);
        if (id <= 0)
            return;
        daten_->RassenAktualisieren(id);
        GitterZeigen();
        daten_->Geaendert();
    });
}

void TfrmHaupt::RasseEntfClick()
{
    DBTools::Sicher([this] {
        if (!daten_->HatRassen() ||
            Tools::MeldungConfirm(QStringLiteral("Wollen Sie diese Rasse wirklich löschen?"), 1) !=
                Tools::mrYes)
            return;
        if (!daten_->RasseEntfernen())
            return;
        daten_->RassenAktualisieren(-1);
        GitterZeigen();
        daten_->Geaendert();
    });
}

void TfrmHaupt::BetriebsgruppenEnterPage()
{
    const bool gelesen = DBTools::Sicher([this] {
        daten_->BetriebsgruppenAktualisieren();
        GitterZeigen();
    });
    if (gelesen && !daten_->HatBetriebsgruppen())
        QTimer::singleShot(0, this, [this] {
            if (currentId() == Betriebsgruppen)
                BetriebsgruppeBearbeiten(-1);
        });
}

void TfrmHaupt::BetriebsgruppeBearbeiten(int id)
{
    DBTools::Sicher([this, id] {
        TfrmBetriebsgruppe dialog(daten_->Transaktion(), id, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        daten_->BetriebsgruppenAktualisieren();
        GitterZeigen();
        daten_->Geaendert();
    });
}

void TfrmHaupt::GruppeEntfClick()
{
    DBTools::Sicher([this] {
        if (!DBTools::LoeschenMitFrage(daten_->Betriebsgruppen(),
                                       QStringLiteral("Wollen Sie diese Gruppe wirklich löschen?")))
            return;
        daten_->BetriebsgruppenAktualisieren();
        GitterZeigen();
        daten_->Geaendert();
    });
}

void TfrmHaupt::BetriebsstaettenEnterPage()
{
    const bool gelesen = DBTools::Sicher([this] {
        daten_->BetriebsstaettenAktualisieren();
        GitterZeigen();
    });
    if (gelesen && !daten_->HatBetriebsstaetten())
        QTimer::singleShot(0, this, [this] {
            if (currentId() == Betriebsstaetten)
                BetriebsstaetteBearbeiten(-1);
        });
}

void TfrmHaupt::BetriebsstaetteBearbeiten(int id)
{
    DBTools::Sicher([this, id] {
        TfrmBetriebsstaette dialog(daten_->Transaktion(), daten_->Betriebsgruppen(), id, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        daten_->BetriebsstaettenAktualisieren();
        GitterZeigen();
        daten_->Geaendert();
    });
}

void TfrmHaupt::BetriebEntfClick()
{
    DBTools::Sicher([this] {
        if (!DBTools::LoeschenMitFrage(
                daten_->Betriebsstaetten(),
                QStringLiteral("Wollen Sie diese Betriebsstätte wirklich löschen?")))
            return;
        daten_->BetriebsstaettenAktualisieren();
        GitterZeigen();
        daten_->Geaendert();
    });
}

// ---- leaving ----

bool TfrmHaupt::AbbruchBestaetigen()
{
    const QString frage =
        daten_->IstGeaendert()
            ? QStringLiteral(
                  "Die geänderten Einstellungen wurden noch nicht gespeichert.\rSoll "
                  "trotzdem der Einrichtungsassistent beendet werden?")
            : QStringLiteral("Wollen Sie den Einrichtungsassistenten wirklich beenden?");
    return Tools::MeldungConfirm(frage, 1) == Tools::mrYes;
}

void TfrmHaupt::reject()
{
    if (!schliessen_ && !AbbruchBestaetigen())
        return;
    schliessen_ = true;
    QWizard::reject();
}

void TfrmHaupt::accept()
{
    // A failed save keeps the window open with everything entered.
    if (!DBTools::Sicher([this] { daten_->Speichern(); }))
        return;
    schliessen_ = true;
    QWizard::accept();
}

}  // namespace Einrichtung
