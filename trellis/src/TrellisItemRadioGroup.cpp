#include <trellis/TrellisItemRadioGroup.h>

TrellisItemRadioGroup::TrellisItemRadioGroup() : TrellisItem(TrellisItemTypeRadioGroup) {}

void TrellisItemRadioGroup::setValueOfRadioGroup(bool on)
{
    if (m_value == on)
        return;
    m_value = on;
    emit valueOfRadioGroupChanged(on);
    emit valueChanged();
}

void TrellisItemRadioGroup::setEnableToggle(bool on)
{
    if (m_enableToggle == on)
        return;
    m_enableToggle = on;
    emit enableToggleChanged(on);
}

void TrellisItemRadioGroup::exclusiveSelect()
{
    if (const TrellisMenuPtr owner = ownerMenu()) {
        for (const TrellisItemPtr &item : *owner) {
            if (item.get() != this && item->type() == TrellisItemTypeRadioGroup)
                static_cast<TrellisItemRadioGroup *>(item.get())->setValueOfRadioGroup(false);
        }
    }
    setValueOfRadioGroup(true);
}

void TrellisItemRadioGroup::deselectAll()
{
    const TrellisMenuPtr owner = ownerMenu();
    if (!owner)
        return;
    for (const TrellisItemPtr &item : *owner) {
        if (item->type() == TrellisItemTypeRadioGroup)
            static_cast<TrellisItemRadioGroup *>(item.get())->setValueOfRadioGroup(false);
    }
}
