#include <bramble/BrDispatchTimer.h>

#include <QElapsedTimer>
#include <QObject>
#include "TestWait.h"
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <memory>
#include <vector>

TEST(BrDispatchTimer, FirstFiringOneIntervalAfterStartThenEveryInterval)
{
    QObject context;
    BrTimer *timer = BrDispatchTimer::createTimer(&context);
    ASSERT_NE(timer, nullptr);
    QElapsedTimer clock;
    std::vector<qint64> firings;
    clock.start();
    ASSERT_TRUE(BrDispatchTimer::startTimer(timer, 0.3, [&] { firings.push_back(clock.elapsed()); }));
    ASSERT_TRUE(waitFor([&] { return firings.size() >= 3; }, 10000));
    BrDispatchTimer::stopTimer(timer);
    // Coarse timers may come up to 5% early.
    EXPECT_GE(firings[0], 280);
    EXPECT_GE(firings[1] - firings[0], 280);
    EXPECT_GE(firings[2], 3 * 280);
}

TEST(BrDispatchTimer, MissingTimerIsIgnored)
{
    EXPECT_FALSE(startTimer(nullptr, 1.0, [] {}));
    cancelTimer(nullptr);
    BrDispatchTimer::stopTimer(nullptr);
}

TEST(BrDispatchTimer, SecondStartAndBadIntervalsAreRefused)
{
    QObject context;
    BrTimer *timer = createTimer(&context);
    EXPECT_FALSE(startTimer(timer, 0.0, [] {}));
    EXPECT_FALSE(startTimer(timer, -1.0, [] {}));
    EXPECT_FALSE(startTimer(timer, std::numeric_limits<double>::quiet_NaN(), [] {}));
    int first = 0, second = 0;
    EXPECT_TRUE(startTimer(timer, 0.02, [&] { ++first; }));
    EXPECT_FALSE(startTimer(timer, 0.02, [&] { ++second; }));
    ASSERT_TRUE(waitFor([&] { return first >= 2; }, 5000));
    EXPECT_EQ(second, 0);
    cancelTimer(timer);
}

TEST(BrDispatchTimer, CancelFromInsideTheHandlerStopsIt)
{
    QObject context;
    BrTimer *timer = createTimer(&context);
    int calls = 0;
    startTimer(timer, 0.01, [&] {
        if (++calls == 2)
            cancelTimer(timer);
    });
    ASSERT_TRUE(waitFor([&] { return calls >= 2; }, 5000));
    waitMs(150);
    EXPECT_EQ(calls, 2);
}

TEST(BrDispatchTimer, DestroyedContextEndsTheCalls)
{
    auto context = std::make_unique<QObject>();
    BrTimer *timer = createTimer(context.get());
    int calls = 0;
    startTimer(timer, 0.01, [&] { ++calls; });
    ASSERT_TRUE(waitFor([&] { return calls >= 1; }, 5000));
    context.reset();
    const int atReset = calls;
    waitMs(100);
    EXPECT_EQ(calls, atReset);
    cancelTimer(timer);
    waitMs(10);
}

TEST(BrDispatchTimer, HandlerRunsOnTheContextThread)
{
    QThread worker;
    worker.start();
    QObject context;
    context.moveToThread(&worker);
    std::atomic<QThread *> ranOn{nullptr};
    BrTimer *timer = createTimer(&context);
    ASSERT_EQ(timer->thread(), &worker);
    // Started from the main thread, fires on the worker.
    startTimer(timer, 0.01, [&] { ranOn = QThread::currentThread(); });
    ASSERT_TRUE(waitFor([&] { return ranOn.load() != nullptr; }, 5000));
    EXPECT_EQ(ranOn.load(), &worker);
    cancelTimer(timer);
    waitMs(50);
    worker.quit();
    worker.wait();
    context.moveToThread(QThread::currentThread());
}
