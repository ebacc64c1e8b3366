// The virtual device's behaviour, in-process: the reports each command
// brings, the transfers, and the option file that follows its settings.
#include "protocol/VizoCommands.h"
#include "protocol/VizoReports.h"
#include "settings/VizoConfigParser.h"
#include "sim/VizoSimDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace VizoCmd;

namespace {

QList<QByteArray> payloads(const std::vector<VizoSimFrame> &frames)
{
    QList<QByteArray> out;
    for (const auto &f : frames)
        out << f.payload;
    return out;
}

template <typename Record> QList<QByteArray> send(VizoSimDevice &device, const Record &record)
{
    return payloads(device.handle(record.payload()));
}

QList<QByteArray> hex(std::initializer_list<const char *> list)
{
    QList<QByteArray> out;
    for (const char *h : list)
        out << QByteArray::fromHex(h);
    return out;
}

QByteArray transferData(const std::vector<VizoSimFrame> &frames, int dataOffset)
{
    QByteArray data;
    for (std::size_t i = 1; i < frames.size(); ++i)
        data += frames[i].payload.mid(dataOffset);
    return data;
}

VizoOptionFileData parsedOptionFile(VizoSimDevice &device)
{
    const auto frames = device.handle(RequestOptionFile().payload());
    VizoOptionFileData pairs;
    VizoConfigParser::parseData(transferData(frames, VizoReport::optionFileDataOffset) + '\0',
                                [&](const VizoOptionFileData &d) { pairs = d; });
    return pairs;
}

} // namespace

TEST(SimDevice, HelloAndStateReportsFollowEachCommand)
{
    VizoSimState initial;
    initial.edition = 2;
    initial.region = 3;
    initial.cameraMode = VizoSimState::Near;
    VizoSimDevice device(initial);
    EXPECT_EQ(payloads(device.hello()), hex({"260802", "261203"}));

    EXPECT_EQ(send(device, CameraZoom(ZoomIn)), hex({"260002"}));
    EXPECT_EQ(send(device, CameraZoom(ZoomIn)), hex({"260003"}));
    EXPECT_EQ(send(device, CameraZoom(ZoomOut)), hex({"260002"}));
    EXPECT_EQ(send(device, CameraZoom(ZoomStop)), hex({"260002"}));
    EXPECT_EQ(send(device, SelectView(DistanceView)), hex({"260203", "260200"}));
    EXPECT_EQ(device.state().cameraMode, VizoSimState::Distance);
    EXPECT_EQ(send(device, SetContrast(contrastTarget(0, 3), 39)), hex({"260927"}));
    EXPECT_EQ(device.state().contrast[VizoSimState::Distance], 39);
    EXPECT_EQ(send(device, SetFocusLock(1)), hex({"260601"}));
    EXPECT_EQ(send(device, SetVoiceGuide(0)), hex({"260b00"}));
    EXPECT_EQ(send(device, SetTtsVolume(9)), hex({"260d09"}));
    EXPECT_EQ(send(device, RequestBatteryInfo()),
              QList<QByteArray>{QByteArray::fromHex("2504") + "80% charged"});

    EXPECT_EQ(send(device, OcrStart()), hex({"260402", "260400"}));
    EXPECT_EQ(device.state().mode, VizoSimMode::OcrText);
    EXPECT_EQ(send(device, OcrExit()), hex({"260401", "260002"}));
    EXPECT_EQ(send(device, SetOcrFieldMode(1)), QList<QByteArray>{});
    EXPECT_EQ(send(device, OcrStart()), hex({"260402", "260403"}));
    EXPECT_EQ(device.state().mode, VizoSimMode::OcrPreview);
    EXPECT_EQ(send(device, OcrStart()), hex({"260402", "260400"})); // from the whole page to the text
    send(device, OcrExit());

    EXPECT_EQ(send(device, AutoScrollEnter()), hex({"260300"}));
    EXPECT_EQ(send(device, AutoScrollPause()), hex({"260301"}));
    EXPECT_EQ(send(device, AutoScrollPlay()), hex({"260300"}));
    EXPECT_EQ(send(device, AutoScrollExit()), hex({"260301"}));
    EXPECT_EQ(device.state().mode, VizoSimMode::Camera);

    EXPECT_EQ(send(device, *ImageOpen::fromPath(QStringLiteral("Image/IMG_0001.jpg"))),
              hex({"260701"}));
    EXPECT_EQ(device.state().openFile, QStringLiteral("Image/IMG_0001.jpg"));
    EXPECT_EQ(send(device, ImageZoom(ZoomIn)), hex({"260001"}));
    EXPECT_EQ(send(device, ImageClose()), hex({"260700", "260002"}));

    // Unknown and malformed payloads are ignored.
    EXPECT_TRUE(payloads(device.handle(QByteArray::fromHex("7777"))).isEmpty());
    EXPECT_TRUE(payloads(device.handle(QByteArray::fromHex("2000"))).isEmpty());
    EXPECT_FALSE(device.finished());
    send(device, HostClosing());
    EXPECT_TRUE(device.finished());
}

TEST(SimDevice, ColourStepsSkipDisabledSlotsAndEasyColourReturns)
{
    VizoSimDevice device;
    const auto view = std::size_t(device.state().view());
    ASSERT_EQ(device.state().colorSlots[view][7].textColor, 0); // slot 7 starts disabled
    ASSERT_EQ(device.state().selectedSlot[view], 1);
    for (int slot = 2; slot <= 6; ++slot)
        EXPECT_EQ(send(device, CameraColor(ColorNext)),
                  QList<QByteArray>{QByteArray::fromHex("2601") + char(slot)});
    EXPECT_EQ(send(device, CameraColor(ColorNext)), hex({"260100"}));
    EXPECT_EQ(send(device, CameraColor(ColorPrevious)), hex({"260106"}));
    EXPECT_EQ(send(device, EasyColorChange(0)), hex({"260100"}));
    EXPECT_EQ(send(device, EasyColorChange(1)), hex({"260106"}));
    // Disabling the slot in use falls back to the natural picture.
    EXPECT_EQ(send(device, SetColorSlot(colorSlotCode(1, 6), 0, 0)), hex({"260100"}));
    EXPECT_EQ(send(device, ImageColor(ColorPrevious)), hex({"260105"}));
}

TEST(SimDevice, OptionFileCarriesEveryKeyAndFollowsSettingCommands)
{
    VizoSimDevice device;
    int changes = 0;
    device.eventStateChanged = [&](const VizoSimState &) { ++changes; };
    send(device, SetTtsVolume(9));
    send(device, SetColorSlot(colorSlotCode(1, 2), 4, 3));
    send(device, SetColorSlot(colorSlotCode(0, 7), 9, 2));
    send(device, SetMarkerType(2, 3));
    send(device, *SetWifiPassword::fromText(QStringLiteral("secret")));
    send(device, SetOcrLanguages(0x10003));
    send(device, SetAutoScrollSpeed(7));
    EXPECT_EQ(changes, 7);

    VizoOptionFileData pairs = parsedOptionFile(device);
    const char *keys[] = {"CameraMode",
                          "Distance_CurrentSelectColor",
                          "Near_CurrentSelectColor",
                          "Distance_Contrast",
                          "Near_Contrast",
                          "Distance_MarkerMode",
                          "Near_MarkerMode",
                          "FocusLock",
                          "VoiceGuide",
                          "AutoScrollDirection",
                          "AutoScrollSpeed",
                          "AutoScrollA4",
                          "Language",
                          "JoyStickSpeed",
                          "WiFiPassword",
                          "WiFiResolution",
                          "OCRFieldMode",
                          "OCRViewMode",
                          "OCRDeskew",
                          "OCRPerspective",
                          "TTSType",
                          "TTSSpeed",
                          "TTSVolume",
                          "TTSPitch",
                          "OCRLanguage",
                          "Info_SW",
                          "Info_SN",
                          "Info_Battery",
                          "Info_AP"};
    for (const char *key : keys)
        EXPECT_TRUE(pairs.contains(QLatin1String(key))) << key;
    for (int i = 1; i <= 7; ++i) {
        EXPECT_TRUE(pairs.contains(QStringLiteral("Distance_SelectColor%1").arg(i)));
        EXPECT_TRUE(pairs.contains(QStringLiteral("Near_SelectColor%1").arg(i)));
    }
    EXPECT_EQ(pairs.size(), 43);
    EXPECT_EQ(pairs.value(QStringLiteral("TTSVolume")), QStringLiteral("9"));
    EXPECT_EQ(pairs.value(QStringLiteral("Near_SelectColor2")), QStringLiteral("0403"));
    EXPECT_EQ(pairs.value(QStringLiteral("Distance_SelectColor7")), QStringLiteral("0902"));
    EXPECT_EQ(pairs.value(QStringLiteral("Near_MarkerMode")), QStringLiteral("3"));
    EXPECT_EQ(pairs.value(QStringLiteral("WiFiPassword")), QStringLiteral("secret"));
    EXPECT_EQ(pairs.value(QStringLiteral("OCRLanguage")), QStringLiteral("65539"));
    EXPECT_EQ(pairs.value(QStringLiteral("AutoScrollSpeed")), QStringLiteral("7"));

    send(device, ResetSettings(2));
    pairs = parsedOptionFile(device);
    EXPECT_EQ(pairs.value(QStringLiteral("TTSVolume")), QStringLiteral("7"));
    EXPECT_EQ(pairs.value(QStringLiteral("Near_SelectColor2")), QStringLiteral("0203"));
    EXPECT_EQ(pairs.value(QStringLiteral("WiFiPassword")), QStringLiteral("47185296"));
}

TEST(SimDevice, SettingPagesShowOnTheDeviceAndCancelPutsThingsBack)
{
    VizoSimDevice device;
    const auto near = std::size_t(VizoSimState::Near);
    auto position = [&](int view) {
        return device.state().camera[std::size_t(view)].at(VizoSimMotion::Clock::now());
    };
    auto moveFor = [&](std::uint8_t direction) {
        const QPointF from = position(device.state().shownView());
        send(device, CameraMove(direction));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        send(device, CameraMove(MoveStop));
        return position(device.state().shownView()) - from;
    };

    // Marker: steps move the line; cancel restores it, confirm keeps it.
    send(device, SetMarkerType(2, 0));
    send(device, MarkerAdjust(MarkerBegin));
    EXPECT_EQ(device.state().adjusting, VizoSimAdjusting::Marker);
    send(device, MarkerAdjust(MarkerStepForward));
    send(device, MarkerAdjust(MarkerStepForward));
    EXPECT_EQ(device.state().markerPosition[near], 2);
    send(device, MarkerAdjust(MarkerCancel));
    EXPECT_EQ(device.state().markerPosition[near], 0);
    send(device, MarkerAdjust(MarkerBegin));
    send(device, MarkerAdjust(MarkerStepBack));
    send(device, MarkerAdjust(MarkerConfirm));
    EXPECT_EQ(device.state().markerPosition[near], -1);
    EXPECT_EQ(device.state().adjusting, VizoSimAdjusting::None);

    // The camera moves while a direction is held and stands still after the stop.
    const QPointF right = moveFor(MoveRight);
    EXPECT_GT(right.x(), 0);
    EXPECT_EQ(right.y(), 0);
    const QPointF stopped = position(VizoSimState::Near);
    EXPECT_EQ(position(VizoSimState::Near), stopped);
    EXPECT_LT(moveFor(MoveUp).y(), 0);

    // Aiming the distance camera moves that camera; cancel puts it back.
    const QPointF nearBefore = position(VizoSimState::Near);
    send(device, DistanceViewDirection(1));
    EXPECT_EQ(device.state().shownView(), VizoSimState::Distance);
    const QPointF aimed = position(VizoSimState::Distance);
    EXPECT_LT(moveFor(MoveLeft).x(), 0);
    EXPECT_EQ(position(VizoSimState::Near), nearBefore);
    send(device, DistanceViewDirection(0));
    EXPECT_EQ(position(VizoSimState::Distance), aimed);
    EXPECT_EQ(device.state().shownView(), VizoSimState::Near);

    // A confirmed custom scroll range replaces the A4 page; a cancelled one
    // leaves the range and the camera as they were.
    send(device, AutoScrollStartPosition());
    const QPointF before = position(VizoSimState::Near);
    moveFor(MoveDown);
    send(device, AutoScrollRangeCancel());
    EXPECT_EQ(position(VizoSimState::Near), before);
    EXPECT_EQ(parsedOptionFile(device).value(QStringLiteral("AutoScrollA4")), QStringLiteral("1"));
    send(device, AutoScrollStartPosition());
    send(device, AutoScrollEndPosition());
    moveFor(MoveDown);
    send(device, AutoScrollRangeConfirm());
    EXPECT_TRUE(device.state().customScrollRange);
    EXPECT_GT(device.state().scrollRangeEnd.y(), device.state().scrollRangeStart.y());
    EXPECT_EQ(parsedOptionFile(device).value(QStringLiteral("AutoScrollA4")), QStringLiteral("0"));

    // What the device was last asked to say.
    send(device, SpeakText(QStringLiteral("Kontrast größer")));
    EXPECT_EQ(device.state().lastSpoken, QStringLiteral("Kontrast größer"));
}

TEST(SimDevice, TransfersOpenWithAnEmptyFrameAndAlwaysComplete)
{
    const QByteArray data(2500, 'd');
    const auto frames = VizoSimDevice::transfer(QByteArray::fromHex("3104"), data, 1000);
    ASSERT_EQ(frames.size(), 4u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].count, 4);
        EXPECT_EQ(frames[i].index, i + 1);
        EXPECT_TRUE(frames[i].payload.startsWith(QByteArray::fromHex("3104")));
    }
    EXPECT_EQ(frames[0].payload.size(), 2);
    EXPECT_EQ(transferData(frames, 2), data);

    VizoSimState empty;
    empty.fillCard(0, 0);
    VizoSimDevice device(empty);
    const auto list = device.handle(RequestFileList(OcrFiles).payload());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].index, list[1].count);
    EXPECT_EQ(list[1].payload, QByteArray::fromHex("310102"));
}

TEST(SimDevice, DeletionsRemoveFilesAndConfirmEachFrame)
{
    VizoSimState initial;
    initial.fillCard(5, 2);
    VizoSimDevice device(initial);
    const QStringList selected{QStringLiteral("Image/IMG_0002.jpg"),
                               QStringLiteral("Image/IMG_0004.jpg"),
                               QStringLiteral("Image/IMG_0005.jpg")};
    const auto frames = deleteFilesPayloads(selected, 35); // 36 bytes per path: one path per frame
    ASSERT_TRUE(frames.ok());
    ASSERT_EQ(frames->size(), 3);
    for (const QByteArray &payload : *frames)
        EXPECT_EQ(payloads(device.handle(payload)), hex({"510000"}));
    EXPECT_EQ(device.state().images,
              (QStringList{QStringLiteral("IMG_0001.jpg"), QStringLiteral("IMG_0003.jpg")}));

    const auto list = device.handle(RequestFileList(ImageFiles).payload());
    EXPECT_EQ(transferData(list, VizoReport::fileListDataOffset),
              QByteArray("IMG_0001.jpg\nIMG_0003.jpg\n"));

    const auto ocr = deleteFilesPayloads({QStringLiteral("OCR/OCR_0001.txt")});
    EXPECT_EQ(payloads(device.handle(ocr->first())), hex({"510001"}));
    EXPECT_EQ(device.state().ocrTexts, QStringList{QStringLiteral("OCR_0002.txt")});
}
