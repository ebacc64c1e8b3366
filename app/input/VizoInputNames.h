#pragma once
// The names of the hot key actions and mouse gestures. Names are keys: the
// hot key file is indexed by them, and users see them in the key list.
#include <QStringList>

namespace VizoInputNames {

// The 57 hot key actions, in the order they are created.
const QStringList &hotKeyActions();

// The 15 mouse gestures, in the order they are created.
const QStringList &mouseGestures();

} // namespace VizoInputNames
