#pragma once
// A delegate with the settings model, the stack and (optionally) the main
// window, but no device: what it sends is recorded instead.
#include "TestWait.h"
#include "kit/AbstractMenuController.h"
#include "core/AppDelegate.h"
#include "kit/ModalWindowController.h"
#include "connection/VizoEventDispatcher.h"
#include "settings/VizoSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

inline QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A modal window that counts what is asked of it.
class RecordingWindow : public ModalWindowController
{
public:
    RecordingWindow() : ModalWindowController(*AppDelegate::instance()) {}
    int enableHotKeysCalls = 0;
    int closeUICalls = 0;
    int modeChangedCalls = 0;
    std::vector<std::string> *log = nullptr;
    std::string name;

    void enableHotKeys() override { ++enableHotKeysCalls; }
    void closeUI() override
    {
        ++closeUICalls;
        if (log)
            log->push_back(name);
        closeWindow();
    }
    void vizoModeChanged() override { ++modeChangedCalls; }
};

struct AppFixture : ::testing::Test
{
    QList<QByteArray> sent;
    // Made with the fixture, so that windows the fixture holds can be
    // handed it; it goes before what its last words are recorded in.
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();

    void SetUp() override
    {
        app->setupModel();
        app->setPacketWriter([this](const QByteArray &payload) { sent << payload; });
        app->setCloseAllUIPauseMs(0);
        // Leaving the event loop would end every later loop of the process.
        app->setTerminateHandler([] {});
    }
    void TearDown() override
    {
        app->eventDispatcher()->waitForParsers();
        waitMs(10);
        // The delegate goes with the fixture, after the windows a derived
        // fixture holds.
    }

    void withWindow()
    {
        app->setupMainWindow();
        app->setupMenuController();
    }

    VizoSettings *settings() { return AppDelegate::instance()->settings(); }

    // One frame's payload as the link hands it over.
    void feed(const QByteArray &payload, int count = 1, int index = 1)
    {
        app->eventDispatcher()->onPacket(payload, uint16_t(count), uint16_t(index));
    }
    // Feeds and runs the posted effects.
    void report(std::initializer_list<int> payload)
    {
        feed(bytesOf(payload));
        waitMs(5);
    }

    // Closes the message box on top as soon as one appears; returns its text
    // through `text`.
    void answerNextBox(QString *text, std::function<void(ModalWindowController *)> answer = {})
    {
        QMetaObject::invokeMethod(
            app.get(),
            [this, text, answer] {
                auto *box = qobject_cast<ModalWindowController *>(app->stackUI().top());
                if (!box || !box->isRunningModal()) {
                    answerNextBox(text, answer);
                    return;
                }
                if (text) {
                    if (auto *label = box->findChild<QLabel *>(QStringLiteral("labelMessage")))
                        *text = label->text();
                }
                if (answer)
                    answer(box);
                else
                    box->onReturnKeyDown();
            },
            Qt::QueuedConnection);
    }
};
