#pragma once
// Decodes MJPEG frames with libturbojpeg. One decoder per thread.
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
    QString error() const { return m_error; }

private:
    void *m_handle = nullptr;
    QString m_error;
};
