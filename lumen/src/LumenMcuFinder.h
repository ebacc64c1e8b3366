#pragma once
// Finds where an MCU starts in the middle of a baseline JPEG's coded data
// that has no restart markers, without reading it from the start.
//
// JPEG's Huffman codes resynchronise: read from an arbitrary bit, the
// parse falls into step with the true one within a few MCUs (at most 15
// in a thousand tries on camera-like pages). The finder parses from a
// byte, lets the parse settle, then returns the first MCU boundary that
// falls on a byte, where libjpeg can be pointed to start. That boundary is
// only likely, not proven: the caller proves it (see LumenJpegDecoder).
#include <cstddef>
#include <cstdint>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <jpeglib.h>

class LumenMcuFinder
{
public:
    // Takes the Huffman tables and the MCU's blocks from a decompressor
    // whose decompression has started (libjpeg fills in the standard
    // tables a camera leaves out by then). False for what it cannot parse:
    // progressive or arithmetic coding, a scan without every component.
    bool setUp(const jpeg_decompress_struct &c);

    // Offset in `data` of a byte at which an MCU starts, at or after
    // `from` and before `size`, or -1.
    std::ptrdiff_t find(const std::uint8_t *data, std::size_t size, std::size_t from);

private:
    struct Table
    {
        // Codes up to kFastBits long: length and symbol by lookahead.
        std::uint8_t length[1 << 9];
        std::uint8_t symbol[1 << 9];
        int maxCode[18];
        int firstIndex[17];
        int firstCode[17];
        std::uint8_t values[256];
    };
    struct Block
    {
        const Table *dc;
        const Table *ac;
    };

    std::ptrdiff_t find(const std::uint8_t *data, std::size_t size, std::size_t from,
                        std::size_t window);
    static bool build(const JHUFF_TBL *source, Table &table);
    bool symbol(const Table &table, std::size_t &bit, int &value) const;
    std::uint32_t peek(std::size_t bit) const;
    bool skipBlock(const Block &block, std::size_t &bit) const;

    Table m_dc[NUM_HUFF_TBLS] = {};
    Table m_ac[NUM_HUFF_TBLS] = {};
    Block m_blocks[D_MAX_BLOCKS_IN_MCU] = {};
    int m_blockCount = 0;
    // The coded bytes from `from` with stuffing removed, and where each
    // came from.
    std::vector<std::uint8_t> m_bytes;
    std::vector<std::uint32_t> m_origin;
    std::size_t m_bits = 0;
};
