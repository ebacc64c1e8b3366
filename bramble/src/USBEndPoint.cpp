#include "bramble/USBEndPoint.h"

#include "USBPrivate.h"
#include "bramble/USBInterface.h"

#include <algorithm>
#include <limits>

namespace {
constexpr quint8 kGetStatus = 0;
constexpr quint8 kRecipientEndpointIn = 0x82;
} // namespace

USBEndPoint::USBEndPoint(const std::shared_ptr<USBInterface> &interface, quint8 pipeNumber)
    : m_interface(interface), m_device(interface ? interface->device() : nullptr), m_pipeNumber(pipeNumber)
{
    if (!interface)
        return;
    if (pipeNumber == 0) {
        // The default control pipe: both directions, control transfers.
        m_direction = kDirectionAny;
        m_number = 0;
        m_transferType = kControl;
        m_maxPacketSize = 0;
        m_interval = 0;
        return;
    }
    const QList<QByteArray> &descriptors = interface->endpointDescriptors();
    if (pipeNumber > descriptors.size())
        return;
    const QByteArray &ep = descriptors[pipeNumber - 1];
    if (ep.size() < 7)
        return;
    const quint8 address = quint8(ep[2]);
    m_direction = (address & 0x80) ? kDirectionIn : kDirectionOut;
    m_number = address & 0x0F;
    m_transferType = quint8(ep[3]) & 0x03;
    m_maxPacketSize = quint16(quint8(ep[4]) | (quint8(ep[5]) << 8));
    m_interval = quint8(ep[6]);
}

int USBEndPoint::controlRequest(USBDeviceRequest &request)
{
    if (!m_device)
        return USBErrorNotFound;
    return m_device->deviceRequest(request);
}

int USBEndPoint::controlRequestTo(USBDeviceRequest &request, unsigned int timeoutMs)
{
    request.timeoutMs = timeoutMs;
    return controlRequest(request);
}

int USBEndPoint::getPipeStatus(bool &halted)
{
    if (!m_device || m_number == 0xFF)
        return USBErrorNotFound;
    unsigned char status[2] = {0, 0};
    USBDeviceRequest request;
    request.requestType = kRecipientEndpointIn;
    request.request = kGetStatus;
    request.index = endpointAddress();
    request.length = 2;
    request.data = status;
    request.timeoutMs = 1000;
    const int result = m_device->deviceRequest(request);
    if (result == USBSuccess) {
        if (request.transferred < 2)
            return USBErrorIO;
        halted = status[0] & 0x01;
    }
    return result;
}

int USBEndPoint::abortPipe()
{
    return USBErrorNotSupported;
}

int USBEndPoint::resetPipe()
{
    return clearPipeStall();
}

int USBEndPoint::clearPipeStall()
{
    auto interface = m_interface.lock();
    if (!interface || m_number == 0xFF)
        return USBErrorNotFound;
    if (!interface->isOpen() || !m_device->isOpen())
        return USBErrorNotOpen;
    return usbStatus(libusb_clear_halt(m_device->d->handle, endpointAddress()));
}

int USBEndPoint::readPipeWithBuffer(unsigned char *buffer, quint32 &size, unsigned int timeoutMs)
{
    if (m_direction != kDirectionIn) {
        size = 0;
        return USBErrorInvalidParam;
    }
    return transfer(buffer, size, timeoutMs, true);
}

int USBEndPoint::writePipeWithBuffer(const unsigned char *buffer, quint32 &size, unsigned int timeoutMs)
{
    if (m_direction != kDirectionOut) {
        size = 0;
        return USBErrorInvalidParam;
    }
    // libusb takes a non-const buffer but does not write to an OUT one.
    return transfer(const_cast<unsigned char *>(buffer), size, timeoutMs, false);
}

int USBEndPoint::transfer(unsigned char *buffer, quint32 &size, unsigned int timeoutMs, bool in)
{
    const quint32 wanted = size;
    size = 0;
    auto interface = m_interface.lock();
    if (!interface)
        return USBErrorNotFound;
    if (!interface->isOpen() || !m_device->isOpen())
        return USBErrorNotOpen;
    if (wanted && !buffer)
        return USBErrorInvalidParam;
    if (wanted > quint32(std::numeric_limits<int>::max()))
        return USBErrorInvalidParam;
    int moved = 0;
    int status = LIBUSB_ERROR_NOT_SUPPORTED;
    const unsigned char address = quint8(m_number | (in ? 0x80 : 0));
    if (m_transferType == kBulk)
        status = libusb_bulk_transfer(m_device->d->handle, address, buffer, int(wanted), &moved, timeoutMs);
    else if (m_transferType == kInterrupt)
        status = libusb_interrupt_transfer(m_device->d->handle, address, buffer, int(wanted), &moved, timeoutMs);
    size = quint32(std::max(moved, 0));
    return usbStatus(status);
}
