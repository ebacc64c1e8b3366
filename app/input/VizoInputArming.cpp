#include "input/VizoInputArming.h"

#include "kit/AbstractMenuController.h"
#include "kit/AppContext.h"
#include "kit/CaptureWindowController.h"
#include "settings/VizoSettings.h"

#include <QGuiApplication>
#include <QPointer>

VizoInputArming::VizoInputArming() = default;
VizoInputArming::~VizoInputArming() = default;

VizoInputFlags VizoInputArming::flagsOf(AppContext &app)
{
    VizoInputFlags flags;
    flags.applicationActive = InputArming::applicationTakesInput();
    flags.menuOpened = app.menuOpened();
    flags.disableAllFunctions = app.disableAllFunctions();
    flags.disableHotKeys = InputArming::hotKeysOff(app);
    flags.disableMouseGestures = InputArming::mouseGesturesOff(app);
    if (auto *window = qobject_cast<CaptureWindowController *>(app.stackUI().top()))
        flags.captureTop =
            window->isVizoMenuOpen() ? VizoCaptureTop::MenuOpen : VizoCaptureTop::MenuClosed;
    return flags;
}

VizoInput &VizoInputArming::inputFor(AppContext &app)
{
    if (m_input && m_settings == app.settings())
        return *m_input;
    // A new settings model (a new launch of the model) gets new tables.
    m_input.reset();
    m_settings = app.settings();
    // The context owns this object (and so the hooks): it outlives them.
    AppContext *a = &app;
    VizoInputHooks hooks;
    hooks.send = [a](const QByteArray &payload) {
        if (a)
            a->writeVizoPacket(payload);
    };
    hooks.openMenu = [a] {
        if (a)
            a->openMenu();
    };
    hooks.closeMenu = [a] {
        if (a)
            a->closeMenu();
    };
    hooks.setDisableHotKeys = [a](bool on) {
        if (a)
            a->setDisableHotKeys(on);
    };
    hooks.setDisableMouseGestures = [a](bool on) {
        if (a)
            a->setDisableMouseGestures(on);
    };
    hooks.updateHotKeys = [a] {
        if (a)
            a->updateHotKeys();
    };
    hooks.updateMouseGestures = [a] {
        if (a)
            a->updateMouseGestures();
    };
    hooks.reloadMenuSettings = [a] {
        if (a && a->menuController())
            a->menuController()->reloadSettings();
    };
    hooks.enableMenuHotKeys = [a] {
        if (a && a->menuController())
            a->menuController()->setEnableHotKeys(true);
    };
    hooks.refreshModalWindows = [a] {
        if (a)
            InputArming::refreshModalWindows(*a);
    };
    hooks.openColorSlotPage = [this](int view, int slotIndex) {
        if (m_colorSlotPageOpener)
            m_colorSlotPageOpener(view, slotIndex);
    };
    m_input = std::make_unique<VizoInput>(*app.settings(), std::move(hooks));
    return *m_input;
}

void VizoInputArming::setupHotKeys(AppContext &app)
{
    m_input.reset();
    VizoInput &input = inputFor(app);
    input.setupHotKeys();
    for (const QString &name : input.hotKeys().dicShortcutHandlers().keys())
        app.dicShortcutHandlers().insert(name, input.hotKeys().dicShortcutHandlers().value(name));
}

void VizoInputArming::updateHotKeys(AppContext &app)
{
    inputFor(app).updateHotKeys(flagsOf(app));
    keepModalKeys(app);
}

void VizoInputArming::setupMouseGestures(AppContext &app)
{
    VizoInput &input = inputFor(app);
    input.setupMouseGestures();
    for (const QString &name : input.gestures().names())
        app.dicMouseGestures().insert(name, input.gestures().sharedRecognizer(name));
}

void VizoInputArming::updateMouseGestures(AppContext &app)
{
    inputFor(app).updateMouseGestures(flagsOf(app));
}
