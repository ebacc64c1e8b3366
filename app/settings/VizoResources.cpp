#include "settings/VizoResources.h"

#include "settings/VizoSettingsLog.h"

#include <bramble/BrPropertyList.h>

#include <QHash>

Q_LOGGING_CATEGORY(lcVizoSettings, "vizo.settings", QtWarningMsg)

// The resources live in a static library: nothing refers to their object file,
// so they must be registered by hand or the linker leaves them out.
static void vizoInitSettingsResources()
{
    Q_INIT_RESOURCE(settings);
}

QString VizoResources::path(const QString &name)
{
    return QStringLiteral(":/resources/%1.plist").arg(name);
}

QVariantMap VizoResources::propertyList(const QString &name)
{
    static bool registered = false;
    if (!registered) {
        vizoInitSettingsResources();
        registered = true;
    }
    static QHash<QString, QVariantMap> cache;
    auto it = cache.constFind(name);
    if (it != cache.constEnd())
        return it.value();
    QString error;
    const QVariant root = BrPropertyList::parseFile(path(name), &error);
    QVariantMap map;
    if (!root.isValid())
        qCWarning(lcVizoSettings).noquote() << "resource" << name << "unreadable:" << error;
    else if (root.typeId() != QMetaType::QVariantMap)
        qCWarning(lcVizoSettings).noquote() << "resource" << name << "is not a dictionary";
    else
        map = root.toMap();
    cache.insert(name, map);
    return map;
}
