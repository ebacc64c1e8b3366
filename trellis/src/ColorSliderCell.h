#pragma once
// Draws a slider: a rounded bar and an oval knob, in the colours the menu
// gives for an idle or an edited item.
#include <QColor>

class QPainter;
class QRectF;

class ColorSliderCell
{
public:
    QColor backgroundColor{Qt::white};
    QColor borderColor{Qt::darkGray};

    void drawBar(QPainter &painter, const QRectF &bar) const;
    // The knob is an oval inset 3 pixels on every side of knobRect.
    void drawKnob(QPainter &painter, const QRectF &knobRect) const;
};
