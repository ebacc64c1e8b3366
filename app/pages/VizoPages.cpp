#include "VizoPages.h"

#include "AutoScrollPositionController.h"
#include "ColorSettingController.h"
#include "ContrastController.h"
#include "DistanceViewDirectionController.h"
#include "MarkerPageController.h"
#include "WiFiPasswordChangeController.h"

#include "core/AppDelegate.h"
#include "core/PageService.h"
#include "settings/VizoSettings.h"

#if __has_include("input/VizoInputArming.h")
#include "input/VizoInputArming.h"
#endif

#include <memory>

namespace VizoPages {

namespace {
// The pages run only inside a running application.
AppDelegate *app()
{
    AppDelegate *delegate = AppDelegate::instance();
    return delegate && AppDelegate::settings() ? delegate : nullptr;
}

void run(ModalWindowController &page, std::optional<int> gestureMode, bool showsPicture)
{
    app()->pageService().runPage(page, {gestureMode, showsPicture});
}
} // namespace

int doColorSlotColorSetting(int colorMode, int slotIndex)
{
    if (!app() || slotIndex < 1 || slotIndex > 7)
        return slotIndex;
    // The slot and the slot code sent for it follow the view the slot
    // belongs to.
    const int view = colorMode == 0 ? 0 : 1;
    VizoColorSlot *slot =
        AppDelegate::settings()->options()->colorModeForCameraMode(view)->slot(slotIndex);
    ColorSettingController page;
    page.setColorSlotIndex(slotIndex);
    page.setCameraMode(view);
    page.setColorSlot(slot);
    run(page, std::nullopt, false);
    return slotIndex;
}

void doContrastSetting()
{
    if (!app())
        return;
    ContrastController page;
    run(page, std::nullopt, true);
}

void doMarkerSetting(int markerMode)
{
    if (!app())
        return;
    std::unique_ptr<MarkerPageController> page(MarkerPageController::create(markerMode));
    if (!page)
        return;
    run(*page, MarkerPageController::gestureModeFor(markerMode), true);
}

bool doAutoScrollRangeSetting()
{
    if (!app())
        return false;
    AutoScrollPositionController page;
    run(page, AutoScrollPositionController::kGestureMode, true);
    return page.isConfirmed();
}

void doDistanceViewDirectionSetting()
{
    if (!app())
        return;
    DistanceViewDirectionController page;
    run(page, DistanceViewDirectionController::kGestureMode, true);
}

void doWiFiPasswordChange()
{
    if (!app())
        return;
    WiFiPasswordChangeController page;
    run(page, std::nullopt, false);
}

void installColorSlotPageOpener()
{
#if __has_include("input/VizoInputArming.h")
    VizoInputArming::setColorSlotPageOpener(
        [](int view, int slotIndex) { doColorSlotColorSetting(view, slotIndex); });
#endif
}

} // namespace VizoPages
