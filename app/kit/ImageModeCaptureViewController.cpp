#include "ImageModeCaptureViewController.h"

#include "kit/AppContext.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

ImageModeCaptureViewController::ImageModeCaptureViewController(AppContext &app, QWidget *parent)
    : CaptureWindowController(app, parent)
{
    setObjectName(QStringLiteral("ImageModeCaptureViewController"));
    setWindowTitle(QStringLiteral("Stored image"));
}

void ImageModeCaptureViewController::vizoModeChanged()
{
    switch (context().settings()->vizoMode()) {
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
    AppContext *app = &context();
    VizoSettings *settings = context().settings();
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
