#include "VideoNodeWatcher.h"

#include <QSocketNotifier>

#include <cstring>

#include <libudev.h>

VideoNodeWatcher::VideoNodeWatcher(QObject *parent) : QObject(parent) {}

VideoNodeWatcher::~VideoNodeWatcher()
{
    stop();
}

bool VideoNodeWatcher::start()
{
    if (m_monitor)
        return true;
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "video4linux", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        stop();
        return false;
    }
    m_notifier = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(m_monitor),
                                                   QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &VideoNodeWatcher::onEvent);
    return true;
}

void VideoNodeWatcher::stop()
{
    m_notifier.reset();
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    m_monitor = nullptr;
    if (m_udev)
        udev_unref(m_udev);
    m_udev = nullptr;
}

void VideoNodeWatcher::onEvent()
{
    bool added = false;
    while (m_monitor) {
        udev_device *device = udev_monitor_receive_device(m_monitor);
        if (!device)
            break;
        const char *action = udev_device_get_action(device);
        added = added || (action && std::strcmp(action, "add") == 0);
        udev_device_unref(device);
    }
    if (added)
        emit this->added();
}
