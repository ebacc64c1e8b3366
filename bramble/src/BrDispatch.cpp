#include "bramble/BrDispatch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <utility>

// ThreadSanitizer's annotations, present only in a build that uses it.
extern "C" void AnnotateHappensBefore(const char *file, int line, const volatile void *addr)
    __attribute__((weak));
extern "C" void AnnotateHappensAfter(const char *file, int line, const volatile void *addr)
    __attribute__((weak));

namespace {
QObject *target(QObject *context)
{
    return context ? context : QCoreApplication::instance();
}

// Qt hands a queued call to the receiving thread under its own mutex, which
// ThreadSanitizer cannot see in a Qt not built for it, so everything the
// call carries would read as a race. The call says so itself instead: each
// copy or move into its final place releases, and running it acquires
// first. Without ThreadSanitizer it is a plain call.
class QueuedCall
{
public:
    explicit QueuedCall(std::function<void()> fn) : m_fn(std::move(fn)) { published(); }
    QueuedCall(const QueuedCall &other) : m_fn(other.m_fn) { published(); }
    QueuedCall(QueuedCall &&other) noexcept : m_fn(std::move(other.m_fn)) { published(); }
    QueuedCall &operator=(const QueuedCall &) = delete;
    QueuedCall &operator=(QueuedCall &&) = delete;
    ~QueuedCall() = default;

    void operator()()
    {
        if (AnnotateHappensAfter)
            AnnotateHappensAfter(__FILE__, __LINE__, this);
        m_fn();
    }

private:
    void published()
    {
        if (AnnotateHappensBefore)
            AnnotateHappensBefore(__FILE__, __LINE__, this);
    }

    std::function<void()> m_fn;
};
} // namespace

void brPostMain(std::function<void()> fn, QObject *context)
{
    QObject *obj = target(context);
    if (!obj || !fn)
        return;
    QMetaObject::invokeMethod(obj, QueuedCall(std::move(fn)), Qt::QueuedConnection);
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
        obj, QueuedCall([delayMs, obj, fn = std::move(fn)]() mutable {
            QTimer::singleShot(delayMs, obj, std::move(fn));
        }),
        Qt::QueuedConnection);
}
