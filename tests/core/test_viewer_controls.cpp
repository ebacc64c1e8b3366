// The viewer's own keys, the picture area without a video device, and the
// help list read from the armed hot keys.
#include "AppTestSupport.h"

#include "core/HelpOverlay.h"
#include "core/MainWindowController.h"
#include "core/NoPictureView.h"
#include "core/PictureStill.h"
#include "core/StatusStrip.h"
#include "core/ViewerControls.h"
#include "kit/MouseGestureRecognizer.h"

#include <bramble/BrHotKey.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWheelEvent>

namespace {

struct ViewerControlsTest : AppFixture
{
    int terminations = 0;

    void SetUp() override
    {
        AppFixture::SetUp();
        app->setTerminateHandler([this] { ++terminations; });
        withWindow();
        settings()->setVizoVersion(0);
        // No video device named "FX3" here: the notice stands in.
        app->setupCaptureView();
        waitMs(10);
    }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent down(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(app->window(), &down);
        waitMs(5);
    }
    ViewerControls &controls() { return *app->viewerControls(); }
};

} // namespace

TEST_F(ViewerControlsTest, NoVideoDeviceShowsANoticeAndTheWheelStillReachesTheGestures)
{
    auto *notice = qobject_cast<NoPictureView *>(app->captureView());
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->text().startsWith("No camera picture."));
    EXPECT_EQ(notice->geometry(), app->captureViewContainer()->rect());

    auto recognizer = std::make_shared<MouseGestureRecognizer>();
    recognizer->enabled = true;
    int wheels = 0;
    recognizer->eventScrollWheel = [&](const MouseGestureEvent &) { ++wheels; };
    app->dicMouseGestures().insert("Wheel", recognizer);
    QWheelEvent wheel(QPointF(50, 50), notice->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(notice, &wheel);
    waitMs(10);
    EXPECT_EQ(wheels, 1);
}

TEST_F(ViewerControlsTest, HelpListsTheArmedKeysInWords)
{
    auto zoomIn = std::make_shared<BrHotKey>();
    zoomIn->setKeyCode(126); // Up
    zoomIn->setCommandKey(true);
    zoomIn->setEnabled(true);
    auto notArmed = std::make_shared<BrHotKey>();
    notArmed->setKeyCode(125);
    app->dicShortcutHandlers().insert("CameraMode.ZoomIn", zoomIn);
    app->dicShortcutHandlers().insert("CameraMode.ZoomOut", notArmed);

    press(Qt::Key_F1);
    HelpOverlay *help = controls().helpOverlay();
    ASSERT_TRUE(help->isVisible());
    const QString text = help->text();
    EXPECT_TRUE(text.contains("Camera\nCtrl+Up: zoom in")) << text.toStdString();
    EXPECT_FALSE(text.contains("zoom out"));
    EXPECT_TRUE(text.contains("Ctrl+Q: quit"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    zoomIn->setEnabled(false);
}

TEST_F(ViewerControlsTest, FreezeHoldsTheShownPictureAndSnapshotSavesIt)
{
    QTemporaryDir pictures;
    controls().pictureStill()->setFolder(pictures.filePath("Pictures"));
    press(Qt::Key_F9);
    EXPECT_TRUE(controls().pictureStill()->isFrozen());
    auto *still = app->captureViewContainer()->findChild<QWidget *>("frozenPicture");
    ASSERT_NE(still, nullptr);
    EXPECT_EQ(still->geometry(), app->captureView()->geometry());

    press(Qt::Key_F12);
    const QStringList saved = QDir(pictures.filePath("Pictures")).entryList({"Vizo *.png"});
    ASSERT_EQ(saved.size(), 1);
    EXPECT_FALSE(QImage(pictures.filePath("Pictures/" + saved.first())).isNull());
    EXPECT_TRUE(controls().statusStrip()->text().startsWith("Picture saved to "));

    press(Qt::Key_F9);
    EXPECT_FALSE(controls().pictureStill()->isFrozen());
    EXPECT_EQ(app->captureViewContainer()->findChild<QWidget *>("frozenPicture"), nullptr);
}

TEST_F(ViewerControlsTest, CtrlQQuitsF11TogglesFullScreenCtrlIHidesTheStatusLine)
{
    StatusStrip *strip = controls().statusStrip();
    EXPECT_TRUE(strip->isVisible());
    // No link here: the model's defaults describe no camera.
    EXPECT_EQ(strip->text(), "Waiting for the camera");
    strip->settingsKnown = [] { return true; };
    strip->refresh();
    EXPECT_TRUE(strip->text().contains("Near view")) << strip->text().toStdString();
    settings()->setZoomLevel(7);
    EXPECT_TRUE(strip->text().contains("Zoom 7"));
    // A narrow picture area (the menu open) wraps the line instead of
    // cutting off its end.
    const auto fits = [strip] {
        const QRect room = strip->contentsRect();
        const QRect needed = strip->fontMetrics().boundingRect(QRect(0, 0, room.width(), 100000),
                                                               Qt::TextWordWrap, strip->text());
        return needed.height() <= room.height() && needed.width() <= room.width();
    };
    EXPECT_TRUE(fits());
    const int oneLine = strip->height();
    QWidget *area = app->captureViewContainer();
    area->setGeometry(area->x(), area->y(), 360, area->height());
    strip->refresh();
    EXPECT_GT(strip->height(), oneLine);
    EXPECT_TRUE(fits());
    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_FALSE(strip->isVisible());

    press(Qt::Key_F11);
    EXPECT_TRUE(app->window()->isFullScreen());
    press(Qt::Key_F11);
    EXPECT_FALSE(app->window()->isFullScreen());

    EXPECT_EQ(terminations, 0);
    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(terminations, 1);
}
