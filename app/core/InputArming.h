#pragma once
// The application's hot key and mouse gesture tables are armed by
// recomputation: every state change ends in updateHotKeys() and
// updateMouseGestures() of the delegate, which hand over to this object.
//
// The base class implements the rules that do not depend on the key and
// gesture tables (everything off, nothing while functions are locked or the
// application is inactive, the modal windows' own keys given back) and
// creates no keys or gestures. The input layer derives from it and fills the
// tables; AppDelegate::setInputArming() installs it before launch.
#include <QString>

class AppDelegate;

class InputArming
{
public:
    virtual ~InputArming() = default;

    virtual void setupHotKeys(AppDelegate &app);
    virtual void updateHotKeys(AppDelegate &app);
    virtual void setupMouseGestures(AppDelegate &app);
    virtual void updateMouseGestures(AppDelegate &app);

    // Brings every modal window of the stack to the front, bottom to top,
    // and gives the top one its keys back.
    static void refreshModalWindows(AppDelegate &app);

    // The main window's keys and gestures are off: by the delegate's flags,
    // or because a page or a message box holds them.
    static bool hotKeysOff(AppDelegate &app);
    static bool mouseGesturesOff(AppDelegate &app);
    // While a page runs or a message box is up, the window on top keeps its
    // own keys through every recomputation, as long as any key may answer.
    static void keepModalKeys(AppDelegate &app);

    // Whether keys and gestures may be armed: while the application is
    // active, or always where hot keys come only through the application's
    // own windows (Wayland). There the compositor already keeps keys from a
    // viewer in the background, and may never report the viewer active at
    // all (a session without a keyboard, a headless compositor).
    static bool applicationTakesInput();
};
