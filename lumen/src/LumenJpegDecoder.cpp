#include "LumenJpegDecoder.h"

#include <turbojpeg.h>

#include <limits>

LumenJpegDecoder::LumenJpegDecoder() : m_handle(tjInitDecompress()) {}

LumenJpegDecoder::~LumenJpegDecoder()
{
    if (m_handle)
        tjDestroy(static_cast<tjhandle>(m_handle));
}

QImage LumenJpegDecoder::decode(const uchar *data, qsizetype size)
{
    auto *handle = static_cast<tjhandle>(m_handle);
    if (!handle) {
        m_error = QStringLiteral("the JPEG decoder could not be created");
        return {};
    }
    if (!data || size <= 0 || static_cast<unsigned long long>(size) > std::numeric_limits<unsigned long>::max()) {
        m_error = QStringLiteral("empty frame");
        return {};
    }
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &width, &height,
                            &subsampling, &colorspace) != 0) {
        m_error = QString::fromLocal8Bit(tjGetErrorStr2(handle));
        return {};
    }
    // Refuse absurd headers before allocating for them.
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        m_error = QStringLiteral("unsupported picture size %1x%2").arg(width).arg(height);
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        m_error = QStringLiteral("out of memory");
        return {};
    }
    // Format_RGB32 is 0xffRRGGBB in native order: BGRX bytes on little
    // endian machines. Fast DCT and upsampling: a live picture needs speed
    // more than the last bit of accuracy.
    const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
    if (tjDecompress2(handle, data, static_cast<unsigned long>(size), image.bits(), width,
                      static_cast<int>(image.bytesPerLine()), height, pixelFormat,
                      TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE | TJFLAG_NOREALLOC) != 0) {
        // Warnings (e.g. a truncated frame) still give a usable picture.
        if (tjGetErrorCode(handle) != TJERR_WARNING) {
            m_error = QString::fromLocal8Bit(tjGetErrorStr2(handle));
            return {};
        }
    }
    m_error.clear();
    return image;
}
