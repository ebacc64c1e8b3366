#include "PasswordFilter.h"

namespace PasswordFilter {

namespace {
bool allowed(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}
} // namespace

QString filtered(const QString &text, bool *refused)
{
    // Every character is checked, not only the last typed one: a pasted
    // text or a character typed in the middle must not slip through.
    QString out;
    out.reserve(text.size());
    bool dropped = false;
    for (QChar c : text) {
        if (allowed(c))
            out.append(c);
        else
            dropped = true;
    }
    if (out.size() > kMaxLength) {
        out.truncate(kMaxLength);
        dropped = true;
    }
    if (refused)
        *refused = dropped;
    return out;
}

} // namespace PasswordFilter
