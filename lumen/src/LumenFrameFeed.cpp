#include <lumen/LumenFrameFeed.h>

#include "LumenFrameSlot.h"
#include "LumenJpegDecoder.h"
#include "LumenLog.h"
#include "LumenYuyv.h"

#include <mutex>

struct LumenFrameFeed::Private
{
    std::mutex mutex;
    std::shared_ptr<LumenFrameSlot> slot;
};

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
    std::shared_ptr<LumenFrameSlot> slot;
    {
        std::lock_guard lock(d->mutex);
        slot = d->slot;
    }
    auto frame = std::make_shared<LumenFrame>();
    frame->arrivalNs = arrival;
    if (format == LumenPixelFormat::Yuyv) {
        if (size.width() <= 0 || size.height() <= 0 || (size.width() & 1) ||
            (bytesPerLine != 0 && bytesPerLine < size.width() * 2) ||
            bytes.size() < LumenYuyv::frameBytes(size.width(), size.height(), bytesPerLine)) {
            qCWarning(lcLumen) << "dropping a YUYV frame that does not match its size" << size
                               << bytes.size();
            return false;
        }
        if (!slot)
            return true;
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

    // One decoder per pushing thread: turbojpeg handles are not shared.
    thread_local LumenJpegDecoder decoder;
    if (!decoder.decodeFrame(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(),
                             *frame)) {
        qCWarning(lcLumen) << "dropping an MJPEG frame:" << decoder.error();
        return false;
    }
    if (!size.isEmpty() && frame->size != size)
        qCDebug(lcLumen) << "MJPEG frame is" << frame->size << "not" << size;
    if (!slot)
        return true;
    slot->publish(std::move(frame));
    return true;
}
