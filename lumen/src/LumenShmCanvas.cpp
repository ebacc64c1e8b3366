#include "LumenShmCanvas.h"

#include "LumenFrameSlot.h"
#include "LumenLog.h"
#include "LumenPlanar.h"
#include "LumenYuyv.h"

#include <QGuiApplication>
#include <QPainter>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

namespace {

xcb_connection_t *x11Connection()
{
    if (!qGuiApp)
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Pictures are written as Format_RGB32 (B G R X bytes): the screen must
// store pixels the same way.
bool screenTakesRgb32(xcb_connection_t *c, const xcb_screen_t *screen)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return false;
    if (screen->root_depth != 24)
        return false;
    bool thirtyTwoBits = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        if (f.data->depth == 24)
            thirtyTwoBits = f.data->bits_per_pixel == 32;
    if (!thirtyTwoBits)
        return false;
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        if (d.data->depth != 24)
            continue;
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == screen->root_visual)
                return v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                       v.data->red_mask == 0xff0000 && v.data->green_mask == 0xff00 &&
                       v.data->blue_mask == 0xff;
        }
    }
    return false;
}

void roundTrip(xcb_connection_t *c)
{
    // The server answers only after every earlier request is done, so
    // the picture is on screen and the memory free to write again.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace

QImage LumenShmCanvas::Segment::image() const
{
    return data ? QImage(data, size.width(), size.height(), bytesPerLine, QImage::Format_RGB32)
                : QImage();
}

LumenShmCanvas *LumenShmCanvas::create(std::shared_ptr<LumenFrameSlot> slot,
                                       LumenPreviewLayer *layer, QWidget *parent)
{
    xcb_connection_t *c = x11Connection();
    if (!c || xcb_connection_has_error(c))
        return nullptr;
    const xcb_query_extension_reply_t *shm = xcb_get_extension_data(c, &xcb_shm_id);
    if (!shm || !shm->present)
        return nullptr;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen || !screenTakesRgb32(c, screen))
        return nullptr;
    auto *canvas = new LumenShmCanvas(c, screen->root, std::move(slot), layer, parent);
    // A server on another machine cannot attach our memory: find out now
    // with a small segment rather than on the first frame.
    Segment probe = canvas->allocate(QSize(16, 16));
    if (!probe.data) {
        delete canvas;
        return nullptr;
    }
    canvas->release(probe);
    return canvas;
}

LumenShmCanvas::LumenShmCanvas(xcb_connection_t *connection, std::uint32_t root,
                               std::shared_ptr<LumenFrameSlot> slot, LumenPreviewLayer *layer,
                               QWidget *parent)
    : QWidget(parent), m_connection(connection), m_sender(connection), m_slot(std::move(slot)),
      m_layer(layer)
{
    // A window of its own that Qt never paints: the server shows what is
    // put there until the next picture.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    m_gc = xcb_generate_id(m_connection);
    const std::uint32_t noExposures = 0;
    xcb_create_gc(m_connection, m_gc, root, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
}

LumenShmCanvas::~LumenShmCanvas()
{
    release(m_segment);
    if (x11Connection() == m_connection) {
        xcb_free_gc(m_connection, m_gc);
        xcb_flush(m_connection);
    }
}

QSize LumenShmCanvas::physicalSize() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

LumenShmCanvas::Segment LumenShmCanvas::allocate(QSize size)
{
    Segment s;
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const qsizetype bytes = bytesPerLine * size.height();
    if (bytes <= 0)
        return s;
    s.id = shmget(IPC_PRIVATE, size_t(bytes), IPC_CREAT | 0600);
    if (s.id < 0) {
        qCWarning(lcLumen) << "no shared memory for a" << size << "picture:" << strerror(errno);
        return {};
    }
    void *data = shmat(s.id, nullptr, 0);
    if (data == reinterpret_cast<void *>(-1)) {
        qCWarning(lcLumen) << "cannot map shared memory:" << strerror(errno);
        shmctl(s.id, IPC_RMID, nullptr);
        return {};
    }
    s.seg = xcb_generate_id(m_connection);
    xcb_generic_error_t *error =
        xcb_request_check(m_connection, xcb_shm_attach_checked(m_connection, s.seg, s.id, 0));
    // Both sides have it mapped now (or never will): the segment goes
    // away by itself once both let go, even if this process dies.
    shmctl(s.id, IPC_RMID, nullptr);
    if (error) {
        qCInfo(lcLumen) << "the X server cannot share memory with us (error"
                        << int(error->error_code) << ")";
        std::free(error);
        shmdt(data);
        return {};
    }
    s.data = static_cast<uchar *>(data);
    s.size = size;
    s.bytesPerLine = bytesPerLine;
    return s;
}

void LumenShmCanvas::release(Segment &s)
{
    if (!s.data)
        return;
    m_sender.drain(); // no put still naming the segment
    if (x11Connection() == m_connection) {
        xcb_shm_detach(m_connection, s.seg);
        xcb_flush(m_connection);
    }
    shmdt(s.data);
    s = Segment();
}

bool LumenShmCanvas::ensureSegment()
{
    const QSize wanted = physicalSize();
    if (wanted.isEmpty())
        return false;
    if (m_segment.data && m_segment.size == wanted)
        return true;
    Segment fresh = allocate(wanted);
    if (!fresh.data) {
        emit failed();
        return false;
    }
    if (m_hasPicture && !m_last) {
        // The frame itself went back to the driver: stretch what is shown
        // until the next frame comes.
        QPainter painter;
        QImage target = fresh.image();
        painter.begin(&target);
        painter.drawImage(QRect(QPoint(0, 0), wanted), m_segment.image());
        painter.end();
    }
    release(m_segment);
    m_segment = fresh;
    if (m_hasPicture && m_last)
        m_hasPicture = render(*m_last) != Drawn::Failed;
    return true;
}

LumenShmCanvas::Drawn LumenShmCanvas::render(const LumenFrame &frame)
{
    const QSize view = m_segment.size;
    const QRectF target =
        targetRect(m_layer->videoGravity(), QSizeF(frame.size), QSizeF(view));
    const bool exact = frame.size == view && target == QRectF(QPointF(0, 0), QSizeF(view));
    const int width = frame.size.width(), height = frame.size.height();

    if (frame.kind == LumenFrame::Kind::Yuyv &&
        (!frame.bytes || width < 2 || (width & 1) || frame.bytesPerLine < 2 * width)) {
        qCWarning(lcLumen) << "cannot show a YUYV frame of size" << frame.size;
        return Drawn::Failed;
    }
    if (frame.kind == LumenFrame::Kind::Planar && !LumenPlanar::supported(frame.planes)) {
        qCWarning(lcLumen) << "cannot show a planar frame of size" << frame.size;
        return Drawn::Failed;
    }

    // Same size: convert straight into the shared memory, a band at a
    // time, each band handed to the server as soon as it is written so
    // that the server copies one band while the next is converted. A
    // frame still being decoded is converted band by band behind the
    // decoder.
    if (exact && frame.kind != LumenFrame::Kind::Rgb) {
        constexpr int kBands = 8;
        // A whole frame is converted as fast as the memory allows: its
        // bands go through the sender (see LumenShmSender.h). One still
        // being decoded keeps the drawing thread waiting anyway, and a
        // thread more would only take turns with the decoder.
        const Via via = frame.rows ? Via::Direct : Via::Sender;
        for (int band = 0; band < kBands; ++band) {
            const int first = height * band / kBands, last = height * (band + 1) / kBands;
            frame.waitRows(last);
            if (frame.kind == LumenFrame::Kind::Yuyv)
                LumenYuyv::convertLines(frame.bytes, frame.bytesPerLine, width, first, last,
                                        m_segment.data, m_segment.bytesPerLine);
            else
                LumenPlanar::convertLines(frame.planes, first, last, m_segment.data,
                                          m_segment.bytesPerLine);
            putLines(first, last, via);
        }
        return Drawn::Sent;
    }

    const QImage *source = &frame.image;
    if (frame.kind == LumenFrame::Kind::Yuyv) {
        if (!LumenYuyv::toRgb32(frame.bytes, frame.bytesPerLine, width, height, m_scratch))
            return Drawn::Failed;
        source = &m_scratch;
    } else if (frame.kind == LumenFrame::Kind::Planar) {
        frame.waitComplete();
        if (!LumenPlanar::toRgb32(frame.planes, m_scratch))
            return Drawn::Failed;
        source = &m_scratch;
    }
    if (source->isNull())
        return Drawn::Failed;
    QImage shown = m_segment.image();
    QPainter painter(&shown);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (target != QRectF(shown.rect()))
        painter.fillRect(shown.rect(), Qt::black);
    painter.drawImage(target, *source);
    return Drawn::InMemory;
}

void LumenShmCanvas::putLines(int first, int last, Via via)
{
    if (!m_segment.data || !isVisible() || last <= first)
        return;
    const LumenShmSender::Put put{static_cast<xcb_drawable_t>(winId()),
                                  m_gc,
                                  m_segment.seg,
                                  std::uint16_t(m_segment.size.width()),
                                  std::uint16_t(m_segment.size.height()),
                                  std::uint16_t(first),
                                  std::uint16_t(last - first)};
    if (via == Via::Sender)
        m_sender.send(put);
    else
        LumenShmSender::write(m_connection, put);
    m_putPending = true;
}

bool LumenShmCanvas::put(Put what)
{
    if (!m_segment.data || !isVisible())
        return false;
    if (what == Put::Whole)
        putLines(0, m_segment.size.height());
    if (m_putPending) {
        m_putPending = false;
        m_sender.drain(); // the server answers after the sender's requests too
        roundTrip(m_connection);
    }
    return true;
}

void LumenShmCanvas::frameAvailable()
{
    LumenFramePtr frame = m_slot->take();
    if (!frame || !ensureSegment())
        return;
    const Drawn drawn = render(*frame);
    if (drawn == Drawn::Failed)
        return;
    m_hasPicture = true;
    const std::uint64_t sequence = frame->sequence;
    const std::int64_t arrival = frame->arrivalNs;
    m_last = frame->lentBuffer ? nullptr : frame;
    frame.reset(); // a lent capture buffer goes back before the put waits
    if (put(drawn == Drawn::Sent ? Put::Finish : Put::Whole))
        m_slot->notifyPresented(sequence, arrival);
}

void LumenShmCanvas::paintEvent(QPaintEvent *)
{
    // Exposed again (uncovered, shown, moved to another parent): put back
    // what is in the memory, or black before the first picture.
    if (!ensureSegment())
        return;
    if (!m_hasPicture)
        m_segment.image().fill(Qt::black);
    put(Put::Whole);
}

void LumenShmCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    update();
}
