#include "VizoEventDispatcher.h"

#include "kit/AbstractMenuController.h"
#include "connection/VizoConnection.h"
#include "kit/AppContext.h"
#include "protocol/VizoCommands.h"
#include "protocol/VizoReports.h"
#include "kit/ModalWindowController.h"

#include "settings/VizoFileListDelivery.h"
#include "settings/VizoFileListParser.h"
#include "settings/VizoConfigParser.h"
#include "settings/VizoSettings.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrNotificationCenter.h>

#include <QCoreApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcDispatch, "vizo.dispatch", QtWarningMsg)

namespace {
const char kDisconnectingText[] =
    "The USB connection of Vizo Viewer has been disconnected from the Vizo device.\n"
    "Application will be terminated.";
} // namespace

VizoEventDispatcher::VizoEventDispatcher(AppContext &app, VizoConnection &connection)
    : m_app(app)
    , m_connection(connection)
{
    m_parsers.setMaxThreadCount(2);
}

VizoEventDispatcher::~VizoEventDispatcher()
{
    waitForParsers();
}

void VizoEventDispatcher::waitForParsers()
{
    std::unique_lock lock(m_runningMutex);
    m_runningDone.wait(lock, [this] { return m_running == 0; });
}

void VizoEventDispatcher::startParse(std::function<void()> parse)
{
    {
        std::lock_guard lock(m_runningMutex);
        m_parses.push_back(std::move(parse));
        ++m_running;
    }
    // The parse goes through our own queue so that its hand-over to the
    // pool's thread is ordered by a mutex the race detector can see.
    m_parsers.start([this] {
        std::function<void()> parse;
        {
            std::lock_guard lock(m_runningMutex);
            parse = std::move(m_parses.front());
            m_parses.pop_front();
        }
        parse();
        parse = nullptr;
        std::lock_guard lock(m_runningMutex);
        if (--m_running == 0)
            m_runningDone.notify_all();
    });
}

void VizoEventDispatcher::post(std::function<void()> fn)
{
    std::weak_ptr<int> alive = m_alive;
    brPostMain([alive, fn = std::move(fn)] {
        if (alive.lock())
            fn();
    }, &m_connection);
}

void VizoEventDispatcher::onPacket(const QByteArray &payload, uint16_t count, uint16_t index)
{
    if (payload.size() < 2)
        return;
    const auto *body = reinterpret_cast<const uint8_t *>(payload.constData());
    const size_t length = size_t(payload.size());
    const uint8_t group = body[0];
    const uint8_t command = body[1];

    const VizoCode code{group, command};
    if (code == VizoReport::FileListData) {
        if (length < 3)
            return;
        const uint8_t kind = body[2];
        if (kind == 1)
            onTransferFrame(m_imageListBuffer, count, index, body + VizoReport::fileListDataOffset, length - VizoReport::fileListDataOffset, &VizoEventDispatcher::completeImageList);
        else if (kind == 2)
            onTransferFrame(m_ocrListBuffer, count, index, body + VizoReport::fileListDataOffset, length - VizoReport::fileListDataOffset, &VizoEventDispatcher::completeOcrList);
        return;
    }
    if (code == VizoReport::OptionFileData) {
        onTransferFrame(m_optionFileBuffer, count, index, body + VizoReport::optionFileDataOffset, length - VizoReport::optionFileDataOffset, &VizoEventDispatcher::completeOptionFile);
        return;
    }
    if (code == VizoReport::DeleteResult) {
        if (m_connection.deletingFiles()) {
            // A multi-frame deletion waits for this before its next frame.
            m_connection.semaphoreForDelete().release();
            return;
        }
        const int kind = length >= 3 ? body[2] : -1;
        post([this, kind] {
            m_app.closeDeleteBox();
            if (m_fileListRequestPending)
                return;
            if (kind == 0 || kind == 1) {
                m_fileListRequestPending = true;
                m_app.writeVizoPacket(VizoCmd::RequestFileList(std::uint8_t(kind == 0 ? 1 : 2)).payload());
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
        startParse([this, complete, done = std::move(done)]() mutable { (this->*complete)(std::move(done)); });
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
        VizoFileListDelivery::deliver(m_connection.settings(), kind == 1 ? VizoFileKind::Image : VizoFileKind::OCR, names,
                                      BrNotificationCenter::defaultCenter());
        m_fileListRequestPending = false;
        if (kind == 1)
            m_app.writeVizoPacket(VizoCmd::RequestFileList(std::uint8_t(2)).payload());
    });
}

void VizoEventDispatcher::completeOptionFile(QByteArray data)
{
    VizoOptionFileData pairs;
    VizoConfigParser::parseData(data, [&pairs](const VizoOptionFileData &parsed) { pairs = parsed; });
    post([this, pairs] {
        if (eventOptionFile)
            eventOptionFile(pairs);
    });
}

void VizoEventDispatcher::enableInput(bool enable)
{
    m_app.lockInput(!enable);
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
    const VizoCode code{group, command};
    if (code == VizoReport::BatteryInfo) {
        const QString text = QString::fromUtf8(reinterpret_cast<const char *>(payload + 2), qsizetype(length - 2));
        post([this, text] {
            m_connection.settings().options()->setInfo_battery(text);
            if (m_app.menuOpened() && m_app.menuController())
                m_app.menuController()->updateBatteryInfo();
        });
        return;
    }
    if (code == VizoReport::DeviceDisconnecting) {
        post([this] {
            if (eventDisconnecting)
                eventDisconnecting(QString::fromLatin1(kDisconnectingText));
        });
        return;
    }
    if (length < 3)
        return; // every other report carries a value
    const int v = payload[2];

    switch (code.key()) {
    case VizoReport::ZoomLevelChanged.key():
        post([this, v] { m_connection.settings().setZoomLevel(v); });
        break;
    case VizoReport::ColorSlotChanged.key():
        post([this, v] {
            VizoSettings *s = &m_connection.settings();
            if (s->cameraMode() != 0)
                s->setSelectedColorSlotForNearViewMode(v);
            else
                s->setSelectedColorSlotForDistanceViewMode(v);
            refreshMenuColor();
        });
        break;
    case VizoReport::CameraModeChanged.key():
        post([this, v] {
            if (v == 3) {
                enableInput(false);
            } else if (v == 0 || v == 1) {
                m_connection.settings().setCameraMode(v);
                m_app.closeAllUI();
                m_connection.settings().options()->setFocusLock(false);
                enableInput(true);
            }
            refreshMenuColor();
        });
        break;
    case VizoReport::AutoScrollStateChanged.key():
        post([this, v] {
            VizoSettings *s = &m_connection.settings();
            s->setVizoMode(v == 0 ? 4 : 0);
            s->setAutoScrollPlayed(v == 0);
            enableInput(true);
            refreshMode();
        });
        break;
    case VizoReport::OcrStateChanged.key():
        post([this, v] {
            VizoSettings *s = &m_connection.settings();
            switch (v) {
            case 0:
                s->setVizoMode(1);
                s->setOcrPlayed(true);
                enableInput(true);
                break;
            case 1:
                qCDebug(lcDispatch).noquote() << "*** OCR mode off";
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
    case VizoReport::MenuKey.key():
        post([this, v] {
            if (v == 0) {
                if (m_connection.settings().vizoVersion() != 1)
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
                    m_app.writeVizoPacket(VizoCmd::MenuClosed().payload());
                menu->closeUI();
            } else if (auto *window = qobject_cast<ModalWindowController *>(top)) {
                window->closeUI();
            }
        });
        break;
    case VizoReport::FocusLockChanged.key():
        post([this, v] {
            m_connection.settings().options()->setFocusLock(v == 1);
            if (m_app.menuController())
                m_app.menuController()->reloadSettings();
        });
        break;
    case VizoReport::ImageModeChanged.key():
        if (v != 0 && v != 1)
            break;
        post([this, v] {
            m_connection.settings().setVizoMode(v == 1 ? 2 : 0);
            m_app.updateHotKeys();
            m_app.updateMouseGestures();
            refreshMode();
        });
        break;
    case VizoReport::DeviceVersion.key():
        post([this, v] {
            m_connection.settings().setVizoVersion(v);
            m_app.writeVizoPacket(VizoCmd::RequestOptionFile().payload());
        });
        break;
    case VizoReport::ContrastChanged.key():
        post([this, v] {
            VizoSettings *s = &m_connection.settings();
            if (s->iSendContrastCnt() > 0) {
                // The echo of a contrast this viewer sent itself.
                s->setISendContrastCnt(s->iSendContrastCnt() - 1);
                return;
            }
            if (s->cameraMode() == 0) {
                s->options()->setContrastForDistance(v);
            } else if (s->cameraMode() == 1) {
                s->options()->setContrastForNear(v);
                qCDebug(lcDispatch).noquote() << QStringLiteral("contrast changed: %1").arg(v);
            }
        });
        break;
    case VizoReport::SdCardStatus.key():
        if (v != 0 && v != 1)
            break;
        post([this, v] {
            const QString key = v == 1 ? QStringLiteral("Message.CheckSD") : QStringLiteral("Message.InsertSD");
            m_app.showMessageBox(m_app.languageString(QStringLiteral("Messages"), key, key));
        });
        break;
    case VizoReport::VoiceGuideChanged.key():
        post([this, v] { m_connection.settings().options()->setVoiceGuide(v == 1); });
        break;
    case VizoReport::TtsVolumeChanged.key():
        post([this, v] {
            m_connection.settings().ocr()->setVolumeOfTTS(v);
            if (m_app.menuController())
                m_app.menuController()->setTtsVolumeValue(v);
        });
        break;
    case VizoReport::OcrPreviewChanged.key():
        if (v != 0 && v != 1)
            break;
        post([this, v] {
            m_connection.settings().setVizoMode(v == 1 ? 1 : 5);
            enableInput(true);
            refreshMode();
        });
        break;
    case VizoReport::FunctionsLocked.key():
        post([this, v] {
            m_app.setDisableAllFunctions(v != 0);
            m_app.updateMouseGestures();
            m_app.updateHotKeys();
            if (v == 0)
                refreshMode();
        });
        break;
    case VizoReport::RegionCode.key():
        post([this, v] { m_connection.settings().setVizoRegion(std::make_unique<VizoRegion>(v)); });
        break;
    case VizoReport::BatteryNotice.key():
        post([this, v] {
            const QString key = v > 5 ? QStringLiteral("MSG.BatteryNotifyLevel") : QStringLiteral("MSG.BatteryNotifyPoweroff");
            QString text = m_app.languageString(QStringLiteral("Messages"), key);
            text = text.isEmpty() ? QStringLiteral("%1 (%2%)").arg(key).arg(v) : text.arg(v);
            m_app.showMessageBox(text);
        });
        break;
    default:
        break; // not a report this viewer knows
    }
}
