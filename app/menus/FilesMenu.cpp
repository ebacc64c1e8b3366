#include "FilesMenu.h"

#include "core/AppDelegate.h"
#include "files/FileBrowsers.h"
#include "settings/VizoSettings.h"

void FilesMenu::makeMenu()
{
    clearItems();
    // The browsers run modally through the page service, which hands them
    // the keyboard and gives the menu its keys back afterwards.
    menuItemFiles_Image = item("Files.Image");
    menuItemFiles_Image->eventItemClicked = [](TrellisItem *) {
        FileBrowsers::openImageFileBrowser();
    };
    menuItemFiles_OCR = item("Files.OCR");
    menuItemFiles_OCR->eventItemClicked = [](TrellisItem *) { FileBrowsers::openOCRFileBrowser(); };
    menuItemFiles_Exit = item("Exit");
    menuItemFiles_Exit->eventItemClicked = [](TrellisItem *) {
        if (AppDelegate *app = AppDelegate::instance())
            app->closeMenu();
    };
}

TrellisMenuPtr FilesMenu::buildMenuTree()
{
    if (settings()->vizoVersion() != VizoSettings::Summit)
        return menuOf({});
    return menuOf({menuItemFiles_Image, menuItemFiles_OCR, menuItemFiles_Exit});
}
