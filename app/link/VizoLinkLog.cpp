#include "link/VizoLinkLog.h"

#include <cstdio>

Q_LOGGING_CATEGORY(lcVizoLink, "vizo.link", QtWarningMsg)

void vizoLinkPrint(const QString &line)
{
    QByteArray bytes = line.toLocal8Bit();
    if (!bytes.endsWith('\n'))
        bytes.append('\n');
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
