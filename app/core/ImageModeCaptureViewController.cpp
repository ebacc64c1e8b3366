#include "ImageModeCaptureViewController.h"

#include "AppDelegate.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

ImageModeCaptureViewController::ImageModeCaptureViewController(QWidget *parent)
    : CaptureWindowController(parent)
{
    setObjectName(QStringLiteral("ImageModeCaptureViewController"));
    setWindowTitle(QStringLiteral("Stored image"));
}

void ImageModeCaptureViewController::vizoModeChanged()
{
    switch (AppDelegate::settings()->vizoMode()) {
    case 0:
        quit();
        break;
    case 1:
        armForMode(2, 8);
        break;
    case 2:
        armForMode(1, 7);
        break;
    case 5:
        armForMode(3, 9);
        break;
    default:
        break;
    }
}

void ImageModeCaptureViewController::quitSends()
{
    AppDelegate *app = AppDelegate::instance();
    VizoSettings *settings = AppDelegate::settings();
    const int mode = settings->vizoMode();
    if (mode == 5)
        app->writeVizoPacket(VizoCmd::FindPositionEnd().payload());
    if (mode == 1 || mode == 5) {
        app->writeVizoPacket(VizoCmd::OcrExit().payload());
        settings->setVizoMode(0);
        settings->setOcrPlayed(false);
        app->updateHotKeys();
        app->updateMouseGestures();
    }
}
