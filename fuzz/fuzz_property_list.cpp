// Fuzzes the property-list reader; whatever it accepts must serialise and
// read back.
#include <bramble/BrPropertyList.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const QVariant root = BrPropertyList::parse(bytes, &error);
    if (!root.isValid())
        return 0;
    const QByteArray xml = BrPropertyList::serialize(root, &error);
    if (xml.isEmpty() || !BrPropertyList::parse(xml, &error).isValid())
        std::abort(); // what was read must write and read back
    return 0;
}
