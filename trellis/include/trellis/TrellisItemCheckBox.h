#pragma once
// An item with an on/off box; activation flips it.
#include <trellis/TrellisItem.h>

class TrellisItemCheckBox : public TrellisItem
{
    Q_OBJECT
    Q_PROPERTY(bool valueOfCheckBox READ valueOfCheckBox WRITE setValueOfCheckBox NOTIFY
                   valueOfCheckBoxChanged)

public:
    TrellisItemCheckBox();

    bool valueOfCheckBox() const { return m_value; }
    void setValueOfCheckBox(bool on);

    QVariant value() const override { return m_value; }

signals:
    void valueOfCheckBoxChanged(bool on);

private:
    bool m_value = false;
};
