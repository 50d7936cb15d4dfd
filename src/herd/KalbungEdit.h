#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QDate>

class QAction;
class QMenu;
class QPushButton;
class TDBFloatEdit;
class TDBZRBaseEdit;
class TDBZRDateEdit;
class TDBComboBox;
class TDBMemo;
class TZRcxGridDBTableView;

// "Kalbung bearbeiten": changes a stored calving and the inseminations that led to it. All its
// work, the inseminations' included, stays in its own transaction TAKalbungEdit until the caller
// commits it after OK; any other end rolls it back, so Cancel leaves the database as it was.
class TfrmKalbungEdit : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmKalbungEdit(QWidget* owner = nullptr);
    ~TfrmKalbungEdit() override;

    // kalbungID 0 stands for a calving row that is not stored yet: it is created numbered nr and
    // the user must give its date. Throws db::Error, or std::runtime_error for a calving that is
    // gone.
    void KalbungOeffnen(int kalbungID, int nr, int tierID, const QDate& gebdat);

    // The transaction the caller commits after OK and rolls back otherwise.
    db::Transaction& Transaktion() { return taKalbungEdit_; }
    int KalbungID() const { return kalbungID_; }

    // Reloads the inseminations, keeping the selected one when it is still there.
    void BesamungenNeuLaden();
    // "&Bearbeiten" (neu false) and "&Neu": the insemination dialog in this dialog's transaction.
    void BesamungBearbeiten(bool neu);
    void BesamungLoeschen();

    db::DataSet& Kalbung() { return kalbung_; }
    db::DataSet& Besamungen() { return besamungen_; }
    TDBZRDateEdit* DatumEdit() const { return datum_; }
    TDBZRBaseEdit* NummerEdit() const { return nummer_; }
    TDBComboBox* GeschlechtWahl() const { return geschlecht_; }
    TDBComboBox* VerlaufWahl() const { return verlauf_; }
    TDBZRDateEdit* TrockenEdit() const { return trocken_; }
    TDBFloatEdit* NrEdit() const { return nr_; }
    TDBMemo* BemerkungFeld() const { return bemerkung_; }
    TZRcxGridDBTableView* BesamungenAnsicht() const { return ansicht_; }
    QMenu* BesamungenMenue() const { return menue_; }
    QAction* BearbeitenEintrag() const { return bearbeiten_; }
    QAction* NeuEintrag() const { return neu_; }
    QAction* LoeschenEintrag() const { return loeschen_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

    void done(int result) override;

private:
    void KalbungPruefen();
    void Ok();
    void EintraegeFreigeben();

    db::Transaction taKalbungEdit_;
    db::DataSet kalbung_;
    db::DataSet besamungen_;
    int kalbungID_ = 0;
    int tierID_ = 0;
    QDate gebdat_;
    // While a calving row is created for the dialog: it is stored without the checks.
    bool anlegen_ = false;

    TDBZRDateEdit* datum_;
    TDBZRBaseEdit* nummer_;
    TDBComboBox* geschlecht_;
    TDBComboBox* verlauf_;
    TDBZRDateEdit* trocken_;
    TDBFloatEdit* nr_;
    TDBMemo* bemerkung_;
    TZRcxGridDBTableView* ansicht_;
    QMenu* menue_;
    QAction* bearbeiten_;
    QAction* neu_;
    QAction* loeschen_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};
