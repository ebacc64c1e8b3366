#pragma once
// Shared look of the message boxes: a translucent full-screen window with
// the box centred in it, scaled by the scale factor.
#include <QRect>
#include <QSize>

class QWidget;
class QPainter;

namespace BoxLayout {

// The box's frame inside a window of `visible` size: design size times
// `scale`, centred.
QRect centredBox(const QSize &visible, const QSize &designSize, double scale);

// Frameless, translucent, full-screen window set-up.
void prepareWindow(QWidget *window);
// Dims what lies behind the box.
void paintBackdrop(QWidget *window);

// The coloured area behind a button that marks it as focused.
QWidget *makeFocusView(QWidget *parent);
// Draws `widget` at the given opacity (1.0 removes the effect).
void setAlpha(QWidget *widget, double alpha);

} // namespace BoxLayout
