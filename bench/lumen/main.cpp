// Arrival-to-screen latency of 1920x1080 YUYV and MJPEG frames through
// Lumen and through two baselines, in one run on the same X server.
//
//   lumen_bench [--frames N] [--warmup N]
#include "BenchPaths.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

void printRow(const BenchStats &s)
{
    std::printf("%-28s %-6s %8.2f %8.2f %6zu %s\n", qPrintable(s.path), qPrintable(s.format),
                s.p50(), s.p95(), s.ms.size(),
                qPrintable(s.timeouts ? QStringLiteral("%1 timed out %2").arg(s.timeouts).arg(s.note)
                                      : s.note));
}

void printRatio(const BenchStats &lumen, const BenchStats &other)
{
    std::printf("  %s %s / %s: p50 %.2f  p95 %.2f\n", qPrintable(lumen.path),
                qPrintable(lumen.format), qPrintable(other.path), lumen.p50() / other.p50(),
                lumen.p95() / other.p95());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption framesOption("frames", "Frames timed per path.", "N", "150");
    QCommandLineOption warmupOption("warmup", "Frames shown before timing.", "N", "15");
    parser.addOptions({framesOption, warmupOption});
    parser.process(app);
    BenchRun run;
    run.frames = std::max(1, parser.value(framesOption).toInt());
    run.warmup = std::max(1, parser.value(warmupOption).toInt());

    std::printf("making frames...\n");
    const BenchFrames frames = BenchFrames::make(QSize(1920, 1080), 8);
    std::printf("platform %s, %d frames per path after %d warm-up frames\n\n",
                qPrintable(QGuiApplication::platformName()), run.frames, run.warmup);

    std::printf("%-28s %-6s %8s %8s %6s\n", "path (arrival to screen)", "format", "p50 ms",
                "p95 ms", "frames");
    bool met = true;
    for (BenchFormat format : {BenchFormat::Yuyv, BenchFormat::Mjpeg}) {
        const BenchStats gl = benchLumen(frames, format, true, run);
        printRow(gl);
        const BenchStats cpu = benchLumen(frames, format, false, run);
        printRow(cpu);
        printRow(benchConversion(frames, format, run));
        const BenchStats qt = benchQtVideoWidget(frames, format, run);
        printRow(qt);
        const BenchStats gst = benchGstreamer(frames, format, run);
        printRow(gst);
        std::printf("ratios (Lumen / baseline):\n");
        for (const BenchStats *lumen : {&gl, &cpu}) {
            printRatio(*lumen, qt);
            printRatio(*lumen, gst);
        }
        const double budget = format == BenchFormat::Yuyv ? 5.0 : 10.0;
        const BenchStats &best = gl.p95() <= cpu.p95() ? gl : cpu;
        const bool within = best.p95() <= budget;
        const bool quarter = best.p95() <= gst.p95() / 4.0;
        std::printf("targets %s: p95 %.2f ms <= %.0f ms: %s; <= 1/4 of GStreamer (%.2f ms): %s\n\n",
                    qPrintable(best.format), best.p95(), budget, within ? "met" : "MISSED",
                    gst.p95() / 4.0, quarter ? "met" : "MISSED");
        met = met && within && quarter;
    }
    return met ? 0 : 1;
}
