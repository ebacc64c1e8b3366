#pragma once
// Marks the custom auto-scroll range on the live picture in two steps: the
// user steers the camera to where a pass starts (AutoScrollStartPosition),
// confirms, steers it to where the pass ends (AutoScrollEndPosition) and
// confirms (AutoScrollRangeConfirm). Cancel in either step sends
// AutoScrollRangeCancel. There is no way back from the end step. The arrows
// move the camera while held (and mouse drags, through the gesture set).
#include "CameraMoveKeys.h"
#include "CameraStepView.h"

#include "kit/ModalWindowController.h"

class AutoScrollStartPositionController : public CameraStepView
{
    Q_OBJECT
public:
    explicit AutoScrollStartPositionController(AppContext &context, QWidget *parent = nullptr);
};

class AutoScrollEndPositionController : public CameraStepView
{
    Q_OBJECT
public:
    explicit AutoScrollEndPositionController(AppContext &context, QWidget *parent = nullptr);
};

class AutoScrollPositionController : public ModalWindowController
{
    Q_OBJECT

public:
    static constexpr int kGestureMode = 5;

    explicit AutoScrollPositionController(AppContext &context, QWidget *parent = nullptr);

    AutoScrollStartPositionController *startPositionController() const
    {
        return m_startPositionController;
    }
    AutoScrollEndPositionController *endPositionController() const
    {
        return m_endPositionController;
    }
    CameraStepView *visibleStep() const;
    // The user confirmed both positions.
    bool isConfirmed() const { return m_confirmed; }

    void onReturnKeyDown() override;
    void onEscKeyDown() override;
    void onBackspaceKeyDown() override;
    void enableHotKeys() override;
    void closeUI() override;

protected:
    void windowDidLoad() override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startOK();
    void endOK();
    void cancel();

    AutoScrollStartPositionController *m_startPositionController = nullptr;
    AutoScrollEndPositionController *m_endPositionController = nullptr;
    CameraMoveKeys m_moveKeys{context()};
    bool m_confirmed = false;
};
