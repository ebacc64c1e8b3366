#pragma once
// Keeps the viewer connected to its camera: at launch and after an unplug it
// connects when the camera is there, and otherwise shows the splash's
// waiting state and connects the moment the camera appears. With
// --exit-on-unplug a lost link ends the application as it always did.
//
// The delegate owns the connection's objects and tears them down
// (AppDelegate::closeConnection); this class only decides when.
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class AppDelegate;
class SplashController;
class VizoCameraWatcher;

class ConnectionKeeper : public QObject
{
    Q_OBJECT

public:
    explicit ConnectionKeeper(AppDelegate &app);
    ~ConnectionKeeper() override;

    // The port to wait for: the --port path, or empty for the USB camera.
    // The virtual device of --simulate is always there.
    bool cameraPresent() const;

    // Opens the link and announces it; false when that failed (its box has
    // been shown and the application is ending).
    bool connect();

    // Shows the waiting state on `splash` and connects once the camera
    // appears. Says on standard error what is being waited for.
    void waitForCamera(SplashController *splash);
    void stopWaiting();
    bool isWaiting() const;

    // The link was lost after it had been up (read error, hang-up, the
    // device saying it leaves): the box with `message`, then waiting for
    // the camera again, or the end with --exit-on-unplug.
    void linkLost(const QString &message);

    // How long to let udev settle between the port appearing and opening it.
    void setSettleDelay(int ms) { m_settleDelayMs = ms; }

private:
    void onAppeared();

    AppDelegate &m_app;
    std::unique_ptr<VizoCameraWatcher> m_watcher;
    QPointer<SplashController> m_splash;
    bool m_handlingLoss = false;
    int m_settleDelayMs = 300;
};
