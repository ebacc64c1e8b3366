#include "SimulatedPicture.h"

#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

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

// What the stored OCR texts say: each file reads one of these, under its name.
const char *const kPassages[][6] = {
    {"Preheat the oven to 180 degrees.", "Mix the flour, the sugar and two eggs,",
     "then fold in the melted butter.", "", "Bake for thirty-five minutes, until golden.",
     "Leave to cool before slicing."},
    {"Dear Margaret, thank you for your letter.", "The garden is full of roses this year",
     "and the plums are nearly ripe.", "", "Do come and visit before the autumn;",
     "the spare room is ready for you."},
    {"Take one tablet twice a day with food.", "Do not take more than four in a day.",
     "Keep out of the reach of children.", "", "If symptoms persist, consult your doctor.",
     "Store below 25 degrees."},
};

struct Palette
{
    QColor ink;
    QColor paper;
    QColor accent;
};

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

Palette palette(const SimulatedPictureState &s, int contrast)
{
    Palette p{textColorFor(s.textColor), backgroundColorFor(s.bgColor), {}};
    // Contrast pulls ink and paper towards each other (low) or apart (high).
    const double c = std::clamp(contrast, 0, 39) / 39.0;
    const QColor mid = mix(p.ink, p.paper, 0.5);
    p.ink = mix(mid, p.ink, 0.35 + 0.65 * c);
    p.paper = mix(mid, p.paper, 0.35 + 0.65 * c);
    p.accent = s.textColor <= 1 ? QColor(30, 60, 150) : p.ink;
    if (s.textColor == 10 || s.bgColor == 10) {
        const int g = qGray(p.ink.rgb());
        p.ink = QColor(g, g, g);
        p.accent = p.ink;
    }
    return p;
}

QString modeName(const SimulatedPictureState &s)
{
    switch (s.mode) {
    case 0:
        return s.cameraMode == 0 ? QStringLiteral("Camera - distance view")
                                 : QStringLiteral("Camera - near view");
    case 1:
        return s.ocrPlaying ? QStringLiteral("OCR text - reading aloud")
                            : QStringLiteral("OCR text - paused");
    case 2:
        return QStringLiteral("Stored image");
    case 3:
        return QStringLiteral("OCR preview - whole page");
    case 4:
        return s.autoScrollPlaying ? QStringLiteral("Auto-scroll - running")
                                   : QStringLiteral("Auto-scroll - paused");
    case 5:
        return QStringLiteral("Camera preview (OCR)");
    default:
        return QStringLiteral("Mode %1").arg(s.mode);
    }
}

QFont font(const char *family, double pixels, bool bold = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(std::max(4, int(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

void drawLines(QPainter &p, const QStringList &lines, const QRectF &area, const Palette &pal,
               double scale, double offsetY, int highlightLine, const QColor &highlight,
               int repeat = 3)
{
    const QFont body = font("DejaVu Serif", 22 * scale);
    const double lineHeight = body.pixelSize() * 1.45;
    double y = area.top() + offsetY;
    const int total = int(lines.size()) * repeat;
    for (int i = 0; i < total; ++i, y += lineHeight) {
        if (y < area.top() - lineHeight || y > area.bottom() + lineHeight)
            continue;
        const int line = i % int(lines.size());
        const QString &text = lines[line];
        if (text.isEmpty())
            continue;
        if (i == highlightLine)
            p.fillRect(QRectF(area.left() - 6 * scale, y, area.width() + 12 * scale, lineHeight),
                       highlight);
        QFont f = body;
        f.setBold(line == 0);
        p.setFont(f);
        p.setPen(line == 0 ? pal.accent : pal.ink);
        p.drawText(QRectF(area.left(), y, area.width() * 4, lineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

QStringList pageLines()
{
    QStringList lines;
    for (const char *line : kPage)
        lines << QString::fromLatin1(line);
    return lines;
}

void drawMarker(QPainter &p, const QRectF &r, const SimulatedPictureState &s, const QColor &ink,
                double seconds)
{
    const double step = r.height() / 20;
    const double wobble = std::sin(seconds * 0.7) * r.height() * 0.01;
    const QColor shade(ink.red(), ink.green(), ink.blue(), 200);
    switch (s.markerMode) {
    case 0:
        p.fillRect(
            QRectF(r.left(), r.center().y() - s.markerPosition * step + wobble - 3, r.width(), 6),
            QColor(220, 30, 30));
        break;
    case 1:
        p.fillRect(QRectF(r.center().x() + s.markerPosition * step - 3, r.top(), 6, r.height()),
                   QColor(220, 30, 30));
        break;
    case 2: {
        const double band = s.markerSize * step;
        p.fillRect(QRectF(r.left(), r.top(), r.width(), r.center().y() - band / 2 - r.top()),
                   shade);
        p.fillRect(QRectF(r.left(), r.center().y() + band / 2, r.width(),
                          r.bottom() - r.center().y() - band / 2),
                   shade);
        break;
    }
    case 3: {
        const double band = s.markerSize * step * 1.6;
        p.fillRect(QRectF(r.left(), r.top(), r.center().x() - band / 2 - r.left(), r.height()),
                   shade);
        p.fillRect(QRectF(r.center().x() + band / 2, r.top(), r.right() - r.center().x() - band / 2,
                          r.height()),
                   shade);
        break;
    }
    default:
        break;
    }
}

void drawCamera(QPainter &p, const QRectF &r, const SimulatedPictureState &s, const Palette &pal,
                double seconds, double unit)
{
    // A hand-held page is never perfectly still.
    const double jitterX =
        std::sin(seconds * 1.9) * 3 * unit + std::sin(seconds * 0.31) * 10 * unit;
    const double jitterY = std::cos(seconds * 1.3) * 2 * unit;
    const bool whole = s.mode == 3 || s.findPosition;
    const double zoom = whole ? 0.7 : 1.0 + std::max(0, s.zoomLevel) * 0.18;
    const double panX = -s.panX * 40 * unit;
    const double panY = -s.panY * 40 * unit;
    p.fillRect(r, pal.paper);
    if (s.cameraMode == 0 && s.mode != 3) {
        // Distance view: a board across the room.
        const QRectF board =
            r.adjusted(r.width() * 0.1, r.height() * 0.12, -r.width() * 0.1, -r.height() * 0.2)
                .translated(jitterX + panX, jitterY + panY);
        p.setPen(QPen(mix(pal.ink, pal.paper, 0.4), 10 * unit));
        p.setBrush(pal.paper);
        p.drawRect(board);
        p.setFont(font("DejaVu Sans", 48 * unit * zoom, true));
        p.setPen(pal.ink);
        p.drawText(board.adjusted(30 * unit, 20 * unit, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Today: page 47\nHomework: read\nchapter 3"));
    } else {
        const double scale = unit * zoom;
        const QPointF shift = whole ? QPointF(0, 0) : QPointF(jitterX + panX, jitterY + panY);
        drawLines(p, pageLines(), r.adjusted(40 * unit + shift.x(), 30 * unit + shift.y(), 0, 0),
                  pal, scale, 0, -1, {});
    }
    if (whole) {
        p.setPen(QPen(QColor(250, 200, 0), 4 * unit, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        if (s.findPosition) {
            // Where the zoomed camera was looking.
            const double w = r.width() / (1.0 + std::max(0, s.zoomLevel) * 0.18) * 0.7;
            QRectF spot(0, 0, w, w * r.height() / r.width());
            spot.moveCenter(r.center() + QPointF(s.panX * 28 * unit, s.panY * 28 * unit));
            p.drawRect(spot);
        } else {
            p.drawRect(r.adjusted(24 * unit, 24 * unit, -24 * unit, -24 * unit));
        }
    }
}

void drawAutoScroll(QPainter &p, const QRectF &r, const SimulatedPictureState &s,
                    const Palette &pal, double seconds, double unit)
{
    p.fillRect(r, pal.paper);
    const double zoom = 1.0 + std::max(0, s.zoomLevel) * 0.18;
    const double lineHeight = 22 * unit * zoom * 1.2 * 1.45;
    const double speed = (20 + 12 * std::clamp(s.autoScrollSpeed, 0, 10)) * unit;
    const double travel = s.autoScrollPlaying ? seconds * speed : 0;
    double dx = 0;
    double dy = -s.autoScrollLine * lineHeight;
    if (s.autoScrollDirection == 1)
        dy -= std::fmod(travel, lineHeight * kPageLines);
    else
        dx -= std::fmod(travel, r.width() * 0.6);
    drawLines(p, pageLines(), r.adjusted(40 * unit + dx, 20 * unit + dy, 0, 0), pal,
              unit * zoom * 1.2, 0, -1, {});
}

QString displayName(const QString &path)
{
    return path.mid(path.indexOf(QLatin1Char('/')) + 1);
}

void drawMissing(QPainter &p, const QRectF &r, const QString &what, double unit)
{
    p.fillRect(r, QColor(30, 30, 30));
    p.setPen(QColor(250, 120, 120));
    p.setFont(font("DejaVu Sans", 30 * unit, true));
    p.drawText(r.adjusted(40 * unit, 0, -40 * unit, 0), Qt::AlignCenter | Qt::TextWordWrap, what);
}

// A stored image: a little landscape made up from the file's name, so each
// file looks different, with its name on it.
void drawStoredImage(QPainter &p, const QRectF &r, const SimulatedPictureState &s,
                     const Palette &pal, double unit)
{
    if (s.openFileMissing) {
        drawMissing(
            p, r, QStringLiteral("Cannot open %1: no such file on the card").arg(s.openFile), unit);
        return;
    }
    p.fillRect(r, QColor(30, 30, 30));
    const QRectF frame =
        r.adjusted(r.width() * 0.08, r.height() * 0.08, -r.width() * 0.08, -r.height() * 0.06);
    QRandomGenerator random(quint32(qHash(s.openFile)));
    const bool natural = s.textColor <= 1;
    auto colour = [&](int hue, int sat, int val) {
        const QColor c = QColor::fromHsv(hue % 360, sat, val);
        return natural ? c : mix(pal.paper, pal.ink, qGray(c.rgb()) / 255.0 * 0.8 + 0.1);
    };
    const int hue = random.bounded(360);
    p.save();
    p.setClipRect(frame);
    // Zoom and pan of the image view.
    const double zoom = 1.0 + s.documentZoom * 0.25;
    p.translate(frame.center());
    p.scale(zoom, zoom);
    p.translate(-frame.center() - QPointF(s.documentPanX, s.documentPanY) * 30 * unit);
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, colour(hue, 120, 240));
    sky.setColorAt(1, colour(hue + 30, 60, 250));
    p.fillRect(frame, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(colour(hue + 180, 200, 250));
    const QPointF sun(frame.left() + frame.width() * (0.15 + 0.7 * random.generateDouble()),
                      frame.top() + frame.height() * 0.22);
    p.drawEllipse(sun, 40 * unit, 40 * unit);
    for (int layer = 0; layer < 2; ++layer) {
        QPainterPath hills(QPointF(frame.left(), frame.bottom()));
        const int peaks = 3 + random.bounded(4);
        for (int i = 0; i <= peaks; ++i)
            hills.lineTo(frame.left() + frame.width() * i / peaks,
                         frame.top() +
                             frame.height() * (0.4 + 0.1 * layer + 0.25 * random.generateDouble()));
        hills.lineTo(frame.bottomRight());
        p.setBrush(colour(hue + 90 + 40 * layer, 160, 180 - 50 * layer));
        p.drawPath(hills);
    }
    const int houses = 2 + random.bounded(5);
    for (int i = 0; i < houses; ++i) {
        const double w = frame.width() * (0.05 + 0.05 * random.generateDouble());
        const QRectF house(frame.left() + frame.width() * random.generateDouble() * 0.9,
                           frame.bottom() - frame.height() * 0.22 - w, w, w);
        p.setBrush(colour(random.bounded(360), 150, 220));
        p.drawRect(house);
        p.setBrush(colour(0, 180, 140));
        p.drawPolygon(
            QPolygonF({house.topLeft(), QPointF(house.center().x(), house.top() - w * 0.6),
                       house.topRight()}));
    }
    p.restore();
    // The name, along the picture's top edge.
    const QRectF label(frame.left(), frame.top(), frame.width(), 44 * unit);
    p.fillRect(label, QColor(255, 255, 255, 220));
    p.setPen(Qt::black);
    const QFont f = font("DejaVu Sans", 22 * unit, true);
    p.setFont(f);
    p.drawText(label.adjusted(12 * unit, 0, -12 * unit, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(f).elidedText(displayName(s.openFile), Qt::ElideMiddle,
                                          int(label.width() - 24 * unit)));
    p.setPen(QPen(QColor(200, 200, 200), 3 * unit));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
}

int readingIndex(const SimulatedPictureState &s, const QStringList &lines, double seconds)
{
    const int n = int(lines.size());
    int line = (s.readingLine + (s.ocrPlaying ? int(seconds * 0.5) : 0)) % n;
    for (int i = 0; i < n && lines[line].isEmpty(); ++i)
        line = (line + 1) % n;
    return line;
}

void drawOcr(QPainter &p, const QRectF &r, const SimulatedPictureState &s, const Palette &pal,
             double seconds, double unit)
{
    if (s.openFileMissing) {
        drawMissing(
            p, r, QStringLiteral("Cannot open %1: no such file on the card").arg(s.openFile), unit);
        return;
    }
    p.fillRect(r, pal.paper);
    const QStringList lines = recognisedLines(s.openFile);
    const int reading = readingIndex(s, lines, seconds);
    const double zoom = 1.0 + std::max(0, s.documentZoom) * 0.2;
    const QColor highlight(250, 220, 60, 140);
    switch (s.ocrViewMode) {
    case 2:   // the line being read, alone and large
    case 3: { // the word being read
        QString text = lines[reading];
        if (s.ocrViewMode == 3) {
            const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            text = words.value(
                s.ocrPlaying ? int(seconds * 1.5) % std::max<qsizetype>(1, words.size()) : 0);
        }
        const double size = (s.ocrViewMode == 3 ? 110 : 44) * unit * zoom;
        p.setFont(font("DejaVu Serif", size, true));
        p.setPen(pal.ink);
        p.drawText(r.adjusted(30 * unit, 0, -30 * unit, 0), Qt::AlignCenter | Qt::TextWordWrap,
                   text);
        break;
    }
    case 1: { // the whole text, scrolled to the line being read
        const double scale = unit * 1.6 * zoom;
        drawLines(p, lines, r.adjusted(40 * unit, 60 * unit, -40 * unit, 0), pal, scale,
                  -reading * 22 * scale * 1.45 + 120 * unit, reading, highlight, 1);
        break;
    }
    default: { // the page as recognised, the line being read marked
        p.save();
        if (!s.deskew) { // an uncorrected page sits a little askew
            p.translate(r.center());
            p.rotate(-2.5);
            p.translate(-r.center());
        }
        drawLines(p, lines, r.adjusted(60 * unit, 40 * unit, 0, 0), pal, unit * 1.2 * zoom, 0,
                  reading, highlight, 1);
        p.restore();
        break;
    }
    }
    // What the recognition and the voice are set to.
    const QString info =
        QStringLiteral(
            "OCR %1   %2 voice, speed %3, volume %4, pitch %5   deskew %6, perspective %7")
            .arg(s.ocrLanguages.isEmpty() ? QStringLiteral("-") : s.ocrLanguages)
            .arg(s.ttsType == 1 ? QStringLiteral("female") : QStringLiteral("male"))
            .arg(s.ttsSpeed)
            .arg(s.ttsVolume)
            .arg(s.ttsPitch)
            .arg(s.deskew ? QStringLiteral("on") : QStringLiteral("off"))
            .arg(s.perspective ? QStringLiteral("on") : QStringLiteral("off"));
    const QRectF band(r.left(), r.top(), r.width(), 28 * unit);
    p.fillRect(band, QColor(0, 0, 0, 150));
    p.setPen(Qt::white);
    p.setFont(font("DejaVu Sans", 15 * unit));
    p.drawText(band.adjusted(12 * unit, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, info);
}

void drawAdjusting(QPainter &p, const QRectF &r, const SimulatedPictureState &s, double unit)
{
    QString what;
    switch (s.adjusting) {
    case 1:
        what = s.markerMode == 2 || s.markerMode == 3
                   ? QStringLiteral("Adjusting the window marker: size %1").arg(s.markerSize)
                   : QStringLiteral("Adjusting the line marker: position %1").arg(s.markerPosition);
        break;
    case 2:
        what = QStringLiteral("Auto-scroll range: aim at the start");
        break;
    case 3:
        what = QStringLiteral("Auto-scroll range: aim at the end");
        break;
    case 4:
        what = QStringLiteral("Aiming the distance camera");
        break;
    default:
        return;
    }
    p.setPen(QPen(QColor(250, 200, 0), 6 * unit));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(3 * unit, 3 * unit, -3 * unit, -3 * unit));
    const QRectF banner(r.left(), r.top() + 30 * unit, r.width(), 40 * unit);
    p.fillRect(banner, QColor(250, 200, 0, 230));
    p.setPen(Qt::black);
    p.setFont(font("DejaVu Sans", 22 * unit, true));
    p.drawText(banner, Qt::AlignCenter, what);
}

void drawCaption(QPainter &p, const QRectF &bar, const QString &caption, double unit)
{
    if (caption.trimmed().isEmpty())
        return;
    const QFont f = font("DejaVu Sans", 24 * unit, true);
    const QRectF band(bar.left(), bar.top() - 52 * unit, bar.width(), 52 * unit);
    p.fillRect(band, QColor(0, 0, 0, 210));
    // A loudspeaker, then the words.
    const double cy = band.center().y();
    const double x = band.left() + 16 * unit;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 80));
    p.drawPolygon(
        QPolygonF({QPointF(x, cy - 6 * unit), QPointF(x + 8 * unit, cy - 6 * unit),
                   QPointF(x + 18 * unit, cy - 14 * unit), QPointF(x + 18 * unit, cy + 14 * unit),
                   QPointF(x + 8 * unit, cy + 6 * unit), QPointF(x, cy + 6 * unit)}));
    p.setFont(f);
    p.setPen(QColor(255, 220, 80));
    const QRectF text = band.adjusted(46 * unit, 0, -16 * unit, 0);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(f).elidedText(caption.simplified(), Qt::ElideRight, int(text.width())));
}

void drawStatus(QPainter &p, const QRectF &bar, const SimulatedPictureState &s, double seconds,
                double unit)
{
    QStringList parts{modeName(s)};
    if (s.mode == 1 || s.mode == 2)
        parts << QStringLiteral("zoom %1").arg(s.documentZoom)
              << QStringLiteral("contrast %1").arg(s.documentContrast);
    else
        parts << QStringLiteral("zoom %1").arg(s.zoomLevel)
              << QStringLiteral("contrast %1").arg(s.contrast);
    if (s.mode == 4)
        parts << QStringLiteral("%1, speed %2, %3")
                     .arg(s.autoScrollDirection == 1 ? QStringLiteral("vertical")
                                                     : QStringLiteral("horizontal"))
                     .arg(s.autoScrollSpeed)
                     .arg(s.customScrollRange ? QStringLiteral("custom range")
                                              : QStringLiteral("A4 page"));
    if (s.focusLock)
        parts << QStringLiteral("focus locked");
    if (!s.voiceGuide)
        parts << QStringLiteral("voice guide off");
    if (!s.language.isEmpty())
        parts << s.language;
    if (s.menuOpen)
        parts << QStringLiteral("menu");
    p.fillRect(bar, QColor(40, 40, 40));
    p.setPen(Qt::white);
    p.setFont(font("DejaVu Sans", 18 * unit));
    p.drawText(bar.adjusted(12 * unit, 0, -40 * unit, 0), Qt::AlignLeft | Qt::AlignVCenter,
               parts.join(QStringLiteral("   ")));
    // A recording light that blinks: the picture is live.
    if (s.mode != 2 && int(seconds * 2) % 2 == 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 40, 40));
        p.drawEllipse(QPointF(bar.right() - 24 * unit, bar.center().y()), 7 * unit, 7 * unit);
    }
}

} // namespace

QColor textColorFor(int code)
{
    switch (code) {
    case 2:
        return Qt::black;
    case 3:
        return Qt::white;
    case 4:
        return QColor(230, 30, 30);
    case 5:
        return QColor(40, 220, 60);
    case 6:
        return QColor(40, 70, 240);
    case 7:
        return Qt::cyan;
    case 8:
        return Qt::magenta;
    case 9:
        return QColor(250, 230, 30);
    case 10:
        return QColor(40, 40, 40);
    default:
        return QColor(35, 30, 28); // natural: printing ink
    }
}

QColor backgroundColorFor(int code)
{
    switch (code) {
    case 2:
        return Qt::black;
    case 3:
        return Qt::white;
    case 4:
        return QColor(160, 0, 0);
    case 5:
        return QColor(0, 110, 20);
    case 6:
        return QColor(10, 20, 140);
    case 7:
        return QColor(0, 120, 130);
    case 8:
        return QColor(120, 0, 120);
    case 9:
        return QColor(200, 180, 0);
    case 10:
        return QColor(225, 225, 225);
    default:
        return QColor(244, 236, 218); // natural: paper
    }
}

QStringList recognisedLines(const QString &openFile)
{
    if (openFile.isEmpty())
        return pageLines();
    const QString title = QFileInfo(displayName(openFile)).completeBaseName();
    QStringList lines{title.isEmpty() ? displayName(openFile) : title, QString()};
    const auto &passage = kPassages[qHash(openFile) % (sizeof(kPassages) / sizeof(kPassages[0]))];
    for (const char *line : passage)
        lines << QString::fromLatin1(line);
    return lines;
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
    // The picture is drawn above the status line.
    const QRectF bar(0, image.height() - 32 * unit, image.width(), 32 * unit);
    const QRectF r(0, 0, image.width(), bar.top());
    p.setClipRect(r);

    const bool document = s.mode == 1 || s.mode == 2;
    const Palette pal = palette(s, document ? s.documentContrast : s.contrast);
    switch (s.mode) {
    case 1:
        drawOcr(p, r, s, pal, seconds, unit);
        break;
    case 2:
        drawStoredImage(p, r, s, pal, unit);
        break;
    case 4:
        drawAutoScroll(p, r, s, pal, seconds, unit);
        break;
    default:
        drawCamera(p, r, s, pal, seconds, unit);
        break;
    }
    if (!document)
        drawMarker(p, r, s, pal.ink, seconds);
    drawAdjusting(p, r, s, unit);
    drawCaption(p, bar, s.caption, unit);
    p.setClipping(false);
    drawStatus(p, bar, s, seconds, unit);
    p.end();
    return image;
}

} // namespace SimulatedPicture
