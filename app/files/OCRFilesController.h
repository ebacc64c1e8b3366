#pragma once
// The browser of the recognised texts stored on the device: a chosen text
// opens in the OCR window; OcrExit follows when it closes.
#include "files/FilesController.h"

class OCRFilesController : public FilesController
{
    Q_OBJECT

public:
    explicit OCRFilesController(AppContext &context, QWidget *parent = nullptr);
    static FilesKindTraits kindTraits();
};
