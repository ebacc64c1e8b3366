#pragma once
// The languages of the virtual device's region, taken once from the region
// tables the viewer uses, so that a language code the viewer sends names the
// same language on both sides. Immutable after construction: any thread may
// read it.
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

struct VizoSimRegion
{
    struct Language
    {
        int code = 0;
        QString name;
        std::uint32_t ocrBit = 0;
    };
    struct OcrLanguage
    {
        QString name;
        std::uint32_t bit = 0;
    };

    QList<Language> languages;
    QList<OcrLanguage> ocrLanguages;

    // Reads the application's region tables: main thread only.
    static VizoSimRegion fromResources(int regionCode);

    // The language with that code (the last one listed, as the viewer picks
    // it); nullptr when the region has none.
    const Language *language(int code) const;
    // Names of the OCR languages whose bits are set in `mask`, in table order.
    QStringList ocrNames(std::uint32_t mask) const;
    // The battery text as the device words it in a language.
    static QString batteryText(const QString &languageName, int level);
};
