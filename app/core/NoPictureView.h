#pragma once
// Stands in the picture area when the camera's video device cannot be
// shown (no "FX3" device, for instance with --port and the virtual device):
// a readable notice instead of a black area, and the mouse over it still
// reported like the picture's, since wheel zoom, drags and clicks drive the
// device and need no picture.
#include <QWidget>

#include <functional>

class QLabel;
class QInputEvent;

class NoPictureView : public QWidget
{
    Q_OBJECT

public:
    enum class Event {
        MouseDown,
        MouseDragged,
        MouseUp,
        RightMouseDown,
        RightMouseDragged,
        RightMouseUp,
        ScrollWheel
    };
    using Handler = std::function<void(Event kind, QWidget *view, const QInputEvent &event)>;

    explicit NoPictureView(const QString &reason, QWidget *parent = nullptr);

    static QString noticeText(const QString &reason);
    QString text() const;

    // Each mouse event over the area.
    Handler eventMouse;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void report(Event kind, const QInputEvent &event);

    QLabel *m_label = nullptr;
};
