#include "CaptureWindowController.h"

#include "AbstractMenuController.h"
#include "kit/AppContext.h"
#include "DesignLayout.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

#include <QLabel>
#include <QPushButton>

#include <cmath>

CaptureWindowController::CaptureWindowController(AppContext &app, QWidget *parent)
    : ModalWindowController(app, parent)
{
    setIsFullSize(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);

    m_captureViewContainer = new QWidget(this);
    m_captureViewContainer->setObjectName(QStringLiteral("captureViewContainer"));

    m_footerContainer = new QWidget(this);
    m_footerContainer->setObjectName(QStringLiteral("footerContainer"));
    m_footerContainer->setAutoFillBackground(true);
    QPalette fp = m_footerContainer->palette();
    fp.setColor(QPalette::Window, QColor(75, 93, 138));
    fp.setColor(QPalette::WindowText, Qt::white);
    m_footerContainer->setPalette(fp);

    m_labelHeader = new QLabel(m_footerContainer);
    m_labelHeader->setObjectName(QStringLiteral("labelHeader"));
    // The header shows the window's title (set by each kind of window).
    connect(this, &QWidget::windowTitleChanged, m_labelHeader, &QLabel::setText);
    m_buttonOK = new QPushButton(QStringLiteral("OK"), m_footerContainer);
    m_buttonOK->setObjectName(QStringLiteral("buttonOK"));
    m_buttonOK->setFocusPolicy(Qt::NoFocus);
    m_buttonOK->setAccessibleName(QStringLiteral("OK"));
    connect(m_buttonOK, &QPushButton::clicked, this, &CaptureWindowController::onOK);
}

CaptureWindowController::~CaptureWindowController() = default;

AbstractMenuController *CaptureWindowController::menuController() const
{
    return m_menuController;
}

void CaptureWindowController::windowDidLoad()
{
    ModalWindowController::windowDidLoad();
    AppContext *app = &context();
    app->writeVizoPacket(VizoCmd::SpeakText(QStringLiteral(" ")).payload());
    doLayout();

    if (QWidget *picture = captureView()) {
        picture->setParent(m_captureViewContainer);
        picture->setGeometry(m_captureViewContainer->rect());
        picture->show();
    }

    m_menuController = context().createMenuController(this);
    int menuWidth = m_menuController->view()->width();
    if (AbstractMenuController *mainMenu = app->menuController())
        menuWidth = mainMenu->view()->width();
    m_menuController->view()->setGeometry(0, 0, menuWidth, height());
    m_menuController->view()->hide();

    setEnableHotKeyEsc(false);
    setEnableHotKeyBackspace(false);
    m_buttonOK->setEnabled(false);
}

void CaptureWindowController::doLayout()
{
    const double scale = context().scaleFactor() > 0 ? context().scaleFactor() : 1.0;
    const int footerHeight = int(std::lround(std::trunc(double(kFooterDesignHeight)) * scale));
    // The footer sits at the bottom; the picture reaches from its top edge
    // to the top of the content view.
    m_footerContainer->setGeometry(0, height() - footerHeight, width(), footerHeight);
    m_captureViewContainer->setGeometry(0, 0, width(), height() - footerHeight);
    const int designWidth = int(width() / scale);
    DesignLayout layout;
    layout.add(m_labelHeader, QRect(12, 8, std::max(0, designWidth - 140), 32), 16);
    layout.add(m_buttonOK, QRect(std::max(0, designWidth - 112), 8, 100, 32), 15);
    layout.apply(scale);
}

void CaptureWindowController::enableHotKeys()
{
    setEnableHotKeyEsc(true);
    setEnableHotKeyBackspace(true);
    // Every recomputation of the hot keys disarms the menu's own arrow and
    // Tab keys; the window that shows the menu gives them back.
    if (m_isVizoMenuOpen && m_menuController)
        m_menuController->setEnableHotKeys(true);
}

void CaptureWindowController::onOK()
{
    quit();
}

void CaptureWindowController::onEscKeyDown()
{
    quit();
}

void CaptureWindowController::onBackspaceKeyDown()
{
    quit();
}

void CaptureWindowController::closeUI()
{
    quit();
}

void CaptureWindowController::armForMode(int hotKeyMode, int gestureMode)
{
    AppContext *app = &context();
    VizoSettings *settings = context().settings();
    app->setDisableHotKeys(false);
    settings->setVizoHotKeyMode(hotKeyMode);
    app->updateHotKeys();
    app->setDisableMouseGestures(false);
    settings->setVizoMouseGestureMode(gestureMode);
    app->updateMouseGestures();
    m_buttonOK->setEnabled(true);
    enableHotKeys();
}

void CaptureWindowController::quit()
{
    AppContext *app = &context();
    if (m_isVizoMenuOpen) {
        app->writeVizoPacket(VizoCmd::MenuClosed().payload());
        closeVizoMenu();
        return;
    }
    quitSends();
    app->writeVizoPacket(VizoCmd::SpeakText(QStringLiteral(" ")).payload());
    closeWindow();
}

void CaptureWindowController::openVizoMenu()
{
    if (m_isVizoMenuOpen || !m_menuController)
        return;
    m_isVizoMenuOpen = true;
    m_buttonOK->setEnabled(false);

    const int m = m_menuController->view()->width();
    const QRect before = m_captureViewContainer->geometry();
    m_captureViewContainer->setGeometry(before.x() + m, before.y(), before.width() - m, before.height());
    if (QWidget *picture = captureView()) {
        if (picture->parentWidget() == m_captureViewContainer)
            picture->setGeometry(-m, picture->y(), before.width(), before.height());
    }

    m_menuController->buildVizoMenu();
    m_menuController->reloadSettings();
    m_menuController->reloadMenuLabel();
    m_menuController->showMenu();
    m_menuController->setDefaultTab();
    AppContext *app = &context();
    app->updateHotKeys();
    app->updateMouseGestures();
    m_menuController->setEnableHotKeys(true);
}

void CaptureWindowController::closeVizoMenu()
{
    if (!m_isVizoMenuOpen)
        return;
    m_isVizoMenuOpen = false;
    m_buttonOK->setEnabled(true);
    const QRect c = m_captureViewContainer->geometry();
    m_captureViewContainer->setGeometry(rect().x(), c.y(), rect().width(), c.height());
    if (QWidget *picture = captureView()) {
        if (picture->parentWidget() == m_captureViewContainer)
            picture->setGeometry(m_captureViewContainer->rect());
    }
    AppContext *app = &context();
    app->updateHotKeys();
    app->updateMouseGestures();
    if (m_menuController) {
        m_menuController->setEnableHotKeys(false);
        m_menuController->hideMenu();
    }
    enableHotKeys();
    // Settings may have changed in this window's menu.
    if (AbstractMenuController *mainMenu = app->menuController())
        mainMenu->reloadSettings();
}
