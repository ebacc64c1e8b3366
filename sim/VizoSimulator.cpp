#include "sim/VizoSimulator.h"

#include "link/VizoStreamFramer.h"
#include "protocol/VizoFrame.h"
#include "protocol/VizoFrameDecoder.h"
#include "sim/VizoSimControl.h"

#include <bramble/BrPacketAssembler.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

VizoSimulator::VizoSimulator(VizoSimState initial) : m_device(std::move(initial))
{
    m_device.eventNote = [this](const QString &note) { trace(QStringLiteral("note:   ") + note); };
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
        closePort();
        return false;
    };
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master < 0)
        return fail("posix_openpt");
    m_master = master;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return fail("unlockpt");
    const char *name = ::ptsname(master);
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

void VizoSimulator::requestStop()
{
    {
        std::lock_guard lock(m_outMutex);
        m_stop = true;
    }
    m_outChanged.notify_all();
    if (m_wake[1] >= 0) {
        const char one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &one, 1);
    }
}

void VizoSimulator::stop()
{
    requestStop();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
    closePort();
}

void VizoSimulator::closePort()
{
    const int master = m_master.exchange(-1);
    if (master >= 0)
        ::close(master);
}

void VizoSimulator::trace(const QString &line)
{
    std::lock_guard lock(m_traceMutex);
    if (eventTrace)
        eventTrace(line);
}

QString VizoSimulator::control(const QString &line)
{
    const VizoSimControlResult result = vizoSimControl(m_device, line);
    if (!result.ok)
        return result.reply;
    trace(QStringLiteral("control: ") + line.simplified());
    if (result.unplug) {
        m_unplugged = true;
        requestStop();
        return result.reply;
    }
    if (result.frames.empty())
        return result.reply;
    {
        std::lock_guard lock(m_outMutex);
        if (!m_sendLoopRunning)
            return result.reply + QStringLiteral(" (no host: nothing sent)");
    }
    queue(result.frames);
    return result.reply;
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

VizoSimulator::Clock::duration VizoSimulator::wireTime(std::size_t bytes) const
{
    // A start bit, eight data bits (seven and parity on the real link) and a
    // stop bit per byte.
    if (m_baud <= 0)
        return {};
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(double(bytes) * 10.0 / double(m_baud)));
}

bool VizoSimulator::pause(Clock::time_point until)
{
    std::unique_lock lock(m_outMutex);
    return !m_outChanged.wait_until(lock, until, [this] { return m_stop.load(); });
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

void VizoSimulator::queue(const std::vector<VizoSimFrame> &frames)
{
    if (frames.empty())
        return;
    {
        std::lock_guard lock(m_outMutex);
        for (const VizoSimFrame &f : frames)
            m_out.push_back(VizoFrame::compose(f.payload, f.count, f.index));
    }
    m_outChanged.notify_all();
}

void VizoSimulator::sendLoop()
{
    // Pieces of about 10 ms of wire time, so that the host sees a steady
    // trickle rather than bursts.
    const std::size_t piece = m_baud > 0 ? std::size_t(std::max(1, m_baud / 1000)) : 0;
    Clock::time_point lineFree = Clock::now();
    for (;;) {
        QByteArray frame;
        {
            std::unique_lock lock(m_outMutex);
            m_outChanged.wait(lock, [this] { return m_stop || !m_out.empty(); });
            if (m_stop)
                return;
            frame = m_out.front();
            m_out.pop_front();
            m_sending = true;
        }
        trace(QStringLiteral("device: ") + vizoDescribeFrame(VizoDirection::DeviceToHost, frame));
        if (piece == 0) {
            writeAll(frame.constData(), std::size_t(frame.size()));
        } else {
            for (qsizetype at = 0; at < frame.size() && !m_stop; at += qsizetype(piece)) {
                const std::size_t n = std::min(piece, std::size_t(frame.size() - at));
                lineFree = std::max(lineFree, Clock::now()) + wireTime(n);
                // A byte reaches the host once it has crossed the wire.
                if (!pause(lineFree))
                    return;
                writeAll(frame.constData() + at, n);
            }
        }
        {
            std::lock_guard lock(m_outMutex);
            m_sending = false;
        }
        m_outChanged.notify_all();
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

        {
            std::lock_guard lock(m_outMutex);
            m_sendLoopRunning = true;
        }
        std::thread sender([this] { sendLoop(); });
        queue(m_device.hello());
        Clock::time_point lineFree = Clock::now();
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
            // With a wire time, no more than a moment's worth is taken at a
            // time: the rest waits in the terminal, and the host's writes
            // back up as on a real line.
            const std::size_t want = m_baud > 0 ? std::size_t(std::max(1, m_baud / 1000)) : sizeof buffer;
            const ssize_t n = ::read(m_master, buffer, std::min(want, sizeof buffer));
            if (n <= 0) {
                if (n < 0 && (errno == EINTR || errno == EAGAIN))
                    continue;
                break; // the host closed the port
            }
            if (m_baud > 0) {
                lineFree = std::max(lineFree, Clock::now()) + wireTime(std::size_t(n));
                if (!pause(lineFree))
                    break;
            }
            framer.feed(reinterpret_cast<const std::uint8_t *>(buffer), std::size_t(n));
            std::vector<VizoReceivedFrame> frames;
            frames.swap(received);
            for (const VizoReceivedFrame &f : frames) {
                trace(QStringLiteral("host:   ") + vizoDescribeFrame(VizoDirection::HostToDevice, f.raw));
                queue(m_device.handle(f.payload));
            }
        }
        {
            // After HostClosing the last answers still go out before the port
            // goes away (stop() and unplug cut this short); a host that
            // closed the port reads nothing more.
            std::unique_lock lock(m_outMutex);
            if (m_device.finished())
                m_outChanged.wait_for(lock, std::chrono::seconds(5),
                                      [this] { return m_stop || (m_out.empty() && !m_sending); });
            m_sendLoopRunning = false;
        }
        pollfd wake{m_wake[0], POLLIN, 0};
        if (!m_stop && m_device.finished())
            ::poll(&wake, 1, 200);
        requestStop();
        sender.join();
        {
            std::lock_guard lock(m_outMutex);
            m_out.clear();
        }
    }
    // An unplugged device's port closes at once, so that the host sees the
    // hang-up of a pulled cable.
    if (m_unplugged)
        closePort();
    if (eventEnded)
        eventEnded();
}
