#include "LumenJpegDecoder.h"

#include <turbojpeg.h>

#include <algorithm>
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

void readRows(jpeg_decompress_struct &c, const Target &t, int rows)
{
    c.raw_data_out = TRUE;
    c.do_fancy_upsampling = FALSE;
    c.dct_method = JDCT_IFAST;
    jpeg_start_decompress(&c);
    const int step = c.max_v_samp_factor * DCTSIZE;
    JSAMPROW pointers[3][kMaxSampling * DCTSIZE];
    JSAMPARRAY arrays[3];
    for (int row = 0; row < rows && c.output_scanline < c.output_height; row += step) {
        for (int i = 0; i < c.num_components; ++i) {
            const int v = c.comp_info[i].v_samp_factor;
            const int first = row / c.max_v_samp_factor * v;
            for (int j = 0; j < v * DCTSIZE; ++j)
                pointers[i][j] = t.plane[i] + qsizetype(first + j) * t.stride[i];
            arrays[i] = pointers[i];
        }
        if (jpeg_read_raw_data(&c, arrays, JDIMENSION(step)) == 0)
            break;
        if (t.rows)
            t.rows->advance(row + step);
    }
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

bool planPieces(const uchar *data, qsizetype size, qsizetype codedStart,
                const jpeg_decompress_struct &c, const Layout &l,
                std::vector<Boundary> &boundaries, Plan &plan)
{
    if (c.progressive_mode || c.arith_code || c.restart_interval == 0 || l.components != 3 ||
        c.comps_in_scan != 3 || l.mcuRows < 2)
        return false;
    // The header's segments up to the scan: find the frame header.
    qsizetype pos = 2, heightField = -1;
    while (pos + 4 <= codedStart) {
        if (data[pos] != 0xFF)
            return false;
        const uchar marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xDA)
            break;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            heightField = pos + 5;
        pos += 2 + ((data[pos + 2] << 8) | data[pos + 3]);
    }
    if (heightField < 0 || heightField + 2 > codedStart)
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

// The helper thread takes pieces of a split frame with a decompressor of
// its own, in turn with the calling thread, which waits for the piece the
// helper is on before returning the frame.
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
    // The frame being split, valid while `job` or `helperBusy`.
    bool job = false;
    bool helperBusy = false;
    bool failed = false;
    int next = 0;
    const uchar *data = nullptr;
    qsizetype size = 0;
    Plan plan;
    Layout layout;
    Target target{};

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

    // Calling thread: decodes the split frame with the helper.
    bool decodeSplit()
    {
        if (!helper.joinable())
            helper = std::thread([this] { helperLoop(); });
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
            changed.wait(lock, [&] { return quit || (job && next < plan.count); });
            if (quit)
                return;
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
