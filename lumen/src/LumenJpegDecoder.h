#pragma once
// Decodes MJPEG frames. One decoder per capturing thread; a decoder is not
// shared between threads.
//
// Threads: large frames are decoded on two cores, the calling thread and
// a worker thread started with the first such frame and kept as long as
// the decoder, so that no frame starts a thread. A frame with restart
// markers is cut at markers (LumenRestartSplit); one without them where
// the worker finds and the calling thread proves a place to cut
// (LumenUnmarkedSplit). decodeFrame() returns once both are done. Small
// frames, and frames that cannot be split, are decoded on the calling
// thread alone and can be shown while they are decoded (see decodeFrame).
// Either way the planes are the same, byte for byte, as a whole-frame
// decode gives.
#include "LumenBufferPool.h"
#include "LumenFrame.h"

#include <QImage>

#include <functional>
#include <memory>

class LumenJpegDecoder
{
public:
    enum class Threads { One, Two };
    explicit LumenJpegDecoder(Threads threads = Threads::Two);
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
    //
    // `started`, when given, is called for a frame decoded on this thread
    // alone once its size and planes are set and before its rows are
    // decoded, so that it can be published at once: the drawing (another
    // core) converts rows while later ones are decoded, frame.rows telling
    // how far decoding got. A frame that fails after it started is
    // finished as far as it got, and false is still returned.
    bool decodeFrame(const uchar *data, qsizetype size, LumenFrame &frame,
                     const std::function<void()> &started = {});

    QString error() const { return m_error; }
    // Frames decoded on two threads so far (for tests and the benchmark).
    quint64 splitFrames() const { return m_splitFrames; }

private:
    bool readHeader(const uchar *data, qsizetype size, int &width, int &height, int &subsampling);
    bool decodeRgb(const uchar *data, qsizetype size, LumenFrame &frame);

    struct Private;
    std::unique_ptr<Private> d;
    LumenBufferPool m_planeBuffers;
    void *m_handle = nullptr; // turbojpeg, for whole pictures
    QString m_error;
    quint64 m_splitFrames = 0;
};
