// The modal window base class and the message boxes: loading and closing,
// the keys, the flags a box restores, the delete box slot.
#include "AppTestSupport.h"

#include "kit/MessageBoxController.h"
#include "kit/SplashController.h"
#include "kit/YesNoMessageBoxController.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrHotKey.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

using BoxTest = AppFixture;

namespace {
void press(QWidget *w, int key, bool autoRepeat = false)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
    QCoreApplication::sendEvent(w, &event);
}
} // namespace

TEST_F(BoxTest, LoadingPushesClosingPopsAndGivesTheCaptureViewBack)
{
    withWindow();
    QWidget *container = app->captureViewContainer();
    auto *picture = new QWidget(container);
    picture->setGeometry(container->rect());

    RecordingWindow window;
    window.setCaptureView(picture);
    auto *elsewhere = new QWidget(&window);
    window.loadWindow();
    EXPECT_EQ(app->stackUI().top(), &window);
    EXPECT_EQ(window.captureViewParent(), container);
    EXPECT_EQ(window.enableHotKeysCalls, 1);
    // The window takes the picture, as the capture windows do.
    picture->setParent(elsewhere);
    picture->setGeometry(5, 5, 10, 10);

    window.closeWindow();
    EXPECT_EQ(app->stackUI().count(), 0);
    EXPECT_EQ(picture->parentWidget(), container);
    EXPECT_EQ(picture->geometry(), container->rect());
    EXPECT_FALSE(window.enableHotKeyReturn());
    // Closing twice is harmless.
    window.closeWindow();
    EXPECT_EQ(app->stackUI().count(), 0);
}

TEST_F(BoxTest, ClosingAWindowBelowTheTopRemovesThatWindowOnly)
{
    RecordingWindow lower, upper;
    lower.loadWindow();
    upper.loadWindow();
    lower.closeWindow();
    ASSERT_EQ(app->stackUI().count(), 1);
    EXPECT_EQ(app->stackUI().top(), &upper);
    upper.closeWindow();
}

TEST_F(BoxTest, RunModalKeepsHandlingPostedWorkAndReturnsAtClose)
{
    RecordingWindow window;
    int handled = 0;
    brPostMain([&] { ++handled; });
    brPostMainAfter(30, [&] {
        ++handled;
        window.closeWindow();
    });
    window.runModal();
    EXPECT_EQ(handled, 2);
    EXPECT_TRUE(window.isClosed());

    // A window closed before it ran does not block.
    RecordingWindow early;
    early.closeWindow();
    early.runModal();
    EXPECT_TRUE(early.isClosed());
}

TEST_F(BoxTest, BoxCoversTheAvailableAreaWithTheBoxCentredAndScaled)
{
    MessageBoxController box{*AppDelegate::instance()};
    box.setMessage("Hello");
    box.loadWindow();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(box.geometry(), available);
    const double scale = AppDelegate::instance()->scaleFactor();
    ASSERT_GT(scale, 0);
    const QRect content = box.contentView()->geometry();
    EXPECT_NEAR(content.width(), MessageBoxController::kDesignWidth * scale, 1);
    EXPECT_NEAR(content.height(), MessageBoxController::kDesignHeight * scale, 1);
    EXPECT_NEAR(content.x(), (available.width() - content.width()) / 2, 1);
    EXPECT_NEAR(content.y(), (available.height() - content.height()) / 2, 1);
    EXPECT_EQ(box.labelMessage()->text(), "Hello");
    box.closeWindow();
}

TEST_F(BoxTest, OneButtonBoxClosesOnceAndIgnoresRepeats)
{
    MessageBoxController box{*AppDelegate::instance()};
    int closed = 0;
    QObject::connect(&box, &ModalWindowController::windowClosed, [&] { ++closed; });
    box.loadWindow();
    EXPECT_TRUE(box.enableHotKeyReturn());
    EXPECT_TRUE(box.enableHotKeyEsc());
    EXPECT_FALSE(box.enableHotKeyBackspace());
    // A held Esc: the repeats alone do nothing, the press closes.
    box.hotKeyEsc()->eventKeyDown()(true);
    EXPECT_FALSE(box.isClosed());
    box.hotKeyEsc()->eventKeyDown()(false);
    box.hotKeyEsc()->eventKeyDown()(true);
    box.hotKeyEsc()->eventKeyDown()(true);
    EXPECT_TRUE(box.isClosed());
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(box.hotKeyEsc()->enabled());
}

TEST_F(BoxTest, ButtonlessBoxHidesItsButtonAndFocusMark)
{
    MessageBoxController box{*AppDelegate::instance()};
    box.setButtonVisible(false);
    box.loadWindow();
    EXPECT_TRUE(box.buttonOK()->isHidden());
    EXPECT_TRUE(box.focusViewForYesButton()->isHidden());
    box.closeWindow();
}

TEST_F(BoxTest, YesNoKeysMoveTheFocusAndReturnAnswersIt)
{
    YesNoMessageBoxController box{*AppDelegate::instance()};
    box.loadWindow();
    const bool yesAtFirst = !box.focusViewForYesButton()->isHidden();
    EXPECT_NE(yesAtFirst, !box.focusViewForNoButton()->isHidden());
    press(&box, Qt::Key_Tab);
    EXPECT_EQ(!box.focusViewForYesButton()->isHidden(), !yesAtFirst);
    press(&box, Qt::Key_Tab);
    EXPECT_EQ(!box.focusViewForYesButton()->isHidden(), yesAtFirst);
    // Repeats are ignored.
    press(&box, Qt::Key_Tab, true);
    EXPECT_EQ(!box.focusViewForYesButton()->isHidden(), yesAtFirst);

    press(&box, Qt::Key_Left);
    EXPECT_FALSE(box.focusViewForYesButton()->isHidden());
    EXPECT_TRUE(box.focusViewForNoButton()->isHidden());
    press(&box, Qt::Key_Right);
    EXPECT_TRUE(box.focusViewForYesButton()->isHidden());
    EXPECT_FALSE(box.focusViewForNoButton()->isHidden());
    // The focused button is drawn at 0.6, the other at full strength.
    EXPECT_EQ(box.buttonYes()->graphicsEffect(), nullptr);
    EXPECT_NE(box.buttonNo()->graphicsEffect(), nullptr);
    press(&box, Qt::Key_A);
    EXPECT_TRUE(box.focusViewForYesButton()->isHidden());

    box.hotKeyReturn()->eventKeyDown()(false);
    EXPECT_TRUE(box.isClosed());
    EXPECT_FALSE(box.isYesClicked());
}

TEST_F(BoxTest, YesNoReturnOnYesAndEscAnswersNo)
{
    {
        YesNoMessageBoxController box{*AppDelegate::instance()};
        box.loadWindow();
        press(&box, Qt::Key_Left);
        box.onReturnKeyDown();
        EXPECT_TRUE(box.isYesClicked());
    }
    {
        YesNoMessageBoxController box{*AppDelegate::instance()};
        box.loadWindow();
        press(&box, Qt::Key_Left);
        box.onEscKeyDown();
        EXPECT_FALSE(box.isYesClicked());
        EXPECT_TRUE(box.isClosed());
    }
}

TEST_F(BoxTest, ShowMessageBoxOverTheMenuGivesTheMainKeysBack)
{
    withWindow();
    settings()->setVizoVersion(0);
    app->openMenu();
    ASSERT_EQ(app->stackUI().top(), app->menuController());
    bool disabledWhileUp = false;
    answerNextBox(nullptr, [&](ModalWindowController *box) {
        disabledWhileUp = app->disableHotKeys();
        box->onReturnKeyDown();
    });
    AppDelegate::instance()->showMessageBox("Menu box");
    EXPECT_TRUE(disabledWhileUp);
    EXPECT_FALSE(app->disableHotKeys());
    EXPECT_EQ(app->stackUI().top(), app->menuController());
}

TEST_F(BoxTest, ShowMessageBoxOverAPageGivesThePageItsKeys)
{
    RecordingWindow page;
    page.loadWindow();
    const int before = page.enableHotKeysCalls;
    answerNextBox(nullptr);
    AppDelegate::instance()->showMessageBox("Page box");
    EXPECT_TRUE(app->disableHotKeys());
    EXPECT_EQ(page.enableHotKeysCalls, before + 1);
    EXPECT_EQ(app->stackUI().top(), &page);
    page.closeWindow();
}

TEST_F(BoxTest, YesNoBoxReturnsTheAnswerAndUsesTheLanguageLabels)
{
    QString yesLabel;
    answerNextBox(nullptr, [&](ModalWindowController *box) {
        auto *yn = static_cast<YesNoMessageBoxController *>(box);
        yesLabel = yn->buttonYes()->text();
        yn->onYes();
    });
    EXPECT_TRUE(AppDelegate::instance()->showYesNoMessageBox("Sure?"));
    EXPECT_EQ(yesLabel, AppDelegate::instance()->languageString("Messages", "ConfirmAlert.Yes", "Yes"));
    answerNextBox(nullptr, [](ModalWindowController *box) { box->onEscKeyDown(); });
    EXPECT_FALSE(AppDelegate::instance()->showYesNoMessageBox("Sure?"));
}

TEST_F(BoxTest, SecondDeleteBoxReplacesTheFirstInTheSlot)
{
    MessageBoxController *first = nullptr;
    MessageBoxController *second = nullptr;
    bool firstStillOpen = false;
    QMetaObject::invokeMethod(app.get(), [&] {
        first = AppDelegate::instance()->deleteBox();
        QMetaObject::invokeMethod(app.get(), [&] {
            second = AppDelegate::instance()->deleteBox();
            AppDelegate::instance()->closeDeleteBox();
            firstStillOpen = first && !first->isClosed();
            AppDelegate::instance()->closeDeleteBox(); // the slot is empty now: nothing
            // Esc closes the first box.
            if (first)
                first->onEscKeyDown();
        }, Qt::QueuedConnection);
        AppDelegate::instance()->showDeleteBox();
    }, Qt::QueuedConnection);
    AppDelegate::instance()->showDeleteBox();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_TRUE(firstStillOpen);
    EXPECT_EQ(AppDelegate::instance()->deleteBox(), nullptr);
    EXPECT_EQ(app->stackUI().count(), 0);
}
