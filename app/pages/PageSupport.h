#pragma once
// The texts and sizes every setting page needs, from the application it runs
// in. Sending and speaking go through the context itself
// (AppContext::writeVizoPacket, AppContext::speak). Main thread only.
#include <QString>

class AppContext;

namespace PageSupport {

// Speaks once the current event has been handled, so a page that closes
// right after still closes first. Nothing is spoken if the context's
// connection has gone by then.
void speakLater(AppContext &context, const QString &text);

// A text of the "OptionUI" or "Messages" table; `fallback` (English) while
// the tables lack the key, so a page is never blank.
QString optionText(const AppContext &context, const char *key, const QString &fallback);
QString messageText(const AppContext &context, const char *key, const QString &fallback);

// The application's scale factor; 1 before a screen is known.
double scale(const AppContext &context);

} // namespace PageSupport
