// The stream-to-packet framer in the viewer's configuration: a 10-byte
// header whose bytes 8..9 give the payload length, body = payload + 4.
#include <bramble/BrPacketAssembler.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes frame(const Bytes &payload)
{
    Bytes f{0xFC, 0xFC, 0x02, 0x01, 0x01, 0x00, 0x01, 0x00, std::uint8_t(payload.size()),
            std::uint8_t(payload.size() >> 8)};
    f.insert(f.end(), payload.begin(), payload.end());
    f.insert(f.end(), {0x12, 0x34, 0xFD, 0xFD});
    return f;
}

struct Packet
{
    Bytes header;
    Bytes body;
};

struct Harness
{
    BrPacketAssembler assembler{10};
    std::vector<Packet> packets;

    Harness()
    {
        assembler.bodySizeForHeader = [](const std::uint8_t *h, int size) {
            EXPECT_EQ(size, 10);
            return unsigned(h[8] | (h[9] << 8)) + 4;
        };
        assembler.bodyStartOffset = [] { return 0u; };
        assembler.onPacket = [this](const std::uint8_t *h, int hs, const std::uint8_t *b, int bs) {
            packets.push_back({Bytes(h, h + hs), Bytes(b, b + bs)});
        };
    }
    void feed(const Bytes &bytes) { assembler.Assemble(bytes.data(), int(bytes.size())); }
};

} // namespace

TEST(PacketAssembler, EmptyPayloadFedByteByByteCompletesOnTheLastByte)
{
    Harness h;
    const Bytes f = frame({});
    ASSERT_EQ(f.size(), 14u);
    for (std::size_t i = 0; i < f.size(); ++i) {
        EXPECT_TRUE(h.packets.empty()) << "delivered early at byte " << i;
        h.feed({f[i]});
    }
    ASSERT_EQ(h.packets.size(), 1u);
    EXPECT_EQ(h.packets[0].header, Bytes(f.begin(), f.begin() + 10));
    EXPECT_EQ(h.packets[0].body, (Bytes{0x12, 0x34, 0xFD, 0xFD}));
}

TEST(PacketAssembler, ChunkBoundariesDoNotMatter)
{
    const Bytes a = frame({0x20, 0x00, 0x01});
    const Bytes b = frame({0x24, 0x01});
    Bytes both = a;
    both.insert(both.end(), b.begin(), b.end());

    Harness whole;
    whole.feed(both);
    ASSERT_EQ(whole.packets.size(), 2u);
    EXPECT_EQ(whole.packets[0].body[0], 0x20);
    EXPECT_EQ(whole.packets[1].body[0], 0x24);

    // Every way of cutting the first frame into three chunks.
    for (std::size_t i = 0; i <= a.size(); ++i) {
        for (std::size_t j = i; j <= a.size(); ++j) {
            Harness h;
            h.feed(Bytes(a.begin(), a.begin() + long(i)));
            h.feed(Bytes(a.begin() + long(i), a.begin() + long(j)));
            EXPECT_EQ(h.packets.size(), j == a.size() ? 1u : 0u);
            h.feed(Bytes(a.begin() + long(j), a.end()));
            ASSERT_EQ(h.packets.size(), 1u) << i << "," << j;
            EXPECT_EQ(h.packets[0].body, Bytes(a.begin() + 10, a.end()));
        }
    }
}

TEST(PacketAssembler, ZeroBodyHeaderIsDiscardedAndTheNextBytesStartAHeader)
{
    Harness h;
    h.assembler.bodySizeForHeader = [](const std::uint8_t *hd, int) { return unsigned(hd[0] == 0 ? 0 : hd[8] + 4); };
    Bytes stream(10, 0x00); // a header whose body size is 0
    const Bytes f = frame({0x26, 0x00, 0x03});
    stream.insert(stream.end(), f.begin(), f.end());
    h.feed(stream);
    ASSERT_EQ(h.packets.size(), 1u);
    EXPECT_EQ(h.packets[0].header[0], 0xFC);
}

TEST(PacketAssembler, LengthZeroAndMissingOnPacketAreHarmless)
{
    Harness h;
    h.assembler.Assemble(nullptr, 0);
    EXPECT_EQ(h.assembler.headerFilled(), 0u);
    EXPECT_TRUE(h.packets.empty());

    h.assembler.onPacket = nullptr;
    h.feed(frame({0x24, 0x00}));
    EXPECT_EQ(h.assembler.headerFilled(), 0u);
    EXPECT_EQ(h.assembler.bodySize(), 0u);
}

TEST(PacketAssembler, BodyStartOffsetSkipsTheFirstBodyBytes)
{
    Harness h;
    h.assembler.bodyStartOffset = [] { return 2u; };
    h.feed(frame({0x24, 0x00})); // body of 6: 2 skipped, 4 read, then 2 bytes left over
    ASSERT_EQ(h.packets.size(), 1u);
    EXPECT_EQ(h.packets[0].body.size(), 6u);
    EXPECT_EQ(h.packets[0].body[2], 0x24);
    EXPECT_EQ(h.assembler.headerFilled(), 2u); // the leftover bytes began a header
}

TEST(PacketAssembler, ResetDropsThePartialPacketAndResynchronises)
{
    Harness h;
    const Bytes f = frame({0x20, 0x00, 0x02});
    h.feed(Bytes(f.begin(), f.begin() + 12)); // in the middle of the body
    EXPECT_EQ(h.assembler.headerFilled(), 10u);
    EXPECT_EQ(h.assembler.bodyFilled(), 2u);
    h.assembler.Reset();
    EXPECT_EQ(h.assembler.headerFilled(), 0u);
    EXPECT_EQ(h.assembler.bodySize(), 0u);
    h.feed(f);
    ASSERT_EQ(h.packets.size(), 1u);
    EXPECT_EQ(h.packets[0].body, Bytes(f.begin() + 10, f.end()));
}

TEST(PacketAssembler, EmptySizeCallableThrowsWithTheHeaderCounted)
{
    BrPacketAssembler assembler(10);
    const Bytes f = frame({});
    EXPECT_THROW(assembler.Assemble(f.data(), 10), std::bad_function_call);
    EXPECT_EQ(assembler.headerFilled(), 10u);
}

TEST(PacketAssembler, DestroyedInTheMiddleOfABodyFreesIt)
{
    // Run under the address sanitizer, a leak of the partial body fails here.
    auto h = std::make_unique<Harness>();
    const Bytes f = frame(Bytes(1000, 0xAA));
    h->feed(Bytes(f.begin(), f.begin() + 500));
    EXPECT_EQ(h->assembler.bodySize(), 1004u);
    h.reset();
}
