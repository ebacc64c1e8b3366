#include "AppDelegate.h"

#include "AbstractMenuController.h"
#include "CaptureWindowController.h"
#include "ConnectionKeeper.h"
#include "DeviceLink.h"
#include "protocol/VizoCommands.h"
#include "InputArming.h"
#include "MainWindowController.h"
#include "MainWindowGeometry.h"
#include "MessageBoxController.h"
#include "NoPictureView.h"
#include "PageService.h"
#include "SimulatedDevice.h"
#include "SingleInstance.h"
#include "SplashController.h"
#include "ViewerControls.h"
#include "VizoEventDispatcher.h"
#include "WindowRaise.h"
#include "YesNoMessageBoxController.h"

#include "input/MouseGestureEvent.h"
#include "menus/VizoMenuController.h"
#include "pages/VizoPages.h"
#include "input/MouseGestureRecognizer.h"
#include "settings/VizoSettings.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrHotKey.h>
#include <lumen/LumenViewController.h>

#include <QApplication>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <QWheelEvent>

#include <cstdio>

Q_LOGGING_CATEGORY(lcApp, "vizo.app", QtWarningMsg)

namespace {
AppDelegate *s_instance = nullptr;
float s_scaleFactor = 0.0f;
QPointer<SplashController> s_splash;
QPointer<MessageBoxController> s_deleteBox;
AppDelegate::MenuFactory s_menuFactory;
} // namespace

AppDelegate::AppDelegate(const CommandLineOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_inputArming(std::make_unique<InputArming>())
    , m_pageService(std::make_unique<PageService>(*this))
    , m_connectionKeeper(std::make_unique<ConnectionKeeper>(*this))
    , m_semaphoreForDelete(std::make_unique<QSemaphore>(0))
{
    s_instance = this;
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (!m_settings)
            return;
        if (state == Qt::ApplicationActive)
            applicationDidBecomeActive();
        else
            applicationDidResignActive();
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
}

AppDelegate::~AppDelegate()
{
    applicationWillTerminate();
    // Windows first (they hold the picture and the menu), then the link.
    m_captureViewController.reset();
    m_mainWindow.reset();
    m_protocolChannel.reset();
    m_dispatcher.reset();
    m_simulatedDevice.reset();
    m_dicShortcutHandlers.clear();
    m_dicMouseGestures.clear();
    if (s_instance == this)
        s_instance = nullptr;
}

// ---- class operations

AppDelegate *AppDelegate::instance()
{
    return s_instance;
}

VizoSettings *AppDelegate::settings()
{
    return s_instance ? s_instance->m_settings.get() : nullptr;
}

float AppDelegate::scaleFactor()
{
    return s_scaleFactor;
}

SplashController *AppDelegate::splash()
{
    return s_splash;
}

MessageBoxController *AppDelegate::deleteBox()
{
    return s_deleteBox;
}

void AppDelegate::closeSplash()
{
    if (s_splash) {
        SplashController *splash = s_splash;
        s_splash = nullptr;
        splash->closeWindow();
    }
}

QString AppDelegate::languageString(const QString &section, const QString &key, const QString &fallback)
{
    if (VizoSettings *s = settings()) {
        const QString text = s->text(section, key);
        if (!text.isEmpty())
            return text;
    }
    return fallback;
}

namespace {
// What a message box leaves behind: the keys of the window that was on top
// before it, or the main window's keys when the menu or nothing was.
struct BoxScope
{
    QPointer<ModalWindowController> noted;

    BoxScope()
    {
        AppDelegate *app = AppDelegate::instance();
        if (!app)
            return;
        noted = qobject_cast<ModalWindowController *>(app->stackUI().top());
        app->setDisableHotKeys(true);
        app->updateHotKeys();
    }
    ~BoxScope()
    {
        AppDelegate *app = AppDelegate::instance();
        if (!app)
            return;
        app->setDisableHotKeys(!noted.isNull());
        app->updateHotKeys();
        if (noted)
            noted->enableHotKeys();
    }
};
} // namespace

void AppDelegate::showMessageBox(const QString &text)
{
    BoxScope scope;
    MessageBoxController box;
    box.setMessage(text);
    box.setButtonLabel(languageString(QStringLiteral("Messages"), QStringLiteral("Alert.OK"), QStringLiteral("OK")));
    box.runModal();
}

bool AppDelegate::showYesNoMessageBox(const QString &text)
{
    BoxScope scope;
    YesNoMessageBoxController box;
    box.setMessage(text);
    box.setButtonLabelYes(languageString(QStringLiteral("Messages"), QStringLiteral("ConfirmAlert.Yes"), QStringLiteral("Yes")));
    box.setButtonLabelNo(languageString(QStringLiteral("Messages"), QStringLiteral("ConfirmAlert.No"), QStringLiteral("No")));
    box.runModal();
    return box.isYesClicked();
}

void AppDelegate::showDeleteBox()
{
    BoxScope scope;
    MessageBoxController box;
    box.setMessage(QStringLiteral("Deleting files..."));
    box.setButtonLabel(languageString(QStringLiteral("Messages"), QStringLiteral("Alert.OK"), QStringLiteral("OK")));
    box.setButtonVisible(false);
    s_deleteBox = &box;
    box.runModal();
    if (s_deleteBox == &box)
        s_deleteBox = nullptr;
}

void AppDelegate::closeDeleteBox()
{
    if (!s_deleteBox)
        return;
    MessageBoxController *box = s_deleteBox;
    s_deleteBox = nullptr;
    box->closeWindow();
}

void AppDelegate::setMenuFactory(MenuFactory factory)
{
    s_menuFactory = std::move(factory);
}

AbstractMenuController *AppDelegate::createMenuController(QWidget *parent)
{
    if (s_menuFactory)
        return s_menuFactory(parent);
    return new VizoMenuController(parent);
}

// ---- launch

void AppDelegate::setupModel()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    s_scaleFactor = MainWindowGeometry::scaleFactorForScreenWidth(screen ? screen->geometry().width() : 0);
    s_instance = this;
    m_stackUI = Stack();
    setupConnectionModel();
}

void AppDelegate::setupConnectionModel()
{
    m_disableHotKeys = false;
    m_disableMouseGestures = false;
    m_disableAllFunctions = false;
    m_settings = std::make_unique<VizoSettings>();
    m_dicShortcutHandlers.clear();
    m_dicMouseGestures.clear();
    setupHotKeys();
    setupMouseGestures();
    m_dispatcher = std::make_unique<VizoEventDispatcher>(*this);
}

void AppDelegate::setupMainWindow()
{
    m_mainWindow = std::make_unique<MainWindowController>();
    MainWindow *window = m_mainWindow->window();
    window->eventDidResize = [this] {
        m_mainWindow->windowDidResize();
        doLayout();
        if (m_menuController && m_menuController->isOpened()) {
            m_menuController->view()->resize(m_menuController->view()->width(), m_mainWindow->contentView()->height());
            m_menuController->updateUIState();
        } else {
            m_mainWindow->layoutMenuClosed();
        }
    };
    // Closing the main window ends the application.
    window->eventWillClose = [this] { terminate(); };
    m_mainWindow->placeOnAvailableGeometry();
    m_viewerControls = new ViewerControls(*this);
    window->show();
}

bool AppDelegate::applicationDidFinishLaunching()
{
    // 1. One copy at a time: a second one brings the first to the front
    // and ends before it touches the device.
    m_singleInstance = std::make_unique<SingleInstance>();
    if (!m_singleInstance->claim()) {
        m_singleInstance.reset();
        if (SingleInstance().raiseRunningCopy()) {
            std::fprintf(stderr, "vizo-viewer: another copy is already running; its window was raised.\n");
            m_launchExitCode = 0;
        } else {
            std::fprintf(stderr, "vizo-viewer: another copy is already running.\n");
            m_launchExitCode = 1;
        }
        return false;
    }
    m_singleInstance->eventRaise = [this] {
        raiseAndFocusWindow(window());
        // A modal window in front stays in front.
        applicationDidBecomeActive();
    };

    // 2.-7. Flags, scale factor, instance, settings, stack, hot keys, gestures.
    setupModel();

    // 8. The main window on the screen's available area.
    setupMainWindow();

    // 9. The device link; a failure has already shown its box. Without a
    // camera the splash waits for it (step 14) and the link follows then.
    const bool waiting = !m_connectionKeeper->cameraPresent();
    // 10. The link speed.
    if (!waiting && !m_connectionKeeper->connect())
        return true;

    // 11. The picture area fills the content view.
    m_mainWindow->resetMainView();

    // 12. The menu column, hidden.
    setupMenuController();

    // 13. No deletion in progress.
    setDeletingFiles(false);
    m_semaphoreForDelete = std::make_unique<QSemaphore>(0);

    // 14. The splash, until the device's settings have arrived.
    runSplash(waiting);
    return true;
}

void AppDelegate::runSplash(bool waiting)
{
    if (m_terminating)
        return;
    SplashController splash;
    s_splash = &splash;
    splash.eventQuit = [this] { terminate(0); };
    if (waiting)
        m_connectionKeeper->waitForCamera(&splash);
    splash.runModal();
    m_connectionKeeper->stopWaiting();
    if (s_splash == &splash)
        s_splash = nullptr;
}

void AppDelegate::linkLost(const QString &message)
{
    m_connectionKeeper->linkLost(message);
}

void AppDelegate::closeConnection()
{
    // The link first, so that what the closing windows send goes nowhere.
    if (m_protocolChannel)
        m_protocolChannel->stopRead();
    m_protocolChannel.reset();
    m_simulatedDevice.reset();
    closeAllUI();
    if (m_captureViewController) {
        m_captureViewController->session()->stopRunning();
        delete m_captureViewController->captureView();
        m_captureViewController.reset();
    }
    delete m_noPictureView;
    if (m_mainWindow)
        m_mainWindow->setCaptureView(nullptr);
    emit captureViewChanged();
    if (m_dispatcher)
        m_dispatcher->waitForParsers();
    if (m_menuController) {
        delete m_menuController->view();
        delete m_menuController;
    }
    m_menuOpened = false;
    setupConnectionModel();
    setupMenuController();
    setDeletingFiles(false);
    m_semaphoreForDelete = std::make_unique<QSemaphore>(0);
    m_fatalErrorShown = false;
    emit connectionClosed();
}

void AppDelegate::setupMenuController()
{
    if (!m_mainWindow)
        return;
    m_menuController = createMenuController(m_mainWindow->contentView());
    // The colour-slot hot key and gesture open the page the menu opens.
    VizoPages::installColorSlotPageOpener();
    QWidget *menuView = m_menuController->view();
    menuView->setGeometry(menuView->x(), 0, menuView->width(), m_mainWindow->contentView()->height());
    menuView->hide();
}

bool AppDelegate::setupVizoProtocolChannel()
{
    QString portPath = m_options.port;
    if (m_options.simulate) {
        m_simulatedDevice = std::make_unique<SimulatedDevice>(m_options.simulatedEdition);
        m_simulatedDevice->setCard({m_options.simulatedImages, m_options.simulatedOcrTexts, m_options.simulatedNameLength});
        m_simulatedDevice->setLink({m_options.simulatedBaud, m_options.simulatedControl});
        QString error;
        if (!m_simulatedDevice->start(&error)) {
            showMessageBox(QStringLiteral("The virtual camera could not be started: %1.\nApplication will be terminated.").arg(error));
            terminate(1);
            return false;
        }
        portPath = m_simulatedDevice->portPath();
    }

    if (!m_dispatcher)
        m_dispatcher = std::make_unique<VizoEventDispatcher>(*this);
    VizoEventDispatcher *dispatcher = m_dispatcher.get();

    // Failures are reported on whichever thread saw them; the box and the
    // end of the application belong to the main thread.
    // Opening fails before the link is up: that ends the application. Once
    // it is up, its loss is an unplug. A report of an earlier connection's
    // loss that arrives late is not this one's.
    QPointer<AppDelegate> self(this);
    const int connection = ++m_connectionCount;
    auto opened = std::make_shared<std::atomic<bool>>(false);
    auto onFailure = [self, connection, opened](const QString &message) {
        const bool lost = opened->load();
        brPostMain([self, message, connection, lost] {
            if (!self || self->m_connectionCount != connection)
                return;
            if (lost)
                self->linkLost(message);
            else
                self->failFatally(message);
        });
    };
    auto onFrame = [dispatcher](const QByteArray &payload, uint16_t count, uint16_t index) {
        dispatcher->onPacket(payload, count, index);
    };

    m_protocolChannel = DeviceLink::openProtocolChannel(portPath, onFrame, onFailure);
    if (!m_protocolChannel)
        return false;
    opened->store(true);
    m_protocolChannel->startRead();
    return true;
}

void AppDelegate::announceLinkSpeed()
{
    if (!m_protocolChannel)
        return;
    // Only a USB device of that speed is announced: a pseudo-terminal (the
    // virtual device) or a port without a USB device gets nothing.
    const int speed = m_protocolChannel->deviceSpeed();
    if (speed == 2)
        writeVizoPacket(VizoCmd::HostConnectedUsb2().payload());
    else if (speed == 3)
        writeVizoPacket(VizoCmd::HostConnectedUsb3().payload());
}

void AppDelegate::applyParsedOptionFile(const QMap<QString, QString> &pairs)
{
    m_settings->applyOptionFileData(pairs);
    updateHotKeys();
    updateMouseGestures();
    setupCaptureView();
    if (m_mainWindow)
        m_mainWindow->setResizable(true);
    writeVizoPacket(VizoCmd::RequestFileList(std::uint8_t(1)).payload());
    // After this step has returned.
    brPostMain([] { closeSplash(); }, this);
    emit ready();
}

// ---- the picture

QWidget *AppDelegate::captureView() const
{
    if (m_captureViewController)
        return m_captureViewController->captureView();
    return m_noPictureView.data();
}

void AppDelegate::setupCaptureView()
{
    if (!m_mainWindow || m_captureViewController || m_noPictureView)
        return;
    QWidget *container = m_mainWindow->captureViewContainer();
    const QRect bounds = container->rect();
    try {
        if (m_simulatedDevice)
            m_captureViewController = std::make_unique<LumenViewController>(m_simulatedDevice->frameSource());
        else
            m_captureViewController = std::make_unique<LumenViewController>(m_options.cameraName, QString());
    } catch (const LumenError &error) {
        const QString reason = error.reason();
        qCWarning(lcApp) << "no camera picture:" << reason;
        brPostMainAfter(2000, [reason] { showMessageBox(reason); }, this);
        showNoPicture(reason);
        return;
    }
    // The root view is the capture view itself.
    LumenCaptureView *picture = m_captureViewController->captureView();
    picture->setParent(container);
    m_captureViewController->view()->setGeometry(bounds);
    picture->show();
    m_captureViewController->setEventSetupVideoPreview(
        [](LumenPreviewLayer *layer) { layer->setVideoGravity(LumenVideoGravity::Resize); });
    m_mainWindow->setCaptureView(picture);
    installCaptureMouseHandlers();
    doLayout();
    emit captureViewChanged();
}

void AppDelegate::showNoPicture(const QString &reason)
{
    auto *view = new NoPictureView(reason, m_mainWindow->captureViewContainer());
    view->setGeometry(m_mainWindow->captureViewContainer()->rect());
    view->show();
    QPointer<AppDelegate> self(this);
    view->eventMouse = [self](NoPictureView::Event kind, QWidget *v, const QInputEvent &event) {
        if (self)
            self->deliverMouseEvent(CaptureMouseEvent(int(kind)), v, event);
    };
    m_noPictureView = view;
    m_mainWindow->setCaptureView(view);
    doLayout();
    emit captureViewChanged();
}

void AppDelegate::installCaptureMouseHandlers()
{
    LumenCaptureView *picture = m_captureViewController->captureView();
    QPointer<AppDelegate> self(this);
    auto handler = [self](CaptureMouseEvent kind) {
        return [self, kind](LumenCaptureView *view, QMouseEvent *event) {
            if (self)
                self->deliverMouseEvent(kind, view, *event);
        };
    };
    picture->setEventMouseDown([self](LumenCaptureView *view, QMouseEvent *event) {
        if (!self)
            return;
        self->deliverMouseEvent(CaptureMouseEvent::MouseDown, view, *event);
        // Keyboard navigation of the menu goes on after a click on the picture.
        if (self->m_menuController && self->m_stackUI.top() == self->m_menuController)
            self->m_menuController->becomeFirstResponder();
    });
    picture->setEventMouseDragged(handler(CaptureMouseEvent::MouseDragged));
    picture->setEventMouseUp(handler(CaptureMouseEvent::MouseUp));
    picture->setEventRightMouseDown(handler(CaptureMouseEvent::RightMouseDown));
    picture->setEventRightMouseDragged(handler(CaptureMouseEvent::RightMouseDragged));
    picture->setEventRightMouseUp(handler(CaptureMouseEvent::RightMouseUp));
    picture->setEventScrollWheel([self](LumenCaptureView *view, QWheelEvent *event) {
        if (self)
            self->deliverMouseEvent(CaptureMouseEvent::ScrollWheel, view, *event);
    });
}

void AppDelegate::deliverMouseEvent(CaptureMouseEvent kind, QWidget *view, const QInputEvent &event)
{
    // A plain copy, taken now: Qt's event objects share their points with
    // later events and do not outlive this call.
    const MouseGestureEvent value = kind == CaptureMouseEvent::ScrollWheel
        ? MouseGestureEvent::fromWheel(view, static_cast<const QWheelEvent &>(event))
        : MouseGestureEvent::fromMouse(view, static_cast<const QMouseEvent &>(event));
    QPointer<QWidget> target(view);
    for (auto it = m_dicMouseGestures.cbegin(); it != m_dicMouseGestures.cend(); ++it) {
        std::shared_ptr<MouseGestureRecognizer> recognizer = it.value();
        if (!recognizer || !recognizer->enabled)
            continue;
        brPostMain([recognizer, target, kind, value] {
            QWidget *v = target.data();
            switch (kind) {
            case CaptureMouseEvent::MouseDown: recognizer->mouseDown(v, value); break;
            case CaptureMouseEvent::MouseDragged: recognizer->mouseDragged(v, value); break;
            case CaptureMouseEvent::MouseUp: recognizer->mouseUp(v, value); break;
            case CaptureMouseEvent::RightMouseDown: recognizer->rightMouseDown(v, value); break;
            case CaptureMouseEvent::RightMouseDragged: recognizer->rightMouseDragged(v, value); break;
            case CaptureMouseEvent::RightMouseUp: recognizer->rightMouseUp(v, value); break;
            case CaptureMouseEvent::ScrollWheel: recognizer->scrollWheel(v, value); break;
            }
        }, this);
    }
}

ViewerControls *AppDelegate::viewerControls() const
{
    return m_viewerControls.data();
}

// ---- geometry and the menu

AbstractMenuController *AppDelegate::menuController() const
{
    return m_menuController;
}

QWidget *AppDelegate::window() const
{
    return m_mainWindow ? m_mainWindow->window() : nullptr;
}

QWidget *AppDelegate::captureViewContainer() const
{
    return m_mainWindow ? m_mainWindow->captureViewContainer() : nullptr;
}

QRect AppDelegate::rcMainView() const
{
    return m_mainWindow ? m_mainWindow->rcMainView() : QRect();
}

void AppDelegate::doLayout()
{
    if (!m_mainWindow || !m_menuController || !m_menuController->isOpened())
        return;
    m_mainWindow->layoutMenuOpen(m_menuController->view()->width());
}

void AppDelegate::openMenu()
{
    if (m_settings->vizoMode() == 3)
        return;
    if (m_settings->vizoHotKeyMode() == 2) {
        auto *top = qobject_cast<CaptureWindowController *>(m_stackUI.top());
        if (top && !top->isVizoMenuOpen()) {
            writeVizoPacket(VizoCmd::MenuOpened().payload());
            top->openVizoMenu();
        }
        return;
    }
    if (!m_menuController || m_menuController->isOpened())
        return;
    writeVizoPacket(VizoCmd::MenuOpened().payload());
    if (m_mainWindow) {
        m_menuController->view()->resize(m_menuController->view()->width(), m_mainWindow->contentView()->height());
        m_mainWindow->layoutMenuOpen(m_menuController->view()->width());
    }
    m_menuController->buildVizoMenu();
    m_menuController->reloadSettings();
    m_menuController->reloadMenuLabel();
    m_menuController->showMenu();
    m_menuController->setDefaultTab();
    m_menuOpened = true;
    updateHotKeys();
    updateMouseGestures();
    m_stackUI.push(m_menuController);
}

void AppDelegate::closeMenu()
{
    if (m_settings->vizoHotKeyMode() == 2) {
        auto *top = qobject_cast<CaptureWindowController *>(m_stackUI.top());
        if (top && top->isVizoMenuOpen()) {
            writeVizoPacket(VizoCmd::MenuClosed().payload());
            top->closeVizoMenu();
        }
        return;
    }
    if (!m_menuController || !m_menuController->isOpened())
        return;
    writeVizoPacket(VizoCmd::MenuClosed().payload());
    if (m_mainWindow)
        m_mainWindow->layoutMenuClosed();
    m_menuOpened = false;
    updateHotKeys();
    updateMouseGestures();
    m_menuController->hideMenu();
    // The menu leaves the stack wherever it is (a box may lie above it).
    m_stackUI.remove(m_menuController);
}

void AppDelegate::closeAllUI()
{
    const qsizetype n = m_stackUI.count();
    for (qsizetype i = 0; i < n; ++i) {
        QObject *top = m_stackUI.top();
        if (!top) {
            m_stackUI.pop();
            continue;
        }
        if (auto *window = qobject_cast<ModalWindowController *>(top))
            window->closeUI();
        else if (auto *menu = qobject_cast<AbstractMenuController *>(top))
            menu->closeUI();
        if (m_closeAllUIPauseMs > 0)
            QThread::msleep(m_closeAllUIPauseMs);
    }
}

void AppDelegate::applyVizoModeChanged()
{
    for (qsizetype i = m_stackUI.count() - 1; i >= 0; --i) {
        QObject *entry = m_stackUI.at(i);
        if (!entry || qobject_cast<MessageBoxController *>(entry) || qobject_cast<YesNoMessageBoxController *>(entry))
            continue;
        if (auto *window = qobject_cast<ModalWindowController *>(entry))
            window->vizoModeChanged();
        // The tree menu answers a mode change with nothing.
        return;
    }
}

// ---- input

void AppDelegate::setInputArming(std::unique_ptr<InputArming> arming)
{
    m_inputArming = arming ? std::move(arming) : std::make_unique<InputArming>();
}

void AppDelegate::setupHotKeys()
{
    m_inputArming->setupHotKeys(*this);
}

void AppDelegate::updateHotKeys()
{
    m_inputArming->updateHotKeys(*this);
}

void AppDelegate::setupMouseGestures()
{
    m_inputArming->setupMouseGestures(*this);
}

void AppDelegate::updateMouseGestures()
{
    m_inputArming->updateMouseGestures(*this);
}

// ---- activation and shutdown

void AppDelegate::applicationDidBecomeActive()
{
    updateHotKeys();
    const qsizetype n = m_stackUI.count();
    for (qsizetype i = 0; i < n; ++i) {
        auto *window = qobject_cast<ModalWindowController *>(m_stackUI.at(i));
        if (!window)
            continue;
        window->raise();
        window->activateWindow();
        if (i == n - 1)
            window->enableHotKeys();
    }
}

void AppDelegate::applicationDidResignActive()
{
    updateHotKeys();
}

void AppDelegate::failFatally(const QString &message)
{
    if (m_terminating || m_fatalErrorShown)
        return;
    m_fatalErrorShown = true;
    showMessageBox(message);
    terminate(1);
}

void AppDelegate::terminate(int exitCode)
{
    if (m_terminating)
        return;
    m_terminating = true;
    if (m_terminateHandler) {
        m_terminateHandler();
        return;
    }
    // Leaves every modal loop too.
    QCoreApplication::exit(exitCode);
}

void AppDelegate::applicationWillTerminate()
{
    if (m_willTerminateDone || !m_protocolChannel)
        return;
    m_willTerminateDone = true;
    m_terminating = true;
    writeVizoPacket(VizoCmd::HostClosing().payload());
    m_protocolChannel->stopRead();
    if (m_captureViewController)
        m_captureViewController->session()->stopRunning();
    // Waits for the reading loop and closes the port.
    m_protocolChannel.reset();
}

// ---- sending

VizoProtocolChannel *AppDelegate::protocolChannel() const
{
    return m_protocolChannel ? m_protocolChannel->channel() : nullptr;
}

void AppDelegate::writeVizoPacket(const void *payload, size_t size)
{
    writeVizoPacket(QByteArray(static_cast<const char *>(payload), qsizetype(size)));
}

void AppDelegate::writeVizoPacket(const QByteArray &payload)
{
    if (m_packetObserver)
        m_packetObserver(payload);
    if (m_packetWriter) {
        m_packetWriter(payload);
        return;
    }
    if (m_protocolChannel)
        m_protocolChannel->writeVizoPacket(payload);
}
