#include "LumenJpegDecoder.h"

#include <turbojpeg.h>

#include "LumenBlockCatcher.h"
#include "LumenMcuFinder.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// Fast DCT and upsampling: a live picture needs speed more than the last
// bit of accuracy.
constexpr int kFlags = TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE | TJFLAG_NOREALLOC;

// Decoding errors that still leave a usable picture (e.g. a frame cut
// short on the wire) are only warnings.
bool failed(tjhandle handle, int result)
{
    return result != 0 && tjGetErrorCode(handle) != TJERR_WARNING;
}

// Below this a second thread costs about what it saves.
constexpr qsizetype kSplitPixels = 320 * 240;
// Sampling factors the planar path takes (4:4:4, 4:2:2, 4:2:0, 4:4:0).
constexpr int kMaxSampling = 2;

// libjpeg reports an error by calling error_exit, which must not return:
// it jumps back to the setjmp of the step in progress.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto *error = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (a frame cut short, corrupt data that still gives a picture)
// are not errors: the picture is shown as far as it goes.
void quiet(j_common_ptr) {}

// The bytes libjpeg reads: a few pieces of memory one after another. The
// lower part of a split frame is the header with its height patched, then
// the coded data from a restart marker on, all read in place.
struct Source
{
    struct Piece
    {
        const JOCTET *data;
        size_t size;
    };
    jpeg_source_mgr pub;
    Piece pieces[4];
    int count = 0;
    int next = 0;
    // The lower part starts after restart marker n: its markers count on
    // from n, not from 0.
    int restartOffset = 0;
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr cinfo)
{
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    while (source->next < source->count) {
        const Source::Piece &piece = source->pieces[source->next++];
        if (piece.size == 0)
            continue;
        source->pub.next_input_byte = piece.data;
        source->pub.bytes_in_buffer = piece.size;
        return TRUE;
    }
    // A frame cut short: end it, as libjpeg's own memory source does.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->pub.next_input_byte = kEndOfImage;
    source->pub.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    auto bytes = size_t(count);
    while (bytes > source->pub.bytes_in_buffer) {
        bytes -= source->pub.bytes_in_buffer;
        const bool last = source->next >= source->count;
        fillInput(cinfo);
        if (last)
            return; // only the end marker is left
    }
    source->pub.next_input_byte += bytes;
    source->pub.bytes_in_buffer -= bytes;
}

boolean resyncToRestart(j_decompress_ptr cinfo, int desired)
{
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    if (source->restartOffset != 0 &&
        cinfo->unread_marker == JPEG_RST0 + ((desired + source->restartOffset) & 7)) {
        cinfo->unread_marker = 0;
        return TRUE;
    }
    return jpeg_resync_to_restart(cinfo, desired);
}

void termSource(j_decompress_ptr) {}

struct Decompressor
{
    jpeg_decompress_struct cinfo{};
    ErrorManager error{};
    Source source{};
    bool created = false;

    Decompressor()
    {
        cinfo.err = jpeg_std_error(&error.pub);
        error.pub.error_exit = errorExit;
        error.pub.output_message = quiet;
        if (setjmp(error.jump))
            return;
        jpeg_create_decompress(&cinfo);
        source.pub.init_source = initSource;
        source.pub.fill_input_buffer = fillInput;
        source.pub.skip_input_data = skipInput;
        source.pub.resync_to_restart = resyncToRestart;
        source.pub.term_source = termSource;
        cinfo.src = &source.pub;
        created = true;
    }
    ~Decompressor()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    void setSource(std::initializer_list<Source::Piece> pieces, int restartOffset)
    {
        source.count = 0;
        for (const Source::Piece &piece : pieces)
            source.pieces[source.count++] = piece;
        source.next = 0;
        source.restartOffset = restartOffset;
        source.pub.next_input_byte = nullptr;
        source.pub.bytes_in_buffer = 0;
    }
    QString message() const { return QString::fromLocal8Bit(error.message); }
};

// Where the planes go: one buffer, each plane padded to whole MCUs so that
// libjpeg writes its rows in place.
struct Layout
{
    int components = 0;
    int maxH = 1, maxV = 1;
    int h[3] = {1, 1, 1}, v[3] = {1, 1, 1};
    int stride[3] = {};
    int rows[3] = {};
    qsizetype offset[3] = {};
    qsizetype bytes = 0;
    int mcusPerRow = 0, mcuRows = 0;
};

struct Target
{
    JSAMPLE *plane[3];
    int stride[3];
    LumenFrameRows *rows; // told as rows arrive, when the frame is already shown
};

bool planarLayout(const jpeg_decompress_struct &c, Layout &l)
{
    if (c.data_precision != 8)
        return false;
    if (c.num_components == 1) {
        if (c.jpeg_color_space != JCS_GRAYSCALE)
            return false;
    } else if (c.num_components == 3) {
        if (c.jpeg_color_space != JCS_YCbCr)
            return false;
        for (int i = 1; i < 3; ++i)
            if (c.comp_info[i].h_samp_factor != 1 || c.comp_info[i].v_samp_factor != 1)
                return false;
    } else {
        return false;
    }
    l.components = c.num_components;
    l.maxH = c.max_h_samp_factor;
    l.maxV = c.max_v_samp_factor;
    if (l.maxH > kMaxSampling || l.maxV > kMaxSampling)
        return false;
    const int mcuWidth = DCTSIZE * l.maxH, mcuHeight = DCTSIZE * l.maxV;
    l.mcusPerRow = int((c.image_width + JDIMENSION(mcuWidth) - 1) / JDIMENSION(mcuWidth));
    l.mcuRows = int((c.image_height + JDIMENSION(mcuHeight) - 1) / JDIMENSION(mcuHeight));
    for (int i = 0; i < l.components; ++i) {
        l.h[i] = c.comp_info[i].h_samp_factor;
        l.v[i] = c.comp_info[i].v_samp_factor;
        l.stride[i] = l.mcusPerRow * l.h[i] * DCTSIZE;
        l.rows[i] = l.mcuRows * l.v[i] * DCTSIZE;
        l.offset[i] = l.bytes;
        l.bytes += qsizetype(l.stride[i]) * l.rows[i];
    }
    return true;
}

// The steps that can fail inside libjpeg. Each returns false after an
// error (the message is in the decompressor) and leaves it ready for the
// next frame. Nothing with a destructor lives in a frame setjmp guards.
bool readJpegHeader(Decompressor &d)
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    jpeg_read_header(&d.cinfo, TRUE); // a frame without a picture is an error
    return true;
}

void useRawData(jpeg_decompress_struct &c)
{
    c.raw_data_out = TRUE;
    c.do_fancy_upsampling = FALSE;
    c.dct_method = JDCT_IFAST;
}

// Row pointers for MCU row `mcuRow` of the planes.
void rowPointers(const jpeg_decompress_struct &c, const Target &t, int mcuRow,
                 JSAMPROW (&pointers)[3][kMaxSampling * DCTSIZE], JSAMPARRAY (&arrays)[3])
{
    for (int i = 0; i < c.num_components; ++i) {
        const int v = c.comp_info[i].v_samp_factor;
        const int first = mcuRow * v * DCTSIZE;
        for (int j = 0; j < v * DCTSIZE; ++j)
            pointers[i][j] = t.plane[i] + qsizetype(first + j) * t.stride[i];
        arrays[i] = pointers[i];
    }
}

void readRows(jpeg_decompress_struct &c, const Target &t, int rows)
{
    useRawData(c);
    jpeg_start_decompress(&c);
    const int step = c.max_v_samp_factor * DCTSIZE;
    JSAMPROW pointers[3][kMaxSampling * DCTSIZE];
    JSAMPARRAY arrays[3];
    for (int row = 0; row < rows && c.output_scanline < c.output_height; row += step) {
        rowPointers(c, t, row / step, pointers, arrays);
        if (jpeg_read_raw_data(&c, arrays, JDIMENSION(step)) == 0)
            break;
        if (t.rows)
            t.rows->advance(row + step);
    }
}

// Starts raw decoding of the picture whose header `d` has read.
bool startRaw(Decompressor &d)
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    useRawData(d.cinfo);
    jpeg_start_decompress(&d.cinfo);
    return true;
}

// Decodes the next MCU row into the rows `arrays` point at. After an error
// the decompressor is aborted.
bool readMcuRow(Decompressor &d, JSAMPARRAY (&arrays)[3])
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    jpeg_read_raw_data(&d.cinfo, arrays, JDIMENSION(d.cinfo.max_v_samp_factor * DCTSIZE));
    return true;
}

// Decodes rows [0, rows) of the picture whose header `d` has read straight
// into the planes, then lets go of the rest.
bool decodeRows(Decompressor &d, const Target &t, int rows)
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    readRows(d.cinfo, t, rows);
    jpeg_abort_decompress(&d.cinfo);
    return true;
}

// Where a frame can be cut: restart markers that also start a row of MCUs.
// Each piece below the first is decoded as a picture of its own: the same
// header with the height of the rest of the frame, followed by the coded
// data after its marker. The frame is cut into a few pieces that both
// threads take in turn, so that a thread kept off its core for a while
// (the other programs on the machine) costs only a piece, not a half.
constexpr int kPieces = 4;

struct Plan
{
    qsizetype heightField = -1; // the frame header's height, big endian
    qsizetype codedStart = 0;
    int count = 0;
    // Piece i: rows [row[i], row[i + 1]), coded data from start[i], its
    // restart markers counting on from offset[i].
    int row[kPieces + 1] = {};
    qsizetype start[kPieces] = {};
    int offset[kPieces] = {};
    JOCTET height[kPieces][2] = {};
};

struct Boundary
{
    qsizetype start; // coded data after the marker
    long markers;    // restart markers above
    int row;         // MCU row it starts
};

// Where the frame header's height (then width), big endian, is among the
// header's segments before the coded data; -1 if it is not there.
qsizetype frameSizeField(const uchar *data, qsizetype codedStart)
{
    qsizetype pos = 2, field = -1;
    while (pos + 4 <= codedStart) {
        if (data[pos] != 0xFF)
            return -1;
        const uchar marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xDA)
            break;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            field = pos + 5;
        pos += 2 + ((data[pos + 2] << 8) | data[pos + 3]);
    }
    return field >= 0 && field + 4 <= codedStart ? field : -1;
}

bool planPieces(const uchar *data, qsizetype size, qsizetype codedStart,
                const jpeg_decompress_struct &c, const Layout &l, std::vector<Boundary> &boundaries,
                Plan &plan)
{
    if (c.progressive_mode || c.arith_code || c.restart_interval == 0 || l.components != 3 ||
        c.comps_in_scan != 3 || l.mcuRows < 2)
        return false;
    const qsizetype heightField = frameSizeField(data, codedStart);
    if (heightField < 0)
        return false;

    // Boundaries that start a row come every lcm(interval, row) MCUs.
    const long interval = long(c.restart_interval), perRow = l.mcusPerRow;
    const long step = std::lcm(interval, perRow);
    const long markersPerStep = step / interval, rowsPerStep = step / perRow;
    boundaries.clear();
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
            boundaries.push_back({p, seen, int(row)});
    }
    if (boundaries.empty())
        return false;

    // Reading the coded data is most of the work: the cuts go to the
    // boundaries nearest equal shares of the coded bytes.
    plan.heightField = heightField;
    plan.codedStart = codedStart;
    plan.count = 1;
    plan.row[0] = 0;
    plan.start[0] = codedStart;
    plan.offset[0] = 0;
    size_t b = 0;
    for (int piece = 1; piece < kPieces; ++piece) {
        const qsizetype share = codedStart + (size - codedStart) * piece / kPieces;
        while (b + 1 < boundaries.size() &&
               std::abs(boundaries[b + 1].start - share) <= std::abs(boundaries[b].start - share))
            ++b;
        const Boundary &cut = boundaries[b];
        const int row = cut.row * DCTSIZE * l.maxV;
        if (row <= plan.row[plan.count - 1])
            continue;
        plan.row[plan.count] = row;
        plan.start[plan.count] = cut.start;
        plan.offset[plan.count] = int(cut.markers & 7);
        const int rest = int(c.image_height) - row;
        plan.height[plan.count][0] = JOCTET(rest >> 8);
        plan.height[plan.count][1] = JOCTET(rest & 0xff);
        ++plan.count;
    }
    plan.row[plan.count] = int(c.image_height);
    return plan.count > 1;
}

// A frame without restart markers that both threads can decode.
bool unmarkedSplittable(const jpeg_decompress_struct &c, const Layout &l)
{
    return !c.progressive_mode && !c.arith_code && c.restart_interval == 0 && l.components == 3 &&
           c.comps_in_scan == 3 && l.mcuRows >= 4;
}

// Decodes piece `i` of the plan into the planes with `d`.
bool decodePiece(Decompressor &d, const uchar *data, qsizetype size, const Plan &plan, int i,
                 const Layout &layout, Target target)
{
    const auto field = size_t(plan.heightField);
    if (i == 0) {
        d.setSource({{data, size_t(size)}}, 0);
    } else {
        d.setSource({{data, field},
                     {plan.height[i], 2},
                     {data + field + 2, size_t(plan.codedStart) - field - 2},
                     {data + plan.start[i], size_t(size - plan.start[i])}},
                    plan.offset[i]);
    }
    for (int c = 0; c < layout.components; ++c)
        target.plane[c] += qsizetype(plan.row[i] / layout.maxV * layout.v[c]) * layout.stride[c];
    return readJpegHeader(d) && decodeRows(d, target, plan.row[i + 1] - plan.row[i]);
}

} // namespace

// Frames without restart markers are split where the helper finds an MCU
// boundary on its own (LumenMcuFinder), a little above the middle of the
// coded bytes: the caller also transforms its rows, the helper only keeps
// its blocks at first.
constexpr int kUnmarkedShare = 45; // per cent of the coded bytes above
// How far libjpeg's reading may run ahead of the MCUs it has decoded, in
// bytes: its bit buffer and byte stuffing, with room to spare.
constexpr qsizetype kReadAhead = 64;
// The helper's first MCUs, found among the caller's: enough to tell them
// apart.
constexpr long kMatchMcus = 16;
// MCU rows the caller keeps blocks of around the helper's start.
constexpr int kKeptRows = 8;

// What the two threads tell each other about a split frame without
// restart markers.
struct Unmarked
{
    enum { Pending, Accepted, Rejected };
    enum { Decoding, Done, Failed };
    static constexpr qsizetype kNotYet = -2;

    qsizetype searchFrom = 0;
    long total = 0; // MCUs in the picture
    // Helper to caller: the byte it decodes from (-1: none found), its
    // blocks kept, its state; `news` changes with each of them.
    std::atomic<qsizetype> start{kNotYet};
    std::atomic<long> kept{0};
    std::atomic<int> helper{Decoding};
    std::atomic<int> news{0};
    long dataEnd = -1; // the helper's MCUs before its data ran out; set before Done
    // Caller to helper.
    std::atomic<int> verdict{Pending};
    long first = 0; // the picture's MCU that is the helper's first
    int dc[MAX_COMPS_IN_SCAN] = {};
    std::atomic<bool> callerDone{false};
    // MCU rows left to transform from the helper's blocks: the caller
    // takes them from the top, the helper from the bottom.
    std::mutex rows;
    int top = 0, bottom = -1;

    void reset()
    {
        start = kNotYet;
        kept = 0;
        helper = Decoding;
        dataEnd = -1;
        verdict = Pending;
        first = 0;
        callerDone = false;
        top = 0;
        bottom = -1;
    }
    void tell()
    {
        news.fetch_add(1);
        news.notify_all();
    }
    // The helper's blocks reach the whole picture: its count of MCUs
    // agrees with where the caller placed its first.
    bool helperComplete() const { return dataEnd >= 0 && dataEnd == total - first; }
};

// The helper thread takes pieces of a split frame with a decompressor of
// its own, in turn with the calling thread, which waits for the piece the
// helper is on before returning the frame. For a frame without restart
// markers it decodes the lower part (Unmarked).
struct LumenJpegDecoder::Private
{
    LumenJpegDecoder::Threads threads;
    Decompressor upper;
    Decompressor helperDecompressor;
    std::vector<Boundary> boundaries; // kept: no allocation per frame

    std::mutex mutex;
    std::condition_variable changed;
    std::thread helper;
    bool quit = false;
    // The frame being split, valid while `job`, `unmarkedJob` or `helperBusy`.
    bool job = false;
    bool unmarkedJob = false;
    bool helperBusy = false;
    bool failed = false;
    int next = 0;
    const uchar *data = nullptr;
    qsizetype size = 0;
    qsizetype codedStart = 0;
    Plan plan;
    Layout layout;
    Target target{};

    // Frames without restart markers; all kept between frames.
    Unmarked unmarked;
    LumenMcuFinder finder;
    LumenBlockCatcher callerBlocks, helperBlocks;
    std::vector<qsizetype> rowEnd; // where the caller's reading stood after each MCU row
    std::vector<JSAMPLE> scratch;
    JOCTET paddedSize[4] = {};

    explicit Private(LumenJpegDecoder::Threads t) : threads(t) {}
    ~Private()
    {
        if (!helper.joinable())
            return;
        {
            std::lock_guard lock(mutex);
            quit = true;
        }
        changed.notify_all();
        helper.join();
    }

    void startHelper()
    {
        if (!helper.joinable())
            helper = std::thread([this] { helperLoop(); });
    }

    // Calling thread: decodes the split frame with the helper.
    bool decodeSplit()
    {
        startHelper();
        {
            std::lock_guard lock(mutex);
            next = 1; // piece 0 is the caller's: its header is read already
            failed = false;
            job = true;
        }
        changed.notify_all();
        bool ok = decodeRows(upper, target, plan.row[1]);
        for (;;) {
            int i;
            {
                std::lock_guard lock(mutex);
                if (next >= plan.count)
                    break;
                i = next++;
            }
            ok = decodePiece(upper, data, size, plan, i, layout, target) && ok;
        }
        // All pieces are taken: wait only for one the helper is on.
        std::unique_lock lock(mutex);
        job = false;
        changed.wait(lock, [&] { return !helperBusy; });
        return ok && !failed;
    }

    void helperLoop()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return quit || unmarkedJob || (job && next < plan.count); });
            if (quit)
                return;
            if (unmarkedJob) {
                unmarkedJob = false;
                helperBusy = true;
                lock.unlock();
                decodeLowerPart();
                lock.lock();
                helperBusy = false;
            }
            while (job && next < plan.count) {
                const int i = next++;
                helperBusy = true;
                lock.unlock();
                const bool ok = decodePiece(helperDecompressor, data, size, plan, i, layout, target);
                lock.lock();
                helperBusy = false;
                failed = failed || !ok;
            }
            lock.unlock();
            changed.notify_all();
            lock.lock();
        }
    }

    // Transforms MCU row `row` of the picture from the helper's blocks.
    void transformRow(int row)
    {
        const long perRow = layout.mcusPerRow;
        for (int column = 0; column < layout.mcusPerRow; ++column)
            helperBlocks.transform(row * perRow + column - unmarked.first, unmarked.dc,
                                   target.plane, target.stride, row, column);
    }

    // Helper thread, a frame without restart markers: finds an MCU
    // boundary, decodes from there keeping the blocks, and once the caller
    // has placed them transforms rows from the bottom up.
    void decodeLowerPart()
    {
        Unmarked &u = unmarked;
        Decompressor &h = helperDecompressor;
        // The picture padded to whole MCUs: libjpeg then transforms (and
        // lets the catcher keep) every block it decodes, even those that
        // stick out of the picture (the helper's MCUs are not in the
        // picture's columns: its last column is any of them).
        const qsizetype field = frameSizeField(data, codedStart);
        qsizetype start = -1;
        bool running = false;
        if (field >= 0) {
            const int height = layout.mcuRows * layout.maxV * DCTSIZE;
            const int width = layout.mcusPerRow * layout.maxH * DCTSIZE;
            const JOCTET padded[4] = {JOCTET(height >> 8), JOCTET(height & 0xff),
                                      JOCTET(width >> 8), JOCTET(width & 0xff)};
            std::copy(std::begin(padded), std::end(padded), std::begin(paddedSize));
            const auto f = size_t(field);
            h.setSource({{data, f},
                         {paddedSize, sizeof paddedSize},
                         {data + f + 4, size_t(codedStart) - f - 4},
                         {data + codedStart, size_t(size - codedStart)}},
                        0);
            running = readJpegHeader(h) && startRaw(h);
        }
        if (running && finder.setUp(h.cinfo) && helperBlocks.setUp(&h.cinfo, u.total))
            start = finder.find(data, size_t(size), size_t(u.searchFrom));
        if (start >= 0) {
            // From the boundary on, with the DC predictions at 0: the
            // caller works out what they should have been.
            h.source.pub.next_input_byte = data + start;
            h.source.pub.bytes_in_buffer = size_t(size - start);
        }
        u.start = start;
        u.tell();
        bool ok = start >= 0;
        // Nothing is transformed while the blocks are kept: the rows given
        // to libjpeg are never written. They point at a line of their own
        // all the same.
        scratch.resize(size_t(layout.stride[0]));
        Target nowhere{};
        for (int i = 0; i < layout.components; ++i)
            nowhere.plane[i] = scratch.data();
        JSAMPROW pointers[3][kMaxSampling * DCTSIZE];
        JSAMPARRAY arrays[3];
        if (ok)
            rowPointers(h.cinfo, nowhere, 0, pointers, arrays);
        for (int row = 0; ok && row < layout.mcuRows; ++row) {
            if (u.verdict == Unmarked::Rejected)
                break;
            helperBlocks.catchRow(long(row) * layout.mcusPerRow, arrays, false);
            ok = readMcuRow(h, arrays);
            if (!ok) {
                running = false; // aborted
                break;
            }
            helperBlocks.endRow();
            u.kept.store(helperBlocks.kept());
            u.tell();
            if (helperBlocks.dataEnd() >= 0)
                break;
        }
        u.dataEnd = ok ? helperBlocks.dataEnd() : -1;
        u.helper = ok ? Unmarked::Done : Unmarked::Failed;
        u.tell();

        for (int verdict; (verdict = u.verdict) == Unmarked::Pending;)
            u.verdict.wait(verdict);
        if (ok && u.verdict == Unmarked::Accepted && u.helperComplete()) {
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
        helperBlocks.release();
        if (running)
            jpeg_abort_decompress(&h.cinfo);
    }

    enum class Check { Match, NoMatch, More };

    // Whether the helper's first MCUs are MCU `k` on: the same AC values,
    // and DC values that differ by what the predictions were before `k`
    // (the helper started them at 0). `base` is the MCU the caller's kept
    // blocks start at. Blocks sticking out of the picture are not kept and
    // not compared; when the predictions before `k` come from one, `k`
    // cannot be told: Unknown if its AC values match.
    enum class Match { No, Yes, Unknown };
    Match matchesAt(long k, long base, int dc[]) const
    {
        const int components = upper.cinfo.comps_in_scan;
        const long perRow = layout.mcusPerRow;
        bool known = true;
        for (int i = 0; i < components; ++i) {
            if ((k - 1) % perRow == perRow - 1 &&
                callerBlocks.lastColumnWidth(i) < callerBlocks.width(i))
                known = false;
            dc[i] = callerBlocks.block(k - 1 - base, callerBlocks.lastBlock(i))[0];
        }
        for (long j = 0; j < kMatchMcus; ++j) {
            const bool lastColumn = (k + j) % perRow == perRow - 1;
            for (int i = 0; i < components; ++i) {
                const int width =
                    lastColumn ? callerBlocks.lastColumnWidth(i) : callerBlocks.width(i);
                for (int b = callerBlocks.firstBlock(i); b <= callerBlocks.lastBlock(i); ++b) {
                    if ((b - callerBlocks.firstBlock(i)) % callerBlocks.width(i) >= width)
                        continue;
                    const JCOEF *mine = callerBlocks.block(k + j - base, b);
                    const JCOEF *theirs = helperBlocks.block(j, b);
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
    template <typename Done> void waitForHelper(Done done)
    {
        for (;;) {
            const int news = unmarked.news;
            if (done())
                return;
            unmarked.news.wait(news);
        }
    }

    // Caller, after decoding MCU row `row`: where the helper's first MCU is
    // in the picture. It starts at byte `start`, which lies in a row whose
    // reading ended at or after it and whose previous row's reading ended
    // at most kReadAhead before it; the match must be unique among all the
    // MCUs of all such rows, or the split is not proven.
    Check place(int row, qsizetype start, int keptFrom)
    {
        Unmarked &u = unmarked;
        waitForHelper([&] { return u.kept >= kMatchMcus || u.helper != Unmarked::Decoding; });
        if (u.kept < kMatchMcus)
            return Check::NoMatch;
        const long perRow = layout.mcusPerRow, base = keptFrom * perRow;
        const long decoded = (row + 1) * perRow;
        long found = -1;
        int matches = 0;
        int dc[MAX_COMPS_IN_SCAN];
        for (int q = 0; q <= row; ++q) {
            const qsizetype before = q == 0 ? codedStart : rowEnd[size_t(q - 1)];
            if (rowEnd[size_t(q)] < start || before - kReadAhead > start)
                continue;
            for (long k = q * perRow; k < (q + 1) * perRow; ++k) {
                if (k - 1 < base)
                    return Check::NoMatch; // the predictions before it were not kept
                if (k + kMatchMcus > decoded)
                    return row + 1 < layout.mcuRows ? Check::More : Check::NoMatch;
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

    // Caller, once the helper's blocks are placed below MCU row `row`:
    // transforms rows from the top down as the helper keeps them. False
    // when the helper's blocks do not reach the end after all: the caller
    // decodes on and writes over what was transformed.
    bool transformFromTop()
    {
        Unmarked &u = unmarked;
        const long perRow = layout.mcusPerRow;
        for (;;) {
            int row;
            {
                std::lock_guard lock(u.rows);
                if (u.top > u.bottom)
                    break;
                row = u.top;
            }
            const long needed = (row + 1) * perRow - u.first;
            for (;;) {
                const int news = u.news;
                if (u.kept >= needed)
                    break;
                if (u.helper != Unmarked::Decoding)
                    return false;
                u.news.wait(news);
            }
            {
                std::lock_guard lock(u.rows);
                if (u.top != row || u.top > u.bottom)
                    continue;
                ++u.top;
            }
            transformRow(row);
        }
        for (;;) {
            const int news = u.news;
            if (u.helper != Unmarked::Decoding)
                break;
            u.news.wait(news);
        }
        return u.helper == Unmarked::Done && u.helperComplete();
    }

    // Calling thread: a frame without restart markers whose header `upper`
    // has read, on both threads when the split can be proven, else on this
    // one alone. The planes are the same either way.
    bool decodeUnmarked()
    {
        Unmarked &u = unmarked;
        u.reset();
        u.total = long(layout.mcusPerRow) * layout.mcuRows;
        u.searchFrom = codedStart + (size - codedStart) * kUnmarkedShare / 100;
        if (!startRaw(upper))
            return false;
        const long perRow = layout.mcusPerRow;
        const bool catching = callerBlocks.setUp(&upper.cinfo, kKeptRows * perRow);
        rowEnd.resize(size_t(layout.mcuRows));
        if (catching) {
            startHelper();
            {
                std::lock_guard lock(mutex);
                unmarkedJob = true;
            }
            changed.notify_all();
        }
        bool deciding = catching, ok = true, split = false;
        int keptFrom = -1;
        qsizetype before = codedStart, longestRow = 0;
        JSAMPROW pointers[3][kMaxSampling * DCTSIZE];
        JSAMPARRAY arrays[3];
        for (int row = 0; row < layout.mcuRows; ++row) {
            // Near where the helper starts looking, its answer is needed.
            if (deciding && before + 2 * longestRow + kReadAhead >= u.searchFrom)
                waitForHelper([&] { return u.start != Unmarked::kNotYet; });
            const qsizetype start = deciding ? qsizetype(u.start) : Unmarked::kNotYet;
            if (deciding && start == -1)
                deciding = false; // no boundary found
            // Keep the blocks from a couple of rows before the helper's
            // start, judged by the rows so far.
            if (deciding && start >= 0 && keptFrom < 0 &&
                before + 2 * longestRow + kReadAhead >= start)
                keptFrom = row;
            if (deciding && keptFrom >= 0 && row - keptFrom >= kKeptRows)
                deciding = false;
            const bool keeping = deciding && keptFrom >= 0;
            rowPointers(upper.cinfo, target, row, pointers, arrays);
            if (keeping)
                callerBlocks.catchRow((row - keptFrom) * perRow, arrays, true);
            if (!readMcuRow(upper, arrays)) {
                ok = false;
                break;
            }
            if (keeping)
                callerBlocks.endRow();
            const qsizetype end = upper.source.pub.next_input_byte - data;
            rowEnd[size_t(row)] = end;
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
                u.top = row + 1;
                u.bottom = layout.mcuRows - 1;
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
        callerBlocks.release();
        if (ok)
            jpeg_abort_decompress(&upper.cinfo);
        if (catching) {
            u.callerDone = true;
            u.callerDone.notify_all();
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return !helperBusy && !unmarkedJob; });
        }
        lastSplit = split;
        return ok;
    }
    bool lastSplit = false;
};

LumenJpegDecoder::LumenJpegDecoder(Threads threads)
    : d(std::make_unique<Private>(threads)), m_handle(tjInitDecompress())
{
}

LumenJpegDecoder::~LumenJpegDecoder()
{
    if (m_handle)
        tjDestroy(static_cast<tjhandle>(m_handle));
}

bool LumenJpegDecoder::readHeader(const uchar *data, qsizetype size, int &width, int &height,
                                  int &subsampling)
{
    auto *handle = static_cast<tjhandle>(m_handle);
    if (!handle) {
        m_error = QStringLiteral("the JPEG decoder could not be created");
        return false;
    }
    if (!data || size <= 0 ||
        static_cast<unsigned long long>(size) > std::numeric_limits<unsigned long>::max()) {
        m_error = QStringLiteral("empty frame");
        return false;
    }
    int colorspace = 0;
    if (tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &width, &height,
                            &subsampling, &colorspace) != 0) {
        m_error = QString::fromLocal8Bit(tjGetErrorStr2(handle));
        return false;
    }
    // Refuse absurd headers before allocating for them.
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        m_error = QStringLiteral("unsupported picture size %1x%2").arg(width).arg(height);
        return false;
    }
    return true;
}

QImage LumenJpegDecoder::decode(const uchar *data, qsizetype size)
{
    int width = 0, height = 0, subsampling = 0;
    if (!readHeader(data, size, width, height, subsampling))
        return {};
    auto *handle = static_cast<tjhandle>(m_handle);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        m_error = QStringLiteral("out of memory");
        return {};
    }
    // Format_RGB32 is 0xffRRGGBB in native order: BGRX bytes on little
    // endian machines.
    const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
    if (failed(handle, tjDecompress2(handle, data, static_cast<unsigned long>(size), image.bits(),
                                     width, static_cast<int>(image.bytesPerLine()), height,
                                     pixelFormat, kFlags))) {
        m_error = QString::fromLocal8Bit(tjGetErrorStr2(handle));
        return {};
    }
    m_error.clear();
    return image;
}

bool LumenJpegDecoder::decodeRgb(const uchar *data, qsizetype size, LumenFrame &frame)
{
    QImage image = decode(data, size);
    if (image.isNull())
        return false;
    frame.kind = LumenFrame::Kind::Rgb;
    frame.size = image.size();
    frame.image = std::move(image);
    return true;
}

bool LumenJpegDecoder::decodeFrame(const uchar *data, qsizetype size, LumenFrame &frame,
                                   const std::function<void()> &started)
{
    if (!d->upper.created || !d->helperDecompressor.created) {
        m_error = QStringLiteral("the JPEG decoder could not be created");
        return false;
    }
    if (!data || size <= 0) {
        m_error = QStringLiteral("empty frame");
        return false;
    }
    Decompressor &upper = d->upper;
    upper.setSource({{data, size_t(size)}}, 0);
    if (!readJpegHeader(upper)) {
        m_error = upper.message();
        return false;
    }
    jpeg_decompress_struct &c = upper.cinfo;
    const int width = int(c.image_width), height = int(c.image_height);
    // Refuse absurd headers before allocating for them.
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        jpeg_abort_decompress(&c);
        m_error = QStringLiteral("unsupported picture size %1x%2").arg(width).arg(height);
        return false;
    }
    Layout layout;
    if (!planarLayout(c, layout)) {
        // 4:1:1, CMYK and the like: let the library convert.
        jpeg_abort_decompress(&c);
        return decodeRgb(data, size, frame);
    }
    std::shared_ptr<QByteArray> buffer = m_planeBuffers.get(layout.bytes);
    if (!buffer) {
        jpeg_abort_decompress(&c);
        m_error = QStringLiteral("out of memory");
        return false;
    }
    auto *base = reinterpret_cast<JSAMPLE *>(buffer->data());
    Target target{};
    for (int i = 0; i < layout.components; ++i) {
        target.plane[i] = base + layout.offset[i];
        target.stride[i] = layout.stride[i];
    }

    LumenYuvPlanes planes;
    planes.width = width;
    planes.height = height;
    planes.y = target.plane[0];
    planes.yBytesPerLine = target.stride[0];
    if (layout.components == 3) {
        planes.u = target.plane[1];
        planes.v = target.plane[2];
        planes.uvBytesPerLine = target.stride[1];
        planes.xShift = layout.maxH == 2 ? 1 : 0;
        planes.yShift = layout.maxV == 2 ? 1 : 0;
    }
    if (!LumenPlanar::supported(planes)) {
        jpeg_abort_decompress(&c);
        m_error = QStringLiteral("unsupported picture layout");
        return false;
    }
    frame.kind = LumenFrame::Kind::Planar;
    frame.size = QSize(width, height);
    frame.planes = planes;
    frame.keeper = buffer;

    const qsizetype codedStart = upper.source.pub.next_input_byte - data;
    bool ok;
    if (d->threads == Threads::Two && qsizetype(width) * height >= kSplitPixels &&
        planPieces(data, size, codedStart, c, layout, d->boundaries, d->plan)) {
        ++m_splitFrames;
        d->data = data;
        d->size = size;
        d->layout = layout;
        d->target = target;
        ok = d->decodeSplit();
        if (!ok) {
            // Whatever a piece tripped on, the whole frame in one piece
            // decides.
            upper.setSource({{data, size_t(size)}}, 0);
            ok = readJpegHeader(upper) && decodeRows(upper, target, height);
            if (!ok)
                m_error = upper.message();
        }
    } else if (d->threads == Threads::Two && qsizetype(width) * height >= kSplitPixels &&
               unmarkedSplittable(c, layout)) {
        d->data = data;
        d->size = size;
        d->codedStart = codedStart;
        d->layout = layout;
        d->target = target;
        ok = d->decodeUnmarked();
        if (!ok)
            m_error = upper.message();
        else if (d->lastSplit)
            ++m_splitFrames;
    } else {
        // One thread decodes; the drawing can convert the rows already
        // decoded meanwhile.
        if (started) {
            frame.rows = std::make_shared<LumenFrameRows>(height);
            target.rows = frame.rows.get();
            started();
        }
        ok = decodeRows(upper, target, height);
        if (!ok)
            m_error = upper.message();
        if (frame.rows)
            frame.rows->finish();
    }
    if (!ok)
        return false;
    m_error.clear();
    return true;
}
