#pragma once
// What draws the picture inside a capture view: OpenGL or the CPU. A canvas
// takes the newest frame from the slot when it paints, fills the whole view
// (the view handles the mouse) and reports each new frame it presented.
#include <QRectF>
#include <QSize>
#include <QString>

#include <lumen/LumenPreviewLayer.h>

class QWidget;

class LumenCanvas
{
public:
    virtual ~LumenCanvas() = default;
    virtual QWidget *widget() = 0;
    virtual bool usesOpenGL() const = 0;
    virtual QString name() const = 0;
    // Main thread: a new frame waits in the slot.
    virtual void frameAvailable() = 0;

    // Where a picture of `picture` size goes in a view of `view` size.
    static QRectF targetRect(LumenVideoGravity gravity, QSizeF picture, QSizeF view);
};
