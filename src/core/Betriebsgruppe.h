#pragma once

#include <ZRDialog.h>

#include <DataSet.h>

class TDBAMCheckbox;
class TDBZRBaseEdit;
class QPushButton;

// A holding edited in the caller's transaction: a new one or one located by its ID.
class TBetriebsgruppeDaten {
public:
    // ID 0 or less starts a new holding that counts in the livestock-unit calculation.
    TBetriebsgruppeDaten(db::Transaction& transaktion, int id);
    ~TBetriebsgruppeDaten();
    TBetriebsgruppeDaten(const TBetriebsgruppeDaten&) = delete;
    TBetriebsgruppeDaten& operator=(const TBetriebsgruppeDaten&) = delete;

    db::DataSet& Daten() { return daten_; }
    // Posts with the user text of a violated constraint; false when nothing was stored.
    bool Speichern();
    // Drops whatever is still pending.
    void Verwerfen();

private:
    db::DataSet daten_;
};

class TfrmBetriebsgruppe : public TZRDialog {
    Q_OBJECT
public:
    TfrmBetriebsgruppe(db::Transaction& transaktion, int id, QWidget* owner = nullptr);
    ~TfrmBetriebsgruppe() override;

    // Edits the holding modally; true after "Ok".
    static bool Oeffnen(db::Transaction& transaktion, int id, QWidget* owner = nullptr);

    TBetriebsgruppeDaten& Daten() { return daten_; }
    TDBZRBaseEdit* BezeichnungEdit() const { return bezeichnung_; }
    TDBZRBaseEdit* NummerEdit() const { return nummer_; }
    TDBAMCheckbox* GVBox() const { return gv_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

    void done(int result) override;

private:
    void Ok();

    TBetriebsgruppeDaten daten_;
    TDBZRBaseEdit* bezeichnung_;
    TDBZRBaseEdit* nummer_;
    TDBAMCheckbox* gv_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};
