// Stack, the arrow shape, the command line and the main window's geometry.
#include "kit/ArrowButton.h"
#include "core/CommandLine.h"
#include "core/MainWindowGeometry.h"
#include "kit/Stack.h"

#include <gtest/gtest.h>

#include <QObject>

TEST(Stack, PushPopTopAndEmptyCases)
{
    Stack stack;
    EXPECT_EQ(stack.pop(), nullptr);
    EXPECT_EQ(stack.top(), nullptr);
    QObject a, b;
    stack.push(&a);
    stack.push(&b);
    EXPECT_EQ(stack.count(), 2);
    EXPECT_EQ(stack.at(0), &a);
    EXPECT_EQ(stack.top(), &b);
    EXPECT_EQ(stack.pop(), &b);
    EXPECT_EQ(stack.top(), &a);
    EXPECT_EQ(stack.pop(), &a);
    EXPECT_EQ(stack.count(), 0);
}

TEST(Stack, RemoveTakesTheTopmostMatchOnlyAndDestroyedEntriesReadAsEmpty)
{
    Stack stack;
    QObject a, b;
    stack.push(&a);
    stack.push(&b);
    stack.push(&a);
    EXPECT_TRUE(stack.remove(&a));
    EXPECT_EQ(stack.count(), 2);
    EXPECT_EQ(stack.top(), &b);
    EXPECT_EQ(stack.at(0), &a);
    {
        QObject gone;
        stack.push(&gone);
    }
    EXPECT_EQ(stack.count(), 3);
    EXPECT_EQ(stack.top(), nullptr);
    QObject c;
    EXPECT_FALSE(stack.remove(&c));
}

static std::vector<QPointF> points(const QPolygonF &p)
{
    return std::vector<QPointF>(p.begin(), p.end());
}

TEST(ArrowButton, TriangleGeometry)
{
    const QRectF bounds(0, 0, 24, 24);
    EXPECT_EQ(points(ArrowButton::arrowTriangle(bounds, 3, false)),
              (std::vector<QPointF>{{2, 2}, {2, 22}, {17, 12}}));
    EXPECT_EQ(points(ArrowButton::arrowTriangle(bounds, 3, true)),
              (std::vector<QPointF>{{3, 3}, {3, 23}, {18, 13}}));
    // Up: base at the bottom, apex a quarter down.
    EXPECT_EQ(points(ArrowButton::arrowTriangle(bounds, 0, false)),
              (std::vector<QPointF>{{2, 22}, {22, 22}, {12, 7}}));
    EXPECT_EQ(points(ArrowButton::arrowTriangle(bounds, 1, false)),
              (std::vector<QPointF>{{2, 2}, {22, 2}, {12, 17}}));
    EXPECT_EQ(points(ArrowButton::arrowTriangle(bounds, 2, false)),
              (std::vector<QPointF>{{22, 2}, {22, 22}, {7, 12}}));
    EXPECT_TRUE(ArrowButton::arrowTriangle(bounds, 4, false).isEmpty());
    EXPECT_TRUE(ArrowButton::arrowTriangle(bounds, -1, false).isEmpty());
}

TEST(ArrowButton, UnknownTypeDrawsNothing)
{
    ArrowButton button;
    button.resize(24, 24);
    button.setColor(Qt::red);
    button.setType(7);
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_NE(image.pixelColor(x, y), QColor(Qt::red));
    button.setType(3);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(6, 12), QColor(Qt::red));
}

TEST(CommandLine, GoodLines)
{
    auto o = CommandLine::parse({"vizo-viewer"});
    EXPECT_TRUE(o.ok());
    EXPECT_FALSE(o.simulate);
    EXPECT_EQ(o.cameraName, "FX3");

    o = CommandLine::parse({"vizo-viewer", "--simulate", "--edition", "ridge", "--camera", "Cam 2"});
    ASSERT_TRUE(o.ok()) << o.error.toStdString();
    EXPECT_TRUE(o.simulate);
    EXPECT_EQ(o.simulatedEdition, 2);
    EXPECT_EQ(o.cameraName, "Cam 2");

    EXPECT_TRUE(CommandLine::parse({"vizo-viewer", "--verbose"}).verbose);
    EXPECT_FALSE(CommandLine::parse({"vizo-viewer", "--verbose=no"}).ok());
    o = CommandLine::parse({"vizo-viewer", "--port=/dev/pts/7"});
    ASSERT_TRUE(o.ok());
    EXPECT_EQ(o.port, "/dev/pts/7");

    o = CommandLine::parse({"vizo-viewer", "--simulate", "--edition=valley", "--images", "3000",
                            "--ocr-texts=0", "--name-length", "120", "--baud", "115200",
                            "--control=/tmp/vizo.ctl"});
    ASSERT_TRUE(o.ok()) << o.error.toStdString();
    EXPECT_EQ(o.simulatedEdition, 1);
    EXPECT_EQ(o.simulatedImages, 3000);
    EXPECT_EQ(o.simulatedOcrTexts, 0);
    EXPECT_EQ(o.simulatedNameLength, 120);
    EXPECT_EQ(o.simulatedBaud, 115200);
    EXPECT_EQ(o.simulatedControl, "/tmp/vizo.ctl");

    EXPECT_TRUE(CommandLine::parse({"vizo-viewer", "--help"}).help);
    // Qt's own option, left for QApplication: X11 (XWayland) in a Wayland session.
    EXPECT_EQ(CommandLine::parse({"vizo-viewer", "--platform", "xcb", "--simulate"}).platform, "xcb");
    EXPECT_EQ(CommandLine::parse({"vizo-viewer", "-platform", "wayland"}).platform, "wayland");
}

TEST(CommandLine, BadLinesAreRefusedWithAReason)
{
    const QList<QStringList> bad = {
        {"vizo-viewer", "--bogus"},
        {"vizo-viewer", "--port"},
        {"vizo-viewer", "--port="},
        {"vizo-viewer", "--camera"},
        {"vizo-viewer", "--edition", "ridge"},            // without --simulate
        {"vizo-viewer", "--simulate", "--edition", "hill"},
        {"vizo-viewer", "--simulate", "--port", "/dev/x"},
        {"vizo-viewer", "--simulate=yes"},
        {"vizo-viewer", "stray"},
        {"vizo-viewer", "--images", "3"},                 // without --simulate
        {"vizo-viewer", "--simulate", "--images", "many"},
        {"vizo-viewer", "--simulate", "--name-length", "12"},
        {"vizo-viewer", "--platform"},
        {"vizo-viewer", "--platform=xcb"},                // Qt reads only two words
        {"vizo-viewer", "--baud", "115200"},               // without --simulate
        {"vizo-viewer", "--simulate", "--baud", "fast"},
        {"vizo-viewer", "--control", "/tmp/c"},            // without --simulate
    };
    for (const auto &line : bad) {
        const auto o = CommandLine::parse(line);
        EXPECT_FALSE(o.ok()) << line.join(' ').toStdString();
    }
    EXPECT_TRUE(CommandLine::usage().contains("--simulate"));
}

TEST(MainWindowGeometry, ScaleFactor)
{
    EXPECT_FLOAT_EQ(MainWindowGeometry::scaleFactorForScreenWidth(1680), 2.5f);
    EXPECT_NEAR(MainWindowGeometry::scaleFactorForScreenWidth(1440), 2.142857, 1e-5);
    EXPECT_EQ(MainWindowGeometry::scaleFactorForScreenWidth(0), 0.0f);
}

TEST(MainWindowGeometry, MenuOpenShiftsThePictureNotTheVisiblePart)
{
    const QRect rc(0, 0, 1600, 900);
    const auto open = MainWindowGeometry::menuOpen(rc, 300);
    EXPECT_EQ(open.container, QRect(300, 0, 1300, 900));
    EXPECT_EQ(open.captureView, QRect(-300, 0, 1600, 900));
    // A picture point keeps its place in the window.
    EXPECT_EQ(open.container.x() + open.captureView.x(), 0);
    const auto closed = MainWindowGeometry::menuClosed(rc);
    EXPECT_EQ(closed.container, rc);
    EXPECT_EQ(closed.captureView, QRect(0, 0, 1600, 900));
}

TEST(MainWindowGeometry, ResizeNeverShrinks)
{
    QRect rc(0, 0, 1200, 800);
    rc = MainWindowGeometry::resized(rc, QSize(1500, 700));
    EXPECT_EQ(rc, QRect(0, 0, 1500, 800));
    rc = MainWindowGeometry::resized(rc, QSize(900, 1000));
    EXPECT_EQ(rc, QRect(0, 0, 1500, 1000));
    rc = MainWindowGeometry::resized(rc, QSize(400, 300));
    EXPECT_EQ(rc, QRect(0, 0, 1500, 1000));
}
