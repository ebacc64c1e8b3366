// What each hot key sends and changes, with the exact payloads.
#include "InputTestModel.h"

#include "input/VizoHotKeyActions.h"
#include "input/VizoInputNames.h"

#include <gtest/gtest.h>

namespace {

class HotKeyActions : public ::testing::Test
{
protected:
    InputTestModel model;
    InputTestRecorder rec;
    VizoInputContext context{model, rec.hooks()};
    QList<VizoHotKeyAction> actions = VizoHotKeyActions::build(context);

    const VizoHotKeyAction &action(const char *name)
    {
        for (const VizoHotKeyAction &a : actions)
            if (a.name == QLatin1String(name))
                return a;
        ADD_FAILURE() << "no action " << name;
        return actions.front();
    }
    void down(const char *name, bool repeat = false) { action(name).keyDown(repeat); }
    void up(const char *name)
    {
        if (action(name).keyUp)
            action(name).keyUp();
    }
    void tap(const char *name)
    {
        down(name);
        up(name);
    }
};

} // namespace

TEST_F(HotKeyActions, EveryActionInCreationOrder)
{
    ASSERT_EQ(actions.size(), VizoInputNames::hotKeyActions().size());
    for (int i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i].name, VizoInputNames::hotKeyActions()[i]);
        EXPECT_TRUE(bool(actions[i].keyDown));
    }
}

TEST_F(HotKeyActions, MoveStopsOnlyForTheKeyThatStillOwnsTheDirection)
{
    down("CameraMode.MoveUp");
    down("CameraMode.MoveToLeft");
    up("CameraMode.MoveUp");
    EXPECT_EQ(rec.sent(), (QStringList{"20 03 00", "20 03 02"})) << "no stop for the overtaken key";
    up("CameraMode.MoveToLeft");
    EXPECT_EQ(rec.sent().last(), "20 03 0a");
    EXPECT_EQ(context.moveDirection, 10);

    // Camera and image keys share one direction.
    rec.log.clear();
    down("CameraMode.MoveDown");
    down("ImageMode.MoveDown");
    up("CameraMode.MoveDown");
    up("ImageMode.MoveDown");
    EXPECT_EQ(rec.sent(), (QStringList{"20 03 01", "21 06 01", "20 03 0a"}));
}

TEST_F(HotKeyActions, ZoomAndFindPositionStopAtTheRelease)
{
    down("CameraMode.ZoomIn");
    down("CameraMode.ZoomIn", true);
    up("CameraMode.ZoomIn");
    tap("CameraMode.ZoomOut");
    tap("ImageMode.ZoomIn");
    tap("OCRMode.ZoomOut");
    tap("CameraMode.FindPosition");
    EXPECT_EQ(rec.sent(), (QStringList{"20 00 00", "20 00 02", "20 00 01", "20 00 02", "21 05 00",
                                       "21 05 02", "23 0c 01", "23 0c 02", "20 09", "20 0a"}));
}

TEST_F(HotKeyActions, ContrastStepsOnRepeatsAndStopsAtTheLimits)
{
    model.camera = 0;
    model.contrastOf[0] = 38;
    down("ContrastUp");
    down("ContrastUp", true);
    down("ContrastUp", true);
    EXPECT_EQ(rec.sent(), (QStringList{"06 04 27 00"})) << "slot 1 is white on black: target 4";
    EXPECT_EQ(model.contrastOf[0], 39);
    EXPECT_EQ(model.sendContrastCount, 1);

    rec.log.clear();
    model.camera = 1;
    model.contrastOf[1] = 2;
    model.selected[1] = 3; // grey scale
    down("ContrastDown");
    down("ContrastDown", true);
    down("ContrastDown", true);
    down("ContrastDown", true);
    EXPECT_EQ(rec.sent(), (QStringList{"06 05 01 00", "06 05 00 00"}));
    EXPECT_EQ(model.contrastOf[1], 0);
    EXPECT_EQ(model.sendContrastCount, 3);

    rec.log.clear();
    model.selected[1] = 0; // natural
    model.contrastOf[1] = 19;
    down("ContrastUp");
    model.selected[1] = 4; // yellow on black
    down("ContrastUp", true);
    EXPECT_EQ(rec.sent(), (QStringList{"06 05 14 00", "06 06 15 00"}));
}

TEST_F(HotKeyActions, ContrastInImageAndOcrModesIsAStepCommand)
{
    model.hotKeyMode = 1;
    model.mode = 1;
    down("ContrastUp");
    model.hotKeyMode = 2;
    down("ContrastDown");
    model.mode = 0;
    model.camera = 3; // neither view: nothing
    down("ContrastUp");
    EXPECT_EQ(rec.sent(), (QStringList{"21 07 00", "23 10 01"}));
    EXPECT_EQ(model.sendContrastCount, 0);
}

TEST_F(HotKeyActions, EasyColorChangeGoesToNaturalAndBack)
{
    model.camera = 0;
    model.selected[0] = 3;
    tap("CameraMode.EasyColorChange");
    EXPECT_EQ(model.selected[0], 0);
    EXPECT_EQ(model.oldSelected[0], 3);
    tap("CameraMode.EasyColorChange");
    EXPECT_EQ(model.selected[0], 3);
    EXPECT_EQ(rec.sent(), (QStringList{"20 0b 00", "20 0b 01"}));
    EXPECT_EQ(model.selected[1], 1) << "the other view is left alone";
}

TEST_F(HotKeyActions, SpeechRateLimitsEditionAndOcrMode)
{
    model.speed = 12;
    tap("TTS.SpeedUp");
    tap("TTS.SpeedUp");
    EXPECT_EQ(model.speed, 13);
    model.speed = 1;
    tap("TTS.SpeedDown");
    tap("TTS.SpeedDown");
    EXPECT_EQ(model.speed, 0);
    EXPECT_EQ(rec.sent(), (QStringList{"0a 03 0d", "0a 03 00"}));

    rec.log.clear();
    model.speed = 5;
    model.version = 1;
    tap("TTS.SpeedUp");
    model.version = 0;
    model.mode = 1;
    tap("TTS.SpeedDown");
    down("TTS.SpeedUp", true);
    EXPECT_TRUE(rec.sent().isEmpty());
    EXPECT_EQ(model.speed, 5);
}

TEST_F(HotKeyActions, ModeChangesLockInputInOrder)
{
    tap("DistanceViewMode");
    EXPECT_EQ(rec.log, (QStringList{"send 20 01 00", "lock-keys", "update-keys", "lock-gestures",
                                    "update-gestures"}));
    rec.log.clear();
    model.focus = true;
    tap("NearViewMode");
    EXPECT_FALSE(model.focus);
    for (const char *name : {"CameraMode.ToAutoScrollMode", "OCRMode.ToCameraMode",
                             "FullScreenOCRPreviewMode.ToCameraMode",
                             "FullScreenOCRPreviewMode.ToOCRMode", "OCRMode.ToCameraPreviewMode",
                             "CameraPreviewMode.ToOCRMode", "AutoScrollMode.ToCameraMode"}) {
        rec.log.clear();
        tap(name);
        EXPECT_EQ(rec.log.size(), 5) << name;
        EXPECT_EQ(rec.log.mid(1),
                  (QStringList{"lock-keys", "update-keys", "lock-gestures", "update-gestures"}))
            << name;
    }
    rec.log.clear();
    tap("CameraMode.ToOCRMode");
    EXPECT_EQ(rec.log, (QStringList{"send 23 00"})) << "entering OCR does not lock";
}

TEST_F(HotKeyActions, PlayAndPauseSwapBeforeTheDeviceAnswers)
{
    tap("OCRMode.Play");
    EXPECT_TRUE(model.ocr);
    EXPECT_EQ(rec.log, (QStringList{"send 23 02", "update-keys", "update-gestures"}));
    rec.log.clear();
    tap("OCRMode.Pause");
    tap("AutoScrollMode.Play");
    EXPECT_FALSE(model.ocr);
    EXPECT_TRUE(model.scroll);
    tap("AutoScrollMode.Pause");
    EXPECT_FALSE(model.scroll);
    EXPECT_EQ(rec.sent(), (QStringList{"23 03", "08 05 02", "08 05 03"}));
}

TEST_F(HotKeyActions, RepeatsOfOrdinaryKeysDoNothing)
{
    down("CameraMode.NextColor");
    down("CameraMode.NextColor", true);
    down("CameraMode.PrevColor", true);
    down("OCRMode.GoToNextLine", true);
    EXPECT_EQ(rec.sent(), (QStringList{"20 04 00"}));
    EXPECT_EQ(model.nextColorCalls, 1);
    EXPECT_EQ(model.prevColorCalls, 0);
}

TEST_F(HotKeyActions, FocusLockAndColorSlotPage)
{
    tap("NearViewMode.FocusLock");
    tap("NearViewMode.FocusLock");
    EXPECT_EQ(rec.log,
              (QStringList{"send 08 00 01", "reload-menu", "send 08 00 00", "reload-menu"}));

    rec.log.clear();
    model.camera = 0;
    model.selected[0] = 0;
    tap("CameraMode.OpenColorModeSetting");
    EXPECT_TRUE(rec.log.isEmpty()) << "slot 0 has no page";
    model.selected[0] = 5;
    tap("CameraMode.OpenColorModeSetting");
    model.camera = 1;
    tap("CameraMode.OpenColorModeSetting");
    EXPECT_EQ(rec.log, (QStringList{"page 0 5", "page 1 1"}));
}

TEST_F(HotKeyActions, OneCommandKeys)
{
    const QList<QPair<const char *, const char *>> rows = {
        {"NearViewMode.MoveToBookmark", "20 01 02"},
        {"DistanceViewMode.MoveToBookmark", "20 01 02"},
        {"CameraMode.MoveToNextLine", "20 0c"},
        {"ImageMode.Save", "21 00"},
        {"ImageMode.NextColor", "21 04 00"},
        {"ImageMode.PrevColor", "21 04 01"},
        {"OCRMode.Save", "23 08"},
        {"OCRMode.NextColor", "23 0d 00"},
        {"OCRMode.PrevColor", "23 0d 01"},
        {"OCRMode.GoToNextParagraph", "23 07"},
        {"OCRMode.GoToPrevParagraph", "23 06"},
        {"OCRMode.GoToNextLine", "23 05"},
        {"OCRMode.GoToPrevLine", "23 04"},
        {"CameraMode.ToFullScreenOCRPreviewMode", "23 00"},
    };
    for (const auto &row : rows) {
        rec.log.clear();
        tap(row.first);
        EXPECT_EQ(rec.log, QStringList{QStringLiteral("send ") + row.second}) << row.first;
    }
    rec.log.clear();
    tap("AutoScrollMode.MoveToNextLine");
    EXPECT_EQ(rec.log, (QStringList{"send 08 05 0b", "update-keys", "update-gestures"}));
    rec.log.clear();
    tap("OpenMenu");
    tap("CloseMenu");
    tap("CloseMenu2");
    EXPECT_EQ(rec.log, (QStringList{"open-menu", "close-menu", "close-menu"}));
}
