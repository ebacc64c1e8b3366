#include "SimulatedDevice.h"

#include "SimulatedPicture.h"

#include <lumen/LumenFrameFeed.h>

#include <QDateTime>

#if __has_include(<vizo_sim/VizoVirtualDevice.h>)
#include <vizo_sim/VizoVirtualDevice.h>
#define VIZO_HAVE_SIM 1
#endif

SimulatedDevice::SimulatedDevice(int edition, QObject *parent)
    : QObject(parent)
    , m_edition(edition)
    , m_feed(std::make_shared<LumenFrameFeed>())
{
    m_frameTimer.setInterval(1000 / kFramesPerSecond);
    connect(&m_frameTimer, &QTimer::timeout, this, &SimulatedDevice::pushFrame);
}

SimulatedDevice::~SimulatedDevice()
{
    m_frameTimer.stop();
}

#ifndef VIZO_HAVE_SIM
class VizoVirtualDevice
{
};

bool SimulatedDevice::start(QString *error)
{
    (void)m_edition;
    if (error)
        *error = QStringLiteral("this build has no virtual device");
    return false;
}

QString SimulatedDevice::portPath() const
{
    return {};
}

void SimulatedDevice::pushFrame()
{
    SimulatedPictureState state;
    const double seconds = (QDateTime::currentMSecsSinceEpoch() - m_startMs) / 1000.0;
    m_feed->pushImage(SimulatedPicture::render(state, QSize(1280, 720), seconds));
}
#endif
