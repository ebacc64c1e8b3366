#pragma once
// Keeps the coefficient blocks of a frame by MCU: caught on their way to
// libjpeg's IDCT (and passed on) while libjpeg decodes raw data one MCU row
// per call, or decoded straight into the store; later, transforms kept
// blocks with libjpeg's own IDCT. libjpeg offers none of it: it lets a
// frame's lower part be decoded from the middle of its coded data and
// transformed once its DC values are known (see LumenUnmarkedSplit).
//
// Set up after jpeg_start_decompress(). It uses the decompressor's
// client_data.
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <vector>

#include <jpeglib.h>
// Only the IDCT's entry points, which the library installs per component.
#include <jpegint.h>

class LumenBlockCatcher
{
public:
    // False when the layout is not one the catcher knows (every component
    // in one scan, as libjpeg decodes baseline camera frames).
    bool setUp(j_decompress_ptr c, long capacityMcus);
    // Lets the blocks go to the IDCT alone again, and forgets `c`.
    void release();

    // The next jpeg_read_raw_data() call, given `rows`, keeps the blocks of
    // its MCU row from index `firstMcu` on, and passes them on to the IDCT.
    // The catch ends with endRow(): call again for the next row.
    void catchRow(long firstMcu, JSAMPARRAY rows[]);
    void endRow();

    // Decodes MCUs [first, first + count) with the decompressor's entropy
    // decoder straight into the store, no IDCT, stopping where its data
    // runs out (see dataEnd()). libjpeg's errors jump out of it: call it
    // under the decompressor's setjmp. The blocks must be zeros, as the
    // store starts and as transform() and clear() leave them.
    void decode(long first, long count);
    // Sets the blocks of MCUs [first, end) to zeros.
    void clear(long first, long end);

    // MCUs kept so far (the highest index + 1).
    long kept() const { return m_kept; }
    // Where decode() ran out of data: the MCUs before it, or -1.
    long dataEnd() const { return m_dataEnd; }
    // Block `index` (in the MCU's order) of MCU `mcu`.
    JCOEF *block(long mcu, int index)
    {
        return &m_blocks[size_t((mcu * m_perMcu + index) * DCTSIZE2)];
    }
    const JCOEF *block(long mcu, int index) const
    {
        return &m_blocks[size_t((mcu * m_perMcu + index) * DCTSIZE2)];
    }
    // The MCU's blocks of scan component `i`: first index, and its width
    // and height in blocks.
    int firstBlock(int i) const { return m_first[i]; }
    int lastBlock(int i) const { return m_first[i] + m_width[i] * m_height[i] - 1; }
    int width(int i) const { return m_width[i]; }
    // Blocks across in the last MCU column, which may stick out of the
    // picture: libjpeg decodes those (they count for the DC predictions)
    // but does not transform them, so they are not kept.
    int lastColumnWidth(int i) const { return m_lastWidth[i]; }

    // Transforms the kept MCU `mcu`, its DC values raised by `dc` (per scan
    // component), into planes `plane` (by component index, `stride` bytes a
    // line) as MCU (`row`, `column`) of the picture, and clears its blocks.
    void transform(long mcu, const int dc[], JSAMPLE *const plane[], const int stride[], int row,
                   int column);

private:
    static void keep(j_decompress_ptr c, jpeg_component_info *comp, JCOEFPTR coef, JSAMPARRAY out,
                     JDIMENSION column);

    j_decompress_ptr m_c = nullptr;
    inverse_DCT_method_ptr m_idct[MAX_COMPONENTS] = {};
    std::vector<JCOEF> m_blocks;
    long m_capacity = 0;
    int m_components = 0;
    int m_perMcu = 0;
    int m_first[MAX_COMPS_IN_SCAN] = {};
    int m_width[MAX_COMPS_IN_SCAN] = {}, m_height[MAX_COMPS_IN_SCAN] = {};
    int m_lastWidth[MAX_COMPS_IN_SCAN] = {};
    // By component index: its place in the scan.
    int m_scanIndex[MAX_COMPONENTS] = {};
    // The row being caught.
    JSAMPARRAY m_rows[MAX_COMPONENTS] = {};
    long m_rowMcu = 0;
    long m_kept = 0;
    long m_dataEnd = -1;
};
