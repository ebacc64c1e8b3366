// File lists: parsing the device's text, applying it, announcing it, and the
// builder the virtual device lists its card with.
#include "settings/VizoFileListBuilder.h"
#include "settings/VizoFileListDelivery.h"
#include "settings/VizoFileListParser.h"
#include "settings/VizoSettings.h"

#include <bramble/BrNotificationCenter.h>

#include <QObject>
#include <gtest/gtest.h>

namespace {

std::optional<QStringList> parse(const QByteArray &data)
{
    int calls = 0;
    std::optional<QStringList> result;
    EXPECT_TRUE(VizoFileListParser::parseData(data, [&](const std::optional<QStringList> &pieces) {
        ++calls;
        result = pieces;
    }));
    EXPECT_EQ(calls, 1);
    return result;
}

} // namespace

TEST(FileList, SplitsAtLineFeedsOnly)
{
    auto pieces = parse("a.jpg\nb.jpg\n");
    ASSERT_TRUE(pieces);
    EXPECT_EQ(*pieces, (QStringList{"a.jpg", "b.jpg", ""}));

    pieces = parse(QByteArray());
    ASSERT_TRUE(pieces);
    EXPECT_EQ(*pieces, QStringList{QString()});

    // A carriage return stays part of the name; spaces and non-ASCII too.
    pieces = parse("one\r\nmy page é.txt");
    ASSERT_TRUE(pieces);
    EXPECT_EQ(*pieces, (QStringList{"one\r", QStringLiteral("my page é.txt")}));

    // Undecodable data: the handler gets no list.
    pieces = parse("ok.jpg\n\xc3(bad.jpg\n");
    EXPECT_FALSE(pieces.has_value());
}

TEST(FileList, DeliveryAppliesThenAnnounces)
{
    VizoSettings settings;
    BrNotificationCenter center;
    QObject browser;
    QList<int> seenImageCounts;
    int ocrNotices = 0;
    center.observe("ImageFileListDownloaded", &browser,
                   [&] { seenImageCounts.append(int(settings.imageFileItemArray().size())); });
    center.observe("OCRFileListDownloaded", &browser, [&] { ++ocrNotices; });

    VizoFileListParser::parseData("a.jpg\nb.jpg\n", [&](const std::optional<QStringList> &names) {
        VizoFileListDelivery::deliver(settings, VizoFileKind::Image, names, center);
    });
    ASSERT_EQ(settings.imageFileItemArray().size(), 2);
    EXPECT_EQ(settings.imageFileItemArray()[0].filePath, QStringLiteral("Image/a.jpg"));
    EXPECT_EQ(settings.imageFileItemArray()[1].filePath, QStringLiteral("Image/b.jpg"));
    // The observer ran after the list was in the model.
    EXPECT_EQ(seenImageCounts, QList<int>{2});
    EXPECT_EQ(ocrNotices, 0);

    // An empty transfer and an undecodable one both empty the list and are
    // still announced.
    VizoFileListDelivery::deliver(settings, VizoFileKind::Image, QStringList{QString()}, center);
    VizoFileListDelivery::deliver(settings, VizoFileKind::OCR, std::nullopt, center);
    EXPECT_TRUE(settings.imageFileItemArray().isEmpty());
    EXPECT_TRUE(settings.ocrFileItemArray().isEmpty());
    EXPECT_EQ(seenImageCounts, (QList<int>{2, 0}));
    EXPECT_EQ(ocrNotices, 1);
}

TEST(FileList, BuilderOutputParsesBackToTheSameNames)
{
    const QStringList names{"IMG_0001.JPG", QStringLiteral("Relevé de compte.txt"), "x y", "c\r"};
    const QByteArray text = VizoFileListBuilder::build(names);
    auto pieces = parse(text);
    ASSERT_TRUE(pieces);
    QStringList expected = names;
    expected.append(QString()); // every name ends with a line feed
    EXPECT_EQ(*pieces, expected);

    // A name that would read back as two names, or as nothing, is left out.
    EXPECT_EQ(VizoFileListBuilder::build({"a\nb", "", "ok.jpg"}), QByteArray("ok.jpg\n"));
    EXPECT_TRUE(VizoFileListBuilder::build({}).isEmpty());
}
