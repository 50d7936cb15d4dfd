#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TDBAMCheckbox;
class TDBComboBox;
class TDBFloatEdit;
class TDBMemo;
class TDBZRBaseEdit;
class TDBZRDateEdit;
class TFieldDataLink;
class TZRDBcxGrid;
class TZRcxGridDBTableView;

namespace db {
class Database;
}

// "Fester Termin": one fixed appointment and its repetition, in the caller's transaction.
class TfrmFesterTermin : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 13210;

    explicit TfrmFesterTermin(QWidget* owner = nullptr);
    ~TfrmFesterTermin() override;

    // terminID 0 or less: a new appointment.
    void Initialisieren(db::Transaction& transaktion, int terminID);

    db::DataSet& QT() { return *qt_; }
    TDBZRDateEdit* Datum() const { return datum_; }
    TDBFloatEdit* Vor() const { return vor_; }
    TDBFloatEdit* Nach() const { return nach_; }
    TDBComboBox* Text() const { return text_; }
    TDBMemo* Bemerkung() const { return bemerkung_; }
    TDBAMCheckbox* Erledigen() const { return erledigen_; }
    QCheckBox* Wiederholen() const { return wiederholen_; }
    QSpinBox* Intervall() const { return intervall_; }
    QComboBox* IntervallArt() const { return intervallArt_; }
    QLineEdit* Bis() const { return bis_; }
    QPushButton* OkKnopf() const { return ok_; }

    void done(int result) override;

private:
    void WiederholenUmschalten();
    void Ok();

    std::unique_ptr<db::DataSet> qt_;
    int wiederholungID_ = 0;
    TDBZRDateEdit* datum_;
    TDBFloatEdit* vor_;
    TDBFloatEdit* nach_;
    TDBComboBox* text_;
    TDBMemo* bemerkung_;
    TDBAMCheckbox* erledigen_;
    QCheckBox* wiederholen_;
    QSpinBox* intervall_;
    QComboBox* intervallArt_;
    QLineEdit* bis_;
    QPushButton* ok_;
};

// "Tierbezogener Termin": one animal-related appointment rule, in the caller's transaction.
class TfrmTierTermin : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 13220;

    explicit TfrmTierTermin(QWidget* owner = nullptr);
    ~TfrmTierTermin() override;

    // einstellungID 1 or more edits that rule, otherwise a new one.
    void Initialisieren(db::Transaction& transaktion, int einstellungID);

    db::DataSet& QT() { return *qt_; }
    TDBComboBox* Ankerpunkt() const { return ankerpunkt_; }
    TDBFloatEdit* Termin() const { return termin_; }
    TDBFloatEdit* Vor() const { return vor_; }
    TDBFloatEdit* Nach() const { return nach_; }
    QCheckBox* Wochentag(int tag) const { return tage_[tag]; }
    TDBComboBox* Betriebsstaette() const { return betriebsstaette_; }
    TDBComboBox* Tierklasse() const { return tierklasse_; }
    TDBZRBaseEdit* Text() const { return text_; }
    TDBComboBox* Medikament() const { return medikament_; }
    QPushButton* OkKnopf() const { return ok_; }

    void done(int result) override;

private:
    void TageZeigen();
    void TagGeklickt();
    void Ok();

    std::unique_ptr<db::DataSet> qt_;
    std::unique_ptr<TFieldDataLink> tageLink_;
    TDBComboBox* ankerpunkt_;
    TDBFloatEdit* termin_;
    TDBFloatEdit* vor_;
    TDBFloatEdit* nach_;
    std::array<QCheckBox*, 7> tage_{};
    TDBComboBox* betriebsstaette_;
    TDBComboBox* tierklasse_;
    TDBZRBaseEdit* text_;
    TDBComboBox* medikament_;
    TDBAMCheckbox* erledigen_;
    QPushButton* ok_;
};

// "Termin Verwaltung": the fixed appointments and the animal-related rules. Everything done in it
// is one transaction that "Ok" commits; any other way out rolls it back.
class TfrmTerminVerwaltung : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 13200;

    explicit TfrmTerminVerwaltung(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmTerminVerwaltung() override;

    db::Transaction& TATermin() { return transaktion_; }
    db::DataSet& FesteTermine() { return feste_; }
    db::DataSet& TierTermine() { return tier_; }
    QTabWidget* Seiten() const { return seiten_; }
    QCheckBox* VergangeneAnzeigen() const { return vergangene_; }
    TZRcxGridDBTableView* FesteAnsicht() const;
    TZRcxGridDBTableView* TierAnsicht() const;

    void FesteTermineLaden();
    void TierTermineLaden();
    void Hinzufuegen();
    void Bearbeiten();
    void Entfernen();

    void done(int result) override;

private:
    bool FesteSeite() const;

    db::Transaction transaktion_;
    db::DataSet feste_;
    db::DataSet tier_;
    QTabWidget* seiten_;
    QCheckBox* vergangene_;
    TZRDBcxGrid* festeGrid_;
    TZRDBcxGrid* tierGrid_;
};
