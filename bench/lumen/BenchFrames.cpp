#include "BenchFrames.h"

#include "LumenFrameMaker.h"

#include <QFont>
#include <QPainter>

namespace {

QImage page(QSize size, int index)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(250, 248, 240));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(38);
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 30));
    const QString words = QStringLiteral(
        "The quick brown fox jumps over the lazy dog while the reader moves the page ");
    for (int line = 0; line < 22; ++line)
        painter.drawText(60 - (index * 7) % 40, 70 + line * 46,
                         words.mid((line * 3 + index) % 20) + words);
    painter.fillRect(QRect(1500, 80 + index * 10, 300, 200), QColor(200, 40, 40));
    return image;
}

} // namespace

BenchFrames BenchFrames::make(QSize size, int count)
{
    BenchFrames frames;
    frames.size = size;
    for (int i = 0; i < count; ++i) {
        const QImage image = page(size, i);
        // 4:2:2 at quality 85, as USB cameras send them.
        frames.yuyv.push_back(lumentest::toYuyv(image));
        frames.mjpeg.push_back(lumentest::toJpeg(image, {2, 1, 0, 0, 85}));
        frames.mjpegRestart.push_back(lumentest::toJpeg(image, {2, 1, 1, 0, 85}));
    }
    return frames;
}
