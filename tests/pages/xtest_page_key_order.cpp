// On a real X server, a page gets an arrow key (an ordinary key event) and
// Return (its grabbed hot key) in the order they were pressed, even when
// both wait while the main thread is busy.
#include "AppTestSupport.h"

#include "kit/PageService.h"

#include <bramble/BrHotKey.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace {

class OrderPage : public ModalWindowController
{
public:
    using ModalWindowController::ModalWindowController;
    QStringList keys;

    void enableHotKeys() override { setEnableHotKeyReturn(true); }
    void onReturnKeyDown() override
    {
        keys << QStringLiteral("Return");
        // A device command paces the link for a while.
        QThread::msleep(100);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left) {
            keys << (event->key() == Qt::Key_Right ? QStringLiteral("Right")
                                                   : QStringLiteral("Left"));
            QThread::msleep(100);
            return;
        }
        ModalWindowController::keyPressEvent(event);
    }
};

} // namespace

TEST(PageKeyOrder, AnArrowAndReturnActInTheOrderPressed)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "xdotool is not installed";

    AppDelegate app;
    app.setupModel();
    app.setTerminateHandler([] {});
    app.setPacketWriter([](const QByteArray &) {});

    OrderPage page{*AppDelegate::instance()};
    page.resize(300, 200);
    QStringList seen;
    QMetaObject::invokeMethod(
        &app,
        [&] {
            if (!QTest::qWaitForWindowActive(&page)) {
                ADD_FAILURE() << "the page did not become the active window";
                page.closeWindow();
                return;
            }
            // The main thread is busy while the keys are pressed: all of
            // them wait for it together.
            EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                        {"key", "--delay", "20", "Right", "Return", "Left"}),
                      0);
            QThread::msleep(200);
            waitFor([&] { return page.keys.size() >= 3; }, 5000);
            seen = page.keys;
            page.closeWindow();
        },
        Qt::QueuedConnection);
    app.pageService().runPage(page, {});

    EXPECT_EQ(seen.join(QLatin1Char(' ')).toStdString(), "Right Return Left");
    BrHotKey::disableAllHotKeys();
}
