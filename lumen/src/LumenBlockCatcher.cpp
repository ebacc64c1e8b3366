#include "LumenBlockCatcher.h"

#include <algorithm>
#include <cstring>

bool LumenBlockCatcher::setUp(j_decompress_ptr c, long capacityMcus)
{
    if (c->comps_in_scan != c->num_components || c->num_components > MAX_COMPS_IN_SCAN ||
        !c->idct || capacityMcus <= 0)
        return false;
    for (int i = 0; i < c->comps_in_scan; ++i) {
        const int index = c->cur_comp_info[i]->component_index;
        if (index < 0 || index >= MAX_COMPONENTS)
            return false;
    }
    m_c = c;
    m_components = c->comps_in_scan;
    m_perMcu = 0;
    for (int i = 0; i < m_components; ++i) {
        const jpeg_component_info *comp = c->cur_comp_info[i];
        m_first[i] = m_perMcu;
        m_width[i] = comp->MCU_width;
        m_height[i] = comp->MCU_height;
        m_lastWidth[i] = comp->last_col_width;
        m_perMcu += comp->MCU_blocks;
        m_scanIndex[comp->component_index] = i;
        m_idct[comp->component_index] = c->idct->inverse_DCT[comp->component_index];
    }
    m_capacity = capacityMcus;
    // Kept between frames: no allocation once the size is known.
    const size_t size = size_t(capacityMcus) * size_t(m_perMcu) * DCTSIZE2;
    if (m_blocks.size() < size)
        m_blocks.resize(size);
    m_kept = 0;
    m_dataEnd = -1;
    c->client_data = this;
    return true;
}

void LumenBlockCatcher::release()
{
    // The IDCT's entry points are left alone: after an error libjpeg has
    // freed them, and the next decompression installs its own.
    if (!m_c)
        return;
    m_c->client_data = nullptr;
    m_c = nullptr;
}

void LumenBlockCatcher::catchRow(long firstMcu, JSAMPARRAY rows[])
{
    m_rowMcu = firstMcu;
    for (int i = 0; i < m_components; ++i) {
        const int index = m_c->cur_comp_info[i]->component_index;
        m_rows[index] = rows[index];
        m_c->idct->inverse_DCT[index] = keep;
    }
}

void LumenBlockCatcher::endRow()
{
    for (int i = 0; i < m_components; ++i) {
        const int index = m_c->cur_comp_info[i]->component_index;
        m_c->idct->inverse_DCT[index] = m_idct[index];
    }
}

void LumenBlockCatcher::keep(j_decompress_ptr c, jpeg_component_info *comp, JCOEFPTR coef,
                             JSAMPARRAY out, JDIMENSION column)
{
    auto *self = static_cast<LumenBlockCatcher *>(c->client_data);
    const int index = comp->component_index;
    const int i = self->m_scanIndex[index];
    // Where the block sits: its line among the row pointers given, its
    // column in samples.
    const auto blockRow = int((out - self->m_rows[index]) / comp->DCT_scaled_size);
    const auto blockColumn = int(column / JDIMENSION(comp->DCT_scaled_size));
    const long mcu = self->m_rowMcu + blockColumn / self->m_width[i];
    if (mcu >= 0 && mcu < self->m_capacity && blockRow >= 0 && blockRow < self->m_height[i]) {
        const int b =
            self->m_first[i] + blockRow * self->m_width[i] + blockColumn % self->m_width[i];
        std::memcpy(self->block(mcu, b), coef, sizeof(JBLOCK));
        if (mcu >= self->m_kept)
            self->m_kept = mcu + 1;
    }
    self->m_idct[index](c, comp, coef, out, column);
}

void LumenBlockCatcher::clear(long first, long end)
{
    first = std::max(first, 0L);
    end = std::min(end, m_capacity);
    if (first < end)
        std::memset(block(first, 0), 0, sizeof(JBLOCK) * size_t((end - first) * m_perMcu));
}

void LumenBlockCatcher::decode(long first, long count)
{
    JBLOCKROW blocks[D_MAX_BLOCKS_IN_MCU];
    for (long mcu = first; mcu < first + count && mcu < m_capacity; ++mcu) {
        // The entropy decoder writes only the coefficients it reads: the
        // blocks are zeros already (see clear()).
        for (int b = 0; b < m_perMcu; ++b)
            blocks[b] = reinterpret_cast<JBLOCKROW>(block(mcu, b));
        // It returns false only to suspend, which a source holding the
        // whole frame never does; and it notes when it has to make up
        // bits past the end of the data, in the first MCU the data lacks.
        if (!m_c->entropy->decode_mcu(m_c, blocks) || m_c->entropy->insufficient_data) {
            m_dataEnd = mcu;
            clear(mcu, mcu + 1); // made up: not kept
            return;
        }
        m_kept = mcu + 1;
    }
}

void LumenBlockCatcher::transform(long mcu, const int dc[], JSAMPLE *const plane[],
                                  const int stride[], int row, int column)
{
    for (int i = 0; i < m_components; ++i) {
        jpeg_component_info *comp = m_c->cur_comp_info[i];
        const int index = comp->component_index;
        for (int y = 0; y < m_height[i]; ++y) {
            JSAMPROW lines[DCTSIZE];
            const long top = (long(row) * m_height[i] + y) * DCTSIZE;
            for (int l = 0; l < DCTSIZE; ++l)
                lines[l] = plane[index] + (top + l) * stride[index];
            for (int x = 0; x < m_width[i]; ++x) {
                JCOEF *coef = block(mcu, m_first[i] + y * m_width[i] + x);
                coef[0] = JCOEF(coef[0] + dc[i]);
                m_idct[index](m_c, comp, coef, lines,
                              JDIMENSION((column * m_width[i] + x) * DCTSIZE));
                std::memset(coef, 0, sizeof(JBLOCK)); // while it is in the cache
            }
        }
    }
}
