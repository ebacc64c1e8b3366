// The settings model: defaults, resets, colour stepping, slot labels and
// display colours, file lists, observation.
#include "settings/VizoSettings.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

constexpr int kSlotTable[8][2] = {{1, 1}, {3, 2}, {2, 3}, {10, 10}, {9, 2}, {9, 6}, {5, 2}, {0, 0}};

void expectDefaultSlots(const VizoColorMode *mode)
{
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(mode->slot(i)->textColor(), kSlotTable[i][0]) << "slot " << i;
        EXPECT_EQ(mode->slot(i)->bgColor(), kSlotTable[i][1]) << "slot " << i;
    }
}

void scribble(VizoSettings &s)
{
    for (VizoColorMode *mode :
         {s.options()->colorModeForDistance(), s.options()->colorModeForNear()})
        for (int i = 0; i < 8; ++i) {
            mode->slot(i)->setTextColor(4);
            mode->slot(i)->setBgColor(6);
        }
    auto *o = s.options();
    o->setContrastForDistance(30);
    o->setContrastForNear(2);
    o->setMarkerModeForDistance(1);
    o->setMarkerModeForNear(3);
    o->setFocusLock(true);
    o->setAutoscrollDirection(1);
    o->setAutoscrollSpeed(9);
    o->setAutoscrollRange(0);
    o->setVoiceGuide(false);
    o->setJoystickSensitivity(3);
    o->setPasswords(QStringLiteral("secret"));
    o->setWifiResolution(5);
    o->setInfo_sw(QStringLiteral("2.1"));
    o->setInfo_battery(QStringLiteral("40%"));
    auto *c = s.ocr();
    c->setFieldMode(1);
    c->setViewMode(3);
    c->setVolumeOfTTS(15);
    c->setSpeedOfTTS(13);
    c->setPitchOfTTS(0);
    c->setTypeOfTTS(1);
    c->setDeskew(1);
    c->setPerspective(1);
    c->setLanguage(0x30);
    s.setVizoVersion(VizoSettings::Summit);
    s.setCameraMode(0);
}

} // namespace

TEST(SettingsModel, FreshModelHoldsTheDefaults)
{
    VizoSettings s;
    EXPECT_EQ(s.vizoVersion(), 255);
    EXPECT_EQ(s.vizoMode(), 0);
    EXPECT_EQ(s.vizoHotKeyMode(), 0);
    EXPECT_EQ(s.vizoMouseGestureMode(), 0);
    EXPECT_EQ(s.cameraMode(), 1);
    EXPECT_EQ(s.selectedColorSlotForDistanceViewMode(), 1);
    EXPECT_EQ(s.oldSelectedColorSlotForDistanceViewMode(), 1);
    EXPECT_EQ(s.selectedColorSlotForNearViewMode(), 1);
    EXPECT_EQ(s.oldSelectedColorSlotForNearViewMode(), 1);
    EXPECT_FALSE(s.ocrPlayed());
    EXPECT_FALSE(s.autoScrollPlayed());
    EXPECT_EQ(s.zoomLevel(), 0);
    EXPECT_EQ(s.iSendContrastCnt(), 0);
    EXPECT_TRUE(s.imageFileItemArray().isEmpty());
    EXPECT_TRUE(s.ocrFileItemArray().isEmpty());

    const VizoOptions *o = s.options();
    EXPECT_EQ(o->contrastForDistance(), 19);
    EXPECT_EQ(o->contrastForNear(), 19);
    EXPECT_EQ(o->markerModeForDistance(), 4);
    EXPECT_EQ(o->markerModeForNear(), 4);
    EXPECT_FALSE(o->focusLock());
    EXPECT_EQ(o->autoscrollRange(), 1);
    EXPECT_EQ(o->autoscrollDirection(), 0);
    EXPECT_EQ(o->autoscrollSpeed(), 3);
    EXPECT_TRUE(o->voiceGuide());
    EXPECT_EQ(o->joystickSensitivity(), 0);
    EXPECT_EQ(o->passwords(), QStringLiteral("47185296"));
    EXPECT_EQ(o->wifiResolution(), 1);
    EXPECT_EQ(o->info_sw(), QStringLiteral("0.0"));
    EXPECT_EQ(o->info_sn().size(), 8);
    EXPECT_EQ(o->info_battery(), QStringLiteral("100%"));
    EXPECT_EQ(o->info_ap(), QStringLiteral("Vizo_0000"));
    expectDefaultSlots(o->colorModeForDistance());
    expectDefaultSlots(o->colorModeForNear());

    const VizoOCR *c = s.ocr();
    EXPECT_EQ(c->fieldMode(), 0);
    EXPECT_EQ(c->viewMode(), 0);
    EXPECT_EQ(c->volumeOfTTS(), 7);
    EXPECT_EQ(c->speedOfTTS(), 2);
    EXPECT_EQ(c->pitchOfTTS(), 5);
    EXPECT_EQ(c->typeOfTTS(), 0);
    EXPECT_EQ(c->deskew(), 0);
    EXPECT_EQ(c->perspective(), 0);
    EXPECT_EQ(c->language(), 2u);

    // The start-up region is "Beta" with interface language code 1 current,
    // and its texts are loaded.
    ASSERT_NE(s.vizoRegion(), nullptr);
    ASSERT_NE(s.vizoRegion()->getCurrentLanguage(), nullptr);
    EXPECT_EQ(s.vizoRegion()->getCurrentLanguage()->code(), 1);
    EXPECT_FALSE(s.text(QStringLiteral("Messages"), QStringLiteral("Alert.OK")).isEmpty());
}

TEST(SettingsModel, ResetsTouchOnlyTheirOwnGroup)
{
    VizoSettings s;
    scribble(s);
    s.resetOCR();
    // The OCR reset leaves the OCR language mask and every Option field alone.
    EXPECT_EQ(s.ocr()->language(), 0x30u);
    EXPECT_EQ(s.ocr()->volumeOfTTS(), 7);
    EXPECT_EQ(s.ocr()->speedOfTTS(), 2);
    EXPECT_EQ(s.ocr()->pitchOfTTS(), 5);
    EXPECT_EQ(s.ocr()->typeOfTTS(), 0);
    EXPECT_EQ(s.ocr()->fieldMode(), 0);
    EXPECT_EQ(s.ocr()->viewMode(), 0);
    EXPECT_EQ(s.ocr()->deskew(), 0);
    EXPECT_EQ(s.ocr()->perspective(), 0);
    EXPECT_EQ(s.options()->colorModeForNear()->slot(3)->textColor(), 4);
    EXPECT_EQ(s.options()->contrastForNear(), 2);

    scribble(s);
    s.resetOption();
    // The Option reset leaves the speech settings alone, sets the mask to 2.
    EXPECT_EQ(s.ocr()->volumeOfTTS(), 15);
    EXPECT_EQ(s.ocr()->speedOfTTS(), 13);
    EXPECT_EQ(s.ocr()->language(), 2u);
    expectDefaultSlots(s.options()->colorModeForDistance());
    expectDefaultSlots(s.options()->colorModeForNear());
    EXPECT_EQ(s.options()->contrastForDistance(), 19);
    EXPECT_EQ(s.options()->markerModeForNear(), 4);
    EXPECT_FALSE(s.options()->focusLock());
    EXPECT_TRUE(s.options()->voiceGuide());
    EXPECT_EQ(s.options()->passwords(), QStringLiteral("47185296"));
    EXPECT_EQ(s.options()->wifiResolution(), 1);

    // No reset touches the information texts, the edition or the view.
    scribble(s);
    s.reset();
    EXPECT_EQ(s.options()->info_sw(), QStringLiteral("2.1"));
    EXPECT_EQ(s.options()->info_battery(), QStringLiteral("40%"));
    EXPECT_EQ(s.vizoVersion(), 0);
    EXPECT_EQ(s.cameraMode(), 0);
    EXPECT_EQ(s.ocr()->volumeOfTTS(), 7);
    EXPECT_EQ(s.options()->autoscrollSpeed(), 3);
}

TEST(SettingsModel, ColourSteppingSkipsDisabledSlotsAndWraps)
{
    VizoSettings s;
    s.setCameraMode(1);
    s.setSelectedColorSlotForNearViewMode(6);
    EXPECT_EQ(s.calcNextColor(), 0); // slot 7 is disabled
    EXPECT_EQ(s.selectedColorSlotForNearViewMode(), 0);
    EXPECT_EQ(s.oldSelectedColorSlotForNearViewMode(), 6);
    EXPECT_EQ(s.calcPrevColor(), 6);
    EXPECT_EQ(s.oldSelectedColorSlotForNearViewMode(), 0);
    // The distance view was not touched.
    EXPECT_EQ(s.selectedColorSlotForDistanceViewMode(), 1);

    s.setCameraMode(0);
    s.options()->colorModeForDistance()->slot(2)->setTextColor(0);
    EXPECT_EQ(s.calcNextColor(), 3);
    EXPECT_EQ(s.oldSelectedColorSlotForDistanceViewMode(), 1);
    EXPECT_EQ(s.calcPrevColorForDistanceViewMode(), 1);

    // Only slot 0 enabled: every step lands there, from anywhere.
    for (int i = 1; i < 8; ++i)
        s.options()->colorModeForNear()->slot(i)->setTextColor(0);
    s.setSelectedColorSlotForNearViewMode(4);
    EXPECT_EQ(s.calcNextColorForNearViewMode(), 0);
    EXPECT_EQ(s.calcNextColorForNearViewMode(), 0);
    EXPECT_EQ(s.calcPrevColorForNearViewMode(), 0);
    // Even a model with every slot disabled returns instead of spinning.
    s.options()->colorModeForNear()->slot(0)->setTextColor(0);
    const int landed = s.calcNextColorForNearViewMode();
    EXPECT_GE(landed, 0);
    EXPECT_LT(landed, 8);
}

TEST(SettingsModel, SlotLabelsAndDisplayColours)
{
    VizoSettings s;
    VizoColorSlot *slot = s.options()->colorModeForNear()->slot(6);
    slot->setTextColor(4);
    slot->setBgColor(2);
    const QString red = s.text("OptionUI", "ColorMode.RedColor");
    const QString black = s.text("OptionUI", "ColorMode.BlackColor");
    ASSERT_FALSE(red.isEmpty());
    const QString format = s.text("OptionUI", "ColorMode.ColorListItem.ColorLabelFormatString");
    EXPECT_EQ(slot->toString(), format.arg(red, black));
    slot->setTextColor(10);
    slot->setBgColor(4);
    EXPECT_EQ(slot->toString(), s.text("OptionUI", "ColorMode.GrayScaleColor"));
    slot->setTextColor(1);
    EXPECT_EQ(slot->toString(), s.text("OptionUI", "ColorMode.NaturalColor"));

    EXPECT_EQ(VizoColorSlot::colorFromVizoColor(1, true), QColor(Qt::black));
    EXPECT_EQ(VizoColorSlot::colorFromVizoColor(1, false), QColor(Qt::white));
    EXPECT_EQ(VizoColorSlot::colorFromVizoColor(9, false), QColor(Qt::yellow));
    EXPECT_EQ(VizoColorSlot::colorFromVizoColor(10, false), QColor(Qt::white));
    EXPECT_FALSE(VizoColorSlot::colorFromVizoColor(11, true).has_value());
    EXPECT_FALSE(VizoColorSlot::colorFromVizoColor(-1, false).has_value());
    EXPECT_FALSE(VizoColorSlot::colorNameFromVizoColor(11, s.languageStrings()).has_value());
    for (int code = 0; code <= 10; ++code)
        EXPECT_TRUE(VizoColorSlot::colorNameFromVizoColor(code, s.languageStrings()).has_value())
            << code;
}

TEST(SettingsModel, FileListsDropShortNamesAndFollowDeleteMode)
{
    VizoSettings s;
    bool imageDeleteMode = false;
    s.setDeleteModeQuery(
        [&](VizoFileKind kind) { return kind == VizoFileKind::Image && imageDeleteMode; });
    QSignalSpy imageSpy(&s, &VizoSettings::imageFileItemArrayChanged);

    s.applyImageFileList({QString(), QStringLiteral("a"), QStringLiteral("IMG_0001.JPG")});
    ASSERT_EQ(s.imageFileItemArray().size(), 1);
    EXPECT_EQ(s.imageFileItemArray()[0].filePath, QStringLiteral("Image/IMG_0001.JPG"));
    EXPECT_EQ(s.imageFileItemArray()[0].fileName, QStringLiteral("IMG_0001.JPG"));
    EXPECT_TRUE(s.imageFileItemArray()[0].checkBoxHidden);
    EXPECT_FALSE(s.imageFileItemArray()[0].checked);
    EXPECT_EQ(imageSpy.count(), 1);

    // A new list while the image browser deletes: visible, unchecked boxes,
    // old items gone; the OCR list is not affected by the image browser.
    s.imageFileItemArray()[0].checked = true;
    imageDeleteMode = true;
    s.applyImageFileList({QStringLiteral("b c.jpg"), QStringLiteral("été.jpg")});
    ASSERT_EQ(s.imageFileItemArray().size(), 2);
    for (const FileListItem &item : s.imageFileItemArray()) {
        EXPECT_FALSE(item.checkBoxHidden);
        EXPECT_FALSE(item.checked);
    }
    EXPECT_EQ(s.imageFileItemArray()[1].filePath, QStringLiteral("Image/été.jpg"));
    s.applyOCRFileList({QStringLiteral("page1.txt")});
    ASSERT_EQ(s.ocrFileItemArray().size(), 1);
    EXPECT_EQ(s.ocrFileItemArray()[0].filePath, QStringLiteral("OCR/page1.txt"));
    EXPECT_TRUE(s.ocrFileItemArray()[0].checkBoxHidden);
    EXPECT_EQ(s.imageFileItemArray().size(), 2);
}

TEST(SettingsModel, ObserversHearChangesOnce)
{
    VizoSettings s;
    QSignalSpy spy(&s, &VizoSettings::changed);
    s.options()->setContrastForNear(19); // unchanged value: silent
    EXPECT_EQ(spy.count(), 0);
    s.options()->setContrastForNear(20);
    s.ocr()->setDeskew(1);
    s.options()->colorModeForDistance()->slot(3)->setBgColor(6);
    s.setZoomLevel(4);
    EXPECT_EQ(spy.count(), 4);
}
