#include "CapturePicture.h"

#include "MainWindowController.h"
#include "NoPictureView.h"

#include <lumen/LumenViewController.h>

#include <QLoggingCategory>
#include <QMouseEvent>
#include <QWheelEvent>

Q_LOGGING_CATEGORY(lcPicture, "vizo.app", QtWarningMsg)

CapturePicture::CapturePicture(MainWindowController &window, MouseHandler onMouse, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_onMouse(std::move(onMouse))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(300);
    // The camera's serial port and its video device are announced apart,
    // in either order and sometimes well apart.
    connect(&m_videoNodes, &VizoUdevMonitor::changed, this, [this](bool added) {
        if (added)
            m_retry.start();
    });
    connect(&m_retry, &QTimer::timeout, this, &CapturePicture::retry);
}

CapturePicture::~CapturePicture()
{
    tearDown();
}

QWidget *CapturePicture::view() const
{
    if (m_controller)
        return m_controller->captureView();
    return m_notice.data();
}

QString CapturePicture::setUp(std::shared_ptr<LumenFrameFeed> feed, const QString &cameraName)
{
    if (isSetUp())
        return {};
    const QString reason = showPicture(feed, cameraName);
    // A camera's video device may not be there yet: watch for it.
    if (!reason.isEmpty() && !feed) {
        m_cameraName = cameraName;
        if (!m_videoNodes.start())
            qCInfo(lcPicture) << "cannot watch for video devices: the picture needs the next plug";
    }
    return reason;
}

void CapturePicture::retry()
{
    if (!m_notice || m_controller)
        return;
    delete m_notice;
    m_window.setCaptureView(nullptr);
    if (showPicture(nullptr, m_cameraName).isEmpty())
        m_videoNodes.stop();
    emit pictureChanged();
}

QString CapturePicture::showPicture(std::shared_ptr<LumenFrameFeed> feed, const QString &cameraName)
{
    QWidget *container = m_window.captureViewContainer();
    try {
        if (feed)
            m_controller = std::make_unique<LumenViewController>(std::move(feed));
        else
            m_controller = std::make_unique<LumenViewController>(cameraName, QString());
    } catch (const LumenError &error) {
        const QString reason = error.reason();
        qCWarning(lcPicture) << "no camera picture:" << reason;
        // The mouse over the notice drives the device all the same.
        auto *notice = new NoPictureView(reason, container);
        notice->setGeometry(container->rect());
        notice->show();
        QPointer<CapturePicture> self(this);
        notice->eventMouse = [self](NoPictureView::Event kind, QWidget *v, const QInputEvent &event) {
            if (self && self->m_onMouse)
                self->m_onMouse(MouseEvent(int(kind)), v, event);
        };
        m_notice = notice;
        m_window.setCaptureView(notice);
        return reason;
    }
    // The root view is the capture view itself.
    LumenCaptureView *picture = m_controller->captureView();
    picture->setParent(container);
    m_controller->view()->setGeometry(container->rect());
    picture->show();
    m_controller->setEventSetupVideoPreview(
        [](LumenPreviewLayer *layer) { layer->setVideoGravity(LumenVideoGravity::Resize); });
    m_window.setCaptureView(picture);
    installMouseHandlers();
    return {};
}

void CapturePicture::installMouseHandlers()
{
    LumenCaptureView *picture = m_controller->captureView();
    QPointer<CapturePicture> self(this);
    auto handler = [self](MouseEvent kind) {
        return [self, kind](LumenCaptureView *view, QMouseEvent *event) {
            if (self && self->m_onMouse)
                self->m_onMouse(kind, view, *event);
        };
    };
    picture->setEventMouseDown(handler(MouseEvent::MouseDown));
    picture->setEventMouseDragged(handler(MouseEvent::MouseDragged));
    picture->setEventMouseUp(handler(MouseEvent::MouseUp));
    picture->setEventRightMouseDown(handler(MouseEvent::RightMouseDown));
    picture->setEventRightMouseDragged(handler(MouseEvent::RightMouseDragged));
    picture->setEventRightMouseUp(handler(MouseEvent::RightMouseUp));
    picture->setEventScrollWheel([self](LumenCaptureView *view, QWheelEvent *event) {
        if (self && self->m_onMouse)
            self->m_onMouse(MouseEvent::ScrollWheel, view, *event);
    });
}

void CapturePicture::stopRunning()
{
    if (m_controller)
        m_controller->session()->stopRunning();
}

void CapturePicture::tearDown()
{
    m_videoNodes.stop();
    m_retry.stop();
    if (m_controller) {
        m_controller->session()->stopRunning();
        delete m_controller->captureView();
        m_controller.reset();
    }
    delete m_notice;
    m_window.setCaptureView(nullptr);
}
