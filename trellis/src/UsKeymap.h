#pragma once
// Reads a key as it lies on a US keyboard, whatever layout the user has,
// so a captured hot key names the same key everywhere.
#include <QString>

class QKeyEvent;

namespace UsKeymap {

enum class Arrow { None, Up, Down, Left, Right };

struct Key
{
    QString text; // the key's character without modifiers; empty if none
    Arrow arrow = Arrow::None;
};

// Looks the event's native scan code up in a US keymap (xkbcommon, layout
// "us", no modifiers). Falls back to the event's Qt key when the event has
// no scan code or the keymap cannot be loaded.
Key read(const QKeyEvent &event);

// The Qt-key fallback alone (used when there is no scan code).
Key fromQtKey(int qtKey);

} // namespace UsKeymap
