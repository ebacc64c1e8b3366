#pragma once
// The window of a stored image. It quits out of OCR by itself: from the
// camera preview it sends FindPositionEnd, then OcrExit.
#include "CaptureWindowController.h"

class AppContext;

class ImageModeCaptureViewController : public CaptureWindowController
{
    Q_OBJECT

public:
    explicit ImageModeCaptureViewController(AppContext &context, QWidget *parent = nullptr);
    void vizoModeChanged() override;

protected:
    void quitSends() override;
};
