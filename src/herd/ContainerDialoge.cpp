#include "ContainerDialoge.h"

#include "BullenFelder.h"
#include "ContainerLogik.h"
#include "StierWahl.h"

#include <BesamungConst.h>
#include <BesamungFunc.h>
#include <DBTools.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>
#include <SilentAbort.h>

#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBMemo.h>
#include <DBPanel.h>
#include <DBZRDateEdit.h>
#include <Error.h>
#include <Meldung.h>
#include <Query.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int HilfeKontext = 14100;

using DBTools::Bearbeitet;

}  // namespace

TfrmContainerEdit::TfrmContainerEdit(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      ta_(datenbank, QStringLiteral("TAEdit")),
      daten_(ta_),
      ok_(new QPushButton(QStringLiteral("Ok"), this)),
      abbrechen_(new QPushButton(QStringLiteral("Abbrechen"), this))
{
    setHelpContext(HilfeKontext);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &TfrmContainerEdit::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmContainerEdit::reject);
    ta_.Start();
}

void TfrmContainerEdit::DatenVorbereiten(const QString& tabelle, const QString& spalten,
                                         const QString& generator, int id)
{
    id_ = id;
    QStringList namen = spalten.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& n : namen)
        n = n.trimmed();
    QStringList werte, zuweisungen;
    for (const QString& n : namen) {
        werte << QLatin1Char(':') + n;
        zuweisungen << n + QStringLiteral(" = :") + n;
    }
    daten_.SetSelectSQL(QStringLiteral("select * from %1 where ID = :ID").arg(tabelle));
    daten_.SetInsertSQL(
        QStringLiteral("INSERT INTO %1 (ID, %2) VALUES (:ID, %3)")
            .arg(tabelle, namen.join(QStringLiteral(", ")), werte.join(QStringLiteral(", "))));
    daten_.SetModifySQL(QStringLiteral("UPDATE %1 SET %2 WHERE ID = :OLD_ID")
                            .arg(tabelle, zuweisungen.join(QStringLiteral(", "))));
    daten_.SetGenerator(QStringLiteral("ID"), generator);
    daten_.Param(QStringLiteral("ID")).SetInteger(id);
}

void TfrmContainerEdit::DatenOeffnen()
{
    daten_.Open();
    if (id_ <= 0)
        daten_.Append();
    else if (daten_.IsEmpty())
        throw db::Error(QStringLiteral("Der Datensatz ist nicht mehr vorhanden."));
}

void TfrmContainerEdit::Fertigstellen(QLayout* felder)
{
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addSpacing(8);
    layout->addLayout(knoepfe);
}

void TfrmContainerEdit::Ok()
{
    DBTools::Sicher([&] {
        daten_.UpdateRecord();
        Speichern();
        accept();
    });
}

int TfrmContainerEdit::Ausfuehren()
{
    if (exec() != QDialog::Accepted) {
        daten_.Close();
        if (ta_.Active())
            ta_.Rollback();
        return 0;
    }
    const int id = daten_.FieldByName(QStringLiteral("ID")).AsInteger();
    daten_.Close();
    ta_.Commit();
    return id;
}

TfrmContainerLieferung::TfrmContainerLieferung(db::Database& datenbank, int id, QWidget* owner)
    : TfrmContainerEdit(datenbank, owner),
      datum_(new TDBZRDateEdit(this)),
      bemerkung_(new TDBMemo(this))
{
    setWindowTitle(QStringLiteral("Lieferung"));
    DatenVorbereiten(QStringLiteral("T_CONTAINER_LIEFERUNG"), QStringLiteral("DATUM, BEMERKUNG"),
                     QStringLiteral("GEN_T_CONTAINER_LIEFERUNG_ID"), id);
    DatenOeffnen();
    if (id <= 0)
        daten_.FieldByName(QStringLiteral("DATUM")).SetDate(ProgDatum::Heute());
    datum_->SetDataSource(&daten_);
    datum_->SetDataField(QStringLiteral("DATUM"));
    bemerkung_->SetDataSource(&daten_);
    bemerkung_->SetDataField(QStringLiteral("BEMERKUNG"));
    bemerkung_->setMinimumSize(280, 90);

    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Datum"), datum_);
    felder->addRow(QStringLiteral("Bemerkung:"), bemerkung_);
    Fertigstellen(felder);
}

void TfrmContainerLieferung::Speichern()
{
    if (daten_.FieldByName(QStringLiteral("DATUM")).IsNull())
        DBTools::DBFehlerMelden(datum_, QStringLiteral("Geben Sie das Datum der Lieferung ein."));
    DBTools::Posten(daten_);
}

TfrmContainerPortion::TfrmContainerPortion(db::Database& datenbank, int id, int lieferung,
                                           QWidget* owner)
    : TfrmContainerEdit(datenbank, owner),
      bulle_(new TDBPanel(this)),
      bulleKnopf_(new QToolButton(this)),
      station_(new QComboBox(this)),
      behaelter_(new TDBComboBox(this, true)),
      anzahl_(new TDBFloatEdit(this)),
      ejakulat_(new TDBFloatEdit(this)),
      kosten_(new TDBFloatEdit(this))
{
    setWindowTitle(QStringLiteral("Portion"));
    BullenLesen();
    DatenVorbereiten(QStringLiteral("T_CONTAINER_PORTION"),
                     QStringLiteral("LIEFERUNG, BULLE, ANZAHL_GESAMT, EJAKULAT_NR, KOSTEN, "
                                    "STATION, BEHAELTER"),
                     QStringLiteral("GEN_T_CONTAINER_PORTION_ID"), id);
    daten_.AddCalculatedField(QStringLiteral("BULLE_TEXT"), db::FieldType::VarChar, 40);
    daten_.OnCalcFields = [this](db::DataSet& ds) {
        const db::Field& b = ds.FieldByName(QStringLiteral("BULLE"));
        ds.FieldByName(QStringLiteral("BULLE_TEXT"))
            .SetString(b.IsNull() ? QString() : bullen_.value(b.AsInteger()));
    };
    DatenOeffnen();
    if (id <= 0) {
        daten_.FieldByName(QStringLiteral("LIEFERUNG")).SetInteger(lieferung);
        daten_.FieldByName(QStringLiteral("ANZAHL_GESAMT")).SetInteger(1);
    }

    // The containers used so far, read apart so that the edit's transaction stays untouched.
    {
        db::Transaction lesen(datenbank, QString(), {db::TransactionOptions::ReadCommitted, true});
        lesen.Start();
        db::Query q(lesen, QStringLiteral(
                               "SELECT DISTINCT BEHAELTER FROM T_CONTAINER_PORTION WHERE BEHAELTER "
                               "IS NOT NULL AND BEHAELTER <> '' ORDER BY BEHAELTER"));
        for (q.Open(); !q.Eof(); q.Next())
            behaelter_->Eintrag(q.Field(0).AsString().trimmed(), q.Field(0).AsString().trimmed());
        lesen.Commit();
    }
    if (TEinstellungen* e = Einstellungen()) {
        for (const BesamungFunc::StationsEintrag& s :
             BesamungFunc::StationenListe(e->GetEigenbesamungStationen(), false)) {
            station_->addItem(s.Name, s.Index);
            stationsCodes_ << BesamungConst::Stationen()[size_t(s.Index)].Code;
        }
    }

    bulle_->SetDataSource(&daten_);
    bulle_->SetDataField(QStringLiteral("BULLE_TEXT"));
    bulle_->SetBevelOuter(TDBPanel::bvLowered);
    bulle_->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bulle_->setMinimumWidth(240);
    bulle_->installEventFilter(this);
    bulleKnopf_->setText(QStringLiteral("..."));
    behaelter_->SetDataSource(&daten_);
    behaelter_->SetDataField(QStringLiteral("BEHAELTER"));
    anzahl_->SetDigits(0);
    anzahl_->SetMin(0);
    anzahl_->SetMax(9999999);
    anzahl_->SetAllowNull(false);
    anzahl_->SetDataSource(&daten_);
    anzahl_->SetDataField(QStringLiteral("ANZAHL_GESAMT"));
    ejakulat_->SetDigits(0);
    ejakulat_->SetMin(0);
    ejakulat_->SetMax(99999);
    ejakulat_->SetAllowNull(true);
    ejakulat_->setMaxLength(5);
    ejakulat_->SetDataSource(&daten_);
    ejakulat_->SetDataField(QStringLiteral("EJAKULAT_NR"));
    kosten_->SetDigits(2);
    kosten_->SetMin(0);
    kosten_->SetMax(9999999);
    kosten_->SetAllowNull(true);
    kosten_->SetDataSource(&daten_);
    kosten_->SetDataField(QStringLiteral("KOSTEN"));
    StationZeigen();

    auto* bulleZeile = new QHBoxLayout;
    bulleZeile->addWidget(bulle_, 1);
    bulleZeile->addWidget(bulleKnopf_);
    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Bulle"), bulleZeile);
    felder->addRow(QStringLiteral("Station"), station_);
    felder->addRow(QStringLiteral("Behälter"), behaelter_);
    felder->addRow(QStringLiteral("Anzahl Gesamt"), anzahl_);
    felder->addRow(QStringLiteral("Ejakulat Nr."), ejakulat_);
    felder->addRow(QStringLiteral("Kosten"), kosten_);
    Fertigstellen(felder);

    connect(bulleKnopf_, &QToolButton::clicked, this, &TfrmContainerPortion::BulleWaehlen);
}

void TfrmContainerPortion::BullenLesen()
{
    bullen_.clear();
    db::Query q(ta_, QStringLiteral("select id, name, hbnr from T_BULLEN_STAMM"));
    for (q.Open(); !q.Eof(); q.Next())
        bullen_.insert(q.Field(0).AsInteger(), q.Field(1).AsString().trimmed() +
                                                   QStringLiteral("    ") +
                                                   q.Field(2).AsString().trimmed());
}

void TfrmContainerPortion::StationZeigen()
{
    const QString code = daten_.FieldByName(QStringLiteral("STATION")).AsString().trimmed();
    const int i = stationsCodes_.indexOf(code);
    station_->setCurrentIndex(i >= 0 ? i : (station_->count() > 0 ? 0 : -1));
}

void TfrmContainerPortion::BulleWaehlen()
{
    DBTools::Sicher([&] {
        const db::Field& b = daten_.FieldByName(QStringLiteral("BULLE"));
        int id = b.IsNull() ? 0 : b.AsInteger();
        if (!FBullenWahl::BulleWaehlen(this, id))
            return;
        // The choice may have added a bull in the master data meanwhile.
        BullenLesen();
        daten_.Edit();
        daten_.FieldByName(QStringLiteral("BULLE")).SetInteger(id);
        // Bound controls hear only of the field that was set, not of the calculated text that
        // follows it: bind the panel anew to show the text.
        bulle_->SetDataField(QString());
        bulle_->SetDataField(QStringLiteral("BULLE_TEXT"));
    });
}

void TfrmContainerPortion::Speichern()
{
    if (station_->currentIndex() < 0 || station_->currentIndex() >= stationsCodes_.size())
        DBTools::DBFehlerMelden(station_,
                                QStringLiteral("Wählen Sie eine Besamungsstation aus. In den "
                                               "Grundeinstellungen ist unter Eigenbesamung keine "
                                               "bekannte Station eingestellt."));
    daten_.Edit();
    daten_.FieldByName(QStringLiteral("STATION"))
        .SetString(stationsCodes_.at(station_->currentIndex()));
    if (daten_.FieldByName(QStringLiteral("BULLE")).IsNull()) {
        Tools::MeldungInfo(QStringLiteral("Wählen Sie einen Bullen vor dem abspeichern aus."));
        throw SilentAbort();
    }
    DBTools::Posten(daten_);
}

bool TfrmContainerPortion::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bulle_ && event->type() == QEvent::MouseButtonDblClick) {
        BulleWaehlen();
        return true;
    }
    return TfrmContainerEdit::eventFilter(watched, event);
}

TfrmContainerVerwendung::TfrmContainerVerwendung(db::Database& datenbank, int id, int portion,
                                                 QWidget* owner)
    : TfrmContainerEdit(datenbank, owner),
      neu_(id <= 0),
      art_(new TDBComboBox(this)),
      datum_(new TDBZRDateEdit(this)),
      teilung_(new TDBComboBox(this)),
      anzahl_(new QSpinBox(this)),
      besamung_(new QLabel(this)),
      besamungKnopf_(new QToolButton(this)),
      entfernen_(new QPushButton(QStringLiteral("Besamung aus Verwendung entfernen"), this))
{
    setWindowTitle(QStringLiteral("Verwendung"));
    DatenVorbereiten(QStringLiteral("T_CONTAINER_VERWENDUNG"),
                     QStringLiteral("ART, BESAMUNG, DATUM, PORTIONSTEILUNG, PORTION"),
                     QStringLiteral("GEN_T_CONTAINER_VERWENDUNG_ID"), id);
    DatenOeffnen();
    if (neu_) {
        daten_.FieldByName(QStringLiteral("ART")).SetString(QStringLiteral("N"));
        daten_.FieldByName(QStringLiteral("BESAMUNG")).SetNull();
        daten_.FieldByName(QStringLiteral("DATUM")).SetDate(ProgDatum::Heute());
        daten_.FieldByName(QStringLiteral("PORTIONSTEILUNG")).SetString(QStringLiteral("F"));
        daten_.FieldByName(QStringLiteral("PORTION")).SetInteger(portion);
    }
    for (const char* art : {"B", "L", "N", "R"})
        art_->Eintrag(Container::ArtText(QString::fromLatin1(art)), QString::fromLatin1(art));
    art_->SetDataSource(&daten_);
    art_->SetDataField(QStringLiteral("ART"));
    datum_->SetDataSource(&daten_);
    datum_->SetDataField(QStringLiteral("DATUM"));
    teilung_->Eintrag(QStringLiteral("Nein"), QStringLiteral("F"));
    teilung_->Eintrag(QStringLiteral("1. Hälfte"), QStringLiteral("1"));
    teilung_->Eintrag(QStringLiteral("2. Hälfte"), QStringLiteral("2"));
    teilung_->SetDataSource(&daten_);
    teilung_->SetDataField(QStringLiteral("PORTIONSTEILUNG"));
    anzahl_->setRange(0, 999);
    anzahl_->setValue(0);
    besamung_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    besamung_->setAutoFillBackground(true);
    besamung_->setMinimumSize(300, 3 * fontMetrics().lineSpacing() + 8);
    besamung_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    besamung_->setToolTip(QStringLiteral(
        "Besamung: Datum, Bulle, HB-Nr.\nBesamungsschein-Nr\nKuh: KNR, Name, Nummer"));
    besamung_->installEventFilter(this);
    besamungKnopf_->setText(QStringLiteral("..."));

    auto* besamungZeile = new QHBoxLayout;
    besamungZeile->addWidget(besamung_, 1);
    besamungZeile->addWidget(besamungKnopf_, 0, Qt::AlignTop);
    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Art"), art_);
    felder->addRow(QStringLiteral("Datum"), datum_);
    felder->addRow(QStringLiteral("Portionsteilung"), teilung_);
    felder->addRow(QStringLiteral("Anzahl"), anzahl_);
    felder->addRow(QStringLiteral("Besamung"), besamungZeile);
    felder->addRow(QString(), entfernen_);
    Fertigstellen(felder);

    connect(art_, &QComboBox::currentIndexChanged, this, &TfrmContainerVerwendung::ArtGeaendert);
    connect(besamungKnopf_, &QToolButton::clicked, this, &TfrmContainerVerwendung::BesamungWaehlen);
    connect(entfernen_, &QPushButton::clicked, this, &TfrmContainerVerwendung::BesamungEntfernen);
    BesamungZeigen();
    ArtGeaendert();
}

void TfrmContainerVerwendung::ArtGeaendert()
{
    // The list shows the choice before the field has it.
    const bool besamung = art_->currentData().toString() == QLatin1String("B");
    besamung_->setEnabled(besamung);
    besamungKnopf_->setEnabled(besamung);
    entfernen_->setEnabled(besamung);
    besamung_->setBackgroundRole(besamung ? QPalette::Base : QPalette::Button);
    anzahl_->setEnabled(neu_ && !besamung);
}

void TfrmContainerVerwendung::BesamungZeigen()
{
    const db::Field& b = daten_.FieldByName(QStringLiteral("BESAMUNG"));
    if (b.IsNull()) {
        besamung_->clear();
        return;
    }
    db::Query q(ta_, QStringLiteral(
                         "SELECT B.BESAMUNGSSCHEIN_NR, b.DATUM, B.STIER, B.NUMMER HBNR, S.NUMMER, "
                         "(SELECT KNRDISPLAY FROM P_GET_KNR(S.KNR)) KNR, S.NAME FROM T_BESAMUNGEN "
                         "B JOIN T_STAMMDATEN S ON B.TIER = S.ID WHERE B.ID = :BESAMUNG"));
    q.Param(QStringLiteral("BESAMUNG")).SetInteger(b.AsInteger());
    q.Open();
    if (q.Eof()) {
        besamung_->clear();
        return;
    }
    const auto t = [&](int i) { return q.Field(i).AsString().trimmed(); };
    const QString zeile1 = (q.Field(1).AsDate().toString(QStringLiteral("dd.MM.yyyy")) +
                            QStringLiteral(",  ") + t(2) + QStringLiteral("  ") + t(3))
                               .trimmed();
    const QString zeile2 = q.Field(0).IsNull() ? QString() : t(0);
    const QString zeile3 =
        (t(5) + QStringLiteral("  ") + t(6) + QStringLiteral("  ") + t(4)).trimmed();
    besamung_->setText(zeile1 + QLatin1Char('\n') + zeile2 + QLatin1Char('\n') + zeile3);
}

void TfrmContainerVerwendung::BesamungWaehlen()
{
    if (!besamungKnopf_->isEnabled())
        return;
    DBTools::Sicher([&] {
        const db::Field& b = daten_.FieldByName(QStringLiteral("BESAMUNG"));
        TfrmBesamungWahl wahl(ta_, b.IsNull() ? 0 : b.AsInteger(), this);
        if (wahl.exec() != QDialog::Accepted || wahl.BesamungID() <= 0)
            return;
        const int id = wahl.BesamungID();
        daten_.Edit();
        daten_.FieldByName(QStringLiteral("BESAMUNG")).SetInteger(id);
        BesamungZeigen();
    });
}

void TfrmContainerVerwendung::BesamungEntfernen()
{
    DBTools::Sicher([&] {
        daten_.Edit();
        daten_.FieldByName(QStringLiteral("BESAMUNG")).SetNull();
        BesamungZeigen();
    });
}

void TfrmContainerVerwendung::Speichern()
{
    if (daten_.FieldByName(QStringLiteral("DATUM")).IsNull())
        DBTools::DBFehlerMelden(datum_, QStringLiteral("Geben Sie das Datum der Verwendung ein."));
    const QString art = daten_.FieldByName(QStringLiteral("ART")).AsString().trimmed();
    const QDate datum = daten_.FieldByName(QStringLiteral("DATUM")).AsDate();
    const QString teilung =
        daten_.FieldByName(QStringLiteral("PORTIONSTEILUNG")).AsString().trimmed();
    const int portion = daten_.FieldByName(QStringLiteral("PORTION")).AsInteger();
    const int anzahl = neu_ ? Container::AnzahlVerwendungen(art, anzahl_->value()) : 1;
    const double vorher = Container::PortionBestand(ta_, portion);
    if (Bearbeitet(daten_))
        DBTools::Posten(daten_);
    Container::WeitereVerwendungen(ta_, anzahl - 1, art, datum, portion, teilung);
    const double nachher = Container::PortionBestand(ta_, portion);
    if (nachher < 0 && nachher < vorher)
        Tools::MeldungWarning(
            QStringLiteral("Es sind mehr Verwendungen eingetragen, als die Portion Halme "
                           "hatte.\rDer Bestand der Portion ist nun %1.")
                .arg(QLocale(QLocale::German).toString(nachher, 'f', 1)));
}

bool TfrmContainerVerwendung::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == besamung_ && event->type() == QEvent::MouseButtonDblClick) {
        BesamungWaehlen();
        return true;
    }
    return TfrmContainerEdit::eventFilter(watched, event);
}

TfrmBesamungWahl::TfrmBesamungWahl(db::Transaction& tr, int besamung, QWidget* owner)
    : TZRDialog(owner),
      liste_(tr),
      gitter_(new TZRDBcxGrid(this)),
      ansicht_(qobject_cast<TZRcxGridDBTableView*>(gitter_->ActiveView())),
      ok_(new QPushButton(QStringLiteral("Ok"), this)),
      abbrechen_(new QPushButton(QStringLiteral("Abbrechen"), this))
{
    setObjectName(QStringLiteral("frmBesamungWahl"));
    setWindowTitle(QStringLiteral("Besamung Wahl"));
    setHelpContext(HilfeKontext);
    liste_.SetSelectSQL(QStringLiteral(
        "SELECT B.ID, B.BESAMUNGSSCHEIN_NR, b.DATUM, B.STIER, B.NUMMER HBNR, S.NUMMER, (SELECT "
        "KNRDISPLAY FROM P_GET_KNR(S.KNR)) KNR, S.NAME FROM T_BESAMUNGEN B JOIN T_STAMMDATEN S "
        "ON B.TIER = S.ID ORDER BY B.DATUM, S.KNR, S.NUMMER"));
    const std::pair<const char*, const char*> spalten[] = {
        {"DATUM", "Datum"},  {"STIER", "Bulle"},
        {"HBNR", "HB-Nr."},  {"BESAMUNGSSCHEIN_NR", "Besamungsschein-Nr."},
        {"KNR", "KNR"},      {"NAME", "Name"},
        {"NUMMER", "Nummer"}};
    QStringList reihenfolge;
    for (const auto& [feld, titel] : spalten) {
        liste_.FieldByName(QString::fromLatin1(feld)).DisplayLabel = QString::fromUtf8(titel);
        reihenfolge << QString::fromLatin1(feld);
    }
    liste_.FieldByName(QStringLiteral("ID")).Visible = false;
    liste_.Open();
    liste_.Last();
    if (besamung > 0)
        DBTools::LocateInteger(liste_, QStringLiteral("ID"), besamung, false);
    ansicht_->setObjectName(QStringLiteral("Liste"));
    ansicht_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ansicht_->SetEmptyText(QStringLiteral("< Keine Besamungen in der Auswahl >"));
    ansicht_->SetDataSet(&liste_);
    SpaltenFolge(*ansicht_, reihenfolge);
    gitter_->setMinimumSize(560, 300);
    ok_->setDefault(true);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gitter_);
    layout->addLayout(knoepfe);

    connect(ok_, &QPushButton::clicked, this, &TfrmBesamungWahl::Waehlen);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmBesamungWahl::reject);
    connect(ansicht_, &QAbstractItemView::doubleClicked, this, &TfrmBesamungWahl::Waehlen);
}

TfrmBesamungWahl::~TfrmBesamungWahl()
{
    liste_.Close();
}

int TfrmBesamungWahl::BesamungID()
{
    return liste_.Active() && !liste_.IsEmpty()
               ? liste_.FieldByName(QStringLiteral("ID")).AsInteger()
               : 0;
}

void TfrmBesamungWahl::Waehlen()
{
    if (BesamungID() > 0)
        accept();
}
