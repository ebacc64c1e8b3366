// Named notifications: delivery order, removal, observers that die, and
// posting from another thread.
#include "TestWait.h"
#include <bramble/BrNotificationCenter.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

TEST(NotificationCenter, DeliversByNameInOrder)
{
    BrNotificationCenter center;
    QObject a, b;
    QStringList calls;
    center.observe("ImageFileListDownloaded", &a, [&] { calls << "a1"; });
    center.observe("OCRFileListDownloaded", &a, [&] { calls << "a-ocr"; });
    center.observe("ImageFileListDownloaded", &b, [&] { calls << "b1"; });
    center.post("ImageFileListDownloaded");
    EXPECT_EQ(calls, (QStringList{"a1", "b1"}));
    center.post("Nobody");
    EXPECT_EQ(calls.size(), 2);

    center.removeObserver("ImageFileListDownloaded", &a);
    calls.clear();
    center.post("ImageFileListDownloaded");
    center.post("OCRFileListDownloaded");
    EXPECT_EQ(calls, (QStringList{"b1", "a-ocr"}));
    center.removeObserver(&a);
    EXPECT_EQ(center.observerCount("OCRFileListDownloaded"), 0);
}

TEST(NotificationCenter, DeadContextsAreForgotten)
{
    BrNotificationCenter center;
    int calls = 0;
    auto window = std::make_unique<QObject>();
    center.observe("N", window.get(), [&] { ++calls; });
    EXPECT_EQ(center.observerCount("N"), 1);
    window.reset();
    EXPECT_EQ(center.observerCount("N"), 0);
    center.post("N");
    EXPECT_EQ(calls, 0);
    center.observe("N", nullptr, [&] { ++calls; }); // refused: no owner to end it
    EXPECT_EQ(center.observerCount("N"), 0);
}

TEST(NotificationCenter, ObserversMayChangeTheListWhileCalled)
{
    BrNotificationCenter center;
    auto first = std::make_unique<QObject>();
    QObject second, late;
    QStringList calls;
    // The first observer destroys the second's context and adds a new one.
    center.observe("N", first.get(), [&] {
        calls << "first";
        center.removeObserver(&second);
        center.observe("N", &late, [&] { calls << "late"; });
    });
    center.observe("N", &second, [&] { calls << "second"; });
    center.post("N");
    EXPECT_EQ(calls, QStringList{"first"});
    // A window that closes itself from its own observer.
    calls.clear();
    center.observe("M", first.get(), [&] {
        calls << "closing";
        first.reset();
    });
    center.post("M");
    EXPECT_EQ(calls, QStringList{"closing"});
    calls.clear();
    center.post("N");
    EXPECT_EQ(calls, QStringList{"late"});
}

TEST(NotificationCenter, PostFromAnotherThreadRunsOnTheMainThread)
{
    BrNotificationCenter center;
    QObject observer;
    QThread *ranOn = nullptr;
    center.observe("N", &observer, [&] { ranOn = QThread::currentThread(); });
    std::unique_ptr<QThread> worker(QThread::create([&] { center.post("N"); }));
    worker->start();
    ASSERT_TRUE(worker->wait(5000));
    EXPECT_EQ(ranOn, nullptr); // not run inside the worker
    EXPECT_TRUE(waitFor([&] { return ranOn != nullptr; }));
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}
