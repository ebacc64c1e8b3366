#pragma once
// Tells, on the main thread, that a video device has appeared: a libudev
// monitor on the video4linux subsystem. The camera's serial port and its
// video node are announced separately, in either order and sometimes well
// apart; a picture set up before its node existed waits for this.
#include <QObject>

#include <memory>

class QSocketNotifier;
struct udev;
struct udev_monitor;

class VideoNodeWatcher : public QObject
{
    Q_OBJECT

public:
    explicit VideoNodeWatcher(QObject *parent = nullptr);
    ~VideoNodeWatcher() override;

    // False when udev cannot be watched here (no netlink socket, e.g. in
    // some containers): then nothing is announced.
    bool start();
    void stop();
    bool isWatching() const { return m_monitor != nullptr; }

signals:
    void added();

private:
    void onEvent();

    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
