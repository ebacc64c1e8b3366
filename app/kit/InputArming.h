#pragma once
// The application's hot key and mouse gesture tables are armed by
// recomputation: every state change ends in updateHotKeys() and
// updateMouseGestures() of the delegate, which hand over to this object.
//
// The base class implements the rules that do not depend on the key and
// gesture tables (everything off, nothing while functions are locked or the
// application is inactive, the modal windows' own keys given back) and
// creates no keys or gestures. The input layer derives from it and fills the
// tables; the delegate installs it before launch.
#include <QString>

class AppContext;

class InputArming
{
public:
    virtual ~InputArming() = default;

    virtual void setupHotKeys(AppContext &app);
    virtual void updateHotKeys(AppContext &app);
    virtual void setupMouseGestures(AppContext &app);
    virtual void updateMouseGestures(AppContext &app);

    // Brings every modal window of the stack to the front, bottom to top,
    // and gives the top one its keys back.
    static void refreshModalWindows(AppContext &app);

    // The main window's keys and gestures are off: by the delegate's flags,
    // or because a page or a message box holds them.
    static bool hotKeysOff(AppContext &app);
    static bool mouseGesturesOff(AppContext &app);
    // While a page runs or a message box is up, the window on top keeps its
    // own keys through every recomputation, as long as any key may answer.
    static void keepModalKeys(AppContext &app);

    // Whether keys and gestures may be armed: while the application is
    // active, or always where hot keys come only through the application's
    // own windows (Wayland). There the compositor already keeps keys from a
    // viewer in the background, and may never report the viewer active at
    // all (a session without a keyboard, a headless compositor).
    static bool applicationTakesInput();
};
