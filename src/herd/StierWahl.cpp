#include "StierWahl.h"

#include "BullenFelder.h"
#include "BullenLogik.h"
#include "BullenStammdaten.h"

#include <Datenmodul.h>
#include <DBTools.h>

#include <AMCbRb.h>
#include <Error.h>
#include <Meldung.h>
#include <Sanduhr.h>
#include <ZRDBcxGrid.h>
#include <ZRFilterEdit.h>
#include <ZRcxGridDBTableView.h>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

db::Database& Datenbank()
{
    if (!DM())
        throw db::Error(QStringLiteral("Es besteht keine Verbindung zur Datenbank."));
    return DM()->Datenbank;
}

const QString BullenSichtbar = QStringLiteral(
    "SELECT ID, NAME STIER, HBNR NUMMER, LETZTE_VERWENDUNG\rFROM T_BULLEN_STAMM WHERE SICHTBAR = "
    "'T' ORDER BY NAME, HBNR");
const QString BullenAlle = QStringLiteral(
    "SELECT ID, NAME STIER, HBNR NUMMER, LETZTE_VERWENDUNG\rFROM T_BULLEN_STAMM ORDER BY NAME, "
    "HBNR");

}  // namespace

TfrmStierWahl::TfrmStierWahl(QWidget* owner) : TfrmStierWahl(owner, QStringLiteral("Stier Wahl"))
{
    liste_.SetSelectSQL(QStringLiteral(
        "SELECT STIER, NUMMER, LETZTE_VERWENDUNG FROM V_STIER_WAHL ORDER BY STIER, NUMMER"));
    setObjectName(QStringLiteral("frmStierWahl"));
    ListeOeffnen();
    gruppe_->setTitle(QStringLiteral("Stiere"));
    ansicht_->SetEmptyText(QStringLiteral("< Keine Stiere in der Auswahl >"));
    SpaltenEinrichten();
}

TfrmStierWahl::TfrmStierWahl(QWidget* owner, const QString& titel)
    : TZRDialog(owner),
      ta_(Datenbank(), QStringLiteral("TAStierWahl"),
          {db::TransactionOptions::ReadCommitted, true}),
      liste_(ta_)
{
    setWindowTitle(titel);
    Aufbauen();
}

TfrmStierWahl::~TfrmStierWahl()
{
    liste_.Close();
}

void TfrmStierWahl::Aufbauen()
{
    gruppe_ = new QGroupBox(this);
    suche_ = new TZRFilterEdit(this);
    suche_->setPlaceholderText(QStringLiteral("Suchen"));
    suche_->SetDataSet(&liste_);
    gitter_ = new TZRDBcxGrid(gruppe_);
    ansicht_ = qobject_cast<TZRcxGridDBTableView*>(gitter_->ActiveView());
    if (!ansicht_)
        ansicht_ = gitter_->CreateView<TZRcxGridDBTableView>(QStringLiteral("Liste"));
    ansicht_->setObjectName(QStringLiteral("Liste"));
    ansicht_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    ok_->setDefault(true);

    auto* innen = new QVBoxLayout(gruppe_);
    innen->addWidget(suche_);
    innen->addWidget(gitter_);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->setObjectName(QStringLiteral("Knoepfe"));
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gruppe_);
    layout->addLayout(knoepfe);
    gitter_->setMinimumSize(380, 300);

    liste_.OnFilterRecord = [this](db::DataSet& ds) {
        return Bullen::Passt(suchtext_, ds.FieldByName(QStringLiteral("STIER")).AsString(),
                             ds.FieldByName(QStringLiteral("NUMMER")).AsString());
    };
    connect(suche_, &TZRFilterEdit::OnBeforeFilter, this,
            [this] { suchtext_ = Bullen::Suchtext(suche_->text()); });
    connect(suche_, &TZRFilterEdit::OnSelect, this, &TfrmStierWahl::Waehlen);
    connect(ansicht_, &QAbstractItemView::doubleClicked, this, &TfrmStierWahl::Waehlen);
    connect(ok_, &QPushButton::clicked, this, &TfrmStierWahl::Waehlen);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmStierWahl::reject);
}

void TfrmStierWahl::ListeOeffnen()
{
    Sanduhr sanduhr;
    if (!ta_.Active())
        ta_.Start();
    liste_.Open();
    liste_.RecordCount();
}

void TfrmStierWahl::SpaltenEinrichten()
{
    liste_.FieldByName(QStringLiteral("STIER")).DisplayLabel = QStringLiteral("Stier");
    liste_.FieldByName(QStringLiteral("NUMMER")).DisplayLabel = QStringLiteral("HB Nr.");
    liste_.FieldByName(QStringLiteral("LETZTE_VERWENDUNG")).DisplayLabel =
        QStringLiteral("l. Verwendung");
    if (db::Field* id = liste_.FindField(QStringLiteral("ID")))
        id->Visible = false;
    ansicht_->SetDataSet(&liste_);
    SpaltenFolge(*ansicht_, {});
}

void TfrmStierWahl::Waehlen()
{
    if (liste_.Active() && !liste_.IsEmpty())
        accept();
}

void TfrmStierWahl::Positionieren(const QString& stier)
{
    if (stier.trimmed().isEmpty() || !liste_.Active())
        return;
    liste_.Locate(QStringLiteral("STIER"), {stier.trimmed()}, true, true);
}

QString TfrmStierWahl::Stier()
{
    return liste_.Active() && !liste_.IsEmpty()
               ? liste_.FieldByName(QStringLiteral("STIER")).AsString().trimmed()
               : QString();
}

QString TfrmStierWahl::Nummer()
{
    return liste_.Active() && !liste_.IsEmpty()
               ? liste_.FieldByName(QStringLiteral("NUMMER")).AsString().trimmed()
               : QString();
}

TfrmBullenWahl::TfrmBullenWahl(QWidget* owner)
    : TfrmStierWahl(owner, QStringLiteral("Bullen Wahl")),
      unsichtbare_(new TAMCheckBox(this)),
      stammdaten_(new QPushButton(QStringLiteral("Bullen Stammdaten"), this))
{
    unsichtbare_->setText(QStringLiteral("unsichtbare Bullen anzeigen"));
    liste_.SetSelectSQL(BullenSichtbar);
    setObjectName(QStringLiteral("frmBullenWahl"));
    ListeOeffnen();
    Gruppe()->setTitle(QStringLiteral("Bullen"));
    Ansicht()->SetEmptyText(QStringLiteral("< Keine Bullen in der Auswahl >"));
    SpaltenEinrichten();
    if (auto* knoepfe = findChild<QHBoxLayout*>(QStringLiteral("Knoepfe"))) {
        knoepfe->insertWidget(0, unsichtbare_);
        knoepfe->insertWidget(1, stammdaten_);
    }
    connect(unsichtbare_, &QCheckBox::toggled, this,
            [this] { DBTools::Sicher([&] { ListeLaden(); }); });
    connect(stammdaten_, &QPushButton::clicked, this, [this] {
        DBTools::Sicher([&] {
            {
                TfrmBullenStammdaten stamm(this);
                stamm.exec();
            }
            ListeLaden();
        });
    });
}

void TfrmBullenWahl::ListeLaden()
{
    const int id = BulleID();
    if (ta_.Active())
        ta_.Commit();
    liste_.Close();
    liste_.SetSelectSQL(unsichtbare_->isChecked() ? BullenAlle : BullenSichtbar);
    ListeOeffnen();
    if (id > 0)
        Positionieren(id);
}

bool TfrmBullenWahl::Positionieren(int bulleID)
{
    return liste_.Active() && DBTools::LocateInteger(liste_, QStringLiteral("ID"), bulleID, true);
}

int TfrmBullenWahl::BulleID()
{
    return liste_.Active() && !liste_.IsEmpty()
               ? liste_.FieldByName(QStringLiteral("ID")).AsInteger()
               : 0;
}

namespace FStierWahl {

bool StierWaehlen(QWidget* owner, const QString& vorgabe, QString& stier, QString& nummer)
{
    TfrmStierWahl wahl(owner);
    wahl.Positionieren(vorgabe);
    if (wahl.exec() != QDialog::Accepted)
        return false;
    stier = wahl.Stier();
    nummer = wahl.Nummer();
    return true;
}

}  // namespace FStierWahl

namespace FBullenWahl {

bool BulleWaehlen(QWidget* owner, int& bulleID)
{
    TfrmBullenWahl wahl(owner);
    wahl.Positionieren(bulleID);
    if (wahl.exec() != QDialog::Accepted || wahl.BulleID() <= 0)
        return false;
    bulleID = wahl.BulleID();
    return true;
}

}  // namespace FBullenWahl
