#include "BrHotKeyInApp.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <utility>

namespace {
constexpr Qt::KeyboardModifiers kComboModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier;

// The physical key of an event: its scan code where the platform gives one,
// else its Qt key (which Shift may change, hence the scan code first).
quint64 physicalKey(const QKeyEvent *event)
{
    if (event->nativeScanCode())
        return (quint64(1) << 40) | event->nativeScanCode();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    return (quint64(keypad) << 32) | quint32(event->key());
}
} // namespace

BrHotKeyInApp::BrHotKeyInApp(EventSink sink) : BrHotKeyBackend(std::move(sink))
{
    m_hasKeyboard = QGuiApplication::applicationState() == Qt::ApplicationActive;
    QCoreApplication::instance()->installEventFilter(this);
}

BrHotKeyInApp::~BrHotKeyInApp()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool BrHotKeyInApp::doGrab(quint32, const BrKeyGrab &)
{
    return true;
}

void BrHotKeyInApp::doUngrab(quint32) {}

bool BrHotKeyInApp::eventFilter(QObject *watched, QEvent *event)
{
    // A key event reaches its window first and then propagates through the
    // widgets, passing this filter each time: count it at the window only.
    if (event->type() == QEvent::ApplicationStateChange) {
        const bool active = static_cast<QApplicationStateChangeEvent *>(event)->applicationState() ==
                            Qt::ApplicationActive;
        if (!active)
            releaseHeldKeys();
        m_hasKeyboard = active;
    }
    if (watched->isWindowType()) {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            m_hasKeyboard = true;
        if (event->type() == QEvent::KeyPress)
            keyPressed(static_cast<QKeyEvent *>(event));
        else if (event->type() == QEvent::KeyRelease)
            keyReleased(static_cast<QKeyEvent *>(event));
    }
    return false; // passed on, never consumed
}

void BrHotKeyInApp::keyPressed(const QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return; // the repeats come from our own timer
    const Qt::KeyboardModifiers mods = event->modifiers() & kComboModifiers;
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const int key = event->key();
    for (const auto &[id, grab] : grabs()) {
        if (grab.keypad != keypad || grab.modifiers != mods)
            continue;
        const bool match = grab.qtKey == key || (mods.testFlag(Qt::ShiftModifier) && grab.shiftedQtKey == key);
        if (match) {
            m_held[physicalKey(event)] = id;
            report(EventKind::Pressed, id);
            return;
        }
    }
}

void BrHotKeyInApp::keyReleased(const QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return;
    auto it = m_held.find(physicalKey(event));
    if (it == m_held.end())
        return;
    const quint32 id = it->second;
    m_held.erase(it);
    report(EventKind::Released, id);
}

// The keyboard went to another application: the releases of the keys held
// now go there, so end the presses here (a held zoom key stops zooming).
void BrHotKeyInApp::releaseHeldKeys()
{
    const auto held = std::exchange(m_held, {});
    for (const auto &[key, id] : held)
        report(EventKind::Released, id);
}
