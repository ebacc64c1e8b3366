#include "sim/VizoSimDevice.h"

#include "settings/VizoFileListBuilder.h"
#include "protocol/VizoCatalogue.h"
#include "protocol/VizoCommands.h"
#include "protocol/VizoReports.h"
#include "settings/VizoConfigWriter.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcVizoSim, "vizo.sim", QtWarningMsg)

namespace {

using Clock = VizoSimMotion::Clock;

constexpr int maxZoomLevel = 20;
constexpr int maxDocumentZoom = 10;
constexpr int maxContrast = 39;
constexpr int paragraphLines = 4;
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
int nextEnabledSlot(const VizoSimState &s, int d)
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

int stepZoom(int zoom, int action, int min, int max)
{
    if (action == VizoCmd::ZoomIn)
        return std::min(zoom + 1, max);
    if (action == VizoCmd::ZoomOut)
        return std::max(zoom - 1, min);
    return zoom;
}

} // namespace

VizoSimDevice::VizoSimDevice(VizoSimState initial)
    : VizoSimDevice(initial, VizoSimRegion::fromResources(initial.region))
{
}

VizoSimDevice::VizoSimDevice(VizoSimState initial, VizoSimRegion region)
    : m_state(std::move(initial)), m_region(std::move(region))
{
}

VizoSimState VizoSimDevice::state() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}

void VizoSimDevice::update(const std::function<void(VizoSimState &)> &change)
{
    VizoSimState copy;
    {
        std::lock_guard lock(m_mutex);
        change(m_state);
        copy = m_state;
    }
    if (eventStateChanged)
        eventStateChanged(copy);
}

std::vector<VizoSimFrame> VizoSimDevice::fileList(const VizoSimState &s, int kind)
{
    const QStringList &names = kind == VizoCmd::OcrFiles ? s.ocrTexts : s.images;
    return transfer(head(VizoReport::FileListData) + char(kind), VizoFileListBuilder::build(names));
}

bool VizoSimDevice::finished() const
{
    std::lock_guard lock(m_mutex);
    return m_finished;
}

std::vector<VizoSimFrame> VizoSimDevice::hello() const
{
    std::lock_guard lock(m_mutex);
    return {report(VizoReport::DeviceVersion, m_state.edition),
            report(VizoReport::RegionCode, m_state.region)};
}

std::vector<VizoSimFrame> VizoSimDevice::transfer(const QByteArray &head, const QByteArray &data,
                                                  int chunk)
{
    const int chunks = std::max(1, int((data.size() + chunk - 1) / chunk));
    const auto count = std::uint16_t(chunks + 1);
    std::vector<VizoSimFrame> frames;
    frames.push_back({head, count, 1});
    for (int i = 0; i < chunks; ++i)
        frames.push_back(
            {head + data.mid(qsizetype(i) * chunk, chunk), count, std::uint16_t(i + 2)});
    return frames;
}

QByteArray VizoSimDevice::optionFileText() const
{
    std::lock_guard lock(m_mutex);
    return optionFileText(m_state);
}

QString VizoSimDevice::batteryText() const
{
    std::lock_guard lock(m_mutex);
    return batteryText(m_state);
}

QString VizoSimDevice::batteryText(const VizoSimState &s) const
{
    const VizoSimRegion::Language *language = m_region.language(s.language);
    return VizoSimRegion::batteryText(language ? language->name : QString(), s.batteryLevel);
}

QByteArray VizoSimDevice::optionFileText(const VizoSimState &s) const
{
    VizoOptionFileData d;
    auto num = [](qint64 v) { return QString::number(v); };
    d.insert(QStringLiteral("CameraMode"), num(s.cameraMode));
    for (int i = 1; i < VizoSimState::slotCount; ++i) {
        const auto &far = s.colorSlots[VizoSimState::Distance][std::size_t(i)];
        const auto &near = s.colorSlots[VizoSimState::Near][std::size_t(i)];
        d.insert(QStringLiteral("Distance_SelectColor%1").arg(i),
                 VizoConfigWriter::colorPair(far.textColor, far.bgColor));
        d.insert(QStringLiteral("Near_SelectColor%1").arg(i),
                 VizoConfigWriter::colorPair(near.textColor, near.bgColor));
    }
    d.insert(QStringLiteral("Distance_CurrentSelectColor"),
             num(s.selectedSlot[VizoSimState::Distance]));
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
    d.insert(QStringLiteral("Info_Battery"), batteryText(s));
    d.insert(QStringLiteral("Info_AP"), s.infoAp);
    return VizoConfigWriter::write(d);
}

std::vector<VizoSimFrame> VizoSimDevice::handle(const QByteArray &payload)
{
    const VizoDecodedPayload cmd = vizoDecodePayload(VizoDirection::HostToDevice, payload);
    if (!cmd.entry || !cmd.wellFormed) {
        qCDebug(lcVizoSim) << "ignored payload" << payload.toHex(' ');
        return {};
    }
    bool changed = true;
    Frames answer;
    VizoSimState copy;
    QStringList notes;
    {
        std::lock_guard lock(m_mutex);
        answer = apply(cmd, changed);
        if (changed)
            copy = m_state;
        notes.swap(m_notes);
    }
    if (eventNote)
        for (const QString &n : notes)
            eventNote(n);
    if (changed && eventStateChanged)
        eventStateChanged(copy);
    return answer;
}

void VizoSimDevice::note(const QString &text)
{
    m_notes << text;
}

bool VizoSimDevice::setWithin(int &field, std::uint32_t v, int max, const char *what)
{
    if (v > std::uint32_t(max)) {
        note(QStringLiteral("%1 %2 refused (0..%3)").arg(QLatin1String(what)).arg(v).arg(max));
        return false;
    }
    field = int(v);
    return true;
}

VizoSimDevice::Frames VizoSimDevice::apply(const VizoDecodedPayload &cmd, bool &changed)
{
    switch (cmd.entry->group()) {
    case 0x05:
    case 0x06:
    case 0x07:
        return applyPicture(cmd);
    case 0x08:
    case 0x09:
        return applyOptions(cmd);
    case 0x0A:
        return applyOcrSettings(cmd);
    case 0x20:
        return applyCamera(cmd);
    case 0x21:
        return applyStoredImage(cmd);
    case 0x23:
        return applyOcrMode(cmd);
    default:
        return applyHost(cmd, changed);
    }
}

VizoSimDevice::Frames VizoSimDevice::applyPicture(const VizoDecodedPayload &cmd)
{
    const QLatin1String name(cmd.entry->name);
    VizoSimState &s = m_state;
    const auto view = std::size_t(s.view());
    const int v = int(cmd.values.value(0));

    if (name == QLatin1String("SetColorSlot")) {
        int index = 0;
        const auto slotView = std::size_t(viewOfSlotCode(v, &index));
        const int text = int(cmd.values[1]);
        const int bg = int(cmd.values[2]);
        if (index < 1 || index >= VizoSimState::slotCount || text > 10 || bg > 10) {
            note(QStringLiteral("colour slot code %1 with colours %2/%3 refused")
                     .arg(v)
                     .arg(text)
                     .arg(bg));
            return {};
        }
        s.colorSlots[slotView][std::size_t(index)] = {text, bg};
        // A disabled slot cannot stay in use: the natural picture takes over.
        if (text == 0 && s.selectedSlot[slotView] == index) {
            s.selectedSlot[slotView] = 0;
            if (slotView == view)
                return {report(VizoReport::ColorSlotChanged, 0)};
        }
        return {};
    }
    if (name == QLatin1String("SetContrast")) {
        const int target = v;
        if (target < 3 || target > 6) {
            note(QStringLiteral("contrast target %1 refused").arg(target));
            return {};
        }
        const int value = std::min(int(cmd.values[1]), maxContrast);
        s.contrast[target >= 5 ? VizoSimState::Near : VizoSimState::Distance] = value;
        return {report(VizoReport::ContrastChanged, value)};
    }
    if (name == QLatin1String("MarkersOff")) {
        s.markerMode[view] = 4;
        if (s.adjusting == VizoSimAdjusting::Marker)
            s.adjusting = VizoSimAdjusting::None;
        return {};
    }
    if (name == QLatin1String("SetMarkerType")) {
        const int type = int(cmd.values[1]);
        if ((v != 1 && v != 2) || type > 3) {
            note(QStringLiteral("marker type %1 for view %2 refused").arg(type).arg(v));
            return {};
        }
        s.markerMode[v == 2 ? VizoSimState::Near : VizoSimState::Distance] = type;
        return {};
    }
    // MarkerAdjust: the marker of the current view; the line moves, the
    // window grows (right or up) or shrinks (left or down).
    const int mode = s.markerMode[view];
    switch (v) {
    case VizoCmd::MarkerBegin:
        s.adjusting = VizoSimAdjusting::Marker;
        s.markerPositionBefore = s.markerPosition[view];
        s.markerSizeBefore = s.markerSize[view];
        break;
    case VizoCmd::MarkerStepForward:
    case VizoCmd::MarkerStepBack: {
        const int step = v == VizoCmd::MarkerStepForward ? 1 : -1;
        if (mode == 0 || mode == 1)
            s.markerPosition[view] =
                std::clamp(s.markerPosition[view] + step, -VizoSimState::maxMarkerPosition,
                           VizoSimState::maxMarkerPosition);
        else if (mode == 2 || mode == 3)
            s.markerSize[view] =
                std::clamp(s.markerSize[view] + step, 1, VizoSimState::maxMarkerSize);
        else
            note(QStringLiteral("marker step without a marker"));
        break;
    }
    case VizoCmd::MarkerCancel:
        if (s.adjusting == VizoSimAdjusting::Marker) {
            s.markerPosition[view] = s.markerPositionBefore;
            s.markerSize[view] = s.markerSizeBefore;
        }
        s.adjusting = VizoSimAdjusting::None;
        break;
    case VizoCmd::MarkerConfirm:
        s.adjusting = VizoSimAdjusting::None;
        break;
    default:
        note(QStringLiteral("marker action %1 refused").arg(v));
        break;
    }
    return {};
}

VizoSimDevice::Frames VizoSimDevice::applyOptions(const VizoDecodedPayload &cmd)
{
    const QLatin1String name(cmd.entry->name);
    auto is = [&](const char *n) { return name == QLatin1String(n); };
    VizoSimState &s = m_state;
    const int v = int(cmd.values.value(0));
    const auto now = Clock::now();

    if (is("SetFocusLock") || is("SetVoiceGuide")) {
        if (v > 1) {
            note(QStringLiteral("%1 %2 refused").arg(name).arg(v));
            return {};
        }
        const bool focus = is("SetFocusLock");
        (focus ? s.focusLock : s.voiceGuide) = v == 1;
        return {report(focus ? VizoReport::FocusLockChanged : VizoReport::VoiceGuideChanged, v)};
    }
    if (is("ResetSettings"))
        return resetSettings(v);
    if (is("SetJoystickSensitivity"))
        setWithin(s.joystickSensitivity, cmd.values[0], 3, "joystick sensitivity");
    else if (is("SetAutoScrollSpeed"))
        setWithin(s.autoScrollSpeed, cmd.values[0], 10, "auto-scroll speed");
    else if (is("SetAutoScrollRange"))
        setWithin(s.autoScrollRange, cmd.values[0], 1, "auto-scroll range");
    else if (is("SetAutoScrollDirection"))
        setWithin(s.autoScrollDirection, cmd.values[0], 1, "auto-scroll direction");
    else if (is("SetLanguage"))
        switchLanguage(v);
    else if (is("SetWifiPassword")) {
        const QByteArray password = cmd.tailBytes;
        if (password.isEmpty() || password.size() > VizoCmd::passwordByteLimit)
            note(QStringLiteral("Wi-Fi password of %1 bytes refused (1..12)").arg(password.size()));
        else
            s.wifiPassword = QString::fromUtf8(password);
    } else if (is("AutoScrollEnter") || is("AutoScrollPlay")) {
        s.mode = VizoSimMode::AutoScroll;
        s.autoScrollRunning = true;
        if (is("AutoScrollEnter"))
            s.autoScrollLine = 0;
        return {report(VizoReport::AutoScrollStateChanged, 0)};
    } else if (is("AutoScrollPause")) {
        s.autoScrollRunning = false;
        return {report(VizoReport::AutoScrollStateChanged, 1)};
    } else if (is("AutoScrollExit")) {
        s.mode = VizoSimMode::Camera;
        s.autoScrollRunning = false;
        return {report(VizoReport::AutoScrollStateChanged, 1)};
    } else if (is("AutoScrollNextLine")) {
        if (s.mode == VizoSimMode::AutoScroll)
            ++s.autoScrollLine;
    } else if (is("AutoScrollStartPosition")) {
        // The range page steers the camera: cancel puts it back.
        s.adjusting = VizoSimAdjusting::ScrollRangeStart;
        s.positionBeforeAdjusting = s.camera[std::size_t(s.view())].at(now);
    } else if (is("AutoScrollEndPosition")) {
        s.scrollRangeStart = s.camera[std::size_t(s.view())].at(now);
        s.adjusting = VizoSimAdjusting::ScrollRangeEnd;
    } else if (is("AutoScrollRangeConfirm")) {
        if (s.adjusting == VizoSimAdjusting::ScrollRangeEnd) {
            s.scrollRangeEnd = s.camera[std::size_t(s.view())].at(now);
            s.customScrollRange = true;
            s.autoScrollRange = 0; // scrolling now covers the custom range, not an A4 page
        }
        s.adjusting = VizoSimAdjusting::None;
    } else if (is("AutoScrollRangeCancel")) {
        if (s.adjusting == VizoSimAdjusting::ScrollRangeStart ||
            s.adjusting == VizoSimAdjusting::ScrollRangeEnd)
            s.camera[std::size_t(s.view())].place(s.positionBeforeAdjusting);
        s.adjusting = VizoSimAdjusting::None;
    } else if (is("DistanceViewDirection")) {
        auto &distance = s.camera[VizoSimState::Distance];
        if (v == 1) {
            s.adjusting = VizoSimAdjusting::DistanceDirection;
            s.positionBeforeAdjusting = distance.at(now);
        } else if (v == 0 || v == 2) {
            if (v == 0 && s.adjusting == VizoSimAdjusting::DistanceDirection)
                distance.place(s.positionBeforeAdjusting);
            else
                distance.stop(now);
            s.adjusting = VizoSimAdjusting::None;
        } else {
            note(QStringLiteral("distance view direction action %1 refused").arg(v));
        }
    }
    return {};
}

VizoSimDevice::Frames VizoSimDevice::resetSettings(int group)
{
    VizoSimState &s = m_state;
    if (group < 0 || group > 2) {
        note(QStringLiteral("reset group %1 refused").arg(group));
        return {};
    }
    const int slotBefore = s.selectedSlot[std::size_t(s.view())];
    if (group == 0 || group == 2) {
        s.resetOptions();
        // Language code 1 again, where the region has it (as the viewer resets).
        if (m_region.language(1))
            s.language = 1;
    }
    if (group == 1 || group == 2)
        s.resetOcr();
    const int slotAfter = s.selectedSlot[std::size_t(s.view())];
    if (slotAfter != slotBefore)
        return {report(VizoReport::ColorSlotChanged, slotAfter)};
    return {};
}

void VizoSimDevice::switchLanguage(int code)
{
    const VizoSimRegion::Language *language = m_region.language(code);
    if (!language) {
        note(QStringLiteral("language code %1 is not one of this region's").arg(code));
        return;
    }
    // Recognition follows the language, as the viewer expects.
    m_state.language = code;
    m_state.ocrLanguages = language->ocrBit;
}

VizoSimDevice::Frames VizoSimDevice::applyOcrSettings(const VizoDecodedPayload &cmd)
{
    const QLatin1String name(cmd.entry->name);
    auto is = [&](const char *n) { return name == QLatin1String(n); };
    VizoSimState &s = m_state;
    const std::uint32_t v = cmd.values.value(0);
    if (is("SetOcrFieldMode"))
        setWithin(s.ocrFieldMode, v, 1, "OCR field mode");
    else if (is("SetOcrViewMode"))
        setWithin(s.ocrViewMode, v, 3, "OCR view mode");
    else if (is("SetTtsType"))
        setWithin(s.ttsType, v, 1, "voice");
    else if (is("SetTtsSpeed"))
        setWithin(s.ttsSpeed, v, 13, "speech speed");
    else if (is("SetTtsPitch"))
        setWithin(s.ttsPitch, v, 14, "speech pitch");
    else if (is("SetOcrDeskew"))
        setWithin(s.ocrDeskew, v, 1, "deskew");
    else if (is("SetOcrPerspective"))
        setWithin(s.ocrPerspective, v, 1, "perspective correction");
    else if (is("SetOcrLanguages")) {
        if (m_region.ocrNames(v).isEmpty())
            note(QStringLiteral("OCR language mask %1 names none of this region's languages")
                     .arg(v));
        else
            s.ocrLanguages = v;
    } else if (is("SetTtsVolume")) {
        if (setWithin(s.ttsVolume, v, 15, "speech volume"))
            return {report(VizoReport::TtsVolumeChanged, s.ttsVolume)};
    }
    return {};
}

double VizoSimDevice::moveSpeed() const
{
    // Steps per second by joystick sensitivity (auto, fast, middle, low);
    // a longer mouse drag moves faster.
    static constexpr double bySensitivity[] = {4, 6, 4, 2};
    const double base = bySensitivity[std::clamp(m_state.joystickSensitivity, 0, 3)];
    return base * (1 + 0.25 * std::clamp(m_state.moveSpeed, 0, 12));
}

VizoSimDevice::Frames VizoSimDevice::stepColor(int direction)
{
    VizoSimState &s = m_state;
    const auto view = std::size_t(s.view());
    s.selectedSlot[view] = nextEnabledSlot(s, direction);
    return {report(VizoReport::ColorSlotChanged, s.selectedSlot[view])};
}

VizoSimDevice::Frames VizoSimDevice::applyCamera(const VizoDecodedPayload &cmd)
{
    const QLatin1String name(cmd.entry->name);
    auto is = [&](const char *n) { return name == QLatin1String(n); };
    VizoSimState &s = m_state;
    const auto view = std::size_t(s.view());
    const int v = int(cmd.values.value(0));
    const auto now = Clock::now();

    if (is("CameraZoom")) {
        s.zoomLevel = stepZoom(s.zoomLevel, v, 1, maxZoomLevel);
        return {report(VizoReport::ZoomLevelChanged, s.zoomLevel)};
    }
    if (is("SelectView")) {
        if (v == VizoCmd::DistanceView || v == VizoCmd::NearView) {
            s.cameraMode = v;
            s.focusLock = false;
        } else if (v == VizoCmd::ViewBookmark) {
            s.camera[view].place({0, 0});
        }
        return {report(VizoReport::CameraModeChanged, 3),
                report(VizoReport::CameraModeChanged, s.cameraMode)};
    }
    if (is("CameraMove")) {
        // Moves until the stop; a page aiming the distance camera moves that one.
        s.camera[std::size_t(s.shownView())].start(v, moveSpeed(), now);
        return {};
    }
    if (is("CameraMoveSpeed")) {
        s.moveSpeed = v;
        auto &camera = s.camera[std::size_t(s.shownView())];
        if (camera.moving())
            camera.start(camera.direction, moveSpeed(), now);
        return {};
    }
    if (is("CameraColor"))
        return stepColor(v);
    if (is("EasyColorChange")) {
        if (v == 0) {
            s.slotBeforeEasyColor[view] = s.selectedSlot[view];
            s.selectedSlot[view] = 0;
        } else {
            s.selectedSlot[view] = s.slotBeforeEasyColor[view];
        }
        return {report(VizoReport::ColorSlotChanged, s.selectedSlot[view])};
    }
    if (is("NextLine")) {
        const QPointF at = s.camera[view].at(now);
        s.camera[view].place({-VizoSimMotion::limitX, at.y() + 1});
        return {};
    }
    if (is("FindPositionStart")) {
        s.findPosition = true;
        return {};
    }
    // FindPositionEnd
    s.findPosition = false;
    if (s.mode == VizoSimMode::CameraPreviewFromOcr) {
        s.mode = VizoSimMode::OcrText;
        return {report(VizoReport::OcrPreviewChanged, 1)};
    }
    return {};
}

VizoSimDevice::Frames VizoSimDevice::applyStoredImage(const VizoDecodedPayload &cmd)
{
    const QLatin1String name(cmd.entry->name);
    auto is = [&](const char *n) { return name == QLatin1String(n); };
    VizoSimState &s = m_state;
    const int v = int(cmd.values.value(0));
    const auto now = Clock::now();

    if (is("ImageOpen")) {
        // A file that is not on the card still opens the image view, which
        // says so: the viewer has already put up its image window.
        s.mode = VizoSimMode::StoredImage;
        s.openFile = cmd.text;
        s.openFileMissing = !s.openFile.startsWith(imageFolder) ||
                            !s.images.contains(s.openFile.mid(imageFolder.size()));
        if (s.openFileMissing)
            note(QStringLiteral("no such image: %1").arg(s.openFile));
        s.documentZoom = 0;
        s.documentContrast = s.contrast[std::size_t(s.view())];
        s.document.place({0, 0});
        return {report(VizoReport::ImageModeChanged, 1)};
    }
    if (is("ImageClose")) {
        if (s.mode == VizoSimMode::StoredImage)
            s.mode = VizoSimMode::Camera;
        s.openFile.clear();
        s.openFileMissing = false;
        return {report(VizoReport::ImageModeChanged, 0),
                report(VizoReport::ZoomLevelChanged, s.zoomLevel)};
    }
    if (is("ImageSave")) {
        s.images << s.takeImageName();
        return {};
    }
    if (is("DeleteFiles"))
        return deleteFiles(cmd);
    if (is("ImageColor"))
        return stepColor(v);
    if (is("ImageZoom")) {
        s.documentZoom = stepZoom(s.documentZoom, v, 0, maxDocumentZoom);
        return {report(VizoReport::ZoomLevelChanged, s.documentZoom)};
    }
    if (is("ImageMove")) {
        s.document.start(v, moveSpeed(), now);
        return {};
    }
    // ImageContrast: the shown image only, not the camera's setting.
    s.documentContrast =
        std::clamp(s.documentContrast + (v == VizoCmd::ContrastUp ? 1 : -1), 0, maxContrast);
    return {};
}

VizoSimDevice::Frames VizoSimDevice::deleteFiles(const VizoDecodedPayload &cmd)
{
    // Every frame is answered, whatever it held: the viewer waits for each
    // answer before sending the next frame. A path that is not on the card
    // (already deleted, or never there) is skipped, and the answer still
    // names the kind, so that the viewer asks for the list that is left.
    VizoSimState &s = m_state;
    int kind = -1;
    int removed = 0;
    const QStringList paths = cmd.text.split(QStringLiteral("::"), Qt::SkipEmptyParts);
    for (const QString &path : paths) {
        bool found = false;
        if (path.startsWith(imageFolder)) {
            found = s.images.removeOne(path.mid(imageFolder.size()));
            if (kind < 0)
                kind = 0;
        } else if (path.startsWith(ocrFolder)) {
            found = s.ocrTexts.removeOne(path.mid(ocrFolder.size()));
            if (kind < 0)
                kind = 1;
        }
        if (found) {
            ++removed;
            m_deleted.insert(path);
        } else if (m_deleted.contains(path)) {
            // Some senders repeat a path in later frames.
            note(QStringLiteral("already deleted: %1").arg(path));
        } else {
            note(QStringLiteral("no such file: %1").arg(path));
        }
    }
    qCDebug(lcVizoSim) << "deleted" << removed << "of" << paths.size() << "listed, total"
                       << cmd.values.value(0);
    return {report(VizoReport::DeleteResult, std::max(kind, 0))};
}

VizoSimDevice::Frames VizoSimDevice::applyOcrMode(const VizoDecodedPayload &cmd)
{
    const QLatin1String name(cmd.entry->name);
    auto is = [&](const char *n) { return name == QLatin1String(n); };
    VizoSimState &s = m_state;
    const int v = int(cmd.values.value(0));

    if (is("OcrStart")) {
        // Field mode 1 shows the whole page first; from there OcrStart recognises.
        const bool preview = s.ocrFieldMode == 1 && s.mode != VizoSimMode::OcrPreview;
        s.mode = preview ? VizoSimMode::OcrPreview : VizoSimMode::OcrText;
        s.openFile.clear();
        s.openFileMissing = false;
        s.readingLine = 0;
        s.documentZoom = 0;
        s.documentContrast = s.contrast[std::size_t(s.view())];
        return {report(VizoReport::OcrStateChanged, 2),
                report(VizoReport::OcrStateChanged, preview ? 3 : 0)};
    }
    if (is("OcrOpenFile")) {
        s.mode = VizoSimMode::OcrText;
        s.openFile = cmd.text;
        s.openFileMissing = !s.openFile.startsWith(ocrFolder) ||
                            !s.ocrTexts.contains(s.openFile.mid(ocrFolder.size()));
        if (s.openFileMissing)
            note(QStringLiteral("no such OCR text: %1").arg(s.openFile));
        s.readingLine = 0;
        s.ocrPlaying = false;
        s.documentZoom = 0;
        s.documentContrast = s.contrast[std::size_t(s.view())];
        return {report(VizoReport::OcrStateChanged, 0)};
    }
    if (is("OcrExit")) {
        s.mode = VizoSimMode::Camera;
        s.ocrPlaying = false;
        s.openFile.clear();
        s.openFileMissing = false;
        return {report(VizoReport::OcrStateChanged, 1),
                report(VizoReport::ZoomLevelChanged, s.zoomLevel)};
    }
    if (is("OcrCameraPreview")) {
        s.mode = VizoSimMode::CameraPreviewFromOcr;
        return {report(VizoReport::OcrPreviewChanged, 0)};
    }
    if (is("OcrPlay") || is("OcrPause"))
        s.ocrPlaying = is("OcrPlay");
    else if (is("OcrPrevLine") || is("OcrNextLine"))
        s.readingLine = std::max(0, s.readingLine + (is("OcrNextLine") ? 1 : -1));
    else if (is("OcrPrevParagraph") || is("OcrNextParagraph"))
        s.readingLine = std::max(
            0, s.readingLine + (is("OcrNextParagraph") ? paragraphLines : -paragraphLines));
    else if (is("OcrSave"))
        s.ocrTexts << s.takeOcrName();
    else if (is("OcrZoom")) {
        s.documentZoom = stepZoom(s.documentZoom, v, 0, maxDocumentZoom);
        return {report(VizoReport::ZoomLevelChanged, s.documentZoom)};
    } else if (is("OcrColor"))
        return stepColor(v);
    else if (is("OcrContrast"))
        s.documentContrast =
            std::clamp(s.documentContrast + (v == VizoCmd::ContrastUp ? 1 : -1), 0, maxContrast);
    return {};
}

VizoSimDevice::Frames VizoSimDevice::applyHost(const VizoDecodedPayload &cmd, bool &changed)
{
    const QLatin1String name(cmd.entry->name);
    auto is = [&](const char *n) { return name == QLatin1String(n); };
    VizoSimState &s = m_state;
    const int v = int(cmd.values.value(0));

    if (is("RequestFileList")) {
        changed = false;
        if (v != VizoCmd::ImageFiles && v != VizoCmd::OcrFiles) {
            note(QStringLiteral("file list kind %1 refused").arg(v));
            return {};
        }
        return fileList(s, v);
    }
    if (is("RequestOptionFile")) {
        changed = false;
        return transfer(head(VizoReport::OptionFileData), optionFileText(s));
    }
    if (is("RequestBatteryInfo")) {
        changed = false;
        VizoSimFrame battery = report(VizoReport::BatteryInfo);
        battery.payload += batteryText(s).toUtf8();
        return {battery};
    }
    if (is("MenuOpened") || is("MenuClosed"))
        s.menuOpen = is("MenuOpened");
    else if (is("SpeakText"))
        s.lastSpoken = cmd.text;
    else if (is("HostConnectedUsb2") || is("HostConnectedUsb3"))
        s.hostLink = is("HostConnectedUsb3") ? 3 : 2;
    else if (is("HostClosing"))
        m_finished = true;
    else
        changed = false;
    return {};
}
