#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// SIGTERM and SIGINT (kill, Ctrl+C, a logout) end the program through its normal end phase
// instead of killing it in the middle of its work. The signal only marks the request; the object
// reports it in the thread that made it. One object at a time.
class EndeSignal : public QObject {
    Q_OBJECT
public:
    explicit EndeSignal(QObject* parent = nullptr);
    ~EndeSignal() override;  // the default handling comes back
    EndeSignal(const EndeSignal&) = delete;
    EndeSignal& operator=(const EndeSignal&) = delete;

    // True once an end was requested.
    static bool Angefordert();
    // Requests the end; async-signal-safe, so signal handlers and the engine's callback may call
    // it.
    static void Anfordern();

signals:
    // Once per request, in the object's thread.
    void Beenden();

private:
    void Lesen();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform
