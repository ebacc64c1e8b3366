#include "BorderedView.h"

#include <QPainter>

BorderedView::BorderedView(QWidget *parent)
    : QWidget(parent)
{
}

void BorderedView::setFillColor(const QColor &color)
{
    m_fillColor = color;
    update();
}

void BorderedView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fillColor);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
