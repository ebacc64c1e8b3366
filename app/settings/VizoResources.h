#pragma once
// Read-only property-list resources compiled into the application
// (":/resources/<name>.plist"): the region and language tables and the text
// table of each interface language. Main thread only (the cache is unlocked).
#include <QString>
#include <QVariantMap>

class VizoResources
{
public:
    // The dictionary at the root of resource `name`, parsed once and cached.
    // A missing or malformed resource logs a warning and yields an empty map.
    static QVariantMap propertyList(const QString &name);

    // The path of resource `name`, for tools and tests.
    static QString path(const QString &name);
};
