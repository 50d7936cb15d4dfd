#include "FTierbestandStatistik.h"
#include "StatistikZeitraum.h"

#include <AMCbRb.h>
#include <DBZRDateEdit.h>
#include <Grundeinstellungen.h>
#include <Meldung.h>
#include <ProgDatum.h>
#include <Shell.h>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

QString DatumLang(const QDate& d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

TfrmTierbestandAuswahl::TfrmTierbestandAuswahl(TEinstellungen& einstellungen, QWidget* owner)
    : TZRDialog(owner), einstellungen_(einstellungen)
{
    setObjectName(QStringLiteral("frmTierbestandAuswahl"));
    setWindowTitle(QStringLiteral("Tierbestand"));
    setHelpContext(HilfeKontext);

    QGroupBox* zeitraum = StatistikZeitraum::Gruppe(this, von_, bis_);

    normal_ = new TAMRadioButton(this);
    normal_->setObjectName(QStringLiteral("Komplettnormal"));
    normal_->setText(QStringLiteral("Komplettbestand normal"));
    antrag_ = new TAMRadioButton(this);
    antrag_->setObjectName(QStringLiteral("komplettantrag"));
    antrag_->setText(QStringLiteral("Komplettbestand Antrag"));
    kuehe_ = new TAMRadioButton(this);
    kuehe_->setObjectName(QStringLiteral("Kuhe"));
    kuehe_->setText(QStringLiteral("nur Kühe"));
    prognose_ = new TAMCheckBox(this);
    prognose_->setObjectName(QStringLiteral("Prognose"));
    prognose_->setText(QStringLiteral("mit Prognose"));

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setObjectName(QStringLiteral("Ok"));
    ok_->setDefault(true);
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen_->setObjectName(QStringLiteral("Abbrechen"));
    for (QPushButton* k : {ok_, abbrechen_})
        k->setMinimumWidth(90);

    auto* links = new QVBoxLayout;
    links->addWidget(zeitraum);
    links->addWidget(normal_);
    links->addWidget(antrag_);
    links->addWidget(kuehe_);
    links->addSpacing(6);
    links->addWidget(prognose_);
    links->addStretch(1);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    knoepfe->addStretch(1);
    auto* haupt = new QHBoxLayout(this);
    haupt->addLayout(links, 1);
    haupt->addLayout(knoepfe);
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    const QDate heute = ProgDatum::Heute();
    QDate von = einstellungen_.GetTierbestandStatistikVon();
    QDate bis = einstellungen_.GetTierbestandStatistikBis();
    if (!von.isValid())
        von = QDate(heute.year(), 1, 1);
    if (!bis.isValid())
        bis = QDate(heute.year(), 12, 31);
    von_->SetDate(von);
    bis_->SetDate(bis);
    switch (einstellungen_.GetTierbestandStatistikArt()) {
        case TTierbestand::KomplettAntrag:
            antrag_->setChecked(true);
            break;
        case TTierbestand::NurKuehe:
            kuehe_->setChecked(true);
            break;
        default:
            normal_->setChecked(true);
            break;
    }
    prognose_->setChecked(einstellungen_.GetTierbestandStatistikPrognose());
    ArtKlick();

    for (QRadioButton* r : {normal_, antrag_, kuehe_})
        connect(r, &QRadioButton::clicked, this, &TfrmTierbestandAuswahl::ArtKlick);
    connect(von_, &TDBZRDateEdit::Verlassen, this, &TfrmTierbestandAuswahl::vonChange);
    connect(bis_, &TDBZRDateEdit::Verlassen, this, &TfrmTierbestandAuswahl::bisChange);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (OkClick())
            accept();
    });
    connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmTierbestandAuswahl::ArtKlick()
{
    prognose_->setEnabled(!kuehe_->isChecked());
}

void TfrmTierbestandAuswahl::vonChange()
{
    QDate von = von_->Date();
    if (!von.isValid())
        return;
    // The earliest date of the edits and the latest start.
    von = std::clamp(von, Fruehestens, std::max(Fruehestens, ProgDatum::Heute()));
    if (von != von_->Date())
        von_->SetDate(von);
    const QDate bis = bis_->Date();
    if (!bis.isValid())
        return;
    const QDate spaetestens = von.addYears(2).addDays(-1);
    if (bis < von)
        bis_->SetDate(von);
    else if (bis > spaetestens)
        bis_->SetDate(spaetestens);
}

void TfrmTierbestandAuswahl::bisChange()
{
    QDate bis = bis_->Date();
    if (!bis.isValid())
        return;
    if (bis < Fruehestens) {
        bis = Fruehestens;
        bis_->SetDate(bis);
    }
    const QDate von = von_->Date();
    if (!von.isValid())
        return;
    const QDate fruehestens = bis.addYears(-2).addDays(1);
    if (von > bis)
        von_->SetDate(bis);
    else if (von < fruehestens)
        von_->SetDate(fruehestens);
}

bool TfrmTierbestandAuswahl::OkClick()
{
    if (!StatistikZeitraum::Gueltig(von_, bis_))
        return false;
    const QDate von = von_->Date();
    const QDate bis = bis_->Date();
    const QDate heute = ProgDatum::Heute();
    const bool prognose = prognose_->isChecked() && !kuehe_->isChecked();
    if (einstellungen_.GetAktBetriebListen() != 0 && prognose && bis > heute)
        Tools::MeldungInfo(
            QStringLiteral("Eine Bestandsprognose liefert nur bei der Auswahl\r"
                           "aller Betriebsstätten sinnvolle Ergebnisse!"));
    einstellungen_.SetTierbestandStatistikVon(von);
    einstellungen_.SetTierbestandStatistikBis(bis > heute && !prognose ? heute : bis);
    einstellungen_.SetTierbestandStatistikPrognose(prognose_->isChecked());
    einstellungen_.SetTierbestandStatistikArt(antrag_->isChecked()  ? TTierbestand::KomplettAntrag
                                              : kuehe_->isChecked() ? TTierbestand::NurKuehe
                                                                    : TTierbestand::KomplettNormal);
    return true;
}

TfrmTierbestandStatistik::TfrmTierbestandStatistik(db::Database& datenbank, QWidget* owner)
    : TfrmGesamtbestandStatistik(datenbank, owner)
{
    setObjectName(QStringLiteral("frmTierbestandStatistik"));
    setProperty("HelpContext", TfrmTierbestandAuswahl::HilfeKontext);
}

TfrmTierbestandStatistik::~TfrmTierbestandStatistik() = default;

void TfrmTierbestandStatistik::Drucken()
{
    if (!Chart)
        return;
    std::unique_ptr<TTierbestand> druck = CreateDruck<TTierbestand>(&Transaktion, true);
    druck->Assign(*Chart);
    druck->Drucken();
}

void TfrmTierbestandStatistik::StatistikDblClick(int x)
{
    if (!Chart || x < Chart->Links || x > Chart->Rechts)
        return;
    QString titel;
    std::vector<TBestandWert> werte;
    Chart->TagesWerte(x, titel, werte);
    DatenZeigen(Chart->SpaltenMitte(x), titel, werte);
}

QString TierbestandTitel(const TTierbestand& chart)
{
    return QStringLiteral("Tierbestand von %1 bis %2, %3, %4 Prognose")
        .arg(DatumLang(chart.Von), DatumLang(chart.Bis), TTierbestand::ArtName(chart.Art),
             chart.Prognose ? QStringLiteral("mit") : QStringLiteral("ohne"));
}

TfrmTierbestandStatistik* TierbestandStatistikAnzeigen(TShell* shell, QWidget* owner,
                                                       db::Database& datenbank)
{
    TEinstellungen* e = Einstellungen();
    if (!e)
        throw std::runtime_error("Die Statistik kann ohne Einstellungen nicht geöffnet werden.");
    QWidget* besitzer = shell ? shell->Fenster() : owner;
    {
        TfrmTierbestandAuswahl auswahl(*e, besitzer);
        if (auswahl.exec() != QDialog::Accepted)
            return nullptr;
    }
    return StatistikFensterZeigen<TfrmTierbestandStatistik>(
        shell, owner, datenbank,
        [e](TTierbestand& chart) {
            chart.Prognose = e->GetTierbestandStatistikPrognose();
            const int art = e->GetTierbestandStatistikArt();
            chart.Art = art >= TTierbestand::KomplettNormal && art <= TTierbestand::NurKuehe
                            ? art
                            : TTierbestand::KomplettNormal;
            chart.Von = e->GetTierbestandStatistikVon();
            chart.SetBis(e->GetTierbestandStatistikBis());
            chart.Stall = e->GetAktBetriebListen();
        },
        TierbestandTitel);
}
