#include "FMilchanlieferungStatistik.h"

#include <AMCbRb.h>
#include <Grundeinstellungen.h>
#include <Meldung.h>
#include <Shell.h>

#include <Query.h>
#include <Transaction.h>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

QString MonatText(const QDate& d)
{
    return d.toString(QStringLiteral("MM.yyyy"));
}

QDate MonatsErster(const QDate& d)
{
    return QDate(d.year(), d.month(), 1);
}

}  // namespace

TfrmMilchanlieferungAuswahl::TfrmMilchanlieferungAuswahl(TEinstellungen& einstellungen,
                                                         db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner), einstellungen_(einstellungen)
{
    setObjectName(QStringLiteral("frmMilchanlieferungAuswahl"));
    setWindowTitle(QStringLiteral("Milchanlieferung"));
    setHelpContext(HilfeKontext);
    {
        db::Transaction ta(datenbank, QStringLiteral("TAAuswahl"));
        ta.Start();
        db::Query q(ta, QStringLiteral("SELECT ID, MONAT FROM T_MILCHANLIEFERUNG ORDER BY MONAT"));
        for (q.Open(); !q.Eof(); q.Next())
            monate_ << MonatsErster(q.Field(1).AsDate());
        q.Close();
        ta.Commit();
    }

    auto* zeitraum = new QGroupBox(QStringLiteral("Zeitraum"), this);
    von_ = new QComboBox(zeitraum);
    von_->setObjectName(QStringLiteral("von"));
    bis_ = new QComboBox(zeitraum);
    bis_->setObjectName(QStringLiteral("bis"));
    for (const QDate& m : monate_) {
        von_->addItem(MonatText(m));
        bis_->addItem(MonatText(m));
    }
    auto* vonText = new QLabel(QStringLiteral("von:"), zeitraum);
    vonText->setBuddy(von_);
    auto* bisText = new QLabel(QStringLiteral("bis:"), zeitraum);
    bisText->setBuddy(bis_);
    auto* raster = new QGridLayout(zeitraum);
    raster->addWidget(vonText, 0, 0);
    raster->addWidget(von_, 0, 1);
    raster->addWidget(bisText, 1, 0);
    raster->addWidget(bis_, 1, 1);

    const auto box = [this](const char* name, const char* text) {
        auto* b = new TAMCheckBox(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(QString::fromUtf8(text));
        return b;
    };
    menge_ = box("Menge", "Menge");
    milchgeld_ = box("Milchgeld", "Milchgeld");
    inhaltsstoffe_ = box("Inhaltsstoffe", "Inhaltsstoffe");
    preis37_ = box("Preis37", "3,7 er Preis");
    eigenpreis_ = box("Eigenpreis", "Eigenpreis");

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setObjectName(QStringLiteral("Ok"));
    ok_->setDefault(true);
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen_->setObjectName(QStringLiteral("Abbrechen"));
    for (QPushButton* k : {ok_, abbrechen_})
        k->setMinimumWidth(90);
    auto* links = new QVBoxLayout;
    links->addWidget(zeitraum);
    for (QCheckBox* b : {menge_, milchgeld_, inhaltsstoffe_, preis37_, eigenpreis_})
        links->addWidget(b);
    links->addStretch(1);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    knoepfe->addStretch(1);
    auto* haupt = new QHBoxLayout(this);
    haupt->addLayout(links, 1);
    haupt->addLayout(knoepfe);
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    if (!monate_.isEmpty()) {
        const int von =
            int(monate_.indexOf(MonatsErster(einstellungen_.GetMilchanlieferungStatistikVon())));
        const int bis =
            int(monate_.indexOf(MonatsErster(einstellungen_.GetMilchanlieferungStatistikBis())));
        von_->setCurrentIndex(von < 0 ? 0 : von);
        bis_->setCurrentIndex(bis < 0 ? int(monate_.size()) - 1 : bis);
        if (bis_->currentIndex() < von_->currentIndex())
            bis_->setCurrentIndex(von_->currentIndex());
    }
    menge_->setChecked(einstellungen_.GetMilchanlieferungStatistikMenge());
    milchgeld_->setChecked(einstellungen_.GetMilchanlieferungStatistikMilchgeld());
    inhaltsstoffe_->setChecked(einstellungen_.GetMilchanlieferungStatistikInhaltsstoffe());
    preis37_->setChecked(einstellungen_.GetMilchanlieferungStatistik37Preis());
    eigenpreis_->setChecked(einstellungen_.GetMilchanlieferungStatistikEigenpreis());

    connect(von_, &QComboBox::activated, this, &TfrmMilchanlieferungAuswahl::vonSelect);
    connect(bis_, &QComboBox::activated, this, &TfrmMilchanlieferungAuswahl::bisSelect);
    connect(ok_, &QPushButton::clicked, this, [this] {
        OkClick();
        accept();
    });
    connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmMilchanlieferungAuswahl::vonSelect()
{
    const int v = von_->currentIndex();
    int b = bis_->currentIndex();
    if (v < 0 || b < 0)
        return;
    if (v > b) {
        bis_->setCurrentIndex(v);
        return;
    }
    const QDate von = monate_[v];
    if (von.daysTo(monate_[b]) <= MaxTage)
        return;
    const QDate grenze = MonatsErster(von.addDays(MaxTage));
    while (b > v && monate_[b] > grenze)
        --b;
    bis_->setCurrentIndex(b);
}

void TfrmMilchanlieferungAuswahl::bisSelect()
{
    int v = von_->currentIndex();
    const int b = bis_->currentIndex();
    if (v < 0 || b < 0)
        return;
    if (v > b) {
        von_->setCurrentIndex(b);
        return;
    }
    const QDate bis = monate_[b];
    if (monate_[v].daysTo(bis) <= MaxTage)
        return;
    const QDate grenze = MonatsErster(bis.addDays(-MaxTage + 31));
    while (v < b && monate_[v] < grenze)
        ++v;
    von_->setCurrentIndex(v);
}

void TfrmMilchanlieferungAuswahl::OkClick()
{
    if (von_->currentIndex() >= 0)
        einstellungen_.SetMilchanlieferungStatistikVon(monate_[von_->currentIndex()]);
    if (bis_->currentIndex() >= 0)
        einstellungen_.SetMilchanlieferungStatistikBis(monate_[bis_->currentIndex()]);
    einstellungen_.SetMilchanlieferungStatistikMenge(menge_->isChecked());
    einstellungen_.SetMilchanlieferungStatistikMilchgeld(milchgeld_->isChecked());
    einstellungen_.SetMilchanlieferungStatistikInhaltsstoffe(inhaltsstoffe_->isChecked());
    einstellungen_.SetMilchanlieferungStatistik37Preis(preis37_->isChecked());
    einstellungen_.SetMilchanlieferungStatistikEigenpreis(eigenpreis_->isChecked());
}

TfrmMilchanlieferungStatistik::TfrmMilchanlieferungStatistik(db::Database& datenbank,
                                                             QWidget* owner)
    : TfrmGesamtbestandStatistik(datenbank, owner)
{
    setObjectName(QStringLiteral("frmMilchanlieferungStatistik"));
    setProperty("HelpContext", TfrmMilchanlieferungAuswahl::HilfeKontext);
}

TfrmMilchanlieferungStatistik::~TfrmMilchanlieferungStatistik() = default;

void TfrmMilchanlieferungStatistik::Drucken()
{
    if (!Chart)
        return;
    std::unique_ptr<TMilchanlieferung> druck = CreateDruck<TMilchanlieferung>(&Transaktion, true);
    druck->Assign(*Chart);
    druck->Drucken();
}

void TfrmMilchanlieferungStatistik::StatistikDblClick(int x)
{
    if (!Chart)
        return;
    QString titel;
    std::vector<TBestandWert> werte;
    if (!Chart->MonatsWerte(x, titel, werte))
        return;
    DatenZeigen(Chart->SpaltenMitte(x), titel, werte);
}

QString MilchanlieferungTitel(const TMilchanlieferung& chart)
{
    return QStringLiteral("Milchanlieferung von %1 bis %2")
        .arg(MonatText(chart.Von), MonatText(chart.Bis));
}

TfrmMilchanlieferungStatistik* MilchanlieferungStatistikAnzeigen(TShell* shell, QWidget* owner,
                                                                 db::Database& datenbank)
{
    TEinstellungen* e = Einstellungen();
    if (!e)
        throw std::runtime_error("Die Statistik kann ohne Einstellungen nicht geöffnet werden.");
    {
        TfrmMilchanlieferungAuswahl auswahl(*e, datenbank, shell ? shell->Fenster() : owner);
        if (auswahl.Monate().isEmpty()) {
            Tools::MeldungInfo(QStringLiteral("Es sind keine Milchanlieferungs-Daten vorhanden"));
            return nullptr;
        }
        if (auswahl.exec() != QDialog::Accepted)
            return nullptr;
    }
    return StatistikFensterZeigen<TfrmMilchanlieferungStatistik>(
        shell, owner, datenbank,
        [e](TMilchanlieferung& chart) {
            chart.Von = e->GetMilchanlieferungStatistikVon();
            chart.Bis = e->GetMilchanlieferungStatistikBis();
            chart.Menge = e->GetMilchanlieferungStatistikMenge();
            chart.Milchgeld = e->GetMilchanlieferungStatistikMilchgeld();
            chart.Inhaltsstoffe = e->GetMilchanlieferungStatistikInhaltsstoffe();
            chart.Preis37 = e->GetMilchanlieferungStatistik37Preis();
            chart.Eigenpreis = e->GetMilchanlieferungStatistikEigenpreis();
            chart.Waehrung = e->GetStandardwaehrung();
        },
        MilchanlieferungTitel);
}
