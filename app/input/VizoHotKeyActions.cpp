#include "input/VizoHotKeyActions.h"

#include "input/VizoInputCommands.h"
#include "input/VizoInputNames.h"
#include "protocol/VizoCommands.h"

#include <QHash>

#include <algorithm>

namespace cmd = VizoInputCommands;

namespace {

constexpr int kStop = 0x0A;
constexpr int kNoDirection = 10;
constexpr int kMaxContrast = 39;
constexpr int kMaxSpeechRate = 13;

using Press = std::function<void()>;

// Press handlers act once per press; automatic repeats are ignored.
std::function<void(bool)> once(Press press)
{
    return [press = std::move(press)](bool repeat) {
        if (!repeat)
            press();
    };
}

} // namespace

namespace VizoHotKeyActions {

void stepContrast(VizoInputContext &ctx, bool up)
{
    VizoInputModel &m = ctx.model();
    if (m.vizoHotKeyMode() == 1) {
        ctx.send(cmd::imageContrast(up ? 0 : 1));
        return;
    }
    if (m.vizoMode() == 1) {
        ctx.send(cmd::ocrContrast(up ? 0 : 1));
        return;
    }
    const int view = m.cameraMode();
    if (view != 0 && view != 1)
        return;
    const int level = m.contrast(view);
    int next;
    if (up) {
        if (level == kMaxContrast)
            return;
        next = std::min(level + 1, kMaxContrast);
    } else {
        if (level == 0)
            return;
        next = std::max(level - 1, 0);
    }
    m.incrementSendContrastCount();
    const int slotColor = m.slotTextColor(view, m.selectedColorSlot(view));
    ctx.send(cmd::setContrast(VizoCmd::contrastTarget(view, slotColor), next));
    m.setContrast(view, next);
}

void stepSpeechRate(VizoInputContext &ctx, bool up)
{
    VizoInputModel &m = ctx.model();
    if (m.vizoVersion() == 1 || m.vizoMode() == 1)
        return;
    const int speed = m.speedOfTTS();
    int next;
    if (up) {
        if (speed == kMaxSpeechRate)
            return;
        next = std::min(speed + 1, kMaxSpeechRate);
    } else {
        if (speed == 0)
            return;
        next = std::max(speed - 1, 0);
    }
    ctx.send(cmd::setTtsSpeed(next));
    m.setSpeedOfTTS(next);
}

void easyColorChange(VizoInputContext &ctx)
{
    VizoInputModel &m = ctx.model();
    const int view = m.cameraMode() != 0 ? 1 : 0;
    const int selected = m.selectedColorSlot(view);
    if (m.slotTextColor(view, selected) == 1) {
        m.setSelectedColorSlot(view, m.oldSelectedColorSlot(view));
        ctx.send(cmd::easyColorChange(1));
    } else {
        m.setOldSelectedColorSlot(view, selected);
        m.setSelectedColorSlot(view, 0);
        ctx.send(cmd::easyColorChange(0));
    }
}

QList<VizoHotKeyAction> build(VizoInputContext &ctx)
{
    QHash<QString, VizoHotKeyAction> table;
    auto press = [&](const char *name, Press fn) {
        table.insert(QString::fromLatin1(name),
                     {QString::fromLatin1(name), once(std::move(fn)), {}});
    };
    auto pressRelease = [&](const char *name, Press down, Press up) {
        table.insert(QString::fromLatin1(name),
                     {QString::fromLatin1(name), once(std::move(down)), std::move(up)});
    };
    VizoInputContext *c = &ctx;
    auto sendOnPress = [&](const char *name, QByteArray payload) {
        press(name, [c, payload] { c->send(payload); });
    };
    auto sendAndLock = [&](const char *name, QByteArray payload) {
        press(name, [c, payload] {
            c->send(payload);
            c->lock();
        });
    };
    // Movement runs while the key is held; the release stops it only if no
    // other direction key took over in between.
    auto move = [&](const char *name, int direction, QByteArray (*moveCommand)(int)) {
        pressRelease(
            name,
            [c, direction, moveCommand] {
                c->moveDirection = direction;
                c->send(moveCommand(direction));
            },
            [c, direction, moveCommand] {
                if (c->moveDirection == direction) {
                    c->moveDirection = kNoDirection;
                    c->send(moveCommand(kStop));
                }
            });
    };
    auto zoom = [&](const char *name, int action, QByteArray (*zoomCommand)(int)) {
        pressRelease(
            name, [c, action, zoomCommand] { c->send(zoomCommand(action)); },
            [c, zoomCommand] { c->send(zoomCommand(2)); });
    };
    auto rearm = [c] {
        c->updateHotKeys();
        c->updateMouseGestures();
    };
    auto selectView = [&](const char *name, int view) {
        press(name, [c, view] {
            c->send(cmd::selectView(view));
            c->lock();
            c->model().setFocusLock(false);
        });
    };

    press("OpenMenu", [c] {
        if (c->hooks().openMenu)
            c->hooks().openMenu();
    });
    for (const char *name : {"CloseMenu", "CloseMenu2"})
        press(name, [c] {
            if (c->hooks().closeMenu)
                c->hooks().closeMenu();
        });
    selectView("NearViewMode", 1);
    sendOnPress("NearViewMode.MoveToBookmark", cmd::selectView(2));
    press("NearViewMode.FocusLock", [c] {
        const bool on = !c->model().focusLock();
        c->model().setFocusLock(on);
        c->send(cmd::setFocusLock(on));
        if (c->hooks().reloadMenuSettings)
            c->hooks().reloadMenuSettings();
    });
    selectView("DistanceViewMode", 0);
    sendOnPress("DistanceViewMode.MoveToBookmark", cmd::selectView(2));
    press("CameraMode.OpenColorModeSetting", [c] { c->openSelectedColorSlotPage(); });
    move("CameraMode.MoveUp", 0, cmd::cameraMove);
    move("CameraMode.MoveDown", 1, cmd::cameraMove);
    move("CameraMode.MoveToLeft", 2, cmd::cameraMove);
    move("CameraMode.MoveToRight", 3, cmd::cameraMove);
    sendOnPress("CameraMode.MoveToNextLine", cmd::nextLine());
    zoom("CameraMode.ZoomIn", 0, cmd::cameraZoom);
    zoom("CameraMode.ZoomOut", 1, cmd::cameraZoom);
    pressRelease(
        "CameraMode.FindPosition", [c] { c->send(cmd::findPositionStart()); },
        [c] { c->send(cmd::findPositionEnd()); });
    press("CameraMode.NextColor", [c] {
        c->send(cmd::cameraColor(0));
        c->model().calcNextColor();
    });
    press("CameraMode.PrevColor", [c] {
        c->send(cmd::cameraColor(1));
        c->model().calcPrevColor();
    });
    press("CameraMode.EasyColorChange", [c] { easyColorChange(*c); });
    // Contrast keeps stepping on the automatic repeats of a held key.
    table.insert(QStringLiteral("ContrastUp"),
                 {QStringLiteral("ContrastUp"), [c](bool) { stepContrast(*c, true); }, {}});
    table.insert(QStringLiteral("ContrastDown"),
                 {QStringLiteral("ContrastDown"), [c](bool) { stepContrast(*c, false); }, {}});
    sendOnPress("CameraMode.ToOCRMode", cmd::ocrStart());
    sendOnPress("CameraMode.ToFullScreenOCRPreviewMode", cmd::ocrStart());
    sendAndLock("CameraMode.ToAutoScrollMode", cmd::autoScrollEnter());
    sendOnPress("ImageMode.Save", cmd::imageSave());
    sendOnPress("ImageMode.NextColor", cmd::imageColor(0));
    sendOnPress("ImageMode.PrevColor", cmd::imageColor(1));
    zoom("ImageMode.ZoomIn", 0, cmd::imageZoom);
    zoom("ImageMode.ZoomOut", 1, cmd::imageZoom);
    move("ImageMode.MoveUp", 0, cmd::imageMove);
    move("ImageMode.MoveDown", 1, cmd::imageMove);
    move("ImageMode.MoveToLeft", 2, cmd::imageMove);
    move("ImageMode.MoveToRight", 3, cmd::imageMove);
    sendAndLock("OCRMode.ToCameraMode", cmd::ocrExit());
    sendAndLock("FullScreenOCRPreviewMode.ToCameraMode", cmd::ocrExit());
    sendAndLock("FullScreenOCRPreviewMode.ToOCRMode", cmd::ocrStart());
    sendAndLock("OCRMode.ToCameraPreviewMode", cmd::ocrCameraPreview());
    sendOnPress("OCRMode.Save", cmd::ocrSave());
    sendOnPress("OCRMode.NextColor", cmd::ocrColor(0));
    sendOnPress("OCRMode.PrevColor", cmd::ocrColor(1));
    zoom("OCRMode.ZoomIn", 0, cmd::ocrZoom);
    zoom("OCRMode.ZoomOut", 1, cmd::ocrZoom);
    // Play and Pause swap at once, before the device confirms.
    press("OCRMode.Play", [c, rearm] {
        c->send(cmd::ocrPlay());
        c->model().setOcrPlayed(true);
        rearm();
    });
    press("OCRMode.Pause", [c, rearm] {
        c->send(cmd::ocrPause());
        c->model().setOcrPlayed(false);
        rearm();
    });
    sendOnPress("OCRMode.GoToNextParagraph", cmd::ocrNextParagraph());
    sendOnPress("OCRMode.GoToPrevParagraph", cmd::ocrPrevParagraph());
    sendOnPress("OCRMode.GoToNextLine", cmd::ocrNextLine());
    sendOnPress("OCRMode.GoToPrevLine", cmd::ocrPrevLine());
    sendAndLock("AutoScrollMode.ToCameraMode", cmd::autoScrollExit());
    press("AutoScrollMode.Play", [c, rearm] {
        c->send(cmd::autoScrollPlay());
        c->model().setAutoScrollPlayed(true);
        rearm();
    });
    press("AutoScrollMode.Pause", [c, rearm] {
        c->send(cmd::autoScrollPause());
        c->model().setAutoScrollPlayed(false);
        rearm();
    });
    press("AutoScrollMode.MoveToNextLine", [c, rearm] {
        c->send(cmd::autoScrollNextLine());
        rearm();
    });
    sendAndLock("CameraPreviewMode.ToOCRMode", cmd::findPositionEnd());
    press("TTS.SpeedUp", [c] { stepSpeechRate(*c, true); });
    press("TTS.SpeedDown", [c] { stepSpeechRate(*c, false); });

    QList<VizoHotKeyAction> actions;
    for (const QString &name : VizoInputNames::hotKeyActions()) {
        Q_ASSERT(table.contains(name));
        actions.append(table.take(name));
    }
    Q_ASSERT(table.isEmpty());
    return actions;
}

} // namespace VizoHotKeyActions
