#include "LumenWorkerThread.h"

void LumenWorkerThread::post(std::function<void()> job)
{
    {
        std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_pending = true;
    }
    if (!m_thread.joinable())
        m_thread = std::jthread([this](std::stop_token stop) { loop(stop); });
    m_changed.notify_all();
}

void LumenWorkerThread::wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_pending; });
}

void LumenWorkerThread::loop(std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_changed.wait(lock, stop, [&] { return m_pending && m_job; }))
            return; // stopped
        std::function<void()> job = std::move(m_job);
        m_job = nullptr;
        lock.unlock();
        job();
        lock.lock();
        m_pending = false;
        lock.unlock();
        m_changed.notify_all();
        lock.lock();
    }
}
