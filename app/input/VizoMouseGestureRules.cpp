#include "input/VizoMouseGestureRules.h"

namespace {

void add(QStringList &out, const char *name)
{
    out.append(QString::fromLatin1(name));
}

void addIf(QStringList &out, bool condition, const char *name)
{
    if (condition)
        add(out, name);
}

} // namespace

namespace VizoMouseGestureRules {

void summitVersion(const VizoInputState &state, QStringList &out)
{
    if (state.menuOpened) {
        add(out, "MouseGestureCloseMenu");
        return;
    }
    switch (state.vizoMode) {
    case 0:
        add(out, "MouseGestureOpenMenu");
        addIf(out, !state.cameraZoomRunning, "MouseGestureCameraMove");
        addIf(out, !state.cameraZoomRunning, "MouseGestureCameraModeNextColor");
        add(out, "MouseGestureCameraModeZoomStart");
        break;
    case 1:
        add(out, "MouseGestureOpenMenu");
        addIf(out, !state.ocrZoomRunning, "MouseGestureOCRModeNextColor");
        add(out, "MouseGestureOCRModeZoomStart");
        break;
    case 3:
        add(out, "MouseGestureOpenMenu");
        add(out, "MouseGestureCameraMove");
        break;
    case 5:
        addIf(out, !state.cameraZoomRunning, "MouseGestureCameraMove");
        add(out, "MouseGestureCameraModeZoomStart");
        break;
    default:
        break;
    }
}

void ridgeVersion(const VizoInputState &state, QStringList &out)
{
    if (state.menuOpened) {
        add(out, "MouseGestureCloseMenu");
        return;
    }
    switch (state.vizoMode) {
    case 0:
        add(out, "MouseGestureOpenMenu");
        addIf(out, !state.cameraZoomRunning, "MouseGestureCameraModeNextColor");
        add(out, "MouseGestureCameraModeZoomStart");
        break;
    case 1:
        add(out, "MouseGestureOpenMenu");
        addIf(out, !state.ocrZoomRunning, "MouseGestureOCRModeNextColor");
        add(out, "MouseGestureOCRModeZoomStart");
        break;
    case 3:
        add(out, "MouseGestureOpenMenu");
        break;
    default:
        break;
    }
}

void valleyVersion(const VizoInputState &state, QStringList &out)
{
    switch (state.vizoMode) {
    case 0:
        add(out, "MouseGestureCameraModeOpenColorModeSetting");
        addIf(out, !state.cameraZoomRunning, "MouseGestureCameraModeNextColor");
        add(out, "MouseGestureCameraModeZoomStart");
        break;
    case 1:
        addIf(out, !state.ocrZoomRunning, "MouseGestureOCRModeNextColor");
        add(out, "MouseGestureOCRModeZoomStart");
        break;
    default:
        break;
    }
}

QStringList armed(const VizoInputState &state)
{
    QStringList out;
    if (state.disableAllFunctions || state.disableMouseGestures)
        return out;
    switch (state.vizoMouseGestureMode) {
    case 0:
        switch (state.vizoVersion) {
        case VizoEdition::Summit:
            summitVersion(state, out);
            break;
        case VizoEdition::Valley:
            valleyVersion(state, out);
            break;
        case VizoEdition::Ridge:
            ridgeVersion(state, out);
            break;
        default:
            break;
        }
        break;
    case 1:
        add(out, "MouseGestureHorzLineMarker");
        break;
    case 2:
        add(out, "MouseGestureVertLineMarker");
        break;
    case 3:
        add(out, "MouseGestureHorzWindowMarker");
        break;
    case 4:
        add(out, "MouseGestureVertWindowMarker");
        break;
    case 5:
    case 6:
        add(out, "MouseGestureCameraMove");
        break;
    case 7:
        addIf(out, !state.imageZoomRunning, "MouseGestureImageMove");
        addIf(out, !state.imageZoomRunning, "MouseGestureImageModeNextColor");
        add(out, "MouseGestureImageModeZoomStart");
        break;
    case 8:
        if (state.captureTop == VizoCaptureTop::MenuOpen) {
            add(out, "MouseGestureCloseMenu");
        } else if (state.captureTop == VizoCaptureTop::MenuClosed) {
            add(out, "MouseGestureOpenMenu");
            addIf(out, !state.ocrZoomRunning, "MouseGestureOCRModeNextColor");
            add(out, "MouseGestureOCRModeZoomStart");
        }
        break;
    case 9:
        addIf(out, !state.cameraZoomRunning, "MouseGestureCameraMove");
        add(out, "MouseGestureCameraModeZoomStart");
        break;
    default:
        break;
    }
    return out;
}

} // namespace VizoMouseGestureRules
