#pragma once
// Codes of the payloads the device sends: group byte and command byte.
// Switch on key() of a payload: `case VizoReport::ZoomLevelChanged.key():`.
#include <QByteArray>

#include <cstdint>

struct VizoCode
{
    std::uint8_t group;
    std::uint8_t command;
    constexpr std::uint16_t key() const { return std::uint16_t((group << 8) | command); }
    friend constexpr bool operator==(VizoCode, VizoCode) = default;
};

// Key of a payload's first two bytes, or -1 when it is shorter than that.
inline int vizoPayloadKey(const QByteArray &payload)
{
    if (payload.size() < 2)
        return -1;
    return (std::uint8_t(payload[0]) << 8) | std::uint8_t(payload[1]);
}

namespace VizoReport {
inline constexpr VizoCode BatteryInfo{0x25, 0x04};           // UTF-8 text to the end
inline constexpr VizoCode ZoomLevelChanged{0x26, 0x00};      // v: zoom level
inline constexpr VizoCode ColorSlotChanged{0x26, 0x01};      // slot of the current view
inline constexpr VizoCode CameraModeChanged{0x26, 0x02};     // 0 distance, 1 near, 3 input off
inline constexpr VizoCode AutoScrollStateChanged{0x26, 0x03}; // 0 running, other stopped
inline constexpr VizoCode OcrStateChanged{0x26, 0x04};       // 0 entered, 1 left, 2 input off, 3 preview
inline constexpr VizoCode MenuKey{0x26, 0x05};               // 0 open the menu, other close
inline constexpr VizoCode FocusLockChanged{0x26, 0x06};      // 1 on
inline constexpr VizoCode ImageModeChanged{0x26, 0x07};      // 1 entered, 0 left
inline constexpr VizoCode DeviceVersion{0x26, 0x08};         // edition code
inline constexpr VizoCode ContrastChanged{0x26, 0x09};       // contrast of the current view
inline constexpr VizoCode SdCardStatus{0x26, 0x0A};          // 0 no card, 1 card fault
inline constexpr VizoCode VoiceGuideChanged{0x26, 0x0B};     // 1 on
inline constexpr VizoCode TtsVolumeChanged{0x26, 0x0D};      // speech volume
inline constexpr VizoCode OcrPreviewChanged{0x26, 0x0F};     // 0 camera preview, 1 back to OCR
inline constexpr VizoCode FunctionsLocked{0x26, 0x10};       // 1 all functions locked
inline constexpr VizoCode RegionCode{0x26, 0x12};            // region code
inline constexpr VizoCode BatteryNotice{0x26, 0x18};         // charge level
inline constexpr VizoCode DeviceDisconnecting{0x26, 0x1B};   // no parameter
inline constexpr VizoCode FileListData{0x31, 0x01};          // kind, then data (multi-frame)
inline constexpr VizoCode OptionFileData{0x31, 0x04};        // data (multi-frame)
inline constexpr VizoCode DeleteResult{0x51, 0x00};          // 0 images, 1 OCR texts

// Where the data of a multi-frame transfer start in each frame's payload.
inline constexpr int fileListDataOffset = 3;
inline constexpr int optionFileDataOffset = 2;
} // namespace VizoReport
