#include "sim/VizoSimRegion.h"

#include "settings/VizoRegion.h"

VizoSimRegion VizoSimRegion::fromResources(int regionCode)
{
    const VizoRegion region(regionCode);
    VizoSimRegion out;
    for (const VizoLanguage &l : region.languages())
        out.languages.append({l.code(), l.name(), l.ocrBitMask()});
    for (const VizoOCRLanguage &l : region.ocrLanguages())
        out.ocrLanguages.append({l.name(), l.bitMask()});
    return out;
}

const VizoSimRegion::Language *VizoSimRegion::language(int code) const
{
    const Language *found = nullptr;
    for (const Language &l : languages)
        if (l.code == code)
            found = &l;
    return found;
}

QStringList VizoSimRegion::ocrNames(std::uint32_t mask) const
{
    QStringList names;
    for (const OcrLanguage &l : ocrLanguages)
        if (mask & l.bit)
            names << l.name;
    return names;
}

QString VizoSimRegion::batteryText(const QString &languageName, int level)
{
    const auto is = [&](const char *name) { return languageName == QLatin1String(name); };
    const char *format = "%1% charged";
    if (is("French"))
        format = "chargée à %1 %";
    else if (is("German"))
        format = "%1 % geladen";
    else if (is("Spanish"))
        format = "%1 % de carga";
    else if (is("Italian"))
        format = "carica al %1%";
    else if (is("Japanese"))
        format = "充電 %1%";
    else if (is("Korean"))
        format = "충전 %1%";
    return QString::fromUtf8(format).arg(level);
}
