#pragma once
// Brings a top-level window to the front and gives it the keyboard, also
// where no window manager answers activation requests.
#include <functional>

class QWidget;

void raiseAndFocusWindow(QWidget *window);

// On Wayland the compositor decides whether a window comes forward (through
// xdg-activation, which Qt asks for where the compositor offers it): calls
// `notRaised` when `window` is still not active a moment after the attempt.
// On X11 the focus is set directly, and nothing is called.
void whenNotRaised(QWidget *window, std::function<void()> notRaised);
