#include "input/VizoHotKeyRules.h"

namespace {

constexpr int DistanceView = 0;
constexpr int NearView = 1;

void add(VizoHotKeyArming &out, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        out.armed.append(QString::fromLatin1(name));
}

void addIf(VizoHotKeyArming &out, bool condition, const char *name)
{
    if (condition)
        out.armed.append(QString::fromLatin1(name));
}

// Summit and Ridge answer an open tree menu the same way: only the keys that
// close it, and the menu's own keyboard handling.
bool menuKeysOnly(const VizoInputState &state, VizoHotKeyArming &out)
{
    if (!state.menuOpened)
        return false;
    add(out, {"CloseMenu", "CloseMenu2"});
    out.enableMenuHotKeys = true;
    return true;
}

void ocrStartKey(const VizoInputState &state, VizoHotKeyArming &out)
{
    const bool near = state.cameraMode == NearView;
    if (state.ocrFieldMode == 1)
        addIf(out, near, "CameraMode.ToFullScreenOCRPreviewMode");
    else
        addIf(out, near, "CameraMode.ToOCRMode");
}

void ocrReadingKeys(const VizoInputState &state, VizoHotKeyArming &out)
{
    add(out, {state.ocrPlayed ? "OCRMode.Pause" : "OCRMode.Play"});
    add(out, {"OCRMode.GoToNextParagraph", "OCRMode.GoToPrevParagraph", "OCRMode.GoToNextLine",
              "OCRMode.GoToPrevLine"});
}

void cameraPreviewKeys(VizoHotKeyArming &out)
{
    add(out, {"CameraPreviewMode.ToOCRMode", "NearViewMode.FocusLock", "CameraMode.MoveUp",
              "CameraMode.MoveDown", "CameraMode.MoveToLeft", "CameraMode.MoveToRight",
              "CameraMode.MoveToNextLine", "CameraMode.ZoomIn", "CameraMode.ZoomOut",
              "CameraMode.NextColor", "CameraMode.PrevColor", "CameraMode.EasyColorChange",
              "ContrastUp", "ContrastDown"});
}

} // namespace

namespace VizoHotKeyRules {

void summitVersion(const VizoInputState &state, VizoHotKeyArming &out)
{
    if (menuKeysOnly(state, out))
        return;
    const bool near = state.cameraMode == NearView;
    const bool distance = state.cameraMode == DistanceView;
    switch (state.vizoMode) {
    case 0:
        add(out, {"OpenMenu"});
        addIf(out, distance, "NearViewMode");
        addIf(out, near, "NearViewMode.MoveToBookmark");
        add(out, {"NearViewMode.FocusLock"});
        addIf(out, near, "DistanceViewMode");
        addIf(out, distance, "DistanceViewMode.MoveToBookmark");
        add(out,
            {"CameraMode.MoveUp", "CameraMode.MoveDown", "CameraMode.MoveToLeft",
             "CameraMode.MoveToRight", "CameraMode.MoveToNextLine", "CameraMode.ZoomIn",
             "CameraMode.ZoomOut", "CameraMode.FindPosition", "CameraMode.NextColor",
             "CameraMode.PrevColor", "CameraMode.EasyColorChange", "ContrastUp", "ContrastDown"});
        addIf(out, near, "CameraMode.ToAutoScrollMode");
        ocrStartKey(state, out);
        break;
    case 1:
        add(out, {"OpenMenu", "OCRMode.ToCameraMode", "OCRMode.ToCameraPreviewMode", "OCRMode.Save",
                  "OCRMode.NextColor", "OCRMode.PrevColor", "OCRMode.ZoomIn", "OCRMode.ZoomOut"});
        ocrReadingKeys(state, out);
        add(out, {"ContrastUp", "ContrastDown"});
        break;
    case 3:
        add(out, {"CameraMode.MoveUp", "CameraMode.MoveDown", "CameraMode.MoveToLeft",
                  "CameraMode.MoveToRight", "FullScreenOCRPreviewMode.ToCameraMode",
                  "FullScreenOCRPreviewMode.ToOCRMode"});
        break;
    case 4:
        add(out, {"AutoScrollMode.ToCameraMode",
                  state.autoScrollPlayed ? "AutoScrollMode.Pause" : "AutoScrollMode.Play",
                  "AutoScrollMode.MoveToNextLine"});
        break;
    case 5:
        cameraPreviewKeys(out);
        break;
    default:
        break;
    }
}

void ridgeVersion(const VizoInputState &state, VizoHotKeyArming &out)
{
    if (menuKeysOnly(state, out))
        return;
    const bool near = state.cameraMode == NearView;
    switch (state.vizoMode) {
    case 0:
        add(out, {"OpenMenu"});
        addIf(out, near, "NearViewMode.FocusLock");
        add(out, {"CameraMode.ZoomIn", "CameraMode.ZoomOut", "CameraMode.FindPosition",
                  "CameraMode.NextColor", "CameraMode.PrevColor", "CameraMode.EasyColorChange",
                  "ContrastUp", "ContrastDown"});
        ocrStartKey(state, out);
        break;
    case 1:
        add(out, {"OpenMenu", "OCRMode.ToCameraMode", "OCRMode.ToCameraPreviewMode",
                  "OCRMode.NextColor", "OCRMode.PrevColor", "OCRMode.ZoomIn", "OCRMode.ZoomOut"});
        ocrReadingKeys(state, out);
        break;
    case 3:
        add(out, {"OpenMenu", "FullScreenOCRPreviewMode.ToCameraMode",
                  "FullScreenOCRPreviewMode.ToOCRMode"});
        break;
    case 5:
        cameraPreviewKeys(out);
        break;
    default:
        break;
    }
}

void valleyVersion(const VizoInputState &state, VizoHotKeyArming &out)
{
    if (state.vizoMode != 0)
        return;
    add(out, {"CameraMode.OpenColorModeSetting"});
    addIf(out, state.cameraMode == NearView, "NearViewMode.FocusLock");
    add(out, {"CameraMode.ZoomIn", "CameraMode.ZoomOut", "CameraMode.FindPosition",
              "CameraMode.NextColor", "CameraMode.PrevColor", "CameraMode.EasyColorChange",
              "ContrastUp", "ContrastDown"});
}

VizoHotKeyArming arming(const VizoInputState &state)
{
    VizoHotKeyArming out;
    if (state.disableAllFunctions || !state.applicationActive)
        return out;
    add(out, {"TTS.SpeedUp", "TTS.SpeedDown"});
    if (state.disableHotKeys) {
        out.stoppedByDisableHotKeys = true;
        return out;
    }
    switch (state.vizoHotKeyMode) {
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
        add(out,
            {"ImageMode.NextColor", "ImageMode.PrevColor", "ImageMode.ZoomIn", "ImageMode.ZoomOut",
             "ImageMode.MoveUp", "ImageMode.MoveDown", "ImageMode.MoveToLeft",
             "ImageMode.MoveToRight", "ContrastUp", "ContrastDown", "CameraMode.ToOCRMode"});
        out.refreshModalWindows = true;
        break;
    case 2:
        if (state.captureTop == VizoCaptureTop::MenuOpen) {
            add(out, {"CloseMenu", "CloseMenu2"});
        } else if (state.captureTop == VizoCaptureTop::MenuClosed) {
            add(out, {"OpenMenu", "OCRMode.NextColor", "OCRMode.PrevColor", "OCRMode.ZoomIn",
                      "OCRMode.ZoomOut"});
            ocrReadingKeys(state, out);
            add(out, {"ContrastUp", "ContrastDown", "OCRMode.ToCameraPreviewMode"});
        }
        out.refreshModalWindows = true;
        break;
    case 3:
        cameraPreviewKeys(out);
        out.refreshModalWindows = true;
        break;
    default:
        break;
    }
    return out;
}

} // namespace VizoHotKeyRules
