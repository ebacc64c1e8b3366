#include "CameraMoveKeys.h"

#include "kit/AppContext.h"

#include "protocol/VizoCommands.h"

#include <QKeyEvent>

namespace {
int directionOf(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return 3;
    case Qt::Key_Right:
        return 2;
    case Qt::Key_Down:
        return 0;
    case Qt::Key_Up:
        return 1;
    default:
        return -1;
    }
}
} // namespace

void CameraMoveKeys::stop()
{
    m_context.writeVizoPacket(VizoCmd::CameraMove(VizoCmd::MoveStop).payload());
}

bool CameraMoveKeys::keyPressed(const QKeyEvent *event)
{
    const int direction = directionOf(event->key());
    if (direction < 0)
        return false;
    if (!event->isAutoRepeat()) {
        m_held.insert(event->key());
        m_context.writeVizoPacket(VizoCmd::CameraMove(std::uint8_t(direction)).payload());
    }
    return true;
}

bool CameraMoveKeys::keyReleased(const QKeyEvent *event)
{
    if (directionOf(event->key()) < 0)
        return false;
    if (!event->isAutoRepeat()) {
        m_held.remove(event->key());
        stop();
    }
    return true;
}

void CameraMoveKeys::stopIfMoving()
{
    if (m_held.isEmpty())
        return;
    m_held.clear();
    stop();
}
