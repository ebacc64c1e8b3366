#include "HexTextReader.h"

namespace {

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

bool HexTextReader::looksLikeHexText(const QByteArray &text)
{
    bool digit = false;
    for (char c : text) {
        if (digitValue(c) >= 0)
            digit = true;
        else if (!isSpace(c))
            return false;
    }
    return digit;
}

bool HexTextReader::oddDigitError(QString *error) const
{
    *error = QStringLiteral("a lone hex digit before offset %1").arg(m_offset);
    return false;
}

bool HexTextReader::feed(const QByteArray &text, QByteArray *bytes, QString *error)
{
    for (char c : text) {
        const int value = digitValue(c);
        if (value >= 0) {
            if (m_pending < 0) {
                m_pending = value;
            } else {
                bytes->append(char(m_pending << 4 | value));
                m_pending = -1;
            }
        } else if (isSpace(c)) {
            if (m_pending >= 0)
                return oddDigitError(error);
        } else {
            *error = QStringLiteral("not hex text: byte 0x%1 at offset %2")
                         .arg(std::uint8_t(c), 2, 16, QLatin1Char('0'))
                         .arg(m_offset);
            return false;
        }
        ++m_offset;
    }
    return true;
}

bool HexTextReader::finish(QString *error)
{
    return m_pending < 0 || oddDigitError(error);
}
