#include "kit/MouseGestureRecognizer.h"

#include <bramble/BrDispatch.h>

#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

#include <QWidget>

#include <cmath>
#include <numbers>

MouseGestureRecognizer::~MouseGestureRecognizer() = default;

bool MouseGestureRecognizer::insideDragArea(QWidget *view, QPointF point)
{
    const double width = view ? view->width() : 0.0;
    return point.x() >= kDeadZone && point.x() <= width - kDeadZone;
}

bool MouseGestureRecognizer::isKeyFlagsOK(Qt::KeyboardModifiers modifiers) const
{
    if (commandKey && !(modifiers & Qt::ControlModifier))
        return false;
    if (optionKey && !(modifiers & Qt::AltModifier))
        return false;
    if (controlKey && !(modifiers & Qt::MetaModifier))
        return false;
    if (shiftKey && !(modifiers & Qt::ShiftModifier))
        return false;
    return true;
}

bool MouseGestureRecognizer::isKeyFlagsOK(const MouseGestureEvent &event) const
{
    return isKeyFlagsOK(event.modifiers);
}

double MouseGestureRecognizer::angleBetween(QPointF start, QPointF current)
{
    const double dx = current.x() - start.x();
    const double dy = current.y() - start.y();
    return std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
}

double MouseGestureRecognizer::distanceBetween(QPointF start, QPointF current)
{
    const double dx = current.x() - start.x();
    const double dy = current.y() - start.y();
    return std::sqrt(dx * dx + dy * dy);
}

int MouseGestureRecognizer::directionForAngle(double a)
{
    if (a > 67.5 && a < 112.5)
        return Up;
    if (a > -112.5 && a < -67.5)
        return Down;
    if (a > 157.5 || a < -157.5)
        return Left;
    if (a > -22.5 && a < 22.5)
        return Right;
    if (a >= 112.5 && a <= 157.5)
        return UpLeft;
    if (a >= 22.5 && a <= 67.5)
        return UpRight;
    if (a >= -157.5 && a <= -112.5)
        return DownLeft;
    return DownRight;
}

void MouseGestureRecognizer::mouseDown(QWidget *, const MouseGestureEvent &event)
{
    ptStart = event.position;
}

void MouseGestureRecognizer::mouseDragged(QWidget *, const MouseGestureEvent &) {}

void MouseGestureRecognizer::mouseUp(QWidget *, const MouseGestureEvent &event)
{
    ptCurrent = event.position;
    if (distanceBetween(ptStart, ptCurrent) < kClickSlop && eventLeftButtonClicked)
        eventLeftButtonClicked(event);
}

void MouseGestureRecognizer::rightMouseDown(QWidget *, const MouseGestureEvent &event)
{
    ptStart = event.position;
}

void MouseGestureRecognizer::rightMouseDragged(QWidget *, const MouseGestureEvent &) {}

void MouseGestureRecognizer::rightMouseUp(QWidget *, const MouseGestureEvent &event)
{
    ptCurrent = event.position;
    if (distanceBetween(ptStart, ptCurrent) < kClickSlop && eventRightButtonClicked)
        eventRightButtonClicked(event);
}

void MouseGestureRecognizer::scrollWheel(QWidget *, const MouseGestureEvent &event)
{
    if (eventScrollWheel)
        eventScrollWheel(event);
}

void MouseGestureRecognizer::mouseDown(QWidget *view, const QMouseEvent &event)
{
    mouseDown(view, MouseGestureEvent::fromMouse(event));
}

void MouseGestureRecognizer::mouseDragged(QWidget *view, const QMouseEvent &event)
{
    mouseDragged(view, MouseGestureEvent::fromMouse(event));
}

void MouseGestureRecognizer::mouseUp(QWidget *view, const QMouseEvent &event)
{
    mouseUp(view, MouseGestureEvent::fromMouse(event));
}

void MouseGestureRecognizer::rightMouseDown(QWidget *view, const QMouseEvent &event)
{
    rightMouseDown(view, MouseGestureEvent::fromMouse(event));
}

void MouseGestureRecognizer::rightMouseDragged(QWidget *view, const QMouseEvent &event)
{
    rightMouseDragged(view, MouseGestureEvent::fromMouse(event));
}

void MouseGestureRecognizer::rightMouseUp(QWidget *view, const QMouseEvent &event)
{
    rightMouseUp(view, MouseGestureEvent::fromMouse(event));
}

void MouseGestureRecognizer::scrollWheel(QWidget *view, const QWheelEvent &event)
{
    scrollWheel(view, MouseGestureEvent::fromWheel(event));
}

void MouseGestureRecognizer::deliver(const Table &table, PictureEvent kind, QWidget *view, const QInputEvent &event,
                                     QObject *context)
{
    // A plain copy, taken now: Qt's event objects share their points with
    // later events and do not outlive this call.
    const MouseGestureEvent value = kind == PictureEvent::ScrollWheel
        ? MouseGestureEvent::fromWheel(view, static_cast<const QWheelEvent &>(event))
        : MouseGestureEvent::fromMouse(view, static_cast<const QMouseEvent &>(event));
    QPointer<QWidget> target(view);
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        std::shared_ptr<MouseGestureRecognizer> recognizer = it.value();
        if (!recognizer || !recognizer->enabled)
            continue;
        brPostMain([recognizer, target, kind, value] {
            QWidget *v = target.data();
            switch (kind) {
            case PictureEvent::MouseDown: recognizer->mouseDown(v, value); break;
            case PictureEvent::MouseDragged: recognizer->mouseDragged(v, value); break;
            case PictureEvent::MouseUp: recognizer->mouseUp(v, value); break;
            case PictureEvent::RightMouseDown: recognizer->rightMouseDown(v, value); break;
            case PictureEvent::RightMouseDragged: recognizer->rightMouseDragged(v, value); break;
            case PictureEvent::RightMouseUp: recognizer->rightMouseUp(v, value); break;
            case PictureEvent::ScrollWheel: recognizer->scrollWheel(v, value); break;
            }
        }, context);
    }
}
