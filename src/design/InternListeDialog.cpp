#include "InternListeDialog.h"

#include <FrameInternListeWahl.h>
#include <TerminLogik.h>

#include <Query.h>
#include <ZRDateTools.h>

#include <QLineEdit>
#include <QVBoxLayout>

#include <stdexcept>

TfrmInternListeDialog::TfrmInternListeDialog(db::Database& datenbank, QWidget* owner,
                                             const QString& transaktion)
    : TZRDialog(owner), transaktion_(datenbank, transaktion), daten_(transaktion_)
{
    setBorderStyle(bsSizeable);
    auto* layout = new QVBoxLayout(this);
    oben_ = new QVBoxLayout;
    layout->addLayout(oben_);
}

TfrmInternListeDialog::~TfrmInternListeDialog()
{
    daten_.Close();
}

void TfrmInternListeDialog::DesignsEinrichten(const Einrichtung& e)
{
    designs_ = new TframeInternListeWahl(transaktion_.GetDatabase(), this);
    designs_->setObjectName(QStringLiteral("Designs"));
    static_cast<QVBoxLayout*>(layout())->addWidget(designs_, 1);
    designs_->ListenTyp = e.listenTyp;
    designs_->Felder = e.felder;
    designs_->StandardDesigns = e.standardDesigns;
    designs_->Daten = &daten_;
    designs_->Betriebsstaette = e.betriebsstaette;
    designs_->BetriebsstaetteDrucken = e.betriebsstaetteDrucken;
    designs_->OnBildschirmFelderAnlegen = [felder = e.bildschirm](TframeInternListeWahl& f,
                                                                  int listeId) {
        for (const ListenDialoge::NeuesFeld& n : felder)
            f.BildschirmFeldAnlegen(listeId, n.feld, n.titel, n.breite);
    };
    designs_->OnDruckFelderAnlegen = [felder = e.druck, quer = e.querformat](
                                         TframeInternListeWahl& f, int listeId) {
        for (const ListenDialoge::NeuesFeld& n : felder) {
            f.DruckFeldAnlegen(listeId, n.feld, n.titel, n.position, n.breite);
            if (n.zeile == 1 && n.sichtbar)
                continue;
            db::Query q(f.TAInternListeWahl(),
                        QStringLiteral("UPDATE T_LISTEN_DRUCK SET ZEILE = :ZEILE, SICHTBAR = "
                                       ":SICHTBAR WHERE LISTE = :LISTE AND FELD = :FELD"));
            q.Param(QStringLiteral("ZEILE")).SetInteger(n.zeile);
            q.Param(QStringLiteral("SICHTBAR"))
                .SetString(n.sichtbar ? QStringLiteral("T") : QStringLiteral("F"));
            q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
            q.Param(QStringLiteral("FELD")).SetString(n.feld);
            q.Execute();
        }
        if (quer) {
            db::Query q(f.TAInternListeWahl(),
                        QStringLiteral("UPDATE T_LISTEN SET PAPIER_AUSRICHTUNG = 'Q' WHERE ID = "
                                       ":LISTE"));
            q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
            q.Execute();
        }
    };
    designs_->OnVorAusgabe = [this](TframeInternListeWahl& f) {
        VorAusgabe();
        f.DatenSQL = datenSQL_;
        f.SchnellwahlSQL = schnellwahlSQL_;
        f.Titelzusatz = titelzusatz_;
    };
    designs_->OnNachAusgabe = [this](TframeInternListeWahl&) { accept(); };
    designs_->OnHilfe = [this](TframeInternListeWahl&) { HilfeAnzeigen(); };
    if (e.fensterklasse)
        designs_->OnFensterklasse = [k = e.fensterklasse](TframeInternListeWahl&,
                                                          FListeNormal::Fensterklasse& klasse) {
            klasse = k;
        };
    designs_->Initialisieren(true);
}

QString TfrmInternListeDialog::StandardDesigns() const
{
    return designs_ ? designs_->StandardDesigns : QString();
}

QLineEdit* TfrmInternListeDialog::Datumsfeld(const char* name)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(10);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    connect(e, &QLineEdit::editingFinished, e,
            [e] { e->setText(ZRDateTools::FormatDateNice(e->text())); });
    return e;
}

QString TfrmInternListeDialog::DatumText(const QDate& datum)
{
    return datum.isValid() ? Termin::SqlDatum(datum) : QString();
}

QDate TfrmInternListeDialog::Datum(const QLineEdit* feld)
{
    return ZRDateTools::DatumAusText(feld->text());
}

std::pair<QDate, QDate> TfrmInternListeDialog::Zeitraum(const QLineEdit* von, const QLineEdit* bis)
{
    return Termin::ZeitraumOrdnen(Datum(von), Datum(bis));
}

void TfrmInternListeDialog::VorAusgabe()
{
    EinstellungenSpeichern();
    QString daten;
    QString schnellwahl;
    QString titel;
    TexteErstellen(daten, schnellwahl, titel);
    datenSQL_ = daten;
    schnellwahlSQL_ = schnellwahl;
    titelzusatz_ = titel;
    daten_.Close();
    if (transaktion_.Active())
        transaktion_.Commit();
    transaktion_.Start();
    daten_.SetSelectSQL(datenSQL_);
}

void TfrmInternListeDialog::done(int result)
{
    daten_.Close();
    if (transaktion_.Active())
        transaktion_.Commit();
    EinstellungenSpeichern();
    if (designs_)
        designs_->Schliessen();
    TZRDialog::done(result);
}
