// The option file: parsing, the value forms, applying to the model, and the
// writer the virtual device serves it with.
#include "settings/VizoConfigParser.h"
#include "settings/VizoConfigWriter.h"
#include "settings/VizoSettings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray pair(const char *key, const QByteArray &value)
{
    return QByteArray("<key>") + key + "</key><value>" + value + "</value>\n";
}

// Parses and returns the pairs; fails the test if the handler is not called
// exactly once.
VizoOptionFileData parse(const QByteArray &text)
{
    int calls = 0;
    VizoOptionFileData result;
    EXPECT_TRUE(VizoConfigParser::parseData(text, [&](const VizoOptionFileData &d) {
        ++calls;
        result = d;
    }));
    EXPECT_EQ(calls, 1);
    return result;
}

} // namespace

TEST(OptionFile, EmptyTextOrNoKeyStillCallsTheHandler)
{
    EXPECT_TRUE(parse(QByteArray()).isEmpty());
    EXPECT_TRUE(parse("no markers at all\n<value>1</value>").isEmpty());
    // An absent handler is allowed.
    EXPECT_TRUE(VizoConfigParser::parseData(pair("FocusLock", "1"), {}));
}

TEST(OptionFile, MarkersPairUpAsTheDeviceWritesThem)
{
    // White space between the markers is ignored; values are not trimmed.
    auto d =
        parse("<key>FocusLock</key> <value>1</value><key>Info_AP</key>\n<value> Vizo 7 </value>");
    EXPECT_EQ(d.value("FocusLock"), QStringLiteral("1"));
    EXPECT_EQ(d.value("Info_AP"), QStringLiteral(" Vizo 7 "));

    // A repeated key keeps its later value.
    d = parse(pair("TTSSpeed", "3") + pair("TTSSpeed", "9"));
    EXPECT_EQ(d.size(), 1);
    EXPECT_EQ(d.value("TTSSpeed"), QStringLiteral("9"));

    // A key without a value takes the next value: the second key is lost.
    d = parse("<key>A</key><key>B</key><value>1</value>");
    EXPECT_EQ(d.size(), 1);
    EXPECT_EQ(d.value("A"), QStringLiteral("1"));

    // Truncated text delivers the pairs before it.
    d = parse(pair("Near_Contrast", "7") + "<key>Far</key><value>12");
    EXPECT_EQ(d.size(), 1);
    EXPECT_EQ(d.value("Near_Contrast"), QStringLiteral("7"));
    d = parse(pair("Near_Contrast", "7") + "<key>Far</ke");
    EXPECT_EQ(d.size(), 1);

    // The text ends at the first zero byte.
    QByteArray withZero = pair("TTSPitch", "4");
    withZero += '\0';
    withZero += pair("TTSVolume", "1");
    d = parse(withZero);
    EXPECT_EQ(d.size(), 1);
    EXPECT_TRUE(d.contains("TTSPitch"));
}

TEST(OptionFile, InvalidUtf8CostsOnlyItsOwnPair)
{
    QByteArray text = pair("Distance_Contrast", "21");
    text += pair("Info_SN", "\xff\xfe broken");
    text += "<key>Bad\xc3</key><value>1</value>";
    text += pair("Near_Contrast", "5");
    text += pair("Info_AP", "Caf\xc3\xa9");
    text += '\0';
    const auto d = parse(text);
    EXPECT_EQ(d.size(), 3);
    EXPECT_EQ(d.value("Distance_Contrast"), QStringLiteral("21"));
    EXPECT_EQ(d.value("Near_Contrast"), QStringLiteral("5"));
    EXPECT_EQ(d.value("Info_AP"), QStringLiteral("Café"));
    EXPECT_FALSE(d.contains("Info_SN"));
}

TEST(OptionFile, ValueForms)
{
    using P = VizoConfigParser;
    EXPECT_EQ(P::readInteger(u"19"), 19);
    EXPECT_EQ(P::readInteger(u"  \n-42abc"), -42);
    EXPECT_EQ(P::readInteger(u"+7"), 7);
    EXPECT_EQ(P::readInteger(u"abc"), 0);
    EXPECT_EQ(P::readInteger(u""), 0);
    EXPECT_EQ(P::readInteger(u"- 5"), 0);
    EXPECT_EQ(P::readInteger(u"4294967297"), 1);         // low 32 bits
    EXPECT_EQ(P::readInteger(u"2147483648"), INT32_MIN); // wraps, no saturation
    EXPECT_EQ(P::readInteger(u"-4294967295"), 1);
    EXPECT_EQ(P::readInteger(u"99999999999999999999999"), qint32(0xf67fffffu)); // low bits
    EXPECT_TRUE(P::readBoolean(u"1"));
    EXPECT_TRUE(P::readBoolean(u"-1"));
    EXPECT_FALSE(P::readBoolean(u"256")); // only the low eight bits count
    EXPECT_TRUE(P::readBoolean(u"257"));
    EXPECT_FALSE(P::readBoolean(u"yes"));

    auto c = P::readColorPair(u"0910");
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->textColor, 9);
    EXPECT_EQ(c->bgColor, 10);
    c = P::readColorPair(u"03");
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->textColor, 3);
    EXPECT_EQ(c->bgColor, 0);
    EXPECT_FALSE(P::readColorPair(u"5").has_value());
    EXPECT_FALSE(P::readColorPair(u"").has_value());
}

TEST(OptionFile, ApplyingStoresEveryKnownKey)
{
    VizoSettings s;
    QByteArray text;
    text += pair("CameraMode", "0");
    text += pair("Distance_SelectColor7", "0910");
    text += pair("Near_SelectColor1", "0402");
    text += pair("Distance_CurrentSelectColor", "4");
    text += pair("Near_CurrentSelectColor", "2");
    text += pair("Distance_Contrast", "55"); // stored without range checks
    text += pair("Near_Contrast", "11");
    text += pair("Distance_MarkerMode", "9");
    text += pair("Near_MarkerMode", "2");
    text += pair("FocusLock", "1");
    text += pair("VoiceGuide", "0");
    text += pair("AutoScrollDirection", "1");
    text += pair("AutoScrollSpeed", "8");
    text += pair("AutoScrollA4", "0");
    text += pair("Language", "2");
    text += pair("JoyStickSpeed", "3");
    text += pair("WiFiPassword", "pa ss<w>");
    text += pair("WiFiResolution", "2");
    text += pair("OCRFieldMode", "1");
    text += pair("OCRViewMode", "3");
    text += pair("OCRDeskew", "1");
    text += pair("OCRPerspective", "1");
    text += pair("TTSType", "1");
    text += pair("TTSSpeed", "12");
    text += pair("TTSVolume", "14");
    text += pair("TTSPitch", "13");
    text += pair("OCRLanguage", "4294967295");
    text += pair("Info_SW", "1.2.3");
    text += pair("Info_SN", "SN998877");
    text += pair("Info_Battery", "85%");
    text += pair("Info_AP", "Vizo_1234");
    text += pair(" FocusLock", "0");               // no such key: ignored
    text += pair("focuslock", "0");                // case matters
    text += pair("Distance_SelectColor0", "0303"); // slot 0 has no key
    text += pair("Near_SelectColor8", "0303");
    VizoConfigParser::parseData(text,
                                [&](const VizoOptionFileData &d) { s.applyOptionFileData(d); });

    const VizoOptions *o = s.options();
    EXPECT_EQ(s.cameraMode(), 0);
    EXPECT_EQ(o->colorModeForDistance()->slot(7)->textColor(), 9);
    EXPECT_EQ(o->colorModeForDistance()->slot(7)->bgColor(), 10);
    EXPECT_EQ(o->colorModeForNear()->slot(1)->textColor(), 4);
    EXPECT_EQ(o->colorModeForNear()->slot(1)->bgColor(), 2);
    EXPECT_EQ(o->colorModeForDistance()->slot(0)->textColor(), 1);
    EXPECT_EQ(o->colorModeForNear()->slot(0)->textColor(), 1);
    EXPECT_EQ(s.selectedColorSlotForDistanceViewMode(), 4);
    EXPECT_EQ(s.oldSelectedColorSlotForDistanceViewMode(), 4);
    EXPECT_EQ(s.selectedColorSlotForNearViewMode(), 2);
    EXPECT_EQ(s.oldSelectedColorSlotForNearViewMode(), 2);
    EXPECT_EQ(o->contrastForDistance(), 55);
    EXPECT_EQ(o->contrastForNear(), 11);
    EXPECT_EQ(o->markerModeForDistance(), 9);
    EXPECT_EQ(o->markerModeForNear(), 2);
    EXPECT_TRUE(o->focusLock());
    EXPECT_FALSE(o->voiceGuide());
    EXPECT_EQ(o->autoscrollDirection(), 1);
    EXPECT_EQ(o->autoscrollSpeed(), 8);
    EXPECT_EQ(o->autoscrollRange(), 0);
    EXPECT_EQ(o->joystickSensitivity(), 3);
    EXPECT_EQ(o->passwords(), QStringLiteral("pa ss<w>"));
    EXPECT_EQ(o->wifiResolution(), 2);
    EXPECT_EQ(s.ocr()->fieldMode(), 1);
    EXPECT_EQ(s.ocr()->viewMode(), 3);
    EXPECT_EQ(s.ocr()->deskew(), 1);
    EXPECT_EQ(s.ocr()->perspective(), 1);
    EXPECT_EQ(s.ocr()->typeOfTTS(), 1);
    EXPECT_EQ(s.ocr()->speedOfTTS(), 12);
    EXPECT_EQ(s.ocr()->volumeOfTTS(), 14);
    EXPECT_EQ(s.ocr()->pitchOfTTS(), 13);
    EXPECT_EQ(s.ocr()->language(), 0xffffffffu);
    EXPECT_EQ(o->info_sw(), QStringLiteral("1.2.3"));
    EXPECT_EQ(o->info_sn(), QStringLiteral("SN998877"));
    EXPECT_EQ(o->info_battery(), QStringLiteral("85%"));
    EXPECT_EQ(o->info_ap(), QStringLiteral("Vizo_1234"));

    // "Language" 2 is French in the start-up region: the texts follow at once.
    ASSERT_NE(s.vizoRegion()->getCurrentLanguage(), nullptr);
    EXPECT_EQ(s.vizoRegion()->getCurrentLanguage()->code(), 2);
    EXPECT_EQ(s.text("Messages", "ConfirmAlert.Yes"), QStringLiteral("Oui"));
}

TEST(OptionFile, ShortColourPairOrUnknownLanguageChangesNothing)
{
    VizoSettings s;
    VizoOptionFileData d;
    d.insert("Distance_SelectColor2", "7");
    d.insert("Near_SelectColor3", "");
    d.insert("Language", "77");
    s.applyOptionFileData(d);
    EXPECT_EQ(s.options()->colorModeForDistance()->slot(2)->textColor(), 2);
    EXPECT_EQ(s.options()->colorModeForDistance()->slot(2)->bgColor(), 3);
    EXPECT_EQ(s.options()->colorModeForNear()->slot(3)->textColor(), 10);
    EXPECT_EQ(s.vizoRegion()->getCurrentLanguage()->code(), 1);
    EXPECT_EQ(s.text("Messages", "ConfirmAlert.Yes"), QStringLiteral("Yes"));
}

TEST(OptionFile, ParseFileReportsAMissingFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    bool called = false;
    EXPECT_FALSE(VizoConfigParser::parseFile(dir.filePath("absent.txt"),
                                             [&](const VizoOptionFileData &) { called = true; }));
    EXPECT_FALSE(called);

    QFile file(dir.filePath("options.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pair("TTSVolume", "3"));
    file.close();
    VizoOptionFileData got;
    EXPECT_TRUE(VizoConfigParser::parseFile(file.fileName(),
                                            [&](const VizoOptionFileData &d) { got = d; }));
    EXPECT_EQ(got.value("TTSVolume"), QStringLiteral("3"));
}

TEST(OptionFile, WriterRoundTripsThroughTheParser)
{
    VizoSettings source;
    source.setCameraMode(0);
    source.setSelectedColorSlotForNearViewMode(5);
    source.options()->colorModeForNear()->slot(4)->setTextColor(7);
    source.options()->colorModeForNear()->slot(4)->setBgColor(10);
    source.options()->colorModeForDistance()->slot(6)->setTextColor(0);
    source.options()->colorModeForDistance()->slot(6)->setBgColor(0);
    source.options()->setContrastForNear(33);
    source.options()->setFocusLock(true);
    source.options()->setVoiceGuide(false);
    source.options()->setPasswords(QStringLiteral("mot de passé"));
    source.options()->setInfo_ap(QStringLiteral("Vizo_4242"));
    source.ocr()->setLanguage(0x80000004u);
    source.ocr()->setPitchOfTTS(11);
    source.vizoRegion()->setCurrentLanguageWithCode(2);

    const QByteArray text = VizoConfigWriter::write(source);
    EXPECT_TRUE(text.contains("<key>Near_SelectColor4</key><value>0710</value>"));

    VizoSettings copy;
    VizoConfigParser::parseData(text + '\0',
                                [&](const VizoOptionFileData &d) { copy.applyOptionFileData(d); });
    EXPECT_EQ(VizoConfigWriter::optionFileData(copy), VizoConfigWriter::optionFileData(source));
    EXPECT_EQ(copy.options()->passwords(), QStringLiteral("mot de passé"));
    EXPECT_EQ(copy.ocr()->language(), 0x80000004u);
    EXPECT_EQ(copy.vizoRegion()->getCurrentLanguage()->code(), 2);

    // A value the format cannot carry is left out rather than corrupting the
    // pairs after it.
    VizoOptionFileData bad;
    bad.insert("Info_AP", "a</value>b");
    bad.insert("TTSPitch", "3");
    const auto back = parse(VizoConfigWriter::write(bad));
    EXPECT_FALSE(back.contains("Info_AP"));
    EXPECT_EQ(back.value("TTSPitch"), QStringLiteral("3"));
}
