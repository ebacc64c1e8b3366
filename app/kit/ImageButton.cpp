#include "ImageButton.h"

#include <QPainter>

ImageButton::ImageButton(QWidget *parent)
    : QAbstractButton(parent)
{
}

void ImageButton::setImage(const QPixmap &image)
{
    m_image = image;
    update();
}

void ImageButton::setAlternateImage(const QPixmap &image)
{
    m_alternateImage = image;
    update();
}

QPixmap ImageButton::currentImage() const
{
    return isDown() ? m_alternateImage : m_image;
}

void ImageButton::paintEvent(QPaintEvent *)
{
    const QPixmap pixmap = currentImage();
    if (pixmap.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), pixmap);
}
