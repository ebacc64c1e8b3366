#include <bramble/BrPacketAssembler.h>

#include <algorithm>
#include <cstring>

BrPacketAssembler::BrPacketAssembler(unsigned headerSize)
    // A header of at least one byte, so every pass makes progress.
    : m_header(std::make_unique<std::uint8_t[]>(std::max(headerSize, 1u))),
      m_headerSize(std::max(headerSize, 1u))
{
}

BrPacketAssembler::~BrPacketAssembler() = default;

void BrPacketAssembler::Assemble(const void *data, int length)
{
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    const unsigned total = length > 0 ? unsigned(length) : 0;
    unsigned consumed = 0;
    do {
        if (m_headerFilled < m_headerSize) {
            consumed += FillHeader(bytes + consumed, total - consumed);
            continue;
        }
        unsigned take = 0;
        if (consumed != total) {
            take = std::min(m_bodySize - m_bodyFilled, total - consumed);
            std::memcpy(m_body.get() + m_bodyFilled, bytes + consumed, take);
            m_bodyFilled += take;
        }
        if (m_bodyFilled == m_bodySize)
            deliver();
        consumed += take;
    } while (consumed != total);
}

unsigned BrPacketAssembler::FillHeader(const void *data, unsigned length)
{
    if (length == 0)
        return 0;
    const unsigned take = std::min(m_headerSize - m_headerFilled, length);
    std::memcpy(m_header.get() + m_headerFilled, data, take);
    m_headerFilled += take;
    if (m_headerFilled == m_headerSize) {
        m_bodySize = bodySizeForHeader(m_header.get(), int(m_headerSize));
        if (m_bodySize != 0) {
            m_body = std::make_unique_for_overwrite<std::uint8_t[]>(m_bodySize);
            m_bodyFilled = 0;
            // An offset past the end would make the copy run off the buffer.
            m_bodyFilled = std::min(bodyStartOffset(), m_bodySize);
        } else {
            m_headerFilled = 0;
        }
    }
    return take;
}

unsigned BrPacketAssembler::FillBody(const void *data, unsigned length)
{
    if (length == 0 || !m_body)
        return 0;
    const unsigned take = std::min(m_bodySize - m_bodyFilled, length);
    std::memcpy(m_body.get() + m_bodyFilled, data, take);
    m_bodyFilled += take;
    return take;
}

void BrPacketAssembler::Reset()
{
    m_body.reset();
    m_headerFilled = 0;
    m_bodySize = 0;
    m_bodyFilled = 0;
}

void BrPacketAssembler::deliver()
{
    if (onPacket)
        onPacket(m_header.get(), int(m_headerSize), m_body.get(), int(m_bodyFilled));
    m_body.reset();
    m_headerFilled = 0;
    m_bodySize = 0;
    m_bodyFilled = 0;
}
