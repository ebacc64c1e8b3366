#pragma once
// The base mouse gesture recognizer: clicks of either button (down and up
// less than 10 points apart) and scroll-wheel events passed on. Armed
// recognizers get every mouse event of the camera picture; they are called
// on the main thread only.
#include "kit/MouseGestureEvent.h"

#include <QPointF>
#include <Qt>

#include <QHash>
#include <QString>

#include <functional>
#include <memory>

class QInputEvent;
class QObject;
class QWidget;

class MouseGestureRecognizer
{
public:
    virtual ~MouseGestureRecognizer();

    // Direction codes of a drag, as the device takes them.
    enum Direction {
        Up = 0,
        Down = 1,
        Left = 2,
        Right = 3,
        UpLeft = 4,
        UpRight = 5,
        DownLeft = 6,
        DownRight = 7,
        None = 10,
    };
    // Drags shorter than this do nothing; presses this close to the left or
    // right edge of the view start no drag.
    static constexpr double kDeadZone = 52.0;
    static constexpr double kClickSlop = 10.0;

    QPointF ptStart;
    QPointF ptCurrent;
    bool enabled = false;
    // Modifiers that must be held (none in this application).
    bool commandKey = false; // Ctrl
    bool optionKey = false;  // Alt
    bool controlKey = false; // Meta
    bool shiftKey = false;

    std::function<void(const MouseGestureEvent &)> eventLeftButtonClicked;
    std::function<void(const MouseGestureEvent &)> eventRightButtonClicked;
    std::function<void(const MouseGestureEvent &)> eventScrollWheel;

    // `view` is the view that delivered the event (its width bounds drags).
    virtual void mouseDown(QWidget *view, const MouseGestureEvent &event);
    virtual void mouseDragged(QWidget *view, const MouseGestureEvent &event);
    virtual void mouseUp(QWidget *view, const MouseGestureEvent &event);
    virtual void rightMouseDown(QWidget *view, const MouseGestureEvent &event);
    virtual void rightMouseDragged(QWidget *view, const MouseGestureEvent &event);
    virtual void rightMouseUp(QWidget *view, const MouseGestureEvent &event);
    virtual void scrollWheel(QWidget *view, const MouseGestureEvent &event);

    // The same for Qt's events as the capture view reports them (positions
    // in the view's coordinates). A copy of a Qt event posted for later
    // keeps its position but not its window and screen positions.
    void mouseDown(QWidget *view, const QMouseEvent &event);
    void mouseDragged(QWidget *view, const QMouseEvent &event);
    void mouseUp(QWidget *view, const QMouseEvent &event);
    void rightMouseDown(QWidget *view, const QMouseEvent &event);
    void rightMouseDragged(QWidget *view, const QMouseEvent &event);
    void rightMouseUp(QWidget *view, const QMouseEvent &event);
    void scrollWheel(QWidget *view, const QWheelEvent &event);

    bool isKeyFlagsOK(const MouseGestureEvent &event) const;
    bool isKeyFlagsOK(Qt::KeyboardModifiers modifiers) const;

    // atan2(-dy, dx) in degrees, mapped onto the eight sectors.
    static int directionForAngle(double degrees);
    static double angleBetween(QPointF start, QPointF current);
    static double distanceBetween(QPointF start, QPointF current);

    // The seven mouse events of the camera picture.
    enum class PictureEvent {
        MouseDown,
        MouseDragged,
        MouseUp,
        RightMouseDown,
        RightMouseDragged,
        RightMouseUp,
        ScrollWheel,
    };
    using Table = QHash<QString, std::shared_ptr<MouseGestureRecognizer>>;
    // Posts one call per enabled recognizer of `table` with a copy of
    // `event` (a wheel event for ScrollWheel, a mouse event otherwise),
    // dropped if `context` is gone by then.
    static void deliver(const Table &table, PictureEvent kind, QWidget *view, const QInputEvent &event,
                        QObject *context);

protected:
    // A press far enough from the view's left and right edges to start a drag.
    static bool insideDragArea(QWidget *view, QPointF point);
};
