#include "CheckBoxCell.h"

#include <QPainter>

void CheckBoxCell::drawWithFrame(QPainter &painter, const QRectF &frame, bool on) const
{
    const qreal d = frame.width() - 4;
    if (d <= 0)
        return;
    const QPointF centre = frame.center();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(borderColor, 1));
    painter.setBrush(backgroundColor);
    painter.drawEllipse(centre, d / 2 - 0.5, d / 2 - 0.5);
    if (on) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(borderColor);
        painter.drawEllipse(centre, d / 4, d / 4);
    }
    painter.restore();
}
