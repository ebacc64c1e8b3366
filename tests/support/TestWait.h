#pragma once
// The one way tests wait: run the main event loop until a condition holds
// or the time is up. (Qt's QTRY_ and qWait macros report to QTest, where a
// GoogleTest run never sees the failure.)
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>

// Runs events until `done` holds or `timeoutMs` passed; returns done().
// Generous timeouts cost nothing when the condition comes early.
inline bool waitFor(const std::function<bool()> &done, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// Runs events for `ms` milliseconds, for things that must NOT happen.
inline void waitMs(int ms)
{
    waitFor([] { return false; }, ms);
}
