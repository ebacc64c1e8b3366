#include "settings/VizoOCRLanguage.h"

#include "settings/VizoLanguage.h"

VizoOCRLanguage::VizoOCRLanguage(const QVariantMap &entry, const QString &name)
    : m_name(name),
      m_bitMask(VizoLanguage::bitFromIndex(entry.value(QStringLiteral("BitMask")).toLongLong()))
{
}
