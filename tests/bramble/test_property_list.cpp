// XML property lists: reading every element kind, clean errors on malformed
// input, bounded nesting, and writing back.
#include <bramble/BrPropertyList.h>

#include <QDateTime>
#include <QPoint>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray doc(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body +
           "\n</plist>\n";
}

QString errorOf(const QByteArray &xml)
{
    QString error;
    const QVariant v = BrPropertyList::parse(xml, &error);
    EXPECT_FALSE(v.isValid()) << xml.toStdString();
    return error;
}

} // namespace

TEST(PropertyList, ReadsEveryElementKind)
{
    QString error;
    const QVariant root = BrPropertyList::parse(doc(R"(<dict>
  <!-- comments are skipped -->
  <key>name</key><string>Fran&#231;ais &amp; co</string>
  <key>empty</key><string/>
  <key>code</key><integer> -12 </integer>
  <key>big</key><integer>9007199254740993</integer>
  <key>ratio</key><real>2.5</real>
  <key>yes</key><true/>
  <key>no</key><false/>
  <key>blob</key><data>
    AAEC
    /w==
  </data>
  <key>when</key><date>2024-03-01T12:30:00Z</date>
  <key>list</key><array><integer>1</integer><array/><dict/></array>
  <key>code</key><integer>7</integer>
</dict>)"),
                                                &error);
    ASSERT_TRUE(root.isValid()) << error.toStdString();
    const QVariantMap m = root.toMap();
    EXPECT_EQ(m.value("name"), QVariant(QStringLiteral("Français & co")));
    EXPECT_EQ(m.value("empty"), QVariant(QString()));
    EXPECT_EQ(m.value("code").typeId(), QMetaType::LongLong);
    EXPECT_EQ(m.value("code").toLongLong(), 7); // a repeated key keeps its last value
    EXPECT_EQ(m.value("big").toLongLong(), 9007199254740993LL);
    EXPECT_DOUBLE_EQ(m.value("ratio").toDouble(), 2.5);
    EXPECT_EQ(m.value("yes"), QVariant(true));
    EXPECT_EQ(m.value("no"), QVariant(false));
    EXPECT_EQ(m.value("blob").toByteArray(), QByteArray("\x00\x01\x02\xff", 4));
    EXPECT_EQ(m.value("when").toDateTime(), QDateTime(QDate(2024, 3, 1), QTime(12, 30), Qt::UTC));
    const QVariantList list = m.value("list").toList();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].toLongLong(), 1);
    EXPECT_EQ(list[1].typeId(), QMetaType::QVariantList);
    EXPECT_EQ(list[2].typeId(), QMetaType::QVariantMap);
    EXPECT_TRUE(error.isEmpty());

    // A bare value without the wrapper is read too.
    EXPECT_EQ(BrPropertyList::parse("<string>x</string>").toString(), QStringLiteral("x"));
}

TEST(PropertyList, MalformedInputGivesAPositionedError)
{
    const QByteArray bad[] = {
        "",
        "not xml",
        doc("<dict><key>a</key></dict>"),            // key without value
        doc("<dict><string>a</string></dict>"),      // value without key
        doc("<dict><key>a</key><string>x</string>"), // unclosed
        doc("<integer>12x</integer>"),
        doc("<integer></integer>"),
        doc("<real>fast</real>"),
        doc("<true>1</true>"),
        doc("<string>a<b/></string>"),
        doc("<data>***</data>"),
        doc("<date>yesterday</date>"),
        doc("<float>1</float>"),
        doc("<array><integer>1</integer></dict>"),
        doc("<string>a</string><string>b</string>"), // two roots
        doc("<array>stray text</array>"),
        doc("<key>a</key>"),
        "<plist><string>a</string></plist><extra/>",
    };
    for (const QByteArray &xml : bad) {
        const QString error = errorOf(xml);
        EXPECT_TRUE(error.contains("line ") && error.contains("column ")) << error.toStdString();
    }
    // The position points at the fault.
    const QString e =
        errorOf("<plist>\n<dict>\n<key>n</key>\n<integer>zz</integer>\n</dict></plist>");
    EXPECT_TRUE(e.startsWith("line 4,")) << e.toStdString();
}

TEST(PropertyList, NestingIsBounded)
{
    auto nested = [](int depth) {
        QByteArray xml;
        for (int i = 0; i < depth; ++i)
            xml += "<array>";
        for (int i = 0; i < depth; ++i)
            xml += "</array>";
        return doc(xml);
    };
    QString error;
    EXPECT_TRUE(BrPropertyList::parse(nested(BrPropertyList::kMaxDepth), &error).isValid())
        << error.toStdString();
    EXPECT_FALSE(BrPropertyList::parse(nested(BrPropertyList::kMaxDepth + 1), &error).isValid());
    EXPECT_TRUE(error.contains("deeper")) << error.toStdString();
    // Far deeper input fails the same way, without exhausting the stack.
    EXPECT_FALSE(BrPropertyList::parse(nested(100000)).isValid());
}

TEST(PropertyList, WritesWhatItReads)
{
    QVariantMap inner;
    inner.insert("Code", 3);
    inner.insert("Keys", QStringList{"a", "<b>&"});
    QVariantMap root;
    root.insert("Inner", inner);
    root.insert("Flag", false);
    root.insert("Real", 0.1);
    root.insert("Neg", qint64(-5000000000LL));
    root.insert("Bytes", QByteArray("\x00\xfe", 2));
    root.insert("Text", QStringLiteral("été 😀"));
    root.insert("List", QVariantList{1, QStringLiteral("two"), QVariantMap()});

    QString error;
    const QByteArray xml = BrPropertyList::serialize(root, &error);
    ASSERT_FALSE(xml.isEmpty()) << error.toStdString();
    const QVariantMap back = BrPropertyList::parse(xml, &error).toMap();
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(back.value("Inner").toMap().value("Code").toLongLong(), 3);
    EXPECT_EQ(back.value("Inner").toMap().value("Keys").toStringList(), (QStringList{"a", "<b>&"}));
    EXPECT_EQ(back.value("Flag"), QVariant(false));
    EXPECT_DOUBLE_EQ(back.value("Real").toDouble(), 0.1);
    EXPECT_EQ(back.value("Neg").toLongLong(), -5000000000LL);
    EXPECT_EQ(back.value("Bytes").toByteArray(), QByteArray("\x00\xfe", 2));
    EXPECT_EQ(back.value("Text").toString(), QStringLiteral("été 😀"));
    EXPECT_EQ(back.value("List").toList().size(), 3);

    // Values a property list cannot hold are refused, not written half.
    QVariantMap odd;
    odd.insert("Point", QVariant::fromValue(QPoint(1, 2)));
    EXPECT_TRUE(BrPropertyList::serialize(odd, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(BrPropertyList::serialize(QVariant(), &error).isEmpty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("keys.plist");
    ASSERT_TRUE(BrPropertyList::writeFile(path, root, &error)) << error.toStdString();
    EXPECT_EQ(BrPropertyList::parseFile(path, &error).toMap().value("Text"), root.value("Text"));
    EXPECT_FALSE(BrPropertyList::parseFile(dir.filePath("absent.plist"), &error).isValid());
    EXPECT_TRUE(error.contains("absent.plist"));
}
