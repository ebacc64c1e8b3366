#pragma once
// The capture object of a LumenViewController: the running frame source.
// A session starts running when its controller is created.
#include <memory>

class LumenFrameSource;

class LumenSession
{
public:
    ~LumenSession();
    LumenSession(const LumenSession &) = delete;
    LumenSession &operator=(const LumenSession &) = delete;

    // Stops capturing and waits for the capture thread to end; the view
    // keeps its last picture. Safe to call more than once.
    void stopRunning();
    // Starts capturing again after stopRunning(). Returns false (and logs)
    // when the device cannot be restarted, e.g. after it was unplugged.
    bool startRunning();
    bool isRunning() const;

private:
    friend class LumenViewController;
    explicit LumenSession(std::unique_ptr<LumenFrameSource> source);

    std::unique_ptr<LumenFrameSource> m_source;
};
