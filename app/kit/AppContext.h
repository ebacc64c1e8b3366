#pragma once
// What windows, pages, menus, file browsers and the input layer ask of the
// application: the current connection and its settings, sending to the
// device, the modal stack and its boxes, the input flags, the menu and the
// picture. The application delegate implements it; tests may hand a fake.
// It is handed to each of them when they are made, so nothing reaches for a
// global.
//
// The connection behind it changes when the camera goes away and comes
// back: hold a guard (ConnectionGuard) across a modal run, never a raw
// pointer into the settings.
//
// Main thread only.
#include "kit/Stack.h"

#include <QHash>
#include <QString>

#include <memory>

class AbstractMenuController;
class BrHotKey;
class MessageBoxController;
class MouseGestureRecognizer;
class PageService;
class QByteArray;
class QWidget;
class VizoConnection;
class VizoSettings;

class AppContext
{
public:
    virtual ~AppContext() = default;

    // ---- the connection
    // The current connection, or nullptr while there is none.
    virtual VizoConnection *connection() const = 0;
    // There is a connection and its link has not been lost.
    virtual bool connectionUsable() const = 0;
    // Counts the connections made since launch: a new one, a new number.
    virtual int connectionSerial() const = 0;
    // The current connection's settings model (a model with defaults while
    // waiting for the camera). Never hold it across a modal run.
    virtual VizoSettings *settings() const = 0;
    // Sends one payload to the device; nothing once the link is gone.
    virtual void writeVizoPacket(const QByteArray &payload) = 0;
    // Sends SpeakText: the device reads `text` aloud.
    void speak(const QString &text);

    // A text of the current language tables, or `fallback` while the tables
    // have no such key (before the device has named its region).
    QString languageString(const QString &section, const QString &key, const QString &fallback = {}) const;

    // Main screen width / 1680 x 2.5; design sizes are multiplied by it.
    virtual float scaleFactor() const = 0;

    // ---- the modal stack and its boxes
    virtual Stack &stackUI() = 0;
    virtual PageService &pageService() = 0;
    virtual void showMessageBox(const QString &text) = 0;
    virtual bool showYesNoMessageBox(const QString &text) = 0;
    virtual void showDeleteBox() = 0;
    virtual void closeDeleteBox() = 0;
    virtual MessageBoxController *deleteBox() const = 0;

    // ---- input arming
    virtual bool disableHotKeys() const = 0;
    virtual void setDisableHotKeys(bool disable) = 0;
    virtual bool disableMouseGestures() const = 0;
    virtual void setDisableMouseGestures(bool disable) = 0;
    virtual bool disableAllFunctions() const = 0;
    virtual void setDisableAllFunctions(bool disable) = 0;
    virtual void updateHotKeys() = 0;
    virtual void updateMouseGestures() = 0;
    // Hot keys and gestures off (or back on) in one step, as before a
    // command that switches the device's mode and after its report.
    void lockInput(bool lock);
    virtual QHash<QString, std::shared_ptr<BrHotKey>> &dicShortcutHandlers() = 0;
    virtual QHash<QString, std::shared_ptr<MouseGestureRecognizer>> &dicMouseGestures() = 0;

    // ---- the menu, the layout and the picture
    virtual AbstractMenuController *menuController() const = 0;
    // Makes a menu column for `parent` (the main window's, or a capture
    // window's own).
    virtual AbstractMenuController *createMenuController(QWidget *parent) = 0;
    virtual bool menuOpened() const = 0;
    virtual void openMenu() = 0;
    virtual void closeMenu() = 0;
    virtual void closeAllUI() = 0;
    virtual void doLayout() = 0;
    virtual void applyVizoModeChanged() = 0;
    virtual QWidget *window() const = 0;
    virtual QWidget *captureView() const = 0;

    virtual bool isTerminating() const = 0;
};

// Taken before a modal run, asked after it: did the connection the caller
// started with survive? A page, menu or browser handler that returns after
// its camera went away does nothing more.
class ConnectionGuard
{
public:
    explicit ConnectionGuard(const AppContext &context);
    bool alive() const;

private:
    const AppContext &m_context;
    int m_serial;
};
