#pragma once
// Draws the picture through the X server's shared-memory images: a frame is
// converted straight into memory the server reads and put on the window in
// one request, with no paint pass and no backing-store copy in between.
// The path for X11 without a hardware OpenGL renderer; elsewhere the
// QPainter canvas.
#include "LumenCanvas.h"
#include "LumenFrame.h"
#include "LumenShmSender.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <memory>

class LumenFrameSlot;

class LumenShmCanvas : public QWidget, public LumenCanvas
{
    Q_OBJECT
public:
    // Null when the display cannot take shared-memory images of the
    // screen's layout (not X11, a remote server, a visual other than
    // 24-bit true colour in 32-bit pixels).
    static LumenShmCanvas *create(std::shared_ptr<LumenFrameSlot> slot, LumenPreviewLayer *layer,
                                  QWidget *parent);
    ~LumenShmCanvas() override;

    QWidget *widget() override { return this; }
    bool usesOpenGL() const override { return false; }
    QString name() const override { return QStringLiteral("X11 shared memory"); }
    // Converts and shows the new frame at once: the frame reaches the
    // screen before this returns.
    void frameAvailable() override;

    // The window is drawn here, not by Qt.
    QPaintEngine *paintEngine() const override { return nullptr; }

signals:
    // Shared memory ran out (e.g. a resize beyond what the system allows).
    void failed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Segment
    {
        int id = -1;
        uchar *data = nullptr;
        std::uint32_t seg = 0;
        QSize size;
        qsizetype bytesPerLine = 0;

        QImage image() const;
    };

    LumenShmCanvas(xcb_connection_t *connection, std::uint32_t root,
                   std::shared_ptr<LumenFrameSlot> slot, LumenPreviewLayer *layer,
                   QWidget *parent);
    QSize physicalSize() const;
    bool ensureSegment();
    Segment allocate(QSize size);
    void release(Segment &segment);
    // Draws the frame into the memory; Sent: and already handed to the
    // server band by band.
    enum class Drawn { Failed, InMemory, Sent };
    Drawn render(const LumenFrame &frame);
    // Hands lines of the memory to the server without waiting, from this
    // thread or through the sender.
    enum class Via { Direct, Sender };
    void putLines(int first, int last, Via via = Via::Direct);
    // Whole: put everything; Finish: only wait for the bands already put.
    // Returns once the server has drawn them (false: nothing to show on).
    enum class Put { Whole, Finish };
    bool put(Put what);

    xcb_connection_t *m_connection;
    LumenShmSender m_sender;
    std::uint32_t m_gc = 0;
    std::shared_ptr<LumenFrameSlot> m_slot;
    LumenPreviewLayer *m_layer;
    Segment m_segment;
    bool m_hasPicture = false;
    bool m_putPending = false;
    // The last frame, for drawing again at a new size. Capture buffers
    // lent by the driver are not kept (they go back at once).
    LumenFramePtr m_last;
    QImage m_scratch; // source-size conversion when the picture is scaled
};
