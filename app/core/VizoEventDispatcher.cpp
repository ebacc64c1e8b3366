#include "VizoEventDispatcher.h"

#include "AbstractMenuController.h"
#include "AppDelegate.h"
#include "DeviceCommands.h"
#include "ModalWindowController.h"

#include "files/VizoFileListDelivery.h"
#include "files/VizoFileListParser.h"
#include "settings/VizoConfigParser.h"
#include "settings/VizoSettings.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrNotificationCenter.h>

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

Q_LOGGING_CATEGORY(lcDispatch, "vizo.dispatch", QtWarningMsg)

namespace {
// Groups and commands of the device's reports.
constexpr uint8_t kGroupBattery = 0x25;
constexpr uint8_t kGroupState = 0x26;
constexpr uint8_t kGroupTransfer = 0x31;
constexpr uint8_t kGroupDelete = 0x51;

constexpr uint8_t kBatteryInfo = 0x04;
constexpr uint8_t kZoomLevelChanged = 0x00;
constexpr uint8_t kColorSlotChanged = 0x01;
constexpr uint8_t kCameraModeChanged = 0x02;
constexpr uint8_t kAutoScrollStateChanged = 0x03;
constexpr uint8_t kOcrStateChanged = 0x04;
constexpr uint8_t kMenuKey = 0x05;
constexpr uint8_t kFocusLockChanged = 0x06;
constexpr uint8_t kImageModeChanged = 0x07;
constexpr uint8_t kDeviceVersion = 0x08;
constexpr uint8_t kContrastChanged = 0x09;
constexpr uint8_t kSdCardStatus = 0x0A;
constexpr uint8_t kVoiceGuideChanged = 0x0B;
constexpr uint8_t kTtsVolumeChanged = 0x0D;
constexpr uint8_t kOcrPreviewChanged = 0x0F;
constexpr uint8_t kFunctionsLocked = 0x10;
constexpr uint8_t kRegionCode = 0x12;
constexpr uint8_t kBatteryNotice = 0x18;
constexpr uint8_t kDeviceDisconnecting = 0x1B;
constexpr uint8_t kFileListData = 0x01;
constexpr uint8_t kOptionFileData = 0x04;
constexpr uint8_t kDeleteResult = 0x00;

uint16_t le16(const uint8_t *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

const char kDisconnectingText[] =
    "The USB connection of Vizo Viewer has been disconnected from the Vizo device.\n"
    "Application will be terminated.";
} // namespace

VizoEventDispatcher::VizoEventDispatcher(AppDelegate &app)
    : m_app(app)
{
    m_parsers.setMaxThreadCount(2);
}

VizoEventDispatcher::~VizoEventDispatcher()
{
    waitForParsers();
}

void VizoEventDispatcher::waitForParsers()
{
    m_parsers.waitForDone();
}

size_t VizoEventDispatcher::bodySizeForHeader(const uint8_t *header)
{
    return size_t(le16(header + 8)) + 4;
}

void VizoEventDispatcher::post(std::function<void()> fn)
{
    brPostMain(std::move(fn), &m_app);
}

void VizoEventDispatcher::onPacket(const uint8_t *header, size_t headerSize, const uint8_t *body, size_t bodySize)
{
    if (!header || headerSize < kHeaderSize || !body || bodySize < 4 + 2)
        return;
    const size_t length = bodySize - 4;
    const uint8_t group = body[0];
    const uint8_t command = body[1];
    const int count = le16(header + 4);
    const int index = le16(header + 6);

    if (group == kGroupTransfer && command == kFileListData) {
        if (length < 3)
            return;
        const uint8_t kind = body[2];
        if (kind == 1)
            onTransferFrame(m_imageListBuffer, count, index, body + 3, length - 3, &VizoEventDispatcher::completeImageList);
        else if (kind == 2)
            onTransferFrame(m_ocrListBuffer, count, index, body + 3, length - 3, &VizoEventDispatcher::completeOcrList);
        return;
    }
    if (group == kGroupTransfer && command == kOptionFileData) {
        onTransferFrame(m_optionFileBuffer, count, index, body + 2, length - 2, &VizoEventDispatcher::completeOptionFile);
        return;
    }
    if (group == kGroupDelete && command == kDeleteResult) {
        if (m_app.deletingFiles()) {
            // A multi-frame deletion waits for this before its next frame.
            m_app.semaphoreForDelete().release();
            return;
        }
        const int kind = length >= 3 ? body[2] : -1;
        post([this, kind] {
            AppDelegate::closeDeleteBox();
            if (m_fileListRequestPending)
                return;
            if (kind == 0 || kind == 1) {
                m_fileListRequestPending = true;
                m_app.writeVizoPacket(DeviceCommands::requestFileList(kind == 0 ? 1 : 2));
            }
        });
        return;
    }
    onReport(group, command, body, length);
}

void VizoEventDispatcher::onTransferFrame(std::optional<QByteArray> &buffer, int count, int index,
                                          const uint8_t *data, size_t length,
                                          void (VizoEventDispatcher::*complete)(QByteArray))
{
    if (index == 1) {
        // The opening frame carries no data.
        buffer.emplace();
        return;
    }
    if (index < 1 || !buffer)
        return; // the opening frame was missed: these data are lost
    buffer->append(reinterpret_cast<const char *>(data), qsizetype(length));
    if (index == count) {
        buffer->append('\0');
        QByteArray done = std::move(*buffer);
        buffer.reset();
        m_parsers.start([this, complete, done = std::move(done)]() mutable { (this->*complete)(std::move(done)); });
    }
}

void VizoEventDispatcher::completeImageList(QByteArray data)
{
    completeFileList(1, std::move(data));
}

void VizoEventDispatcher::completeOcrList(QByteArray data)
{
    completeFileList(2, std::move(data));
}

void VizoEventDispatcher::completeFileList(int kind, QByteArray data)
{
    // The terminator closes the text; it is not part of the last name.
    while (data.endsWith('\0'))
        data.chop(1);
    std::optional<QStringList> names;
    VizoFileListParser::parseData(data, [&names](const std::optional<QStringList> &list) { names = list; });
    post([this, kind, names] {
        VizoSettings *settings = AppDelegate::settings();
        if (!settings)
            return;
        VizoFileListDelivery::deliver(*settings, kind == 1 ? VizoFileKind::Image : VizoFileKind::OCR, names,
                                      BrNotificationCenter::defaultCenter());
        m_fileListRequestPending = false;
        if (kind == 1)
            m_app.writeVizoPacket(DeviceCommands::requestFileList(2));
    });
}

void VizoEventDispatcher::completeOptionFile(QByteArray data)
{
    VizoOptionFileData pairs;
    VizoConfigParser::parseData(data, [&pairs](const VizoOptionFileData &parsed) { pairs = parsed; });
    post([this, pairs] { m_app.applyParsedOptionFile(pairs); });
}

void VizoEventDispatcher::enableInput(bool enable)
{
    m_app.setDisableHotKeys(!enable);
    m_app.updateHotKeys();
    m_app.setDisableMouseGestures(!enable);
    m_app.updateMouseGestures();
}

void VizoEventDispatcher::refreshMode()
{
    if (m_app.menuOpened())
        m_app.applyVizoModeChanged();
}

void VizoEventDispatcher::refreshMenuColor()
{
    if (!m_app.menuOpened())
        return;
    if (auto *menu = qobject_cast<AbstractMenuController *>(m_app.stackUI().top()))
        menu->updateMenuColor();
}

void VizoEventDispatcher::onReport(uint8_t group, uint8_t command, const uint8_t *payload, size_t length)
{
    if (group == kGroupBattery && command == kBatteryInfo) {
        const QString text = QString::fromUtf8(reinterpret_cast<const char *>(payload + 2), qsizetype(length - 2));
        post([this, text] {
            AppDelegate::settings()->options()->setInfo_battery(text);
            if (m_app.menuOpened() && m_app.menuController())
                m_app.menuController()->updateBatteryInfo();
        });
        return;
    }
    if (group != kGroupState)
        return;
    if (command == kDeviceDisconnecting) {
        post([this] {
            AppDelegate::showMessageBox(QString::fromLatin1(kDisconnectingText));
            m_app.terminate();
        });
        return;
    }
    if (length < 3)
        return; // every other report carries a value
    const int v = payload[2];

    switch (command) {
    case kZoomLevelChanged:
        post([v] { AppDelegate::settings()->setZoomLevel(v); });
        break;
    case kColorSlotChanged:
        post([this, v] {
            VizoSettings *s = AppDelegate::settings();
            if (s->cameraMode() != 0)
                s->setSelectedColorSlotForNearViewMode(v);
            else
                s->setSelectedColorSlotForDistanceViewMode(v);
            refreshMenuColor();
        });
        break;
    case kCameraModeChanged:
        post([this, v] {
            if (v == 3) {
                enableInput(false);
            } else if (v == 0 || v == 1) {
                AppDelegate::settings()->setCameraMode(v);
                m_app.closeAllUI();
                AppDelegate::settings()->options()->setFocusLock(false);
                enableInput(true);
            }
            refreshMenuColor();
        });
        break;
    case kAutoScrollStateChanged:
        post([this, v] {
            VizoSettings *s = AppDelegate::settings();
            s->setVizoMode(v == 0 ? 4 : 0);
            s->setAutoScrollPlayed(v == 0);
            enableInput(true);
            refreshMode();
        });
        break;
    case kOcrStateChanged:
        post([this, v] {
            VizoSettings *s = AppDelegate::settings();
            switch (v) {
            case 0:
                s->setVizoMode(1);
                s->setOcrPlayed(true);
                enableInput(true);
                break;
            case 1:
                std::printf("*** OCR mode off\n");
                std::fflush(stdout);
                s->setVizoMode(0);
                s->setOcrPlayed(false);
                enableInput(true);
                break;
            case 2:
                enableInput(false);
                break;
            case 3:
                s->setVizoMode(3);
                enableInput(true);
                break;
            default:
                break;
            }
            refreshMode();
        });
        break;
    case kMenuKey:
        post([this, v] {
            if (v == 0) {
                if (AppDelegate::settings()->vizoVersion() != 1)
                    m_app.openMenu();
                return;
            }
            if (!m_app.menuOpened())
                return;
            QObject *top = m_app.stackUI().top();
            if (!top)
                return;
            if (auto *menu = qobject_cast<AbstractMenuController *>(top)) {
                if (!menu->isMenuExpanded())
                    m_app.writeVizoPacket(DeviceCommands::menuClosed());
                menu->closeUI();
            } else if (auto *window = qobject_cast<ModalWindowController *>(top)) {
                window->closeUI();
            }
        });
        break;
    case kFocusLockChanged:
        post([this, v] {
            AppDelegate::settings()->options()->setFocusLock(v == 1);
            if (m_app.menuController())
                m_app.menuController()->reloadSettings();
        });
        break;
    case kImageModeChanged:
        if (v != 0 && v != 1)
            break;
        post([this, v] {
            AppDelegate::settings()->setVizoMode(v == 1 ? 2 : 0);
            m_app.updateHotKeys();
            m_app.updateMouseGestures();
            refreshMode();
        });
        break;
    case kDeviceVersion:
        post([this, v] {
            AppDelegate::settings()->setVizoVersion(v);
            m_app.writeVizoPacket(DeviceCommands::requestOptionFile());
        });
        break;
    case kContrastChanged:
        post([v] {
            VizoSettings *s = AppDelegate::settings();
            if (s->iSendContrastCnt() > 0) {
                // The echo of a contrast this viewer sent itself.
                s->setISendContrastCnt(s->iSendContrastCnt() - 1);
                return;
            }
            if (s->cameraMode() == 0) {
                s->options()->setContrastForDistance(v);
            } else if (s->cameraMode() == 1) {
                s->options()->setContrastForNear(v);
                std::printf("contrast changed: %d\n", v);
                std::fflush(stdout);
            }
        });
        break;
    case kSdCardStatus:
        if (v != 0 && v != 1)
            break;
        post([v] {
            const QString key = v == 1 ? QStringLiteral("Message.CheckSD") : QStringLiteral("Message.InsertSD");
            AppDelegate::showMessageBox(AppDelegate::languageString(QStringLiteral("Messages"), key, key));
        });
        break;
    case kVoiceGuideChanged:
        post([v] { AppDelegate::settings()->options()->setVoiceGuide(v == 1); });
        break;
    case kTtsVolumeChanged:
        post([this, v] {
            AppDelegate::settings()->ocr()->setVolumeOfTTS(v);
            if (m_app.menuController())
                m_app.menuController()->setTtsVolumeValue(v);
        });
        break;
    case kOcrPreviewChanged:
        if (v != 0 && v != 1)
            break;
        post([this, v] {
            AppDelegate::settings()->setVizoMode(v == 1 ? 1 : 5);
            enableInput(true);
            refreshMode();
        });
        break;
    case kFunctionsLocked:
        post([this, v] {
            m_app.setDisableAllFunctions(v != 0);
            m_app.updateMouseGestures();
            m_app.updateHotKeys();
            if (v == 0)
                refreshMode();
        });
        break;
    case kRegionCode:
        post([v] { AppDelegate::settings()->setVizoRegion(std::make_unique<VizoRegion>(v)); });
        break;
    case kBatteryNotice:
        post([v] {
            const QString key = v > 5 ? QStringLiteral("MSG.BatteryNotifyLevel") : QStringLiteral("MSG.BatteryNotifyPoweroff");
            QString text = AppDelegate::languageString(QStringLiteral("Messages"), key);
            text = text.isEmpty() ? QStringLiteral("%1 (%2%)").arg(key).arg(v) : text.arg(v);
            AppDelegate::showMessageBox(text);
        });
        break;
    default:
        break; // not a report this viewer knows
    }
}
