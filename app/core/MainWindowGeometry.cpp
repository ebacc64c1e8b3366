#include "MainWindowGeometry.h"

#include <algorithm>

namespace MainWindowGeometry {

float scaleFactorForScreenWidth(double screenWidth)
{
    if (screenWidth <= 0)
        return 0.0f;
    return static_cast<float>(screenWidth / 1680.0 * 2.5);
}

Frames menuClosed(const QRect &rcMainView)
{
    return {rcMainView, QRect(QPoint(0, 0), rcMainView.size())};
}

Frames menuOpen(const QRect &rcMainView, int menuWidth, int captureViewY)
{
    Frames f;
    f.container = QRect(menuWidth, rcMainView.y(), rcMainView.width() - menuWidth, rcMainView.height());
    f.captureView = QRect(-menuWidth, captureViewY, rcMainView.width(), rcMainView.height());
    return f;
}

QRect resized(const QRect &rcMainView, const QSize &contentSize)
{
    const int w = std::max(rcMainView.width(), contentSize.width());
    const int h = std::max(rcMainView.height(), contentSize.height());
    return QRect(0, 0, w, h);
}

} // namespace MainWindowGeometry
