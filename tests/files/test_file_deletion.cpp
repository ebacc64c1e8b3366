// Deleting ticked files over several DeleteFiles frames, paced by the
// device's DeleteResult on the reading thread; a device that stops
// answering, and a browser closed while a deletion waits.
#include "FilesTestSupport.h"

#include "protocol/VizoCommands.h"

#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <thread>

namespace {

// Stands in for the reading thread: answers each DeleteFiles frame with a
// DeleteResult, up to `answers` of them.
struct DeviceThread
{
    std::atomic<bool> stop{false};
    std::atomic<int> answers{1 << 30};
    std::thread thread;

    void start(FilesFixture &f)
    {
        thread = std::thread([this, &f] {
            int answered = 0;
            while (!stop) {
                const int frames = int(f.sentOf(0x21, 0x03).size());
                while (answered < frames && answered < answers) {
                    ++answered;
                    f.app->eventDispatcher()->onPacket(bytesOf({0x51, 0x00, 0x00}), 1, 1);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    ~DeviceThread()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }
};

struct Deletion : FilesFixture
{
    ImageFilesController browser{*app};
    DeviceThread device;
    QStringList names;

    QList<FileListItem> &items() { return settings()->fileItemArray(VizoFileKind::Image); }

    // `count` long names; every third one stays.
    QStringList tickedPaths(int count)
    {
        for (int i = 0; i < count; ++i)
            names << QStringLiteral("holiday-%1-a-rather-long-file-name-to-fill-frames.jpg")
                         .arg(i, 4, 10, QChar('0'));
        setImages(names);
        open(browser);
        browser.enterDeleteMode();
        QStringList ticked;
        for (int i = 0; i < items().size(); ++i) {
            items()[i].checked = i % 3 != 0;
            if (items()[i].checked)
                ticked << items()[i].filePath;
        }
        browser.updateUI();
        return ticked;
    }
    // Runs `action` inside whatever modal loop is running once `done` holds.
    void when(std::function<bool()> done, std::function<void()> action)
    {
        QTimer::singleShot(5, app.get(), [this, done, action] {
            if (done())
                action();
            else
                when(done, action);
        });
    }
    QStringList pathsSent()
    {
        QStringList paths;
        for (const QByteArray &frame : sentOf(0x21, 0x03))
            paths += utf16Text(frame.mid(2)).split(QStringLiteral("::"));
        return paths;
    }
};

} // namespace

TEST_F(Deletion, FramesCarryEachPathOnceInListOrder)
{
    const QStringList ticked = tickedPaths(1500);
    device.start(*this);
    answerNextBox(true);
    browser.onDelete();
    // The ticked files left the list before the device said anything.
    EXPECT_EQ(items().size(), 500);
    EXPECT_EQ(browser.fileListViewController()->tableView()->model()->rowCount(), 500);
    for (const FileListItem &item : items())
        EXPECT_FALSE(item.checked);

    ASSERT_TRUE(waitFor([this] { return !sentOf(0x30, 0x01).isEmpty(); }, 20000));
    ASSERT_TRUE(waitFor([] { return AppDelegate::instance()->deleteBox() == nullptr; }));
    const QList<QByteArray> frames = sentOf(0x21, 0x03);
    EXPECT_GT(frames.size(), 2);
    for (const QByteArray &frame : frames)
        EXPECT_EQ(uchar(frame[0]) | uchar(frame[1]) << 8, ticked.size());
    EXPECT_EQ(pathsSent(), ticked);
    // One request for the new list, after the last frame's answer.
    EXPECT_EQ(sentOf(0x30, 0x01), QList<QByteArray>{QByteArray(1, '\x01')});
    EXPECT_FALSE(app->deletingFiles());
    EXPECT_FALSE(browser.deleteWorker().isRunning());
}

TEST_F(Deletion, SilentDeviceEndsTheDeletionAndTheListIsReadAgain)
{
    tickedPaths(1500);
    device.answers = 1;
    browser.deleteWorker().setAnswerTimeoutMs(300);
    device.start(*this);
    QString told;
    answerNextBox(true);
    answerNextBox(true, &told);
    browser.onDelete();
    ASSERT_TRUE(waitFor([&told] { return !told.isEmpty(); }, 10000));
    EXPECT_EQ(told, settings()->text("Messages", "Error.DeletionNotConfirmed"));
    EXPECT_TRUE(spoken().contains(told));
    // The first frame was answered, the second was not: nothing after it.
    EXPECT_EQ(sentOf(0x21, 0x03).size(), 2);
    EXPECT_EQ(sentOf(0x30, 0x01), QList<QByteArray>{QByteArray(1, '\x01')});
    EXPECT_EQ(AppDelegate::instance()->deleteBox(), nullptr);
    EXPECT_FALSE(app->deletingFiles());
    EXPECT_FALSE(browser.deleteWorker().isRunning());
}

TEST_F(Deletion, LastAnswerNeverComes)
{
    const QStringList ticked = tickedPaths(1500);
    const int frames = int(VizoCmd::deleteFilesPayloads(ticked)->size());
    ASSERT_GT(frames, 1);
    device.answers = frames - 1;
    browser.deleteWorker().setAnswerTimeoutMs(300);
    device.start(*this);
    QString told;
    answerNextBox(true);
    answerNextBox(true, &told);
    browser.onDelete();
    ASSERT_TRUE(waitFor([&told] { return !told.isEmpty(); }, 10000));
    // Every frame went out; the box did not wait for ever.
    EXPECT_EQ(sentOf(0x21, 0x03).size(), frames);
    EXPECT_EQ(pathsSent(), ticked);
    EXPECT_EQ(AppDelegate::instance()->deleteBox(), nullptr);
    EXPECT_EQ(sentOf(0x30, 0x01), QList<QByteArray>{QByteArray(1, '\x01')});
}

TEST_F(Deletion, ClosingTheBrowserWhileADeletionWaits)
{
    tickedPaths(1500);
    device.answers = 0; // silent; the default time-out is far away
    device.start(*this);
    answerNextBox(true);
    QElapsedTimer closing;
    qint64 closeMs = -1;
    when([this] { return !sentOf(0x21, 0x03).isEmpty() && AppDelegate::instance()->deleteBox(); },
         [&] {
             closing.start();
             browser.closeUI();
             closeMs = closing.elapsed();
         });
    browser.onDelete();
    ASSERT_TRUE(waitFor([&closeMs] { return closeMs >= 0; }, 10000));
    EXPECT_LT(closeMs, 2000);
    EXPECT_TRUE(browser.isClosed());
    EXPECT_FALSE(browser.deleteWorker().isRunning());
    EXPECT_FALSE(app->deletingFiles());
    EXPECT_EQ(sentOf(0x21, 0x03).size(), 1);
    // What the device holds is asked for again; the box is gone.
    EXPECT_EQ(sentOf(0x30, 0x01), QList<QByteArray>{QByteArray(1, '\x01')});
    EXPECT_EQ(AppDelegate::instance()->deleteBox(), nullptr);
}
