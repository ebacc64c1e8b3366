#pragma once
// Keeps the viewer connected to its camera: at launch and after an unplug it
// connects when the camera is there, and otherwise shows the splash's
// waiting state and connects the moment the camera appears. With
// --exit-on-unplug a lost link ends the application as it always did.
//
// A lost link closes every page, browser and box first, through their own
// cancel paths; the old connection is released, and the next one waited
// for, only once their modal runs have returned. Nothing is torn down
// under a window that still runs.
//
// The host (the application delegate) makes and releases the connection's
// objects; this class decides when.
#include "CommandLine.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class AppContext;
class SplashController;
class VizoCameraWatcher;

class ConnectionKeeper : public QObject
{
    Q_OBJECT

public:
    // What the keeper asks of the application.
    class Host
    {
    public:
        virtual ~Host() = default;
        virtual const CommandLineOptions &options() const = 0;
        // Opens the current connection's link; false when that failed (its
        // box has been shown and the application is ending).
        virtual bool setupVizoProtocolChannel() = 0;
        virtual void announceLinkSpeed() = 0;
        virtual void failFatally(const QString &message) = 0;
        // Closes every page, browser, box and the menu (not the start-up
        // splash), each through its cancel path.
        virtual void closeOpenWindows() = 0;
        // Releases the current connection and sets up a fresh model.
        virtual void closeConnection() = 0;
        // The splash, modally, until start-up completes (`waiting`: first
        // for the camera to appear).
        virtual void runSplash(bool waiting) = 0;
        // The splash on screen, or nullptr.
        virtual SplashController *currentSplash() const = 0;
    };

    ConnectionKeeper(AppContext &context, Host &host);
    ~ConnectionKeeper() override;

    // The port to wait for: the --port path, or empty for the USB camera.
    // The virtual device of --simulate is always there.
    bool cameraPresent() const;

    // Opens the link and announces it; false when that failed.
    bool connect();

    // Shows the waiting state on `splash` and connects once the camera
    // appears. Says on standard error what is being waited for.
    void waitForCamera(SplashController *splash);
    void stopWaiting();
    bool isWaiting() const;

    // The link was lost after it had been up (read error, hang-up, the
    // device saying it leaves). `linkUsable`: the link still carries what
    // the closing windows send (the device said it leaves); otherwise it is
    // dropped. Then the box with `message`, and waiting for the camera
    // again, or the end with --exit-on-unplug.
    void linkLost(const QString &message, bool linkUsable);
    bool isHandlingLoss() const { return m_handlingLoss; }

    // How long to let udev settle between the port appearing and opening it.
    void setSettleDelay(int ms) { m_settleDelayMs = ms; }

private:
    void onAppeared();
    // Runs `step` once no modal run is left on the call stack but the
    // start-up splash's.
    void whenUnwound(std::function<void()> step);
    void finishLoss(const QString &message);

    AppContext &m_context;
    Host &m_host;
    std::unique_ptr<VizoCameraWatcher> m_watcher;
    QPointer<SplashController> m_splash;
    bool m_handlingLoss = false;
    int m_settleDelayMs = 300;
};
