#include "link/VizoTtyPort.h"

#include "link/VizoLinkLog.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

struct VizoTtyPort::Saved
{
    termios attributes;
};

namespace {

constexpr int readTimeoutMs = 1000; // as VTIME 10
constexpr int modemLines = TIOCM_DTR | TIOCM_RTS | TIOCM_CTS | TIOCM_DSR; // 0x126

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// "Error ... %s - %s(%d).\n" with the path, the error text and number.
QString stepFailure(const char *format, const QString &path, int error)
{
    return QString::asprintf(format, qPrintable(path), qPrintable(errorText(error)), error);
}

// A step without which the port cannot be used.
void printStepFailure(const char *format, const QString &path, int error)
{
    vizoLinkWarning(stepFailure(format, path, error));
}

// A step the link works without. Ports that do not know the request at all
// (pseudo-terminals: ENOTTY) are expected; anything else is worth a warning.
void printOptionalStepFailure(const char *format, const QString &path, int error)
{
    if (error == ENOTTY)
        vizoLinkDebug(stepFailure(format, path, error));
    else
        vizoLinkWarning(stepFailure(format, path, error));
}

long baudOf(speed_t speed)
{
    switch (speed) {
    case B0: return 0;
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    case B460800: return 460800;
    case B921600: return 921600;
    default: return long(speed);
    }
}

void printSpeeds(const char *when, const termios &t)
{
    vizoLinkDebug(QStringLiteral("%1 input baud rate is %2").arg(QLatin1String(when)).arg(baudOf(cfgetispeed(&t))));
    vizoLinkDebug(QStringLiteral("%1 output baud rate is %2").arg(QLatin1String(when)).arg(baudOf(cfgetospeed(&t))));
}

} // namespace

std::unique_ptr<VizoTtyPort> VizoTtyPort::open(const QString &path)
{
    vizoLinkDebug(QStringLiteral("openSerialPort: %1 ").arg(path));
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        printStepFailure("Error opening serial port %s - %s(%d).\n", path, errno);
        return nullptr;
    }
    auto fail = [&](const char *format) {
        printStepFailure(format, path, errno);
        ::close(fd);
        return nullptr;
    };

    // Exclusive access. TIOCEXCL does not stop a process running as root,
    // the advisory lock stops a second viewer whoever runs it.
    if (::ioctl(fd, TIOCEXCL) == -1)
        return fail("Error setting TIOCEXCL on %s - %s(%d).\n");
    if (::flock(fd, LOCK_EX | LOCK_NB) == -1)
        return fail("Error setting TIOCEXCL on %s - %s(%d).\n");
    // Reads block from here on (up to VTIME).
    if (::fcntl(fd, F_SETFL, 0) == -1)
        return fail("Error clearing O_NONBLOCK %s - %s(%d).\n");

    auto saved = std::make_unique<Saved>();
    if (::tcgetattr(fd, &saved->attributes) == -1)
        return fail("Error getting tty attributes %s - %s(%d).\n");
    termios options = saved->attributes;
    printSpeeds("Current", options);
    ::cfmakeraw(&options);
    options.c_cc[VMIN] = 0;
    options.c_cc[VTIME] = 10;
    ::cfsetspeed(&options, B115200);
    // CS7 on top of raw mode's CS8 leaves CS8 in place. CREAD keeps the
    // receiver on whatever state the driver started in.
    options.c_cflag |= CS7 | PARENB | CRTSCTS | CREAD;
    printSpeeds("New", options);
    if (::tcsetattr(fd, TCSANOW, &options) == -1)
        return fail("Error setting tty attributes %s - %s(%d).\n");

    // Modem lines: pseudo-terminals and some drivers refuse these; the link
    // works without them.
    const int dtr = TIOCM_DTR;
    if (::ioctl(fd, TIOCMBIS, &dtr) == -1)
        printOptionalStepFailure("Error asserting DTR %s - %s(%d).\n", path, errno);
    if (::ioctl(fd, TIOCMBIC, &dtr) == -1)
        printOptionalStepFailure("Error clearing DTR %s - %s(%d).\n", path, errno);
    int lines = modemLines;
    if (::ioctl(fd, TIOCMSET, &lines) == -1)
        printOptionalStepFailure("Error setting handshake lines %s - %s(%d).\n", path, errno);
    if (::ioctl(fd, TIOCMGET, &lines) == -1)
        printOptionalStepFailure("Error getting handshake lines %s - %s(%d).\n", path, errno);
    else
        vizoLinkDebug(QString::asprintf("Handshake lines currently set to %d\n", lines));

    // The nearest Linux has to a read latency of one microsecond.
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == -1) {
        printOptionalStepFailure("Error setting read latency %s - %s(%d).\n", path, errno);
    } else {
        serial.flags |= ASYNC_LOW_LATENCY;
        if (::ioctl(fd, TIOCSSERIAL, &serial) == -1)
            printOptionalStepFailure("Error setting read latency %s - %s(%d).\n", path, errno);
    }

    return std::unique_ptr<VizoTtyPort>(new VizoTtyPort(path, fd, std::move(saved)));
}

VizoTtyPort::VizoTtyPort(const QString &path, int fd, std::unique_ptr<Saved> saved)
    : m_path(path), m_fd(fd), m_saved(std::move(saved))
{
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) == -1) {
        qCWarning(lcVizoLink) << "no wake-up pipe:" << errorText(errno);
        m_wake[0] = m_wake[1] = -1;
    }
}

VizoTtyPort::~VizoTtyPort()
{
    close();
    for (int fd : m_wake)
        if (fd >= 0)
            ::close(fd);
}

void VizoTtyPort::close()
{
    if (m_fd < 0)
        return;
    // EIO: the other end is gone (device unplugged, virtual device
    // stopped), which is how a link usually ends.
    const auto report = [](const char *format) {
        const int error = errno;
        const QString line = QString::asprintf(format, qPrintable(errorText(error)), error);
        if (error == EIO)
            vizoLinkDebug(line);
        else
            vizoLinkWarning(line);
    };
    if (::tcdrain(m_fd) == -1)
        report("Error waiting for drain - %s(%d).\n");
    if (::tcsetattr(m_fd, TCSANOW, &m_saved->attributes) == -1)
        report("Error resetting tty attributes - %s(%d).\n");
    // Leave the port openable for whoever comes next.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

long VizoTtyPort::read(void *buffer, std::size_t capacity)
{
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    const int ready = ::poll(fds, m_wake[0] >= 0 ? 2 : 1, readTimeoutMs);
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return 0;
    if (ready < 0)
        return -1;
    if (m_wake[0] >= 0 && (fds[1].revents & POLLIN)) {
        char drain[16];
        while (::read(m_wake[0], drain, sizeof drain) > 0) {
        }
        return 0;
    }
    if (fds[0].revents & POLLNVAL)
        return -1;
    const ssize_t n = ::read(m_fd, buffer, capacity);
    if (n > 0)
        return long(n);
    if (n < 0)
        return (errno == EINTR || errno == EAGAIN) ? 0 : -1;
    // A read of 0 is a VTIME timeout, unless the other side hung up: then
    // every read returns 0 at once, for ever.
    return (fds[0].revents & (POLLHUP | POLLERR)) ? -1 : 0;
}

long VizoTtyPort::write(const void *data, std::size_t size)
{
    const auto *bytes = static_cast<const char *>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            qCDebug(lcVizoLink) << "write failed:" << errorText(errno);
            break;
        }
        done += std::size_t(n);
    }
    return long(done);
}

void VizoTtyPort::interrupt()
{
    if (m_wake[1] >= 0) {
        const char one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &one, 1);
    }
}
