#include "files/OCRFilesController.h"

#include "core/OCRModeCaptureViewController.h"
#include "files/VizoFileListDelivery.h"
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
    traits.makeCaptureWindow = [] { return std::make_unique<OCRModeCaptureViewController>(); };
    return traits;
}

OCRFilesController::OCRFilesController(QWidget *parent) : FilesController(kindTraits(), parent) {}
