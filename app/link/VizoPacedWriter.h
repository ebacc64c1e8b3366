#pragma once
// Flow control of the link: a frame goes out in chunks of at most 1024
// bytes, and after each chunk the line rests for a time that grows with the
// chunk (200 ms up to 300 bytes, then 240, 300, 360 ... per further 100
// bytes, 600 ms above 900). Nothing is sent before the rest of the previous chunk has
// passed, but a write that finds the line rested goes out at once; the rest
// after a frame's last chunk is taken by the next write, so the caller is not
// held for it.
//
// Thread-safe: writers from any thread are serialised in call order.
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>

class VizoPacedWriter
{
public:
    using Sink = std::function<long(const void *data, std::size_t size)>;
    using Clock = std::chrono::steady_clock;

    explicit VizoPacedWriter(Sink sink) : m_sink(std::move(sink)) {}

    // Sends size bytes; returns once the last chunk has been handed to the
    // sink. Zero bytes send nothing and do not rest.
    void write(const void *data, std::size_t size);

    // Waits until the rest after the last chunk has passed (before closing).
    void waitIdle();

    static constexpr std::size_t chunkSize = 1024;
    static std::chrono::milliseconds pauseAfter(std::size_t chunk);

private:
    Sink m_sink;
    std::mutex m_mutex;
    Clock::time_point m_rested{};
};
