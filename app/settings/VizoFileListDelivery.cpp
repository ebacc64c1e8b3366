#include "settings/VizoFileListDelivery.h"

#include "settings/VizoSettings.h"

#include <bramble/BrNotificationCenter.h>

QString VizoFileListDelivery::notificationName(VizoFileKind kind)
{
    return kind == VizoFileKind::Image ? QStringLiteral("ImageFileListDownloaded")
                                       : QStringLiteral("OCRFileListDownloaded");
}

void VizoFileListDelivery::deliver(VizoSettings &settings, VizoFileKind kind,
                                   const std::optional<QStringList> &names,
                                   BrNotificationCenter &center)
{
    const QStringList list = names.value_or(QStringList());
    if (kind == VizoFileKind::Image)
        settings.applyImageFileList(list);
    else
        settings.applyOCRFileList(list);
    center.post(notificationName(kind));
}
