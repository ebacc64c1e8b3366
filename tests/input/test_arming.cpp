// The armed hot key and gesture sets, checked against the arming tables
// written out here as data, for every combination of edition, modes, menu,
// capture window, view and lock flags.
#include "input/VizoHotKeyRules.h"
#include "input/VizoInputNames.h"
#include "input/VizoMouseGestureRules.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QSet>

namespace {

// A table entry is a name with an optional condition after '?':
// near, distance, played, !played, scrolling, !scrolling, field1&near,
// field0&near, notimer (camera), notimerOcr, notimerImage.
using Table = QStringList;

bool holds(const QString &cond, const VizoInputState &s)
{
    if (cond.isEmpty())
        return true;
    if (cond == "near")
        return s.cameraMode == 1;
    if (cond == "distance")
        return s.cameraMode == 0;
    if (cond == "played")
        return s.ocrPlayed;
    if (cond == "!played")
        return !s.ocrPlayed;
    if (cond == "scrolling")
        return s.autoScrollPlayed;
    if (cond == "!scrolling")
        return !s.autoScrollPlayed;
    if (cond == "field1&near")
        return s.ocrFieldMode == 1 && s.cameraMode == 1;
    if (cond == "field0&near")
        return s.ocrFieldMode != 1 && s.cameraMode == 1;
    if (cond == "notimer")
        return !s.cameraZoomRunning;
    if (cond == "notimerOcr")
        return !s.ocrZoomRunning;
    if (cond == "notimerImage")
        return !s.imageZoomRunning;
    ADD_FAILURE() << "unknown condition " << cond.toStdString();
    return false;
}

QSet<QString> resolve(const Table &table, const VizoInputState &s)
{
    QSet<QString> out;
    for (const QString &entry : table) {
        const int q = entry.indexOf('?');
        const QString name = q < 0 ? entry : entry.left(q);
        if (holds(q < 0 ? QString() : entry.mid(q + 1), s))
            out.insert(name);
    }
    return out;
}

const Table kCameraPreviewKeys = {"CameraPreviewMode.ToOCRMode",
                                  "NearViewMode.FocusLock",
                                  "CameraMode.MoveUp",
                                  "CameraMode.MoveDown",
                                  "CameraMode.MoveToLeft",
                                  "CameraMode.MoveToRight",
                                  "CameraMode.MoveToNextLine",
                                  "CameraMode.ZoomIn",
                                  "CameraMode.ZoomOut",
                                  "CameraMode.NextColor",
                                  "CameraMode.PrevColor",
                                  "CameraMode.EasyColorChange",
                                  "ContrastUp",
                                  "ContrastDown"};

// Camera keys (vizoHotKeyMode 0) by edition and vizoMode, menu closed.
const QMap<int, QMap<int, Table>> kEditionKeys = {
    {0,
     {
         {0,
          {"OpenMenu",
           "NearViewMode?distance",
           "NearViewMode.MoveToBookmark?near",
           "NearViewMode.FocusLock",
           "DistanceViewMode?near",
           "DistanceViewMode.MoveToBookmark?distance",
           "CameraMode.MoveUp",
           "CameraMode.MoveDown",
           "CameraMode.MoveToLeft",
           "CameraMode.MoveToRight",
           "CameraMode.MoveToNextLine",
           "CameraMode.ZoomIn",
           "CameraMode.ZoomOut",
           "CameraMode.FindPosition",
           "CameraMode.NextColor",
           "CameraMode.PrevColor",
           "CameraMode.EasyColorChange",
           "ContrastUp",
           "ContrastDown",
           "CameraMode.ToAutoScrollMode?near",
           "CameraMode.ToFullScreenOCRPreviewMode?field1&near",
           "CameraMode.ToOCRMode?field0&near"}},
         {1,
          {"OpenMenu", "OCRMode.ToCameraMode", "OCRMode.ToCameraPreviewMode", "OCRMode.Save",
           "OCRMode.NextColor", "OCRMode.PrevColor", "OCRMode.ZoomIn", "OCRMode.ZoomOut",
           "OCRMode.Pause?played", "OCRMode.Play?!played", "OCRMode.GoToNextParagraph",
           "OCRMode.GoToPrevParagraph", "OCRMode.GoToNextLine", "OCRMode.GoToPrevLine",
           "ContrastUp", "ContrastDown"}},
         {3,
          {"CameraMode.MoveUp", "CameraMode.MoveDown", "CameraMode.MoveToLeft",
           "CameraMode.MoveToRight", "FullScreenOCRPreviewMode.ToCameraMode",
           "FullScreenOCRPreviewMode.ToOCRMode"}},
         {4,
          {"AutoScrollMode.ToCameraMode", "AutoScrollMode.Pause?scrolling",
           "AutoScrollMode.Play?!scrolling", "AutoScrollMode.MoveToNextLine"}},
         {5, kCameraPreviewKeys},
     }},
    {2,
     {
         {0,
          {"OpenMenu", "NearViewMode.FocusLock?near", "CameraMode.ZoomIn", "CameraMode.ZoomOut",
           "CameraMode.FindPosition", "CameraMode.NextColor", "CameraMode.PrevColor",
           "CameraMode.EasyColorChange", "ContrastUp", "ContrastDown",
           "CameraMode.ToFullScreenOCRPreviewMode?field1&near",
           "CameraMode.ToOCRMode?field0&near"}},
         {1,
          {"OpenMenu", "OCRMode.ToCameraMode", "OCRMode.ToCameraPreviewMode", "OCRMode.NextColor",
           "OCRMode.PrevColor", "OCRMode.ZoomIn", "OCRMode.ZoomOut", "OCRMode.Pause?played",
           "OCRMode.Play?!played", "OCRMode.GoToNextParagraph", "OCRMode.GoToPrevParagraph",
           "OCRMode.GoToNextLine", "OCRMode.GoToPrevLine"}},
         {3,
          {"OpenMenu", "FullScreenOCRPreviewMode.ToCameraMode",
           "FullScreenOCRPreviewMode.ToOCRMode"}},
         {5, kCameraPreviewKeys},
     }},
    {1,
     {
         {0,
          {"CameraMode.OpenColorModeSetting", "NearViewMode.FocusLock?near", "CameraMode.ZoomIn",
           "CameraMode.ZoomOut", "CameraMode.FindPosition", "CameraMode.NextColor",
           "CameraMode.PrevColor", "CameraMode.EasyColorChange", "ContrastUp", "ContrastDown"}},
     }},
};

const Table kImageKeys = {"ImageMode.NextColor",  "ImageMode.PrevColor",   "ImageMode.ZoomIn",
                          "ImageMode.ZoomOut",    "ImageMode.MoveUp",      "ImageMode.MoveDown",
                          "ImageMode.MoveToLeft", "ImageMode.MoveToRight", "ContrastUp",
                          "ContrastDown",         "CameraMode.ToOCRMode"};

const Table kCaptureWindowKeys = {"OpenMenu",
                                  "OCRMode.NextColor",
                                  "OCRMode.PrevColor",
                                  "OCRMode.ZoomIn",
                                  "OCRMode.ZoomOut",
                                  "OCRMode.Pause?played",
                                  "OCRMode.Play?!played",
                                  "OCRMode.GoToNextParagraph",
                                  "OCRMode.GoToPrevParagraph",
                                  "OCRMode.GoToNextLine",
                                  "OCRMode.GoToPrevLine",
                                  "ContrastUp",
                                  "ContrastDown",
                                  "OCRMode.ToCameraPreviewMode"};

struct ExpectedKeys
{
    QSet<QString> armed;
    bool refresh = false;
    bool menuKeys = false;
};

ExpectedKeys expectedKeys(const VizoInputState &s)
{
    ExpectedKeys e;
    if (s.disableAllFunctions || !s.applicationActive)
        return e;
    e.armed = {"TTS.SpeedUp", "TTS.SpeedDown"};
    if (s.disableHotKeys)
        return e;
    Table table;
    switch (s.vizoHotKeyMode) {
    case 0:
        if ((s.vizoVersion == 0 || s.vizoVersion == 2) && s.menuOpened) {
            table = {"CloseMenu", "CloseMenu2"};
            e.menuKeys = true;
        } else {
            table = kEditionKeys.value(s.vizoVersion).value(s.vizoMode);
        }
        break;
    case 1:
        table = kImageKeys;
        e.refresh = true;
        break;
    case 2:
        if (s.captureTop == VizoCaptureTop::MenuOpen)
            table = {"CloseMenu", "CloseMenu2"};
        else if (s.captureTop == VizoCaptureTop::MenuClosed)
            table = kCaptureWindowKeys;
        e.refresh = true;
        break;
    case 3:
        table = kCameraPreviewKeys;
        e.refresh = true;
        break;
    }
    e.armed |= resolve(table, s);
    return e;
}

// Gestures of the main window (vizoMouseGestureMode 0), menu closed.
const QMap<int, QMap<int, Table>> kEditionGestures = {
    {0,
     {
         {0,
          {"MouseGestureOpenMenu", "MouseGestureCameraMove?notimer",
           "MouseGestureCameraModeNextColor?notimer", "MouseGestureCameraModeZoomStart"}},
         {1,
          {"MouseGestureOpenMenu", "MouseGestureOCRModeNextColor?notimerOcr",
           "MouseGestureOCRModeZoomStart"}},
         {3, {"MouseGestureOpenMenu", "MouseGestureCameraMove"}},
         {5, {"MouseGestureCameraMove?notimer", "MouseGestureCameraModeZoomStart"}},
     }},
    {2,
     {
         {0,
          {"MouseGestureOpenMenu", "MouseGestureCameraModeNextColor?notimer",
           "MouseGestureCameraModeZoomStart"}},
         {1,
          {"MouseGestureOpenMenu", "MouseGestureOCRModeNextColor?notimerOcr",
           "MouseGestureOCRModeZoomStart"}},
         {3, {"MouseGestureOpenMenu"}},
     }},
    {1,
     {
         {0,
          {"MouseGestureCameraModeOpenColorModeSetting", "MouseGestureCameraModeNextColor?notimer",
           "MouseGestureCameraModeZoomStart"}},
         {1, {"MouseGestureOCRModeNextColor?notimerOcr", "MouseGestureOCRModeZoomStart"}},
     }},
};

const QMap<int, Table> kPageGestures = {
    {1, {"MouseGestureHorzLineMarker"}},
    {2, {"MouseGestureVertLineMarker"}},
    {3, {"MouseGestureHorzWindowMarker"}},
    {4, {"MouseGestureVertWindowMarker"}},
    {5, {"MouseGestureCameraMove"}},
    {6, {"MouseGestureCameraMove"}},
    {7,
     {"MouseGestureImageMove?notimerImage", "MouseGestureImageModeNextColor?notimerImage",
      "MouseGestureImageModeZoomStart"}},
    {9, {"MouseGestureCameraMove?notimer", "MouseGestureCameraModeZoomStart"}},
};

QSet<QString> expectedGestures(const VizoInputState &s)
{
    if (s.disableAllFunctions || s.disableMouseGestures)
        return {};
    Table table;
    if (s.vizoMouseGestureMode == 0) {
        if ((s.vizoVersion == 0 || s.vizoVersion == 2) && s.menuOpened)
            table = {"MouseGestureCloseMenu"};
        else
            table = kEditionGestures.value(s.vizoVersion).value(s.vizoMode);
    } else if (s.vizoMouseGestureMode == 8) {
        if (s.captureTop == VizoCaptureTop::MenuOpen)
            table = {"MouseGestureCloseMenu"};
        else if (s.captureTop == VizoCaptureTop::MenuClosed)
            table = {"MouseGestureOpenMenu", "MouseGestureOCRModeNextColor?notimerOcr",
                     "MouseGestureOCRModeZoomStart"};
    } else {
        table = kPageGestures.value(s.vizoMouseGestureMode);
    }
    return resolve(table, s);
}

QSet<QString> asSet(const QStringList &list)
{
    return QSet<QString>(list.begin(), list.end());
}

QString describe(const VizoInputState &s)
{
    return QStringLiteral("edition %1 mode %2 keys %3 gestures %4 view %5 field %6 played %7/%8 "
                          "menu %9 capture %10 active %11 all %12 hk %13 mg %14 timers %15%16%17")
        .arg(s.vizoVersion)
        .arg(s.vizoMode)
        .arg(s.vizoHotKeyMode)
        .arg(s.vizoMouseGestureMode)
        .arg(s.cameraMode)
        .arg(s.ocrFieldMode)
        .arg(s.ocrPlayed)
        .arg(s.autoScrollPlayed)
        .arg(s.menuOpened)
        .arg(int(s.captureTop))
        .arg(s.applicationActive)
        .arg(s.disableAllFunctions)
        .arg(s.disableHotKeys)
        .arg(s.disableMouseGestures)
        .arg(s.cameraZoomRunning)
        .arg(s.imageZoomRunning)
        .arg(s.ocrZoomRunning);
}

// Lock bits: 1 inactive, 2 disableAllFunctions, 4 disableHotKeys, 8 disableMouseGestures.
template <typename Fn> void forEachState(std::initializer_list<int> lockMasks, Fn fn)
{
    const VizoCaptureTop tops[] = {VizoCaptureTop::None, VizoCaptureTop::MenuClosed,
                                   VizoCaptureTop::MenuOpen};
    for (int edition : {0, 1, 2, 255, 7})
        for (int mode = 0; mode <= 6; ++mode)
            for (int view = 0; view <= 1; ++view)
                for (int field = 0; field <= 1; ++field)
                    for (int played = 0; played < 4; ++played)
                        for (int menu = 0; menu <= 1; ++menu)
                            for (VizoCaptureTop top : tops)
                                for (int locks : lockMasks) {
                                    VizoInputState s;
                                    s.vizoVersion = edition;
                                    s.vizoMode = mode;
                                    s.cameraMode = view;
                                    s.ocrFieldMode = field;
                                    s.ocrPlayed = played & 1;
                                    s.autoScrollPlayed = played & 2;
                                    s.menuOpened = menu;
                                    s.captureTop = top;
                                    s.applicationActive = !(locks & 1);
                                    s.disableAllFunctions = locks & 2;
                                    s.disableHotKeys = locks & 4;
                                    s.disableMouseGestures = locks & 8;
                                    fn(s);
                                }
}

} // namespace

TEST(HotKeyArming, MatchesTheTablesInEveryState)
{
    int checked = 0;
    forEachState({0, 1, 2, 3, 4, 5, 6, 7, 8}, [&](VizoInputState s) {
        for (int keyMode = 0; keyMode <= 4; ++keyMode) {
            s.vizoHotKeyMode = keyMode;
            const VizoHotKeyArming got = VizoHotKeyRules::arming(s);
            const ExpectedKeys want = expectedKeys(s);
            ASSERT_EQ(asSet(got.armed), want.armed) << describe(s).toStdString();
            ASSERT_EQ(got.armed.size(), asSet(got.armed).size()) << "armed twice";
            ASSERT_EQ(got.refreshModalWindows, want.refresh) << describe(s).toStdString();
            ASSERT_EQ(got.enableMenuHotKeys, want.menuKeys) << describe(s).toStdString();
            for (const QString &name : got.armed)
                ASSERT_TRUE(VizoInputNames::hotKeyActions().contains(name)) << name.toStdString();
            ++checked;
        }
    });
    EXPECT_GT(checked, 50000);
}

TEST(HotKeyArming, NamedCases)
{
    VizoInputState s;
    s.vizoVersion = 0;
    s.cameraMode = 1;
    QStringList armed = VizoHotKeyRules::arming(s).armed;
    for (const char *name : {"DistanceViewMode", "NearViewMode.MoveToBookmark",
                             "CameraMode.ToAutoScrollMode", "CameraMode.ToOCRMode"})
        EXPECT_TRUE(armed.contains(name)) << name;
    EXPECT_FALSE(armed.contains("NearViewMode"));
    EXPECT_FALSE(armed.contains("DistanceViewMode.MoveToBookmark"));

    s.cameraMode = 0;
    armed = VizoHotKeyRules::arming(s).armed;
    EXPECT_TRUE(armed.contains("NearViewMode"));
    EXPECT_TRUE(armed.contains("DistanceViewMode.MoveToBookmark"));
    for (const char *name : {"CameraMode.ToAutoScrollMode", "CameraMode.ToOCRMode",
                             "CameraMode.ToFullScreenOCRPreviewMode", "DistanceViewMode"})
        EXPECT_FALSE(armed.contains(name)) << name;

    s.disableHotKeys = true;
    const VizoHotKeyArming locked = VizoHotKeyRules::arming(s);
    EXPECT_EQ(locked.armed, (QStringList{"TTS.SpeedUp", "TTS.SpeedDown"}));
    EXPECT_TRUE(locked.stoppedByDisableHotKeys);

    s = VizoInputState();
    EXPECT_EQ(VizoHotKeyRules::arming(s).armed, (QStringList{"TTS.SpeedUp", "TTS.SpeedDown"}))
        << "an unknown edition arms only the speech keys";
    s.applicationActive = false;
    EXPECT_TRUE(VizoHotKeyRules::arming(s).armed.isEmpty());
}

TEST(GestureArming, MatchesTheTablesInEveryState)
{
    int checked = 0;
    forEachState({0, 2, 8, 10, 5}, [&](VizoInputState s) {
        for (int gestureMode = 0; gestureMode <= 10; ++gestureMode) {
            for (int timers = 0; timers < 8; ++timers) {
                s.vizoMouseGestureMode = gestureMode;
                s.cameraZoomRunning = timers & 1;
                s.imageZoomRunning = timers & 2;
                s.ocrZoomRunning = timers & 4;
                const QStringList got = VizoMouseGestureRules::armed(s);
                ASSERT_EQ(asSet(got), expectedGestures(s)) << describe(s).toStdString();
                ASSERT_EQ(got.size(), asSet(got).size());
                for (const QString &name : got)
                    ASSERT_TRUE(VizoInputNames::mouseGestures().contains(name));
                ++checked;
            }
        }
    });
    EXPECT_GT(checked, 50000);
}

TEST(GestureArming, ActivationDoesNotMatterButTheGestureLockDoes)
{
    VizoInputState s;
    s.vizoVersion = 0;
    s.applicationActive = false;
    EXPECT_FALSE(VizoMouseGestureRules::armed(s).isEmpty());
    s.disableMouseGestures = true;
    EXPECT_TRUE(VizoMouseGestureRules::armed(s).isEmpty());
    s.disableMouseGestures = false;
    s.disableHotKeys = true;
    EXPECT_FALSE(VizoMouseGestureRules::armed(s).isEmpty())
        << "the hot key lock leaves gestures alone";
}
