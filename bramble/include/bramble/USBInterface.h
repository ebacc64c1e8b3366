#pragma once
// One interface of a USB device, with its identity read at creation and the
// operations forwarded to it. Keeps its device alive.
#include <bramble/USBDevice.h>

class USBEndPoint;

class USBInterface : public std::enable_shared_from_this<USBInterface>
{
public:
    ~USBInterface();
    USBInterface(const USBInterface &) = delete;
    USBInterface &operator=(const USBInterface &) = delete;

    std::shared_ptr<USBDevice> device() const { return m_device; }

    // Claims the interface (opening the device if it is not open); an
    // interface a kernel driver holds stays with it (USBErrorBusy).
    int interfaceOpen();
    int interfaceClose();
    bool isOpen() const { return m_claimed; }
    int setAlternateInterface(quint8 alternateSetting);
    // Linux does not tell the bus frame number: USBErrorNotSupported.
    int getBusFrameNumber(quint64 &frame, qint64 &atTimeNs);

    // Endpoints for pipes 1 .. numEndpoints().
    QList<std::shared_ptr<USBEndPoint>> endPoints();
    std::shared_ptr<USBEndPoint> defaultControlEndPoint() const { return m_defaultControlEndPoint; }

    quint8 interfaceClass() const { return m_interfaceClass; }
    quint8 interfaceSubClass() const { return m_interfaceSubClass; }
    quint8 interfaceProtocol() const { return m_interfaceProtocol; }
    quint8 configurationValue() const { return m_configurationValue; }
    quint8 interfaceNumber() const { return m_interfaceNumber; }
    quint8 alternateSetting() const { return m_alternateSetting; }
    quint8 numEndpoints() const { return m_numEndpoints; }
    quint16 deviceVendor() const { return m_device->deviceVendor(); }
    quint16 deviceProduct() const { return m_device->deviceProduct(); }
    quint16 deviceReleaseNumber() const { return m_device->deviceReleaseNumber(); }
    quint32 locationID() const { return m_device->locationID(); }

    // Raw endpoint descriptors (7 bytes each) of this interface setting.
    const QList<QByteArray> &endpointDescriptors() const { return m_endpointDescriptors; }

private:
    friend class USBDevice;
    friend class USBEndPoint;
    USBInterface(std::shared_ptr<USBDevice> device, quint8 configurationValue, quint8 interfaceNumber,
                 quint8 alternateSetting, quint8 interfaceClass, quint8 interfaceSubClass, quint8 interfaceProtocol,
                 QList<QByteArray> endpointDescriptors);

    std::shared_ptr<USBDevice> m_device;
    std::shared_ptr<USBEndPoint> m_defaultControlEndPoint;
    QList<QByteArray> m_endpointDescriptors;
    bool m_claimed = false;
    bool m_openedDevice = false;
    quint8 m_interfaceClass = 0;
    quint8 m_interfaceSubClass = 0;
    quint8 m_interfaceProtocol = 0;
    quint8 m_configurationValue = 0;
    quint8 m_interfaceNumber = 0;
    quint8 m_alternateSetting = 0;
    quint8 m_numEndpoints = 0;
};
