#pragma once
// The root object of the application: it lives for the whole run and owns
// the settings model, the device link, the camera picture, the tree menu,
// the modal window stack, the hot key and gesture tables and the flags that
// gate user input. Everything else reaches it through instance() and the
// settings through settings().
//
// The delegate owns; small collaborators do the work: VizoEventDispatcher
// (device reports), MainWindowController (the window and its geometry),
// InputArming (hot keys and gestures), the capture windows (modes).
//
// Main thread only, except deletingFiles() and semaphoreForDelete(), which
// the reading thread and the file browsers' delete worker share.
#include "CommandLine.h"
#include "Stack.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSemaphore>

#include <atomic>
#include <functional>
#include <memory>

class AbstractMenuController;
class BrHotKey;
class DeviceLink;
class InputArming;
class LumenViewController;
class MainWindowController;
class MessageBoxController;
class MouseGestureRecognizer;
class PageService;
class QInputEvent;
class QLockFile;
class QWidget;
class SimulatedDevice;
class SplashController;
class VizoEventDispatcher;
class VizoProtocolChannel;
class VizoSettings;

class AppDelegate : public QObject
{
    Q_OBJECT

public:
    using MenuFactory = std::function<AbstractMenuController *(QWidget *parent)>;
    using PacketWriter = std::function<void(const QByteArray &payload)>;

    explicit AppDelegate(const CommandLineOptions &options = {}, QObject *parent = nullptr);
    ~AppDelegate() override;

    // ---- class operations
    static AppDelegate *instance();
    static VizoSettings *settings();
    static float scaleFactor();
    static void closeSplash();
    static void showMessageBox(const QString &text);
    static bool showYesNoMessageBox(const QString &text);
    static void showDeleteBox();
    static void closeDeleteBox();
    // The delete box on screen, or nullptr.
    static MessageBoxController *deleteBox();
    static SplashController *splash();

    // A text of the settings' language tables, or `fallback` when the
    // tables have no such key (before the device has named its region).
    static QString languageString(const QString &section, const QString &key, const QString &fallback = {});

    // ---- application lifecycle
    // Runs the whole launch; returns false when this copy must end at once
    // (another copy runs). The splash then runs modally until start-up
    // completes or the application quits.
    bool applicationDidFinishLaunching();
    void applicationWillTerminate();
    void applicationDidBecomeActive();
    void applicationDidResignActive();
    // Ends the application: 0 after the user closed it, 1 after a fatal
    // error of the link.
    void terminate(int exitCode = 0);
    bool isTerminating() const { return m_terminating; }
    // A fatal error of the link: its message box, then the end. The first
    // one wins: a device that says it is leaving and then closes its port
    // gets one box, not two.
    void failFatally(const QString &message);
    // What terminate() does after marking the application as terminating:
    // leaving the event loop (and every modal loop) by default.
    void setTerminateHandler(std::function<void()> handler) { m_terminateHandler = std::move(handler); }

    // The pieces of launch, public so that tests can build a delegate
    // without a device or a window.
    void setupModel();            // flags, scale factor, settings, stack, tables
    void setupMainWindow();       // window on the available area
    void setupMenuController();   // the hidden menu column
    bool setupVizoProtocolChannel();
    void announceLinkSpeed();

    // Start-up completion, once the option file has been parsed.
    void applyParsedOptionFile(const QMap<QString, QString> &pairs);

    void setupCaptureView();
    void openMenu();
    void closeMenu();
    void closeAllUI();
    void doLayout();
    void applyVizoModeChanged();

    // ---- input (filled by the input layer through InputArming)
    void setupHotKeys();
    void updateHotKeys();
    void setupMouseGestures();
    void updateMouseGestures();
    void setInputArming(std::unique_ptr<InputArming> arming);
    QHash<QString, std::shared_ptr<BrHotKey>> &dicShortcutHandlers() { return m_dicShortcutHandlers; }
    QHash<QString, std::shared_ptr<MouseGestureRecognizer>> &dicMouseGestures() { return m_dicMouseGestures; }
    // The seven mouse events of the camera picture.
    enum class CaptureMouseEvent {
        MouseDown,
        MouseDragged,
        MouseUp,
        RightMouseDown,
        RightMouseDragged,
        RightMouseUp,
        ScrollWheel,
    };
    // Posts one call per enabled gesture recognizer with a copy of the event.
    void deliverMouseEvent(CaptureMouseEvent kind, QWidget *view, const QInputEvent &event);

    // ---- sending to the device
    // Every command goes through here: the channel when there is one,
    // otherwise the writer installed for tests.
    void writeVizoPacket(const void *payload, size_t size);
    void writeVizoPacket(const QByteArray &payload);
    void setPacketWriter(PacketWriter writer) { m_packetWriter = std::move(writer); }
    // Sees every payload before it is sent (diagnostics, tests).
    void setPacketObserver(PacketWriter observer) { m_packetObserver = std::move(observer); }
    // The virtual device of --simulate, or nullptr.
    SimulatedDevice *simulatedDevice() const { return m_simulatedDevice.get(); }
    VizoProtocolChannel *protocolChannel() const;
    DeviceLink *deviceLink() const { return m_protocolChannel.get(); }

    // ---- fields
    Stack &stackUI() { return m_stackUI; }
    QWidget *window() const;
    QWidget *captureViewContainer() const;
    QRect rcMainView() const;
    LumenViewController *captureViewController() const { return m_captureViewController.get(); }
    QWidget *captureView() const;
    AbstractMenuController *menuController() const;
    MainWindowController *mainWindowController() const { return m_mainWindow.get(); }
    VizoEventDispatcher *eventDispatcher() const { return m_dispatcher.get(); }
    const CommandLineOptions &options() const { return m_options; }
    // Opens setting pages and file browsers (hands input over, restores it).
    PageService &pageService() { return *m_pageService; }

    bool menuOpened() const { return m_menuOpened; }
    void setMenuOpened(bool opened) { m_menuOpened = opened; }
    bool disableHotKeys() const { return m_disableHotKeys; }
    void setDisableHotKeys(bool disable) { m_disableHotKeys = disable; }
    bool disableMouseGestures() const { return m_disableMouseGestures; }
    void setDisableMouseGestures(bool disable) { m_disableMouseGestures = disable; }
    bool disableAllFunctions() const { return m_disableAllFunctions; }
    void setDisableAllFunctions(bool disable) { m_disableAllFunctions = disable; }

    // Written by the delete worker, read by the reading thread.
    bool deletingFiles() const { return m_deletingFiles.load(); }
    void setDeletingFiles(bool deleting) { m_deletingFiles.store(deleting); }
    QSemaphore &semaphoreForDelete() { return *m_semaphoreForDelete; }

    // The menu column: the Options, OCR and Files menus unless a factory is
    // installed (tests record what the core asks of a menu).
    static void setMenuFactory(MenuFactory factory);
    static AbstractMenuController *createMenuController(QWidget *parent);

    // The pause closeAllUI() makes between two windows (200 ms).
    void setCloseAllUIPauseMs(int ms) { m_closeAllUIPauseMs = ms; }

signals:
    // Start-up has completed: settings applied, splash closing.
    void ready();

private:
    friend class AppDelegateTestAccess;
    void installCaptureMouseHandlers();

    CommandLineOptions m_options;
    Stack m_stackUI;
    std::unique_ptr<VizoSettings> m_settings;
    std::unique_ptr<MainWindowController> m_mainWindow;
    std::unique_ptr<SimulatedDevice> m_simulatedDevice;
    std::unique_ptr<DeviceLink> m_protocolChannel;
    std::unique_ptr<VizoEventDispatcher> m_dispatcher;
    std::unique_ptr<LumenViewController> m_captureViewController;
    std::unique_ptr<InputArming> m_inputArming;
    std::unique_ptr<PageService> m_pageService;
    std::unique_ptr<QLockFile> m_instanceLock;
    QPointer<AbstractMenuController> m_menuController;
    QHash<QString, std::shared_ptr<BrHotKey>> m_dicShortcutHandlers;
    QHash<QString, std::shared_ptr<MouseGestureRecognizer>> m_dicMouseGestures;
    PacketWriter m_packetWriter;
    PacketWriter m_packetObserver;
    std::function<void()> m_terminateHandler;
    bool m_menuOpened = false;
    bool m_disableHotKeys = false;
    bool m_disableMouseGestures = false;
    bool m_disableAllFunctions = false;
    std::atomic<bool> m_deletingFiles{false};
    std::unique_ptr<QSemaphore> m_semaphoreForDelete;
    int m_closeAllUIPauseMs = 200;
    bool m_terminating = false;
    bool m_willTerminateDone = false;
    bool m_fatalErrorShown = false;
};
