#pragma once
// The window of a stored OCR text. OcrExit is its file browser's, once the
// window has closed.
#include "CaptureWindowController.h"

class OCRModeCaptureViewController : public CaptureWindowController
{
    Q_OBJECT

public:
    explicit OCRModeCaptureViewController(QWidget *parent = nullptr);
    void vizoModeChanged() override;

protected:
    void quitSends() override;
};
