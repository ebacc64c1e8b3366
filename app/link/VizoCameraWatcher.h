#pragma once
// Waiting for the camera: tells once, on the main thread, that the camera's
// serial port has appeared.
//
// Without a port path the camera is the tty whose USB device is a Vizo's
// (vendor 04b4, product f8f8 or f9f9): a libudev monitor on the tty
// subsystem reports it when it is plugged in or switched on. With a port
// path (--port) the path itself is awaited: pseudo-terminals and the
// symlinks people make to them are not announced by udev, so the path's
// folder is watched too, and a slow poll covers a folder that does not
// exist yet.
#include "link/VizoUdevMonitor.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class VizoCameraWatcher : public QObject
{
    Q_OBJECT

public:
    explicit VizoCameraWatcher(const QString &portPath = {}, QObject *parent = nullptr);
    ~VizoCameraWatcher() override;

    // Whether the camera's port is there now.
    static bool isPresent(const QString &portPath);
    // What is being waited for, in words: "the camera (USB 04b4:f8f8 or
    // 04b4:f9f9)" or "the port /dev/ttyACM0".
    static QString awaitedThing(const QString &portPath);

    // Starts watching; appeared() follows once the port is there (at once,
    // posted, when it already is). Stops by itself after that.
    void start();
    void stop();
    bool isWatching() const { return m_watching; }

    // The interval of the fallback poll (ms).
    void setPollInterval(int ms) { m_poll.setInterval(ms); }

signals:
    void appeared();

private:
    void check();
    void watchFolder();

    QString m_portPath;
    bool m_watching = false;
    VizoUdevMonitor m_ttys{"tty"};
    std::unique_ptr<QFileSystemWatcher> m_folderWatcher;
    QTimer m_poll;
};
