#include "link/VizoUdevMonitor.h"

#include <QSocketNotifier>

#include <cstring>

#include <libudev.h>

VizoUdevMonitor::VizoUdevMonitor(const char *subsystem, QObject *parent)
    : QObject(parent), m_subsystem(subsystem)
{
}

VizoUdevMonitor::~VizoUdevMonitor()
{
    stop();
}

bool VizoUdevMonitor::start()
{
    if (m_monitor)
        return true;
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, m_subsystem, nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        stop();
        return false;
    }
    m_notifier = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(m_monitor),
                                                   QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &VizoUdevMonitor::onReadable);
    return true;
}

void VizoUdevMonitor::stop()
{
    m_notifier.reset();
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    m_monitor = nullptr;
    if (m_udev)
        udev_unref(m_udev);
    m_udev = nullptr;
}

void VizoUdevMonitor::onReadable()
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
    emit changed(added);
}
