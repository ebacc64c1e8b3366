#pragma once
// A full-size page over the live camera picture: one step with a header, the
// lent picture and OK and Cancel in the footer. Return is OK, Esc and
// Backspace are Cancel; the arrow keys are the subclass's.
#include "kit/ModalWindowController.h"

class CameraStepView;
class QLabel;

class CameraPageController : public ModalWindowController
{
    Q_OBJECT

public:
    explicit CameraPageController(AppContext &context, QWidget *parent = nullptr);

    CameraStepView *step() const { return m_step; }
    QLabel *labelHeader() const;
    QWidget *headerBackgroundView() const;
    QWidget *captureViewContainer() const;

    virtual void onOK() = 0;
    virtual void onCancel() = 0;

    void onReturnKeyDown() override { onOK(); }
    void onEscKeyDown() override { onCancel(); }
    void onBackspaceKeyDown() override { onCancel(); }
    void enableHotKeys() override;
    // A close request from the device or the application cancels the page.
    void closeUI() override;

protected:
    // Titles the page and moves the lent picture into it; subclasses then
    // send what opening the page means.
    void windowDidLoad() override;
    void resizeEvent(QResizeEvent *event) override;
    // The title for the current camera view.
    virtual QString title() const = 0;

private:
    CameraStepView *m_step = nullptr;
};
