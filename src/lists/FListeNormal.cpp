#include "FListeNormal.h"

#include "ListenDruck.h"
#include "ListenExport.h"
#include "ListenLayout.h"
#include "ListenTools.h"

#include <Sanduhr.h>
#include <StatusSymbole.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Shell.h>

#include <Database.h>
#include <Error.h>
#include <Meldung.h>
#include <Query.h>
#include <ZRcxGridDBTableView.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>
#include <typeinfo>

namespace {

const QString LeerText = QStringLiteral("< Die Liste ist leer >");

QString KlassenName(const std::exception& e)
{
    if (dynamic_cast<const db::Error*>(&e))
        return QStringLiteral("EDatenbankFehler");
    return QStringLiteral("Exception");
}

// Prints the rows the window shows, in the window's order.
void FensterDrucken(TfrmListe& fenster, bool vorschau)
{
    auto* liste = dynamic_cast<TfrmListeNormal*>(&fenster);
    if (!liste)
        throw std::runtime_error("Dieses Listenfenster hat kein Druck-Layout.");
    ListenDruck::ListeDruckenMitDaten(liste->ListeID, liste->Betriebsstaette, liste->Titelzusatz,
                                      liste->QDaten(), vorschau, liste->BetriebsstaetteDrucken);
}

}  // namespace

TfrmListe::TfrmListe(db::Database& datenbank, QWidget* parent)
    : QWidget(parent), transaktion_(datenbank, QStringLiteral("TAListe")), daten_(transaktion_)
{
    setWindowTitle(QStringLiteral("Liste"));
    const auto aktion = [this](const char* name, const QString& text) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        addAction(a);
        return a;
    };
    actZuTierGehen = aktion("actZuTierGehen", QStringLiteral("Zu Tier gehen"));
    actListeAktualisieren = aktion("actListeAktualisieren", QStringLiteral("Liste aktualisieren"));
    actListeAktualisieren->setShortcut(QKeySequence(Qt::Key_F5));
    actListeAktualisieren->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    actExportieren = aktion("actExportieren", QStringLiteral("Exportieren"));
    actDruckVorschau = aktion("actDruckVorschau", QStringLiteral("Druck-Vorschau"));
    actDrucken = aktion("actDrucken", QStringLiteral("Drucken"));
    connect(actZuTierGehen, &QAction::triggered, this, [this] { ZuTierGehen(); });
    connect(actListeAktualisieren, &QAction::triggered, this, [this] { ListeAktualisieren(); });
    connect(actExportieren, &QAction::triggered, this, [this] { Exportieren(); });
    connect(actDruckVorschau, &QAction::triggered, this, [this] { DruckVorschau(); });
    connect(actDrucken, &QAction::triggered, this, [this] { Drucken(); });

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("ListePopup"));
    popup_->addAction(actZuTierGehen);
    popup_->setDefaultAction(actZuTierGehen);
    popup_->addSeparator();
    popup_->addActions({actListeAktualisieren, actExportieren});
    popup_->addSeparator();
    popup_->addActions({actDruckVorschau, actDrucken});
    connect(popup_, &QMenu::aboutToShow, this, [this] { AktionenPruefen(); });
}

TfrmListe::~TfrmListe()
{
    daten_.Close();
    if (transaktion_.Active())
        transaktion_.Commit();
}

void TfrmListe::AktionenPruefen()
{
    actZuTierGehen->setEnabled(ZuTierGehenPruefen());
}

void TfrmListe::DatenOeffnen()
{
    daten_.Open();
    daten_.RecordCount();
    Status();
}

void TfrmListe::Status()
{
    if (OnStatus)
        OnStatus(this);
}

void TfrmListe::ListeAktualisieren()
{
    Sanduhr sanduhr;
    PositionMerken();
    daten_.Close();
    if (transaktion_.Active())
        transaktion_.Commit();
    transaktion_.Start();
    DatenOeffnen();
    PositionWiederherstellen();
}

bool TfrmListe::IstMdiKind() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget()) != nullptr;
}

void TfrmListe::TierAnzeigen(int tierId)
{
    if (!IstMdiKind() || !FListeNormal::TierkarteZeigen)
        return;
    FListeNormal::TierkarteZeigen(this, tierId, SchnellwahlSQL);
    ListeAktualisieren();
}

void TfrmListe::Drucken()
{
    FensterDrucken(*this, false);
}

void TfrmListe::DruckVorschau()
{
    FensterDrucken(*this, true);
}

void TfrmListe::Exportieren()
{
    throw std::runtime_error("Exportieren der Listen ist in dieser Version noch nicht verfügbar.");
}

bool TfrmListe::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        Status();
    return QWidget::event(e);
}

void TfrmListe::closeEvent(QCloseEvent* e)
{
    daten_.Close();
    if (transaktion_.Active())
        transaktion_.Commit();
    QWidget::closeEvent(e);
}

TfrmListeNormal::TfrmListeNormal(db::Database& datenbank, QWidget* parent)
    : TfrmListe(datenbank, parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new TZRDBcxGridBovantis(this);
    grid_->setObjectName(QStringLiteral("Grid"));
    layout->addWidget(grid_);
    grid_->SetDatenmenge(&QDaten());
    grid_->GetTableView()->SetEmptyText(LeerText);
    grid_->StatusIcons = StatusSymbole::Icons();
    if (const TShell* shell = TShell::Aktuell())
        shell->ListenStyleSheet(*grid_->GetTableView());
    grid_->OnTierAnzeigen = [this](TZRDBcxGridBovantis*, int tierId) { TierAnzeigen(tierId); };
    grid_->OnDisplayFormat = [this](TZRDBcxGridBovantis*, const QString& feld,
                                    const QString& format) { DisplayFormatSetzen(feld, format); };
    grid_->OnTerminErledigen = [this](TZRDBcxGridBovantis*, int termin, const QDate& datum,
                                      int tier) { TerminErledigen(termin, datum, tier); };

    actTerminErledigen = new QAction(QStringLiteral("Termin erledigen"), this);
    actTerminErledigen->setObjectName(QStringLiteral("actTerminErledigen"));
    addAction(actTerminErledigen);
    connect(actTerminErledigen, &QAction::triggered, this, [this] { grid_->TerminErledigen(); });
    ListePopup()->insertAction(ListePopup()->actions().value(1), actTerminErledigen);
    connect(ListePopup(), &QMenu::aboutToShow, this, [this] {
        actTerminErledigen->setVisible(grid_->Terminmodus());
        actTerminErledigen->setEnabled(grid_->Terminmodus() && grid_->TerminErledigenMoeglich());
    });
}

TfrmListeNormal::~TfrmListeNormal()
{
    delete grid_;
}

void TfrmListeNormal::ListeLaden(bool sqlVorgegeben, int listeId, int betriebsstaette,
                                 const QString& titelzusatz, const QString& datenSQL,
                                 const QString& schnellwahlSQL)
{
    Sanduhr sanduhr;
    Titelzusatz = titelzusatz;
    ListeID = listeId;
    Betriebsstaette = betriebsstaette;
    QDaten().Close();
    if (!TAListe().Active())
        TAListe().Start();
    db::Query liste(TAListe(), QStringLiteral("SELECT TITEL, SQL, SYMBOL, SQL_SW, "
                                              "MULTI_LINE_SHORT_BILDSCHIRM FROM T_LISTEN WHERE ID "
                                              "= :LISTE"));
    liste.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    liste.Open();
    if (liste.Eof())
        throw std::runtime_error(
            QStringLiteral("Die Liste %1 ist nicht gespeichert.").arg(listeId).toStdString());
    const std::vector<ListenSpalten::LayoutZeile> layout =
        BildschirmLayoutLaden(TAListe(), listeId);
    if (sqlVorgegeben) {
        QDaten().SetSelectSQL(datenSQL);
        SchnellwahlSQL = schnellwahlSQL;
    } else {
        QDaten().SetSelectSQL(ListenTools::BetriebsstaetteEinsetzen(
            liste.Field(QStringLiteral("SQL")).AsString(), betriebsstaette));
        SchnellwahlSQL = ListenTools::BetriebsstaetteEinsetzen(
            liste.Field(QStringLiteral("SQL_SW")).AsString(), betriebsstaette);
    }
    const QString name =
        betriebsstaette > 0 && DM() ? DM()->BetriebsstaetteBezeichnung(betriebsstaette) : QString();
    setWindowTitle(FListeNormal::Fenstertitel(liste.Field(QStringLiteral("TITEL")).AsString(),
                                              betriebsstaette, name, titelzusatz));
    // A design without a symbol shows the picture of the list choice ("Auswahl"), not the
    // toolkit's logo.
    constexpr int ListenwahlSymbol = 6;
    const db::Value& symbol = liste.Field(QStringLiteral("SYMBOL"));
    setWindowIcon(Symbolbild(symbol.IsNull() ? ListenwahlSymbol : symbol.AsInteger()));
    // The MDI frame keeps the icon it was made with; the menu bar shows it while maximised.
    if (auto* rahmen = qobject_cast<QMdiSubWindow*>(parentWidget()))
        rahmen->setWindowIcon(windowIcon());
    KurzeZeilen = liste.Field(QStringLiteral("MULTI_LINE_SHORT_BILDSCHIRM")).AsString() == "T";
    grid_->KurzeZeilen = KurzeZeilen;
    grid_->ListeOeffnen(layout);
    // Counting reads every row: the first rows are painted first, the status bar hears later.
    zaehlen_ = QDaten().CanFetchMore();
    if (zaehlen_)
        grid_->GetTableView()->viewport()->installEventFilter(this);
    else
        Status();
}

bool TfrmListeNormal::eventFilter(QObject* o, QEvent* e)
{
    QWidget* zeilen = grid_->GetTableView()->viewport();
    if (o == zeilen && e->type() == QEvent::Paint) {
        zeilen->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] { Zaehlen(); });
    }
    return TfrmListe::eventFilter(o, e);
}

void TfrmListeNormal::Zaehlen()
{
    if (!zaehlen_ || !QDaten().Active())
        return;
    zaehlen_ = false;
    try {
        QDaten().RecordCount();
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
    }
    Status();
}

void TfrmListeNormal::PositionMerken()
{
    GemerkteZeile = grid_->GetTableView()->currentIndex().row();
}

void TfrmListeNormal::PositionWiederherstellen()
{
    TZRcxGridDBTableView* view = grid_->GetTableView();
    if (GemerkteZeile < 0 || GemerkteZeile >= QDaten().RecordCount())
        return;
    const QModelIndex jetzt = view->currentIndex();
    const int spalte = jetzt.isValid() ? jetzt.column() : view->horizontalHeader()->logicalIndex(0);
    view->setCurrentIndex(view->model()->index(GemerkteZeile, spalte));
}

int TfrmListeNormal::GetAnzahl() const
{
    db::DataSet* d = grid_->GetDatenmenge();
    if (!grid_->GetTableView() || !d || !d->Active() || (zaehlen_ && d->CanFetchMore()))
        return -1;
    return grid_->GetTableView()->model()->rowCount();
}

bool TfrmListeNormal::ZuTierGehenPruefen()
{
    const QString feld = grid_->TierIDFeld();
    if (feld.isEmpty() || !QDaten().Active() || QDaten().IsEmpty())
        return false;
    db::Field* f = QDaten().FindField(feld);
    return f && !f->IsNull() && f->AsInteger() > 0;
}

void TfrmListeNormal::ZuTierGehen()
{
    grid_->TierAnzeigen();
}

void TfrmListeNormal::Exportieren()
{
    if (ListeID < 0)
        ListenExport::ListeExportierenMitDaten(ListeID, Betriebsstaette, QDaten(), windowTitle(),
                                               this);
    else
        ListenExport::ListeExportieren(ListeID, Betriebsstaette, windowTitle(), this);
}

void TfrmListeNormal::DisplayFormatSetzen(const QString& feldname, const QString& format)
{
    if (!QDaten().Active())
        return;
    if (db::Field* f = QDaten().FindField(feldname); f && f->IsNumeric())
        f->DisplayFormat = format;
}

void TfrmListeNormal::TerminErledigen(int terminId, const QDate& datum, int tierId)
{
    if (!IstMdiKind())
        return;
    if (!FListeNormal::TerminErledigenDialog)
        throw std::runtime_error(
            "Das Erledigen von Terminen ist in dieser Version noch nicht verfügbar.");
    if (FListeNormal::TerminErledigenDialog(this, terminId, datum, tierId))
        ListeAktualisieren();
}

namespace FListeNormal {

QString Fenstertitel(const QString& titel, int betriebsstaette, const QString& betriebsstaettenName,
                     const QString& titelzusatz)
{
    QString text = titel;
    if (betriebsstaette > 0)
        text += QStringLiteral(" - ") + betriebsstaettenName;
    if (!titelzusatz.isEmpty())
        text += QStringLiteral(" (") + titelzusatz + QLatin1Char(')');
    return text;
}

TfrmListeNormal* ListeAnzeigenEx(QWidget* owner, int listeId, int betriebsstaette,
                                 const QString& titelzusatz, const QString& datenSQL,
                                 const QString& schnellwahlSQL, bool betriebsstaetteDrucken,
                                 bool modal, const Fensterklasse& fensterklasse, bool sqlVorgegeben,
                                 std::function<void(TfrmListe*)> onStatus)
{
    if (!DM())
        throw std::runtime_error("Die Liste kann ohne Datenbank nicht angezeigt werden.");
    db::Database& datenbank = DM()->Datenbank;
    TShell* shell = modal ? nullptr : dynamic_cast<TShell*>(owner);
    TfrmListeNormal* fenster =
        fensterklasse ? fensterklasse(datenbank, nullptr) : new TfrmListeNormal(datenbank, nullptr);
    fenster->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* kind = nullptr;
    try {
        fenster->BetriebsstaetteDrucken = betriebsstaetteDrucken;
        // The grid fits its column widths to its size, so the window is maximised first.
        if (modal) {
            fenster->setParent(owner, Qt::Dialog);
            fenster->setWindowModality(Qt::ApplicationModal);
            fenster->showMaximized();
        } else if (shell) {
            kind = shell->MdiArea()->addSubWindow(fenster);
            kind->setAttribute(Qt::WA_DeleteOnClose);
            kind->showMaximized();
        } else {
            fenster->setParent(owner, Qt::Window);
            fenster->showMaximized();
        }
        fenster->layout()->activate();
        fenster->ListeLaden(sqlVorgegeben, listeId, betriebsstaette, titelzusatz, datenSQL,
                            schnellwahlSQL);
        if (modal) {
            QEventLoop schleife;
            QObject::connect(fenster, &QObject::destroyed, &schleife, &QEventLoop::quit);
            schleife.exec();
            return nullptr;
        }
        fenster->Grid()->GetTableView()->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(fenster->Grid()->GetTableView(), &QWidget::customContextMenuRequested,
                         fenster, [fenster](const QPoint& p) {
                             fenster->ListePopup()->popup(
                                 fenster->Grid()->GetTableView()->viewport()->mapToGlobal(p));
                         });
        fenster->OnStatus = std::move(onStatus);
        fenster->Status();
        return fenster;
    } catch (const std::exception& e) {
        if (kind)
            delete kind;
        else
            delete fenster;
        Tools::MeldungError(
            QStringLiteral("Es ist ein Fehler bei der Anzeige der Liste aufgetreten\r\r") +
            KlassenName(e) + QStringLiteral(": ") + QString::fromUtf8(e.what()));
        return nullptr;
    }
}

TfrmListeNormal* ListeAnzeigen(QWidget* owner, int listeId, int betriebsstaette,
                               const QString& titelzusatz, bool modal,
                               std::function<void(TfrmListe*)> onStatus)
{
    return ListeAnzeigenEx(owner, listeId, betriebsstaette, titelzusatz, {}, {}, false, modal, {},
                           false, std::move(onStatus));
}

}  // namespace FListeNormal
