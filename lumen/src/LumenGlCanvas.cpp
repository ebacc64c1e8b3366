#include "LumenGlCanvas.h"

#include "LumenFrameSlot.h"
#include "LumenLog.h"
#include "LumenPlanar.h"

#include <QOpenGLContext>
#include <QOpenGLShaderProgram>

#ifndef GL_UNPACK_ROW_LENGTH
#define GL_UNPACK_ROW_LENGTH 0x0CF2
#endif

namespace {

// GLSL that builds on desktop compatibility contexts and OpenGL ES 2 alike;
// Qt defines the precision qualifiers away on desktop.
const char *const kVertexShader = R"(
attribute highp vec2 position;
attribute highp vec2 texCoord;
varying highp vec2 uv;
void main()
{
    uv = texCoord;
    gl_Position = vec4(position, 0.0, 1.0);
}
)";

const char *const kRgbShader = R"(
varying highp vec2 uv;
uniform sampler2D picture;
uniform lowp float swapRB;
void main()
{
    lowp vec4 c = texture2D(picture, uv);
    gl_FragColor = vec4(mix(c.rgb, c.bgr, swapRB), 1.0);
}
)";

// One texel holds two pixels: r Y0, g U, b Y1, a V. BT.601 video range,
// full precision (the CPU path rounds the same matrix to 6 bits).
const char *const kYuyvShader = R"(
varying highp vec2 uv;
uniform sampler2D picture;
uniform highp float width;
void main()
{
    highp float px = clamp(floor(uv.x * width), 0.0, width - 1.0);
    highp float tx = (floor(px * 0.5) + 0.5) / (width * 0.5);
    mediump vec4 t = texture2D(picture, vec2(tx, uv.y));
    mediump float y = mod(px, 2.0) < 0.5 ? t.r : t.b;
    mediump float c = 1.1640625 * (y - 0.0627451);
    mediump float u = t.g - 0.5019608;
    mediump float v = t.a - 0.5019608;
    gl_FragColor = vec4(c + 1.5976563 * v, c - 0.390625 * u - 0.8125 * v, c + 2.015625 * u, 1.0);
}
)";

QOpenGLShaderProgram *buildProgram(const char *fragment, QObject *parent)
{
    auto *program = new QOpenGLShaderProgram(parent);
    program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader);
    program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment);
    program->bindAttributeLocation("position", 0);
    program->bindAttributeLocation("texCoord", 1);
    if (!program->link()) {
        qCWarning(lcLumen) << "shader does not build:" << program->log();
        delete program;
        return nullptr;
    }
    return program;
}

} // namespace

LumenGlCanvas::LumenGlCanvas(std::shared_ptr<LumenFrameSlot> slot, LumenPreviewLayer *layer,
                             QWidget *parent)
    : QOpenGLWidget(parent), m_slot(std::move(slot)), m_layer(layer)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Report a frame once it has been swapped to the screen, not merely drawn.
    connect(this, &QOpenGLWidget::frameSwapped, this, &LumenGlCanvas::reportPresented);
}

LumenGlCanvas::~LumenGlCanvas()
{
    // The base class destroys the context after this destructor: its
    // aboutToBeDestroyed must not reach this half-destroyed object.
    if (context()) {
        disconnect(context(), nullptr, this, nullptr);
        makeCurrent();
        releaseGl();
        doneCurrent();
    }
}

void LumenGlCanvas::releaseGl()
{
    delete m_rgbProgram;
    m_rgbProgram = nullptr;
    delete m_yuyvProgram;
    m_yuyvProgram = nullptr;
    if (m_texture && QOpenGLContext::currentContext())
        glDeleteTextures(1, &m_texture);
    m_texture = 0;
    m_textureSize = QSize();
    m_textureStale = true;
}

void LumenGlCanvas::contextGone()
{
    makeCurrent();
    releaseGl();
    doneCurrent();
}

void LumenGlCanvas::initializeGL()
{
    // initializeGL runs again when the view moves to another window (a new
    // context): drop what belonged to the old one first.
    releaseGl();
    QOpenGLContext *ctx = context();
    if (!ctx || !ctx->isValid()) {
        m_broken = true;
        emit failed();
        return;
    }
    connect(ctx, &QOpenGLContext::aboutToBeDestroyed, this, &LumenGlCanvas::contextGone,
            Qt::UniqueConnection);
    initializeOpenGLFunctions();
    m_rgbProgram = buildProgram(kRgbShader, this);
    m_yuyvProgram = buildProgram(kYuyvShader, this);
    if (!m_rgbProgram || !m_yuyvProgram) {
        m_broken = true;
        emit failed();
        return;
    }
    m_rowLength = !ctx->isOpenGLES() || ctx->format().majorVersion() >= 3;
    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    qCDebug(lcLumen) << "OpenGL canvas on" << reinterpret_cast<const char *>(glGetString(GL_RENDERER));
}

void LumenGlCanvas::uploadPlane(const uchar *bytes, int bytesPerLine, int texelsWide, int height)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const int packed = texelsWide * 4;
    if (bytesPerLine == packed) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texelsWide, height, GL_RGBA, GL_UNSIGNED_BYTE,
                        bytes);
    } else if (m_rowLength && bytesPerLine % 4 == 0) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, bytesPerLine / 4);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texelsWide, height, GL_RGBA, GL_UNSIGNED_BYTE,
                        bytes);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    } else {
        for (int y = 0; y < height; ++y)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, texelsWide, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                            bytes + qsizetype(y) * bytesPerLine);
    }
}

bool LumenGlCanvas::upload(const LumenFrame &frame)
{
    const uchar *bytes = nullptr;
    int bytesPerLine = 0;
    QSize texels;
    QImage converted;
    if (frame.kind == LumenFrame::Kind::Yuyv) {
        if (frame.size.width() < 2 || (frame.size.width() & 1) || !frame.bytes)
            return false;
        bytes = frame.bytes;
        bytesPerLine = frame.bytesPerLine;
        texels = QSize(frame.size.width() / 2, frame.size.height());
        m_yuyv = true;
        m_swapRB = false;
    } else {
        // Decoded JPEG planes are converted here; the texture takes RGB.
        if (frame.kind == LumenFrame::Kind::Planar && !LumenPlanar::toRgb32(frame.planes, converted))
            return false;
        const QImage *image = frame.kind == LumenFrame::Kind::Planar ? &converted : &frame.image;
        switch (image->format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            // 0xAARRGGBB words: BGRA bytes on little endian; the shader
            // swaps red and blue instead of the CPU.
            m_swapRB = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
            break;
        case QImage::Format_RGBX8888:
        case QImage::Format_RGBA8888:
        case QImage::Format_RGBA8888_Premultiplied:
            m_swapRB = false;
            break;
        default:
            converted = image->convertToFormat(QImage::Format_RGBX8888);
            image = &converted;
            m_swapRB = false;
            break;
        }
        bytes = image->constBits();
        bytesPerLine = static_cast<int>(image->bytesPerLine());
        texels = image->size();
        m_yuyv = false;
        if (texels.isEmpty())
            return false;
    }
    glBindTexture(GL_TEXTURE_2D, m_texture);
    if (m_textureSize != texels) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texels.width(), texels.height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        m_textureSize = texels;
    }
    uploadPlane(bytes, bytesPerLine, texels.width(), texels.height());
    m_pictureSize = frame.size;
    return true;
}

void LumenGlCanvas::paintGL()
{
    if (m_broken)
        return;
    LumenFramePtr frame = m_slot->take();
    if (frame) {
        m_shown = frame;
        m_textureStale = true;
    }
    if (m_shown && m_textureStale) {
        m_textureStale = false;
        if (!upload(*m_shown)) {
            qCWarning(lcLumen) << "cannot show a frame of size" << m_shown->size;
            m_shown.reset();
        } else if (m_shown->lentBuffer) {
            // The texture has the picture: give the buffer back to the
            // driver now (a new context waits for the next frame).
            m_shown.reset();
        }
    }

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    if (m_textureSize.isEmpty() || m_pictureSize.isEmpty())
        return;

    const qreal dpr = devicePixelRatioF();
    const QSizeF view(width() * dpr, height() * dpr);
    const QRectF r = targetRect(m_layer->videoGravity(), QSizeF(m_pictureSize), view);
    const auto nx = [&](qreal x) { return GLfloat(2.0 * x / view.width() - 1.0); };
    const auto ny = [&](qreal y) { return GLfloat(1.0 - 2.0 * y / view.height()); };
    const GLfloat position[] = {nx(r.left()),  ny(r.top()),    nx(r.right()), ny(r.top()),
                                nx(r.left()),  ny(r.bottom()), nx(r.right()), ny(r.bottom())};
    static const GLfloat texCoord[] = {0, 0, 1, 0, 0, 1, 1, 1};

    QOpenGLShaderProgram *program = m_yuyv ? m_yuyvProgram : m_rgbProgram;
    program->bind();
    program->setUniformValue("picture", 0);
    if (m_yuyv)
        program->setUniformValue("width", GLfloat(m_pictureSize.width()));
    else
        program->setUniformValue("swapRB", GLfloat(m_swapRB ? 1 : 0));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, position);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, texCoord);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    program->release();

    if (frame) {
        m_pendingSequence = frame->sequence;
        m_pendingArrival = frame->arrivalNs;
    }
}

void LumenGlCanvas::reportPresented()
{
    if (!m_pendingSequence)
        return;
    const auto sequence = m_pendingSequence;
    m_pendingSequence = 0;
    m_slot->notifyPresented(sequence, m_pendingArrival);
}
