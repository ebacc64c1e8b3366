#include "files/OCRFilesController.h"

#include "kit/OCRModeCaptureViewController.h"
#include "settings/VizoFileListDelivery.h"
#include "protocol/VizoCommands.h"

FilesKindTraits OCRFilesController::kindTraits()
{
    FilesKindTraits traits;
    traits.kind = VizoFileKind::OCR;
    traits.titleKey = QStringLiteral("OCR.Page.Title");
    traits.notificationName = VizoFileListDelivery::notificationName(VizoFileKind::OCR);
    traits.openCommand = [](const QString &path) -> VizoResult<QByteArray> {
        const auto open = VizoCmd::OcrOpenFile::fromPath(path);
        if (!open)
            return VizoResult<QByteArray>::failure(open.error());
        return open->payload();
    };
    traits.closeCommand = VizoCmd::OcrExit().payload();
    traits.makeCaptureWindow = [](AppContext &app) { return std::make_unique<OCRModeCaptureViewController>(app); };
    return traits;
}

OCRFilesController::OCRFilesController(AppContext &app, QWidget *parent)
    : FilesController(kindTraits(), app, parent) {}
