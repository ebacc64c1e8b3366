#include "ConnectionKeeper.h"

#include "connection/VizoConnection.h"
#include "kit/AppContext.h"
#include "kit/SplashController.h"
#include "link/VizoCameraWatcher.h"

#include <QTimer>

#include <cstdio>

namespace {
// How often a pending teardown looks whether the windows have unwound.
constexpr int kUnwindPollMs = 20;
} // namespace

ConnectionKeeper::ConnectionKeeper(AppContext &context, Host &host) : m_context(context), m_host(host) {}

ConnectionKeeper::~ConnectionKeeper() = default;

bool ConnectionKeeper::cameraPresent() const
{
    return m_host.options().simulate || VizoCameraWatcher::isPresent(m_host.options().port);
}

bool ConnectionKeeper::connect()
{
    if (!m_host.setupVizoProtocolChannel())
        return false;
    m_host.announceLinkSpeed();
    return true;
}

bool ConnectionKeeper::isWaiting() const
{
    return m_watcher && m_watcher->isWatching();
}

void ConnectionKeeper::waitForCamera(SplashController *splash)
{
    const QString port = m_host.options().port;
    m_splash = splash;
    if (splash)
        splash->setWaiting(true, port.isEmpty() ? QString() : QStringLiteral("Port: %1").arg(port));
    std::fprintf(stderr, "vizo-viewer: waiting for %s: plug it in and switch it on.\n",
                 qPrintable(VizoCameraWatcher::awaitedThing(port)));
    std::fflush(stderr);
    m_watcher = std::make_unique<VizoCameraWatcher>(port);
    QObject::connect(m_watcher.get(), &VizoCameraWatcher::appeared, this, &ConnectionKeeper::onAppeared);
    m_watcher->start();
}

void ConnectionKeeper::stopWaiting()
{
    if (m_watcher)
        m_watcher->stop();
}

void ConnectionKeeper::onAppeared()
{
    // udev announces the port before its permissions may be final.
    QTimer::singleShot(m_settleDelayMs, this, [this] {
        if (m_context.isTerminating())
            return;
        if (!cameraPresent()) {
            // Gone again in the meantime: go on waiting.
            m_watcher->start();
            return;
        }
        std::fprintf(stderr, "vizo-viewer: the camera is there; connecting.\n");
        std::fflush(stderr);
        if (m_splash)
            m_splash->setWaiting(false);
        connect();
    });
}

void ConnectionKeeper::linkLost(const QString &message, bool linkUsable)
{
    if (m_host.options().exitOnUnplug) {
        m_host.failFatally(message);
        return;
    }
    // A device that says it leaves and then closes its port is one loss.
    if (m_handlingLoss || m_context.isTerminating())
        return;
    m_handlingLoss = true;
    VizoConnection *lost = m_context.connection();
    if (lost && !linkUsable)
        lost->markLost();
    // Pages cancel, browsers close, boxes answer No: their modal runs
    // return once this call has returned.
    m_host.closeOpenWindows();
    if (lost)
        lost->markLost();
    whenUnwound([this, message] { finishLoss(message); });
}

void ConnectionKeeper::whenUnwound(std::function<void()> step)
{
    if (m_context.isTerminating()) {
        m_handlingLoss = false;
        return;
    }
    SplashController *splash = m_host.currentSplash();
    const int splashRuns = splash && splash->isRunningModal() ? 1 : 0;
    if (ModalWindowController::runningModalCount() <= splashRuns) {
        step();
        return;
    }
    // A window closed by the loss returns from its run when the event that
    // closed it has been handled; one opened since (a box of a report that
    // was already queued) is closed too. Look again shortly.
    m_host.closeOpenWindows();
    QTimer::singleShot(kUnwindPollMs, this, [this, step = std::move(step)]() mutable { whenUnwound(std::move(step)); });
}

void ConnectionKeeper::finishLoss(const QString &message)
{
    m_context.showMessageBox(message);
    if (m_context.isTerminating()) {
        m_handlingLoss = false;
        return;
    }
    m_host.closeConnection();
    m_handlingLoss = false;
    if (SplashController *splash = m_host.currentSplash()) {
        // Lost during start-up: the splash already up waits.
        if (cameraPresent())
            connect();
        else
            waitForCamera(splash);
        return;
    }
    if (!cameraPresent()) {
        m_host.runSplash(true);
        return;
    }
    if (connect())
        m_host.runSplash(false);
}
