#pragma once

#include <ZRDialog.h>

#include <DBComboBox.h>
#include <DataSet.h>
#include <DataSetModel.h>
#include <FieldDataLink.h>
#include <Transaction.h>

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;
class TDBAMCheckbox;
class TDBFloatEdit;
class TDBZRBaseEdit;

namespace db {
class Database;
}

// "Listen Design Druck-Ausgabe": how a list prints, on four tabs. Works in a transaction of its
// own; there is no cancel, closing stores.
class TfrmListenDesignDruck : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 11330;

    explicit TfrmListenDesignDruck(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmListenDesignDruck() override;

    // The list's print layout; the dataset holds the rows of an internal list for the test
    // (none for user lists). A user list whose date columns cannot be read is told so and offers
    // only "Deaktiviert".
    void Vorbereiten(int listeId, db::DataSet* daten);

    db::DataSet& QListen() { return listen_; }
    db::DataSet& QFelder() { return felder_; }
    db::DataSet& QLinien() { return linien_; }
    QTabWidget* Seiten() const { return seiten_; }
    QComboBox* DatumFett() const { return datumFett_; }
    QTableView* Felder() const { return felderListe_; }
    QTableView* Linien() const { return linienListe_; }
    void FeldWaehlen(int zeile);

    void done(int result) override;

private:
    QWidget* AllgemeinSeite();
    QWidget* FelderSeite();
    QWidget* PapierSeite();
    QWidget* RahmenSeite();
    QPushButton* Knopf(const QString& text, const char* name, QWidget* parent,
                       void (TfrmListenDesignDruck::*handler)());

    void DatumFelderLaden();
    void DSListenDataChange();
    void DSFelderDataChange();
    void LinienLeertext();
    // Loads the stored font text of the field into the font dialog and stores the chosen one.
    void SchriftWaehlen(db::DataSet& ds, const QString& feld);
    void SchriftAendernClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void FuerAlleSetzen(bool titel);
    void ueberConfigClick();
    void unterConfigClick();
    void zwischenConfigClick();
    void untenConfigClick();
    void LinieAnpassenClick();
    void LinieHinzuClick();
    void LinieEntfernenClick();
    void setzenClick();
    void TestClick();
    void Speichern();

    db::Transaction TADruck;
    db::DataSet listen_;
    db::DataSet felder_;
    db::DataSet linien_;
    db::DataSetModel felderModell_;
    db::DataSetModel linienModell_;
    TFieldDataLink listenSchriftLink_;
    TFieldDataLink feldFeldLink_;
    TFieldDataLink feldSchriftLink_;
    TFieldDataLink feldTitelSchriftLink_;
    int listeId_ = 0;
    db::DataSet* daten_ = nullptr;

    QTabWidget* seiten_;
    QLabel* kopfSchrift_ = nullptr;
    TDBComboBox* datumFett_ = nullptr;
    QTableView* felderListe_ = nullptr;
    QLabel* titelSchrift_ = nullptr;
    QLabel* feldSchrift_ = nullptr;
    QLabel* formatLabel_ = nullptr;
    TDBZRBaseEdit* format_ = nullptr;
    TDBZRBaseEdit* wert_ = nullptr;
    QTableView* linienListe_ = nullptr;
    QLabel* keineLinie_ = nullptr;
    TDBFloatEdit* linienPosition_ = nullptr;
};

// Shows the print layout editor of a list modally.
void ListenDesignDruckStarten(QWidget* owner, int listeId, db::DataSet* daten);
