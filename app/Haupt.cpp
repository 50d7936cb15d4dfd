#include "Haupt.h"

#include "Aktionsnamen.h"

#include "Datenmodul.h"
#include "Grundeinstellungen.h"
#include "HauptModell.h"
#include "ProgDatum.h"
#include "Produkt.h"
#include "ProgrammEnde.h"
#include "ProgrammFehler.h"

#include <Query.h>
#include <Transaction.h>

#include <Hilfe.h>
#include <Meldung.h>
#include <ZRDebug.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <stdexcept>

namespace {

constexpr int PanelHoehe = 39;

// The picture tiled behind the toolbar.
QPixmap Kachel()
{
    QPixmap bild(130, PanelHoehe);
    QPainter p(&bild);
    QLinearGradient verlauf(0, 0, 0, PanelHoehe);
    verlauf.setColorAt(0, QColor(0xF4, 0xF6, 0xF0));
    verlauf.setColorAt(1, QColor(0xD8, 0xDF, 0xCF));
    p.fillRect(bild.rect(), verlauf);
    return bild;
}

}  // namespace

TfrmHaupt::TfrmHaupt(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmHaupt"));
    setWindowTitle(Produkt::Titel);
    setProperty("HelpContext", HilfeKontext);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("MdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    // The toolbar panel with its own positions, docked as the one element of a fixed bar.
    symbolleisteLeiste_ = new QToolBar(QStringLiteral("Symbolleiste"), this);
    symbolleisteLeiste_->setObjectName(QStringLiteral("Symbolleiste"));
    symbolleisteLeiste_->setMovable(false);
    symbolleisteLeiste_->setFloatable(false);
    symbolleisteLeiste_->toggleViewAction()->setEnabled(false);
    symbolleisteLeiste_->setContentsMargins(0, 0, 0, 0);
    panel1_ = new QWidget(symbolleisteLeiste_);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFixedHeight(PanelHoehe);
    panel1_->setMinimumWidth(200);
    panel1_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    image1_ = new QLabel(panel1_);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(0, 0, screen() ? screen()->geometry().width() : 1024, PanelHoehe);
    image1_->show();
    symbolleisteLeiste_->addWidget(panel1_);
    addToolBar(Qt::TopToolBarArea, symbolleisteLeiste_);

    // Status bar: the hint, the premises of the lists, today.
    statusBar()->setObjectName(QStringLiteral("Statuszeile"));
    statusBar()->setSizeGripEnabled(false);
    const int dpi = screen() ? int(screen()->logicalDotsPerInchX()) : 96;
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel(this);
        status_[i]->setObjectName(QStringLiteral("Statusfeld%1").arg(i));
        status_[i]->setFrameShape(QFrame::StyledPanel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        if (i == 0) {
            status_[i]->setFixedWidth(325);
            statusBar()->addWidget(status_[i], 1);
        } else {
            status_[i]->setFixedWidth(160 * dpi / 96);
            status_[i]->setAlignment(Qt::AlignCenter);
            statusBar()->addPermanentWidget(status_[i]);
        }
    }

    AktionenAnlegen();
    MenuesAnlegen();

    HintergrundMusterSetzen();
    if (TEinstellungen* e = Einstellungen())
        e->OnAktBetriebListenChange = [this](TEinstellungen&) { AktBetriebListeChange(); };

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, this, &TfrmHaupt::DatumAnzeigen);
    DatumAnzeigen();

    // Actions follow the connection, the active window and whatever else they depend on, as
    // the idle updates of the actions did: checked often, cheaply.
    aktualisieren_ = new QTimer(this);
    aktualisieren_->setInterval(250);
    connect(aktualisieren_, &QTimer::timeout, this, &TfrmHaupt::AktionenAktualisieren);
    aktualisieren_->start();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
        AktionenAktualisieren();
        ZeigeHinweis();
    });
    if (TDM* dm = DM()) {
        connect(&dm->Datenbank, &db::Database::AfterConnect, this,
                &TfrmHaupt::AktionenAktualisieren, Qt::QueuedConnection);
        connect(&dm->Datenbank, &db::Database::Detaching, this, &TfrmHaupt::AktionenAktualisieren,
                Qt::QueuedConnection);
    }
    // The session manager asks before a logout: agree, and show no more error boxes.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        sitzungEndet_ = true;
        ProgrammFehler::SetSitzungEndet(true);
    });
    AktionenAktualisieren();
    setWindowState(windowState() | Qt::WindowMaximized);
}

TfrmHaupt::~TfrmHaupt()
{
    SchliesseAlleFenster();
    if (TEinstellungen* e = Einstellungen())
        e->OnAktBetriebListenChange = nullptr;
}

QAction* TfrmHaupt::NeueAktion(const QString& name, const QString& text, const QString& kategorie,
                               int bild, bool datenbank)
{
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    a->setProperty("Kategorie", kategorie);
    a->setProperty("Bildindex", bild);
    if (bild >= 0)
        a->setIcon(Symbolbild(bild));
    QString hinweis = text;
    hinweis.remove(QLatin1Char('&'));
    a->setToolTip(hinweis);
    a->setStatusTip(NichtVerfuegbar);
    connect(a, &QAction::triggered, this, [this, name] { Ausfuehren(name); });
    Aktionseintrag& e = aktionen_[name];
    e.aktion = a;
    e.datenbank = datenbank;
    return a;
}

void TfrmHaupt::AktionenAnlegen()
{
    struct Def {
        const QString& name;
        const char* text;
        const char* kategorie;
        int bild;
        bool db;
    };
    static const Def defs[] = {
        {Aktion::StammdatenNeu, "Neue Tiere", "Datei", -1, true},
        {Aktion::StammdatenBearbeiten, "Bearbeiten", "Datei", 0, true},
        {Aktion::BetriebWechsel, "Betriebsst. wechseln", "Datei", 13, true},
        {Aktion::Gruppenbehandlung, "Gruppenbehandlung", "Datei", 19, true},
        {Aktion::MLPBearbeiten, "MLP Daten bearbeiten", "Datei", 1, true},
        {Aktion::MLPImport, "MLP Daten importieren", "Datei", 2, true},
        {Aktion::Milchanlieferung, "Milchanlieferungen", "Datei", 3, true},
        {Aktion::HITMeldung, "HI-Tier Meldung", "Datei", 4, true},
        {Aktion::Besamungscontainer, "Besamungscontainer", "Datei", -1, true},
        {Aktion::Besamungsmeldung, "Besamungsmeldung", "Datei", -1, true},
        {Aktion::Drucken, "Drucken", "Datei", 5, false},
        {Aktion::Beenden, "Beenden", "Datei", -1, false},
        {Aktion::Grundeinstellungen, "Grundeinstellungen", "Setup", 7, false},
        {Aktion::TerminVerwaltung, "Termin Verwaltung", "Setup", -1, true},
        {Aktion::BullenStammdaten, "Bullen Stammdaten", "Setup", -1, true},
        {Aktion::Medikamente, "Medikamente", "Setup", -1, true},
        {Aktion::Suchmasken, "Suchmasken", "Setup", -1, true},
        {Aktion::TierLoeschen, "Tier löschen", "Setup", -1, true},
        {Aktion::Datensicherung, "Datensicherung", "Setup", -1, true},
        // Not bound to the connection: after a failed restore it is the way back.
        {Aktion::Datenruecksicherung, "Datenrücksicherung", "Setup", -1, false},
        {Aktion::HITImport, "HIT Bestand Import", "Setup", 4, true},
        {Aktion::ListenAuswahl, "Auswahl", "Listen", 6, true},
        {Aktion::ListenExportieren, "Exportieren", "Listen", -1, false},
        {Aktion::BetriebsstaetteAuswahl, "Betriebsstätte auswählen", "Listen", 12, true},
        {Aktion::ListenTermine, "Termine", "Listen", 8, true},
        {Aktion::Kraftfutterliste, "Kraftfutterliste", "Listen", 17, true},
        {Aktion::Ereignisliste, "Ereignisliste", "Listen", 14, true},
        {Aktion::KalbeJournal, "Kalbe-Journal", "Listen", 15, true},
        {Aktion::BestandslisteParameter, "Bestandsliste (Parameter)", "Listen", 20, true},
        {Aktion::Viehverzeichnis, "Viehverzeichnis", "Listen", 21, true},
        {Aktion::Bestandsbuch, "Bestandsbuch", "Listen", 19, true},
        {Aktion::GesendeteHITMeldungen, "Gesendete HIT Meldungen", "Listen", 4, true},
        {Aktion::GesendeteBesamungsmeldungen, "Gesendete Besamungsmeldungen", "Listen", 10, true},
        {Aktion::ErledigteTermine, "Erledigte Termine", "Listen", 8, true},
        {Aktion::MilchanlieferungStatistik, "Milchanlieferung", "Statistik", 3, true},
        {Aktion::TierbestandStatistik, "Tierbestand", "Statistik", 20, true},
        {Aktion::BesamungsindexStatistik, "Besamungsindex", "Statistik", 10, true},
        {Aktion::ZwischenkalbezeitStatistik, "Zwischenkalbezeit", "Statistik", 22, true},
        {Aktion::FensterCascade, "Über&lappend", "Fenster", -1, false},
        {Aktion::FensterUntereinander, "Untereinander", "Fenster", -1, false},
        {Aktion::FensterNebeneinander, "Nebeneinander", "Fenster", -1, false},
        {Aktion::FensterAnordnen, "An&ordnen", "Fenster", -1, false},
        {Aktion::HilfeHilfe, "Hilfe", "Hilfe", -1, false},
        {Aktion::HilfeInhalt, "Inhalt", "Hilfe", -1, false},
        {Aktion::HilfeSchnell, "Schneller Einstieg", "Hilfe", -1, false},
        {Aktion::HilfeSupport, "Support", "Hilfe", -1, false},
        {Aktion::HilfeSystemInfo, "System-Info", "Hilfe", -1, false},
        {Aktion::HilfeHotsyncEinstellung, "Hotsync einstellen", "Hilfe", -1, false},
        {Aktion::UpdateTest, "Auf Aktualisierungen prüfen...", "Hilfe", -1, false},
        {Aktion::HilfeInfo, "Info", "Hilfe", -1, false},
    };
    for (const Def& d : defs)
        NeueAktion(d.name, QString::fromUtf8(d.text), QString::fromLatin1(d.kategorie), d.bild,
                   d.db);

    // What this window does itself.
    Verbinden(Aktion::Beenden, [this] { close(); });
    Verbinden(Aktion::FensterCascade, [this] { mdiArea_->cascadeSubWindows(); });
    // Qt's MDI area knows one tiling; both directions and the arrangement use it.
    Verbinden(Aktion::FensterUntereinander, [this] { mdiArea_->tileSubWindows(); });
    Verbinden(Aktion::FensterNebeneinander, [this] { mdiArea_->tileSubWindows(); });
    Verbinden(Aktion::FensterAnordnen, [this] { mdiArea_->tileSubWindows(); });
    Verbinden(Aktion::HilfeHilfe, [this] {
        const QWidget* kind = AktivesKind();
        const int kontext = kind && kind->property("HelpContext").toInt() > 0
                                ? kind->property("HelpContext").toInt()
                                : HilfeKontext;
        Tools::HilfeAnzeigen(kontext);
    });
    Verbinden(Aktion::HilfeInhalt, [] { Tools::HilfeAnzeigen(1); });
    Verbinden(Aktion::HilfeSchnell, [] { Tools::HilfeAnzeigen(100); });
    Verbinden(Aktion::HilfeSupport, [] { Tools::HilfeAnzeigen(200); });

    aktionen_[Aktion::Drucken].regel = [this] {
        return DatenbankVerbunden() && dynamic_cast<TDruckbaresFenster*>(AktivesKind());
    };
    Verbinden(Aktion::Drucken, [this] {
        if (auto* fenster = dynamic_cast<TDruckbaresFenster*>(AktivesKind()))
            fenster->HauptfensterDrucken();
    });
    aktionen_[Aktion::ListenExportieren].regel = [this] {
        return DatenbankVerbunden() && dynamic_cast<TListenFensterSchnittstelle*>(AktivesKind());
    };
    Verbinden(Aktion::ListenExportieren, [this] {
        if (auto* liste = dynamic_cast<TListenFensterSchnittstelle*>(AktivesKind()))
            liste->Exportieren();
    });
}

void TfrmHaupt::MenuesAnlegen()
{
    QMenuBar* leiste = menuBar();
    const auto a = [this](const char* name) { return Aktion(QString::fromLatin1(name)); };

    QMenu* datei = leiste->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("MenueDatei"));
    QMenu* stamm = datei->addMenu(QStringLiteral("&Stammdaten"));
    stamm->addActions({a("actStammdatenNeu"), a("actStammdatenBearbeiten")});
    stamm->addSeparator();
    stamm->addActions({a("actBetriebWechsel"), a("actGruppenbehandlung")});
    QMenu* eigen = datei->addMenu(QStringLiteral("Eigenbesamung"));
    eigen->addActions(
        {a("actBesamungscontainer"), a("actBesamungsmeldung"), a("actBullenStammdaten")});
    datei->addActions(
        {a("actMLPBearbeiten"), a("actMLPImport"), a("actMilchanlieferung"), a("actHITMeldung")});
    datei->addSeparator();
    datei->addAction(a("actDrucken"));
    datei->addSeparator();
    datei->addAction(a("actBeenden"));

    menueListen_ = leiste->addMenu(QStringLiteral("Listen"));
    menueListen_->setObjectName(QStringLiteral("MenueListen"));
    menueListen_->addActions(
        {a("actListenAuswahl"), a("actListenExportieren"), a("actBetriebsstaetteAuswahl")});
    menueListen_->addSeparator();
    menueListen_->addActions({a("actListenTermine"), a("actKraftfutterliste"),
                              a("actEreignisliste"), a("actKalbeJournal"),
                              a("actBestandslisteParameter"), a("actViehverzeichnis"),
                              a("actBestandsbuch"), a("actGesendeteHITMeldungen"),
                              a("actGesendeteBesamungsmeldungen"), a("actErledigteTermine")});
    menueListen_->addSeparator();

    QMenu* statistik = leiste->addMenu(QStringLiteral("S&tatistik"));
    statistik->addActions({a("actMilchanlieferungStatistik"), a("actTierbestandStatistik"),
                           a("actBesamungsindexStatistik"), a("actZwischenkalbezeitStatistik")});

    QMenu* setup = leiste->addMenu(QStringLiteral("&Setup"));
    setup->addActions({a("actGrundeinstellungen"), a("actTerminVerwaltung"),
                       a("actBullenStammdaten"), a("actMedikamente"), a("actSuchmasken")});
    setup->addSeparator();
    setup->addAction(a("actTierLoeschen"));
    setup->addSeparator();
    setup->addActions({a("actDatensicherung"), a("actDatenruecksicherung")});
    setup->addSeparator();
    QMenu* erst = setup->addMenu(QStringLiteral("Ersterfassung"));
    erst->addActions({a("actMLPImport"), a("actHITImport")});

    QMenu* fenster = leiste->addMenu(QStringLiteral("&Fenster"));
    fenster->setObjectName(QStringLiteral("MenueFenster"));
    fenster->addActions({a("actFensterCascade"), a("actFensterUntereinander"),
                         a("actFensterNebeneinander"), a("actFensterAnordnen")});
    // The open MDI windows follow the arrangements, as the window list of an MDI frame does.
    connect(fenster, &QMenu::aboutToShow, this, [this, fenster, a] {
        fenster->clear();
        fenster->addActions({a("actFensterCascade"), a("actFensterUntereinander"),
                             a("actFensterNebeneinander"), a("actFensterAnordnen")});
        const QList<QMdiSubWindow*> kinder = mdiArea_->subWindowList();
        if (!kinder.isEmpty())
            fenster->addSeparator();
        for (QMdiSubWindow* kind : kinder) {
            QAction* eintrag = fenster->addAction(kind->windowTitle());
            eintrag->setCheckable(true);
            eintrag->setChecked(kind == mdiArea_->activeSubWindow());
            connect(eintrag, &QAction::triggered, mdiArea_,
                    [this, kind] { mdiArea_->setActiveSubWindow(kind); });
        }
    });

    QMenu* hilfe = leiste->addMenu(QStringLiteral("&Hilfe"));
    hilfe->addActions({a("actHilfeHilfe"), a("actHilfeInhalt")});
    hilfe->addSeparator();
    hilfe->addActions({a("actHilfeSchnell"), a("actHilfeSupport")});
    hilfe->addSeparator();
    hilfe->addActions(
        {a("actHilfeSystemInfo"), a("actHilfeHotsyncEinstellung"), a("actUpdateTest")});
    hilfe->addSeparator();
    hilfe->addAction(a("actHilfeInfo"));
}

QAction* TfrmHaupt::Aktion(const QString& name) const
{
    const auto it = aktionen_.find(name);
    if (it == aktionen_.end())
        throw std::logic_error("Unbekannte Aktion " + name.toStdString());
    return it->second.aktion;
}

void TfrmHaupt::Verbinden(const QString& name, std::function<void()> wirkung)
{
    Aktion(name);
    Aktionseintrag& e = aktionen_[name];
    e.wirkung = std::move(wirkung);
    QString hinweis = e.aktion->text();
    hinweis.remove(QLatin1Char('&'));
    e.aktion->setStatusTip(e.wirkung ? hinweis : NichtVerfuegbar);
    AktionenAktualisieren();
}

void TfrmHaupt::SetListeAnzeigen(std::function<void(int, int)> anzeigen)
{
    listeAnzeigen_ = std::move(anzeigen);
    ErzeugeListenMenue();
}

void TfrmHaupt::SetUpdateDatei(std::function<QString()> updateDatei)
{
    updateDatei_ = std::move(updateDatei);
}

void TfrmHaupt::Ausfuehren(const QString& name)
{
    const auto it = aktionen_.find(name);
    if (it == aktionen_.end() || !it->second.wirkung)
        return;
    // A copy: the effect may replace the action's effect or rebuild the menus.
    const std::function<void()> wirkung = it->second.wirkung;
    ProgrammFehler::Abfangen(wirkung);
    AktionenAktualisieren();
}

bool TfrmHaupt::DatenbankVerbunden() const
{
    // After a failed restore the data module can be gone.
    const TDM* dm = DM();
    return dm && dm->Verbunden();
}

QWidget* TfrmHaupt::AktivesKind() const
{
    QMdiSubWindow* kind = mdiArea_->activeSubWindow();
    return kind ? kind->widget() : nullptr;
}

void TfrmHaupt::AktionenAktualisieren()
{
    const bool verbunden = DatenbankVerbunden();
    for (auto& [name, e] : aktionen_) {
        bool an = bool(e.wirkung);
        if (an && e.regel)
            an = e.regel();
        else if (an && e.datenbank)
            an = verbunden;
        if (e.aktion->isEnabled() != an)
            e.aktion->setEnabled(an);
    }
    for (QAction* eintrag : listenEintraege_)
        eintrag->setEnabled(listeAnzeigen_ && verbunden);
}

void TfrmHaupt::ErzeugeListenMenue()
{
    QStringList menueListe;
    QStringList symbolListe;
    if (TEinstellungen* e = Einstellungen(); e && DatenbankVerbunden())
        e->BenutzerListenLaden(menueListe, symbolListe);

    for (QAction* eintrag : listenEintraege_) {
        menueListen_->removeAction(eintrag);
        delete eintrag;
    }
    listenEintraege_.clear();
    const QString hinweisListe = listeAnzeigen_ ? QString() : NichtVerfuegbar;
    for (const HauptModell::ListenEintrag& liste : HauptModell::ListenEintraege(menueListe)) {
        auto* eintrag = new QAction(liste.bezeichnung, menueListen_);
        eintrag->setData(liste.id);
        if (liste.symbol >= 0)
            eintrag->setIcon(Symbolbild(liste.symbol));
        eintrag->setStatusTip(hinweisListe.isEmpty() ? liste.bezeichnung : hinweisListe);
        connect(eintrag, &QAction::triggered, this,
                [this, id = liste.id] { ListeAnzeigenClick(id); });
        menueListen_->addAction(eintrag);
        listenEintraege_.push_back(eintrag);
    }

    const bool ersterAufruf = !symbolleiste_;
    if (ersterAufruf) {
        symbolleiste_ = std::make_unique<std::vector<QWidget*>>();
    } else {
        while (symbolleiste_->size() > size_t(HauptModell::KopfAnzahl)) {
            delete symbolleiste_->back();
            symbolleiste_->pop_back();
        }
    }
    const QList<HauptModell::Symbolleistenelement> elemente =
        HauptModell::Symbolleiste(symbolListe);
    for (int i = 0; i < elemente.size(); ++i) {
        if (!ersterAufruf && i < HauptModell::KopfAnzahl)
            continue;
        const HauptModell::Symbolleistenelement& el = elemente[i];
        QWidget* w = nullptr;
        if (el.art == HauptModell::Symbolleistenelement::Trenner) {
            auto* trenner = new QFrame(panel1_);
            trenner->setFrameShape(QFrame::VLine);
            trenner->setFrameShadow(QFrame::Sunken);
            trenner->setGeometry(el.x + 4, 0, 2, PanelHoehe);
            w = trenner;
        } else {
            auto* knopf = new QToolButton(panel1_);
            knopf->setAutoRaise(true);
            knopf->setIconSize(QSize(32, 32));
            knopf->setGeometry(el.x, 2, 36, 36);
            if (el.art == HauptModell::Symbolleistenelement::Aktion) {
                knopf->setDefaultAction(Aktion(el.aktion));
                knopf->setObjectName(QStringLiteral("btn_") + el.aktion);
            } else {
                knopf->setIcon(Symbolbild(el.liste.symbol));
                knopf->setToolTip(el.liste.bezeichnung);
                knopf->setStatusTip(hinweisListe.isEmpty() ? el.liste.bezeichnung : hinweisListe);
                knopf->setProperty("ListeID", el.liste.id);
                knopf->setObjectName(QStringLiteral("btnListe%1").arg(el.liste.id));
                knopf->setEnabled(listeAnzeigen_ && DatenbankVerbunden());
                connect(knopf, &QToolButton::clicked, this,
                        [this, id = el.liste.id] { ListeAnzeigenClick(id); });
            }
            w = knopf;
        }
        w->show();
        symbolleiste_->push_back(w);
    }
    if (!elemente.isEmpty())
        panel1_->setMinimumWidth(elemente.last().x + HauptModell::KnopfBreite + 4);
    AktionenAktualisieren();
}

void TfrmHaupt::ListeAnzeigenClick(int listeId)
{
    if (!listeAnzeigen_)
        return;
    const TEinstellungen* e = Einstellungen();
    const int betrieb = e ? e->GetAktBetriebListen() : 0;
    ProgrammFehler::Abfangen([&] { listeAnzeigen_(listeId, betrieb); });
}

QLabel* TfrmHaupt::Statusfeld(int index) const
{
    return status_[index];
}

void TfrmHaupt::ZeigeHinweis(const QString& hinweis)
{
    const auto* liste = dynamic_cast<const TListenFensterSchnittstelle*>(AktivesKind());
    status_[0]->setText(HauptModell::Hinweistext(hinweis, liste ? liste->GetAnzahl() : 0));
}

void TfrmHaupt::AktBetriebListeChange()
{
    TDM* dm = DM();
    const TEinstellungen* e = Einstellungen();
    if (!dm || !e || !dm->Verbunden()) {
        status_[1]->clear();
        return;
    }
    status_[1]->setText(dm->BetriebsstaetteBezeichnung(e->GetAktBetriebListen()));
}

void TfrmHaupt::DatenbankErneuert()
{
    AktBetriebListeChange();
    ErzeugeListenMenue();
    AktionenAktualisieren();
}

void TfrmHaupt::GetClientGroesse(int& breite, int& hoehe) const
{
    const QSize groesse = mdiArea_->viewport()->size();
    breite = groesse.width();
    hoehe = groesse.height();
}

void TfrmHaupt::DatumAnzeigen()
{
    // "dddd, ddddd": the weekday's name and the short date.
    const QLocale deutsch(QLocale::German, QLocale::Germany);
    const QDate heute = ProgDatum::Heute();
    status_[2]->setText(deutsch.dayName(heute.dayOfWeek(), QLocale::LongFormat) +
                        QStringLiteral(", ") + heute.toString(QStringLiteral("dd.MM.yyyy")));
    SetzeMitternachtTimer();
}

void TfrmHaupt::SetzeMitternachtTimer()
{
    timer1_->stop();
    timer1_->setInterval(HauptModell::MitternachtIntervall(QTime::currentTime()));
    timer1_->start();
}

void TfrmHaupt::ListenStyleSheet(QWidget& liste) const
{
    QPalette farben = liste.palette();
    farben.setColor(QPalette::Base, hintergrundMuster_);
    liste.setPalette(farben);
}

void TfrmHaupt::HintergrundMusterSetzen()
{
    const TEinstellungen* e = Einstellungen();
    hintergrundMuster_ = HauptModell::Listenfarbe(e ? e->GetListenmuster() : 6);
}

void TfrmHaupt::Aktivieren()
{
    const TEinstellungen* e = Einstellungen();
    if (e && DatenbankVerbunden() && e->GetVersteckeSymbolHintergrund()) {
        image1_->clear();
        return;
    }
    const QPixmap kachel = Kachel();
    QPixmap bild(image1_->size());
    QPainter p(&bild);
    const int kacheln = image1_->width() / kachel.width() + 1;
    for (int i = 0; i < kacheln; ++i)
        p.drawPixmap(i * kachel.width(), 0, kachel);
    p.end();
    image1_->setPixmap(bild);
}

void TfrmHaupt::BetriebWechsel(const TiereWaehlen& waehlen, const BetriebsstaetteWaehlen& neue)
{
    QList<int> tiere = waehlen();
    if (tiere.isEmpty())
        return;
    QDate datum;
    int betriebsstaette = 0;
    if (!neue(datum, betriebsstaette))
        return;
    TDM* dm = DM();
    if (!dm)
        return;
    if (dm->BetriebsstaetteWechselnListe(tiere, betriebsstaette, datum))
        Tools::MeldungInfo(QStringLiteral("Die Wechsel wurden eingetragen."));
    else
        Tools::MeldungInfo(
            QStringLiteral("Nicht alle Wechsel konnten eingetragen werden.\r"
                           "Bitte überprüfen Sie die betreffenden Tiere."));
}

void TfrmHaupt::TierLoeschen(const TiereWaehlen& waehlen)
{
    const QList<int> tiere = waehlen();
    if (tiere.isEmpty())
        return;
    if (Tools::MeldungConfirm(QStringLiteral("Sollen die ausgewählten Tiere wirklich gelöscht "
                                             "werden?\rDiese können nicht mehr wiederhergestellt "
                                             "werden!"),
                              1) != Tools::mrYes)
        return;
    TDM* dm = DM();
    if (!dm)
        return;
    dm->TiereLoeschen(tiere);
    Tools::MeldungInfo(QStringLiteral("Die Tiere wurden gelöscht"));
}

bool TfrmHaupt::RuecksicherungVorbereiten()
{
    if (!mdiArea_->subWindowList().isEmpty()) {
        if (Tools::MeldungConfirm(
                QStringLiteral("Schliessen Sie alle angezeigten Listen und Statistiken.\rEine "
                               "Rücksicherung ist sonst nicht möglich.\r\rSollen die Listen und "
                               "Statistiken jetzt geschlossen werden?")) != Tools::mrYes)
            return false;
        SchliesseAlleFenster();
    }
    return true;
}

void TfrmHaupt::SchliesseAlleFenster()
{
    const QList<QMdiSubWindow*> kinder = mdiArea_->subWindowList();
    for (auto it = kinder.crbegin(); it != kinder.crend(); ++it) {
        (*it)->close();
        delete *it;
        QCoreApplication::processEvents();
    }
}

bool TfrmHaupt::HITMeldungenOffen()
{
    const TEinstellungen* e = Einstellungen();
    TDM* dm = DM();
    const bool fragen = e && dm && dm->Verbunden() && e->GetHITFrageProgrammEnde();
    int offen = 0;
    if (fragen) {
        // A transaction of its own: committing the card's transaction here could store work
        // that the user has not saved.
        db::Transaction tr(dm->Datenbank, QStringLiteral("HITMeldungenOffen"),
                           {db::TransactionOptions::ReadCommitted, true});
        tr.Start();
        offen = dm->SQLWertInteger(tr, QStringLiteral("SELECT COUNT(*) FROM T_HITMELDUNGEN"));
        tr.Commit();
    }
    if (HauptModell::MeldungenPruefen(false, fragen, offen) == HauptModell::Schliessen::Erlaubt)
        return true;
    // Nobody is there to answer: the reports stay prepared for the next start.
    if (TProgrammEnde::Angefordert()) {
        ZRDebug::DebugMsg(
            QStringLiteral("Programmende durch Signal: %1 HIT-Meldungen bleiben vorbereitet")
                .arg(offen));
        return true;
    }
    if (Tools::MeldungConfirm(QStringLiteral(
            "Es sind noch Meldungen an HI - Tier vorbereitet,\rdie noch nicht gesendet wurden. "
            "Sollen\rdiese Meldungen jetzt gesendet werden?")) != Tools::mrYes)
        return true;
    Aktion(Aktion::HITMeldung)->trigger();
    return false;
}

bool TfrmHaupt::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        ZeigeHinweis(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TfrmHaupt::closeEvent(QCloseEvent* e)
{
    const bool updateWartet = updateDatei_ && !updateDatei_().isEmpty();
    bool erlaubt = updateWartet;
    if (!erlaubt) {
        try {
            erlaubt = HITMeldungenOffen();
        } catch (const std::exception& fehler) {
            // A database that cannot be asked must not keep the user from ending the program.
            ProgrammFehler::Melden(fehler);
            erlaubt = true;
        }
    }
    if (!erlaubt) {
        e->ignore();
        return;
    }
    SchliesseAlleFenster();
    e->accept();
}

void TfrmHaupt::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    Aktivieren();
}
