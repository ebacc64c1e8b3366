#pragma once
// Draws the picture with OpenGL. YUYV frames are uploaded as they come
// (two pixels per RGBA texel) and decoded JPEG planes as three luminance
// textures; fragment shaders convert to RGB, so the CPU only copies bytes.
#include "LumenCanvas.h"
#include "LumenFrame.h"

#include <QOpenGLFunctions>
#include <QOpenGLWidget>

#include <memory>

class QOpenGLShaderProgram;
class LumenFrameSlot;

class LumenGlCanvas : public QOpenGLWidget, public LumenCanvas, protected QOpenGLFunctions
{
    Q_OBJECT
public:
    LumenGlCanvas(std::shared_ptr<LumenFrameSlot> slot, LumenPreviewLayer *layer,
                  QWidget *parent);
    ~LumenGlCanvas() override;

    QWidget *widget() override { return this; }
    bool usesOpenGL() const override { return true; }
    QString name() const override { return QStringLiteral("OpenGL"); }
    void frameAvailable() override { update(); }

signals:
    // OpenGL turned out unusable (no context, a shader did not build).
    void failed();

protected:
    void initializeGL() override;
    void paintGL() override;

private slots:
    void contextGone();

private:
    void releaseGl();
    bool upload(const LumenFrame &frame);
    void uploadPlane(int index, GLenum format, int bytesPerTexel, const uchar *bytes,
                     int bytesPerLine, QSize texels);
    void reportPresented();

    std::shared_ptr<LumenFrameSlot> m_slot;
    LumenPreviewLayer *m_layer;
    QOpenGLShaderProgram *m_rgbProgram = nullptr;
    QOpenGLShaderProgram *m_yuyvProgram = nullptr;
    QOpenGLShaderProgram *m_planarProgram = nullptr;
    // Texture 0 holds RGB, YUYV pairs or luma; 1 and 2 the chroma planes.
    GLuint m_textures[3] = {};
    QSize m_textureSizes[3];  // in texels
    GLenum m_textureFormats[3] = {};
    QSize m_pictureSize;      // in pixels
    enum class Mode { Rgb, Yuyv, Planar, Grey };
    Mode m_mode = Mode::Rgb;
    bool m_swapRB = false;   // the texture holds BGRA bytes
    bool m_rowLength = false; // GL_UNPACK_ROW_LENGTH is available
    bool m_broken = false;
    LumenFramePtr m_shown;   // kept to redraw after the context is recreated
    bool m_textureStale = true;
    std::uint64_t m_pendingSequence = 0;
    std::int64_t m_pendingArrival = 0;
};
