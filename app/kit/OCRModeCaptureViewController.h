#pragma once
// The window of a stored OCR text. OcrExit is its file browser's, once the
// window has closed.
#include "CaptureWindowController.h"

class AppContext;

class OCRModeCaptureViewController : public CaptureWindowController
{
    Q_OBJECT

public:
    explicit OCRModeCaptureViewController(AppContext &context, QWidget *parent = nullptr);
    void vizoModeChanged() override;

protected:
    void quitSends() override;
};
