// Regions and languages: building from the tables, choosing the current
// language, display names, and the shipped resources.
#include "settings/VizoRegion.h"
#include "settings/VizoResources.h"
#include "settings/VizoSettings.h"
#include "settings/VizoTextKeys.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

QVariantMap tableOf(std::initializer_list<std::pair<QString, QVariant>> items)
{
    QVariantMap m;
    for (const auto &[k, v] : items)
        m.insert(k, v);
    return m;
}

QVariantMap language(qint64 code, qint64 ocrBit)
{
    return tableOf({{"Code", code}, {"OCRBitMask", ocrBit}});
}

struct Tables
{
    QVariantMap regions;
    QVariantMap languages;
};

Tables testTables()
{
    Tables t;
    t.regions.insert("Beta", tableOf({{"RegionCode", 9},
                                      {"Languages", QVariantList{"Ana"}},
                                      {"OCRLanguages", QVariantList{"Ana"}}}));
    t.regions.insert(
        "North", tableOf({{"RegionCode", 4},
                          {"Languages", QVariantList{"Ana", "Bo", "Cy", "Ghost"}},
                          {"OCRLanguages", QVariantList{"Ana", "Far", "Wrap"}},
                          {"LanguageDisplayName",
                           tableOf({{"Ana", tableOf({{"Ana", "Ana-in-Ana"}, {"Bo", "Bo-in-Ana"}})},
                                    {"Cy", tableOf({{"Ana", "Ana-in-Cy"}})}})},
                          {"OCRLanguageDisplayName",
                           tableOf({{"Ana", tableOf({{"Far", "Far-in-Ana"}})}})}}));
    t.regions.insert("Empty", tableOf({{"RegionCode", 5}}));
    t.languages.insert(
        "Languages",
        tableOf({{"Ana", language(1, 1)}, {"Bo", language(2, 3)}, {"Cy", language(2, 33)}}));
    t.languages.insert("OCRLanguages", tableOf({{"Ana", tableOf({{"BitMask", 1}})},
                                                {"Far", tableOf({{"BitMask", 3}})},
                                                {"Wrap", tableOf({{"BitMask", 33}})}}));
    return t;
}

VizoRegion makeRegion(int code)
{
    const Tables t = testTables();
    return VizoRegion(code, t.regions, t.languages, [](const QString &name) {
        return tableOf({{"Messages", tableOf({{"Alert.OK", "OK-" + name}})}});
    });
}

} // namespace

TEST(Regions, BuildsTheMatchingEntryOrBeta)
{
    VizoRegion north = makeRegion(4);
    EXPECT_EQ(north.regionCode(), 4);
    ASSERT_EQ(north.languages().size(), 4);
    EXPECT_EQ(north.languages()[1].name(), QStringLiteral("Bo"));
    EXPECT_EQ(north.languages()[1].code(), 2);
    EXPECT_EQ(north.languages()[1].ocrBitMask(), 8u);
    EXPECT_EQ(north.languages()[2].ocrBitMask(), 2u); // 33 wraps to bit 1
    EXPECT_EQ(north.languages()[3].code(), 0);        // no entry: code 0, bit 1
    EXPECT_EQ(north.languages()[3].ocrBitMask(), 1u);
    EXPECT_EQ(north.languages()[0].languageData().value("Messages").toMap().value("Alert.OK"),
              QVariant("OK-Ana"));
    ASSERT_EQ(north.ocrLanguages().size(), 3);
    EXPECT_EQ(north.ocrLanguages()[1].bitMask(), 8u);
    EXPECT_EQ(north.ocrLanguages()[2].bitMask(), 2u);
    EXPECT_EQ(north.getCurrentLanguage()->name(), QStringLiteral("Ana"));

    // An unlisted code yields Beta, whose own code is then the region's.
    VizoRegion unknown = makeRegion(-1);
    EXPECT_EQ(unknown.regionCode(), 9);
    ASSERT_EQ(unknown.languages().size(), 1);

    // A region without languages has no current language and ignores codes.
    VizoRegion empty = makeRegion(5);
    EXPECT_EQ(empty.getCurrentLanguage(), nullptr);
    EXPECT_FALSE(empty.setCurrentLanguageWithCode(0));
    EXPECT_EQ(empty.getLanguageDisplayName(north.languages()[0]), QString());
}

TEST(Regions, CurrentLanguageAndDisplayNames)
{
    VizoRegion r = makeRegion(4);
    EXPECT_EQ(r.getLanguageDisplayName(r.languages()[1]), QStringLiteral("Bo-in-Ana"));
    EXPECT_EQ(r.getOCRLanguageDisplayName(r.ocrLanguages()[1]), QStringLiteral("Far-in-Ana"));
    EXPECT_TRUE(r.getOCRLanguageDisplayName(r.ocrLanguages()[2]).isNull());

    // Duplicate codes: the later language wins.
    EXPECT_TRUE(r.setCurrentLanguageWithCode(2));
    EXPECT_EQ(r.getCurrentLanguage()->name(), QStringLiteral("Cy"));
    // Names follow the current language; missing levels yield nothing.
    EXPECT_EQ(r.getLanguageDisplayName(r.languages()[0]), QStringLiteral("Ana-in-Cy"));
    EXPECT_TRUE(r.getLanguageDisplayName(r.languages()[1]).isNull());
    EXPECT_TRUE(r.getOCRLanguageDisplayName(r.ocrLanguages()[1]).isNull());

    // An unknown code changes nothing.
    EXPECT_FALSE(r.setCurrentLanguageWithCode(42));
    EXPECT_EQ(r.getCurrentLanguage()->name(), QStringLiteral("Cy"));
}

TEST(Regions, SettingsFollowTheRegionsLanguage)
{
    VizoSettings s;
    const QVariantMap before = s.languageStrings();
    s.vizoRegion()->setCurrentLanguageWithCode(99);
    s.reloadLanguageStrings();
    EXPECT_EQ(s.languageStrings(), before);

    s.setVizoRegion(std::make_unique<VizoRegion>(2));           // Europe
    ASSERT_TRUE(s.vizoRegion()->setCurrentLanguageWithCode(3)); // German
    s.reloadLanguageStrings();
    EXPECT_EQ(s.text("MenuName", "Option.Contrast"), QStringLiteral("Kontrast"));

    // A partial table falls back to English key by key.
    s.setVizoRegion(std::make_unique<VizoRegion>(makeRegion(4)));
    s.reloadLanguageStrings();
    EXPECT_EQ(s.text("Messages", "Alert.OK"), QStringLiteral("OK-Ana"));
    EXPECT_EQ(s.text("FilesUI", "ThumbnailListView.SelectAll"), QStringLiteral("Select all"));
}

TEST(Resources, ShippedRegionsAreUsable)
{
    const QVariantMap regions = VizoResources::propertyList("Regions");
    ASSERT_TRUE(regions.contains("Beta"));
    QSet<QString> uiSets, ocrSets;
    int real = 0;
    for (auto it = regions.cbegin(); it != regions.cend(); ++it) {
        VizoRegion region(it.value().toMap().value("RegionCode").toInt());
        EXPECT_EQ(region.regionCode(), it.value().toMap().value("RegionCode").toInt())
            << it.key().toStdString();
        ASSERT_FALSE(region.languages().isEmpty()) << it.key().toStdString();
        QStringList ui, ocr;
        QSet<quint32> bits;
        for (const VizoLanguage &l : region.languages()) {
            ui << l.name();
            EXPECT_NE(l.code(), 0) << l.name().toStdString();
            EXPECT_FALSE(l.languageData().isEmpty()) << l.name().toStdString();
            EXPECT_FALSE(region.getLanguageDisplayName(l).isEmpty()) << l.name().toStdString();
        }
        for (const VizoOCRLanguage &l : region.ocrLanguages()) {
            ocr << l.name();
            EXPECT_FALSE(bits.contains(l.bitMask()))
                << "duplicate OCR bit in " << it.key().toStdString();
            bits.insert(l.bitMask());
            EXPECT_FALSE(region.getOCRLanguageDisplayName(l).isEmpty()) << l.name().toStdString();
        }
        // Every interface language's own OCR language is offered.
        for (const VizoLanguage &l : region.languages())
            EXPECT_TRUE(bits.contains(l.ocrBitMask())) << l.name().toStdString();
        if (it.key() != "Beta") {
            ++real;
            uiSets.insert(ui.join(','));
            ocrSets.insert(ocr.join(','));
        }
    }
    EXPECT_GE(real, 3);
    EXPECT_EQ(uiSets.size(), real);
    EXPECT_EQ(ocrSets.size(), real);
}

TEST(Resources, EveryLanguageHasEveryKeyInUse)
{
    // Every interface language a region may offer speaks every menu row in
    // that language: a gap would be filled from English mid-menu.
    const QVariantMap languages =
        VizoResources::propertyList(QStringLiteral("Languages")).value("Languages").toMap();
    ASSERT_FALSE(languages.isEmpty());
    for (const QString &name : languages.keys()) {
        const QVariantMap table = VizoResources::propertyList(name);
        ASSERT_FALSE(table.isEmpty()) << name.toStdString();
        for (const VizoTextKey &k : kVizoTextKeys) {
            const QString text = table.value(k.section).toMap().value(k.key).toString();
            EXPECT_FALSE(text.trimmed().isEmpty())
                << name.toStdString() << " lacks " << k.section << "/" << k.key;
            // A format holds exactly its placeholders.
            for (int n = 1; n <= 3; ++n)
                EXPECT_EQ(text.contains(QStringLiteral("%%1").arg(n)), n <= k.args)
                    << name.toStdString() << " " << k.key << " %" << n;
            // The device cuts spoken text at 63 UTF-16 units.
            EXPECT_LE(text.size(), 63) << name.toStdString() << " " << k.key;
        }
    }
}
