#pragma once
// The menu column and the windows on the modal stack, as the application
// opens and closes them: the menu opened into the main window (or into the
// capture window in front), every window closed when the camera changes
// view, every window closed when the camera goes away, and a mode change
// passed to the window on top. Main thread only.
#include <functional>

class AbstractMenuController;
class AppContext;
class MainWindowController;

class StackControl
{
public:
    // `menu` and `window` are looked up at each call: both change.
    StackControl(AppContext &context, std::function<AbstractMenuController *()> menu,
                 std::function<MainWindowController *()> window);

    bool menuOpened() const { return m_menuOpened; }
    void setMenuOpened(bool opened) { m_menuOpened = opened; }

    void openMenu();
    void closeMenu();
    // Asks every window on the stack, top first, to close, pausing `pauseMs`
    // between two (the device switching views).
    void closeAllUI(int pauseMs);
    // Closes every page, browser, box and the menu through their cancel
    // paths; what will not close that way is closed outright. The start-up
    // splash stays.
    void closeOpenWindows();
    void applyVizoModeChanged();

private:
    AppContext &m_context;
    std::function<AbstractMenuController *()> m_menu;
    std::function<MainWindowController *()> m_window;
    bool m_menuOpened = false;
};
