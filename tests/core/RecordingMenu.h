#pragma once
// A menu column that records what the core asks of it.
#include "kit/AbstractMenuController.h"

#include <QStringList>

class RecordingMenu : public AbstractMenuController
{
public:
    explicit RecordingMenu(QWidget *parent = nullptr, int width = 300)
        : AbstractMenuController(parent)
    {
        resize(width, 100);
        hide();
    }
    QStringList calls;
    bool expanded = false;
    bool keysEnabled = false;
    int ttsVolume = -1;

    void buildVizoMenu() override { calls << "buildVizoMenu"; }
    void reloadSettings() override { calls << "reloadSettings"; }
    void reloadMenuLabel() override { calls << "reloadMenuLabel"; }
    void showMenu() override
    {
        calls << "show";
        show();
    }
    void setDefaultTab() override { calls << "setDefaultTab"; }
    void hideMenu() override
    {
        calls << "hide";
        hide();
    }
    bool isOpened() const override { return !isHidden(); }
    void closeUI() override;
    bool isMenuExpanded() const override { return expanded; }
    bool isMenuExpandedWithIndex(int) const override { return expanded; }
    TrellisItem *selectedMenuItem(int) const override { return nullptr; }
    void setEnableHotKeys(bool enable) override { keysEnabled = enable; }
    bool enableHotKeys() const override { return keysEnabled; }
    void becomeFirstResponder() override { calls << "becomeFirstResponder"; }
    void updateMenuColor() override { calls << "updateMenuColor"; }
    void updateBatteryInfo() override { calls << "updateBatteryInfo"; }
    void updateUIState() override { calls << "updateUIState"; }
    void setTtsVolumeValue(int value) override { ttsVolume = value; }
};

inline void RecordingMenu::closeUI()
{
    calls << "closeUI";
    if (AppDelegate *app = AppDelegate::instance())
        app->closeMenu();
}
