#include "DistanceViewDirectionController.h"

#include "PageSupport.h"

#include "protocol/VizoCommands.h"

#include <QKeyEvent>

namespace {
enum Action : std::uint8_t { Cancel = 0, Begin = 1, Confirm = 2 };
}

DistanceViewDirectionController::DistanceViewDirectionController(QWidget *parent)
    : CameraPageController(parent)
{
    setObjectName(QStringLiteral("DistanceViewDirectionController"));
}

QString DistanceViewDirectionController::title() const
{
    return PageSupport::optionText("DistanceViewDirection.Page.Title",
                                   QStringLiteral("Distance view direction"));
}

void DistanceViewDirectionController::windowDidLoad()
{
    CameraPageController::windowDidLoad();
    PageSupport::send(VizoCmd::DistanceViewDirection(Begin).payload());
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
    PageSupport::send(VizoCmd::DistanceViewDirection(Confirm).payload());
    closeWindow();
}

void DistanceViewDirectionController::onCancel()
{
    if (isClosed())
        return;
    m_moveKeys.stopIfMoving();
    PageSupport::send(VizoCmd::DistanceViewDirection(Cancel).payload());
    closeWindow();
}
