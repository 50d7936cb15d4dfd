#include "Kalbung.h"

#include <AMCbRb.h>
#include <DBTools.h>
#include <DBZRDateEdit.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Meldung.h>
#include <ProgDatum.h>
#include <ZRDBcxGrid.h>
#include <ZRDateTools.h>
#include <ZRcxGridDBTableView.h>

#include <Error.h>
#include <Query.h>

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using Kalbung::TKalb;

namespace {

// Undoes the statements run since it was made unless Behalten was called; the transaction's
// earlier work stays.
class TSicherungspunkt {
public:
    explicit TSicherungspunkt(db::Transaction& tr) : tr_(tr)
    {
        db::Query(tr_, QStringLiteral("SAVEPOINT KALBUNG_NEU")).Execute();
    }
    ~TSicherungspunkt()
    {
        if (behalten_)
            return;
        try {
            db::Query(tr_, QStringLiteral("ROLLBACK TO SAVEPOINT KALBUNG_NEU")).Execute();
        } catch (const std::exception&) {
            tr_.RollbackRetaining();
        }
    }
    void Behalten()
    {
        db::Query(tr_, QStringLiteral("RELEASE SAVEPOINT KALBUNG_NEU")).Execute();
        behalten_ = true;
    }

private:
    db::Transaction& tr_;
    bool behalten_ = false;
};

}  // namespace

TfrmKalbungNeu::TfrmKalbungNeu(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmKalbungNeu"));
    setWindowTitle(QStringLiteral("Kalbung"));
    setHelpContext(HilfeKontext);

    datum_ = new TDBZRDateEdit(this);
    datum_->setObjectName(QStringLiteral("edDatum"));
    anzahl_ = new QSpinBox(this);
    anzahl_->setObjectName(QStringLiteral("seAnzahl"));
    anzahl_->setRange(1, 3);
    auto* kopf = new QFormLayout;
    kopf->addRow(QStringLiteral("Datum:"), datum_);
    kopf->addRow(QStringLiteral("Anzahl Kälber:"), anzahl_);

    auto* kaelberZeile = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        TKalbFelder& k = kaelber_[i];
        k.gruppe = new QGroupBox(QStringLiteral("%1. Kalb").arg(i + 1), this);
        k.gruppe->setObjectName(QStringLiteral("gbKalb%1").arg(i + 1));
        k.nummer = new QLineEdit(k.gruppe);
        k.nummer->setObjectName(QStringLiteral("edNummer%1").arg(i + 1));
        k.nummer->setMaxLength(15);
        k.nummer->setMinimumWidth(
            k.nummer->fontMetrics().horizontalAdvance(QStringLiteral("DE 00 000 000000")) + 12);
        connect(k.nummer, &QLineEdit::textEdited, k.nummer, [e = k.nummer](const QString& t) {
            const int pos = e->cursorPosition();
            e->setText(t.toUpper());
            e->setCursorPosition(pos);
        });
        k.maennlich = new TAMRadioButton(k.gruppe);
        k.maennlich->setText(QStringLiteral("m"));
        k.maennlich->setObjectName(QStringLiteral("rbM%1").arg(i + 1));
        k.maennlich->setChecked(true);
        k.weiblich = new TAMRadioButton(k.gruppe);
        k.weiblich->setText(QStringLiteral("w"));
        k.weiblich->setObjectName(QStringLiteral("rbW%1").arg(i + 1));
        k.erstellen = new TAMCheckBox(k.gruppe);
        k.erstellen->setText(QStringLiteral("Datensatz erstellen"));
        k.erstellen->setObjectName(QStringLiteral("cbErstellen%1").arg(i + 1));
        k.erstellen->setChecked(true);
        auto* g = new QGridLayout(k.gruppe);
        g->addWidget(new QLabel(QStringLiteral("Nummer:"), k.gruppe), 0, 0);
        g->addWidget(k.nummer, 0, 1, 1, 2);
        g->addWidget(k.maennlich, 1, 1);
        g->addWidget(k.weiblich, 1, 2);
        g->addWidget(k.erstellen, 2, 1, 1, 2);
        k.gruppe->setEnabled(i == 0);
        kaelberZeile->addWidget(k.gruppe);
    }
    auto* hinweis = new QLabel(QStringLiteral("Hinweis: Bei Totgeburt als Nummer TOTGEBURT "
                                              "eingeben und Datensatz erstellen demarkieren"),
                               this);
    hinweis->setWordWrap(true);

    verlauf_ = new QComboBox(this);
    verlauf_->setObjectName(QStringLiteral("cbVerlauf"));
    verlauf_->setEditable(true);
    verlauf_->setInsertPolicy(QComboBox::NoInsert);
    verlauf_->addItems(Kalbung::Verlaeufe());
    verlauf_->setCurrentIndex(0);
    bemerkung_ = new QPlainTextEdit(this);
    bemerkung_->setObjectName(QStringLiteral("meBemerkung"));
    bemerkung_->setFixedHeight(bemerkung_->fontMetrics().lineSpacing() * 4 + 12);
    auto* unten = new QFormLayout;
    unten->addRow(QStringLiteral("Verlauf:"), verlauf_);
    unten->addRow(QStringLiteral("Bemerkung:"), bemerkung_);

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setDefault(true);
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);

    auto* v = new QVBoxLayout(this);
    v->addLayout(kopf);
    v->addLayout(kaelberZeile);
    v->addWidget(hinweis);
    v->addLayout(unten);
    v->addLayout(knoepfe);

    connect(anzahl_, &QSpinBox::valueChanged, this, &TfrmKalbungNeu::AnzahlGeaendert);
    connect(ok_, &QPushButton::clicked, this, &TfrmKalbungNeu::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmKalbungNeu::reject);
}

void TfrmKalbungNeu::KalbungOeffnen(bool neuesTier, int tierID, const QDate& gebdat,
                                    const QDate& trocken)
{
    TDM& dm = *DM();
    if (!dm.TAStammdaten.Active())
        dm.TAStammdaten.Start();
    neuesTier_ = neuesTier;
    tierID_ = tierID;
    gebdat_ = gebdat;
    trocken_ = trocken;
    const QDate heute = ProgDatum::Heute();
    datum_->setText(ZRDateTools::DatumText(heute));
    if (!neuesTier)
        kaelber_[0].nummer->setText(Kalbung::NachfolgeNummer(
            dm.SQLWertString(dm.TAStammdaten, QStringLiteral("SELECT * FROM P_GET_LETZTE_LOM"))));
    fruehestes_ = Kalbung::FruehestesDatum(
        dm.SQLWertDatum(dm.TAStammdaten,
                        QStringLiteral("SELECT DATUM FROM P_GET_LETZTE_KALBUNG(:TIER)"),
                        {{QStringLiteral("TIER"), tierID}}),
        gebdat, heute);
}

void TfrmKalbungNeu::AnzahlGeaendert(int anzahl)
{
    for (int i = 0; i < 3; ++i) {
        const bool an = i < anzahl;
        if (an && i >= anzahlVorher_ && !neuesTier_)
            kaelber_[i].nummer->setText(
                Kalbung::NachfolgeNummer(kaelber_[i - 1].nummer->text().trimmed()));
        kaelber_[i].gruppe->setEnabled(an);
    }
    anzahlVorher_ = anzahl;
}

void TfrmKalbungNeu::Ok()
{
    const int index = Kalbung::VerlaufIndex(verlauf_->currentText());
    if (index >= 0)
        verlauf_->setCurrentIndex(index);
    QList<TKalb> kaelber;
    for (int i = 0; i < anzahl_->value(); ++i)
        kaelber << TKalb{kaelber_[i].nummer->text().trimmed(), kaelber_[i].maennlich->isChecked(),
                         kaelber_[i].erstellen->isChecked()};
    const QDate datum = datum_->Date();
    if (const auto fehler =
            Kalbung::KalbungPruefen(datum, kaelber, gebdat_, fruehestes_, ProgDatum::Heute())) {
        Tools::MeldungError(fehler->text);
        (fehler->kalb == 0 ? static_cast<QWidget*>(datum_) : kaelber_[fehler->kalb - 1].nummer)
            ->setFocus();
        return;
    }
    if (Speichern(kaelber, index))
        accept();
}

bool TfrmKalbungNeu::Speichern(const QList<TKalb>& kaelber, int verlaufIndex)
{
    TDM& dm = *DM();
    const QDate datum = datum_->Date();
    try {
        TSicherungspunkt punkt(dm.TAStammdaten);
        db::Query k(dm.TAStammdaten,
                    QStringLiteral("insert into T_KALBUNGEN (ID, DATUM, NUMMER, GESCHLECHT, "
                                   "VERLAUF, TROCKEN, TIER, NR, BEMERKUNG) values (:ID, :DATUM, "
                                   ":NUMMER, :GESCHLECHT, :VERLAUF, :TROCKEN, :TIER, :NR, "
                                   ":BEMERKUNG)"));
        k.Param("ID").SetNull();
        k.Param("NR").SetNull();
        k.Param("DATUM").SetDate(datum);
        k.Param("NUMMER").SetString(Kalbung::KalbungNummer(kaelber));
        k.Param("GESCHLECHT").SetString(Kalbung::GeschlechtCode(kaelber));
        k.Param("VERLAUF").SetString(verlauf_->currentText().trimmed());
        k.Param("TROCKEN").SetDate(trocken_);
        k.Param("TIER").SetInteger(tierID_);
        const QString bemerkung = bemerkung_->toPlainText();
        if (bemerkung.isEmpty())
            k.Param("BEMERKUNG").SetNull();
        else
            k.Param("BEMERKUNG").SetString(bemerkung);
        k.Execute();

        TEinstellungen* e = Einstellungen();
        const bool meldungAuto = e ? e->GetMeldungAuto() : true;
        for (int i = 0; i < kaelber.size(); ++i) {
            if (!kaelber[i].erstellen)
                continue;
            db::Query kalb(dm.TAStammdaten,
                           QStringLiteral("SELECT KALB_ID FROM P_DO_NEUES_KALB(:NUMMER, :GEBDAT, "
                                          ":GESCHLECHT, :MUTTER_ID)"));
            kalb.Param("NUMMER").SetString(kaelber[i].nummer);
            kalb.Param("GEBDAT").SetDate(datum);
            kalb.Param("GESCHLECHT")
                .SetString(kaelber[i].maennlich ? QStringLiteral("M") : QStringLiteral("W"));
            kalb.Param("MUTTER_ID").SetInteger(tierID_);
            kalb.Open();
            const int kalbID = kalb.Field(0).AsInteger();
            kalb.Close();
            if (meldungAuto &&
                Tools::MeldungConfirm(QStringLiteral("Soll eine Geburtsmeldung für das Kalb\r    "
                                                     "%1\ran HI - Tier vorbereitet werden?")
                                          .arg(kaelber[i].nummer),
                                      0) == Tools::mrYes) {
                THITMeldung m;
                m.TierID = kalbID;
                m.Meldung = 8;
                m.Datum = datum;
                m.Mehrling = int(kaelber.size());
                m.Verlauf = qMax(0, verlaufIndex);
                dm.HITMeldungAnlegen(dm.TAStammdaten, m);
            }
        }
        punkt.Behalten();
    } catch (const db::Error& fehler) {
        QString text;
        Tools::MeldungError(DBTools::DBFehlerText(fehler, text) ? text
                                                                : QString::fromUtf8(fehler.what()));
        return false;
    }
    dm.TAStammdaten.CommitRetaining();
    return true;
}

TfrmKalbWaehlen::TfrmKalbWaehlen(QWidget* owner) : TZRDialog(owner), liste_(DM()->TAStammdaten)
{
    setObjectName(QStringLiteral("frmKalbWaehlen"));
    setWindowTitle(QStringLiteral("Kalb wählen"));
    liste_.SetSelectSQL(QStringLiteral("SELECT * FROM P_GET_KAELBER_V_KALBUNG(:KALBUNG_ID)"));
    auto* gruppe = new QGroupBox(QStringLiteral("Kälber"), this);
    auto* gitter = new TZRDBcxGrid(gruppe);
    ansicht_ = qobject_cast<TZRcxGridDBTableView*>(gitter->ActiveView());
    if (!ansicht_)
        ansicht_ = gitter->CreateView<TZRcxGridDBTableView>(QStringLiteral("Kaelber"));
    ansicht_->setObjectName(QStringLiteral("Kaelber"));
    ansicht_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gitter->setMinimumSize(340, 160);
    (new QVBoxLayout(gruppe))->addWidget(gitter);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setDefault(true);
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* v = new QVBoxLayout(this);
    v->addWidget(gruppe);
    v->addLayout(knoepfe);
    connect(ok_, &QPushButton::clicked, this, &TfrmKalbWaehlen::accept);
    connect(ansicht_, &QAbstractItemView::doubleClicked, this, &TfrmKalbWaehlen::accept);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmKalbWaehlen::reject);
}

TfrmKalbWaehlen::~TfrmKalbWaehlen()
{
    liste_.Close();
}

void TfrmKalbWaehlen::KaelberOeffnen(int kalbungID)
{
    liste_.Close();
    liste_.Param(QStringLiteral("KALBUNG_ID")).SetInteger(kalbungID);
    liste_.Open();
    liste_.FieldByName(QStringLiteral("ID")).Visible = false;
    liste_.FieldByName(QStringLiteral("NAME")).DisplayLabel = QStringLiteral("Name");
    liste_.FieldByName(QStringLiteral("NUMMER")).DisplayLabel = QStringLiteral("Nummer");
    liste_.FieldByName(QStringLiteral("GESCHLECHT")).DisplayLabel = QStringLiteral("Geschlechte");
    ansicht_->SetDataSet(&liste_);
}

int TfrmKalbWaehlen::KalbID()
{
    return liste_.Active() && !liste_.IsEmpty()
               ? liste_.FieldByName(QStringLiteral("ID")).AsInteger()
               : 0;
}
