#include "LumenRestartSplit.h"

#include "LumenWorkerThread.h"

#include <cstring>
#include <numeric>

using namespace LumenJpeg;

// Where a frame can be cut: restart markers that also start a row of MCUs.
// Each piece below the first is decoded as a picture of its own: the same
// header with the height of the rest of the frame, followed by the coded
// data after its marker. The frame is cut into a few pieces that both
// threads take in turn, so that a thread kept off its core for a while
// (the other programs on the machine) costs only a piece, not a half.
bool LumenRestartSplit::plan(const uchar *data, qsizetype size, qsizetype codedStart,
                             const jpeg_decompress_struct &c, const LumenJpeg::Layout &l)
{
    if (c.progressive_mode || c.arith_code || c.restart_interval == 0 || l.components != 3 ||
        c.comps_in_scan != 3 || l.mcuRows < 2)
        return false;
    const qsizetype heightField = LumenJpeg::frameSizeField(data, codedStart);
    if (heightField < 0)
        return false;

    // Boundaries that start a row come every lcm(interval, row) MCUs.
    const long interval = long(c.restart_interval), perRow = l.mcusPerRow;
    const long step = std::lcm(interval, perRow);
    const long markersPerStep = step / interval, rowsPerStep = step / perRow;
    m_boundaries.clear();
    long seen = 0;
    qsizetype p = codedStart;
    while (p + 1 < size) {
        const void *found = std::memchr(data + p, 0xFF, size_t(size - p - 1));
        if (!found)
            break;
        p = static_cast<const uchar *>(found) - data;
        const uchar next = data[p + 1];
        if (next == 0x00) { // a stuffed 0xFF byte
            p += 2;
            continue;
        }
        if (next == 0xFF) { // fill byte
            ++p;
            continue;
        }
        // Restart markers count 0..7 over and over; one out of turn, or
        // any other marker (the end), ends the search.
        if (next < JPEG_RST0 || next > JPEG_RST0 + 7 || next - JPEG_RST0 != (seen & 7))
            break;
        p += 2;
        ++seen;
        const long row = seen / markersPerStep * rowsPerStep;
        if (seen % markersPerStep == 0 && row < l.mcuRows)
            m_boundaries.push_back({p, seen, int(row)});
    }
    if (m_boundaries.empty())
        return false;

    // Reading the coded data is most of the work: the cuts go to the
    // boundaries nearest equal shares of the coded bytes.
    m_plan.heightField = heightField;
    m_plan.codedStart = codedStart;
    m_plan.count = 1;
    m_plan.row[0] = 0;
    m_plan.start[0] = codedStart;
    m_plan.offset[0] = 0;
    size_t b = 0;
    for (int piece = 1; piece < kPieces; ++piece) {
        const qsizetype share = codedStart + (size - codedStart) * piece / kPieces;
        while (b + 1 < m_boundaries.size() && std::abs(m_boundaries[b + 1].start - share) <=
                                                  std::abs(m_boundaries[b].start - share))
            ++b;
        const Boundary &cut = m_boundaries[b];
        const int row = cut.row * DCTSIZE * l.maxV;
        if (row <= m_plan.row[m_plan.count - 1])
            continue;
        m_plan.row[m_plan.count] = row;
        m_plan.start[m_plan.count] = cut.start;
        m_plan.offset[m_plan.count] = int(cut.markers & 7);
        const int rest = int(c.image_height) - row;
        m_plan.height[m_plan.count][0] = JOCTET(rest >> 8);
        m_plan.height[m_plan.count][1] = JOCTET(rest & 0xff);
        ++m_plan.count;
    }
    m_plan.row[m_plan.count] = int(c.image_height);
    m_data = data;
    m_size = size;
    m_layout = l;
    return m_plan.count > 1;
}

bool LumenRestartSplit::decodePiece(Decompressor &d, int i, Target target)
{
    const auto field = size_t(m_plan.heightField);
    if (i == 0) {
        d.setSource({{m_data, size_t(m_size)}}, 0);
    } else {
        d.setSource({{m_data, field},
                     {m_plan.height[i], 2},
                     {m_data + field + 2, size_t(m_plan.codedStart) - field - 2},
                     {m_data + m_plan.start[i], size_t(m_size - m_plan.start[i])}},
                    m_plan.offset[i]);
    }
    for (int c = 0; c < m_layout.components; ++c)
        target.plane[c] +=
            qsizetype(m_plan.row[i] / m_layout.maxV * m_layout.v[c]) * m_layout.stride[c];
    return readJpegHeader(d) && decodeRows(d, target, m_plan.row[i + 1] - m_plan.row[i]);
}

bool LumenRestartSplit::take(int &i)
{
    std::lock_guard lock(m_mutex);
    if (m_next >= m_plan.count)
        return false;
    i = m_next++;
    return true;
}

void LumenRestartSplit::helperPieces(Decompressor &helper)
{
    for (int i; take(i);) {
        if (!decodePiece(helper, i, m_target)) {
            std::lock_guard lock(m_mutex);
            m_failed = true;
        }
    }
}

bool LumenRestartSplit::decode(Decompressor &upper, Decompressor &helper, LumenWorkerThread &worker,
                               const Target &target)
{
    m_target = target;
    m_next = 1; // piece 0 is the caller's: its header is read already
    m_failed = false;
    worker.post([this, &helper] { helperPieces(helper); });
    bool ok = decodeRows(upper, target, m_plan.row[1]);
    for (int i; take(i);)
        ok = decodePiece(upper, i, target) && ok;
    // All pieces are taken: wait only for one the worker is on.
    worker.wait();
    return ok && !m_failed;
}
