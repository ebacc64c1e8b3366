#include "MainWindowController.h"

#include "MainWindowGeometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Vizo Viewer"));
    setAccessibleName(QStringLiteral("Vizo Viewer"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (eventDidResize)
        eventDidResize();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (eventWillClose)
        eventWillClose();
}

MainWindowController::MainWindowController()
{
    m_window = new MainWindow;
    m_captureViewContainer = new QWidget(m_window);
    m_captureViewContainer->setObjectName(QStringLiteral("captureViewContainer"));
    m_captureViewContainer->setAccessibleName(QStringLiteral("Camera picture"));
    m_window->resize(1280, 800);
    resetMainView();
}

MainWindowController::~MainWindowController()
{
    delete m_window.data();
}

void MainWindowController::placeOnAvailableGeometry()
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_window->setGeometry(screen->availableGeometry());
    if (!m_resizable)
        m_window->setFixedSize(m_window->size());
    resetMainView();
}

void MainWindowController::resetMainView()
{
    m_rcMainView = m_window->rect();
    m_captureViewContainer->setGeometry(m_rcMainView);
}

void MainWindowController::setResizable(bool resizable)
{
    m_resizable = resizable;
    const bool wasVisible = m_window->isVisible();
    if (resizable) {
        m_window->setMinimumSize(200, 150);
        m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        m_window->setFixedSize(m_window->size());
    }
    m_window->setWindowFlag(Qt::WindowMaximizeButtonHint, resizable);
    // Changing the flags hides a shown window; bring it back.
    if (wasVisible)
        m_window->show();
}

QWidget *MainWindowController::pictureInContainer() const
{
    if (m_captureView && m_captureView->parentWidget() == m_captureViewContainer)
        return m_captureView;
    return nullptr;
}

void MainWindowController::layoutMenuOpen(int menuWidth)
{
    QWidget *picture = pictureInContainer();
    const auto frames = MainWindowGeometry::menuOpen(m_rcMainView, menuWidth, picture ? picture->y() : 0);
    m_captureViewContainer->setGeometry(frames.container);
    if (picture)
        picture->setGeometry(frames.captureView);
}

void MainWindowController::layoutMenuClosed()
{
    const auto frames = MainWindowGeometry::menuClosed(m_rcMainView);
    m_captureViewContainer->setGeometry(frames.container);
    if (QWidget *picture = pictureInContainer())
        picture->setGeometry(frames.captureView);
}

void MainWindowController::windowDidResize()
{
    m_rcMainView = MainWindowGeometry::resized(m_rcMainView, m_window->size());
    m_captureViewContainer->setGeometry(m_rcMainView);
}
