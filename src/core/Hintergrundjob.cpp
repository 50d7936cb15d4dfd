#include "Hintergrundjob.h"

#include <QEventLoop>
#include <QThread>

bool THintergrundjob::Kontext::Abbrechen() const
{
    if (job_.abbrechen_.load())
        return true;
    if (job_.zeitlimit_.count() > 0 && std::chrono::steady_clock::now() >= job_.frist_) {
        job_.zeitAbgelaufen_.store(true);
        return true;
    }
    return false;
}

void THintergrundjob::Kontext::Fortschritt(qint64 fertig, qint64 gesamt, const QString& text)
{
    {
        std::lock_guard lock(job_.mutex_);
        job_.fertig_ = fertig;
        job_.gesamt_ = gesamt;
        job_.text_ = text;
    }
    if (!job_.gemeldet_.exchange(true))
        QMetaObject::invokeMethod(&job_, &THintergrundjob::FortschrittMelden, Qt::QueuedConnection);
}

THintergrundjob::THintergrundjob(Arbeit arbeit, QObject* parent)
    : QObject(parent), arbeit_(std::move(arbeit))
{
}

THintergrundjob::~THintergrundjob()
{
    if (thread_) {
        abbrechen_.store(true);
        thread_->wait();
        delete thread_;
    }
}

void THintergrundjob::Starten()
{
    if (thread_ || ende_ != Ende::Laeuft)
        throw std::logic_error("Der Hintergrundjob wurde schon gestartet.");
    frist_ = std::chrono::steady_clock::now() + zeitlimit_;
    thread_ = QThread::create([this] {
        Kontext kontext(*this);
        bool geworfen = false;
        QString fehler;
        try {
            arbeit_(kontext);
        } catch (const std::exception& e) {
            geworfen = true;
            fehler = QString::fromUtf8(e.what());
        }
        QMetaObject::invokeMethod(
            this, [this, geworfen, fehler] { Abschliessen(geworfen, fehler); },
            Qt::QueuedConnection);
    });
    thread_->start();
}

void THintergrundjob::Abbrechen()
{
    abbrechen_.store(true);
}

THintergrundjob::Ende THintergrundjob::Warten()
{
    if (ende_ == Ende::Laeuft) {
        QEventLoop schleife;
        connect(this, &THintergrundjob::Beendet, &schleife, &QEventLoop::quit);
        schleife.exec();
    }
    return ende_;
}

void THintergrundjob::FortschrittMelden()
{
    gemeldet_.store(false);
    qint64 fertig, gesamt;
    QString text;
    {
        std::lock_guard lock(mutex_);
        fertig = fertig_;
        gesamt = gesamt_;
        text = text_;
    }
    emit Fortschritt(fertig, gesamt, text);
}

void THintergrundjob::Abschliessen(bool geworfen, const QString& fehler)
{
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    // A stop that was asked for is the end, whatever the work made of it.
    if (abbrechen_.load())
        ende_ = Ende::Abgebrochen;
    else if (zeitAbgelaufen_.load())
        ende_ = Ende::Zeitueberschritten;
    else if (geworfen)
        ende_ = Ende::Fehler;
    else
        ende_ = Ende::Fertig;
    fehler_ = fehler;
    emit Beendet(ende_);
}
