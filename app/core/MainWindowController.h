#pragma once
// The application's only document window and the geometry of its picture
// area: the capture container fills the content view, the menu column opens
// at its left edge, and the picture never moves or rescales when the menu
// opens or closes. The container only ever grows (rcMainView).
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    std::function<void()> eventDidResize;
    // Asked before the window closes; closing it ends the application.
    std::function<void()> eventWillClose;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};

class MainWindowController
{
public:
    MainWindowController();
    ~MainWindowController();

    MainWindow *window() const { return m_window; }
    // The content view is the window itself.
    QWidget *contentView() const { return m_window; }
    QWidget *captureViewContainer() const { return m_captureViewContainer; }
    QRect rcMainView() const { return m_rcMainView; }

    // Covers the screen's available area and records rcMainView.
    void placeOnAvailableGeometry();
    // Sets rcMainView to the content view's bounds and gives the container
    // that frame.
    void resetMainView();
    // Before start-up completes the window has a fixed size and no zoom
    // button; afterwards it can be resized and zoomed.
    void setResizable(bool resizable);
    bool isResizable() const { return m_resizable; }

    // The picture view inside the container, or nullptr.
    void setCaptureView(QWidget *view) { m_captureView = view; }
    QWidget *captureView() const { return m_captureView; }

    // The geometry rules; the picture view is the one set above, if it is
    // still inside the container.
    void layoutMenuOpen(int menuWidth);
    void layoutMenuClosed();
    // Grows rcMainView to the content view's new size, keeping it at the
    // top-left corner, and gives the container that frame.
    void windowDidResize();

private:
    QWidget *pictureInContainer() const;

    QPointer<MainWindow> m_window;
    QPointer<QWidget> m_captureViewContainer;
    QPointer<QWidget> m_captureView;
    QRect m_rcMainView;
    bool m_resizable = false;
};
