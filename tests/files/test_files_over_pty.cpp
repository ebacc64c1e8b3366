// The image browser against a device on a real pseudo-terminal, through the
// viewer's own serial channel (paced writes, reading thread, dispatcher):
// the list arrives, a file is opened and closed, and 3000 files with long
// names are deleted over several frames. The test plays the device: it
// keeps the card's list, answers each DeleteFiles frame with DeleteResult
// and sends the new list when asked.
#include "FilesTestSupport.h"

#include "core/ImageModeCaptureViewController.h"
#include "protocol/VizoCommands.h"
#include "protocol/VizoFrame.h"

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

struct PtyDevice
{
    int master = -1;
    QString slavePath;
    std::thread thread;
    std::atomic<bool> stop{false};

    std::mutex mutex;
    QStringList images; // the card, guarded by mutex
    QStringList opened;
    QStringList deleted;
    int deleteFrames = 0;
    int imageCloses = 0;

    PtyDevice()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        slavePath = QString::fromLocal8Bit(::ptsname(master));
    }
    ~PtyDevice()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
        if (master >= 0)
            ::close(master);
    }

    void send(const QByteArray &payload, int count = 1, int index = 1)
    {
        const QByteArray frame =
            VizoFrame::compose(payload, std::uint16_t(count), std::uint16_t(index));
        for (qsizetype at = 0; at < frame.size();) {
            const ssize_t n =
                ::write(master, frame.constData() + at, std::size_t(frame.size() - at));
            if (n <= 0)
                return;
            at += n;
        }
    }
    // A list as the device sends it: an opening frame, then the data.
    void sendList(int kind, const QStringList &names)
    {
        QByteArray data;
        for (const QString &name : names)
            data += name.toUtf8() + '\n';
        const QByteArray head = bytesOf({0x31, 0x01, kind});
        constexpr qsizetype chunk = 8000;
        const int dataFrames = std::max<int>(1, int((data.size() + chunk - 1) / chunk));
        send(head, dataFrames + 1, 1);
        for (int i = 0; i < dataFrames; ++i)
            send(head + data.mid(i * chunk, chunk), dataFrames + 1, i + 2);
    }

    void onPayload(const QByteArray &p)
    {
        const int group = uchar(p[0]), command = p.size() > 1 ? uchar(p[1]) : -1;
        if (group == 0x30 && command == 0x01 && p.size() > 2) {
            std::unique_lock guard(mutex);
            const QStringList names = p[2] == 1 ? images : QStringList();
            guard.unlock();
            sendList(p[2], names);
        } else if (group == 0x21 && command == 0x01) {
            std::lock_guard guard(mutex);
            opened << utf16Text(p.mid(2));
            send(bytesOf({0x26, 0x07, 0x01}));
        } else if (group == 0x21 && command == 0x02) {
            std::lock_guard guard(mutex);
            ++imageCloses;
            send(bytesOf({0x26, 0x07, 0x00}));
        } else if (group == 0x21 && command == 0x03) {
            std::lock_guard guard(mutex);
            ++deleteFrames;
            for (const QString &path : utf16Text(p.mid(4)).split(QStringLiteral("::"))) {
                deleted << path;
                images.removeOne(path.mid(int(qstrlen("Image/"))));
            }
            send(bytesOf({0x51, 0x00, 0x00}));
        }
    }

    void start()
    {
        thread = std::thread([this] {
            QByteArray buffer;
            while (!stop) {
                pollfd p{master, POLLIN, 0};
                if (::poll(&p, 1, 20) <= 0)
                    continue;
                char chunk[8192];
                const ssize_t n = ::read(master, chunk, sizeof chunk);
                if (n <= 0)
                    continue;
                buffer.append(chunk, qsizetype(n));
                for (;;) {
                    const qsizetype magic = buffer.indexOf("\xFC\xFC");
                    if (magic < 0) {
                        buffer.clear();
                        break;
                    }
                    buffer.remove(0, magic);
                    if (buffer.size() < qsizetype(VizoFrame::headerSize))
                        break;
                    const qsizetype size = qsizetype(uchar(buffer[8]) | uchar(buffer[9]) << 8) + 14;
                    if (buffer.size() < size)
                        break;
                    if (auto frame = VizoFrame::parse(buffer.left(size));
                        frame && frame->payload.size() >= 2)
                        onPayload(frame->payload);
                    buffer.remove(0, size);
                }
            }
        });
    }
};

struct OverPty : FilesFixture
{
    PtyDevice device;

    void SetUp() override
    {
        if (device.slavePath.isEmpty())
            GTEST_SKIP() << "no pseudo-terminal";
        CommandLineOptions options;
        options.port = device.slavePath;
        app = std::make_unique<AppDelegate>(options);
        app->setupModel();
        app->setPacketObserver([this](const QByteArray &payload) {
            std::lock_guard guard(lock);
            sentPayloads << payload;
        });
        app->setTerminateHandler([] {});
        device.start();
        ASSERT_TRUE(app->setupVizoProtocolChannel());
        // The browsers are opened from the menu.
        app->setMenuOpened(true);
    }
};

} // namespace

TEST_F(OverPty, BrowseOpenCloseAndDeleteThousandsOfFiles)
{
    QStringList names;
    for (int i = 0; i < 3000; ++i)
        names << QStringLiteral("%1 scanned page of a long report, kept.jpg")
                     .arg(i, 4, 10, QChar('0'));
    device.images = names;
    app->writeVizoPacket(VizoCmd::RequestFileList(std::uint8_t(1)).payload());
    QList<FileListItem> &items = settings()->fileItemArray(VizoFileKind::Image);
    ASSERT_TRUE(waitFor([&items] { return items.size() == 3000; }, 30000));

    ImageFilesController browser;
    open(browser);
    FileListViewController *list = browser.fileListViewController();
    ASSERT_TRUE(waitFor([list] { return list->curSelectedRow() == 0; }));
    key(list->tableView(), Qt::Key_Up);
    EXPECT_EQ(list->curSelectedRow(), 2999);
    EXPECT_EQ(spoken().last(), names.last());

    // Open the last file; the device's mode reports arm and close the window.
    std::function<void()> closeWhenArmed = [&] {
        auto *window = qobject_cast<ImageModeCaptureViewController *>(app->stackUI().top());
        if (!window || !window->isRunningModal() || settings()->vizoMode() != 2) {
            QMetaObject::invokeMethod(app.get(), closeWhenArmed, Qt::QueuedConnection);
            return;
        }
        window->quit();
    };
    QMetaObject::invokeMethod(app.get(), closeWhenArmed, Qt::QueuedConnection);
    key(list->tableView(), Qt::Key_Return);
    ASSERT_TRUE(waitFor(
        [this] {
            std::lock_guard guard(device.mutex);
            return device.imageCloses == 1;
        },
        10000));
    EXPECT_EQ(device.opened, QStringList{"Image/" + names.last()});
    EXPECT_EQ(settings()->vizoMode(), 0);

    // Delete all but every tenth file.
    browser.enterDeleteMode();
    QStringList kept;
    QStringList ticked;
    for (FileListItem &item : items) {
        item.checked = names.indexOf(item.fileName) % 10 != 0;
        (item.checked ? ticked : kept) << item.fileName;
    }
    browser.updateUI();
    answerNextBox(true);
    browser.onDelete();
    EXPECT_EQ(items.size(), kept.size());
    // The device's new list replaces the shown one (3000 long paths take
    // minutes on the paced link).
    ASSERT_TRUE(waitFor(
        [&] {
            std::lock_guard guard(device.mutex);
            return device.deleted.size() == ticked.size() && AppDelegate::deleteBox() == nullptr &&
                   !sentOf(0x30, 0x01).isEmpty() && items.size() == kept.size() &&
                   list->curSelectedRow() == 0;
        },
        400000));
    std::lock_guard guard(device.mutex);
    EXPECT_GT(device.deleteFrames, 2);
    QStringList tickedPaths;
    for (const QString &name : ticked)
        tickedPaths << "Image/" + name;
    EXPECT_EQ(device.deleted, tickedPaths);
    EXPECT_EQ(device.images, kept);
    QStringList shown;
    for (const FileListItem &item : items)
        shown << item.fileName;
    EXPECT_EQ(shown, kept);
    for (const FileListItem &item : items)
        EXPECT_FALSE(item.checkBoxHidden); // still in delete mode
    browser.closeUI();
}
