// Being built on the pages branch; replaced as a whole there.
#include "VizoPages.h"

#include <QLoggingCategory>

namespace VizoPages {

int doColorSlotColorSetting(int, int slotIndex) { qWarning("pages: not built yet"); return slotIndex; }
void doContrastSetting() { qWarning("pages: not built yet"); }
void doMarkerSetting(int) { qWarning("pages: not built yet"); }
bool doAutoScrollRangeSetting() { qWarning("pages: not built yet"); return false; }
void doDistanceViewDirectionSetting() { qWarning("pages: not built yet"); }
void doWiFiPasswordChange() { qWarning("pages: not built yet"); }
void installColorSlotPageOpener() {}

} // namespace VizoPages
