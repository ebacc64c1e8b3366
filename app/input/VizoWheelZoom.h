#pragma once
// Zooming with the scroll wheel. A burst of wheel ticks sends one zoom start
// (in for a positive first tick, out for a negative one) and, a fixed quiet
// time after the last tick, one zoom stop. While a burst runs the arming
// rules keep the move and colour gestures of the same view off, so each
// start and stop re-arms the gestures.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class VizoWheelZoom : public QObject
{
    Q_OBJECT
public:
    static constexpr int kStopDelayMs = 400;

    // `sendZoom` gets 0 (start in), 1 (start out) or 2 (stop); `changed` is
    // called when a burst starts or ends, to re-arm the gestures.
    VizoWheelZoom(std::function<void(int action)> sendZoom, std::function<void()> changed,
                  QObject *parent = nullptr);

    // One wheel event, `notches` = vertical delta in wheel notches; parts
    // of a notch add up until they make a whole one.
    void wheel(double notches);
    bool running() const { return m_timer.isActive(); }
    void setStopDelay(int ms) { m_stopDelayMs = ms; }

private:
    void fire();

    std::function<void(int)> m_sendZoom;
    std::function<void()> m_changed;
    QTimer m_timer;
    int m_stopDelayMs = kStopDelayMs;
    double m_pending = 0.0;
    QElapsedTimer m_pendingSince;
};
