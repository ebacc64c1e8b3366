#pragma once
// Draws the round box shared by check box and radio rows.
#include <QColor>

class QPainter;
class QRectF;

class CheckBoxCell
{
public:
    QColor backgroundColor{Qt::white};
    QColor borderColor{50, 50, 50};

    // An outer circle (diameter: frame width - 4) centred in the frame, filled
    // and stroked one pixel wide; when on, an inner dot of half the diameter.
    void drawWithFrame(QPainter &painter, const QRectF &frame, bool on) const;
};
