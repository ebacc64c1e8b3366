#include "BrHotKeyX11.h"

#include "BrLog.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
// The XKB header names a field `explicit`, a C++ keyword.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr uint16_t kCoreModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2 |
                                    XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;
constexpr uint8_t kBadAccess = 10;

const char *errorName(uint8_t code)
{
    switch (code) {
    case kBadAccess: return "BadAccess (held by another client)";
    case 2: return "BadValue";
    case 3: return "BadWindow";
    default: return "X error";
    }
}
} // namespace

std::unique_ptr<BrHotKeyX11> BrHotKeyX11::create(EventSink sink)
{
    auto *app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = app ? app->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection))
        return nullptr;
    return std::unique_ptr<BrHotKeyX11>(new BrHotKeyX11(std::move(sink), connection));
}

BrHotKeyX11::BrHotKeyX11(EventSink sink, xcb_connection_t *connection)
    : BrHotKeyBackend(std::move(sink)), m_connection(connection), m_keySymbols(xcb_key_symbols_alloc(connection))
{
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem; xcb_screen_next(&it))
        m_roots.push_back(it.data->root);
    readModifierMapping();
    enableDetectableAutoRepeat();
    qApp->installNativeEventFilter(this);
    qCDebug(lcBramble) << "hot keys: X11 grabs; Alt" << m_altMask << "Meta" << m_metaMask << "NumLock"
                       << m_numLockMask << "detectable auto-repeat" << m_detectableAutoRepeat;
}

BrHotKeyX11::~BrHotKeyX11()
{
    if (qApp)
        qApp->removeNativeEventFilter(this);
    if (!xcb_connection_has_error(m_connection)) {
        for (const auto &entry : m_grabbed)
            ungrabKeys(entry.second);
        xcb_flush(m_connection);
    }
    xcb_key_symbols_free(m_keySymbols);
}

// Which of Mod1..Mod5 carry Alt, Super and NumLock on this server.
void BrHotKeyX11::readModifierMapping()
{
    m_altMask = XCB_MOD_MASK_1;
    m_metaMask = XCB_MOD_MASK_4;
    m_numLockMask = XCB_MOD_MASK_2;
    xcb_get_modifier_mapping_reply_t *reply =
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
    if (!reply)
        return;
    uint16_t alt = 0, meta = 0, numLock = 0;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(reply);
    const int perModifier = reply->keycodes_per_modifier;
    for (int mod = 3; mod < 8; ++mod) { // Mod1..Mod5
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[mod * perModifier + i];
            if (!code)
                continue;
            const xcb_keysym_t sym = xcb_key_symbols_get_keysym(m_keySymbols, code, 0);
            const uint16_t mask = uint16_t(1u << mod);
            if (sym == XK_Alt_L || sym == XK_Alt_R)
                alt |= mask;
            else if (sym == XK_Super_L || sym == XK_Super_R)
                meta |= mask;
            else if (sym == XK_Num_Lock)
                numLock |= mask;
        }
    }
    free(reply);
    if (alt)
        m_altMask = alt;
    if (meta)
        m_metaMask = meta;
    if (numLock)
        m_numLockMask = numLock;
}

void BrHotKeyX11::enableDetectableAutoRepeat()
{
    const xcb_query_extension_reply_t *xkb = xcb_get_extension_data(m_connection, &xcb_xkb_id);
    if (!xkb || !xkb->present)
        return;
    xcb_xkb_use_extension_reply_t *use = xcb_xkb_use_extension_reply(
        m_connection, xcb_xkb_use_extension(m_connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr);
    const bool usable = use && use->supported;
    free(use);
    if (!usable)
        return;
    const uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    xcb_xkb_per_client_flags_reply_t *reply = xcb_xkb_per_client_flags_reply(
        m_connection, xcb_xkb_per_client_flags(m_connection, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0), nullptr);
    m_detectableAutoRepeat = reply && (reply->supported & flag) && (reply->value & flag);
    free(reply);
}

// X11 matches the lock modifiers too: grab each combination also with
// CapsLock, NumLock and both, so the hot key works whatever the locks are.
std::vector<uint16_t> BrHotKeyX11::lockVariants() const
{
    std::vector<uint16_t> variants{0, XCB_MOD_MASK_LOCK};
    if (m_numLockMask) {
        variants.push_back(m_numLockMask);
        variants.push_back(uint16_t(m_numLockMask | XCB_MOD_MASK_LOCK));
    }
    return variants;
}

bool BrHotKeyX11::doGrab(quint32 id, const BrKeyGrab &key)
{
    Grabbed grabbed;
    if (key.modifiers & Qt::ControlModifier)
        grabbed.modifiers |= XCB_MOD_MASK_CONTROL;
    if (key.modifiers & Qt::ShiftModifier)
        grabbed.modifiers |= XCB_MOD_MASK_SHIFT;
    if (key.modifiers & Qt::AltModifier)
        grabbed.modifiers |= m_altMask;
    if (key.modifiers & Qt::MetaModifier)
        grabbed.modifiers |= m_metaMask;

    if (xcb_keycode_t *codes = xcb_key_symbols_get_keycode(m_keySymbols, key.keysym)) {
        for (xcb_keycode_t *c = codes; *c != XCB_NO_SYMBOL; ++c)
            if (std::find(grabbed.keycodes.begin(), grabbed.keycodes.end(), *c) == grabbed.keycodes.end())
                grabbed.keycodes.push_back(*c);
        free(codes);
    }
    if (grabbed.keycodes.empty()) {
        qCInfo(lcBramble) << "hot key" << id << ": keysym" << Qt::hex << key.keysym << "is on no key of this keyboard";
        return false;
    }

    std::vector<xcb_void_cookie_t> cookies;
    for (uint32_t root : m_roots)
        for (uint8_t code : grabbed.keycodes)
            for (uint16_t variant : lockVariants())
                cookies.push_back(xcb_grab_key_checked(m_connection, 1, root, uint16_t(grabbed.modifiers | variant),
                                                       code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    uint8_t failure = 0;
    for (xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
            if (!failure)
                failure = error->error_code;
            free(error);
        }
    }
    if (failure) {
        // Our own grabs of the other variants must not linger.
        ungrabKeys(grabbed);
        xcb_flush(m_connection);
        qCWarning(lcBramble) << "hot key" << id << ": grab of keysym" << Qt::hex << key.keysym << "modifiers"
                             << grabbed.modifiers << "failed:" << errorName(failure);
        return false;
    }
    m_grabbed[id] = grabbed;
    return true;
}

void BrHotKeyX11::doUngrab(quint32 id)
{
    auto it = m_grabbed.find(id);
    if (it == m_grabbed.end())
        return;
    ungrabKeys(it->second);
    xcb_flush(m_connection);
    m_grabbed.erase(it);
}

void BrHotKeyX11::ungrabKeys(const Grabbed &grabbed)
{
    for (uint32_t root : m_roots)
        for (uint8_t code : grabbed.keycodes)
            for (uint16_t variant : lockVariants())
                xcb_ungrab_key(m_connection, code, root, uint16_t(grabbed.modifiers | variant));
}

namespace {
bool isOurWindow(xcb_window_t window)
{
    const QWindowList windows = QGuiApplication::allWindows();
    return std::any_of(windows.begin(), windows.end(),
                       [window](QWindow *w) { return w->handle() && xcb_window_t(w->winId()) == window; });
}
} // namespace

bool BrHotKeyX11::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT: {
        // Focus changes caused by a grab (ours while a hot key is held) are
        // no deactivation: keep them from Qt.
        auto *focus = reinterpret_cast<xcb_focus_in_event_t *>(event);
        return focus->mode == XCB_NOTIFY_MODE_GRAB || focus->mode == XCB_NOTIFY_MODE_UNGRAB;
    }
    case XCB_KEY_PRESS: {
        auto *key = reinterpret_cast<xcb_key_press_event_t *>(event);
        m_repeatMarker.keyPressed(key->detail, key->time);
        keyPressed(key->detail, key->state, key->time);
        // Counted after the hot key: a grabbed key pressed in our window
        // reaches Qt too, after the hot key has acted.
        if (isOurWindow(key->event))
            m_order.keyEventForQt();
        return false;
    }
    case XCB_KEY_RELEASE: {
        auto *key = reinterpret_cast<xcb_key_release_event_t *>(event);
        m_repeatMarker.keyReleased(key->detail);
        keyReleased(key->detail, key->time);
        if (isOurWindow(key->event))
            m_order.keyEventForQt();
        return false;
    }
    case XCB_MAPPING_NOTIFY: {
        auto *mapping = reinterpret_cast<xcb_mapping_notify_event_t *>(event);
        xcb_refresh_keyboard_mapping(m_keySymbols, mapping);
        if (mapping->request != XCB_MAPPING_POINTER)
            QTimer::singleShot(0, this, [this] { keyboardMappingChanged(); });
        return false;
    }
    default:
        return false;
    }
}

namespace {

// `window` or one of its ancestors (a window manager's frame sits between a
// window and the root) is the application's.
bool isInOurWindow(xcb_connection_t *connection, xcb_window_t window)
{
    while (window) {
        if (isOurWindow(window))
            return true;
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
        if (!tree)
            return false;
        const xcb_window_t parent = tree->parent == tree->root ? XCB_NONE : tree->parent;
        free(tree);
        window = parent;
    }
    return false;
}

// The window under the pointer is the application's (or holds one of its
// windows there, below a window manager's frame).
bool pointerIsOverUs(xcb_connection_t *connection, xcb_window_t root)
{
    xcb_window_t window = root;
    for (int depth = 0; depth < 8; ++depth) {
        xcb_query_pointer_reply_t *pointer =
            xcb_query_pointer_reply(connection, xcb_query_pointer(connection, window), nullptr);
        if (!pointer)
            return false;
        const xcb_window_t child = pointer->same_screen ? pointer->child : XCB_NONE;
        free(pointer);
        if (!child)
            return false;
        if (isOurWindow(child))
            return true;
        window = child;
    }
    return false;
}

} // namespace

bool BrHotKeyX11::hasKeyboard() const
{
    xcb_get_input_focus_reply_t *focus =
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr);
    if (!focus)
        return false;
    const xcb_window_t focused = focus->focus;
    free(focus);
    if (focused == XCB_INPUT_FOCUS_POINTER_ROOT) {
        // Keys go to the window under the pointer.
        return std::any_of(m_roots.begin(), m_roots.end(),
                           [this](uint32_t root) { return pointerIsOverUs(m_connection, root); });
    }
    return focused != XCB_NONE && isInOurWindow(m_connection, focused);
}

void BrHotKeyX11::keyPressed(uint8_t keycode, uint16_t state, uint32_t time)
{
    if (m_hasPendingRelease && m_pending.keycode == keycode) {
        if (m_pending.time == time) {
            // The press half of an auto-repeat pair: the key is still held.
            m_hasPendingRelease = false;
            return;
        }
        flushPendingRelease();
    }
    if (m_held.count(keycode))
        return; // auto-repeat (detectable): no new press

    const uint16_t mods = state & kCoreModifiers & ~m_numLockMask;
    for (const auto &[id, grabbed] : m_grabbed) {
        if (grabbed.modifiers != mods)
            continue;
        if (std::find(grabbed.keycodes.begin(), grabbed.keycodes.end(), keycode) == grabbed.keycodes.end())
            continue;
        m_held[keycode] = id;
        reportInOrder(EventKind::Pressed, id, time);
        return;
    }
}

void BrHotKeyX11::keyReleased(uint8_t keycode, uint32_t time)
{
    auto it = m_held.find(keycode);
    if (it == m_held.end())
        return;
    if (m_detectableAutoRepeat) {
        const quint32 id = it->second;
        m_held.erase(it);
        reportInOrder(EventKind::Released, id, time);
        return;
    }
    // Without detectable auto-repeat a release may be half of a repeat
    // pair: wait for the events already queued before believing it.
    if (m_hasPendingRelease)
        flushPendingRelease();
    m_hasPendingRelease = true;
    m_pending = {keycode, time, it->second, ++m_pendingSerial};
    const quint64 serial = m_pending.serial;
    QTimer::singleShot(0, this, [this, serial] {
        if (m_hasPendingRelease && m_pending.serial == serial)
            flushPendingRelease();
    });
}

void BrHotKeyX11::flushPendingRelease()
{
    if (!m_hasPendingRelease)
        return;
    m_hasPendingRelease = false;
    m_held.erase(m_pending.keycode);
    reportInOrder(EventKind::Released, m_pending.id, m_pending.time);
}

void BrHotKeyX11::reportInOrder(EventKind kind, quint32 id, uint32_t time)
{
    m_order.run(time, [this, kind, id] { report(kind, id); });
}

// A new keyboard mapping may move keysyms to other keycodes and modifiers
// to other bits: grab everything again.
void BrHotKeyX11::keyboardMappingChanged()
{
    std::map<quint32, BrKeyGrab> wanted = grabs();
    for (const auto &entry : m_grabbed)
        ungrabKeys(entry.second);
    m_grabbed.clear();
    readModifierMapping();
    for (const auto &[id, key] : wanted)
        if (!doGrab(id, key))
            qCWarning(lcBramble) << "hot key" << id << ": lost after a keyboard mapping change";
    xcb_flush(m_connection);
}
