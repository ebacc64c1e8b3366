#pragma once
// The main-thread end of a file list's arrival: apply the parsed list to the
// settings, then post the kind's notification so an open browser reloads.
#include "settings/FileListItem.h"

#include <QString>
#include <QStringList>

#include <optional>

class BrNotificationCenter;
class VizoSettings;

class VizoFileListDelivery
{
public:
    // "ImageFileListDownloaded" (kind 1) and "OCRFileListDownloaded" (kind 2).
    static QString notificationName(VizoFileKind kind);

    // Main thread only. No list (undecodable data) counts as an empty list;
    // the notification is posted in every case.
    static void deliver(VizoSettings &settings, VizoFileKind kind,
                        const std::optional<QStringList> &names, BrNotificationCenter &center);
};
