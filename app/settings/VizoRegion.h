#pragma once
// The device's sales region: its interface languages with their text tables,
// its OCR languages, their display names, and the current interface language.
// Built from the "Regions" and "Languages" tables; replaced as a whole when
// the device reports its region. Main thread only.
#include "settings/VizoLanguage.h"
#include "settings/VizoOCRLanguage.h"

#include <QList>
#include <QVariantMap>

#include <functional>

class VizoRegion
{
public:
    // Yields the text table of an interface language, by its name.
    using TextTableLoader = std::function<QVariantMap(const QString &languageName)>;

    // Builds the region from the application's resources. A code that no
    // entry lists (start-up uses -1) selects the "Beta" entry.
    explicit VizoRegion(int regionCode);
    // Builds the region from the given tables (the two resources' roots).
    VizoRegion(int regionCode, const QVariantMap &regions, const QVariantMap &languages,
               const TextTableLoader &loadTextTable);

    quint8 regionCode() const { return m_regionCode; }
    void setRegionCode(quint8 code) { m_regionCode = code; }
    const QList<VizoLanguage> &languages() const { return m_languages; }
    const QList<VizoOCRLanguage> &ocrLanguages() const { return m_ocrLanguages; }
    QVariantMap languageDisplayName() const { return m_languageDisplayName; }
    void setLanguageDisplayName(const QVariantMap &names) { m_languageDisplayName = names; }
    QVariantMap ocrLanguageDisplayName() const { return m_ocrLanguageDisplayName; }
    void setOcrLanguageDisplayName(const QVariantMap &names) { m_ocrLanguageDisplayName = names; }

    // Makes the language with `code` current (with duplicate codes the last
    // one listed wins). Returns false, changing nothing, when none has it.
    bool setCurrentLanguageWithCode(int code);
    // The current language; null only for a region without any language.
    const VizoLanguage *getCurrentLanguage() const;

    // Display text of a language in the current interface language; a null
    // string when either level of the table has no entry.
    QString getLanguageDisplayName(const VizoLanguage &language) const;
    QString getOCRLanguageDisplayName(const VizoOCRLanguage &language) const;

private:
    void build(int regionCode, const QVariantMap &regions, const QVariantMap &languages,
               const TextTableLoader &loadTextTable);
    QString displayName(const QVariantMap &table, const QString &name) const;

    quint8 m_regionCode = 0;
    QList<VizoLanguage> m_languages;
    QList<VizoOCRLanguage> m_ocrLanguages;
    QVariantMap m_languageDisplayName;
    QVariantMap m_ocrLanguageDisplayName;
    qsizetype m_current = -1;
};
