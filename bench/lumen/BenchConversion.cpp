#include "BenchPaths.h"

#include "LumenJpegDecoder.h"
#include "LumenPlanar.h"
#include "LumenYuyv.h"

// The CPU work of one frame without the screen: YUYV converted, or MJPEG
// decoded to planes and converted, into a picture of the frame's size.
BenchStats benchConversion(const BenchFrames &frames, BenchFormat format, BenchRun run)
{
    BenchStats stats;
    stats.path = QStringLiteral("  of which conversion");
    stats.format = benchFormatName(format);
    LumenJpegDecoder decoder;
    QImage out(frames.size, QImage::Format_RGB32);
    const auto &all = benchBytes(frames, format);
    BenchCpuClock cpu;
    for (int i = 0; i < run.warmup + run.frames; ++i) {
        if (i == run.warmup)
            cpu.start();
        const double t0 = benchNowMs();
        if (format == BenchFormat::Yuyv) {
            const QByteArray &bytes = all[size_t(i) % all.size()];
            LumenYuyv::toRgb32(reinterpret_cast<const uchar *>(bytes.constData()), 0,
                               frames.size.width(), frames.size.height(), out);
        } else {
            const QByteArray &bytes = all[size_t(i) % all.size()];
            LumenFrame frame;
            if (decoder.decodeFrame(reinterpret_cast<const uchar *>(bytes.constData()),
                                    bytes.size(), frame) &&
                frame.kind == LumenFrame::Kind::Planar)
                LumenPlanar::toRgb32(frame.planes, out);
            else
                stats.note = QStringLiteral("not decoded to planes");
        }
        const double t1 = benchNowMs();
        if (i >= run.warmup)
            stats.ms.push_back(t1 - t0);
    }
    cpu.finish(stats, stats.ms.size());
    if (format != BenchFormat::Yuyv && stats.note.isEmpty())
        stats.note = QStringLiteral("%1 of %2 split between two threads")
                         .arg(decoder.splitFrames())
                         .arg(run.warmup + run.frames);
    return stats;
}
