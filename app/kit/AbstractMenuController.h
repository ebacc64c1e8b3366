#pragma once
// What the application core asks of a tree menu column (the Options, OCR and
// Files menu of the main window, and the capture windows' own copies). The
// menus implement it; the core only opens, closes, refreshes and lays it out.
#include <QWidget>

class TrellisItem;

class AbstractMenuController : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // The column placed in the window; the controller itself by default.
    virtual QWidget *view() { return this; }

    // Called in this order when the menu opens.
    virtual void buildVizoMenu() = 0;
    virtual void reloadSettings() = 0;
    virtual void reloadMenuLabel() = 0;
    virtual void showMenu() = 0;
    virtual void setDefaultTab() = 0;
    // Called when it closes.
    virtual void hideMenu() = 0;

    // True while the menu column is shown.
    virtual bool isOpened() const = 0;
    // Closes whatever level is open; reached from the modal stack.
    virtual void closeUI() = 0;
    // True when a sub-menu of the tab in front is expanded.
    virtual bool isMenuExpanded() const = 0;
    // The same for tab `index` (0 Option, 1 OCR, 2 Files).
    virtual bool isMenuExpandedWithIndex(int index) const = 0;
    // The row most recently made current in the tree of tab `index`, or
    // nullptr.
    virtual TrellisItem *selectedMenuItem(int index) const = 0;
    // Arms or disarms the menu's own arrow and Tab keys. Every recomputation
    // of the hot keys disarms them; whoever re-arms input gives them back.
    virtual void setEnableHotKeys(bool enable) = 0;
    // True while those keys are armed.
    virtual bool enableHotKeys() const = 0;
    virtual void becomeFirstResponder() = 0;
    virtual void updateMenuColor() = 0;
    virtual void updateBatteryInfo() = 0;
    // The three root trees re-read their size after a window resize.
    virtual void updateUIState() = 0;
    // The speech volume slider of the OCR menu shows the device's value.
    virtual void setTtsVolumeValue(int value) = 0;
};
