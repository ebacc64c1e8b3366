#pragma once
// The Files tree (tab 2): the browsers of the images and recognised texts
// stored on the device's card. The browsers fill it; until they exist it is
// empty, as it is for the editions without files.
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
};
