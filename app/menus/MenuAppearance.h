#pragma once
// The look of the menu trees: the colours of the rows, the sliders and the
// background, and the highlight that follows the camera picture's colours.
#include <QColor>

class TrellisController;
class VizoSettings;

namespace MenuAppearance {

// Everything but the highlight, which follows the colour mode.
void apply(TrellisController &root, float scale);

// The current row's colours: those of the selected colour slot of the
// current camera view, or white on dark blue for natural colours.
struct Highlight
{
    QColor text;
    QColor background;
};
Highlight highlightFor(const VizoSettings &settings);

inline const QColor kBackground{75, 93, 138};

} // namespace MenuAppearance
