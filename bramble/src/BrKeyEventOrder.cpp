#include "BrKeyEventOrder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {
// Server times are milliseconds that wrap around.
bool earlier(uint32_t a, uint32_t b)
{
    return int32_t(a - b) < 0;
}
} // namespace

BrKeyEventOrder::BrKeyEventOrder()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

BrKeyEventOrder::~BrKeyEventOrder()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void BrKeyEventOrder::run(uint32_t time, std::function<void()> report)
{
    if (m_waiting.empty() && m_delivered >= m_seen) {
        report();
        return;
    }
    m_waiting.push_back({m_seen, time, std::move(report)});
    if (m_flushPosted)
        return;
    m_flushPosted = true;
    // Posted events come after Qt has delivered the window system events it
    // queued from the same batch; anything still waiting then (a key event
    // Qt dropped) must not hold the hot key back.
    QTimer::singleShot(0, this, [this] {
        m_flushPosted = false;
        runAllWaiting();
    });
}

bool BrKeyEventOrder::eventFilter(QObject *watched, QEvent *event)
{
    // Qt hands each key event to the window first, then to its widgets:
    // the window's copy is counted once.
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && event->spontaneous() &&
        watched->isWindowType()) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        const QPointer<QObject> target(watched);
        runWaitingBefore(m_delivered, uint32_t(key->timestamp()));
        ++m_delivered;
        // A hot key that got rid of the window leaves nothing to deliver to.
        return !target;
    }
    return false;
}

// Runs, in order, the reports that came before the key event about to be
// delivered: the ones behind no more than `delivered` key events, or older
// by the server's clock.
void BrKeyEventOrder::runWaitingBefore(quint64 delivered, uint32_t time)
{
    while (!m_waiting.empty() &&
           (m_waiting.front().after <= delivered || earlier(m_waiting.front().time, time))) {
        // Taken off first: a report may run a nested event loop that comes
        // back here.
        const std::function<void()> report = std::move(m_waiting.front().report);
        m_waiting.pop_front();
        report();
    }
}

void BrKeyEventOrder::runAllWaiting()
{
    m_delivered = std::max(m_delivered, m_seen);
    while (!m_waiting.empty()) {
        const std::function<void()> report = std::move(m_waiting.front().report);
        m_waiting.pop_front();
        report();
    }
}
