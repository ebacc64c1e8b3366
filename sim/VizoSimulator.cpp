#include "sim/VizoSimulator.h"

#include "link/VizoStreamFramer.h"
#include "protocol/VizoFrame.h"
#include "protocol/VizoFrameDecoder.h"

#include <bramble/BrPacketAssembler.h>

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

VizoSimulator::VizoSimulator(VizoSimState initial) : m_device(std::move(initial))
{
    m_device.eventNote = [this](const QString &note) {
        if (eventTrace)
            eventTrace(QStringLiteral("note:   ") + note);
    };
}

VizoSimulator::~VizoSimulator()
{
    stop();
    for (int fd : m_wake)
        if (fd >= 0)
            ::close(fd);
}

bool VizoSimulator::openPort(QString *error)
{
    auto fail = [&](const char *step) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail("unlockpt");
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_portPath = QString::fromLocal8Bit(name);

    // Raw mode on the port before any host opens it, so nothing the device
    // sends is echoed or translated. The setting outlives this descriptor.
    const int port = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (port < 0)
        return fail("open");
    termios t{};
    if (::tcgetattr(port, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetspeed(&t, B115200);
        ::tcsetattr(port, TCSANOW, &t);
    }
    ::close(port);

    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return fail("pipe2");
    return true;
}

void VizoSimulator::start()
{
    if (m_thread.joinable())
        return;
    m_thread = std::thread([this] { run(); });
}

void VizoSimulator::stop()
{
    m_stop = true;
    if (m_wake[1] >= 0) {
        const char one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &one, 1);
    }
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool VizoSimulator::waitForHost()
{
    // The master side reports a hang-up for as long as nobody has the port
    // open.
    while (!m_stop) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, 100);
        if (ready < 0 && errno != EINTR)
            return false;
        if (fds[1].revents & POLLIN)
            return false;
        if (ready == 0 || !(fds[0].revents & POLLHUP))
            return true;
        ::usleep(20000);
    }
    return false;
}

long VizoSimulator::writeAll(const void *data, std::size_t size)
{
    // The port is non-blocking: a host that stops reading must not keep
    // stop() waiting.
    const auto *bytes = static_cast<const char *>(data);
    std::size_t done = 0;
    while (done < size && !m_stop) {
        const ssize_t n = ::write(m_master, bytes + done, size - done);
        if (n > 0) {
            done += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            break;
        pollfd fds[2] = {{m_master, POLLOUT, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, 1000) < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN)
            break;
    }
    return long(done);
}

void VizoSimulator::send(const std::vector<VizoSimFrame> &frames)
{
    for (const VizoSimFrame &f : frames) {
        const QByteArray frame = VizoFrame::compose(f.payload, f.count, f.index);
        if (eventTrace)
            eventTrace(QStringLiteral("device: ") + vizoDescribeFrame(VizoDirection::DeviceToHost, frame));
        if (m_stop)
            return;
        writeAll(frame.constData(), std::size_t(frame.size()));
    }
}

void VizoSimulator::run()
{
    if (m_master < 0 && !openPort())
        return;
    if (waitForHost()) {
        m_hostConnected = true;
        BrPacketAssembler assembler{unsigned(VizoFrame::headerSize)};
        VizoStreamFramer framer(assembler);
        std::vector<VizoReceivedFrame> received;
        framer.eventFrame = [&](const VizoReceivedFrame &f) { received.push_back(f); };

        send(m_device.hello());
        char buffer[8192];
        while (!m_stop && !m_device.finished()) {
            pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            const int ready = ::poll(fds, 2, 1000);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready < 0 || (fds[1].revents & POLLIN))
                break;
            if (ready == 0)
                continue;
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0) {
                if (n < 0 && (errno == EINTR || errno == EAGAIN))
                    continue;
                break; // the host closed the port
            }
            framer.feed(reinterpret_cast<const std::uint8_t *>(buffer), std::size_t(n));
            std::vector<VizoReceivedFrame> frames;
            frames.swap(received);
            for (const VizoReceivedFrame &f : frames) {
                if (eventTrace)
                    eventTrace(QStringLiteral("host:   ") + vizoDescribeFrame(VizoDirection::HostToDevice, f.raw));
                send(m_device.handle(f.payload));
            }
        }
        // A moment for the host to read the last answers before the port
        // goes away (stop() cuts it short).
        pollfd wake{m_wake[0], POLLIN, 0};
        ::poll(&wake, 1, 200);
    }
    if (eventEnded)
        eventEnded();
}
