#pragma once
// The Files tree (tab 2): the browsers of the images and recognised texts
// stored on the device's card (Summit only; the other editions get an
// empty tree). Image and OCR open their browser, Exit closes the menu.
#include "VizoMenuTree.h"

class FilesMenu : public VizoMenuTree
{
    Q_OBJECT

public:
    using VizoMenuTree::VizoMenuTree;

    // makeSaveMenu: the Image, OCR and Exit rows.
    void makeMenu() override;
    // buildSaveMenuTree: the rows for the current edition.
    TrellisMenuPtr buildMenuTree() override;
    void reloadSettings() override {}

    TrellisItemPtr menuItemFiles_Image;
    TrellisItemPtr menuItemFiles_OCR;
    TrellisItemPtr menuItemFiles_Exit;
};
