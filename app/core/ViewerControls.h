#pragma once
// The viewer's own keys, which act inside its windows (they are not hot
// keys of the device and are never grabbed system-wide): F1 or Help the
// hot key list, F9 freeze, F12 snapshot, Ctrl+I the status line, F11 full
// screen, Ctrl+Q quit. None of them is used by the shipped hot key files.
// Owns the status line, the help overlay and the picture still.
#include <QObject>

#include <QString>

#include <functional>
#include <memory>

class AppContext;
class QWidget;
class HelpOverlay;
class PictureStill;
class StatusStrip;

class ViewerControls : public QObject
{
    Q_OBJECT

public:
    ViewerControls(AppContext &app, QWidget *captureViewContainer, QObject *parent);

    // What the status line says of the link ("Waiting for the camera",
    // "Connecting", "Connected"), and whether the camera's settings are in.
    std::function<QString()> connectionState;
    std::function<bool()> settingsKnown;
    // Ctrl+Q: ends the application as closing the window does.
    std::function<void()> eventQuit;

    // Start-up has completed; a connection was replaced (a new settings
    // model); the picture changed.
    void connectionReady();
    void connectionChanged();
    void pictureChanged();
    ~ViewerControls() override;

    void toggleHelp();
    void toggleFreeze();
    void snapshot();
    void toggleStatusStrip();
    void toggleFullScreen();
    void quit();
    // Tells the user in the status line for a while (and on stderr).
    void say(const QString &message);

    StatusStrip *statusStrip() const { return m_strip; }
    HelpOverlay *helpOverlay() const { return m_help; }
    PictureStill *pictureStill() const { return m_still.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppContext &m_app;
    StatusStrip *m_strip = nullptr;
    HelpOverlay *m_help = nullptr;
    std::unique_ptr<PictureStill> m_still;
};
