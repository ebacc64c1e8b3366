#include "input/CameraMoveGestureRecognizer.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

void CameraMoveGestureRecognizer::mouseDown(QWidget *view, const MouseGestureEvent &event)
{
    const QPointF point = event.position;
    if (!isKeyFlagsOK(event) || !insideDragArea(view, point))
        return;
    isDraggingMode = true;
    currentDirection = None;
    newDirection = None;
    currentLevel = -1;
    newLevel = -1;
    ptStart = point;
    ptCurrent = point;
}

void CameraMoveGestureRecognizer::mouseDragged(QWidget *, const MouseGestureEvent &event)
{
    if (!isKeyFlagsOK(event)) {
        if (isDraggingMode)
            endDrag();
        return;
    }
    if (!isDraggingMode)
        return;
    ptCurrent = event.position;
    processDirectionWithStartPoint(ptStart, ptCurrent);
}

void CameraMoveGestureRecognizer::mouseUp(QWidget *, const MouseGestureEvent &)
{
    if (isDraggingMode)
        endDrag();
}

void CameraMoveGestureRecognizer::endDrag()
{
    isDraggingMode = false;
    if (currentDirection != None)
        fireDirectionChanged(None);
    currentDirection = None;
}

void CameraMoveGestureRecognizer::processDirectionWithStartPoint(QPointF start, QPointF current)
{
    const double distance = distanceBetween(start, current);
    if (distance < kDeadZone)
        return;
    newLevel = calcLevel(distance);
    newDirection = directionForAngle(angleBetween(start, current));
    if (newDirection != currentDirection) {
        if (currentDirection != None)
            fireDirectionChanged(None);
        currentDirection = newDirection;
        fireDirectionChanged(currentDirection);
    }
    if (newLevel != currentLevel) {
        currentLevel = newLevel;
        fireDistanceLevelChanged(currentLevel);
    }
}

int CameraMoveGestureRecognizer::calcLevel(double distance) const
{
    QRectF frame;
    if (visibleFrame) {
        frame = visibleFrame();
    } else if (QScreen *screen = QGuiApplication::primaryScreen()) {
        frame = screen->availableGeometry();
    }
    const double unit = std::min(frame.width(), frame.height()) / 3.0;
    if (distance > 2.0 * unit)
        return 2;
    if (distance > unit)
        return 1;
    return 0;
}

void CameraMoveGestureRecognizer::fireDirectionChanged(int direction)
{
    if (eventDirectionChanged)
        eventDirectionChanged(direction);
}

void CameraMoveGestureRecognizer::fireDistanceLevelChanged(int level)
{
    if (eventDistanceLevelChanged)
        eventDistanceLevelChanged(level);
}
