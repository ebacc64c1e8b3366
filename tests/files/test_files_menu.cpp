// The Files tree of the menu column: its rows by edition, and a browser
// opened from it with the keyboard handed over and given back.
#include "../menus/MenuTestSupport.h"

#include "files/ImageFilesController.h"
#include "menus/FilesMenu.h"

TEST_F(MenuColumn, FilesTreeOpensTheBrowsersOnSummitOnly)
{
    settings()->setVizoVersion(VizoSettings::Valley);
    menu->filesMenu()->makeMenu();
    EXPECT_TRUE(menu->filesMenu()->buildMenuTree()->isEmpty());

    open(VizoSettings::Summit, 1);
    ASSERT_NE(root(2), nullptr);
    EXPECT_EQ(labels(root(2)->menu()), (QStringList{"Images", "OCR texts", "Exit"}));
    menu->onArrowKey(-1); // wraps to the Files tab
    waitMs(30);
    ASSERT_EQ(menu->tabInFront(), 2);
    EXPECT_EQ(menu->selectedMenuItem(2), menu->filesMenu()->menuItemFiles_Image.get());

    bool browserHadKeys = false;
    std::function<void()> closeBrowser = [&] {
        auto *browser = qobject_cast<ImageFilesController *>(app->stackUI().top());
        if (!browser || !browser->isRunningModal()) {
            QMetaObject::invokeMethod(app.get(), closeBrowser, Qt::QueuedConnection);
            return;
        }
        browserHadKeys =
            app->disableHotKeys() && app->disableMouseGestures() && browser->enableHotKeyEsc();
        browser->closeUI();
    };
    QMetaObject::invokeMethod(app.get(), closeBrowser, Qt::QueuedConnection);
    key(Qt::Key_Return);
    EXPECT_TRUE(browserHadKeys);
    // The menu is back on top with the main window's input.
    EXPECT_EQ(app->stackUI().top(), menu);
    EXPECT_FALSE(app->disableHotKeys());
    EXPECT_FALSE(app->disableMouseGestures());
    EXPECT_EQ(settings()->vizoHotKeyMode(), 0);

    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_FALSE(app->menuOpened());
}
