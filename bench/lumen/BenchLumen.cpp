#include "BenchPaths.h"

#include <lumen/LumenViewController.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// One thread for the whole run that pushes the frames, as a camera's
// capture thread does: a thread per frame would time its start-up too.
class CaptureThread
{
public:
    explicit CaptureThread(std::function<void(int)> push)
        : m_push(std::move(push)), m_thread([this] { run(); })
    {
    }
    ~CaptureThread()
    {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    void push(int index)
    {
        {
            std::lock_guard lock(m_mutex);
            m_pending = index;
        }
        m_changed.notify_all();
    }

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] { return m_quit || m_pending >= 0; });
            if (m_quit)
                return;
            const int index = m_pending;
            m_pending = -1;
            lock.unlock();
            m_push(index);
            lock.lock();
        }
    }

    std::function<void(int)> m_push;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_pending = -1;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace

bool benchWaitUntil(const std::function<bool()> &done, int timeoutMs)
{
    // Sleeps in the event loop until something happens: a loop that polls
    // would take a core from the path being timed and count as its CPU.
    bool expired = false;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, [&] { expired = true; });
    timeout.start(timeoutMs);
    while (!done()) {
        if (expired)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void benchSettle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool benchScreenShowsFrame()
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    if (shot.width() < 1700 || shot.height() < 300)
        return false;
    const QRgb c = shot.pixel(1650, 200);
    return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90;
}

BenchStats benchLumen(const BenchFrames &frames, BenchFormat format, bool openGL, BenchRun run)
{
    qputenv("LUMEN_RENDERER", openGL ? "gl" : "cpu");
    BenchStats stats;
    stats.format = benchFormatName(format);

    auto feed = std::make_shared<LumenFrameFeed>();
    LumenViewController controller(feed);
    QWidget *view = controller.view();
    view->setWindowTitle(QStringLiteral("Lumen"));
    view->setGeometry(0, 0, frames.size.width(), frames.size.height());
    view->show();
    (void)QTest::qWaitForWindowExposed(view);
    stats.path = QStringLiteral("Lumen (%1)").arg(controller.captureView()->rendererName());
    int presented = 0;
    double latencyMs = 0;
    QObject::connect(controller.captureView(), &LumenCaptureView::framePresented,
                     [&](qint64 ns) {
                         ++presented;
                         latencyMs = double(ns) / 1e6;
                     });

    const auto &bytes = benchBytes(frames, format);
    const LumenPixelFormat pixelFormat =
        format == BenchFormat::Yuyv ? LumenPixelFormat::Yuyv : LumenPixelFormat::Mjpeg;
    // Frames come from another thread, as from the capture thread; the
    // view reports the time from the frame's arrival (stamped as it is
    // pushed) to the moment it is on screen.
    CaptureThread capture([&](int i) {
        feed->pushFrame(pixelFormat, frames.size, bytes[size_t(i) % bytes.size()]);
    });
    BenchCpuClock cpu;
    for (int i = 0; i < run.warmup + run.frames; ++i) {
        if (i == run.warmup)
            cpu.start();
        const int before = presented;
        capture.push(i);
        const bool ok = benchWaitUntil([&] { return presented > before; }, 2000);
        if (i == run.warmup - 1 && !benchScreenShowsFrame())
            stats.note = QStringLiteral("picture not seen on screen");
        if (i >= run.warmup) {
            if (ok)
                stats.ms.push_back(latencyMs);
            else
                ++stats.timeouts;
        }
        benchSettle(3);
    }
    cpu.finish(stats, stats.ms.size() + size_t(stats.timeouts));
    view->hide();
    qunsetenv("LUMEN_RENDERER");
    return stats;
}
