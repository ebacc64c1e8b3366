#pragma once
// The view that shows the camera picture and reports the mouse over it.
//
// The application places this widget in its own windows (and may move it
// between windows); the picture follows. Handlers run on the main thread
// with this view and the event; positions are in this view's coordinates.
// An absent handler is skipped.
#include <QWidget>

#include <functional>
#include <memory>

class QMouseEvent;
class QWheelEvent;
class LumenPreviewLayer;
class LumenFrameSlot;
class LumenCanvas;

class LumenCaptureView : public QWidget
{
    Q_OBJECT
public:
    using MouseHandler = std::function<void(LumenCaptureView *, QMouseEvent *)>;
    using WheelHandler = std::function<void(LumenCaptureView *, QWheelEvent *)>;

    ~LumenCaptureView() override;

    void setEventMouseDown(MouseHandler handler) { m_mouseDown = std::move(handler); }
    void setEventMouseDragged(MouseHandler handler) { m_mouseDragged = std::move(handler); }
    void setEventMouseUp(MouseHandler handler) { m_mouseUp = std::move(handler); }
    void setEventRightMouseDown(MouseHandler handler) { m_rightMouseDown = std::move(handler); }
    void setEventRightMouseDragged(MouseHandler handler)
    {
        m_rightMouseDragged = std::move(handler);
    }
    void setEventRightMouseUp(MouseHandler handler) { m_rightMouseUp = std::move(handler); }
    void setEventScrollWheel(WheelHandler handler) { m_scrollWheel = std::move(handler); }

    const MouseHandler &eventMouseDown() const { return m_mouseDown; }
    const MouseHandler &eventMouseDragged() const { return m_mouseDragged; }
    const MouseHandler &eventMouseUp() const { return m_mouseUp; }
    const MouseHandler &eventRightMouseDown() const { return m_rightMouseDown; }
    const MouseHandler &eventRightMouseDragged() const { return m_rightMouseDragged; }
    const MouseHandler &eventRightMouseUp() const { return m_rightMouseUp; }
    const WheelHandler &eventScrollWheel() const { return m_scrollWheel; }

    LumenPreviewLayer *previewLayer() const { return m_layer; }

    // True while the picture is drawn by OpenGL (YUYV converted by a
    // shader); false on the CPU path: the `offscreen` platform, no OpenGL,
    // a software OpenGL rasterizer, or LUMEN_RENDERER=cpu in the
    // environment (LUMEN_RENDERER=gl insists on OpenGL).
    bool usesOpenGL() const;
    // How the picture is drawn, in words: "OpenGL", "X11 shared memory" or
    // "QPainter" (for logs and the benchmark).
    QString rendererName() const;

signals:
    // A new frame reached the screen (swapped, on OpenGL), arrivalToScreenNs
    // after it arrived from the camera or the program. For diagnostics.
    void framePresented(qint64 arrivalToScreenNs);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class LumenViewController;
    explicit LumenCaptureView(std::shared_ptr<LumenFrameSlot> slot, QWidget *parent = nullptr);
    void useCanvas(LumenCanvas *canvas);
    LumenCanvas *cpuCanvas();
    void fallBackToCpu();
    void fallBackToPainter();

    std::shared_ptr<LumenFrameSlot> m_slot;
    LumenPreviewLayer *m_layer = nullptr;
    LumenCanvas *m_canvas = nullptr;
    QWidget *m_canvasWidget = nullptr;

    MouseHandler m_mouseDown, m_mouseDragged, m_mouseUp;
    MouseHandler m_rightMouseDown, m_rightMouseDragged, m_rightMouseUp;
    WheelHandler m_scrollWheel;
};
