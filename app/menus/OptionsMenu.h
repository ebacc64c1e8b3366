#pragma once
// The Options tree (tab 0): colour mode lists per camera view, contrast,
// markers, focus lock, camera scroll direction, auto-scroll, joystick,
// distance view direction, voice guide, interface language,
// initialisation, Wi-Fi password, device information. Every change the
// user makes is stored in the settings and sent to the device as one
// command; rows that need more than a value open a setting page.
#include "VizoMenuTree.h"

#include <array>

class QTimer;
class TrellisItemCheckBox;
class VizoOptions;
class TrellisItemRadioGroup;
class TrellisItemSlider;

class OptionsMenu : public VizoMenuTree
{
    Q_OBJECT

public:
    explicit OptionsMenu(VizoMenuController *owner);
    ~OptionsMenu() override;

    void makeMenu() override;
    TrellisMenuPtr buildMenuTree() override;
    void reloadSettings() override;
    void reloadMenuLabel() override;

    // The battery row after a battery report.
    void updateBatteryInfo();
    // Stops the battery requests (the Information level closed, or the
    // whole menu did).
    void stopBatteryTimer();
    bool isBatteryTimerRunning() const { return m_timerForBatteryStats != nullptr; }

    // Items, named as the rows they are.
    TrellisItemPtr menuItemOption_ColorMode;
    std::array<TrellisMenuPtr, 2> menuColorList; // distance, near
    std::array<std::array<TrellisItemPtr, 8>, 2> menuItemOption_ColorSlot;
    std::shared_ptr<TrellisItemSlider> menuItemOption_Contrast_Distance;
    std::shared_ptr<TrellisItemSlider> menuItemOption_Contrast_Near;
    TrellisItemPtr menuItemOption_Marker;
    std::array<TrellisMenuPtr, 2> menuMarkerSetting; // distance, near
    std::array<std::array<std::shared_ptr<TrellisItemRadioGroup>, 4>, 2> menuItemOption_Marker_Mode;
    std::array<TrellisItemPtr, 2> menuItemOption_Marker_SetLineMarkerPosition;
    std::array<TrellisItemPtr, 2> menuItemOption_Marker_SetWindowMarkerSize;
    std::shared_ptr<TrellisItemCheckBox> menuItemOption_FocusLock;
    TrellisItemPtr menuItemOption_CameraScrollDirection;
    std::shared_ptr<TrellisItemCheckBox> menuItemOption_CameraScrollDirection_Horizontal;
    std::shared_ptr<TrellisItemCheckBox> menuItemOption_CameraScrollDirection_Vertical;
    TrellisItemPtr menuItemOption_AutoScroll;
    std::shared_ptr<TrellisItemSlider> menuItemOption_AutoScroll_ScrollSpeed;
    TrellisItemPtr menuItemOption_AutoScroll_ScrollRange;
    std::shared_ptr<TrellisItemCheckBox> menuItemOption_AutoScroll_ScrollRange_A4;
    TrellisItemPtr menuItemOption_AutoScroll_ScrollRange_Custom;
    TrellisItemPtr menuItemOption_JoystickSensitivity;
    std::array<std::shared_ptr<TrellisItemRadioGroup>, 4> menuItemOption_JoystickSensitivity_Level;
    TrellisItemPtr menuItemOption_DistanceViewDirection;
    std::shared_ptr<TrellisItemCheckBox> menuItemOption_VoiceGuide;
    TrellisItemPtr menuItemOption_Language;
    QList<std::shared_ptr<TrellisItemRadioGroup>> menuItemOptions_ArrayOfLanguage;
    TrellisItemPtr menuItemOption_Initialization;
    std::array<TrellisItemPtr, 3> menuItemOption_Initialization_Group; // Option, OCR, All
    TrellisItemPtr menuItemOption_WiFiPassword;
    TrellisItemPtr menuItemOption_Information;
    TrellisItemPtr menuItemOption_Information_SoftwareVersion;
    TrellisItemPtr menuItemOption_Information_Battery;
    TrellisItemPtr menuItemOption_Information_AP;
    TrellisItemPtr menuItemOption_Exit;

private:
    VizoOptions *options() const;
    void makeColorMode();
    void makeMarker();
    void makeAutoScroll();
    void makeLanguage();
    void makeInformation();

    void onColorModeClicked(TrellisItem *item);
    void onColorSlotClicked(int view, int slotIndex);
    void onContrastClicked(int view);
    void onContrastChanged(int view);
    void onMarkerClicked(TrellisItem *item);
    void onMarkerRadioChanged(int view, int mode, bool on);
    void onMarkerSetClicked(int view);
    void onScrollDirectionChanged(int direction);
    void onScrollSpeedBeginEdit(TrellisItem *item);
    void onScrollSpeedChanged(TrellisItem *item, const QVariant &value);
    void onScrollSpeedCancelled(TrellisItem *item, const QVariant &saved);
    void onA4Changed(TrellisItem *item, const QVariant &value);
    void onCustomRangeClicked(TrellisItem *item);
    void onJoystickChanged(int level);
    void onLanguageChanged(TrellisItem *item, const QVariant &value);
    void onInitializationClicked(int group);
    void onInformationExpanded(TrellisItem *item);
    void onInformationCollapsed(TrellisItem *item);

    void reloadMarkers(int view, int mode);
    void reloadColorSlotLabels();
    void reloadInformationLabels();

    QTimer *m_timerForBatteryStats = nullptr;
};
