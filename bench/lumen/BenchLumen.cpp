#include "BenchPaths.h"

#include <lumen/LumenViewController.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <thread>

bool benchWaitUntil(const std::function<bool()> &done, int timeoutMs)
{
    const double end = benchNowMs() + timeoutMs;
    while (!done()) {
        if (benchNowMs() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
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
    stats.format = format == BenchFormat::Yuyv ? QStringLiteral("YUYV") : QStringLiteral("MJPEG");

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

    const auto &bytes = format == BenchFormat::Yuyv ? frames.yuyv : frames.mjpeg;
    const LumenPixelFormat pixelFormat =
        format == BenchFormat::Yuyv ? LumenPixelFormat::Yuyv : LumenPixelFormat::Mjpeg;
    for (int i = 0; i < run.warmup + run.frames; ++i) {
        const int before = presented;
        // Frames come from another thread, as from the capture thread;
        // the view reports the time from the frame's arrival (stamped as
        // it is pushed) to the moment it is on screen.
        std::thread capture([&] {
            feed->pushFrame(pixelFormat, frames.size, bytes[size_t(i) % bytes.size()]);
        });
        const bool ok = benchWaitUntil([&] { return presented > before; }, 2000);
        capture.join();
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
    view->hide();
    qunsetenv("LUMEN_RENDERER");
    return stats;
}
