// A hot key field reads real X key events by their position on a US
// keyboard, whatever layout the X server uses.
#include "TestEnvironment.h"
#include "TestWait.h"
#include "MenuFixture.h"

#include "TextViewForHotKey.h"
#include "TrellisHotKeyCellView.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit &&
           p.exitCode() == 0;
}

} // namespace

using HotKeyOnX11 = MenuFixture;

TEST_F(HotKeyOnX11, KeysAreReadThroughTheUsKeymap)
{
    ASSERT_TRUE(onX11()) << "the test runner starts these tests on Xvfb";
    const QString xdotool = requiredProgram("xdotool");
    ASSERT_FALSE(xdotool.isEmpty());

    auto zoom = makeItem<TrellisItemHotKey>(QStringLiteral("zoom"));
    show(trellisMenu({zoom}));
    TextViewForHotKey *field = static_cast<TrellisHotKeyCellView *>(cell(root, 0))->hotKeyView();
    ASSERT_TRUE(run(xdotool, {"windowfocus", "--sync", QString::number(window->winId())}));
    key(Qt::Key_Return);
    ASSERT_EQ(focus(), field);

    ASSERT_TRUE(run(xdotool, {"key", "shift+a"}));
    EXPECT_TRUE(waitFor([&] { return !field->text().isEmpty(); }, 5000));
    EXPECT_EQ(field->text(), "shift + a");
    ASSERT_TRUE(run(xdotool, {"key", "alt+Left"}));
    EXPECT_TRUE(waitFor([&] { return field->text() == "alt + ←"; }, 5000))
        << field->text().toStdString();

    const QString setxkbmap = requiredProgram("setxkbmap");
    ASSERT_FALSE(setxkbmap.isEmpty());
    ASSERT_TRUE(run(setxkbmap, {"fr"}));
    // On a French layout the key that reads "q" is where a US keyboard has "a".
    ASSERT_TRUE(run(xdotool, {"key", "q"}));
    EXPECT_TRUE(waitFor([&] { return field->text().size() == 1; }, 5000));
    EXPECT_EQ(field->text(), "a");
    run(setxkbmap, {"us"});
}
