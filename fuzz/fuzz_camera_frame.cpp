// A camera's MJPEG frame, damaged any way the input likes: decoding (on
// two threads where the frame allows, the helper finding its own place to
// start in frames without restart markers) must neither crash nor read out
// of bounds.
#include "LumenJpegDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // One decoder for every input, as a capture keeps one: its helper
    // thread and buffers carry over from frame to frame.
    static LumenJpegDecoder decoder;
    LumenFrame frame;
    decoder.decodeFrame(data, qsizetype(size), frame);
    return 0;
}
