#include "ColorSliderCell.h"

#include <QPainter>

void ColorSliderCell::drawBar(QPainter &painter, const QRectF &bar) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(borderColor, 1));
    painter.setBrush(backgroundColor);
    painter.drawRoundedRect(bar.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter.restore();
}

void ColorSliderCell::drawKnob(QPainter &painter, const QRectF &knobRect) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(borderColor, 1));
    painter.setBrush(backgroundColor);
    painter.drawEllipse(knobRect.adjusted(3, 3, -3, -3));
    painter.restore();
}
