#include "AutoScrollPositionController.h"

#include "kit/AppContext.h"

#include "PageSupport.h"

#include "protocol/VizoCommands.h"

#include <QKeyEvent>

AutoScrollStartPositionController::AutoScrollStartPositionController(AppContext &app, QWidget *parent)
    : CameraStepView(app, parent)
{
    setObjectName(QStringLiteral("AutoScrollStartPositionController"));
}

AutoScrollEndPositionController::AutoScrollEndPositionController(AppContext &app, QWidget *parent)
    : CameraStepView(app, parent)
{
    setObjectName(QStringLiteral("AutoScrollEndPositionController"));
}

AutoScrollPositionController::AutoScrollPositionController(AppContext &app, QWidget *parent)
    : ModalWindowController(app, parent)
{
    setObjectName(QStringLiteral("AutoScrollPositionController"));
    setIsFullSize(true);
    setFocusPolicy(Qt::StrongFocus);
    m_startPositionController = new AutoScrollStartPositionController(context(), this);
    m_endPositionController = new AutoScrollEndPositionController(context(), this);
    m_endPositionController->hide();
}

CameraStepView *AutoScrollPositionController::visibleStep() const
{
    if (m_endPositionController->isHidden())
        return m_startPositionController;
    return m_endPositionController;
}

void AutoScrollPositionController::windowDidLoad()
{
    ModalWindowController::windowDidLoad();
    m_startPositionController->setGeometry(rect());
    m_endPositionController->setGeometry(rect());
    m_startPositionController->placeCaptureView(captureView());
    m_startPositionController->setTitle(
        PageSupport::optionText(context(), "AutoScroll.ScrollRange.StartPositionPage.Title",
                                QStringLiteral("Scroll range: move to the start position")));
    m_endPositionController->setTitle(
        PageSupport::optionText(context(), "AutoScroll.ScrollRange.EndPositionPage.Title",
                                QStringLiteral("Scroll range: move to the end position")));
    setWindowTitle(m_startPositionController->title());

    m_startPositionController->eventOK = [this] { startOK(); };
    m_endPositionController->eventOK = [this] { endOK(); };
    m_startPositionController->eventCancel = [this] { cancel(); };
    m_endPositionController->eventCancel = [this] { cancel(); };
    context().writeVizoPacket(VizoCmd::AutoScrollStartPosition().payload());
}

void AutoScrollPositionController::resizeEvent(QResizeEvent *)
{
    m_startPositionController->setGeometry(rect());
    m_endPositionController->setGeometry(rect());
}

void AutoScrollPositionController::startOK()
{
    if (isClosed() || visibleStep() != m_startPositionController)
        return;
    m_moveKeys.stopIfMoving();
    m_endPositionController->show();
    m_startPositionController->hide();
    m_endPositionController->placeCaptureView(captureView());
    setWindowTitle(m_endPositionController->title());
    context().writeVizoPacket(VizoCmd::AutoScrollEndPosition().payload());
}

void AutoScrollPositionController::endOK()
{
    if (isClosed())
        return;
    m_moveKeys.stopIfMoving();
    context().writeVizoPacket(VizoCmd::AutoScrollRangeConfirm().payload());
    m_confirmed = true;
    closeWindow();
}

void AutoScrollPositionController::cancel()
{
    if (isClosed())
        return;
    m_moveKeys.stopIfMoving();
    context().writeVizoPacket(VizoCmd::AutoScrollRangeCancel().payload());
    closeWindow();
}

void AutoScrollPositionController::onReturnKeyDown()
{
    visibleStep()->onOK();
}

void AutoScrollPositionController::onEscKeyDown()
{
    visibleStep()->onCancel();
}

void AutoScrollPositionController::onBackspaceKeyDown()
{
    visibleStep()->onCancel();
}

void AutoScrollPositionController::enableHotKeys()
{
    setEnableHotKeyReturn(true);
    setEnableHotKeyEsc(true);
    setEnableHotKeyBackspace(true);
}

void AutoScrollPositionController::closeUI()
{
    if (isWindowLoaded() && !isClosed())
        cancel();
}

void AutoScrollPositionController::keyPressEvent(QKeyEvent *event)
{
    if (m_moveKeys.keyPressed(event))
        event->accept();
    else
        ModalWindowController::keyPressEvent(event);
}

void AutoScrollPositionController::keyReleaseEvent(QKeyEvent *event)
{
    if (m_moveKeys.keyReleased(event))
        event->accept();
    else
        ModalWindowController::keyReleaseEvent(event);
}
