#pragma once
// The camera's video node as the kernel shows it, in the umockdev testbed:
// /dev/video0, a V4L2 capture device named "FX3", answering the viewer's
// ioctls (QUERYCAP, ENUM_FMT, G_FMT, S_FMT, REQBUFS, QUERYBUF, QBUF, DQBUF,
// STREAMON, STREAMOFF) from a umockdev ioctl handler in the test process.
//
// mmap: umockdev passes ioctls to a handler but does not emulate mmap, so
// the node is a regular file in the testbed as large as all the buffers,
// and QUERYBUF gives each buffer's offset in it. The viewer's mmap of the
// node then maps the file itself (MAP_SHARED), and the test process writes
// each frame into its own mapping of the same file before it completes the
// viewer's DQBUF: the frame's bytes are in the viewer's buffer without any
// interposer. poll on a regular file always reports it readable, so the
// pacing lives in DQBUF instead: it completes at the next frame time (10 a
// second) with a filled buffer, or with EAGAIN when the viewer has queued
// none, as a non-blocking node does after poll's wait.
//
// The pictures are the virtual device's, rendered from its state, with a
// green band across their top quarter for the test to find on screen.
#include "sim/VizoSimState.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

struct _UMockdevTestbed;
struct _UMockdevIoctlBase;
struct _UMockdevIoctlClient;

class CaptureNode
{
public:
    struct Format
    {
        std::uint32_t current = 0;           // the node's format when opened
        std::vector<std::uint32_t> offered;  // what ENUM_FMT lists and S_FMT takes
        QSize size{1920, 1080};
    };

    CaptureNode(_UMockdevTestbed *testbed, QString root);
    ~CaptureNode();

    // Adds the node below `parentSyspath` (the camera's USB device) with
    // its add event; the pictures show `state`.
    bool plug(const QString &parentSyspath, const Format &format, const VizoSimState &state,
              QString *error);
    // The node goes away mid-stream: the viewer's waiting DQBUF and every
    // later ioctl fail with ENODEV; the remove event follows.
    void unplug();

    // Frames handed to the viewer since the plug.
    int framesDelivered() const { return m_delivered; }
    bool streaming();

    static constexpr int kMaxBuffers = 4;
    static constexpr int kFramesPerSecond = 10;

    // Handler entry point (umockdev's worker thread).
    bool handle(_UMockdevIoctlClient *client);

private:
    void frameLoop();
    void prepareFrame(const VizoSimState &state);
    std::uint32_t bytesPerLine() const;
    std::uint32_t imageSize() const;
    void finishWaiting(int error);

    _UMockdevTestbed *m_testbed;
    QString m_root;
    _UMockdevIoctlBase *m_handler = nullptr;
    bool m_attached = false;
    QString m_syspath;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    Format m_format;
    std::uint32_t m_pixelFormat = 0;
    QByteArray m_frame; // the next picture, in m_pixelFormat
    QByteArray m_yuyv, m_mjpeg;
    std::size_t m_bufferSize = 0;
    unsigned m_bufferCount = 0;
    std::deque<unsigned> m_queued;
    bool m_streaming = false;
    bool m_gone = true;
    bool m_stop = false;
    std::uint32_t m_sequence = 0;
    // The viewer's DQBUF waiting for the next frame time.
    _UMockdevIoctlClient *m_waiting = nullptr;
    uchar *m_map = nullptr;
    std::size_t m_mapSize = 0;
    std::atomic<int> m_delivered{0};
    // A frame went out and no DQBUF has asked since: the next one finds
    // nothing newer (EAGAIN), as on a non-blocking device between frames.
    bool m_fresh = false;
    std::thread m_thread;
};
