#pragma once

#include <ZRDialog.h>

#include <Transaction.h>

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QTableView>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// One row of the selection.
struct TTierWahlZeile {
    int id = 0;
    int statusIdx = -1;
    int knr = 0;
    QString knrDisplay;
    QString name;
    QString nummer;
    QDate gebdat;
    QString betrieb;
    bool markiert = false;
};

// The selection's rows; the mark column is checkable. The rows stay while a filter hides some,
// so marks survive filtering.
class TTierWahlModell : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Spalte { Markierung, Status, Knr, Name, Nummer, Gebdat, Betrieb, Spaltenzahl };
    static constexpr int SortRolle = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Setzen(QList<TTierWahlZeile> zeilen);
    const QList<TTierWahlZeile>& Zeilen() const { return zeilen_; }
    void Markieren(int zeile, bool an);

private:
    QList<TTierWahlZeile> zeilen_;
};

// The search filter and the column order of the selection.
class TTierWahlFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetSuchtext(const QString& text);

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& links, const QModelIndex& rechts) const override;

private:
    QString suchtext_;
};

// A table that says so when it has no rows.
class TLeerTextTabelle : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;
    void SetLeerText(const QString& text);
    const QString& LeerText() const { return leerText_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString leerText_;
};

// "Tier-Auswahl": one animal or several marked animals by search mask, premises and search text.
class TfrmTierWahl : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 1000;
    static inline const QString LeerText = QStringLiteral("< Keine Tiere in der Auswahl >");
    static inline const QString KeineMaskeText =
        QStringLiteral("< Keine Suchmaske vorhanden: bitte legen Sie im Masken-Designer eine an >");

    // Needs the data module connected. Throws std::invalid_argument for an unknown mode.
    TfrmTierWahl(QWidget* owner, int modus, int mindestanzahl);
    ~TfrmTierWahl() override;

    void MaskenLaden();
    // Reads the rows of the chosen mask and premises; a refused mask text raises its error.
    void Einlesen();
    // The FROM/WHERE part of the chosen mask and premises; empty without a mask.
    QStringList AuswahlSQL();

    int Maske() const;
    void SetMaske(int index);
    int Betrieb() const;
    void SetBetrieb(int index);

    // Mode 0: the row under the cursor (empty without one); otherwise the marked rows.
    QList<int> Ergebnis() const;

    QListWidget* Masken() const { return masken_; }
    QComboBox* Betriebe() const { return betriebe_; }
    QLineEdit* Suche() const { return suche_; }
    TLeerTextTabelle* Tabelle() const { return tabelle_; }
    QGroupBox* Gruppe() const { return gruppe_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* UmschaltenKnopf() const { return umschalten_; }
    QPushButton* EinlesenKnopf() const { return einlesen_; }
    QPushButton* SchliessenKnopf() const { return schliessen_; }
    TTierWahlModell& Modell() { return modell_; }

protected:
    bool eventFilter(QObject* objekt, QEvent* event) override;

private:
    void Bestaetigen();
    void Umschalten();
    void EinlesenMeldend();
    void FreigabeAktualisieren();

    int modus_;
    int mindestanzahl_;
    db::Transaction tatierwahl_;
    QList<int> maskenIDs_;
    QStringList betriebsNamen_;
    TTierWahlModell modell_;
    TTierWahlFilter filter_;

    QListWidget* masken_ = nullptr;
    QComboBox* betriebe_ = nullptr;
    QLineEdit* suche_ = nullptr;
    QGroupBox* gruppe_ = nullptr;
    TLeerTextTabelle* tabelle_ = nullptr;
    QPushButton* einlesen_ = nullptr;
    QPushButton* umschalten_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* schliessen_ = nullptr;
};

namespace FTierWahl {

// Shows the selection modally. True when the user confirmed; ids then holds the row under the
// cursor (mode 0) or the marked rows, and in mode 0 schnellliste the card's quick-list SQL.
bool TiereWaehlen(QWidget* owner, int modus, QList<int>& ids, QString& schnellliste,
                  int mindestanzahl);
// One animal: the first ID of the choice, 0 when there is none.
bool TierWaehlen(QWidget* owner, int modus, int& id, QString& schnellliste);

}  // namespace FTierWahl
