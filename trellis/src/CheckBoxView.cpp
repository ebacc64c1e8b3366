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

void CheckBoxView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The press of the second click has already been handled; the double
    // click itself is not a third click.
    event->accept();
}

void CheckBoxView::wheelEvent(QWheelEvent *event)
{
    // The wheel never changes a menu: let the table swallow it.
    event->ignore();
}
