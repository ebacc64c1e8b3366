#include "LumenJpegDecoder.h"

#include <turbojpeg.h>

#include <limits>

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

} // namespace

LumenJpegDecoder::LumenJpegDecoder() : m_handle(tjInitDecompress()) {}

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

bool LumenJpegDecoder::decodeFrame(const uchar *data, qsizetype size, LumenFrame &frame)
{
    int width = 0, height = 0, subsampling = 0;
    if (!readHeader(data, size, width, height, subsampling))
        return false;

    LumenYuvPlanes planes;
    planes.width = width;
    planes.height = height;
    switch (subsampling) {
    case TJSAMP_444: break;
    case TJSAMP_422: planes.xShift = 1; break;
    case TJSAMP_420: planes.xShift = planes.yShift = 1; break;
    case TJSAMP_440: planes.yShift = 1; break;
    case TJSAMP_GRAY: break;
    default: {
        // 4:1:1 and the like: let the library convert.
        QImage image = decode(data, size);
        if (image.isNull())
            return false;
        frame.kind = LumenFrame::Kind::Rgb;
        frame.size = image.size();
        frame.image = std::move(image);
        return true;
    }
    }

    auto *handle = static_cast<tjhandle>(m_handle);
    const bool grey = subsampling == TJSAMP_GRAY;
    const qsizetype lumaBytes = tjPlaneSizeYUV(0, width, 0, height, subsampling);
    const qsizetype chromaBytes = grey ? 0 : tjPlaneSizeYUV(1, width, 0, height, subsampling);
    if (lumaBytes <= 0 || chromaBytes < 0) {
        m_error = QStringLiteral("unsupported picture layout");
        return false;
    }
    std::shared_ptr<QByteArray> buffer = m_planeBuffers.get(lumaBytes + 2 * chromaBytes);
    if (!buffer) {
        m_error = QStringLiteral("out of memory");
        return false;
    }
    auto *base = reinterpret_cast<uchar *>(buffer->data());
    unsigned char *dst[3] = {base, grey ? nullptr : base + lumaBytes,
                             grey ? nullptr : base + lumaBytes + chromaBytes};
    int strides[3] = {tjPlaneWidth(0, width, subsampling),
                      grey ? 0 : tjPlaneWidth(1, width, subsampling),
                      grey ? 0 : tjPlaneWidth(2, width, subsampling)};
    if (failed(handle, tjDecompressToYUVPlanes(handle, data, static_cast<unsigned long>(size), dst,
                                               width, strides, height, kFlags))) {
        m_error = QString::fromLocal8Bit(tjGetErrorStr2(handle));
        return false;
    }
    planes.y = dst[0];
    planes.u = dst[1];
    planes.v = dst[2];
    planes.yBytesPerLine = strides[0];
    planes.uvBytesPerLine = strides[1];
    if (!LumenPlanar::supported(planes)) {
        m_error = QStringLiteral("unsupported picture layout");
        return false;
    }
    frame.kind = LumenFrame::Kind::Planar;
    frame.size = QSize(width, height);
    frame.planes = planes;
    frame.keeper = std::move(buffer);
    m_error.clear();
    return true;
}
