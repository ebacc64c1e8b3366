#include <trellis/TrellisItemSlider.h>

TrellisItemSlider::TrellisItemSlider() : TrellisItem(TrellisItemTypeSlider) {}

void TrellisItemSlider::setValueOfSlider(int value)
{
    if (m_value == value)
        return;
    m_value = value;
    emit valueOfSliderChanged(value);
    emit valueChanged();
}

void TrellisItemSlider::setMinValue(int value)
{
    if (m_min == value)
        return;
    m_min = value;
    emit minValueChanged(value);
    emit valueChanged();
}

void TrellisItemSlider::setMaxValue(int value)
{
    if (m_max == value)
        return;
    m_max = value;
    emit maxValueChanged(value);
    emit valueChanged();
}
