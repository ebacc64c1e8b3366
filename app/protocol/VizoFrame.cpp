#include "protocol/VizoFrame.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<std::uint16_t, 256> makeCrcTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t value = std::uint16_t(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 0x8000) ? std::uint16_t((value << 1) ^ 0x1021) : std::uint16_t(value << 1);
        table[i] = value;
    }
    return table;
}

constexpr auto crcTable = makeCrcTable();
static_assert(crcTable[1] == 0x1021);

void putLe16(std::uint8_t *at, std::uint16_t value)
{
    at[0] = std::uint8_t(value & 0xFF);
    at[1] = std::uint8_t(value >> 8);
}

std::uint16_t le16(const std::uint8_t *at)
{
    return std::uint16_t(at[0] | (at[1] << 8));
}

} // namespace

std::uint16_t vizoCrc16(const void *data, std::size_t length, std::uint16_t crc)
{
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    for (std::size_t i = 0; i < length; ++i)
        crc = std::uint16_t(crc << 8) ^ crcTable[((crc >> 8) ^ bytes[i]) & 0xFF];
    return crc;
}

namespace VizoFrame {

std::uint32_t bodySizeForHeader(const std::uint8_t *header)
{
    return std::uint32_t(le16(header + 8)) + 4;
}

QByteArray compose(const void *payload, std::size_t size, std::uint16_t count, std::uint16_t index)
{
    if (size > maxPayload)
        return {};
    QByteArray frame(qsizetype(size + overhead), '\0');
    auto *out = reinterpret_cast<std::uint8_t *>(frame.data());
    out[0] = magicByte;
    out[1] = magicByte;
    putLe16(out + 2, fixedWord);
    putLe16(out + 4, count);
    putLe16(out + 6, index);
    putLe16(out + 8, std::uint16_t(size));
    if (size)
        std::memcpy(out + headerSize, payload, size);
    const std::uint16_t crc = vizoCrc16(out + 2, size + 8);
    out[10 + size] = std::uint8_t(crc >> 8);
    out[11 + size] = std::uint8_t(crc & 0xFF);
    out[12 + size] = trailerByte;
    out[13 + size] = trailerByte;
    return frame;
}

std::optional<Parsed> parse(const void *frame, std::size_t size)
{
    const auto *in = static_cast<const std::uint8_t *>(frame);
    if (size < overhead)
        return std::nullopt;
    const std::size_t length = le16(in + 8);
    if (size != length + overhead)
        return std::nullopt;
    Parsed p;
    p.magicOk = in[0] == magicByte && in[1] == magicByte;
    p.word = le16(in + 2);
    p.count = le16(in + 4);
    p.index = le16(in + 6);
    p.payload = QByteArray(reinterpret_cast<const char *>(in + headerSize), qsizetype(length));
    p.crc = std::uint16_t((in[10 + length] << 8) | in[11 + length]);
    p.crcOk = p.crc == vizoCrc16(in + 2, length + 8);
    p.trailerOk = in[12 + length] == trailerByte && in[13 + length] == trailerByte;
    return p;
}

} // namespace VizoFrame
