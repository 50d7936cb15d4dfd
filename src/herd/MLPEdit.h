#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QList>

class QComboBox;
class QGroupBox;
class QMenu;
class QPushButton;
class QToolButton;
class TDBComboBox;
class TDBFloatEdit;
class TDBZRDateEdit;
class TZRDBcxGrid;
class TZRcxGridDBTableView;
class TZRcxGridDBBandedTableView;

namespace db {
class Database;
}

// "Probemelken": number and date of one test day, in the dialog's own transaction.
class TfrmMLPPMEdit : public TZRDialog {
    Q_OBJECT
public:
    // id 0 or less: a new test day.
    TfrmMLPPMEdit(db::Database& datenbank, int id, QWidget* owner = nullptr);

    db::DataSet& Daten() { return daten_; }
    db::Transaction& TAEdit() { return transaktion_; }
    TDBFloatEdit* Nummer() const { return nummer_; }
    TDBZRDateEdit* Datum() const { return datum_; }
    QPushButton* OkKnopf() const { return ok_; }
    // The test day's ID once the dialog has closed; 0 when it was not stored.
    int ID() const { return id_; }

    void done(int result) override;

private:
    int id_ = 0;
    db::Transaction transaktion_;
    db::DataSet daten_;
    TDBFloatEdit* nummer_;
    TDBZRDateEdit* datum_;
    QPushButton* ok_;
};

// A holding's rolling herd average of a test day.
class TfrmMLPHerdeEdit : public TZRDialog {
    Q_OBJECT
public:
    // id 0 or less: a new average of the test day probemelken.
    TfrmMLPHerdeEdit(db::Database& datenbank, int id, int probemelken, QWidget* owner = nullptr);

    db::DataSet& Daten() { return daten_; }
    TDBComboBox* Betrieb() const { return betrieb_; }
    TDBFloatEdit* Feld(const QString& feldname) const;
    QPushButton* OkKnopf() const { return ok_; }

    void done(int result) override;

private:
    db::Transaction transaktion_;
    db::DataSet daten_;
    TDBComboBox* betrieb_;
    QList<TDBFloatEdit*> felder_;
    QPushButton* ok_;
};

class TfrmMLPEdit;

// "Einzelwerte bearbeiten": one cow's values of the window's test day; Page Up and Page Down
// store them and go on to the window's previous or next cow.
class TfrmMLPEinzelEdit : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 8300;

    TfrmMLPEinzelEdit(db::Database& datenbank, TfrmMLPEdit& fenster);

    // Loads the window's current cow; a cow without values gets a new "1N" row.
    void Laden();
    // Stores and moves to the next (1) or previous (-1) cow of the window's list.
    void Schritt(int richtung);

    db::DataSet& Daten() { return daten_; }
    TDBComboBox* Art() const { return art_; }
    TDBFloatEdit* Feld(const QString& feldname) const;
    QToolButton* Blaettern() const { return blaettern_; }
    QPushButton* OkKnopf() const { return ok_; }

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* e) override;

private:
    void Farben();
    void Speichern();

    TfrmMLPEdit& fenster_;
    db::Transaction transaktion_;
    db::DataSet daten_;
    TDBComboBox* art_;
    QList<TDBFloatEdit*> felder_;  // test values, then the lactation values
    QToolButton* blaettern_;
    QPushButton* ok_;
};

// "MLP-Daten": test days, their herd averages and the cows of the current test day.
class TfrmMLPEdit : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 8000;

    explicit TfrmMLPEdit(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmMLPEdit() override;

    db::DataSet& Probemelken() { return pm_; }
    db::DataSet& Herde() { return herde_; }
    db::DataSet& Einzelwerte() { return werte_; }
    TZRcxGridDBTableView* PMAnsicht() const;
    TZRcxGridDBTableView* HerdeAnsicht() const;
    TZRcxGridDBBandedTableView* EinzelAnsicht() const;
    QPushButton* Knopf(const QString& name) const;
    QMenu* EinzelPopup() const { return popup_; }

    // Reads everything anew and goes back to the test day, average and cow shown before.
    void Aktualisieren();
    void PMNeu();
    void PMBearbeiten();
    void PMEntfernen();
    void HerdeNeu();
    void HerdeBearbeiten();
    void HerdeLoeschen();
    void EinzelBearbeiten();
    void ZurKuh();
    // Sorts the cows by the column of this field; a second time reverses.
    void Sortieren(const QString& feld);

    void done(int result) override;

private:
    // The change event of the database while the window is open.
    QMetaObject::Connection aenderung_;
    // Remembers the test day, average and cow shown while the lists are open.
    void Merken();
    void DetailsLaden(int herdeID, int tierID);
    void KnoepfeSetzen();
    // Deletes after the question; a failure is shown, rolled back and the lists reloaded.
    void Loeschen(const QString& frage, const QString& sql, int id);
    void EinzelZeichnen();

    db::Transaction transaktion_;
    db::DataSet pm_;
    db::DataSet herde_;
    db::DataSet werte_;
    bool erstesLaden_ = true;
    int gemerktPM_ = 0;
    int gemerktHerde_ = 0;
    int gemerktTier_ = 0;
    bool laedt_ = false;
    QString sortFeld_;
    bool absteigend_ = false;
    TZRDBcxGrid* pmGrid_;
    TZRDBcxGrid* herdeGrid_;
    TZRDBcxGrid* werteGrid_;
    QList<QPushButton*> knoepfe_;
    QMenu* popup_;
};
