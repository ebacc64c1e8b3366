#include "DistanceViewDirectionController.h"

#include "kit/AppContext.h"

#include "PageSupport.h"

#include "protocol/VizoCommands.h"

#include <QKeyEvent>

namespace {
enum Action : std::uint8_t { Cancel = 0, Begin = 1, Confirm = 2 };
}

DistanceViewDirectionController::DistanceViewDirectionController(AppContext &app, QWidget *parent)
    : CameraPageController(app, parent)
{
    setObjectName(QStringLiteral("DistanceViewDirectionController"));
}

QString DistanceViewDirectionController::title() const
{
    return PageSupport::optionText(context(), "DistanceViewDirection.Page.Title",
                                   QStringLiteral("Distance view direction"));
}

void DistanceViewDirectionController::windowDidLoad()
{
    CameraPageController::windowDidLoad();
    context().writeVizoPacket(VizoCmd::DistanceViewDirection(Begin).payload());
}

void DistanceViewDirectionController::keyPressEvent(QKeyEvent *event)
{
    if (m_moveKeys.keyPressed(event))
        event->accept();
    else
        CameraPageController::keyPressEvent(event);
}

void DistanceViewDirectionController::keyReleaseEvent(QKeyEvent *event)
{
    if (m_moveKeys.keyReleased(event))
        event->accept();
    else
        CameraPageController::keyReleaseEvent(event);
}

void DistanceViewDirectionController::onOK()
{
    if (isClosed())
        return;
    m_moveKeys.stopIfMoving();
    context().writeVizoPacket(VizoCmd::DistanceViewDirection(Confirm).payload());
    closeWindow();
}

void DistanceViewDirectionController::onCancel()
{
    if (isClosed())
        return;
    m_moveKeys.stopIfMoving();
    context().writeVizoPacket(VizoCmd::DistanceViewDirection(Cancel).payload());
    closeWindow();
}
