#pragma once
// Draws the picture with QPainter: the path for the `offscreen` platform
// and wherever OpenGL is missing. YUYV is converted when painted, so only
// frames that reach the screen are converted.
#include "LumenCanvas.h"
#include "LumenFrame.h"

#include <QImage>
#include <QWidget>

#include <memory>

class LumenFrameSlot;

class LumenCpuCanvas : public QWidget, public LumenCanvas
{
    Q_OBJECT
public:
    LumenCpuCanvas(std::shared_ptr<LumenFrameSlot> slot, LumenPreviewLayer *layer,
                   QWidget *parent);

    QWidget *widget() override { return this; }
    bool usesOpenGL() const override { return false; }
    QString name() const override { return QStringLiteral("QPainter"); }
    void frameAvailable() override { update(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool accept(const LumenFramePtr &frame);

    std::shared_ptr<LumenFrameSlot> m_slot;
    LumenPreviewLayer *m_layer;
    QImage m_picture;
    QImage m_converted; // reused conversion buffer for YUYV
};
