// The serial channel as the delegate's device link.
#include "DeviceLink.h"

#include "link/VizoProtocolChannel.h"

namespace {
class ProtocolChannelLink : public DeviceLink
{
public:
    explicit ProtocolChannelLink(std::unique_ptr<VizoProtocolChannel> channel)
        : m_channel(std::move(channel))
    {
    }
    void startRead() override { m_channel->startRead(); }
    void stopRead() override { m_channel->stopRead(); }
    int deviceSpeed() const override { return m_channel->deviceSpeed(); }
    void writeVizoPacket(const QByteArray &payload) override { m_channel->writeVizoPacket(payload); }
    VizoProtocolChannel *channel() const override { return m_channel.get(); }

private:
    std::unique_ptr<VizoProtocolChannel> m_channel;
};
} // namespace

std::unique_ptr<DeviceLink> DeviceLink::openProtocolChannel(const QString &portPath, FrameHandler onFrame,
                                                            FailureHandler onFailure)
{
    auto channel = std::make_unique<VizoProtocolChannel>();
    channel->eventLinkFailure = std::move(onFailure);
    channel->eventPacket = std::move(onFrame);
    if (!channel->open(portPath))
        return nullptr;
    return std::make_unique<ProtocolChannelLink>(std::move(channel));
}
