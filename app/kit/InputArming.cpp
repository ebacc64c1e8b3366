#include "InputArming.h"

#include "kit/AppContext.h"
#include "kit/MessageBoxController.h"
#include "kit/ModalWindowController.h"
#include "kit/PageService.h"
#include "kit/YesNoMessageBoxController.h"
#include "settings/VizoSettings.h"

#include "kit/MouseGestureRecognizer.h"
#include "kit/Stack.h"

#include <bramble/BrHotKey.h>

#include <QGuiApplication>

void InputArming::setupHotKeys(AppContext &)
{
    BrHotKey::hotKeyRepeatStartInterval(0.5);
}

void InputArming::updateHotKeys(AppContext &app)
{
    BrHotKey::disableAllHotKeys();
    if (app.disableAllFunctions())
        return;
    if (!applicationTakesInput())
        return;
    for (const char *name : {"TTS.SpeedUp", "TTS.SpeedDown"}) {
        if (auto key = app.dicShortcutHandlers().value(QString::fromLatin1(name)))
            key->setEnabled(true);
    }
    if (!hotKeysOff(app)) {
        VizoSettings *settings = app.settings();
        const int mode = settings ? settings->vizoHotKeyMode() : 0;
        if (mode >= 1 && mode <= 3)
            refreshModalWindows(app);
    }
    keepModalKeys(app);
}

void InputArming::setupMouseGestures(AppContext &) {}

void InputArming::updateMouseGestures(AppContext &app)
{
    for (const auto &recognizer : app.dicMouseGestures()) {
        if (recognizer)
            recognizer->enabled = false;
    }
}

void InputArming::refreshModalWindows(AppContext &app)
{
    Stack &stack = app.stackUI();
    const qsizetype n = stack.count();
    for (qsizetype i = 0; i < n; ++i) {
        auto *window = qobject_cast<ModalWindowController *>(stack.at(i));
        if (!window)
            continue;
        // Only a front application may bring windows forward: on Wayland a
        // request from the background asks the compositor to steal focus.
        if (QGuiApplication::applicationState() == Qt::ApplicationActive) {
            window->raise();
            window->activateWindow();
        }
        if (i == n - 1)
            window->enableHotKeys();
    }
}

namespace {
// A page or a message box has the keyboard; the main window waits.
bool modalWindowHoldsKeys(AppContext &app)
{
    if (app.pageService().holdsHotKeys())
        return true;
    QObject *top = app.stackUI().top();
    return qobject_cast<MessageBoxController *>(top) ||
           qobject_cast<YesNoMessageBoxController *>(top);
}
} // namespace

bool InputArming::hotKeysOff(AppContext &app)
{
    return app.disableHotKeys() || modalWindowHoldsKeys(app);
}

bool InputArming::mouseGesturesOff(AppContext &app)
{
    return app.disableMouseGestures() || app.pageService().holdsMouseGestures();
}

void InputArming::keepModalKeys(AppContext &app)
{
    if (!modalWindowHoldsKeys(app) || app.disableAllFunctions())
        return;
    if (!applicationTakesInput())
        return;
    if (auto *window = qobject_cast<ModalWindowController *>(app.stackUI().top()))
        window->enableHotKeys();
}

bool InputArming::applicationTakesInput()
{
    return QGuiApplication::applicationState() == Qt::ApplicationActive || !BrHotKey::grabsSystemWide();
}
