#pragma once
// Left-button drags as movement: a direction (eight sectors) and a speed
// level from the drag's length. Reports, in order: the first direction once
// the drag leaves the dead zone, then its level; a stop before every new
// direction; a new level whenever the length crosses a level boundary; a
// stop at the release.
#include "kit/MouseGestureRecognizer.h"

#include <QRectF>

class CameraMoveGestureRecognizer : public MouseGestureRecognizer
{
public:
    bool isDraggingMode = false;
    int currentDirection = None;
    int newDirection = None;
    int currentLevel = -1;
    int newLevel = -1;

    std::function<void(int direction)> eventDirectionChanged;
    std::function<void(int level)> eventDistanceLevelChanged;

    // The screen area the level unit comes from; the primary screen's
    // available geometry unless replaced.
    std::function<QRectF()> visibleFrame;

    using MouseGestureRecognizer::mouseDown;
    using MouseGestureRecognizer::mouseDragged;
    using MouseGestureRecognizer::mouseUp;
    void mouseDown(QWidget *view, const MouseGestureEvent &event) override;
    void mouseDragged(QWidget *view, const MouseGestureEvent &event) override;
    void mouseUp(QWidget *view, const MouseGestureEvent &event) override;

    void processDirectionWithStartPoint(QPointF start, QPointF current);
    int calcLevel(double distance) const;
    void fireDirectionChanged(int direction);
    void fireDistanceLevelChanged(int level);

    // Ends a drag in progress as a release would: reports the stop if a
    // direction was reported. Used when the recognizer is disarmed mid-drag,
    // since it then gets no release.
    void endDrag();
};
