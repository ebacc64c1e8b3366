#include "settings/VizoColorMode.h"

#include "settings/VizoSettings.h"

VizoColorMode::VizoColorMode(const VizoSettings *settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    for (auto &slot : m_arrayColorSlot)
        slot = std::make_unique<VizoColorSlot>(this);
}

VizoColorMode::~VizoColorMode() = default;

VizoColorSlot *VizoColorMode::slot(int index) const
{
    if (index < 0 || index >= kSlotCount)
        return nullptr;
    return m_arrayColorSlot[size_t(index)].get();
}

QVariantMap VizoColorMode::languageStrings() const
{
    return m_settings ? m_settings->languageStrings() : QVariantMap();
}

QList<VizoColorSlot *> VizoColorMode::arrayColorSlot() const
{
    QList<VizoColorSlot *> all;
    for (const auto &slot : m_arrayColorSlot)
        all.append(slot.get());
    return all;
}
