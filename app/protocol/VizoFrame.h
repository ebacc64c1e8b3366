#pragma once
// The frame that carries every message between the viewer and the device.
//
//   offset  size  field
//   0       2     magic FC FC
//   2       2     fixed word 0x0102 (bytes 02 01)
//   4       2     packet count of a multi-frame transfer (1 for a single frame)
//   6       2     packet index, counted from 1
//   8       2     payload length L
//   10      L     payload: group byte, command byte, parameters
//   10+L    2     CRC-16 (XMODEM) over offsets 2 .. 9+L, high byte first
//   12+L    2     trailer FD FD
//
// Header fields are little-endian. The receiver frames on the length field:
// a 10-byte header followed by a body of L + 4 bytes.
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace VizoFrame {

inline constexpr std::uint8_t magicByte = 0xFC;
inline constexpr std::uint8_t trailerByte = 0xFD;
inline constexpr std::uint16_t fixedWord = 0x0102;
inline constexpr std::size_t headerSize = 10;
inline constexpr std::size_t overhead = 14; // header + CRC + trailer
inline constexpr std::size_t maxPayload = 0xFFFF;

// Body size of the frame whose header is given (payload + CRC + trailer).
std::uint32_t bodySizeForHeader(const std::uint8_t *header);

// Composes one frame around payload[0 .. size). A payload longer than 65535
// bytes cannot be framed and yields an empty array.
QByteArray compose(const void *payload, std::size_t size, std::uint16_t count = 1,
                   std::uint16_t index = 1);
inline QByteArray compose(const QByteArray &payload, std::uint16_t count = 1,
                          std::uint16_t index = 1)
{
    return compose(payload.constData(), std::size_t(payload.size()), count, index);
}

// One whole frame taken apart. The payload is a copy.
struct Parsed
{
    std::uint16_t word = 0;
    std::uint16_t count = 0;
    std::uint16_t index = 0;
    QByteArray payload;
    std::uint16_t crc = 0;     // as carried in the frame
    bool magicOk = false;
    bool trailerOk = false;
    bool crcOk = false;
};

// Takes a complete frame apart; nullopt when the bytes are shorter than the
// header or do not match the length field.
std::optional<Parsed> parse(const void *frame, std::size_t size);
inline std::optional<Parsed> parse(const QByteArray &frame)
{
    return parse(frame.constData(), std::size_t(frame.size()));
}

} // namespace VizoFrame

// CRC-16 with polynomial 0x1021, initial value 0, no reflection, no final XOR.
// An empty range yields 0. Pass the result of one range as `crc` to continue
// over the next, for data that is not contiguous.
std::uint16_t vizoCrc16(const void *data, std::size_t length, std::uint16_t crc = 0);
