#include "settings/FileListItem.h"

QString FileListItem::folderPrefix(VizoFileKind kind)
{
    return kind == VizoFileKind::Image ? QStringLiteral("Image/") : QStringLiteral("OCR/");
}

FileListItem FileListItem::make(VizoFileKind kind, const QString &name, bool deleteMode)
{
    FileListItem item;
    item.fileName = name;
    item.filePath = folderPrefix(kind) + name;
    item.checkBoxHidden = !deleteMode;
    return item;
}
