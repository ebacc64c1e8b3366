#include "link/VizoCameraWatcher.h"

#include "link/VizoPortDiscovery.h"

#include <QDir>
#include <QFileInfo>

VizoCameraWatcher::VizoCameraWatcher(const QString &portPath, QObject *parent)
    : QObject(parent), m_portPath(portPath)
{
    m_poll.setInterval(1000);
    connect(&m_poll, &QTimer::timeout, this, &VizoCameraWatcher::check);
    // The port itself is looked up afresh on any event.
    connect(&m_ttys, &VizoUdevMonitor::changed, this, &VizoCameraWatcher::check);
}

VizoCameraWatcher::~VizoCameraWatcher()
{
    stop();
}

bool VizoCameraWatcher::isPresent(const QString &portPath)
{
    if (!portPath.isEmpty())
        return QFileInfo::exists(portPath);
    return vizoFindCameraPort().has_value();
}

QString VizoCameraWatcher::awaitedThing(const QString &portPath)
{
    if (!portPath.isEmpty())
        return QStringLiteral("the port %1").arg(portPath);
    return QStringLiteral("the camera (USB 04b4:f8f8 or 04b4:f9f9)");
}

void VizoCameraWatcher::start()
{
    if (m_watching)
        return;
    m_watching = true;
    // udev announces real serial ports, with or without a path given.
    m_ttys.start();
    if (!m_portPath.isEmpty())
        watchFolder();
    // Covers a missing udev monitor, a folder made later, and the moment
    // between the first look and the watch being in place.
    m_poll.start();
    QMetaObject::invokeMethod(this, &VizoCameraWatcher::check, Qt::QueuedConnection);
}

void VizoCameraWatcher::stop()
{
    m_watching = false;
    m_poll.stop();
    m_folderWatcher.reset();
    m_ttys.stop();
}

void VizoCameraWatcher::watchFolder()
{
    const QString folder = QFileInfo(m_portPath).absolutePath();
    if (m_folderWatcher || !QFileInfo(folder).isDir())
        return;
    m_folderWatcher = std::make_unique<QFileSystemWatcher>(QStringList{folder});
    connect(m_folderWatcher.get(), &QFileSystemWatcher::directoryChanged, this,
            &VizoCameraWatcher::check);
}

void VizoCameraWatcher::check()
{
    if (!m_watching)
        return;
    if (!m_portPath.isEmpty())
        watchFolder();
    if (!isPresent(m_portPath))
        return;
    stop();
    emit appeared();
}
