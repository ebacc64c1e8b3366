#include "protocol/VizoFrameDecoder.h"

#include "protocol/VizoFrame.h"

namespace {

QString hexByte(std::uint8_t b)
{
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0'));
}

bool isMagicAt(const QByteArray &buffer, qsizetype at)
{
    return at + 1 < buffer.size() && std::uint8_t(buffer[at]) == VizoFrame::magicByte
           && std::uint8_t(buffer[at + 1]) == VizoFrame::magicByte;
}

} // namespace

QString vizoQuoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QStringLiteral("\\x") + hexByte(std::uint8_t(c.unicode()));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString vizoDescribeFrame(VizoDirection direction, const QByteArray &frame)
{
    const auto parsed = VizoFrame::parse(frame);
    if (!parsed)
        return QStringLiteral("malformed frame of %1 bytes").arg(frame.size());

    QStringList parts;
    const QByteArray &payload = parsed->payload;
    const auto decoded = vizoDecodePayload(direction, payload);
    if (!decoded.entry) {
        if (payload.size() >= 2)
            parts << QStringLiteral("unknown %1 %2")
                         .arg(hexByte(std::uint8_t(payload[0])), hexByte(std::uint8_t(payload[1])));
        else if (payload.size() == 1)
            parts << QStringLiteral("unknown %1").arg(hexByte(std::uint8_t(payload[0])));
        else
            parts << QStringLiteral("empty");
    } else {
        parts << QLatin1String(decoded.entry->name);
    }
    if (parsed->count != 1 || parsed->index != 1)
        parts << QStringLiteral("%1/%2").arg(parsed->index).arg(parsed->count);
    if (decoded.entry && !decoded.wellFormed) {
        parts << QStringLiteral("malformed len=%1").arg(payload.size());
    } else if (decoded.entry) {
        for (std::uint32_t v : decoded.values)
            parts << QString::number(v);
        if (decoded.entry->hasTail())
            parts << vizoQuoted(decoded.text);
    }
    if (!parsed->magicOk)
        parts << QStringLiteral("magic=bad");
    if (parsed->word != VizoFrame::fixedWord)
        parts << QStringLiteral("word=%1").arg(parsed->word, 4, 16, QLatin1Char('0'));
    if (!parsed->trailerOk)
        parts << QStringLiteral("trailer=bad");
    parts << (parsed->crcOk ? QStringLiteral("crc=ok") : QStringLiteral("crc=bad"));
    return parts.join(QLatin1Char(' '));
}

QStringList VizoStreamDecoder::feed(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    QStringList lines;
    drain(lines, false);
    return lines;
}

QStringList VizoStreamDecoder::finish()
{
    QStringList lines;
    drain(lines, true);
    flushSkipped(lines);
    return lines;
}

void VizoStreamDecoder::skip(qsizetype count)
{
    m_buffer.remove(0, count);
    m_skipped += count;
    m_tally.skippedBytes += count;
}

void VizoStreamDecoder::count(const QByteArray &frame)
{
    ++m_tally.frames;
    const auto parsed = VizoFrame::parse(frame);
    if (!parsed || !parsed->crcOk)
        ++m_tally.badChecksums;
    if (parsed && parsed->word != VizoFrame::fixedWord)
        ++m_tally.badFraming;
}

void VizoStreamDecoder::flushSkipped(QStringList &lines)
{
    if (m_skipped)
        lines << QStringLiteral("skipped %1 bytes").arg(m_skipped);
    m_skipped = 0;
}

void VizoStreamDecoder::drain(QStringList &lines, bool atEnd)
{
    for (;;) {
        if (!isMagicAt(m_buffer, 0)) {
            const qsizetype next = m_buffer.indexOf("\xFC\xFC", 1);
            if (next > 0) {
                skip(next);
                continue;
            }
            // Keep a last FC: it may be the first half of a magic.
            const bool keepLast = !atEnd && !m_buffer.isEmpty()
                                  && std::uint8_t(m_buffer.back()) == VizoFrame::magicByte;
            skip(m_buffer.size() - (keepLast ? 1 : 0));
            return;
        }
        const qsizetype have = m_buffer.size();
        qsizetype total = -1;
        if (have >= qsizetype(VizoFrame::headerSize))
            total = qsizetype(VizoFrame::headerSize)
                    + VizoFrame::bodySizeForHeader(reinterpret_cast<const std::uint8_t *>(m_buffer.constData()));
        if (total < 0 || have < total) {
            if (!atEnd)
                return;
            // The stream ended inside this frame, or this magic was noise
            // in front of a later frame.
            if (m_buffer.indexOf("\xFC\xFC", 2) < 0) {
                flushSkipped(lines);
                lines << (total < 0 ? QStringLiteral("truncated frame (%1 bytes)").arg(have)
                                    : QStringLiteral("truncated frame (%1 of %2 bytes)").arg(have).arg(total));
                ++m_tally.truncatedFrames;
                m_buffer.clear();
                return;
            }
            skip(1);
            continue;
        }
        if (std::uint8_t(m_buffer[total - 2]) != VizoFrame::trailerByte
            || std::uint8_t(m_buffer[total - 1]) != VizoFrame::trailerByte) {
            skip(1);
            continue;
        }
        flushSkipped(lines);
        const QByteArray frame = m_buffer.left(total);
        count(frame);
        lines << vizoDescribeFrame(m_direction, frame);
        m_buffer.remove(0, total);
    }
}
