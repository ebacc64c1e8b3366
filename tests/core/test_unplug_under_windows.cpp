// The camera goes away while a page, a browser, a file or a question is
// open, and comes back: every window closes through its own cancel path, the
// old connection is released only afterwards, and the viewer works on the
// new one. Under the sanitizer build a window left running on a released
// connection is a use after free.
#include "TestWait.h"
#include "AppTestSupport.h"

#include "files/ImageFilesController.h"
#include "input/VizoInputArming.h"
#include "files/FileListViewController.h"
#include "files/FileListTableView.h"
#include "menus/FilesMenu.h"
#include "menus/OptionsMenu.h"
#include "menus/VizoMenuController.h"
#include "kit/CaptureWindowController.h"
#include "kit/SplashController.h"
#include "kit/YesNoMessageBoxController.h"
#include "pages/AutoScrollPositionController.h"
#include "pages/ColorSettingController.h"
#include "pages/ContrastController.h"
#include "pages/DistanceViewDirectionController.h"
#include "pages/MarkerPageController.h"
#include "pages/WiFiPasswordChangeController.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"
#include "sim/SimulatedDevice.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrHotKey.h>
#include <trellis/TrellisItemSlider.h>
#include <bramble/BrNotificationCenter.h>

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>

#include <functional>

namespace {

// The camera on the awaited path: the virtual device's terminal linked
// there, as a plugged-in camera's port appears.
struct Camera
{
    std::unique_ptr<SimulatedDevice> device = std::make_unique<SimulatedDevice>(0);
    QString link;

    explicit Camera(const QString &path) : link(path)
    {
        QString error;
        if (device->start(&error))
            QFile::link(device->portPath(), link);
    }
    ~Camera() { unplug(); }
    void unplug()
    {
        QFile::remove(link);
        if (device)
            device->stop();
        device.reset();
    }
};

enum class Loss { DeviceGone, DeviceSaysGoodbye };

// One way into a window that runs modally, and how to tell it is up.
struct Opening
{
    const char *name;
    std::function<void(AppDelegate &)> open;
    std::function<bool(const Stack &stack)> isOpen;
};

template <typename T> bool is(const Stack &stack)
{
    for (qsizetype i = 0; i < stack.count(); ++i) {
        auto *window = qobject_cast<T *>(stack.at(i));
        if (window && window->isRunningModal())
            return true;
    }
    return false;
}

OptionsMenu *options(AppDelegate &app)
{
    return static_cast<VizoMenuController *>(app.menuController())->optionsMenu();
}

template <typename Item> void click(const std::shared_ptr<Item> &item)
{
    item->eventItemClicked(item.get());
}

// What the user opens from the menu (the menu is open).
QList<Opening> openings()
{
    const int near = 1;
    return {
        {"contrast page", [](AppDelegate &a) { click(options(a)->menuItemOption_Contrast_Near); }, is<ContrastController>},
        {"colour page", [](AppDelegate &a) { click(options(a)->menuItemOption_ColorSlot[near][2]); },
         is<ColorSettingController>},
        {"marker page",
         [](AppDelegate &a) {
             a.settings()->options()->setMarkerModeForNear(0);
             click(options(a)->menuItemOption_Marker_SetLineMarkerPosition[near]);
         },
         is<MarkerPageController>},
        {"auto-scroll range page", [](AppDelegate &a) { click(options(a)->menuItemOption_AutoScroll_ScrollRange_Custom); },
         is<AutoScrollPositionController>},
        {"distance direction page", [](AppDelegate &a) { click(options(a)->menuItemOption_DistanceViewDirection); },
         is<DistanceViewDirectionController>},
        {"Wi-Fi page", [](AppDelegate &a) { click(options(a)->menuItemOption_WiFiPassword); },
         is<WiFiPasswordChangeController>},
        {"initialisation question", [](AppDelegate &a) { click(options(a)->menuItemOption_Initialization_Group[2]); },
         is<YesNoMessageBoxController>},
        {"image browser",
         [](AppDelegate &a) { click(static_cast<VizoMenuController *>(a.menuController())->filesMenu()->menuItemFiles_Image); },
         is<ImageFilesController>},
        {"OCR browser",
         [](AppDelegate &a) { click(static_cast<VizoMenuController *>(a.menuController())->filesMenu()->menuItemFiles_OCR); },
         is<FilesController>},
        {"file opened from a browser",
         [](AppDelegate &a) {
             // Return on the first file once the browser is up.
             auto openFirst = std::make_shared<std::function<void()>>();
             std::weak_ptr<std::function<void()>> again = openFirst;
             *openFirst = [&a, again] {
                 auto *browser = qobject_cast<ImageFilesController *>(a.stackUI().top());
                 if (!browser || !browser->isRunningModal()) {
                     if (auto next = again.lock())
                         brPostMainAfter(20, [next] { (*next)(); }, &a);
                     return;
                 }
                 QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                 QCoreApplication::sendEvent(browser->fileListViewController()->tableView(), &press);
             };
             brPostMainAfter(20, [openFirst] { (*openFirst)(); }, &a);
             click(static_cast<VizoMenuController *>(a.menuController())->filesMenu()->menuItemFiles_Image);
         },
         is<CaptureWindowController>},
    };
}

struct Unplug : ::testing::Test
{
    QTemporaryDir runtimeDir;
    std::unique_ptr<AppDelegate> app;
    std::unique_ptr<Camera> camera;
    QList<QByteArray> sent;
    QStringList shown;
    QTimer answerer;
    bool ready = false;
    int terminations = 0;
    QString port;
    // What the waiting splash should do: plug the camera in, or press Quit.
    bool quitWhenWaiting = false;
    // Leaves boxes up (the loss's box, while the device closes its port).
    bool holdBoxes = false;

    void SetUp() override
    {
        ASSERT_TRUE(SimulatedDevice::isAvailable());
        ASSERT_TRUE(runtimeDir.isValid());
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
        port = runtimeDir.filePath("camera");
        CommandLineOptions options;
        options.port = port;
        app = std::make_unique<AppDelegate>(options);
        app->setInputArming(std::make_unique<VizoInputArming>());
        app->setPacketObserver([this](const QByteArray &payload) { sent << payload; });
        app->setCloseAllUIPauseMs(0);
        app->setTerminateHandler([this] {
            ++terminations;
            AppDelegate::closeSplash();
        });
        app->connectionKeeper().setSettleDelay(50);
        QObject::connect(app.get(), &AppDelegate::ready, [this] { ready = true; });
        camera = std::make_unique<Camera>(port);
        // Answers every box but the ones a round is about (the loss's box
        // is answered, and the camera plugged in again once waiting).
        QObject::connect(&answerer, &QTimer::timeout, [this] { answer(); });
        answerer.start(30);
    }
    void TearDown() override
    {
        answerer.stop();
        app.reset();
        camera.reset();
        waitMs(10);
    }

    void answer()
    {
        SplashController *splash = AppDelegate::splash();
        if (splash && splash->isWaiting() && splash->isRunningModal() && !camera) {
            if (quitWhenWaiting)
                splash->eventQuit();
            else
                camera = std::make_unique<Camera>(port);
            return;
        }
        auto *box = qobject_cast<ModalWindowController *>(app->stackUI().top());
        if (holdBoxes || !box || !box->isRunningModal() || box == splash)
            return;
        auto *label = box->findChild<QLabel *>(QStringLiteral("labelMessage"));
        if (!label || qobject_cast<YesNoMessageBoxController *>(box))
            return;
        shown << label->text();
        box->onReturnKeyDown();
    }

    void launch()
    {
        QObject guard;
        brPostMainAfter(30000, [] { AppDelegate::closeSplash(); }, &guard);
        ASSERT_TRUE(app->applicationDidFinishLaunching());
        ASSERT_TRUE(ready);
        // The lists have arrived (the browsers show them).
        ASSERT_TRUE(waitFor([this] { return !app->settings()->fileItemArray(VizoFileKind::OCR).isEmpty(); }, 10000));
    }

    // Runs `step` every 20 ms until it returns true; it runs inside
    // whatever modal loop is up, as the user's keys and the device do.
    void whenever(std::function<bool()> step)
    {
        auto *timer = new QTimer(app.get());
        QObject::connect(timer, &QTimer::timeout, timer, [timer, step] {
            // Stopped at once: a deferred delete waits for the loop that
            // asked for it, and a modal loop may run in between.
            timer->stop();
            if (step())
                timer->deleteLater();
            else
                timer->start();
        });
        timer->start(20);
    }

    bool lossBoxUp() const
    {
        auto *box = qobject_cast<MessageBoxController *>(app->stackUI().top());
        auto *label = box ? box->findChild<QLabel *>(QStringLiteral("labelMessage")) : nullptr;
        return box && box->isRunningModal() && label && label->text().startsWith("The USB connection");
    }

    // Opens the window from the menu, loses the camera while it runs, and
    // waits until the camera is back (or, with Quit, the end).
    void loseUnder(const Opening &opening, Loss loss)
    {
        app->openMenu();
        ASSERT_TRUE(app->menuOpened());
        bool returned = false;
        bool wasOpen = false;
        ready = false;
        shown.clear();
        brPostMain([&] {
            opening.open(*app);
            returned = true;
        }, app.get());
        whenever([&, loss] {
            if (!opening.isOpen(app->stackUI()))
                return false;
            wasOpen = true;
            if (loss == Loss::DeviceGone) {
                camera->unplug();
                camera.reset();
                return true;
            }
            // As the device does: it says it is leaving, then, while its
            // box is up, closes its port.
            holdBoxes = true;
            app->eventDispatcher()->onPacket(bytesOf({0x26, 0x1B}), 1, 1);
            whenever([this] {
                if (!lossBoxUp())
                    return false;
                camera->unplug();
                camera.reset();
                holdBoxes = false;
                return true;
            });
            return true;
        });
        ASSERT_TRUE(waitFor([&] { return returned && (ready || terminations > 0); }, 30000));
        EXPECT_TRUE(wasOpen);
    }

    void checkWorksAgain(int connections)
    {
        EXPECT_EQ(app->connectionCount(), connections);
        EXPECT_EQ(shown.filter("The USB connection").size(), 1) << shown.join('|').toStdString();
        // The page and the menu are gone (a box may be up: no video device
        // "FX3" here); the new settings are the device's.
        for (qsizetype i = 0; i < app->stackUI().count(); ++i)
            EXPECT_TRUE(qobject_cast<MessageBoxController *>(app->stackUI().at(i)));
        EXPECT_FALSE(app->menuOpened());
        EXPECT_EQ(app->settings()->vizoVersion(), 0);
        // The viewer is usable: the menu opens on the new link.
        sent.clear();
        app->openMenu();
        EXPECT_TRUE(app->menuOpened());
        EXPECT_TRUE(sent.contains(VizoCmd::MenuOpened().payload()));
        app->closeMenu();
        // And a hot key sends its command.
        std::shared_ptr<BrHotKey> zoomIn = app->dicShortcutHandlers().value(QStringLiteral("CameraMode.ZoomIn"));
        ASSERT_TRUE(zoomIn && zoomIn->eventKeyDown());
        sent.clear();
        zoomIn->eventKeyDown()(false);
        if (zoomIn->eventKeyUp())
            zoomIn->eventKeyUp()();
        EXPECT_TRUE(sent.contains(VizoCmd::CameraZoom(0).payload())) << sent.size();
    }
};

void loseUnderEach(Unplug &fixture, Loss loss)
{
    fixture.launch();
    int connections = 1;
    for (const Opening &opening : openings()) {
        SCOPED_TRACE(opening.name);
        fixture.loseUnder(opening, loss);
        fixture.checkWorksAgain(++connections);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace

TEST_F(Unplug, EveryWindowClosesWhenTheCameraIsUnplugged)
{
    loseUnderEach(*this, Loss::DeviceGone);
}

TEST_F(Unplug, EveryWindowClosesWhenTheDeviceSaysItLeaves)
{
    loseUnderEach(*this, Loss::DeviceSaysGoodbye);
}

// Quit on the waiting screen after the camera went with a page open.
TEST_F(Unplug, QuitFromTheWaitingScreenWithAPageOpen)
{
    launch();
    quitWhenWaiting = true;
    loseUnder(openings().at(0), Loss::DeviceGone);
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(is<ContrastController>(app->stackUI()));
}

// A list that arrives while a file is shown replaces the one the file came
// from; closing the file still tells the device.
TEST_F(Unplug, NewListWhileAFileIsOpenStillClosesTheFile)
{
    launch();
    app->openMenu();
    bool returned = false;
    bool announced = false;
    bool closedFile = false;
    QObject observer;
    BrNotificationCenter::defaultCenter().observe("ImageFileListDownloaded", &observer, [&] { announced = true; });
    brPostMain([&] {
        openings().at(9).open(*app);
        returned = true;
    }, app.get());
    // With the file shown, the device sends its list again.
    whenever([&] {
        if (!is<CaptureWindowController>(app->stackUI()))
            return false;
        app->writeVizoPacket(VizoCmd::RequestFileList(std::uint8_t(1)).payload());
        return true;
    });
    // Then the user closes the file (Backspace) and the browser (Escape).
    whenever([&] {
        auto *window = app->stackUI().topmostOf<CaptureWindowController>();
        if (!announced || !window)
            return false;
        sent.clear();
        window->onBackspaceKeyDown();
        closedFile = true;
        whenever([&] {
            auto *browser = qobject_cast<ImageFilesController *>(app->stackUI().top());
            if (!browser)
                return false;
            browser->onEscKeyDown();
            return true;
        });
        return true;
    });
    ASSERT_TRUE(waitFor([&] { return returned; }, 20000));
    EXPECT_TRUE(closedFile);
    EXPECT_TRUE(sent.contains(QByteArray("\x21\x02", 2)));
}
