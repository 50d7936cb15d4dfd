#pragma once

#include <ZRDialog.h>

#include <functional>

class QLabel;
class QTimer;

// "Warte auf Datenbank-Server ...": asks once a second whether the server is up and closes then,
// or when the minute is over, or on "Abbrechen".
class TfrmWarten : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int Sekunden = 60;

    explicit TfrmWarten(std::function<bool()> serverLaeuft, QWidget* parent = nullptr);

    int Restzeit() const { return restzeit_; }
    // Closed before its time: by "Abbrechen", or on the program's end.
    bool Abgebrochen() const { return result() == Rejected && restzeit_ > 0; }

private:
    void Takt();

    std::function<bool()> serverLaeuft_;
    int restzeit_ = Sekunden;
    QLabel* lblRestzeit_;
    QTimer* timer_;
};
