#include "SimulatedDevice.h"

#include "SimulatedPicture.h"

#include <lumen/LumenFrameFeed.h>

#include <QDateTime>

#include "sim/VizoSimControlServer.h"
#include "sim/VizoSimulator.h"

class VizoVirtualDevice : public VizoSimulator
{
public:
    using VizoSimulator::VizoSimulator;
};

SimulatedPictureState SimulatedDevice::pictureState(const VizoSimState &s, const VizoSimRegion &region)
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
    const auto now = VizoSimMotion::Clock::now();
    const auto view = std::size_t(s.view());
    const auto shown = std::size_t(s.shownView());
    p.cameraMode = int(shown);
    p.zoomLevel = s.zoomLevel;
    const VizoSimColorSlot &slot = s.currentSlot();
    p.textColor = slot.textColor;
    p.bgColor = slot.bgColor;
    p.contrast = s.contrast[view];
    p.markerMode = s.markerMode[view];
    p.markerPosition = s.markerPosition[view];
    p.markerSize = s.markerSize[view];
    p.menuOpen = s.menuOpen;
    p.ocrPlaying = s.ocrPlaying;
    p.autoScrollPlaying = s.autoScrollRunning;
    const QPointF camera = s.camera[shown].at(now);
    p.panX = camera.x();
    p.panY = camera.y();
    p.findPosition = s.findPosition;
    switch (s.adjusting) {
    case VizoSimAdjusting::None: p.adjusting = 0; break;
    case VizoSimAdjusting::Marker: p.adjusting = 1; break;
    case VizoSimAdjusting::ScrollRangeStart: p.adjusting = 2; break;
    case VizoSimAdjusting::ScrollRangeEnd: p.adjusting = 3; break;
    case VizoSimAdjusting::DistanceDirection: p.adjusting = 4; break;
    }
    p.focusLock = s.focusLock;
    p.voiceGuide = s.voiceGuide;
    if (const VizoSimRegion::Language *language = region.language(s.language))
        p.language = language->name;
    p.autoScrollDirection = s.autoScrollDirection;
    p.autoScrollSpeed = s.autoScrollSpeed;
    p.customScrollRange = s.autoScrollRange != 1 && s.customScrollRange;
    p.autoScrollLine = s.autoScrollLine;
    p.openFile = s.openFile;
    p.openFileMissing = s.openFileMissing;
    p.documentZoom = s.documentZoom;
    p.documentContrast = s.documentContrast;
    const QPointF document = s.document.at(now);
    p.documentPanX = document.x();
    p.documentPanY = document.y();
    p.readingLine = s.readingLine;
    p.ocrViewMode = s.ocrViewMode;
    p.deskew = s.ocrDeskew != 0;
    p.perspective = s.ocrPerspective != 0;
    p.ttsType = s.ttsType;
    p.ttsSpeed = s.ttsSpeed;
    p.ttsVolume = s.ttsVolume;
    p.ttsPitch = s.ttsPitch;
    p.ocrLanguages = region.ocrNames(s.ocrLanguages).join(QStringLiteral(" + "));
    p.caption = s.lastSpoken;
    return p;
}

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
    if (m_control)
        m_control->stop();
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
    initial.fillCard(m_card.images, m_card.ocrTexts, m_card.nameLength);
    m_device = std::make_unique<VizoVirtualDevice>(initial);
    m_device->setBaud(m_link.baud);
    if (!m_device->openPort(error))
        return false;
    if (!m_link.controlSocket.isEmpty()) {
        VizoVirtualDevice *device = m_device.get();
        m_control = std::make_unique<VizoSimControlServer>([device](const QString &line) { return device->control(line); });
        if (!m_control->listen(m_link.controlSocket, error))
            return false;
        m_control->start();
    }
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
    if (m_control)
        m_control->stop();
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
    const VizoSimDevice &device = m_device->device();
    m_feed->pushImage(SimulatedPicture::render(pictureState(device.state(), device.region()), kFrameSize, seconds));
}
