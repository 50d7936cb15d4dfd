#include "Bestandsbuch.h"

#include "BestandsbuchDruck.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Shell.h>
#include <ListenExport.h>
#include <ProgDatum.h>

#include <DataSet.h>
#include <Database.h>
#include <Field.h>
#include <Hilfe.h>
#include <Meldung.h>
#include <Sanduhr.h>
#include <ZRcxGridDBTableView.h>

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

// The check-box images of the register states: empty, ticked, ticked and final.
QList<QIcon> StatusBilder(QWidget* w)
{
    QList<QIcon> bilder;
    for (int i = 0; i < 3; ++i) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        QStyleOptionButton box;
        box.rect = pm.rect();
        box.state = (i == 0 ? QStyle::State_Off : QStyle::State_On) |
                    (i == 2 ? QStyle::State_None : QStyle::State_Enabled);
        // Styles that ignore the state still tell a final entry by its greyed colours.
        box.palette = w->palette();
        if (i == 2)
            box.palette.setCurrentColorGroup(QPalette::Disabled);
        w->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &p, w);
        p.end();
        bilder << QIcon(pm);
    }
    bilder << bilder.at(2);  // cancelled entries keep the booked image
    return bilder;
}

// Paints a cancelled row struck out on its light red before the grid's own drawing.
class StornoDelegate : public QStyledItemDelegate {
public:
    StornoDelegate(TBestandsbuchGrid* grid, QAbstractItemDelegate* innen)
        : QStyledItemDelegate(grid), grid_(grid), innen_(innen)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        if (!grid_->Storniert(index.row())) {
            innen_->paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem o = option;
        painter->fillRect(o.rect, TBestandsbuchGrid::StornoFarbe);
        o.backgroundBrush = QBrush(TBestandsbuchGrid::StornoFarbe);
        o.font.setStrikeOut(true);
        painter->save();
        painter->setFont(o.font);
        innen_->paint(painter, o, index);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return innen_->sizeHint(option, index);
    }
    bool editorEvent(QEvent* e, QAbstractItemModel* m, const QStyleOptionViewItem& o,
                     const QModelIndex& i) override
    {
        return innen_->editorEvent(e, m, o, i);
    }

private:
    TBestandsbuchGrid* grid_;
    QAbstractItemDelegate* innen_;
};

const QString LeerText = QStringLiteral("< Die Liste ist leer >");

}  // namespace

const QColor TBestandsbuchGrid::StornoFarbe(255, 160, 160);

TBestandsbuchGrid::TBestandsbuchGrid(QWidget* parent) : TZRDBcxGridBovantis(parent)
{
    StatusIcons = StatusBilder(this);
    GetTableView()->setItemDelegate(new StornoDelegate(this, GetTableView()->CellDelegate()));
}

bool TBestandsbuchGrid::Storniert(int zeile) const
{
    db::DataSet* d = GetDatenmenge();
    if (!d || !d->Active() || zeile < 0 || zeile >= d->FetchedCount())
        return false;
    db::Field* f = d->FindField(QStringLiteral("BESTANDSBUCH"));
    return f && d->ValueAt(zeile, f->Index()).AsString().trimmed() == QLatin1String("S");
}

// ---- register list window

TfrmListeBestandsbuch::TfrmListeBestandsbuch(db::Database& datenbank, QWidget* parent)
    : TfrmListe(datenbank, parent)
{
    setObjectName(QStringLiteral("frmListeBestandsbuch"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new TBestandsbuchGrid(this);
    grid_->setObjectName(QStringLiteral("Grid"));
    layout->addWidget(grid_);
    grid_->SetDatenmenge(&QDaten());
    grid_->GetTableView()->SetEmptyText(LeerText);
    if (const TShell* shell = TShell::Aktuell())
        shell->ListenStyleSheet(*grid_->GetTableView());
    grid_->OnTierAnzeigen = [this](TZRDBcxGridBovantis*, int tierId) { TierAnzeigen(tierId); };

    QDaten().OnCalcFields = [this](db::DataSet& d) { Berechnen(d); };
    // An entry's rows are as high as its most lines: up to five applications, several animals.
    QAbstractItemModel* modell = grid_->GetTableView()->model();
    connect(modell, &QAbstractItemModel::modelReset, this, [this] { ZeilenhoehenAnpassen(); });
    connect(modell, &QAbstractItemModel::layoutChanged, this, [this] { ZeilenhoehenAnpassen(); });
    connect(modell, &QAbstractItemModel::rowsInserted, this, [this] { ZeilenhoehenAnpassen(); });

    actStornieren = new QAction(QStringLiteral("Stornieren"), this);
    actStornieren->setObjectName(QStringLiteral("actStornieren"));
    addAction(actStornieren);
    connect(actStornieren, &QAction::triggered, this, [this] { Stornieren(); });
    ListePopup()->insertAction(ListePopup()->actions().value(1), actStornieren);
    connect(ListePopup(), &QMenu::aboutToShow, this, [this] {
        const int zeile = grid_->GetTableView()->currentIndex().row();
        db::Field* f =
            QDaten().Active() ? QDaten().FindField(QStringLiteral("BESTANDSBUCH")) : nullptr;
        actStornieren->setEnabled(f && zeile >= 0 &&
                                  QDaten().ValueAt(zeile, f->Index()).AsString() == "B");
    });
}

TfrmListeBestandsbuch::~TfrmListeBestandsbuch()
{
    delete grid_;
}

void TfrmListeBestandsbuch::Berechnen(db::DataSet& d)
{
    const auto text = [&d](const char* feld) {
        return d.FieldByName(QLatin1String(feld)).AsString().trimmed();
    };
    d.FieldByName(QStringLiteral("ANZAHLARTNAME"))
        .SetString(Bestandsbuch::AnzahlArtName(d.FieldByName(QStringLiteral("ANZAHL")).AsInteger(),
                                               text("KNR"), text("ART"), text("NAME")));
    QStringList datum, menge, verabreichung;
    for (int i = 1; i <= 5; ++i) {
        const QString n = QStringLiteral("ANW%1_").arg(i);
        datum << Bestandsbuch::DatumText(d.FieldByName(n + QStringLiteral("DATUM")).AsDate());
        menge << d.FieldByName(n + QStringLiteral("MENGE")).AsString();
        verabreichung << d.FieldByName(n + QStringLiteral("VERAB")).AsString();
    }
    d.FieldByName(QStringLiteral("ANWDATUM")).SetString(Bestandsbuch::Zeilen(datum));
    d.FieldByName(QStringLiteral("ANWMENGE")).SetString(Bestandsbuch::Zeilen(menge));
    d.FieldByName(QStringLiteral("ANWVERABREICHUNG"))
        .SetString(Bestandsbuch::Zeilen(verabreichung));
    d.FieldByName(QStringLiteral("WARTEZEIT"))
        .SetString(Bestandsbuch::Wartezeit(d.FieldByName(QStringLiteral("WMILCH")).AsInteger(),
                                           d.FieldByName(QStringLiteral("WFLEISCH")).AsInteger()));
    d.FieldByName(QStringLiteral("AASTATUSIDX"))
        .SetInteger(Bestandsbuch::StatusIndex(
            d.FieldByName(QStringLiteral("BESTANDSBUCH")).AsString().trimmed()));
}

void TfrmListeBestandsbuch::ZeilenhoehenAnpassen()
{
    TZRcxGridDBTableView* view = grid_->GetTableView();
    QAbstractItemModel* modell = view->model();
    const int zeile = view->fontMetrics().lineSpacing();
    for (int r = 0; r < modell->rowCount(); ++r) {
        int zeilen = 1;
        for (int c = 0; c < modell->columnCount(); ++c)
            if (!view->isColumnHidden(c))
                zeilen = std::max(
                    zeilen,
                    int(grid_->Anzeigetext(modell->index(r, c)).count(QLatin1Char('\n'))) + 1);
        view->verticalHeader()->resizeSection(r, zeilen * zeile + 6);
    }
}

QString TfrmListeBestandsbuch::DatenSQL() const
{
    return Bestandsbuch::ListeSQL;
}

void TfrmListeBestandsbuch::Laden(const QDate& von, const QDate& bis)
{
    Sanduhr sanduhr;
    zeitraum_ = Bestandsbuch::Geordnet(von, bis);
    QDaten().Close();
    if (TAListe().Active())
        TAListe().Commit();
    TAListe().Start();
    QDaten().SetSelectSQL(DatenSQL());
    // Calculated fields outlive a new statement; they are added once it is known.
    if (!QDaten().FindField(QStringLiteral("AASTATUSIDX"))) {
        for (const char* feld : {"ANZAHLARTNAME", "ANWDATUM", "ANWMENGE", "ANWVERABREICHUNG"})
            QDaten().AddCalculatedField(QLatin1String(feld), db::FieldType::VarChar, 100);
        QDaten().AddCalculatedField(QStringLiteral("WARTEZEIT"), db::FieldType::VarChar, 50);
        QDaten().AddCalculatedField(QStringLiteral("AASTATUSIDX"), db::FieldType::Integer);
    }
    QDaten().Param(QStringLiteral("VON")).SetDate(zeitraum_.von);
    QDaten().Param(QStringLiteral("BIS")).SetDate(zeitraum_.bis);
    SchnellwahlSQL = Bestandsbuch::SchnellwahlSQL(zeitraum_);
    setWindowTitle(Bestandsbuch::Fenstertitel(zeitraum_));
    grid_->ListeOeffnen(Bestandsbuch::GridLayout(Bestandsbuch::Design()));
    QDaten().RecordCount();
    ZeilenhoehenAnpassen();
    Status();
}

void TfrmListeBestandsbuch::PositionMerken()
{
    gemerkteZeile_ = grid_->GetTableView()->currentIndex().row();
}

void TfrmListeBestandsbuch::PositionWiederherstellen()
{
    TZRcxGridDBTableView* view = grid_->GetTableView();
    if (gemerkteZeile_ < 0 || gemerkteZeile_ >= QDaten().RecordCount())
        return;
    const QModelIndex jetzt = view->currentIndex();
    const int spalte = jetzt.isValid() ? jetzt.column() : view->horizontalHeader()->logicalIndex(0);
    view->setCurrentIndex(view->model()->index(gemerkteZeile_, spalte));
}

int TfrmListeBestandsbuch::GetAnzahl() const
{
    if (!grid_->GetTableView() || !grid_->GetDatenmenge() || !grid_->GetDatenmenge()->Active())
        return -1;
    return grid_->GetTableView()->model()->rowCount();
}

int TfrmListeBestandsbuch::AktuelleLID()
{
    const int zeile = grid_->GetTableView()->currentIndex().row();
    if (!QDaten().Active() || zeile < 0 || zeile >= QDaten().FetchedCount())
        return 0;
    return QDaten().ValueAt(zeile, QDaten().FieldByName(QStringLiteral("LID")).Index()).AsInteger();
}

bool TfrmListeBestandsbuch::ZuTierGehenPruefen()
{
    const QString feld = grid_->TierIDFeld();
    const int zeile = grid_->GetTableView()->currentIndex().row();
    if (feld.isEmpty() || !QDaten().Active() || zeile < 0 || zeile >= QDaten().FetchedCount())
        return false;
    db::Field* f = QDaten().FindField(feld);
    if (!f)
        return false;
    const db::Value& v = QDaten().ValueAt(zeile, f->Index());
    return !v.IsNull() && v.AsInteger() >= 1;
}

void TfrmListeBestandsbuch::ZuTierGehen()
{
    grid_->TierAnzeigen();
}

void TfrmListeBestandsbuch::Drucken()
{
    BestandsbuchDrucken(QDaten().GetTransaction().GetDatabase(), false, zeitraum_.von,
                        zeitraum_.bis);
}

void TfrmListeBestandsbuch::DruckVorschau()
{
    BestandsbuchDrucken(QDaten().GetTransaction().GetDatabase(), true, zeitraum_.von,
                        zeitraum_.bis);
}

void TfrmListeBestandsbuch::Exportieren()
{
    TdmListenExport modul(QDaten().GetTransaction().GetDatabase(), this);
    const QList<QPair<QString, QString>> felder = Bestandsbuch::ExportTitel(Bestandsbuch::Design());
    modul.ListeExportieren(0, &QDaten(), &felder, 0, windowTitle());
}

void TfrmListeBestandsbuch::Stornieren()
{
    const int lid = AktuelleLID();
    if (lid <= 0)
        return;
    if (DBTools::Sicher(
            [&] { Bestandsbuch::Stornieren(QDaten().GetTransaction().GetDatabase(), lid); }))
        ListeAktualisieren();
}

// ---- booking window

TfrmBestandsbuchBuchen::TfrmBestandsbuchBuchen(db::Database& datenbank, QWidget* parent)
    : TfrmListeBestandsbuch(datenbank, parent)
{
    setObjectName(QStringLiteral("frmBestandsbuchBuchen"));
    auto* hinweis = new QLabel(Hinweis, this);
    hinweis->setWordWrap(true);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(hinweis, 1);
    const auto knopf = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        knoepfe->addWidget(b);
        return b;
    };
    btnBuchen = knopf("btnBuchen", QStringLiteral("Buchen"));
    btnLoeschen = knopf("btnLoeschen", QStringLiteral("Löschen"));
    btnHilfe = knopf("btnHilfe", QStringLiteral("Hilfe"));
    btnSchliessen = knopf("btnSchliessen", QStringLiteral("Schließen"));
    static_cast<QVBoxLayout*>(layout())->addLayout(knoepfe);
    connect(btnBuchen, &QPushButton::clicked, this, [this] { Buchen(); });
    connect(btnLoeschen, &QPushButton::clicked, this, [this] { Loeschen(); });
    connect(btnHilfe, &QPushButton::clicked, this, [] { Tools::HilfeAnzeigen(11010); });
    connect(btnSchliessen, &QPushButton::clicked, this, [this] { close(); });
    actStornieren->setVisible(false);
}

QString TfrmBestandsbuchBuchen::DatenSQL() const
{
    return Bestandsbuch::OffeneSQL;
}

void TfrmBestandsbuchBuchen::Laden(const QDate& von, const QDate& bis)
{
    TfrmListeBestandsbuch::Laden(von, bis);
    setWindowTitle(QStringLiteral("Bestandsbuch, buchen"));
    KnoepfePruefen();
}

void TfrmBestandsbuchBuchen::KnoepfePruefen()
{
    const bool zeilen = QDaten().Active() && !QDaten().IsEmpty();
    btnBuchen->setEnabled(zeilen);
    btnLoeschen->setEnabled(zeilen);
    if (zeilen && !Grid()->GetTableView()->currentIndex().isValid())
        Grid()->GetTableView()->setCurrentIndex(Grid()->GetTableView()->model()->index(
            0, Grid()->GetTableView()->horizontalHeader()->logicalIndex(0)));
}

void TfrmBestandsbuchBuchen::Buchen()
{
    const int lid = AktuelleLID();
    if (lid <= 0)
        return;
    if (!DBTools::Sicher(
            [&] { Bestandsbuch::Buchen(QDaten().GetTransaction().GetDatabase(), lid); }))
        return;
    ListeAktualisieren();
    KnoepfePruefen();
}

void TfrmBestandsbuchBuchen::Loeschen()
{
    const int lid = AktuelleLID();
    if (lid <= 0)
        return;
    if (Tools::MeldungConfirm(QStringLiteral("Wollen Sie die Behandlung wirklich löschen?")) !=
        Tools::mrYes)
        return;
    if (!DBTools::Sicher(
            [&] { Bestandsbuch::Loeschen(QDaten().GetTransaction().GetDatabase(), lid); }))
        return;
    ListeAktualisieren();
    KnoepfePruefen();
}

// ---- register dialog

TfrmBestandsbuch::TfrmBestandsbuch(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner), datenbank_(datenbank)
{
    setObjectName(QStringLiteral("frmBestandsbuch"));
    setWindowTitle(QStringLiteral("Bestandsbuch"));
    setHelpContext(11000);
    const auto knopf = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    auto* ungebucht = new QGroupBox(QStringLiteral("Ungebuchte Einträge"), this);
    auto* u = new QVBoxLayout(ungebucht);
    btnAlleBuchen = knopf("btnAlleBuchen", QStringLiteral("Alle buchen"));
    btnEinzelnBuchen = knopf("btnEinzelnBuchen", QStringLiteral("Einzeln buchen"));
    u->addWidget(btnAlleBuchen);
    u->addWidget(btnEinzelnBuchen);

    auto* zeitraum = new QGroupBox(QStringLiteral("Zeitraum"), this);
    auto* z = new QGridLayout(zeitraum);
    dtVon = new QDateEdit(this);
    dtBis = new QDateEdit(this);
    for (QDateEdit* d : {dtVon, dtBis}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    dtVon->setObjectName(QStringLiteral("dtVon"));
    dtBis->setObjectName(QStringLiteral("dtBis"));
    z->addWidget(new QLabel(QStringLiteral("von"), this), 0, 0);
    z->addWidget(dtVon, 0, 1);
    z->addWidget(new QLabel(QStringLiteral("bis"), this), 1, 0);
    z->addWidget(dtBis, 1, 1);

    auto* rechts = new QVBoxLayout;
    btnAnzeigen = knopf("btnAnzeigen", QStringLiteral("Anzeigen"));
    btnVorschau = knopf("btnVorschau", QStringLiteral("Vorschau"));
    btnDrucken = knopf("btnDrucken", QStringLiteral("Drucken"));
    btnHilfe = knopf("btnHilfe", QStringLiteral("Hilfe"));
    btnSchliessen = knopf("btnSchliessen", QStringLiteral("Schließen"));
    for (QPushButton* b : {btnAnzeigen, btnVorschau, btnDrucken, btnHilfe, btnSchliessen})
        rechts->addWidget(b);
    rechts->addStretch();

    auto* links = new QVBoxLayout;
    links->addWidget(ungebucht);
    links->addWidget(zeitraum);
    links->addStretch();
    auto* haupt = new QHBoxLayout(this);
    haupt->addLayout(links, 1);
    haupt->addLayout(rechts);

    const QDate heute = ProgDatum::Heute();
    QDate von, bis;
    if (const TEinstellungen* e = Einstellungen()) {
        von = e->GetBestandsbuchVon();
        bis = e->GetBestandsbuchBis();
    }
    dtVon->setDate(von.isValid() ? von : QDate(heute.year(), 1, 1));
    dtBis->setDate(bis.isValid() ? bis : heute);

    connect(btnAlleBuchen, &QPushButton::clicked, this, [this] { AlleBuchen(); });
    connect(btnEinzelnBuchen, &QPushButton::clicked, this, [this] { EinzelnBuchen(); });
    connect(btnAnzeigen, &QPushButton::clicked, this, [this] { Anzeigen(); });
    connect(btnVorschau, &QPushButton::clicked, this, [this] {
        const Bestandsbuch::Zeitraum zr = ZeitraumSpeichern();
        DBTools::Sicher([&] { BestandsbuchDrucken(datenbank_, true, zr.von, zr.bis); });
    });
    connect(btnDrucken, &QPushButton::clicked, this, [this] {
        const Bestandsbuch::Zeitraum zr = ZeitraumSpeichern();
        if (DBTools::Sicher([&] { BestandsbuchDrucken(datenbank_, false, zr.von, zr.bis); }))
            accept();
    });
    connect(btnHilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    connect(btnSchliessen, &QPushButton::clicked, this, [this] { reject(); });
    BuchenPruefen();
}

void TfrmBestandsbuch::BuchenPruefen()
{
    int offen = 0;
    DBTools::Sicher([&] { offen = Bestandsbuch::OffeneAnzahl(datenbank_); });
    btnAlleBuchen->setEnabled(offen > 0);
    btnEinzelnBuchen->setEnabled(offen > 0);
}

Bestandsbuch::Zeitraum TfrmBestandsbuch::ZeitraumSpeichern()
{
    const Bestandsbuch::Zeitraum z = Bestandsbuch::Geordnet(dtVon->date(), dtBis->date());
    if (TEinstellungen* e = Einstellungen()) {
        e->SetBestandsbuchVon(z.von);
        e->SetBestandsbuchBis(z.bis);
    }
    return z;
}

void TfrmBestandsbuch::AlleBuchen()
{
    const Bestandsbuch::Zeitraum z = ZeitraumSpeichern();
    DBTools::Sicher([&] {
        const int alle = Bestandsbuch::OffeneAnzahl(datenbank_);
        const int imZeitraum = Bestandsbuch::OffeneImZeitraum(datenbank_, z);
        if (Tools::MeldungConfirm(Bestandsbuch::AlleBuchenFrage(alle, imZeitraum)) != Tools::mrYes)
            return;
        Bestandsbuch::AlleBuchen(datenbank_);
    });
    BuchenPruefen();
}

void TfrmBestandsbuch::EinzelnBuchen()
{
    const Bestandsbuch::Zeitraum z = ZeitraumSpeichern();
    BestandsbuchBuchenAnzeigen(this, z.von, z.bis);
    BuchenPruefen();
}

void TfrmBestandsbuch::Anzeigen()
{
    const Bestandsbuch::Zeitraum z = ZeitraumSpeichern();
    if (BestandsbuchListeAnzeigen(z.von, z.bis, TShell::Aktuell()))
        accept();
}

void TfrmBestandsbuch::done(int r)
{
    ZeitraumSpeichern();
    TZRDialog::done(r);
}

TfrmListeBestandsbuch* BestandsbuchListeAnzeigen(const QDate& von, const QDate& bis, TShell* shell)
{
    if (!DM())
        throw std::runtime_error("Das Bestandsbuch kann ohne Datenbank nicht angezeigt werden.");
    auto* fenster = new TfrmListeBestandsbuch(DM()->Datenbank);
    QMdiSubWindow* kind = TShell::Zeigen(shell, fenster, nullptr);
    if (!DBTools::Sicher([&] { fenster->Laden(von, bis); })) {
        if (kind)
            delete kind;
        else
            delete fenster;
        return nullptr;
    }
    QTableView* view = fenster->Grid()->GetTableView();
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, fenster,
                     [fenster, view](const QPoint& p) {
                         fenster->ListePopup()->popup(view->viewport()->mapToGlobal(p));
                     });
    if (shell)
        fenster->OnStatus = [shell](TfrmListe*) { shell->ZeigeHinweis(); };
    fenster->Status();
    return fenster;
}

void BestandsbuchBuchenAnzeigen(QWidget* owner, const QDate& von, const QDate& bis)
{
    if (!DM())
        throw std::runtime_error("Das Bestandsbuch kann ohne Datenbank nicht angezeigt werden.");
    auto* fenster = new TfrmBestandsbuchBuchen(DM()->Datenbank);
    fenster->setAttribute(Qt::WA_DeleteOnClose);
    fenster->setParent(owner, Qt::Dialog);
    fenster->setWindowModality(Qt::ApplicationModal);
    fenster->showMaximized();
    if (!DBTools::Sicher([&] { fenster->Laden(von, bis); })) {
        delete fenster;
        return;
    }
    QEventLoop schleife;
    QObject::connect(fenster, &QObject::destroyed, &schleife, &QEventLoop::quit);
    schleife.exec();
}
