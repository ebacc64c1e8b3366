#include "ConnectionKeeper.h"

#include "AppDelegate.h"
#include "SplashController.h"

#include "link/VizoCameraWatcher.h"

#include <QTimer>

#include <cstdio>

ConnectionKeeper::ConnectionKeeper(AppDelegate &app) : m_app(app) {}

ConnectionKeeper::~ConnectionKeeper() = default;

bool ConnectionKeeper::cameraPresent() const
{
    return m_app.options().simulate || VizoCameraWatcher::isPresent(m_app.options().port);
}

bool ConnectionKeeper::connect()
{
    if (!m_app.setupVizoProtocolChannel())
        return false;
    m_app.announceLinkSpeed();
    return true;
}

bool ConnectionKeeper::isWaiting() const
{
    return m_watcher && m_watcher->isWatching();
}

void ConnectionKeeper::waitForCamera(SplashController *splash)
{
    const QString port = m_app.options().port;
    m_splash = splash;
    if (splash)
        splash->setWaiting(true, port.isEmpty() ? QString() : QStringLiteral("Port: %1").arg(port));
    std::fprintf(stderr, "vizo-viewer: waiting for %s: plug it in and switch it on.\n",
                 qPrintable(VizoCameraWatcher::awaitedThing(port)));
    std::fflush(stderr);
    m_watcher = std::make_unique<VizoCameraWatcher>(port);
    QObject::connect(m_watcher.get(), &VizoCameraWatcher::appeared, this,
                     &ConnectionKeeper::onAppeared);
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
        if (m_app.isTerminating())
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

void ConnectionKeeper::linkLost(const QString &message)
{
    if (m_app.options().exitOnUnplug) {
        m_app.failFatally(message);
        return;
    }
    // A device that says it leaves and then closes its port is one loss.
    if (m_handlingLoss || m_app.isTerminating())
        return;
    m_handlingLoss = true;
    AppDelegate::showMessageBox(message);
    if (m_app.isTerminating()) {
        m_handlingLoss = false;
        return;
    }
    m_app.closeConnection();
    m_handlingLoss = false;
    if (SplashController *splash = AppDelegate::splash()) {
        // Lost during start-up: the splash already up waits.
        if (cameraPresent())
            connect();
        else
            waitForCamera(splash);
        return;
    }
    if (!cameraPresent()) {
        m_app.runSplash(true);
        return;
    }
    if (connect())
        m_app.runSplash(false);
}
