#pragma once
// One pipe of a USB interface: pipe 0 is the default control pipe, pipes
// 1 .. numEndpoints the interface's endpoints in descriptor order.
#include <bramble/USBDevice.h>

class USBInterface;

class USBEndPoint
{
public:
    // Direction codes.
    static constexpr quint8 kDirectionOut = 0;
    static constexpr quint8 kDirectionIn = 1;
    static constexpr quint8 kDirectionAny = 3;
    // Transfer types (as in the endpoint descriptor).
    static constexpr quint8 kControl = 0;
    static constexpr quint8 kIsochronous = 1;
    static constexpr quint8 kBulk = 2;
    static constexpr quint8 kInterrupt = 3;

    // Reads the pipe's properties from the interface's descriptors.
    USBEndPoint(const std::shared_ptr<USBInterface> &interface, quint8 pipeNumber);

    quint8 pipeNumber() const { return m_pipeNumber; }
    // 0xFF, 0xFF, 0xFF, 0 and 0 when the pipe's descriptor is not known.
    quint8 direction() const { return m_direction; }
    quint8 number() const { return m_number; }
    quint8 transferType() const { return m_transferType; }
    quint16 maxPacketSize() const { return m_maxPacketSize; }
    quint8 interval() const { return m_interval; }

    // Control requests go to the device's default pipe (pipe 0) or, for
    // other pipes, carry the endpoint as recipient index where the caller
    // set it. controlRequestTo() takes a timeout in milliseconds.
    int controlRequest(USBDeviceRequest &request);
    int controlRequestTo(USBDeviceRequest &request, unsigned int timeoutMs);
    // Whether the endpoint is halted: status 0, `halted` filled in.
    int getPipeStatus(bool &halted);
    // Transfers here are synchronous: nothing can be aborted from another
    // call, so this reports USBErrorNotSupported rather than a success.
    int abortPipe();
    int resetPipe();
    int clearPipeStall();
    // Bulk or interrupt transfers by the pipe's type; `size` is updated to
    // the bytes moved.
    int readPipeWithBuffer(unsigned char *buffer, quint32 &size, unsigned int timeoutMs = 0);
    int writePipeWithBuffer(const unsigned char *buffer, quint32 &size, unsigned int timeoutMs = 0);

private:
    int transfer(unsigned char *buffer, quint32 &size, unsigned int timeoutMs, bool in);
    quint8 endpointAddress() const { return quint8(m_number | (m_direction == kDirectionIn ? 0x80 : 0)); }

    // Weak: the interface owns its pipe-0 endpoint.
    std::weak_ptr<USBInterface> m_interface;
    std::shared_ptr<USBDevice> m_device;
    quint8 m_pipeNumber = 0;
    quint8 m_direction = 0xFF;
    quint8 m_number = 0xFF;
    quint8 m_transferType = 0xFF;
    quint16 m_maxPacketSize = 0;
    quint8 m_interval = 0;
};
