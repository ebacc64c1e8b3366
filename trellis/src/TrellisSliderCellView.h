#pragma once
// A row with a slider in the right part of its label strip.
#include "TrellisCellView.h"

class SliderView;

class TrellisSliderCellView : public TrellisCellView
{
    Q_OBJECT

public:
    explicit TrellisSliderCellView(QWidget *parent);

    SliderView *slider() const { return m_slider; }
    QWidget *sliderContainer() const { return m_sliderContainer; }

    // Paints the bar and knob in the given colours.
    void setSliderColors(const QColor &background, const QColor &border);

    QList<QWidget *> controls() const override;

protected:
    void layoutStrip(const QRect &strip) override;

private:
    QWidget *m_sliderContainer;
    SliderView *m_slider;
};
