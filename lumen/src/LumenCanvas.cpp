#include "LumenCanvas.h"

QRectF LumenCanvas::targetRect(LumenVideoGravity gravity, QSizeF picture, QSizeF view)
{
    if (gravity == LumenVideoGravity::Resize || picture.isEmpty() || view.isEmpty())
        return QRectF(QPointF(0, 0), view);
    const QSizeF size = picture.scaled(view, gravity == LumenVideoGravity::ResizeAspect
                                                 ? Qt::KeepAspectRatio
                                                 : Qt::KeepAspectRatioByExpanding);
    return QRectF(QPointF((view.width() - size.width()) / 2, (view.height() - size.height()) / 2),
                  size);
}
