#pragma once
// The herd size statistic's selection dialog, its window and the opening from the main window.

#include "FGesamtbestandStatistik.h"
#include "Tierbestand.h"

#include <ZRDialog.h>

#include <memory>

class QCheckBox;
class QPushButton;
class QRadioButton;
class TDBZRDateEdit;
class TEinstellungen;
class TShell;

namespace db {
class Database;
}

// Period (at most two years), mode and forecast of the herd size statistic, kept in the INI
// section "Tierbestand-Statistik".
class TfrmTierbestandAuswahl : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 12200;
    static inline const QDate Fruehestens{1980, 1, 1};

    TfrmTierbestandAuswahl(TEinstellungen& einstellungen, QWidget* owner = nullptr);

    TDBZRDateEdit* VonEdit() const { return von_; }
    TDBZRDateEdit* BisEdit() const { return bis_; }
    QRadioButton* Komplettnormal() const { return normal_; }
    QRadioButton* Komplettantrag() const { return antrag_; }
    QRadioButton* Kuhe() const { return kuehe_; }
    QCheckBox* Prognose() const { return prognose_; }
    QPushButton* Ok() const { return ok_; }
    QPushButton* Abbrechen() const { return abbrechen_; }

    // Leaving "von" keeps "bis" within [von, von + 2 years - 1 day]; leaving "bis" keeps "von"
    // within [bis - 2 years + 1 day, bis].
    void vonChange();
    void bisChange();
    // Checks the dates and stores the choice; false (the dialog stays) for a missing date.
    bool OkClick();

private:
    void ArtKlick();

    TEinstellungen& einstellungen_;
    TDBZRDateEdit* von_;
    TDBZRDateEdit* bis_;
    QRadioButton* normal_;
    QRadioButton* antrag_;
    QRadioButton* kuehe_;
    QCheckBox* prognose_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};

class TfrmTierbestandStatistik : public TfrmGesamtbestandStatistik {
    Q_OBJECT
public:
    explicit TfrmTierbestandStatistik(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmTierbestandStatistik() override;

    // A fresh print chart with the window chart's parameters, in colour, in the print preview.
    void Drucken() override;

    std::unique_ptr<TTierbestand> Chart;

protected:
    void StatistikDblClick(int x) override;
};

// The caption: "Tierbestand von %s bis %s, %s, %s Prognose".
QString TierbestandTitel(const TTierbestand& chart);

// The selection dialog, then the window with its chart drawn once, shown in the shell's MDI area
// (on its own under `owner` without one). Nullptr when the user cancels. Fails with the window
// freed when the chart cannot be drawn.
TfrmTierbestandStatistik* TierbestandStatistikAnzeigen(TShell* shell, QWidget* owner,
                                                       db::Database& datenbank);
