#include "files/ImageFilesController.h"

#include "kit/ImageModeCaptureViewController.h"
#include "settings/VizoFileListDelivery.h"
#include "protocol/VizoCommands.h"

FilesKindTraits ImageFilesController::kindTraits()
{
    FilesKindTraits traits;
    traits.kind = VizoFileKind::Image;
    traits.titleKey = QStringLiteral("Image.Page.Title");
    traits.notificationName = VizoFileListDelivery::notificationName(VizoFileKind::Image);
    traits.openCommand = [](const QString &path) -> VizoResult<QByteArray> {
        const auto open = VizoCmd::ImageOpen::fromPath(path);
        if (!open)
            return VizoResult<QByteArray>::failure(open.error());
        return open->payload();
    };
    traits.closeCommand = VizoCmd::ImageClose().payload();
    traits.makeCaptureWindow = [](AppContext &app) { return std::make_unique<ImageModeCaptureViewController>(app); };
    return traits;
}

ImageFilesController::ImageFilesController(AppContext &app, QWidget *parent)
    : FilesController(kindTraits(), app, parent)
{
}
