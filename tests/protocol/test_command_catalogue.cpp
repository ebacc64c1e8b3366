// Every command the viewer sends: the record's bytes, and the catalogue's
// table-driven encoding of the same parameters, against the expected bytes.
#include "protocol/VizoCatalogue.h"
#include "protocol/VizoCommands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace VizoCmd;

namespace {

struct Row
{
    const char *name;
    QByteArray record;
    QList<std::uint32_t> values;
    QString text;
    const char *hex;
};

QByteArray pathPayload(const VizoResult<ImageOpen> &r) { return r ? r->payload() : QByteArray(); }
QByteArray pathPayload(const VizoResult<OcrOpenFile> &r) { return r ? r->payload() : QByteArray(); }

std::vector<Row> rows()
{
    return {
        {"SetColorSlot", SetColorSlot(7, 2, 3).payload(), {7, 2, 3}, {}, "05 07 02 03"},
        {"SetContrast", SetContrast(6, 0x1234).payload(), {6, 0x1234}, {}, "06 06 34 12"},
        {"MarkersOff", MarkersOff().payload(), {}, {}, "07 00"},
        {"SetMarkerType", SetMarkerType(2, 3).payload(), {2, 3}, {}, "07 02 03"},
        {"MarkerAdjust", MarkerAdjust(MarkerConfirm).payload(), {10}, {}, "07 03 0a"},
        {"SetFocusLock", SetFocusLock(1).payload(), {1}, {}, "08 00 01"},
        {"SetVoiceGuide", SetVoiceGuide(1).payload(), {1}, {}, "08 01 01"},
        {"ResetSettings", ResetSettings(2).payload(), {2}, {}, "08 03 02"},
        {"SetJoystickSensitivity", SetJoystickSensitivity(3).payload(), {3}, {}, "08 04 03"},
        {"AutoScrollExit", AutoScrollExit().payload(), {}, {}, "08 05 00"},
        {"AutoScrollEnter", AutoScrollEnter().payload(), {}, {}, "08 05 01"},
        {"AutoScrollPlay", AutoScrollPlay().payload(), {}, {}, "08 05 02"},
        {"AutoScrollPause", AutoScrollPause().payload(), {}, {}, "08 05 03"},
        {"SetAutoScrollSpeed", SetAutoScrollSpeed(9).payload(), {9}, {}, "08 05 04 09"},
        {"SetAutoScrollRange", SetAutoScrollRange(1).payload(), {1}, {}, "08 05 05 01"},
        {"AutoScrollStartPosition", AutoScrollStartPosition().payload(), {}, {}, "08 05 06"},
        {"AutoScrollEndPosition", AutoScrollEndPosition().payload(), {}, {}, "08 05 07"},
        {"AutoScrollRangeConfirm", AutoScrollRangeConfirm().payload(), {}, {}, "08 05 08"},
        {"AutoScrollRangeCancel", AutoScrollRangeCancel().payload(), {}, {}, "08 05 09"},
        {"SetAutoScrollDirection", SetAutoScrollDirection(1).payload(), {1}, {}, "08 05 0a 01"},
        {"AutoScrollNextLine", AutoScrollNextLine().payload(), {}, {}, "08 05 0b"},
        {"SetLanguage", SetLanguage(0x11).payload(), {0x11}, {}, "08 06 11"},
        {"DistanceViewDirection", DistanceViewDirection(2).payload(), {2}, {}, "08 08 02"},
        {"SetWifiPassword", SetWifiPassword::fromText(QStringLiteral("abc"))->payload(), {},
         QStringLiteral("abc"), "09 00 61 62 63"},
        {"SetOcrFieldMode", SetOcrFieldMode(1).payload(), {1}, {}, "0a 00 01"},
        {"SetOcrViewMode", SetOcrViewMode(3).payload(), {3}, {}, "0a 01 03"},
        {"SetTtsType", SetTtsType(1).payload(), {1}, {}, "0a 02 01"},
        {"SetTtsSpeed", SetTtsSpeed(5).payload(), {5}, {}, "0a 03 05"},
        {"SetOcrLanguages", SetOcrLanguages(0x80402001u).payload(), {0x80402001u}, {},
         "0a 04 01 20 40 80"},
        {"SetOcrDeskew", SetOcrDeskew(1).payload(), {1}, {}, "0a 05 01"},
        {"SetOcrPerspective", SetOcrPerspective(0).payload(), {0}, {}, "0a 06 00"},
        {"SetTtsVolume", SetTtsVolume(7).payload(), {7}, {}, "0a 07 07"},
        {"SetTtsPitch", SetTtsPitch(4).payload(), {4}, {}, "0a 08 04"},
        {"CameraZoom", CameraZoom(ZoomStop).payload(), {2}, {}, "20 00 02"},
        {"SelectView", SelectView(NearView).payload(), {1}, {}, "20 01 01"},
        {"CameraMove", CameraMove(MoveStop).payload(), {10}, {}, "20 03 0a"},
        {"CameraMoveSpeed", CameraMoveSpeed(4).payload(), {4}, {}, "20 03 0b 04"},
        {"CameraColor", CameraColor(ColorPrevious).payload(), {1}, {}, "20 04 01"},
        {"FindPositionStart", FindPositionStart().payload(), {}, {}, "20 09"},
        {"FindPositionEnd", FindPositionEnd().payload(), {}, {}, "20 0a"},
        {"EasyColorChange", EasyColorChange(1).payload(), {1}, {}, "20 0b 01"},
        {"NextLine", NextLine().payload(), {}, {}, "20 0c"},
        {"ImageSave", ImageSave().payload(), {}, {}, "21 00"},
        {"ImageOpen", pathPayload(ImageOpen::fromPath(QStringLiteral("Image/é.jpg"))), {},
         QStringLiteral("Image/é.jpg"),
         "21 01 49 00 6d 00 61 00 67 00 65 00 2f 00 e9 00 2e 00 6a 00 70 00 67 00"},
        {"ImageClose", ImageClose().payload(), {}, {}, "21 02"},
        {"DeleteFiles", DeleteFiles(2, {QStringLiteral("a"), QStringLiteral("b")}).payload(), {2},
         QStringLiteral("a::b"), "21 03 02 00 61 00 3a 00 3a 00 62 00"},
        {"ImageColor", ImageColor(0).payload(), {0}, {}, "21 04 00"},
        {"ImageZoom", ImageZoom(ZoomOut).payload(), {1}, {}, "21 05 01"},
        {"ImageMove", ImageMove(MoveDownRight).payload(), {7}, {}, "21 06 07"},
        {"ImageContrast", ImageContrast(ContrastDown).payload(), {1}, {}, "21 07 01"},
        {"OcrStart", OcrStart().payload(), {}, {}, "23 00"},
        {"OcrPlay", OcrPlay().payload(), {}, {}, "23 02"},
        {"OcrPause", OcrPause().payload(), {}, {}, "23 03"},
        {"OcrPrevLine", OcrPrevLine().payload(), {}, {}, "23 04"},
        {"OcrNextLine", OcrNextLine().payload(), {}, {}, "23 05"},
        {"OcrPrevParagraph", OcrPrevParagraph().payload(), {}, {}, "23 06"},
        {"OcrNextParagraph", OcrNextParagraph().payload(), {}, {}, "23 07"},
        {"OcrSave", OcrSave().payload(), {}, {}, "23 08"},
        {"OcrExit", OcrExit().payload(), {}, {}, "23 0b"},
        {"OcrZoom", OcrZoom(ZoomIn).payload(), {0}, {}, "23 0c 00"},
        {"OcrColor", OcrColor(1).payload(), {1}, {}, "23 0d 01"},
        {"OcrOpenFile", pathPayload(OcrOpenFile::fromPath(QStringLiteral("OCR/t"))), {},
         QStringLiteral("OCR/t"), "23 0e 4f 00 43 00 52 00 2f 00 74 00"},
        {"OcrContrast", OcrContrast(ContrastUp).payload(), {0}, {}, "23 10 00"},
        {"OcrCameraPreview", OcrCameraPreview().payload(), {}, {}, "23 11"},
        {"MenuOpened", MenuOpened().payload(), {}, {}, "24 00"},
        {"MenuClosed", MenuClosed().payload(), {}, {}, "24 01"},
        {"RequestBatteryInfo", RequestBatteryInfo().payload(), {}, {}, "25 04"},
        {"SpeakText", SpeakText(QStringLiteral("Hi")).payload(), {}, QStringLiteral("Hi"),
         "25 06 48 00 69 00"},
        {"RequestFileList", RequestFileList(OcrFiles).payload(), {2}, {}, "30 01 02"},
        {"RequestOptionFile", RequestOptionFile().payload(), {}, {}, "30 04"},
        {"HostClosing", HostClosing().payload(), {}, {}, "40 00"},
        {"HostConnectedUsb2", HostConnectedUsb2().payload(), {}, {}, "40 01"},
        {"HostConnectedUsb3", HostConnectedUsb3().payload(), {}, {}, "40 02"},
    };
}

} // namespace

TEST(CommandCatalogue, EveryRecordAndTableEncodingGivesTheCatalogueBytes)
{
    for (const Row &row : rows()) {
        SCOPED_TRACE(row.name);
        const QByteArray expected = QByteArray::fromHex(row.hex);
        EXPECT_EQ(row.record.toHex(' '), expected.toHex(' '));
        const auto *entry = vizoCatalogueEntry(QLatin1String(row.name));
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->direction, VizoDirection::HostToDevice);
        const auto encoded = vizoEncodePayload(*entry, row.values, row.text);
        ASSERT_TRUE(encoded.ok()) << encoded.error().toStdString();
        EXPECT_EQ(encoded->toHex(' '), expected.toHex(' '));

        // And back: the decoder finds the same entry and parameters.
        const auto decoded = vizoDecodePayload(VizoDirection::HostToDevice, expected);
        ASSERT_EQ(decoded.entry, entry);
        EXPECT_TRUE(decoded.wellFormed);
        EXPECT_EQ(decoded.values, row.values);
        EXPECT_EQ(decoded.text, row.text);
    }
}

TEST(CommandCatalogue, NoRowIsLeftOutOrListedTwice)
{
    std::set<std::string> tested;
    for (const Row &row : rows())
        EXPECT_TRUE(tested.insert(row.name).second) << row.name;
    std::set<std::string> names;
    int hostRows = 0;
    for (const auto &e : vizoCatalogue()) {
        EXPECT_TRUE(names.insert(QString::fromLatin1(e.name).toLower().toStdString()).second) << e.name;
        if (e.direction == VizoDirection::HostToDevice) {
            ++hostRows;
            EXPECT_TRUE(tested.count(e.name)) << e.name << " has no byte test";
        }
    }
    EXPECT_EQ(hostRows, 73);
    EXPECT_EQ(tested.size(), 73u);
}

TEST(CommandCatalogue, FixedRecordSizesMatchTheTable)
{
    EXPECT_EQ(MenuOpened().size(), 2u);
    EXPECT_EQ(SetOcrLanguages(1).size(), 6u);
    EXPECT_EQ(SetContrast(3, 0).size(), 4u);
    for (const auto &e : vizoCatalogue()) {
        if (!e.hasTail()) {
            EXPECT_LE(e.fixedSize(), 6) << e.name;
        }
    }
}

TEST(CommandCatalogue, SlotCodeAndContrastTargetFollowTheView)
{
    EXPECT_EQ(colorSlotCode(0, 1), 0);
    EXPECT_EQ(colorSlotCode(1, 1), 7);
    EXPECT_EQ(colorSlotCode(0, 0), 0xFF); // modulo 256
    EXPECT_EQ(colorSlotCode(1, 7), 13);
    EXPECT_EQ(contrastTarget(0, 1), 3);
    EXPECT_EQ(contrastTarget(0, 10), 3);
    EXPECT_EQ(contrastTarget(0, 2), 4);
    EXPECT_EQ(contrastTarget(1, 10), 5);
    EXPECT_EQ(contrastTarget(1, 9), 6);
    EXPECT_EQ(SetContrast(contrastTarget(1, 3), 39).payload(), QByteArray::fromHex("06062700"));
}

TEST(CommandCatalogue, DecoderTellsApartCommandsSharingALeadingByte)
{
    struct Case { const char *hex; const char *name; bool wellFormed; };
    const Case cases[] = {
        {"0700", "MarkersOff", true},
        {"070301", "MarkerAdjust", true},
        {"070103", "SetMarkerType", true},
        {"20030b05", "CameraMoveSpeed", true},
        {"200305", "CameraMove", true},
        {"2003", "CameraMove", false}, // parameter missing
        {"20000102", "CameraZoom", false},
        {"08050405", "SetAutoScrollSpeed", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.hex);
        const auto d = vizoDecodePayload(VizoDirection::HostToDevice, QByteArray::fromHex(c.hex));
        ASSERT_NE(d.entry, nullptr);
        EXPECT_STREQ(d.entry->name, c.name);
        EXPECT_EQ(d.wellFormed, c.wellFormed);
    }
    EXPECT_EQ(vizoDecodePayload(VizoDirection::HostToDevice, QByteArray::fromHex("2605")).entry, nullptr);
    EXPECT_EQ(vizoDecodePayload(VizoDirection::DeviceToHost, QByteArray::fromHex("2400")).entry, nullptr);
    EXPECT_EQ(vizoDecodePayload(VizoDirection::DeviceToHost, QByteArray()).entry, nullptr);
    // The same code means different things in each direction.
    EXPECT_STREQ(vizoDecodePayload(VizoDirection::DeviceToHost, QByteArray::fromHex("2504")).entry->name,
                 "BatteryInfo");
}

TEST(CommandCatalogue, ArgumentsAreCheckedBeforeAnythingIsBuilt)
{
    const auto *zoom = vizoCatalogueEntry(u"camerazoom");
    ASSERT_NE(zoom, nullptr);
    EXPECT_TRUE(vizoEncodeArguments(*zoom, {QStringLiteral("2")}).ok());
    EXPECT_FALSE(vizoEncodeArguments(*zoom, {}).ok());
    EXPECT_FALSE(vizoEncodeArguments(*zoom, {QStringLiteral("1"), QStringLiteral("2")}).ok());
    EXPECT_FALSE(vizoEncodeArguments(*zoom, {QStringLiteral("256")}).ok());
    EXPECT_FALSE(vizoEncodeArguments(*zoom, {QStringLiteral("-1")}).ok());
    EXPECT_FALSE(vizoEncodeArguments(*zoom, {QStringLiteral("0x10")}).ok());
    const auto *contrast = vizoCatalogueEntry(u"SetContrast");
    EXPECT_TRUE(vizoEncodeArguments(*contrast, {QStringLiteral("3"), QStringLiteral("65535")}).ok());
    EXPECT_FALSE(vizoEncodeArguments(*contrast, {QStringLiteral("3"), QStringLiteral("65536")}).ok());
    const auto *mask = vizoCatalogueEntry(u"SetOcrLanguages");
    const auto big = vizoEncodeArguments(*mask, {QStringLiteral("4294967295")});
    ASSERT_TRUE(big.ok());
    EXPECT_EQ(big->first(), QByteArray::fromHex("0a04ffffffff"));
    EXPECT_FALSE(vizoEncodeArguments(*mask, {QStringLiteral("4294967296")}).ok());
    const auto *password = vizoCatalogueEntry(u"SetWifiPassword");
    const auto refused = vizoEncodeArguments(*password, {QStringLiteral("1234567890123")});
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), QStringLiteral("Passwords is to big"));
    EXPECT_EQ(vizoCatalogueEntry(u"NoSuchCommand"), nullptr);
}
