#include "MenuAppearance.h"

#include "settings/VizoSettings.h"

#include <trellis/TrellisController.h>

namespace MenuAppearance {

namespace {
const QColor kDefaultHilight{67, 75, 140};
} // namespace

void apply(TrellisController &root, float scale)
{
    root.setScale(scale);
    root.setCloseOnBackspaceKey(true);
    root.setBackgroundColor(kBackground);
    root.setCellBackgroundColor(QColor(184, 181, 196));
    root.setCellDisabledColor(QColor(184, 181, 196));
    root.setCellHilightColor(kDefaultHilight);
    root.setCellHilightTextColor(Qt::white);
    root.setCellDisabledTextColor(Qt::darkGray);
    root.setCellBorderColor(QColor(75, 107, 153));
    root.setCellTextColor(Qt::black);
    root.setSliderBackgroundColorInNormalMode(QColor(120, 120, 120));
    root.setSliderBorderColorInNormalMode(QColor(220, 220, 220));
    root.setSliderBackgroundColorInEditMode(Qt::white);
    root.setSliderBorderColorInEditMode(QColor(65, 65, 65));
}

Highlight highlightFor(const VizoSettings &settings)
{
    const Highlight natural{Qt::white, kDefaultHilight};
    const int view = settings.cameraMode();
    if (view != 0 && view != 1)
        return natural;
    const int index = view == 0 ? settings.selectedColorSlotForDistanceViewMode()
                                : settings.selectedColorSlotForNearViewMode();
    const VizoColorSlot *slot = settings.options()->colorModeForCameraMode(view)->slot(index);
    if (!slot || slot->textColor() == VizoColorSlot::Natural)
        return natural;
    const auto text = slot->colorFromVizoTextColor();
    const auto background = slot->colorFromVizoBackgroundColor();
    // A slot without a drawable pair (disabled, grey scale) keeps the
    // default, so the current row stays visible.
    if (!text || !background || *text == *background)
        return natural;
    return {*text, *background};
}

} // namespace MenuAppearance
