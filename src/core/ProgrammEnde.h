#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QTimer;
class QWidget;

namespace platform {
class EndeSignal;
}

// The program's end on SIGTERM or SIGINT: it runs the normal end phase, as when the user closes
// the main window, and never waits for a user; the end phase's questions take their safe answer
// without being asked (see Angefordert). Every dialog that is open, or opens on the way
// out, is closed as its "Abbrechen" would close it; then the main window closes, which ends the
// event loop. The database engine is kept from shutting itself down on the signal.
class TProgrammEnde : public QObject {
    Q_OBJECT
public:
    explicit TProgrammEnde(std::function<QWidget*()> hauptfenster, QObject* parent = nullptr);
    ~TProgrammEnde() override;

    static bool Angefordert();

private:
    void Schliessen();

    std::function<QWidget*()> hauptfenster_;
    std::unique_ptr<platform::EndeSignal> signal_;
    QTimer* timer_;
};
