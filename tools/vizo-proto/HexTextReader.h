#pragma once
// Turns the hex text that `vizo-proto encode` prints ("fc fc 02 01 ...", one
// frame a line) back into bytes, a chunk at a time, so a pipe from encode to
// decode round-trips. Pairs of digits may stand together ("fcfc0201", as
// xxd -p prints them) or apart; a lone digit between separators is an error,
// since it would shift every byte after it.
#include <QByteArray>
#include <QString>

#include <cstdint>

class HexTextReader
{
public:
    // The bytes spelled by this chunk; false with `error` set on anything
    // that is not hex text.
    bool feed(const QByteArray &text, QByteArray *bytes, QString *error);
    // False with `error` set when the text ended inside a byte.
    bool finish(QString *error);

    // Whether text holds only hex digits and white space, with at least one
    // digit: how decode tells hex text from a captured byte stream, which
    // starts with the frame magic FC FC.
    static bool looksLikeHexText(const QByteArray &text);

private:
    bool oddDigitError(QString *error) const;

    qint64 m_offset = 0; // of the next character, for messages
    int m_pending = -1;  // value of a first digit waiting for its second
};
