#pragma once
// Hot keys as real X11 key grabs on the root window, so they reach the
// application whichever window has the focus.
//
// Two X11 habits are handled here:
// - While a grabbed key is held the server sends the focused window
//   FocusOut (mode Grab) and, at the release, FocusIn (mode Ungrab). Qt
//   would take the FocusOut for a deactivation, the application would disarm
//   its hot keys and lose the release; those focus events are dropped.
// - Auto-repeat sends release+press pairs with one timestamp while a key is
//   held. Detectable auto-repeat is requested from XKB; where the server
//   refuses it, a release followed by a press of the same key at the same
//   time is recognised and both are dropped. The flag holds for Qt's whole
//   connection, so the repeats Qt delivers to the windows are marked here
//   (BrKeyRepeatMarker.h).
// A hot key acts in the order it was pressed relative to the key events Qt
// delivers to the application's windows (see BrKeyEventOrder.h).
#include "BrHotKeyBackend.h"
#include "BrKeyEventOrder.h"
#include "BrKeyRepeatMarker.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <map>
#include <vector>

struct xcb_connection_t;
struct _XCBKeySymbols;

class BrHotKeyX11 : public BrHotKeyBackend, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    // nullptr when Qt's X connection cannot be had.
    static std::unique_ptr<BrHotKeyX11> create(EventSink sink);
    ~BrHotKeyX11() override;
    const char *name() const override { return "X11 key grabs"; }
    // The server's input focus is in one of the application's windows (or
    // follows the pointer, which is over one of them).
    bool hasKeyboard() const override;
    bool systemWide() const override { return true; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

protected:
    bool doGrab(quint32 id, const BrKeyGrab &key) override;
    void doUngrab(quint32 id) override;

private:
    struct Grabbed
    {
        std::vector<uint8_t> keycodes;
        uint16_t modifiers = 0;
    };
    struct PendingRelease
    {
        uint8_t keycode = 0;
        uint32_t time = 0;
        quint32 id = 0;
        quint64 serial = 0;
    };

    BrHotKeyX11(EventSink sink, xcb_connection_t *connection);
    void readModifierMapping();
    void enableDetectableAutoRepeat();
    std::vector<uint16_t> lockVariants() const;
    void ungrabKeys(const Grabbed &grabbed);
    void keyPressed(uint8_t keycode, uint16_t state, uint32_t time);
    void keyReleased(uint8_t keycode, uint32_t time);
    void flushPendingRelease();
    void keyboardMappingChanged();
    void reportInOrder(EventKind kind, quint32 id, uint32_t time);

    xcb_connection_t *m_connection = nullptr;
    _XCBKeySymbols *m_keySymbols = nullptr;
    std::vector<uint32_t> m_roots;
    uint16_t m_altMask = 0;
    uint16_t m_metaMask = 0;
    uint16_t m_numLockMask = 0;
    bool m_detectableAutoRepeat = false;
    std::map<quint32, Grabbed> m_grabbed;
    std::map<uint8_t, quint32> m_held;  // keycode → id of the press
    bool m_hasPendingRelease = false;
    PendingRelease m_pending;
    quint64 m_pendingSerial = 0;
    // Before m_order: its filter is installed first and so runs after it.
    BrKeyRepeatMarker m_repeatMarker;
    BrKeyEventOrder m_order;
};
