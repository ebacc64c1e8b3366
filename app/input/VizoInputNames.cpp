#include "input/VizoInputNames.h"

namespace VizoInputNames {

const QStringList &hotKeyActions()
{
    static const QStringList names = {
        QStringLiteral("OpenMenu"),
        QStringLiteral("CloseMenu"),
        QStringLiteral("CloseMenu2"),
        QStringLiteral("NearViewMode"),
        QStringLiteral("NearViewMode.MoveToBookmark"),
        QStringLiteral("NearViewMode.FocusLock"),
        QStringLiteral("DistanceViewMode"),
        QStringLiteral("DistanceViewMode.MoveToBookmark"),
        QStringLiteral("CameraMode.OpenColorModeSetting"),
        QStringLiteral("CameraMode.MoveUp"),
        QStringLiteral("CameraMode.MoveDown"),
        QStringLiteral("CameraMode.MoveToLeft"),
        QStringLiteral("CameraMode.MoveToRight"),
        QStringLiteral("CameraMode.MoveToNextLine"),
        QStringLiteral("CameraMode.ZoomIn"),
        QStringLiteral("CameraMode.ZoomOut"),
        QStringLiteral("CameraMode.FindPosition"),
        QStringLiteral("CameraMode.NextColor"),
        QStringLiteral("CameraMode.PrevColor"),
        QStringLiteral("CameraMode.EasyColorChange"),
        QStringLiteral("ContrastUp"),
        QStringLiteral("ContrastDown"),
        QStringLiteral("CameraMode.ToOCRMode"),
        QStringLiteral("CameraMode.ToFullScreenOCRPreviewMode"),
        QStringLiteral("CameraMode.ToAutoScrollMode"),
        QStringLiteral("ImageMode.Save"),
        QStringLiteral("ImageMode.NextColor"),
        QStringLiteral("ImageMode.PrevColor"),
        QStringLiteral("ImageMode.ZoomIn"),
        QStringLiteral("ImageMode.ZoomOut"),
        QStringLiteral("ImageMode.MoveUp"),
        QStringLiteral("ImageMode.MoveDown"),
        QStringLiteral("ImageMode.MoveToLeft"),
        QStringLiteral("ImageMode.MoveToRight"),
        QStringLiteral("OCRMode.ToCameraMode"),
        QStringLiteral("FullScreenOCRPreviewMode.ToCameraMode"),
        QStringLiteral("FullScreenOCRPreviewMode.ToOCRMode"),
        QStringLiteral("OCRMode.ToCameraPreviewMode"),
        QStringLiteral("OCRMode.Save"),
        QStringLiteral("OCRMode.NextColor"),
        QStringLiteral("OCRMode.PrevColor"),
        QStringLiteral("OCRMode.ZoomIn"),
        QStringLiteral("OCRMode.ZoomOut"),
        QStringLiteral("OCRMode.Play"),
        QStringLiteral("OCRMode.Pause"),
        QStringLiteral("OCRMode.GoToNextParagraph"),
        QStringLiteral("OCRMode.GoToPrevParagraph"),
        QStringLiteral("OCRMode.GoToNextLine"),
        QStringLiteral("OCRMode.GoToPrevLine"),
        QStringLiteral("AutoScrollMode.ToCameraMode"),
        QStringLiteral("AutoScrollMode.Play"),
        QStringLiteral("AutoScrollMode.Pause"),
        QStringLiteral("AutoScrollMode.MoveToNextLine"),
        QStringLiteral("CameraPreviewMode.ToOCRMode"),
        QStringLiteral("TTS.SpeedUp"),
        QStringLiteral("TTS.SpeedDown"),
    };
    return names;
}

const QStringList &mouseGestures()
{
    static const QStringList names = {
        QStringLiteral("MouseGestureOpenMenu"),
        QStringLiteral("MouseGestureCloseMenu"),
        QStringLiteral("MouseGestureCameraModeOpenColorModeSetting"),
        QStringLiteral("MouseGestureCameraMove"),
        QStringLiteral("MouseGestureImageMove"),
        QStringLiteral("MouseGestureHorzLineMarker"),
        QStringLiteral("MouseGestureVertLineMarker"),
        QStringLiteral("MouseGestureHorzWindowMarker"),
        QStringLiteral("MouseGestureVertWindowMarker"),
        QStringLiteral("MouseGestureCameraModeNextColor"),
        QStringLiteral("MouseGestureImageModeNextColor"),
        QStringLiteral("MouseGestureOCRModeNextColor"),
        QStringLiteral("MouseGestureCameraModeZoomStart"),
        QStringLiteral("MouseGestureImageModeZoomStart"),
        QStringLiteral("MouseGestureOCRModeZoomStart"),
    };
    return names;
}

} // namespace VizoInputNames
