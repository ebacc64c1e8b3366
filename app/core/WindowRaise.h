#pragma once
// Brings a top-level window to the front and gives it the keyboard, also
// where no window manager answers activation requests.
class QWidget;

void raiseAndFocusWindow(QWidget *window);
