// Fuzzes the file-list parser and applying the list to a settings model.
#include "settings/VizoFileListBuilder.h"
#include "settings/VizoFileListParser.h"
#include "settings/VizoSettings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static VizoSettings *settings = new VizoSettings;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    VizoFileListParser::parseData(bytes, [](const std::optional<QStringList> &names) {
        const QStringList list = names.value_or(QStringList());
        settings->applyImageFileList(list);
        (void)VizoFileListBuilder::build(list);
    });
    return 0;
}
