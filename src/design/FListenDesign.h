#pragma once

#include "ListenDesignLogik.h"

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QString>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QToolButton;
class TZRCustomGrid;
class TZRDBcxGridBovantis;
class TZREditGrid;

namespace db {
class Database;
}

// "Listen Designer": the wizard that edits one user list (a row of T_LISTEN) in five pages:
// sources and their joins, output fields, restrictions and sort keys, a test run of the list the
// database builds from it, and name, title, menu entry and toolbar symbol.
class TfrmListenDesign : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 11310;
    enum Seite { Datenquellen, Ausgabefelder, Optionen, Test, Speichern };

    explicit TfrmListenDesign(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmListenDesign() override;

    // Opens the list (0: a new one) for editing.
    void Vorbereiten(int listeId);
    // The stored list's ID once saved, else the ID it was prepared with.
    int ErgebnisID() const { return ergebnisId_; }
    bool Gespeichert() const { return gespeichert_; }

    int AktuelleSeite() const;
    const TListenDesignLogik& Logik() const { return logik_; }
    db::DataSet& QListe() { return liste_; }
    // Whether the last test run could not open the list.
    bool TestFehlgeschlagen() const { return testFehler_; }

    void done(int r) override;

private:
    void SeitenAnlegen();
    QWidget* SeiteDatenquellen();
    QWidget* SeiteAusgabefelder();
    QWidget* SeiteOptionen();
    QWidget* SeiteTest();
    QWidget* SeiteSpeichern();

    void WeiterClick();
    void ZuruckClick();
    void SpeichernClick();
    void SeiteAnzeigen(int seite);
    void KnoepfePruefen();

    // Page 0.
    std::optional<int> Wert(const QString& feld);
    void Setzen(const QString& feld, std::optional<int> wert);
    TListenDesignLogik::Quellen QuellenLesen();
    void QuelleGewaehlt(QComboBox* box, const QString& feld);
    // The edited row changed (feld empty: as a whole).
    void DSListeDataChange(const QString& feld);
    void VerbindungsfelderLaden();
    void ComboZeigen(QComboBox* box, std::optional<int> wert);
    bool QuellenPruefen();

    // Page 1.
    void AusgabefelderLaden();
    void ListenZeigen(int verfuegbar, int sichtbar);
    void HinzuClick();
    void EntfClick();
    void AlleHinzuClick();
    void AlleEntfClick();
    void AufClick();
    void AbClick();

    // Page 2.
    void OptionenLaden();
    static QList<QStringList> Zeilen(const TZREditGrid& grid);
    static void ZeilenSetzen(TZREditGrid& grid, const QList<QStringList>& zeilen);
    void EinschraenkungHinzufuegen();
    void SortierungHinzufuegen();
    static void ZeileEntfernen(TZREditGrid& grid);
    static void PickListeOeffnen(TZREditGrid& grid);
    bool EinschraenkungenKeyPress(QKeyEvent* taste);
    bool SortierungenKeyPress(QKeyEvent* taste);
    // Writes FELDER, BEDINGUNGEN and SORTIERUNG into the row; false (with a message) when a value
    // cannot be encoded.
    bool EncodingsSchreiben();

    // Page 3.
    void Testen();

    // Page 4.
    void SymbolAnzeigen();
    void SymbolCheckClick();
    void SymbolVorherClick();
    void SymbolNachherClick();

    db::Transaction taEdit_;
    db::Transaction taLesen_;
    db::DataSet liste_;
    db::DataSet testDaten_;
    TListenDesignLogik logik_;
    int ergebnisId_ = 0;
    bool gespeichert_ = false;
    bool testFehler_ = false;
    bool aendernd_ = false;

    QStackedWidget* seiten_;
    QPushButton* zurueck_;
    QPushButton* weiter_;
    QPushButton* speichern_;
    QPushButton* schliessen_;

    QComboBox* quelle_[3];
    QComboBox* feld12_1_;
    QComboBox* feld12_2_;
    QComboBox* feld23_2_;
    QComboBox* feld23_3_;

    QListWidget* verfuegbar_;
    QListWidget* sichtbar_;

    TZREditGrid* einschraenkungen_;
    TZREditGrid* sortierungen_;
    QCheckBox* distinct_;

    TZRDBcxGridBovantis* listeTest_;

    QLineEdit* bezeichnung_;
    QLineEdit* titel_;
    QCheckBox* menue_;
    QCheckBox* symbolCheck_;
    QLabel* symbolLabel_;
    QLabel* symbol_;
    QToolButton* symbolVorher_;
    QToolButton* symbolNachher_;
    QLabel* symbolAnzahl_;
};

// Shows the designer modally for a list (0: a new one) and returns the stored list's ID, or the
// given ID when nothing was stored. After a store the main window's list menu is rebuilt.
int ListenDesignStarten(QWidget* owner, int listeId);
