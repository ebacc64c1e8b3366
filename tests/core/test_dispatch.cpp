// Every report of the device, fed as frames into the dispatcher: what it
// changes in the settings model and the delegate, and what it sends back.
#include "TestWait.h"
#include "AppTestSupport.h"

#include "kit/MessageBoxController.h"
#include "kit/SplashController.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrNotificationCenter.h>

using Dispatch = AppFixture;

TEST_F(Dispatch, SimpleSettingReports)
{
    report({0x26, 0x00, 7});
    EXPECT_EQ(settings()->zoomLevel(), 7);

    settings()->setCameraMode(1);
    report({0x26, 0x01, 4});
    EXPECT_EQ(settings()->selectedColorSlotForNearViewMode(), 4);
    EXPECT_EQ(settings()->selectedColorSlotForDistanceViewMode(), 1);
    settings()->setCameraMode(0);
    report({0x26, 0x01, 5});
    EXPECT_EQ(settings()->selectedColorSlotForDistanceViewMode(), 5);
    EXPECT_EQ(settings()->selectedColorSlotForNearViewMode(), 4);

    report({0x26, 0x06, 1});
    EXPECT_TRUE(settings()->options()->focusLock());
    report({0x26, 0x06, 2});
    EXPECT_FALSE(settings()->options()->focusLock());

    report({0x26, 0x0B, 0});
    EXPECT_FALSE(settings()->options()->voiceGuide());
    report({0x26, 0x0B, 1});
    EXPECT_TRUE(settings()->options()->voiceGuide());

    report({0x26, 0x0D, 12});
    EXPECT_EQ(settings()->ocr()->volumeOfTTS(), 12);

    report({0x25, 0x04, '8', '7', '%'});
    EXPECT_EQ(settings()->options()->info_battery(), "87%");

    report({0x26, 0x12, 3});
    ASSERT_NE(settings()->vizoRegion(), nullptr);
    EXPECT_EQ(settings()->vizoRegion()->regionCode(), 3);
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(Dispatch, DeviceVersionAsksForTheOptionFile)
{
    report({0x26, 0x08, 2});
    EXPECT_EQ(settings()->vizoVersion(), 2);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0], bytesOf({0x30, 0x04}));
}

TEST_F(Dispatch, ContrastEchoesOfOwnChangesAreSkipped)
{
    settings()->setCameraMode(1);
    settings()->setISendContrastCnt(2);
    report({0x26, 0x09, 30});
    EXPECT_EQ(settings()->iSendContrastCnt(), 1);
    EXPECT_EQ(settings()->options()->contrastForNear(), 19);
    report({0x26, 0x09, 31});
    EXPECT_EQ(settings()->iSendContrastCnt(), 0);
    EXPECT_EQ(settings()->options()->contrastForNear(), 19);
    report({0x26, 0x09, 32});
    EXPECT_EQ(settings()->options()->contrastForNear(), 32);
    settings()->setCameraMode(0);
    report({0x26, 0x09, 5});
    EXPECT_EQ(settings()->options()->contrastForDistance(), 5);
    EXPECT_EQ(settings()->options()->contrastForNear(), 32);
}

TEST_F(Dispatch, ModeReportsSetModeAndInputFlags)
{
    // Auto-scroll.
    app->setDisableHotKeys(true);
    app->setDisableMouseGestures(true);
    report({0x26, 0x03, 0});
    EXPECT_EQ(settings()->vizoMode(), 4);
    EXPECT_TRUE(settings()->autoScrollPlayed());
    EXPECT_FALSE(app->disableHotKeys());
    EXPECT_FALSE(app->disableMouseGestures());
    report({0x26, 0x03, 1});
    EXPECT_EQ(settings()->vizoMode(), 0);
    EXPECT_FALSE(settings()->autoScrollPlayed());

    // OCR: 2 locks input until a later report unlocks it.
    report({0x26, 0x04, 2});
    EXPECT_TRUE(app->disableHotKeys());
    EXPECT_TRUE(app->disableMouseGestures());
    EXPECT_EQ(settings()->vizoMode(), 0);
    report({0x26, 0x04, 0});
    EXPECT_EQ(settings()->vizoMode(), 1);
    EXPECT_TRUE(settings()->ocrPlayed());
    EXPECT_FALSE(app->disableHotKeys());
    EXPECT_FALSE(app->disableMouseGestures());
    report({0x26, 0x04, 3});
    EXPECT_EQ(settings()->vizoMode(), 3);
    report({0x26, 0x04, 1});
    EXPECT_EQ(settings()->vizoMode(), 0);
    EXPECT_FALSE(settings()->ocrPlayed());

    // Image mode.
    report({0x26, 0x07, 1});
    EXPECT_EQ(settings()->vizoMode(), 2);
    report({0x26, 0x07, 0});
    EXPECT_EQ(settings()->vizoMode(), 0);
    report({0x26, 0x07, 9});
    EXPECT_EQ(settings()->vizoMode(), 0);

    // OCR preview.
    app->setDisableHotKeys(true);
    report({0x26, 0x0F, 0});
    EXPECT_EQ(settings()->vizoMode(), 5);
    EXPECT_FALSE(app->disableHotKeys());
    report({0x26, 0x0F, 1});
    EXPECT_EQ(settings()->vizoMode(), 1);

    // Functions locked.
    report({0x26, 0x10, 1});
    EXPECT_TRUE(app->disableAllFunctions());
    report({0x26, 0x10, 0});
    EXPECT_FALSE(app->disableAllFunctions());
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(Dispatch, CameraModeChangeClosesEveryWindowAndUnlocksFocus)
{
    std::vector<std::string> order;
    RecordingWindow a, b;
    a.name = "a";
    b.name = "b";
    a.log = b.log = &order;
    a.loadWindow();
    b.loadWindow();
    ASSERT_EQ(app->stackUI().count(), 2);
    settings()->options()->setFocusLock(true);
    app->setDisableHotKeys(true);

    report({0x26, 0x02, 0});
    EXPECT_EQ(settings()->cameraMode(), 0);
    EXPECT_EQ(order, (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(app->stackUI().count(), 0);
    EXPECT_FALSE(settings()->options()->focusLock());
    EXPECT_FALSE(app->disableHotKeys());

    report({0x26, 0x02, 3});
    EXPECT_TRUE(app->disableHotKeys());
    EXPECT_TRUE(app->disableMouseGestures());
    EXPECT_EQ(settings()->cameraMode(), 0);

    report({0x26, 0x02, 7});
    EXPECT_EQ(settings()->cameraMode(), 0);
    EXPECT_TRUE(app->disableHotKeys());
}

TEST_F(Dispatch, MenuKeyOpensAndClosesTheMenu)
{
    withWindow();
    settings()->setVizoVersion(1);
    report({0x26, 0x05, 0});
    EXPECT_FALSE(app->menuOpened());
    EXPECT_TRUE(sent.isEmpty());

    settings()->setVizoVersion(0);
    report({0x26, 0x05, 0});
    EXPECT_TRUE(app->menuOpened());
    EXPECT_EQ(app->stackUI().top(), app->menuController());
    // MenuOpened first; the menu may already be reading out its rows.
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent[0], bytesOf({0x24, 0x00}));
    EXPECT_EQ(sent.count(bytesOf({0x24, 0x00})), 1);

    // The menu reads out its first row once it has settled.
    waitMs(50);
    sent.clear();
    report({0x26, 0x05, 1});
    EXPECT_FALSE(app->menuOpened());
    EXPECT_EQ(app->stackUI().count(), 0);
    // The device's key closed it: the report's own MenuClosed, then the
    // menu's closing.
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent.first(), bytesOf({0x24, 0x01}));

    sent.clear();
    report({0x26, 0x05, 1});
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(Dispatch, MessageBoxReports)
{
    QString text;
    answerNextBox(&text);
    report({0x26, 0x0A, 0});
    EXPECT_EQ(text, AppDelegate::instance()->languageString("Messages", "Message.InsertSD", "?"));
    EXPECT_FALSE(text.isEmpty());

    answerNextBox(&text);
    report({0x26, 0x0A, 1});
    EXPECT_EQ(text, AppDelegate::instance()->languageString("Messages", "Message.CheckSD", "?"));

    text.clear();
    report({0x26, 0x0A, 2});
    waitMs(20);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(app->stackUI().count(), 0);

    answerNextBox(&text);
    report({0x26, 0x18, 20});
    EXPECT_TRUE(text.contains("20")) << text.toStdString();
    answerNextBox(&text);
    report({0x26, 0x18, 3});
    EXPECT_TRUE(text.contains("3")) << text.toStdString();
    EXPECT_NE(text, AppDelegate::instance()->languageString("Messages", "MSG.BatteryNotifyLevel").arg(3));

    // The device leaving: its box, then the splash waits for the camera
    // (closed here as if it had come back).
    answerNextBox(&text);
    bool waited = false;
    std::function<void()> whenWaiting = [&] {
        SplashController *splash = AppDelegate::splash();
        if (!splash || !splash->isWaiting() || !splash->isRunningModal()) {
            brPostMainAfter(20, whenWaiting, app.get());
            return;
        }
        waited = true;
        AppDelegate::closeSplash();
    };
    brPostMainAfter(20, whenWaiting, app.get());
    report({0x26, 0x1B});
    EXPECT_EQ(text, "The USB connection of Vizo Viewer has been disconnected from the Vizo device.\n"
                    "Application will be terminated.");
    EXPECT_TRUE(waited);
    EXPECT_FALSE(app->isTerminating());
}

TEST_F(Dispatch, OptionFileInTwoFramesIsParsedOnceAndCompletesStartUp)
{
    QByteArray data("<key>Distance_Contrast</key><value>33</value><key>Near_Contrast</key><value>11</value>");
    feed(bytesOf({0x31, 0x04}) + QByteArray("ignored"), 2, 1);
    feed(bytesOf({0x31, 0x04}) + data, 2, 2);
    ASSERT_TRUE(waitFor([&] { return !sent.isEmpty(); }));
    EXPECT_EQ(settings()->options()->contrastForDistance(), 33);
    EXPECT_EQ(settings()->options()->contrastForNear(), 11);
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x30, 0x01, 1})}));
}

TEST_F(Dispatch, SingleFrameAndOrphanTransfersCompleteNothing)
{
    feed(bytesOf({0x31, 0x04}) + QByteArray("<key>Near_Contrast</key><value>3</value>"), 1, 1);
    // A frame of a transfer whose opening frame was missed.
    feed(bytesOf({0x31, 0x01, 1}) + QByteArray("a.jpg\nb.jpg"), 3, 3);
    app->eventDispatcher()->waitForParsers();
    waitMs(30);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(settings()->options()->contrastForNear(), 19);
    EXPECT_TRUE(settings()->imageFileItemArray().isEmpty());
}

TEST_F(Dispatch, FileListsArriveInOrderAndAreAnnounced)
{
    QObject observer;
    QStringList announced;
    BrNotificationCenter::defaultCenter().observe("ImageFileListDownloaded", &observer, [&] { announced << "image"; });
    BrNotificationCenter::defaultCenter().observe("OCRFileListDownloaded", &observer, [&] { announced << "ocr"; });

    feed(bytesOf({0x31, 0x01, 1}), 3, 1);
    feed(bytesOf({0x31, 0x01, 1}) + QByteArray("IMG_0001.JPG\nIMG_00"), 3, 2);
    feed(bytesOf({0x31, 0x01, 1}) + QByteArray("02.JPG"), 3, 3);
    ASSERT_TRUE(waitFor([&] { return !sent.isEmpty(); }));
    ASSERT_EQ(settings()->imageFileItemArray().size(), 2);
    EXPECT_EQ(settings()->imageFileItemArray()[0].filePath, "Image/IMG_0001.JPG");
    // The terminator that closes the data is not part of the last name.
    EXPECT_EQ(settings()->imageFileItemArray()[1].fileName, "IMG_0002.JPG");
    EXPECT_EQ(announced, QStringList{"image"});
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x30, 0x01, 2})}));

    sent.clear();
    feed(bytesOf({0x31, 0x01, 2}), 2, 1);
    feed(bytesOf({0x31, 0x01, 2}) + QByteArray("page1.txt\n"), 2, 2);
    ASSERT_TRUE(waitFor([&] { return announced.size() == 2; }));
    EXPECT_EQ(announced, (QStringList{"image", "ocr"}));
    ASSERT_EQ(settings()->ocrFileItemArray().size(), 1);
    EXPECT_EQ(settings()->ocrFileItemArray()[0].filePath, "OCR/page1.txt");
    EXPECT_TRUE(sent.isEmpty());

    // Kinds other than 1 and 2 are ignored.
    feed(bytesOf({0x31, 0x01, 3}), 2, 1);
    feed(bytesOf({0x31, 0x01, 3}) + QByteArray("x.bin"), 2, 2);
    app->eventDispatcher()->waitForParsers();
    waitMs(20);
    EXPECT_EQ(announced.size(), 2);
}

TEST_F(Dispatch, DeleteResultClosesTheBoxAndRequestsOneList)
{
    bool boxSeen = false;
    std::function<void()> confirmWhenShown = [&] {
        if (!AppDelegate::instance()->deleteBox() || !AppDelegate::instance()->deleteBox()->isRunningModal()) {
            QMetaObject::invokeMethod(app.get(), confirmWhenShown, Qt::QueuedConnection);
            return;
        }
        boxSeen = true;
        feed(bytesOf({0x51, 0x00, 0}));
    };
    QMetaObject::invokeMethod(app.get(), confirmWhenShown, Qt::QueuedConnection);
    AppDelegate::instance()->showDeleteBox(); // returns when the confirmation closed it
    EXPECT_TRUE(boxSeen);
    EXPECT_EQ(AppDelegate::instance()->deleteBox(), nullptr);
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x30, 0x01, 1})}));
    EXPECT_TRUE(app->eventDispatcher()->fileListRequestPending());

    // A second confirmation before the list arrived asks for nothing more.
    report({0x51, 0x00, 1});
    EXPECT_EQ(sent.size(), 1);

    // Once the list has arrived, the next confirmation asks again.
    feed(bytesOf({0x31, 0x01, 1}), 2, 1);
    feed(bytesOf({0x31, 0x01, 1}) + QByteArray("a.jpg"), 2, 2);
    ASSERT_TRUE(waitFor([&] { return !app->eventDispatcher()->fileListRequestPending(); }));
    sent.clear();
    report({0x51, 0x00, 1});
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x30, 0x01, 2})}));
}

TEST_F(Dispatch, DeleteResultDuringAMultiFrameDeletionReleasesTheWorker)
{
    app->setDeletingFiles(true);
    report({0x51, 0x00, 0});
    EXPECT_EQ(app->semaphoreForDelete().available(), 1);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_FALSE(app->eventDispatcher()->fileListRequestPending());
    EXPECT_TRUE(app->semaphoreForDelete().tryAcquire(1, 0));
}

TEST_F(Dispatch, UnknownAndMalformedReportsAreIgnored)
{
    report({0x26, 0x7F, 1});
    report({0x26, 0x00});       // no value
    report({0x26});             // no command
    report({0x44, 0x00, 1});
    report({0x31, 0x01});       // no kind
    EXPECT_EQ(settings()->zoomLevel(), 0);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(app->stackUI().count(), 0);
}
