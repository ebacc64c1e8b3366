// The image browser driven by keys and menu items: what is spoken, what is
// sent, what the list shows.
#include "FilesTestSupport.h"

#include "kit/ImageModeCaptureViewController.h"
#include "settings/VizoFileListDelivery.h"

#include <bramble/BrNotificationCenter.h>
#include <trellis/TrellisController.h>

#include <QFrame>

namespace {

QByteArray utf16(const QString &s)
{
    return QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
}

struct Browser : FilesFixture
{
    ImageFilesController browser{*app};

    FileListTableView *table() { return browser.fileListViewController()->tableView(); }
    int row() { return browser.fileListViewController()->curSelectedRow(); }
    QList<FileListItem> &items() { return settings()->fileItemArray(VizoFileKind::Image); }
    // Chooses a menu item; the list then selects its first row again.
    void choose(TrellisItem *item)
    {
        item->eventItemClicked(item);
        waitFor([this] { return table()->model()->rowCount() == 0 || row() == 0; });
    }
    void openWith(const QStringList &names)
    {
        setImages(names);
        open(browser);
        if (!names.isEmpty()) {
            ASSERT_TRUE(waitFor([this] { return row() == 0; }));
        }
    }
};

} // namespace

TEST_F(Browser, OpensSpeaksEachFileAndWrapsAround)
{
    openWith({"a.jpg", "b.jpg", "c.jpg"});
    EXPECT_EQ(browser.labelHeader()->text(), "Images");
    EXPECT_EQ(spoken().first(), " ");
    EXPECT_EQ(spoken().last(), "a.jpg");
    EXPECT_EQ(table()->model()->rowCount(), 3);

    key(table(), Qt::Key_Up);
    EXPECT_EQ(row(), 2);
    EXPECT_EQ(spoken().last(), "c.jpg");
    key(table(), Qt::Key_Down);
    EXPECT_EQ(row(), 0);
    key(table(), Qt::Key_Down);
    EXPECT_EQ(row(), 1);
    EXPECT_EQ(spoken().last(), "b.jpg");

    // Left and Right move the focus mark between the panes.
    key(table(), Qt::Key_Left);
    EXPECT_TRUE(browser.menuViewContainerShadow()->isVisible());
    EXPECT_FALSE(browser.fileListViewContainerShadow()->isVisible());
    key(table(), Qt::Key_Right);
    EXPECT_FALSE(browser.menuViewContainerShadow()->isVisible());
    EXPECT_TRUE(browser.fileListViewContainerShadow()->isVisible());

    browser.closeUI();
    EXPECT_TRUE(browser.isClosed());
    EXPECT_EQ(spoken().last(), " ");
    EXPECT_FALSE(app->stackUI().contains(&browser));
}

TEST_F(Browser, ReturnOpensTheFileAndClosesItAfterwards)
{
    openWith({"a.jpg", "b b.jpg"});
    key(table(), Qt::Key_Down);
    clearSent();
    QList<QByteArray> whileOpen;
    std::function<void()> closeWindow = [&] {
        auto *window = qobject_cast<ImageModeCaptureViewController *>(app->stackUI().top());
        // The open command goes out once the window runs.
        if (!window || !window->isRunningModal() || sentOf(0x21, 0x01).isEmpty()) {
            QMetaObject::invokeMethod(app.get(), closeWindow, Qt::QueuedConnection);
            return;
        }
        whileOpen = sent();
        window->quit();
    };
    QMetaObject::invokeMethod(app.get(), closeWindow, Qt::QueuedConnection);
    key(table(), Qt::Key_Return);

    ASSERT_FALSE(whileOpen.isEmpty());
    EXPECT_TRUE(whileOpen.contains(QByteArray("\x21\x01", 2) + utf16("Image/b b.jpg")));
    const QList<QByteArray> after = sent().mid(whileOpen.size());
    EXPECT_TRUE(after.contains(QByteArray("\x21\x02", 2)));
    EXPECT_EQ(settings()->vizoMode(), 0);
    // The browser keeps the main window's input off.
    EXPECT_TRUE(app->disableHotKeys());
    EXPECT_TRUE(app->disableMouseGestures());
    EXPECT_EQ(app->stackUI().top(), &browser);
}

TEST_F(Browser, DeleteModeTicksInsteadOfOpening)
{
    openWith({"a.jpg", "b.jpg", "c.jpg"});
    choose(browser.menuItemDeleteMode());
    ASSERT_TRUE(browser.isDeleteMode());
    EXPECT_TRUE(browser.menuControllerDeleteMode()->isVisible());
    EXPECT_FALSE(browser.menuControllerNormalMode()->isVisible());
    for (const FileListItem &item : items())
        EXPECT_FALSE(item.checkBoxHidden);
    EXPECT_TRUE(browser.menuItemDelete()->disabled());
    EXPECT_EQ(browser.menuItemSelectAll()->labelText(), "Select all");

    clearSent();
    key(table(), Qt::Key_Return);
    EXPECT_TRUE(items()[0].checked);
    EXPECT_EQ(spoken().last(), "Selected");
    EXPECT_FALSE(browser.menuItemDelete()->disabled());
    key(table(), Qt::Key_Return, true); // a held key does not tick again
    EXPECT_TRUE(items()[0].checked);
    key(table(), Qt::Key_Space);
    EXPECT_FALSE(items()[0].checked);
    EXPECT_EQ(spoken().last(), "Cancelled");
    EXPECT_TRUE(browser.menuItemDelete()->disabled());
    EXPECT_TRUE(sentOf(0x21, 0x01).isEmpty());

    // Select all, then the same item clears.
    choose(browser.menuItemSelectAll());
    EXPECT_EQ(browser.getCheckedFileItemCount(), 3);
    EXPECT_EQ(browser.menuItemSelectAll()->labelText(), "Clear selection");
    EXPECT_TRUE(spoken().contains("Select all"));
    choose(browser.menuItemSelectAll());
    EXPECT_EQ(browser.getCheckedFileItemCount(), 0);
    EXPECT_EQ(browser.menuItemSelectAll()->labelText(), "Select all");

    // Ticks outlive delete mode; the boxes do not.
    items()[1].checked = true;
    choose(browser.menuItemFinishDeleteMode());
    EXPECT_FALSE(browser.isDeleteMode());
    EXPECT_TRUE(items()[1].checked);
    EXPECT_TRUE(items()[1].checkBoxHidden);

    // A list arriving in delete mode shows fresh, unticked boxes.
    choose(browser.menuItemDeleteMode());
    VizoFileListDelivery::deliver(*settings(), VizoFileKind::Image, QStringList{"x.jpg", "y.jpg"},
                                  BrNotificationCenter::defaultCenter());
    EXPECT_EQ(table()->model()->rowCount(), 2);
    for (const FileListItem &item : items()) {
        EXPECT_FALSE(item.checkBoxHidden);
        EXPECT_FALSE(item.checked);
    }
    // Closing leaves delete mode first.
    browser.closeUI();
    EXPECT_FALSE(browser.isDeleteMode());
    EXPECT_TRUE(items()[0].checkBoxHidden);
}

TEST_F(Browser, EmptyListAndAnsweringNo)
{
    openWith({});
    choose(browser.menuItemDeleteMode());
    waitMs(20);
    EXPECT_EQ(table()->model()->rowCount(), 0);
    clearSent();
    key(table(), Qt::Key_Return);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(browser.menuItemSelectAll()->labelText(), "Select all");
    EXPECT_TRUE(browser.menuItemDelete()->disabled());

    VizoFileListDelivery::deliver(*settings(), VizoFileKind::Image, QStringList{"a.jpg", "b.jpg"},
                                  BrNotificationCenter::defaultCenter());
    waitFor([this] { return row() == 0; });
    items()[0].checked = true;
    browser.updateUI();
    const QList<FileListItem> before = items();
    clearSent();
    answerNextBox(false);
    browser.onDelete();
    EXPECT_EQ(spoken(), QStringList{"Delete the selected files?"});
    EXPECT_TRUE(sentOf(0x21, 0x03).isEmpty());
    EXPECT_EQ(items(), before);
    EXPECT_EQ(table()->model()->rowCount(), 2);
}

// The browser's own refusals come from the text tables and are spoken as
// well as shown: a user who cannot see the box still hears why.
TEST_F(Browser, OwnRefusalsAreShownAndSpoken)
{
    QStringList tooMany;
    for (int i = 0; i <= 0xFFFF; ++i)
        tooMany << QStringLiteral("%1.jpg").arg(i);
    const struct
    {
        const char *key;
        QStringList names;
        bool deleting;
    } rows[] = {
        // The device's field holds 64 characters of path.
        {"Error.FileNameTooLong", {QString(70, QLatin1Char('n')) + QStringLiteral(".jpg")}, false},
        {"Error.TooManyFilesToDelete", tooMany, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.key);
        ImageFilesController b{*AppDelegate::instance()};
        setImages(row.names);
        open(b);
        ASSERT_TRUE(waitFor([&] { return b.fileListViewController()->curSelectedRow() == 0; }));
        clearSent();
        QString told;
        if (row.deleting) {
            b.enterDeleteMode();
            for (FileListItem &item : items())
                item.checked = true;
            answerNextBox(true);
        }
        answerNextBox(true, &told);
        if (row.deleting)
            b.onDelete();
        else
            key(b.fileListViewController()->tableView(), Qt::Key_Return);
        const QString text = settings()->text("Messages", row.key);
        ASSERT_FALSE(text.isEmpty());
        EXPECT_EQ(told, text);
        EXPECT_TRUE(spoken().contains(text)) << spoken().join('|').toStdString();
        EXPECT_TRUE(sentOf(0x21, 0x03).isEmpty());
        b.closeUI();
    }
}
