#include "bramble/USBDevice.h"

#include "BrLog.h"
#include "USBPrivate.h"
#include "bramble/USBEndPoint.h"
#include "bramble/USBInterface.h"

#include <algorithm>

#include <array>
#include <cstring>

namespace {

constexpr quint8 kGetDescriptor = 6;
constexpr quint8 kStringDescriptor = 3;
constexpr quint16 kLanguageUsEnglish = 0x0409;
constexpr unsigned int kDescriptorTimeoutMs = 1000;

std::shared_ptr<libusb_context> sharedContext()
{
    static std::weak_ptr<libusb_context> shared;
    if (auto context = shared.lock())
        return context;
    libusb_context *raw = nullptr;
    const int status = libusb_init(&raw);
    if (status != LIBUSB_SUCCESS) {
        qCInfo(lcBramble) << "USB: cannot be reached:" << libusb_error_name(status);
        return nullptr;
    }
    std::shared_ptr<libusb_context> context(raw, libusb_exit);
    shared = context;
    return context;
}

} // namespace

int usbStatus(int libusbStatus)
{
    if (libusbStatus >= 0)
        return USBSuccess;
    switch (libusbStatus) {
    case LIBUSB_ERROR_IO: return USBErrorIO;
    case LIBUSB_ERROR_INVALID_PARAM: return USBErrorInvalidParam;
    case LIBUSB_ERROR_ACCESS: return USBErrorAccess;
    case LIBUSB_ERROR_NO_DEVICE: return USBErrorNoDevice;
    case LIBUSB_ERROR_NOT_FOUND: return USBErrorNotFound;
    case LIBUSB_ERROR_BUSY: return USBErrorBusy;
    case LIBUSB_ERROR_TIMEOUT: return USBErrorTimeout;
    case LIBUSB_ERROR_OVERFLOW: return USBErrorOverflow;
    case LIBUSB_ERROR_PIPE: return USBErrorPipe;
    case LIBUSB_ERROR_INTERRUPTED: return USBErrorInterrupted;
    case LIBUSB_ERROR_NO_MEM: return USBErrorNoMemory;
    case LIBUSB_ERROR_NOT_SUPPORTED: return USBErrorNotSupported;
    default: return USBErrorOther;
    }
}

QString usbStatusText(int status)
{
    switch (status) {
    case USBSuccess: return QStringLiteral("success");
    case USBErrorIO: return QStringLiteral("input/output error");
    case USBErrorInvalidParam: return QStringLiteral("invalid parameter");
    case USBErrorAccess: return QStringLiteral("access denied (insufficient permissions)");
    case USBErrorNoDevice: return QStringLiteral("no such device (it may have been disconnected)");
    case USBErrorNotFound: return QStringLiteral("entity not found");
    case USBErrorBusy: return QStringLiteral("resource busy");
    case USBErrorTimeout: return QStringLiteral("operation timed out");
    case USBErrorOverflow: return QStringLiteral("overflow");
    case USBErrorPipe: return QStringLiteral("pipe error (endpoint halted)");
    case USBErrorInterrupted: return QStringLiteral("system call interrupted");
    case USBErrorNoMemory: return QStringLiteral("insufficient memory");
    case USBErrorNotSupported: return QStringLiteral("operation not supported on this platform");
    case USBErrorNotOpen: return QStringLiteral("device or interface not open");
    default: return QStringLiteral("other error");
    }
}

QList<std::shared_ptr<USBDevice>> USBDevice::devices()
{
    QList<std::shared_ptr<USBDevice>> result;
    std::shared_ptr<libusb_context> context = sharedContext();
    if (!context)
        return result;
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(context.get(), &list);
    if (count < 0) {
        qCInfo(lcBramble) << "USB: no device list:" << libusb_error_name(int(count));
        return result;
    }
    for (ssize_t i = 0; i < count; ++i) {
        auto d = std::make_unique<Private>();
        d->context = context;
        d->device = libusb_ref_device(list[i]);
        std::shared_ptr<USBDevice> device(new USBDevice(std::move(d)));
        device->readProperties();
        result << device;
    }
    libusb_free_device_list(list, 1);
    return result;
}

USBDevice::USBDevice(std::unique_ptr<Private> priv) : d(std::move(priv)) {}

USBDevice::~USBDevice()
{
    if (d->handle)
        libusb_close(d->handle);
    if (d->device)
        libusb_unref_device(d->device);
}

void USBDevice::readProperties()
{
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(d->device, &descriptor) == LIBUSB_SUCCESS) {
        m_deviceClass = descriptor.bDeviceClass;
        m_deviceSubClass = descriptor.bDeviceSubClass;
        m_deviceProtocol = descriptor.bDeviceProtocol;
        m_numberOfConfigurations = descriptor.bNumConfigurations;
        m_deviceVendor = descriptor.idVendor;
        m_deviceProduct = descriptor.idProduct;
        m_deviceReleaseNumber = descriptor.bcdDevice;
    }
    m_deviceAddress = libusb_get_device_address(d->device);
    m_deviceSpeed = speedCode(libusb_get_device_speed(d->device));
    switch (libusb_get_device_speed(d->device)) {
    case LIBUSB_SPEED_LOW:
    case LIBUSB_SPEED_FULL:
    case LIBUSB_SPEED_HIGH: m_deviceBusPowerAvailable = 250; break;
    case LIBUSB_SPEED_SUPER:
    case LIBUSB_SPEED_SUPER_PLUS: m_deviceBusPowerAvailable = 450; break;
    default: m_deviceBusPowerAvailable = 0; break;
    }
    std::array<uint8_t, 7> ports{};
    const int depth = libusb_get_port_numbers(d->device, ports.data(), int(ports.size()));
    QList<quint8> path;
    for (int i = 0; i < depth; ++i)
        path << ports[size_t(i)];
    m_locationID = locationIDFor(libusb_get_bus_number(d->device), path);

    // The strings need the device open; without permission they stay absent.
    const bool wasOpen = isOpen();
    if (!wasOpen && deviceOpen() != USBSuccess)
        return;
    libusb_device_handle *handle = d->handle;
    const ControlIn request = [handle](quint8 requestType, quint8 req, quint16 value, quint16 index,
                                       unsigned char *buffer, quint16 length) {
        return libusb_control_transfer(handle, requestType, req, value, index, buffer, length,
                                       kDescriptorTimeoutMs);
    };
    m_manufacturer = readStringDescriptor(request, descriptor.iManufacturer);
    m_productName = readStringDescriptor(request, descriptor.iProduct);
    m_serialNumber = readStringDescriptor(request, descriptor.iSerialNumber);
    if (!wasOpen)
        deviceClose();
}

QString USBDevice::readStringDescriptor(const ControlIn &request, quint8 stringIndex)
{
    // Index 0 names no string (that request returns the language table).
    if (stringIndex == 0 || !request)
        return QString();
    std::array<unsigned char, 512> buffer{};
    const int received = request(0x80, kGetDescriptor, quint16(0x0300 | stringIndex), kLanguageUsEnglish,
                                 buffer.data(), quint16(buffer.size()));
    if (received < 0)
        return QString();
    const int usable = std::min<int>(received, int(buffer.size()));
    return decodeStringDescriptor(QByteArray(reinterpret_cast<const char *>(buffer.data()), usable));
}

QString USBDevice::decodeStringDescriptor(const QByteArray &reply)
{
    if (reply.size() < 2 || quint8(reply[1]) != kStringDescriptor)
        return QString();
    // The length byte counts the two header bytes; never read past what
    // actually arrived, and drop a dangling odd byte.
    int length = std::min<int>(quint8(reply[0]), int(reply.size()));
    if (length < 2)
        return QString();
    length &= ~1;
    const int units = (length - 2) / 2;
    QString text(units, Qt::Uninitialized);
    for (int i = 0; i < units; ++i) {
        const quint8 lo = quint8(reply[2 + 2 * i]);
        const quint8 hi = quint8(reply[3 + 2 * i]);
        text[i] = QChar(char16_t(lo | (hi << 8)));
    }
    return text;
}

quint8 USBDevice::speedCode(int libusbSpeed)
{
    switch (libusbSpeed) {
    case LIBUSB_SPEED_LOW: return 0;
    case LIBUSB_SPEED_FULL: return 1;
    case LIBUSB_SPEED_HIGH: return 2;
    case LIBUSB_SPEED_SUPER:
    case LIBUSB_SPEED_SUPER_PLUS: return 3;
    default: return 0; // unknown: the zero default
    }
}

quint32 USBDevice::locationIDFor(quint8 bus, const QList<quint8> &portPath)
{
    quint32 id = quint32(bus) << 24;
    int shift = 20;
    for (quint8 port : portPath) {
        if (shift < 0)
            break;
        id |= quint32(port & 0x0F) << shift;
        shift -= 4;
    }
    return id;
}

bool USBDevice::isOpen() const
{
    return d->handle != nullptr;
}

int USBDevice::deviceOpen()
{
    if (d->handle)
        return USBSuccess;
    const int status = libusb_open(d->device, &d->handle);
    if (status != LIBUSB_SUCCESS) {
        d->handle = nullptr;
        qCDebug(lcBramble) << "USB: cannot open" << Qt::hex << m_deviceVendor << m_deviceProduct << ":"
                           << libusb_error_name(status);
    }
    return usbStatus(status);
}

int USBDevice::deviceClose()
{
    if (!d->handle)
        return USBErrorNotOpen;
    libusb_close(d->handle);
    d->handle = nullptr;
    return USBSuccess;
}

QList<std::shared_ptr<USBInterface>> USBDevice::interfaces()
{
    QList<std::shared_ptr<USBInterface>> result;
    libusb_config_descriptor *config = nullptr;
    if (libusb_get_active_config_descriptor(d->device, &config) != LIBUSB_SUCCESS &&
        libusb_get_config_descriptor(d->device, 0, &config) != LIBUSB_SUCCESS)
        return result;
    for (int i = 0; i < config->bNumInterfaces; ++i) {
        const libusb_interface &interface = config->interface[i];
        if (interface.num_altsetting < 1)
            break;
        const libusb_interface_descriptor &setting = interface.altsetting[0];
        QList<QByteArray> endpoints;
        for (int e = 0; e < setting.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor &ep = setting.endpoint[e];
            QByteArray raw(7, '\0');
            raw[0] = char(ep.bLength);
            raw[1] = char(ep.bDescriptorType);
            raw[2] = char(ep.bEndpointAddress);
            raw[3] = char(ep.bmAttributes);
            raw[4] = char(ep.wMaxPacketSize & 0xFF);
            raw[5] = char(ep.wMaxPacketSize >> 8);
            raw[6] = char(ep.bInterval);
            endpoints << raw;
        }
        std::shared_ptr<USBInterface> object(new USBInterface(
            shared_from_this(), config->bConfigurationValue, setting.bInterfaceNumber, setting.bAlternateSetting,
            setting.bInterfaceClass, setting.bInterfaceSubClass, setting.bInterfaceProtocol, endpoints));
        object->m_defaultControlEndPoint = std::make_shared<USBEndPoint>(object, 0);
        result << object;
    }
    libusb_free_config_descriptor(config);
    return result;
}

int USBDevice::getConfigurationDescriptorPtrAtIndex(quint8 index, QByteArray &descriptor)
{
    const bool wasOpen = isOpen();
    if (!wasOpen) {
        const int status = deviceOpen();
        if (status != USBSuccess)
            return status;
    }
    std::array<unsigned char, 9> header{};
    int status = libusb_get_descriptor(d->handle, LIBUSB_DT_CONFIG, index, header.data(), int(header.size()));
    if (status >= 4) {
        const int total = header[2] | (header[3] << 8);
        QByteArray full(total, '\0');
        status = libusb_get_descriptor(d->handle, LIBUSB_DT_CONFIG, index,
                                       reinterpret_cast<unsigned char *>(full.data()), total);
        if (status >= 0) {
            full.truncate(status);
            descriptor = full;
        }
    } else if (status >= 0) {
        status = LIBUSB_ERROR_IO; // too short to be a configuration descriptor
    }
    if (!wasOpen)
        deviceClose();
    return usbStatus(status);
}

int USBDevice::setConfiguration(quint8 configurationValue)
{
    if (!d->handle)
        return USBErrorNotOpen;
    return usbStatus(libusb_set_configuration(d->handle, configurationValue));
}

int USBDevice::getConfiguration(quint8 &configurationValue)
{
    if (!d->handle)
        return USBErrorNotOpen;
    int value = 0;
    const int status = libusb_get_configuration(d->handle, &value);
    if (status == LIBUSB_SUCCESS)
        configurationValue = quint8(value);
    return usbStatus(status);
}

int USBDevice::deviceRequest(USBDeviceRequest &request)
{
    request.transferred = 0;
    if (!d->handle)
        return USBErrorNotOpen;
    if (request.length && !request.data)
        return USBErrorInvalidParam;
    const int status = libusb_control_transfer(d->handle, request.requestType, request.request, request.value,
                                               request.index, request.data, request.length, request.timeoutMs);
    if (status >= 0)
        request.transferred = quint32(status);
    return usbStatus(status);
}

int USBDevice::getBusFrameNumber(quint64 &, qint64 &)
{
    return USBErrorNotSupported;
}

int USBDevice::resetDevice()
{
    if (!d->handle)
        return USBErrorNotOpen;
    return usbStatus(libusb_reset_device(d->handle));
}
