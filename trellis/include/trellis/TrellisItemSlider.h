#pragma once
// An item with a whole-number value in minValue..maxValue. The item does not
// clamp: whoever moves the value keeps it in range.
#include <trellis/TrellisItem.h>

class TrellisItemSlider : public TrellisItem
{
    Q_OBJECT
    Q_PROPERTY(
        int valueOfSlider READ valueOfSlider WRITE setValueOfSlider NOTIFY valueOfSliderChanged)
    Q_PROPERTY(int minValue READ minValue WRITE setMinValue NOTIFY minValueChanged)
    Q_PROPERTY(int maxValue READ maxValue WRITE setMaxValue NOTIFY maxValueChanged)

public:
    TrellisItemSlider();

    int valueOfSlider() const { return m_value; }
    void setValueOfSlider(int value);
    int minValue() const { return m_min; }
    void setMinValue(int value);
    int maxValue() const { return m_max; }
    void setMaxValue(int value);

    QVariant value() const override { return m_value; }

signals:
    void valueOfSliderChanged(int value);
    void minValueChanged(int value);
    void maxValueChanged(int value);

private:
    int m_value = 0;
    int m_min = 0;
    int m_max = 0;
};
