#pragma once
// The lactation page of the animal card: the chart with its lactation choice, mode buttons and
// measure boxes above it and the lactation performances below it.

#include "LaktationsgrafikTier.h"

#include <DataSet.h>

#include <QWidget>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QToolButton;
class TAMCheckBox;
class TDBIndexImage;
class TZRcxGridDBTableView;

class TLaktationsgrafikSeite : public QWidget {
    Q_OBJECT
public:
    // The chart's queries and the performances run on the transaction, which must be active from
    // here on whenever the page draws.
    TLaktationsgrafikSeite(db::Transaction& transaktion, QWidget* parent = nullptr);
    ~TLaktationsgrafikSeite() override;

    // Reads the animal's lactations anew and draws.
    void SetTier(int id);
    int Tier() const { return tierId_; }
    // Draws with the page's settings; rebuilding reads the performances and the lactation choice
    // again.
    void LaktationsgrafikZeichnen(bool neuAufbauen);

    // The chart with the page's settings, for copying them into a thumbnail or a printout.
    TLaktationsgrafikTier& Grafik() { return *grafik_; }
    // The performances of the shown animal ("Laktationsleistungen").
    db::DataSet& Leistungen() { return leistungen_; }
    // The status icon; the card binds it to its record.
    TDBIndexImage* StatusBild() const { return status_; }

    // The pictures of the marks: insemination, treatment, dry-off.
    static QList<QPixmap> SymbolBilder();
    // The legend mark of a measure's check box; greyed when the measure is off in bar mode.
    static QPixmap LegendenBild(int messgroesse, bool grau);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* e) override;

private:
    void Freigaben();

    db::DataSet leistungen_;
    QComboBox* laktation_ = nullptr;
    QToolButton* kurven_ = nullptr;
    QToolButton* balken_ = nullptr;
    std::array<TAMCheckBox*, lmAnzahl> boxen_{};
    std::array<QLabel*, lmAnzahl> marken_{};
    TDBIndexImage* status_ = nullptr;
    QLabel* bild_ = nullptr;
    TZRcxGridDBTableView* ansicht_ = nullptr;
    std::unique_ptr<TLaktationsgrafikTier> grafik_;
    int tierId_ = 0;
};
