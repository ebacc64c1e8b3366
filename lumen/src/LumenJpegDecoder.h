#pragma once
// Decodes MJPEG frames with libturbojpeg. One decoder per thread.
#include "LumenBufferPool.h"
#include "LumenFrame.h"

#include <QImage>

class LumenJpegDecoder
{
public:
    LumenJpegDecoder();
    ~LumenJpegDecoder();
    LumenJpegDecoder(const LumenJpegDecoder &) = delete;
    LumenJpegDecoder &operator=(const LumenJpegDecoder &) = delete;

    // Returns the picture (Format_RGB32), or a null image when the bytes are
    // not a JPEG picture; error() then says why.
    QImage decode(const uchar *data, qsizetype size);

    // Fills `frame` for drawing: as YCbCr planes (Kind::Planar) where the
    // screen-side converter knows the layout, which leaves the colour pass
    // to the drawing and skips a copy; otherwise as a picture (Kind::Rgb).
    // False when the bytes are not a JPEG picture; error() says why.
    bool decodeFrame(const uchar *data, qsizetype size, LumenFrame &frame);

    QString error() const { return m_error; }

private:
    bool readHeader(const uchar *data, qsizetype size, int &width, int &height, int &subsampling);

    LumenBufferPool m_planeBuffers;
    void *m_handle = nullptr;
    QString m_error;
};
