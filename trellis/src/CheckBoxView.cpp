#include "CheckBoxView.h"

#include <QMouseEvent>
#include <QPainter>

CheckBoxView::CheckBoxView(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

QSize CheckBoxView::sizeHint() const
{
    return {20, 20};
}

void CheckBoxView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int side = qMin(width(), height());
    const QRectF frame((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    m_cell.drawWithFrame(painter, frame, isChecked());
}

void CheckBoxView::mousePressEvent(QMouseEvent *event)
{
    oldState = isChecked();
    QAbstractButton::mousePressEvent(event);
    if (isEnabled() && eventClicked)
        eventClicked();
}

void CheckBoxView::wheelEvent(QWheelEvent *event)
{
    // The wheel never changes a menu: let the table swallow it.
    event->ignore();
}
