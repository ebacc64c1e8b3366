#include "OCRModeCaptureViewController.h"

#include "AppDelegate.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

OCRModeCaptureViewController::OCRModeCaptureViewController(QWidget *parent)
    : CaptureWindowController(parent)
{
    setObjectName(QStringLiteral("OCRModeCaptureViewController"));
    setWindowTitle(QStringLiteral("Stored text"));
}

void OCRModeCaptureViewController::vizoModeChanged()
{
    switch (AppDelegate::settings()->vizoMode()) {
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
    if (AppDelegate::settings()->vizoMode() == 5)
        AppDelegate::instance()->writeVizoPacket(VizoCmd::FindPositionEnd().payload());
}
