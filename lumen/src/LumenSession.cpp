#include <lumen/LumenSession.h>

#include "LumenFrameSource.h"

LumenSession::LumenSession(std::unique_ptr<LumenFrameSource> source) : m_source(std::move(source))
{
}

LumenSession::~LumenSession()
{
    stopRunning();
}

void LumenSession::stopRunning()
{
    if (m_source)
        m_source->stop();
}

bool LumenSession::startRunning()
{
    return m_source && (m_source->isRunning() || m_source->start());
}

bool LumenSession::isRunning() const
{
    return m_source && m_source->isRunning();
}
