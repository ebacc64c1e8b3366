#include "settings/VizoLanguage.h"

VizoLanguage::VizoLanguage(const QVariantMap &entry, const QString &name, QVariantMap languageData)
    : m_name(name), m_code(quint16(entry.value(QStringLiteral("Code")).toLongLong())),
      m_ocrBitMask(bitFromIndex(entry.value(QStringLiteral("OCRBitMask")).toLongLong())),
      m_languageData(std::move(languageData))
{
}
