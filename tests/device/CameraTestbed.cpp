// GLib's headers first: they use names that Qt's keyword macros replace.
#include <umockdev.h>

#include "CameraTestbed.h"

#include <QDir>
#include <QFile>

namespace {

// umockdev answers every ioctl of an emulated node itself, and refuses what
// it does not know (TIOCEXCL among them) unless a handler takes it: this
// one runs each ioctl on the real pseudo-terminal behind the node, as the
// kernel would on the camera's port.
gboolean passThrough(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer)
{
    int error = 0;
    const int result = umockdev_ioctl_client_execute(client, &error, nullptr);
    umockdev_ioctl_client_complete(client, result, error);
    return TRUE;
}

QString take(gchar *text)
{
    const QString s = QString::fromUtf8(text);
    g_free(text);
    return s;
}

} // namespace

CameraTestbed::CameraTestbed()
{
    m_testbed = umockdev_testbed_new();
    m_root = take(umockdev_testbed_get_root_dir(m_testbed));
    QDir(m_root).mkpath(QStringLiteral("dev"));
    // Other serial ports that enumerate before the camera's: a USB adapter
    // of another vendor and a built-in port without a USB device.
    const QString adapter = take(umockdev_testbed_add_device(
        m_testbed, "usb", "0-1", nullptr, "idVendor", "0403", "idProduct", "6001", "speed", "12",
        nullptr, "DEVTYPE", "usb_device", nullptr));
    const QString adapterPort = take(umockdev_testbed_add_device(
        m_testbed, "usb", "0-1:1.0", adapter.toUtf8().constData(), nullptr, "DEVTYPE", "usb_interface", nullptr));
    g_free(umockdev_testbed_add_device(m_testbed, "tty", "ttyUSB0", adapterPort.toUtf8().constData(), nullptr,
                                       "DEVNAME", "/dev/ttyUSB0", nullptr));
    const QString pci = take(umockdev_testbed_add_device(m_testbed, "pci", "0000:00:16.3", nullptr, nullptr, nullptr));
    g_free(umockdev_testbed_add_device(m_testbed, "tty", "ttyS4", pci.toUtf8().constData(), nullptr,
                                       "DEVNAME", "/dev/ttyS4", nullptr));
    m_video = std::make_unique<CaptureNode>(m_testbed, m_root);
}

CameraTestbed::~CameraTestbed()
{
    unplug();
    m_video.reset();
    if (m_ttyIoctl)
        g_object_unref(m_ttyIoctl);
    g_object_unref(m_testbed);
}

bool CameraTestbed::plug(const Camera &camera, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (m_device)
        return fail(QStringLiteral("already plugged"));
    {
        std::lock_guard lock(m_mutex);
        m_trace.clear();
    }
    m_ended = false;
    m_device = std::make_unique<VizoSimulator>(camera.state);
    m_device->setBaud(camera.baud);
    m_device->eventTrace = [this](const QString &line) {
        std::lock_guard lock(m_mutex);
        m_trace << line;
    };
    m_device->eventEnded = [this] { m_ended = true; };
    QString why;
    if (!m_device->openPort(&why))
        return fail(why);

    const QByteArray product = camera.product.toLatin1();
    const QByteArray speed = camera.speed.toLatin1();
    m_usb = take(umockdev_testbed_add_device(m_testbed, "usb", "1-1", nullptr,
                                             "idVendor", "04b4", "idProduct", product.constData(),
                                             "speed", speed.constData(), "product", "FX3", nullptr,
                                             "DEVTYPE", "usb_device", nullptr));
    m_interface = take(umockdev_testbed_add_device(m_testbed, "usb", "1-1:1.0", m_usb.toUtf8().constData(),
                                                   "bInterfaceClass", "02", nullptr,
                                                   "DEVTYPE", "usb_interface", nullptr));
    m_tty = take(umockdev_testbed_add_device(m_testbed, "tty", "ttyACM0", m_interface.toUtf8().constData(),
                                             nullptr, "DEVNAME", "/dev/ttyACM0", nullptr));
    if (m_usb.isEmpty() || m_interface.isEmpty() || m_tty.isEmpty())
        return fail(QStringLiteral("umockdev refused a device"));
    // The node is a pseudo-terminal of its own for each plug, so that the
    // unplug can hang it up.
    const QString node = m_root + QStringLiteral("/dev/ttyACM0");
    QFile::remove(node);
    if (!QFile::link(m_device->portPath(), node))
        return fail(QStringLiteral("cannot link %1").arg(node));
    if (!m_ttyIoctl) {
        m_ttyIoctl = umockdev_ioctl_base_new();
        g_signal_connect(m_ttyIoctl, "handle-ioctl", G_CALLBACK(passThrough), nullptr);
    }
    GError *gerror = nullptr;
    if (!umockdev_testbed_attach_ioctl(m_testbed, "/dev/ttyACM0", m_ttyIoctl, &gerror)) {
        why = QString::fromUtf8(gerror ? gerror->message : "attach_ioctl");
        g_clear_error(&gerror);
        return fail(why);
    }
    m_device->start();
    // The video node first, as the kernel usually has it.
    if (camera.video && !m_video->plug(m_usb, camera.format, camera.state, error))
        return false;
    for (const QString &path : {m_usb, m_interface, m_tty})
        umockdev_testbed_uevent(m_testbed, path.toUtf8().constData(), "add");
    return true;
}

bool CameraTestbed::plugVideo(const Camera &camera, QString *error)
{
    return m_device && m_video->plug(m_usb, camera.format, camera.state, error);
}

void CameraTestbed::unplug()
{
    if (!m_device)
        return;
    m_video->unplug(); // mid-stream
    for (const QString &path : {m_tty, m_interface, m_usb})
        umockdev_testbed_uevent(m_testbed, path.toUtf8().constData(), "remove");
    umockdev_testbed_detach_ioctl(m_testbed, "/dev/ttyACM0", nullptr);
    // Children before their parent.
    for (const QString &path : {m_tty, m_interface, m_usb})
        umockdev_testbed_remove_device(m_testbed, path.toUtf8().constData());
    QFile::remove(m_root + QStringLiteral("/dev/ttyACM0"));
    m_device->stop(); // the port closes: the viewer's hang-up
    m_device.reset();
}

QStringList CameraTestbed::trace()
{
    std::lock_guard lock(m_mutex);
    return m_trace;
}

bool CameraTestbed::traced(const QString &prefix)
{
    std::lock_guard lock(m_mutex);
    for (const QString &line : m_trace)
        if (line.startsWith(prefix))
            return true;
    return false;
}
