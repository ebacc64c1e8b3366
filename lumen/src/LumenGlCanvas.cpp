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

// A decoded JPEG's planes, one luminance texture each. JFIF full range,
// full precision; chroma textures are smaller and filtered up.
const char *const kPlanarShader = R"(
varying highp vec2 uv;
uniform sampler2D yPlane;
uniform sampler2D uPlane;
uniform sampler2D vPlane;
uniform lowp float colour;
void main()
{
    mediump float y = texture2D(yPlane, uv).r;
    mediump float u = (texture2D(uPlane, uv).r - 0.5019608) * colour;
    mediump float v = (texture2D(vPlane, uv).r - 0.5019608) * colour;
    gl_FragColor = vec4(y + 1.402 * v, y - 0.344136 * u - 0.714136 * v, y + 1.772 * u, 1.0);
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
    delete m_planarProgram;
    m_planarProgram = nullptr;
    if (m_textures[0] && QOpenGLContext::currentContext())
        glDeleteTextures(3, m_textures);
    for (int i = 0; i < 3; ++i) {
        m_textures[i] = 0;
        m_textureSizes[i] = QSize();
    }
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
    m_planarProgram = buildProgram(kPlanarShader, this);
    if (!m_rgbProgram || !m_yuyvProgram || !m_planarProgram) {
        m_broken = true;
        emit failed();
        return;
    }
    m_rowLength = !ctx->isOpenGLES() || ctx->format().majorVersion() >= 3;
    glGenTextures(3, m_textures);
    for (GLuint texture : m_textures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    qCDebug(lcLumen) << "OpenGL canvas on" << reinterpret_cast<const char *>(glGetString(GL_RENDERER));
}

void LumenGlCanvas::uploadPlane(int index, GLenum format, int bytesPerTexel, const uchar *bytes,
                                int bytesPerLine, QSize texels)
{
    glBindTexture(GL_TEXTURE_2D, m_textures[index]);
    if (m_textureSizes[index] != texels || m_textureFormats[index] != format) {
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), texels.width(), texels.height(), 0, format,
                     GL_UNSIGNED_BYTE, nullptr);
        m_textureSizes[index] = texels;
        m_textureFormats[index] = format;
    }
    const int width = texels.width(), height = texels.height();
    const int packed = width * bytesPerTexel;
    glPixelStorei(GL_UNPACK_ALIGNMENT, bytesPerTexel == 4 ? 4 : 1);
    if (bytesPerLine == packed) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, bytes);
    } else if (m_rowLength && bytesPerLine % bytesPerTexel == 0) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, bytesPerLine / bytesPerTexel);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, bytes);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    } else {
        for (int y = 0; y < height; ++y)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, width, 1, format, GL_UNSIGNED_BYTE,
                            bytes + qsizetype(y) * bytesPerLine);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

bool LumenGlCanvas::upload(const LumenFrame &frame)
{
    if (frame.kind == LumenFrame::Kind::Yuyv) {
        if (frame.size.width() < 2 || (frame.size.width() & 1) || !frame.bytes)
            return false;
        uploadPlane(0, GL_RGBA, 4, frame.bytes, frame.bytesPerLine,
                    QSize(frame.size.width() / 2, frame.size.height()));
        m_mode = Mode::Yuyv;
    } else if (frame.kind == LumenFrame::Kind::Planar) {
        // The planes go up as they are; the shader does the colours.
        frame.waitComplete();
        const LumenYuvPlanes &p = frame.planes;
        if (!LumenPlanar::supported(p))
            return false;
        uploadPlane(0, GL_LUMINANCE, 1, p.y, p.yBytesPerLine, QSize(p.width, p.height));
        if (!p.grey()) {
            const QSize chroma((p.width + (1 << p.xShift) - 1) >> p.xShift,
                               (p.height + (1 << p.yShift) - 1) >> p.yShift);
            uploadPlane(1, GL_LUMINANCE, 1, p.u, p.uvBytesPerLine, chroma);
            uploadPlane(2, GL_LUMINANCE, 1, p.v, p.uvBytesPerLine, chroma);
        }
        m_mode = p.grey() ? Mode::Grey : Mode::Planar;
    } else {
        QImage converted;
        const QImage *image = &frame.image;
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
        if (image->isNull())
            return false;
        uploadPlane(0, GL_RGBA, 4, image->constBits(), int(image->bytesPerLine()), image->size());
        m_mode = Mode::Rgb;
    }
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
    if (m_textureSizes[0].isEmpty() || m_pictureSize.isEmpty())
        return;

    const qreal dpr = devicePixelRatioF();
    const QSizeF view(width() * dpr, height() * dpr);
    const QRectF r = targetRect(m_layer->videoGravity(), QSizeF(m_pictureSize), view);
    const auto nx = [&](qreal x) { return GLfloat(2.0 * x / view.width() - 1.0); };
    const auto ny = [&](qreal y) { return GLfloat(1.0 - 2.0 * y / view.height()); };
    const GLfloat position[] = {nx(r.left()),  ny(r.top()),    nx(r.right()), ny(r.top()),
                                nx(r.left()),  ny(r.bottom()), nx(r.right()), ny(r.bottom())};
    static const GLfloat texCoord[] = {0, 0, 1, 0, 0, 1, 1, 1};

    QOpenGLShaderProgram *program = nullptr;
    switch (m_mode) {
    case Mode::Rgb:
        program = m_rgbProgram;
        program->bind();
        program->setUniformValue("picture", 0);
        program->setUniformValue("swapRB", GLfloat(m_swapRB ? 1 : 0));
        break;
    case Mode::Yuyv:
        program = m_yuyvProgram;
        program->bind();
        program->setUniformValue("picture", 0);
        program->setUniformValue("width", GLfloat(m_pictureSize.width()));
        break;
    case Mode::Planar:
    case Mode::Grey:
        program = m_planarProgram;
        program->bind();
        program->setUniformValue("yPlane", 0);
        program->setUniformValue("uPlane", m_mode == Mode::Grey ? 0 : 1);
        program->setUniformValue("vPlane", m_mode == Mode::Grey ? 0 : 2);
        program->setUniformValue("colour", GLfloat(m_mode == Mode::Grey ? 0 : 1));
        break;
    }
    const int planes = m_mode == Mode::Planar ? 3 : 1;
    for (int i = planes - 1; i >= 0; --i) {
        glActiveTexture(GL_TEXTURE0 + GLenum(i));
        glBindTexture(GL_TEXTURE_2D, m_textures[i]);
    }
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
