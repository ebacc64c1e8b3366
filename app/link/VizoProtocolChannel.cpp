#include "link/VizoProtocolChannel.h"

#include "link/VizoLinkLog.h"
#include "link/VizoPortDiscovery.h"
#include "link/VizoSerialPort.h"
#include "link/VizoStreamFramer.h"
#include "link/VizoTtyPort.h"
#include "protocol/VizoFrame.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrPacketAssembler.h>

#include <QCoreApplication>

#include <pthread.h>

VizoProtocolChannel::VizoProtocolChannel()
    : m_packetAssembler(std::make_unique<BrPacketAssembler>(unsigned(VizoFrame::headerSize))),
      m_framer(std::make_unique<VizoStreamFramer>(*m_packetAssembler))
{
    m_framer->eventFrame = [this](const VizoReceivedFrame &frame) {
        if (eventPacket)
            eventPacket(frame.payload, frame.count, frame.index);
    };
}

VizoProtocolChannel::~VizoProtocolChannel()
{
    stopRead();
    if (m_readingThread.joinable())
        m_readingThread.join();
    if (m_writer)
        m_writer->waitIdle();
    m_writer.reset();
    m_port.reset(); // drains and closes
}

QString VizoProtocolChannel::disconnectedMessage()
{
    return QStringLiteral("The USB connection has been disconnected.\nApplication will be terminated.");
}

void VizoProtocolChannel::fail(const QString &message)
{
    if (eventLinkFailure)
        eventLinkFailure(message);
}

bool VizoProtocolChannel::open(const QString &portPath)
{
    QString path = portPath;
    int speed = -1;
    if (path.isEmpty()) {
        const VizoModemLookup modem = vizoFindModem();
        if (!modem.failure.isEmpty()) {
            fail(modem.failure);
            return false;
        }
        path = modem.path;
        speed = modem.speed;
    } else {
        speed = vizoUsbSpeedOfPort(path);
    }
    auto port = VizoTtyPort::open(path);
    if (!port) {
        fail(QString::asprintf("Can't open serial port %s.\nApplication will be terminated.", qPrintable(path)));
        return false;
    }
    return open(std::move(port), speed);
}

bool VizoProtocolChannel::open(std::unique_ptr<VizoSerialPort> port, int deviceSpeed)
{
    if (!port || m_port)
        return false;
    m_port = std::move(port);
    m_deviceSpeed = deviceSpeed;
    VizoSerialPort *raw = m_port.get();
    m_writer = std::make_unique<VizoPacedWriter>(
        [raw](const void *data, std::size_t size) { return raw->write(data, size); });
    return true;
}

void VizoProtocolChannel::startRead()
{
    if (!m_port || m_readingStarted)
        return;
    if (m_readingThread.joinable())
        m_readingThread.join(); // a loop that was asked to stop
    m_stop = false;
    m_readingStarted = true;
    m_readingThread = std::thread([this] { readLoop(); });
}

void VizoProtocolChannel::stopRead()
{
    m_stop = true;
    m_readingStarted = false;
    if (m_port)
        m_port->interrupt();
}

long VizoProtocolChannel::read(void *buffer, std::size_t capacity)
{
    return m_port ? m_port->read(buffer, capacity) : -1;
}

void VizoProtocolChannel::readLoop()
{
    pthread_setname_np(pthread_self(), "usbReadingQ");
    std::uint8_t buffer[8192];
    while (!m_stop) {
        const long n = m_port->read(buffer, sizeof buffer);
        if (n > 0) {
            m_framer->feed(buffer, std::size_t(n));
        } else if (n == 0) {
            if (!m_stop)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } else {
            if (m_stop)
                break;
            m_stop = true;
            m_readingStarted = false;
            qCDebug(lcVizoLink) << "the link is gone";
            LinkFailureHandler handler = eventLinkFailure;
            if (handler && QCoreApplication::instance())
                brPostMain([handler] { handler(disconnectedMessage()); });
            else if (handler)
                handler(disconnectedMessage()); // no event loop to post to
        }
    }
}

void VizoProtocolChannel::write(const void *bytes, std::uint16_t size)
{
    if (!m_writer || size == 0)
        return;
    m_writer->write(bytes, size);
}

void VizoProtocolChannel::writeVizoPacket(const void *payload, std::size_t size)
{
    const QByteArray frame = VizoFrame::compose(payload, size);
    if (frame.isEmpty()) {
        qCWarning(lcVizoLink) << "payload of" << size << "bytes is too long to send";
        return;
    }
    // Frames up to 65549 bytes: write() takes a 16-bit size, so send the
    // rare longer frame directly through the pacer.
    if (frame.size() <= 0xFFFF)
        write(frame.constData(), std::uint16_t(frame.size()));
    else if (m_writer)
        m_writer->write(frame.constData(), std::size_t(frame.size()));
}

void VizoProtocolChannel::writeVizoPacket(const QByteArray &payload)
{
    writeVizoPacket(payload.constData(), std::size_t(payload.size()));
}

std::size_t VizoProtocolChannel::framesDropped() const
{
    return m_framer->framesDropped();
}
