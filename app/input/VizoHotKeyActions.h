#pragma once
// The handlers of every hot key action: what a press sends or opens, and
// what the release sends. Press handlers ignore automatic repeats, except
// the contrast keys, which keep stepping while held.
#include "input/VizoInputContext.h"

#include <QList>
#include <QString>

#include <functional>

struct VizoHotKeyAction
{
    QString name;
    std::function<void(bool repeat)> keyDown;
    std::function<void()> keyUp; // may be empty
};

namespace VizoHotKeyActions {

// One entry per action name, in creation order. The handlers keep a
// reference to `context`, which must outlive them.
QList<VizoHotKeyAction> build(VizoInputContext &context);

// The contrast and speech-rate steps, shared with other callers.
void stepContrast(VizoInputContext &context, bool up);
void stepSpeechRate(VizoInputContext &context, bool up);
void easyColorChange(VizoInputContext &context);

} // namespace VizoHotKeyActions
