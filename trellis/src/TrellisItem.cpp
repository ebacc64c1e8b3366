#include <trellis/TrellisItem.h>

TrellisMenuPtr trellisMenu(std::initializer_list<TrellisItemPtr> items)
{
    return std::make_shared<TrellisMenu>(items);
}

TrellisItem::TrellisItem() : TrellisItem(TrellisItemTypePlain) {}

TrellisItem::TrellisItem(TrellisItemType type) : m_type(type) {}

TrellisItem::~TrellisItem() = default;

void TrellisItem::setLabelText(const QString &text)
{
    if (m_labelText == text)
        return;
    m_labelText = text;
    emit labelTextChanged(text);
}

void TrellisItem::setExpanded(bool expanded)
{
    if (m_expanded == expanded)
        return;
    m_expanded = expanded;
    emit expandedChanged(expanded);
}

void TrellisItem::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    emit selectedChanged(selected);
}

void TrellisItem::setDisabled(bool disabled)
{
    if (m_disabled == disabled)
        return;
    m_disabled = disabled;
    emit disabledChanged(disabled);
}

void TrellisItem::setEditState(int state)
{
    if (m_editState == state)
        return;
    m_editState = state;
    emit editStateChanged(state);
}

void TrellisItem::setClickOnExit(bool on)
{
    if (m_clickOnExit == on)
        return;
    m_clickOnExit = on;
    emit clickOnExitChanged(on);
}

void TrellisItem::setEnableRollback(bool on)
{
    if (m_enableRollback == on)
        return;
    m_enableRollback = on;
    emit enableRollbackChanged(on);
}
