#include "CameraPageController.h"

#include "kit/AppContext.h"

#include "CameraStepView.h"

#include <QLabel>

CameraPageController::CameraPageController(AppContext &app, QWidget *parent) : ModalWindowController(app, parent)
{
    setIsFullSize(true);
    setFocusPolicy(Qt::StrongFocus);
    m_step = new CameraStepView(context(), this);
    m_step->eventOK = [this] { onOK(); };
    m_step->eventCancel = [this] { onCancel(); };
}

QLabel *CameraPageController::labelHeader() const
{
    return m_step->labelHeader();
}

QWidget *CameraPageController::headerBackgroundView() const
{
    return m_step->headerBackgroundView();
}

QWidget *CameraPageController::captureViewContainer() const
{
    return m_step->captureViewContainer();
}

void CameraPageController::windowDidLoad()
{
    ModalWindowController::windowDidLoad();
    m_step->setTitle(title());
    setWindowTitle(title());
    m_step->setGeometry(rect());
    m_step->placeCaptureView(captureView());
}

void CameraPageController::resizeEvent(QResizeEvent *)
{
    m_step->setGeometry(rect());
}

void CameraPageController::enableHotKeys()
{
    setEnableHotKeyReturn(true);
    setEnableHotKeyEsc(true);
    setEnableHotKeyBackspace(true);
}

void CameraPageController::closeUI()
{
    if (isWindowLoaded() && !isClosed())
        onCancel();
}
