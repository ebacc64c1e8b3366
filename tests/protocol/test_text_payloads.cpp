// Texts, paths, the password and deletions: the payloads whose length
// depends on their input, and the limits the device's fields impose.
#include "protocol/VizoCommands.h"

#include <gtest/gtest.h>

using namespace VizoCmd;

namespace {

QString pathsOfPayload(const QByteArray &payload)
{
    QString text;
    for (qsizetype i = 4; i + 1 < payload.size(); i += 2)
        text.append(QChar(char16_t(std::uint8_t(payload[i]) | (std::uint8_t(payload[i + 1]) << 8))));
    return text;
}

int totalOfPayload(const QByteArray &payload)
{
    return std::uint8_t(payload[2]) | (std::uint8_t(payload[3]) << 8);
}

} // namespace

TEST(TextPayloads, SpeechIsCutAt126BytesButNeverInsideASurrogatePair)
{
    EXPECT_EQ(SpeakText(QString()).payload(), QByteArray::fromHex("2506"));
    EXPECT_EQ(SpeakText(QString()).size(), 2u);

    const SpeakText hundred(QString(100, QLatin1Char('x')));
    EXPECT_EQ(hundred.size(), 128u);
    EXPECT_EQ(hundred.payload().mid(2), QByteArray("x\0", 2).repeated(63));

    const SpeakText exact(QString(63, QLatin1Char('y')));
    EXPECT_EQ(exact.size(), 128u);

    // A pair that would be split at units 62/63 is dropped as a whole.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // U+1F600, two code units
    const QString text = QString(62, QLatin1Char('a')) + emoji + QStringLiteral("tail");
    const SpeakText cut(text);
    EXPECT_EQ(cut.size(), 2u + 124u);
    EXPECT_FALSE(QChar(char16_t(cut.bytes[2 + 122] | (cut.bytes[2 + 123] << 8))).isHighSurrogate());

    // A pair that fits whole is kept.
    const QString fits = QString(61, QLatin1Char('a')) + emoji + QStringLiteral("tail");
    const SpeakText kept(fits);
    EXPECT_EQ(kept.size(), 128u);
    EXPECT_EQ(kept.payload().right(4), QByteArray::fromHex("3dd800de"));
}

TEST(TextPayloads, PathsLongerThanTheDeviceFieldAreRefused)
{
    const QString sixtyFour = QStringLiteral("Image/") + QString(58, QLatin1Char('p'));
    ASSERT_EQ(sixtyFour.size(), 64);
    const auto fits = ImageOpen::fromPath(sixtyFour);
    ASSERT_TRUE(fits.ok());
    EXPECT_EQ(fits->size(), 130u);
    EXPECT_EQ(fits->payload().left(4), QByteArray::fromHex("21014900"));

    const auto tooLong = OcrOpenFile::fromPath(sixtyFour + QLatin1Char('x'));
    ASSERT_FALSE(tooLong.ok());
    EXPECT_TRUE(tooLong.error().contains(QStringLiteral("65"))) << tooLong.error().toStdString();
    EXPECT_FALSE(ImageOpen::fromPath(sixtyFour + QLatin1Char('x')).ok());
}

TEST(TextPayloads, PasswordOfTwelveIsSentAndThirteenRefused)
{
    const auto twelve = SetWifiPassword::fromText(QStringLiteral("123456789012"));
    ASSERT_TRUE(twelve.ok());
    EXPECT_EQ(twelve->size(), 14u);
    EXPECT_EQ(twelve->payload(), QByteArray("\x09\x00" "123456789012", 14));

    const auto thirteen = SetWifiPassword::fromText(QStringLiteral("1234567890123"));
    ASSERT_FALSE(thirteen.ok());
    EXPECT_EQ(thirteen.error(), QStringLiteral("Passwords is to big"));

    // Bytes count, not characters: six two-byte letters fit, seven do not.
    EXPECT_TRUE(SetWifiPassword::fromText(QString(6, QChar(0xE9))).ok());
    EXPECT_FALSE(SetWifiPassword::fromText(QString(7, QChar(0xE9))).ok());
}

TEST(DeletePayloads, EachPathOnceInOrderWithTheTotalInEveryFrame)
{
    // Paths of 10 code units: 20 bytes each, 24 with the separator.
    QStringList paths;
    for (int i = 0; i < 7; ++i)
        paths << QStringLiteral("Image/%1.jp").arg(i);
    ASSERT_EQ(paths[0].size(), 10);

    // Limit 50: a frame closes once its list exceeds 50 bytes:
    // 20, 44, 68 > 50 -> three paths per frame.
    const auto frames = deleteFilesPayloads(paths, 50);
    ASSERT_TRUE(frames.ok());
    ASSERT_EQ(frames->size(), 3);
    QStringList seen;
    for (const QByteArray &payload : *frames) {
        EXPECT_EQ(payload.left(2), QByteArray::fromHex("2103"));
        EXPECT_EQ(totalOfPayload(payload), 7);
        seen << pathsOfPayload(payload).split(QStringLiteral("::"));
    }
    EXPECT_EQ(seen, paths);
    EXPECT_EQ(pathsOfPayload(frames->at(0)).split(QStringLiteral("::")), paths.mid(0, 3));
    EXPECT_EQ(pathsOfPayload(frames->at(2)), paths[6]);
}

TEST(DeletePayloads, LimitIsExceededNotReachedAndSmallSelectionsFitOneFrame)
{
    // Two paths of 10 units: 20 + 4 + 20 = 44 bytes. Exactly at the limit stays open.
    const QStringList two{QString(10, QLatin1Char('a')), QString(10, QLatin1Char('b'))};
    const auto atLimit = deleteFilesPayloads(two, 44);
    ASSERT_TRUE(atLimit.ok());
    EXPECT_EQ(atLimit->size(), 1);
    const auto over = deleteFilesPayloads(two, 43);
    ASSERT_TRUE(over.ok());
    EXPECT_EQ(over->size(), 1); // the crossing path closes the frame; nothing follows
    const auto first = deleteFilesPayloads(two, 19);
    ASSERT_TRUE(first.ok());
    ASSERT_EQ(first->size(), 2);
    EXPECT_EQ(pathsOfPayload(first->at(1)), two[1]);

    const auto none = deleteFilesPayloads({});
    ASSERT_TRUE(none.ok());
    EXPECT_TRUE(none->isEmpty());

    // The default limit: 1000 paths of 20 units -> a frame closes after 40000 bytes.
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << QStringLiteral("Image/%1").arg(i, 14, 10, QLatin1Char('0'));
    const auto big = deleteFilesPayloads(many);
    ASSERT_TRUE(big.ok());
    ASSERT_EQ(big->size(), 2);
    // 44k - 4 bytes after k paths: 909 give 39992, the 910th crosses.
    EXPECT_EQ(pathsOfPayload(big->at(0)).split(QStringLiteral("::")), many.mid(0, 910));
    EXPECT_EQ(pathsOfPayload(big->at(1)).split(QStringLiteral("::")), many.mid(910));
    EXPECT_EQ(big->at(0).size(), 4 + 40036);
}
