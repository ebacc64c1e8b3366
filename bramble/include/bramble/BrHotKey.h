#pragma once
// One system-wide key combination with key-down and key-up handlers.
//
// A hot key names its key by a virtual key code in the hot key files' own
// numbering (see BrKeyMap.h) plus any of four modifiers. On X11 an enabled
// hot key is grabbed on the root window, so it reaches this application even
// when another window has the focus; elsewhere it is seen by an
// application-wide key event filter. Either way the handlers run only while
// the application is the active one, and the key event is passed on, never
// consumed.
//
// The key-down handler is called with repeat == false at the press and with
// repeat == true for each automatic repeat: the first one
// hotKeyRepeatStartInterval() seconds after the press, then one every
// hotKeyRepeatRate() seconds until the release. Any release, and any other
// hot key's press, stops the repeats of the key held before.
//
// Modifiers follow Qt's cross-platform rule: commandKey is Ctrl, controlKey
// is Meta (Super), optionKey is Alt, shiftKey is Shift.
//
// Everything here, the class operations included, is for the main thread
// only; the handlers run on the main thread.
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class BrHotKey : public QObject
{
    Q_OBJECT
public:
    using KeyDownHandler = std::function<void(bool repeat)>;
    using KeyUpHandler = std::function<void()>;

    // A new hot key: key code 0 without modifiers, no handlers, disabled.
    explicit BrHotKey(QObject *parent = nullptr);
    // Unregisters the hot key and takes it out of the dispatch table.
    ~BrHotKey() override;

    BrHotKey(const BrHotKey &) = delete;
    BrHotKey &operator=(const BrHotKey &) = delete;

    // Setting a new value registers (and enters the dispatch table) or
    // unregisters (and leaves it); setting the current value does nothing.
    // A hot key whose registration failed stays enabled but never fires.
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    bool commandKey() const { return m_commandKey; }
    void setCommandKey(bool on) { m_commandKey = on; }
    bool optionKey() const { return m_optionKey; }
    void setOptionKey(bool on) { m_optionKey = on; }
    bool controlKey() const { return m_controlKey; }
    void setControlKey(bool on) { m_controlKey = on; }
    bool shiftKey() const { return m_shiftKey; }
    void setShiftKey(bool on) { m_shiftKey = on; }
    quint16 keyCode() const { return m_keyCode; }
    void setKeyCode(quint16 keyCode) { m_keyCode = keyCode; }

    // Absent handlers are skipped.
    const KeyDownHandler &eventKeyDown() const { return m_eventKeyDown; }
    void setEventKeyDown(KeyDownHandler handler) { m_eventKeyDown = std::move(handler); }
    const KeyUpHandler &eventKeyUp() const { return m_eventKeyUp; }
    void setEventKeyUp(KeyUpHandler handler) { m_eventKeyUp = std::move(handler); }

    // Registers the combination with the system unless already registered.
    // A failure (combination held by another client or by another hot key
    // of this process, key code without a key) is silent; it is logged on
    // the "vizo.bramble" category.
    void registerHotKey();
    void unregisterHotKey();
    // Registers again after the key code or a modifier changed (if enabled).
    void updateHotKey();
    bool isRegistered() const { return m_registered; }
    // Registration id: 0 until the first successful registration, then kept.
    quint32 keyID() const { return m_keyID; }

    // Reads "CommandKey", "OptionKey", "ControlKey", "ShiftKey" (booleans)
    // and "KeyCode" (0 to 65535); a missing entry reads as false or 0. An
    // enabled hot key is registered again with the new combination.
    void loadFromDictionary(const QVariantMap &dictionary);
    // Writes those five entries; other entries are left alone. The enabled
    // state is not part of the record.
    void saveToDictionary(QVariantMap &dictionary) const;

    // The combination in words, as people write it on Linux: "Ctrl+Up",
    // "Alt+Shift+F5", "Num+7". An unknown key code reads "KeyCode 0x47".
    QString description() const;

    // Disables every hot key of the dispatch table (modal windows' keys
    // included) and empties the table; combinations, ids and handlers stay.
    static void disableAllHotKeys();
    // Interval between automatic repeats, for repeat timers started later.
    // Default 0.05 s.
    static void hotKeyRepeatRate(double seconds);
    static double keyRepeatRate();
    // Delay from a press to its first repeat, for later presses. Default 1 s.
    static void hotKeyRepeatStartInterval(double seconds);
    static double keyRepeatStartInterval();
    // The hot keys of the dispatch table (enabled ones), by registration id.
    static QList<BrHotKey *> dispatchTable();
    // Whether a hot key is being held (between a press and any release).
    static bool isKeyPressed();
    // Whether hot keys are grabbed for the whole display (X11), where they
    // must be armed only while the application is active. False where keys
    // come only through the application's own focused windows (Wayland,
    // offscreen): there the compositor keeps them from a background copy.
    static bool grabsSystemWide();

private:
    friend class BrHotKeyService;

    bool m_enabled = false;
    bool m_commandKey = false;
    bool m_optionKey = false;
    bool m_controlKey = false;
    bool m_shiftKey = false;
    bool m_registered = false;
    quint16 m_keyCode = 0;
    quint32 m_keyID = 0;
    KeyDownHandler m_eventKeyDown;
    KeyUpHandler m_eventKeyUp;
};
