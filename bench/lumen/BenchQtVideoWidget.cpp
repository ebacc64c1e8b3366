#include "BenchPaths.h"

#include <QGuiApplication>
#include <QTest>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>
#include <QVideoWidget>
#include <QWindow>

#include <cstring>

namespace {

// The video widget draws in a window of its own when that window handles
// an update request; this runs the request and counts it as a frame drawn.
class RenderWatch : public QObject
{
public:
    int renders = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::UpdateRequest || m_inside)
            return false;
        m_inside = true;
        watched->event(event);
        m_inside = false;
        ++renders;
        return true;
    }

private:
    bool m_inside = false;
};

QWindow *videoWindow()
{
    for (QWindow *window : QGuiApplication::allWindows())
        if (window->inherits("QVideoWindow"))
            return window;
    return nullptr;
}

} // namespace

BenchStats benchQtVideoWidget(const BenchFrames &frames, BenchFormat format, BenchRun run)
{
    BenchStats stats;
    stats.path = QStringLiteral("QVideoSink -> QVideoWidget");
    stats.format = benchFormatName(format);

    QVideoWidget widget;
    widget.setGeometry(0, 0, frames.size.width(), frames.size.height());
    widget.show();
    (void)QTest::qWaitForWindowExposed(&widget);
    QVideoSink *sink = widget.videoSink();
    RenderWatch watch;
    QWindow *window = videoWindow();
    int changed = 0;
    QObject::connect(sink, &QVideoSink::videoFrameChanged, [&] { ++changed; });
    if (window)
        window->installEventFilter(&watch);
    else
        stats.note = QStringLiteral("video window not found: timed to the sink only");

    const QVideoFrameFormat frameFormat(frames.size, format == BenchFormat::Yuyv
                                                         ? QVideoFrameFormat::Format_YUYV
                                                         : QVideoFrameFormat::Format_Jpeg);
    const auto &bytes = benchBytes(frames, format);
    BenchCpuClock cpu;
    for (int i = 0; i < run.warmup + run.frames; ++i) {
        if (i == run.warmup)
            cpu.start();
        const QByteArray &data = bytes[size_t(i) % bytes.size()];
        const int before = window ? watch.renders : changed;
        const double t0 = benchNowMs();
        QVideoFrame frame(frameFormat);
        if (!frame.map(QVideoFrame::WriteOnly)) {
            stats.note = QStringLiteral("cannot map a video frame");
            break;
        }
        uchar *out = frame.bits(0);
        const int outLine = frame.bytesPerLine(0);
        if (format == BenchFormat::Yuyv) {
            const int inLine = frames.size.width() * 2;
            for (int y = 0; y < frames.size.height(); ++y)
                std::memcpy(out + qsizetype(y) * outLine, data.constData() + qsizetype(y) * inLine,
                            size_t(inLine));
        } else {
            std::memcpy(out, data.constData(),
                        size_t(std::min<qsizetype>(data.size(), frame.mappedBytes(0))));
        }
        frame.unmap();
        sink->setVideoFrame(frame);
        const bool ok = benchWaitUntil(
            [&] { return (window ? watch.renders : changed) > before; }, 2000);
        const double t1 = benchNowMs();
        if (i == run.warmup - 1 && !benchScreenShowsFrame())
            stats.note += QStringLiteral(" picture not seen on screen");
        if (i >= run.warmup) {
            if (ok)
                stats.ms.push_back(t1 - t0);
            else
                ++stats.timeouts;
        }
        benchSettle(3);
    }
    cpu.finish(stats, stats.ms.size() + size_t(stats.timeouts));
    widget.hide();
    return stats;
}
