#include <trellis/TrellisItemHotKey.h>

TrellisItemHotKey::TrellisItemHotKey() : TrellisItem(TrellisItemTypeHotKey) {}

void TrellisItemHotKey::setValueOfHotKey(const QString &text)
{
    if (m_value == text)
        return;
    m_value = text;
    emit valueOfHotKeyChanged(text);
    emit valueChanged();
}
