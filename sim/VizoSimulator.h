#pragma once
// Runs a VizoSimDevice on a pseudo-terminal: the viewer opens portPath() as
// its serial port. The simulator waits until a host opens the port, reports
// the device's edition and region, then answers every frame until the host
// says HostClosing or closes the port. The device's frames go out as fast as
// the host reads them: the link's rests are the host's duty towards the
// device, and a long file list must not take minutes.
//
// run() blocks; start() runs the same on a thread of its own. eventTrace and
// eventEnded are called on that thread.
#include "sim/VizoSimDevice.h"

#include <QString>

#include <atomic>
#include <vector>
#include <functional>
#include <memory>
#include <thread>

class VizoSimulator
{
public:
    explicit VizoSimulator(VizoSimState initial = {});
    ~VizoSimulator();

    VizoSimulator(const VizoSimulator &) = delete;
    VizoSimulator &operator=(const VizoSimulator &) = delete;

    // One line per frame in either direction ("host:   ..." / "device: ..."),
    // and the device's notes ("note:   ...").
    std::function<void(const QString &line)> eventTrace;
    // The host left (HostClosing, or the port was closed) or stop() was called.
    std::function<void()> eventEnded;

    // Creates the pseudo-terminal in raw mode. On failure returns false and
    // sets *error.
    bool openPort(QString *error = nullptr);
    QString portPath() const { return m_portPath; }

    void run();
    void start();
    // Ends run() within moments and closes the pseudo-terminal.
    void stop();
    bool hostConnected() const { return m_hostConnected; }

    VizoSimDevice &device() { return m_device; }

private:
    bool waitForHost();
    void send(const std::vector<VizoSimFrame> &frames);
    long writeAll(const void *data, std::size_t size);

    VizoSimDevice m_device;
    QString m_portPath;
    int m_master = -1;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_hostConnected{false};
    std::thread m_thread;
};
