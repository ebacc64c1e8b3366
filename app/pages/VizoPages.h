#pragma once
// Opening the setting pages: each call builds the page, configures it, hands
// it the keyboard and mouse through the delegate's page service, runs it
// modally and returns when it has closed. Used by the Options menu and by the
// colour-slot hot key and gesture. Main thread only.
class AppContext;

namespace VizoPages {

// Edits colour slot `slotIndex` (1 to 7) of the colour mode of camera view
// `colorMode` (0 distance, any other value near), with the camera picture
// behind it. Returns the slot index; slot 0 opens nothing.
int doColorSlotColorSetting(AppContext &context, int colorMode, int slotIndex);

// The contrast page of the current camera view.
void doContrastSetting(AppContext &context);

// The marker page of marker mode `markerMode` (0 horizontal line, 1 vertical
// line, 2 horizontal window, 3 vertical window); any other mode opens nothing.
void doMarkerSetting(AppContext &context, int markerMode);

// The auto-scroll range page. True when the user confirmed a custom range
// (the menu's A4 box is then turned off).
bool doAutoScrollRangeSetting(AppContext &context);

// The distance view direction page.
void doDistanceViewDirectionSetting(AppContext &context);

// The Wi-Fi password change page.
void doWiFiPasswordChange(AppContext &context);

} // namespace VizoPages
