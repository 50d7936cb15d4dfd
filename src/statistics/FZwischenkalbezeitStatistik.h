#pragma once
// The herd calving interval statistic's window (no selection dialog) and its opening.

#include "FGesamtbestandStatistik.h"
#include "ZwischenkalbezeitBestand.h"

#include <memory>

class TShell;

class TfrmZwischenkalbezeitStatistik : public TfrmGesamtbestandStatistik {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 12400;

    explicit TfrmZwischenkalbezeitStatistik(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmZwischenkalbezeitStatistik() override;

    void Drucken() override;
    // Shows the single values of the year under the mouse in the strip at the right.
    void StatistikMouseMove(QPoint p);

    std::unique_ptr<TZwischenkalbezeitBestand> Chart;
    int LetztesJahr() const { return letztesJahr_; }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    int letztesJahr_ = -1;
};

// The window with its chart drawn once, in the shell's MDI area (on its own under `owner`
// without one). Fails with the window freed when the chart cannot be drawn.
TfrmZwischenkalbezeitStatistik* ZwischenkalbezeitStatistikAnzeigen(TShell* shell, QWidget* owner,
                                                                   db::Database& datenbank);
