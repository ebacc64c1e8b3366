#pragma once
// One picture on its way from a source to the screen.
#include "LumenPlanar.h"

#include <QImage>
#include <QSize>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

// How many rows of a frame's planes are decoded, for a frame shown while
// its decoding goes on: the decoding thread advances it, the drawing
// waits for the rows it is about to convert.
class LumenFrameRows
{
public:
    explicit LumenFrameRows(int total) : m_total(total) {}

    // Decoding thread: rows [0, rows) are in the planes. Wakes the
    // drawing only once the rows it waits for are there, not per row.
    void advance(int rows)
    {
        bool wake;
        {
            std::lock_guard lock(m_mutex);
            m_done = std::min(rows, m_total);
            wake = m_wanted > 0 && m_done >= m_wanted;
        }
        if (wake)
            m_changed.notify_all();
    }
    // Decoding thread: no more rows will come (the frame is done, or gave
    // up; rows not decoded keep what the memory held).
    void finish() { advance(m_total); }

    void waitFor(int rows) const
    {
        std::unique_lock lock(m_mutex);
        m_wanted = std::min(rows, m_total);
        m_changed.wait(lock, [&] { return m_done >= m_wanted; });
        m_wanted = 0;
    }

private:
    const int m_total;
    int m_done = 0;
    mutable int m_wanted = 0; // what the (one) drawing thread waits for
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
};

struct LumenFrame
{
    enum class Kind {
        Rgb,  // `image` holds the picture
        Yuyv, // `bytes` holds packed 4:2:2 samples, converted when drawn
        Planar, // `planes` holds a decoded JPEG's YCbCr, converted when drawn
    };

    Kind kind = Kind::Rgb;
    QImage image;
    const uchar *bytes = nullptr;
    int bytesPerLine = 0;
    LumenYuvPlanes planes;
    QSize size;
    // Owns `bytes` or the planes' memory: a shared byte array, or a capture buffer that goes back
    // to the driver when the last reference is dropped.
    std::shared_ptr<const void> keeper;
    // `bytes` is a capture buffer the driver wants back: do not hold the
    // frame longer than drawing needs.
    bool lentBuffer = false;
    // When the frame arrived from its source (steady clock).
    std::int64_t arrivalNs = 0;
    std::uint64_t sequence = 0;
    // Set for planes still being decoded when the frame was published:
    // read a line only after waitRows() covered it.
    std::shared_ptr<LumenFrameRows> rows;

    void waitRows(int count) const
    {
        if (rows)
            rows->waitFor(count);
    }
    void waitComplete() const { waitRows(size.height()); }

    static std::int64_t nowNs()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

using LumenFramePtr = std::shared_ptr<const LumenFrame>;
