#include <lumen/LumenCaptureView.h>

#include "LumenCpuCanvas.h"
#include "LumenFrameSlot.h"
#include "LumenGlCanvas.h"
#include "LumenLog.h"
#include "LumenShmCanvas.h"

#include <lumen/LumenPreviewLayer.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWheelEvent>

namespace {

// A software rasterizer does everything the CPU canvas does and then
// composes and copies the window once more: measured slower at 1080p.
bool softwareRenderer(QOpenGLContext &context)
{
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return true;
    const QByteArray renderer =
        reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    context.doneCurrent();
    qCDebug(lcLumen) << "OpenGL renderer:" << renderer;
    const QByteArray lower = renderer.toLower();
    return lower.contains("llvmpipe") || lower.contains("softpipe") ||
           lower.contains("swrast") || lower.contains("software");
}

// Hardware OpenGL goes through a DRM device node (or NVIDIA's own). Without
// one, OpenGL could only be a software rasterizer, which is slower than the
// CPU canvas; and probing it would load a software driver that stays in
// memory for nothing (about 50 MB).
bool hasGpuDevice()
{
    const QStringList nodes =
        QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*"), QStringLiteral("card*")},
                                                   QDir::System);
    return !nodes.isEmpty() || QFileInfo::exists(QStringLiteral("/dev/nvidia0"));
}

QByteArray forcedRenderer()
{
    return qgetenv("LUMEN_RENDERER").toLower();
}

// OpenGL with a hardware renderer unless told otherwise
// (LUMEN_RENDERER=gl|cpu|painter); the CPU on platforms without a screen,
// with a software rasterizer, or when no context can be made at all.
bool wantOpenGL()
{
    const QByteArray forced = forcedRenderer();
    if (forced == "cpu" || forced == "painter")
        return false;
    if (forced != "gl") {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
            return false;
    }
    if (forced != "gl" && !hasGpuDevice()) {
        qCInfo(lcLumen) << "no graphics device: drawing the picture on the CPU";
        return false;
    }
    QOpenGLContext probe;
    if (!probe.create()) {
        qCInfo(lcLumen) << "no OpenGL context: drawing the picture on the CPU";
        return false;
    }
    if (forced != "gl" && softwareRenderer(probe)) {
        qCInfo(lcLumen) << "OpenGL renders in software here: drawing the picture on the CPU";
        return false;
    }
    return true;
}

} // namespace

LumenCaptureView::LumenCaptureView(std::shared_ptr<LumenFrameSlot> slot, QWidget *parent)
    : QWidget(parent), m_slot(std::move(slot)), m_layer(new LumenPreviewLayer(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(1, 1);

    if (wantOpenGL()) {
        auto *gl = new LumenGlCanvas(m_slot, m_layer, this);
        connect(gl, &LumenGlCanvas::failed, this, &LumenCaptureView::fallBackToCpu,
                Qt::QueuedConnection);
        useCanvas(gl);
    } else {
        useCanvas(cpuCanvas());
    }
    connect(m_layer, &LumenPreviewLayer::videoGravityChanged, this,
            [this] { m_canvasWidget->update(); });

    m_slot->setPresented([this](std::uint64_t, std::int64_t arrivalNs) {
        emit framePresented(LumenFrame::nowNs() - arrivalNs);
    });

    // Publishers run on the capture thread: post to the view, never draw
    // from there. A call posted to a view that is gone is dropped.
    m_slot->setWake([this] {
        QMetaObject::invokeMethod(
            this, [this] { m_canvas->frameAvailable(); }, Qt::QueuedConnection);
    });
}

LumenCaptureView::~LumenCaptureView()
{
    // After this returns no publisher can reach this view any more.
    m_slot->setWake(nullptr);
    m_slot->setPresented(nullptr);
}

void LumenCaptureView::useCanvas(LumenCanvas *canvas)
{
    QWidget *old = m_canvasWidget;
    m_canvas = canvas;
    m_canvasWidget = canvas->widget();
    m_canvasWidget->setGeometry(rect());
    m_canvasWidget->show();
    if (old)
        old->deleteLater();
}

// On X11 the picture goes to the server through shared memory, which
// skips Qt's paint pass and backing store; QPainter everywhere else
// (LUMEN_RENDERER=painter forces it).
LumenCanvas *LumenCaptureView::cpuCanvas()
{
    if (forcedRenderer() != "painter" && QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (LumenShmCanvas *shm = LumenShmCanvas::create(m_slot, m_layer, this)) {
            connect(shm, &LumenShmCanvas::failed, this, &LumenCaptureView::fallBackToPainter,
                    Qt::QueuedConnection);
            return shm;
        }
        qCInfo(lcLumen) << "no shared-memory images on this display: drawing with QPainter";
    }
    return new LumenCpuCanvas(m_slot, m_layer, this);
}

void LumenCaptureView::fallBackToCpu()
{
    if (!m_canvas || !m_canvas->usesOpenGL())
        return;
    qCWarning(lcLumen) << "OpenGL is not usable here: drawing the picture on the CPU";
    useCanvas(cpuCanvas());
    m_canvasWidget->update();
}

void LumenCaptureView::fallBackToPainter()
{
    if (!qobject_cast<LumenShmCanvas *>(m_canvasWidget))
        return;
    qCWarning(lcLumen) << "shared-memory images failed: drawing the picture with QPainter";
    useCanvas(new LumenCpuCanvas(m_slot, m_layer, this));
    m_canvasWidget->update();
}

QString LumenCaptureView::rendererName() const
{
    return m_canvas ? m_canvas->name() : QString();
}

bool LumenCaptureView::usesOpenGL() const
{
    return m_canvas && m_canvas->usesOpenGL();
}

void LumenCaptureView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_canvasWidget->setGeometry(rect());
}

void LumenCaptureView::mousePressEvent(QMouseEvent *event)
{
    const MouseHandler &handler = event->button() == Qt::RightButton ? m_rightMouseDown
                                  : event->button() == Qt::LeftButton ? m_mouseDown
                                                                       : MouseHandler();
    if (handler)
        handler(this, event);
    event->accept();
}

void LumenCaptureView::mouseMoveEvent(QMouseEvent *event)
{
    // Only drags are reported: the view does not track a bare mouse.
    if ((event->buttons() & Qt::LeftButton) && m_mouseDragged)
        m_mouseDragged(this, event);
    if ((event->buttons() & Qt::RightButton) && m_rightMouseDragged)
        m_rightMouseDragged(this, event);
    event->accept();
}

void LumenCaptureView::mouseReleaseEvent(QMouseEvent *event)
{
    const MouseHandler &handler = event->button() == Qt::RightButton ? m_rightMouseUp
                                  : event->button() == Qt::LeftButton ? m_mouseUp
                                                                       : MouseHandler();
    if (handler)
        handler(this, event);
    event->accept();
}

void LumenCaptureView::wheelEvent(QWheelEvent *event)
{
    if (m_scrollWheel)
        m_scrollWheel(this, event);
    event->accept();
}
