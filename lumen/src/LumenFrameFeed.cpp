#include <lumen/LumenFrameFeed.h>

#include "LumenFrameSlot.h"
#include "LumenJpegDecoder.h"
#include "LumenLog.h"
#include "LumenYuyv.h"

#include <mutex>

namespace {

struct Pushed
{
    QByteArray bytes;
    QSize size;
    std::int64_t arrivalNs = 0;
};

} // namespace

struct LumenFrameFeed::Private
{
    std::mutex mutex;
    std::shared_ptr<LumenFrameSlot> slot;

    // One MJPEG decoder (and its helper thread) for every pushing thread,
    // used by one of them at a time: `busy` says one is decoding. A frame
    // pushed meanwhile waits in `waiting`, replacing the one there.
    LumenJpegDecoder decoder;
    bool busy = false;
    bool hasWaiting = false;
    Pushed waiting;

    std::shared_ptr<LumenFrameSlot> currentSlot()
    {
        std::lock_guard lock(mutex);
        return slot;
    }
    bool decodeAndPublish(const Pushed &pushed);
};

bool LumenFrameFeed::Private::decodeAndPublish(const Pushed &pushed)
{
    auto frame = std::make_shared<LumenFrame>();
    frame->arrivalNs = pushed.arrivalNs;
    const std::shared_ptr<LumenFrameSlot> target = currentSlot();
    bool published = false;
    // Shown from the start of its decoding where it is decoded on this
    // thread alone; otherwise once done.
    const auto publish = [&] {
        if (target)
            target->publish(frame);
        published = true;
    };
    if (!decoder.decodeFrame(reinterpret_cast<const uchar *>(pushed.bytes.constData()),
                             pushed.bytes.size(), *frame, publish)) {
        qCWarning(lcLumen) << "dropping an MJPEG frame:" << decoder.error();
        return false;
    }
    if (!pushed.size.isEmpty() && frame->size != pushed.size)
        qCDebug(lcLumen) << "MJPEG frame is" << frame->size << "not" << pushed.size;
    if (!published)
        publish();
    return true;
}

LumenFrameFeed::LumenFrameFeed() : d(std::make_unique<Private>()) {}

LumenFrameFeed::~LumenFrameFeed() = default;

void LumenFrameFeed::attach(std::shared_ptr<LumenFrameSlot> slot)
{
    std::lock_guard lock(d->mutex);
    d->slot = std::move(slot);
}

void LumenFrameFeed::detach()
{
    std::lock_guard lock(d->mutex);
    d->slot.reset();
}

void LumenFrameFeed::pushImage(const QImage &image)
{
    if (image.isNull())
        return;
    std::shared_ptr<LumenFrameSlot> slot;
    {
        std::lock_guard lock(d->mutex);
        slot = d->slot;
    }
    if (!slot)
        return;
    auto frame = std::make_shared<LumenFrame>();
    frame->arrivalNs = LumenFrame::nowNs();
    frame->kind = LumenFrame::Kind::Rgb;
    frame->image = image;
    frame->size = image.size();
    slot->publish(std::move(frame));
}

bool LumenFrameFeed::pushFrame(LumenPixelFormat format, QSize size, const QByteArray &bytes,
                               int bytesPerLine)
{
    const std::int64_t arrival = LumenFrame::nowNs();
    if (format == LumenPixelFormat::Yuyv) {
        const std::shared_ptr<LumenFrameSlot> slot = d->currentSlot();
        if (size.width() <= 0 || size.height() <= 0 || (size.width() & 1) ||
            (bytesPerLine != 0 && bytesPerLine < size.width() * 2) ||
            bytes.size() < LumenYuyv::frameBytes(size.width(), size.height(), bytesPerLine)) {
            qCWarning(lcLumen) << "dropping a YUYV frame that does not match its size" << size
                               << bytes.size();
            return false;
        }
        if (!slot)
            return true;
        auto frame = std::make_shared<LumenFrame>();
        frame->arrivalNs = arrival;
        frame->kind = LumenFrame::Kind::Yuyv;
        frame->size = size;
        frame->bytesPerLine = bytesPerLine > 0 ? bytesPerLine : size.width() * 2;
        // Share the caller's bytes: the keeper holds a reference.
        auto keeper = std::make_shared<QByteArray>(bytes);
        frame->bytes = reinterpret_cast<const uchar *>(keeper->constData());
        frame->keeper = std::move(keeper);
        slot->publish(std::move(frame));
        return true;
    }

    // Another thread is decoding: wait for it rather than behind it. The
    // newest frame is the next decoded; one that was waiting is dropped.
    Pushed pushed{bytes, size, arrival};
    {
        std::lock_guard lock(d->mutex);
        if (d->busy) {
            const bool looksLikeJpeg = bytes.size() > 2 && uchar(bytes[0]) == 0xFF &&
                                       uchar(bytes[1]) == 0xD8;
            if (!looksLikeJpeg)
                return false;
            d->waiting = std::move(pushed);
            d->hasWaiting = true;
            return true;
        }
        d->busy = true;
    }
    const bool decoded = d->decodeAndPublish(pushed);
    for (;;) {
        {
            std::lock_guard lock(d->mutex);
            if (!d->hasWaiting) {
                d->busy = false;
                break;
            }
            pushed = std::move(d->waiting);
            d->waiting = Pushed();
            d->hasWaiting = false;
        }
        d->decodeAndPublish(pushed);
    }
    return decoded;
}
