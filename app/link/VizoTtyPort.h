#pragma once
// The serial port as a terminal device: a CDC-ACM tty of the device, or the
// pseudo-terminal of the virtual device. Opening applies the link's terminal
// settings (exclusive, raw, 115200 baud, VMIN 0 / VTIME 10, modem lines, low
// latency); closing drains the output and restores what was found.
#include "link/VizoSerialPort.h"

#include <QString>

#include <memory>

class VizoTtyPort final : public VizoSerialPort
{
public:
    // Opens and sets up the port; nullptr when it cannot be used. Every step
    // prints its diagnostic; the modem-line and latency steps, which ptys and
    // some drivers do not support, print their failure and go on.
    static std::unique_ptr<VizoTtyPort> open(const QString &path);
    ~VizoTtyPort() override;

    long read(void *buffer, std::size_t capacity) override;
    long write(const void *data, std::size_t size) override;
    void interrupt() override;

    const QString &path() const { return m_path; }

private:
    struct Saved;
    VizoTtyPort(const QString &path, int fd, std::unique_ptr<Saved> saved);
    void close();

    QString m_path;
    int m_fd = -1;
    int m_wake[2] = {-1, -1};
    std::unique_ptr<Saved> m_saved;
};
