#pragma once
// How the picture fills its capture view. The default stretches the picture
// to the view, aspect ratio not kept, as a magnifier's live view wants.
#include <QObject>

enum class LumenVideoGravity {
    Resize,           // stretched to fill the view
    ResizeAspect,     // whole picture, letterboxed
    ResizeAspectFill, // fills the view, cropped
};

class LumenPreviewLayer : public QObject
{
    Q_OBJECT
public:
    explicit LumenPreviewLayer(QObject *parent = nullptr);

    LumenVideoGravity videoGravity() const { return m_gravity; }
    void setVideoGravity(LumenVideoGravity gravity);

signals:
    void videoGravityChanged();

private:
    LumenVideoGravity m_gravity = LumenVideoGravity::Resize;
};
