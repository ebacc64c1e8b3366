#pragma once
// Which hot keys are armed for a given input state. Arming is always a
// recomputation from nothing: the caller disarms everything, then arms
// exactly `armed`.
#include "input/VizoInputState.h"

#include <QStringList>

struct VizoHotKeyArming
{
    QStringList armed;                // action names, in arming order
    bool enableMenuHotKeys = false;   // the open tree menu takes its own keys
    bool refreshModalWindows = false; // raise the modal windows, re-enable the top one's keys
    bool stoppedByDisableHotKeys = false;
};

namespace VizoHotKeyRules {

VizoHotKeyArming arming(const VizoInputState &state);

// The camera key sets of each edition (vizoHotKeyMode 0).
void summitVersion(const VizoInputState &state, VizoHotKeyArming &out);
void ridgeVersion(const VizoInputState &state, VizoHotKeyArming &out);
void valleyVersion(const VizoInputState &state, VizoHotKeyArming &out);

} // namespace VizoHotKeyRules
