#pragma once
// What the hot key and gesture handlers reach outside the input layer: the
// settings (through VizoInputModel), the device link and the parts of the
// application they open or re-arm. The application delegate fills the
// callbacks; absent callbacks are skipped.
#include "input/VizoInputModel.h"

#include <QByteArray>

#include <functional>

struct VizoInputHooks
{
    // Sends one command payload to the device (blocks while it is paced).
    std::function<void(const QByteArray &payload)> send;
    std::function<void()> openMenu;
    std::function<void()> closeMenu;
    std::function<void(bool)> setDisableHotKeys;
    std::function<void(bool)> setDisableMouseGestures;
    std::function<void()> updateHotKeys;
    std::function<void()> updateMouseGestures;
    // The menu controller re-reads the settings it shows.
    std::function<void()> reloadMenuSettings;
    // Opens the colour-slot page for a view (0 distance, 1 near) and a slot.
    std::function<void(int view, int slotIndex)> openColorSlotPage;
    // The open tree menu takes its own keys (arrows, Tab) again.
    std::function<void()> enableMenuHotKeys;
    // Raise every modal window of the stack, bottom to top, and give the top
    // one its own keys again.
    std::function<void()> refreshModalWindows;
};

class VizoInputContext
{
public:
    VizoInputContext(VizoInputModel &model, VizoInputHooks hooks)
        : m_model(model), m_hooks(std::move(hooks))
    {
    }

    VizoInputModel &model() const { return m_model; }
    const VizoInputHooks &hooks() const { return m_hooks; }

    void send(const QByteArray &payload) const;
    void updateHotKeys() const;
    void updateMouseGestures() const;
    // A command that switches the device's mode was sent: hot keys (but the
    // speech-rate keys) and gestures stay off until the device reports the
    // new mode.
    void lock() const;
    // The colour-slot page of the shown view's selected slot; nothing for
    // slot 0, which is fixed to natural colours.
    void openSelectedColorSlotPage() const;

    // The move direction shared by the camera and image movement keys.
    int moveDirection = 10;

private:
    VizoInputModel &m_model;
    VizoInputHooks m_hooks;
};
