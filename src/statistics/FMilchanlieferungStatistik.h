#pragma once
// The milk delivery statistic's selection dialog, its window with the value panel of one month
// and the opening.

#include "FGesamtbestandStatistik.h"
#include "MilchanlieferungStatistik.h"

#include <ZRDialog.h>

#include <QList>

#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class TEinstellungen;
class TShell;

// The range of months (at most 1820 days) and the series, kept in the INI section
// "Milchanlieferung-Statistik".
class TfrmMilchanlieferungAuswahl : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 12100;
    static constexpr int MaxTage = 1820;

    TfrmMilchanlieferungAuswahl(TEinstellungen& einstellungen, db::Database& datenbank,
                                QWidget* owner = nullptr);

    // The months of the table, first days, in order; empty when there is none.
    const QList<QDate>& Monate() const { return monate_; }
    QComboBox* VonBox() const { return von_; }
    QComboBox* BisBox() const { return bis_; }
    QCheckBox* Menge() const { return menge_; }
    QCheckBox* Milchgeld() const { return milchgeld_; }
    QCheckBox* Inhaltsstoffe() const { return inhaltsstoffe_; }
    QCheckBox* Preis37() const { return preis37_; }
    QCheckBox* Eigenpreis() const { return eigenpreis_; }
    QPushButton* Ok() const { return ok_; }

    // A chosen "von" after "bis" takes "bis" along; a range of more than 1820 days is shortened
    // at the other end.
    void vonSelect();
    void bisSelect();
    void OkClick();

private:
    TEinstellungen& einstellungen_;
    QList<QDate> monate_;
    QComboBox* von_;
    QComboBox* bis_;
    QCheckBox* menge_;
    QCheckBox* milchgeld_;
    QCheckBox* inhaltsstoffe_;
    QCheckBox* preis37_;
    QCheckBox* eigenpreis_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};

class TfrmMilchanlieferungStatistik : public TfrmGesamtbestandStatistik {
    Q_OBJECT
public:
    explicit TfrmMilchanlieferungStatistik(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmMilchanlieferungStatistik() override;

    void Drucken() override;

    std::unique_ptr<TMilchanlieferung> Chart;

protected:
    void StatistikDblClick(int x) override;
};

// "Milchanlieferung von %s bis %s" with the months as "mm.yyyy".
QString MilchanlieferungTitel(const TMilchanlieferung& chart);

// The selection dialog, then the window with its chart drawn once. Nullptr when the user cancels
// or when there are no deliveries (after saying so).
TfrmMilchanlieferungStatistik* MilchanlieferungStatistikAnzeigen(TShell* shell, QWidget* owner,
                                                                 db::Database& datenbank);
