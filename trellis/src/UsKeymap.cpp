#include "UsKeymap.h"

#include <QKeyEvent>
#include <QLoggingCategory>
#include <xkbcommon/xkbcommon.h>

Q_DECLARE_LOGGING_CATEGORY(lcTrellis)

namespace {

// One US keymap for the process, built on first use; null when xkbcommon
// cannot find its data files.
class UsState
{
public:
    UsState()
    {
        m_context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (!m_context)
            return;
        const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
        m_keymap = xkb_keymap_new_from_names(m_context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (m_keymap)
            m_state = xkb_state_new(m_keymap);
        if (!m_state)
            qCWarning(lcTrellis) << "no US keymap; hot keys are read in the current layout";
    }
    ~UsState()
    {
        xkb_state_unref(m_state);
        xkb_keymap_unref(m_keymap);
        xkb_context_unref(m_context);
    }
    UsState(const UsState &) = delete;
    UsState &operator=(const UsState &) = delete;

    // The keysym of a key with no modifier held; XKB_KEY_NoSymbol if unknown.
    xkb_keysym_t keysym(quint32 scanCode) const
    {
        if (!m_state || scanCode == 0)
            return XKB_KEY_NoSymbol;
        return xkb_state_key_get_one_sym(m_state, scanCode);
    }

private:
    xkb_context *m_context = nullptr;
    xkb_keymap *m_keymap = nullptr;
    xkb_state *m_state = nullptr;
};

const UsState &usState()
{
    static const UsState state;
    return state;
}

UsKeymap::Key fromKeysym(xkb_keysym_t sym)
{
    UsKeymap::Key key;
    switch (sym) {
    case XKB_KEY_Up:
        key.arrow = UsKeymap::Arrow::Up;
        return key;
    case XKB_KEY_Down:
        key.arrow = UsKeymap::Arrow::Down;
        return key;
    case XKB_KEY_Left:
        key.arrow = UsKeymap::Arrow::Left;
        return key;
    case XKB_KEY_Right:
        key.arrow = UsKeymap::Arrow::Right;
        return key;
    default:
        break;
    }
    const uint32_t ucs = xkb_keysym_to_utf32(sym);
    // Control characters (Tab, Return, Backspace ...) are not a character
    // one could show.
    if (ucs >= 0x20 && ucs != 0x7f)
        key.text = QString::fromUcs4(reinterpret_cast<const char32_t *>(&ucs), 1);
    return key;
}

} // namespace

UsKeymap::Key UsKeymap::fromQtKey(int qtKey)
{
    Key key;
    switch (qtKey) {
    case Qt::Key_Up:
        key.arrow = Arrow::Up;
        return key;
    case Qt::Key_Down:
        key.arrow = Arrow::Down;
        return key;
    case Qt::Key_Left:
        key.arrow = Arrow::Left;
        return key;
    case Qt::Key_Right:
        key.arrow = Arrow::Right;
        return key;
    default:
        break;
    }
    // Qt keys below 0x01000000 are Unicode code points (letters in upper case).
    if (qtKey >= 0x20 && qtKey < 0x01000000 && qtKey != 0x7f) {
        const char32_t ucs = char32_t(qtKey);
        key.text = QString::fromUcs4(&ucs, 1);
    }
    return key;
}

UsKeymap::Key UsKeymap::read(const QKeyEvent &event)
{
    const xkb_keysym_t sym = usState().keysym(event.nativeScanCode());
    if (sym != XKB_KEY_NoSymbol)
        return fromKeysym(sym);
    return fromQtKey(event.key());
}
