#pragma once
// The one link to the device: finds and opens its serial port, runs the
// reading loop that cuts the byte stream into frames, and sends payloads as
// paced frames.
//
// Threads. The reading loop runs on a thread of its own ("usbReadingQ"):
// eventPacket is called there, once per frame, in arrival order; the
// application's dispatcher posts what it does to the main thread itself.
// writeVizoPacket() may be called from any thread; writers are served one
// frame at a time in call order (see VizoPacedWriter for the pacing).
//
// Failures. Everything that ends the link (no port found, the port cannot be
// opened, the device is gone) is reported through eventLinkFailure with the
// message for the user; the application shows it and terminates. Failures of
// open() are reported on the calling thread before open() returns; the loss
// of the link is posted to the main thread (brPostMain), once (called on the
// reading thread when there is no application object to post to).
#include "link/VizoPacedWriter.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class BrPacketAssembler;
class VizoSerialPort;
class VizoStreamFramer;

class VizoProtocolChannel
{
public:
    using LinkFailureHandler = std::function<void(const QString &message)>;
    using PacketHandler = std::function<void(const QByteArray &payload, std::uint16_t count, std::uint16_t index)>;

    VizoProtocolChannel();
    // Stops the reading loop, waits for it, drains and closes the port.
    ~VizoProtocolChannel();

    VizoProtocolChannel(const VizoProtocolChannel &) = delete;
    VizoProtocolChannel &operator=(const VizoProtocolChannel &) = delete;

    // Install both before open() and startRead().
    LinkFailureHandler eventLinkFailure;
    PacketHandler eventPacket;

    // Opens the device's port: `portPath` when given (a pseudo-terminal of
    // the virtual device, or any serial device), otherwise the port found
    // by USB vendor and product. On failure eventLinkFailure gets the message
    // and the result is false.
    bool open(const QString &portPath = {});
    // Uses a port that is already open (in-process links, tests).
    bool open(std::unique_ptr<VizoSerialPort> port, int deviceSpeed = -1);
    bool isOpen() const { return m_port != nullptr; }

    // Starts the reading loop unless it runs already.
    void startRead();
    // Asks the reading loop to end; it ends within moments.
    void stopRead();
    bool isReading() const { return m_readingStarted; }

    // One read from the port: > 0 bytes, 0 nothing yet, -1 the link is gone.
    long read(void *buffer, std::size_t capacity);
    // Sends bytes as they stand, paced; returns once they were written.
    void write(const void *bytes, std::uint16_t size);
    // Frames a payload and sends it.
    void writeVizoPacket(const void *payload, std::size_t size);
    void writeVizoPacket(const QByteArray &payload);
    template <typename Record>
        requires requires(const Record &r) { r.data(); r.size(); }
    void writeVizoPacket(const Record &record)
    {
        writeVizoPacket(record.data(), record.size());
    }

    // USB speed of the device: 0 low, 1 full, 2 high, 3 SuperSpeed; -1 when
    // the port is not on a Vizo USB device.
    int deviceSpeed() const { return m_deviceSpeed; }

    // The channel installs the assembler's callables itself (framing checks
    // and eventPacket); it is exposed for inspection only.
    BrPacketAssembler &packetAssembler() { return *m_packetAssembler; }
    std::size_t framesDropped() const;

    static QString disconnectedMessage();

private:
    void readLoop();
    void fail(const QString &message);

    std::unique_ptr<BrPacketAssembler> m_packetAssembler;
    std::unique_ptr<VizoStreamFramer> m_framer;
    std::unique_ptr<VizoSerialPort> m_port;
    std::unique_ptr<VizoPacedWriter> m_writer;
    std::thread m_readingThread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_readingStarted{false};
    int m_deviceSpeed = -1;
};
