#include "settings/VizoRegion.h"

#include "settings/VizoResources.h"
#include "settings/VizoSettingsLog.h"

VizoRegion::VizoRegion(int regionCode)
{
    build(regionCode, VizoResources::propertyList(QStringLiteral("Regions")),
          VizoResources::propertyList(QStringLiteral("Languages")),
          [](const QString &name) { return VizoResources::propertyList(name); });
}

VizoRegion::VizoRegion(int regionCode, const QVariantMap &regions, const QVariantMap &languages,
                       const TextTableLoader &loadTextTable)
{
    build(regionCode, regions, languages, loadTextTable);
}

void VizoRegion::build(int regionCode, const QVariantMap &regions, const QVariantMap &languages,
                       const TextTableLoader &loadTextTable)
{
    QVariantMap entry;
    bool found = false;
    for (auto it = regions.cbegin(); it != regions.cend(); ++it) {
        const QVariantMap candidate = it.value().toMap();
        const QVariant code = candidate.value(QStringLiteral("RegionCode"));
        if (code.isValid() && code.toLongLong() == regionCode) {
            entry = candidate;
            found = true;
            break;
        }
    }
    if (!found) {
        entry = regions.value(QStringLiteral("Beta")).toMap();
        if (entry.isEmpty())
            qCWarning(lcVizoSettings) << "region table has no \"Beta\" entry";
    }

    const QVariantMap uiTable = languages.value(QStringLiteral("Languages")).toMap();
    const QVariantMap ocrTable = languages.value(QStringLiteral("OCRLanguages")).toMap();
    for (const QVariant &v : entry.value(QStringLiteral("Languages")).toList()) {
        const QString name = v.toString();
        QVariantMap data = loadTextTable ? loadTextTable(name) : QVariantMap();
        m_languages.append(VizoLanguage(uiTable.value(name).toMap(), name, std::move(data)));
    }
    for (const QVariant &v : entry.value(QStringLiteral("OCRLanguages")).toList()) {
        const QString name = v.toString();
        m_ocrLanguages.append(VizoOCRLanguage(ocrTable.value(name).toMap(), name));
    }
    m_regionCode = quint8(entry.value(QStringLiteral("RegionCode")).toLongLong());
    m_languageDisplayName = entry.value(QStringLiteral("LanguageDisplayName")).toMap();
    m_ocrLanguageDisplayName = entry.value(QStringLiteral("OCRLanguageDisplayName")).toMap();
    // A region without languages has no current one; the settings then fall
    // back to the English texts.
    m_current = m_languages.isEmpty() ? -1 : 0;
}

bool VizoRegion::setCurrentLanguageWithCode(int code)
{
    qsizetype match = -1;
    for (qsizetype i = 0; i < m_languages.size(); ++i)
        if (m_languages[i].code() == code)
            match = i;
    if (match < 0)
        return false;
    m_current = match;
    return true;
}

const VizoLanguage *VizoRegion::getCurrentLanguage() const
{
    return m_current >= 0 && m_current < m_languages.size() ? &m_languages[m_current] : nullptr;
}

QString VizoRegion::displayName(const QVariantMap &table, const QString &name) const
{
    const VizoLanguage *current = getCurrentLanguage();
    if (!current)
        return {};
    const QVariant names = table.value(current->name());
    if (!names.isValid())
        return {};
    const QVariant text = names.toMap().value(name);
    return text.isValid() ? text.toString() : QString();
}

QString VizoRegion::getLanguageDisplayName(const VizoLanguage &language) const
{
    return displayName(m_languageDisplayName, language.name());
}

QString VizoRegion::getOCRLanguageDisplayName(const VizoOCRLanguage &language) const
{
    return displayName(m_ocrLanguageDisplayName, language.name());
}
