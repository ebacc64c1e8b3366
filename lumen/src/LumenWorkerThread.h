#pragma once
// A thread kept for a decoder's whole life, running one job at a time for
// it, so that no frame starts a thread. The thread starts with the first
// job.
#include <condition_variable>
#include <stop_token>
#include <functional>
#include <mutex>
#include <thread>

class LumenWorkerThread
{
public:
    LumenWorkerThread() = default;
    LumenWorkerThread(const LumenWorkerThread &) = delete;
    LumenWorkerThread &operator=(const LumenWorkerThread &) = delete;

    // Runs `job` on the thread. One job at a time: wait() for it before
    // posting the next. (A job that captures no more than a pointer is
    // kept without allocating.)
    void post(std::function<void()> job);
    // Returns once the job posted last has returned.
    void wait();

private:
    void loop(std::stop_token stop);

    std::mutex m_mutex;
    std::condition_variable_any m_changed; // wakes on a stop request too
    std::function<void()> m_job;
    bool m_pending = false; // posted, not yet returned
    std::jthread m_thread;  // last: it stops and is joined before the rest goes
};
