#include "input/VizoInputContext.h"

#include "input/VizoInputLog.h"

void VizoInputContext::send(const QByteArray &payload) const
{
    qCDebug(lcVizoInput).noquote() << "send" << payload.toHex(' ');
    if (m_hooks.send)
        m_hooks.send(payload);
}

void VizoInputContext::updateHotKeys() const
{
    if (m_hooks.updateHotKeys)
        m_hooks.updateHotKeys();
}

void VizoInputContext::updateMouseGestures() const
{
    if (m_hooks.updateMouseGestures)
        m_hooks.updateMouseGestures();
}

void VizoInputContext::lock() const
{
    if (m_hooks.setDisableHotKeys)
        m_hooks.setDisableHotKeys(true);
    updateHotKeys();
    if (m_hooks.setDisableMouseGestures)
        m_hooks.setDisableMouseGestures(true);
    updateMouseGestures();
}

void VizoInputContext::openSelectedColorSlotPage() const
{
    const int view = m_model.cameraMode();
    if (view != 0 && view != 1)
        return;
    const int slot = m_model.selectedColorSlot(view);
    if (slot == 0)
        return;
    if (m_hooks.openColorSlotPage)
        m_hooks.openColorSlotPage(view, slot);
}
