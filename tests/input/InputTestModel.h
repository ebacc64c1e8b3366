#pragma once
// A settings stand-in for the input tests: plain fields, and the commands
// sent, as hex strings, in order.
#include "input/VizoInputContext.h"

#include <QStringList>

#include <array>
#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

struct InputTestModel : VizoInputModel
{
    int version = 0, mode = 0, hotKeyMode = 0, gestureMode = 0, camera = 1, fieldMode = 0;
    bool ocr = false, scroll = false, focus = false;
    std::array<int, 2> contrastOf{19, 19};
    int sendContrastCount = 0;
    std::array<int, 2> selected{1, 1};
    std::array<int, 2> oldSelected{1, 1};
    std::array<std::array<int, 8>, 2> textColors{
        {{1, 3, 2, 10, 9, 9, 5, 0}, {1, 3, 2, 10, 9, 9, 5, 0}}};
    int nextColorCalls = 0, prevColorCalls = 0;
    int speed = 2;

    int vizoVersion() const override { return version; }
    int vizoMode() const override { return mode; }
    int vizoHotKeyMode() const override { return hotKeyMode; }
    int vizoMouseGestureMode() const override { return gestureMode; }
    int cameraMode() const override { return camera; }
    int ocrFieldMode() const override { return fieldMode; }
    bool ocrPlayed() const override { return ocr; }
    void setOcrPlayed(bool v) override { ocr = v; }
    bool autoScrollPlayed() const override { return scroll; }
    void setAutoScrollPlayed(bool v) override { scroll = v; }
    bool focusLock() const override { return focus; }
    void setFocusLock(bool v) override { focus = v; }
    int contrast(int view) const override { return contrastOf[size_t(view)]; }
    void setContrast(int view, int v) override { contrastOf[size_t(view)] = v; }
    void incrementSendContrastCount() override { ++sendContrastCount; }
    int selectedColorSlot(int view) const override { return selected[size_t(view)]; }
    void setSelectedColorSlot(int view, int i) override { selected[size_t(view)] = i; }
    int oldSelectedColorSlot(int view) const override { return oldSelected[size_t(view)]; }
    void setOldSelectedColorSlot(int view, int i) override { oldSelected[size_t(view)] = i; }
    int slotTextColor(int view, int i) const override
    {
        return i < 0 || i > 7 ? -1 : textColors[size_t(view)][size_t(i)];
    }
    void calcNextColor() override { ++nextColorCalls; }
    void calcPrevColor() override { ++prevColorCalls; }
    int speedOfTTS() const override { return speed; }
    void setSpeedOfTTS(int v) override { speed = v; }
};

// Records what the handlers do, in order: "send 20 00 00", "lock-keys",
// "update-keys", "open-menu", "page 1 3" ...
struct InputTestRecorder
{
    QStringList log;
    bool disableHotKeys = false;
    bool disableMouseGestures = false;

    QStringList sent() const
    {
        QStringList out;
        for (const QString &line : log)
            if (line.startsWith("send "))
                out.append(line.mid(5));
        return out;
    }

    VizoInputHooks hooks()
    {
        VizoInputHooks h;
        h.send = [this](const QByteArray &p) {
            log.append("send " + QString::fromLatin1(p.toHex(' ')));
        };
        h.openMenu = [this] { log.append("open-menu"); };
        h.closeMenu = [this] { log.append("close-menu"); };
        h.setDisableHotKeys = [this](bool v) {
            disableHotKeys = v;
            log.append(v ? "lock-keys" : "unlock-keys");
        };
        h.setDisableMouseGestures = [this](bool v) {
            disableMouseGestures = v;
            log.append(v ? "lock-gestures" : "unlock-gestures");
        };
        h.updateHotKeys = [this] { log.append("update-keys"); };
        h.updateMouseGestures = [this] { log.append("update-gestures"); };
        h.reloadMenuSettings = [this] { log.append("reload-menu"); };
        h.openColorSlotPage = [this](int view, int slot) {
            log.append(QStringLiteral("page %1 %2").arg(view).arg(slot));
        };
        return h;
    }
};
