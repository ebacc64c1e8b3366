#pragma once
// The virtual device's behaviour: for every frame the viewer sends, the
// frames the device answers with, and the change to its state. No I/O here:
// VizoSimulator carries the frames over a pseudo-terminal, and a viewer may
// drive the model in-process.
//
// Construct it on the main thread (it reads the region tables once).
// handle() and state() may then be called from different threads.
// eventStateChanged and eventNote run on the thread that called handle(),
// after the change, outside the device's lock.
#include "sim/VizoSimRegion.h"
#include "sim/VizoSimState.h"

#include <QByteArray>
#include <QSet>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

struct VizoDecodedPayload;

struct VizoSimFrame
{
    QByteArray payload;
    std::uint16_t count = 1;
    std::uint16_t index = 1;
};

class VizoSimDevice
{
public:
    explicit VizoSimDevice(VizoSimState initial = {});
    VizoSimDevice(VizoSimState initial, VizoSimRegion region);

    std::function<void(const VizoSimState &state)> eventStateChanged;
    // What a tester should know that no report tells: a file that was not on
    // the card, a value the device refused.
    std::function<void(const QString &note)> eventNote;

    // What the device says when a host has connected: its edition and region.
    std::vector<VizoSimFrame> hello() const;
    // The answer to one payload from the viewer (often nothing).
    std::vector<VizoSimFrame> handle(const QByteArray &payload);
    // The viewer said HostClosing.
    bool finished() const;

    VizoSimState state() const;
    // Changes the state as the device does on its own (its buttons, its
    // battery, its card); eventStateChanged follows, outside the lock.
    void update(const std::function<void(VizoSimState &state)> &change);
    // The FileListData transfer of one kind (VizoCmd::ImageFiles or OcrFiles).
    static std::vector<VizoSimFrame> fileList(const VizoSimState &state, int kind);
    const VizoSimRegion &region() const { return m_region; }

    // The option file as the device sends it, from the current settings.
    QByteArray optionFileText() const;
    // The battery text of BatteryInfo and Info_Battery, in the device's language.
    QString batteryText() const;

    // A multi-frame transfer: a first frame holding `head` alone, then the
    // data in chunks of at most `chunk` bytes after `head` (at least one
    // data frame, so that an empty transfer still completes).
    static std::vector<VizoSimFrame> transfer(const QByteArray &head, const QByteArray &data,
                                              int chunk = 1000);

private:
    using Frames = std::vector<VizoSimFrame>;
    Frames apply(const VizoDecodedPayload &cmd, bool &changed);
    Frames applyPicture(const VizoDecodedPayload &cmd);     // colour slots, contrast, markers
    Frames applyOptions(const VizoDecodedPayload &cmd);     // options, auto-scroll, Wi-Fi
    Frames applyOcrSettings(const VizoDecodedPayload &cmd); // OCR and speech settings
    Frames applyCamera(const VizoDecodedPayload &cmd);
    Frames applyStoredImage(const VizoDecodedPayload &cmd);
    Frames applyOcrMode(const VizoDecodedPayload &cmd);
    Frames applyHost(const VizoDecodedPayload &cmd, bool &changed); // menu, speech, requests, link
    Frames deleteFiles(const VizoDecodedPayload &cmd);
    Frames resetSettings(int group);
    Frames stepColor(int direction);
    void switchLanguage(int code);
    double moveSpeed() const;
    // Stores v in `field` when it lies in 0..max; otherwise notes the refusal.
    bool setWithin(int &field, std::uint32_t v, int max, const char *what);
    void note(const QString &text);
    QString batteryText(const VizoSimState &state) const;
    QByteArray optionFileText(const VizoSimState &state) const;

    mutable std::mutex m_mutex;
    VizoSimState m_state;
    const VizoSimRegion m_region;
    bool m_finished = false;
    QStringList m_notes;
    QSet<QString> m_deleted; // paths this device deleted
};
