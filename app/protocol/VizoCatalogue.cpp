#include "protocol/VizoCatalogue.h"

#include "protocol/VizoCommands.h"

namespace {

constexpr auto H = VizoDirection::HostToDevice;
constexpr auto D = VizoDirection::DeviceToHost;
using T = VizoTail;

// clang-format off
constexpr VizoCatalogueEntry catalogue[] = {
    // Viewer to device.
    {"SetColorSlot",            H, {0x05},             1, {1, 1, 1}, 3, T::None},
    {"SetContrast",             H, {0x06},             1, {1, 2},    2, T::None},
    {"MarkersOff",              H, {0x07, 0x00},       2, {},        0, T::None},
    {"SetMarkerType",           H, {0x07},             1, {1, 1},    2, T::None},
    {"MarkerAdjust",            H, {0x07, 0x03},       2, {1},       1, T::None},
    {"SetFocusLock",            H, {0x08, 0x00},       2, {1},       1, T::None},
    {"SetVoiceGuide",           H, {0x08, 0x01},       2, {1},       1, T::None},
    {"ResetSettings",           H, {0x08, 0x03},       2, {1},       1, T::None},
    {"SetJoystickSensitivity",  H, {0x08, 0x04},       2, {1},       1, T::None},
    {"AutoScrollExit",          H, {0x08, 0x05, 0x00}, 3, {},        0, T::None},
    {"AutoScrollEnter",         H, {0x08, 0x05, 0x01}, 3, {},        0, T::None},
    {"AutoScrollPlay",          H, {0x08, 0x05, 0x02}, 3, {},        0, T::None},
    {"AutoScrollPause",         H, {0x08, 0x05, 0x03}, 3, {},        0, T::None},
    {"SetAutoScrollSpeed",      H, {0x08, 0x05, 0x04}, 3, {1},       1, T::None},
    {"SetAutoScrollRange",      H, {0x08, 0x05, 0x05}, 3, {1},       1, T::None},
    {"AutoScrollStartPosition", H, {0x08, 0x05, 0x06}, 3, {},        0, T::None},
    {"AutoScrollEndPosition",   H, {0x08, 0x05, 0x07}, 3, {},        0, T::None},
    {"AutoScrollRangeConfirm",  H, {0x08, 0x05, 0x08}, 3, {},        0, T::None},
    {"AutoScrollRangeCancel",   H, {0x08, 0x05, 0x09}, 3, {},        0, T::None},
    {"SetAutoScrollDirection",  H, {0x08, 0x05, 0x0A}, 3, {1},       1, T::None},
    {"AutoScrollNextLine",      H, {0x08, 0x05, 0x0B}, 3, {},        0, T::None},
    {"SetLanguage",             H, {0x08, 0x06},       2, {1},       1, T::None},
    {"DistanceViewDirection",   H, {0x08, 0x08},       2, {1},       1, T::None},
    {"SetWifiPassword",         H, {0x09, 0x00},       2, {},        0, T::Password},
    {"SetOcrFieldMode",         H, {0x0A, 0x00},       2, {1},       1, T::None},
    {"SetOcrViewMode",          H, {0x0A, 0x01},       2, {1},       1, T::None},
    {"SetTtsType",              H, {0x0A, 0x02},       2, {1},       1, T::None},
    {"SetTtsSpeed",             H, {0x0A, 0x03},       2, {1},       1, T::None},
    {"SetOcrLanguages",         H, {0x0A, 0x04},       2, {4},       1, T::None},
    {"SetOcrDeskew",            H, {0x0A, 0x05},       2, {1},       1, T::None},
    {"SetOcrPerspective",       H, {0x0A, 0x06},       2, {1},       1, T::None},
    {"SetTtsVolume",            H, {0x0A, 0x07},       2, {1},       1, T::None},
    {"SetTtsPitch",             H, {0x0A, 0x08},       2, {1},       1, T::None},
    {"CameraZoom",              H, {0x20, 0x00},       2, {1},       1, T::None},
    {"SelectView",              H, {0x20, 0x01},       2, {1},       1, T::None},
    {"CameraMove",              H, {0x20, 0x03},       2, {1},       1, T::None},
    {"CameraMoveSpeed",         H, {0x20, 0x03, 0x0B}, 3, {1},       1, T::None},
    {"CameraColor",             H, {0x20, 0x04},       2, {1},       1, T::None},
    {"FindPositionStart",       H, {0x20, 0x09},       2, {},        0, T::None},
    {"FindPositionEnd",         H, {0x20, 0x0A},       2, {},        0, T::None},
    {"EasyColorChange",         H, {0x20, 0x0B},       2, {1},       1, T::None},
    {"NextLine",                H, {0x20, 0x0C},       2, {},        0, T::None},
    {"ImageSave",               H, {0x21, 0x00},       2, {},        0, T::None},
    {"ImageOpen",               H, {0x21, 0x01},       2, {},        0, T::Path},
    {"ImageClose",              H, {0x21, 0x02},       2, {},        0, T::None},
    {"DeleteFiles",             H, {0x21, 0x03},       2, {2},       1, T::PathList},
    {"ImageColor",              H, {0x21, 0x04},       2, {1},       1, T::None},
    {"ImageZoom",               H, {0x21, 0x05},       2, {1},       1, T::None},
    {"ImageMove",               H, {0x21, 0x06},       2, {1},       1, T::None},
    {"ImageContrast",           H, {0x21, 0x07},       2, {1},       1, T::None},
    {"OcrStart",                H, {0x23, 0x00},       2, {},        0, T::None},
    {"OcrPlay",                 H, {0x23, 0x02},       2, {},        0, T::None},
    {"OcrPause",                H, {0x23, 0x03},       2, {},        0, T::None},
    {"OcrPrevLine",             H, {0x23, 0x04},       2, {},        0, T::None},
    {"OcrNextLine",             H, {0x23, 0x05},       2, {},        0, T::None},
    {"OcrPrevParagraph",        H, {0x23, 0x06},       2, {},        0, T::None},
    {"OcrNextParagraph",        H, {0x23, 0x07},       2, {},        0, T::None},
    {"OcrSave",                 H, {0x23, 0x08},       2, {},        0, T::None},
    {"OcrExit",                 H, {0x23, 0x0B},       2, {},        0, T::None},
    {"OcrZoom",                 H, {0x23, 0x0C},       2, {1},       1, T::None},
    {"OcrColor",                H, {0x23, 0x0D},       2, {1},       1, T::None},
    {"OcrOpenFile",             H, {0x23, 0x0E},       2, {},        0, T::Path},
    {"OcrContrast",             H, {0x23, 0x10},       2, {1},       1, T::None},
    {"OcrCameraPreview",        H, {0x23, 0x11},       2, {},        0, T::None},
    {"MenuOpened",              H, {0x24, 0x00},       2, {},        0, T::None},
    {"MenuClosed",              H, {0x24, 0x01},       2, {},        0, T::None},
    {"RequestBatteryInfo",      H, {0x25, 0x04},       2, {},        0, T::None},
    {"SpeakText",               H, {0x25, 0x06},       2, {},        0, T::Speech},
    {"RequestFileList",         H, {0x30, 0x01},       2, {1},       1, T::None},
    {"RequestOptionFile",       H, {0x30, 0x04},       2, {},        0, T::None},
    {"HostClosing",             H, {0x40, 0x00},       2, {},        0, T::None},
    {"HostConnectedUsb2",       H, {0x40, 0x01},       2, {},        0, T::None},
    {"HostConnectedUsb3",       H, {0x40, 0x02},       2, {},        0, T::None},
    // Device to viewer.
    {"BatteryInfo",             D, {0x25, 0x04},       2, {},        0, T::Utf8Text},
    {"ZoomLevelChanged",        D, {0x26, 0x00},       2, {1},       1, T::None},
    {"ColorSlotChanged",        D, {0x26, 0x01},       2, {1},       1, T::None},
    {"CameraModeChanged",       D, {0x26, 0x02},       2, {1},       1, T::None},
    {"AutoScrollStateChanged",  D, {0x26, 0x03},       2, {1},       1, T::None},
    {"OcrStateChanged",         D, {0x26, 0x04},       2, {1},       1, T::None},
    {"MenuKey",                 D, {0x26, 0x05},       2, {1},       1, T::None},
    {"FocusLockChanged",        D, {0x26, 0x06},       2, {1},       1, T::None},
    {"ImageModeChanged",        D, {0x26, 0x07},       2, {1},       1, T::None},
    {"DeviceVersion",           D, {0x26, 0x08},       2, {1},       1, T::None},
    {"ContrastChanged",         D, {0x26, 0x09},       2, {1},       1, T::None},
    {"SdCardStatus",            D, {0x26, 0x0A},       2, {1},       1, T::None},
    {"VoiceGuideChanged",       D, {0x26, 0x0B},       2, {1},       1, T::None},
    {"TtsVolumeChanged",        D, {0x26, 0x0D},       2, {1},       1, T::None},
    {"OcrPreviewChanged",       D, {0x26, 0x0F},       2, {1},       1, T::None},
    {"FunctionsLocked",         D, {0x26, 0x10},       2, {1},       1, T::None},
    {"RegionCode",              D, {0x26, 0x12},       2, {1},       1, T::None},
    {"BatteryNotice",           D, {0x26, 0x18},       2, {1},       1, T::None},
    {"DeviceDisconnecting",     D, {0x26, 0x1B},       2, {},        0, T::None},
    {"FileListData",            D, {0x31, 0x01},       2, {1},       1, T::Data},
    {"OptionFileData",          D, {0x31, 0x04},       2, {},        0, T::Data},
    {"DeleteResult",            D, {0x51, 0x00},       2, {1},       1, T::None},
};
// clang-format on

bool prefixMatches(const VizoCatalogueEntry &e, const QByteArray &payload)
{
    if (payload.size() < e.prefixSize)
        return false;
    for (int i = 0; i < e.prefixSize; ++i)
        if (std::uint8_t(payload[i]) != e.prefix[std::size_t(i)])
            return false;
    return true;
}

bool sizeFits(const VizoCatalogueEntry &e, qsizetype size)
{
    return e.hasTail() ? size >= e.fixedSize() : size == e.fixedSize();
}

QString fromUtf16le(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(char16_t(std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8))));
    return text;
}

VizoResult<std::uint32_t> parseValue(const QString &arg, int width)
{
    bool ok = false;
    const qulonglong value = arg.toULongLong(&ok, 10);
    const qulonglong max = width == 4 ? 0xFFFFFFFFull : (1ull << (8 * width)) - 1;
    if (!ok || arg.startsWith(QLatin1Char('+')) || arg.trimmed() != arg)
        return VizoResult<std::uint32_t>::failure(
            QStringLiteral("not a decimal number: '%1'").arg(arg));
    if (value > max)
        return VizoResult<std::uint32_t>::failure(
            QStringLiteral("value out of range 0..%1: %2").arg(max).arg(arg));
    return std::uint32_t(value);
}

} // namespace

int VizoCatalogueEntry::fixedSize() const
{
    int size = prefixSize;
    for (int i = 0; i < paramCount; ++i)
        size += widths[std::size_t(i)];
    return size;
}

std::span<const VizoCatalogueEntry> vizoCatalogue()
{
    return catalogue;
}

const VizoCatalogueEntry *vizoCatalogueEntry(QAnyStringView name)
{
    for (const auto &e : catalogue)
        if (QAnyStringView::compare(name, QLatin1String(e.name), Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

VizoDecodedPayload vizoDecodePayload(VizoDirection direction, const QByteArray &payload)
{
    // The longest fixed prefix wins (MarkerAdjust 07 03 over SetMarkerType
    // 07 view), preferring an entry whose size fits the payload.
    const VizoCatalogueEntry *best = nullptr;
    bool bestFits = false;
    for (const auto &e : catalogue) {
        if (e.direction != direction || !prefixMatches(e, payload))
            continue;
        const bool fits = sizeFits(e, payload.size());
        if (!best || (fits && !bestFits) || (fits == bestFits && e.prefixSize > best->prefixSize)) {
            best = &e;
            bestFits = fits;
        }
    }
    VizoDecodedPayload out;
    out.entry = best;
    if (!best || !bestFits)
        return out;
    out.wellFormed = true;
    qsizetype at = best->prefixSize;
    for (int i = 0; i < best->paramCount; ++i) {
        std::uint32_t value = 0;
        const int width = best->widths[std::size_t(i)];
        for (int b = 0; b < width; ++b)
            value |= std::uint32_t(std::uint8_t(payload[at + b])) << (8 * b);
        out.values.append(value);
        at += width;
    }
    out.tailBytes = payload.mid(at);
    switch (best->tail) {
    case VizoTail::Speech:
    case VizoTail::Path:
    case VizoTail::PathList:
        out.text = fromUtf16le(out.tailBytes);
        break;
    case VizoTail::Password:
    case VizoTail::Utf8Text:
    case VizoTail::Data:
        out.text = QString::fromUtf8(out.tailBytes);
        break;
    case VizoTail::None:
        break;
    }
    return out;
}

VizoResult<QByteArray> vizoEncodePayload(const VizoCatalogueEntry &entry,
                                         const QList<std::uint32_t> &values, const QString &text)
{
    using Result = VizoResult<QByteArray>;
    if (values.size() != entry.paramCount)
        return Result::failure(QStringLiteral("%1 takes %2 parameter(s), got %3")
                                   .arg(QLatin1String(entry.name))
                                   .arg(entry.paramCount)
                                   .arg(values.size()));
    QByteArray payload;
    for (int i = 0; i < entry.prefixSize; ++i)
        payload.append(char(entry.prefix[std::size_t(i)]));
    for (int i = 0; i < entry.paramCount; ++i) {
        const int width = entry.widths[std::size_t(i)];
        const std::uint64_t max = (std::uint64_t(1) << (8 * width)) - 1;
        if (values[i] > max)
            return Result::failure(QStringLiteral("%1: value out of range 0..%2: %3")
                                       .arg(QLatin1String(entry.name))
                                       .arg(max)
                                       .arg(values[i]));
        for (int b = 0; b < width; ++b)
            payload.append(char((values[i] >> (8 * b)) & 0xFF));
    }
    switch (entry.tail) {
    case VizoTail::None:
        break;
    case VizoTail::Speech:
        payload.append(VizoCmd::speechBytes(text));
        break;
    case VizoTail::Path: {
        auto bytes = VizoCmd::pathBytes(text);
        if (!bytes)
            return Result::failure(bytes.error());
        payload.append(*bytes);
        break;
    }
    case VizoTail::Password: {
        auto bytes = VizoCmd::passwordBytes(text);
        if (!bytes)
            return Result::failure(bytes.error());
        payload.append(*bytes);
        break;
    }
    case VizoTail::PathList:
        for (QChar c : text) {
            payload.append(char(c.unicode() & 0xFF));
            payload.append(char(c.unicode() >> 8));
        }
        break;
    case VizoTail::Utf8Text:
    case VizoTail::Data:
        payload.append(text.toUtf8());
        break;
    }
    if (payload.size() > 0xFFFF)
        return Result::failure(QStringLiteral("%1: payload longer than 65535 bytes")
                                   .arg(QLatin1String(entry.name)));
    return payload;
}

VizoResult<QList<QByteArray>> vizoEncodeArguments(const VizoCatalogueEntry &entry,
                                                  const QStringList &arguments)
{
    using Result = VizoResult<QList<QByteArray>>;
    const QString name = QLatin1String(entry.name);
    if (entry.tail == VizoTail::PathList) {
        if (arguments.isEmpty())
            return Result::failure(name + QStringLiteral(" takes one or more paths"));
        return VizoCmd::deleteFilesPayloads(arguments);
    }
    const bool textTail = entry.hasTail();
    const int expected = entry.paramCount + (textTail ? 1 : 0);
    if (arguments.size() != expected)
        return Result::failure(QStringLiteral("%1 takes %2 argument(s), got %3")
                                   .arg(name)
                                   .arg(expected)
                                   .arg(arguments.size()));
    QList<std::uint32_t> values;
    for (int i = 0; i < entry.paramCount; ++i) {
        auto value = parseValue(arguments[i], entry.widths[std::size_t(i)]);
        if (!value)
            return Result::failure(name + QStringLiteral(": ") + value.error());
        values.append(*value);
    }
    auto payload = vizoEncodePayload(entry, values, textTail ? arguments.last() : QString());
    if (!payload)
        return Result::failure(payload.error());
    return QList<QByteArray>{*payload};
}
