#include "link/VizoStreamFramer.h"

#include "link/VizoLinkLog.h"
#include "protocol/VizoFrame.h"

#include <bramble/BrPacketAssembler.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t magic = VizoFrame::magicByte;

std::uint16_t le16(const std::uint8_t *at)
{
    return std::uint16_t(at[0] | (at[1] << 8));
}

} // namespace

VizoStreamFramer::VizoStreamFramer(BrPacketAssembler &assembler) : m_assembler(assembler)
{
    m_assembler.bodyStartOffset = [] { return 0u; };
    m_assembler.bodySizeForHeader = [this](const std::uint8_t *header, int size) -> unsigned {
        if (header[0] != magic || header[1] != magic) {
            dropped(header, std::size_t(size), nullptr, 0);
            return 0; // the assembler discards the header
        }
        return VizoFrame::bodySizeForHeader(header);
    };
    m_assembler.onPacket = [this](const std::uint8_t *header, int headerSize, const std::uint8_t *body,
                                  int bodySize) {
        const auto hs = std::size_t(headerSize);
        const auto bs = std::size_t(bodySize);
        if (bs < 4 || body[bs - 2] != VizoFrame::trailerByte || body[bs - 1] != VizoFrame::trailerByte) {
            dropped(header, hs, body, bs);
            return;
        }
        const std::size_t payloadSize = bs - 4;
        VizoReceivedFrame frame;
        frame.count = le16(header + 4);
        frame.index = le16(header + 6);
        frame.payload = QByteArray(reinterpret_cast<const char *>(body), qsizetype(payloadSize));
        frame.raw = QByteArray(reinterpret_cast<const char *>(header), qsizetype(hs));
        frame.raw.append(reinterpret_cast<const char *>(body), qsizetype(bs));
        const std::uint16_t crc = vizoCrc16(body, payloadSize, vizoCrc16(header + 2, hs - 2));
        const std::uint16_t carried = std::uint16_t((body[payloadSize] << 8) | body[payloadSize + 1]);
        frame.crcOk = crc == carried;
        if (!frame.crcOk)
            vizoLinkWarning(QString::asprintf("*** CRC mismatch in frame %02x %02x (%d/%d): carried %04x, computed %04x",
                                            payloadSize > 0 ? body[0] : 0, payloadSize > 1 ? body[1] : 0,
                                            frame.index, frame.count, carried, crc));
        if (eventFrame)
            eventFrame(frame);
    };
}

void VizoStreamFramer::dropped(const std::uint8_t *first, std::size_t firstSize, const std::uint8_t *second,
                               std::size_t secondSize)
{
    m_bad = true;
    m_droppedBytes = QByteArray(reinterpret_cast<const char *>(first), qsizetype(firstSize));
    if (second)
        m_droppedBytes.append(reinterpret_cast<const char *>(second), qsizetype(secondSize));
    ++m_framesDropped;
}

void VizoStreamFramer::feed(const std::uint8_t *data, std::size_t size)
{
    QByteArray work; // carried bytes plus this chunk, or a dropped frame searched again
    const std::uint8_t *p = data;
    std::size_t n = size;
    if (!m_carry.isEmpty()) {
        work = m_carry;
        work.append(reinterpret_cast<const char *>(data), qsizetype(size));
        m_carry.clear();
        p = reinterpret_cast<const std::uint8_t *>(work.constData());
        n = std::size_t(work.size());
    }
    while (n > 0) {
        if (m_hunting) {
            std::size_t at = 0;
            while (at + 1 < n && !(p[at] == magic && p[at + 1] == magic))
                ++at;
            if (at + 1 >= n) {
                // No magic; a last FC may be its first half.
                const std::size_t keep = p[n - 1] == magic ? 1 : 0;
                m_bytesSkipped += n - keep;
                m_carry = QByteArray(reinterpret_cast<const char *>(p + n - keep), qsizetype(keep));
                return;
            }
            // In a run of FC bytes the magic is the last pair: the byte after
            // a magic is the fixed word, never FC.
            while (at + 2 < n && p[at + 2] == magic)
                ++at;
            if (at + 2 == n) {
                // The run reaches the end of the chunk and may go on.
                m_bytesSkipped += at;
                m_carry = QByteArray(reinterpret_cast<const char *>(p + at), 2);
                return;
            }
            if (at)
                qCDebug(lcVizoLink) << "skipped" << at << "bytes before a frame";
            m_bytesSkipped += at;
            n -= at;
            p += at;
            m_hunting = false;
        }

        // Feed no further than the end of the current header or body, so a
        // damaged frame is noticed before the bytes after it are taken.
        const std::size_t need = m_assembler.headerFilled() < m_assembler.headerSize()
                                     ? m_assembler.headerSize() - m_assembler.headerFilled()
                                     : m_assembler.bodySize() - m_assembler.bodyFilled();
        const std::size_t take = std::min(need, n);
        m_assembler.Assemble(p, int(take));
        p += take;
        n -= take;

        if (m_bad) {
            m_bad = false;
            m_assembler.Reset();
            m_hunting = true;
            vizoLinkWarning(QStringLiteral("*** Dropped a damaged frame of %1 bytes, resynchronising")
                              .arg(m_droppedBytes.size()));
            QByteArray again = m_droppedBytes.mid(1);
            again.append(reinterpret_cast<const char *>(p), qsizetype(n));
            work.swap(again);
            p = reinterpret_cast<const std::uint8_t *>(work.constData());
            n = std::size_t(work.size());
        }
    }
}
