#include "DeviceCommands.h"

namespace DeviceCommands {

namespace {
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    out.reserve(qsizetype(values.size()));
    for (int v : values)
        out.append(char(v));
    return out;
}
} // namespace

QByteArray menuOpened() { return bytes({0x24, 0x00}); }
QByteArray menuClosed() { return bytes({0x24, 0x01}); }
QByteArray hostClosing() { return bytes({0x40, 0x00}); }
QByteArray hostConnectedUsb2() { return bytes({0x40, 0x01}); }
QByteArray hostConnectedUsb3() { return bytes({0x40, 0x02}); }
QByteArray requestFileList(int kind) { return bytes({0x30, 0x01, kind & 0xFF}); }
QByteArray requestOptionFile() { return bytes({0x30, 0x04}); }
QByteArray findPositionEnd() { return bytes({0x20, 0x0A}); }
QByteArray ocrExit() { return bytes({0x23, 0x0B}); }

QByteArray speakText(const QString &text)
{
    // UTF-16 little-endian, at most 126 bytes (63 code units).
    QByteArray out = bytes({0x25, 0x06});
    const qsizetype units = std::min<qsizetype>(text.size(), 63);
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t u = text.at(i).unicode();
        out.append(char(u & 0xFF));
        out.append(char(u >> 8));
    }
    return out;
}

} // namespace DeviceCommands
