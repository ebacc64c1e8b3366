#include "LumenFrameSlot.h"

void LumenFrameSlot::publish(std::shared_ptr<LumenFrame> frame)
{
    if (!frame)
        return;
    LumenFramePtr stale;
    {
        std::lock_guard lock(m_mutex);
        frame->sequence = ++m_published;
        stale = std::move(m_latest);
        m_latest = std::move(frame);
        if (!m_wakePending && m_wake) {
            m_wakePending = true;
            m_wake();
        }
    }
    // The stale frame (and its capture buffer) is released here, outside
    // the lock.
    if (stale)
        ++m_dropped;
}

LumenFramePtr LumenFrameSlot::take()
{
    std::lock_guard lock(m_mutex);
    m_wakePending = false;
    return std::move(m_latest);
}

void LumenFrameSlot::setWake(std::function<void()> wake)
{
    std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
    m_wakePending = false;
    if (m_wake && m_latest) {
        m_wakePending = true;
        m_wake();
    }
}

void LumenFrameSlot::setPresented(Presented presented)
{
    m_presented = std::move(presented);
}

void LumenFrameSlot::notifyPresented(std::uint64_t sequence, std::int64_t arrivalNs)
{
    if (m_presented)
        m_presented(sequence, arrivalNs);
}
