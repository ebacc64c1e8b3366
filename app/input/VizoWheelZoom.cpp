#include "input/VizoWheelZoom.h"

VizoWheelZoom::VizoWheelZoom(std::function<void(int)> sendZoom, std::function<void()> changed,
                             QObject *parent)
    : QObject(parent), m_sendZoom(std::move(sendZoom)), m_changed(std::move(changed))
{
    // Never early: the stop must come a full quiet time after the last tick.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &VizoWheelZoom::fire);
}

void VizoWheelZoom::wheel(double notches)
{
    if (notches == 0.0)
        return;
    if (!m_timer.isActive()) {
        // Touchpads and high-resolution wheels send parts of a notch: they
        // add up to one before a burst starts. A turn the other way, or a
        // pause as long as the quiet time, starts the sum afresh.
        if ((m_pending > 0) != (notches > 0)
            || (m_pendingSince.isValid() && m_pendingSince.elapsed() >= m_stopDelayMs))
            m_pending = 0.0;
        m_pending += notches;
        m_pendingSince.start();
        if (m_pending > -1.0 && m_pending < 1.0)
            return;
        notches = m_pending;
        m_pending = 0.0;
        m_pendingSince.invalidate();
        if (m_sendZoom)
            m_sendZoom(notches > 0 ? 0 : 1);
    }
    // Restarting the timer pushes the stop out to the quiet time after this
    // tick; the burst keeps the direction of its first tick.
    m_timer.stop();
    m_timer.start(m_stopDelayMs);
    if (m_changed)
        m_changed();
}

void VizoWheelZoom::fire()
{
    if (m_sendZoom)
        m_sendZoom(2);
    m_timer.stop();
    if (m_changed)
        m_changed();
}
