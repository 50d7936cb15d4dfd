#pragma once

#include "BesamungLogik.h"

#include <ZRDialog.h>

#include <DataSet.h>

#include <QDate>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TAMRadioButton;
class TDBComboBox;
class TDBFloatEdit;
class TDBMemo;
class TDBZRBaseEdit;
class TDBZRDateEdit;
class TZRDBcxGrid;
class TZRcxGridDBTableView;

namespace db {
class Transaction;
}

// "Besamungen": enters a new insemination of an animal or changes one, a bought one or an own one
// from the semen stock. The caller fills it with BesamungOeffnen, shows it modally and frees it.
// It needs the program's data module.
class TfrmBesamungen : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 2210;

    explicit TfrmBesamungen(QWidget* owner = nullptr);
    ~TfrmBesamungen() override;

    // The insemination, the bull list and the dialog's statements work in this transaction
    // instead of the data module's TAStammdaten; its owner commits or rolls it back. Before
    // BesamungOeffnen.
    void TransaktionSetzen(db::Transaction& transaktion);

    // modus 0 changes the insemination besamungID (or, below 0, starts one numbered nr), 1 enters
    // a new one, 2 the first ones of a new animal. kalbungID below 1 means the current
    // lactation. Throws db::Error, or std::runtime_error for an insemination that is gone.
    void BesamungOeffnen(int tierID, int kalbungID, const QDate& gebdat, int modus, int besamungID,
                         int nr);

    // Called after every stored insemination.
    std::function<void(TfrmBesamungen*)> OnGeaendert;

    Besamung::TBesamungDaten& Daten() { return daten_; }
    db::DataSet& Stiere() { return stiere_; }
    TAMRadioButton* FremdKnopf() const { return fremd_; }
    TAMRadioButton* EigenKnopf() const { return eigen_; }
    TDBZRDateEdit* DatumEdit() const { return datum_; }
    QPushButton* PortionKnopf() const { return portionKnopf_; }
    QLineEdit* PortionText() const { return portion_; }
    TDBZRBaseEdit* StierEdit() const { return stier_; }
    TZRcxGridDBTableView* StierAnsicht() const { return stierAnsicht_; }
    QGroupBox* StierGruppe() const { return stierGruppe_; }
    TDBFloatEdit* BesNrBYEdit() const { return besNrBY_; }
    TDBFloatEdit* ScheinEdit() const { return schein_; }
    QComboBox* BemerkungWahl() const { return bemerkungWahl_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* NaechsteKnopf() const { return naechste_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

    // Opens "Portion wählen" and takes the confirmed portion.
    void PortionWaehlen();

    void done(int result) override;

protected:
    bool eventFilter(QObject* objekt, QEvent* event) override;

private:
    void EigenbesamungFreigeben();
    void StierlisteAktualisieren();
    void BemerkungenAktualisieren();
    void PortionAnzeigen();
    void StierSuchen(const QString& text);
    void StierUebernehmen();
    void BesamungPruefen();
    // Stores the open insemination; false when a check or the storing failed (the user was
    // told).
    bool Speichern();
    void Ok();
    void NaechsteBesamung();

    db::Transaction* transaktion_;
    Besamung::TBesamungDaten daten_;
    db::DataSet stiere_;
    bool uebernimmt_ = false;

    TAMRadioButton* fremd_;
    TAMRadioButton* eigen_;
    TDBZRDateEdit* datum_;
    TDBFloatEdit* nr_;
    QPushButton* nrInfo_;
    QLabel* portionLabel_;
    QLineEdit* portion_;
    QPushButton* portionKnopf_;
    QLabel* teilungLabel_;
    QComboBox* teilung_;
    QLabel* stierLabel_;
    TDBZRBaseEdit* stier_;
    QLabel* hbnrLabel_;
    TDBZRBaseEdit* hbnr_;
    QGroupBox* stierGruppe_;
    TZRDBcxGrid* stierGrid_;
    TZRcxGridDBTableView* stierAnsicht_;
    QLabel* besNrBYLabel_;
    TDBFloatEdit* besNrBY_;
    QPushButton* besNrBYInfo_;
    QLabel* doppelLabel_;
    TDBComboBox* doppel_;
    QLabel* ejakulatLabel_;
    TDBFloatEdit* ejakulat_;
    QLabel* pruefbulleLabel_;
    TDBComboBox* pruefbulle_;
    QLabel* scheinLabel_;
    TDBFloatEdit* schein_;
    QComboBox* bemerkungWahl_;
    TDBMemo* bemerkung_;
    QPushButton* naechste_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};
