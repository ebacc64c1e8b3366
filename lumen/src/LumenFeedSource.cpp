#include "LumenFeedSource.h"

#include <lumen/LumenFrameFeed.h>

LumenFeedSource::LumenFeedSource(std::shared_ptr<LumenFrameFeed> feed,
                                 std::shared_ptr<LumenFrameSlot> slot)
    : m_feed(std::move(feed)), m_slot(std::move(slot))
{
}

LumenFeedSource::~LumenFeedSource()
{
    stop();
}

bool LumenFeedSource::start()
{
    if (m_feed)
        m_feed->attach(m_slot);
    m_running = m_feed != nullptr;
    return m_running;
}

void LumenFeedSource::stop()
{
    if (m_running && m_feed)
        m_feed->detach();
    m_running = false;
}
