#include "ColorStepping.h"

namespace ColorStepping {

namespace {
constexpr int kFirst = 2; // black: the first colour a step reaches
constexpr int kGray = 10;

bool leavesPair(int code)
{
    return code == 0 || code == kGray;
}

// One step of `own` forwards, skipping `other`; past the last colour it wraps
// to black. Reaching grey scale pulls `other` along, as grey scale has no
// separate background.
void stepForward(int &own, int &other)
{
    int n = own + 1 == other ? own + 2 : own + 1;
    if (n > kGray)
        n = kFirst;
    if (n == kGray)
        other = kGray;
    own = n;
}

// Below black lies grey scale, again for both.
void stepBack(int &own, int &other)
{
    int n = own - 1 == other ? own - 2 : own - 1;
    if (n < kFirst) {
        n = kGray;
        other = kGray;
    }
    own = n;
}
} // namespace

Pair nextLetter(Pair p)
{
    if (leavesPair(p.text))
        return {2, 3};
    stepForward(p.text, p.bg);
    return p;
}

Pair previousLetter(Pair p)
{
    if (leavesPair(p.text))
        return {9, 3};
    stepBack(p.text, p.bg);
    return p;
}

Pair nextBackground(Pair p)
{
    if (leavesPair(p.bg))
        return {2, 3};
    stepForward(p.bg, p.text);
    return p;
}

Pair previousBackground(Pair p)
{
    if (leavesPair(p.bg))
        return {2, 9};
    stepBack(p.bg, p.text);
    return p;
}

Pair reversed(Pair p)
{
    return {p.bg, p.text};
}

} // namespace ColorStepping
