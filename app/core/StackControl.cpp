#include "StackControl.h"

#include "MainWindowController.h"

#include "kit/AbstractMenuController.h"
#include "kit/AppContext.h"
#include "kit/CaptureWindowController.h"
#include "kit/MessageBoxController.h"
#include "kit/SplashController.h"
#include "kit/Stack.h"
#include "kit/YesNoMessageBoxController.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

#include <QThread>

StackControl::StackControl(AppContext &context, std::function<AbstractMenuController *()> menu,
                           std::function<MainWindowController *()> window)
    : m_context(context)
    , m_menu(std::move(menu))
    , m_window(std::move(window))
{
}

void StackControl::openMenu()
{
    VizoSettings *settings = m_context.settings();
    Stack &stack = m_context.stackUI();
    if (settings->vizoMode() == 3)
        return;
    if (settings->vizoHotKeyMode() == 2) {
        auto *top = qobject_cast<CaptureWindowController *>(stack.top());
        if (top && !top->isVizoMenuOpen()) {
            m_context.writeVizoPacket(VizoCmd::MenuOpened().payload());
            top->openVizoMenu();
        }
        return;
    }
    AbstractMenuController *menu = m_menu();
    if (!menu || menu->isOpened())
        return;
    m_context.writeVizoPacket(VizoCmd::MenuOpened().payload());
    if (MainWindowController *window = m_window()) {
        menu->view()->resize(menu->view()->width(), window->contentView()->height());
        window->layoutMenuOpen(menu->view()->width());
    }
    menu->buildVizoMenu();
    menu->reloadSettings();
    menu->reloadMenuLabel();
    menu->showMenu();
    menu->setDefaultTab();
    m_menuOpened = true;
    m_context.updateHotKeys();
    m_context.updateMouseGestures();
    stack.push(menu);
}

void StackControl::closeMenu()
{
    Stack &stack = m_context.stackUI();
    if (m_context.settings()->vizoHotKeyMode() == 2) {
        auto *top = qobject_cast<CaptureWindowController *>(stack.top());
        if (top && top->isVizoMenuOpen()) {
            m_context.writeVizoPacket(VizoCmd::MenuClosed().payload());
            top->closeVizoMenu();
        }
        return;
    }
    AbstractMenuController *menu = m_menu();
    if (!menu || !menu->isOpened())
        return;
    m_context.writeVizoPacket(VizoCmd::MenuClosed().payload());
    if (MainWindowController *window = m_window())
        window->layoutMenuClosed();
    m_menuOpened = false;
    m_context.updateHotKeys();
    m_context.updateMouseGestures();
    menu->hideMenu();
    // The menu leaves the stack wherever it is (a box may lie above it).
    stack.remove(menu);
}

void StackControl::closeAllUI(int pauseMs)
{
    Stack &stack = m_context.stackUI();
    const qsizetype n = stack.count();
    for (qsizetype i = 0; i < n; ++i) {
        QObject *top = stack.top();
        if (!top) {
            stack.pop();
            continue;
        }
        if (auto *window = qobject_cast<ModalWindowController *>(top))
            window->closeUI();
        else if (auto *menu = qobject_cast<AbstractMenuController *>(top))
            menu->closeUI();
        if (pauseMs > 0)
            QThread::msleep(pauseMs);
    }
}

void StackControl::closeOpenWindows()
{
    Stack &stack = m_context.stackUI();
    AbstractMenuController *mainMenu = m_menu();
    // Top first. A window whose cancel path leaves it open (a box, a capture
    // window with its menu open) is closed outright.
    for (qsizetype rounds = stack.count() * 2 + 1; rounds > 0 && stack.count() > 0; --rounds) {
        QObject *top = stack.top();
        if (qobject_cast<SplashController *>(top))
            break;
        if (top && top == mainMenu) {
            closeMenu();
        } else if (auto *menu = qobject_cast<AbstractMenuController *>(top)) {
            menu->closeUI();
        } else if (auto *window = qobject_cast<ModalWindowController *>(top)) {
            window->closeUI();
            if (stack.top() == top)
                window->closeWindow();
        }
        // Never loop on an entry that does not leave.
        if (stack.count() > 0 && stack.top() == top)
            stack.pop();
    }
    if (mainMenu && mainMenu->isOpened()) {
        mainMenu->hideMenu();
        if (MainWindowController *window = m_window())
            window->layoutMenuClosed();
    }
    m_menuOpened = false;
}

void StackControl::applyVizoModeChanged()
{
    Stack &stack = m_context.stackUI();
    for (qsizetype i = stack.count() - 1; i >= 0; --i) {
        QObject *entry = stack.at(i);
        if (!entry || qobject_cast<MessageBoxController *>(entry) || qobject_cast<YesNoMessageBoxController *>(entry))
            continue;
        if (auto *window = qobject_cast<ModalWindowController *>(entry))
            window->vizoModeChanged();
        // The tree menu answers a mode change with nothing.
        return;
    }
}
