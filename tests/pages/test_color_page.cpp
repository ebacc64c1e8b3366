// The colour slot page: the stepping rules, what reaches the device on OK,
// disable and cancel, and the keys.
#include "PageTestSupport.h"

#include "pages/ColorSettingController.h"
#include "pages/ColorStepping.h"
#include "pages/ColorSubPages.h"
#include "pages/VizoPages.h"

#include "kit/ArrowButton.h"
#include "kit/ClickableTextField.h"
#include "kit/YesNoMessageBoxController.h"

#include <QPushButton>

using namespace ColorStepping;

TEST(ColorStepping, SkipsTheOtherColourAndPairsGreyScale)
{
    // White on black: Next reaches red; Previous skips black, falls below the
    // first colour and lands on grey scale for both.
    EXPECT_EQ(nextLetter({3, 2}), (Pair{4, 2}));
    EXPECT_EQ(previousLetter({3, 2}), (Pair{10, 10}));
    // Yellow on black: Next is grey scale, and Next again black on white.
    EXPECT_EQ(nextLetter({9, 2}), (Pair{10, 10}));
    EXPECT_EQ(nextLetter({10, 10}), (Pair{2, 3}));
    EXPECT_EQ(previousLetter({10, 10}), (Pair{9, 3}));
    EXPECT_EQ(nextLetter({0, 0}), (Pair{2, 3}));
    // Black on white, background page: Previous skips black to grey scale.
    EXPECT_EQ(previousBackground({2, 3}), (Pair{10, 10}));
    EXPECT_EQ(nextBackground({2, 3}), (Pair{2, 4}));
    EXPECT_EQ(nextBackground({4, 3}), (Pair{4, 5}));
    EXPECT_EQ(nextBackground({10, 10}), (Pair{2, 3}));
    EXPECT_EQ(previousBackground({10, 10}), (Pair{2, 9}));
    // A full lap of Next never gives both the same colour except grey scale.
    Pair p{3, 2};
    for (int i = 0; i < 30; ++i) {
        p = nextLetter(p);
        EXPECT_TRUE(p.text != p.bg || p.text == 10) << p.text << "/" << p.bg;
        p = nextBackground(p);
        EXPECT_TRUE(p.text != p.bg || p.text == 10) << p.text << "/" << p.bg;
    }
}

struct ColorPage : PageFixture
{
    ColorSettingController page{*app};

    VizoColorSlot *slot(int view, int index)
    {
        return settings()->options()->colorModeForCameraMode(view)->slot(index);
    }
    void open(int view, int index)
    {
        page.setCameraMode(view);
        page.setColorSlotIndex(index);
        page.setColorSlot(slot(view, index));
        page.loadWindow();
    }
};

TEST_F(ColorPage, LetterThenBackgroundSendsOneSetColorSlot)
{
    settings()->setCameraMode(0);
    open(0, 1); // white on black
    EXPECT_TRUE(page.backgroundColorSetting()->isHidden());
    key(&page, Qt::Key_Right);                         // red on black
    key(&page, Qt::Key_Right, QEvent::KeyPress, true); // a repeat does nothing
    page.onReturnKeyDown();
    EXPECT_TRUE(page.letterColorSetting()->isHidden());
    EXPECT_FALSE(page.backgroundColorSetting()->isHidden());
    key(&page, Qt::Key_Right); // background black -> white
    EXPECT_TRUE(commands().isEmpty());
    page.onReturnKeyDown();
    EXPECT_TRUE(page.isClosed());
    // Distance slot 1 goes out as slot code 0.
    EXPECT_EQ(commands(), (QList<QByteArray>{bytesOf({0x05, 0x00, 4, 3})}));
    EXPECT_EQ(slot(0, 1)->textColor(), 4);
    EXPECT_EQ(slot(0, 1)->bgColor(), 3);
    // Opening, each step and the move to the background page are spoken.
    EXPECT_EQ(spoken().size(), 4);
}

TEST_F(ColorPage, GreyScaleConfirmsAtOnceAndNearSlotSevenIsCodeThirteen)
{
    slot(1, 7)->setTextColor(10);
    slot(1, 7)->setBgColor(10);
    open(1, 7);
    page.onReturnKeyDown();
    EXPECT_TRUE(page.isClosed());
    EXPECT_TRUE(page.backgroundColorSetting()->isHidden());
    EXPECT_EQ(commands(), (QList<QByteArray>{bytesOf({0x05, 13, 10, 10})}));
}

TEST_F(ColorPage, CancelFromEitherStepRestoresTheSlotAndSendsNothing)
{
    for (bool fromBackground : {false, true}) {
        ColorSettingController p{*AppDelegate::instance()};
        p.setCameraMode(1);
        p.setColorSlotIndex(4);
        p.setColorSlot(slot(1, 4));
        p.loadWindow();
        key(&p, Qt::Key_Left);
        key(&p, Qt::Key_Down);
        if (fromBackground) {
            p.onReturnKeyDown();
            key(&p, Qt::Key_Left);
            p.onBackspaceKeyDown();
        } else {
            p.onEscKeyDown();
        }
        EXPECT_TRUE(p.isClosed());
        EXPECT_EQ(slot(1, 4)->textColor(), 9);
        EXPECT_EQ(slot(1, 4)->bgColor(), 2);
        EXPECT_EQ(spoken().last(), message("TTS.Cancelled", "Cancelled"));
    }
    EXPECT_TRUE(commands().isEmpty());
}

TEST_F(ColorPage, DisableAsksFirstAndIsNotOfferedForSlotOneOrValley)
{
    open(1, 3);
    EXPECT_FALSE(page.letterColorSetting()->buttonUpArrow()->isHidden());
    answerNextBox(nullptr, [](ModalWindowController *box) { box->onEscKeyDown(); }); // No
    key(&page, Qt::Key_Up);
    EXPECT_FALSE(page.isClosed());
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_EQ(spoken().last(), message("ConfirmAlert.DisableColor", "Disable this color setting?"));

    QString asked;
    answerNextBox(&asked, [](ModalWindowController *box) {
        static_cast<YesNoMessageBoxController *>(box)->onYes();
    });
    page.letterColorSetting()->buttonDisable()->click();
    EXPECT_EQ(asked, spoken().last());
    EXPECT_TRUE(page.isClosed());
    EXPECT_EQ(commands(), (QList<QByteArray>{bytesOf({0x05, 9, 0, 0})}));

    ColorSettingController first{*AppDelegate::instance()};
    first.setColorSlotIndex(1);
    first.setColorSlot(slot(1, 1));
    first.loadWindow();
    EXPECT_TRUE(first.backgroundColorSetting()->buttonUpArrow()->isHidden());
    EXPECT_TRUE(first.letterColorSetting()->buttonDisable()->isHidden());
    key(&first, Qt::Key_Up);
    first.letterColorSetting()->onDisableButtonClicked();
    EXPECT_EQ(app->stackUI().top(), &first); // no question asked
    first.closeWindow();

    settings()->setVizoVersion(VizoSettings::Valley);
    ColorSettingController valley{*AppDelegate::instance()};
    valley.setColorSlotIndex(5);
    valley.setColorSlot(slot(1, 5));
    valley.loadWindow();
    EXPECT_TRUE(valley.letterColorSetting()->labelDisable()->isHidden());
    key(&valley, Qt::Key_Up);
    EXPECT_EQ(app->stackUI().top(), &valley);
    valley.closeWindow();
    EXPECT_EQ(commands().size(), 1);
}

TEST_F(ColorPage, ArrowsAndLabelsAreNamedAndTintedWithTheTextColour)
{
    open(1, 4); // yellow on black
    ColorSubPageController *letter = page.letterColorSetting();
    EXPECT_EQ(letter->buttonLeftArrow()->color(), QColor(Qt::yellow));
    EXPECT_FALSE(letter->text()->accessibleName().isEmpty());
    for (QWidget *w : letter->findChildren<QWidget *>())
        if (qobject_cast<QAbstractButton *>(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    EXPECT_EQ(letter->headerBackgroundView()->palette().color(QPalette::Window),
              QColor(26, 64, 122));
    page.closeWindow();
}

TEST_F(ColorPage, OpenedThroughTheEntryPointRunsModallyAndGivesInputBack)
{
    settings()->setCameraMode(0);
    int gestureModeWhileOpen = -1;
    bool keysOffWhileOpen = false;
    QMetaObject::invokeMethod(
        app.get(),
        [&] {
            auto *open = qobject_cast<ColorSettingController *>(app->stackUI().top());
            ASSERT_NE(open, nullptr);
            keysOffWhileOpen = app->disableHotKeys() && app->disableMouseGestures();
            gestureModeWhileOpen = settings()->vizoMouseGestureMode();
            key(open, Qt::Key_Right);
            open->onReturnKeyDown();
            open->onReturnKeyDown();
        },
        Qt::QueuedConnection);
    EXPECT_EQ(VizoPages::doColorSlotColorSetting(*AppDelegate::instance(), 0, 2), 2);
    EXPECT_TRUE(keysOffWhileOpen);
    EXPECT_EQ(gestureModeWhileOpen, 0);
    EXPECT_FALSE(app->disableHotKeys());
    EXPECT_FALSE(app->disableMouseGestures());
    // Black on white: Next skips white to red.
    EXPECT_EQ(commands(), (QList<QByteArray>{bytesOf({0x05, 0x01, 4, 3})}));
    // Slot 0 opens nothing.
    VizoPages::doColorSlotColorSetting(*AppDelegate::instance(), 0, 0);
    EXPECT_EQ(commands().size(), 1);
}
