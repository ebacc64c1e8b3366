#include "TrellisSliderCellView.h"

#include "SliderView.h"

#include <QLabel>

TrellisSliderCellView::TrellisSliderCellView(QWidget *parent)
    : TrellisCellView(parent), m_sliderContainer(new QWidget(this)),
      m_slider(new SliderView(m_sliderContainer))
{
}

QList<QWidget *> TrellisSliderCellView::controls() const
{
    return {m_slider};
}

void TrellisSliderCellView::setSliderColors(const QColor &background, const QColor &border)
{
    if (background.isValid())
        m_slider->cell().backgroundColor = background;
    if (border.isValid())
        m_slider->cell().borderColor = border;
    m_slider->update();
}

void TrellisSliderCellView::layoutStrip(const QRect &strip)
{
    // Label on the left half, slider on the right half of the strip.
    const int inset = int(8 * scale);
    const int half = strip.width() / 2;
    label()->setGeometry(strip.left() + inset, strip.top(), qMax(0, half - inset), strip.height());
    const int h = qMax(4, strip.height() - 2 * int(4 * scale));
    m_sliderContainer->setGeometry(strip.left() + half, strip.top() + (strip.height() - h) / 2,
                                   qMax(0, half - inset), h);
    // Sizes are scaled directly (no drawing transform), so the slider
    // simply fills its container.
    m_slider->setGeometry(0, 0, m_sliderContainer->width(), h);
}
