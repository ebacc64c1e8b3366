#include "WindowRaise.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

void raiseAndFocusWindow(QWidget *window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    // Without a window manager Qt sets the focus with the last event's time,
    // which the server ignores when the focus changed since: set it now.
    if (auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (xcb_connection_t *connection = x11->connection()) {
            xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT,
                                xcb_window_t(window->winId()), XCB_CURRENT_TIME);
            xcb_flush(connection);
        }
    }
}

void whenNotRaised(QWidget *window, std::function<void()> notRaised)
{
    if (!window || QGuiApplication::platformName() == QLatin1String("xcb"))
        return;
    // Long enough for the compositor's answer to a token request.
    constexpr int kSettleMs = 1000;
    QPointer<QWidget> target(window);
    QTimer::singleShot(kSettleMs, window, [target, notRaised = std::move(notRaised)] {
        if (target && !target->isActiveWindow() && notRaised)
            notRaised();
    });
}
