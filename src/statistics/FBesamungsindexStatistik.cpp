#include "FBesamungsindexStatistik.h"
#include "StatistikZeitraum.h"

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

#include <algorithm>
#include <stdexcept>

TfrmBesamungsindexAuswahl::TfrmBesamungsindexAuswahl(TEinstellungen& einstellungen, QWidget* owner)
    : TZRDialog(owner), einstellungen_(einstellungen)
{
    setObjectName(QStringLiteral("frmBesamungsindexAuswahl"));
    setWindowTitle(QStringLiteral("Besamungsindex"));
    setHelpContext(HilfeKontext);

    QGroupBox* zeitraum = StatistikZeitraum::Gruppe(this, von_, bis_);

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setObjectName(QStringLiteral("Ok"));
    ok_->setDefault(true);
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen_->setObjectName(QStringLiteral("Abbrechen"));
    for (QPushButton* k : {ok_, abbrechen_})
        k->setMinimumWidth(90);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    knoepfe->addStretch(1);
    auto* haupt = new QHBoxLayout(this);
    haupt->addWidget(zeitraum, 1, Qt::AlignTop);
    haupt->addLayout(knoepfe);
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    const int vorjahr = ProgDatum::Heute().year() - 1;
    QDate von = einstellungen_.GetBesamungsindexStatistikVon();
    QDate bis = einstellungen_.GetBesamungsindexStatistikBis();
    von_->SetDate(von.isValid() ? von : QDate(vorjahr, 1, 1));
    bis_->SetDate(bis.isValid() ? bis : QDate(vorjahr, 12, 31));

    connect(von_, &TDBZRDateEdit::Verlassen, this, &TfrmBesamungsindexAuswahl::vonChange);
    connect(bis_, &TDBZRDateEdit::Verlassen, this, &TfrmBesamungsindexAuswahl::bisChange);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (OkClick())
            accept();
    });
    connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmBesamungsindexAuswahl::Begrenzen(TDBZRDateEdit* edit)
{
    const QDate d = edit->Date();
    if (!d.isValid())
        return;
    const QDate begrenzt = std::clamp(d, Fruehestens, std::max(Fruehestens, ProgDatum::Heute()));
    if (begrenzt != d)
        edit->SetDate(begrenzt);
}

void TfrmBesamungsindexAuswahl::vonChange()
{
    Begrenzen(von_);
    const QDate von = von_->Date();
    const QDate bis = bis_->Date();
    if (von.isValid() && bis.isValid() && bis < von)
        bis_->SetDate(von);
}

void TfrmBesamungsindexAuswahl::bisChange()
{
    Begrenzen(bis_);
    const QDate von = von_->Date();
    const QDate bis = bis_->Date();
    if (von.isValid() && bis.isValid() && von > bis)
        von_->SetDate(bis);
}

bool TfrmBesamungsindexAuswahl::OkClick()
{
    if (!StatistikZeitraum::Gueltig(von_, bis_))
        return false;
    const QDate von = von_->Date();
    const QDate bis = bis_->Date();
    const QDate heute = ProgDatum::Heute();
    einstellungen_.SetBesamungsindexStatistikVon(von);
    einstellungen_.SetBesamungsindexStatistikBis(bis > heute ? heute : bis);
    return true;
}

TfrmBesamungsindexStatistik::TfrmBesamungsindexStatistik(db::Database& datenbank, QWidget* owner)
    : TfrmGesamtbestandStatistik(datenbank, owner)
{
    setObjectName(QStringLiteral("frmBesamungsindexStatistik"));
    setProperty("HelpContext", TfrmBesamungsindexAuswahl::HilfeKontext);
}

TfrmBesamungsindexStatistik::~TfrmBesamungsindexStatistik() = default;

void TfrmBesamungsindexStatistik::Drucken()
{
    if (!Chart)
        return;
    std::unique_ptr<TBesamungsindexBestand> druck =
        CreateDruck<TBesamungsindexBestand>(&Transaktion, true);
    druck->Assign(*Chart);
    druck->Drucken();
}

QString BesamungsindexTitel(const TBesamungsindexBestand& chart)
{
    return QStringLiteral("Besamungsindex von %1 bis %2")
        .arg(chart.Von.toString(QStringLiteral("dd.MM.yyyy")),
             chart.Bis.toString(QStringLiteral("dd.MM.yyyy")));
}

TfrmBesamungsindexStatistik* BesamungsindexStatistikAnzeigen(TShell* shell, QWidget* owner,
                                                             db::Database& datenbank)
{
    TEinstellungen* e = Einstellungen();
    if (!e)
        throw std::runtime_error("Die Statistik kann ohne Einstellungen nicht geöffnet werden.");
    {
        TfrmBesamungsindexAuswahl auswahl(*e, shell ? shell->Fenster() : owner);
        if (auswahl.exec() != QDialog::Accepted)
            return nullptr;
    }
    return StatistikFensterZeigen<TfrmBesamungsindexStatistik>(
        shell, owner, datenbank,
        [e](TBesamungsindexBestand& chart) {
            chart.Von = e->GetBesamungsindexStatistikVon();
            chart.Bis = e->GetBesamungsindexStatistikBis();
        },
        BesamungsindexTitel);
}
