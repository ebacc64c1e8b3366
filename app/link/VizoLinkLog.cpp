#include "link/VizoLinkLog.h"

Q_LOGGING_CATEGORY(lcVizoLink, "vizo.link", QtWarningMsg)

namespace {

QString oneLine(QString line)
{
    while (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    return line;
}

} // namespace

void vizoLinkDebug(const QString &line)
{
    qCDebug(lcVizoLink).noquote() << oneLine(line);
}

void vizoLinkWarning(const QString &line)
{
    qCWarning(lcVizoLink).noquote() << oneLine(line);
}
