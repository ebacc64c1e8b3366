#include "ArrowButton.h"

#include <QPainter>

ArrowButton::ArrowButton(QWidget *parent)
    : QPushButton(parent)
{
    setFlat(true);
}

void ArrowButton::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void ArrowButton::setType(int type)
{
    m_type = type;
    update();
}

QPolygonF ArrowButton::arrowTriangle(const QRectF &bounds, int type, bool highlighted)
{
    QRectF r = bounds.adjusted(2, 2, -2, -2);
    if (highlighted)
        r.translate(1, 1);
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    switch (type) {
    case 0:
        return QPolygonF({{x, y + h}, {x + w, y + h}, {x + w / 2, y + h / 4}});
    case 1:
        return QPolygonF({{x, y}, {x + w, y}, {x + w / 2, y + 3 * h / 4}});
    case 2:
        return QPolygonF({{x + w, y}, {x + w, y + h}, {x + w / 4, y + h / 2}});
    case 3:
        return QPolygonF({{x, y}, {x, y + h}, {x + 3 * w / 4, y + h / 2}});
    default:
        return {};
    }
}

void ArrowButton::paintEvent(QPaintEvent *)
{
    const QPolygonF triangle = arrowTriangle(QRectF(rect()), m_type, isDown());
    if (triangle.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawPolygon(triangle);
}
