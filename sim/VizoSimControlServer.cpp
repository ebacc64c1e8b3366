#include "sim/VizoSimControlServer.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A line longer than this is not a command: the client is dropped.
constexpr qsizetype maxLine = 4096;

void writeLine(int fd, const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + done, std::size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

} // namespace

VizoSimControlServer::VizoSimControlServer(std::function<QString(const QString &)> handler)
    : m_handler(std::move(handler))
{
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wake[0] = m_wake[1] = -1;
}

VizoSimControlServer::~VizoSimControlServer()
{
    stop();
    for (int fd : m_wake)
        if (fd >= 0)
            ::close(fd);
}

bool VizoSimControlServer::listen(const QString &path, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        if (m_listen >= 0)
            ::close(m_listen);
        m_listen = -1;
        return false;
    };
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || std::size_t(name.size()) >= sizeof address.sun_path)
        return fail(QStringLiteral("socket path is empty or longer than %1 bytes").arg(sizeof address.sun_path - 1));
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    m_listen = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listen < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    ::unlink(name.constData());
    if (::bind(m_listen, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listen, 4) != 0)
        return fail(QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    m_path = path;
    return true;
}

void VizoSimControlServer::start()
{
    if (!m_thread.joinable() && (m_listen >= 0 || m_input >= 0))
        m_thread = std::thread([this] { run(); });
}

void VizoSimControlServer::stop()
{
    if (m_wake[1] >= 0) {
        const char one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &one, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
    if (m_listen >= 0) {
        ::close(m_listen);
        m_listen = -1;
        ::unlink(QFile::encodeName(m_path).constData());
    }
}

void VizoSimControlServer::run()
{
    std::map<int, QByteArray> clients; // socket -> the start of its next line
    QByteArray inputPending;
    int input = m_input;
    for (;;) {
        std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}};
        if (m_listen >= 0)
            fds.push_back({m_listen, POLLIN, 0});
        if (input >= 0)
            fds.push_back({input, POLLIN, 0});
        for (const auto &client : clients)
            fds.push_back({client.first, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents)
            break;
        for (std::size_t i = 1; i < fds.size(); ++i) {
            const pollfd &p = fds[i];
            if (!p.revents)
                continue;
            if (p.fd == m_listen) {
                const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
                if (client >= 0)
                    clients.emplace(client, QByteArray());
                continue;
            }
            const bool socket = p.fd != input;
            QByteArray &pending = socket ? clients[p.fd] : inputPending;
            char buffer[1024];
            const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n > 0) {
                pending.append(buffer, n);
                serveLines(p.fd, pending, socket);
            }
            if (n <= 0 || pending.size() > maxLine) {
                if (socket) {
                    ::close(p.fd);
                    clients.erase(p.fd);
                } else {
                    input = -1; // the input ended; the socket still serves
                }
            }
        }
    }
    for (const auto &client : clients)
        ::close(client.first);
}

void VizoSimControlServer::serveLines(int fd, QByteArray &pending, bool socket)
{
    for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
        const QString line = QString::fromUtf8(pending.left(end)).trimmed();
        pending.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        const QString reply = m_handler(line);
        if (socket)
            writeLine(fd, reply);
        else if (eventReply)
            eventReply(reply);
    }
}
