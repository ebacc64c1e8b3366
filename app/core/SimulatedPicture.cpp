#include "SimulatedPicture.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace SimulatedPicture {

namespace {

const char *const kPage[] = {
    "Chapter 3: The Lighthouse",
    "",
    "The keeper climbed the narrow stairs each evening,",
    "counting the steps as his father had taught him.",
    "One hundred and twelve steps, a pause at the window,",
    "and then the last turn to the lamp room, where the",
    "great lens waited under its canvas cover.",
    "",
    "He lit the wick, wound the clockwork and watched the",
    "beam sweep across the water. Somewhere out there a",
    "fishing boat was making for the harbour, and the",
    "light would bring it home before the storm.",
    "",
    "In the morning he wrote in the log: wind north-east,",
    "sea rough, one vessel safely in. Then he slept.",
};
constexpr int kPageLines = int(sizeof(kPage) / sizeof(kPage[0]));

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QString modeName(const SimulatedPictureState &s)
{
    switch (s.mode) {
    case 0: return s.cameraMode == 0 ? QStringLiteral("Camera - distance view") : QStringLiteral("Camera - near view");
    case 1: return s.ocrPlaying ? QStringLiteral("OCR text - reading aloud") : QStringLiteral("OCR text - paused");
    case 2: return QStringLiteral("Stored image");
    case 3: return QStringLiteral("OCR preview - whole page");
    case 4: return s.autoScrollPlaying ? QStringLiteral("Auto-scroll - running") : QStringLiteral("Auto-scroll - paused");
    case 5: return QStringLiteral("Camera preview (OCR)");
    default: return QStringLiteral("Mode %1").arg(s.mode);
    }
}

void drawPage(QPainter &p, const QRectF &area, const QColor &ink, const QColor &accent, double scale, double offsetY,
              int highlightLine, const QColor &highlight)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(std::max(4, int(std::lround(22 * scale))));
    p.setFont(font);
    const double lineHeight = font.pixelSize() * 1.45;
    double y = area.top() + offsetY;
    const int total = kPageLines * 3;
    for (int i = 0; i < total; ++i, y += lineHeight) {
        if (y < area.top() - lineHeight || y > area.bottom() + lineHeight)
            continue;
        const int line = i % kPageLines;
        const QString text = QString::fromLatin1(kPage[line]);
        if (text.isEmpty())
            continue;
        const QRectF row(area.left(), y, area.width() * 4, lineHeight);
        if (i == highlightLine) {
            p.fillRect(QRectF(area.left() - 6 * scale, y, area.width() + 12 * scale, lineHeight), highlight);
        }
        p.setPen(line == 0 ? accent : ink);
        QFont f = font;
        f.setBold(line == 0);
        p.setFont(f);
        p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void drawMarker(QPainter &p, const QRectF &r, int marker, const QColor &ink, double seconds)
{
    const double wobble = std::sin(seconds * 0.7) * r.height() * 0.01;
    switch (marker) {
    case 0:
        p.fillRect(QRectF(r.left(), r.center().y() + wobble - 3, r.width(), 6), QColor(220, 30, 30));
        break;
    case 1:
        p.fillRect(QRectF(r.center().x() - 3, r.top(), 6, r.height()), QColor(220, 30, 30));
        break;
    case 2: {
        const double band = r.height() * 0.16;
        const QColor shade = QColor(ink.red(), ink.green(), ink.blue(), 200);
        p.fillRect(QRectF(r.left(), r.top(), r.width(), r.center().y() - band / 2 - r.top()), shade);
        p.fillRect(QRectF(r.left(), r.center().y() + band / 2, r.width(), r.bottom() - r.center().y() - band / 2), shade);
        break;
    }
    case 3: {
        const double band = r.width() * 0.2;
        const QColor shade = QColor(ink.red(), ink.green(), ink.blue(), 200);
        p.fillRect(QRectF(r.left(), r.top(), r.center().x() - band / 2 - r.left(), r.height()), shade);
        p.fillRect(QRectF(r.center().x() + band / 2, r.top(), r.right() - r.center().x() - band / 2, r.height()), shade);
        break;
    }
    default:
        break;
    }
}

} // namespace

QColor textColorFor(int code)
{
    switch (code) {
    case 2: return Qt::black;
    case 3: return Qt::white;
    case 4: return QColor(230, 30, 30);
    case 5: return QColor(40, 220, 60);
    case 6: return QColor(40, 70, 240);
    case 7: return Qt::cyan;
    case 8: return Qt::magenta;
    case 9: return QColor(250, 230, 30);
    case 10: return QColor(40, 40, 40);
    default: return QColor(35, 30, 28); // natural: printing ink
    }
}

QColor backgroundColorFor(int code)
{
    switch (code) {
    case 2: return Qt::black;
    case 3: return Qt::white;
    case 4: return QColor(160, 0, 0);
    case 5: return QColor(0, 110, 20);
    case 6: return QColor(10, 20, 140);
    case 7: return QColor(0, 120, 130);
    case 8: return QColor(120, 0, 120);
    case 9: return QColor(200, 180, 0);
    case 10: return QColor(225, 225, 225);
    default: return QColor(244, 236, 218); // natural: paper
    }
}

QImage render(const SimulatedPictureState &s, QSize size, double seconds)
{
    if (size.isEmpty())
        size = QSize(640, 360);
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double unit = image.height() / 540.0;
    // The page is drawn above the status line.
    const QRectF bar(0, image.height() - 32 * unit, image.width(), 32 * unit);
    const QRectF r(0, 0, image.width(), bar.top());
    p.setClipRect(r);

    QColor ink = textColorFor(s.textColor);
    QColor paper = backgroundColorFor(s.bgColor);
    // Contrast pulls ink and paper towards each other (low) or apart (high).
    const double c = std::clamp(s.contrast, 0, 39) / 39.0;
    const QColor mid = mix(ink, paper, 0.5);
    ink = mix(mid, ink, 0.35 + 0.65 * c);
    paper = mix(mid, paper, 0.35 + 0.65 * c);
    QColor accent = s.textColor <= 1 ? QColor(30, 60, 150) : ink;
    if (s.textColor == 10 || s.bgColor == 10) {
        ink = QColor(qGray(ink.rgb()), qGray(ink.rgb()), qGray(ink.rgb()));
        accent = ink;
    }

    // A hand-held page is never perfectly still.
    const double jitterX = std::sin(seconds * 1.9) * 3 * unit + std::sin(seconds * 0.31) * 10 * unit;
    const double jitterY = std::cos(seconds * 1.3) * 2 * unit;
    const double zoom = 1.0 + std::max(0, s.zoomLevel) * 0.18;
    const double panX = -s.panX * 40 * unit;
    const double panY = -s.panY * 40 * unit;

    switch (s.mode) {
    case 1: { // OCR text: the recognised lines, large, with the line being read
        p.fillRect(r, paper);
        const double scale = unit * 1.6 * zoom;
        const int reading = s.ocrPlaying ? int(seconds * 0.5) % kPageLines : 2;
        drawPage(p, r.adjusted(40 * unit, 60 * unit, -40 * unit, 0), ink, accent, scale,
                 -reading * 22 * scale * 1.45 + 120 * unit, reading, QColor(250, 220, 60, 140));
        break;
    }
    case 2: { // a stored image: the page as it was captured, framed and still
        p.fillRect(r, QColor(30, 30, 30));
        const QRectF frame = r.adjusted(r.width() * 0.08, r.height() * 0.1, -r.width() * 0.08, -r.height() * 0.06);
        p.fillRect(frame, paper);
        p.setClipRect(frame);
        drawPage(p, frame.adjusted(30 * unit * zoom + panX, 20 * unit + panY, 0, 0), ink, accent, unit * zoom, 0, -1, {});
        p.setClipping(false);
        p.setPen(QPen(QColor(200, 200, 200), 3 * unit));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
        break;
    }
    case 4: { // auto-scroll: the camera travels along the lines
        p.fillRect(r, paper);
        const double travel = s.autoScrollPlaying ? std::fmod(seconds * 60 * unit, 22 * unit * zoom * 1.45 * kPageLines) : 0;
        drawPage(p, r.adjusted(40 * unit + jitterX, 20 * unit, 0, 0), ink, accent, unit * zoom * 1.2, -travel, -1, {});
        break;
    }
    default: { // live camera, previews
        p.fillRect(r, paper);
        if (s.cameraMode == 0 && s.mode != 3) {
            // Distance view: a board across the room.
            const QRectF board = r.adjusted(r.width() * 0.1, r.height() * 0.12, -r.width() * 0.1, -r.height() * 0.2)
                                     .translated(jitterX + panX, jitterY + panY);
            p.setPen(QPen(mix(ink, paper, 0.4), 10 * unit));
            p.setBrush(paper);
            p.drawRect(board);
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPixelSize(std::max(4, int(48 * unit * zoom)));
            f.setBold(true);
            p.setFont(f);
            p.setPen(ink);
            p.drawText(board.adjusted(30 * unit, 20 * unit, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                       QStringLiteral("Today: page 47\nHomework: read\nchapter 3"));
        } else {
            const double scale = s.mode == 3 ? unit * 0.7 : unit * zoom;
            drawPage(p, r.adjusted(40 * unit + jitterX + panX, 30 * unit + jitterY + panY, 0, 0), ink, accent, scale, 0, -1, {});
        }
        if (s.mode == 3) {
            p.setPen(QPen(QColor(250, 200, 0), 4 * unit, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(24 * unit, 24 * unit, -24 * unit, -24 * unit));
        }
        break;
    }
    }

    drawMarker(p, r, s.markerMode, ink, seconds);
    p.setClipping(false);

    // What the device shows in its status line.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(4, int(18 * unit)));
    p.setFont(f);
    const QString status = QStringLiteral("%1   zoom %2   contrast %3%4")
                               .arg(modeName(s))
                               .arg(s.zoomLevel)
                               .arg(s.contrast)
                               .arg(s.menuOpen ? QStringLiteral("   menu") : QString());
    p.fillRect(bar, QColor(40, 40, 40));
    p.setPen(Qt::white);
    p.drawText(bar.adjusted(12 * unit, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, status);
    // A recording light that blinks: the picture is live.
    if (s.mode != 2 && int(seconds * 2) % 2 == 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 40, 40));
        p.drawEllipse(QPointF(bar.right() - 24 * unit, bar.center().y()), 7 * unit, 7 * unit);
    }
    p.end();
    return image;
}

} // namespace SimulatedPicture
