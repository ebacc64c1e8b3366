#include "SliderView.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

SliderView::SliderView(QWidget *parent) : QAbstractSlider(parent)
{
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::NoFocus);
    setSingleStep(1);
    setPageStep(1);
}

QSize SliderView::sizeHint() const
{
    return {120, 20};
}

qreal SliderView::knobWidth() const
{
    return qMin<qreal>(height(), width() / 2.0);
}

QRectF SliderView::knobRect() const
{
    const qreal kw = knobWidth();
    const int span = maximum() - minimum();
    const qreal fraction = span > 0 ? qreal(value() - minimum()) / span : 0.0;
    return QRectF(fraction * (width() - kw), (height() - kw) / 2.0, kw, kw);
}

void SliderView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal kw = knobWidth();
    const qreal barHeight = qMax<qreal>(4, height() / 3.0);
    m_cell.drawBar(painter, QRectF(kw / 2, (height() - barHeight) / 2, width() - kw, barHeight));
    m_cell.drawKnob(painter, knobRect());
}

void SliderView::trackTo(qreal x)
{
    const qreal kw = knobWidth();
    const qreal track = width() - kw;
    const int span = maximum() - minimum();
    const qreal fraction = track > 0 ? qBound<qreal>(0, (x - kw / 2) / track, 1) : 0;
    const int newValue = minimum() + int(std::lround(fraction * span));
    if (newValue == value())
        return;
    setValue(newValue);
    if (eventValueChanged)
        eventValueChanged(value());
}

void SliderView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        event->ignore();
        return;
    }
    setSliderDown(true);
    trackTo(event->position().x());
    if (eventClicked)
        eventClicked();
}

void SliderView::mouseMoveEvent(QMouseEvent *event)
{
    if (isSliderDown() && isEnabled())
        trackTo(event->position().x());
}

void SliderView::mouseReleaseEvent(QMouseEvent *)
{
    setSliderDown(false);
}

void SliderView::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}

void SliderView::keyPressEvent(QKeyEvent *event)
{
    // Keys belong to the menu, never to the slider.
    event->ignore();
}
