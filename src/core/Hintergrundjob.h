#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>

class QThread;

// Long work off the GUI thread: transfers, imports, mail. The work runs in a thread of its own,
// reports its progress to the job's thread and stops when asked to, by the user or by the job's
// time limit. The work cooperates: it looks at Kontext::Abbrechen() often enough (a transfer's
// progress callback does) and then returns or throws.
class THintergrundjob : public QObject {
    Q_OBJECT
public:
    enum class Ende { Laeuft, Fertig, Abgebrochen, Zeitueberschritten, Fehler };

    // The job as the work sees it, in the work's thread.
    class Kontext {
    public:
        // True once the job is cancelled or out of time: the work should end now.
        bool Abbrechen() const;
        // gesamt 0: unknown. The GUI thread sees the latest state, not every call.
        void Fortschritt(qint64 fertig, qint64 gesamt, const QString& text = {});

    private:
        friend class THintergrundjob;
        explicit Kontext(THintergrundjob& job) : job_(job) {}
        THintergrundjob& job_;
    };
    using Arbeit = std::function<void(Kontext&)>;

    explicit THintergrundjob(Arbeit arbeit, QObject* parent = nullptr);
    // Cancels the work and waits for its end: the work may use what the creator owns.
    ~THintergrundjob() override;
    THintergrundjob(const THintergrundjob&) = delete;
    THintergrundjob& operator=(const THintergrundjob&) = delete;

    // Set before Starten; zero: no limit.
    void SetZeitlimit(std::chrono::milliseconds zeitlimit) { zeitlimit_ = zeitlimit; }
    std::chrono::milliseconds Zeitlimit() const { return zeitlimit_; }

    void Starten();
    void Abbrechen();
    // Runs an event loop until the work has ended; returns at once when it has.
    Ende Warten();

    Ende Ergebnis() const { return ende_; }
    // The text of the exception that ended the work with Ende::Fehler.
    const QString& Fehler() const { return fehler_; }

signals:
    void Fortschritt(qint64 fertig, qint64 gesamt, const QString& text);
    // Once, in the job's thread, after the work's thread has ended.
    void Beendet(THintergrundjob::Ende ende);

private:
    void FortschrittMelden();
    void Abschliessen(bool geworfen, const QString& fehler);

    Arbeit arbeit_;
    std::chrono::milliseconds zeitlimit_{0};
    std::chrono::steady_clock::time_point frist_;
    std::atomic<bool> abbrechen_{false};
    std::atomic<bool> zeitAbgelaufen_{false};
    std::atomic<bool> gemeldet_{false};
    std::mutex mutex_;
    qint64 fertig_ = 0;
    qint64 gesamt_ = 0;
    QString text_;
    QThread* thread_ = nullptr;
    Ende ende_ = Ende::Laeuft;
    QString fehler_;
};
