#include "OCRModeCaptureViewController.h"

#include "kit/AppContext.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

OCRModeCaptureViewController::OCRModeCaptureViewController(AppContext &app, QWidget *parent)
    : CaptureWindowController(app, parent)
{
    setObjectName(QStringLiteral("OCRModeCaptureViewController"));
    setWindowTitle(QStringLiteral("Stored text"));
}

void OCRModeCaptureViewController::vizoModeChanged()
{
    switch (context().settings()->vizoMode()) {
    case 0:
        quit();
        break;
    case 1:
        armForMode(2, 8);
        break;
    case 5:
        armForMode(3, 9);
        break;
    default:
        break;
    }
}

void OCRModeCaptureViewController::quitSends()
{
    // OcrExit is the OCR file browser's, once this window has closed.
    if (context().settings()->vizoMode() == 5)
        context().writeVizoPacket(VizoCmd::FindPositionEnd().payload());
}
