// GLib's headers first: they use names that Qt's keyword macros replace.
#include <umockdev.h>

#include "CaptureNode.h"

#include "sim/SimulatedDevice.h"
#include "sim/SimulatedPicture.h"
#include "sim/VizoSimRegion.h"

#include <QFile>
#include <QImage>

#include <turbojpeg.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

gboolean onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer node)
{
    return static_cast<CaptureNode *>(node)->handle(client);
}

QByteArray toYuyv(const QImage &rgb)
{
    const int w = rgb.width() & ~1;
    const int h = rgb.height();
    QByteArray out(qsizetype(w) * h * 2, Qt::Uninitialized);
    auto *o = reinterpret_cast<uchar *>(out.data());
    for (int y = 0; y < h; ++y) {
        const uchar *line = rgb.constScanLine(y);
        for (int x = 0; x < w; x += 2) {
            const uchar *p = line + x * 3;
            auto luma = [](const uchar *q) { return 16 + (66 * q[0] + 129 * q[1] + 25 * q[2] + 128) / 256; };
            const int r = (p[0] + p[3]) / 2, g = (p[1] + p[4]) / 2, b = (p[2] + p[5]) / 2;
            *o++ = uchar(luma(p));
            *o++ = uchar(std::clamp(128 + (-38 * r - 74 * g + 112 * b + 128) / 256, 0, 255));
            *o++ = uchar(luma(p + 3));
            *o++ = uchar(std::clamp(128 + (112 * r - 94 * g - 18 * b + 128) / 256, 0, 255));
        }
    }
    return out;
}

QByteArray toMjpeg(const QImage &rgb)
{
    tjhandle handle = tjInitCompress();
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    QByteArray out;
    if (tjCompress2(handle, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(), TJPF_RGB,
                    &jpeg, &size, TJSAMP_422, 85, 0) == 0)
        out = QByteArray(reinterpret_cast<const char *>(jpeg), qsizetype(size));
    tjFree(jpeg);
    tjDestroy(handle);
    return out;
}

template <typename T>
T *resolve(UMockdevIoctlClient *client, UMockdevIoctlData **data)
{
    *data = umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(T), nullptr);
    return *data ? reinterpret_cast<T *>((*data)->data) : nullptr;
}

void copyText(__u8 *to, std::size_t size, const char *text)
{
    std::memset(to, 0, size);
    std::strncpy(reinterpret_cast<char *>(to), text, size - 1);
}

} // namespace

CaptureNode::CaptureNode(_UMockdevTestbed *testbed, QString root)
    : m_testbed(testbed), m_root(std::move(root))
{
    m_handler = umockdev_ioctl_base_new();
    g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(onIoctl), this);
    m_thread = std::thread([this] { frameLoop(); });
}

CaptureNode::~CaptureNode()
{
    unplug();
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
    if (m_attached)
        umockdev_testbed_detach_ioctl(m_testbed, "/dev/video0", nullptr);
    g_object_unref(m_handler);
}

std::uint32_t CaptureNode::bytesPerLine() const
{
    return m_pixelFormat == V4L2_PIX_FMT_YUYV ? std::uint32_t(m_format.size.width() * 2) : 0;
}

std::uint32_t CaptureNode::imageSize() const
{
    return std::uint32_t(m_format.size.width() * m_format.size.height() * 2);
}

void CaptureNode::prepareFrame(const VizoSimState &state)
{
    const VizoSimRegion region = VizoSimRegion::fromResources(state.region);
    QImage picture = SimulatedPicture::render(SimulatedDevice::pictureState(state, region), m_format.size, 0)
                         .convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < picture.height() / 4; ++y) {
        uchar *line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            line[3 * x] = 0;
            line[3 * x + 1] = 200;
            line[3 * x + 2] = 0;
        }
    }
    m_yuyv = toYuyv(picture);
    m_mjpeg = toMjpeg(picture);
}

bool CaptureNode::plug(const QString &parentSyspath, const Format &format, const VizoSimState &state,
                       QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    unplug();
    {
        // The handler's thread takes this lock too: no umockdev call under it.
        std::lock_guard lock(m_mutex);
        m_format = format;
        m_pixelFormat = format.current;
        prepareFrame(state);
        // Whole pages, as mmap takes only page-aligned offsets.
        const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
        m_bufferSize = (imageSize() + page - 1) / page * page;
        m_bufferCount = 0;
        m_queued.clear();
        m_streaming = false;
        m_sequence = 0;
        m_delivered = 0;

        // The node's file holds every buffer: it is what the viewer maps.
        const QByteArray path = QFile::encodeName(m_root + QStringLiteral("/dev/video0"));
        ::unlink(path.constData());
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            return fail(QString::fromLocal8Bit(std::strerror(errno)));
        m_mapSize = m_bufferSize * kMaxBuffers;
        if (::ftruncate(fd, off_t(m_mapSize)) == 0)
            m_map = static_cast<uchar *>(::mmap(nullptr, m_mapSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
        ::close(fd);
        if (!m_map || m_map == MAP_FAILED) {
            m_map = nullptr;
            return fail(QStringLiteral("cannot map the node's buffers"));
        }
    }
    if (!m_attached) {
        GError *gerror = nullptr;
        m_attached = umockdev_testbed_attach_ioctl(m_testbed, "/dev/video0", m_handler, &gerror);
        if (!m_attached) {
            const QString why = QString::fromUtf8(gerror ? gerror->message : "attach_ioctl");
            g_clear_error(&gerror);
            return fail(why);
        }
    }
    gchar *syspath = umockdev_testbed_add_device(m_testbed, "video4linux", "video0",
                                                 parentSyspath.toUtf8().constData(), "name", "FX3", nullptr,
                                                 "DEVNAME", "/dev/video0", nullptr);
    m_syspath = QString::fromUtf8(syspath);
    g_free(syspath);
    {
        std::lock_guard lock(m_mutex);
        m_gone = false;
    }
    umockdev_testbed_uevent(m_testbed, m_syspath.toUtf8().constData(), "add");
    return true;
}

void CaptureNode::unplug()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_gone)
            return;
        m_gone = true;
        m_streaming = false;
        finishWaiting(ENODEV);
        // The viewer's mapping outlives the file's name, as a vanished
        // device's does.
        ::unlink(QFile::encodeName(m_root + QStringLiteral("/dev/video0")).constData());
        if (m_map)
            ::munmap(m_map, m_mapSize);
        m_map = nullptr;
    }
    umockdev_testbed_uevent(m_testbed, m_syspath.toUtf8().constData(), "remove");
    umockdev_testbed_remove_device(m_testbed, m_syspath.toUtf8().constData());
}

bool CaptureNode::streaming()
{
    std::lock_guard lock(m_mutex);
    return m_streaming;
}

void CaptureNode::finishWaiting(int error)
{
    if (!m_waiting)
        return;
    umockdev_ioctl_client_complete(m_waiting, -1, error);
    g_object_unref(m_waiting);
    m_waiting = nullptr;
}

bool CaptureNode::handle(_UMockdevIoctlClient *client)
{
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *data = nullptr;
    long result = 0;
    int error = 0;
    std::unique_lock lock(m_mutex);
    auto refuse = [&](int e) {
        result = -1;
        error = e;
    };
    if (m_gone) {
        refuse(ENODEV);
    } else if (request == VIDIOC_QUERYCAP) {
        if (auto *cap = resolve<v4l2_capability>(client, &data)) {
            *cap = {};
            copyText(cap->driver, sizeof cap->driver, "uvcvideo");
            copyText(cap->card, sizeof cap->card, "FX3");
            copyText(cap->bus_info, sizeof cap->bus_info, "usb-0000:00:14.0-1");
            cap->version = 0x060100;
            cap->device_caps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
            cap->capabilities = cap->device_caps | V4L2_CAP_DEVICE_CAPS;
        }
    } else if (request == VIDIOC_ENUM_FMT) {
        auto *desc = resolve<v4l2_fmtdesc>(client, &data);
        if (desc && desc->type == V4L2_BUF_TYPE_VIDEO_CAPTURE && desc->index < m_format.offered.size()) {
            desc->pixelformat = m_format.offered[desc->index];
            desc->flags = desc->pixelformat == V4L2_PIX_FMT_MJPEG ? V4L2_FMT_FLAG_COMPRESSED : 0;
            copyText(desc->description, sizeof desc->description, "offered");
        } else {
            refuse(EINVAL);
        }
    } else if (request == VIDIOC_G_FMT || request == VIDIOC_S_FMT) {
        auto *fmt = resolve<v4l2_format>(client, &data);
        if (!fmt || fmt->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) {
            refuse(EINVAL);
        } else if (request == VIDIOC_S_FMT && m_bufferCount > 0) {
            refuse(EBUSY);
        } else {
            if (request == VIDIOC_S_FMT) {
                // As drivers do: an unknown format becomes one the node has.
                const auto &offered = m_format.offered;
                const bool known = std::find(offered.begin(), offered.end(), fmt->fmt.pix.pixelformat) != offered.end();
                if (known || !offered.empty())
                    m_pixelFormat = known ? fmt->fmt.pix.pixelformat : offered.front();
            }
            fmt->fmt.pix = {};
            fmt->fmt.pix.width = std::uint32_t(m_format.size.width());
            fmt->fmt.pix.height = std::uint32_t(m_format.size.height());
            fmt->fmt.pix.pixelformat = m_pixelFormat;
            fmt->fmt.pix.field = V4L2_FIELD_NONE;
            fmt->fmt.pix.bytesperline = bytesPerLine();
            fmt->fmt.pix.sizeimage = imageSize();
            fmt->fmt.pix.colorspace = V4L2_COLORSPACE_SRGB;
        }
    } else if (request == VIDIOC_REQBUFS) {
        auto *req = resolve<v4l2_requestbuffers>(client, &data);
        if (!req || req->memory != V4L2_MEMORY_MMAP || req->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) {
            refuse(EINVAL);
        } else if (m_streaming) {
            refuse(EBUSY);
        } else {
            m_bufferCount = std::min<unsigned>(req->count, kMaxBuffers);
            req->count = m_bufferCount;
            m_queued.clear();
        }
    } else if (request == VIDIOC_QUERYBUF || request == VIDIOC_QBUF) {
        auto *buf = resolve<v4l2_buffer>(client, &data);
        if (!buf || buf->index >= m_bufferCount || buf->memory != V4L2_MEMORY_MMAP) {
            refuse(EINVAL);
        } else {
            buf->length = std::uint32_t(m_bufferSize);
            buf->m.offset = std::uint32_t(buf->index * m_bufferSize);
            buf->flags = V4L2_BUF_FLAG_MAPPED;
            if (request == VIDIOC_QBUF) {
                if (std::find(m_queued.begin(), m_queued.end(), buf->index) != m_queued.end())
                    refuse(EINVAL);
                else
                    m_queued.push_back(buf->index);
                buf->flags |= V4L2_BUF_FLAG_QUEUED;
            }
        }
    } else if (request == VIDIOC_DQBUF) {
        auto *buf = resolve<v4l2_buffer>(client, &data);
        if (!buf || !m_streaming || m_waiting) {
            refuse(EINVAL);
        } else if (m_fresh) {
            // Asked again right after a frame (a reader looking for a newer
            // one): nothing yet.
            m_fresh = false;
            refuse(EAGAIN);
        } else {
            // Answered by the frame loop at the next frame time.
            m_waiting = client;
            g_object_ref(client);
            g_object_set_data_full(G_OBJECT(client), "vizo-buffer", data, g_object_unref);
            return TRUE;
        }
    } else if (request == VIDIOC_STREAMON || request == VIDIOC_STREAMOFF) {
        if (request == VIDIOC_STREAMON && m_bufferCount == 0) {
            refuse(EINVAL);
        } else {
            m_streaming = request == VIDIOC_STREAMON;
            if (!m_streaming) {
                m_queued.clear();
                finishWaiting(EINVAL);
            }
        }
    } else {
        refuse(ENOTTY);
    }
    lock.unlock();
    umockdev_ioctl_client_complete(client, result, error);
    if (data)
        g_object_unref(data);
    return TRUE;
}

void CaptureNode::frameLoop()
{
    std::unique_lock lock(m_mutex);
    auto next = std::chrono::steady_clock::now();
    while (!m_stop) {
        next += std::chrono::milliseconds(1000 / kFramesPerSecond);
        m_changed.wait_until(lock, next, [this] { return m_stop; });
        if (m_stop || !m_waiting)
            continue;
        if (!m_streaming || m_queued.empty() || !m_map) {
            finishWaiting(EAGAIN);
            continue;
        }
        const unsigned index = m_queued.front();
        m_queued.pop_front();
        const QByteArray &frame = m_pixelFormat == V4L2_PIX_FMT_MJPEG ? m_mjpeg : m_yuyv;
        const std::size_t used = std::min<std::size_t>(std::size_t(frame.size()), m_bufferSize);
        std::memcpy(m_map + index * m_bufferSize, frame.constData(), used);
        auto *data = static_cast<UMockdevIoctlData *>(g_object_get_data(G_OBJECT(m_waiting), "vizo-buffer"));
        auto *buf = reinterpret_cast<v4l2_buffer *>(data->data);
        buf->index = index;
        buf->bytesused = std::uint32_t(used);
        buf->length = std::uint32_t(m_bufferSize);
        buf->m.offset = std::uint32_t(index * m_bufferSize);
        buf->flags = V4L2_BUF_FLAG_MAPPED | V4L2_BUF_FLAG_DONE | V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC;
        buf->field = V4L2_FIELD_NONE;
        buf->sequence = m_sequence++;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        buf->timestamp.tv_sec = now.tv_sec;
        buf->timestamp.tv_usec = now.tv_nsec / 1000;
        umockdev_ioctl_client_complete(m_waiting, 0, 0);
        g_object_set_data(G_OBJECT(m_waiting), "vizo-buffer", nullptr);
        g_object_unref(m_waiting);
        m_waiting = nullptr;
        m_fresh = true;
        ++m_delivered;
    }
    finishWaiting(EIO);
}
