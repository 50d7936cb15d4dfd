#include "Milchanlieferung.h"

#include <DBTools.h>
#include <ProgDatum.h>
#include <SilentAbort.h>

#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <Database.h>
#include <Error.h>
#include <Format.h>
#include <Meldung.h>
#include <Query.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

using namespace Milchanlieferung;

namespace {

struct Feldbeschreibung {
    const char* feld;
    const char* titel;
    int stellen;
    double min;
    double max;
    const char* einheit;  // nullptr: the currency's unit
};

const Feldbeschreibung Felder[] = {
    {"MENGE", "Menge:", 0, 0, 1000000000, "kg"},
    {"FETT", "Fett:", 2, 0, 100, "%"},
    {"EIWEIS", "Eiweiß:", 2, 0, 100, "%"},
    {"KEIMZAHL", "Keimzahl:", 0, 0, 1000, "in 1000"},
    {"ZELLZAHL", "Zellgehalt:", 0, 0, 1000, "in 1000"},
    {"GEFRIERPUNKT", "Gefrierpunkt:", 3, -2, 2, "°C"},
    {"PREIS37", "Preis bei 3,70% Fett und 3,40% Eiweiß:", 2, 0, 10000, nullptr},
    {"PREISEIGEN", "Preis bei eigen Fett und Eiweiß:", 2, 0, 10000, nullptr},
    {"MILCHGELD", "Milchgeld:", 2, 0, 9999999, nullptr},
    {"REFERENZMENGE", "Referenzmenge:", 0, 0, 99999999, "kg"},
    {"REFERENZFETT", "Referenzfett:", 2, 0, 100, "%"},
};

// The columns a new month copies from the month shown before.
const char* const Kopierte[] = {"MENGE",     "FETT",          "EIWEIS",       "KEIMZAHL",
                                "ZELLZAHL",  "GEFRIERPUNKT",  "PREIS37",      "PREISEIGEN",
                                "MILCHGELD", "REFERENZMENGE", "REFERENZFETT", "WAEHRUNG"};

const QString Rot = QStringLiteral("color: red;");

using DBTools::Bearbeitet;

QString Zahl(std::int64_t wert)
{
    return QString::number(wert) + QLatin1Char(' ');
}

}  // namespace

TfrmMilchanlieferungNeu::TfrmMilchanlieferungNeu(const QList<QDate>& monate, QWidget* owner)
    : TZRDialog(owner), monate_(monate), auswahl_(new QComboBox(this))
{
    setObjectName(QStringLiteral("frmMilchanlieferungNeu"));
    setWindowTitle(QStringLiteral("Neues Monat"));
    auswahl_->setObjectName(QStringLiteral("cbMonat"));
    for (const QDate& m : monate_)
        auswahl_->addItem(MonatText(m));
    auswahl_->setCurrentIndex(int(monate_.size()) - 1);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(new QLabel(QStringLiteral("Monat:"), this));
    zeile->addWidget(auswahl_, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(zeile);
    layout->addLayout(knoepfe);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

QDate TfrmMilchanlieferungNeu::Monat() const
{
    return monate_.value(auswahl_->currentIndex());
}

TfrmMilchanlieferung::TfrmMilchanlieferung(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      transaktion_(datenbank, QStringLiteral("TAMilchanlieferung")),
      daten_(transaktion_),
      monat_(new QComboBox(this)),
      waehrung_(new TDBComboBox(this)),
      preisEinheit37_(new QLabel(this)),
      preisEinheitEigen_(new QLabel(this)),
      geldEinheit_(new QLabel(this)),
      berechnung_(new QGroupBox(QStringLiteral("Berechnung zur Referenzmenge"), this)),
      lieferbarTitel_(new QLabel(berechnung_)),
      fettWahl_(new QDoubleSpinBox(berechnung_)),
      neu_(new QPushButton(QStringLiteral("Neues Monat"), this)),
      speichern_(new QPushButton(QStringLiteral("Speichern"), this)),
      schliessen_(new QPushButton(QStringLiteral("Schließen"), this)),
      hilfe_(new QPushButton(QStringLiteral("Hilfe"), this))
{
    setObjectName(QStringLiteral("frmMilchanlieferung"));
    setWindowTitle(QStringLiteral("Milchanlieferung"));
    setHelpContext(HilfeKontext);

    daten_.SetSelectSQL(QStringLiteral("select * from T_MILCHANLIEFERUNG\nwhere ID = :ID"));
    daten_.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_MILCHANLIEFERUNG (ID, MONAT, MENGE, FETT, EIWEIS, KEIMZAHL, ZELLZAHL, "
        "GEFRIERPUNKT, PREIS37, PREISEIGEN, MILCHGELD, REFERENZMENGE, REFERENZFETT, WAEHRUNG) "
        "VALUES (:ID, :MONAT, :MENGE, :FETT, :EIWEIS, :KEIMZAHL, :ZELLZAHL, :GEFRIERPUNKT, "
        ":PREIS37, :PREISEIGEN, :MILCHGELD, :REFERENZMENGE, :REFERENZFETT, :WAEHRUNG)"));
    daten_.SetModifySQL(QStringLiteral(
        "UPDATE T_MILCHANLIEFERUNG SET MONAT = :MONAT, MENGE = :MENGE, FETT = :FETT, "
        "EIWEIS = :EIWEIS, KEIMZAHL = :KEIMZAHL, ZELLZAHL = :ZELLZAHL, GEFRIERPUNKT = "
        ":GEFRIERPUNKT, PREIS37 = :PREIS37, PREISEIGEN = :PREISEIGEN, MILCHGELD = :MILCHGELD, "
        "REFERENZMENGE = :REFERENZMENGE, REFERENZFETT = :REFERENZFETT, WAEHRUNG = :WAEHRUNG "
        "WHERE ID = :OLD_ID"));
    daten_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_MILCHANLIEFERUNG"));
    // The bound controls read the dataset's fields, which needs the transaction.
    transaktion_.Start();

    monat_->setObjectName(QStringLiteral("cbMonat"));
    waehrung_->setObjectName(QStringLiteral("cbWaehrung"));
    for (const char* w : {"EUR", "DEM", "ATS"})
        waehrung_->Eintrag(QString::fromLatin1(w), QString::fromLatin1(w));

    auto* eingaben = new QGridLayout;
    eingaben->addWidget(new QLabel(QStringLiteral("Monat:"), this), 0, 0);
    eingaben->addWidget(monat_, 0, 1);
    eingaben->addWidget(neu_, 0, 2);
    int zeile = 1;
    for (const Feldbeschreibung& f : Felder) {
        auto* edit = new TDBFloatEdit(this);
        edit->setObjectName(QStringLiteral("ed") + QString::fromLatin1(f.feld));
        edit->SetDigits(f.stellen);
        edit->SetMin(f.min);
        edit->SetMax(f.max);
        edit->SetAllowNull(true);
        edit->SetDataSource(&daten_);
        edit->SetDataField(QString::fromLatin1(f.feld));
        edit->setMaximumWidth(120);
        felder_ << edit;
        QLabel* einheit = nullptr;
        if (f.einheit) {
            einheit = new QLabel(QString::fromUtf8(f.einheit), this);
        } else if (QLatin1String(f.feld) == QLatin1String("PREIS37")) {
            einheit = preisEinheit37_;
        } else if (QLatin1String(f.feld) == QLatin1String("PREISEIGEN")) {
            einheit = preisEinheitEigen_;
        } else {
            einheit = geldEinheit_;
        }
        eingaben->addWidget(new QLabel(QString::fromUtf8(f.titel), this), zeile, 0);
        eingaben->addWidget(edit, zeile, 1);
        eingaben->addWidget(einheit, zeile, 2);
        ++zeile;
    }
    eingaben->addWidget(new QLabel(QStringLiteral("Währung:"), this), zeile, 0);
    eingaben->addWidget(waehrung_, zeile, 1);
    eingaben->setColumnStretch(2, 1);

    const auto anzeige = [this](const char* name) {
        auto* l = new QLabel(berechnung_);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("-9999999999 ")));
        anzeigen_ << l;
        return l;
    };
    lieferbarTitel_->setObjectName(QStringLiteral("lbLieferbarTitel"));
    fettWahl_->setObjectName(QStringLiteral("seFett"));
    fettWahl_->setLocale(QLocale(QLocale::German, QLocale::Germany));
    fettWahl_->setDecimals(2);
    fettWahl_->setRange(FettMinimum, 100);
    fettWahl_->setSingleStep(FettSchritt);
    fettWahl_->setValue(2.0);
    auto* rechnung = new QGridLayout(berechnung_);
    rechnung->addWidget(new QLabel(QStringLiteral("Bisherige Anlieferung:"), berechnung_), 0, 0);
    rechnung->addWidget(anzeige("lbAnlieferung"), 0, 1);
    rechnung->addWidget(new QLabel(QStringLiteral("kg"), berechnung_), 0, 2);
    rechnung->addWidget(anzeige("lbAnlieferungFett"), 0, 3);
    rechnung->addWidget(new QLabel(QStringLiteral("%"), berechnung_), 0, 4);
    rechnung->addWidget(new QLabel(QStringLiteral("Korrekturwert:"), berechnung_), 1, 0);
    rechnung->addWidget(anzeige("lbKorrektur"), 1, 1);
    rechnung->addWidget(new QLabel(QStringLiteral("kg"), berechnung_), 1, 2);
    rechnung->addWidget(anzeige("lbFettDifferenz"), 1, 3);
    rechnung->addWidget(new QLabel(QStringLiteral("%"), berechnung_), 1, 4);
    rechnung->addWidget(new QLabel(QStringLiteral("Korrigierte Anlieferung:"), berechnung_), 2, 0);
    rechnung->addWidget(anzeige("lbKorrigiert"), 2, 1);
    rechnung->addWidget(new QLabel(QStringLiteral("kg"), berechnung_), 2, 2);
    rechnung->addWidget(lieferbarTitel_, 3, 0);
    rechnung->addWidget(anzeige("lbLieferbar"), 3, 1);
    rechnung->addWidget(new QLabel(QStringLiteral("kg"), berechnung_), 3, 2);
    rechnung->addWidget(anzeige("lbLieferbarTag"), 3, 3);
    rechnung->addWidget(new QLabel(QStringLiteral("kg/Tag"), berechnung_), 3, 4);
    auto* beiFett = new QHBoxLayout;
    beiFett->addWidget(new QLabel(QStringLiteral("noch lieferbar bei Fett"), berechnung_));
    beiFett->addWidget(fettWahl_);
    beiFett->addWidget(new QLabel(QStringLiteral("%"), berechnung_));
    beiFett->addStretch();
    rechnung->addLayout(beiFett, 4, 0, 1, 3);
    rechnung->addWidget(anzeige("lbLieferbarFettTag"), 4, 3);
    rechnung->addWidget(new QLabel(QStringLiteral("kg/Tag"), berechnung_), 4, 4);
    lieferbarTitel_->setText(QStringLiteral("noch lieferbar bei Ref.-Fett:"));

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(speichern_);
    knoepfe->addWidget(schliessen_);
    knoepfe->addWidget(hilfe_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(eingaben);
    layout->addWidget(berechnung_);
    layout->addLayout(knoepfe);

    waehrung_->SetDataSource(&daten_);
    waehrung_->SetDataField(QStringLiteral("WAEHRUNG"));

    // A refused action leaves the record as the user left it.
    connect(monat_, &QComboBox::activated, this,
            [this](int p) { DBTools::Sicher([this, p] { MonatGewaehlt(p); }); });
    connect(waehrung_, &TDBComboBox::Geschrieben, this,
            [this] { DBTools::Sicher([this] { EinheitenSetzen(); }); });
    connect(neu_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { NeuerMonat(); }); });
    connect(speichern_, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { Speichern(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::reject);
    connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    connect(fettWahl_, &QDoubleSpinBox::valueChanged, this, [this] { QuoteBerechnen(false); });

    MonateLesen();
    MonatZeigen(ids_.isEmpty() ? -1 : ids_.last());
}

TfrmMilchanlieferung::~TfrmMilchanlieferung() = default;

TDBFloatEdit* TfrmMilchanlieferung::Feld(const QString& feldname) const
{
    for (TDBFloatEdit* e : felder_)
        if (e->DataField() == feldname)
            return e;
    return nullptr;
}

QLabel* TfrmMilchanlieferung::Anzeige(const QString& name) const
{
    for (QLabel* l : anzeigen_)
        if (l->objectName() == name)
            return l;
    return name == lieferbarTitel_->objectName() ? lieferbarTitel_ : nullptr;
}

void TfrmMilchanlieferung::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        (qobject_cast<TDBFloatEdit*>(focusWidget()) || focusWidget() == monat_ ||
         focusWidget() == waehrung_)) {
        focusNextChild();
        return;
    }
    TZRDialog::keyPressEvent(e);
}

void TfrmMilchanlieferung::MonateLesen()
{
    if (!transaktion_.Active())
        transaktion_.Start();
    ids_.clear();
    monate_.clear();
    const QSignalBlocker still(monat_);
    monat_->clear();
    db::Query q(transaktion_,
                QStringLiteral("SELECT ID, MONAT FROM T_MILCHANLIEFERUNG ORDER BY MONAT"));
    for (q.Open(); !q.Eof(); q.Next()) {
        ids_ << q.Field(0).AsInteger();
        monate_ << q.Field(1).AsDate();
        monat_->addItem(MonatText(monate_.last()));
    }
}

void TfrmMilchanlieferung::MonatZeigen(int id)
{
    daten_.Close();
    if (!transaktion_.Active())
        transaktion_.Start();
    daten_.Param(QStringLiteral("ID")).SetInteger(id);
    daten_.Open();
    aktuell_ = int(ids_.indexOf(id));
    {
        const QSignalBlocker still(monat_);
        monat_->setCurrentIndex(aktuell_);
    }
    FelderFreigeben();
    EinheitenSetzen();
    QuoteBerechnen(true);
}

void TfrmMilchanlieferung::FelderFreigeben()
{
    const bool da = daten_.Active() && (!daten_.IsEmpty() || Bearbeitet(daten_));
    for (TDBFloatEdit* e : felder_)
        e->setEnabled(da);
    waehrung_->setEnabled(da);
    speichern_->setEnabled(da);
}

bool TfrmMilchanlieferung::AenderungenKlaeren()
{
    if (!daten_.Active())
        return true;
    daten_.UpdateRecord();
    if (!Bearbeitet(daten_))
        return true;
    switch (Tools::Meldung(
        QStringLiteral("Die Daten des Monats wurden geändert.\rWollen Sie diese nun speichern?"),
        Tools::mtConfirmation, Tools::mbYesNoCancel)) {
        case Tools::mrYes:
            try {
                return Speichern();
            } catch (const SilentAbort&) {
                return false;
            }
        case Tools::mrNo:
            daten_.Cancel();
            return true;
        default:
            return false;
    }
}

void TfrmMilchanlieferung::MonatGewaehlt(int position)
{
    if (position == aktuell_)
        return;
    const int ziel = ids_.value(position, -1);
    if (!AenderungenKlaeren()) {
        const QSignalBlocker still(monat_);
        monat_->setCurrentIndex(aktuell_);
        return;
    }
    MonateLesen();
    MonatZeigen(ziel > 0 ? ziel : (ids_.isEmpty() ? -1 : ids_.last()));
}

bool TfrmMilchanlieferung::Speichern()
{
    daten_.UpdateRecord();
    if (!DBTools::Posten(daten_))
        return false;
    const int id = daten_.FieldByName(QStringLiteral("ID")).AsInteger();
    daten_.Close();
    transaktion_.Commit();
    MonateLesen();
    MonatZeigen(id);
    return true;
}

void TfrmMilchanlieferung::NeuerMonat()
{
    QVariantMap werte;
    if (daten_.Active() && !daten_.IsEmpty()) {
        daten_.UpdateRecord();
        for (const char* feld : Kopierte)
            werte.insert(QString::fromLatin1(feld),
                         daten_.FieldByName(QString::fromLatin1(feld)).AsVariant());
        if (Bearbeitet(daten_) && !Speichern())
            return;
    }
    const int bisher = ids_.value(aktuell_, ids_.isEmpty() ? -1 : ids_.last());
    const QList<QDate> frei = FreieMonate(monate_, ProgDatum::Heute());
    TfrmMilchanlieferungNeu wahl(frei, this);
    if (wahl.exec() != QDialog::Accepted || !wahl.Monat().isValid()) {
        MonateLesen();
        MonatZeigen(bisher);
        return;
    }
    daten_.Append();
    daten_.FieldByName(QStringLiteral("MONAT")).SetDate(wahl.Monat());
    daten_.FieldByName(QStringLiteral("WAEHRUNG")).SetString(QStringLiteral("EUR"));
    for (auto it = werte.cbegin(); it != werte.cend(); ++it)
        daten_.FieldByName(it.key()).SetValue(it.value());
    {
        const QSignalBlocker still(monat_);
        ids_ << -1;
        monate_ << wahl.Monat();
        monat_->addItem(MonatText(wahl.Monat()));
        aktuell_ = int(ids_.size()) - 1;
        monat_->setCurrentIndex(aktuell_);
    }
    FelderFreigeben();
    EinheitenSetzen();
    felder_.first()->setFocus();
}

void TfrmMilchanlieferung::EinheitenSetzen()
{
    db::Field* f = daten_.Active() ? daten_.FindField(QStringLiteral("WAEHRUNG")) : nullptr;
    const QString waehrung =
        f && (!daten_.IsEmpty() || Bearbeitet(daten_)) ? f->AsString().trimmed() : QString();
    preisEinheit37_->setText(PreisEinheit(waehrung));
    preisEinheitEigen_->setText(PreisEinheit(waehrung));
    geldEinheit_->setText(Milchanlieferung::GeldEinheit(waehrung));
    const bool ats = waehrung == QLatin1String("ATS");
    if (ats == !preiseMitKomma_)
        return;
    preiseMitKomma_ = !ats;
    // The small ATS unit has no decimals: prices being edited move by the factor 100, and the
    // record stores them so.
    for (const char* feld : {"PREIS37", "PREISEIGEN"}) {
        TDBFloatEdit* edit = Feld(QString::fromLatin1(feld));
        edit->SetDigits(ats ? 0 : 2);
        if (!Bearbeitet(daten_))
            continue;
        db::Field& wert = daten_.FieldByName(QString::fromLatin1(feld));
        if (wert.IsNull())
            continue;
        const double neu = ats ? wert.AsDouble() * 100 : wert.AsDouble() / 100;
        wert.SetDouble(std::round(neu * 100) / 100);
    }
}

void TfrmMilchanlieferung::QuoteBerechnen(bool neuLesen)
{
    if (neuLesen) {
        const Zeitraum z = Quotenjahr(ProgDatum::Heute());
        if (!transaktion_.Active())
            transaktion_.Start();
        db::Query q(transaktion_,
                    QStringLiteral("SELECT MONAT, MENGE, FETT, REFERENZMENGE, REFERENZFETT\rFROM "
                                   "T_MILCHANLIEFERUNG WHERE MONAT BETWEEN :START AND :ENDE\r"
                                   "ORDER BY MONAT"));
        q.Param(QStringLiteral("START")).SetDate(z.start);
        q.Param(QStringLiteral("ENDE")).SetDate(z.ende);
        QList<Monat> monate;
        for (q.Open(); !q.Eof(); q.Next())
            monate << Monat{q.Field(0).AsDate(), q.Field(1).AsInt64(), q.Field(2).AsDouble(),
                            q.Field(3).AsInt64(), q.Field(4).AsDouble()};
        const Summen s = Summieren(monate);
        if (!s.HatLieferung())
            return;
        summen_ = s;
        restTage_ = RestTage(s.letzterLiefermonat);
        if (!fettGesetzt_) {
            const QSignalBlocker still(fettWahl_);
            fettWahl_->setValue(s.letztesFett);
            fettGesetzt_ = true;
        }
    }
    if (!summen_.HatLieferung())
        return;
    const Ergebnis e = Berechnen(summen_, restTage_, fettWahl_->value());
    Anzeige(QStringLiteral("lbAnlieferung"))->setText(Zahl(summen_.geliefert));
    Anzeige(QStringLiteral("lbAnlieferungFett"))
        ->setText(Tools::Format(QStringLiteral("%5.2f "), {e.durchschnittFett}));
    Anzeige(QStringLiteral("lbFettDifferenz"))
        ->setText(e.fettDifferenzZeigen ? Tools::Format(QStringLiteral("%5.2f "), {e.fettDifferenz})
                                        : QString());
    Anzeige(QStringLiteral("lbKorrektur"))->setText(Zahl(e.korrektur));
    Anzeige(QStringLiteral("lbKorrigiert"))->setText(Zahl(e.korrigiert));
    QLabel* rest = Anzeige(QStringLiteral("lbLieferbar"));
    QLabel* tag = Anzeige(QStringLiteral("lbLieferbarTag"));
    QLabel* tagFett = Anzeige(QStringLiteral("lbLieferbarFettTag"));
    rest->setText(Zahl(e.rest));
    if (e.ueberlieferung) {
        lieferbarTitel_->setText(QStringLiteral("Überlieferung"));
        lieferbarTitel_->setStyleSheet(
            QStringLiteral("color: red; font-weight: bold; text-decoration: underline;"));
        rest->setStyleSheet(Rot);
        tag->setText(QStringLiteral("-- "));
        tag->setStyleSheet(Rot);
        tagFett->setText(QStringLiteral("-- "));
        tagFett->setStyleSheet(Rot);
        fettWahl_->setEnabled(false);
        return;
    }
    lieferbarTitel_->setText(QStringLiteral("noch lieferbar bei Ref.-Fett:"));
    for (QLabel* l : {lieferbarTitel_, rest, tag, tagFett})
        l->setStyleSheet(QString());
    tag->setText(Zahl(e.proTag));
    tagFett->setText(Zahl(e.proTagBeiFett));
    fettWahl_->setEnabled(true);
}

void TfrmMilchanlieferung::done(int result)
{
    bool geklaert = false;
    if (!DBTools::Sicher([&] { geklaert = AenderungenKlaeren(); }) || !geklaert)
        return;
    daten_.Close();
    if (transaktion_.Active())
        transaktion_.Rollback();
    TZRDialog::done(result);
}
