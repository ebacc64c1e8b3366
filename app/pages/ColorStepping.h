#pragma once
// How the colour pages step through colours. Text and background never share
// a colour, except grey scale, where both are 10; stepping leaves natural
// colours (1/1) and never leads back to them. Codes: 0 disabled, 1 natural,
// 2 black ... 9 yellow, 10 grey scale.
namespace ColorStepping {

struct Pair
{
    int text;
    int bg;
    bool operator==(const Pair &) const = default;
};

// The letter page steps the text colour, skipping the background's.
Pair nextLetter(Pair p);
Pair previousLetter(Pair p);
// The background page steps the background colour, skipping the text's.
Pair nextBackground(Pair p);
Pair previousBackground(Pair p);
// Swaps text and background.
Pair reversed(Pair p);

} // namespace ColorStepping
