#include "PageSupport.h"

#include "kit/AppContext.h"

#include <bramble/BrDispatch.h>

namespace PageSupport {

void speakLater(AppContext &context, const QString &text)
{
    // The page may be gone by then; the context (the application) is not.
    ConnectionGuard guard(context);
    AppContext *ctx = &context;
    brPostMain([ctx, guard, text] {
        if (guard.alive())
            ctx->speak(text);
    });
}

QString optionText(const AppContext &context, const char *key, const QString &fallback)
{
    return context.languageString(QStringLiteral("OptionUI"), QString::fromLatin1(key), fallback);
}

QString messageText(const AppContext &context, const char *key, const QString &fallback)
{
    return context.languageString(QStringLiteral("Messages"), QString::fromLatin1(key), fallback);
}

double scale(const AppContext &context)
{
    const double s = context.scaleFactor();
    return s > 0 ? s : 1.0;
}

} // namespace PageSupport
