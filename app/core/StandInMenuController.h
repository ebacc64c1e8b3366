#pragma once
// The menu column used until the tree menus are installed
// (AppDelegate::setMenuFactory): it opens and closes like the real one and
// says which keys do what, but offers no settings of its own.
#include "AbstractMenuController.h"

class QLabel;

class StandInMenuController : public AbstractMenuController
{
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 240;

    explicit StandInMenuController(QWidget *parent = nullptr);

    void buildVizoMenu() override;
    void reloadSettings() override;
    void reloadMenuLabel() override;
    void showMenu() override;
    void setDefaultTab() override;
    void hideMenu() override;
    bool isOpened() const override;
    void closeUI() override;
    bool isMenuExpanded() const override { return false; }
    void setEnableHotKeys(bool enable) override { m_enableHotKeys = enable; }
    bool enableHotKeys() const { return m_enableHotKeys; }
    void becomeFirstResponder() override;
    void updateMenuColor() override {}
    void updateBatteryInfo() override;
    void updateUIState() override {}
    void setTtsVolumeValue(int value) override { m_ttsVolume = value; }

private:
    QLabel *m_label = nullptr;
    bool m_enableHotKeys = false;
    int m_ttsVolume = 0;
};
