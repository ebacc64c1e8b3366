#pragma once
// Opens a setting page or a file browser the one way the viewer does it: the
// keyboard and the mouse are handed to the page (hot keys off; gestures off
// or switched to the page's own gesture set), the camera picture is lent to
// pages that show it, the page runs modally, and afterwards the hot key and
// gesture modes are back to the main window's (0) whatever the page did.
//
// The menus, the colour-slot hot key and gesture, and the file browsers all
// open their windows through here. Main thread only.
#include <optional>

class AppContext;
class ModalWindowController;

class PageService
{
public:
    struct Options {
        // The page's own gesture set (1 to 6); without one, gestures are off.
        std::optional<int> gestureMode;
        // The page shows the camera picture: lend it the capture view.
        bool lendCaptureView = false;
    };

    explicit PageService(AppContext &app) : m_app(app) {}

    // Runs `page` modally and returns when it has closed.
    void runPage(ModalWindowController &page, const Options &options);

    // True while a page opened here is running. A page opened from another
    // page hands its opener's input state back, not the main window's.
    bool isPageOpen() const { return m_depth > 0; }

    // While a page runs it holds the keyboard, and the mouse unless it has
    // its own gesture set: a recomputation of the hot keys or gestures (after
    // a device report, say) must not give them back to the main window.
    bool holdsHotKeys() const { return isPageOpen(); }
    bool holdsMouseGestures() const { return isPageOpen() && !m_pageHasGestures; }

private:
    AppContext &m_app;
    int m_depth = 0;
    bool m_pageHasGestures = false;
};
