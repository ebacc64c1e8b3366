#include "bramble/BrDispatchTimer.h"

#include "BrLog.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QVariant>

#include <cmath>
#include <limits>

namespace {
// Marks a timer that has been started once; a second start is refused.
constexpr const char *kStartedProperty = "_br_started";
// The object the handler is bound to, so a destroyed context ends the calls.
constexpr const char *kContextProperty = "_br_context";
} // namespace

BrTimer *createTimer(QObject *context)
{
    QObject *owner = context ? context : QCoreApplication::instance();
    if (!owner)
        return nullptr;
    auto *timer = new QTimer;
    timer->setTimerType(Qt::CoarseTimer);
    timer->setProperty(kContextProperty, QVariant::fromValue(QPointer<QObject>(owner)));
    if (timer->thread() != owner->thread())
        timer->moveToThread(owner->thread());
    return timer;
}

bool startTimer(BrTimer *timer, double intervalSeconds, std::function<void()> handler)
{
    if (!timer)
        return false;
    if (!(intervalSeconds > 0.0) || !std::isfinite(intervalSeconds)) {
        qCWarning(lcBramble) << "startTimer: interval is not a positive number of seconds:" << intervalSeconds;
        return false;
    }
    if (timer->property(kStartedProperty).toBool()) {
        qCWarning(lcBramble) << "startTimer: the timer was already started";
        return false;
    }
    timer->setProperty(kStartedProperty, true);

    const double ms = std::round(intervalSeconds * 1000.0);
    const int intervalMs = ms < 1.0 ? 1 : ms > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(ms);
    auto context = timer->property(kContextProperty).value<QPointer<QObject>>();
    QObject *receiver = context ? context.data() : timer;
    QObject::connect(timer, &QTimer::timeout, receiver, [handler = std::move(handler)] {
        if (handler)
            handler();
    });
    auto start = [timer, intervalMs] { timer->start(intervalMs); };
    if (timer->thread() == QThread::currentThread())
        start();
    else
        QMetaObject::invokeMethod(timer, start, Qt::QueuedConnection);
    return true;
}

void cancelTimer(BrTimer *timer)
{
    if (!timer)
        return;
    if (timer->thread() == QThread::currentThread()) {
        timer->stop();
        // Not deleted here: the caller may be this timer's own handler.
        timer->deleteLater();
        return;
    }
    QMetaObject::invokeMethod(timer, [timer] { timer->stop(); timer->deleteLater(); }, Qt::QueuedConnection);
}
