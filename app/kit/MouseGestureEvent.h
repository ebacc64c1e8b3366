#pragma once
// A mouse event as the gesture recognizers see it: a plain value taken when
// the capture view receives the event. Qt's own event objects share their
// points with later events of the same device, so a posted copy of one
// would not keep its position.
#include <QPoint>
#include <QPointF>
#include <Qt>

class QMouseEvent;
class QWheelEvent;
class QWidget;

struct MouseGestureEvent
{
    QPointF position; // in the delivering view's coordinates
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers modifiers;
    QPoint angleDelta; // wheel events only, in eighths of a degree

    // The event's location in its window, converted into `view`'s coordinates.
    static MouseGestureEvent fromMouse(QWidget *view, const QMouseEvent &event);
    static MouseGestureEvent fromWheel(QWidget *view, const QWheelEvent &event);
    // From the event's own position, taken to be in the view's coordinates.
    static MouseGestureEvent fromMouse(const QMouseEvent &event);
    static MouseGestureEvent fromWheel(const QWheelEvent &event);
    // Vertical wheel delta in notches (one notch is 120 eighths of a degree).
    double wheelNotches() const { return angleDelta.y() / 120.0; }
};
