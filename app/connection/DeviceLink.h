#pragma once
// The delegate's view of the link to the device: frames in (on the link's
// reading thread), payloads out (paced, holding the caller), one failure
// report with the text to show. The serial channel is the one real link;
// ProtocolChannelLink.cpp adapts it.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class VizoProtocolChannel;

class DeviceLink
{
public:
    // One frame's payload with the frame's packet count and index, on the
    // link's reading thread.
    using FrameHandler = std::function<void(const QByteArray &payload, uint16_t count, uint16_t index)>;
    // Called once, on any thread, with the message for the user.
    using FailureHandler = std::function<void(const QString &message)>;

    virtual ~DeviceLink() = default;
    virtual void startRead() = 0;
    virtual void stopRead() = 0;
    // USB speed code (2 high speed, 3 SuperSpeed), -1 when unknown.
    virtual int deviceSpeed() const = 0;
    virtual void writeVizoPacket(const QByteArray &payload) = 0;
    // The serial channel behind this link, if it is one.
    virtual VizoProtocolChannel *channel() const { return nullptr; }

    // Opens the serial channel on `portPath` (discovery when empty). On
    // failure returns nullptr; the failure handler has then been called.
    static std::unique_ptr<DeviceLink> openProtocolChannel(const QString &portPath, FrameHandler onFrame,
                                                           FailureHandler onFailure);
};
