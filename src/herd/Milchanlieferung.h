#pragma once

#include "MilchanlieferungLogik.h"

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QList>

#include <memory>

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TDBComboBox;
class TDBFloatEdit;
class QKeyEvent;

namespace db {
class Database;
}

// "Neues Monat": the month of a new record among those without one.
class TfrmMilchanlieferungNeu : public TZRDialog {
    Q_OBJECT
public:
    TfrmMilchanlieferungNeu(const QList<QDate>& monate, QWidget* owner = nullptr);

    QComboBox* Auswahl() const { return auswahl_; }
    // The chosen month; invalid when none is chosen.
    QDate Monat() const;

private:
    QList<QDate> monate_;
    QComboBox* auswahl_;
};

// "Milchanlieferung": one month of deliveries at a time, with the state of the quota year.
class TfrmMilchanlieferung : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 7000;

    explicit TfrmMilchanlieferung(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmMilchanlieferung() override;

    db::DataSet& Daten() { return daten_; }
    QComboBox* MonatAuswahl() const { return monat_; }
    TDBComboBox* WaehrungAuswahl() const { return waehrung_; }
    TDBFloatEdit* Feld(const QString& feldname) const;
    QLabel* PreisEinheit37() const { return preisEinheit37_; }
    QLabel* GeldEinheit() const { return geldEinheit_; }
    QLabel* Anzeige(const QString& name) const;
    QDoubleSpinBox* FettWahl() const { return fettWahl_; }
    QPushButton* NeuKnopf() const { return neu_; }
    QPushButton* SpeichernKnopf() const { return speichern_; }

    // Posts, commits and shows the saved month again; false when the post was refused.
    bool Speichern();
    // The new-month dialog and the new record with the shown month's values.
    void NeuerMonat();
    // Asks about unsaved edits; false when the user stays (Cancel) or saving failed.
    bool AenderungenKlaeren();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void MonateLesen();
    void MonatZeigen(int id);
    void MonatGewaehlt(int position);
    void EinheitenSetzen();
    void FelderFreigeben();
    void QuoteBerechnen(bool neuLesen);

    db::Transaction transaktion_;
    db::DataSet daten_;
    QList<int> ids_;
    QList<QDate> monate_;
    int aktuell_ = -1;  // position in ids_
    bool preiseMitKomma_ = true;
    bool fettGesetzt_ = false;
    Milchanlieferung::Summen summen_;
    int restTage_ = 0;

    QComboBox* monat_;
    TDBComboBox* waehrung_;
    QList<TDBFloatEdit*> felder_;
    QLabel* preisEinheit37_;
    QLabel* preisEinheitEigen_;
    QLabel* geldEinheit_;
    QGroupBox* berechnung_;
    QLabel* lieferbarTitel_;
    QList<QLabel*> anzeigen_;
    QDoubleSpinBox* fettWahl_;
    QPushButton* neu_;
    QPushButton* speichern_;
    QPushButton* schliessen_;
    QPushButton* hilfe_;
};
