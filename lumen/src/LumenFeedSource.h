#pragma once
// The source behind a LumenFrameFeed: connects the feed to a slot while the
// session runs.
#include "LumenFrameSource.h"

class LumenFrameFeed;

class LumenFeedSource : public LumenFrameSource
{
public:
    LumenFeedSource(std::shared_ptr<LumenFrameFeed> feed, std::shared_ptr<LumenFrameSlot> slot);
    ~LumenFeedSource() override;

    bool start() override;
    void stop() override;
    bool isRunning() const override { return m_running; }

private:
    std::shared_ptr<LumenFrameFeed> m_feed;
    std::shared_ptr<LumenFrameSlot> m_slot;
    bool m_running = false;
};
