#include "bramble/BrKeyMap.h"

#include <QStringList>

#include <X11/keysym.h>

#include <array>

namespace {

// Shorthand for the table below.
constexpr BrKeyMapping key(quint16 code, quint32 sym, int qt, const char *name)
{
    return {code, sym, qt, qt, false, name};
}
constexpr BrKeyMapping shifted(quint16 code, quint32 sym, int qt, int shiftedQt, const char *name)
{
    return {code, sym, qt, shiftedQt, false, name};
}
constexpr BrKeyMapping pad(quint16 code, quint32 sym, int qt, const char *name)
{
    return {code, sym, qt, qt, true, name};
}

// Virtual key code | X keysym | Qt key (| Qt key with Shift) | name.
// The codes follow the physical position on an ANSI keyboard, as the hot key
// files do; "Delete" of those keyboards is Backspace, "Forward Delete" is
// Delete, and "Help" sits where Insert is on a PC keyboard.
constexpr std::array kKeys{
    key(0x00, XK_a, Qt::Key_A, "A"),
    key(0x01, XK_s, Qt::Key_S, "S"),
    key(0x02, XK_d, Qt::Key_D, "D"),
    key(0x03, XK_f, Qt::Key_F, "F"),
    key(0x04, XK_h, Qt::Key_H, "H"),
    key(0x05, XK_g, Qt::Key_G, "G"),
    key(0x06, XK_z, Qt::Key_Z, "Z"),
    key(0x07, XK_x, Qt::Key_X, "X"),
    key(0x08, XK_c, Qt::Key_C, "C"),
    key(0x09, XK_v, Qt::Key_V, "V"),
    key(0x0B, XK_b, Qt::Key_B, "B"),
    key(0x0C, XK_q, Qt::Key_Q, "Q"),
    key(0x0D, XK_w, Qt::Key_W, "W"),
    key(0x0E, XK_e, Qt::Key_E, "E"),
    key(0x0F, XK_r, Qt::Key_R, "R"),
    key(0x10, XK_y, Qt::Key_Y, "Y"),
    key(0x11, XK_t, Qt::Key_T, "T"),
    shifted(0x12, XK_1, Qt::Key_1, Qt::Key_Exclam, "1"),
    shifted(0x13, XK_2, Qt::Key_2, Qt::Key_At, "2"),
    shifted(0x14, XK_3, Qt::Key_3, Qt::Key_NumberSign, "3"),
    shifted(0x15, XK_4, Qt::Key_4, Qt::Key_Dollar, "4"),
    shifted(0x16, XK_6, Qt::Key_6, Qt::Key_AsciiCircum, "6"),
    shifted(0x17, XK_5, Qt::Key_5, Qt::Key_Percent, "5"),
    shifted(0x18, XK_equal, Qt::Key_Equal, Qt::Key_Plus, "="),
    shifted(0x19, XK_9, Qt::Key_9, Qt::Key_ParenLeft, "9"),
    shifted(0x1A, XK_7, Qt::Key_7, Qt::Key_Ampersand, "7"),
    shifted(0x1B, XK_minus, Qt::Key_Minus, Qt::Key_Underscore, "-"),
    shifted(0x1C, XK_8, Qt::Key_8, Qt::Key_Asterisk, "8"),
    shifted(0x1D, XK_0, Qt::Key_0, Qt::Key_ParenRight, "0"),
    shifted(0x1E, XK_bracketright, Qt::Key_BracketRight, Qt::Key_BraceRight, "]"),
    key(0x1F, XK_o, Qt::Key_O, "O"),
    key(0x20, XK_u, Qt::Key_U, "U"),
    shifted(0x21, XK_bracketleft, Qt::Key_BracketLeft, Qt::Key_BraceLeft, "["),
    key(0x22, XK_i, Qt::Key_I, "I"),
    key(0x23, XK_p, Qt::Key_P, "P"),
    key(0x24, XK_Return, Qt::Key_Return, "Return"),
    key(0x25, XK_l, Qt::Key_L, "L"),
    key(0x26, XK_j, Qt::Key_J, "J"),
    shifted(0x27, XK_apostrophe, Qt::Key_Apostrophe, Qt::Key_QuoteDbl, "'"),
    key(0x28, XK_k, Qt::Key_K, "K"),
    shifted(0x29, XK_semicolon, Qt::Key_Semicolon, Qt::Key_Colon, ";"),
    shifted(0x2A, XK_backslash, Qt::Key_Backslash, Qt::Key_Bar, "\\"),
    shifted(0x2B, XK_comma, Qt::Key_Comma, Qt::Key_Less, ","),
    shifted(0x2C, XK_slash, Qt::Key_Slash, Qt::Key_Question, "/"),
    key(0x2D, XK_n, Qt::Key_N, "N"),
    key(0x2E, XK_m, Qt::Key_M, "M"),
    shifted(0x2F, XK_period, Qt::Key_Period, Qt::Key_Greater, "."),
    shifted(0x30, XK_Tab, Qt::Key_Tab, Qt::Key_Backtab, "Tab"),
    key(0x31, XK_space, Qt::Key_Space, "Space"),
    shifted(0x32, XK_grave, Qt::Key_QuoteLeft, Qt::Key_AsciiTilde, "`"),
    key(0x33, XK_BackSpace, Qt::Key_Backspace, "Backspace"),
    key(0x35, XK_Escape, Qt::Key_Escape, "Esc"),
    key(0x40, XK_F17, Qt::Key_F17, "F17"),
    pad(0x41, XK_KP_Decimal, Qt::Key_Period, "."),
    pad(0x43, XK_KP_Multiply, Qt::Key_Asterisk, "*"),
    pad(0x45, XK_KP_Add, Qt::Key_Plus, "+"),
    pad(0x4B, XK_KP_Divide, Qt::Key_Slash, "/"),
    pad(0x4C, XK_KP_Enter, Qt::Key_Enter, "Enter"),
    pad(0x4E, XK_KP_Subtract, Qt::Key_Minus, "-"),
    key(0x4F, XK_F18, Qt::Key_F18, "F18"),
    key(0x50, XK_F19, Qt::Key_F19, "F19"),
    pad(0x51, XK_KP_Equal, Qt::Key_Equal, "="),
    pad(0x52, XK_KP_0, Qt::Key_0, "0"),
    pad(0x53, XK_KP_1, Qt::Key_1, "1"),
    pad(0x54, XK_KP_2, Qt::Key_2, "2"),
    pad(0x55, XK_KP_3, Qt::Key_3, "3"),
    pad(0x56, XK_KP_4, Qt::Key_4, "4"),
    pad(0x57, XK_KP_5, Qt::Key_5, "5"),
    pad(0x58, XK_KP_6, Qt::Key_6, "6"),
    pad(0x59, XK_KP_7, Qt::Key_7, "7"),
    key(0x5A, XK_F20, Qt::Key_F20, "F20"),
    pad(0x5B, XK_KP_8, Qt::Key_8, "8"),
    pad(0x5C, XK_KP_9, Qt::Key_9, "9"),
    key(0x60, XK_F5, Qt::Key_F5, "F5"),
    key(0x61, XK_F6, Qt::Key_F6, "F6"),
    key(0x62, XK_F7, Qt::Key_F7, "F7"),
    key(0x63, XK_F3, Qt::Key_F3, "F3"),
    key(0x64, XK_F8, Qt::Key_F8, "F8"),
    key(0x65, XK_F9, Qt::Key_F9, "F9"),
    key(0x67, XK_F11, Qt::Key_F11, "F11"),
    key(0x69, XK_F13, Qt::Key_F13, "F13"),
    key(0x6A, XK_F16, Qt::Key_F16, "F16"),
    key(0x6B, XK_F14, Qt::Key_F14, "F14"),
    key(0x6D, XK_F10, Qt::Key_F10, "F10"),
    key(0x6F, XK_F12, Qt::Key_F12, "F12"),
    key(0x71, XK_F15, Qt::Key_F15, "F15"),
    key(0x72, XK_Insert, Qt::Key_Insert, "Ins"),
    key(0x73, XK_Home, Qt::Key_Home, "Home"),
    key(0x74, XK_Prior, Qt::Key_PageUp, "PgUp"),
    key(0x75, XK_Delete, Qt::Key_Delete, "Del"),
    key(0x76, XK_F4, Qt::Key_F4, "F4"),
    key(0x77, XK_End, Qt::Key_End, "End"),
    key(0x78, XK_F2, Qt::Key_F2, "F2"),
    key(0x79, XK_Next, Qt::Key_PageDown, "PgDown"),
    key(0x7A, XK_F1, Qt::Key_F1, "F1"),
    key(0x7B, XK_Left, Qt::Key_Left, "Left"),
    key(0x7C, XK_Right, Qt::Key_Right, "Right"),
    key(0x7D, XK_Down, Qt::Key_Down, "Down"),
    key(0x7E, XK_Up, Qt::Key_Up, "Up"),
};

} // namespace

std::optional<BrKeyMapping> brKeyMappingForKeyCode(quint16 keyCode)
{
    for (const BrKeyMapping &m : kKeys)
        if (m.keyCode == keyCode)
            return m;
    return std::nullopt;
}

std::optional<quint16> brKeyCodeForQtKey(int qtKey, bool keypad)
{
    for (const BrKeyMapping &m : kKeys)
        if (m.keypad == keypad && (m.qtKey == qtKey || m.shiftedQtKey == qtKey))
            return m.keyCode;
    return std::nullopt;
}

std::optional<quint16> brKeyCodeForKeysym(quint32 keysym)
{
    // Letters are listed by their lower-case keysym; accept upper case too.
    if (keysym >= XK_A && keysym <= XK_Z)
        keysym += XK_a - XK_A;
    for (const BrKeyMapping &m : kKeys)
        if (m.keysym == keysym)
            return m.keyCode;
    return std::nullopt;
}

QString brDescribeKeyCombination(quint16 keyCode, bool commandKey, bool optionKey, bool controlKey, bool shiftKey)
{
    QStringList parts;
    if (commandKey)
        parts << QStringLiteral("Ctrl");
    if (optionKey)
        parts << QStringLiteral("Alt");
    if (shiftKey)
        parts << QStringLiteral("Shift");
    if (controlKey)
        parts << QStringLiteral("Meta");
    const auto mapping = brKeyMappingForKeyCode(keyCode);
    if (!mapping) {
        parts << QStringLiteral("KeyCode 0x%1").arg(QString::number(keyCode, 16).toUpper().rightJustified(2, QLatin1Char('0')));
    } else {
        if (mapping->keypad)
            parts << QStringLiteral("Num");
        parts << QString::fromLatin1(mapping->name);
    }
    return parts.join(QLatin1Char('+'));
}
