#include "LumenMcuFinder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kFastBits = 9;
// MCUs parsed before a boundary is taken: the parse has settled by then
// (measured: at most 15).
constexpr int kSettleMcus = 24;
// Coded bytes read: usually enough for the settling and a boundary on a
// byte (one MCU boundary in eight falls on one); then, for frames of large
// MCUs, plenty.
constexpr std::size_t kWindowBytes[] = {4 * 1024, 32 * 1024};

} // namespace

bool LumenMcuFinder::build(const JHUFF_TBL *source, Table &table)
{
    if (!source)
        return false;
    int count = 0;
    for (int l = 1; l <= 16; ++l)
        count += source->bits[l];
    if (count > 256)
        return false;
    std::memcpy(table.values, source->huffval, size_t(count));
    std::memset(table.length, 0, sizeof table.length);
    int code = 0, index = 0;
    for (int l = 1; l <= 16; ++l) {
        table.firstIndex[l] = index;
        table.firstCode[l] = code;
        for (int i = 0; i < source->bits[l]; ++i, ++index, ++code) {
            if (code >= (1 << l))
                return false; // more codes than the length allows
            if (l <= kFastBits) {
                const int shift = kFastBits - l;
                for (int j = 0; j < (1 << shift); ++j) {
                    table.length[(code << shift) | j] = std::uint8_t(l);
                    table.symbol[(code << shift) | j] = table.values[index];
                }
            }
        }
        table.maxCode[l] = source->bits[l] ? code - 1 : -1;
        code <<= 1;
    }
    return true;
}

bool LumenMcuFinder::setUp(const jpeg_decompress_struct &c)
{
    if (c.progressive_mode || c.arith_code || c.data_precision != 8 ||
        c.comps_in_scan != c.num_components || c.blocks_in_MCU > D_MAX_BLOCKS_IN_MCU)
        return false;
    bool built[2][NUM_HUFF_TBLS] = {};
    m_blockCount = 0;
    for (int i = 0; i < c.comps_in_scan; ++i) {
        const jpeg_component_info *comp = c.cur_comp_info[i];
        const int dc = comp->dc_tbl_no, ac = comp->ac_tbl_no;
        if (dc < 0 || dc >= NUM_HUFF_TBLS || ac < 0 || ac >= NUM_HUFF_TBLS)
            return false;
        if (!built[0][dc] && !(built[0][dc] = build(c.dc_huff_tbl_ptrs[dc], m_dc[dc])))
            return false;
        if (!built[1][ac] && !(built[1][ac] = build(c.ac_huff_tbl_ptrs[ac], m_ac[ac])))
            return false;
        for (int b = 0; b < comp->MCU_blocks; ++b)
            m_blocks[m_blockCount++] = {&m_dc[dc], &m_ac[ac]};
    }
    return m_blockCount == c.blocks_in_MCU;
}

std::uint32_t LumenMcuFinder::peek(std::size_t bit) const
{
    const std::uint8_t *p = m_bytes.data() + (bit >> 3);
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i)
        word = (word << 8) | p[i];
    return std::uint32_t((word << (bit & 7)) >> 32);
}

bool LumenMcuFinder::symbol(const Table &table, std::size_t &bit, int &value) const
{
    if (bit > m_bits)
        return false; // the window is read: peek() would read past it
    const std::uint32_t word = peek(bit);
    const unsigned look = word >> (32 - kFastBits);
    if (table.length[look]) {
        bit += table.length[look];
        value = table.symbol[look];
        return true;
    }
    for (int l = kFastBits + 1; l <= 16; ++l) {
        const int code = int(word >> (32 - l));
        if (code <= table.maxCode[l]) {
            value = table.values[table.firstIndex[l] + code - table.firstCode[l]];
            bit += std::size_t(l);
            return true;
        }
    }
    return false; // no such code: this is not the true parse
}

bool LumenMcuFinder::skipBlock(const Block &block, std::size_t &bit) const
{
    int value;
    if (!symbol(*block.dc, bit, value) || value > 11)
        return false;
    bit += std::size_t(value);
    for (int k = 1; k < 64; ++k) {
        if (!symbol(*block.ac, bit, value))
            return false;
        const int run = value >> 4, size = value & 15;
        if (size == 0) {
            if (run != 15)
                break; // end of block
            k += 15;
        } else {
            k += run;
            bit += std::size_t(size); // the value, which does not matter here
        }
        if (k > 63)
            return false; // past the block's end: not the true parse
    }
    return bit <= m_bits;
}

std::ptrdiff_t LumenMcuFinder::find(const std::uint8_t *data, std::size_t size, std::size_t from)
{
    if (m_blockCount == 0)
        return -1;
    for (std::size_t window : kWindowBytes) {
        const std::ptrdiff_t found = find(data, size, from, window);
        if (found >= 0 || m_bits < window * 8)
            return found; // found, or the data ended before the window
    }
    return -1;
}

std::ptrdiff_t LumenMcuFinder::find(const std::uint8_t *data, std::size_t size, std::size_t from,
                                    std::size_t window)
{
    // Unstuff a window: 0xFF 0x00 is a 0xFF byte; any other marker ends
    // the coded data.
    m_bytes.clear();
    m_origin.clear();
    std::size_t p = from;
    if (p > 0 && p < size && data[p - 1] == 0xFF && data[p] == 0x00)
        ++p; // the middle of a stuffed pair
    while (p < size && m_bytes.size() < window) {
        if (data[p] == 0xFF) {
            if (p + 1 >= size || data[p + 1] != 0x00)
                break;
            m_bytes.push_back(0xFF);
            m_origin.push_back(std::uint32_t(p));
            p += 2;
            continue;
        }
        m_bytes.push_back(data[p]);
        m_origin.push_back(std::uint32_t(p));
        ++p;
    }
    m_bits = m_bytes.size() * 8;
    m_bytes.insert(m_bytes.end(), 8, 0); // room for peek() at the end

    std::size_t bit = 0;
    int settled = 0;
    while (bit < m_bits) {
        if (settled >= kSettleMcus && (bit & 7) == 0)
            return std::ptrdiff_t(m_origin[bit >> 3]);
        bool ok = true;
        for (int b = 0; b < m_blockCount && ok; ++b)
            ok = skipBlock(m_blocks[b], bit);
        if (ok) {
            ++settled;
        } else {
            // Out of step: start again at the next byte.
            bit = ((bit >> 3) + 1) << 3;
            settled = 0;
        }
    }
    return -1;
}
