#include "LumenBufferPool.h"

std::shared_ptr<QByteArray> LumenBufferPool::get(qsizetype bytes)
{
    // use_count() is 1 only when the pool holds the last reference, and
    // nobody can take a new one from a frame that is gone.
    for (const auto &buffer : m_buffers)
        if (buffer.use_count() == 1 && buffer->size() == bytes)
            return buffer;
    auto buffer = std::make_shared<QByteArray>(bytes, Qt::Uninitialized);
    if (buffer->size() != bytes)
        return nullptr;
    if (m_buffers.size() >= kBuffers)
        m_buffers.erase(m_buffers.begin());
    m_buffers.push_back(buffer);
    return buffer;
}
