#pragma once
// Cuts an unframed byte stream, delivered in chunks of any size, into packets
// of a fixed-size header followed by a body whose size the header gives.
//
// The assembler knows no protocol: its owner installs how long the body of a
// header is (bodySizeForHeader), where filling of a new body starts
// (bodyStartOffset) and what to do with a finished packet (onPacket). Both
// size callables must be set before the first header completes; calling an
// empty one throws std::bad_function_call. A header whose body size is 0 is
// discarded without delivery.
//
// It does not look for a magic value or check a checksum: a lost or extra
// byte shifts every later packet until the owner calls Reset().
//
// Not thread-safe: one thread calls Assemble(), and the callables run on it,
// inside Assemble(). The buffers handed to onPacket belong to the assembler
// and are valid only during the call.
#include <cstdint>
#include <functional>
#include <memory>

class BrPacketAssembler
{
public:
    explicit BrPacketAssembler(unsigned headerSize);
    virtual ~BrPacketAssembler();

    BrPacketAssembler(const BrPacketAssembler &) = delete;
    BrPacketAssembler &operator=(const BrPacketAssembler &) = delete;

    // Consumes length bytes; delivers any number of packets, in stream order.
    void Assemble(const void *data, int length);
    // Copies up to the missing header bytes; returns how many were taken.
    unsigned FillHeader(const void *data, unsigned length);
    // Copies up to the missing body bytes; returns how many were taken.
    unsigned FillBody(const void *data, unsigned length);

    // Forgets the packet in progress, so the next byte starts a new header.
    void Reset();
    void reset() { Reset(); }

    unsigned headerSize() const { return m_headerSize; }
    unsigned headerFilled() const { return m_headerFilled; }
    unsigned bodySize() const { return m_bodySize; }
    unsigned bodyFilled() const { return m_bodyFilled; }

    std::function<void(const std::uint8_t *header, int headerSize, const std::uint8_t *body,
                       int bodySize)>
        onPacket;
    std::function<unsigned(const std::uint8_t *header, int headerSize)> bodySizeForHeader;
    std::function<unsigned()> bodyStartOffset;

private:
    void deliver();

    std::unique_ptr<std::uint8_t[]> m_header;
    std::unique_ptr<std::uint8_t[]> m_body;
    unsigned m_headerSize;
    unsigned m_headerFilled = 0;
    unsigned m_bodySize = 0;
    unsigned m_bodyFilled = 0;
};
