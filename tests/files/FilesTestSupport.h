#pragma once
// A delegate without a device, and a browser on it: what the viewer sends
// is recorded (from any thread: the deletion's frames go out on a worker).
#include "../core/AppTestSupport.h"

#include "kit/MessageBoxController.h"
#include "kit/YesNoMessageBoxController.h"
#include "settings/FileListItem.h"
#include "files/FileListTableView.h"
#include "files/FileListViewController.h"
#include "files/ImageFilesController.h"

#include <QApplication>
#include <QKeyEvent>

#include <mutex>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline QString utf16Text(const QByteArray &bytes)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                              bytes.size() / 2);
}

struct FilesFixture : ::testing::Test
{
    std::mutex lock;
    QList<QByteArray> sentPayloads;
    // Made with the fixture, so that windows the fixture holds can be
    // handed it; it goes before what its last words are recorded in.
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();

    void SetUp() override
    {
        app->setupModel();
        app->setPacketWriter([this](const QByteArray &payload) {
            std::lock_guard guard(lock);
            sentPayloads << payload;
        });
        app->setTerminateHandler([] {});
    }
    void TearDown() override
    {
        app->eventDispatcher()->waitForParsers();
        waitMs(10);
        // The delegate goes with the fixture, after the windows a derived
        // fixture holds.
    }

    VizoSettings *settings() { return AppDelegate::instance()->settings(); }

    // A list of its own, made under the lock: a shared copy would let the
    // delete worker's next append reallocate the block this thread still
    // holds.
    QList<QByteArray> sent()
    {
        std::lock_guard guard(lock);
        QList<QByteArray> copy;
        copy.reserve(sentPayloads.size());
        for (const QByteArray &p : sentPayloads)
            copy.append(p);
        return copy;
    }
    void clearSent()
    {
        std::lock_guard guard(lock);
        sentPayloads.clear();
    }
    // The payloads of group `group` and command `command`, without those
    // two bytes.
    QList<QByteArray> sentOf(int group, int command)
    {
        QList<QByteArray> out;
        for (const QByteArray &p : sent())
            if (p.size() >= 2 && uchar(p[0]) == group && uchar(p[1]) == command)
                out << p.mid(2);
        return out;
    }
    QStringList spoken()
    {
        QStringList out;
        for (const QByteArray &p : sentOf(0x25, 0x06))
            out << utf16Text(p);
        return out;
    }

    void setImages(const QStringList &names) { settings()->applyImageFileList(names); }

    // Shows the browser without a modal run of its own.
    void open(FilesController &browser)
    {
        browser.loadWindow();
        browser.show();
        waitMs(20);
    }

    static void key(QWidget *target, int k, bool autoRepeat = false)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(target, &press);
    }

    // Answers the next modal box as soon as it runs: `yes` for a yes/no box.
    void answerNextBox(bool yes, QString *text = nullptr)
    {
        QMetaObject::invokeMethod(
            app.get(),
            [this, yes, text] {
                QObject *top = app->stackUI().top();
                auto *box = qobject_cast<ModalWindowController *>(top);
                const bool isBox =
                    qobject_cast<YesNoMessageBoxController *>(top) ||
                    (qobject_cast<MessageBoxController *>(top) && top != AppDelegate::instance()->deleteBox());
                if (!box || !isBox || !box->isRunningModal()) {
                    answerNextBox(yes, text);
                    return;
                }
                if (text)
                    if (auto *label = box->findChild<QLabel *>(QStringLiteral("labelMessage")))
                        *text = label->text();
                if (auto *question = qobject_cast<YesNoMessageBoxController *>(top))
                    yes ? question->onYes() : question->onNo();
                else
                    box->onReturnKeyDown();
            },
            Qt::QueuedConnection);
    }
};
