#pragma once
// Frames supplied by the program itself (the virtual device's picture, or
// recorded bytes) instead of a camera.
//
// Every push may come from any thread. A push replaces the frame that is
// waiting to be shown: the newest frame always wins and nothing queues
// behind it. Frames pushed while no controller is attached, or while its
// session is stopped, are dropped.
#include <QByteArray>
#include <QImage>
#include <QSize>

#include <memory>

enum class LumenPixelFormat {
    Yuyv,  // packed 4:2:2, Y0 U Y1 V, BT.601 limited range (what cameras send)
    Mjpeg, // one complete JPEG picture per frame
};

class LumenFrameSlot;

class LumenFrameFeed
{
public:
    LumenFrameFeed();
    ~LumenFrameFeed();
    LumenFrameFeed(const LumenFrameFeed &) = delete;
    LumenFrameFeed &operator=(const LumenFrameFeed &) = delete;

    // Shows a picture. The image is shared, not copied. Null images are
    // ignored.
    void pushImage(const QImage &image);

    // Shows raw camera bytes. `bytes` is shared, not copied; the caller must
    // not modify it afterwards (QByteArray's copy-on-write takes care of
    // that). bytesPerLine 0 means tightly packed. Returns false, dropping
    // the frame, when the bytes do not hold a picture of that format and
    // size.
    //
    // MJPEG is decoded on the calling thread, helped by one thread the feed
    // keeps for its lifetime (a frame with restart markers is split between
    // the two). While another thread is decoding for this feed, the frame
    // waits for it instead, replacing any frame already waiting: when
    // decoding falls behind, the newest frame is the next one decoded and
    // none queue. That push returns at once, false only when the bytes do
    // not even begin like a JPEG picture.
    bool pushFrame(LumenPixelFormat format, QSize size, const QByteArray &bytes,
                   int bytesPerLine = 0);

private:
    friend class LumenFeedSource;
    void attach(std::shared_ptr<LumenFrameSlot> slot);
    void detach();

    struct Private;
    std::unique_ptr<Private> d;
};
