#include "MarkerPageController.h"

#include "PageSupport.h"

#include "kit/AppContext.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

#include <QKeyEvent>

namespace {
const MarkerPageController::Kind kHorzLine{
    "HorzLineMarkerController", "HorizontalLineMarkerPage.Title", "horizontal line marker", false};
const MarkerPageController::Kind kVertLine{
    "VertLineMarkerController", "VerticalLineMarkerPage.Title", "vertical line marker", true};
const MarkerPageController::Kind kHorzWindow{"HorzWindowMarkerController",
                                             "HorizontalWindowMarkerPage.Title",
                                             "horizontal window marker", false};
const MarkerPageController::Kind kVertWindow{
    "VertWindowMarkerController", "VerticalWindowMarkerPage.Title", "vertical window marker", true};

} // namespace

MarkerPageController *MarkerPageController::create(AppContext &context, int markerMode, QWidget *parent)
{
    switch (markerMode) {
    case 0:
        return new HorzLineMarkerController(context, parent);
    case 1:
        return new VertLineMarkerController(context, parent);
    case 2:
        return new HorzWindowMarkerController(context, parent);
    case 3:
        return new VertWindowMarkerController(context, parent);
    default:
        return nullptr;
    }
}

MarkerPageController::MarkerPageController(const Kind &kind, AppContext &app, QWidget *parent)
    : CameraPageController(app, parent), m_kind(kind)
{
    setObjectName(QLatin1String(kind.objectName));
}

QString MarkerPageController::title() const
{
    const VizoSettings *settings = context().settings();
    const bool distance = settings && settings->cameraMode() == 0;
    const QString key =
        (distance ? QStringLiteral("Marker.Distance.") : QStringLiteral("Marker.Near.")) +
        QLatin1String(m_kind.titleKey);
    const QString fallback =
        (distance ? QStringLiteral("Distance view: ") : QStringLiteral("Near view: ")) +
        QLatin1String(m_kind.fallbackTitle);
    return context().languageString(QStringLiteral("OptionUI"), key, fallback);
}

void MarkerPageController::windowDidLoad()
{
    CameraPageController::windowDidLoad();
    context().writeVizoPacket(VizoCmd::MarkerAdjust(VizoCmd::MarkerBegin).payload());
}

void MarkerPageController::keyPressEvent(QKeyEvent *event)
{
    // Every key-down moves the marker one step, held keys included.
    const int forward = m_kind.vertical ? Qt::Key_Right : Qt::Key_Up;
    const int back = m_kind.vertical ? Qt::Key_Left : Qt::Key_Down;
    if (event->key() == forward)
        context().writeVizoPacket(VizoCmd::MarkerAdjust(VizoCmd::MarkerStepForward).payload());
    else if (event->key() == back)
        context().writeVizoPacket(VizoCmd::MarkerAdjust(VizoCmd::MarkerStepBack).payload());
    else {
        CameraPageController::keyPressEvent(event);
        return;
    }
    event->accept();
}

void MarkerPageController::onOK()
{
    if (isClosed())
        return;
    context().writeVizoPacket(VizoCmd::MarkerAdjust(VizoCmd::MarkerConfirm).payload());
    closeWindow();
}

void MarkerPageController::onCancel()
{
    if (isClosed())
        return;
    context().writeVizoPacket(VizoCmd::MarkerAdjust(VizoCmd::MarkerCancel).payload());
    closeWindow();
}

HorzLineMarkerController::HorzLineMarkerController(AppContext &app, QWidget *parent)
    : MarkerPageController(kHorzLine, app, parent)
{
}
VertLineMarkerController::VertLineMarkerController(AppContext &app, QWidget *parent)
    : MarkerPageController(kVertLine, app, parent)
{
}
HorzWindowMarkerController::HorzWindowMarkerController(AppContext &app, QWidget *parent)
    : MarkerPageController(kHorzWindow, app, parent)
{
}
VertWindowMarkerController::VertWindowMarkerController(AppContext &app, QWidget *parent)
    : MarkerPageController(kVertWindow, app, parent)
{
}
