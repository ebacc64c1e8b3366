#include "LumenV4l2Source.h"

#include "LumenFrameSlot.h"
#include "LumenJpegDecoder.h"
#include "LumenLog.h"

#include <lumen/LumenError.h>

#include <QDir>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr unsigned kBufferCount = 4;

int xioctl(int fd, unsigned long request, void *arg)
{
    int r;
    do {
        r = ioctl(fd, request, arg);
    } while (r < 0 && errno == EINTR);
    return r;
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString fourcc(quint32 code)
{
    return QString::fromLatin1(reinterpret_cast<const char *>(&code), 4);
}

bool canStream(const v4l2_capability &cap)
{
    const quint32 caps =
        (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
    return (caps & V4L2_CAP_VIDEO_CAPTURE) && (caps & V4L2_CAP_STREAMING);
}

QString cardName(const v4l2_capability &cap)
{
    const char *card = reinterpret_cast<const char *>(cap.card);
    return QString::fromUtf8(card, int(strnlen(card, sizeof cap.card))).trimmed();
}

} // namespace

// The device, its format and its mapped buffers. Frames that lend a buffer
// hold this too, so the mapping outlives every frame that points into it.
struct LumenV4l2Source::Stream
{
    int fd = -1;
    quint32 pixelFormat = 0;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    struct Buffer
    {
        void *start = MAP_FAILED;
        size_t length = 0;
    };
    std::vector<Buffer> buffers;
    std::mutex mutex; // guards `streaming` against buffers coming back late
    bool streaming = false;

    ~Stream()
    {
        for (const Buffer &b : buffers)
            if (b.start != MAP_FAILED)
                munmap(b.start, b.length);
        if (fd >= 0)
            ::close(fd);
    }

    void requeue(unsigned index)
    {
        std::lock_guard lock(mutex);
        if (!streaming)
            return;
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = index;
        if (xioctl(fd, VIDIOC_QBUF, &buf) < 0)
            qCWarning(lcLumen) << "VIDIOC_QBUF failed:" << errnoText(errno);
    }
};

LumenV4l2Source::Found LumenV4l2Source::find(const QString &name, const QString &directory)
{
    QDir dir(directory);
    const QStringList nodes =
        dir.entryList({QStringLiteral("video*")}, QDir::System | QDir::Files, QDir::Name);
    QString lastError;
    for (const QString &node : nodes) {
        const QString path = dir.filePath(node);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            lastError = QStringLiteral("%1: %2").arg(path, errnoText(errno));
            continue;
        }
        v4l2_capability cap{};
        const bool ok = xioctl(fd, VIDIOC_QUERYCAP, &cap) == 0;
        ::close(fd);
        if (ok && cardName(cap) == name && canStream(cap))
            return {path, {}};
    }
    QString reason = QStringLiteral("No video capture device named \"%1\" was found.").arg(name);
    if (!lastError.isEmpty())
        reason += QStringLiteral(" (Some video devices could not be opened: %1.)").arg(lastError);
    return {{}, reason};
}

LumenV4l2Source::LumenV4l2Source(const QString &name, const QString &path,
                                 std::shared_ptr<LumenFrameSlot> slot)
    : m_name(name), m_path(path), m_slot(std::move(slot))
{
    if (!start())
        throw LumenError(QStringLiteral("The video capture device \"%1\" (%2) cannot be opened: %3")
                             .arg(m_name, m_path, m_lastError));
}

LumenV4l2Source::~LumenV4l2Source()
{
    stop();
}

bool LumenV4l2Source::start()
{
    if (isRunning())
        return true;
    stop(); // a capture thread that ended on its own (device gone)
    auto stream = std::make_shared<Stream>();
    const auto fail = [this](const QString &what) {
        m_lastError = what;
        qCWarning(lcLumen) << m_path << what;
        return false;
    };

    stream->fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (stream->fd < 0)
        return fail(errnoText(errno));
    v4l2_capability cap{};
    if (xioctl(stream->fd, VIDIOC_QUERYCAP, &cap) < 0)
        return fail(errnoText(errno));
    if (!canStream(cap))
        return fail(QStringLiteral("it cannot stream video"));

    // Keep the device's own format when it is one we draw; otherwise ask
    // for MJPEG (less bandwidth on USB), then YUYV, at the current size.
    bool hasMjpeg = false, hasYuyv = false;
    v4l2_fmtdesc desc{};
    desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    for (; xioctl(stream->fd, VIDIOC_ENUM_FMT, &desc) == 0; ++desc.index) {
        hasMjpeg |= desc.pixelformat == V4L2_PIX_FMT_MJPEG;
        hasYuyv |= desc.pixelformat == V4L2_PIX_FMT_YUYV;
    }
    v4l2_format fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(stream->fd, VIDIOC_G_FMT, &fmt) < 0)
        return fail(errnoText(errno));
    const quint32 current = fmt.fmt.pix.pixelformat;
    if (current != V4L2_PIX_FMT_MJPEG && current != V4L2_PIX_FMT_YUYV) {
        if (!hasMjpeg && !hasYuyv)
            return fail(QStringLiteral("it offers neither YUYV nor MJPEG pictures (only %1)")
                            .arg(fourcc(current)));
        fmt.fmt.pix.pixelformat = hasMjpeg ? V4L2_PIX_FMT_MJPEG : V4L2_PIX_FMT_YUYV;
        fmt.fmt.pix.field = V4L2_FIELD_NONE;
        if (xioctl(stream->fd, VIDIOC_S_FMT, &fmt) < 0)
            return fail(errnoText(errno));
    }
    stream->pixelFormat = fmt.fmt.pix.pixelformat;
    stream->width = int(fmt.fmt.pix.width);
    stream->height = int(fmt.fmt.pix.height);
    stream->bytesPerLine = int(fmt.fmt.pix.bytesperline);
    if (stream->pixelFormat != V4L2_PIX_FMT_MJPEG && stream->pixelFormat != V4L2_PIX_FMT_YUYV)
        return fail(QStringLiteral("it refused YUYV and MJPEG pictures"));
    if (stream->pixelFormat == V4L2_PIX_FMT_YUYV && stream->bytesPerLine < stream->width * 2)
        stream->bytesPerLine = stream->width * 2;

    v4l2_requestbuffers req{};
    req.count = kBufferCount;
    req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    req.memory = V4L2_MEMORY_MMAP;
    if (xioctl(stream->fd, VIDIOC_REQBUFS, &req) < 0)
        return fail(errno == EBUSY ? QStringLiteral("it is in use by another program")
                                   : errnoText(errno));
    if (req.count < 2)
        return fail(QStringLiteral("it gave too few capture buffers"));
    stream->buffers.resize(req.count);
    for (unsigned i = 0; i < req.count; ++i) {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = i;
        if (xioctl(stream->fd, VIDIOC_QUERYBUF, &buf) < 0)
            return fail(errnoText(errno));
        stream->buffers[i].length = buf.length;
        stream->buffers[i].start =
            mmap(nullptr, buf.length, PROT_READ | PROT_WRITE, MAP_SHARED, stream->fd, buf.m.offset);
        if (stream->buffers[i].start == MAP_FAILED)
            return fail(errnoText(errno));
        if (xioctl(stream->fd, VIDIOC_QBUF, &buf) < 0)
            return fail(errnoText(errno));
    }
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(stream->fd, VIDIOC_STREAMON, &type) < 0)
        return fail(errnoText(errno));
    stream->streaming = true;

    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) {
        xioctl(stream->fd, VIDIOC_STREAMOFF, &type);
        return fail(errnoText(errno));
    }
    qCInfo(lcLumen) << "capturing" << m_path << fourcc(stream->pixelFormat) << stream->width << "x"
                    << stream->height;
    m_stream = stream;
    m_capturing = true;
    m_thread = std::thread([this, stream] {
        run(stream);
        m_capturing = false;
    });
    return true;
}

void LumenV4l2Source::stop()
{
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        if (::write(m_wakeFd, &one, sizeof one) < 0)
            qCWarning(lcLumen) << "cannot wake the capture thread:" << errnoText(errno);
        m_thread.join();
    }
    if (m_wakeFd >= 0) {
        ::close(m_wakeFd);
        m_wakeFd = -1;
    }
    if (m_stream) {
        std::lock_guard lock(m_stream->mutex);
        if (m_stream->streaming) {
            v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            xioctl(m_stream->fd, VIDIOC_STREAMOFF, &type);
            m_stream->streaming = false;
        }
    }
    // Frames still on screen keep the mapping alive until they are dropped.
    m_stream.reset();
}

void LumenV4l2Source::run(std::shared_ptr<Stream> stream)
{
    LumenJpegDecoder decoder;
    const bool mjpeg = stream->pixelFormat == V4L2_PIX_FMT_MJPEG;
    const qsizetype yuyvBytes =
        qsizetype(stream->bytesPerLine) * (stream->height - 1) + qsizetype(stream->width) * 2;
    for (;;) {
        pollfd fds[2] = {{stream->fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            qCWarning(lcLumen) << "poll failed:" << errnoText(errno);
            return;
        }
        if (fds[1].revents)
            return;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            qCWarning(lcLumen) << m_path << "stopped delivering frames (unplugged?)";
            return;
        }
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        if (xioctl(stream->fd, VIDIOC_DQBUF, &buf) < 0) {
            if (errno == EAGAIN)
                continue;
            qCWarning(lcLumen) << "VIDIOC_DQBUF failed:" << errnoText(errno);
            return;
        }
        // When decoding fell behind, the driver holds more than one frame:
        // show the newest and give the older ones straight back.
        for (;;) {
            v4l2_buffer newer{};
            newer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            newer.memory = V4L2_MEMORY_MMAP;
            if (xioctl(stream->fd, VIDIOC_DQBUF, &newer) < 0)
                break; // EAGAIN: nothing newer (a lost device shows at the next poll)
            if ((newer.flags & V4L2_BUF_FLAG_ERROR) || newer.bytesused == 0) {
                stream->requeue(newer.index);
                continue;
            }
            stream->requeue(buf.index);
            buf = newer;
        }
        const std::int64_t arrival = LumenFrame::nowNs();
        const unsigned index = buf.index;
        if (index >= stream->buffers.size())
            continue;
        const auto *start = static_cast<const uchar *>(stream->buffers[index].start);
        const qsizetype used = std::min<qsizetype>(buf.bytesused, stream->buffers[index].length);
        if ((buf.flags & V4L2_BUF_FLAG_ERROR) || used <= 0) {
            stream->requeue(index);
            continue;
        }

        auto frame = std::make_shared<LumenFrame>();
        frame->arrivalNs = arrival;
        if (mjpeg) {
            // Shown from the start of its decoding where it is decoded on
            // this thread alone; otherwise once done.
            bool published = false;
            const bool decoded = decoder.decodeFrame(start, used, *frame, [&] {
                m_slot->publish(frame);
                published = true;
            });
            stream->requeue(index);
            if (!decoded)
                qCDebug(lcLumen) << "dropping an MJPEG frame:" << decoder.error();
            if (!decoded || published)
                continue;
        } else {
            if (used < yuyvBytes) {
                stream->requeue(index);
                continue;
            }
            frame->kind = LumenFrame::Kind::Yuyv;
            frame->size = QSize(stream->width, stream->height);
            frame->bytesPerLine = stream->bytesPerLine;
            frame->bytes = start;
            frame->lentBuffer = true;
            // Lend the buffer itself; it goes back to the driver when the
            // frame is dropped or replaced on screen.
            frame->keeper = std::shared_ptr<const void>(
                start, [stream, index](const void *) { stream->requeue(index); });
        }
        m_slot->publish(std::move(frame));
    }
}
