#include <lumen/LumenPreviewLayer.h>

LumenPreviewLayer::LumenPreviewLayer(QObject *parent) : QObject(parent) {}

void LumenPreviewLayer::setVideoGravity(LumenVideoGravity gravity)
{
    if (gravity == m_gravity)
        return;
    m_gravity = gravity;
    emit videoGravityChanged();
}
