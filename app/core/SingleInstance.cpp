#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <cstdio>

namespace {
const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n";
constexpr int kRetryMs = 50;
} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent) {}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::runtimeFolder()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    return dir;
}

QString SingleInstance::lockPath()
{
    return QDir(runtimeFolder()).filePath(QStringLiteral("vizo-viewer.lock"));
}

QString SingleInstance::socketPath()
{
    return QDir(runtimeFolder()).filePath(QStringLiteral("vizo-viewer.socket"));
}

bool SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(lockPath());
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
    // The lock is ours, so a socket left there is a dead copy's.
    QLocalServer::removeServer(socketPath());
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath())) {
        // Raising is a convenience; the lock alone keeps copies apart.
        m_server.reset();
        return true;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (!peer->canReadLine())
                    return;
                if (peer->readLine() == kRaise) {
                    if (eventRaise)
                        eventRaise();
                    peer->write(kRaised);
                    peer->flush();
                }
                peer->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::raiseRunningCopy(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The first copy takes the lock a moment before it listens, so a copy
    // started right after it may find no socket yet: try again until the
    // deadline rather than report a running copy as silent.
    for (;;) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        const auto error = socket.error();
        const bool notListeningYet = error == QLocalSocket::ServerNotFoundError
                                     || error == QLocalSocket::ConnectionRefusedError;
        if (!notListeningYet || deadline.remainingTime() < kRetryMs)
            return false;
        socket.abort();
        QThread::msleep(kRetryMs);
    }
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine() == kRaised;
}

std::unique_ptr<SingleInstance> SingleInstance::claimOrRaise(int *exitCode)
{
    auto claimed = std::make_unique<SingleInstance>();
    if (claimed->claim())
        return claimed;
    claimed.reset();
    const bool raised = SingleInstance().raiseRunningCopy();
    std::fprintf(stderr, raised ? "vizo-viewer: another copy is already running; its window was raised.\n"
                                : "vizo-viewer: another copy is already running.\n");
    *exitCode = raised ? 0 : 1;
    return nullptr;
}
