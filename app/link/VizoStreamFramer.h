#pragma once
// Feeds the bytes read from the link into the packet assembler and keeps the
// stream in step with the frames. The assembler frames on the length field
// alone, so one lost or extra byte would shift every later frame; the framer
// checks each frame's magic (FC FC) when its header is complete and its
// trailer (FD FD) when it is delivered. A frame that fails is dropped, the
// assembler is reset, and the search for the next FC FC starts again one byte
// after the dropped frame's start, so a good frame hidden in its bytes is not
// lost. A CRC mismatch is reported but the frame is still delivered.
//
// Runs on the reading thread only; frames are delivered there, in order.
#include <QByteArray>

#include <cstdint>
#include <functional>

class BrPacketAssembler;

struct VizoReceivedFrame
{
    QByteArray payload;
    std::uint16_t count = 1;
    std::uint16_t index = 1;
    bool crcOk = true;
    QByteArray raw; // the whole frame as received
};

class VizoStreamFramer
{
public:
    // Installs the assembler's three callables.
    explicit VizoStreamFramer(BrPacketAssembler &assembler);

    std::function<void(const VizoReceivedFrame &frame)> eventFrame;

    void feed(const std::uint8_t *data, std::size_t size);

    std::size_t framesDropped() const { return m_framesDropped; }
    std::size_t bytesSkipped() const { return m_bytesSkipped; }

private:
    void dropped(const std::uint8_t *first, std::size_t firstSize, const std::uint8_t *second,
                 std::size_t secondSize);

    BrPacketAssembler &m_assembler;
    bool m_hunting = true;     // looking for the next FC FC
    QByteArray m_carry;        // FC bytes at the end of the last chunk, while hunting
    bool m_bad = false;        // the assembler just gave up a damaged frame
    QByteArray m_droppedBytes; // that frame's bytes
    std::size_t m_framesDropped = 0;
    std::size_t m_bytesSkipped = 0;
};
