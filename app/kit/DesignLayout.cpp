#include "DesignLayout.h"

#include <cmath>

void DesignLayout::add(QWidget *widget, const QRect &designRect, int fontPixelSize)
{
    m_entries.append({widget, designRect, fontPixelSize});
}

QRect DesignLayout::scaled(const QRect &r, double scale)
{
    return QRect(int(std::lround(r.x() * scale)), int(std::lround(r.y() * scale)),
                 int(std::lround(r.width() * scale)), int(std::lround(r.height() * scale)));
}

void DesignLayout::apply(double scale) const
{
    if (scale <= 0)
        scale = 1.0;
    for (const Entry &e : m_entries) {
        if (!e.widget)
            continue;
        e.widget->setGeometry(scaled(e.designRect, scale));
        if (e.fontPixelSize > 0) {
            QFont font = e.widget->font();
            font.setPixelSize(std::max(1, int(std::lround(e.fontPixelSize * scale))));
            e.widget->setFont(font);
        }
    }
}
