#include "FilesMenu.h"

void FilesMenu::makeMenu()
{
    clearItems();
    // The file browsers add Image, OCR and Exit here (Summit only).
}

TrellisMenuPtr FilesMenu::buildMenuTree()
{
    return menuOf({});
}
