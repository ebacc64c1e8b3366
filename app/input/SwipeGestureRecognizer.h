#pragma once
// One swipe per left-button drag, reported at the release by the sector of
// the whole drag, if it is at least as long as the dead zone.
#include "kit/MouseGestureRecognizer.h"

class SwipeGestureRecognizer : public MouseGestureRecognizer
{
public:
    bool isDraggingMode = false;

    // Each takes the swipe's length in points.
    std::function<void(double)> eventSwipeUp;
    std::function<void(double)> eventSwipeDown;
    std::function<void(double)> eventSwipeLeft;
    std::function<void(double)> eventSwipeRight;
    std::function<void(double)> eventSwipeUpLeft;
    std::function<void(double)> eventSwipeUpRight;
    std::function<void(double)> eventSwipeDownLeft;
    std::function<void(double)> eventSwipeDownRight;

    using MouseGestureRecognizer::mouseDown;
    using MouseGestureRecognizer::mouseDragged;
    using MouseGestureRecognizer::mouseUp;
    void mouseDown(QWidget *view, const MouseGestureEvent &event) override;
    void mouseDragged(QWidget *view, const MouseGestureEvent &event) override;
    void mouseUp(QWidget *view, const MouseGestureEvent &event) override;

    void processDirectionWithStartPoint(QPointF start, QPointF current);
};
