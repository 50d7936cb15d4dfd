#pragma once

#include "BullenLogik.h"

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

class QGroupBox;
class QPushButton;
class QToolButton;
class TDBAMCheckbox;
class TDBZRBaseEdit;
class TDBZRDateEdit;
class TDBComboBox;
class TDBMemo;
class TZRDBcxGrid;
class TZRFilterEdit;
class TZRcxGridDBTableView;

// "Bullen Stammdaten": the farm's own bulls with their list. The dialog works in its own
// transaction; each stored bull is committed, closing commits, everything else is rolled back.
// It is shown modally without parameters and stores the open edit when it closes.
class TfrmBullenStammdaten : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 13300;

    explicit TfrmBullenStammdaten(QWidget* owner = nullptr);
    ~TfrmBullenStammdaten() override;

    // Reads the list of all bulls again, staying on the bull it was on when it is still there.
    void ListeLaden();
    // Shows another bull after storing the open edit (a failed check keeps the shown one).
    void BulleWechseln(int id);
    // -1 for the bull shown. With commit the transaction is committed and started again and the
    // list read anew; the list is placed on the bull either way.
    void BulleNeuLaden(int id, bool commit);
    void NeuerBulle();
    // Posts the open edit; a failed check aborts silently (SilentAbort) after its message.
    // Without schliessen a failure also forgets an undo chosen before.
    void EingabenSpeichern(bool schliessen);
    void Loeschen();
    void VaterWaehlen();

    // The bull shown; 0 for none or one not yet stored.
    int BulleID();
    db::DataSet& Bulle() { return bulle_; }
    db::DataSet& Liste() { return liste_; }
    QWidget* Feld(Bullen::TFeld feld) const;
    TZRFilterEdit* Suche() const { return suche_; }
    TZRcxGridDBTableView* Ansicht() const { return ansicht_; }
    QGroupBox* ListenGruppe() const { return listenGruppe_; }
    TDBZRBaseEdit* NameEdit() const { return name_; }
    TDBZRBaseEdit* HBNREdit() const { return hbnr_; }
    TDBComboBox* RasseAuswahl() const { return rasse_; }
    TDBZRDateEdit* GebDatEdit() const { return gebdat_; }
    TDBZRBaseEdit* VaterEdit() const { return vater_; }
    TDBZRBaseEdit* VaterNrEdit() const { return vaterNr_; }
    TDBZRBaseEdit* MutterEdit() const { return mutter_; }
    TDBZRBaseEdit* MutterNrEdit() const { return mutterNr_; }
    TDBAMCheckbox* SichtbarBox() const { return sichtbar_; }
    TDBZRDateEdit* LetzteVerwendungEdit() const { return letzteVerwendung_; }
    TDBZRDateEdit* PruefbulleBisEdit() const { return pruefbulleBis_; }
    TDBMemo* BemerkungEdit() const { return bemerkung_; }
    QPushButton* VaterKnopf() const { return vaterKnopf_; }
    QToolButton* PruefbulleInfo() const { return pruefbulleInfo_; }
    QPushButton* NeuKnopf() const { return neu_; }
    QPushButton* SpeichernKnopf() const { return speichern_; }
    QPushButton* LoeschenKnopf() const { return loeschen_; }
    QPushButton* SchliessenKnopf() const { return schliessen_; }
    bool Verworfen() const { return verworfen_; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Aufbauen();
    void RassenLaden();
    void Pruefen();
    [[noreturn]] void PruefFehler(const Bullen::TFehler& fehler);
    void GruppeBeschriften();

    db::Transaction ta_;
    db::DataSet bulle_;
    db::DataSet liste_;
    db::DataSet rassen_;
    bool verworfen_ = false;
    bool pruefungLaeuft_ = false;
    QString suchtext_;

    QGroupBox* listenGruppe_ = nullptr;
    TZRFilterEdit* suche_ = nullptr;
    TZRDBcxGrid* gitter_ = nullptr;
    TZRcxGridDBTableView* ansicht_ = nullptr;
    TDBZRBaseEdit* name_ = nullptr;
    TDBZRBaseEdit* hbnr_ = nullptr;
    TDBComboBox* rasse_ = nullptr;
    TDBZRDateEdit* gebdat_ = nullptr;
    QPushButton* vaterKnopf_ = nullptr;
    TDBZRBaseEdit* vater_ = nullptr;
    TDBZRBaseEdit* vaterNr_ = nullptr;
    TDBZRBaseEdit* mutter_ = nullptr;
    TDBZRBaseEdit* mutterNr_ = nullptr;
    TDBAMCheckbox* sichtbar_ = nullptr;
    TDBZRDateEdit* letzteVerwendung_ = nullptr;
    TDBZRDateEdit* pruefbulleBis_ = nullptr;
    QToolButton* pruefbulleInfo_ = nullptr;
    TDBMemo* bemerkung_ = nullptr;
    QPushButton* neu_ = nullptr;
    QPushButton* speichern_ = nullptr;
    QPushButton* loeschen_ = nullptr;
    QPushButton* schliessen_ = nullptr;
};
