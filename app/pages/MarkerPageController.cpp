#include "MarkerPageController.h"

#include "PageSupport.h"

#include "core/AppDelegate.h"
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

void adjust(VizoCmd::MarkerAction action)
{
    PageSupport::send(VizoCmd::MarkerAdjust(action).payload());
}
} // namespace

MarkerPageController *MarkerPageController::create(int markerMode, QWidget *parent)
{
    switch (markerMode) {
    case 0:
        return new HorzLineMarkerController(parent);
    case 1:
        return new VertLineMarkerController(parent);
    case 2:
        return new HorzWindowMarkerController(parent);
    case 3:
        return new VertWindowMarkerController(parent);
    default:
        return nullptr;
    }
}

MarkerPageController::MarkerPageController(const Kind &kind, QWidget *parent)
    : CameraPageController(parent), m_kind(kind)
{
    setObjectName(QLatin1String(kind.objectName));
}

QString MarkerPageController::title() const
{
    const VizoSettings *settings = AppDelegate::settings();
    const bool distance = settings && settings->cameraMode() == 0;
    const QString key =
        (distance ? QStringLiteral("Marker.Distance.") : QStringLiteral("Marker.Near.")) +
        QLatin1String(m_kind.titleKey);
    const QString fallback =
        (distance ? QStringLiteral("Distance view: ") : QStringLiteral("Near view: ")) +
        QLatin1String(m_kind.fallbackTitle);
    return AppDelegate::languageString(QStringLiteral("OptionUI"), key, fallback);
}

void MarkerPageController::windowDidLoad()
{
    CameraPageController::windowDidLoad();
    adjust(VizoCmd::MarkerBegin);
}

void MarkerPageController::keyPressEvent(QKeyEvent *event)
{
    // Every key-down moves the marker one step, held keys included.
    const int forward = m_kind.vertical ? Qt::Key_Right : Qt::Key_Up;
    const int back = m_kind.vertical ? Qt::Key_Left : Qt::Key_Down;
    if (event->key() == forward)
        adjust(VizoCmd::MarkerStepForward);
    else if (event->key() == back)
        adjust(VizoCmd::MarkerStepBack);
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
    adjust(VizoCmd::MarkerConfirm);
    closeWindow();
}

void MarkerPageController::onCancel()
{
    if (isClosed())
        return;
    adjust(VizoCmd::MarkerCancel);
    closeWindow();
}

HorzLineMarkerController::HorzLineMarkerController(QWidget *parent)
    : MarkerPageController(kHorzLine, parent)
{
}
VertLineMarkerController::VertLineMarkerController(QWidget *parent)
    : MarkerPageController(kVertLine, parent)
{
}
HorzWindowMarkerController::HorzWindowMarkerController(QWidget *parent)
    : MarkerPageController(kHorzWindow, parent)
{
}
VertWindowMarkerController::VertWindowMarkerController(QWidget *parent)
    : MarkerPageController(kVertWindow, parent)
{
}
