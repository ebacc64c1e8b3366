#include "ViewerControls.h"

#include "kit/AppContext.h"
#include "HelpOverlay.h"
#include "PictureStill.h"
#include "StatusStrip.h"

#include "input/VizoInputNames.h"

#include <bramble/BrHotKey.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <cstdio>

ViewerControls::ViewerControls(AppContext &app, QWidget *captureViewContainer, QObject *parent)
    : QObject(parent), m_app(app)
{
    QWidget *window = app.window();
    m_strip = new StatusStrip(window, captureViewContainer);
    m_strip->connectionState = [this] { return connectionState ? connectionState() : QString(); };
    m_strip->settingsKnown = [this] { return settingsKnown && settingsKnown(); };
    m_strip->setSettings(app.settings());
    m_strip->show();
    m_help = new HelpOverlay(window);
    m_still = std::make_unique<PictureStill>([this] { return m_app.captureView(); });
    qApp->installEventFilter(this);
}

void ViewerControls::connectionReady()
{
    // After the splash has closed (posted at the same moment).
    QMetaObject::invokeMethod(m_strip, &StatusStrip::refresh, Qt::QueuedConnection);
}

void ViewerControls::connectionChanged()
{
    m_still->unfreeze();
    m_strip->setSettings(m_app.settings());
}

void ViewerControls::pictureChanged()
{
    m_strip->refresh();
}

ViewerControls::~ViewerControls()
{
    qApp->removeEventFilter(this);
}

void ViewerControls::say(const QString &message)
{
    std::fprintf(stderr, "vizo-viewer: %s\n", qPrintable(message));
    std::fflush(stderr);
    m_strip->flash(message);
    if (m_strip->isHidden())
        m_strip->show();
}

void ViewerControls::toggleHelp()
{
    if (m_help->isVisible()) {
        m_help->hide();
        return;
    }
    QList<QPair<QString, QString>> armed;
    const auto &table = m_app.dicShortcutHandlers();
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        if (it.value() && it.value()->enabled())
            armed << qMakePair(it.key(), it.value()->description());
    }
    // In the order the actions are made, which groups related keys.
    const QStringList &order = VizoInputNames::hotKeyActions();
    std::sort(armed.begin(), armed.end(), [&order](const auto &a, const auto &b) {
        return order.indexOf(a.first) < order.indexOf(b.first);
    });
    m_help->showKeys(armed);
}

void ViewerControls::toggleFreeze()
{
    if (!m_still->toggleFreeze()) {
        say(QStringLiteral("No picture to freeze"));
        return;
    }
    say(m_still->isFrozen()
            ? QStringLiteral("Picture frozen: F9 or a middle click shows the live picture")
            : QStringLiteral("Live picture"));
}

void ViewerControls::snapshot()
{
    QString error;
    const QString path = m_still->saveSnapshot(&error);
    say(path.isEmpty() ? QStringLiteral("The picture was not saved: %1").arg(error)
                       : QStringLiteral("Picture saved to %1").arg(path));
}

void ViewerControls::toggleStatusStrip()
{
    m_strip->setVisible(!m_strip->isVisible());
    if (m_strip->isVisible())
        m_strip->refresh();
}

void ViewerControls::toggleFullScreen()
{
    QWidget *window = m_app.window();
    if (!window)
        return;
    if (window->isFullScreen())
        window->showNormal();
    else
        window->showFullScreen();
}

void ViewerControls::quit()
{
    // As closing the window: HostClosing on the way out.
    if (eventQuit)
        eventQuit();
}

bool ViewerControls::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched == m_app.captureView()) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton) {
            toggleFreeze();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->isAutoRepeat())
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier && key->key() == Qt::Key_Q) {
        quit();
        return true;
    }
    if (mods == Qt::ControlModifier && key->key() == Qt::Key_I) {
        toggleStatusStrip();
        return true;
    }
    if (mods != Qt::NoModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_F1:
    case Qt::Key_Help:
        toggleHelp();
        return true;
    case Qt::Key_Escape:
        if (!m_help->isVisible())
            return false;
        m_help->hide();
        return true;
    case Qt::Key_F9:
        toggleFreeze();
        return true;
    case Qt::Key_F11:
        toggleFullScreen();
        return true;
    case Qt::Key_F12:
        snapshot();
        return true;
    default:
        return false;
    }
}
