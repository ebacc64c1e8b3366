#pragma once
// Repeating timers on an event loop, the way menus poll the battery and the
// mouse wheel steps the zoom.
//
// A timer is created stopped for a context object: its handler runs on the
// context's thread, and never after the context is gone. The first firing
// comes one interval after the start, then one every interval, with a coarse
// (power-saving) precision. The caller owns the timer; cancelTimer() stops it
// and releases it. Each timer is started once: to change the interval, cancel
// it and create a new one.
#include <functional>

class QObject;
class QTimer;

using BrTimer = QTimer;

// A new, stopped timer whose handler will run on `context`'s thread (the
// application object's when none is given). Returns nullptr without an
// application object.
BrTimer *createTimer(QObject *context = nullptr);

// Installs `handler` and starts the timer: first firing `intervalSeconds`
// from now, then every `intervalSeconds`. Returns false, and does nothing,
// for a missing timer, a second start of the same timer, or an interval that
// is not a positive number of seconds. May be called from any thread.
bool startTimer(BrTimer *timer, double intervalSeconds, std::function<void()> handler);

// Stops the timer and releases it (on its own thread, so it is safe from
// inside the timer's own handler). A missing timer is ignored.
void cancelTimer(BrTimer *timer);

// The same three operations as class operations.
class BrDispatchTimer
{
public:
    BrDispatchTimer() = delete;

    static BrTimer *createTimer(QObject *context = nullptr) { return ::createTimer(context); }
    static bool startTimer(BrTimer *timer, double intervalSeconds, std::function<void()> handler)
    {
        return ::startTimer(timer, intervalSeconds, std::move(handler));
    }
    static void stopTimer(BrTimer *timer) { ::cancelTimer(timer); }
};
