#pragma once
// A few byte buffers handed out again once no frame holds them. A fresh
// buffer per frame would be faulted in page by page, which costs about as
// much as the colour pass the planar path saves. One pool per decoding
// thread.
#include <QByteArray>

#include <memory>
#include <vector>

class LumenBufferPool
{
public:
    // A buffer of exactly `bytes` no frame holds, or null when out of memory.
    std::shared_ptr<QByteArray> get(qsizetype bytes);

private:
    // Enough for the frame on screen, one waiting and one being decoded.
    static constexpr std::size_t kBuffers = 4;
    std::vector<std::shared_ptr<QByteArray>> m_buffers;
};
