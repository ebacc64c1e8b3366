#include "input/VizoGestureMap.h"

#include "input/CameraMoveGestureRecognizer.h"
#include "kit/MouseGestureRecognizer.h"
#include "input/SwipeGestureRecognizer.h"
#include "input/VizoInputCommands.h"
#include "input/VizoInputNames.h"
#include "input/VizoMouseGestureRules.h"

#include <bramble/BrDispatch.h>
#include <lumen/LumenCaptureView.h>

#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>

namespace cmd = VizoInputCommands;

VizoGestureMap::VizoGestureMap(VizoInputContext &context, QObject *parent)
    : QObject(parent), m_context(context)
{
    VizoInputContext *c = &m_context;
    auto rearm = [c] { c->updateMouseGestures(); };
    m_cameraZoom = std::make_unique<VizoWheelZoom>(
        [c](int action) { c->send(cmd::cameraZoom(action)); }, rearm);
    m_imageZoom = std::make_unique<VizoWheelZoom>(
        [c](int action) { c->send(cmd::imageZoom(action)); }, rearm);
    m_ocrZoom =
        std::make_unique<VizoWheelZoom>([c](int action) { c->send(cmd::ocrZoom(action)); }, rearm);
}

VizoGestureMap::~VizoGestureMap()
{
    // Recognizers shared with others outlive this map: leave them disarmed
    // and without blocks, which refer to the context and the zoom timers.
    for (const auto &r : m_recognizers) {
        r->enabled = false;
        r->eventLeftButtonClicked = {};
        r->eventRightButtonClicked = {};
        r->eventScrollWheel = {};
        if (auto *move = dynamic_cast<CameraMoveGestureRecognizer *>(r.get())) {
            move->eventDirectionChanged = {};
            move->eventDistanceLevelChanged = {};
        } else if (auto *swipe = dynamic_cast<SwipeGestureRecognizer *>(r.get())) {
            *swipe = SwipeGestureRecognizer();
        }
    }
}

void VizoGestureMap::setupMouseGestures()
{
    m_names.clear();
    m_recognizers.clear();
    VizoInputContext *c = &m_context;

    auto add = [this](const QString &name, std::shared_ptr<MouseGestureRecognizer> recognizer) {
        m_names.append(name);
        m_recognizers.push_back(std::move(recognizer));
    };
    auto clicks = [](std::function<void()> left, std::function<void()> right) {
        auto r = std::make_unique<MouseGestureRecognizer>();
        if (left)
            r->eventLeftButtonClicked = [left](const MouseGestureEvent &) { left(); };
        if (right)
            r->eventRightButtonClicked = [right](const MouseGestureEvent &) { right(); };
        return r;
    };
    auto wheel = [](VizoWheelZoom *zoom) {
        auto r = std::make_unique<MouseGestureRecognizer>();
        r->eventScrollWheel = [zoom](const MouseGestureEvent &event) {
            zoom->wheel(event.wheelNotches());
        };
        return r;
    };
    // Markers move one step per swipe: `plus` sends MarkerAdjust 2, `minus` 3.
    auto marker = [c](bool vertical) {
        auto r = std::make_unique<SwipeGestureRecognizer>();
        auto step = [c](int action) {
            return [c, action](double) { c->send(cmd::markerAdjust(action)); };
        };
        if (vertical) {
            r->eventSwipeLeft = step(3);
            r->eventSwipeRight = step(2);
        } else {
            r->eventSwipeUp = step(2);
            r->eventSwipeDown = step(3);
        }
        return r;
    };

    const QStringList &n = VizoInputNames::mouseGestures();
    add(n[0], clicks({}, [c] {
            if (c->hooks().openMenu)
                c->hooks().openMenu();
        }));
    add(n[1], clicks({}, [c] {
            if (c->hooks().closeMenu)
                c->hooks().closeMenu();
        }));
    add(n[2], clicks({}, [c] { c->openSelectedColorSlotPage(); }));

    auto cameraMove = std::make_unique<CameraMoveGestureRecognizer>();
    cameraMove->eventDirectionChanged = [c](int d) { c->send(cmd::cameraMove(d)); };
    cameraMove->eventDistanceLevelChanged = [c](int l) { c->send(cmd::cameraMoveSpeed(l)); };
    add(n[3], std::move(cameraMove));

    auto imageMove = std::make_unique<CameraMoveGestureRecognizer>();
    imageMove->eventDirectionChanged = [c](int d) { c->send(cmd::imageMove(d)); };
    add(n[4], std::move(imageMove));

    add(n[5], marker(false));
    add(n[6], marker(true));
    add(n[7], marker(false));
    add(n[8], marker(true));

    add(n[9], clicks(
                  [c] {
                      c->send(cmd::cameraColor(0));
                      c->model().calcNextColor();
                  },
                  {}));
    add(n[10], clicks([c] { c->send(cmd::imageColor(0)); }, {}));
    add(n[11], clicks([c] { c->send(cmd::ocrColor(0)); }, {}));
    add(n[12], wheel(m_cameraZoom.get()));
    add(n[13], wheel(m_imageZoom.get()));
    add(n[14], wheel(m_ocrZoom.get()));
}

MouseGestureRecognizer *VizoGestureMap::recognizer(const QString &name) const
{
    return sharedRecognizer(name).get();
}

std::shared_ptr<MouseGestureRecognizer> VizoGestureMap::sharedRecognizer(const QString &name) const
{
    const qsizetype i = m_names.indexOf(name);
    return i < 0 ? nullptr : m_recognizers[size_t(i)];
}

void VizoGestureMap::disableAllMouseGestures()
{
    for (auto &r : m_recognizers)
        r->enabled = false;
}

QStringList VizoGestureMap::updateMouseGestures(VizoInputState state)
{
    std::vector<CameraMoveGestureRecognizer *> wereArmed;
    for (const auto &r : m_recognizers)
        if (auto *move = dynamic_cast<CameraMoveGestureRecognizer *>(r.get());
            move && move->enabled)
            wereArmed.push_back(move);
    disableAllMouseGestures();
    state.cameraZoomRunning = m_cameraZoom->running();
    state.imageZoomRunning = m_imageZoom->running();
    state.ocrZoomRunning = m_ocrZoom->running();
    const QStringList armed = VizoMouseGestureRules::armed(state);
    for (const QString &name : armed)
        if (MouseGestureRecognizer *r = recognizer(name))
            r->enabled = true;
    // A drag whose recognizer is disarmed never sees its release: stop the
    // movement now rather than let the camera run on.
    for (CameraMoveGestureRecognizer *move : wereArmed)
        if (!move->enabled && move->isDraggingMode)
            move->endDrag();
    return armed;
}

void VizoGestureMap::post(Call call, QWidget *view, const MouseGestureEvent &event)
{
    QPointer<QWidget> guardedView(view);
    for (auto &r : m_recognizers) {
        if (!r->enabled)
            continue;
        // Each armed recognizer gets its own call; it may run after the
        // recognizer was disarmed, which is how a drag ends cleanly.
        MouseGestureRecognizer *target = r.get();
        brPostMain(
            [target, call, guardedView, event] { (target->*call)(guardedView.data(), event); },
            this);
    }
}

void VizoGestureMap::mouseDown(QWidget *view, const QMouseEvent &event)
{
    post(&MouseGestureRecognizer::mouseDown, view, MouseGestureEvent::fromMouse(view, event));
}

void VizoGestureMap::mouseDragged(QWidget *view, const QMouseEvent &event)
{
    post(&MouseGestureRecognizer::mouseDragged, view, MouseGestureEvent::fromMouse(view, event));
}

void VizoGestureMap::mouseUp(QWidget *view, const QMouseEvent &event)
{
    post(&MouseGestureRecognizer::mouseUp, view, MouseGestureEvent::fromMouse(view, event));
}

void VizoGestureMap::rightMouseDown(QWidget *view, const QMouseEvent &event)
{
    post(&MouseGestureRecognizer::rightMouseDown, view, MouseGestureEvent::fromMouse(view, event));
}

void VizoGestureMap::rightMouseDragged(QWidget *view, const QMouseEvent &event)
{
    post(&MouseGestureRecognizer::rightMouseDragged, view,
         MouseGestureEvent::fromMouse(view, event));
}

void VizoGestureMap::rightMouseUp(QWidget *view, const QMouseEvent &event)
{
    post(&MouseGestureRecognizer::rightMouseUp, view, MouseGestureEvent::fromMouse(view, event));
}

void VizoGestureMap::scrollWheel(QWidget *view, const QWheelEvent &event)
{
    post(&MouseGestureRecognizer::scrollWheel, view, MouseGestureEvent::fromWheel(view, event));
}

void VizoGestureMap::installOn(LumenCaptureView *view, std::function<void()> afterMouseDown)
{
    QPointer<VizoGestureMap> self(this);
    using Handler = void (VizoGestureMap::*)(QWidget *, const QMouseEvent &);
    auto forward = [self](Handler handler) {
        return [self, handler](LumenCaptureView *v, QMouseEvent *event) {
            if (self && event)
                (self.data()->*handler)(v, *event);
        };
    };
    view->setEventMouseDown([self, afterMouseDown](LumenCaptureView *v, QMouseEvent *event) {
        if (!self || !event)
            return;
        self->mouseDown(v, *event);
        if (afterMouseDown)
            afterMouseDown();
    });
    view->setEventMouseDragged(forward(&VizoGestureMap::mouseDragged));
    view->setEventMouseUp(forward(&VizoGestureMap::mouseUp));
    view->setEventRightMouseDown(forward(&VizoGestureMap::rightMouseDown));
    view->setEventRightMouseDragged(forward(&VizoGestureMap::rightMouseDragged));
    view->setEventRightMouseUp(forward(&VizoGestureMap::rightMouseUp));
    view->setEventScrollWheel([self](LumenCaptureView *v, QWheelEvent *event) {
        if (self && event)
            self->scrollWheel(v, *event);
    });
}
