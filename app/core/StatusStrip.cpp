#include "StatusStrip.h"

#include "settings/VizoColorMode.h"
#include "settings/VizoColorSlot.h"
#include "settings/VizoOptions.h"
#include "settings/VizoSettings.h"

#include <QAccessible>
#include <QEvent>

#include <algorithm>

StatusStrip::StatusStrip(QWidget *window, QWidget *area) : QLabel(window), m_area(area)
{
    setObjectName(QStringLiteral("statusStrip"));
    setAccessibleDescription(QStringLiteral("Viewer status"));
    setStyleSheet(QStringLiteral("background: black; color: #ffff00; padding: 2px 12px;"));
    setTextInteractionFlags(Qt::NoTextInteraction);
    // A narrow picture area (the menu open, a small window) takes the line
    // onto two rather than cutting off its end.
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
    m_flashTimer.setSingleShot(true);
    connect(&m_flashTimer, &QTimer::timeout, this, [this] {
        m_flash.clear();
        refresh();
    });
    window->installEventFilter(this);
    if (area)
        area->installEventFilter(this);
    refresh();
}

void StatusStrip::setSettings(VizoSettings *settings)
{
    disconnect(m_changed);
    m_settings = settings;
    if (settings)
        m_changed = connect(settings, &VizoSettings::changed, this, &StatusStrip::refresh);
    refresh();
}

QString StatusStrip::statusText() const
{
    QStringList parts;
    parts << (connectionState ? connectionState() : QString());
    VizoSettings *s = m_settings;
    if (s && (!settingsKnown || settingsKnown())) {
        parts << (s->cameraMode() == 0 ? QStringLiteral("Distance view")
                                       : QStringLiteral("Near view"));
        parts << QStringLiteral("Zoom %1").arg(s->zoomLevel());
        const int slot = s->cameraMode() == 0 ? s->selectedColorSlotForDistanceViewMode()
                                              : s->selectedColorSlotForNearViewMode();
        if (VizoColorMode *mode = s->options()->colorModeForCameraMode(s->cameraMode())) {
            if (VizoColorSlot *colours = mode->slot(slot))
                parts << QStringLiteral("Colours: %1").arg(colours->toString());
        }
        parts << QStringLiteral("Contrast %1")
                     .arg(s->cameraMode() == 0 ? s->options()->contrastForDistance()
                                               : s->options()->contrastForNear());
    }
    parts.removeAll(QString());
    return parts.join(QStringLiteral("  ·  "));
}

void StatusStrip::flash(const QString &message, int ms)
{
    m_flash = message;
    m_flashTimer.start(ms);
    refresh();
}

void StatusStrip::refresh()
{
    const QString text = m_flash.isEmpty() ? statusText() : m_flash;
    if (text != this->text()) {
        setText(text);
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    place();
}

void StatusStrip::place()
{
    QWidget *window = parentWidget();
    if (!window)
        return;
    QFont f = font();
    f.setPixelSize(std::clamp(window->height() / 28, 16, 40));
    f.setBold(true);
    setFont(f);
    // The area only grows; a smaller window crops it at the right and bottom.
    const QRect area = (m_area ? m_area->geometry() : window->rect()) & window->rect();
    const int h = std::max(f.pixelSize() * 2, heightForWidth(area.width()) + f.pixelSize() / 2);
    setGeometry(area.x(), area.y() + area.height() - h, area.width(), h);
    raise();
}

bool StatusStrip::eventFilter(QObject *watched, QEvent *event)
{
    const bool moved = event->type() == QEvent::Resize || event->type() == QEvent::Move;
    if ((watched == parentWidget() && (moved || event->type() == QEvent::ChildAdded)) ||
        (watched == m_area && moved))
        QMetaObject::invokeMethod(this, &StatusStrip::place, Qt::QueuedConnection);
    return QLabel::eventFilter(watched, event);
}
