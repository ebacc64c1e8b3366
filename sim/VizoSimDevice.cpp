#include "sim/VizoSimDevice.h"

#include "files/VizoFileListBuilder.h"
#include "protocol/VizoCatalogue.h"
#include "protocol/VizoCommands.h"
#include "protocol/VizoReports.h"
#include "settings/VizoConfigWriter.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcVizoSim, "vizo.sim", QtWarningMsg)

namespace {

constexpr int maxZoomLevel = 20;
const QString imageFolder = QStringLiteral("Image/");
const QString ocrFolder = QStringLiteral("OCR/");

QByteArray head(VizoCode code)
{
    QByteArray bytes;
    bytes.append(char(code.group));
    bytes.append(char(code.command));
    return bytes;
}

VizoSimFrame report(VizoCode code)
{
    return {head(code)};
}

VizoSimFrame report(VizoCode code, int value)
{
    return {head(code) + char(std::uint8_t(value))};
}

int viewOfSlotCode(int code, int *index)
{
    // Inverse of the viewer's slot code: near view index + 6, distance index - 1.
    if (code >= 7 && code <= 13) {
        *index = code - 6;
        return VizoSimState::Near;
    }
    *index = (code + 1) & 0xFF;
    return VizoSimState::Distance;
}

// Next enabled slot in direction d (0 next, 1 previous), wrapping.
int stepSlot(const VizoSimState &s, int d)
{
    const auto &palette = s.colorSlots[std::size_t(s.view())];
    int slot = s.selectedSlot[std::size_t(s.view())];
    for (int i = 0; i < VizoSimState::slotCount; ++i) {
        slot = (slot + (d == 1 ? VizoSimState::slotCount - 1 : 1)) % VizoSimState::slotCount;
        if (palette[std::size_t(slot)].textColor != 0)
            return slot;
    }
    return slot;
}

} // namespace

VizoSimDevice::VizoSimDevice(VizoSimState initial) : m_state(std::move(initial)) {}

VizoSimState VizoSimDevice::state() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}

bool VizoSimDevice::finished() const
{
    std::lock_guard lock(m_mutex);
    return m_finished;
}

std::vector<VizoSimFrame> VizoSimDevice::hello() const
{
    std::lock_guard lock(m_mutex);
    return {report(VizoReport::DeviceVersion, m_state.edition), report(VizoReport::RegionCode, m_state.region)};
}

std::vector<VizoSimFrame> VizoSimDevice::transfer(const QByteArray &head, const QByteArray &data, int chunk)
{
    const int chunks = std::max(1, int((data.size() + chunk - 1) / chunk));
    const auto count = std::uint16_t(chunks + 1);
    std::vector<VizoSimFrame> frames;
    frames.push_back({head, count, 1});
    for (int i = 0; i < chunks; ++i)
        frames.push_back({head + data.mid(qsizetype(i) * chunk, chunk), count, std::uint16_t(i + 2)});
    return frames;
}

QByteArray VizoSimDevice::optionFileText() const
{
    std::lock_guard lock(m_mutex);
    return optionFileText(m_state);
}

QByteArray VizoSimDevice::optionFileText(const VizoSimState &s)
{
    VizoOptionFileData d;
    auto num = [](qint64 v) { return QString::number(v); };
    d.insert(QStringLiteral("CameraMode"), num(s.cameraMode));
    for (int i = 1; i < VizoSimState::slotCount; ++i) {
        const auto &far = s.colorSlots[VizoSimState::Distance][std::size_t(i)];
        const auto &near = s.colorSlots[VizoSimState::Near][std::size_t(i)];
        d.insert(QStringLiteral("Distance_SelectColor%1").arg(i), VizoConfigWriter::colorPair(far.textColor, far.bgColor));
        d.insert(QStringLiteral("Near_SelectColor%1").arg(i), VizoConfigWriter::colorPair(near.textColor, near.bgColor));
    }
    d.insert(QStringLiteral("Distance_CurrentSelectColor"), num(s.selectedSlot[VizoSimState::Distance]));
    d.insert(QStringLiteral("Near_CurrentSelectColor"), num(s.selectedSlot[VizoSimState::Near]));
    d.insert(QStringLiteral("Distance_Contrast"), num(s.contrast[VizoSimState::Distance]));
    d.insert(QStringLiteral("Near_Contrast"), num(s.contrast[VizoSimState::Near]));
    d.insert(QStringLiteral("Distance_MarkerMode"), num(s.markerMode[VizoSimState::Distance]));
    d.insert(QStringLiteral("Near_MarkerMode"), num(s.markerMode[VizoSimState::Near]));
    d.insert(QStringLiteral("FocusLock"), num(s.focusLock));
    d.insert(QStringLiteral("VoiceGuide"), num(s.voiceGuide));
    d.insert(QStringLiteral("AutoScrollDirection"), num(s.autoScrollDirection));
    d.insert(QStringLiteral("AutoScrollSpeed"), num(s.autoScrollSpeed));
    d.insert(QStringLiteral("AutoScrollA4"), num(s.autoScrollRange));
    d.insert(QStringLiteral("Language"), num(s.language));
    d.insert(QStringLiteral("JoyStickSpeed"), num(s.joystickSensitivity));
    d.insert(QStringLiteral("WiFiPassword"), s.wifiPassword);
    d.insert(QStringLiteral("WiFiResolution"), num(s.wifiResolution));
    d.insert(QStringLiteral("OCRFieldMode"), num(s.ocrFieldMode));
    d.insert(QStringLiteral("OCRViewMode"), num(s.ocrViewMode));
    d.insert(QStringLiteral("OCRDeskew"), num(s.ocrDeskew));
    d.insert(QStringLiteral("OCRPerspective"), num(s.ocrPerspective));
    d.insert(QStringLiteral("TTSType"), num(s.ttsType));
    d.insert(QStringLiteral("TTSSpeed"), num(s.ttsSpeed));
    d.insert(QStringLiteral("TTSVolume"), num(s.ttsVolume));
    d.insert(QStringLiteral("TTSPitch"), num(s.ttsPitch));
    d.insert(QStringLiteral("OCRLanguage"), num(s.ocrLanguages));
    d.insert(QStringLiteral("Info_SW"), s.infoSw);
    d.insert(QStringLiteral("Info_SN"), s.infoSn);
    d.insert(QStringLiteral("Info_Battery"), QStringLiteral("%1%").arg(s.batteryLevel));
    d.insert(QStringLiteral("Info_AP"), s.infoAp);
    return VizoConfigWriter::write(d);
}

std::vector<VizoSimFrame> VizoSimDevice::handle(const QByteArray &payload)
{
    bool changed = false;
    std::vector<VizoSimFrame> answer;
    VizoSimState copy;
    {
        std::lock_guard lock(m_mutex);
        answer = apply(payload, changed);
        if (changed)
            copy = m_state;
    }
    if (changed && eventStateChanged)
        eventStateChanged(copy);
    return answer;
}

std::vector<VizoSimFrame> VizoSimDevice::apply(const QByteArray &payload, bool &changed)
{
    const VizoDecodedPayload cmd = vizoDecodePayload(VizoDirection::HostToDevice, payload);
    if (!cmd.entry || !cmd.wellFormed) {
        qCDebug(lcVizoSim) << "ignored payload" << payload.toHex(' ');
        return {};
    }
    const QLatin1String name(cmd.entry->name);
    auto is = [&](const char *n) { return name == QLatin1String(n); };
    const int v = cmd.values.isEmpty() ? 0 : int(cmd.values.first());
    VizoSimState &s = m_state;
    const auto view = std::size_t(s.view());
    changed = true;

    // Camera.
    if (is("CameraZoom")) {
        if (v == VizoCmd::ZoomIn)
            s.zoomLevel = std::min(s.zoomLevel + 1, maxZoomLevel);
        else if (v == VizoCmd::ZoomOut)
            s.zoomLevel = std::max(s.zoomLevel - 1, 1);
        return {report(VizoReport::ZoomLevelChanged, s.zoomLevel)};
    }
    if (is("SelectView")) {
        if (v == VizoCmd::DistanceView || v == VizoCmd::NearView) {
            s.cameraMode = v;
            s.focusLock = false;
        }
        return {report(VizoReport::CameraModeChanged, 3), report(VizoReport::CameraModeChanged, s.cameraMode)};
    }
    if (is("CameraMove")) {
        s.moveDirection = v;
        return {};
    }
    if (is("CameraMoveSpeed")) {
        s.moveSpeed = v;
        return {};
    }
    if (is("CameraColor")) {
        s.selectedSlot[view] = stepSlot(s, v);
        return {report(VizoReport::ColorSlotChanged, s.selectedSlot[view])};
    }
    if (is("EasyColorChange")) {
        if (v == 0) {
            s.slotBeforeEasyColor[view] = s.selectedSlot[view];
            s.selectedSlot[view] = 0;
        } else {
            s.selectedSlot[view] = s.slotBeforeEasyColor[view];
        }
        return {report(VizoReport::ColorSlotChanged, s.selectedSlot[view])};
    }
    if (is("SetContrast")) {
        const int target = v;
        const int value = int(cmd.values.value(1));
        s.contrast[target >= 5 ? VizoSimState::Near : VizoSimState::Distance] = value;
        return {report(VizoReport::ContrastChanged, std::min(value, 255))};
    }
    if (is("FindPositionStart")) {
        s.findPosition = true;
        return {};
    }
    if (is("FindPositionEnd")) {
        s.findPosition = false;
        if (s.mode == VizoSimMode::CameraPreviewFromOcr) {
            s.mode = VizoSimMode::OcrText;
            return {report(VizoReport::OcrPreviewChanged, 1)};
        }
        return {};
    }

    // OCR.
    if (is("OcrStart")) {
        const bool preview = s.ocrFieldMode == 1;
        s.mode = preview ? VizoSimMode::OcrPreview : VizoSimMode::OcrText;
        return {report(VizoReport::OcrStateChanged, 2), report(VizoReport::OcrStateChanged, preview ? 3 : 0)};
    }
    if (is("OcrExit")) {
        s.mode = VizoSimMode::Camera;
        s.ocrPlaying = false;
        s.openFile.clear();
        return {report(VizoReport::OcrStateChanged, 1)};
    }
    if (is("OcrOpenFile")) {
        s.mode = VizoSimMode::OcrText;
        s.openFile = cmd.text;
        return {report(VizoReport::OcrStateChanged, 0)};
    }
    if (is("OcrCameraPreview")) {
        s.mode = VizoSimMode::CameraPreviewFromOcr;
        return {report(VizoReport::OcrPreviewChanged, 0)};
    }
    if (is("OcrPlay") || is("OcrPause")) {
        s.ocrPlaying = is("OcrPlay");
        return {};
    }
    if (is("OcrSave")) {
        s.ocrTexts << QStringLiteral("OCR_%1.txt").arg(s.ocrTexts.size() + 1, 4, 10, QLatin1Char('0'));
        return {};
    }

    // Auto-scroll: 0 reports a running scroll, anything else a stopped one.
    if (is("AutoScrollEnter") || is("AutoScrollPlay")) {
        s.mode = VizoSimMode::AutoScroll;
        s.autoScrollRunning = true;
        return {report(VizoReport::AutoScrollStateChanged, 0)};
    }
    if (is("AutoScrollPause")) {
        s.autoScrollRunning = false;
        return {report(VizoReport::AutoScrollStateChanged, 1)};
    }
    if (is("AutoScrollExit")) {
        s.mode = VizoSimMode::Camera;
        s.autoScrollRunning = false;
        return {report(VizoReport::AutoScrollStateChanged, 1)};
    }

    // Stored images and files.
    if (is("ImageOpen")) {
        s.mode = VizoSimMode::StoredImage;
        s.openFile = cmd.text;
        return {report(VizoReport::ImageModeChanged, 1)};
    }
    if (is("ImageClose")) {
        s.mode = VizoSimMode::Camera;
        s.openFile.clear();
        return {report(VizoReport::ImageModeChanged, 0)};
    }
    if (is("ImageSave")) {
        s.images << QStringLiteral("IMG_%1.jpg").arg(s.images.size() + 1, 4, 10, QLatin1Char('0'));
        return {};
    }
    if (is("DeleteFiles")) {
        int kind = 0;
        const QStringList paths = cmd.text.split(QStringLiteral("::"), Qt::SkipEmptyParts);
        for (const QString &path : paths) {
            if (path.startsWith(imageFolder)) {
                s.images.removeAll(path.mid(imageFolder.size()));
            } else if (path.startsWith(ocrFolder)) {
                s.ocrTexts.removeAll(path.mid(ocrFolder.size()));
                kind = 1;
            }
        }
        return {report(VizoReport::DeleteResult, kind)};
    }
    if (is("RequestFileList")) {
        changed = false;
        const QStringList &names = v == VizoCmd::OcrFiles ? s.ocrTexts : s.images;
        return transfer(head(VizoReport::FileListData) + char(v), VizoFileListBuilder::build(names));
    }
    if (is("RequestOptionFile")) {
        changed = false;
        return transfer(head(VizoReport::OptionFileData), optionFileText(s));
    }
    if (is("RequestBatteryInfo")) {
        changed = false;
        VizoSimFrame battery = report(VizoReport::BatteryInfo);
        battery.payload += QStringLiteral("Battery %1%").arg(s.batteryLevel).toUtf8();
        return {battery};
    }

    // Reports that echo a setting.
    if (is("SetFocusLock")) {
        s.focusLock = v == 1;
        return {report(VizoReport::FocusLockChanged, v)};
    }
    if (is("SetVoiceGuide")) {
        s.voiceGuide = v == 1;
        return {report(VizoReport::VoiceGuideChanged, v)};
    }
    if (is("SetTtsVolume")) {
        s.ttsVolume = v;
        return {report(VizoReport::TtsVolumeChanged, v)};
    }

    // Settings that only the next option file shows.
    if (is("SetColorSlot")) {
        int index = 0;
        const int slotView = viewOfSlotCode(v, &index);
        if (index >= 1 && index < VizoSimState::slotCount)
            s.colorSlots[std::size_t(slotView)][std::size_t(index)] = {int(cmd.values[1]), int(cmd.values[2])};
    } else if (is("SetMarkerType")) {
        s.markerMode[v == 2 ? VizoSimState::Near : VizoSimState::Distance] = int(cmd.values[1]);
    } else if (is("MarkersOff")) {
        s.markerMode[view] = 4;
    } else if (is("MarkerAdjust")) {
        s.markerAdjusting = v == VizoCmd::MarkerBegin || v == VizoCmd::MarkerStepForward
                            || v == VizoCmd::MarkerStepBack;
    } else if (is("ResetSettings")) {
        if (v == 0 || v == 2)
            s.resetOptions();
        if (v == 1 || v == 2)
            s.resetOcr();
    } else if (is("SetJoystickSensitivity")) {
        s.joystickSensitivity = v;
    } else if (is("SetAutoScrollSpeed")) {
        s.autoScrollSpeed = v;
    } else if (is("SetAutoScrollRange")) {
        s.autoScrollRange = v;
    } else if (is("SetAutoScrollDirection")) {
        s.autoScrollDirection = v;
    } else if (is("SetLanguage")) {
        s.language = v;
    } else if (is("SetWifiPassword")) {
        s.wifiPassword = cmd.text;
    } else if (is("SetOcrFieldMode")) {
        s.ocrFieldMode = v;
    } else if (is("SetOcrViewMode")) {
        s.ocrViewMode = v;
    } else if (is("SetTtsType")) {
        s.ttsType = v;
    } else if (is("SetTtsSpeed")) {
        s.ttsSpeed = v;
    } else if (is("SetOcrLanguages")) {
        s.ocrLanguages = cmd.values.first();
    } else if (is("SetOcrDeskew")) {
        s.ocrDeskew = v;
    } else if (is("SetOcrPerspective")) {
        s.ocrPerspective = v;
    } else if (is("SetTtsPitch")) {
        s.ttsPitch = v;
    } else if (is("MenuOpened") || is("MenuClosed")) {
        s.menuOpen = is("MenuOpened");
    } else if (is("SpeakText")) {
        s.lastSpoken = cmd.text;
    } else if (is("HostClosing")) {
        m_finished = true;
    } else {
        // Commands that move a picture the model does not keep.
        changed = false;
    }
    return {};
}
