#include "BrKeyRepeatMarker.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <algorithm>

namespace {
// Presses Qt never delivers (a grabbed key while another application has
// the focus) must not pile up.
constexpr std::size_t kMaxPending = 64;
} // namespace

BrKeyRepeatMarker::BrKeyRepeatMarker()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
    // A key let go while another application had the keyboard sent us no
    // release: its next press is a new one.
    if (qGuiApp)
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state != Qt::ApplicationActive) {
                        m_down.clear();
                        m_repeats.clear();
                    }
                });
}

BrKeyRepeatMarker::~BrKeyRepeatMarker()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void BrKeyRepeatMarker::keyPressed(uint8_t keycode, uint32_t time)
{
    if (m_down.insert(keycode).second)
        return;
    m_repeats.emplace_back(keycode, time);
    if (m_repeats.size() > kMaxPending)
        m_repeats.pop_front();
}

void BrKeyRepeatMarker::keyReleased(uint8_t keycode)
{
    m_down.erase(keycode);
}

bool BrKeyRepeatMarker::eventFilter(QObject *watched, QEvent *event)
{
    // Qt hands each key event to the window first, then to its widgets:
    // the window's copy is the one to replace.
    if (event->type() != QEvent::KeyPress || !event->spontaneous() || !watched->isWindowType() ||
        m_repeats.empty())
        return false;
    auto *press = static_cast<QKeyEvent *>(event);
    if (press->isAutoRepeat())
        return false;
    const auto it =
        std::find(m_repeats.begin(), m_repeats.end(),
                  std::make_pair(uint8_t(press->nativeScanCode()), uint32_t(press->timestamp())));
    if (it == m_repeats.end())
        return false;
    m_repeats.erase(m_repeats.begin(), it + 1);

    QKeyEvent repeat(QEvent::KeyPress, press->key(), press->modifiers(), press->nativeScanCode(),
                     press->nativeVirtualKey(), press->nativeModifiers(), press->text(), true,
                     quint16(press->count()), press->device());
    repeat.setTimestamp(press->timestamp());
    QCoreApplication::sendEvent(watched, &repeat);
    press->setAccepted(repeat.isAccepted());
    return true;
}
