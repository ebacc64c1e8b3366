#include "ModalWindowController.h"

#include "kit/AppContext.h"
#include "kit/Stack.h"

#include <bramble/BrHotKey.h>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QScreen>

namespace {
int s_runningModal = 0;
} // namespace

int ModalWindowController::runningModalCount()
{
    return s_runningModal;
}

ModalWindowController::ModalWindowController(AppContext &app, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(app)
{
    m_hotKeyReturn = makeKey(kKeyCodeReturn, &ModalWindowController::onReturnKeyDown);
    m_hotKeyEsc = makeKey(kKeyCodeEsc, &ModalWindowController::onEscKeyDown);
    m_hotKeyBackspace = makeKey(kKeyCodeBackspace, &ModalWindowController::onBackspaceKeyDown);
}

ModalWindowController::~ModalWindowController()
{
    // A window destroyed while shown still leaves the stack and ends its loop.
    if (m_loaded && !m_closed)
        windowWillClose();
}

std::unique_ptr<BrHotKey> ModalWindowController::makeKey(quint16 keyCode, void (ModalWindowController::*handler)())
{
    auto key = std::make_unique<BrHotKey>();
    key->setKeyCode(keyCode);
    QPointer<ModalWindowController> self(this);
    key->setEventKeyDown([self, handler](bool repeat) {
        if (!repeat && self)
            (self.data()->*handler)();
    });
    return key;
}

void ModalWindowController::setEnableHotKeyReturn(bool enable)
{
    m_enableHotKeyReturn = enable;
    m_hotKeyReturn->setEnabled(enable);
}

void ModalWindowController::setEnableHotKeyEsc(bool enable)
{
    m_enableHotKeyEsc = enable;
    m_hotKeyEsc->setEnabled(enable);
}

void ModalWindowController::setEnableHotKeyBackspace(bool enable)
{
    m_enableHotKeyBackspace = enable;
    m_hotKeyBackspace->setEnabled(enable);
}

void ModalWindowController::loadWindow()
{
    if (m_loaded)
        return;
    m_loaded = true;
    windowDidLoad();
}

void ModalWindowController::windowDidLoad()
{
    // Return, Esc and Backspace belong to the top window only: the one
    // below gets them back when this one has closed.
    if (auto *below = qobject_cast<ModalWindowController *>(m_context.stackUI().top())) {
        below->setEnableHotKeyReturn(false);
        below->setEnableHotKeyEsc(false);
        below->setEnableHotKeyBackspace(false);
    }
    m_context.stackUI().push(this);
    if (m_captureView)
        m_captureViewParent = m_captureView->parentWidget();
    if (m_isFullSize) {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
    }
    // Above the main window, and the only window that takes input.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowModality(Qt::ApplicationModal);
    enableHotKeys();
}

void ModalWindowController::runModal()
{
    loadWindow();
    if (m_closed)
        return;
    QPointer<QWidget> noted = QApplication::focusWidget();

    show();
    raise();
    activateWindow();
    setFocus(Qt::OtherFocusReason);

    QEventLoop loop;
    m_modalLoop = &loop;
    ++s_runningModal;
    if (!m_closed)
        loop.exec(QEventLoop::DialogExec);
    --s_runningModal;
    m_modalLoop = nullptr;

    if (noted) {
        if (QWidget *window = noted->window()) {
            window->activateWindow();
        }
        noted->setFocus(Qt::OtherFocusReason);
    }
}

void ModalWindowController::closeWindow()
{
    if (m_closed)
        return;
    if (!m_loaded) {
        // Never shown: nothing to undo, but a later runModal() must not block.
        m_closed = true;
        return;
    }
    windowWillClose();
    hide();
}

void ModalWindowController::closeEvent(QCloseEvent *event)
{
    if (m_loaded && !m_closed)
        windowWillClose();
    event->accept();
}

void ModalWindowController::windowWillClose()
{
    m_closed = true;
    if (m_modalLoop)
        m_modalLoop->quit();

    if (m_captureView && m_captureViewParent) {
        m_captureView->setParent(m_captureViewParent);
        m_captureView->setGeometry(m_captureViewParent->rect());
        m_captureView->show();
        m_context.doLayout();
    }

    setEnableHotKeyReturn(false);
    setEnableHotKeyEsc(false);
    setEnableHotKeyBackspace(false);

    // This window leaves the stack even when it is not the top (a window
    // below another one closed by the device): popping blindly would drop
    // the wrong entry.
    m_context.stackUI().remove(this);
    emit windowClosed();
}
