#pragma once
// The camera picture in the main window's capture container: Lumen's view
// of the "FX3" video device (or of the virtual device's feed), or, when it
// cannot be shown, a notice that says why. The mouse over either goes to
// one handler. One picture a connection: a new camera gets a new one.
// While the notice stands for a camera's video device, every video device
// that appears brings another try. Main thread only.
#include "kit/MouseGestureRecognizer.h"
#include "link/VizoUdevMonitor.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class LumenFrameFeed;
class LumenViewController;
class MainWindowController;
class QInputEvent;
class QWidget;

class CapturePicture : public QObject
{
    Q_OBJECT

public:
    using MouseEvent = MouseGestureRecognizer::PictureEvent;
    using MouseHandler = std::function<void(MouseEvent kind, QWidget *view, const QInputEvent &event)>;

    CapturePicture(MainWindowController &window, MouseHandler onMouse, QObject *parent = nullptr);
    ~CapturePicture() override;

    // Shows `feed` when given, otherwise the video device `cameraName`.
    // Returns the reason when the picture cannot be shown (the notice then
    // stands in its place), or an empty string.
    QString setUp(std::shared_ptr<LumenFrameFeed> feed, const QString &cameraName);
    bool isSetUp() const { return m_controller || m_notice; }
    // The picture itself, not the notice.
    bool hasPicture() const { return m_controller != nullptr; }
    // Stops the capture and removes the picture (or the notice).
    void tearDown();
    // Stops capturing, leaving the view in place (the end of the run).
    void stopRunning();

    LumenViewController *controller() const { return m_controller.get(); }
    // The picture, or the notice standing in for it, or nullptr.
    QWidget *view() const;

signals:
    // What stands in the picture area changed without a setUp(): a video
    // device came, and the picture (or a notice with the new reason) is
    // shown.
    void pictureChanged();

private:
    QString showPicture(std::shared_ptr<LumenFrameFeed> feed, const QString &cameraName);
    void installMouseHandlers();
    void retry();

    MainWindowController &m_window;
    MouseHandler m_onMouse;
    std::unique_ptr<LumenViewController> m_controller;
    QPointer<QWidget> m_notice;
    QString m_cameraName;
    VizoUdevMonitor m_videoNodes{"video4linux"};
    QTimer m_retry; // a new node settles (permissions, its driver) first
};
