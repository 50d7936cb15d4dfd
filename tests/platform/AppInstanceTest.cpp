#include <AppInstance.h>
#include <InstanceGuard.h>

#include <ScopedEnv.h>

#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <barrier>
#include <memory>
#include <vector>

namespace {

// Several starts of one program at the same moment, each in a thread of its own with its own
// lock descriptor, as separate processes would have.
class AppInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(runtime.isValid()); }

    QTemporaryDir runtime;
    ScopedEnv xdg{"XDG_RUNTIME_DIR", QFile::encodeName(runtime.path())};
};

TEST_F(AppInstanceTest, OfSimultaneousStartsExactlyOneListens)
{
    constexpr int Starts = 4;
    constexpr int Rounds = 25;
    const QString name = QStringLiteral("ZR_Gleichzeitig");
    const QString socketPath = platform::runtimeFolder() + QStringLiteral("/ZR_Gleichzeitig.sock");

    for (int round = 0; round < Rounds; ++round) {
        // Three meeting points: all start together, all have answered, the answers are checked.
        std::barrier treffen(Starts + 1);
        std::vector<int> firstInstance(Starts, -1);
        std::vector<std::unique_ptr<QThread>> threads;
        for (int i = 0; i < Starts; ++i) {
            threads.emplace_back(QThread::create([&, i] {
                auto instance = std::make_unique<platform::AppInstance>(name);
                treffen.arrive_and_wait();
                firstInstance[std::size_t(i)] = instance->anotherInstanceRuns() ? 0 : 1;
                treffen.arrive_and_wait();
                treffen.arrive_and_wait();
            }));
            threads.back()->start();
        }
        treffen.arrive_and_wait();
        treffen.arrive_and_wait();

        int listening = 0;
        for (int answer : firstInstance)
            listening += answer;
        EXPECT_EQ(listening, 1) << "Runde " << round;
        // The survivor's socket is still there and answers a later start.
        QLocalSocket later;
        later.connectToServer(socketPath);
        EXPECT_TRUE(later.waitForConnected(2000)) << "Runde " << round;
        later.abort();

        treffen.arrive_and_wait();
        for (auto& thread : threads)
            ASSERT_TRUE(thread->wait(10000));
        if (HasFailure())
            break;
    }
}

TEST_F(AppInstanceTest, AStaleSocketFileDoesNotStopTheFirstStart)
{
    const QString socketPath = platform::runtimeFolder() + QStringLiteral("/ZR_Alt.sock");
    QFile stale(socketPath);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    platform::AppInstance first(QStringLiteral("ZR_Alt"));
    EXPECT_FALSE(first.anotherInstanceRuns());
    platform::AppInstance second(QStringLiteral("ZR_Alt"));
    EXPECT_TRUE(second.anotherInstanceRuns());
}

TEST_F(AppInstanceTest, AcquireWaitsForTheHolder)
{
    auto held = platform::InstanceGuard::acquire(QStringLiteral("ZR_Warten"));
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(platform::InstanceGuard::tryAcquire(QStringLiteral("ZR_Warten")), nullptr);

    std::atomic<bool> taken{false};
    std::unique_ptr<QThread> waiter(QThread::create([&] {
        auto guard = platform::InstanceGuard::acquire(QStringLiteral("ZR_Warten"));
        taken = guard != nullptr;
    }));
    waiter->start();
    EXPECT_FALSE(waiter->wait(300));
    EXPECT_FALSE(taken);
    held.reset();
    ASSERT_TRUE(waiter->wait(10000));
    EXPECT_TRUE(taken);
}

}  // namespace
