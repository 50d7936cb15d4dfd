#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <DataSetModel.h>

class QPushButton;
class QTableView;

// The breeds not yet in use on this farm, read in the caller's transaction. Nothing but
// Uebernehmen writes: breeds are only taken into use, never inserted or deleted here.
class TRasseDaten {
public:
    explicit TRasseDaten(db::Transaction& transaktion);

    db::DataSet& Daten() { return daten_; }
    // Takes the breed at this position into use; its ID, or 0 when there is none.
    int Uebernehmen(int position);

private:
    db::DataSet daten_;
};

class TfrmRasse : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmRasse(db::Transaction& transaktion, QWidget* owner = nullptr);

    // Lets the user choose a breed; its ID after "Ok", else 0.
    static int Oeffnen(db::Transaction& transaktion, QWidget* owner = nullptr);

    // The breed taken into use with "Ok"; 0 before.
    int RasseID() const { return rasseID_; }
    QTableView* Gitter() const { return gitter_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

private:
    void Ok();

    TRasseDaten daten_;
    db::DataSetModel modell_;
    int rasseID_ = 0;
    QTableView* gitter_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};
