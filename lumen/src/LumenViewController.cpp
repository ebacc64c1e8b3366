#include <lumen/LumenViewController.h>

#include "LumenFeedSource.h"
#include "LumenFrameSlot.h"
#include "LumenLog.h"
#include "LumenV4l2Source.h"

#include <QTimer>

LumenViewController::LumenViewController(const QString &videoDeviceName,
                                         const QString &audioDeviceName, QObject *parent)
    : QObject(parent), m_slot(std::make_shared<LumenFrameSlot>())
{
    if (!audioDeviceName.isEmpty())
        throw LumenError(
            QStringLiteral("Audio capture is not supported (asked for \"%1\").").arg(audioDeviceName));
    const LumenV4l2Source::Found found = LumenV4l2Source::find(videoDeviceName);
    if (found.path.isEmpty())
        throw LumenError(found.reason);
    m_devicePath = found.path;
    // The source first: when it throws, nothing else exists yet. A frame
    // that arrives before the view is kept in the slot and shown first.
    auto source = std::make_unique<LumenV4l2Source>(videoDeviceName, found.path, m_slot);
    createView();
    m_session.reset(new LumenSession(std::move(source)));
}

LumenViewController::LumenViewController(std::shared_ptr<LumenFrameFeed> feed, QObject *parent)
    : QObject(parent), m_slot(std::make_shared<LumenFrameSlot>())
{
    createView();
    auto source = std::make_unique<LumenFeedSource>(std::move(feed), m_slot);
    source->start();
    m_session.reset(new LumenSession(std::move(source)));
}

LumenViewController::~LumenViewController()
{
    m_session.reset();
    // A view the caller adopted belongs to its parent now.
    if (m_view && !m_view->parent())
        delete m_view;
}

void LumenViewController::createView()
{
    m_view = new LumenCaptureView(m_slot);
}

QWidget *LumenViewController::view() const
{
    return m_view;
}

LumenCaptureView *LumenViewController::captureView() const
{
    return m_view;
}

void LumenViewController::setEventSetupVideoPreview(std::function<void(LumenPreviewLayer *)> handler)
{
    if (!handler || !m_view)
        return;
    QPointer<LumenCaptureView> view = m_view;
    QTimer::singleShot(0, m_view, [view, handler = std::move(handler)] {
        if (view)
            handler(view->previewLayer());
    });
}
