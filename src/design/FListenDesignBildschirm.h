#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <DataSetModel.h>
#include <Transaction.h>

class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;
class TDBAMCheckbox;
class TDBFloatEdit;
class TDBZRBaseEdit;

namespace db {
class Database;
}

// "Listen Design Bildschirm-Ausgabe": how the columns of a list look on screen. Works in a
// transaction of its own; there is no cancel, closing stores.
class TfrmListenDesignBildschirm : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 11320;

    explicit TfrmListenDesignBildschirm(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmListenDesignBildschirm() override;

    // The list's columns and its record height; the test SQL is the data of an internal list
    // (empty for user lists).
    void Vorbereiten(int listeId, const QString& testSQL);

    db::DataSet& QFelder() { return felder_; }
    db::DataSet& QListen() { return listen_; }
    QTableView* Felder() const { return liste_; }
    // Makes the field of that row current, as a click in the list does.
    void FeldWaehlen(int zeile);

    void done(int result) override;

private:
    void DSFelderDataChange();
    void TestClick();
    bool Speichern();

    db::Transaction TABildschirm;
    db::DataSet felder_;
    db::DataSet listen_;
    db::DataSetModel modell_;
    int listeId_ = 0;
    QString testSQL_;

    QTableView* liste_;
    QStackedWidget* seiten_;
    TDBFloatEdit* breite_;
    TDBAMCheckbox* autoBreite_;
    TDBZRBaseEdit* titel_;
    QComboBox* ausrichtung_;
    TDBAMCheckbox* sichtbar_;
    TDBFloatEdit* zeile_;
    TDBAMCheckbox* ueberschrift_;
    QLabel* formatLabel_;
    TDBZRBaseEdit* format_;
    TDBZRBaseEdit* wert_;
    TDBAMCheckbox* kurzeZeilen_;
};

// Shows the screen layout editor of a list modally.
void ListenDesignBildschirmStarten(QWidget* owner, int listeId, const QString& datenSQL);
