#include "sim/VizoSimState.h"

std::array<std::array<VizoSimColorSlot, VizoSimState::slotCount>, 2> VizoSimState::defaultSlots()
{
    // Slot 0 is the natural picture; 7 starts disabled.
    const std::array<VizoSimColorSlot, slotCount> palette{
        {{1, 1}, {3, 2}, {2, 3}, {9, 2}, {2, 9}, {5, 2}, {10, 10}, {0, 0}}};
    return {palette, palette};
}

void VizoSimState::fillCard(int imageCount, int ocrCount)
{
    images.clear();
    ocrTexts.clear();
    for (int i = 1; i <= imageCount; ++i)
        images << QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
    for (int i = 1; i <= ocrCount; ++i)
        ocrTexts << QStringLiteral("OCR_%1.txt").arg(i, 4, 10, QLatin1Char('0'));
}

void VizoSimState::resetOptions()
{
    const VizoSimState factory;
    colorSlots = factory.colorSlots;
    selectedSlot = factory.selectedSlot;
    slotBeforeEasyColor = factory.slotBeforeEasyColor;
    contrast = factory.contrast;
    markerMode = factory.markerMode;
    focusLock = factory.focusLock;
    voiceGuide = factory.voiceGuide;
    autoScrollDirection = factory.autoScrollDirection;
    autoScrollSpeed = factory.autoScrollSpeed;
    autoScrollRange = factory.autoScrollRange;
    joystickSensitivity = factory.joystickSensitivity;
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
    ocrLanguages = factory.ocrLanguages;
}
