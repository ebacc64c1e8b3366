#pragma once
// User-space access to USB devices: enumeration, the device's identity read
// once at creation, and the operations forwarded to the device.
//
// The viewer uses devices(), deviceVendor(), deviceProduct(), deviceSpeed()
// and deviceClose(). Every property is read when the object is created; a
// read that fails (no permission to open the device, a failing request)
// leaves the default: absent strings, 0 numbers. The objects have no
// locking; use them from one thread.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class USBInterface;

// Status of a forwarded operation: 0 on success, else one of these.
enum USBStatus : int {
    USBSuccess = 0,
    USBErrorIO = -1,
    USBErrorInvalidParam = -2,
    USBErrorAccess = -3,
    USBErrorNoDevice = -4,
    USBErrorNotFound = -5,
    USBErrorBusy = -6,
    USBErrorTimeout = -7,
    USBErrorOverflow = -8,
    USBErrorPipe = -9,
    USBErrorInterrupted = -10,
    USBErrorNoMemory = -11,
    USBErrorNotSupported = -12,
    USBErrorNotOpen = -13,
    USBErrorOther = -99,
};

// A short English text for a status, for diagnostics.
QString usbStatusText(int status);

// A control request on the default pipe. `data` is sent (host-to-device)
// or filled up to `length` bytes (device-to-host, bit 7 of requestType).
struct USBDeviceRequest
{
    quint8 requestType = 0;
    quint8 request = 0;
    quint16 value = 0;
    quint16 index = 0;
    quint16 length = 0;
    unsigned char *data = nullptr;
    quint32 transferred = 0;     // filled in
    unsigned int timeoutMs = 0;  // 0: wait for as long as it takes
};

class USBDevice : public std::enable_shared_from_this<USBDevice>
{
public:
    // Every USB device attached, in bus order; empty when USB cannot be
    // reached at all.
    static QList<std::shared_ptr<USBDevice>> devices();

    ~USBDevice();
    USBDevice(const USBDevice &) = delete;
    USBDevice &operator=(const USBDevice &) = delete;

    // Open the device for our use, or close it; the status of the call.
    int deviceOpen();
    int deviceClose();
    bool isOpen() const;

    // One per interface of the current configuration (the first setting of
    // each), in descriptor order.
    QList<std::shared_ptr<USBInterface>> interfaces();

    // The raw configuration descriptor at `index` (all wTotalLength bytes).
    int getConfigurationDescriptorPtrAtIndex(quint8 index, QByteArray &descriptor);
    int setConfiguration(quint8 configurationValue);
    int getConfiguration(quint8 &configurationValue);
    int deviceRequest(USBDeviceRequest &request);
    // Linux does not tell the bus frame number: USBErrorNotSupported.
    int getBusFrameNumber(quint64 &frame, qint64 &atTimeNs);
    int resetDevice();

    // Absent (null) when the device supplies no such string.
    QString productName() const { return m_productName; }
    QString manufacturer() const { return m_manufacturer; }
    QString serialNumber() const { return m_serialNumber; }
    quint8 deviceClass() const { return m_deviceClass; }
    quint8 deviceSubClass() const { return m_deviceSubClass; }
    quint8 deviceProtocol() const { return m_deviceProtocol; }
    // 0 low, 1 full, 2 high, 3 super speed (and faster).
    quint8 deviceSpeed() const { return m_deviceSpeed; }
    quint8 numberOfConfigurations() const { return m_numberOfConfigurations; }
    quint16 deviceVendor() const { return m_deviceVendor; }
    quint16 deviceProduct() const { return m_deviceProduct; }
    quint16 deviceReleaseNumber() const { return m_deviceReleaseNumber; }
    quint16 deviceAddress() const { return m_deviceAddress; }
    // Power the port offers, in units of 2 mA (250 for USB 2, 450 for USB 3).
    quint32 deviceBusPowerAvailable() const { return m_deviceBusPowerAvailable; }
    // Bus number in the top byte, then one hub port number per nibble.
    quint32 locationID() const { return m_locationID; }

    // The pieces that read raw replies, apart so they can be checked
    // without a device.
    //
    // Runs a device-to-host control request; returns the number of bytes
    // received or a negative USBStatus.
    using ControlIn = std::function<int(quint8 requestType, quint8 request, quint16 value, quint16 index,
                                        unsigned char *buffer, quint16 length)>;
    // GET_DESCRIPTOR of string `stringIndex` in US English, decoded; null
    // when the index is 0, the request fails or the reply is no string.
    static QString readStringDescriptor(const ControlIn &request, quint8 stringIndex);
    // A string descriptor reply (length, type 3, UTF-16LE text) as text;
    // null when it is not a string descriptor.
    static QString decodeStringDescriptor(const QByteArray &reply);
    // The speed code above for a libusb speed value (libusb_speed).
    static quint8 speedCode(int libusbSpeed);
    // The location id for a bus number and a port path from the root.
    static quint32 locationIDFor(quint8 bus, const QList<quint8> &portPath);

    struct Private;

private:
    friend class USBInterface;
    friend class USBEndPoint;
    explicit USBDevice(std::unique_ptr<Private> d);
    void readProperties();

    std::unique_ptr<Private> d;
    QString m_productName;
    QString m_manufacturer;
    QString m_serialNumber;
    quint8 m_deviceClass = 0;
    quint8 m_deviceSubClass = 0;
    quint8 m_deviceProtocol = 0;
    quint8 m_deviceSpeed = 0;
    quint8 m_numberOfConfigurations = 0;
    quint16 m_deviceVendor = 0;
    quint16 m_deviceProduct = 0;
    quint16 m_deviceReleaseNumber = 0;
    quint16 m_deviceAddress = 0;
    quint32 m_deviceBusPowerAvailable = 0;
    quint32 m_locationID = 0;
};
