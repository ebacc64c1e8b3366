#pragma once
// One interface (and speech) language of a region.
#include <QString>
#include <QVariantMap>

class VizoLanguage
{
public:
    VizoLanguage() = default;
    // `entry` is the language's dictionary of the "Languages" table ("Code",
    // "OCRBitMask"); an empty entry gives code 0 and OCR bit 1.
    // `languageData` is the language's text table (section -> key -> text).
    VizoLanguage(const QVariantMap &entry, const QString &name, QVariantMap languageData = {});

    QString name() const { return m_name; }
    int code() const { return m_code; }
    quint32 ocrBitMask() const { return m_ocrBitMask; }
    const QVariantMap &languageData() const { return m_languageData; }

    // The bit of OCR language number n: 1 shifted left by n modulo 32.
    static quint32 bitFromIndex(qint64 n) { return quint32(1) << (quint64(n) & 31u); }

private:
    QString m_name;
    int m_code = 0;
    quint32 m_ocrBitMask = 1;
    QVariantMap m_languageData;
};
