#pragma once
// A page step that shows the live camera picture between its header and its
// footer, with OK and Cancel buttons. The picture itself is lent by the page
// that hosts the step and moved into captureViewContainer().
#include "PageFrame.h"

#include <functional>

class QPushButton;

class CameraStepView : public PageFrame
{
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    explicit CameraStepView(AppContext &context, QWidget *parent = nullptr);

    QWidget *captureViewContainer() const { return contentView(); }
    QPushButton *buttonOK() const { return m_buttonOK; }
    QPushButton *buttonCancel() const { return m_buttonCancel; }

    // Moves `picture` into this step, filling it.
    void placeCaptureView(QWidget *picture);

    Handler eventOK;
    Handler eventCancel;
    void onOK();
    void onCancel();

protected:
    void layoutContent(const QSize &designSize, double scale) override;

private:
    QPushButton *m_buttonOK = nullptr;
    QPushButton *m_buttonCancel = nullptr;
};
