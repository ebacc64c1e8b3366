#pragma once
// The single "latest frame" slot between a frame source and the view.
//
// Sources publish from their own thread; the view takes on the main thread.
// A published frame replaces one that was not taken yet (that one is
// dropped, its buffer released), so a slow screen never makes frames queue.
// The wake handler runs at most once per taken frame, so repaints coalesce.
#include "LumenFrame.h"

#include <atomic>
#include <functional>
#include <mutex>

class LumenFrameSlot
{
public:
    // Any thread. Stamps the frame's sequence number.
    void publish(std::shared_ptr<LumenFrame> frame);
    // Main thread: the newest frame not taken yet, or null.
    LumenFramePtr take();

    // Called on the publishing thread, with the slot locked, when a frame
    // becomes available and no wake is pending: post, never draw, from it.
    void setWake(std::function<void()> wake);
    // Called on the main thread when a frame has reached the screen.
    using Presented = std::function<void(std::uint64_t sequence, std::int64_t arrivalNs)>;
    void setPresented(Presented presented);
    void notifyPresented(std::uint64_t sequence, std::int64_t arrivalNs);

    std::uint64_t publishedCount() const { return m_published.load(); }
    std::uint64_t droppedCount() const { return m_dropped.load(); }

private:
    std::mutex m_mutex;
    LumenFramePtr m_latest;
    bool m_wakePending = false;
    std::function<void()> m_wake;
    Presented m_presented;
    std::atomic<std::uint64_t> m_published{0};
    std::atomic<std::uint64_t> m_dropped{0};
};
