#pragma once
// Hot keys seen by an application-wide key event filter, where no global
// grab exists (Wayland, offscreen). Keys reach it only while one of the
// application's windows has the keyboard focus.
#include "BrHotKeyBackend.h"

#include <map>

class QKeyEvent;

class BrHotKeyInApp : public BrHotKeyBackend
{
    Q_OBJECT
public:
    explicit BrHotKeyInApp(EventSink sink);
    ~BrHotKeyInApp() override;
    const char *name() const override { return "application key events"; }
    // Keys reach this filter only through the application's own windows:
    // true from any key event until the application is deactivated.
    bool hasKeyboard() const override { return m_hasKeyboard; }
    bool systemWide() const override { return false; }

protected:
    bool doGrab(quint32 id, const BrKeyGrab &key) override;
    void doUngrab(quint32 id) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keyPressed(const QKeyEvent *event);
    void keyReleased(const QKeyEvent *event);
    void releaseHeldKeys();

    // Physical key of a press → the id it was reported for, so the release
    // finds it even after Shift changed the Qt key or the hot key was
    // disarmed meanwhile.
    std::map<quint64, quint32> m_held;
    bool m_hasKeyboard = false;
};
