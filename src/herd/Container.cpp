#include "Container.h"

#include "BullenFelder.h"
#include "ContainerDialoge.h"
#include "ContainerLogik.h"
#include "Stammdaten.h"

#include <BesamungFunc.h>
#include <DBTools.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>

#include <Error.h>
#include <Meldung.h>
#include <Sanduhr.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

db::Database& Datenbank()
{
    if (!DM())
        throw db::Error(QStringLiteral("Es besteht keine Verbindung zur Datenbank."));
    return DM()->Datenbank;
}

void Beschriften(db::DataSet& ds, std::initializer_list<std::pair<const char*, const char*>> l)
{
    for (const auto& [feld, titel] : l)
        ds.FieldByName(QString::fromLatin1(feld)).DisplayLabel = QString::fromUtf8(titel);
}

void Verbergen(db::DataSet& ds, std::initializer_list<const char*> felder)
{
    for (const char* feld : felder)
        ds.FieldByName(QString::fromLatin1(feld)).Visible = false;
}

}  // namespace

TfrmContainer::TfrmContainer(QWidget* owner)
    : TZRDialog(owner),
      taContainer_(Datenbank(), QStringLiteral("TAContainer")),
      taContainerEdit_(Datenbank(), QStringLiteral("TAContainerEdit")),
      lieferungen_(taContainer_),
      portionen_(taContainer_),
      verwendungen_(taContainer_)
{
    setObjectName(QStringLiteral("frmContainer"));
    setWindowTitle(QStringLiteral("Besamungscontainer"));
    setHelpContext(HilfeKontext);
    setBorderStyle(bsSizeable);

    lieferungen_.SetSelectSQL(QStringLiteral("select * from T_CONTAINER_LIEFERUNG order by DATUM"));
    portionen_.SetSelectSQL(QStringLiteral(
        "SELECT P.ID, B.NAME, B.HBNR, B.PRUEFBULLE_BIS, P.STATION, P.ANZAHL_GESAMT, "
        "P.ANZAHL_GESAMT - (SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG V1 WHERE "
        "V1.PORTIONSTEILUNG = 'F' AND V1.PORTION = P.ID) - (SELECT COUNT(*) FROM "
        "T_CONTAINER_VERWENDUNG V1 WHERE V1.PORTIONSTEILUNG <> 'F' AND V1.PORTION = P.ID) / 2.0 "
        "ANZAHL_VORHANDEN, P.EJAKULAT_NR, P.BEHAELTER, P.KOSTEN FROM T_CONTAINER_PORTION P JOIN "
        "T_BULLEN_STAMM B ON P.BULLE = B.ID WHERE P.LIEFERUNG = :ID"));
    verwendungen_.SetSelectSQL(QStringLiteral(
        "SELECT V.ID, V.ART, V.DATUM, V.PORTIONSTEILUNG, B.BESAMUNGSSCHEIN_NR, S.NUMMER, (SELECT "
        "KNRDISPLAY FROM P_GET_KNR(S.KNR)) KNR, S.NAME, S.ID TIER FROM T_CONTAINER_VERWENDUNG V "
        "LEFT JOIN (T_BESAMUNGEN B JOIN T_STAMMDATEN S ON B.TIER = S.ID) ON V.BESAMUNG = B.ID "
        "WHERE V.PORTION = :ID ORDER BY V.DATUM, V.ART"));

    taContainer_.Start();
    portionen_.AddCalculatedField(QStringLiteral("STATION_TEXT"), db::FieldType::VarChar, 40);
    portionen_.OnCalcFields = [](db::DataSet& ds) {
        ds.FieldByName(QStringLiteral("STATION_TEXT"))
            .SetString(
                Container::StationText(ds.FieldByName(QStringLiteral("STATION")).AsString()));
    };
    verwendungen_.AddCalculatedField(QStringLiteral("ART_TEXT"), db::FieldType::VarChar, 20);
    verwendungen_.AddCalculatedField(QStringLiteral("TEILUNG_TEXT"), db::FieldType::VarChar, 20);
    verwendungen_.OnCalcFields = [](db::DataSet& ds) {
        ds.FieldByName(QStringLiteral("ART_TEXT"))
            .SetString(Container::ArtText(ds.FieldByName(QStringLiteral("ART")).AsString()));
        ds.FieldByName(QStringLiteral("TEILUNG_TEXT"))
            .SetString(Container::TeilungText(
                ds.FieldByName(QStringLiteral("PORTIONSTEILUNG")).AsString()));
    };
    Beschriften(lieferungen_, {{"DATUM", "Datum"}, {"BEMERKUNG", "Bemerkung"}});
    Verbergen(lieferungen_, {"ID", "PALM_AGE", "PALM_ID"});
    Beschriften(portionen_, {{"NAME", "Bulle"},
                             {"HBNR", "HB. Nr."},
                             {"PRUEFBULLE_BIS", "Prüfbulle bis"},
                             {"ANZAHL_GESAMT", "Anz. Gesamt"},
                             {"ANZAHL_VORHANDEN", "noch vorhanden"},
                             {"EJAKULAT_NR", "Ejakulat Nr."},
                             {"BEHAELTER", "Behälter"},
                             {"KOSTEN", "Kosten"},
                             {"STATION_TEXT", "Station"}});
    Verbergen(portionen_, {"ID", "STATION"});
    portionen_.FieldByName(QStringLiteral("ANZAHL_VORHANDEN")).DisplayFormat =
        QStringLiteral("0.0");
    portionen_.FieldByName(QStringLiteral("KOSTEN")).DisplayFormat = QStringLiteral("0.00");
    Beschriften(verwendungen_, {{"ART_TEXT", "Art"},
                                {"DATUM", "Datum"},
                                {"TEILUNG_TEXT", "P. Teilung"},
                                {"BESAMUNGSSCHEIN_NR", "Bes. Scheinnr."},
                                {"KNR", "KNR"},
                                {"NAME", "Name"},
                                {"NUMMER", "Nummer"}});
    Verbergen(verwendungen_, {"ID", "ART", "PORTIONSTEILUNG", "TIER"});

    lieferungListe_ =
        ListeAnlegen(QStringLiteral("Lieferungen"), QStringLiteral("Lieferung"), lieferungen_,
                     QStringLiteral("< Keine Lieferungen vorhanden >"), QStringLiteral("Lieferung"),
                     QStringLiteral("Neue Lieferung einfügen"),
                     QStringLiteral("Lieferung bearbeiten"), QStringLiteral("Lieferung entfernen"));
    portionListe_ =
        ListeAnlegen(QStringLiteral("Portionen"), QStringLiteral("Portion"), portionen_,
                     QStringLiteral("< Keine Portionen vorhanden >"), QStringLiteral("Portion"),
                     QStringLiteral("Neue Portion einfügen"), QStringLiteral("Portion bearbeiten"),
                     QStringLiteral("Portion entfernen"));
    verwendungListe_ = ListeAnlegen(
        QStringLiteral("Verwendung"), QStringLiteral("Verwendung"), verwendungen_,
        QStringLiteral("< Keine Verwendungen vorhanden >"), QStringLiteral("Verwendung"),
        QStringLiteral("Neue Verwendung einfügen"), QStringLiteral("Verwendung bearbeiten"),
        QStringLiteral("Verwendung entfernen"));
    lieferungenAnsicht_ = lieferungListe_.ansicht;
    portionenAnsicht_ = portionListe_.ansicht;
    verwendungenAnsicht_ = verwendungListe_.ansicht;

    zumTier_ = new QPushButton(QStringLiteral("zum Tier"), verwendungListe_.gruppe);
    zumTier_->setObjectName(QStringLiteral("ZumTier"));
    zumTier_->setToolTip(QStringLiteral("Stammdaten des Tieres aufrufen"));
    zumTier_->setAutoDefault(false);
    if (auto* knoepfe = verwendungListe_.gruppe->findChild<QVBoxLayout*>(QStringLiteral("Knoepfe")))
        knoepfe->insertWidget(3, zumTier_);
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen_->setAutoDefault(false);

    auto* teiler = new QSplitter(Qt::Vertical, this);
    teiler->addWidget(lieferungListe_.gruppe);
    teiler->addWidget(portionListe_.gruppe);
    teiler->addWidget(verwendungListe_.gruppe);
    teiler->setChildrenCollapsible(false);
    teiler->setStretchFactor(0, 2);
    teiler->setStretchFactor(1, 3);
    teiler->setStretchFactor(2, 3);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(schliessen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(teiler, 1);
    layout->addLayout(unten);
    resize(1000, 660);

    lieferungen_.AfterScroll = [this](db::DataSet&) {
        if (!laedt_)
            DBTools::Sicher([this] { PortionenLaden(-1); });
    };
    portionen_.AfterScroll = [this](db::DataSet&) {
        if (!laedt_)
            DBTools::Sicher([this] { VerwendungenLaden(-1); });
    };
    verwendungen_.AfterScroll = [this](db::DataSet&) {
        if (!laedt_)
            Freigeben();
    };

    connect(lieferungListe_.neu, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { LieferungNeu(); }); });
    connect(lieferungListe_.bearbeiten, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { LieferungBearbeiten(); }); });
    connect(lieferungListe_.loeschen, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { LieferungLoeschen(); }); });
    connect(lieferungenAnsicht_, &QAbstractItemView::doubleClicked, this,
            [this] { DBTools::Sicher([this] { LieferungBearbeiten(); }); });
    connect(portionListe_.neu, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { PortionNeu(); }); });
    connect(portionListe_.bearbeiten, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { PortionBearbeiten(); }); });
    connect(portionListe_.loeschen, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { PortionLoeschen(); }); });
    connect(portionenAnsicht_, &QAbstractItemView::doubleClicked, this,
            [this] { DBTools::Sicher([this] { PortionBearbeiten(); }); });
    connect(verwendungListe_.neu, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { VerwendungNeu(); }); });
    connect(verwendungListe_.bearbeiten, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { VerwendungBearbeiten(); }); });
    connect(verwendungListe_.loeschen, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { VerwendungLoeschen(); }); });
    connect(verwendungenAnsicht_, &QAbstractItemView::doubleClicked, this,
            [this] { DBTools::Sicher([this] { VerwendungBearbeiten(); }); });
    connect(zumTier_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { ZumTier(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &TfrmContainer::accept);

    Aktualisieren(-1, -1, -1);
    SpaltenFolge(*lieferungenAnsicht_, {});
    SpaltenFolge(*portionenAnsicht_, {});
    SpaltenFolge(*verwendungenAnsicht_,
                 {QStringLiteral("ART_TEXT"), QStringLiteral("DATUM"),
                  QStringLiteral("TEILUNG_TEXT"), QStringLiteral("BESAMUNGSSCHEIN_NR"),
                  QStringLiteral("KNR"), QStringLiteral("NAME"), QStringLiteral("NUMMER")});
}

TfrmContainer::~TfrmContainer()
{
    lieferungen_.AfterScroll = {};
    portionen_.AfterScroll = {};
    verwendungen_.AfterScroll = {};
    try {
        if (taContainer_.Active())
            taContainer_.Commit();
    } catch (const std::exception&) {
        // Nothing was written in the read transaction; its end cannot lose anything.
    }
}

TfrmContainer::Liste TfrmContainer::ListeAnlegen(const QString& titel, const QString& name,
                                                 db::DataSet& daten, const QString& leer,
                                                 const QString& was, const QString& neuHinweis,
                                                 const QString& bearbeitenHinweis,
                                                 const QString& loeschenHinweis)
{
    Liste l{};
    l.gruppe = new QGroupBox(titel, this);
    l.gitter = new TZRDBcxGrid(l.gruppe);
    l.ansicht = qobject_cast<TZRcxGridDBTableView*>(l.gitter->ActiveView());
    l.ansicht->setObjectName(name + QStringLiteral("en"));
    l.ansicht->setEditTriggers(QAbstractItemView::NoEditTriggers);
    l.ansicht->SetEmptyText(leer);
    l.ansicht->SetDataSet(&daten);
    l.gitter->setMinimumHeight(110);
    l.neu = new QPushButton(QStringLiteral("Neu"), l.gruppe);
    l.bearbeiten = new QPushButton(QStringLiteral("Bearbeiten"), l.gruppe);
    l.loeschen = new QPushButton(QStringLiteral("Löschen"), l.gruppe);
    l.neu->setObjectName(was + QStringLiteral("Neu"));
    l.bearbeiten->setObjectName(was + QStringLiteral("Bearbeiten"));
    l.loeschen->setObjectName(was + QStringLiteral("Loeschen"));
    l.neu->setToolTip(neuHinweis);
    l.bearbeiten->setToolTip(bearbeitenHinweis);
    l.loeschen->setToolTip(loeschenHinweis);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->setObjectName(QStringLiteral("Knoepfe"));
    for (QPushButton* k : {l.neu, l.bearbeiten, l.loeschen}) {
        k->setAutoDefault(false);
        knoepfe->addWidget(k);
    }
    knoepfe->addStretch();
    auto* innen = new QHBoxLayout(l.gruppe);
    innen->addWidget(l.gitter, 1);
    innen->addLayout(knoepfe);
    return l;
}

QPushButton* TfrmContainer::Knopf(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

int TfrmContainer::ID(db::DataSet& ds)
{
    return ds.Active() && !ds.IsEmpty() ? ds.FieldByName(QStringLiteral("ID")).AsInteger() : 0;
}

void TfrmContainer::Aktualisieren(int lieferung, int portion, int verwendung)
{
    Sanduhr sanduhr;
    const int alteLieferung = ID(lieferungen_);
    const int altePortion = ID(portionen_);
    const int alteVerwendung = ID(verwendungen_);
    struct Laden {
        bool& flag;
        explicit Laden(bool& f) : flag(f) { flag = true; }
        ~Laden() { flag = false; }
    } laden(laedt_);
    if (taContainer_.Active())
        taContainer_.Commit();
    taContainer_.Start();
    lieferungen_.Open();
    lieferungen_.RecordCount();
    const int ziel = lieferung > 0 ? lieferung : alteLieferung;
    if (ziel <= 0 || !DBTools::LocateInteger(lieferungen_, QStringLiteral("ID"), ziel, false))
        lieferungen_.Last();
    PortionenLaden(portion > 0 ? portion : altePortion);
    VerwendungenLaden(verwendung > 0 ? verwendung : alteVerwendung);
    Freigeben();
}

void TfrmContainer::PortionenLaden(int portion)
{
    const bool warLaden = laedt_;
    laedt_ = true;
    portionen_.Close();
    portionen_.Param(QStringLiteral("ID")).SetInteger(ID(lieferungen_));
    portionen_.Open();
    portionen_.RecordCount();
    if (portion > 0)
        DBTools::LocateInteger(portionen_, QStringLiteral("ID"), portion, false);
    laedt_ = warLaden;
    if (!laedt_)
        VerwendungenLaden(-1);
}

void TfrmContainer::VerwendungenLaden(int verwendung)
{
    verwendungen_.Close();
    verwendungen_.Param(QStringLiteral("ID")).SetInteger(ID(portionen_));
    verwendungen_.Open();
    verwendungen_.RecordCount();
    if (verwendung > 0)
        DBTools::LocateInteger(verwendungen_, QStringLiteral("ID"), verwendung, false);
    Freigeben();
}

void TfrmContainer::Freigeben()
{
    const bool lieferungen = lieferungen_.Active() && !lieferungen_.IsEmpty();
    const bool portionen = portionen_.Active() && !portionen_.IsEmpty();
    const bool verwendungen = verwendungen_.Active() && !verwendungen_.IsEmpty();
    lieferungListe_.bearbeiten->setEnabled(lieferungen);
    lieferungListe_.loeschen->setEnabled(lieferungen);
    portionListe_.neu->setEnabled(lieferungen);
    portionListe_.bearbeiten->setEnabled(portionen);
    portionListe_.loeschen->setEnabled(portionen);
    verwendungListe_.neu->setEnabled(portionen);
    verwendungListe_.bearbeiten->setEnabled(verwendungen);
    verwendungListe_.loeschen->setEnabled(verwendungen);
    zumTier_->setEnabled(verwendungen &&
                         !verwendungen_.FieldByName(QStringLiteral("TIER")).IsNull());
}

void TfrmContainer::LieferungNeu()
{
    TfrmContainerLieferung dlg(Datenbank(), 0, this);
    if (const int id = dlg.Ausfuehren())
        Aktualisieren(id, -1, -1);
}

void TfrmContainer::LieferungBearbeiten()
{
    const int id = ID(lieferungen_);
    if (id <= 0)
        return;
    TfrmContainerLieferung dlg(Datenbank(), id, this);
    if (dlg.Ausfuehren())
        Aktualisieren(id, -1, -1);
}

void TfrmContainer::PortionNeu()
{
    const int lieferung = ID(lieferungen_);
    if (lieferung <= 0)
        return;
    TfrmContainerPortion dlg(Datenbank(), 0, lieferung, this);
    if (const int id = dlg.Ausfuehren())
        Aktualisieren(lieferung, id, -1);
}

void TfrmContainer::PortionBearbeiten()
{
    const int id = ID(portionen_);
    if (id <= 0)
        return;
    TfrmContainerPortion dlg(Datenbank(), id, ID(lieferungen_), this);
    if (dlg.Ausfuehren())
        Aktualisieren(-1, id, -1);
}

void TfrmContainer::VerwendungNeu()
{
    const int portion = ID(portionen_);
    if (portion <= 0)
        return;
    TfrmContainerVerwendung dlg(Datenbank(), 0, portion, this);
    if (const int id = dlg.Ausfuehren())
        Aktualisieren(-1, portion, id);
}

void TfrmContainer::VerwendungBearbeiten()
{
    const int id = ID(verwendungen_);
    if (id <= 0)
        return;
    TfrmContainerVerwendung dlg(Datenbank(), id, ID(portionen_), this);
    if (dlg.Ausfuehren())
        Aktualisieren(-1, -1, id);
}

template <class F>
bool TfrmContainer::Loeschen(const QString& was, F&& loeschen)
{
    try {
        if (!taContainerEdit_.Active())
            taContainerEdit_.Start();
        loeschen(taContainerEdit_);
        taContainerEdit_.Commit();
    } catch (const db::Error& e) {
        if (taContainerEdit_.Active())
            taContainerEdit_.Rollback();
        QString text;
        if (!DBTools::DBFehlerText(e, text))
            text = e.Message();
        Tools::MeldungError(
            QStringLiteral("%1 konnte nicht gelöscht werden.\r\r%2").arg(was, text));
        return false;
    }
    Aktualisieren(-1, -1, -1);
    return true;
}

void TfrmContainer::LieferungLoeschen()
{
    const int id = ID(lieferungen_);
    if (id <= 0 || Tools::MeldungConfirm(QStringLiteral("Wollen Sie wirklich diese Lieferung "
                                                        "mit\rallen Portionen und Verwendungen "
                                                        "löschen?"),
                                         1) != Tools::mrYes)
        return;
    Loeschen(QStringLiteral("Die Lieferung"),
             [id](db::Transaction& tr) { Container::LieferungLoeschen(tr, id); });
}

void TfrmContainer::PortionLoeschen()
{
    const int id = ID(portionen_);
    if (id <= 0 || Tools::MeldungConfirm(QStringLiteral("Wollen Sie wirklich diese Portion "
                                                        "mit\rallen Verwendungen löschen?"),
                                         1) != Tools::mrYes)
        return;
    Loeschen(QStringLiteral("Die Portion"),
             [id](db::Transaction& tr) { Container::PortionLoeschen(tr, id); });
}

void TfrmContainer::VerwendungLoeschen()
{
    const int id = ID(verwendungen_);
    if (id <= 0 ||
        Tools::MeldungConfirm(QStringLiteral("Wollen Sie wirklich diese Verwendung löschen?"), 1) !=
            Tools::mrYes)
        return;
    Loeschen(QStringLiteral("Die Verwendung"),
             [id](db::Transaction& tr) { Container::VerwendungLoeschen(tr, id); });
}

void TfrmContainer::ZumTier()
{
    if (!verwendungen_.Active() || verwendungen_.IsEmpty())
        return;
    const db::Field& tier = verwendungen_.FieldByName(QStringLiteral("TIER"));
    if (tier.IsNull())
        return;
    {
        TfrmStammdaten karte(this);
        karte.TierAnzeigen(tier.AsInteger(), 0, Container::ZumTierSQL(ID(portionen_)));
        karte.exec();
    }
    Aktualisieren(-1, -1, -1);
}

namespace FContainer {

void ContainerOeffnen(QWidget* owner)
{
    TEinstellungen* e = Einstellungen();
    if (!e || BesamungFunc::StationenListe(e->GetEigenbesamungStationen(), false).isEmpty()) {
        Tools::MeldungInfo(QStringLiteral(
            "Sie haben bislang keine Besamungsstation eingestellt.\rSie können erst nach der "
            "Einstellung mind. einer Station den Container bearbeiten.\r\rStationen können Sie "
            "in den Grundeinstellungen unter Eigenbesamung konfigurieren."));
        return;
    }
    TfrmContainer fenster(owner);
    fenster.exec();
}

}  // namespace FContainer
