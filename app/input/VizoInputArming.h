#pragma once
// The input layer plugged into the application delegate: it fills the
// delegate's hot key and gesture tables and arms them from the delegate's
// flags and the settings. Install it with AppDelegate::setInputArming()
// before launch.
#if __has_include("core/InputArming.h")
#include "core/InputArming.h"
#include "input/VizoInput.h"
#include "settings/VizoSettings.h"

#include <QPointer>

#include <functional>
#include <memory>

class VizoInputArming : public InputArming
{
public:
    VizoInputArming();
    ~VizoInputArming() override;

    void setupHotKeys(AppDelegate &app) override;
    void updateHotKeys(AppDelegate &app) override;
    void setupMouseGestures(AppDelegate &app) override;
    void updateMouseGestures(AppDelegate &app) override;

    // The delegate's side of the input state.
    static VizoInputFlags flagsOf(AppDelegate &app);

    // Opens the colour-slot page of a view (0 distance, 1 near) for a slot
    // index; installed by the menus, which own the pages.
    using ColorSlotPageOpener = std::function<void(int view, int slotIndex)>;
    static void setColorSlotPageOpener(ColorSlotPageOpener opener);

    VizoInput *input() const { return m_input.get(); }

private:
    VizoInput &inputFor(AppDelegate &app);

    std::unique_ptr<VizoInput> m_input;
    QPointer<VizoSettings> m_settings; // the model m_input reads
};
#endif
