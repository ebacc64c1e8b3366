#include "sim/VizoSimState.h"

#include <algorithm>
#include <cmath>

namespace {

QPointF unitStep(int direction)
{
    switch (direction) {
    case 0:
        return {0, -1};
    case 1:
        return {0, 1};
    case 2:
        return {-1, 0};
    case 3:
        return {1, 0};
    case 4:
        return {-M_SQRT1_2, -M_SQRT1_2};
    case 5:
        return {M_SQRT1_2, -M_SQRT1_2};
    case 6:
        return {-M_SQRT1_2, M_SQRT1_2};
    case 7:
        return {M_SQRT1_2, M_SQRT1_2};
    default:
        return {0, 0};
    }
}

QPointF bounded(QPointF p)
{
    return {std::clamp(p.x(), -VizoSimMotion::limitX, VizoSimMotion::limitX),
            std::clamp(p.y(), -VizoSimMotion::limitY, VizoSimMotion::limitY)};
}

} // namespace

QPointF VizoSimMotion::at(Clock::time_point now) const
{
    if (!moving())
        return origin;
    const double seconds = std::chrono::duration<double>(now - since).count();
    return bounded(origin + unitStep(direction) * (std::max(0.0, seconds) * stepsPerSecond));
}

void VizoSimMotion::start(int newDirection, double speed, Clock::time_point now)
{
    origin = at(now);
    direction = newDirection >= 0 && newDirection <= 7 ? newDirection : 10;
    stepsPerSecond = moving() ? speed : 0;
    since = now;
}

void VizoSimMotion::place(QPointF position)
{
    origin = bounded(position);
    direction = 10;
    stepsPerSecond = 0;
}

std::array<std::array<VizoSimColorSlot, VizoSimState::slotCount>, 2> VizoSimState::defaultSlots()
{
    // Slot 0 is the natural picture; 7 starts disabled.
    const std::array<VizoSimColorSlot, slotCount> palette{
        {{1, 1}, {3, 2}, {2, 3}, {10, 10}, {9, 2}, {9, 6}, {5, 2}, {0, 0}}};
    return {palette, palette};
}

QString VizoSimState::fileName(const char *kind, int n, int length)
{
    const bool image = QLatin1String(kind) == QLatin1String("IMG");
    const QString number =
        QStringLiteral("%1_%2").arg(QLatin1String(kind)).arg(n, 4, 10, QLatin1Char('0'));
    const QString extension = image ? QStringLiteral(".jpg") : QStringLiteral(".txt");
    const QString shortName = number + extension;
    length = std::min(length, maxNameLength);
    if (length <= shortName.size())
        return shortName;
    // Long names read like the ones people give, accents included, so that
    // lists and deletions carry more than ASCII.
    const QString words =
        image ? QStringLiteral(" Leçon de géographie, les fleuves d'Europe et leurs affluents -")
              : QStringLiteral(" Übersicht der Geschichte, Kapitel über Städte und Flüsse -");
    QString name = number;
    const int fill = length - int(number.size() + extension.size());
    while (name.size() - number.size() < fill)
        name += words;
    name.truncate(number.size() + fill);
    return name + extension;
}

void VizoSimState::fillCard(int imageCount, int ocrCount, int length)
{
    images.clear();
    ocrTexts.clear();
    nameLength = std::clamp(length, 0, maxNameLength);
    nextImageNumber = 1;
    nextOcrNumber = 1;
    for (int i = 0; i < imageCount; ++i)
        images << takeImageName();
    for (int i = 0; i < ocrCount; ++i)
        ocrTexts << takeOcrName();
}

// Numbers are never reused, so a new file never takes a deleted one's name.
QString VizoSimState::takeImageName()
{
    return fileName("IMG", nextImageNumber++, nameLength);
}

QString VizoSimState::takeOcrName()
{
    return fileName("OCR", nextOcrNumber++, nameLength);
}

void VizoSimState::resetOptions()
{
    const VizoSimState factory;
    colorSlots = factory.colorSlots;
    contrast = factory.contrast;
    markerMode = factory.markerMode;
    markerPosition = factory.markerPosition;
    markerSize = factory.markerSize;
    focusLock = factory.focusLock;
    voiceGuide = factory.voiceGuide;
    autoScrollDirection = factory.autoScrollDirection;
    autoScrollSpeed = factory.autoScrollSpeed;
    autoScrollRange = factory.autoScrollRange;
    customScrollRange = false;
    joystickSensitivity = factory.joystickSensitivity;
    wifiPassword = factory.wifiPassword;
    wifiResolution = factory.wifiResolution;
    ocrLanguages = factory.ocrLanguages;
    // A selected slot that the reset disabled gives way to the natural picture.
    for (std::size_t v = 0; v < 2; ++v) {
        if (colorSlots[v][std::size_t(selectedSlot[v])].textColor == 0)
            selectedSlot[v] = 0;
        if (colorSlots[v][std::size_t(slotBeforeEasyColor[v])].textColor == 0)
            slotBeforeEasyColor[v] = 0;
    }
}

void VizoSimState::resetOcr()
{
    const VizoSimState factory;
    ocrFieldMode = factory.ocrFieldMode;
    ocrViewMode = factory.ocrViewMode;
    ocrDeskew = factory.ocrDeskew;
    ocrPerspective = factory.ocrPerspective;
    ttsType = factory.ttsType;
    ttsSpeed = factory.ttsSpeed;
    ttsVolume = factory.ttsVolume;
    ttsPitch = factory.ttsPitch;
}
