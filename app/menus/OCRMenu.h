#pragma once
// The OCR tree (tab 1): field mode, view mode, voice settings, correction,
// the region's OCR languages. Sliders follow the edit cycle: Return begins
// an edit, each step is heard on the device at once, Return keeps it and
// Escape goes back to the value the edit began with.
#include "VizoMenuTree.h"

#include <array>
#include <functional>

class TrellisItemCheckBox;
class VizoOCR;
class TrellisItemRadioGroup;
class TrellisItemSlider;

class OCRMenu : public VizoMenuTree
{
    Q_OBJECT

public:
    explicit OCRMenu(VizoMenuController *owner);
    ~OCRMenu() override;

    void makeMenu() override;
    TrellisMenuPtr buildMenuTree() override;
    void reloadSettings() override;
    void reloadMenuLabel() override;

    // The device reported a new speech volume.
    void setTtsVolumeValue(int value);

    TrellisItemPtr menuItemOCR_FieldMode;
    std::shared_ptr<TrellisItemRadioGroup> menuItemOCR_FieldMode_Zoom;
    std::shared_ptr<TrellisItemRadioGroup> menuItemOCR_FieldMode_FullScreen;
    TrellisItemPtr menuItemOCR_ViewMode;
    std::array<std::shared_ptr<TrellisItemRadioGroup>, 4>
        menuItemOCR_ViewMode_Mode; // Image, FullText, Line, Word
    TrellisItemPtr menuItemOCR_VoiceSettings;
    std::shared_ptr<TrellisItemSlider> menuItemOCR_VoiceSettings_TTSVolume;
    std::shared_ptr<TrellisItemSlider> menuItemOCR_VoiceSettings_TTSSpeed;
    std::shared_ptr<TrellisItemSlider> menuItemOCR_VoiceSettings_TTSPitch;
    TrellisItemPtr menuItemOCR_VoiceSettings_TTSVoice;
    std::shared_ptr<TrellisItemRadioGroup> menuItemOCR_VoiceSettings_TTSVoice_Male;
    std::shared_ptr<TrellisItemRadioGroup> menuItemOCR_VoiceSettings_TTSVoice_Female;
    TrellisItemPtr menuItemOCR_Correction;
    std::shared_ptr<TrellisItemCheckBox> menuItemOCR_Correction_Deskew;
    std::shared_ptr<TrellisItemCheckBox> menuItemOCR_Correction_Perspective; // Summit only
    TrellisItemPtr menuItemOCR_Language;
    QList<std::shared_ptr<TrellisItemCheckBox>> menuItemOCR_ArrayOfOCRLanguage;
    TrellisItemPtr menuItemOCR_Exit;

private:
    // One speech setting behind a slider: its field and its command.
    VizoOCR *ocr() const;

    struct SpeechSetting
    {
        std::function<int()> get;
        std::function<void(int)> set;
        std::function<QByteArray(int)> command;
    };

    std::shared_ptr<TrellisItemSlider> makeSpeechSlider(const char *key, int maxValue,
                                                        SpeechSetting setting);
    std::shared_ptr<TrellisItemRadioGroup> makeRadio(const char *key,
                                                     std::function<void(int)> choose, int value);
    void makeOCRLanguages();

    void onFieldModeChosen(int mode);
    void onViewModeChosen(int mode);
    void onVoiceChosen(int type);
    void onOCRLanguageChanged(TrellisItem *item, const QVariant &value);
};
