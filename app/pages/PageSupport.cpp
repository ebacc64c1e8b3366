#include "PageSupport.h"

#include "core/AppDelegate.h"
#include "protocol/VizoCommands.h"

#include <bramble/BrDispatch.h>

namespace PageSupport {

void send(const QByteArray &payload)
{
    if (AppDelegate *app = AppDelegate::instance())
        app->writeVizoPacket(payload);
}

void speak(const QString &text)
{
    send(VizoCmd::SpeakText(text).payload());
}

void speakLater(const QString &text)
{
    brPostMain([text] { speak(text); });
}

QString optionText(const char *key, const QString &fallback)
{
    return AppDelegate::languageString(QStringLiteral("OptionUI"), QString::fromLatin1(key),
                                       fallback);
}

QString messageText(const char *key, const QString &fallback)
{
    return AppDelegate::languageString(QStringLiteral("Messages"), QString::fromLatin1(key),
                                       fallback);
}

double scale()
{
    const double s = AppDelegate::scaleFactor();
    return s > 0 ? s : 1.0;
}

} // namespace PageSupport
