#include "link/VizoPortDiscovery.h"

#include "link/VizoLinkLog.h"

#include <QFile>

#include <libudev.h>
#include <sys/stat.h>

namespace {

const char noModemMessage[] = "No modem is founded.\nApplication will be terminated.";
const char noPathMessage[] = "Could not get path for modem.\nApplication will be terminated.";
const char emptyPathMessage[] = "No modem port found %s.\nApplication will be terminated.";

// The USB device above a tty, if any; owned by `tty`.
udev_device *usbParent(udev_device *tty)
{
    return udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
}

// The USB device above a tty, when it is a Vizo; owned by `tty`.
udev_device *vizoUsbParent(udev_device *tty)
{
    udev_device *usb = usbParent(tty);
    if (!usb)
        return nullptr;
    const char *vendor = udev_device_get_sysattr_value(usb, "idVendor");
    const char *product = udev_device_get_sysattr_value(usb, "idProduct");
    if (!vendor || !product || !vizoIsDeviceId(vendor, product))
        return nullptr;
    return usb;
}

int speedOf(udev_device *usb)
{
    const char *speed = udev_device_get_sysattr_value(usb, "speed");
    return speed ? vizoUsbSpeedCode(speed) : -1;
}

} // namespace

bool vizoIsDeviceId(const QByteArray &vendor, const QByteArray &product)
{
    const QByteArray p = product.trimmed().toLower();
    return vendor.trimmed().toLower() == "04b4" && (p == "f8f8" || p == "f9f9");
}

int vizoUsbSpeedCode(const QByteArray &megabits)
{
    bool ok = false;
    const double mbps = megabits.trimmed().toDouble(&ok);
    if (!ok)
        return -1;
    if (mbps < 12)
        return 0;
    if (mbps < 480)
        return 1;
    if (mbps < 5000)
        return 2;
    return 3;
}

VizoModemLookup vizoFindModem()
{
    VizoModemLookup result;
    udev *context = udev_new();
    if (!context) {
        vizoLinkWarning(QStringLiteral("IOServiceMatching returned a NULL dictionary."));
        result.failure = QString::fromLatin1(noModemMessage);
        return result;
    }
    udev_enumerate *enumerate = udev_enumerate_new(context);
    int status = enumerate ? udev_enumerate_add_match_subsystem(enumerate, "tty") : -1;
    if (status >= 0)
        status = udev_enumerate_scan_devices(enumerate);
    if (status < 0) {
        vizoLinkWarning(QString::asprintf("IOServiceGetMatchingServices returned %d\n", status));
        result.failure = QString::fromLatin1(noModemMessage);
        if (enumerate)
            udev_enumerate_unref(enumerate);
        udev_unref(context);
        return result;
    }

    bool found = false;
    udev_list_entry *entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate))
    {
        udev_device *tty = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
        if (!tty)
            continue;
        if (udev_device *usb = vizoUsbParent(tty)) {
            const char *node = udev_device_get_devnode(tty);
            result.path = node ? QFile::decodeName(node) : QString();
            result.speed = speedOf(usb);
            found = true;
            vizoLinkDebug(QStringLiteral("Modem found with BSD path: %1").arg(result.path));
        }
        udev_device_unref(tty);
        if (found)
            break;
    }
    udev_enumerate_unref(enumerate);
    udev_unref(context);

    if (!found)
        result.failure = QString::fromLatin1(noPathMessage);
    else if (result.path.isEmpty())
        result.failure = QString::asprintf(emptyPathMessage, "");
    return result;
}

int vizoUsbSpeedOfPort(const QString &path)
{
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return -1;
    udev *context = udev_new();
    if (!context)
        return -1;
    int speed = -1;
    if (udev_device *tty = udev_device_new_from_devnum(context, 'c', st.st_rdev)) {
        if (udev_device *usb = usbParent(tty))
            speed = speedOf(usb);
        udev_device_unref(tty);
    }
    udev_unref(context);
    return speed;
}
