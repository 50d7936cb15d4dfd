#include "FViehverzeichnis.h"

#include "DViehverzeichnis.h"
#include "PrognoseDatenbank.h"
#include "StatistikFormat.h"

#include <AMCbRb.h>
#include <DBZRDateEdit.h>
#include <FGrundeinstellungen.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <Transaction.h>

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString WertAnzeigen(double v)
{
    return v > 0 ? statistik::Zahl(v, 2) : QString();
}

// The group captions of rows 6-11, beside "Eigene" and "Pensionsvieh".
const char* const Gruppen[] = {"Weibliche Rinder (Zucht/Mast) über sechs Monate bis ein Jahr",
                               "Weibliche Rinder (Zucht/Mast) über ein Jahr bis zwei Jahre",
                               "Andere weibliche Rinder (Zucht/Mast) über zwei Jahre"};

}  // namespace

const std::array<const char*, 13> TfrmViehverzeichnis::Zeilennamen{
    "kuh",  "kb6",  "m61",  "m12",  "mu2",  "we61", "wp61",
    "we12", "wp12", "weu2", "wpu2", "mkuh", "sum"};

TfrmViehverzeichnis::TfrmViehverzeichnis(TEinstellungen& einstellungen, db::Database& datenbank,
                                         QWidget* owner)
    : TZRDialog(owner), einstellungen_(einstellungen), datenbank_(datenbank)
{
    setObjectName(QStringLiteral("frmViehverzeichnis"));
    setWindowTitle(QStringLiteral("Viehverzeichnis"));
    setHelpContext(HilfeKontext);

    auto* berechnung = new QGroupBox(QStringLiteral("Berechnung"), this);
    am_ = new TDBZRDateEdit(berechnung);
    am_->setObjectName(QStringLiteral("am"));
    von_ = new TDBZRDateEdit(berechnung);
    von_->setObjectName(QStringLiteral("von"));
    bis_ = new TDBZRDateEdit(berechnung);
    bis_->setObjectName(QStringLiteral("bis"));
    prognose_ = new TAMCheckBox(berechnung);
    prognose_->setObjectName(QStringLiteral("Prognose"));
    prognose_->setText(QStringLiteral("mit Prognose"));
    schluessel_ = new QComboBox(berechnung);
    schluessel_->setObjectName(QStringLiteral("GVSchluessel"));
    schluessel_->setMinimumWidth(180);
    auto* eingaben = new QGridLayout(berechnung);
    int spalte = 0;
    for (auto [text, edit] :
         {std::pair{"am:", am_}, std::pair{"von:", von_}, std::pair{"bis:", bis_}}) {
        auto* l = new QLabel(QString::fromLatin1(text), berechnung);
        l->setBuddy(edit);
        eingaben->addWidget(l, 0, spalte++);
        eingaben->addWidget(edit, 0, spalte++);
    }
    eingaben->addWidget(prognose_, 0, spalte++);
    auto* sl = new QLabel(QStringLiteral("GV-Schlüssel"), berechnung);
    sl->setBuddy(schluessel_);
    eingaben->addWidget(sl, 0, spalte++);
    eingaben->addWidget(schluessel_, 0, spalte++);

    auto* tabelle = new QFrame(this);
    tabelle->setFrameShape(QFrame::Box);
    auto* raster = new QGridLayout(tabelle);
    raster->setHorizontalSpacing(12);
    raster->setVerticalSpacing(3);
    const auto kopf = [&](const QString& text, int zeile, int sp, const char* name = nullptr) {
        auto* l = new QLabel(text, tabelle);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        if (name)
            l->setObjectName(QString::fromLatin1(name));
        raster->addWidget(l, zeile, sp);
        return l;
    };
    kopf(QStringLiteral("Bestand"), 0, 2);
    tam_ = kopf(QStringLiteral("am Stichtag"), 1, 2, "tam");
    kopf(QStringLiteral("im Durchschnitt"), 1, 3);
    kopf(QStringLiteral("GVE"), 0, 4);
    kopf(QStringLiteral("je Tier"), 1, 4);
    kopf(QStringLiteral("GVE"), 0, 5);
    kopf(QStringLiteral("im Betrieb"), 1, 5);
    const auto& zeilen = TViehverzeichnisRechnung::Tabelle();
    for (int z = 0; z < TViehverzeichnisRechnung::Zeilen; ++z) {
        const int r = z + 2;
        const bool gruppe = z >= 5 && z <= 10;
        if (gruppe && z % 2 == 1) {
            auto* g = new QLabel(QString::fromUtf8(Gruppen[(z - 5) / 2]), tabelle);
            g->setWordWrap(true);
            g->setMinimumWidth(220);
            raster->addWidget(g, r, 0, 2, 1);
        }
        auto* text = new QLabel(QString::fromUtf8(zeilen[std::size_t(z)].Text), tabelle);
        raster->addWidget(text, r, gruppe ? 1 : 0, 1, gruppe ? 1 : 2);
        const QString name = QString::fromLatin1(Zeilennamen[std::size_t(z)]);
        int sp = 2;
        for (const char* praefix : {"ta", "td", "g", "gv"}) {
            auto* w = new QLabel(tabelle);
            w->setObjectName(QString::fromLatin1(praefix) + name);
            w->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            w->setMinimumWidth(70);
            raster->addWidget(w, r, sp++);
        }
    }
    const int summe = TViehverzeichnisRechnung::Zeilen + 2;
    kopf(QStringLiteral("Summe"), summe, 0)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (auto [praefix, sp] : {std::pair{"ta", 2}, std::pair{"td", 3}, std::pair{"gv", 5}}) {
        auto* w = new QLabel(tabelle);
        w->setObjectName(QString::fromLatin1(praefix) + QStringLiteral("sum"));
        w->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = w->font();
        f.setBold(true);
        w->setFont(f);
        raster->addWidget(w, summe, sp);
    }
    kopf(QStringLiteral("GVE / ha"), summe + 1, 4);
    gvha_ = new QLabel(tabelle);
    gvha_->setObjectName(QStringLiteral("gvha"));
    gvha_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    raster->addWidget(gvha_, summe + 1, 5);

    berechnen_ = new QPushButton(QStringLiteral("Berechnen"), this);
    berechnen_->setObjectName(QStringLiteral("Berechnen"));
    berechnen_->setDefault(true);
    drucken_ = new QPushButton(QStringLiteral("Drucken"), this);
    drucken_->setObjectName(QStringLiteral("Drucken"));
    drucken_->setEnabled(false);
    einstellungenKnopf_ = new QPushButton(QStringLiteral("Einstel-\nlungen"), this);
    einstellungenKnopf_->setObjectName(QStringLiteral("Einstellungen"));
    hilfe_ = new QPushButton(QStringLiteral("Hilfe"), this);
    hilfe_->setObjectName(QStringLiteral("Hilfe"));
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen_->setObjectName(QStringLiteral("Schliesen"));
    auto* knoepfe = new QVBoxLayout;
    for (QPushButton* k : {berechnen_, drucken_, einstellungenKnopf_, hilfe_, schliessen_}) {
        k->setMinimumWidth(90);
        knoepfe->addWidget(k);
    }
    knoepfe->addStretch(1);
    auto* links = new QVBoxLayout;
    links->addWidget(berechnung);
    links->addWidget(tabelle, 1);
    auto* haupt = new QHBoxLayout(this);
    haupt->addLayout(links, 1);
    haupt->addLayout(knoepfe);
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    am_->SetDate(einstellungen_.GetViehverzeichnisAm());
    von_->SetDate(einstellungen_.GetViehverzeichnisVon());
    bis_->SetDate(einstellungen_.GetViehverzeichnisBis());
    prognose_->setChecked(einstellungen_.GetViehverzeichnisPrognose());
    GVSchluesselLaden();
    ErgebnisAnzeigen();

    connect(von_, &TDBZRDateEdit::Verlassen, this, &TfrmViehverzeichnis::vonChange);
    connect(bis_, &TDBZRDateEdit::Verlassen, this, &TfrmViehverzeichnis::bisChange);
    connect(berechnen_, &QPushButton::clicked, this, &TfrmViehverzeichnis::BerechnenClick);
    connect(drucken_, &QPushButton::clicked, this, [this] { DruckErstellen()->Vorschau(); });
    connect(einstellungenKnopf_, &QPushButton::clicked, this,
            &TfrmViehverzeichnis::EinstellungenClick);
    connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmViehverzeichnis::~TfrmViehverzeichnis() = default;

void TfrmViehverzeichnis::GVSchluesselLaden()
{
    {
        db::Transaction ta(datenbank_, QStringLiteral("TAViehverzeichnis"));
        ta.Start();
        schluesselListe_ = GVSchluesselLesen(ta);
        ta.Commit();
    }
    schluessel_->clear();
    const int gespeichert = einstellungen_.GetViehverzeichnisGVSchluessel();
    int auswahl = schluesselListe_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < schluesselListe_.size(); ++i) {
        schluessel_->addItem(schluesselListe_[i].Bezeichnung);
        if (schluesselListe_[i].ID == gespeichert)
            auswahl = int(i);
    }
    schluessel_->setCurrentIndex(auswahl);
}

void TfrmViehverzeichnis::vonChange()
{
    const QDate von = von_->Date();
    const QDate bis = bis_->Date();
    if (!von.isValid() || !bis.isValid())
        return;
    const QDate spaetestens = von.addYears(2).addDays(-1);
    if (bis < von)
        bis_->SetDate(von);
    else if (bis > spaetestens)
        bis_->SetDate(spaetestens);
}

void TfrmViehverzeichnis::bisChange()
{
    const QDate von = von_->Date();
    const QDate bis = bis_->Date();
    if (!von.isValid() || !bis.isValid())
        return;
    const QDate fruehestens = bis.addYears(-2).addDays(1);
    if (von > bis)
        von_->SetDate(bis);
    else if (von < fruehestens)
        von_->SetDate(fruehestens);
}

void TfrmViehverzeichnis::EingabenSpeichern()
{
    const int i = schluessel_->currentIndex();
    if (i >= 0 && i < int(schluesselListe_.size()))
        einstellungen_.SetViehverzeichnisGVSchluessel(schluesselListe_[std::size_t(i)].ID);
    einstellungen_.SetViehverzeichnisAm(am_->Date());
    einstellungen_.SetViehverzeichnisVon(von_->Date());
    einstellungen_.SetViehverzeichnisBis(bis_->Date());
    einstellungen_.SetViehverzeichnisPrognose(prognose_->isChecked());
}

void TfrmViehverzeichnis::BerechnenClick()
{
    EingabenSpeichern();
    const int id = einstellungen_.GetViehverzeichnisGVSchluessel();
    const auto s = std::find_if(schluesselListe_.begin(), schluesselListe_.end(),
                                [id](const TGVSchluessel& k) { return k.ID == id; });
    std::optional<TGVFaktoren> faktoren;
    gerechnetSchluessel_.clear();
    if (s != schluesselListe_.end()) {
        faktoren = s->Faktoren;
        gerechnetSchluessel_ = s->Bezeichnung;
    }
    gerechnetFlaeche_ = einstellungen_.GetBetriebFlaeche();
    // Each computation reads the herd as it is now.
    db::Transaction ta(datenbank_, QStringLiteral("TAViehverzeichnis"));
    ta.Start();
    TPrognoseDatenbank quelle(ta, &einstellungen_);
    TPrognoseTierbestand engine(quelle);
    werte_.Berechnen(engine, am_->Date(), von_->Date(), bis_->Date(), prognose_->isChecked(),
                     ProgDatum::Heute(), faktoren);
    ErgebnisAnzeigen();
    drucken_->setEnabled(true);
}

void TfrmViehverzeichnis::ErgebnisAnzeigen()
{
    const auto setzen = [this](const QString& name, double v) {
        if (auto* l = findChild<QLabel*>(name))
            l->setText(WertAnzeigen(v));
    };
    for (std::size_t z = 0; z < Zeilennamen.size(); ++z) {
        const QString name = QString::fromLatin1(Zeilennamen[z]);
        setzen(QStringLiteral("ta") + name, werte_.BestandAm[z]);
        setzen(QStringLiteral("td") + name, werte_.Durchschnitt[z]);
        if (z < std::size_t(TViehverzeichnisRechnung::Zeilen))
            setzen(QStringLiteral("g") + name, werte_.Faktor[z]);
        setzen(QStringLiteral("gv") + name, werte_.GVE[z]);
    }
    const QDate am = am_->Date();
    tam_->setText(am.isValid() ? QStringLiteral("am ") + am.toString(QStringLiteral("dd.MM.yyyy"))
                               : QStringLiteral("am Stichtag"));
    const double flaeche = einstellungen_.GetBetriebFlaeche();
    gvha_->setText(flaeche > 0 ? WertAnzeigen(werte_.GVE[TViehverzeichnisRechnung::Summe] / flaeche)
                               : QString());
}

std::unique_ptr<TDruckViehverzeichnis> TfrmViehverzeichnis::DruckErstellen() const
{
    auto druck = std::make_unique<TDruckViehverzeichnis>();
    druck->Am = einstellungen_.GetViehverzeichnisAm();
    druck->Von = einstellungen_.GetViehverzeichnisVon();
    druck->Bis = einstellungen_.GetViehverzeichnisBis();
    for (int z = 1; z <= TViehverzeichnisRechnung::Zeilen; ++z) {
        druck->SetFaktor(z, werte_.Faktor[std::size_t(z - 1)]);
        druck->SetBestandAm(z, werte_.BestandAm[std::size_t(z - 1)]);
        druck->SetDurchschnitt(z, werte_.Durchschnitt[std::size_t(z - 1)]);
        druck->SetGVEBetrieb(z, werte_.GVE[std::size_t(z - 1)]);
    }
    constexpr std::size_t summe = TViehverzeichnisRechnung::Summe;
    druck->Flaeche = gerechnetFlaeche_;
    druck->GVEjeHektar = gerechnetFlaeche_ > 0 ? werte_.GVE[summe] / gerechnetFlaeche_ : 0;
    druck->SummeBestand = werte_.BestandAm[summe];
    druck->SummeDurchschnitt = werte_.Durchschnitt[summe];
    druck->SummeGVE = werte_.GVE[summe];
    druck->GVSchluessel = gerechnetSchluessel_;
    druck->BetriebName = einstellungen_.GetBetriebName();
    druck->BetriebAdresse = einstellungen_.GetBetriebAdresse();
    druck->BetriebPLZ = einstellungen_.GetBetriebPLZ();
    druck->BetriebOrt = einstellungen_.GetBetriebOrt();
    return druck;
}

void TfrmViehverzeichnis::EinstellungenClick()
{
    const int i = schluessel_->currentIndex();
    if (i >= 0 && i < int(schluesselListe_.size()))
        einstellungen_.SetViehverzeichnisGVSchluessel(schluesselListe_[std::size_t(i)].ID);
    {
        TfrmGrundeinstellungen d(einstellungen_, datenbank_, this);
        d.exec();
    }
    GVSchluesselLaden();
}

void TfrmViehverzeichnis::done(int r)
{
    EingabenSpeichern();
    TZRDialog::done(r);
}
