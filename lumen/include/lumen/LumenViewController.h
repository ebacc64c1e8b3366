#pragma once
// Shows a video capture device's picture in a widget.
//
//   try {
//       auto *camera = new LumenViewController("FX3", {}, this);
//       container->layout()->addWidget(camera->captureView());
//   } catch (const LumenError &error) {
//       show(error.reason());
//   }
//
// The controller, its view and its session belong to the main thread;
// frames are captured on a thread of the session's own and only the newest
// one is ever drawn. An MJPEG frame is decoded on the capture thread with
// one helper thread (started once, kept while capturing) taking the lower
// half of a frame that has restart markers; a frame without them is drawn
// on the main thread band by band behind its decoding.
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

#include <lumen/LumenCaptureView.h>
#include <lumen/LumenError.h>
#include <lumen/LumenFrameFeed.h>
#include <lumen/LumenPreviewLayer.h>
#include <lumen/LumenSession.h>

class LumenFrameSlot;

class LumenViewController : public QObject
{
    Q_OBJECT
public:
    // Binds to the Video4Linux capture device whose name (the card name the
    // driver reports) is videoDeviceName and starts capturing. Audio is not
    // captured: audioDeviceName must be empty. Throws LumenError with a
    // readable reason when no such device exists or it cannot be opened.
    explicit LumenViewController(const QString &videoDeviceName,
                                 const QString &audioDeviceName = QString(),
                                 QObject *parent = nullptr);

    // Shows the frames the program pushes into `feed`.
    explicit LumenViewController(std::shared_ptr<LumenFrameFeed> feed, QObject *parent = nullptr);

    ~LumenViewController() override;

    // The root view, which the caller sizes. It is the capture view itself:
    // sizing and moving it moves the picture, wherever the view was placed.
    QWidget *view() const;
    // The view that shows the picture. Once the caller gives it a parent,
    // the parent owns it; otherwise the controller deletes it.
    LumenCaptureView *captureView() const;

    // Called on the main thread once the picture layer is ready (soon after
    // the handler is set), to let the caller choose how it fills the view.
    void setEventSetupVideoPreview(std::function<void(LumenPreviewLayer *)> handler);

    LumenSession *session() const { return m_session.get(); }

    // The device node in use (e.g. "/dev/video2"), empty for a feed.
    QString devicePath() const { return m_devicePath; }

private:
    void createView();

    std::shared_ptr<LumenFrameSlot> m_slot;
    std::unique_ptr<LumenSession> m_session;
    QPointer<LumenCaptureView> m_view;
    QString m_devicePath;
};
