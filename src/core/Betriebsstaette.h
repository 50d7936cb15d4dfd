#pragma once

#include <ZRDialog.h>

#include <DataSet.h>

class QComboBox;
class QPushButton;
class TDBAMCheckbox;
class TDBZRBaseEdit;

// A premises edited in the caller's transaction. A new premises belongs to the holding focused in
// the caller's holdings; the farm's first one is proposed as the default premises "Stall".
class TBetriebsstaetteDaten {
public:
    TBetriebsstaetteDaten(db::Transaction& transaktion, db::DataSet& gruppen, int id);
    ~TBetriebsstaetteDaten();
    TBetriebsstaetteDaten(const TBetriebsstaetteDaten&) = delete;
    TBetriebsstaetteDaten& operator=(const TBetriebsstaetteDaten&) = delete;

    db::DataSet& Daten() { return daten_; }
    // The premises was the default one when it was opened.
    bool WarStandard() const { return warStandard_; }
    // Refuses to take the default mark away (the mark is set again, the user is told);
    // otherwise posts with the user text of a violated constraint. True when stored.
    bool Speichern();
    void Verwerfen();

private:
    db::DataSet daten_;
    bool warStandard_ = false;
};

class TfrmBetriebsstaette : public TZRDialog {
    Q_OBJECT
public:
    TfrmBetriebsstaette(db::Transaction& transaktion, db::DataSet& gruppen, int id,
                        QWidget* owner = nullptr);
    ~TfrmBetriebsstaette() override;

    // Edits the premises modally; true after "Ok".
    static bool Oeffnen(db::Transaction& transaktion, db::DataSet& gruppen, int id,
                        QWidget* owner = nullptr);

    TBetriebsstaetteDaten& Daten() { return daten_; }
    TDBZRBaseEdit* BezeichnungEdit() const { return bezeichnung_; }
    QComboBox* GruppeAuswahl() const { return gruppe_; }
    TDBAMCheckbox* StandardBox() const { return standard_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

    void done(int result) override;

private:
    void Ok();
    void GruppeZeigen();
    void GruppeGewaehlt(int position);

    TBetriebsstaetteDaten daten_;
    TDBZRBaseEdit* bezeichnung_;
    QComboBox* gruppe_;
    TDBAMCheckbox* standard_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};
