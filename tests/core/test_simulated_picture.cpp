// The virtual device's picture follows the device's state.
#include "core/SimulatedPicture.h"

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
