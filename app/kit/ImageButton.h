#pragma once
// A button made of pictures only: the alternate image while it is pressed,
// otherwise the image, each stretched to the button. No title, no bezel.
#include <QAbstractButton>
#include <QPixmap>

class ImageButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ImageButton(QWidget *parent = nullptr);

    QPixmap image() const { return m_image; }
    void setImage(const QPixmap &image);
    QPixmap alternateImage() const { return m_alternateImage; }
    void setAlternateImage(const QPixmap &image);

    // The picture drawn in the current state.
    QPixmap currentImage() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_image;
    QPixmap m_alternateImage;
};
