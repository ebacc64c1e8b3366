#pragma once
// Base class of every window put in front of the main window: setting
// pages, file browsers, capture windows, message boxes and the splash.
//
// A modal window is created by whoever shows it, loaded on first use
// (windowDidLoad, which subclasses extend and call first), shown with
// runModal(), which returns when the window closes, and is on the
// application's modal stack from its load to its close. It owns its Return,
// Esc and Backspace hot keys, created disabled; each calls its handler once
// per press (automatic repeats are ignored).
//
// Main thread only.
#include <QPointer>
#include <QWidget>

#include <memory>

class AppContext;
class BrHotKey;
class QEventLoop;

class ModalWindowController : public QWidget
{
    Q_OBJECT

public:
    // Virtual key codes of the window's own keys.
    static constexpr quint16 kKeyCodeReturn = 36;
    static constexpr quint16 kKeyCodeEsc = 53;
    static constexpr quint16 kKeyCodeBackspace = 51;

    explicit ModalWindowController(AppContext &context, QWidget *parent = nullptr);
    ~ModalWindowController() override;

    AppContext &context() const { return m_context; }

    // How many modal runs are on the call stack right now, all windows
    // together. Teardown of a connection waits until they have returned.
    static int runningModalCount();

    // Loads the window (once), shows it modally and returns when it closes.
    // Posted work keeps being handled meanwhile.
    void runModal();
    // Loads the window if that has not happened yet.
    void loadWindow();
    bool isWindowLoaded() const { return m_loaded; }
    // Closes the window, whichever way it is shown. Closing twice is harmless.
    void closeWindow();
    bool isClosed() const { return m_closed; }
    bool isRunningModal() const { return m_modalLoop != nullptr; }

    // Overridable behaviour; the base class does nothing.
    virtual void closeUI() {}
    virtual void onReturnKeyDown() {}
    virtual void onEscKeyDown() {}
    virtual void onBackspaceKeyDown() {}
    virtual void vizoModeChanged() {}
    virtual void enableHotKeys() {}

    bool enableHotKeyReturn() const { return m_enableHotKeyReturn; }
    void setEnableHotKeyReturn(bool enable);
    bool enableHotKeyEsc() const { return m_enableHotKeyEsc; }
    void setEnableHotKeyEsc(bool enable);
    bool enableHotKeyBackspace() const { return m_enableHotKeyBackspace; }
    void setEnableHotKeyBackspace(bool enable);

    BrHotKey *hotKeyReturn() const { return m_hotKeyReturn.get(); }
    BrHotKey *hotKeyEsc() const { return m_hotKeyEsc.get(); }
    BrHotKey *hotKeyBackspace() const { return m_hotKeyBackspace.get(); }

    bool isFullSize() const { return m_isFullSize; }
    void setIsFullSize(bool fullSize) { m_isFullSize = fullSize; }

    // The camera picture lent by the opener; given back when the window closes.
    QWidget *captureView() const { return m_captureView; }
    void setCaptureView(QWidget *view) { m_captureView = view; }
    QWidget *captureViewParent() const { return m_captureViewParent; }

signals:
    // Emitted once, when the window has closed and left the modal stack.
    void windowClosed();

protected:
    // Pushes the window onto the modal stack, records where a lent capture
    // view lives, covers the screen's available area when full size, raises
    // the window above the main window and calls enableHotKeys().
    virtual void windowDidLoad();
    void closeEvent(QCloseEvent *event) override;

private:
    void windowWillClose();
    std::unique_ptr<BrHotKey> makeKey(quint16 keyCode, void (ModalWindowController::*handler)());

    AppContext &m_context;
    std::unique_ptr<BrHotKey> m_hotKeyReturn;
    std::unique_ptr<BrHotKey> m_hotKeyEsc;
    std::unique_ptr<BrHotKey> m_hotKeyBackspace;
    bool m_enableHotKeyReturn = false;
    bool m_enableHotKeyEsc = false;
    bool m_enableHotKeyBackspace = false;
    bool m_isFullSize = false;
    bool m_loaded = false;
    bool m_closed = false;
    QPointer<QWidget> m_captureView;
    QPointer<QWidget> m_captureViewParent;
    QEventLoop *m_modalLoop = nullptr;
};
