#pragma once
// The application's mouse gestures: one recognizer per named gesture, their
// actions, the three wheel zoom bursts and the delivery of the capture
// view's mouse events. Owned by the application delegate; main thread only.
#include "kit/MouseGestureEvent.h"
#include "input/VizoInputContext.h"
#include "input/VizoInputState.h"
#include "input/VizoWheelZoom.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class LumenCaptureView;
class MouseGestureRecognizer;
class QMouseEvent;
class QWheelEvent;
class QWidget;

class VizoGestureMap : public QObject
{
    Q_OBJECT
public:
    explicit VizoGestureMap(VizoInputContext &context, QObject *parent = nullptr);
    ~VizoGestureMap() override;

    // Creates the 15 recognizers with their actions, none armed.
    void setupMouseGestures();
    // Disarms everything, then arms what `state` calls for; the zoom flags
    // of `state` are taken from the bursts in progress here. Returns the
    // armed names.
    QStringList updateMouseGestures(VizoInputState state);
    void disableAllMouseGestures();

    MouseGestureRecognizer *recognizer(const QString &name) const;
    std::shared_ptr<MouseGestureRecognizer> sharedRecognizer(const QString &name) const;
    const QStringList &names() const { return m_names; }

    VizoWheelZoom *timerForCameraModeZoom() const { return m_cameraZoom.get(); }
    VizoWheelZoom *timerForImageModeZoom() const { return m_imageZoom.get(); }
    VizoWheelZoom *timerForOCRModeZoom() const { return m_ocrZoom.get(); }

    // The capture view's seven mouse handlers: each posts one call per armed
    // recognizer to the main thread, with the view and a copy of the event.
    void mouseDown(QWidget *view, const QMouseEvent &event);
    void mouseDragged(QWidget *view, const QMouseEvent &event);
    void mouseUp(QWidget *view, const QMouseEvent &event);
    void rightMouseDown(QWidget *view, const QMouseEvent &event);
    void rightMouseDragged(QWidget *view, const QMouseEvent &event);
    void rightMouseUp(QWidget *view, const QMouseEvent &event);
    void scrollWheel(QWidget *view, const QWheelEvent &event);

    // Installs the seven handlers on the capture view. `afterMouseDown`
    // runs after a left-button press has been posted (the delegate gives the
    // keyboard back to an open menu there).
    void installOn(LumenCaptureView *view, std::function<void()> afterMouseDown = {});

private:
    using Call = void (MouseGestureRecognizer::*)(QWidget *, const MouseGestureEvent &);
    void post(Call call, QWidget *view, const MouseGestureEvent &event);

    VizoInputContext &m_context;
    QStringList m_names;
    std::vector<std::shared_ptr<MouseGestureRecognizer>> m_recognizers;
    std::unique_ptr<VizoWheelZoom> m_cameraZoom;
    std::unique_ptr<VizoWheelZoom> m_imageZoom;
    std::unique_ptr<VizoWheelZoom> m_ocrZoom;
};
