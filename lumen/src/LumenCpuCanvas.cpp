#include "LumenCpuCanvas.h"

#include "LumenFrameSlot.h"
#include "LumenLog.h"
#include "LumenPlanar.h"
#include "LumenYuyv.h"

#include <QPainter>

LumenCpuCanvas::LumenCpuCanvas(std::shared_ptr<LumenFrameSlot> slot, LumenPreviewLayer *layer,
                               QWidget *parent)
    : QWidget(parent), m_slot(std::move(slot)), m_layer(layer)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool LumenCpuCanvas::accept(const LumenFramePtr &frame)
{
    if (frame->kind == LumenFrame::Kind::Rgb) {
        m_picture = frame->image;
        return true;
    }
    // Convert into the spare buffer, then swap, so the buffer being shown
    // is never the one written (and no new allocation per frame).
    frame->waitComplete();
    const bool converted =
        frame->kind == LumenFrame::Kind::Planar
            ? LumenPlanar::toRgb32(frame->planes, m_converted)
            : LumenYuyv::toRgb32(frame->bytes, frame->bytesPerLine, frame->size.width(),
                                 frame->size.height(), m_converted);
    if (!converted) {
        qCWarning(lcLumen) << "cannot convert a frame of size" << frame->size;
        return false;
    }
    std::swap(m_picture, m_converted);
    return true;
}

void LumenCpuCanvas::paintEvent(QPaintEvent *)
{
    LumenFramePtr frame = m_slot->take();
    const bool fresh = frame && accept(frame);

    QPainter painter(this);
    const QRectF target =
        targetRect(m_layer->videoGravity(), QSizeF(m_picture.size()), QSizeF(size()));
    if (m_picture.isNull() || target != QRectF(rect()))
        painter.fillRect(rect(), Qt::black);
    if (!m_picture.isNull())
        painter.drawImage(target, m_picture);
    painter.end();

    // The window's backing store is flushed to the screen right after this
    // paint returns: report the frame from the event loop after that.
    if (fresh) {
        QMetaObject::invokeMethod(
            this,
            [slot = m_slot, sequence = frame->sequence, arrival = frame->arrivalNs] {
                slot->notifyPresented(sequence, arrival);
            },
            Qt::QueuedConnection);
    }
}
