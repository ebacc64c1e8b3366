#pragma once
// The rule for what a new Wi-Fi password field accepts: ASCII letters and
// digits, at most eight of them (the device takes up to twelve). The
// current-password field takes whatever the device holds.
#include <QString>

namespace PasswordFilter {

inline constexpr int kMaxLength = 8;

// `text` with every other character removed and cut to kMaxLength;
// `refused` tells whether anything had to go (the field then beeps).
QString filtered(const QString &text, bool *refused = nullptr);

} // namespace PasswordFilter
