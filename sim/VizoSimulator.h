#pragma once
// Runs a VizoSimDevice on a pseudo-terminal: the viewer opens portPath() as
// its serial port. The simulator waits until a host opens the port, reports
// the device's edition and region, then answers every frame until the host
// says HostClosing or closes the port.
//
// Timing: by default the device's frames go out as fast as the host reads
// them, so a long file list does not take minutes. setBaud() gives the real
// link's timing instead: every byte costs its time on the wire (10 bits at
// that rate) in both directions, and answers, like the real device's, queue
// behind whatever is still going out. The device keeps reading while it
// sends, as the real one does.
//
// The device can also speak on its own (control(), see VizoSimControl.h):
// its frames join the same queue.
//
// run() blocks; start() runs the same on a thread of its own. eventTrace may
// be called on the reading thread, the sending thread and the control
// caller's thread, one call at a time; eventEnded runs on run()'s thread.
#include "sim/VizoSimDevice.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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
    // The host left (HostClosing, or the port was closed), the device was
    // unplugged, or stop() was called.
    std::function<void()> eventEnded;

    // The link's rate in baud; 0 (the default) for no wire time. Set before
    // run().
    void setBaud(int baud) { m_baud = baud; }
    int baud() const { return m_baud; }

    // Creates the pseudo-terminal in raw mode. On failure returns false and
    // sets *error.
    bool openPort(QString *error = nullptr);
    QString portPath() const { return m_portPath; }

    void run();
    void start();
    // Ends run() within moments and closes the pseudo-terminal.
    void stop();
    bool hostConnected() const { return m_hostConnected; }

    // Runs a control command (VizoSimControl.h) and returns its one-line
    // reply. "unplug" ends run() and closes the port, as a pulled cable.
    // Frames said while no host is connected are dropped.
    QString control(const QString &line);

    VizoSimDevice &device() { return m_device; }

private:
    using Clock = std::chrono::steady_clock;

    bool waitForHost();
    void queue(const std::vector<VizoSimFrame> &frames);
    void sendLoop();
    // Waits until `until`, or less when stopping; false when stopping.
    bool pause(Clock::time_point until);
    Clock::duration wireTime(std::size_t bytes) const;
    long writeAll(const void *data, std::size_t size);
    void trace(const QString &line);
    void requestStop();
    void closePort();

    VizoSimDevice m_device;
    QString m_portPath;
    std::atomic<int> m_master{-1};
    int m_wake[2] = {-1, -1};
    int m_baud = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_hostConnected{false};
    std::atomic<bool> m_unplugged{false};
    std::thread m_thread;

    std::mutex m_traceMutex;
    // The sending queue: whole frames, in order.
    std::mutex m_outMutex;
    std::condition_variable m_outChanged;
    std::deque<QByteArray> m_out;
    bool m_sending = false;
    bool m_sendLoopRunning = false;
};
