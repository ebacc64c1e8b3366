// Arbitrary bytes from either side of the link: the stream decoder, the
// payload decoder and the packet assembler in the channel's configuration
// must neither crash nor read out of bounds.
#include "protocol/VizoCatalogue.h"
#include "protocol/VizoFrame.h"
#include "protocol/VizoFrameDecoder.h"

#include <bramble/BrPacketAssembler.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (auto direction : {VizoDirection::HostToDevice, VizoDirection::DeviceToHost}) {
        // Split at a point the input chooses, so chunking is fuzzed too.
        const qsizetype cut = size ? data[0] % (size + 1) : 0;
        VizoStreamDecoder decoder(direction);
        decoder.feed(bytes.left(cut));
        decoder.feed(bytes.mid(cut));
        decoder.finish();
        vizoDecodePayload(direction, bytes);
    }
    VizoFrame::parse(bytes);

    BrPacketAssembler assembler(VizoFrame::headerSize);
    assembler.bodySizeForHeader = [](const std::uint8_t *h, int) { return VizoFrame::bodySizeForHeader(h); };
    assembler.bodyStartOffset = [] { return 0u; };
    assembler.onPacket = [](const std::uint8_t *h, int hs, const std::uint8_t *b, int bs) {
        QByteArray frame(reinterpret_cast<const char *>(h), hs);
        frame.append(reinterpret_cast<const char *>(b), bs);
        vizoDescribeFrame(VizoDirection::DeviceToHost, frame);
    };
    assembler.Assemble(data, int(size));
    return 0;
}
