#pragma once
// Which mouse gestures are armed for a given input state; like the hot keys,
// recomputed from nothing on every change.
#include "input/VizoInputState.h"

#include <QStringList>

namespace VizoMouseGestureRules {

QStringList armed(const VizoInputState &state);

void summitVersion(const VizoInputState &state, QStringList &out);
void ridgeVersion(const VizoInputState &state, QStringList &out);
void valleyVersion(const VizoInputState &state, QStringList &out);

} // namespace VizoMouseGestureRules
