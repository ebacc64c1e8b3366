#include "settings/VizoFileListBuilder.h"

#include "settings/VizoSettingsLog.h"

QByteArray VizoFileListBuilder::build(const QStringList &names)
{
    QByteArray out;
    for (const QString &name : names) {
        if (name.isEmpty() || name.contains(QLatin1Char('\n'))) {
            qCWarning(lcVizoSettings) << "file list: cannot list the name" << name;
            continue;
        }
        out += name.toUtf8();
        out += '\n';
    }
    return out;
}
