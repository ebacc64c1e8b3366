#pragma once
// A libudev monitor on one subsystem, read on the main thread: tells that
// devices of that subsystem came or went.
#include <QObject>

#include <memory>

class QSocketNotifier;
struct udev;
struct udev_monitor;

class VizoUdevMonitor : public QObject
{
    Q_OBJECT

public:
    explicit VizoUdevMonitor(const char *subsystem, QObject *parent = nullptr);
    ~VizoUdevMonitor() override;

    // False when udev cannot be watched here (no netlink socket, e.g. in
    // some containers): then nothing is told.
    bool start();
    void stop();
    bool isRunning() const { return m_monitor != nullptr; }

signals:
    // Once for the events queued at the time; `added` when one of them
    // added a device.
    void changed(bool added);

private:
    void onReadable();

    const char *m_subsystem;
    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
