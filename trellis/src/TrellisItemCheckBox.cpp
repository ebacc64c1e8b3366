#include <trellis/TrellisItemCheckBox.h>

TrellisItemCheckBox::TrellisItemCheckBox() : TrellisItem(TrellisItemTypeCheckBox) {}

void TrellisItemCheckBox::setValueOfCheckBox(bool on)
{
    if (m_value == on)
        return;
    m_value = on;
    emit valueOfCheckBoxChanged(on);
    emit valueChanged();
}
