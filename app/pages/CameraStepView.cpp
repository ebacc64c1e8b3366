#include "CameraStepView.h"

#include "kit/AppContext.h"

#include "PageSupport.h"

#include <QPushButton>

CameraStepView::CameraStepView(AppContext &app, QWidget *parent) : PageFrame(app, parent)
{
    contentView()->setObjectName(QStringLiteral("captureViewContainer"));
    m_buttonOK = addButton(QStringLiteral("buttonOK"),
                           PageSupport::messageText(context(), "Alert.OK", QStringLiteral("OK")));
    m_buttonCancel = addButton(QStringLiteral("buttonCancel"),
                               PageSupport::optionText(context(), "Page.Cancel", QStringLiteral("Cancel")));
    connect(m_buttonOK, &QPushButton::clicked, this, &CameraStepView::onOK);
    connect(m_buttonCancel, &QPushButton::clicked, this, &CameraStepView::onCancel);
}

void CameraStepView::placeCaptureView(QWidget *picture)
{
    if (!picture)
        return;
    picture->setParent(captureViewContainer());
    picture->setGeometry(captureViewContainer()->rect());
    picture->show();
}

void CameraStepView::layoutContent(const QSize &, double)
{
    // The picture follows the container whenever the step is laid out.
    for (QObject *child : captureViewContainer()->children()) {
        if (auto *widget = qobject_cast<QWidget *>(child))
            widget->setGeometry(captureViewContainer()->rect());
    }
}

void CameraStepView::onOK()
{
    if (eventOK)
        eventOK();
}

void CameraStepView::onCancel()
{
    if (eventCancel)
        eventCancel();
}
