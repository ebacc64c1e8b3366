#include "protocol/VizoCommands.h"

#include "protocol/VizoFrame.h"

#include <cstring>

namespace VizoCmd {

namespace {

QByteArray utf16le(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

} // namespace

template <std::size_t Area>
TextRecord<Area>::TextRecord(std::uint8_t group, std::uint8_t command, const QByteArray &text)
{
    bytes[0] = group;
    bytes[1] = command;
    count = std::uint32_t(qMin<qsizetype>(text.size(), qsizetype(Area)));
    std::memcpy(bytes + 2, text.constData(), count);
}

template struct TextRecord<13>;
template struct TextRecord<128>;
template struct TextRecord<256>;

std::uint8_t colorSlotCode(int cameraMode, int slotIndex)
{
    return std::uint8_t(cameraMode == 1 ? slotIndex + 6 : slotIndex - 1);
}

std::uint8_t contrastTarget(int cameraMode, int slotTextColor)
{
    const int near = cameraMode == 1 ? 1 : 0;
    const int other = (slotTextColor == 1 || slotTextColor == 10) ? 0 : 1;
    return std::uint8_t(3 + 2 * near + other);
}

QByteArray speechBytes(const QString &text)
{
    qsizetype units = text.size();
    if (units * 2 > speechByteLimit) {
        units = speechByteLimit / 2;
        // Cutting between the halves of a surrogate pair would send a broken
        // character; leave the whole pair out instead.
        if (text.at(units - 1).isHighSurrogate())
            --units;
    }
    return utf16le(QStringView(text).first(units));
}

VizoResult<QByteArray> pathBytes(const QString &path)
{
    if (path.size() > pathUnitLimit)
        return VizoResult<QByteArray>::failure(
            QStringLiteral("Path too long for the device (%1 UTF-16 code units, at most %2): %3")
                .arg(path.size())
                .arg(pathUnitLimit)
                .arg(path));
    return utf16le(path);
}

VizoResult<QByteArray> passwordBytes(const QString &password)
{
    QByteArray bytes = password.toUtf8();
    // The password ends at its terminating zero.
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    if (bytes.size() > passwordByteLimit)
        return VizoResult<QByteArray>::failure(QStringLiteral("Passwords is to big"));
    return bytes;
}

VizoResult<SetWifiPassword> SetWifiPassword::fromText(const QString &password)
{
    auto bytes = passwordBytes(password);
    if (!bytes)
        return VizoResult<SetWifiPassword>::failure(bytes.error());
    return SetWifiPassword(*bytes);
}

VizoResult<ImageOpen> ImageOpen::fromPath(const QString &path)
{
    auto bytes = pathBytes(path);
    if (!bytes)
        return VizoResult<ImageOpen>::failure(bytes.error());
    return ImageOpen(*bytes);
}

VizoResult<OcrOpenFile> OcrOpenFile::fromPath(const QString &path)
{
    auto bytes = pathBytes(path);
    if (!bytes)
        return VizoResult<OcrOpenFile>::failure(bytes.error());
    return OcrOpenFile(*bytes);
}

SpeakText::SpeakText(const QString &text) : TextRecord(0x25, 0x06, speechBytes(text)) {}

DeleteFiles::DeleteFiles(std::uint16_t total, const QStringList &paths)
{
    m_payload.append(char(0x21));
    m_payload.append(char(0x03));
    m_payload.append(char(total & 0xFF));
    m_payload.append(char(total >> 8));
    m_payload.append(utf16le(paths.join(QStringLiteral("::"))));
}

VizoResult<QList<QByteArray>> deleteFilesPayloads(const QStringList &paths, int listLimit)
{
    using Result = VizoResult<QList<QByteArray>>;
    if (paths.size() > 0xFFFF)
        return Result::failure(QStringLiteral("Too many files to delete at once (%1, at most 65535)")
                                   .arg(paths.size()));
    const auto total = std::uint16_t(paths.size());
    QList<QByteArray> payloads;
    QStringList frame;
    qsizetype listBytes = 0;
    auto close = [&] {
        payloads.append(DeleteFiles(total, frame).payload());
        frame.clear();
        listBytes = 0;
    };
    for (const QString &path : paths) {
        if (!frame.isEmpty())
            listBytes += 4; // "::"
        listBytes += path.size() * 2;
        frame.append(path);
        if (listBytes > listLimit)
            close();
    }
    if (!frame.isEmpty())
        close();
    for (const QByteArray &payload : payloads)
        if (std::size_t(payload.size()) > VizoFrame::maxPayload)
            return Result::failure(QStringLiteral("File paths too long to delete in one frame"));
    return payloads;
}

} // namespace VizoCmd
