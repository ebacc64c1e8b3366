#pragma once
// Edits one colour slot (1 to 7) of a camera view in two steps: the text
// colour, then the background colour. The settings' slot changes as the user
// steps; the device hears of it once, by SetColorSlot, when the user confirms
// or disables the slot. Cancelling puts the slot back as it was.
//
// Keys: Return confirms the visible step, Esc and Backspace cancel; Left and
// Right step the colour, Down swaps the colours, Up disables the slot.
#include "kit/ModalWindowController.h"

class BackgroundColorSettingController;
class ColorSubPageController;
class LetterColorSettingController;
class VizoColorSlot;

class ColorSettingController : public ModalWindowController
{
    Q_OBJECT

public:
    explicit ColorSettingController(AppContext &context, QWidget *parent = nullptr);
    ~ColorSettingController() override;

    int colorSlotIndex() const { return m_colorSlotIndex; }
    void setColorSlotIndex(int index) { m_colorSlotIndex = index; }
    // The view the slot belongs to: 0 distance, any other value near.
    int cameraMode() const { return m_cameraMode; }
    void setCameraMode(int mode) { m_cameraMode = mode; }
    // The settings' own slot; both steps edit it.
    void setColorSlot(VizoColorSlot *slot);
    VizoColorSlot *colorSlot() const { return m_colorSlot; }

    LetterColorSettingController *letterColorSetting() const { return m_letterColorSetting; }
    BackgroundColorSettingController *backgroundColorSetting() const
    {
        return m_backgroundColorSetting;
    }
    // The step on screen.
    ColorSubPageController *visiblePage() const;

    // Whether the slot may be disabled here: never slot 1, never in the
    // edition without a menu.
    bool canDisable() const;

    void onReturnKeyDown() override;
    void onEscKeyDown() override;
    void onBackspaceKeyDown() override;
    void enableHotKeys() override;
    void closeUI() override;

    // SetColorSlot with the slot's current colours.
    void writePacket();

protected:
    void windowDidLoad() override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPage(ColorSubPageController *page);
    void letterOK();
    void backgroundOK();
    void back();
    void cancel();
    void disable();

    int m_colorSlotIndex = 1;
    int m_cameraMode = 1;
    VizoColorSlot *m_colorSlot = nullptr;
    int m_openingText = 0;
    int m_openingBg = 0;
    LetterColorSettingController *m_letterColorSetting = nullptr;
    BackgroundColorSettingController *m_backgroundColorSetting = nullptr;
};
