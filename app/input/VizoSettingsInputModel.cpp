#include "input/VizoSettingsInputModel.h"

#include "settings/VizoColorMode.h"
#include "settings/VizoColorSlot.h"
#include "settings/VizoOCR.h"
#include "settings/VizoOptions.h"
#include "settings/VizoSettings.h"

int VizoSettingsInputModel::vizoVersion() const
{
    return m_settings.vizoVersion();
}
int VizoSettingsInputModel::vizoMode() const
{
    return m_settings.vizoMode();
}
int VizoSettingsInputModel::vizoHotKeyMode() const
{
    return m_settings.vizoHotKeyMode();
}
int VizoSettingsInputModel::vizoMouseGestureMode() const
{
    return m_settings.vizoMouseGestureMode();
}
int VizoSettingsInputModel::cameraMode() const
{
    return m_settings.cameraMode();
}
int VizoSettingsInputModel::ocrFieldMode() const
{
    return m_settings.ocr()->fieldMode();
}
bool VizoSettingsInputModel::ocrPlayed() const
{
    return m_settings.ocrPlayed();
}
void VizoSettingsInputModel::setOcrPlayed(bool played)
{
    m_settings.setOcrPlayed(played);
}
bool VizoSettingsInputModel::autoScrollPlayed() const
{
    return m_settings.autoScrollPlayed();
}
void VizoSettingsInputModel::setAutoScrollPlayed(bool played)
{
    m_settings.setAutoScrollPlayed(played);
}
bool VizoSettingsInputModel::focusLock() const
{
    return m_settings.options()->focusLock();
}
void VizoSettingsInputModel::setFocusLock(bool on)
{
    m_settings.options()->setFocusLock(on);
}

int VizoSettingsInputModel::contrast(int view) const
{
    return view == 0 ? m_settings.options()->contrastForDistance()
                     : m_settings.options()->contrastForNear();
}

void VizoSettingsInputModel::setContrast(int view, int value)
{
    if (view == 0)
        m_settings.options()->setContrastForDistance(value);
    else
        m_settings.options()->setContrastForNear(value);
}

void VizoSettingsInputModel::incrementSendContrastCount()
{
    m_settings.setISendContrastCnt(m_settings.iSendContrastCnt() + 1);
}

int VizoSettingsInputModel::selectedColorSlot(int view) const
{
    return view == 0 ? m_settings.selectedColorSlotForDistanceViewMode()
                     : m_settings.selectedColorSlotForNearViewMode();
}

void VizoSettingsInputModel::setSelectedColorSlot(int view, int index)
{
    if (view == 0)
        m_settings.setSelectedColorSlotForDistanceViewMode(index);
    else
        m_settings.setSelectedColorSlotForNearViewMode(index);
}

int VizoSettingsInputModel::oldSelectedColorSlot(int view) const
{
    return view == 0 ? m_settings.oldSelectedColorSlotForDistanceViewMode()
                     : m_settings.oldSelectedColorSlotForNearViewMode();
}

void VizoSettingsInputModel::setOldSelectedColorSlot(int view, int index)
{
    if (view == 0)
        m_settings.setOldSelectedColorSlotForDistanceViewMode(index);
    else
        m_settings.setOldSelectedColorSlotForNearViewMode(index);
}

int VizoSettingsInputModel::slotTextColor(int view, int index) const
{
    const VizoColorSlot *slot = m_settings.options()->colorModeForCameraMode(view)->slot(index);
    return slot ? slot->textColor() : -1;
}

void VizoSettingsInputModel::calcNextColor()
{
    m_settings.calcNextColor();
}
void VizoSettingsInputModel::calcPrevColor()
{
    m_settings.calcPrevColor();
}
int VizoSettingsInputModel::speedOfTTS() const
{
    return m_settings.ocr()->speedOfTTS();
}
void VizoSettingsInputModel::setSpeedOfTTS(int speed)
{
    m_settings.ocr()->setSpeedOfTTS(speed);
}
