#pragma once

#include <ZRDialog.h>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace Einrichtung {

// Shows the lines of a connection or reachability test. The test runs once per showing, as soon
// as the dialog is on the screen; "Schliessen" is enabled when it has ended.
class TfrmDBTests : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmDBTests(QWidget* owner = nullptr);

    // The test; its result becomes Ergebnis.
    std::function<bool(TfrmDBTests&)> OnTest;
    bool Ergebnis() const { return ergebnis_; }
    bool Gelaufen() const { return gelaufen_; }

    // Appends a line of the test's report.
    void ZeileHinzufuegen(const QString& zeile);

    QPlainTextEdit* Memo() const { return memo_; }
    QPushButton* SchliessenKnopf() const { return schliessen_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void TestAusfuehren();

    QPlainTextEdit* memo_;
    QPushButton* schliessen_;
    bool ergebnis_ = false;
    bool gelaufen_ = false;
};

}  // namespace Einrichtung
