#include "VizoPages.h"

#include "AutoScrollPositionController.h"
#include "ColorSettingController.h"
#include "ContrastController.h"
#include "DistanceViewDirectionController.h"
#include "MarkerPageController.h"
#include "WiFiPasswordChangeController.h"

#include "kit/AppContext.h"
#include "kit/PageService.h"
#include "settings/VizoSettings.h"

#include <memory>

namespace VizoPages {

namespace {
// The pages run only while there is a settings model to edit.
bool ready(const AppContext &context)
{
    return context.settings() != nullptr;
}

void run(AppContext &context, ModalWindowController &page, std::optional<int> gestureMode, bool showsPicture)
{
    context.pageService().runPage(page, {gestureMode, showsPicture});
}
} // namespace

int doColorSlotColorSetting(AppContext &context, int colorMode, int slotIndex)
{
    if (!ready(context) || slotIndex < 1 || slotIndex > 7)
        return slotIndex;
    // The slot and the slot code sent for it follow the view the slot
    // belongs to.
    const int view = colorMode == 0 ? 0 : 1;
    VizoColorSlot *slot = context.settings()->options()->colorModeForCameraMode(view)->slot(slotIndex);
    ColorSettingController page(context);
    page.setColorSlotIndex(slotIndex);
    page.setCameraMode(view);
    page.setColorSlot(slot);
    run(context, page, std::nullopt, false);
    return slotIndex;
}

void doContrastSetting(AppContext &context)
{
    if (!ready(context))
        return;
    ContrastController page(context);
    run(context, page, std::nullopt, true);
}

void doMarkerSetting(AppContext &context, int markerMode)
{
    if (!ready(context))
        return;
    std::unique_ptr<MarkerPageController> page(MarkerPageController::create(context, markerMode));
    if (!page)
        return;
    run(context, *page, MarkerPageController::gestureModeFor(markerMode), true);
}

bool doAutoScrollRangeSetting(AppContext &context)
{
    if (!ready(context))
        return false;
    AutoScrollPositionController page(context);
    run(context, page, AutoScrollPositionController::kGestureMode, true);
    return page.isConfirmed();
}

void doDistanceViewDirectionSetting(AppContext &context)
{
    if (!ready(context))
        return;
    DistanceViewDirectionController page(context);
    run(context, page, DistanceViewDirectionController::kGestureMode, true);
}

void doWiFiPasswordChange(AppContext &context)
{
    if (!ready(context))
        return;
    WiFiPasswordChangeController page(context);
    run(context, page, std::nullopt, false);
}

} // namespace VizoPages
