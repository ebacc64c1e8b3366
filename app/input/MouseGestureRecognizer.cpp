#include "input/MouseGestureRecognizer.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>
#include <numbers>

MouseGestureRecognizer::~MouseGestureRecognizer() = default;

QPointF MouseGestureRecognizer::pointIn(QWidget *view, const QSinglePointEvent &event)
{
    // The event may come from a child of the delivering view: go through the
    // window so the point is always in the delivering view's coordinates.
    if (view && view->window())
        return view->mapFrom(view->window(), event.scenePosition());
    return event.position();
}

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

bool MouseGestureRecognizer::isKeyFlagsOK(const QMouseEvent &event) const
{
    return isKeyFlagsOK(event.modifiers());
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

void MouseGestureRecognizer::mouseDown(QWidget *view, const QMouseEvent &event)
{
    ptStart = pointIn(view, event);
}

void MouseGestureRecognizer::mouseDragged(QWidget *, const QMouseEvent &)
{
}

void MouseGestureRecognizer::mouseUp(QWidget *view, const QMouseEvent &event)
{
    ptCurrent = pointIn(view, event);
    if (distanceBetween(ptStart, ptCurrent) < kClickSlop && eventLeftButtonClicked)
        eventLeftButtonClicked(event);
}

void MouseGestureRecognizer::rightMouseDown(QWidget *view, const QMouseEvent &event)
{
    ptStart = pointIn(view, event);
}

void MouseGestureRecognizer::rightMouseDragged(QWidget *, const QMouseEvent &)
{
}

void MouseGestureRecognizer::rightMouseUp(QWidget *view, const QMouseEvent &event)
{
    ptCurrent = pointIn(view, event);
    if (distanceBetween(ptStart, ptCurrent) < kClickSlop && eventRightButtonClicked)
        eventRightButtonClicked(event);
}

void MouseGestureRecognizer::scrollWheel(QWidget *, const QWheelEvent &event)
{
    if (eventScrollWheel)
        eventScrollWheel(event);
}
