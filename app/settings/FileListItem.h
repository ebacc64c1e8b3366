#pragma once
// One file on the device's memory card, as a file browser shows it.
#include <QString>

// The two kinds of stored files; the numbers are the device's list kinds.
enum class VizoFileKind { Image = 1, OCR = 2 };

struct FileListItem
{
    QString fileName;           // as the device listed it
    QString filePath;           // "Image/<name>" or "OCR/<name>": what open and delete send
    bool checked = false;       // ticked for deletion
    bool checkBoxHidden = true; // shown only while the browser is in delete mode

    // The folder prefix of a kind: "Image/" or "OCR/".
    static QString folderPrefix(VizoFileKind kind);
    // The item for `name` of `kind`; the check box shows when `deleteMode`.
    static FileListItem make(VizoFileKind kind, const QString &name, bool deleteMode);

    bool operator==(const FileListItem &) const = default;
};
