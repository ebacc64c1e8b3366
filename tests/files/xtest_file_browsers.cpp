// The browsers in the running viewer on a real X server, with the virtual
// device: keyboard focus moving between the panes with real key presses,
// mouse clicks on rows and check boxes, a stored image opened full screen,
// and the accessible names. Screenshots land in the temporary folder.
#include "FilesTestSupport.h"

#include "kit/ImageModeCaptureViewController.h"
#include "sim/SimulatedDevice.h"
#include "files/FileBrowsers.h"
#include "files/FileListCellView.h"
#include "files/OCRFilesController.h"

#include <bramble/BrDispatch.h>
#include <trellis/TreeMenuTableView.h>
#include <trellis/TrellisController.h>

#include <QDir>
#include <QFrame>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

namespace {

void shot(const QString &name)
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(QDir::temp().filePath(name));
}

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// Steps run in order from a timer, inside whatever modal loop is running.
struct Script
{
    struct Step
    {
        QString name;
        std::function<bool()> ready;
        std::function<void()> action;
    };
    QList<Step> steps;
    int at = 0;
    QString failedAt;
    QTimer timer;

    void add(const QString &name, std::function<bool()> ready, std::function<void()> action)
    {
        steps << Step{name, std::move(ready), std::move(action)};
    }
    // Runs the steps; a step not ready within `stepMs` ends the script with
    // `giveUp` (which must close what is open).
    void start(int stepMs, std::function<void()> giveUp)
    {
        auto since = std::make_shared<QElapsedTimer>();
        since->start();
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this, since, stepMs, giveUp] {
            if (at >= steps.size()) {
                timer.stop();
                return;
            }
            if (steps[at].ready()) {
                since->restart();
                const int current = at++;
                // The action may run a modal loop; the timer goes on inside it.
                steps[current].action();
            } else if (since->elapsed() > stepMs) {
                failedAt = steps[at].name;
                timer.stop();
                giveUp();
            }
        });
        timer.start();
    }
};

struct BrowsersOnX11 : ::testing::Test
{
    QTemporaryDir runtimeDir;
    std::unique_ptr<AppDelegate> app;
    std::mutex lock;
    QStringList spokenTexts;

    void SetUp() override
    {
        if (!SimulatedDevice::isAvailable())
            GTEST_SKIP() << "this build has no virtual device";
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
        CommandLineOptions options;
        options.simulate = true;
        app = std::make_unique<AppDelegate>(options);
        app->setPacketObserver([this](const QByteArray &payload) {
            if (payload.startsWith(QByteArray("\x25\x06", 2))) {
                std::lock_guard guard(lock);
                spokenTexts << utf16Text(payload.mid(2));
            }
        });
        app->setTerminateHandler([] {});
        QObject guard;
        brPostMainAfter(
            30000, [] { AppDelegate::closeSplash(); }, &guard);
        ASSERT_TRUE(app->applicationDidFinishLaunching());
        ASSERT_TRUE(waitFor([] { return AppDelegate::instance()->settings()->ocrFileItemArray().size() > 0; },
                              20000));
        // As when the Files menu opened the browser.
        app->setMenuOpened(true);
    }
    void TearDown() override
    {
        app.reset();
        waitMs(10);
    }
    QStringList spoken()
    {
        std::lock_guard guard(lock);
        return spokenTexts;
    }
    template <typename T> T *top()
    {
        auto *window = qobject_cast<T *>(app->stackUI().top());
        return window && window->isRunningModal() ? window : nullptr;
    }
};

} // namespace

TEST_F(BrowsersOnX11, KeysMouseAndAnOpenedImage)
{
    FilesController *browser = nullptr;
    QStringList names;
    for (const FileListItem &item : AppDelegate::instance()->settings()->imageFileItemArray())
        names << item.fileName;
    ASSERT_GE(names.size(), 3);
    auto table = [&browser] { return browser->fileListViewController()->tableView(); };
    auto rowCenter = [&](int row) {
        return table()->viewport()->mapToGlobal(
            table()->visualRect(table()->model()->index(row, 0)).center());
    };
    auto click = [](QPoint global) {
        return xdotool(
            {"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1"});
    };
    auto menuTable = [](TrellisController *menu) {
        return static_cast<QWidget *>(menu->tableView());
    };

    Script script;
    bool imageShown = false;
    script.add(
        "browser up, keys in its menu",
        [&] {
            browser = top<FilesController>();
            return browser && browser->fileListViewController()->curSelectedRow() == 0 &&
                   QApplication::focusWidget() == menuTable(browser->menuControllerNormalMode());
        },
        [&] {
            shot("vizo-image-browser.png");
            EXPECT_EQ(browser->geometry(), QGuiApplication::primaryScreen()->availableGeometry());
            EXPECT_FALSE(table()->accessibleName().isEmpty());
            EXPECT_FALSE(browser->buttonOK()->accessibleName().isEmpty());
            EXPECT_TRUE(browser->menuViewContainerShadow()->isVisible());
            EXPECT_TRUE(xdotool({"key", "Right"}));
        });
    script.add(
        "Right gives the list the keys", [&] { return QApplication::focusWidget() == table(); },
        [&] {
            EXPECT_TRUE(browser->fileListViewContainerShadow()->isVisible());
            EXPECT_TRUE(xdotool({"key", "Down"}));
        });
    script.add(
        "Down speaks the next file", [&] { return spoken().last() == names[1]; },
        [&] { EXPECT_TRUE(click(rowCenter(2))); });
    script.add(
        "a click selects silently",
        [&] { return browser->fileListViewController()->curSelectedRow() == 2; },
        [&] {
            waitMs(100);
            EXPECT_FALSE(spoken().contains(names[2]));
            // A click on a file outside delete mode opens it.
            imageShown = false;
        });
    script.add(
        "the image window shows", [&] { return top<ImageModeCaptureViewController>() != nullptr; },
        [&] {
            waitMs(600);
            shot("vizo-image-opened.png");
            imageShown = true;
            top<ImageModeCaptureViewController>()->quit();
        });
    script.add(
        "back in the list",
        [&] { return top<FilesController>() == browser && QApplication::focusWidget() == table(); },
        [&] {
            EXPECT_EQ(AppDelegate::instance()->settings()->vizoMode(), 0);
            EXPECT_TRUE(xdotool({"key", "Left"}));
        });
    script.add(
        "Left gives the menu the keys",
        [&] {
            return QApplication::focusWidget() == menuTable(browser->menuControllerNormalMode());
        },
        [&] {
            EXPECT_TRUE(xdotool({"key", "Return"}));
        });
    script.add(
        "delete mode",
        [&] {
            return browser->isDeleteMode() &&
                   browser->fileListViewController()->curSelectedRow() == 0;
        },
        [&] {
            const QRect row = table()->visualRect(table()->model()->index(1, 0));
            const QRect box = browser->fileListViewController()->cellView()->checkBoxRect(row);
            EXPECT_TRUE(click(table()->viewport()->mapToGlobal(box.center())));
        });
    script.add(
        "a click on a check box ticks it",
        [&] { return AppDelegate::instance()->settings()->imageFileItemArray()[1].checked; },
        [&] {
            EXPECT_EQ(spoken().last(), "Selected");
            EXPECT_FALSE(browser->menuItemDelete()->disabled());
            waitMs(300);
            shot("vizo-image-browser-delete.png");
            browser->closeUI();
        });
    script.start(10000, [this] { app->closeAllUI(); });
    FileBrowsers::openImageFileBrowser(*AppDelegate::instance());
    EXPECT_TRUE(script.failedAt.isEmpty()) << "stuck at: " << script.failedAt.toStdString();
    EXPECT_TRUE(imageShown);
    // The main window has its input back.
    EXPECT_FALSE(app->disableHotKeys());
    EXPECT_EQ(AppDelegate::instance()->settings()->vizoHotKeyMode(), 0);

    Script ocr;
    ocr.add(
        "OCR browser up",
        [&] {
            auto *b = top<OCRFilesController>();
            return b && b->fileListViewController()->curSelectedRow() == 0;
        },
        [&] {
            waitMs(300);
            shot("vizo-ocr-browser.png");
            top<OCRFilesController>()->closeUI();
        });
    ocr.start(10000, [this] { app->closeAllUI(); });
    FileBrowsers::openOCRFileBrowser(*AppDelegate::instance());
    EXPECT_TRUE(ocr.failedAt.isEmpty()) << "stuck at: " << ocr.failedAt.toStdString();
}
