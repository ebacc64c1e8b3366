#include "LumenShmSender.h"

#include <xcb/shm.h>

LumenShmSender::~LumenShmSender()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void LumenShmSender::write(xcb_connection_t *connection, const Put &p)
{
    xcb_shm_put_image(connection, p.window, p.gc, p.width, p.height, 0, p.first, p.width, p.rows, 0,
                      std::int16_t(p.first), 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, p.segment, 0);
    xcb_flush(connection);
}

void LumenShmSender::send(const Put &put)
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] { loop(); });
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_count < kQueue; });
        m_queue[(m_head + m_count) % kQueue] = put;
        ++m_count;
    }
    m_changed.notify_all();
}

void LumenShmSender::drain()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_count == 0 && !m_writing; });
}

void LumenShmSender::loop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_quit || m_count > 0; });
        if (m_quit)
            return;
        const Put p = m_queue[m_head];
        m_head = (m_head + 1) % kQueue;
        --m_count;
        m_writing = true;
        lock.unlock();
        write(m_connection, p);
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}
