#include "LumenJpegDecoder.h"

#include "LumenJpegRows.h"
#include "LumenRestartSplit.h"
#include "LumenUnmarkedSplit.h"
#include "LumenWorkerThread.h"

#include <turbojpeg.h>

#include <limits>

using namespace LumenJpeg;

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

} // namespace

struct LumenJpegDecoder::Private
{
    explicit Private(LumenJpegDecoder::Threads t) : threads(t) {}

    LumenJpegDecoder::Threads threads;
    Decompressor upper;  // the calling thread's
    Decompressor helper; // the worker's
    LumenRestartSplit restartSplit;
    LumenUnmarkedSplit unmarkedSplit;
    LumenWorkerThread worker; // last: it stops before the rest goes
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
    if (!d->upper.created || !d->helper.created) {
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
    const bool twoThreads = d->threads == Threads::Two && qsizetype(width) * height >= kSplitPixels;
    bool ok;
    if (twoThreads && d->restartSplit.plan(data, size, codedStart, c, layout)) {
        ++m_splitFrames;
        ok = d->restartSplit.decode(upper, d->helper, d->worker, target);
        if (!ok) {
            // Whatever a piece tripped on, the whole frame in one piece
            // decides.
            upper.setSource({{data, size_t(size)}}, 0);
            ok = readJpegHeader(upper) && decodeRows(upper, target, height);
            if (!ok)
                m_error = upper.message();
        }
    } else if (twoThreads && LumenUnmarkedSplit::suits(c, layout)) {
        ok = d->unmarkedSplit.decode(data, size, codedStart, upper, d->helper, d->worker, layout,
                                     target);
        if (!ok)
            m_error = upper.message();
        else if (d->unmarkedSplit.split())
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
