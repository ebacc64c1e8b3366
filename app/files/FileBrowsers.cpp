#include "files/FileBrowsers.h"

#include "core/AppDelegate.h"
#include "core/PageService.h"
#include "files/ImageFilesController.h"
#include "files/OCRFilesController.h"

namespace FileBrowsers {

namespace {
template <typename Browser> void open()
{
    AppDelegate *app = AppDelegate::instance();
    if (!app || !AppDelegate::settings())
        return;
    Browser browser;
    app->pageService().runPage(browser, PageService::Options{});
}
} // namespace

void openImageFileBrowser()
{
    open<ImageFilesController>();
}

void openOCRFileBrowser()
{
    open<OCRFilesController>();
}

} // namespace FileBrowsers
