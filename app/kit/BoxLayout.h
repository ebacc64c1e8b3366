#pragma once
// Shared look of the message boxes: a translucent full-screen window with
// the box centred in it, scaled by the scale factor.
#include <QRect>
#include <QString>
#include <QSize>

class QLabel;
class QPushButton;
class QWidget;
class QPainter;
class BorderedView;

namespace BoxLayout {

// The box's frame inside a window of `visible` size: design size times
// `scale`, centred.
QRect centredBox(const QSize &visible, const QSize &designSize, double scale);

// Frameless, translucent, full-screen window set-up.
void prepareWindow(QWidget *window);
// Dims what lies behind the box.
void paintBackdrop(QWidget *window);

// The white, bordered box that holds a message and its buttons.
BorderedView *makeContentView(QWidget *window);
// The centred, wrapping message text of a box.
QLabel *makeMessageLabel(QWidget *content);
// A box button; the box moves the focus itself, so the button never takes it.
QPushButton *makeButton(QWidget *content, const QString &objectName);

// The coloured area behind a button that marks it as focused.
QWidget *makeFocusView(QWidget *parent);
// Draws `widget` at the given opacity (1.0 removes the effect).
void setAlpha(QWidget *widget, double alpha);

} // namespace BoxLayout
