#pragma once
// One picture on its way from a source to the screen.
#include "LumenPlanar.h"

#include <QImage>
#include <QSize>

#include <chrono>
#include <cstdint>
#include <memory>

struct LumenFrame
{
    enum class Kind {
        Rgb,  // `image` holds the picture
        Yuyv, // `bytes` holds packed 4:2:2 samples, converted when drawn
        Planar, // `planes` holds a decoded JPEG's YCbCr, converted when drawn
    };

    Kind kind = Kind::Rgb;
    QImage image;
    const uchar *bytes = nullptr;
    int bytesPerLine = 0;
    LumenYuvPlanes planes;
    QSize size;
    // Owns `bytes` or the planes' memory: a shared byte array, or a capture buffer that goes back
    // to the driver when the last reference is dropped.
    std::shared_ptr<const void> keeper;
    // `bytes` is a capture buffer the driver wants back: do not hold the
    // frame longer than drawing needs.
    bool lentBuffer = false;
    // When the frame arrived from its source (steady clock).
    std::int64_t arrivalNs = 0;
    std::uint64_t sequence = 0;

    static std::int64_t nowNs()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

using LumenFramePtr = std::shared_ptr<const LumenFrame>;
