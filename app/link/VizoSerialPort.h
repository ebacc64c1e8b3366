#pragma once
// A byte link to the device: the serial port of the real device, or a
// pseudo-terminal of the virtual one. One thread reads while others write
// (writes are serialised by the caller); interrupt() may be called from any
// thread.
#include <cstddef>

class VizoSerialPort
{
public:
    virtual ~VizoSerialPort() = default;

    // Reads what has arrived, waiting at most about a second: > 0 bytes
    // read; 0 nothing arrived (or interrupt() was called); -1 the link is
    // gone (read error, or the other side hung up).
    virtual long read(void *buffer, std::size_t capacity) = 0;
    // Writes all bytes unless the link fails; returns the count written.
    virtual long write(const void *data, std::size_t size) = 0;
    // Makes a read that is waiting return 0 at once.
    virtual void interrupt() = 0;
};
