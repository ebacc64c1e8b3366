#pragma once
// The input layer's view of the application's settings model.
#include "input/VizoInputModel.h"

class VizoSettings;

class VizoSettingsInputModel : public VizoInputModel
{
public:
    explicit VizoSettingsInputModel(VizoSettings &settings) : m_settings(settings) {}

    int vizoVersion() const override;
    int vizoMode() const override;
    int vizoHotKeyMode() const override;
    int vizoMouseGestureMode() const override;
    int cameraMode() const override;
    int ocrFieldMode() const override;
    bool ocrPlayed() const override;
    void setOcrPlayed(bool played) override;
    bool autoScrollPlayed() const override;
    void setAutoScrollPlayed(bool played) override;
    bool focusLock() const override;
    void setFocusLock(bool on) override;
    int contrast(int view) const override;
    void setContrast(int view, int value) override;
    void incrementSendContrastCount() override;
    int selectedColorSlot(int view) const override;
    void setSelectedColorSlot(int view, int index) override;
    int oldSelectedColorSlot(int view) const override;
    void setOldSelectedColorSlot(int view, int index) override;
    int slotTextColor(int view, int index) const override;
    void calcNextColor() override;
    void calcPrevColor() override;
    int speedOfTTS() const override;
    void setSpeedOfTTS(int speed) override;

private:
    VizoSettings &m_settings;
};
