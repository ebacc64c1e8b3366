#pragma once
// The root object: it lives for the whole run and owns the current
// connection, the main window with the picture, the tree menu, the modal
// stack, the hot key and gesture tables and the input flags. It is the
// AppContext every window, page, menu and browser is handed; only main.cpp
// and tests see this class. Collaborators do the work: VizoConnection,
// ConnectionKeeper, StackControl, CapturePicture, InputArming, ModalBoxes.
// Main thread only.
#include "CapturePicture.h"
#include "CommandLine.h"
#include "ConnectionKeeper.h"
#include "connection/VizoConnection.h"
#include "StackControl.h"
#include "ViewerControls.h"
#include "kit/AbstractMenuController.h"
#include "kit/AppContext.h"
#include "kit/InputArming.h"
#include "kit/MessageBoxController.h"
#include "kit/ModalBoxes.h"
#include "kit/MouseGestureRecognizer.h"
#include "kit/SplashController.h"
#include "kit/Stack.h"

#include <QMap>
#include <QPointer>
#include <QRect>

class LumenViewController;
class MainWindowController;
class QInputEvent;
class SimulatedDevice;
class SingleInstance;
class VizoEventDispatcher;
class VizoProtocolChannel;
class DeviceLink;

class AppDelegate : public QObject, public AppContext, public ConnectionKeeper::Host
{
    Q_OBJECT

public:
    using MenuFactory = std::function<AbstractMenuController *(QWidget *parent)>;
    using PacketWriter = std::function<void(const QByteArray &payload)>;
    using CaptureMouseEvent = CapturePicture::MouseEvent;

    explicit AppDelegate(const CommandLineOptions &options = {}, QObject *parent = nullptr);
    ~AppDelegate() override;

    // ---- class operations, for main.cpp and tests: the delegate of this
    // run (nothing in the application reaches for it).
    static AppDelegate *instance();
    static void closeSplash();
    static SplashController *splash();

    // ---- AppContext
    VizoConnection *connection() const override { return m_connection.get(); }
    bool connectionUsable() const override { return m_connection && !m_connection->isLost(); }
    int connectionSerial() const override { return m_connectionCount; }
    VizoSettings *settings() const override { return m_connection ? &m_connection->settings() : nullptr; }
    void writeVizoPacket(const QByteArray &payload) override;
    float scaleFactor() const override { return m_scaleFactor; }
    Stack &stackUI() override { return m_stackUI; }
    PageService &pageService() override { return *m_pageService; }
    void showMessageBox(const QString &text) override { ModalBoxes::showMessageBox(*this, text); }
    bool showYesNoMessageBox(const QString &text) override { return ModalBoxes::showYesNoMessageBox(*this, text); }
    void showDeleteBox() override { ModalBoxes::showDeleteBox(*this, m_deleteBox); }
    void closeDeleteBox() override { ModalBoxes::closeDeleteBox(m_deleteBox); }
    MessageBoxController *deleteBox() const override { return m_deleteBox; }
    bool disableHotKeys() const override { return m_disableHotKeys; }
    void setDisableHotKeys(bool disable) override { m_disableHotKeys = disable; }
    bool disableMouseGestures() const override { return m_disableMouseGestures; }
    void setDisableMouseGestures(bool disable) override { m_disableMouseGestures = disable; }
    bool disableAllFunctions() const override { return m_disableAllFunctions; }
    void setDisableAllFunctions(bool disable) override { m_disableAllFunctions = disable; }
    void updateHotKeys() override { m_inputArming->updateHotKeys(*this); }
    void updateMouseGestures() override { m_inputArming->updateMouseGestures(*this); }
    QHash<QString, std::shared_ptr<BrHotKey>> &dicShortcutHandlers() override { return m_dicShortcutHandlers; }
    QHash<QString, std::shared_ptr<MouseGestureRecognizer>> &dicMouseGestures() override { return m_dicMouseGestures; }
    AbstractMenuController *menuController() const override { return m_menuController; }
    AbstractMenuController *createMenuController(QWidget *parent) override;
    bool menuOpened() const override { return m_stackControl->menuOpened(); }
    void openMenu() override { m_stackControl->openMenu(); }
    void closeMenu() override { m_stackControl->closeMenu(); }
    void closeAllUI() override { m_stackControl->closeAllUI(m_closeAllUIPauseMs); }
    void doLayout() override;
    void applyVizoModeChanged() override { m_stackControl->applyVizoModeChanged(); }
    QWidget *window() const override;
    QWidget *captureView() const override { return m_picture ? m_picture->view() : nullptr; }
    bool isTerminating() const override { return m_terminating; }

    // ---- application lifecycle
    // Runs the whole launch; returns false when this copy must end at once
    // (another copy runs; launchExitCode() says with which code). The splash
    // then runs modally until start-up completes or the application quits.
    bool applicationDidFinishLaunching();
    // 0 when the running copy was raised, 1 when it did not answer.
    int launchExitCode() const { return m_launchExitCode; }
    void applicationWillTerminate();
    void applicationDidBecomeActive();
    void applicationDidResignActive();
    // Ends the application: 0 after the user closed it, 1 after a fatal
    // error of the link.
    void terminate(int exitCode = 0);
    // A fatal error of the link: its message box, then the end. The first
    // one wins.
    void failFatally(const QString &message) override;
    // The link went away after it was up: see ConnectionKeeper::linkLost.
    void linkLost(const QString &message, bool linkUsable = false) { m_connectionKeeper->linkLost(message, linkUsable); }
    // Releases the current connection and everything made for it (picture,
    // menu, hot keys, gestures) and sets a fresh model up, as at launch.
    // Never called while a modal run is on the call stack.
    void closeConnection() override;
    void closeOpenWindows() override { m_stackControl->closeOpenWindows(); }
    void runSplash(bool waiting) override;
    SplashController *currentSplash() const override { return m_splash; }
    ConnectionKeeper &connectionKeeper() { return *m_connectionKeeper; }
    // Connections made since launch (1 after the first).
    int connectionCount() const { return m_connectionCount; }
    // What terminate() does after marking the application as terminating:
    // leaving the event loop (and every modal loop) by default.
    void setTerminateHandler(std::function<void()> handler) { m_terminateHandler = std::move(handler); }

    // The pieces of launch, public so that tests can build a delegate
    // without a device or a window.
    void setupModel();            // scale factor, stack, first connection model
    void setupConnectionModel();  // a new connection object, tables
    void setupMainWindow();       // window on the available area
    void setupMenuController();   // the hidden menu column
    bool setupVizoProtocolChannel() override;
    void announceLinkSpeed() override;

    // Start-up completion, once the option file has been parsed.
    void applyParsedOptionFile(const QMap<QString, QString> &pairs);
    void setupCaptureView();

    // ---- input (filled by the input layer through InputArming)
    void setupHotKeys() { m_inputArming->setupHotKeys(*this); }
    void setupMouseGestures() { m_inputArming->setupMouseGestures(*this); }
    void setInputArming(std::unique_ptr<InputArming> arming);
    // Posts one call per enabled gesture recognizer with a copy of the event.
    void deliverMouseEvent(CaptureMouseEvent kind, QWidget *view, const QInputEvent &event)
    {
        MouseGestureRecognizer::deliver(m_dicMouseGestures, kind, view, event, this);
    }

    // ---- sending to the device
    // Every command goes through writeVizoPacket(): the connection's link
    // when there is one, otherwise the writer installed for tests.
    void setPacketWriter(PacketWriter writer) { m_packetWriter = std::move(writer); }
    // Sees every payload before it is sent (diagnostics, tests).
    void setPacketObserver(PacketWriter observer) { m_packetObserver = std::move(observer); }

    // ---- forwards to the current connection (tests)
    SimulatedDevice *simulatedDevice() const { return m_connection ? m_connection->simulatedDevice() : nullptr; }
    VizoProtocolChannel *protocolChannel() const { return m_connection ? m_connection->protocolChannel() : nullptr; }
    DeviceLink *deviceLink() const { return m_connection ? m_connection->link() : nullptr; }
    VizoEventDispatcher *eventDispatcher() const { return m_connection ? &m_connection->dispatcher() : nullptr; }
    bool deletingFiles() const { return m_connection && m_connection->deletingFiles(); }
    void setDeletingFiles(bool deleting) { m_connection->setDeletingFiles(deleting); }
    QSemaphore &semaphoreForDelete() { return m_connection->semaphoreForDelete(); }

    // ---- fields
    QWidget *captureViewContainer() const;
    QRect rcMainView() const;
    LumenViewController *captureViewController() const { return m_picture ? m_picture->controller() : nullptr; }
    MainWindowController *mainWindowController() const { return m_mainWindow.get(); }
    const CommandLineOptions &options() const override { return m_options; }
    // The viewer's own keys, status line, help and picture still; nullptr
    // without a main window.
    ViewerControls *viewerControls() const { return m_viewerControls.data(); }
    void setMenuOpened(bool opened) { m_stackControl->setMenuOpened(opened); }

    // The menu column: the Options, OCR and Files menus unless a factory is
    // installed (tests record what the core asks of a menu).
    static void setMenuFactory(MenuFactory factory);

    // The pause closeAllUI() makes between two windows (200 ms).
    void setCloseAllUIPauseMs(int ms) { m_closeAllUIPauseMs = ms; }

signals:
    // Start-up has completed: settings applied, splash closing.
    void ready();
    // A connection was released; the settings model is a new one.
    void connectionClosed();
    // The picture view in the container changed (set up or removed).
    void captureViewChanged();

private:
    void onPictureMouse(CaptureMouseEvent kind, QWidget *view, const QInputEvent &event);

    CommandLineOptions m_options;
    Stack m_stackUI;
    std::unique_ptr<VizoConnection> m_connection;
    std::unique_ptr<MainWindowController> m_mainWindow;
    std::unique_ptr<CapturePicture> m_picture;
    std::unique_ptr<InputArming> m_inputArming;
    std::unique_ptr<PageService> m_pageService;
    std::unique_ptr<SingleInstance> m_singleInstance;
    std::unique_ptr<ConnectionKeeper> m_connectionKeeper;
    std::unique_ptr<StackControl> m_stackControl;
    QPointer<ViewerControls> m_viewerControls;
    QPointer<AbstractMenuController> m_menuController;
    QPointer<SplashController> m_splash;
    QPointer<MessageBoxController> m_deleteBox;
    QHash<QString, std::shared_ptr<BrHotKey>> m_dicShortcutHandlers;
    QHash<QString, std::shared_ptr<MouseGestureRecognizer>> m_dicMouseGestures;
    PacketWriter m_packetWriter;
    PacketWriter m_packetObserver;
    std::function<void()> m_terminateHandler;
    float m_scaleFactor = 0.0f;
    bool m_disableHotKeys = false;
    bool m_disableMouseGestures = false;
    bool m_disableAllFunctions = false;
    int m_closeAllUIPauseMs = 200;
    bool m_terminating = false;
    bool m_willTerminateDone = false;
    bool m_fatalErrorShown = false;
    int m_launchExitCode = 1;
    int m_connectionCount = 0;
};
