#pragma once
// The geometry rules of the main window's picture area, as pure functions so
// they can be checked without a window.
//
// Qt's y axis points down, so "aligned to the top-left corner" is simply
// y = 0 here: a container larger than the window is cropped at the right and
// the bottom.
#include <QRect>
#include <QSize>

namespace MainWindowGeometry {

// Design sizes are multiplied by this: screen width / 1680 x 2.5, computed in
// double precision and kept as a float; 0 without a screen.
float scaleFactorForScreenWidth(double screenWidth);

struct Frames
{
    QRect container;    // the capture container inside the content view
    QRect captureView;  // the picture view inside the container
};

// Menu closed: the container is rcMainView, the picture fills it.
Frames menuClosed(const QRect &rcMainView);

// Menu open, m pixels wide: the container is narrowed from the left by m and
// the picture is shifted left by m, so the visible part does not move.
Frames menuOpen(const QRect &rcMainView, int menuWidth, int captureViewY = 0);

// After a resize of the content view: rcMainView only ever grows, and stays
// at the top-left corner.
QRect resized(const QRect &rcMainView, const QSize &contentSize);

} // namespace MainWindowGeometry
