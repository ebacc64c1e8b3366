#include "link/VizoPacedWriter.h"

#include <algorithm>
#include <thread>

std::chrono::milliseconds VizoPacedWriter::pauseAfter(std::size_t chunk)
{
    struct Step
    {
        std::size_t above;
        int ms;
    };
    static constexpr Step table[] = {{900, 600}, {800, 540}, {700, 480}, {600, 420},
                                     {500, 360}, {400, 300}, {300, 240}};
    for (const Step &step : table)
        if (chunk > step.above)
            return std::chrono::milliseconds(step.ms);
    return std::chrono::milliseconds(200);
}

void VizoPacedWriter::write(const void *data, std::size_t size)
{
    const auto *bytes = static_cast<const char *>(data);
    std::lock_guard lock(m_mutex);
    for (std::size_t at = 0; at < size; at += chunkSize) {
        const std::size_t chunk = std::min(chunkSize, size - at);
        std::this_thread::sleep_until(m_rested);
        m_sink(bytes + at, chunk);
        m_rested = Clock::now() + pauseAfter(chunk);
    }
}

void VizoPacedWriter::waitIdle()
{
    std::lock_guard lock(m_mutex);
    std::this_thread::sleep_until(m_rested);
}
