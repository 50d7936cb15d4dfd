#include "FSuchmasken.h"

#include "ListenKodierung.h"
#include "SuchmaskenLogik.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <SilentAbort.h>
#include <Stammdaten.h>
#include <TierWahl.h>
#include <ZREditGrid.h>

#include <Database.h>
#include <Error.h>
#include <Meldung.h>
#include <Query.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString StandardBasis = QStringLiteral("V_TIERWAHL_BASIS");
const QString NameFehlt = QStringLiteral("Sie müssen eine Bezeichnung für die Maske eingeben.");

bool IstEnter(const QKeyEvent* taste)
{
    return taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter;
}

}  // namespace

TfrmSuchmasken::TfrmSuchmasken(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      transaktion_(datenbank, QStringLiteral("TASuchmasken")),
      bezeichnung_(new QLineEdit(this)),
      basis_(new QComboBox(this)),
      filter_(new TZREditGrid(this)),
      liste_(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmSuchmasken"));
    setWindowTitle(QStringLiteral("Suchmasken"));
    setHelpContext(HilfeKontext);
    bezeichnung_->setObjectName(QStringLiteral("Bezeichnung"));
    bezeichnung_->setMaxLength(30);
    basis_->setObjectName(QStringLiteral("Basis"));
    basis_->setMaxVisibleItems(10);
    basis_->view()->setMinimumWidth(180);
    filter_->setObjectName(QStringLiteral("Filter"));
    liste_->setObjectName(QStringLiteral("Liste"));
    liste_->setSelectionBehavior(QAbstractItemView::SelectRows);

    // Wider than 80/80/140/40: the pick-list button would cut "nicht in Liste" and "oder".
    const auto spalte = [this](const QString& titel, int breite, int typ) {
        TZRColumnsItem& s = filter_->SpalteHinzufuegen();
        s.SetTitle(titel);
        s.SetWidth(breite);
        s.SetEditType(typ);
        s.SetDropDownRows(15);
        return &s;
    };
    spalte(QStringLiteral("Filter"), 110, 5)->PickList() =
        ListenKodierung::Angezeigt(ListenKodierung::MaskenFelder());
    spalte(QStringLiteral("Operator"), 120, 5)->PickList() =
        ListenKodierung::Angezeigt(ListenKodierung::MaskenOperatoren());
    spalte(QStringLiteral("Bedingung"), 140, 1);
    spalte(QStringLiteral("Verk."), 65, 5)->PickList() =
        ListenKodierung::Angezeigt(ListenKodierung::Verknuepfungen());

    const auto knopf = [this](const char* name, const QString& text) {
        auto* k = new QPushButton(text, this);
        k->setObjectName(QLatin1String(name));
        k->setAutoDefault(false);
        return k;
    };
    QPushButton* speichern = knopf("Speichern", QStringLiteral("Speichern"));
    QPushButton* neueMaske = knopf("NeueMaske", QStringLiteral("Neue\nMaske"));
    QPushButton* maskeLoeschen = knopf("MaskeLoeschen", QStringLiteral("Maske\nlöschen"));
    for (QPushButton* k : {neueMaske, maskeLoeschen})
        k->setMinimumHeight(k->fontMetrics().height() * 2 + 14);
    QPushButton* hilfe = knopf("Hilfe", QStringLiteral("Hilfe"));
    QPushButton* schliessen = knopf("Schliessen", QStringLiteral("Schließen"));
    QPushButton* test = knopf("Test", QStringLiteral("Test"));
    QPushButton* hinzu = knopf("FilterHinzu", QStringLiteral("Filter hinzufügen"));
    QPushButton* entfernen = knopf("FilterEntfernen", QStringLiteral("Filter entfernen"));
    QPushButton* auf = knopf("EintragAuf", QStringLiteral("▲"));
    auf->setToolTip(QStringLiteral("Eintrag nach oben schieben"));
    QPushButton* ab = knopf("EintragAb", QStringLiteral("▼"));
    ab->setToolTip(QStringLiteral("Eintrag nach unten schieben"));

    auto* links = new QVBoxLayout;
    links->addWidget(new QLabel(QStringLiteral("Suchmasken:"), this));
    auto* listeZeile = new QHBoxLayout;
    listeZeile->addWidget(liste_, 1);
    auto* reihung = new QVBoxLayout;
    reihung->addWidget(auf);
    reihung->addWidget(ab);
    reihung->addStretch(1);
    listeZeile->addLayout(reihung);
    links->addLayout(listeZeile, 1);
    auto* maskenKnoepfe = new QHBoxLayout;
    maskenKnoepfe->addWidget(neueMaske);
    maskenKnoepfe->addWidget(maskeLoeschen);
    links->addLayout(maskenKnoepfe);

    auto* rechts = new QVBoxLayout;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Bezeichnung:"), bezeichnung_);
    form->addRow(QStringLiteral("Basis-Ansicht:"), basis_);
    rechts->addLayout(form);
    rechts->addWidget(filter_, 1);
    auto* filterKnoepfe = new QHBoxLayout;
    filterKnoepfe->addWidget(hinzu);
    filterKnoepfe->addWidget(entfernen);
    filterKnoepfe->addStretch(1);
    filterKnoepfe->addWidget(test);
    rechts->addLayout(filterKnoepfe);

    auto* oben = new QHBoxLayout;
    oben->addLayout(links);
    oben->addLayout(rechts, 1);
    auto* unten = new QHBoxLayout;
    unten->addStretch(1);
    unten->addWidget(speichern);
    unten->addWidget(schliessen);
    unten->addWidget(hilfe);
    auto* haupt = new QVBoxLayout(this);
    haupt->addLayout(oben, 1);
    haupt->addLayout(unten);
    liste_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Jungrinder weiblich")) *
                            3 / 2);
    resize(860, 420);

    const auto sicher = [this](void (TfrmSuchmasken::*aktion)()) {
        return [this, aktion] { DBTools::Sicher([&] { (this->*aktion)(); }); };
    };
    connect(speichern, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([&] { MaskeSpeichern(false); }); });
    connect(neueMaske, &QPushButton::clicked, this, sicher(&TfrmSuchmasken::NeueMaske));
    connect(maskeLoeschen, &QPushButton::clicked, this, sicher(&TfrmSuchmasken::MaskeLoeschen));
    connect(test, &QPushButton::clicked, this, sicher(&TfrmSuchmasken::Testen));
    connect(hinzu, &QPushButton::clicked, this, sicher(&TfrmSuchmasken::FilterHinzu));
    connect(entfernen, &QPushButton::clicked, this, sicher(&TfrmSuchmasken::FilterEntfernen));
    connect(auf, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([&] { Verschieben(true); }); });
    connect(ab, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([&] { Verschieben(false); }); });
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    connect(schliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(liste_, &QListWidget::itemDoubleClicked, this, [this] {
        DBTools::Sicher([&] {
            const int id = ListenID();
            if (id <= 0 || (id == maskeId_ && !neu_))
                return;
            MaskeSpeichern(false);
            MaskeLaden(false, id);
        });
    });
    filter_->OnKeyPress = [this](TZRCustomGrid*, QKeyEvent* taste) {
        return FilterKeyPress(taste);
    };

    transaktion_.Start();
    ListeLaden(0);
    AnsichtenLaden();
    MaskeLaden(true, ListenID());
}

TfrmSuchmasken::~TfrmSuchmasken()
{
    if (transaktion_.Active())
        transaktion_.Rollback();
}

QPushButton* TfrmSuchmasken::Knopf(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

void TfrmSuchmasken::AnsichtenLaden()
{
    const QString gewaehlt = basis_->currentData().toString();
    basis_->clear();
    db::Query q(transaktion_, QStringLiteral("select * from T_TIERWAHL_VIEWS"));
    for (q.Open(); !q.Eof(); q.Next())
        basis_->addItem(q.Field(QStringLiteral("TITEL")).AsString(),
                        q.Field(QStringLiteral("SICHT")).AsString().trimmed());
    basis_->setCurrentIndex(basis_->findData(gewaehlt));
}

void TfrmSuchmasken::ListeLaden(int id)
{
    const int gemerkt = ListenID();
    liste_->clear();
    listenIDs_.clear();
    reihungen_.clear();
    db::Query q(transaktion_,
                QStringLiteral("select ID, NAME, REIHUNG from T_MASKEN order by REIHUNG"));
    for (q.Open(); !q.Eof(); q.Next()) {
        listenIDs_ << q.Field(0).AsInteger();
        liste_->addItem(q.Field(1).AsString());
        reihungen_ << q.Field(2).AsInteger();
    }
    int zeile = int(listenIDs_.indexOf(id));
    if (zeile < 0)
        zeile = int(listenIDs_.indexOf(gemerkt));
    if (zeile < 0 && !listenIDs_.isEmpty())
        zeile = 0;
    liste_->setCurrentRow(zeile);
    FreigabeAktualisieren();
}

int TfrmSuchmasken::ListenID() const
{
    const int zeile = liste_->currentRow();
    return zeile >= 0 && zeile < listenIDs_.size() ? listenIDs_[zeile] : 0;
}

void TfrmSuchmasken::MaskeLaden(bool festschreiben, int id)
{
    const int gemerkt = ListenID();
    if (id == -1)
        id = maskeId_;
    if (festschreiben) {
        transaktion_.Commit();
        transaktion_.Start();
        AnsichtenLaden();
        MaskeAnzeigen(id);
        ListeLaden(id > 0 ? id : gemerkt);
    } else {
        MaskeAnzeigen(id);
        const int zeile = int(listenIDs_.indexOf(id > 0 ? id : gemerkt));
        if (zeile >= 0)
            liste_->setCurrentRow(zeile);
    }
}

void TfrmSuchmasken::MaskeAnzeigen(int id)
{
    neu_ = false;
    maskeId_ = 0;
    gespeichert_ = {};
    db::Query q(transaktion_,
                QStringLiteral("select NAME, BASIS, BEDINGUNGEN from T_MASKEN where ID = :MASKE"));
    q.Param(QStringLiteral("MASKE")).SetInteger(id);
    q.Open();
    if (!q.Eof()) {
        maskeId_ = id;
        gespeichert_ = {q.Field(0).AsString(), q.Field(1).AsString().trimmed(),
                        q.Field(2).AsString()};
    }
    bezeichnung_->setText(gespeichert_.name);
    basis_->setCurrentIndex(basis_->findData(gespeichert_.basis));
    filter_->BeginUpdate();
    filter_->Items().Clear();
    for (const QStringList& z : Suchmasken::FilterZeilen(gespeichert_.bedingungen)) {
        TZREditItem& zeile = filter_->Items().Add();
        for (int c = 0; c < z.size(); ++c)
            zeile.SetZelle(c, z.at(c));
    }
    filter_->EndUpdate(true);
    filter_->SetCell(0, 1);
    FreigabeAktualisieren();
}

void TfrmSuchmasken::FreigabeAktualisieren()
{
    const bool maske = MaskeVorhanden();
    bezeichnung_->setEnabled(maske);
    basis_->setEnabled(maske);
    for (const char* name :
         {"Speichern", "MaskeLoeschen", "Test", "FilterHinzu", "FilterEntfernen"})
        Knopf(QLatin1String(name))->setEnabled(maske);
    for (const char* name : {"EintragAuf", "EintragAb"})
        Knopf(QLatin1String(name))->setEnabled(maske && !neu_ && listenIDs_.size() > 1);
}

QList<QStringList> TfrmSuchmasken::FilterZeilen() const
{
    QList<QStringList> zeilen;
    for (int i = 0; i < filter_->Items().Count(); ++i)
        zeilen << filter_->Items().GetItem(i).Zellen;
    return zeilen;
}

bool TfrmSuchmasken::Geaendert() const
{
    return neu_ || bezeichnung_->text() != gespeichert_.name ||
           basis_->currentData().toString() != gespeichert_.basis ||
           Suchmasken::BedingungenErstellen(FilterZeilen()) != gespeichert_.bedingungen;
}

bool TfrmSuchmasken::MaskePruefen()
{
    // Without a mask there is nothing to check: the first mask can be begun on an empty table.
    if (!MaskeVorhanden())
        return true;
    try {
        db::Query w(transaktion_, QStringLiteral("SELECT * FROM P_GEN_SQL_MASKEN(:B)"));
        w.Param(QStringLiteral("B")).SetString(Suchmasken::BedingungenErstellen(FilterZeilen()));
        w.Open();
        const QString bedingung = w.Eof() ? QString() : w.Field(0).AsString();
        w.Close();
        db::Query probe(transaktion_, QStringLiteral("SELECT * FROM ") +
                                          basis_->currentData().toString() + QStringLiteral(" T") +
                                          bedingung);
        probe.Open();
        probe.Close();
    } catch (const std::exception& e) {
        const auto* dbFehler = dynamic_cast<const db::Error*>(&e);
        Tools::MeldungError(
            QStringLiteral(
                "Die Filtereinstellungen sind möglicherweise falsch.\rDie Suchmaske kann "
                "nicht angewendet werden.\r\rFehler: ") +
            (dbFehler ? QStringLiteral("EDatenbankFehler") : QStringLiteral("Exception")) +
            QStringLiteral("\r") + (dbFehler ? dbFehler->Message() : QString::fromUtf8(e.what())));
        return false;
    }
    return true;
}

void TfrmSuchmasken::MaskeSpeichern(bool behalten)
{
    if (!MaskeVorhanden())
        return;
    if (!MaskePruefen()) {
        verwerfen_ = false;
        throw SilentAbort();
    }
    try {
        if (!Geaendert())
            return;
        BezeichnungPruefen();
        Posten();
    } catch (...) {
        if (!behalten)
            verwerfen_ = false;
        throw;
    }
}

void TfrmSuchmasken::BezeichnungPruefen()
{
    if (imNamensdialog_ || !bezeichnung_->text().trimmed().isEmpty())
        return;
    imNamensdialog_ = true;
    struct Ende {
        bool& f;
        ~Ende() { f = false; }
    } ende{imNamensdialog_};
    if (neu_) {
        if (Tools::MeldungConfirm(
                NameFehlt + QStringLiteral(
                                "\r\rWollen Sie die Bearbeitung der neuen Maske rückgängig "
                                "machen?\rDie eingegebenen Daten werden dann nicht gespeichert!"),
                1) == Tools::mrYes) {
            transaktion_.RollbackRetaining();
            verwerfen_ = true;
            MaskeAnzeigen(ListenID());
        }
    } else if (!FMeldungErrorEdit::MeldungErrorEdit(
                   NameFehlt + QStringLiteral("\r\rDrücken Sie auf Rückgängig, um die gesamte "
                                              "\rBearbeitung rückgängig zu machen.")) &&
               Tools::MeldungConfirm(
                   QStringLiteral(
                       "Wollen Sie wirklich die Bearbeitung der Maske rückgängig "
                       "machen?\rAlle durchgeführten Änderungen werden dabei verworfen!"),
                   1) == Tools::mrYes) {
        transaktion_.RollbackRetaining();
        MaskeAnzeigen(maskeId_);
    }
    if (bezeichnung_->isEnabled())
        bezeichnung_->setFocus();
    throw SilentAbort();
}

void TfrmSuchmasken::Posten()
{
    const QString bedingungen = Suchmasken::BedingungenErstellen(FilterZeilen());
    const QString name = bezeichnung_->text().trimmed();
    try {
        if (neu_) {
            db::Query q(transaktion_,
                        QStringLiteral("INSERT INTO T_MASKEN (NAME, REIHUNG, BASIS, BEDINGUNGEN) "
                                       "VALUES (:NAME, :REIHUNG, :BASIS, :BEDINGUNGEN) "
                                       "RETURNING ID"));
            q.Param(QStringLiteral("NAME")).SetString(name);
            q.Param(QStringLiteral("REIHUNG")).SetInteger(neueReihung_);
            q.Param(QStringLiteral("BASIS")).SetString(basis_->currentData().toString());
            q.Param(QStringLiteral("BEDINGUNGEN")).SetString(bedingungen);
            q.Execute();
            maskeId_ = q.Field(0).AsInteger();
            neu_ = false;
        } else {
            db::Query q(transaktion_, QStringLiteral("UPDATE T_MASKEN SET NAME = :NAME, BASIS = "
                                                     ":BASIS, BEDINGUNGEN = :BEDINGUNGEN WHERE "
                                                     "ID = :ID"));
            q.Param(QStringLiteral("NAME")).SetString(name);
            q.Param(QStringLiteral("BASIS")).SetString(basis_->currentData().toString());
            q.Param(QStringLiteral("BEDINGUNGEN")).SetString(bedingungen);
            q.Param(QStringLiteral("ID")).SetInteger(maskeId_);
            q.Execute();
        }
    } catch (const db::Error& e) {
        QString text;
        if (DBTools::DBFehlerText(e, text))
            DBTools::DBFehlerMelden(bezeichnung_, text);
        throw;
    }
    // Every stored mask is committed at once.
    MaskeLaden(true, -1);
}

void TfrmSuchmasken::NeueMaske()
{
    MaskeSpeichern(false);
    neu_ = true;
    maskeId_ = 0;
    neueReihung_ = DM()->SQLWertInteger(
        transaktion_,
        QStringLiteral("SELECT FIRST 1 GEN_ID(G_MASKEN_REIHUNG, 1) FROM RDB$DATABASE"));
    gespeichert_ = {};
    bezeichnung_->clear();
    basis_->setCurrentIndex(basis_->findData(StandardBasis));
    filter_->BeginUpdate();
    filter_->Items().Clear();
    filter_->EndUpdate(true);
    liste_->clearSelection();
    FreigabeAktualisieren();
    bezeichnung_->setFocus();
}

void TfrmSuchmasken::MaskeLoeschen()
{
    if (neu_) {
        MaskeAnzeigen(ListenID());
        return;
    }
    if (maskeId_ <= 0 || Tools::MeldungConfirm(QStringLiteral("Wollen Sie die Maske wirklich "
                                                              "löschen?"),
                                               1) != Tools::mrYes)
        return;
    try {
        db::Query q(transaktion_, QStringLiteral("DELETE FROM T_MASKEN WHERE ID = :ID"));
        q.Param(QStringLiteral("ID")).SetInteger(maskeId_);
        q.Execute();
    } catch (const db::Error& e) {
        QString text;
        if (DBTools::DBFehlerText(e, text))
            DBTools::DBFehlerMelden(nullptr, text);
        throw;
    }
    const int zeile = liste_->currentRow();
    ListeLaden(0);
    if (zeile >= 0 && zeile < listenIDs_.size())
        liste_->setCurrentRow(zeile);
    else if (!listenIDs_.isEmpty())
        liste_->setCurrentRow(int(listenIDs_.size()) - 1);
    MaskeLaden(false, ListenID());
}

void TfrmSuchmasken::Testen()
{
    MaskeSpeichern(false);
    MaskeLaden(true, -1);
    int tier = 0;
    QString schnellwahl;
    FTierWahl::TierWaehlen(this, 0, tier, schnellwahl);
}

void TfrmSuchmasken::Verschieben(bool auf)
{
    MaskeSpeichern(false);
    const int zeile = liste_->currentRow();
    if (zeile < 0)
        return;
    const int a = listenIDs_[zeile];
    const int ziel = zeile + (auf ? -1 : 1);
    struct Laden {
        TfrmSuchmasken& f;
        int a;
        ~Laden()
        {
            DBTools::Sicher([&] { f.MaskeLaden(true, a); });
        }
    } laden{*this, a};
    if (ziel < 0 || ziel >= listenIDs_.size())
        return;
    const int frei =
        DM()->SQLWertInteger(transaktion_, QStringLiteral("SELECT MIN(REIHUNG) FROM T_MASKEN")) - 1;
    try {
        for (const Suchmasken::Reihung& r :
             Suchmasken::Tauschen(a, reihungen_[zeile], listenIDs_[ziel], reihungen_[ziel], frei)) {
            db::Query q(transaktion_,
                        QStringLiteral("UPDATE T_MASKEN SET REIHUNG = :REIHUNG WHERE ID = :ID"));
            q.Param(QStringLiteral("REIHUNG")).SetInteger(r.wert);
            q.Param(QStringLiteral("ID")).SetInteger(r.maske);
            q.Execute();
        }
    } catch (...) {
        // A half-done exchange is not kept: the order stays as it was.
        transaktion_.RollbackRetaining();
        throw;
    }
}

void TfrmSuchmasken::PickListeOeffnen()
{
    // The editor of the new current cell appears once the events are through.
    QTimer::singleShot(
        0, filter_, [g = filter_] { QTimer::singleShot(0, g, [g] { g->SetDroppedDown(true); }); });
}

void TfrmSuchmasken::FilterHinzu()
{
    TZREditItems& zeilen = filter_->Items();
    if (zeilen.Count() > 0) {
        TZREditItem& letzte = zeilen.GetItem(zeilen.Count() - 1);
        if (letzte.Zellen.value(3).isEmpty())
            letzte.SetZelle(3, ListenKodierung::Verknuepfungen().at(1).angezeigt);
    }
    filter_->ZeileHinzufuegen();
    filter_->SetCell(0, zeilen.Count());
    filter_->setFocus();
    PickListeOeffnen();
}

void TfrmSuchmasken::FilterEntfernen()
{
    if (filter_->Items().Count() == 0)
        return;
    const int zeile = filter_->Row();
    const int spalte = filter_->Col();
    filter_->Items().Delete(zeile - 1);
    if (filter_->Items().Count() > 0)
        filter_->SetCell(spalte, std::min(zeile, filter_->Items().Count()));
}

bool TfrmSuchmasken::FilterKeyPress(QKeyEvent* taste)
{
    if (!IstEnter(taste))
        return false;
    TZREditGrid& g = *filter_;
    const int zeile = g.Row();
    if (zeile < 1 || zeile > g.Items().Count())
        return true;
    const auto operatorLeer = [&g](int z) {
        return g.Items().GetItem(z - 1).Zellen.value(1).isEmpty();
    };
    switch (g.Col()) {
        case 0:
        case 2:
            g.SetCell(g.Col() + 1, zeile);
            if (operatorLeer(zeile))
                PickListeOeffnen();
            break;
        case 1:
            g.SetCell(2, zeile);
            break;
        default:
            if (zeile < g.Items().Count()) {
                g.SetCell(0, zeile + 1);
                if (operatorLeer(zeile + 1))
                    PickListeOeffnen();
            } else if (Tools::MeldungConfirm(QStringLiteral("Weitere Einschränkung eingeben?"),
                                             0) == Tools::mrYes) {
                FilterHinzu();
            } else {
                focusNextChild();
            }
    }
    return true;
}

bool TfrmSuchmasken::SchliessenErlaubt()
{
    if (verwerfen_)
        return true;
    if (MaskePruefen()) {
        try {
            MaskeSpeichern(true);
            if (transaktion_.Active())
                transaktion_.Commit();
            return true;
        } catch (...) {
            // What went wrong was shown inside the step.
            return verwerfen_;
        }
    }
    return Tools::MeldungConfirm(QStringLiteral("Wollen Sie die geänderten Daten verwerfen und "
                                                "den Dialog beenden?"),
                                 1) == Tools::mrYes;
}

void TfrmSuchmasken::done(int result)
{
    if (!SchliessenErlaubt())
        return;
    if (transaktion_.Active())
        transaktion_.Rollback();
    TZRDialog::done(result);
}
