#include "kit/MouseGestureEvent.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace {

QPointF inView(QWidget *view, const QSinglePointEvent &event)
{
    // The event may come from a child of the delivering view: go through
    // the window so the point is always in the delivering view's coordinates.
    if (view && view->window())
        return view->mapFrom(view->window(), event.scenePosition());
    return event.position();
}

} // namespace

MouseGestureEvent MouseGestureEvent::fromMouse(QWidget *view, const QMouseEvent &event)
{
    MouseGestureEvent out;
    out.position = inView(view, event);
    out.button = event.button();
    out.modifiers = event.modifiers();
    return out;
}

MouseGestureEvent MouseGestureEvent::fromWheel(QWidget *view, const QWheelEvent &event)
{
    MouseGestureEvent out;
    out.position = inView(view, event);
    out.modifiers = event.modifiers();
    out.angleDelta = event.angleDelta();
    return out;
}

MouseGestureEvent MouseGestureEvent::fromMouse(const QMouseEvent &event)
{
    MouseGestureEvent out;
    out.position = event.position();
    out.button = event.button();
    out.modifiers = event.modifiers();
    return out;
}

MouseGestureEvent MouseGestureEvent::fromWheel(const QWheelEvent &event)
{
    MouseGestureEvent out;
    out.position = event.position();
    out.modifiers = event.modifiers();
    out.angleDelta = event.angleDelta();
    return out;
}
