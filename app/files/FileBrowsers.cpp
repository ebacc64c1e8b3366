#include "files/FileBrowsers.h"

#include "kit/AppContext.h"
#include "kit/PageService.h"
#include "files/ImageFilesController.h"
#include "files/OCRFilesController.h"

namespace FileBrowsers {

namespace {
template <typename Browser> void open(AppContext &context)
{
    if (!context.settings())
        return;
    Browser browser(context);
    context.pageService().runPage(browser, PageService::Options{});
}
} // namespace

void openImageFileBrowser(AppContext &context)
{
    open<ImageFilesController>(context);
}

void openOCRFileBrowser(AppContext &context)
{
    open<OCRFilesController>(context);
}

} // namespace FileBrowsers
