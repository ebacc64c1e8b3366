#include "input/VizoInputArming.h"

#if __has_include("core/InputArming.h")
#include "core/AbstractMenuController.h"
#include "core/AppDelegate.h"
#include "core/CaptureWindowController.h"
#include "settings/VizoSettings.h"

#include <QGuiApplication>
#include <QPointer>

namespace {

VizoInputArming::ColorSlotPageOpener &colorSlotPageOpener()
{
    static VizoInputArming::ColorSlotPageOpener opener;
    return opener;
}

} // namespace

VizoInputArming::VizoInputArming() = default;
VizoInputArming::~VizoInputArming() = default;

void VizoInputArming::setColorSlotPageOpener(ColorSlotPageOpener opener)
{
    colorSlotPageOpener() = std::move(opener);
}

VizoInputFlags VizoInputArming::flagsOf(AppDelegate &app)
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

VizoInput &VizoInputArming::inputFor(AppDelegate &app)
{
    if (m_input && m_settings == AppDelegate::settings())
        return *m_input;
    // A new settings model (a new launch of the model) gets new tables.
    m_input.reset();
    m_settings = AppDelegate::settings();
    QPointer<AppDelegate> a(&app);
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
    hooks.openColorSlotPage = [](int view, int slotIndex) {
        if (colorSlotPageOpener())
            colorSlotPageOpener()(view, slotIndex);
    };
    m_input = std::make_unique<VizoInput>(*AppDelegate::settings(), std::move(hooks));
    return *m_input;
}

void VizoInputArming::setupHotKeys(AppDelegate &app)
{
    m_input.reset();
    VizoInput &input = inputFor(app);
    input.setupHotKeys();
    for (const QString &name : input.hotKeys().dicShortcutHandlers().keys())
        app.dicShortcutHandlers().insert(name, input.hotKeys().dicShortcutHandlers().value(name));
}

void VizoInputArming::updateHotKeys(AppDelegate &app)
{
    inputFor(app).updateHotKeys(flagsOf(app));
    keepModalKeys(app);
}

void VizoInputArming::setupMouseGestures(AppDelegate &app)
{
    VizoInput &input = inputFor(app);
    input.setupMouseGestures();
    for (const QString &name : input.gestures().names())
        app.dicMouseGestures().insert(name, input.gestures().sharedRecognizer(name));
}

void VizoInputArming::updateMouseGestures(AppDelegate &app)
{
    inputFor(app).updateMouseGestures(flagsOf(app));
}
#endif
