#pragma once
// What every setting page needs from the application: sending to the device,
// speaking through it, and the texts of the current interface language.
// Main thread only.
#include <QByteArray>
#include <QString>

namespace PageSupport {

// One payload to the device, through the delegate.
void send(const QByteArray &payload);
// The device reads `text` aloud (SpeakText).
void speak(const QString &text);
// Speaks once the current event has been handled, so a page that closes
// right after still closes first.
void speakLater(const QString &text);

// A text of the "OptionUI" or "Messages" table; `fallback` (English) while
// the tables lack the key, so a page is never blank.
QString optionText(const char *key, const QString &fallback);
QString messageText(const char *key, const QString &fallback);

// The application's scale factor; 1 before a screen is known.
double scale();

} // namespace PageSupport
