// Fuzzes the option-file parser and applying its pairs to a settings model:
// any bytes must parse, apply and write back without a crash.
#include "settings/VizoConfigParser.h"
#include "settings/VizoConfigWriter.h"
#include "settings/VizoSettings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static VizoSettings *settings = new VizoSettings;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    VizoConfigParser::parseData(bytes, [](const VizoOptionFileData &pairs) {
        settings->applyOptionFileData(pairs);
        (void)VizoConfigWriter::write(pairs);
    });
    for (int i = 0; i < 8; ++i)
        (void)settings->options()->colorModeForNear()->slot(i)->toString();
    settings->calcNextColor();
    settings->calcPrevColor();
    return 0;
}
