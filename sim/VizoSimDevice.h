#pragma once
// The virtual device's behaviour: for every frame the viewer sends, the
// frames the device answers with, and the change to its state. No I/O here:
// VizoSimulator carries the frames over a pseudo-terminal, and a viewer may
// drive the model in-process.
//
// Thread-safe: handle() and state() may be called from different threads.
// eventStateChanged runs on the thread that called handle(), after the
// change, with a copy of the new state.
#include "sim/VizoSimState.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

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

    std::function<void(const VizoSimState &state)> eventStateChanged;

    // What the device says when a host has connected: its edition and region.
    std::vector<VizoSimFrame> hello() const;
    // The answer to one payload from the viewer (often nothing).
    std::vector<VizoSimFrame> handle(const QByteArray &payload);
    // The viewer said HostClosing.
    bool finished() const;

    VizoSimState state() const;

    // The option file as the device sends it, from the current settings.
    QByteArray optionFileText() const;

    // A multi-frame transfer: a first frame holding `head` alone, then the
    // data in chunks of at most `chunk` bytes after `head` (at least one
    // data frame, so that an empty transfer still completes).
    static std::vector<VizoSimFrame> transfer(const QByteArray &head, const QByteArray &data, int chunk = 1000);

private:
    std::vector<VizoSimFrame> apply(const QByteArray &payload, bool &changed);
    static QByteArray optionFileText(const VizoSimState &state);

    mutable std::mutex m_mutex;
    VizoSimState m_state;
    bool m_finished = false;
};
