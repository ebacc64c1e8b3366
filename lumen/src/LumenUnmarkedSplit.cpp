#include "LumenUnmarkedSplit.h"

#include "LumenWorkerThread.h"

#include <algorithm>
#include <cstring>
#include <iterator>

using namespace LumenJpeg;

namespace {

// The helper looks for its place this far into what the caller has still
// to read (per cent of the bytes): the caller also transforms its own
// rows, the helper only keeps its blocks at first.
constexpr int kUnmarkedShare = 45;
// How far libjpeg's reading may run ahead of the MCUs it has decoded, in
// bytes: its bit buffer and byte stuffing, with room to spare.
constexpr qsizetype kReadAhead = 64;
// The helper's first MCUs, found among the caller's: enough to tell them
// apart.
constexpr long kMatchMcus = 16;
// MCU rows the caller keeps blocks of around the helper's start.
constexpr int kKeptRows = 8;
// MCU rows the helper keeps before it wakes the caller waiting for them.
constexpr int kWaitRows = 4;

// Decodes MCUs [first, first + count) straight into `blocks` (see
// LumenBlockCatcher::decode). After an error the decompressor is aborted.
bool decodeMcus(Decompressor &d, LumenBlockCatcher &blocks, long first, long count)
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    blocks.decode(first, count);
    return true;
}

} // namespace

bool LumenUnmarkedSplit::suits(const jpeg_decompress_struct &c, const Layout &l)
{
    return !c.progressive_mode && !c.arith_code && c.restart_interval == 0 && l.components == 3 &&
           c.comps_in_scan == 3 && l.mcuRows >= 4;
}

// Transforms MCU row `row` of the picture from the helper's blocks.
void LumenUnmarkedSplit::transformRow(int row)
{
    const long perRow = m_layout.mcusPerRow;
    for (int column = 0; column < m_layout.mcusPerRow; ++column)
        m_helperBlocks.transform(row * perRow + column - m_unmarked.first, m_unmarked.dc,
                                 m_target.plane, m_target.stride, row, column);
}

// Helper thread, a frame without restart markers: finds an MCU
// boundary, decodes from there keeping the blocks, and once the caller
// has placed them transforms rows from the bottom up.
void LumenUnmarkedSplit::decodeLowerPart()
{
    Unmarked &u = m_unmarked;
    // A share of what the caller has still to read: however late this
    // thread was woken (a core waking from idle can take milliseconds on a
    // virtual machine), the caller does not wait for it to start.
    const qsizetype at = std::max(u.callerAt.load(), m_codedStart);
    u.searchFrom = at + (m_size - at) * kUnmarkedShare / 100;
    Decompressor &h = *m_helper;
    h.setSource({{m_data, size_t(m_size)}}, 0);
    qsizetype start = -1;
    bool running = readJpegHeader(h) && startRaw(h);
    const bool storing =
        running && m_finder.setUp(h.cinfo) && m_helperBlocks.setUp(&h.cinfo, u.total);
    if (storing)
        start = m_finder.find(m_data, size_t(m_size), size_t(u.searchFrom));
    if (start >= 0) {
        // From the boundary on, with the DC predictions at 0: the
        // caller works out what they should have been.
        h.source.pub.next_input_byte = m_data + start;
        h.source.pub.bytes_in_buffer = size_t(m_size - start);
    }
    u.start = start;
    u.tell();
    bool ok = start >= 0;
    const long perRow = m_layout.mcusPerRow;
    for (long first = 0; ok && first < u.total; first += perRow) {
        if (u.verdict == Unmarked::Rejected)
            break;
        ok = decodeMcus(h, m_helperBlocks, first, perRow);
        if (!ok) {
            running = false; // aborted
            break;
        }
        u.keep(m_helperBlocks.kept());
        if (m_helperBlocks.dataEnd() >= 0)
            break;
    }
    u.dataEnd = ok ? m_helperBlocks.dataEnd() : -1;
    u.helper = ok ? Unmarked::Done : Unmarked::Failed;
    u.tell();

    for (int verdict; (verdict = u.verdict) == Unmarked::Pending;)
        u.verdict.wait(verdict);
    const bool split = ok && u.verdict == Unmarked::Accepted && u.helperComplete();
    if (split) {
        for (;;) {
            int row;
            {
                std::lock_guard lock(u.rows);
                if (u.top > u.bottom)
                    break;
                row = u.bottom--;
            }
            transformRow(row);
        }
    }
    // The caller may still transform with this decompressor's IDCT.
    while (!u.callerDone)
        u.callerDone.wait(false);
    // The blocks not transformed (which cleared them) are cleared for the
    // next frame: above where the rows transformed begin, and past the end.
    if (storing) {
        const long kept = m_helperBlocks.kept();
        const long transformed = split ? u.firstRow * perRow - u.first : kept;
        m_helperBlocks.clear(0, transformed);
        m_helperBlocks.clear(split ? u.dataEnd : kept, kept);
    }
    m_helperBlocks.release();
    if (running)
        jpeg_abort_decompress(&h.cinfo);
}

// Whether the helper's first MCUs are MCU `k` on: the same AC values,
// and DC values that differ by what the predictions were before `k`
// (the helper started them at 0). `base` is the MCU the caller's kept
// blocks start at. Blocks sticking out of the picture are not kept and
// not compared; when the predictions before `k` come from one, `k`
// cannot be told: Unknown if its AC values match.
LumenUnmarkedSplit::Match LumenUnmarkedSplit::matchesAt(long k, long base, int dc[]) const
{
    const int components = m_upper->cinfo.comps_in_scan;
    const long perRow = m_layout.mcusPerRow;
    bool known = true;
    for (int i = 0; i < components; ++i) {
        if ((k - 1) % perRow == perRow - 1 &&
            m_callerBlocks.lastColumnWidth(i) < m_callerBlocks.width(i))
            known = false;
        dc[i] = m_callerBlocks.block(k - 1 - base, m_callerBlocks.lastBlock(i))[0];
    }
    for (long j = 0; j < kMatchMcus; ++j) {
        const bool lastColumn = (k + j) % perRow == perRow - 1;
        for (int i = 0; i < components; ++i) {
            const int width =
                lastColumn ? m_callerBlocks.lastColumnWidth(i) : m_callerBlocks.width(i);
            for (int b = m_callerBlocks.firstBlock(i); b <= m_callerBlocks.lastBlock(i); ++b) {
                if ((b - m_callerBlocks.firstBlock(i)) % m_callerBlocks.width(i) >= width)
                    continue;
                const JCOEF *mine = m_callerBlocks.block(k + j - base, b);
                const JCOEF *theirs = m_helperBlocks.block(j, b);
                if ((known && mine[0] != theirs[0] + dc[i]) ||
                    std::memcmp(mine + 1, theirs + 1, (DCTSIZE2 - 1) * sizeof(JCOEF)) != 0)
                    return Match::No;
            }
        }
    }
    return known ? Match::Yes : Match::Unknown;
}

// Caller: waits until `done` holds, which only the helper's news can
// change.
template <typename Done> void LumenUnmarkedSplit::waitForHelper(Done done)
{
    for (;;) {
        const int news = m_unmarked.news;
        if (done())
            return;
        m_unmarked.news.wait(news);
    }
}

// Caller, after decoding MCU row `row`: where the helper's first MCU is
// in the picture. It starts at byte `start`, which lies in a row whose
// reading ended at or after it and whose previous row's reading ended
// at most kReadAhead before it; the match must be unique among all the
// MCUs of all such rows, or the split is not proven.
LumenUnmarkedSplit::Check LumenUnmarkedSplit::place(int row, qsizetype start, int keptFrom)
{
    Unmarked &u = m_unmarked;
    if (u.kept < kMatchMcus)
        return u.helper == Unmarked::Decoding && row + 1 < m_layout.mcuRows ? Check::More
                                                                            : Check::NoMatch;
    const long perRow = m_layout.mcusPerRow, base = keptFrom * perRow;
    const long decoded = (row + 1) * perRow;
    long found = -1;
    int matches = 0;
    int dc[MAX_COMPS_IN_SCAN];
    for (int q = 0; q <= row; ++q) {
        const qsizetype before = q == 0 ? m_codedStart : m_rowEnd[size_t(q - 1)];
        if (m_rowEnd[size_t(q)] < start || before - kReadAhead > start)
            continue;
        for (long k = q * perRow; k < (q + 1) * perRow; ++k) {
            if (k - 1 < base)
                return Check::NoMatch; // the predictions before it were not kept
            if (k + kMatchMcus > decoded)
                return row + 1 < m_layout.mcuRows ? Check::More : Check::NoMatch;
            const Match match = matchesAt(k, base, dc);
            if (match == Match::Unknown)
                return Check::NoMatch;
            if (match == Match::Yes) {
                ++matches;
                found = k;
                std::copy(std::begin(dc), std::end(dc), std::begin(u.dc));
            }
        }
    }
    if (matches != 1)
        return Check::NoMatch;
    u.first = found;
    return Check::Match;
}

// Caller, once the helper's blocks are placed: transforms the rows below
// its own from the top down as the helper keeps them. False
// when the helper's blocks do not reach the end after all: the caller
// decodes on and writes over what was transformed.
bool LumenUnmarkedSplit::transformFromTop()
{
    Unmarked &u = m_unmarked;
    const long perRow = m_layout.mcusPerRow;
    for (;;) {
        int row;
        {
            std::lock_guard lock(u.rows);
            if (u.top > u.bottom)
                break;
            row = u.top;
        }
        const long needed = (row + 1) * perRow - u.first;
        if (u.kept < needed) {
            // Woken for a few rows at a time, not for each.
            u.wanted = std::min(needed + (kWaitRows - 1) * perRow, u.total - u.first);
            waitForHelper([&] { return u.kept >= needed || u.helper != Unmarked::Decoding; });
            u.wanted = Unmarked::kNobody;
            if (u.kept < needed)
                return false; // the helper stopped short
        }
        {
            std::lock_guard lock(u.rows);
            if (u.top != row || u.top > u.bottom)
                continue;
            ++u.top;
        }
        transformRow(row);
    }
    waitForHelper([&] { return u.helper != Unmarked::Decoding; });
    return u.helper == Unmarked::Done && u.helperComplete();
}

// Calling thread: a frame without restart markers whose header `upper`
// has read, on both threads when the split can be proven, else on this
// one alone. The planes are the same either way.
bool LumenUnmarkedSplit::decode(const uchar *data, qsizetype size, qsizetype codedStart,
                                Decompressor &upper, Decompressor &helper,
                                LumenWorkerThread &worker, const Layout &layout,
                                const Target &target)
{
    m_data = data;
    m_size = size;
    m_codedStart = codedStart;
    m_upper = &upper;
    m_helper = &helper;
    m_worker = &worker;
    m_layout = layout;
    m_target = target;
    Unmarked &u = m_unmarked;
    u.reset();
    u.total = long(m_layout.mcusPerRow) * m_layout.mcuRows;
    if (!startRaw(upper))
        return false;
    const long perRow = m_layout.mcusPerRow;
    const bool catching = m_callerBlocks.setUp(&m_upper->cinfo, kKeptRows * perRow);
    m_rowEnd.resize(size_t(m_layout.mcuRows));
    if (catching)
        m_worker->post([this] { decodeLowerPart(); });
    bool deciding = catching, ok = true, split = false;
    int keptFrom = -1;
    qsizetype before = m_codedStart, longestRow = 0;
    JSAMPROW pointers[3][kMaxSampling * DCTSIZE];
    JSAMPARRAY arrays[3];
    for (int row = 0; row < m_layout.mcuRows; ++row) {
        // Near where the helper, running, looks for its start, the start is
        // needed (it takes the helper a fraction of a row to find it).
        const qsizetype from = u.searchFrom;
        if (deciding && from >= 0 && before + 2 * longestRow + kReadAhead >= from)
            waitForHelper([&] { return u.start != Unmarked::kNotYet; });
        const qsizetype start = deciding ? qsizetype(u.start) : Unmarked::kNotYet;
        if (deciding && start == -1)
            deciding = false; // no boundary found
        // Keep the blocks from a couple of rows before the helper's
        // start, judged by the rows so far.
        if (deciding && start >= 0 && keptFrom < 0 && before + 2 * longestRow + kReadAhead >= start)
            keptFrom = row;
        if (deciding && keptFrom >= 0 && row - keptFrom >= kKeptRows)
            deciding = false;
        const bool keeping = deciding && keptFrom >= 0;
        rowPointers(m_upper->cinfo, m_target, row, pointers, arrays);
        if (keeping)
            m_callerBlocks.catchRow((row - keptFrom) * perRow, arrays);
        if (!readMcuRow(upper, arrays)) {
            ok = false;
            break;
        }
        if (keeping)
            m_callerBlocks.endRow();
        const qsizetype end = m_upper->source.pub.next_input_byte - m_data;
        m_rowEnd[size_t(row)] = end;
        u.callerAt.store(end, std::memory_order_relaxed);
        longestRow = std::max(longestRow, end - before);
        before = end;
        if (!keeping || end <= start + kReadAhead)
            continue;
        const Check check = place(row, start, keptFrom);
        if (check == Check::More)
            continue;
        deciding = false;
        if (check == Check::NoMatch)
            continue;
        {
            std::lock_guard lock(u.rows);
            u.top = u.firstRow = row + 1;
            u.bottom = m_layout.mcuRows - 1;
        }
        u.verdict = Unmarked::Accepted;
        u.verdict.notify_all();
        if (transformFromTop()) {
            split = true;
            break;
        }
        // Not proven after all: decode on from here.
    }
    if (u.verdict == Unmarked::Pending) {
        u.verdict = Unmarked::Rejected;
        u.verdict.notify_all();
    }
    m_callerBlocks.release();
    if (ok)
        jpeg_abort_decompress(&m_upper->cinfo);
    if (catching) {
        u.callerDone = true;
        u.callerDone.notify_all();
        m_worker->wait();
    }
    m_split = split;
    return ok;
}
