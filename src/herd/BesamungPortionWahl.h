#pragma once

#include <ZRDialog.h>

#include <Transaction.h>
#include <DataSet.h>

#include <memory>

class QPushButton;
class TZRDBcxGrid;
class TZRcxGridDBTableView;

namespace db {
class Database;
}

// "Portion wählen": the portions of the semen stock with bull, delivery, stock, container and
// station, read in a transaction of its own. "Ok" or a double click confirms the portion.
class TfrmPortionWahl : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmPortionWahl(QWidget* owner = nullptr);
    ~TfrmPortionWahl() override;

    // Lists the portions, for a new insemination only those with stock, positioned on the
    // given portion.
    void PortionenOeffnen(db::Database& datenbank, int portion, bool neueBesamung);
    // The portion confirmed; -1 before.
    int Portion() const { return portion_; }

    db::DataSet& Portionen() { return *portionen_; }
    TZRcxGridDBTableView* Ansicht() const { return ansicht_; }
    QPushButton* OkKnopf() const { return ok_; }

private:
    void Ok();

    std::unique_ptr<db::Transaction> transaktion_;
    std::unique_ptr<db::DataSet> portionen_;
    int portion_ = -1;
    TZRDBcxGrid* grid_;
    TZRcxGridDBTableView* ansicht_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};
