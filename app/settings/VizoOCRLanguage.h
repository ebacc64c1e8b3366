#pragma once
// One OCR language of a region and its bit in the OCR language mask.
#include <QString>
#include <QVariantMap>

class VizoOCRLanguage
{
public:
    VizoOCRLanguage() = default;
    // `entry` is the language's dictionary of the "OCRLanguages" table
    // ("BitMask" n gives the bit 1 << (n mod 32)); an empty entry gives bit 1.
    VizoOCRLanguage(const QVariantMap &entry, const QString &name);

    QString name() const { return m_name; }
    quint32 bitMask() const { return m_bitMask; }

private:
    QString m_name;
    quint32 m_bitMask = 1;
};
