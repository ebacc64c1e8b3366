// The image browser against the virtual device on a real pseudo-terminal,
// through the viewer's own serial channel (paced writes, reading thread,
// dispatcher): the list arrives, a file is opened and closed, and 3000 files
// with long names are deleted over several frames; then the device's card
// and the shown list must both hold exactly the files that were kept.
#include "FilesTestSupport.h"

#include "kit/ImageModeCaptureViewController.h"
#include "sim/VizoSimulator.h"

#include <bramble/BrNotificationCenter.h>

namespace {

struct OverPty : FilesFixture
{
    std::unique_ptr<VizoSimulator> device;

    void SetUp() override
    {
        VizoSimState card;
        card.fillCard(3000, 2, 40);
        device = std::make_unique<VizoSimulator>(card);
        QString error;
        if (!device->openPort(&error))
            GTEST_SKIP() << "no pseudo-terminal: " << error.toStdString();
        device->start();
        CommandLineOptions options;
        options.port = device->portPath();
        app = std::make_unique<AppDelegate>(options);
        app->setupModel();
        app->setPacketObserver([this](const QByteArray &payload) {
            std::lock_guard guard(lock);
            sentPayloads << payload;
        });
        app->setTerminateHandler([] {});
        // The device reports its edition, the option file follows, then the
        // image list and the OCR list.
        ASSERT_TRUE(app->setupVizoProtocolChannel());
        // The browsers are opened from the menu.
        app->setMenuOpened(true);
    }
    void TearDown() override
    {
        if (app)
            FilesFixture::TearDown();
        if (device)
            device->stop();
    }
};

} // namespace

TEST_F(OverPty, BrowseOpenCloseAndDeleteThousandsOfFiles)
{
    const QStringList names = device->device().state().images;
    ASSERT_EQ(names.size(), 3000);
    QList<FileListItem> &items = settings()->fileItemArray(VizoFileKind::Image);
    int imageLists = 0;
    QObject observer;
    BrNotificationCenter::defaultCenter().observe("ImageFileListDownloaded", &observer,
                                                  [&imageLists] { ++imageLists; });
    // A paced list of 3000 long names takes a minute or more.
    ASSERT_TRUE(waitFor([this] { return settings()->ocrFileItemArray().size() == 2; }, 240000));
    ASSERT_EQ(items.size(), 3000);

    ImageFilesController browser{*AppDelegate::instance()};
    open(browser);
    FileListViewController *list = browser.fileListViewController();
    ASSERT_TRUE(waitFor([list] { return list->curSelectedRow() == 0; }));
    key(list->tableView(), Qt::Key_Up);
    EXPECT_EQ(list->curSelectedRow(), 2999);
    EXPECT_EQ(spoken().last(), items.last().fileName);

    // Open the last file; the device's mode reports arm the window.
    std::function<void()> closeWhenArmed = [&] {
        auto *window = qobject_cast<ImageModeCaptureViewController *>(app->stackUI().top());
        if (!window || !window->isRunningModal() || settings()->vizoMode() != 2) {
            QMetaObject::invokeMethod(app.get(), closeWhenArmed, Qt::QueuedConnection);
            return;
        }
        EXPECT_EQ(device->device().state().openFile, items.last().filePath);
        window->quit();
    };
    QMetaObject::invokeMethod(app.get(), closeWhenArmed, Qt::QueuedConnection);
    key(list->tableView(), Qt::Key_Return);
    ASSERT_TRUE(waitFor([this] { return device->device().state().openFile.isEmpty(); }, 10000));
    EXPECT_EQ(settings()->vizoMode(), 0);

    // Delete all but every tenth file.
    browser.enterDeleteMode();
    QStringList kept;
    for (int i = 0; i < items.size(); ++i) {
        items[i].checked = i % 10 != 0;
        if (!items[i].checked)
            kept << items[i].fileName;
    }
    browser.updateUI();
    answerNextBox(true);
    browser.onDelete();
    EXPECT_EQ(items.size(), kept.size());
    // Thousands of long paths take minutes on the paced link; the device's
    // new list then replaces the shown one.
    ASSERT_TRUE(waitFor(
        [&] {
            return imageLists == 2 && AppDelegate::instance()->deleteBox() == nullptr &&
                   list->curSelectedRow() == 0;
        },
        400000));
    EXPECT_GT(sentOf(0x21, 0x03).size(), 2);
    EXPECT_EQ(device->device().state().images, kept);
    QStringList shown;
    for (const FileListItem &item : items)
        shown << item.fileName;
    EXPECT_EQ(shown, kept);
    for (const FileListItem &item : items)
        EXPECT_FALSE(item.checkBoxHidden); // still in delete mode
    browser.closeUI();
}
