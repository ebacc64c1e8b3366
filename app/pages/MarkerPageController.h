#pragma once
// The four marker pages move or size the reading marker while the user
// watches the picture. They differ only in data: which marker they adjust
// (its title) and whether it lies horizontally (Up and Down move it) or
// vertically (Left and Right move it). Opening sends MarkerAdjust begin,
// every key-down (held keys included) one step, OK confirm, Cancel cancel;
// the device keeps the marker, the viewer stores nothing.
#include "CameraPageController.h"

class MarkerPageController : public CameraPageController
{
    Q_OBJECT

public:
    struct Kind
    {
        const char *objectName;
        const char *titleKey; // after "Marker.Distance." or "Marker.Near."
        const char *fallbackTitle;
        bool vertical;
    };

    // The page for marker mode 0 to 3, or nullptr for any other mode.
    static MarkerPageController *create(AppContext &context, int markerMode, QWidget *parent = nullptr);
    // The mouse gesture set the page arms (1 to 4), for marker mode 0 to 3.
    static int gestureModeFor(int markerMode) { return markerMode + 1; }

    bool isVertical() const { return m_kind.vertical; }

    void onOK() override;
    void onCancel() override;

protected:
    MarkerPageController(const Kind &kind, AppContext &context, QWidget *parent);
    void windowDidLoad() override;
    void keyPressEvent(QKeyEvent *event) override;
    QString title() const override;

private:
    Kind m_kind;
};

class HorzLineMarkerController : public MarkerPageController
{
    Q_OBJECT
public:
    explicit HorzLineMarkerController(AppContext &context, QWidget *parent = nullptr);
};

class VertLineMarkerController : public MarkerPageController
{
    Q_OBJECT
public:
    explicit VertLineMarkerController(AppContext &context, QWidget *parent = nullptr);
};

class HorzWindowMarkerController : public MarkerPageController
{
    Q_OBJECT
public:
    explicit HorzWindowMarkerController(AppContext &context, QWidget *parent = nullptr);
};

class VertWindowMarkerController : public MarkerPageController
{
    Q_OBJECT
public:
    explicit VertWindowMarkerController(AppContext &context, QWidget *parent = nullptr);
};
