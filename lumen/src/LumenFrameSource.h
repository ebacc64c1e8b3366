#pragma once
// Where frames come from: a camera, or the program itself. A source
// publishes each frame into the slot it was given, from whatever thread it
// captures on.
#include <memory>

class LumenFrameSlot;

class LumenFrameSource
{
public:
    virtual ~LumenFrameSource() = default;

    // Both are called on the main thread. stop() returns once no frame will
    // be published any more.
    virtual bool start() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};
