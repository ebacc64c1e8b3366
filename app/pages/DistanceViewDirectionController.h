#pragma once
// Aims the distance camera while the user watches the picture: opening sends
// DistanceViewDirection begin, the arrows move the camera (and mouse drags,
// through the page's gesture set), OK confirms, Cancel cancels.
#include "CameraMoveKeys.h"
#include "CameraPageController.h"

class DistanceViewDirectionController : public CameraPageController
{
    Q_OBJECT

public:
    static constexpr int kGestureMode = 6;

    explicit DistanceViewDirectionController(AppContext &context, QWidget *parent = nullptr);

    void onOK() override;
    void onCancel() override;

protected:
    void windowDidLoad() override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    QString title() const override;

private:
    CameraMoveKeys m_moveKeys{context()};
};
