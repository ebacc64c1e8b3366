#include "AppDelegate.h"

#include "MainWindowController.h"
#include "MainWindowGeometry.h"
#include "SingleInstance.h"
#include "StackControl.h"
#include "ViewerControls.h"
#include "WindowRaise.h"

#include "connection/VizoConnection.h"
#include "connection/VizoEventDispatcher.h"
#include "kit/AbstractMenuController.h"
#include "kit/InputArming.h"
#include "kit/ModalBoxes.h"
#include "kit/MouseGestureRecognizer.h"
#include "kit/PageService.h"
#include "kit/SplashController.h"
#include "menus/VizoMenuController.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"
#include "sim/SimulatedDevice.h"

#include <bramble/BrDispatch.h>
#include <lumen/LumenViewController.h>

#include <QApplication>
#include <QScreen>


namespace {
AppDelegate *s_instance = nullptr;
AppDelegate::MenuFactory s_menuFactory;
} // namespace

AppDelegate::AppDelegate(const CommandLineOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_inputArming(std::make_unique<InputArming>())
    , m_pageService(std::make_unique<PageService>(*this))
    , m_connectionKeeper(std::make_unique<ConnectionKeeper>(*this, *this))
    , m_stackControl(std::make_unique<StackControl>(
          *this, [this] { return m_menuController.data(); }, [this] { return m_mainWindow.get(); }))
{
    s_instance = this;
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (!m_connection)
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
    m_picture.reset();
    m_mainWindow.reset();
    m_connection.reset();
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

SplashController *AppDelegate::splash()
{
    return s_instance ? s_instance->m_splash.data() : nullptr;
}

void AppDelegate::closeSplash()
{
    if (!s_instance || !s_instance->m_splash)
        return;
    SplashController *splash = s_instance->m_splash;
    s_instance->m_splash = nullptr;
    splash->closeWindow();
}

void AppDelegate::setMenuFactory(MenuFactory factory)
{
    s_menuFactory = std::move(factory);
}

AbstractMenuController *AppDelegate::createMenuController(QWidget *parent)
{
    if (s_menuFactory)
        return s_menuFactory(parent);
    return new VizoMenuController(*this, parent);
}

// ---- the context

void AppDelegate::writeVizoPacket(const QByteArray &payload)
{
    if (m_packetObserver)
        m_packetObserver(payload);
    if (m_packetWriter) {
        m_packetWriter(payload);
        return;
    }
    if (m_connection)
        m_connection->writeVizoPacket(payload);
}

// ---- launch

void AppDelegate::setupModel()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    m_scaleFactor = MainWindowGeometry::scaleFactorForScreenWidth(screen ? screen->geometry().width() : 0);
    s_instance = this;
    m_stackUI = Stack();
    setupConnectionModel();
}

void AppDelegate::setupConnectionModel()
{
    m_disableHotKeys = false;
    m_disableMouseGestures = false;
    m_disableAllFunctions = false;
    m_connection = std::make_unique<VizoConnection>(*this, ++m_connectionCount);
    VizoEventDispatcher &dispatcher = m_connection->dispatcher();
    dispatcher.eventOptionFile = [this](const QMap<QString, QString> &pairs) { applyParsedOptionFile(pairs); };
    dispatcher.eventDisconnecting = [this](const QString &message) { linkLost(message, true); };
    m_dicShortcutHandlers.clear();
    m_dicMouseGestures.clear();
    setupHotKeys();
    setupMouseGestures();
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
    m_picture = std::make_unique<CapturePicture>(
        *m_mainWindow, [this](CaptureMouseEvent kind, QWidget *view, const QInputEvent &event) {
            onPictureMouse(kind, view, event);
        });
    connect(m_picture.get(), &CapturePicture::pictureChanged, this, [this] {
        doLayout();
        emit captureViewChanged();
    });
    auto *controls = new ViewerControls(*this, m_mainWindow->captureViewContainer(), this);
    controls->connectionState = [this] {
        if (!deviceLink())
            return QStringLiteral("Waiting for the camera");
        return m_splash ? QStringLiteral("Connecting") : QStringLiteral("Connected");
    };
    controls->settingsKnown = [this] { return deviceLink() && !m_splash; };
    controls->eventQuit = [this] { terminate(0); };
    connect(this, &AppDelegate::ready, controls, &ViewerControls::connectionReady);
    connect(this, &AppDelegate::connectionClosed, controls, &ViewerControls::connectionChanged);
    connect(this, &AppDelegate::captureViewChanged, controls, &ViewerControls::pictureChanged);
    controls->connectionChanged();
    m_viewerControls = controls;
    window->show();
}

bool AppDelegate::applicationDidFinishLaunching()
{
    // 1. One copy at a time: a second one brings the first to the front
    // and ends before it touches the device.
    m_singleInstance = SingleInstance::claimOrRaise(&m_launchExitCode);
    if (!m_singleInstance)
        return false;
    m_singleInstance->eventRaise = [this] {
        raiseAndFocusWindow(window());
        // A modal window in front stays in front.
        applicationDidBecomeActive();
        // A window the compositor kept behind: at least say why nothing new
        // opened.
        whenNotRaised(window(), [this] {
            if (m_viewerControls)
                m_viewerControls->say(QStringLiteral("Vizo Viewer was started again: this window is the one already running"));
        });
    };

    // 2.-7. Flags, scale factor, settings, stack, hot keys, gestures.
    setupModel();
    // 8. The main window on the screen's available area.
    setupMainWindow();
    // 9.-10. The device link and its speed. Without a camera the splash
    // waits for it (step 14) and the link follows then.
    const bool waiting = !m_connectionKeeper->cameraPresent();
    if (!waiting && !m_connectionKeeper->connect())
        return true;
    // 11. The picture area fills the content view.
    m_mainWindow->resetMainView();
    // 12. The menu column, hidden.
    setupMenuController();
    // 13. No deletion in progress: the connection starts without one.
    // 14. The splash, until the device's settings have arrived.
    runSplash(waiting);
    return true;
}

void AppDelegate::runSplash(bool waiting)
{
    if (m_terminating)
        return;
    SplashController splash(*this);
    m_splash = &splash;
    splash.eventQuit = [this] { terminate(0); };
    if (waiting)
        m_connectionKeeper->waitForCamera(&splash);
    splash.runModal();
    m_connectionKeeper->stopWaiting();
    if (m_splash == &splash)
        m_splash = nullptr;
}

void AppDelegate::closeConnection()
{
    // Nothing may run on the old connection any more: its windows have
    // closed and their modal runs have returned (ConnectionKeeper).
    if (m_connection)
        m_connection->markLost();
    closeOpenWindows();
    if (m_picture)
        m_picture->tearDown();
    emit captureViewChanged();
    if (m_menuController) {
        delete m_menuController->view();
        delete m_menuController;
    }
    m_stackControl->setMenuOpened(false);
    m_connection.reset();
    setupConnectionModel();
    setupMenuController();
    m_fatalErrorShown = false;
    emit connectionClosed();
}

void AppDelegate::setupMenuController()
{
    if (!m_mainWindow)
        return;
    m_menuController = createMenuController(m_mainWindow->contentView());
    QWidget *menuView = m_menuController->view();
    menuView->setGeometry(menuView->x(), 0, menuView->width(), m_mainWindow->contentView()->height());
    menuView->hide();
}

bool AppDelegate::setupVizoProtocolChannel()
{
    QString portPath = m_options.port;
    if (m_options.simulate) {
        QString error;
        if (!m_connection->startSimulatedDevice({m_options.simulatedEdition, m_options.simulatedImages,
                                                 m_options.simulatedOcrTexts, m_options.simulatedNameLength,
                                                 m_options.simulatedBaud, m_options.simulatedControl},
                                                &error)) {
            showMessageBox(
                QStringLiteral("The virtual camera could not be started: %1.\nApplication will be terminated.").arg(error));
            terminate(1);
            return false;
        }
        portPath = m_connection->simulatedDevice()->portPath();
    }
    // Failures are reported on whichever thread saw them; the box and the
    // end of the application belong to the main thread. Opening fails before
    // the link is up: that ends the application. Once it is up, its loss is
    // an unplug. A report of an earlier connection's loss is not this one's.
    QPointer<AppDelegate> self(this);
    const int connection = m_connectionCount;
    return m_connection->openLink(portPath, [self, connection](const QString &message, bool opened) {
        brPostMain([self, message, connection, opened] {
            if (!self || self->m_connectionCount != connection)
                return;
            if (opened)
                self->linkLost(message);
            else
                self->failFatally(message);
        });
    });
}

void AppDelegate::announceLinkSpeed()
{
    DeviceLink *link = deviceLink();
    if (!link)
        return;
    // Only a USB device of that speed is announced: a pseudo-terminal (the
    // virtual device) or a port without a USB device gets nothing.
    const int speed = link->deviceSpeed();
    if (speed == 2)
        writeVizoPacket(VizoCmd::HostConnectedUsb2().payload());
    else if (speed == 3)
        writeVizoPacket(VizoCmd::HostConnectedUsb3().payload());
}

void AppDelegate::applyParsedOptionFile(const QMap<QString, QString> &pairs)
{
    settings()->applyOptionFileData(pairs);
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

void AppDelegate::setupCaptureView()
{
    if (!m_mainWindow || m_picture->isSetUp())
        return;
    SimulatedDevice *sim = m_connection->simulatedDevice();
    const QString reason = m_picture->setUp(sim ? sim->frameSource() : nullptr, m_options.cameraName);
    if (!reason.isEmpty()) {
        QPointer<AppDelegate> self(this);
        // Not when the video device came meanwhile.
        brPostMainAfter(2000, [self, reason] {
            if (self && self->m_picture && !self->m_picture->hasPicture())
                self->showMessageBox(reason);
        }, this);
    }
    doLayout();
    emit captureViewChanged();
}

void AppDelegate::onPictureMouse(CaptureMouseEvent kind, QWidget *view, const QInputEvent &event)
{
    deliverMouseEvent(kind, view, event);
    // Keyboard navigation of the menu goes on after a click on the picture.
    if (kind == CaptureMouseEvent::MouseDown && m_menuController && m_stackUI.top() == m_menuController)
        m_menuController->becomeFirstResponder();
}

// ---- geometry and the menu

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

// ---- input

void AppDelegate::setInputArming(std::unique_ptr<InputArming> arming)
{
    m_inputArming = arming ? std::move(arming) : std::make_unique<InputArming>();
}

// ---- activation and shutdown

void AppDelegate::applicationDidBecomeActive()
{
    updateHotKeys();
    InputArming::refreshModalWindows(*this);
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
    if (m_willTerminateDone || !deviceLink())
        return;
    m_willTerminateDone = true;
    m_terminating = true;
    writeVizoPacket(VizoCmd::HostClosing().payload());
    if (m_picture)
        m_picture->stopRunning();
    // Waits for the reading loop and closes the port.
    m_connection->close();
}
