#pragma once
// The browser of the images stored on the device: a chosen image opens in the
// image window; ImageClose follows when it closes.
#include "files/FilesController.h"

class ImageFilesController : public FilesController
{
    Q_OBJECT

public:
    explicit ImageFilesController(AppContext &context, QWidget *parent = nullptr);
    static FilesKindTraits kindTraits();
};
