#pragma once
// The input layer plugged into the application delegate: it fills the
// delegate's hot key and gesture tables and arms them from the delegate's
// flags and the settings. The delegate installs it before launch.
#include "kit/InputArming.h"
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

    void setupHotKeys(AppContext &app) override;
    void updateHotKeys(AppContext &app) override;
    void setupMouseGestures(AppContext &app) override;
    void updateMouseGestures(AppContext &app) override;

    // The delegate's side of the input state.
    static VizoInputFlags flagsOf(AppContext &app);

    // Opens the colour-slot page of a view (0 distance, 1 near) for a slot
    // index; installed once at launch by whoever owns the pages.
    using ColorSlotPageOpener = std::function<void(int view, int slotIndex)>;
    void setColorSlotPageOpener(ColorSlotPageOpener opener) { m_colorSlotPageOpener = std::move(opener); }

    VizoInput *input() const { return m_input.get(); }

private:
    VizoInput &inputFor(AppContext &app);

    std::unique_ptr<VizoInput> m_input;
    QPointer<VizoSettings> m_settings; // the model m_input reads
    ColorSlotPageOpener m_colorSlotPageOpener;
};
