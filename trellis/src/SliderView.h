#pragma once
// The slider control of slider rows: whole units from minimum to maximum,
// moved by the mouse. It never takes the keyboard focus and ignores the
// wheel; the menu changes it through its item.
#include "ColorSliderCell.h"

#include <QAbstractSlider>
#include <functional>

class SliderView : public QAbstractSlider
{
    Q_OBJECT

public:
    explicit SliderView(QWidget *parent = nullptr);

    ColorSliderCell &cell() { return m_cell; }

    std::function<void()> eventClicked;
    // The user moved the slider (never called for a value set in code).
    std::function<void(int)> eventValueChanged;

    QSize sizeHint() const override;
    QRectF knobRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void trackTo(qreal x);
    qreal knobWidth() const;

    ColorSliderCell m_cell;
};
