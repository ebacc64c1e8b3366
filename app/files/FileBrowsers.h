#pragma once
// Opening the file browsers: each call builds the browser, hands it the
// keyboard (hot keys and gestures off) through the delegate's page service,
// runs it modally and returns when it has closed, with the main window's
// input back. Used by the Files menu. Main thread only.
class AppContext;

namespace FileBrowsers {

void openImageFileBrowser(AppContext &context);
void openOCRFileBrowser(AppContext &context);

} // namespace FileBrowsers
