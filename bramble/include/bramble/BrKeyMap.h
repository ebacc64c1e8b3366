#pragma once
// The keys a hot key file can name, in one table: the virtual key code the
// files use (the kVK_* numbering of the keyboard the files were first
// written for), the X keysym that is grabbed on X11, and the Qt key that
// Qt reports for it on a US layout.
#include <QString>
#include <QtGlobal>

#include <optional>

struct BrKeyMapping
{
    quint16 keyCode;   // virtual key code of the hot key files
    quint32 keysym;    // X keysym (unshifted)
    int qtKey;         // Qt::Key without modifiers
    int shiftedQtKey;  // Qt::Key reported with Shift on a US layout
    bool keypad;       // a key of the numeric keypad (Qt::KeypadModifier)
    const char *name;  // the key's name in words, "Up", "F5", "A"
};

// The mapping for a virtual key code; nullopt for codes without a key here
// (modifier keys alone, media keys, codes no keyboard sends).
std::optional<BrKeyMapping> brKeyMappingForKeyCode(quint16 keyCode);

// The virtual key code for a Qt key as Qt reports it, shifted or not;
// `keypad` tells a keypad key from the main block's. nullopt if none maps.
std::optional<quint16> brKeyCodeForQtKey(int qtKey, bool keypad = false);

// The virtual key code for an X keysym (either case of a letter).
std::optional<quint16> brKeyCodeForKeysym(quint32 keysym);

// A combination in words, modifiers first in the order Ctrl, Alt, Shift,
// Meta: "Ctrl+Up". Unknown key codes read "KeyCode 0x47".
QString brDescribeKeyCombination(quint16 keyCode, bool commandKey, bool optionKey, bool controlKey,
                                 bool shiftKey);
