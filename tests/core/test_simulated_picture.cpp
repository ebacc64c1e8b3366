// The virtual device's picture follows the device's state.
#include "sim/SimulatedDevice.h"
#include "sim/SimulatedPicture.h"
#include "protocol/VizoCommands.h"
#include "sim/VizoSimDevice.h"

#include <gtest/gtest.h>

namespace {
double meanLuma(const QImage &image, const QRect &r)
{
    double sum = 0;
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); y += 3)
        for (int x = r.left(); x <= r.right(); x += 3) {
            sum += qGray(image.pixel(x, y));
            ++n;
        }
    return sum / n;
}
const QSize kSize(640, 360);
const QRect kPage(0, 0, 640, 300); // above the status line
} // namespace

TEST(SimulatedPicture, ColourSlotDecidesPaperAndInk)
{
    SimulatedPictureState s;
    s.textColor = 3; // white on black
    s.bgColor = 2;
    const QImage dark = SimulatedPicture::render(s, kSize, 0);
    s.textColor = 2; // black on white
    s.bgColor = 3;
    const QImage light = SimulatedPicture::render(s, kSize, 0);
    EXPECT_LT(meanLuma(dark, kPage), 80);
    EXPECT_GT(meanLuma(light, kPage), 170);
}

TEST(SimulatedPicture, ZoomContrastMarkerAndModeChangeThePicture)
{
    SimulatedPictureState s;
    const QImage base = SimulatedPicture::render(s, kSize, 1.0);
    EXPECT_EQ(base.size(), kSize);
    auto differs = [&](SimulatedPictureState changed) {
        return SimulatedPicture::render(changed, kSize, 1.0) != base;
    };
    SimulatedPictureState z = s;
    z.zoomLevel = 5;
    EXPECT_TRUE(differs(z));
    SimulatedPictureState c = s;
    c.contrast = 0;
    EXPECT_TRUE(differs(c));
    SimulatedPictureState m = s;
    m.markerMode = 2;
    EXPECT_TRUE(differs(m));
    SimulatedPictureState v = s;
    v.cameraMode = 0;
    EXPECT_TRUE(differs(v));
    for (int mode = 1; mode <= 5; ++mode) {
        SimulatedPictureState md = s;
        md.mode = mode;
        EXPECT_TRUE(differs(md)) << mode;
    }
    // The live picture moves by itself.
    EXPECT_NE(SimulatedPicture::render(s, kSize, 2.0), base);
}

TEST(SimulatedPicture, LowContrastBringsInkAndPaperTogether)
{
    SimulatedPictureState s;
    s.textColor = 2;
    s.bgColor = 3;
    s.contrast = 39;
    const double high = meanLuma(SimulatedPicture::render(s, kSize, 0), kPage);
    s.contrast = 0;
    const double low = meanLuma(SimulatedPicture::render(s, kSize, 0), kPage);
    EXPECT_LT(low, high);
}

TEST(SimulatedPicture, ShowsWhatTheDeviceLastSpokeAndItsColourSlots)
{
    VizoSimDevice device;
    auto state = [&] { return SimulatedDevice::pictureState(device.state(), device.region()); };
    auto picture = [&] { return SimulatedPicture::render(state(), kSize, 0); };
    const QRect captionBand(0, 306, 640, 30); // just above the status line
    auto same = [](const QImage &a, const QImage &b, const QRect &r) { return a.copy(r) == b.copy(r); };

    const QImage silent = picture();
    device.handle(VizoCmd::SpeakText(QStringLiteral("Zoom in")).payload());
    EXPECT_EQ(state().caption, QStringLiteral("Zoom in"));
    const QImage zoomIn = picture();
    EXPECT_FALSE(same(zoomIn, silent, captionBand));
    EXPECT_TRUE(same(zoomIn, silent, kPage.adjusted(0, 0, 0, -60)));
    device.handle(VizoCmd::SpeakText(QStringLiteral("Contraste 20")).payload());
    EXPECT_FALSE(same(picture(), zoomIn, captionBand));
    // The blank text said when a window opens leaves no caption.
    device.handle(VizoCmd::SpeakText(QStringLiteral(" ")).payload());
    EXPECT_EQ(picture(), silent);

    // The slot in use (near slot 1, white on black) becomes yellow on blue.
    device.handle(VizoCmd::SetColorSlot(VizoCmd::colorSlotCode(1, 1), 9, 6).payload());
    const QImage blue = picture();
    EXPECT_FALSE(same(blue, silent, kPage));
    auto meanBlue = [](const QImage &image) {
        double sum = 0;
        for (int y = 0; y < 300; y += 5)
            for (int x = 0; x < 640; x += 5)
                sum += qBlue(image.pixel(x, y));
        return sum / (60 * 128);
    };
    EXPECT_GT(meanBlue(blue), meanBlue(silent) + 40);
}
