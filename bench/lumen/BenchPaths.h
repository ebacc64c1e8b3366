#pragma once
// The three ways to put a frame on screen that the benchmark compares.
// Each shows 1920x1080 frames one at a time, 1:1, and times every frame
// from the moment its bytes are handed over until it has been drawn.
#include "BenchFrames.h"
#include "BenchStats.h"

#include <functional>

// MJPEG with and without restart markers: cameras differ, and Lumen
// splits a frame between its threads at a restart marker when it has one.
enum class BenchFormat { Yuyv, Mjpeg, MjpegRestart };

inline QString benchFormatName(BenchFormat format)
{
    switch (format) {
    case BenchFormat::Yuyv: return QStringLiteral("YUYV");
    case BenchFormat::Mjpeg: return QStringLiteral("MJPEG");
    case BenchFormat::MjpegRestart: return QStringLiteral("MJPEG+RST");
    }
    return {};
}

inline const std::vector<QByteArray> &benchBytes(const BenchFrames &frames, BenchFormat format)
{
    return format == BenchFormat::Yuyv    ? frames.yuyv
           : format == BenchFormat::Mjpeg ? frames.mjpeg
                                          : frames.mjpegRestart;
}

struct BenchRun
{
    int warmup = 15;
    int frames = 150;
};

// Lumen, through its program-supplied frame source; OpenGL or CPU canvas.
BenchStats benchLumen(const BenchFrames &frames, BenchFormat format, bool openGL, BenchRun run);
// Qt Multimedia: QVideoFrame (map, copy lines, unmap) -> QVideoSink -> QVideoWidget.
BenchStats benchQtVideoWidget(const BenchFrames &frames, BenchFormat format, BenchRun run);
// GStreamer: appsrc ! [jpegdec !] videoconvert ! ximagesink.
BenchStats benchGstreamer(const BenchFrames &frames, BenchFormat format, BenchRun run);

// Lumen's conversion alone (YUYV to RGB, or MJPEG decoding) on the CPU.
BenchStats benchConversion(const BenchFrames &frames, BenchFormat format, BenchRun run);

// Runs the event loop until done() or the timeout; false on timeout.
bool benchWaitUntil(const std::function<bool()> &done, int timeoutMs);
// Lets the event loop run for a few milliseconds between frames.
void benchSettle(int ms);
// True when the screen shows the red box every bench frame carries.
bool benchScreenShowsFrame();
