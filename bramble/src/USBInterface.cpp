#include "bramble/USBInterface.h"

#include "BrLog.h"
#include "USBPrivate.h"
#include "bramble/USBEndPoint.h"

USBInterface::USBInterface(std::shared_ptr<USBDevice> device, quint8 configurationValue, quint8 interfaceNumber,
                           quint8 alternateSetting, quint8 interfaceClass, quint8 interfaceSubClass,
                           quint8 interfaceProtocol, QList<QByteArray> endpointDescriptors)
    : m_device(std::move(device)),
      m_endpointDescriptors(std::move(endpointDescriptors)),
      m_interfaceClass(interfaceClass),
      m_interfaceSubClass(interfaceSubClass),
      m_interfaceProtocol(interfaceProtocol),
      m_configurationValue(configurationValue),
      m_interfaceNumber(interfaceNumber),
      m_alternateSetting(alternateSetting),
      m_numEndpoints(quint8(m_endpointDescriptors.size()))
{
}

USBInterface::~USBInterface()
{
    if (m_claimed)
        interfaceClose();
}

int USBInterface::interfaceOpen()
{
    if (m_claimed)
        return USBSuccess;
    if (!m_device->isOpen()) {
        const int status = m_device->deviceOpen();
        if (status != USBSuccess)
            return status;
        m_openedDevice = true;
    }
    // No automatic detaching: a kernel driver (the serial port's, say)
    // keeps its interface.
    const int status = libusb_claim_interface(m_device->d->handle, m_interfaceNumber);
    if (status != LIBUSB_SUCCESS) {
        qCDebug(lcBramble) << "USB: cannot claim interface" << m_interfaceNumber << ":" << libusb_error_name(status);
        if (m_openedDevice) {
            m_device->deviceClose();
            m_openedDevice = false;
        }
        return usbStatus(status);
    }
    m_claimed = true;
    return USBSuccess;
}

int USBInterface::interfaceClose()
{
    if (!m_claimed)
        return USBErrorNotOpen;
    int status = LIBUSB_SUCCESS;
    if (m_device->isOpen())
        status = libusb_release_interface(m_device->d->handle, m_interfaceNumber);
    m_claimed = false;
    if (m_openedDevice) {
        m_device->deviceClose();
        m_openedDevice = false;
    }
    return usbStatus(status);
}

int USBInterface::setAlternateInterface(quint8 alternateSetting)
{
    if (!m_claimed || !m_device->isOpen())
        return USBErrorNotOpen;
    const int status = libusb_set_interface_alt_setting(m_device->d->handle, m_interfaceNumber, alternateSetting);
    if (status == LIBUSB_SUCCESS)
        m_alternateSetting = alternateSetting;
    return usbStatus(status);
}

int USBInterface::getBusFrameNumber(quint64 &frame, qint64 &atTimeNs)
{
    return m_device->getBusFrameNumber(frame, atTimeNs);
}

QList<std::shared_ptr<USBEndPoint>> USBInterface::endPoints()
{
    QList<std::shared_ptr<USBEndPoint>> result;
    for (quint8 pipe = 1; pipe <= m_numEndpoints; ++pipe)
        result << std::make_shared<USBEndPoint>(shared_from_this(), pipe);
    return result;
}
