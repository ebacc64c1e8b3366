#include "SimulatedDevice.h"

#include "SimulatedPicture.h"

#include <lumen/LumenFrameFeed.h>

#include <QDateTime>

#include "sim/VizoSimulator.h"

class VizoVirtualDevice : public VizoSimulator
{
public:
    using VizoSimulator::VizoSimulator;
};

namespace {
SimulatedPictureState pictureState(const VizoSimState &s)
{
    SimulatedPictureState p;
    switch (s.mode) {
    case VizoSimMode::Camera: p.mode = 0; break;
    case VizoSimMode::OcrText: p.mode = 1; break;
    case VizoSimMode::StoredImage: p.mode = 2; break;
    case VizoSimMode::OcrPreview: p.mode = 3; break;
    case VizoSimMode::AutoScroll: p.mode = 4; break;
    case VizoSimMode::CameraPreviewFromOcr: p.mode = 5; break;
    }
    const int view = s.view();
    p.cameraMode = view;
    p.zoomLevel = s.zoomLevel;
    const VizoSimColorSlot &slot = s.currentSlot();
    p.textColor = slot.textColor;
    p.bgColor = slot.bgColor;
    p.contrast = s.contrast[std::size_t(view)];
    p.markerMode = s.markerMode[std::size_t(view)];
    p.menuOpen = s.menuOpen;
    p.ocrPlaying = s.ocrPlaying;
    p.autoScrollPlaying = s.autoScrollRunning;
    return p;
}
} // namespace

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
    if (m_device)
        m_device->stop();
}

bool SimulatedDevice::isAvailable()
{
    return true;
}

bool SimulatedDevice::start(QString *error)
{
    VizoSimState initial;
    initial.edition = m_edition;
    initial.fillCard(12, 5);
    m_device = std::make_unique<VizoVirtualDevice>(initial);
    if (!m_device->openPort(error))
        return false;
    m_device->start();
    m_startMs = QDateTime::currentMSecsSinceEpoch();
    m_frameTimer.start();
    pushFrame();
    return true;
}

QString SimulatedDevice::portPath() const
{
    return m_device ? m_device->portPath() : QString();
}

void SimulatedDevice::stop()
{
    m_frameTimer.stop();
    if (m_device)
        m_device->stop();
}

bool SimulatedDevice::hostSaidClosing() const
{
    return m_device && m_device->device().finished();
}

void SimulatedDevice::pushFrame()
{
    if (!m_device)
        return;
    const double seconds = (QDateTime::currentMSecsSinceEpoch() - m_startMs) / 1000.0;
    m_feed->pushImage(SimulatedPicture::render(pictureState(m_device->device().state()), kFrameSize, seconds));
}
