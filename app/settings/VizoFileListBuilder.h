#pragma once
// Builds the list text the device sends for a set of file names (used by the
// virtual device): each name in UTF-8 followed by one line feed.
#include <QByteArray>
#include <QStringList>

class VizoFileListBuilder
{
public:
    // A name holding a line feed cannot be listed (it would read back as two
    // names) and is left out with a diagnostic line, as is an empty name.
    static QByteArray build(const QStringList &names);
};
