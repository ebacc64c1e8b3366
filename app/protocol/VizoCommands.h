#pragma once
// One record per command the viewer sends. A record holds exactly the payload
// bytes in wire order (group, command, parameters); hand data()/size() or
// payload() to VizoProtocolChannel::writeVizoPacket(). Parameters wider than
// a byte are little-endian. Texts go out as UTF-16LE without terminator,
// except the Wi-Fi password, which goes out as its own bytes.
//
// Records that may refuse their input (paths, password) have no public
// constructor; their factory returns a VizoResult that carries the reason.
#include "protocol/VizoResult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace VizoCmd {

// Fixed-size payload of N bytes.
template <std::size_t N>
struct Record
{
    std::uint8_t bytes[N];

    template <typename... B>
    constexpr explicit Record(B... b) : bytes{std::uint8_t(b)...}
    {
        static_assert(sizeof...(B) == N);
    }
    const void *data() const { return bytes; }
    std::size_t size() const { return N; }
    QByteArray payload() const { return QByteArray(reinterpret_cast<const char *>(bytes), N); }
};

// Payload with a text area of Area bytes after group and command; only
// `count` of them are sent.
template <std::size_t Area>
struct TextRecord
{
    std::uint8_t bytes[2 + Area] = {};
    std::uint32_t count = 0;

    const void *data() const { return bytes; }
    std::size_t size() const { return count + 2; }
    QByteArray payload() const { return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size())); }

protected:
    TextRecord(std::uint8_t group, std::uint8_t command, const QByteArray &text);
};

// Parameter values that have names.
enum ZoomAction : std::uint8_t { ZoomIn = 0, ZoomOut = 1, ZoomStop = 2 };
enum MoveDirection : std::uint8_t {
    MoveUp = 0, MoveDown = 1, MoveLeft = 2, MoveRight = 3,
    MoveUpLeft = 4, MoveUpRight = 5, MoveDownLeft = 6, MoveDownRight = 7, MoveStop = 0x0A
};
enum ColorStep : std::uint8_t { ColorNext = 0, ColorPrevious = 1 };
enum ContrastStep : std::uint8_t { ContrastUp = 0, ContrastDown = 1 };
enum ViewCode : std::uint8_t { DistanceView = 0, NearView = 1, ViewBookmark = 2 };
enum FileKind : std::uint8_t { ImageFiles = 1, OcrFiles = 2 };
enum MarkerAction : std::uint8_t {
    MarkerBegin = 0, MarkerCancel = 1, MarkerStepForward = 2, MarkerStepBack = 3, MarkerConfirm = 0x0A
};

inline constexpr int speechByteLimit = 126;
inline constexpr int pathUnitLimit = 64;       // 128 bytes of UTF-16
inline constexpr int passwordByteLimit = 12;
inline constexpr int deleteListLimit = 40000;  // UTF-16 bytes of paths per frame

// Slot code of SetColorSlot: near view (camera mode 1) slot index + 6,
// distance view slot index - 1, both modulo 256.
std::uint8_t colorSlotCode(int cameraMode, int slotIndex);
// Contrast target of SetContrast: 3 + 2 * near + (text colour neither 1 nor 10).
std::uint8_t contrastTarget(int cameraMode, int slotTextColor);

// Group 0x05: colour slots.
struct SetColorSlot : Record<4> { SetColorSlot(std::uint8_t slot, std::uint8_t text, std::uint8_t bg) : Record(0x05, slot, text, bg) {} };
// Group 0x06: contrast.
struct SetContrast : Record<4> { SetContrast(std::uint8_t target, std::uint16_t value) : Record(0x06, target, value & 0xFF, value >> 8) {} };
// Group 0x07: markers.
struct MarkersOff : Record<2> { MarkersOff() : Record(0x07, 0x00) {} };
struct SetMarkerType : Record<3> { SetMarkerType(std::uint8_t view, std::uint8_t type) : Record(0x07, view, type) {} };
struct MarkerAdjust : Record<3> { explicit MarkerAdjust(std::uint8_t action) : Record(0x07, 0x03, action) {} };
// Group 0x08: options and auto-scroll.
struct SetFocusLock : Record<3> { explicit SetFocusLock(std::uint8_t v) : Record(0x08, 0x00, v) {} };
struct SetVoiceGuide : Record<3> { explicit SetVoiceGuide(std::uint8_t v) : Record(0x08, 0x01, v) {} };
struct ResetSettings : Record<3> { explicit ResetSettings(std::uint8_t t) : Record(0x08, 0x03, t) {} };
struct SetJoystickSensitivity : Record<3> { explicit SetJoystickSensitivity(std::uint8_t v) : Record(0x08, 0x04, v) {} };
struct AutoScrollExit : Record<3> { AutoScrollExit() : Record(0x08, 0x05, 0x00) {} };
struct AutoScrollEnter : Record<3> { AutoScrollEnter() : Record(0x08, 0x05, 0x01) {} };
struct AutoScrollPlay : Record<3> { AutoScrollPlay() : Record(0x08, 0x05, 0x02) {} };
struct AutoScrollPause : Record<3> { AutoScrollPause() : Record(0x08, 0x05, 0x03) {} };
struct SetAutoScrollSpeed : Record<4> { explicit SetAutoScrollSpeed(std::uint8_t v) : Record(0x08, 0x05, 0x04, v) {} };
struct SetAutoScrollRange : Record<4> { explicit SetAutoScrollRange(std::uint8_t v) : Record(0x08, 0x05, 0x05, v) {} };
struct AutoScrollStartPosition : Record<3> { AutoScrollStartPosition() : Record(0x08, 0x05, 0x06) {} };
struct AutoScrollEndPosition : Record<3> { AutoScrollEndPosition() : Record(0x08, 0x05, 0x07) {} };
struct AutoScrollRangeConfirm : Record<3> { AutoScrollRangeConfirm() : Record(0x08, 0x05, 0x08) {} };
struct AutoScrollRangeCancel : Record<3> { AutoScrollRangeCancel() : Record(0x08, 0x05, 0x09) {} };
struct SetAutoScrollDirection : Record<4> { explicit SetAutoScrollDirection(std::uint8_t v) : Record(0x08, 0x05, 0x0A, v) {} };
struct AutoScrollNextLine : Record<3> { AutoScrollNextLine() : Record(0x08, 0x05, 0x0B) {} };
struct SetLanguage : Record<3> { explicit SetLanguage(std::uint8_t code) : Record(0x08, 0x06, code) {} };
struct DistanceViewDirection : Record<3> { explicit DistanceViewDirection(std::uint8_t action) : Record(0x08, 0x08, action) {} };
// Group 0x09: Wi-Fi password, 12 bytes at most, sent without its terminator.
struct SetWifiPassword : TextRecord<13>
{
    // Fails with "Passwords is to big" for 13 bytes or more (UTF-8).
    static VizoResult<SetWifiPassword> fromText(const QString &password);
private:
    explicit SetWifiPassword(const QByteArray &bytes) : TextRecord(0x09, 0x00, bytes) {}
};
// Group 0x0A: OCR and speech settings.
struct SetOcrFieldMode : Record<3> { explicit SetOcrFieldMode(std::uint8_t v) : Record(0x0A, 0x00, v) {} };
struct SetOcrViewMode : Record<3> { explicit SetOcrViewMode(std::uint8_t v) : Record(0x0A, 0x01, v) {} };
struct SetTtsType : Record<3> { explicit SetTtsType(std::uint8_t v) : Record(0x0A, 0x02, v) {} };
struct SetTtsSpeed : Record<3> { explicit SetTtsSpeed(std::uint8_t v) : Record(0x0A, 0x03, v) {} };
struct SetOcrLanguages : Record<6>
{
    explicit SetOcrLanguages(std::uint32_t mask)
        : Record(0x0A, 0x04, mask & 0xFF, (mask >> 8) & 0xFF, (mask >> 16) & 0xFF, mask >> 24) {}
};
struct SetOcrDeskew : Record<3> { explicit SetOcrDeskew(std::uint8_t b) : Record(0x0A, 0x05, b) {} };
struct SetOcrPerspective : Record<3> { explicit SetOcrPerspective(std::uint8_t b) : Record(0x0A, 0x06, b) {} };
struct SetTtsVolume : Record<3> { explicit SetTtsVolume(std::uint8_t v) : Record(0x0A, 0x07, v) {} };
struct SetTtsPitch : Record<3> { explicit SetTtsPitch(std::uint8_t v) : Record(0x0A, 0x08, v) {} };
// Group 0x20: camera mode.
struct CameraZoom : Record<3> { explicit CameraZoom(std::uint8_t a) : Record(0x20, 0x00, a) {} };
struct SelectView : Record<3> { explicit SelectView(std::uint8_t v) : Record(0x20, 0x01, v) {} };
struct CameraMove : Record<3> { explicit CameraMove(std::uint8_t d) : Record(0x20, 0x03, d) {} };
struct CameraMoveSpeed : Record<4> { explicit CameraMoveSpeed(std::uint8_t level) : Record(0x20, 0x03, 0x0B, level) {} };
struct CameraColor : Record<3> { explicit CameraColor(std::uint8_t d) : Record(0x20, 0x04, d) {} };
struct FindPositionStart : Record<2> { FindPositionStart() : Record(0x20, 0x09) {} };
struct FindPositionEnd : Record<2> { FindPositionEnd() : Record(0x20, 0x0A) {} };
struct EasyColorChange : Record<3> { explicit EasyColorChange(std::uint8_t v) : Record(0x20, 0x0B, v) {} };
struct NextLine : Record<2> { NextLine() : Record(0x20, 0x0C) {} };
// Group 0x21: image mode and stored images.
struct ImageSave : Record<2> { ImageSave() : Record(0x21, 0x00) {} };
struct ImageOpen : TextRecord<128>
{
    // Refuses a path longer than 64 UTF-16 code units (the device's field).
    static VizoResult<ImageOpen> fromPath(const QString &path);
private:
    explicit ImageOpen(const QByteArray &utf16) : TextRecord(0x21, 0x01, utf16) {}
};
struct ImageClose : Record<2> { ImageClose() : Record(0x21, 0x02) {} };
// DeleteFiles: 21 03, the total number of selected files (16 bits), then the
// paths of this frame joined by "::" in UTF-16LE.
struct DeleteFiles
{
    DeleteFiles(std::uint16_t total, const QStringList &paths);
    const void *data() const { return m_payload.constData(); }
    std::size_t size() const { return std::size_t(m_payload.size()); }
    QByteArray payload() const { return m_payload; }
private:
    QByteArray m_payload;
};
struct ImageColor : Record<3> { explicit ImageColor(std::uint8_t d) : Record(0x21, 0x04, d) {} };
struct ImageZoom : Record<3> { explicit ImageZoom(std::uint8_t a) : Record(0x21, 0x05, a) {} };
struct ImageMove : Record<3> { explicit ImageMove(std::uint8_t d) : Record(0x21, 0x06, d) {} };
struct ImageContrast : Record<3> { explicit ImageContrast(std::uint8_t d) : Record(0x21, 0x07, d) {} };
// Group 0x23: OCR mode.
struct OcrStart : Record<2> { OcrStart() : Record(0x23, 0x00) {} };
struct OcrPlay : Record<2> { OcrPlay() : Record(0x23, 0x02) {} };
struct OcrPause : Record<2> { OcrPause() : Record(0x23, 0x03) {} };
struct OcrPrevLine : Record<2> { OcrPrevLine() : Record(0x23, 0x04) {} };
struct OcrNextLine : Record<2> { OcrNextLine() : Record(0x23, 0x05) {} };
struct OcrPrevParagraph : Record<2> { OcrPrevParagraph() : Record(0x23, 0x06) {} };
struct OcrNextParagraph : Record<2> { OcrNextParagraph() : Record(0x23, 0x07) {} };
struct OcrSave : Record<2> { OcrSave() : Record(0x23, 0x08) {} };
struct OcrExit : Record<2> { OcrExit() : Record(0x23, 0x0B) {} };
struct OcrZoom : Record<3> { explicit OcrZoom(std::uint8_t a) : Record(0x23, 0x0C, a) {} };
struct OcrColor : Record<3> { explicit OcrColor(std::uint8_t d) : Record(0x23, 0x0D, d) {} };
struct OcrOpenFile : TextRecord<128>
{
    // Refuses a path longer than 64 UTF-16 code units (the device's field).
    static VizoResult<OcrOpenFile> fromPath(const QString &path);
private:
    explicit OcrOpenFile(const QByteArray &utf16) : TextRecord(0x23, 0x0E, utf16) {}
};
struct OcrContrast : Record<3> { explicit OcrContrast(std::uint8_t d) : Record(0x23, 0x10, d) {} };
struct OcrCameraPreview : Record<2> { OcrCameraPreview() : Record(0x23, 0x11) {} };
// Group 0x24: menu.
struct MenuOpened : Record<2> { MenuOpened() : Record(0x24, 0x00) {} };
struct MenuClosed : Record<2> { MenuClosed() : Record(0x24, 0x01) {} };
// Group 0x25: speech and battery.
struct RequestBatteryInfo : Record<2> { RequestBatteryInfo() : Record(0x25, 0x04) {} };
struct SpeakText : TextRecord<256>
{
    // Sends at most 126 bytes (63 code units), never half a surrogate pair.
    explicit SpeakText(const QString &text);
};
// Group 0x30: file requests.
struct RequestFileList : Record<3> { explicit RequestFileList(std::uint8_t kind) : Record(0x30, 0x01, kind) {} };
struct RequestOptionFile : Record<2> { RequestOptionFile() : Record(0x30, 0x04) {} };
// Group 0x40: host link.
struct HostClosing : Record<2> { HostClosing() : Record(0x40, 0x00) {} };
struct HostConnectedUsb2 : Record<2> { HostConnectedUsb2() : Record(0x40, 0x01) {} };
struct HostConnectedUsb3 : Record<2> { HostConnectedUsb3() : Record(0x40, 0x02) {} };

// Text bytes as the records send them (shared with the catalogue's encoder).
QByteArray speechBytes(const QString &text);
VizoResult<QByteArray> pathBytes(const QString &path);
VizoResult<QByteArray> passwordBytes(const QString &password);

// Splits a deletion into the payloads of its frames. Every path appears once,
// in selection order; a frame closes as soon as its joined list exceeds
// `listLimit` UTF-16 bytes (the path that crossed included). Every frame's
// count field holds the total. No paths: no payloads. Fails when the total
// does not fit 16 bits or a frame would not fit the 16-bit length field.
VizoResult<QList<QByteArray>> deleteFilesPayloads(const QStringList &paths,
                                                  int listLimit = deleteListLimit);

} // namespace VizoCmd
