#include <Hintergrundjob.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <stdexcept>

using Ende = THintergrundjob::Ende;

// The work runs in a thread of its own; its progress and its end arrive in the job's thread.
TEST(HintergrundjobTest, ProgressAndEndArriveInTheJobsThread)
{
    const struct {
        const char* fall;
        bool werfen;
        Ende ende;
        const char* fehler;
    } faelle[] = {
        {"done", false, Ende::Fertig, ""},
        {"failed", true, Ende::Fehler, "Die Übertragung ist fehlgeschlagen."},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        QThread* arbeitsThread = nullptr;
        THintergrundjob job([&](THintergrundjob::Kontext& k) {
            arbeitsThread = QThread::currentThread();
            for (int i = 1; i <= 3; ++i)
                k.Fortschritt(i, 3, QStringLiteral("Teil %1").arg(i));
            if (f.werfen)
                throw std::runtime_error(f.fehler);
        });
        QList<QThread*> meldendeThreads;
        QStringList texte;
        QObject::connect(&job, &THintergrundjob::Fortschritt,
                         [&](qint64, qint64, const QString& text) {
                             meldendeThreads << QThread::currentThread();
                             texte << text;
                         });
        QSignalSpy beendet(&job, &THintergrundjob::Beendet);
        job.Starten();
        EXPECT_EQ(job.Warten(), f.ende);
        EXPECT_EQ(beendet.size(), 1);
        EXPECT_EQ(job.Fehler(), QString::fromUtf8(f.fehler));
        EXPECT_NE(arbeitsThread, QThread::currentThread());
        // The latest state always arrives; states in between may be merged.
        ASSERT_FALSE(texte.isEmpty());
        EXPECT_EQ(texte.last(), "Teil 3");
        for (QThread* t : meldendeThreads)
            EXPECT_EQ(t, QThread::currentThread());
    }
}

// A work that runs until it is told to stop: the user's cancel and the time limit stop it.
TEST(HintergrundjobTest, CancelAndTimeLimitStopTheWork)
{
    const auto bisZumAbbruch = [](THintergrundjob::Kontext& k) {
        while (!k.Abbrechen())
            QThread::msleep(5);
        throw std::runtime_error("abgebrochen");
    };
    {
        THintergrundjob job(bisZumAbbruch);
        job.Starten();
        QElapsedTimer uhr;
        uhr.start();
        job.Abbrechen();
        EXPECT_EQ(job.Warten(), Ende::Abgebrochen);
        EXPECT_LT(uhr.elapsed(), 2000);
    }
    {
        THintergrundjob job(bisZumAbbruch);
        job.SetZeitlimit(std::chrono::milliseconds(300));
        QElapsedTimer uhr;
        uhr.start();
        job.Starten();
        EXPECT_EQ(job.Warten(), Ende::Zeitueberschritten);
        EXPECT_GE(uhr.elapsed(), 290);
        EXPECT_LT(uhr.elapsed(), 3000);
    }
    {
        // Destroyed while running: the work is stopped and waited for.
        bool ende = false;
        {
            THintergrundjob job([&](THintergrundjob::Kontext& k) {
                while (!k.Abbrechen())
                    QThread::msleep(5);
                ende = true;
            });
            job.Starten();
        }
        EXPECT_TRUE(ende);
    }
}
