#pragma once
// The herd insemination index statistic's selection dialog, its window and the opening.

#include "BesamungsindexBestand.h"
#include "FGesamtbestandStatistik.h"

#include <ZRDialog.h>

#include <memory>

class QPushButton;
class TDBZRDateEdit;
class TEinstellungen;
class TShell;

// The period, kept in the INI section "Besamungsindex-Statistik".
class TfrmBesamungsindexAuswahl : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 12300;
    static inline const QDate Fruehestens{1980, 1, 1};

    TfrmBesamungsindexAuswahl(TEinstellungen& einstellungen, QWidget* owner = nullptr);

    TDBZRDateEdit* VonEdit() const { return von_; }
    TDBZRDateEdit* BisEdit() const { return bis_; }
    QPushButton* Ok() const { return ok_; }
    QPushButton* Abbrechen() const { return abbrechen_; }

    // Leaving "von" moves a "bis" before it up to it; leaving "bis" moves a "von" after it.
    void vonChange();
    void bisChange();
    // Checks the dates and stores them (a "bis" after today as today); false for a missing date.
    bool OkClick();

private:
    // Keeps a date between 1 January 1980 and today.
    void Begrenzen(TDBZRDateEdit* edit);

    TEinstellungen& einstellungen_;
    TDBZRDateEdit* von_;
    TDBZRDateEdit* bis_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};

class TfrmBesamungsindexStatistik : public TfrmGesamtbestandStatistik {
    Q_OBJECT
public:
    explicit TfrmBesamungsindexStatistik(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmBesamungsindexStatistik() override;

    void Drucken() override;

    std::unique_ptr<TBesamungsindexBestand> Chart;
};

// "Besamungsindex von %s bis %s".
QString BesamungsindexTitel(const TBesamungsindexBestand& chart);

// The selection dialog, then the window with its chart drawn once. Nullptr when the user cancels.
TfrmBesamungsindexStatistik* BesamungsindexStatistikAnzeigen(TShell* shell, QWidget* owner,
                                                             db::Database& datenbank);
