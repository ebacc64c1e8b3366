#include "FilesMenu.h"

#include "kit/AppContext.h"
#include "files/FileBrowsers.h"
#include "settings/VizoSettings.h"

void FilesMenu::makeMenu()
{
    clearItems();
    // The browsers run modally through the page service, which hands them
    // the keyboard and gives the menu its keys back afterwards.
    menuItemFiles_Image = item("Files.Image");
    menuItemFiles_Image->eventItemClicked = [app = &context()](TrellisItem *) {
        FileBrowsers::openImageFileBrowser(*app);
    };
    menuItemFiles_OCR = item("Files.OCR");
    menuItemFiles_OCR->eventItemClicked = [app = &context()](TrellisItem *) {
        FileBrowsers::openOCRFileBrowser(*app);
    };
    menuItemFiles_Exit = item("Exit");
    menuItemFiles_Exit->eventItemClicked = [app = &context()](TrellisItem *) { app->closeMenu(); };
}

TrellisMenuPtr FilesMenu::buildMenuTree()
{
    if (settings()->vizoVersion() != VizoSettings::Summit)
        return menuOf({});
    return menuOf({menuItemFiles_Image, menuItemFiles_OCR, menuItemFiles_Exit});
}
