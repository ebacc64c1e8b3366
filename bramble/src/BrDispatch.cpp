#include "bramble/BrDispatch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

namespace {
QObject *target(QObject *context)
{
    return context ? context : QCoreApplication::instance();
}
} // namespace

void brPostMain(std::function<void()> fn, QObject *context)
{
    QObject *obj = target(context);
    if (!obj || !fn)
        return;
    QMetaObject::invokeMethod(obj, std::move(fn), Qt::QueuedConnection);
}

void brPostMainAfter(int delayMs, std::function<void()> fn, QObject *context)
{
    QObject *obj = target(context);
    if (!obj || !fn)
        return;
    if (obj->thread() == QThread::currentThread()) {
        QTimer::singleShot(delayMs, obj, std::move(fn));
        return;
    }
    // A timer must start on its own thread: hop there first.
    QMetaObject::invokeMethod(
        obj, [delayMs, obj, fn = std::move(fn)]() mutable {
            QTimer::singleShot(delayMs, obj, std::move(fn));
        },
        Qt::QueuedConnection);
}
