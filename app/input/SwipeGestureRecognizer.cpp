#include "input/SwipeGestureRecognizer.h"

void SwipeGestureRecognizer::mouseDown(QWidget *view, const MouseGestureEvent &event)
{
    const QPointF point = event.position;
    if (!isKeyFlagsOK(event) || !insideDragArea(view, point))
        return;
    isDraggingMode = true;
    ptStart = point;
}

void SwipeGestureRecognizer::mouseDragged(QWidget *, const MouseGestureEvent &event)
{
    if (!isKeyFlagsOK(event))
        isDraggingMode = false;
}

void SwipeGestureRecognizer::mouseUp(QWidget *, const MouseGestureEvent &event)
{
    if (!isDraggingMode)
        return;
    isDraggingMode = false;
    ptCurrent = event.position;
    processDirectionWithStartPoint(ptStart, ptCurrent);
}

void SwipeGestureRecognizer::processDirectionWithStartPoint(QPointF start, QPointF current)
{
    const double distance = distanceBetween(start, current);
    if (distance < kDeadZone)
        return;
    const std::function<void(double)> *block = nullptr;
    switch (directionForAngle(angleBetween(start, current))) {
    case Up:
        block = &eventSwipeUp;
        break;
    case Down:
        block = &eventSwipeDown;
        break;
    case Left:
        block = &eventSwipeLeft;
        break;
    case Right:
        block = &eventSwipeRight;
        break;
    case UpLeft:
        block = &eventSwipeUpLeft;
        break;
    case UpRight:
        block = &eventSwipeUpRight;
        break;
    case DownLeft:
        block = &eventSwipeDownLeft;
        break;
    default:
        block = &eventSwipeDownRight;
        break;
    }
    if (*block)
        (*block)(distance);
}
