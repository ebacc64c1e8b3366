#include "InputArming.h"

#include "AppDelegate.h"
#include "MessageBoxController.h"
#include "ModalWindowController.h"
#include "PageService.h"
#include "YesNoMessageBoxController.h"
#include "settings/VizoSettings.h"

#include "input/MouseGestureRecognizer.h"

#include <bramble/BrHotKey.h>

#include <QGuiApplication>

void InputArming::setupHotKeys(AppDelegate &)
{
    BrHotKey::hotKeyRepeatStartInterval(0.5);
}

void InputArming::updateHotKeys(AppDelegate &app)
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
        VizoSettings *settings = AppDelegate::settings();
        const int mode = settings ? settings->vizoHotKeyMode() : 0;
        if (mode >= 1 && mode <= 3)
            refreshModalWindows(app);
    }
    keepModalKeys(app);
}

void InputArming::setupMouseGestures(AppDelegate &) {}

void InputArming::updateMouseGestures(AppDelegate &app)
{
    for (const auto &recognizer : app.dicMouseGestures()) {
        if (recognizer)
            recognizer->enabled = false;
    }
}

void InputArming::refreshModalWindows(AppDelegate &app)
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
bool modalWindowHoldsKeys(AppDelegate &app)
{
    if (app.pageService().holdsHotKeys())
        return true;
    QObject *top = app.stackUI().top();
    return qobject_cast<MessageBoxController *>(top) ||
           qobject_cast<YesNoMessageBoxController *>(top);
}
} // namespace

bool InputArming::hotKeysOff(AppDelegate &app)
{
    return app.disableHotKeys() || modalWindowHoldsKeys(app);
}

bool InputArming::mouseGesturesOff(AppDelegate &app)
{
    return app.disableMouseGestures() || app.pageService().holdsMouseGestures();
}

void InputArming::keepModalKeys(AppDelegate &app)
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
