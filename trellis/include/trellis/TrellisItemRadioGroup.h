#pragma once
// One choice of a radio group. A group is not an object of its own: it is
// the set of radio items lying in one menu array.
#include <trellis/TrellisItem.h>

class TrellisItemRadioGroup : public TrellisItem
{
    Q_OBJECT
    Q_PROPERTY(bool valueOfRadioGroup READ valueOfRadioGroup WRITE setValueOfRadioGroup NOTIFY
                   valueOfRadioGroupChanged)
    Q_PROPERTY(bool enableToggle READ enableToggle WRITE setEnableToggle NOTIFY enableToggleChanged)

public:
    TrellisItemRadioGroup();

    bool valueOfRadioGroup() const { return m_value; }
    void setValueOfRadioGroup(bool on);

    // Activating the chosen item again un-chooses it (the group may end
    // with no choice); otherwise it stays chosen.
    bool enableToggle() const { return m_enableToggle; }
    void setEnableToggle(bool on);

    // Chooses this item and clears the other radio items of ownerMenu.
    // No handler runs.
    void exclusiveSelect();
    // Clears every radio item of ownerMenu, this one included. No handler runs.
    void deselectAll();

    QVariant value() const override { return m_value; }

signals:
    void valueOfRadioGroupChanged(bool on);
    void enableToggleChanged(bool on);

private:
    bool m_value = false;
    bool m_enableToggle = false;
};
