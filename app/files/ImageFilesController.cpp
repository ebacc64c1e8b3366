#include "files/ImageFilesController.h"

#include "core/ImageModeCaptureViewController.h"
#include "files/VizoFileListDelivery.h"
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
    traits.makeCaptureWindow = [] { return std::make_unique<ImageModeCaptureViewController>(); };
    return traits;
}

ImageFilesController::ImageFilesController(QWidget *parent) : FilesController(kindTraits(), parent)
{
}
